#include "rules/board_state.h"

#include <gtest/gtest.h>

TEST(BoardState, FreshBoardHasNoCells) {
  init_board();
  EXPECT_EQ(board.cell_count, 0);
  for (const Cell& c : board.cells) {
    ASSERT_EQ(c.index, -1);
    ASSERT_EQ(c.neighbour_count, 0);
    ASSERT_EQ(c.flash_timer, -1.0f);
    for (int16_t n : c.neighbours) ASSERT_EQ(n, -1);
  }
  EXPECT_EQ(board.style_name[0], 0);
}

TEST(BoardState, PlacementAndNeighbourLists) {
  init_board();
  place_cell(3, 2, 10, 4, 100, 20);
  const Cell& c = board.cells[3];
  EXPECT_EQ(c.index, 3);
  EXPECT_EQ(c.shape, 2);
  EXPECT_EQ(c.x, 180);
  EXPECT_EQ(c.y, 52);
  Cell& a = board.cells[0];
  for (int i = 0; i < MAX_NEIGHBOURS; i++) EXPECT_EQ(append_neighbour(a, 100 + i), 1);
  EXPECT_EQ(append_neighbour(a, 999), 0) << "a full list takes no more";
  EXPECT_EQ(a.neighbour_count, MAX_NEIGHBOURS);
  EXPECT_EQ(a.neighbours[31], 131);
  place_cell(MAX_CELLS, 0, 0, 0, 0, 0);  // out of range: ignored
  init_board();
}

TEST(BoardState, SessionStartsIdle) {
  init_game_session();
  EXPECT_EQ(game.phase, IDLE);
  EXPECT_EQ(game.first_cell, -1);
  EXPECT_EQ(game.endurance_minutes, 10);
  EXPECT_EQ(game.face, 210);
  EXPECT_EQ(game.auto_reveal_timer, -1000.0f);
}
