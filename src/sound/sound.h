// The eleven sound effects: one sample each in the sound datafile, played
// under the player's switches and volume, each at most once per frame.
#pragma once

enum SoundEffect {
  SFX_AUTO_REVEAL = 0,
  SFX_REMOVE_FLAG = 1,
  SFX_PLACE_FLAG = 2,
  SFX_EXPLOSION = 3,
  SFX_FIREWORKS = 4,
  SFX_CLICK = 5,
  SFX_CHORD = 6,
  SFX_MESSAGE = 7,
  SFX_REVEAL = 8,
  SFX_NEW_GAME = 9,
  SFX_GAME_DONE = 10,
  SFX_COUNT = 11
};

enum SoundState { SOUND_UNAVAILABLE = -1, SOUND_MUTED = 0, SOUND_ON = 1 };

extern int sound_state;
extern int effect_played[SFX_COUNT];
// The labels shown for the switches, 40-byte entries.
extern const char SOUND_EFFECT_LABELS[SFX_COUNT][40];

void play_sound_effect(int effect, int volume, int pan);
// The usual call: the player's volume, centre pan.
void play_effect(int effect);
void clear_effect_played();
