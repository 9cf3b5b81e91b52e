#include "rules/random.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<int> draws(uint32_t seed, int n, int lo, int hi) {
  set_seed(seed);
  std::vector<int> out;
  for (int i = 0; i < n; i++) out.push_back(random_range(lo, hi));
  return out;
}
}  // namespace

TEST(RandomSource, WorkedValues) {
  EXPECT_EQ(draws(0, 5, 0, 9), (std::vector<int>{0, 8, 7, 7, 4}));
  EXPECT_EQ(draws(12345, 5, 0, 99), (std::vector<int>{93, 1, 27, 28, 63}));
  EXPECT_EQ(draws(2022, 1, 123456, 987654), (std::vector<int>{599454}));
}

TEST(RandomSource, DrawIsPureFunctionOfSeedAndCounter) {
  set_seed(777);
  set_counter(41);
  int a = random_range(0, 1000000);
  set_counter(41);
  EXPECT_EQ(random_range(0, 1000000), a);
  EXPECT_EQ(get_seed(), 777u);
  EXPECT_EQ(get_counter(), 42u);
}

TEST(RandomSource, SingleValueRangeStillAdvances) {
  set_seed(5);
  EXPECT_EQ(random_range(5, 5), 5);
  EXPECT_EQ(get_counter(), 1u);
}

TEST(RandomSource, EmptyRangeReturnsLowEndAndAdvances) {
  set_seed(9);
  EXPECT_EQ(random_range(3, 2), 3);
  EXPECT_EQ(random_range(0, -1), 0);
  EXPECT_EQ(get_counter(), 2u);
}

TEST(RandomSource, SlotsKeepIndependentStreams) {
  set_seed(1000);
  save_stream(STREAM_EFFECTS);
  std::vector<int> first;
  for (int i = 0; i < 4; i++) first.push_back(random_range(0, 99));
  restore_stream(STREAM_EFFECTS);
  EXPECT_EQ(random_range(0, 99), first[0]);

  // An effects burst between game draws leaves the game stream untouched.
  set_seed(50);
  save_stream(STREAM_EFFECTS);
  int game_a = random_range(0, 99);
  save_stream(STREAM_GAME);
  restore_stream(STREAM_EFFECTS);
  for (int i = 0; i < 10; i++) random_range(0, 99);
  save_stream(STREAM_EFFECTS);
  restore_stream(STREAM_GAME);
  int game_b = random_range(0, 99);
  set_seed(50);
  EXPECT_EQ(random_range(0, 99), game_a);
  EXPECT_EQ(random_range(0, 99), game_b);
}

TEST(RandomSource, FullWidthRangeStaysInside) {
  set_seed(31337);
  for (int i = 0; i < 100; i++) {
    int v = random_range(-2000000000, 2000000000);
    EXPECT_GE(v, -2000000000);
    EXPECT_LE(v, 2000000000);
  }
}
