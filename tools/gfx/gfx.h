// Shared state of the main graphics generator: one slot per object of the
// main datafile, filled by the builder functions of this folder.
#pragma once

#include <allegro.h>

#include <string>
#include <vector>

#include "platform/main_datafile.h"
#include "common/datafile_writer.h"
#include "palette/palette_entries.h"

struct GfxObject {
  enum Kind { EMPTY, BITMAP_OBJ, RLE_OBJ, PALETTE_OBJ, FONT_OBJ };
  Kind kind = EMPTY;
  BITMAP* bmp = nullptr;  // BITMAP_OBJ and RLE_OBJ (owned)
  PALETTE pal{};          // PALETTE_OBJ
  int first_char = 32;    // FONT_OBJ
  std::vector<DatGlyph> glyphs;
};

struct GfxSet {
  GfxObject obj[MAIN_OBJECT_COUNT];
  PALETTE pal{};  // the default game palette (object 29), set first
};

// Store a drawn picture at an index; the set takes ownership of bmp.
void gfx_set_bitmap(GfxSet& set, int index, BITMAP* bmp);
void gfx_set_rle(GfxSet& set, int index, BITMAP* bmp);
void gfx_set_palette(GfxSet& set, int index, const PALETTE pal);

// A new 8-bit bitmap cleared to colour 0.
BITMAP* gfx_new_bitmap(int w, int h);

// The game font: 8 pixels high, proportional; glyphs for codes 32..126.
// Text drawing with it is available to every builder once build_font ran.
const std::vector<DatGlyph>& gfx_font_glyphs();
int gfx_text_width(const char* text);
void gfx_text(BITMAP* bmp, int x, int y, const char* text, int colour);
void gfx_text_centre(BITMAP* bmp, int cx, int y, const char* text, int colour);

// Pixel patterns: one string per row; each character listed in the inks
// is drawn in its colour, any other character is left transparent.
struct Ink {
  char ch;
  int colour;
};
void stamp(BITMAP* b, int x0, int y0, const char* const* rows, int n, const Ink* inks, int ink_count);

// Builders, each filling its own objects (see the comment at each definition).
void build_default_palette(GfxSet& set);  // 29
void build_font(GfxSet& set);             // 30
void build_ui_pieces(GfxSet& set);        // 0-7, 21-28, 31-38, 43-52, 114-127, 199-206
void build_board_pieces(GfxSet& set);     // 8-18, 39-42, 111-113, 128, 131-195
void build_status_pieces(GfxSet& set);    // 53-108, 196-198, 207-225
void build_title_pieces(GfxSet& set);     // 109, 110, 226, 227

// The window icon (32 x 32, 16 colours) as the C source of an XPM array
// named allegro_icon.
std::string build_window_icon_source(const GfxSet& set);
