#include "rules/solver_player.h"

#include <memory>
#include <vector>

#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "rules/actions.h"
#include "rules/board_state.h"
#include "rules/events.h"

namespace {

bool all_safe_open() { return game.cells_hidden <= game.mines_total - game.board_mines_hit; }

bool done() { return game.phase != PLAYING || all_safe_open(); }


// Opens the safe cells of the last solve (only the first in Moving Mines);
// returns the number of cells the board uncovered.
int open_safe_cells(const Solver& solver) {
  const int before = game.cells_hidden;
  for (int c = 0; c < board.cell_count && !done(); c++) {
    if (solver.verdict(c) != VERDICT_SAFE || board.cells[c].state == REVEALED) continue;
    open_cell_and_cascade(c);
    if (game.mode == MOVING_MINES) break;
  }
  return before - game.cells_hidden;
}

// The covered cells of lowest chance, and of those the ones with fewest
// neighbours (a corner or an edge opens more often, its clue seeing fewer
// cells): one drawn from `guesses`.
int guess_cell(Solver& solver, Random& guesses) {
  const double best = solver.estimate_probabilities();
  if (best < 0.0) return -1;
  auto lowest = [&](int c) {
    return solver.verdict(c) == VERDICT_UNKNOWN && board.cells[c].state != REVEALED &&
           solver.probability(c) <= best + 1e-9;
  };
  int fewest = MAX_NEIGHBOURS + 1;
  for (int c = 0; c < board.cell_count; c++)
    if (lowest(c) && board.cells[c].neighbour_count < fewest) fewest = board.cells[c].neighbour_count;
  int count = 0;
  for (int c = 0; c < board.cell_count; c++)
    if (lowest(c) && board.cells[c].neighbour_count == fewest) count++;
  if (count == 0) return -1;
  int pick = random_range(guesses, 0, count - 1);
  for (int c = 0; c < board.cell_count; c++)
    if (lowest(c) && board.cells[c].neighbour_count == fewest && pick-- == 0) return c;
  return -1;
}

}  // namespace

void open_cell_and_cascade(int c) {
  reveal_cell(c, 1, SFX_REVEAL);
  if (game.auto_reveal_timer > -1000.0f) auto_reveal_step();
  clear_events();
}

PlayResult play_board(int first_cell, Random& guesses, const PlayerOptions& options) {
  PlayResult result;
  const float chain_speed = settings.chain_speed;
  settings.chain_speed = 0.0f;  // "Instant"
  clear_events();
  const int hits_before = game.board_mines_hit;

  const int hidden_before = game.cells_hidden;
  open_cell_and_cascade(first_cell);
  result.first_click_opened = hidden_before - game.cells_hidden;

  Solver solver(options.limits);
  // Every round opens at least one cell or ends the play.
  for (int round = 0; round <= 2 * MAX_CELLS && !done(); round++) {
    solver.solve(board, game, false);
    result.solves++;
    if (solver.stats().safe == 0) {
      solver.solve(board, game, true);
      result.solves++;
    }
    if (solver.stats().safe > 0 && open_safe_cells(solver) > 0) continue;
    if (!options.guess || result.forced_guesses >= options.max_guesses) break;
    const int c = guess_cell(solver, guesses);
    if (c < 0) break;
    result.forced_guesses++;
    open_cell_and_cascade(c);
  }

  result.mines_hit = game.board_mines_hit - hits_before;
  result.cleared = game.phase == FINISHED || all_safe_open();
  settings.chain_speed = chain_speed;
  return result;
}

bool clearable_without_guess(int first_cell, const SolverLimits& limits) {
  std::unique_ptr<Board> saved_board(new Board(board));
  const GameSession saved_game = game;
  PlayerOptions options;
  options.limits = limits;
  options.guess = false;
  Random unused{};
  const PlayResult result = play_board(first_cell, unused, options);
  board = *saved_board;
  game = saved_game;
  clear_events();
  return result.cleared && result.mines_hit == 0;
}
