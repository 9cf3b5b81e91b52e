// The default game palette (object 29): a dark slate background and windows,
// light bevelled tiles, well-separated number hues and red LEDs. Every role
// owns the indexes the palette entry table gives it; the derived indexes
// are computed from the keys exactly as the game's palette editor does.
#include "gfx/gfx.h"

namespace {
void put(PALETTE pal, int i, int r, int g, int b) {
  pal[i].r = static_cast<unsigned char>(r);
  pal[i].g = static_cast<unsigned char>(g);
  pal[i].b = static_cast<unsigned char>(b);
}
}  // namespace

void build_default_palette(GfxSet& set) {
  PALETTE& p = set.pal;
  for (int i = 0; i < PAL_SIZE; i++) put(p, i, 0, 0, 0);

  // Minefield: hidden tiles, light edge / face / dark edge.
  put(p, 1, 61, 62, 63);
  put(p, 3, 46, 48, 53);
  put(p, 5, 24, 26, 32);
  // Menus & windows: light edge / inside / dark edge.
  put(p, 6, 36, 39, 47);
  put(p, 8, 19, 21, 27);
  put(p, 10, 5, 6, 9);
  // Status bars.
  put(p, 11, 30, 33, 42);
  put(p, 13, 15, 17, 23);
  put(p, 15, 3, 4, 7);
  // Numbers 1..16+.
  static const int numbers[16][3] = {
      {4, 12, 56},  {0, 36, 6},   {56, 4, 4},   {2, 4, 30},  {34, 2, 2},   {0, 34, 36},
      {0, 0, 0},    {54, 55, 58}, {40, 4, 50},  {58, 28, 0}, {34, 34, 0},  {54, 0, 40},
      {32, 16, 4},  {0, 30, 60},  {6, 20, 10},  {50, 8, 24}};
  for (int k = 0; k < 16; k++) put(p, 16 + k, numbers[k][0], numbers[k][1], numbers[k][2]);
  // Mines: regular steel, level 2 bronze, level 3 teal; dark / body / highlight.
  put(p, 32, 2, 2, 4);
  put(p, 40, 20, 22, 27);
  put(p, 47, 60, 61, 63);
  put(p, 48, 8, 3, 0);
  put(p, 56, 42, 24, 4);
  put(p, 63, 63, 56, 36);
  put(p, 64, 0, 6, 8);
  put(p, 72, 4, 34, 40);
  put(p, 79, 44, 63, 63);
  // LEDs: unlit / lit.
  put(p, 80, 16, 3, 2);
  put(p, 81, 63, 10, 6);
  put(p, 82, 12, 7, 0);
  put(p, 83, 63, 44, 4);
  put(p, 84, 3, 14, 4);
  put(p, 85, 14, 63, 18);
  put(p, 93, 1, 12, 16);
  put(p, 94, 16, 58, 63);
  // Smiley: face / ink.
  put(p, 86, 63, 54, 10);
  put(p, 87, 8, 5, 0);
  // Background and menus.
  put(p, 88, 6, 7, 10);
  put(p, 89, 10, 11, 15);
  put(p, 90, 56, 58, 62);
  put(p, 91, 12, 26, 50);
  put(p, 92, 63, 63, 63);
  // Mouse cursor: outline / fill.
  put(p, 95, 0, 0, 0);
  put(p, 111, 63, 63, 63);
  // Regular flags: cloth / pole.
  put(p, 96, 60, 8, 6);
  put(p, 97, 12, 12, 14);
  // Revealed tiles: face / sunken edge.
  put(p, 98, 36, 38, 42);
  put(p, 99, 27, 29, 33);
  // Exploded tiles: scorch / char.
  put(p, 100, 44, 14, 8);
  put(p, 101, 18, 5, 3);
  // Multi-flags: cloth / highlight / pole, levels 1 (green), 2 (amber), 3 (cyan).
  put(p, 102, 8, 46, 12);
  put(p, 103, 30, 63, 32);
  put(p, 104, 12, 12, 14);
  put(p, 105, 56, 36, 0);
  put(p, 106, 63, 56, 24);
  put(p, 107, 12, 12, 14);
  put(p, 108, 4, 40, 50);
  put(p, 109, 36, 63, 63);
  put(p, 110, 12, 12, 14);
  // '?' marks.
  put(p, 112, 22, 10, 48);
  // Explosions: ember / flame / white heat.
  put(p, 113, 18, 2, 0);
  put(p, 119, 62, 28, 0);
  put(p, 127, 63, 63, 44);
  // Free indexes 192..254: a neutral grey ramp; 255 the bright reference.
  for (int i = 192; i < 255; i++) {
    int v = (i - 192) * 63 / 62;
    put(p, i, v, v, v);
  }
  put(p, 255, 63, 63, 63);

  for (int e = 0; e < PALETTE_ENTRY_COUNT; e++) derive_entry_colours(e, p);
  derive_number_shades(p);
  gfx_set_palette(set, OBJ_DEFAULT_PALETTE, p);
}
