// A small style loaded with the real board load for the drawing and effect
// tests: three shapes on one pattern.
//   shape 0: 4 x 4 blocks, a 16 x 16 tile whose top-left 8 x 8 quadrant is
//            transparent, symbol box at (4, 4); cells 0, 1, 2
//   shape 1: 3 x 3 blocks, a 2 x 2 body without reach (no code 2), so it
//            throws no shards; cell 3
//   shape 2: 4 x 4 blocks whose hidden picture is empty; cell 4
// Hidden pictures use colour 1, revealed 3, exploded 4, the board picture 7.
#pragma once

#include <allegro.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/settings.h"
#include "board/board_load.h"
#include "board/style_fixture.h"
#include "rules/board_state.h"

namespace render_test {

enum { HIDDEN_COLOUR = 1, REVEALED_COLOUR = 3, EXPLODED_COLOUR = 4, BOARD_COLOUR = 7 };

inline fixture::Style render_style() {
  fixture::Style st;
  fixture::Shape tile = fixture::square_shape();
  tile.symbol_x = tile.symbol_y = 4;
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 16; x++) tile.pixels[static_cast<size_t>(16 * y + x)] = (x < 8 && y < 8) ? 0 : 1;
  fixture::Shape small;
  small.w = small.h = 3;
  small.symbol_x = small.symbol_y = 0;
  small.codes.assign(36, 0);
  for (int y = 0; y < 2; y++)
    for (int x = 0; x < 2; x++)
      for (int k = 0; k < 4; k++) small.codes[static_cast<size_t>(4 * (3 * y + x) + k)] = 1;
  small.pixels.assign(256, 1);
  fixture::Shape blank = fixture::square_shape();
  blank.pixels.assign(256, 0);
  st.shapes = {tile, small, blank};
  fixture::Pattern p;
  p.pic_w = 128;
  p.pic_h = 32;
  p.cells = {{0, 0, 0}, {0, 2, 0}, {0, 4, 0}, {1, 6, 0}, {2, 8, 0}};
  st.patterns = {p};
  return st;
}

// The style file, written once per run into a temporary folder that is
// removed when the program ends.
struct RenderStyleFile {
  std::string dir, path;
  RenderStyleFile() {
    char tmpl[] = "/tmp/fgrender.XXXXXX";
    if (!mkdtemp(tmpl)) std::abort();
    dir = tmpl;
    path = dir + "/render.dat";
    if (!fixture::write_style(render_style(), path)) std::abort();
  }
  ~RenderStyleFile() {
    std::remove(path.c_str());
    rmdir(dir.c_str());
  }
};

inline const std::string& render_style_path() {
  static RenderStyleFile file;
  return file.path;
}

// Loads the style's pattern as a Classic game and keeps the settings the
// test changes.
class LoadedBoard : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_settings_ = settings;
    saved_game_ = game;
    game.mode = CLASSIC;
    ASSERT_EQ(load_board(render_style_path().c_str(), 0, 0), 1);
    ASSERT_EQ(board.cell_count, 5);
    for (int i = 0; i < board.cell_count; i++) board.cells[i].content = 0;
  }
  void TearDown() override {
    settings = saved_settings_;
    game = saved_game_;
  }

  Settings saved_settings_;
  GameSession saved_game_;
};

// Asserts that two bitmaps hold the same pixels in a rectangle.
inline ::testing::AssertionResult same_pixels(BITMAP* got, BITMAP* want, int x1, int y1, int x2, int y2) {
  for (int y = y1; y <= y2; y++)
    for (int x = x1; x <= x2; x++) {
      const int g = getpixel(got, x, y), w = getpixel(want, x, y);
      if (g != w)
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << g << ", expected " << w;
    }
  return ::testing::AssertionSuccess();
}

}  // namespace render_test
