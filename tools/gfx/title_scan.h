// The scan the title sequence runs over the logo (object 109) to find the
// points it builds the logo from, dot by dot: for x = 0, 4, ... 352 and
// y = 6, 10, ... 42, the point (x, y) is taken when the logo's pixel p there
// is 0 or 20 and p plus the pixels at (x+2, y), (x, y+2) and (x+2, y+2) is
// not 0. The logo is drawn so that this finds exactly TITLE_SCAN_POINTS.
#pragma once

#include <allegro.h>

#include <utility>
#include <vector>

enum { TITLE_SCAN_POINTS = 398 };

inline std::vector<std::pair<int, int>> title_scan_points(BITMAP* logo) {
  std::vector<std::pair<int, int>> points;
  auto pixel = [logo](int x, int y) {
    return (x < logo->w && y < logo->h) ? getpixel(logo, x, y) : 0;
  };
  for (int x = 0; x <= 352; x += 4)
    for (int y = 6; y <= 42; y += 4) {
      int p = pixel(x, y);
      if ((p == 0 || p == 20) && p + pixel(x + 2, y) + pixel(x, y + 2) + pixel(x + 2, y + 2) != 0)
        points.emplace_back(x, y);
    }
  return points;
}
