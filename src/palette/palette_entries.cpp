#include "palette/palette_entries.h"

#include <cmath>

const PaletteEntry PALETTE_ENTRIES[PALETTE_ENTRY_COUNT] = {
    {"Background", 1, {88}, false},
    {"Exploded Tiles", 2, {100, 101}, false},
    {"Explosions", 3, {113, 119, 127}, true},
    {"LED - Standard", 2, {80, 81}, false},
    {"LED - Level 1 Mines", 2, {84, 85}, false},
    {"LED - Level 2 Mines", 2, {82, 83}, false},
    {"LED - Level 3 Mines", 2, {93, 94}, false},
    {"Menu Background", 1, {89}, false},
    {"Menu Font", 1, {90}, false},
    {"Menu Selected BG", 1, {91}, false},
    {"Menu Selected Font", 1, {92}, false},
    {"Menus & Windows", 3, {6, 8, 10}, true},
    {"Minefield", 3, {1, 3, 5}, true},
    {"Mines (Regular & Level 1)", 3, {32, 40, 47}, true},
    {"Mines (Level 2)", 3, {48, 56, 63}, true},
    {"Mines (Level 3)", 3, {64, 72, 79}, true},
    {"Mouse Cursor", 2, {95, 111}, false},
    {"Multi-Flags Level 1", 3, {102, 103, 104}, false},
    {"Multi-Flags Level 2", 3, {105, 106, 107}, false},
    {"Multi-Flags Level 3", 3, {108, 109, 110}, false},
    {"Number 1", 1, {16}, false},
    {"Number 2", 1, {17}, false},
    {"Number 3", 1, {18}, false},
    {"Number 4", 1, {19}, false},
    {"Number 5", 1, {20}, false},
    {"Number 6", 1, {21}, false},
    {"Number 7", 1, {22}, false},
    {"Number 8", 1, {23}, false},
    {"Number 9", 1, {24}, false},
    {"Number 10", 1, {25}, false},
    {"Number 11", 1, {26}, false},
    {"Number 12", 1, {27}, false},
    {"Number 13", 1, {28}, false},
    {"Number 14", 1, {29}, false},
    {"Number 15", 1, {30}, false},
    {"Number 16+", 1, {31}, false},
    {"Regular Flags", 2, {96, 97}, false},
    {"Revealed Tiles", 2, {98, 99}, false},
    {"Smiley", 2, {86, 87}, false},
    {"Status Bars", 3, {11, 13, 15}, true},
    {"'?' Marks", 1, {112}, false},
};

namespace {
int blend_component(int a, int b, float percent) {
  const double f = static_cast<double>(0.01f);  // deliberately the float value of 0.01
  double d = static_cast<double>(a - b) * static_cast<double>(percent);
  return static_cast<int>(std::trunc(static_cast<double>(a) - d * f));
}
}  // namespace

void blend_rgb(const RGB& a, const RGB& b, RGB& out, float percent) {
  out.r = static_cast<unsigned char>(blend_component(a.r, b.r, percent));
  out.g = static_cast<unsigned char>(blend_component(a.g, b.g, percent));
  out.b = static_cast<unsigned char>(blend_component(a.b, b.b, percent));
}

void derive_entry_colours(int entry, RGB* palette) {
  if (entry < 0 || entry >= PALETTE_ENTRY_COUNT) return;
  const PaletteEntry& e = PALETTE_ENTRIES[entry];
  if (!e.gradient) return;
  for (int seg = 0; seg + 1 < e.key_count; seg++) {
    int i = e.keys[seg], j = e.keys[seg + 1], n = j - i;
    for (int k = 1; k < n; k++) {
      float p = static_cast<float>(100.0 * k / n);
      blend_rgb(palette[i], palette[j], palette[i + k], p);
    }
  }
}

void derive_number_shades(RGB* palette) {
  static const float steps[4] = {100.0f, 75.0f, 50.0f, 25.0f};
  for (int k = 0; k < 16; k++)
    for (int s = 0; s < 4; s++)
      blend_rgb(palette[16 + k], palette[255], palette[128 + 4 * k + s], steps[s]);
}
