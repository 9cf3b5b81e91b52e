// The shipped style datafiles against the generator that made them: every
// pattern loaded by the game must have exactly the neighbours its cell
// outlines give (a shared edge or corner point), and the game's hit test
// must find every tile pixel and nothing between the tiles.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "board/board_load.h"
#include "board/geometry.h"
#include "board/style_file.h"
#include "rules/board_state.h"
#include "styles/style_geometry.h"
#include "support/headless.h"

namespace {

const std::vector<styles::StyleDef>& generated_styles() {
  static const std::vector<styles::StyleDef> all = styles::build_styles();
  return all;
}

// Loads pattern q of a style (the file itself on q == 0, afterwards the
// loaded one again).
bool load_pattern(const styles::StyleDef& st, size_t q) {
  const std::string path = game_path(st.file_name.c_str());
  return load_board(path.c_str(), static_cast<int>(q), q == 0 ? 0 : 1) == 1;
}

}  // namespace

TEST(ShippedStyleGeometry, EveryGeneratedStyleIsShippedAndValid) {
  const auto& all = generated_styles();
  ASSERT_GE(all.size(), 8u);
  EXPECT_EQ(all[0].file_name, "fgboards.dat");
  bool full_board = false;
  for (const auto& st : all) {
    EXPECT_LE(st.file_name.size(), 15u) << st.file_name;  // the chooser keeps 15 characters
    EXPECT_GE(st.patterns.size(), 4u) << st.name;
    const std::string path = game_path(st.file_name.c_str());
    DATAFILE* dat = load_datafile(path.c_str());
    ASSERT_NE(dat, nullptr) << path;
    EXPECT_EQ(passes_signature(dat), 1) << path;
    EXPECT_EQ(validate_style(dat), 1) << path;
    size_t size = 0;
    const uint8_t* layout = style_layout(dat, &size);
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(read_u8(layout, 0x20), st.shapes.size()) << path;
    EXPECT_EQ(read_u8(layout, 0x21), st.patterns.size()) << path;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(layout)), st.name);
    unload_datafile(dat);
    for (const auto& p : st.patterns) full_board = full_board || p.cells.size() == MAX_CELLS;
  }
  EXPECT_TRUE(full_board) << "no pattern uses all 1280 cells";
}

TEST(ShippedStyleGeometry, GameNeighboursAreTheOutlineNeighbours) {
  init_game_session();
  std::unique_ptr<Board> scratch(new Board);
  long pairs = 0;
  for (const auto& st : generated_styles()) {
    for (size_t q = 0; q < st.patterns.size(); q++) {
      const styles::PatternDef& pat = st.patterns[q];
      ASSERT_TRUE(load_pattern(st, q)) << st.file_name << " pattern " << q;
      ASSERT_EQ(board.cell_count, static_cast<int>(pat.cells.size())) << pat.name;
      *scratch = board;
      EXPECT_LE(build_neighbours_for(*scratch, shape_info), MAX_NEIGHBOURS) << pat.name;
      const auto expected = styles::outline_neighbours(pat.cells);
      int wrong = 0;
      for (int i = 0; i < board.cell_count && wrong < 5; i++) {
        const Cell& c = board.cells[i];
        const styles::CellDef& d = pat.cells[static_cast<size_t>(i)];
        ASSERT_EQ(c.shape, d.shape) << pat.name << " cell " << i;
        ASSERT_EQ(c.block_x, d.bx) << pat.name << " cell " << i;
        ASSERT_EQ(c.block_y, d.by) << pat.name << " cell " << i;
        const std::vector<int> got(c.neighbours, c.neighbours + c.neighbour_count);
        if (got != expected[static_cast<size_t>(i)]) {
          wrong++;
          ADD_FAILURE() << st.name << " / " << pat.name << ": cell " << i << " has " << got.size()
                        << " neighbours, its outline touches " << expected[static_cast<size_t>(i)].size();
        }
        pairs += c.neighbour_count;
      }
    }
  }
  EXPECT_GT(pairs, 0);
}

TEST(ShippedStyleGeometry, HitTestFindsEveryTilePixelAndNothingBetween) {
  init_game_session();
  for (const auto& st : generated_styles()) {
    for (size_t q = 0; q < st.patterns.size(); q++) {
      const styles::PatternDef& pat = st.patterns[q];
      ASSERT_TRUE(load_pattern(st, q)) << st.file_name << " pattern " << q;
      const RLE_SPRITE* pic = board_picture(static_cast<int>(q));
      ASSERT_NE(pic, nullptr);
      ASSERT_EQ(pic->w, pat.width);
      ASSERT_EQ(pic->h, pat.height);
      int fullest = 0;
      for (const auto& bucket : hit_grid.buckets)
        fullest = std::max(fullest, static_cast<int>(std::count_if(bucket, bucket + HIT_SLOTS, [](int16_t s) { return s >= 0; })));
      EXPECT_LE(fullest, HIT_SLOTS);

      // Which cell's hidden picture is opaque at each pixel of the board.
      const int w = 8 * hit_grid.grid_columns, h = 8 * hit_grid.grid_rows;
      std::vector<int> owner(static_cast<size_t>(w * h), -1);
      int failures = 0;
      for (int i = 0; i < board.cell_count; i++) {
        const Cell& c = board.cells[i];
        BITMAP* hidden = hidden_picture(c.shape);
        ASSERT_NE(hidden, nullptr);
        for (int y = 0; y < hidden->h; y++)
          for (int x = 0; x < hidden->w; x++) {
            if (getpixel(hidden, x, y) == 0) continue;
            const int bx = c.x + x - board.origin_x, by = c.y + y - board.origin_y;
            if (bx >= w || by >= h) {
              if (failures++ < 5) ADD_FAILURE() << pat.name << ": cell " << i << " drawn outside the board rectangle";
              continue;
            }
            int& o = owner[static_cast<size_t>(by * w + bx)];
            if (o >= 0 && failures++ < 5) ADD_FAILURE() << pat.name << ": cells " << o << " and " << i << " share a pixel";
            o = i;
          }
      }
      for (int y = 0; y < h && failures < 5; y++)
        for (int x = 0; x < w; x++) {
          const int want = owner[static_cast<size_t>(y * w + x)];
          const int got = cell_at(board.origin_x + x, board.origin_y + y);
          if (got != want && failures++ < 5)
            ADD_FAILURE() << st.name << " / " << pat.name << ": pixel " << x << "," << y << " hits " << got << ", tile "
                          << want;
        }
    }
  }
}

// Each picture in its role's palette indexes: hidden tiles in the Minefield
// indexes, revealed in the Revealed Tiles pair, exploded in the Exploded
// Tiles pair and the explosion ramp, board pictures in the background,
// window and status indexes; the three pictures of a shape share one mask.
TEST(ShippedStyleGeometry, PicturesUseTheirRolesAndOneMask) {
  auto allowed_board = [](int c) { return c == 0 || c == 88 || (c >= 6 && c <= 15); };
  for (const auto& st : generated_styles()) {
    const std::string path = game_path(st.file_name.c_str());
    DATAFILE* dat = load_datafile(path.c_str());
    ASSERT_NE(dat, nullptr) << path;
    const int n = static_cast<int>(st.shapes.size()), p = static_cast<int>(st.patterns.size());
    for (int s = 0; s < n; s++) {
      BITMAP* hidden = static_cast<BITMAP*>(dat[1 + s].dat);
      BITMAP* revealed = static_cast<BITMAP*>(dat[1 + n + s].dat);
      BITMAP* exploded = static_cast<BITMAP*>(dat[1 + 2 * n + s].dat);
      ASSERT_EQ(hidden->w, st.shapes[static_cast<size_t>(s)].pic_w);
      ASSERT_EQ(revealed->w, hidden->w);
      ASSERT_EQ(exploded->h, hidden->h);
      int bad = 0;
      for (int y = 0; y < hidden->h; y++)
        for (int x = 0; x < hidden->w; x++) {
          const int a = getpixel(hidden, x, y), b = getpixel(revealed, x, y), c = getpixel(exploded, x, y);
          bad += a > 5;
          bad += b != 0 && b != 98 && b != 99;
          bad += c != 0 && c != 100 && c != 101 && (c < 113 || c > 127);
          bad += (a != 0) != (b != 0) || (a != 0) != (c != 0);
        }
      EXPECT_EQ(bad, 0) << st.file_name << " shape " << s;
    }
    for (int q = 0; q < p; q++) {
      const RLE_SPRITE* rle = static_cast<const RLE_SPRITE*>(dat[1 + 3 * n + q].dat);
      BITMAP* b = create_bitmap_ex(8, rle->w, rle->h);
      clear_to_color(b, 0);
      draw_rle_sprite(b, rle, 0, 0);
      int bad = 0, shown = 0;
      for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++) {
          bad += !allowed_board(getpixel(b, x, y));
          shown += getpixel(b, x, y) != 0;
        }
      EXPECT_EQ(bad, 0) << st.file_name << " board " << q;
      EXPECT_GT(shown, 0) << st.file_name << " board " << q;
      destroy_bitmap(b);
    }
    unload_datafile(dat);
  }
}
