// Placeholder, replaced by the real builder.
#include "gfx/gfx.h"

void build_ui_pieces(GfxSet& set) { (void)set; }
