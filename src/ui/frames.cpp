#include "ui/frames.h"

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "palette/palette_entries.h"

namespace {
BITMAP* piece(int index) { return static_cast<BITMAP*>(MainDatafile[index].dat); }
}  // namespace

int mouse_in_rect(int x1, int y1, int x2, int y2) {
  const int mx = mouse_x, my = mouse_y;
  return (x1 <= mx && mx <= x2 && y1 <= my && my <= y2) ? 1 : 0;
}

void draw_frame(BITMAP* bmp, int x1, int y1, int x2, int y2) {
  blit(piece(OBJ_FRAME_TOP_LEFT), bmp, 0, 0, x1, y1, 2, 2);
  blit(piece(OBJ_FRAME_BOTTOM_LEFT), bmp, 0, 0, x1, y2 - 1, 2, 2);
  blit(piece(OBJ_FRAME_TOP_RIGHT), bmp, 0, 0, x2 - 1, y1, 2, 2);
  blit(piece(OBJ_FRAME_BOTTOM_RIGHT), bmp, 0, 0, x2 - 1, y2 - 1, 2, 2);
  const int w = x2 - x1 - 3, h = y2 - y1 - 3;
  if (w > 0) {
    stretch_blit(piece(OBJ_FRAME_TOP), bmp, 0, 0, 1, 2, x1 + 2, y1, w, 2);
    stretch_blit(piece(OBJ_FRAME_BOTTOM), bmp, 0, 0, 1, 2, x1 + 2, y2 - 1, w, 2);
  }
  if (h > 0) {
    stretch_blit(piece(OBJ_FRAME_LEFT), bmp, 0, 0, 2, 1, x1, y1 + 2, 2, h);
    stretch_blit(piece(OBJ_FRAME_RIGHT), bmp, 0, 0, 2, 1, x2 - 1, y1 + 2, 2, h);
  }
  if (x2 - 2 >= x1 + 2 && y2 - 2 >= y1 + 2) rectfill(bmp, x1 + 2, y1 + 2, x2 - 2, y2 - 2, COL_WINDOW);
}

void draw_inset_box(BITMAP* bmp, int x1, int y1, int x2, int y2) {
  rectfill(bmp, x1, y1, x2, y2, COL_MENU_BG);
  line(bmp, x1, y2, x2, y2, COL_INSET_DARK);
  line(bmp, x2, y1, x2, y2, COL_INSET_DARK);
  line(bmp, x1, y1, x2, y1, COL_INSET_LIGHT);
  line(bmp, x1, y1, x1, y2, COL_INSET_LIGHT);
}

void draw_caption(BITMAP* bmp, int x1, int y1, int x2, int y2, const char* text, int align, int pressed) {
  const int v = ((y2 - y1) - 7) / 2;
  const int p = pressed ? 1 : 0;
  switch (align) {
    case ALIGN_CENTRE: draw_text_centre(bmp, x1 + (x2 - x1) / 2 + p, y1 + v + p, COL_MENU_FONT, text); break;
    case ALIGN_RIGHT: draw_text_right(bmp, x2 - v + 1 + p, y1 + v + p, COL_MENU_FONT, text); break;
    default: draw_text(bmp, x1 + v + p, y1 + v + p, COL_MENU_FONT, text); break;
  }
}

FONT* game_font() { return static_cast<FONT*>(MainDatafile[OBJ_FONT].dat); }

void draw_text(BITMAP* bmp, int x, int y, int colour, const char* text) {
  textout_ex(bmp, game_font(), text, x, y, colour, -1);
}

void draw_text_centre(BITMAP* bmp, int x, int y, int colour, const char* text) {
  textout_centre_ex(bmp, game_font(), text, x, y, colour, -1);
}

void draw_text_right(BITMAP* bmp, int x, int y, int colour, const char* text) {
  textout_right_ex(bmp, game_font(), text, x, y, colour, -1);
}
