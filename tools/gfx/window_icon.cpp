// The window icon: the icon picture (common/icon_art.h), 32 x 32
// pixels in 16 colours (one of them transparent), written as the C source
// of an XPM picture named allegro_icon, which the game library gives to
// the game's window.
#include <cstdio>
#include <string>

#include "common/icon_art.h"
#include "gfx/gfx.h"

std::string build_window_icon_source(const GfxSet&) {
  std::string s =
      "/* The window icon of the game, drawn by the graphics generator. */\n"
      "static const char *fg_icon_xpm[] = {\n";
  char line[64];
  std::snprintf(line, sizeof line, "\"%d %d %d 1\",\n", ICON_GRID, ICON_GRID, ICON_INK_COUNT + 1);
  s += line;
  s += "\"  c None\",\n";
  for (int i = 0; i < ICON_INK_COUNT; i++) {
    const IconInk& k = ICON_INKS[i];
    std::snprintf(line, sizeof line, "\"%c c #%02X%02X%02X\",\n", k.key, k.r, k.g, k.b);
    s += line;
  }
  for (int y = 0; y < ICON_GRID; y++) {
    s += '"';
    for (int x = 0; x < ICON_GRID; x++) s += icon_pixel(x, y);
    s += y + 1 < ICON_GRID ? "\",\n" : "\"\n";
  }
  s += "};\nchar **allegro_icon = (char **)fg_icon_xpm;\n";
  return s;
}
