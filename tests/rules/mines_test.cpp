#include "rules/mines.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "board/style_fixture.h"
#include "rules/board_state.h"
#include "rules/events.h"
#include "rules/random.h"

namespace {

int count_content(int lo, int hi) {
  int n = 0;
  for (int i = 0; i < board.cell_count; i++) n += board.cells[i].content >= lo && board.cells[i].content <= hi;
  return n;
}
int count_mines() { return count_content(MINE, MINE_LEVEL3); }

void clear_contents() {
  for (int i = 0; i < board.cell_count; i++) board.cells[i].content = 0;
}

void start(GameMode mode, int cols, int rows, int mines, uint32_t seed) {
  init_game_session();
  game.mode = mode;
  fixture::setup_square_board(cols, rows);
  game.mines_total = game.mines_left = mines;
  game.random = random_seeded(seed);
  game.random.counter = 0;
}

// The placement and the first click's zone as plain draw-until loops, to
// check that the real ones keep the same draws.
void reference_lay(int m) {
  const int n = board.cell_count;
  for (int t = 0; t < m; t++) {
    int c;
    do c = random_range(game.random, 0, n - 1);
    while (board.cells[c].content == MINE);
    board.cells[c].content = MINE;
  }
  compute_clues();
}

void reference_relocate(int v) {
  int c;
  do c = random_range(game.random, 0, board.cell_count - 1);
  while (board.cells[c].content >= ZONE_MARK);
  board.cells[c].content = board.cells[v].content;
  board.cells[v].content = 0;
}

int reference_zone() {
  const int f = game.first_cell;
  if (board.cells[f].content >= MINE) reference_relocate(f);
  board.cells[f].content = ZONE_MARK;
  std::vector<int> members{f};
  while (static_cast<int>(members.size()) < zone_size(board.cell_count)) {
    const Cell& m = board.cells[members[static_cast<size_t>(random_range(game.random, 0, static_cast<int>(members.size()) - 1))]];
    const int q = m.neighbours[random_range(game.random, 0, m.neighbour_count - 1)];
    if (board.cells[q].content == ZONE_MARK) continue;
    members.push_back(q);
    if (board.cells[q].content >= MINE) reference_relocate(q);
    board.cells[q].content = ZONE_MARK;
  }
  for (int mi : members)
    for (int e = 0; e < board.cells[mi].neighbour_count; e++) {
      const int q = board.cells[mi].neighbours[e];
      if (board.cells[q].content >= MINE) reference_relocate(q);
      board.cells[q].content = ZONE_MARK;
    }
  for (int i = 0; i < board.cell_count; i++)
    if (board.cells[i].content <= ZONE_MARK) board.cells[i].content = 0;
  compute_clues();
  return static_cast<int>(members.size());
}

std::vector<uint8_t> contents() {
  std::vector<uint8_t> out;
  for (int i = 0; i < board.cell_count; i++) out.push_back(board.cells[i].content);
  return out;
}

int regular_mines_after_move(int c) {
  int n = 0;
  for (int e = 0; e < board.cells[c].neighbour_count; e++) n += board.cells[board.cells[c].neighbours[e]].content == MINE;
  return n;
}

// The cells the rules reported changed since the last look.
std::vector<int> changed_cells() {
  std::vector<int> cells;
  for (const GameEvent& e : take_events())
    if (e.kind == EVENT_CELL_CHANGED) cells.push_back(e.cell);
  return cells;
}

}  // namespace

TEST(Mines, ZoneSizes) {
  EXPECT_EQ(zone_size(143), 2);
  EXPECT_EQ(zone_size(500), 10);
  EXPECT_EQ(zone_size(1280), 26);
  EXPECT_EQ(zone_size(1), 2);
  EXPECT_EQ(zone_size(5000), 32);
}

TEST(Mines, PlacementAndZoneKeepTheReferenceDraws) {
  const int sizes[3][2] = {{13, 11}, {25, 20}, {40, 32}};
  for (auto& wh : sizes)
    for (uint32_t seed = 1; seed <= 3; seed++) {
      const int cells = wh[0] * wh[1];
      const int mines = cells / 5;
      start(CLASSIC, wh[0], wh[1], mines, seed);
      reference_lay(mines);
      game.first_cell = static_cast<int16_t>(cells / 2 + static_cast<int>(seed));
      const int ref_members = reference_zone();
      const std::vector<uint8_t> expected = contents();
      const uint32_t expected_counter = game.random.counter;

      start(CLASSIC, wh[0], wh[1], mines, seed);
      lay_mines(game.random);
      EXPECT_EQ(count_mines(), mines);
      game.first_cell = static_cast<int16_t>(cells / 2 + static_cast<int>(seed));
      const int members = clear_first_click_zone(game.random);
      EXPECT_EQ(members, zone_size(cells));
      EXPECT_EQ(members, ref_members);
      EXPECT_EQ(contents(), expected);
      EXPECT_EQ(game.random.counter, expected_counter);
      EXPECT_EQ(count_mines(), mines);
      EXPECT_EQ(count_content(ZONE_MARK, ZONE_MARK), 0);
      const Cell& f = board.cells[game.first_cell];
      EXPECT_LT(f.content, MINE);
      for (int e = 0; e < f.neighbour_count; e++) EXPECT_LT(board.cells[f.neighbours[e]].content, MINE);
    }
}

TEST(Mines, MineUnderTheFirstClickIsMovedNotRemoved) {
  start(CLASSIC, 13, 11, 0, 7);
  for (int i = 0; i < 30; i++) board.cells[i * 4].content = MINE;
  game.mines_total = 30;
  compute_clues();
  game.first_cell = 40;  // holds a mine
  clear_first_click_zone(game.random);
  EXPECT_LT(board.cells[40].content, MINE);
  EXPECT_EQ(count_mines(), 30);
  EXPECT_EQ(game.mines_total, 30);
}

TEST(Mines, MegaMineMakesOnlyTheFirstCellSafe) {
  start(MEGAMINE, 5, 5, 0, 3);
  board.cells[12].content = MINE;  // centre
  board.cells[13].content = MINE;  // its right-hand neighbour
  compute_clues();
  game.first_cell = 12;
  EXPECT_EQ(clear_first_click_zone(game.random), 1);
  EXPECT_LT(board.cells[12].content, MINE);
  EXPECT_EQ(board.cells[13].content, MINE);
  EXPECT_EQ(count_mines(), 2);
}

TEST(Mines, MegaMineCluesAreStepsToTheNearestMine) {
  start(MEGAMINE, 7, 7, 0, 1);
  board.cells[0].content = MINE;
  compute_clues();
  for (int r = 0; r < 7; r++)
    for (int c = 0; c < 7; c++) {
      if (r == 0 && c == 0) continue;
      EXPECT_EQ(board.cells[r * 7 + c].content, std::max(r, c)) << r << "," << c;
    }
  EXPECT_EQ(board.cells[2 * 7 + 1].content, 2);
}

TEST(Mines, MultiMineSplitStartsAtFiveTwoTwoAndDealsTheRestByDraws) {
  start(MULTI_MINE, 13, 11, 20, 555);
  int level[3] = {5, 2, 2};
  for (int i = 0; i < 11; i++) {
    const int r = random_range(game.random, 0, 5);
    level[r <= 2 ? 0 : r <= 4 ? 1 : 2]++;
  }
  game.random = random_seeded(555);
  lay_mines(game.random);
  EXPECT_EQ(game.mines_left, level[0]);
  EXPECT_EQ(game.level2_left, level[1]);
  EXPECT_EQ(game.level3_left, level[2]);
  EXPECT_EQ(count_content(MINE, MINE), level[0]);
  EXPECT_EQ(count_content(MINE_LEVEL2, MINE_LEVEL2), level[1]);
  EXPECT_EQ(count_content(MINE_LEVEL3, MINE_LEVEL3), level[2]);
  EXPECT_EQ(game.mines_total, 20);
}

TEST(Mines, CluesByMode) {
  start(BACKWARDS, 3, 3, 0, 1);
  for (int i = 0; i < 9; i++)
    if (i != 4) board.cells[i].content = MINE;
  board.cells[0].content = 0;
  compute_clues();
  EXPECT_EQ(board.cells[4].content, 1);  // one safe neighbour: cell 0
  board.cells[0].content = MINE;
  board.cells[4].content = 0;
  compute_clues();
  EXPECT_EQ(board.cells[4].content, 0);  // all neighbours are mines

  start(MULTI_MINE, 3, 3, 0, 1);
  board.cells[0].content = MINE;
  board.cells[1].content = MINE_LEVEL2;
  board.cells[8].content = MINE_LEVEL3;
  compute_clues();
  EXPECT_EQ(board.cells[4].content, 6);
  EXPECT_EQ(board.cells[3].content, 3);

  start(CLASSIC, 3, 3, 0, 1);
  board.cells[0].content = MINE;
  board.cells[1].content = MINE_LEVEL2;  // only regular mines count
  board.cells[6].content = 7;            // cells with a content keep it
  compute_clues();
  EXPECT_EQ(board.cells[4].content, 1);
  EXPECT_EQ(board.cells[6].content, 7);
}

TEST(Mines, OneClickBoard) {
  start(CLASSIC, 5, 1, 1, 1);  // a row: 0 0 0 1 M
  board.cells[4].content = MINE;
  compute_clues();
  game.first_cell = 0;
  EXPECT_TRUE(is_one_click_board());
  clear_contents();
  board.cells[2].content = MINE;  // 0 1 M 1 0: the far side stays shut
  compute_clues();
  EXPECT_FALSE(is_one_click_board());
  game.first_cell = -1;
  EXPECT_FALSE(is_one_click_board());
}

TEST(Mines, RecountRedrawsOnlyRevealedCells) {
  start(CLASSIC, 3, 3, 0, 1);
  clear_events();
  board.cells[0].content = MINE;
  board.cells[4].content = 9;
  recount_cell(4);
  EXPECT_EQ(board.cells[4].content, 1);
  board.cells[5].state = REVEALED;
  recount_cell(5);
  EXPECT_EQ(changed_cells(), std::vector<int>{5});
}

TEST(Mines, MovingMineGoesToAHiddenNeighbourAndRecounts) {
  start(MOVING_MINES, 3, 1, 1, 9);  // a row: M . .
  board.cells[0].content = MINE;
  compute_clues();
  board.cells[2].state = REVEALED;
  clear_events();
  move_random_mine(game.random);  // cell 1 is the mine's only neighbour
  EXPECT_EQ(board.cells[1].content, MINE);
  EXPECT_EQ(count_mines(), 1);
  EXPECT_EQ(board.cells[0].content, 1);
  EXPECT_EQ(board.cells[2].content, 1);
  EXPECT_EQ(changed_cells(), std::vector<int>{2});
}

TEST(Mines, MovingMineStepKeepsTheReferenceDraws) {
  for (uint32_t seed = 1; seed <= 20; seed++) {
    start(MOVING_MINES, 10, 8, 12, seed);
    lay_mines(game.random);
    for (int i = 0; i < 80; i += 3) board.cells[i].state = REVEALED;
    const std::vector<uint8_t> before = contents();
    const uint32_t counter = game.random.counter;
    // The step drawn by hand.
    int v;
    do v = random_range(game.random, 0, 79);
    while (board.cells[v].state != HIDDEN || board.cells[v].content != MINE);
    int target = -1;
    for (int t = 0; t < 8 && target < 0; t++) {
      const int q = board.cells[v].neighbours[random_range(game.random, 0, board.cells[v].neighbour_count - 1)];
      if (board.cells[q].state == HIDDEN && board.cells[q].content < MINE) target = q;
    }
    const uint32_t expected_counter = game.random.counter;
    game.random.counter = counter;
    move_random_mine(game.random);
    EXPECT_EQ(game.random.counter, expected_counter);
    EXPECT_EQ(count_mines(), 12);
    if (target < 0) {
      EXPECT_EQ(contents(), before);
      continue;
    }
    EXPECT_EQ(board.cells[v].content, regular_mines_after_move(v));
    EXPECT_EQ(board.cells[target].content, MINE);
  }
}

TEST(Mines, DrawLoopsEndWhereNoFittingCellExists) {
  // More mines than cells.
  start(CLASSIC, 3, 2, 50, 1);
  lay_mines(game.random);
  EXPECT_EQ(count_mines(), 6);
  EXPECT_EQ(game.mines_total, 6);
  EXPECT_EQ(game.mines_left, 6);
  start(MULTI_MINE, 3, 2, 50, 1);
  lay_mines(game.random);
  EXPECT_EQ(count_mines(), 6);
  EXPECT_EQ(game.mines_left + game.level2_left + game.level3_left, 6);
  EXPECT_EQ(game.mines_total, 6);

  // A full board: the first click's mine cannot move, so it leaves.
  start(CLASSIC, 3, 2, 6, 1);
  lay_mines(game.random);
  game.first_cell = 0;
  EXPECT_EQ(relocate_mine(1, game.random), 0);
  EXPECT_EQ(board.cells[1].content, MINE);
  clear_first_click_zone(game.random);
  EXPECT_LT(board.cells[0].content, MINE);
  EXPECT_EQ(game.mines_total, count_mines());
  EXPECT_EQ(game.mines_left, count_mines());

  // A one-cell board: the zone cannot grow and no draw is made for it.
  start(CLASSIC, 1, 1, 0, 1);
  game.first_cell = 0;
  EXPECT_EQ(clear_first_click_zone(game.random), 1);
  EXPECT_EQ(game.random.counter, 0u);

  // A mine with no neighbours moves nowhere: one draw picks it, nothing more.
  start(MOVING_MINES, 1, 1, 1, 1);
  board.cells[0].content = MINE;
  move_random_mine(game.random);
  EXPECT_EQ(board.cells[0].content, MINE);
  EXPECT_EQ(game.random.counter, 1u);

  // No hidden mine left: nothing moves and nothing is drawn.
  start(MOVING_MINES, 3, 3, 1, 1);
  board.cells[4].content = MINE;
  board.cells[4].state = REVEALED;
  move_random_mine(game.random);
  EXPECT_EQ(board.cells[4].content, MINE);
  EXPECT_EQ(game.random.counter, 0u);
}
