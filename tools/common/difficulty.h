// How hard a board is, measured by playing it: the board in play (loaded
// with load_board, its geometry built) is dealt again and again with a
// mine count and played from its centre cell by the simulated player
// (rules/solver_player.h), seeded so that every figure is reproducible.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "rules/board_state.h"
#include "rules/solver_player.h"

struct DifficultyFigures {
  int games = 0;
  double forced_guesses = 0;         // mean per game
  double guesses_per_100_cells = 0;  // the mean, per 100 cells of the board
  double mines_hit = 0;              // mean per game
  double no_guess_share = 0;         // share of games cleared without a guess
  double first_click_share = 0;      // mean share of the cells the first click opened
  double guesses_sd = 0;             // standard deviation of the forced guesses of one game
};

// The cell nearest the centre of the board's cells (by their tile positions).
int centre_cell();

// The mean number of neighbours of the board's cells.
double mean_neighbours();

// The simulated player every figure is measured with: the solver the
// shipped mine counts were calibrated with, without the overlapping pairs
// rule. Where the frontier groups grow beyond the search limits (the 12
// neighbours of the triangle patterns) the rule takes away a fifth of the
// forced guesses, which would take Triangle Field out of its Master band;
// with the rule the counts would have to be calibrated again, and every
// game ID would name another board.
PlayerOptions difficulty_player();

// Plays `games` games of the board in play with `mines` mines in `mode`
// from its centre cell (difficulty_player): game g lays its mines from the
// seed (seed, g) and guesses from another. The board and session are left
// as the last game left them.
DifficultyFigures measure_board(int mines, int games, uint32_t seed, GameMode mode = CLASSIC);

// Games enough to measure a board of `cells` cells: more for small boards,
// whose single games vary most.
int games_for(int cells);

// The measurement every shipped figure uses (the difficulty table, the
// mine count calibration and the build's check): pattern p of a style file
// is played games_for(cells) games from seed DIFFICULTY_SEED + p.
constexpr uint32_t DIFFICULTY_SEED = 20261210;
constexpr int DIFFICULTY_LEVELS = 4;  // Beginner .. Master
inline uint32_t difficulty_seed(int pattern) { return DIFFICULTY_SEED + static_cast<uint32_t>(pattern); }

// The four mine counts and the four MegaMine counts of pattern p of the
// style in play (style_datafile, as load_board left it).
void pattern_mine_counts(int pattern, int mines[DIFFICULTY_LEVELS], int mega[DIFFICULTY_LEVELS]);

// What a skill level means: forced guesses per 100 cells, as measured on
// the Classic Squares boards the levels are named after (Beginner: 9 x 9 at
// Beginner; Intermediate: 16 x 16 at Intermediate; Expert and Master:
// 28 x 16 at Expert and Master). A pattern's figure at a level must lie in
// the band: within GUESS_BAND_SHARE of the target, plus GUESS_BAND_SLACK.
extern const double GUESS_TARGETS[DIFFICULTY_LEVELS];
constexpr double GUESS_BAND_SHARE = 0.25;
constexpr double GUESS_BAND_SLACK = 0.05;
struct GuessBand {
  double low, high;
};
GuessBand guess_band(int level);
bool in_guess_band(int level, double guesses_per_100_cells);
// How far a figure lies from its level's target, in half-widths of the
// band: at most 1 inside the band.
double band_distance(int level, double guesses_per_100_cells);
extern const char* const LEVEL_NAMES[DIFFICULTY_LEVELS];

// Every pattern of every valid style file of the current folder, loaded in
// turn as the board in play (Classic, Beginner): `visit` is called with the
// file name and the pattern's number. A pattern that does not load is
// handed to `failed`, when given, instead.
using PatternVisit = std::function<void(const std::string& file, int pattern)>;
void for_each_pattern(const PatternVisit& visit, const PatternVisit& failed = nullptr);
