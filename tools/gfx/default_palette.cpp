// The default game palette (object 29): a dark slate background and windows,
// light bevelled tiles, pale flat revealed tiles with well-separated number
// hues and red LEDs. Every role owns the indexes the palette entry table
// gives it; the derived indexes are computed from the keys exactly as the
// game's palette editor does.
#include "gfx/gfx.h"
#include "palettes/palette_keys.h"

void build_default_palette(GfxSet& set) {
  PALETTE& p = set.pal;
  set_default_keys(p);
  finish_palette(p);
  gfx_set_palette(set, OBJ_DEFAULT_PALETTE, p);
}
