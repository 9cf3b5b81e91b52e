// The test binary stands in for the library's play_sample, so that tests
// can count the samples the game starts (no sound driver is installed in
// the tests, so the real one would start nothing either; and the frame
// presenter clears the per-frame effect flags before a test can look at
// them). Every call whose sample is one of the sound datafile's effects is
// counted here.
#pragma once

#include "sound/sound.h"

extern int sample_starts[SFX_COUNT];  // calls per effect since the last clear
extern int last_sample_volume;        // arguments of the last counted call, -1 after a clear
extern int last_sample_pan;
extern int last_sample_frequency;
extern int last_sample_loop;

void clear_sample_log();
