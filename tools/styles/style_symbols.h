// Whether the symbols the game draws in a cell's symbol box (numbers, mines,
// flags, '?') stay inside the cell, checked on the real symbol pictures of
// the main graphics datafile.
#pragma once

#include <allegro.h>

#include <string>
#include <vector>

#include "styles/style_geometry.h"

namespace styles {

// The pictures the game draws at a symbol box (8-bit, index 0 transparent,
// as draw_sprite draws them). Borrowed: whoever fills this owns them.
struct SymbolPictures {
  struct Named {
    std::string name;
    BITMAP* bitmap = nullptr;
  };
  std::vector<Named> numbers;  // numbers[n - 1]: the glyph of clue n, n = 1..64
  std::vector<Named> others;   // drawn on any cell: the mines, the flags, '?'
};

// The symbols of a loaded main graphics datafile ("fgridgx.dat"). Returns
// "" or a message naming the first object that is missing or no bitmap.
std::string symbols_from_datafile(DATAFILE* dat, SymbolPictures* out);

// The largest number a cell with this many neighbours can show: a count of
// mines around it is at most its neighbours (three per neighbour in
// Multi-Mine, the sum of the levels), and a MegaMine distance can be any
// number, so every glyph up to the last one (64) can be drawn on any cell.
int largest_clue_shown(int neighbours);

// The containment rule. A symbol drawn at a shape's symbol box stays inside
// the cell when every opaque pixel of the symbol (any index but 0) lands on
// a pixel of the cell's picture that is either
//   - opaque in the tile's mask (the hidden, revealed and exploded pictures
//     share it), its light and dark edge included, or
//   - the tile's own edge beyond its rim: a pixel whose centre lies inside
//     or on the cell's outline, i.e. the cell's own half of the grout
//     (GROUT_HALF pixels wide) round its tile.
// Any pixel whose centre lies outside the outline (the neighbours' half of
// the grout, their tiles, the board picture) breaks the rule.
// Returns true when some pixel breaks it, with that pixel's place in the
// symbol picture in *sx, *sy.
bool symbol_leaves_cell(const ShapeDef& shape, const std::vector<uint8_t>& mask, BITMAP* symbol, int* sx, int* sy);

// Every cell of a pattern with every symbol it can show: the numbers 1 to
// largest_clue_shown(its outline neighbours) and all the others. Returns ""
// when all stay inside, else a message naming the style, the pattern, the
// cell, its shape, the symbol and the first pixel outside. Adds the cells
// checked to *cells_checked when given.
std::string check_symbol_containment(const StyleDef& style, const PatternDef& pattern, const SymbolPictures& symbols,
                                     long* cells_checked);

}  // namespace styles
