#include "rules/random.h"

#include <ctime>

namespace {
uint32_t seed = 0;
uint32_t counter = 0;
uint32_t slot_seed[RANDOM_SLOTS];
uint32_t slot_counter[RANDOM_SLOTS];
}  // namespace

uint32_t board_seed = 0;
uint32_t board_counter = 0;

void seed_from_clock() { set_seed(static_cast<uint32_t>(std::time(nullptr))); }

void set_seed(uint32_t value) {
  seed = value;
  counter = 0;
}

void set_counter(uint32_t value) { counter = value; }
uint32_t get_seed() { return seed; }
uint32_t get_counter() { return counter; }

int random_range(int lo, int hi) {
  const uint32_t k = counter;
  const uint32_t t1 = seed + 27397u * k;
  const uint32_t t2 = (t1 % 17511u) * 17u;
  const uint32_t t3 = (t2 % 937u) * 31u;
  const uint32_t t4 = (t3 % 1236u) * 75u;
  const uint32_t t5 = (k % 2u) + t3 * t1 + ((t4 * t2) % 5987u) * ((t3 * t1) % 4723u);
  counter = k + 1;
  if (hi < lo) return lo;  // an empty range has no draw to make
  const uint32_t sum = t5 + t4 + t3 + t2 + t1;
  const uint32_t n = static_cast<uint32_t>(static_cast<int64_t>(hi) - lo + 1);
  int32_t r = static_cast<int32_t>(n == 0 ? sum : sum % n);  // n wraps to 0 for the full 32-bit range
  if (r < 0) r = -r;
  return static_cast<int>(static_cast<int64_t>(lo) + r);
}

void save_stream(int slot) {
  if (slot < 0 || slot >= RANDOM_SLOTS) return;
  slot_seed[slot] = seed;
  slot_counter[slot] = counter;
}

void restore_stream(int slot) {
  if (slot < 0 || slot >= RANDOM_SLOTS) return;
  seed = slot_seed[slot];
  counter = slot_counter[slot];
}
