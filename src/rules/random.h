// The game's random source: a counter-based generator whose whole state is
// a 32-bit seed and a 32-bit counter. A generator is a plain value: what
// draws from one is handed it, and a copy of it is a saved stream.
#pragma once

#include <cstdint>

struct Random {
  uint32_t seed = 0;
  uint32_t counter = 0;
};

// A generator at the start of the stream of a seed.
inline Random random_seeded(uint32_t seed) { return Random{seed, 0}; }

// One integer from lo to hi inclusive; advances the counter by one.
// A range with hi < lo returns lo and still advances the counter.
int random_range(Random& random, int lo, int hi);
