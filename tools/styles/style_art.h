// Pictures of the board styles: the three pictures of each cell shape and
// the board picture of each pattern, as 8-bit Allegro bitmaps in the
// palette indexes of their roles.
#pragma once

#include <allegro.h>

#include "styles/style_geometry.h"

namespace styles {

// Hidden cell: a raised tile in the Minefield indexes 1..5 (light edge on
// the upper-left sides, face 3, dark edge on the lower-right sides). Its
// opaque pixels are exactly the shape's hit mask.
BITMAP* draw_hidden_tile(const ShapeDef& shape);
// Revealed cell: flat and slightly sunken, in 98 (face) and 99 (edge).
BITMAP* draw_revealed_tile(const ShapeDef& shape);
// Exploded cell: scorched, in 100 and 101 with embers of the explosion ramp.
BITMAP* draw_exploded_tile(const ShapeDef& shape, unsigned seed);
// Board picture of a pattern: a tray under the tiles (its grout) with a
// rim round their outline, in the background, window and status indexes;
// 0 (transparent) outside the tray.
BITMAP* draw_board_picture(const StyleDef& style, const PatternDef& pattern);

}  // namespace styles
