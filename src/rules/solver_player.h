// A simulated player on top of the solver: it plays the board in play (the
// global Board and GameSession, as load_board left them, mines laid) with
// the game's own actions, so that the first click's zone, the cascade and
// every mode's rules apply as in a real game. Used to measure boards: how
// many forced guesses a board takes from a first cell, and whether it can be
// cleared by deduction alone.
#pragma once

#include "rules/random.h"
#include "rules/solver.h"

struct PlayerOptions {
  SolverLimits limits;
  bool guess = true;       // false: stop at the first position without a safe cell
  int max_guesses = MAX_CELLS;
};

struct PlayResult {
  int forced_guesses = 0;      // cells opened without a certainly safe one to open
  int mines_hit = 0;           // mines uncovered (by guesses)
  bool cleared = false;        // every safe cell uncovered (or the board finished)
  int first_click_opened = 0;  // cells the first click and its cascade uncovered
  int solves = 0;              // solver runs
};

// A click on a cell of the board in play and its cascade, run to the end
// at once; the events posted are dropped.
void open_cell_and_cascade(int c);

// Plays the board in play from first_cell: reveals it (reveal_cell, the
// cascade at the "Instant" speed), then again and again every certainly
// safe cell the solver finds (the rules first, the exact search only when
// they find none); when none is left, a forced guess: the covered cell of
// lowest estimated mine chance (Solver::estimate_probabilities), and of
// the cells that share it those with the fewest neighbours, drawn from
// `guesses` among them. In Moving Mines every reveal
// moves a mine, so the position is solved again after each one. Stops when
// every safe cell is uncovered, the board is no longer played, or after
// max_guesses. Events posted on the way are dropped (clear_events), and the
// cascade setting is restored at the end. The board is left as played.
PlayResult play_board(int first_cell, Random& guesses, const PlayerOptions& options = PlayerOptions{});

// Whether the board in play, as laid and not yet clicked, can be cleared
// from first_cell without a single guess. The board, the session and the
// events queue are put back as they were (pending events are dropped).
bool clearable_without_guess(int first_cell, const SolverLimits& limits = SolverLimits{});
