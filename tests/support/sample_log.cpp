#include "support/sample_log.h"

#include <allegro.h>

#include "platform/lifecycle.h"

int sample_starts[SFX_COUNT];
int last_sample_volume = -1;
int last_sample_pan = -1;
int last_sample_frequency = -1;
int last_sample_loop = -1;

void clear_sample_log() {
  for (int& n : sample_starts) n = 0;
  last_sample_volume = last_sample_pan = last_sample_frequency = last_sample_loop = -1;
}

int play_sample(const SAMPLE* spl, int vol, int pan, int freq, int loop) {
  for (int e = 0; e < SFX_COUNT; e++)
    if (SoundDatafile && SoundDatafile[e].dat == spl) {
      sample_starts[e]++;
      last_sample_volume = vol;
      last_sample_pan = pan;
      last_sample_frequency = freq;
      last_sample_loop = loop;
    }
  return -1;
}
