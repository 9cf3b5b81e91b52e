#include "sound/sound.h"

#include <allegro.h>

#include "platform/lifecycle.h"
#include "platform/settings.h"

int sound_state = SOUND_UNAVAILABLE;
int effect_played[SFX_COUNT];

const char SOUND_EFFECT_LABELS[SFX_COUNT][40] = {
    "Auto-Reveal", "Remove Flag", "Place Flag", "Explosions", "Fireworks", "Clicks",
    "Chord",       "Messages",    "Reveal",     "New Game",   "Game Done"};

void play_sound_effect(int effect, int volume, int pan) {
  if (effect < 0 || effect >= SFX_COUNT) return;
  if (sound_state != SOUND_ON || effect_played[effect] || !settings.sound_switches[effect]) return;
  if (SoundDatafile) play_sample(static_cast<SAMPLE*>(SoundDatafile[effect].dat), volume, pan, 1000, 0);
  effect_played[effect] = 1;
}

void play_effect(int effect) { play_sound_effect(effect, settings.volume, 127); }

void clear_effect_played() {
  for (int& f : effect_played) f = 0;
}
