// The game's icon: a raised hexagon tile with a red flag on it. The
// picture is described on a 32 x 32 grid; the window icon is that grid
// drawn one ink a pixel, and the desktop icons draw it again at their own
// sizes.
#pragma once

const int ICON_GRID = 32;

struct IconInk {
  char key;
  int r, g, b;
};

// The fifteen inks of the icon; the key ' ' (not in the list) is transparent.
extern const IconInk ICON_INKS[];
extern const int ICON_INK_COUNT;

// The ink with that key, or nullptr for ' ' and unknown keys.
const IconInk* icon_ink_of(char key);

// Ink at a point of the 32 x 32 grid (fractions allowed); ' ' where the
// picture is transparent.
char icon_ink(float x, float y);

// One pixel of the 32 x 32 picture: the ink most of its 4 x 4 samples fall on.
char icon_pixel(int px, int py);
