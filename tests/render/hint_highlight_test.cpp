// The hint highlight on the small render style: it paints only the tile of
// its cell (the tile's transparent quadrant stays clear), looks different
// for a mine, pulses, and is gone after its time or once its cell opens.
#include "render/hint_highlight.h"

#include <gtest/gtest.h>

#include "board/board_load.h"
#include "palette/palette_entries.h"
#include "render/render_fixture.h"
#include "rules/board_state.h"

namespace {

using render_test::LoadedBoard;

class HintHighlight : public LoadedBoard {
 protected:
  void SetUp() override {
    LoadedBoard::SetUp();
    bmp = create_bitmap_ex(8, 800, 600);
  }
  void TearDown() override {
    stop_hint_highlight();
    destroy_bitmap(bmp);
    LoadedBoard::TearDown();
  }

  // The highlight drawn on a cleared bitmap: the pixels it painted inside
  // the cell's 16 x 16 tile, outside the tile, in the tile's transparent
  // quadrant, and their colours summed (a fingerprint of the look).
  struct Painted {
    int inside = 0, outside = 0, in_quadrant = 0;
    long colours = 0;
  };
  Painted paint(int cell) {
    clear_to_color(bmp, COL_BACKGROUND);
    draw_hint_highlight(bmp);
    const Cell& c = board.cells[cell];
    Painted p;
    for (int y = 0; y < bmp->h; y++)
      for (int x = 0; x < bmp->w; x++) {
        const int v = getpixel(bmp, x, y);
        if (v == COL_BACKGROUND) continue;
        const int tx = x - c.x, ty = y - c.y;
        const bool in_tile = tx >= 0 && ty >= 0 && tx < 16 && ty < 16;
        (in_tile ? p.inside : p.outside)++;
        if (in_tile && tx < 8 && ty < 8) p.in_quadrant++;
        p.colours += v;
      }
    return p;
  }

  BITMAP* bmp = nullptr;
};

}  // namespace

TEST_F(HintHighlight, PaintsTheCellsTileOnlyAndEndsAfterItsTime) {
  for (bool mine : {false, true}) {
    SCOPED_TRACE(mine ? "mine" : "safe");
    start_hint_highlight(1, mine);
    ASSERT_EQ(hint_highlight_cell(), 1);
    const Painted p = paint(1);
    EXPECT_GE(p.inside, 40) << "a ring around the tile's outline";
    EXPECT_EQ(p.outside, 0);
    EXPECT_EQ(p.in_quadrant, 0) << "the tile's transparent quadrant is no part of the cell";
    advance_hint_highlight(0.3f);
    EXPECT_NE(paint(1).colours, p.colours) << "it pulses";
    advance_hint_highlight(HINT_HIGHLIGHT_SECONDS - 0.4f);
    EXPECT_GT(paint(1).inside, 0) << "still there just before its time";
    advance_hint_highlight(0.2f);
    EXPECT_EQ(hint_highlight_cell(), -1);
    EXPECT_EQ(paint(1).inside, 0) << "gone after its time";
  }
  start_hint_highlight(1, false);
  const long safe = paint(1).colours;
  start_hint_highlight(1, true);
  EXPECT_NE(paint(1).colours, safe) << "a mine looks different";
}

TEST_F(HintHighlight, EndsWhenItsCellOpensOrAnotherBoardIsLoaded) {
  start_hint_highlight(2, false);
  board.cells[2].state = REVEALED;
  advance_hint_highlight(0.01f);
  EXPECT_EQ(hint_highlight_cell(), -1);
  board.cells[2].state = HIDDEN;
  start_hint_highlight(2, true);
  boards_loaded++;
  advance_hint_highlight(0.01f);
  EXPECT_EQ(hint_highlight_cell(), -1);
  EXPECT_EQ(paint(2).inside, 0);
}
