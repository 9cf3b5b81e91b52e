// Placeholder, replaced by the real builder.
#include "gfx/gfx.h"

void build_title_pieces(GfxSet& set) { (void)set; }
