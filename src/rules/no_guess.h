// Boards that can be cleared without a guess. At the board's first reveal
// the mines are laid and the first click's zone is cleared as usual; then
// the simulated player (the solver on the game's own reveal and cascade)
// plays the board from the first cell, and wherever it gets stuck, mines
// of the stuck frontier are moved to covered cells away from the revealed
// clues (or the undecided cells are dealt again), until the player clears
// the board or its budget of work runs out. Every draw comes from
// game.random and the budget counts work, not time, so a seed gives the
// same board on every machine, however fast or loaded.
//
// The modes whose clue is read from the mines around alone: Classic,
// Flagless, Endurance and Backwards. Multi-Mine (levels the solver reads
// weakly), Moving Mines (the mines move while the board is played) and
// MegaMine (no exact search) are not made no-guess.
#pragma once

#include "rules/board_state.h"
#include "rules/solver.h"

struct NoGuessResult {
  bool succeeded = false;  // the player clears the board from the first cell without a guess
  bool supported = true;   // false: the mode is not made no-guess (the zone cleared, nothing else)
  int attempts = 0;        // rearrangements of mines made
  int rescues = 0;         // of which a stuck mine moved anywhere outside the first click's opening
  int plays = 0;           // plays of the board from its first cell
  long work = 0;           // work done, in the units of the budget
};

// The work the game lets a board's making take. A unit is one cell of the
// board looked at by a pass of the solver's rules, a cascade or a
// rearrangement, or one step of the solver's exact search: a solve counts
// the board's cells and its search steps, a play from the first cell and a
// rearrangement the board's cells. A budget spent takes about a third of a
// second on a 2-core machine of 2026; the hardest of 1180 sampled shipped
// boards at Master needs a third of it, nearly all far less.
constexpr long NO_GUESS_WORK_BUDGET = 5000000L;

// The version of the no-guess maker that new boards are made by. Each
// version makes other boards from the same seed; game IDs name the version
// (board/game_id.h), and every version up to this one can still be made.
//   1: the rules of single clues and subset pairs, the global count and the
//      exact search of small groups.
//   2: the two-clue overlap rule as well.
constexpr int NO_GUESS_MAKER = 2;

// The solver limits that make the boards of a version of the maker.
SolverLimits no_guess_limits(int maker);

// Whether make_no_guess_board works on boards of this mode.
bool no_guess_supported(GameMode mode);

// The first reveal's layout, made no-guess (for a version of the maker, pass
// its limits, no_guess_limits): the board in play has its
// mines laid and no cell revealed yet (game.first_cell is -1). Sets
// game.first_cell to first_cell and clears its zone (clear_first_click_zone,
// the same draws as the game's first reveal), then rearranges the mines,
// keeping their number and never touching the zone, until the simulated
// player (clearable_without_guess) clears the board from first_cell.
// Stops once `budget` units of work are done (see NO_GUESS_WORK_BUDGET; 0
// stops before the first play) and reports failure, the board then being
// laid as far as it got: the same mine count, clues worked out, the zone
// clear. The budget is checked between solves, so the same budget always
// stops at the same point.
//
// The board is left covered, its cells in the states they had, and the
// session as it was but for game.first_cell and game.random (which has
// moved on by the draws made); pending events are kept. Since
// game.first_cell is set, the following reveal_cell(first_cell) uncovers
// the board as made, with no draw. game.first_cell also starts the game
// clock, so the function belongs to the moment of the first click, on a
// cell reveal_cell will uncover (covered, not flagged), right before that
// reveal. It plays the board through rules/actions, so actions.cpp cannot
// call it without a circle of modules: the caller of the first click does,
// or a hook handed to the actions.
NoGuessResult make_no_guess_board(int first_cell, long budget, const SolverLimits& limits = SolverLimits{});
