#include "rules/modes.h"

#include <gtest/gtest.h>

TEST(Modes, StatusRowAndCountFollowTheMode) {
  const int counts[MODE_COUNT] = {4, 4, 4, 6, 4, 6, 5};
  for (int mode = CLASSIC; mode <= MEGAMINE; mode++) {
    set_status_row(static_cast<GameMode>(mode));
    EXPECT_EQ(game.status_count, counts[mode]) << mode;
    for (int e = 0; e < STATUS_SLOTS; e++) EXPECT_EQ(game.status_row[e], STATUS_TABLE[mode][e]);
  }
  set_status_row(MULTI_MINE);
  EXPECT_EQ(game.status_row[5], 0);
  EXPECT_EQ(game.status_row[6], 1);
  EXPECT_EQ(game.status_row[8], 1);
  set_status_row(ENDURANCE);
  EXPECT_EQ(game.status_row[11], 1);
  EXPECT_EQ(game.status_row[10], 0);
}
