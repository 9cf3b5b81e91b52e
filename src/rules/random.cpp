#include "rules/random.h"

int random_range(Random& random, int lo, int hi) {
  const uint32_t k = random.counter;
  const uint32_t t1 = random.seed + 27397u * k;
  const uint32_t t2 = (t1 % 17511u) * 17u;
  const uint32_t t3 = (t2 % 937u) * 31u;
  const uint32_t t4 = (t3 % 1236u) * 75u;
  const uint32_t t5 = (k % 2u) + t3 * t1 + ((t4 * t2) % 5987u) * ((t3 * t1) % 4723u);
  random.counter = k + 1;
  if (hi < lo) return lo;  // an empty range has no draw to make
  const uint32_t sum = t5 + t4 + t3 + t2 + t1;
  const uint32_t n = static_cast<uint32_t>(static_cast<int64_t>(hi) - lo + 1);
  int32_t r = static_cast<int32_t>(n == 0 ? sum : sum % n);  // n wraps to 0 for the full 32-bit range
  if (r < 0) r = -r;
  return static_cast<int>(static_cast<int64_t>(lo) + r);
}
