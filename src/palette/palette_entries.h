// The palette: which palette index plays which role, the 41 named entries a
// player can recolour, and the colours derived from their key colours.
#pragma once

#include <allegro.h>

// Fixed palette indexes used directly by drawing code.
enum PaletteIndex {
  COL_TRANSPARENT = 0,
  COL_MINEFIELD_LIGHT = 1,  // hidden tiles: 1 light edge .. 3 face .. 5 dark edge
  COL_MINEFIELD_FACE = 3,
  COL_MINEFIELD_DARK = 5,
  COL_WINDOW_LIGHT = 6,  // frames: 6 light, 7, 8 inside, 9, 10 dark
  COL_INSET_LIGHT = 7,
  COL_WINDOW = 8,
  COL_INSET_DARK = 9,
  COL_WINDOW_DARK = 10,
  COL_STATUS_LIGHT = 11,  // status panel: 11, 12, 13, 14, 15
  COL_STATUS_FACE = 13,
  COL_STATUS_DARK = 15,
  COL_NUMBER_FIRST = 16,  // "Number 1" .. "Number 16+": 16..31
  COL_MINE1_FIRST = 32,   // 32..47
  COL_MINE2_FIRST = 48,   // 48..63
  COL_MINE3_FIRST = 64,   // 64..79
  COL_LED_STD_OFF = 80,
  COL_LED_STD_ON = 81,
  COL_LED_L2_OFF = 82,
  COL_LED_L2_ON = 83,
  COL_LED_L1_OFF = 84,
  COL_LED_L1_ON = 85,
  COL_SMILEY_FACE = 86,
  COL_SMILEY_INK = 87,
  COL_BACKGROUND = 88,
  COL_MENU_BG = 89,
  COL_MENU_FONT = 90,
  COL_MENU_SELECTED_BG = 91,
  COL_MENU_SELECTED_FONT = 92,
  COL_LED_L3_OFF = 93,
  COL_LED_L3_ON = 94,
  COL_CURSOR_A = 95,
  COL_FLAG_A = 96,
  COL_FLAG_B = 97,
  COL_REVEALED_A = 98,
  COL_REVEALED_B = 99,
  COL_EXPLODED_A = 100,
  COL_EXPLODED_B = 101,
  COL_MULTIFLAG1_FIRST = 102,  // 102..104
  COL_MULTIFLAG2_FIRST = 105,  // 105..107
  COL_MULTIFLAG3_FIRST = 108,  // 108..110
  COL_CURSOR_B = 111,
  COL_QUESTION = 112,
  COL_EXPLOSION_FIRST = 113,  // 113..127
  COL_EXPLOSION_LAST = 127,
  COL_SHADES_FIRST = 128,  // 128 + 4k: four shades of number k + 1
  COL_BRIGHT = 255
};

struct PaletteEntry {
  const char* name;
  int key_count;  // 1..3
  int keys[3];
  bool gradient;  // indexes between the keys are derived from them
};

enum { PALETTE_ENTRY_COUNT = 41 };
extern const PaletteEntry PALETTE_ENTRIES[PALETTE_ENTRY_COUNT];

// One colour between a and b; percent is how far from a toward b.
void blend_rgb(const RGB& a, const RGB& b, RGB& out, float percent);
// Recomputes the indexes between the keys of a gradient entry.
void derive_entry_colours(int entry, RGB* palette);
// Fills 128..191 from the number colours 16..31 and index 255.
void derive_number_shades(RGB* palette);
