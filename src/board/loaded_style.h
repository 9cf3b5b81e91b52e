// The style datafile of the board in play and its pictures.
#pragma once

#include <allegro.h>

extern DATAFILE* style_datafile;  // nullptr until a board has been loaded
extern int style_shape_count;     // n
extern int style_pattern_count;   // p

// Style datafile objects of the loaded style; nullptr when no style is
// loaded or the index is out of range.
BITMAP* hidden_picture(int shape);
BITMAP* revealed_picture(int shape);
BITMAP* exploded_picture(int shape);
RLE_SPRITE* board_picture(int pattern);
