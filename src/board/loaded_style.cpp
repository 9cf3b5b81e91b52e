#include "board/loaded_style.h"

DATAFILE* style_datafile = nullptr;
int style_shape_count = 0;
int style_pattern_count = 0;

BITMAP* hidden_picture(int shape) {
  if (!style_datafile || shape < 0 || shape >= style_shape_count) return nullptr;
  return static_cast<BITMAP*>(style_datafile[1 + shape].dat);
}

BITMAP* revealed_picture(int shape) {
  if (!style_datafile || shape < 0 || shape >= style_shape_count) return nullptr;
  return static_cast<BITMAP*>(style_datafile[style_shape_count + 1 + shape].dat);
}

BITMAP* exploded_picture(int shape) {
  if (!style_datafile || shape < 0 || shape >= style_shape_count) return nullptr;
  return static_cast<BITMAP*>(style_datafile[2 * style_shape_count + 1 + shape].dat);
}

RLE_SPRITE* board_picture(int pattern) {
  if (!style_datafile || pattern < 0 || pattern >= style_pattern_count) return nullptr;
  return static_cast<RLE_SPRITE*>(style_datafile[3 * style_shape_count + 1 + pattern].dat);
}
