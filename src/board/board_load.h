// Loading a board: a pattern of a style datafile becomes the Board, with
// its geometry and a fresh mine layout.
#pragma once

#include "board/loaded_style.h"
#include "rules/random.h"

extern int current_board_index;   // -1 until a board has been loaded
extern char board_file_name[16];  // the style file of the board in play
extern int boards_loaded;         // boards loaded since the program started

enum BoardLoadResult {
  BOARD_NOT_LOADED = 0,  // nothing was changed
  BOARD_LOADED = 1,
  BOARD_HIT_GRID_FULL = 2  // a hit-grid bucket would take a fifth cell
};

// Loads a pattern of a style file as the board in play, with its counters
// and a fresh mine layout drawn from board_seed and board_counter; the
// game's three random streams start there. BOARD_NOT_LOADED when the style
// file can no longer be loaded, is no longer valid or has no such pattern
// (nothing is changed then). With continuation set (the next board of an
// Endurance run) the loaded style is used again and the file name is not
// read. A plain file name is looked for in the user folder first, then in
// the data folder (find_game_file); a name with a '/' is a path.
// Validation refuses the styles whose hit grid overflows, so
// BOARD_HIT_GRID_FULL means the board in play is broken.
BoardLoadResult load_board(const char* file_name, int pattern, int continuation);
// The same with the game stream started at a given state instead (the
// board of a game ID).
BoardLoadResult load_board_from(const char* file_name, int pattern, int continuation, Random stream);
