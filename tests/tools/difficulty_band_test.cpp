// The skill levels' bands of forced guesses per 100 cells (the build's
// difficulty check judges every shipped pattern by them) and the calibrated
// mine count table the style generator writes the styles with.
#include <gtest/gtest.h>

#include "common/difficulty.h"
#include "styles/style_geometry.h"

TEST(DifficultyBand, LevelsRiseAndTheBandHoldsItsTargetAndEdgesOnly) {
  for (int k = 0; k < DIFFICULTY_LEVELS; k++) {
    const double t = GUESS_TARGETS[k];
    if (k > 0) {
      EXPECT_GT(t, GUESS_TARGETS[k - 1]) << LEVEL_NAMES[k];
    }
    const GuessBand b = guess_band(k);
    EXPECT_NEAR(b.high - t, GUESS_BAND_SHARE * t + GUESS_BAND_SLACK, 1e-12) << LEVEL_NAMES[k];
    EXPECT_TRUE(in_guess_band(k, t));
    EXPECT_TRUE(in_guess_band(k, b.low));
    EXPECT_TRUE(in_guess_band(k, b.high));
    EXPECT_FALSE(in_guess_band(k, b.high + 1e-6)) << LEVEL_NAMES[k];
    if (b.low > 0) {
      EXPECT_FALSE(in_guess_band(k, b.low - 1e-6)) << LEVEL_NAMES[k];
    }
    EXPECT_DOUBLE_EQ(band_distance(k, t), 0.0);
    EXPECT_NEAR(band_distance(k, b.high), 1.0, 1e-9);
  }
  // The Master band of one level lies wholly above the Beginner band.
  EXPECT_GT(guess_band(3).low, guess_band(0).high);
}

TEST(DifficultyBand, EveryShippedPatternHasCalibratedCountsThatRise) {
  for (const styles::StyleDef& st : styles::build_styles())
    for (const styles::PatternDef& p : st.patterns) {
      EXPECT_TRUE(styles::mine_counts_listed(st.file_name, p.name)) << st.file_name << " / " << p.name;
      if (p.cells.size() < 60) continue;
      for (int k = 1; k < 4; k++) {
        EXPECT_GT(p.mines[k], p.mines[k - 1]) << st.name << " / " << p.name << " level " << k;
        EXPECT_GT(p.mega[k], p.mega[k - 1]) << st.name << " / " << p.name << " level " << k;
      }
    }
}
