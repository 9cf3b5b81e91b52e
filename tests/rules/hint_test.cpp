// Hints on positions of the 9 x 9 beginner board, built by hand: which
// cell a hint shows, what it costs in every mode, and the hinted mark.
#include "rules/hint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "rules/board_state.h"
#include "rules/rules_fixture.h"

using namespace rules_test;

namespace {

class Hint : public RulesTest {};

struct Position {
  const char* name;
  GameMode mode;
  std::vector<std::pair<int, int>> mines;  // (cell, code)
  std::vector<int> covered;                // every other cell is uncovered...
  std::vector<int> uncovered;              // ...unless these are given: only they are
  std::vector<int> flagged;
  int pointer;
  HintKind kind;
  int cell;
  CellState flag = FLAGGED;  // the state of the flagged cells
};

// The corner (0, 0) holds a mine; with (0, 1) and (1, 0) covered beside
// it, the 0 clues at (0, 2) and (2, 0) make both of them safe.
const Position POSITIONS[] = {
    {"safe: the one nearest the pointer, right", CLASSIC, {{rc(0, 0), MINE}}, {rc(0, 0), rc(0, 1), rc(1, 0)}, {}, {},
     rc(0, 8), HINT_SAFE, rc(0, 1)},
    {"safe: the one nearest the pointer, below", CLASSIC, {{rc(0, 0), MINE}}, {rc(0, 0), rc(0, 1), rc(1, 0)}, {}, {},
     rc(8, 0), HINT_SAFE, rc(1, 0)},
    {"safe: no pointer, the middle of the board, a tie to the lowest index", CLASSIC, {{rc(0, 0), MINE}},
     {rc(0, 0), rc(0, 1), rc(1, 0)}, {}, {}, -1, HINT_SAFE, rc(0, 1)},
    {"safe: a wrong flag on a safe cell is not trusted", CLASSIC, {{rc(0, 0), MINE}}, {rc(0, 0), rc(0, 1)}, {},
     {rc(0, 1)}, rc(8, 8), HINT_SAFE, rc(0, 1)},
    {"safe: Multi-Mine levels", MULTI_MINE, {{rc(0, 0), MINE_LEVEL3}}, {rc(0, 0), rc(0, 1), rc(1, 0)}, {}, {},
     rc(0, 8), HINT_SAFE, rc(0, 1)},
    {"mine: only the mine is certain", CLASSIC, {{rc(0, 0), MINE}}, {rc(0, 0)}, {}, {}, rc(4, 4), HINT_MINE,
     rc(0, 0)},
    {"mine: the one nearest the pointer", BACKWARDS, {{rc(0, 0), MINE}, {rc(8, 8), MINE}}, {rc(0, 0), rc(8, 8)}, {},
     {}, rc(7, 7), HINT_MINE, rc(8, 8)},
    {"mine: a flagged one is not shown again", CLASSIC, {{rc(0, 0), MINE}, {rc(8, 8), MINE}}, {rc(0, 0), rc(8, 8)},
     {}, {rc(8, 8)}, rc(7, 7), HINT_MINE, rc(0, 0)},
    {"nothing: every certain mine is flagged", CLASSIC, {{rc(0, 0), MINE}}, {rc(0, 0)}, {}, {rc(0, 0)}, rc(4, 4),
     HINT_NOTHING_CERTAIN, -1},
    // Multi-Mine: a flag at any level marks the mine as found.
    {"mine: Multi-Mine, a level 1 flag is not shown again", MULTI_MINE, {{rc(0, 0), MINE_LEVEL2}, {rc(8, 8), MINE}},
     {rc(0, 0), rc(8, 8)}, {}, {rc(8, 8)}, rc(7, 7), HINT_MINE, rc(0, 0), FLAGGED},
    {"mine: Multi-Mine, a level 2 flag is not shown again", MULTI_MINE, {{rc(0, 0), MINE}, {rc(8, 8), MINE_LEVEL2}},
     {rc(0, 0), rc(8, 8)}, {}, {rc(8, 8)}, rc(7, 7), HINT_MINE, rc(0, 0), FLAGGED_LEVEL2},
    {"mine: Multi-Mine, a level 3 flag is not shown again", MULTI_MINE, {{rc(0, 0), MINE}, {rc(8, 8), MINE_LEVEL3}},
     {rc(0, 0), rc(8, 8)}, {}, {rc(8, 8)}, rc(7, 7), HINT_MINE, rc(0, 0), FLAGGED_LEVEL3},
    {"nothing: Multi-Mine, the only certain mine flagged at level 3", MULTI_MINE, {{rc(0, 0), MINE_LEVEL3}},
     {rc(0, 0)}, {}, {rc(0, 0)}, rc(4, 4), HINT_NOTHING_CERTAIN, -1, FLAGGED_LEVEL3},
    {"nothing: Multi-Mine, a level 3 flag on a level 1 mine", MULTI_MINE, {{rc(0, 0), MINE}}, {rc(0, 0)}, {},
     {rc(0, 0)}, rc(4, 4), HINT_NOTHING_CERTAIN, -1, FLAGGED_LEVEL3},
    {"nothing: one clue of 1 among many covered cells", CLASSIC,
     {{rc(3, 3), MINE}, {rc(0, 8), MINE}, {rc(8, 0), MINE}, {rc(8, 8), MINE}, {rc(0, 0), MINE}}, {}, {rc(4, 4)}, {},
     rc(4, 4), HINT_NOTHING_CERTAIN, -1},
};

}  // namespace

TEST_F(Hint, PositionsTable) {
  for (const Position& p : POSITIONS) {
    SCOPED_TRACE(p.name);
    load(p.mode);
    std::vector<std::pair<int, int>> mines = p.mines;
    place(mines);
    for (int i = 0; i < board.cell_count; i++) {
      const bool open = p.uncovered.empty()
                            ? std::find(p.covered.begin(), p.covered.end(), i) == p.covered.end()
                            : std::find(p.uncovered.begin(), p.uncovered.end(), i) != p.uncovered.end();
      board.cells[i].state = open ? REVEALED : HIDDEN;
    }
    for (int c : p.flagged) board.cells[c].state = p.flag;
    const HintResult hint = find_hint(p.pointer);
    EXPECT_EQ(hint.kind, p.kind);
    EXPECT_EQ(hint.cell, p.cell);
    if (hint.kind == HINT_MINE) {
      EXPECT_EQ(board.cells[hint.cell].state, HIDDEN) << "a mine shown is one not flagged at any level";
    }

    // Asking during play costs, whatever was found, and marks the game.
    const float penalty = game.penalty_time;
    const HintResult used = use_hint(p.pointer);
    EXPECT_EQ(used.kind, p.kind);
    EXPECT_EQ(used.cell, p.cell);
    EXPECT_EQ(game.penalty_time, penalty + HINT_PENALTY_SECONDS);
    EXPECT_TRUE(game.hinted);
  }
}

// Before the first click and once play has ended, a hint shows nothing
// and costs nothing.
TEST_F(Hint, NothingAndNoCostBeforeTheFirstClickOrAfterPlay) {
  for (bool played_out : {false, true}) {
    SCOPED_TRACE(played_out ? "play ended" : "before the first click");
    load(CLASSIC);
    if (played_out) {
      place_regular({rc(0, 0)});
      game.phase = FINISHED;
    }
    ASSERT_EQ(game.first_cell == -1, !played_out);
    const HintResult hint = use_hint(rc(4, 4));
    EXPECT_EQ(hint.kind, HINT_UNAVAILABLE);
    EXPECT_EQ(hint.cell, -1);
    EXPECT_EQ(game.penalty_time, 0.0f);
    EXPECT_FALSE(game.hinted);
  }
}

TEST_F(Hint, PenaltyByMode) {
  struct Cost {
    GameMode mode;
    int score_before;
    float penalty;
    int damage;
    int score;
  };
  const int hidden = 37;
  const Cost costs[] = {
      {CLASSIC, 1000, 30.0f, 0, 1000},   {FLAGLESS, 1000, 30.0f, 0, 1000},   {BACKWARDS, 1000, 30.0f, 0, 1000},
      {MULTI_MINE, 1000, 30.0f, 0, 1000}, {MOVING_MINES, 1000, 30.0f, 0, 1000}, {ENDURANCE, 1000, 0.0f, hidden, 1000},
      {MEGAMINE, 1000, 0.0f, 0, 750},    {MEGAMINE, 100, 0.0f, 0, 0},
  };
  for (const Cost& c : costs) {
    SCOPED_TRACE(MODE_NAMES[c.mode]);
    init_game_session();
    game.mode = c.mode;
    game.cells_hidden = hidden;
    game.score = c.score_before;
    apply_hint_penalty();
    EXPECT_EQ(game.penalty_time, c.penalty);
    EXPECT_EQ(game.damage, c.damage);
    EXPECT_EQ(game.score, c.score);
  }
}

// The mark stays over the next board of an Endurance run and goes with a
// new game.
TEST_F(Hint, HintedMarkLastsTheGame) {
  load(ENDURANCE);
  place_regular({rc(0, 0)});
  ASSERT_NE(use_hint(-1).kind, HINT_UNAVAILABLE);
  EXPECT_TRUE(game.hinted);
  EXPECT_EQ(game.damage, game.cells_hidden);
  ASSERT_EQ(load_board("fgboards.dat", BEGINNER_9X9, 1), BOARD_LOADED);
  EXPECT_TRUE(game.hinted) << "the next board of the run";
  ASSERT_EQ(load_board("fgboards.dat", BEGINNER_9X9, 0), BOARD_LOADED);
  EXPECT_FALSE(game.hinted) << "a new game";
}
