#include "palettes/shipped_palettes.h"

#include "palette/palette_entries.h"
#include "palettes/palette_keys.h"

namespace {

// The look of a theme: the colours of tiles, frames, panel and menus.
struct Look {
  int minefield[3][3];  // hidden tiles: light edge, face, dark edge
  int windows[3][3];    // 6, 8, 10
  int status[3][3];     // 11, 13, 15
  int background[3], menu_bg[3], menu_font[3], selected_bg[3], selected_font[3];
  int revealed[2][3];   // face, rim
  int question[3];
};

void put3(RGB* p, int index, const int c[3]) { put_rgb(p, index, c[0], c[1], c[2]); }

void apply_look(RGB* p, const Look& look, const int numbers[16][3]) {
  set_default_keys(p);
  const int tiles[3] = {COL_MINEFIELD_LIGHT, COL_MINEFIELD_FACE, COL_MINEFIELD_DARK};
  const int windows[3] = {COL_WINDOW_LIGHT, COL_WINDOW, COL_WINDOW_DARK};
  const int status[3] = {COL_STATUS_LIGHT, COL_STATUS_FACE, COL_STATUS_DARK};
  for (int k = 0; k < 3; k++) {
    put3(p, tiles[k], look.minefield[k]);
    put3(p, windows[k], look.windows[k]);
    put3(p, status[k], look.status[k]);
  }
  put3(p, COL_BACKGROUND, look.background);
  put3(p, COL_MENU_BG, look.menu_bg);
  put3(p, COL_MENU_FONT, look.menu_font);
  put3(p, COL_MENU_SELECTED_BG, look.selected_bg);
  put3(p, COL_MENU_SELECTED_FONT, look.selected_font);
  put3(p, COL_REVEALED_A, look.revealed[0]);
  put3(p, COL_REVEALED_B, look.revealed[1]);
  put3(p, COL_QUESTION, look.question);
  put_numbers(p, numbers);
}

// Black, grey and white frames; white revealed tiles; numbers at 4.5:1.
void build_high_contrast(RGB* p) {
  static const Look look = {{{63, 63, 63}, {40, 40, 42}, {12, 12, 12}},
                            {{63, 63, 63}, {10, 10, 10}, {0, 0, 0}},
                            {{50, 50, 50}, {10, 10, 10}, {0, 0, 0}},
                            {0, 0, 0},
                            {0, 0, 0},
                            {63, 63, 63},
                            {63, 63, 0},
                            {0, 0, 0},
                            {{63, 63, 63}, {24, 24, 24}},
                            {4, 0, 24}};
  static const int numbers[16][3] = {
      {2, 20, 53},  {8, 33, 0},   {57, 4, 8},  {7, 7, 23},   {30, 0, 0},  {0, 26, 21},
      {4, 3, 4},    {27, 24, 24}, {38, 1, 46}, {43, 23, 1},  {29, 26, 0}, {56, 0, 30},
      {18, 12, 2},  {1, 31, 38},  {7, 14, 0},  {28, 0, 16}};
  apply_look(p, look, numbers);
  // A darker unlit segment for every readout.
  put_rgb(p, COL_LED_STD_OFF, 8, 1, 1);
  finish_palette(p);
}

// The default slate with a near-white revealed face, numbers that stay
// apart with protanopia and deuteranopia (by lightness and blue-yellow),
// and Multi-Mine levels told apart the same way: blue, yellow and white.
void build_colour_safe(RGB* p) {
  static const Look look = {{{61, 62, 63}, {46, 48, 53}, {24, 26, 32}},
                            {{36, 39, 47}, {19, 21, 27}, {5, 6, 9}},
                            {{30, 33, 42}, {15, 17, 23}, {3, 4, 7}},
                            {6, 7, 10},
                            {10, 11, 15},
                            {56, 58, 62},
                            {12, 26, 50},
                            {63, 63, 63},
                            {{62, 62, 60}, {44, 44, 46}},
                            {22, 10, 48}};
  static const int numbers[16][3] = {
      {1, 21, 52},  {4, 36, 21},  {61, 22, 27}, {2, 0, 48},  {22, 1, 15}, {3, 39, 39},
      {1, 2, 4},    {20, 21, 21}, {17, 16, 27}, {62, 17, 4}, {24, 20, 0}, {38, 26, 63},
      {11, 4, 0},   {9, 32, 42},  {9, 18, 11},  {44, 19, 30}};
  apply_look(p, look, numbers);
  // Readouts: standard orange; level 1 blue, level 2 yellow, level 3 white.
  put_rgb(p, COL_LED_STD_ON, 63, 24, 0);
  put_rgb(p, COL_LED_L1_OFF, 2, 6, 16);
  put_rgb(p, COL_LED_L1_ON, 20, 40, 63);
  put_rgb(p, COL_LED_L2_OFF, 12, 10, 0);
  put_rgb(p, COL_LED_L2_ON, 63, 58, 8);
  put_rgb(p, COL_LED_L3_OFF, 10, 10, 12);
  put_rgb(p, COL_LED_L3_ON, 63, 63, 63);
  // Multi-flags: cloth / highlight / pole, the same three levels.
  const int flags[3][3][3] = {{{4, 20, 56}, {30, 44, 63}, {12, 12, 14}},
                              {{60, 48, 0}, {63, 60, 30}, {12, 12, 14}},
                              {{56, 56, 58}, {63, 63, 63}, {12, 12, 14}}};
  for (int level = 0; level < 3; level++)
    for (int k = 0; k < 3; k++) put3(p, COL_MULTIFLAG1_FIRST + 3 * level + k, flags[level][k]);
  finish_palette(p);
}

// Violet twilight: lavender tiles, pale lilac revealed tiles.
void build_dusk(RGB* p) {
  static const Look look = {{{58, 54, 63}, {40, 35, 50}, {18, 13, 26}},
                            {{40, 34, 50}, {22, 17, 30}, {7, 4, 12}},
                            {{34, 28, 44}, {18, 13, 26}, {5, 3, 9}},
                            {8, 5, 14},
                            {12, 8, 20},
                            {58, 54, 63},
                            {36, 18, 44},
                            {63, 63, 63},
                            {{50, 47, 56}, {38, 34, 44}},
                            {16, 4, 30}};
  static const int numbers[16][3] = {
      {11, 16, 58}, {0, 30, 0},   {53, 0, 2},  {0, 9, 20},  {25, 0, 3},  {0, 26, 22},
      {0, 3, 2},    {24, 24, 23}, {23, 1, 29}, {39, 22, 2}, {28, 26, 0}, {48, 7, 38},
      {19, 13, 5},  {0, 28, 36},  {7, 14, 1},  {35, 22, 23}};
  apply_look(p, look, numbers);
  put_rgb(p, COL_LED_STD_OFF, 14, 4, 12);
  put_rgb(p, COL_LED_STD_ON, 63, 24, 40);
  finish_palette(p);
}

// Charcoal and embers: warm brown tiles, dark revealed tiles, bright numbers.
void build_ember(RGB* p) {
  static const Look look = {{{58, 46, 34}, {40, 30, 22}, {18, 11, 7}},
                            {{36, 26, 20}, {20, 13, 10}, {6, 3, 2}},
                            {{32, 22, 16}, {16, 10, 7}, {4, 2, 1}},
                            {6, 3, 2},
                            {12, 7, 5},
                            {63, 54, 42},
                            {44, 16, 4},
                            {63, 63, 50},
                            {{13, 10, 9}, {6, 4, 3}},
                            {63, 56, 20}};
  // White stands for the usual black 7 and silver for the grey 8.
  static const int numbers[16][3] = {
      {17, 41, 63}, {14, 46, 14}, {55, 18, 22}, {32, 30, 53}, {55, 35, 24}, {6, 52, 45},
      {63, 63, 62}, {40, 38, 40}, {57, 41, 63}, {62, 44, 0},  {63, 61, 8},  {53, 15, 47},
      {44, 43, 31}, {18, 55, 63}, {49, 63, 44}, {63, 41, 44}};
  apply_look(p, look, numbers);
  finish_palette(p);
}

// Deep water: teal-blue tiles, pale aqua revealed tiles.
void build_sea(RGB* p) {
  static const Look look = {{{44, 58, 63}, {22, 40, 48}, {6, 18, 26}},
                            {{24, 40, 50}, {8, 20, 30}, {1, 6, 12}},
                            {{20, 36, 46}, {6, 16, 24}, {0, 4, 8}},
                            {1, 6, 12},
                            {3, 10, 18},
                            {52, 60, 63},
                            {4, 30, 40},
                            {63, 63, 63},
                            {{50, 58, 58}, {36, 46, 48}},
                            {63, 58, 30}};
  static const int numbers[16][3] = {
      {11, 17, 60}, {0, 37, 8},   {63, 6, 11}, {0, 10, 20}, {23, 3, 0},  {6, 34, 32},
      {2, 2, 0},    {30, 28, 28}, {24, 0, 28}, {48, 26, 1}, {35, 32, 0}, {53, 11, 55},
      {20, 15, 0},  {1, 33, 48},  {4, 19, 11}, {42, 12, 22}};
  apply_look(p, look, numbers);
  finish_palette(p);
}

// Paper on a walnut desk: tan tiles, cream revealed tiles.
void build_parchment(RGB* p) {
  static const Look look = {{{63, 58, 46}, {48, 40, 28}, {26, 18, 10}},
                            {{46, 38, 26}, {32, 24, 14}, {14, 9, 4}},
                            {{44, 36, 24}, {28, 20, 12}, {10, 6, 2}},
                            {26, 18, 10},
                            {34, 26, 16},
                            {63, 60, 50},
                            {50, 30, 10},
                            {63, 63, 56},
                            {{60, 57, 48}, {46, 42, 34}},
                            {30, 8, 4}};
  static const int numbers[16][3] = {
      {11, 18, 60}, {0, 37, 5},   {63, 8, 11}, {0, 10, 20}, {24, 3, 0},  {7, 36, 33},
      {1, 2, 0},    {32, 29, 29}, {25, 0, 29}, {48, 26, 1}, {33, 30, 0}, {50, 17, 52},
      {19, 14, 0},  {2, 34, 48},  {4, 20, 12}, {45, 2, 20}};
  apply_look(p, look, numbers);
  finish_palette(p);
}

}  // namespace

const ShippedPalette SHIPPED_PALETTES[SHIPPED_PALETTE_COUNT] = {
    {"Color Safe.FCL", NUMBER_MIN_CONTRAST, true, build_colour_safe},
    {"Dusk.FCL", NUMBER_MIN_CONTRAST, false, build_dusk},
    {"Ember.FCL", NUMBER_MIN_CONTRAST, false, build_ember},
    {"High Contrast.FCL", 4.5, false, build_high_contrast},
    {"Parchment.FCL", NUMBER_MIN_CONTRAST, false, build_parchment},
    {"Sea.FCL", NUMBER_MIN_CONTRAST, false, build_sea},
};

void palette_file_bytes(const RGB* pal, unsigned char out[1024]) {
  for (int i = 0; i < PAL_SIZE; i++) {
    out[4 * i] = pal[i].r;
    out[4 * i + 1] = pal[i].g;
    out[4 * i + 2] = pal[i].b;
    out[4 * i + 3] = 0;
  }
}
