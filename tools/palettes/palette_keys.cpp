#include "palettes/palette_keys.h"

#include "palette/palette_entries.h"

void put_rgb(RGB* pal, int index, int r, int g, int b) {
  pal[index].r = static_cast<unsigned char>(r);
  pal[index].g = static_cast<unsigned char>(g);
  pal[index].b = static_cast<unsigned char>(b);
  pal[index].filler = 0;
}

void put_numbers(RGB* pal, const int numbers[16][3]) {
  for (int k = 0; k < 16; k++) put_rgb(pal, COL_NUMBER_FIRST + k, numbers[k][0], numbers[k][1], numbers[k][2]);
}

void set_default_keys(RGB* p) {
  for (int i = 0; i < PAL_SIZE; i++) put_rgb(p, i, 0, 0, 0);

  // Minefield: hidden tiles, light edge / face / dark edge.
  put_rgb(p, 1, 61, 62, 63);
  put_rgb(p, 3, 46, 48, 53);
  put_rgb(p, 5, 24, 26, 32);
  // Menus & windows: light edge / inside / dark edge.
  put_rgb(p, 6, 36, 39, 47);
  put_rgb(p, 8, 19, 21, 27);
  put_rgb(p, 10, 5, 6, 9);
  // Status bars.
  put_rgb(p, 11, 30, 33, 42);
  put_rgb(p, 13, 15, 17, 23);
  put_rgb(p, 15, 3, 4, 7);
  // Numbers 1..16+ on the light revealed face: blue, green, red, navy,
  // maroon, teal, black, grey, then purple, orange, olive, magenta, brown,
  // azure, forest and rose. Each is at least 3:1 against the face and
  // CIEDE2000 15 or more from every other (the shipped-palettes test).
  static const int numbers[16][3] = {
      {9, 17, 60},  {0, 36, 8},   {63, 0, 9},  {0, 9, 20},   {22, 5, 1},  {7, 34, 32},
      {4, 4, 2},    {31, 30, 30}, {26, 0, 28}, {46, 25, 2},  {35, 32, 0}, {51, 14, 54},
      {20, 16, 0},  {0, 33, 48},  {2, 20, 10}, {40, 18, 24}};
  put_numbers(p, numbers);
  // Mines: regular steel, level 2 bronze, level 3 teal; dark / body / highlight.
  put_rgb(p, 32, 2, 2, 4);
  put_rgb(p, 40, 20, 22, 27);
  put_rgb(p, 47, 60, 61, 63);
  put_rgb(p, 48, 8, 3, 0);
  put_rgb(p, 56, 42, 24, 4);
  put_rgb(p, 63, 63, 56, 36);
  put_rgb(p, 64, 0, 6, 8);
  put_rgb(p, 72, 4, 34, 40);
  put_rgb(p, 79, 44, 63, 63);
  // LEDs: unlit / lit.
  put_rgb(p, 80, 16, 3, 2);
  put_rgb(p, 81, 63, 10, 6);
  put_rgb(p, 82, 12, 7, 0);
  put_rgb(p, 83, 63, 44, 4);
  put_rgb(p, 84, 3, 14, 4);
  put_rgb(p, 85, 14, 63, 18);
  put_rgb(p, 93, 1, 12, 16);
  put_rgb(p, 94, 16, 58, 63);
  // Smiley: face / ink.
  put_rgb(p, 86, 63, 54, 10);
  put_rgb(p, 87, 8, 5, 0);
  // Background and menus.
  put_rgb(p, 88, 6, 7, 10);
  put_rgb(p, 89, 10, 11, 15);
  put_rgb(p, 90, 56, 58, 62);
  put_rgb(p, 91, 12, 26, 50);
  put_rgb(p, 92, 63, 63, 63);
  // Mouse cursor: outline / fill.
  put_rgb(p, 95, 0, 0, 0);
  put_rgb(p, 111, 63, 63, 63);
  // Regular flags: cloth / pole.
  put_rgb(p, 96, 60, 8, 6);
  put_rgb(p, 97, 12, 12, 14);
  // Revealed tiles: a flat, pale face lighter than the hidden tiles, so
  // that every number reads on it / the sunken rim and its shadow.
  put_rgb(p, 98, 55, 56, 58);
  put_rgb(p, 99, 42, 44, 48);
  // Exploded tiles: scorch / char.
  put_rgb(p, 100, 44, 14, 8);
  put_rgb(p, 101, 18, 5, 3);
  // Multi-flags: cloth / highlight / pole, levels 1 (green), 2 (amber), 3 (cyan).
  put_rgb(p, 102, 8, 46, 12);
  put_rgb(p, 103, 30, 63, 32);
  put_rgb(p, 104, 12, 12, 14);
  put_rgb(p, 105, 56, 36, 0);
  put_rgb(p, 106, 63, 56, 24);
  put_rgb(p, 107, 12, 12, 14);
  put_rgb(p, 108, 4, 40, 50);
  put_rgb(p, 109, 36, 63, 63);
  put_rgb(p, 110, 12, 12, 14);
  // '?' marks.
  put_rgb(p, 112, 22, 10, 48);
  // Explosions: ember / flame / white heat.
  put_rgb(p, 113, 18, 2, 0);
  put_rgb(p, 119, 62, 28, 0);
  put_rgb(p, 127, 63, 63, 44);
  // Free indexes 192..254: a neutral grey ramp; 255 the bright reference.
  for (int i = 192; i < 255; i++) {
    int v = (i - 192) * 63 / 62;
    put_rgb(p, i, v, v, v);
  }
  put_rgb(p, 255, 63, 63, 63);
}

void finish_palette(RGB* pal) {
  for (int e = 0; e < PALETTE_ENTRY_COUNT; e++) derive_entry_colours(e, pal);
  derive_number_shades(pal);
}
