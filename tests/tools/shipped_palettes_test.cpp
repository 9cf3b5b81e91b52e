// The palettes the game ships: every file loads through the game's reader
// and is offered by the chooser's listing, is complete and derived with the
// game's own code, and its numbers read on the revealed tiles (contrast and
// colour differences, for the colour-blind palette also as seen with
// protanopia and deuteranopia). The default palette is held to the same.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/preview.h"
#include "palette/palette_entries.h"
#include "palette/palette_files.h"
#include "palettes/colour_measures.h"
#include "palettes/palette_keys.h"
#include "palettes/shipped_palettes.h"
#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "screens/palette_chooser.h"

namespace {

struct Case {
  std::string name;
  std::vector<RGB> pal;
  double min_contrast;
  bool for_colour_blindness;
};

// The default palette from the main datafile and every shipped file as the
// game reads it.
std::vector<Case> all_palettes() {
  std::vector<Case> cases;
  const RGB* def = static_cast<const RGB*>(MainDatafile[OBJ_DEFAULT_PALETTE].dat);
  cases.push_back({"- Default -", std::vector<RGB>(def, def + PAL_SIZE), NUMBER_MIN_CONTRAST, false});
  for (const ShippedPalette& s : SHIPPED_PALETTES) {
    std::vector<RGB> pal(PAL_SIZE);
    EXPECT_EQ(read_palette_file(s.file_name, pal.data()), 1) << s.file_name;
    cases.push_back({s.file_name, pal, s.min_contrast, s.for_colour_blindness});
  }
  return cases;
}

bool same_colours(const RGB* a, const RGB* b) {
  for (int i = 0; i < PAL_SIZE; i++)
    if (a[i].r != b[i].r || a[i].g != b[i].g || a[i].b != b[i].b) return false;
  return true;
}

}  // namespace

TEST(ShippedPalettes, MeasuresAgreeWithPublishedValues) {
  const RGB black = {0, 0, 0, 0}, white = {63, 63, 63, 0};
  EXPECT_NEAR(contrast_ratio(black, white), 21.0, 1e-9);
  EXPECT_NEAR(contrast_ratio(white, white), 1.0, 1e-9);
  // CIEDE2000 test pairs published with the formula (1, 7, 17 and 25).
  const struct {
    Lab x, y;
    double delta_e;
  } pairs[] = {{{50, 2.6772, -79.7751}, {50, 0, -82.7485}, 2.0425},
               {{50, 0, 0}, {50, -1, 2}, 2.3669},
               {{50, 2.5, 0}, {73, 25, -18}, 27.1492},
               {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644}};
  for (const auto& p : pairs) {
    EXPECT_NEAR(delta_e_2000(p.x, p.y), p.delta_e, 1e-4);
    EXPECT_NEAR(delta_e_2000(p.y, p.x), p.delta_e, 1e-4);
  }
  // Without red-green vision, an orange and an olive of one lightness fall
  // together while blue and yellow stay apart.
  const RGB orange = {48, 26, 1, 0}, olive = {33, 30, 0, 0}, blue = {0, 0, 63, 0}, yellow = {63, 63, 0, 0};
  EXPECT_GT(delta_e_2000(to_lab(orange), to_lab(olive)), 15);
  for (Vision v : {PROTANOPIA, DEUTERANOPIA}) {
    EXPECT_LT(delta_e_2000(to_lab(orange, v), to_lab(olive, v)), 8) << v;
    EXPECT_GT(delta_e_2000(to_lab(blue, v), to_lab(yellow, v)), 50) << v;
  }
}

TEST(ShippedPalettes, EveryFileLoadsIsListedAndIsComplete) {
  const std::vector<std::string> listed = list_palette_files(PALETTE_LIST_MAX - 1);
  for (const ShippedPalette& s : SHIPPED_PALETTES) {
    SCOPED_TRACE(s.file_name);
    EXPECT_EQ(is_palette_file_name(s.file_name), 1);
    EXPECT_NE(std::find(listed.begin(), listed.end(), s.file_name), listed.end());
    PALETTE read;
    ASSERT_EQ(read_palette_file(s.file_name, read), 1);
    PALETTE built;
    s.build(built);
    EXPECT_TRUE(same_colours(read, built)) << "the file is not what the generator builds";
    for (int i = 0; i < PAL_SIZE; i++) EXPECT_LE(std::max({read[i].r, read[i].g, read[i].b}), 63) << i;
    // Gradients and number shades are the game's derivation of the keys.
    PALETTE derived;
    std::memcpy(derived, read, sizeof derived);
    finish_palette(derived);
    EXPECT_TRUE(same_colours(read, derived));
    EXPECT_EQ(read[COL_BRIGHT].r + read[COL_BRIGHT].g + read[COL_BRIGHT].b, 3 * 63) << "the flash shades need a white 255";
  }
  // The palettes differ from each other and from the default.
  std::vector<Case> cases = all_palettes();
  for (size_t i = 0; i < cases.size(); i++)
    for (size_t j = i + 1; j < cases.size(); j++)
      EXPECT_FALSE(same_colours(cases[i].pal.data(), cases[j].pal.data())) << cases[i].name << " " << cases[j].name;
}

// One row per palette: the worst contrast of a number against the revealed
// face, and the smallest CIEDE2000 difference between two numbers, as seen
// with normal vision and, for the colour-blind palette, with protanopia and
// deuteranopia.
TEST(ShippedPalettes, NumbersReadOnRevealedTiles) {
  for (const Case& c : all_palettes()) {
    SCOPED_TRACE(c.name);
    const NumberFigures normal = number_figures(c.pal.data());
    EXPECT_GE(normal.worst_contrast, c.min_contrast) << "number " << normal.worst_contrast_number;
    EXPECT_GE(normal.smallest_delta_e, NUMBER_MIN_DELTA_E)
        << "numbers " << normal.close_pair[0] << " and " << normal.close_pair[1];
    std::printf("%-18s contrast %5.2f (%2d)  dE00 %5.1f (%d,%d)", c.name.c_str(), normal.worst_contrast,
                normal.worst_contrast_number, normal.smallest_delta_e, normal.close_pair[0], normal.close_pair[1]);
    for (Vision v : {PROTANOPIA, DEUTERANOPIA}) {
      const NumberFigures seen = number_figures(c.pal.data(), v);
      std::printf("  %s %5.1f (%d,%d)", v == PROTANOPIA ? "protan" : "deutan", seen.smallest_delta_e,
                  seen.close_pair[0], seen.close_pair[1]);
      if (c.for_colour_blindness) {
        EXPECT_GE(seen.smallest_delta_e, DICHROMAT_MIN_DELTA_E)
            << v << ": numbers " << seen.close_pair[0] << " and " << seen.close_pair[1];
      }
    }
    std::printf("\n");
  }
}

// A board-like sample in every palette: revealed tiles with the numbers 1
// to 16 in the game's glyphs, hidden tiles with a flag and a '?', a mine
// and an exploded tile. Every glyph pixel shows its number's colour. With
// FG_PREVIEW_DIR set, each sample is saved there (three times enlarged).
TEST(ShippedPalettes, NumberGlyphsOnTilesInEveryPalette) {
  enum { CELL = 22, COLS = 8, MARGIN = 6 };
  BITMAP* b = create_bitmap_ex(8, 2 * MARGIN + COLS * CELL, 2 * MARGIN + 3 * CELL);
  clear_to_color(b, COL_BACKGROUND);
  auto tile = [&](int col, int row, bool revealed) {
    const int x = MARGIN + col * CELL + 1, y = MARGIN + row * CELL + 1, s = CELL - 2;
    if (revealed) {
      rectfill(b, x, y, x + s - 1, y + s - 1, COL_REVEALED_B);
      rectfill(b, x + 2, y + 2, x + s - 2, y + s - 2, COL_REVEALED_A);
    } else {
      rectfill(b, x, y, x + s - 1, y + s - 1, COL_MINEFIELD_DARK);
      rectfill(b, x, y, x + s - 3, y + s - 3, COL_MINEFIELD_LIGHT);
      rectfill(b, x + 2, y + 2, x + s - 3, y + s - 3, COL_MINEFIELD_FACE);
    }
    return std::pair<int, int>(x + (s - 16) / 2, y + (s - 16) / 2);
  };
  auto glyph = [&](int object, std::pair<int, int> at) {
    draw_sprite(b, static_cast<BITMAP*>(MainDatafile[object].dat), at.first, at.second);
  };
  for (int n = 1; n <= 16; n++) {
    const auto at = tile((n - 1) % COLS, (n - 1) / COLS, true);
    glyph(OBJ_NUMBER_BASE + n, at);
    int inked = 0;
    for (int y = 0; y < 16; y++)
      for (int x = 0; x < 16; x++) {
        const int c = getpixel(b, at.first + x, at.second + y);
        if (c == COL_REVEALED_A || c == COL_REVEALED_B) continue;
        EXPECT_EQ(c, COL_NUMBER_FIRST + n - 1) << "number " << n;
        inked++;
      }
    EXPECT_GT(inked, 20) << "number " << n;
  }
  glyph(OBJ_FLAG, tile(0, 2, false));
  glyph(OBJ_QUESTION, tile(1, 2, false));
  tile(2, 2, false);
  glyph(OBJ_MINE_LEVEL1, tile(3, 2, true));
  tile(4, 2, true);
  tile(5, 2, false);
  glyph(OBJ_NUMBER_BASE + 1, tile(6, 2, true));
  tile(7, 2, false);

  if (const char* dir = std::getenv("FG_PREVIEW_DIR")) {
    BITMAP* big = create_bitmap_ex(8, 3 * b->w, 3 * b->h);
    stretch_blit(b, big, 0, 0, b->w, b->h, 0, 0, big->w, big->h);
    for (const Case& c : all_palettes()) {
      std::string file = c.name == "- Default -" ? "Default" : c.name.substr(0, c.name.size() - 4);
      std::replace(file.begin(), file.end(), ' ', '_');
      const std::string path = std::string(dir) + "/" + file + ".png";
      EXPECT_TRUE(save_png(path.c_str(), big, c.pal.data())) << path;
    }
    destroy_bitmap(big);
  }
  destroy_bitmap(b);
}
