// Placeholder, replaced by the real icon.
#include "gfx/gfx.h"

std::string build_window_icon_source(const GfxSet&) {
  std::string s = "static const char *icon_xpm[] = {\"32 32 2 1\", \"  c None\", \". c #FF0000\",\n";
  for (int y = 0; y < 32; y++) s += "\"................................\",\n";
  s += "};\nchar **allegro_icon = (char **)icon_xpm;\n";
  return s;
}
