// Loading a board: a pattern of a style datafile becomes the Board, with
// its geometry and a fresh mine layout.
#pragma once

#include <allegro.h>

extern DATAFILE* style_datafile;  // the style file of the board in play
extern int style_shape_count;     // n
extern int style_pattern_count;   // p
extern int current_board_index;   // -1 until a board has been loaded

// 1 when the board was loaded; 0 when the style file can no longer be
// loaded or is no longer valid (nothing is changed then).
int load_board(const char* file_name, int pattern, int continuation);

// Style datafile objects of the loaded style.
BITMAP* hidden_picture(int shape);
BITMAP* revealed_picture(int shape);
BITMAP* exploded_picture(int shape);
RLE_SPRITE* board_picture(int pattern);
