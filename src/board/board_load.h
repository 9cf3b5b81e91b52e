// Loading a board: a pattern of a style datafile becomes the Board, with
// its geometry and a fresh mine layout.
#pragma once

#include <allegro.h>

extern DATAFILE* style_datafile;  // the style file of the board in play
extern int style_shape_count;     // n
extern int style_pattern_count;   // p
extern int current_board_index;   // -1 until a board has been loaded

// Shows the "One moment please..." notice at the start of every board
// load; the user interface sets it (nothing is shown while it is unset).
extern void (*show_wait_notice_hook)();

// 1 when the board was loaded; 0 when the style file can no longer be
// loaded, is no longer valid or has no such pattern (nothing is changed
// then). With continuation set (the next board of an Endurance run) the
// loaded style is used again and the file name is not read.
int load_board(const char* file_name, int pattern, int continuation);

// Style datafile objects of the loaded style; nullptr when no style is
// loaded or the index is out of range.
BITMAP* hidden_picture(int shape);
BITMAP* revealed_picture(int shape);
BITMAP* exploded_picture(int shape);
RLE_SPRITE* board_picture(int pattern);
