#include "rules/random.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<int> draws(uint32_t seed, int n, int lo, int hi) {
  Random random = random_seeded(seed);
  std::vector<int> out;
  for (int i = 0; i < n; i++) out.push_back(random_range(random, lo, hi));
  return out;
}
}  // namespace

TEST(RandomSource, WorkedValues) {
  EXPECT_EQ(draws(0, 5, 0, 9), (std::vector<int>{0, 8, 7, 7, 4}));
  EXPECT_EQ(draws(12345, 5, 0, 99), (std::vector<int>{93, 1, 27, 28, 63}));
  EXPECT_EQ(draws(2022, 1, 123456, 987654), (std::vector<int>{599454}));
}

TEST(RandomSource, DrawIsPureFunctionOfSeedAndCounter) {
  Random random{777, 41};
  const int a = random_range(random, 0, 1000000);
  EXPECT_EQ(random.seed, 777u);
  EXPECT_EQ(random.counter, 42u);
  Random again{777, 41};
  EXPECT_EQ(random_range(again, 0, 1000000), a);
}

TEST(RandomSource, EmptyAndSingleRangesStillAdvance) {
  Random random = random_seeded(5);
  EXPECT_EQ(random_range(random, 5, 5), 5);
  EXPECT_EQ(random_range(random, 3, 2), 3);
  EXPECT_EQ(random_range(random, 0, -1), 0);
  EXPECT_EQ(random.counter, 3u);
}

TEST(RandomSource, CopiesAreIndependentStreams) {
  // A saved stream is a copy: drawing from one generator leaves the other
  // where it was.
  Random game = random_seeded(50);
  Random effects = game;
  const int game_a = random_range(game, 0, 99);
  for (int i = 0; i < 10; i++) random_range(effects, 0, 99);
  const int game_b = random_range(game, 0, 99);
  EXPECT_EQ((std::vector<int>{game_a, game_b}), draws(50, 2, 0, 99));
  EXPECT_EQ(effects.counter, 10u);
}

TEST(RandomSource, FullWidthRangeStaysInside) {
  Random random = random_seeded(31337);
  for (int i = 0; i < 100; i++) {
    int v = random_range(random, -2000000000, 2000000000);
    EXPECT_GE(v, -2000000000);
    EXPECT_LE(v, 2000000000);
  }
}
