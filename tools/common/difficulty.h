// How hard a board is, measured by playing it: the board in play (loaded
// with load_board, its geometry built) is dealt again and again with a
// mine count and played from its centre cell by the simulated player
// (rules/solver_player.h), seeded so that every figure is reproducible.
#pragma once

#include <cstdint>

#include "rules/board_state.h"

struct DifficultyFigures {
  int games = 0;
  double forced_guesses = 0;         // mean per game
  double guesses_per_100_cells = 0;  // the mean, per 100 cells of the board
  double mines_hit = 0;              // mean per game
  double no_guess_share = 0;         // share of games cleared without a guess
  double first_click_share = 0;      // mean share of the cells the first click opened
};

// The cell nearest the centre of the board's cells (by their tile positions).
int centre_cell();

// The mean number of neighbours of the board's cells.
double mean_neighbours();

// Plays `games` games of the board in play with `mines` mines in `mode`
// from its centre cell: game g lays its mines from the seed (seed, g) and
// guesses from another. The board and session are left as the last game
// left them.
DifficultyFigures measure_board(int mines, int games, uint32_t seed, GameMode mode = CLASSIC);

// Games enough to measure a board of `cells` cells: more for small boards,
// whose single games vary most.
int games_for(int cells);
