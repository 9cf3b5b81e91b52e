// The game's icon: a raised hexagon tile with a red flag on it. The
// picture is described on a 32 x 32 grid as a stack of filled polygons;
// the window icon is that grid drawn one ink a pixel, the desktop icons
// draw it again at their own sizes, and the scalable icon writes the
// polygons themselves.
#pragma once

#include <vector>

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

struct IconPoint {
  float x, y;
};

// One polygon of the picture, in grid units, filled with one ink. The
// polygons are simple (no side crosses another) and their curved edges
// are already cut into short straight ones.
struct IconShape {
  char ink;
  std::vector<IconPoint> points;
  float min_x, min_y, max_x, max_y;  // bounding box
};

// The whole picture, back to front: each shape covers those before it.
// Where two inks meet, the one in front reaches over the one behind
// rather than butting against it, so that smoothed edges never let the
// background through a seam.
const std::vector<IconShape>& icon_shapes();

// Ink at a point of the 32 x 32 grid (fractions allowed): that of the
// frontmost shape holding the point, or ' ' where the picture is transparent.
char icon_ink(float x, float y);

// One pixel of the 32 x 32 picture: the ink most of its 4 x 4 samples fall on.
char icon_pixel(int px, int py);
