// Drawing primitives of the user interface: raised window frames, inset
// boxes, captions placed inside boxes, text in the game font, and the
// mouse-in-rectangle test of every widget. Rectangles are inclusive.
#pragma once

#include <allegro.h>

enum TextAlign { ALIGN_LEFT = 0, ALIGN_CENTRE = 1, ALIGN_RIGHT = 2 };

int mouse_in_rect(int x1, int y1, int x2, int y2);
void draw_frame(BITMAP* bmp, int x1, int y1, int x2, int y2);
void draw_inset_box(BITMAP* bmp, int x1, int y1, int x2, int y2);
// A caption inside the box (x1, y1)-(x2, y2), vertically centred for the
// 8-pixel glyphs; pressed moves it one pixel right and down.
void draw_caption(BITMAP* bmp, int x1, int y1, int x2, int y2, const char* text, int align, int pressed);

// The game font (main datafile object 30), and text in it with a
// transparent background.
FONT* game_font();
void draw_text(BITMAP* bmp, int x, int y, int colour, const char* text);
void draw_text_centre(BITMAP* bmp, int x, int y, int colour, const char* text);
void draw_text_right(BITMAP* bmp, int x, int y, int colour, const char* text);
