// How well the number colours of a palette read: WCAG contrast against the
// revealed tile's face, CIEDE2000 colour differences between numbers, and
// the same differences as seen with protanopia or deuteranopia.
//
// Palette components (0..63) are taken as sRGB values c / 63. Dichromacy is
// simulated with the severity-1.0 matrices of Machado, Oliveira and
// Fernandes (2009), applied to linear RGB and clipped to the gamut.
#pragma once

#include <allegro.h>

struct Lab {
  double l, a, b;
};

enum Vision { NORMAL_VISION, PROTANOPIA, DEUTERANOPIA };

// WCAG relative luminance, 0 (black) .. 1 (white).
double relative_luminance(const RGB& c);
// (L1 + 0.05) / (L2 + 0.05) with L1 the lighter: 1 .. 21.
double contrast_ratio(const RGB& x, const RGB& y);
// CIELAB under D65 of the colour as seen with the given vision.
Lab to_lab(const RGB& c, Vision vision = NORMAL_VISION);
// The CIEDE2000 colour difference (kL = kC = kH = 1).
double delta_e_2000(const Lab& x, const Lab& y);

// The readability figures of the numbers 1..16 (indexes 16..31) of a palette.
struct NumberFigures {
  double worst_contrast;  // against the revealed face (index 98)
  int worst_contrast_number;
  double smallest_delta_e;  // over the 120 pairs of numbers
  int close_pair[2];
};
NumberFigures number_figures(const RGB* palette, Vision vision = NORMAL_VISION);
