// The difficulty measure on a real board: reproducible for a seed, free of
// guesses on an empty board, and harder with more mines.
#include "common/difficulty.h"

#include <gtest/gtest.h>

#include "board/board_load.h"
#include "platform/lifecycle.h"
#include "rules/board_state.h"
#include "support/headless.h"

TEST(Difficulty, MeasuresReproduciblyAndGrowsWithTheMines) {
  game.mode = CLASSIC;
  game.skill = BEGINNER;
  board_seed = 1;
  board_counter = 0;
  ASSERT_EQ(load_board("fgboards.dat", 0, 0), BOARD_LOADED);  // 9 x 9
  EXPECT_EQ(centre_cell(), 40);
  EXPECT_NEAR(mean_neighbours(), (4 * 3 + 28 * 5 + 49 * 8) / 81.0, 1e-9);

  const DifficultyFigures empty = measure_board(0, 5, 7);
  EXPECT_EQ(empty.games, 5);
  EXPECT_EQ(empty.forced_guesses, 0.0);
  EXPECT_EQ(empty.no_guess_share, 1.0);
  EXPECT_DOUBLE_EQ(empty.first_click_share, 1.0);

  const DifficultyFigures a = measure_board(15, 60, 7), b = measure_board(15, 60, 7);
  EXPECT_EQ(a.forced_guesses, b.forced_guesses);
  EXPECT_EQ(a.mines_hit, b.mines_hit);
  EXPECT_DOUBLE_EQ(a.guesses_per_100_cells, 100.0 * a.forced_guesses / 81.0);
  const DifficultyFigures hard = measure_board(25, 60, 7);
  EXPECT_GT(hard.forced_guesses, a.forced_guesses);
  EXPECT_LT(hard.no_guess_share, a.no_guess_share);
}
