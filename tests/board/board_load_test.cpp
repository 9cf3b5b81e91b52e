#include "board/board_load.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/lifecycle.h"
#include "board/geometry.h"
#include "board/style_fixture.h"
#include "rules/board_state.h"
#include "rules/modes.h"
#include "rules/random.h"
#include "support/headless.h"
#include "screens/game_events.h"

namespace {

int count_mines() {
  int n = 0;
  for (int i = 0; i < board.cell_count; i++) n += board.cells[i].content >= MINE;
  return n;
}

int notices = 0;
void count_notice() { notices++; }

class BoardLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    init_game_session();
    st = fixture::square_style({{13, 11}, {25, 20}});
    ASSERT_TRUE(fixture::write_style(st, "squares.dat"));
    board_seed = 4242;
    board_counter = 17;
  }
  ScopedTempDir tmp;
  fixture::Style st;
};

}  // namespace

TEST_F(BoardLoad, FillsTheBoardFromThePattern) {
  game.skill = EXPERT;
  notices = 0;
  show_wait_notice_hook = count_notice;
  ASSERT_EQ(load_board_for_play("squares.dat", 1, 0), 1);
  show_wait_notice_hook = nullptr;
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(board.cell_count, 500);
  EXPECT_EQ(std::strncmp(board.style_name, "Test Style", 10), 0);
  EXPECT_STREQ(board.pattern_name, "Squares 25x20");
  EXPECT_STREQ(board_file_name, "squares.dat");
  EXPECT_EQ(current_board_index, 1);
  // 400 x 320 picture centred in the 712 x 584 area at (88, 16).
  EXPECT_EQ(board.origin_x, 88 + 156);
  EXPECT_EQ(board.origin_y, 16 + 132);
  const Cell& c = board.cells[27];  // column 2, row 1
  EXPECT_EQ(c.index, 27);
  EXPECT_EQ(c.block_x, 4);
  EXPECT_EQ(c.block_y, 2);
  EXPECT_EQ(c.x, board.origin_x + 32);
  EXPECT_EQ(c.y, board.origin_y + 16);
  EXPECT_EQ(c.neighbour_count, 8);
  EXPECT_EQ(hit_grid.grid_columns, 50);
  EXPECT_EQ(hit_grid.grid_rows, 40);
  EXPECT_EQ(hit_grid.buckets[73 * 5 + 3][0], 27);
  EXPECT_EQ(game.mines_total, st.patterns[1].mines[EXPERT]);
  EXPECT_EQ(game.mines_left, game.mines_total);
  EXPECT_EQ(count_mines(), game.mines_total);
  EXPECT_EQ(game.cells_hidden, 500);
  EXPECT_EQ(game.first_cell, -1);
  EXPECT_EQ(game.face, 210);
  EXPECT_EQ(game.phase, PLAYING);
  EXPECT_EQ(game.status_count, 4);
  EXPECT_EQ(hidden_picture(0)->w, 16);
  EXPECT_EQ(board_picture(1)->w, 400);
  EXPECT_EQ(board_picture(2), nullptr);
  EXPECT_EQ(hidden_picture(1), nullptr);
  EXPECT_EQ(getpixel(exploded_picture(0), 8, 8), 4);
}

TEST_F(BoardLoad, MinesAreAFunctionOfBoardSeedAndCounter) {
  ASSERT_EQ(load_board("squares.dat", 0, 0), 1);
  std::unique_ptr<Board> first(new Board(board));
  // The effects and smiley streams start where the mines were laid.
  const uint32_t after = game.random.counter;
  EXPECT_EQ(game.random.seed, 4242u);
  EXPECT_GT(after, 17u);
  for (const Random& stream : {game.effects_random, game.smiley_random}) {
    EXPECT_EQ(stream.seed, 4242u);
    EXPECT_EQ(stream.counter, after);
  }
  ASSERT_EQ(load_board("squares.dat", 0, 0), 1);
  EXPECT_EQ(std::memcmp(first.get(), &board, sizeof board), 0);
  board_counter = 18;
  ASSERT_EQ(load_board("squares.dat", 0, 0), 1);
  EXPECT_NE(std::memcmp(first.get(), &board, sizeof board), 0);
}

TEST_F(BoardLoad, NewGameResetsCountersByMode) {
  game.mode = MEGAMINE;
  game.score = 5;
  game.mines_hit = 3;
  game.damage = 9;
  game.boards_played = 2;
  ASSERT_EQ(load_board("squares.dat", 0, 0), 1);
  EXPECT_EQ(game.score, 10000);
  EXPECT_EQ(game.mines_hit, 0);
  EXPECT_EQ(game.damage, 0);
  EXPECT_EQ(game.boards_played, 0);
  EXPECT_EQ(game.mines_total, st.patterns[0].mega[BEGINNER]);
  EXPECT_EQ(game.status_count, 5);
  game.mode = ENDURANCE;
  game.endurance_minutes = 20;
  ASSERT_EQ(load_board("squares.dat", 0, 0), 1);
  EXPECT_EQ(game.game_time, 1200.0f);
  EXPECT_EQ(game.score, 0);
}

TEST_F(BoardLoad, EnduranceContinuationKeepsTheRunButLaysNewMines) {
  game.mode = ENDURANCE;
  ASSERT_EQ(load_board("squares.dat", 0, 0), 1);
  DATAFILE* style = style_datafile;
  game.score = 777;
  game.game_time = 321.5f;
  game.mines_hit = 4;
  game.penalty_time = 1.0f;
  game.damage = 60;
  game.boards_played = 1;
  game.board_mines_hit = 2;
  game.first_cell = 5;
  std::unique_ptr<Board> before(new Board(board));
  board_counter += 100;
  // The file name is not read again: the loaded style goes on.
  ASSERT_EQ(load_board("no-such-file.dat", 0, 1), 1);
  EXPECT_EQ(style_datafile, style);
  EXPECT_STREQ(board_file_name, "squares.dat");
  EXPECT_EQ(game.score, 777);
  EXPECT_EQ(game.game_time, 321.5f);
  EXPECT_EQ(game.mines_hit, 4);
  EXPECT_EQ(game.penalty_time, 1.0f);
  EXPECT_EQ(game.damage, 60);
  EXPECT_EQ(game.boards_played, 1);
  EXPECT_EQ(game.board_mines_hit, 0);
  EXPECT_EQ(game.first_cell, -1);
  EXPECT_EQ(count_mines(), game.mines_total);
  EXPECT_NE(std::memcmp(before.get(), &board, sizeof board), 0);
}

TEST_F(BoardLoad, FailedLoadChangesNothing) {
  ASSERT_EQ(load_board("squares.dat", 0, 0), 1);
  fixture::Style bad = st;
  bad.patterns[0].mines[0] = -1;
  ASSERT_TRUE(fixture::write_style(bad, "bad.dat"));
  game.random = random_seeded(31);
  std::unique_ptr<Board> before(new Board(board));
  const GameSession session = game;
  DATAFILE* style = style_datafile;
  EXPECT_EQ(load_board("missing.dat", 0, 0), 0);
  EXPECT_EQ(load_board("bad.dat", 0, 0), 0);
  EXPECT_EQ(load_board("squares.dat", 2, 0), 0);
  EXPECT_EQ(load_board("squares.dat", -1, 0), 0);
  EXPECT_EQ(load_board("squares.dat", 2, 1), 0);
  EXPECT_EQ(style_datafile, style);
  EXPECT_STREQ(board_file_name, "squares.dat");
  EXPECT_EQ(current_board_index, 0);
  EXPECT_EQ(std::memcmp(before.get(), &board, sizeof board), 0);
  EXPECT_EQ(std::memcmp(&session, &game, sizeof game), 0);
  EXPECT_EQ(game.random.seed, 31u);
  EXPECT_EQ(game.random.counter, 0u);
}

TEST_F(BoardLoad, CurrentFileNameMayBePassedBack) {
  ASSERT_EQ(load_board("squares.dat", 0, 0), 1);
  ASSERT_EQ(load_board(board_file_name, 1, 0), 1);
  EXPECT_STREQ(board_file_name, "squares.dat");
  EXPECT_EQ(current_board_index, 1);
}

TEST_F(BoardLoad, FullSizePictureSitsAtTheAreaCorner) {
  fixture::Style big = fixture::square_style({{2, 2}, {2, 2}});
  big.patterns[0].pic_w = 712;
  big.patterns[0].pic_h = 584;
  big.patterns[1].pic_w = 711;
  big.patterns[1].pic_h = 583;
  ASSERT_TRUE(fixture::write_style(big, "big.dat"));
  ASSERT_EQ(load_board("big.dat", 0, 0), 1);
  EXPECT_EQ(board.origin_x, 88);
  EXPECT_EQ(board.origin_y, 16);
  EXPECT_EQ(hit_grid.grid_columns, 89);
  EXPECT_EQ(hit_grid.grid_rows, 73);
  ASSERT_EQ(load_board("big.dat", 1, 0), 1);
  EXPECT_EQ(board.origin_x, 88);
  EXPECT_EQ(board.origin_y, 16);
  EXPECT_EQ(hit_grid.grid_columns, 88);
  EXPECT_EQ(hit_grid.grid_rows, 72);
}

TEST_F(BoardLoad, EveryModeAndSkillLaysItsMineCount) {
  for (int mode = CLASSIC; mode <= MEGAMINE; mode++)
    for (int skill = BEGINNER; skill <= MASTER; skill++) {
      game.mode = static_cast<GameMode>(mode);
      game.skill = static_cast<SkillLevel>(skill);
      ASSERT_EQ(load_board("squares.dat", 0, 0), 1);
      const int expected = mode == MEGAMINE ? st.patterns[0].mega[skill] : st.patterns[0].mines[skill];
      EXPECT_EQ(game.mines_total, expected);
      EXPECT_EQ(count_mines(), expected);
      EXPECT_EQ(game.mines_left + game.level2_left + game.level3_left, expected);
      for (int e = 0; e < STATUS_SLOTS; e++) EXPECT_EQ(game.status_row[e], STATUS_TABLE[mode][e]);
    }
}
