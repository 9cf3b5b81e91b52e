// The palettes the game ships in its folder "Colors", each a complete
// 256-colour palette file, and how well their numbers must read.
#pragma once

#include <allegro.h>

// Every number 1..16 stands out from the revealed tile's face by at least
// this WCAG contrast ratio (3:1, the level for large or bold text and for
// graphical symbols); the high-contrast palette asks 4.5:1.
constexpr double NUMBER_MIN_CONTRAST = 3.0;
// Every two numbers differ by at least this CIEDE2000 difference. A
// difference of 1 to 2 is the smallest one seen side by side on large
// patches; numbers are small glyphs seen one at a time beside each other on
// the board, so they must be told apart by name, not just by comparison.
// 15 keeps even neighbouring hues (red and orange, blue and azure) or
// lightnesses (black and navy) clearly apart.
constexpr double NUMBER_MIN_DELTA_E = 15.0;
// The colour-blind palette keeps every two numbers at least this far apart
// also as seen with protanopia and deuteranopia (full dichromacy), where
// the red-green axis is lost and only lightness and blue-yellow are left.
constexpr double DICHROMAT_MIN_DELTA_E = 10.0;

struct ShippedPalette {
  const char* file_name;    // in "Colors"
  double min_contrast;      // of every number against the revealed face
  bool for_colour_blindness;  // held to DICHROMAT_MIN_DELTA_E as well
  void (*build)(RGB* pal);  // fills all 256 entries
};

enum { SHIPPED_PALETTE_COUNT = 6 };
extern const ShippedPalette SHIPPED_PALETTES[SHIPPED_PALETTE_COUNT];

// The file's 1024 bytes: r, g, b and a zero filler byte per entry.
void palette_file_bytes(const RGB* pal, unsigned char out[1024]);
