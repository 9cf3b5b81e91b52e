// The style generator's check that the symbols drawn in a cell's symbol box
// stay inside the cell: the rule on single pixels, a tiny pattern that fails
// and one that passes, and the real symbols of the main graphics datafile
// on the shipped styles and on a triangle too small for them.
#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/lifecycle.h"
#include "styles/style_symbols.h"

namespace {

using styles::Poly;
using styles::ShapeDef;

// A 16 x 16 symbol picture: 0 everywhere, colour 7 on the given pixels.
struct Picture {
  BITMAP* b;
  explicit Picture(const std::vector<std::pair<int, int>>& pixels) : b(create_bitmap_ex(8, 16, 16)) {
    clear_to_color(b, 0);
    for (const auto& p : pixels) putpixel(b, p.first, p.second, 7);
  }
  ~Picture() { destroy_bitmap(b); }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
};

ShapeDef shape(Poly outline, int pic_w, int pic_h, int symbol_x, int symbol_y) {
  ShapeDef s;
  s.outline = std::move(outline);
  s.pic_w = pic_w;
  s.pic_h = pic_h;
  s.grid_w = pic_w / 8 + 2;
  s.grid_h = pic_h / 8 + 2;
  s.symbol_x = symbol_x;
  s.symbol_y = symbol_y;
  return s;
}

}  // namespace

// One opaque pixel at a time: on the tile, on the cell's own half of the
// grout (centre inside the outline, no tile pixel), and just beyond.
TEST(StyleSymbols, APixelStaysWhereItsCentreIsInsideTheOutline) {
  const Poly square{{0, 0}, {16, 0}, {16, 16}, {0, 16}};
  // Up-triangle 24 wide and high: its left edge runs from (12, 0) to (0, 24),
  // so at pixel row 1 (centre 1.5) it lies at x = 11.25.
  const Poly triangle{{0, 24}, {12, 0}, {24, 24}};
  const struct {
    const char* what;
    ShapeDef s;
    int x, y;  // the opaque pixel in the symbol
    bool leaves;
  } cases[] = {
      {"middle of the tile", shape(square, 16, 16, 0, 0), 8, 8, false},
      {"own grout at the left edge", shape(square, 16, 16, 0, 0), 0, 8, false},
      {"own grout in the corner", shape(square, 16, 16, 0, 0), 15, 15, false},
      {"beyond the picture", shape(square, 16, 16, 1, 0), 15, 8, true},
      {"above the picture", shape(square, 16, 16, 0, -1), 8, 0, true},
      {"triangle: centre right of the slanted edge", shape(triangle, 24, 24, 0, 0), 11, 1, false},
      {"triangle: centre left of the slanted edge", shape(triangle, 24, 24, 0, 0), 10, 1, true},
      {"triangle: on the base row", shape(triangle, 24, 24, 4, 8), 8, 15, false},
      {"triangle: below the base", shape(triangle, 24, 24, 4, 9), 8, 15, true},
  };
  for (const auto& c : cases) {
    const Picture sym({{c.x, c.y}});
    const auto mask = styles::tile_mask(c.s);
    int sx = -1, sy = -1;
    EXPECT_EQ(styles::symbol_leaves_cell(c.s, mask, sym.b, &sx, &sy), c.leaves) << c.what;
    if (c.leaves) {
      EXPECT_EQ(sx, c.x) << c.what;
      EXPECT_EQ(sy, c.y) << c.what;
    }
  }
}

// A pattern of two 24-pixel squares with a 16 x 16 block as its only
// symbol besides a small number: inside when the box is centred, out by a
// pixel column when the box moves five pixels right; a big clue that only
// MegaMine distances reach is judged on a cell with one neighbour too.
TEST(StyleSymbols, PatternCheckNamesStylePatternShapeAndSymbol) {
  std::vector<std::pair<int, int>> all;
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 16; x++) all.push_back({x, y});
  const Picture block(all);
  const Picture small({{7, 7}, {8, 8}});
  const Picture wide({{0, 8}, {15, 8}});

  styles::StyleDef st;
  st.name = "Tiny";
  st.shapes.push_back(shape({{0, 0}, {24, 0}, {24, 24}, {0, 24}}, 24, 24, 4, 4));
  styles::PatternDef pat;
  pat.name = "Pair";
  for (int k = 0; k < 2; k++) {
    styles::CellDef c;
    c.shape = 0;
    c.bx = 3 * k;
    c.outline = {{24 * k, 0}, {24 * k + 24, 0}, {24 * k + 24, 24}, {24 * k, 24}};
    pat.cells.push_back(c);
  }
  styles::SymbolPictures syms;
  syms.others.push_back({"block", block.b});
  syms.numbers.push_back({"number 1", small.b});

  long checked = 0;
  EXPECT_EQ(styles::check_symbol_containment(st, pat, syms, &checked), "");
  EXPECT_EQ(checked, 2);

  st.shapes[0].symbol_x = 9;  // the block's right column lands on x = 24.5
  const std::string err = styles::check_symbol_containment(st, pat, syms, nullptr);
  EXPECT_NE(err.find("Tiny / Pair"), std::string::npos) << err;
  EXPECT_NE(err.find("shape 0"), std::string::npos) << err;
  EXPECT_NE(err.find("block"), std::string::npos) << err;
  EXPECT_NE(err.find("pixel 15,"), std::string::npos) << err;

  // Each cell has one neighbour, and still the glyph of clue 40 is judged.
  while (syms.numbers.size() < 40) syms.numbers.push_back({"number", small.b});
  syms.numbers[39] = {"number 40", wide.b};
  st.shapes[0].symbol_x = 13;  // the wide glyph's right pixel: x = 28 in a 24-wide picture
  syms.others.clear();
  const std::string far = styles::check_symbol_containment(st, pat, syms, nullptr);
  EXPECT_NE(far.find("number 40"), std::string::npos) << far;
}

// The real symbols: every shipped style keeps them inside every cell, and
// the triangles Hexagons & Triangles had before (24 wide, 20 high, box on
// the centroid) were too small for the mine.
TEST(StyleSymbols, RealSymbolsFitTheShippedStylesAndNotASmallTriangle) {
  styles::SymbolPictures syms;
  ASSERT_EQ(styles::symbols_from_datafile(MainDatafile, &syms), "");
  ASSERT_EQ(syms.numbers.size(), 64u);
  ASSERT_EQ(syms.others.size(), 8u);

  long checked = 0, cells = 0;
  for (const auto& st : styles::build_styles())
    for (const auto& pat : st.patterns) {
      EXPECT_EQ(styles::check_symbol_containment(st, pat, syms, &checked), "");
      cells += static_cast<long>(pat.cells.size());
    }
  EXPECT_EQ(checked, cells);

  const ShapeDef small = shape({{0, 20}, {12, 0}, {24, 20}}, 24, 24, 4, 5);
  const auto mask = styles::tile_mask(small);
  int sx, sy;
  EXPECT_TRUE(styles::symbol_leaves_cell(small, mask, syms.others[0].bitmap, &sx, &sy));
  EXPECT_EQ(syms.others[0].name, "mine");
}
