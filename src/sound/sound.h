// The eleven sound effects: one sample each in the sound datafile, played
// under the player's switches and volume, each at most once per frame.
#pragma once

#include "platform/main_datafile.h"  // SoundEffect

enum SoundState { SOUND_UNAVAILABLE = -1, SOUND_MUTED = 0, SOUND_ON = 1 };

extern int sound_state;
extern int effect_played[SFX_COUNT];
// The labels shown for the switches, 40-byte entries.
extern const char SOUND_EFFECT_LABELS[SFX_COUNT][40];

void play_sound_effect(int effect, int volume, int pan);
// The usual call: the player's volume, centre pan.
void play_effect(int effect);
void clear_effect_played();
