#include "ui/frames.h"

#include <gtest/gtest.h>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "palette/palette_entries.h"

namespace {

BITMAP* object(int i) { return static_cast<BITMAP*>(MainDatafile[i].dat); }

bool same_region(BITMAP* a, int ax, int ay, BITMAP* b, int bx, int by, int w, int h) {
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++)
      if (getpixel(a, ax + x, ay + y) != getpixel(b, bx + x, by + y)) return false;
  return true;
}

}  // namespace

TEST(Frames, MouseInRectIsInclusive) {
  struct {
    int x, y, inside;
  } cases[] = {{10, 20, 1}, {30, 40, 1}, {10, 40, 1}, {9, 20, 0}, {31, 20, 0}, {10, 19, 0}, {10, 41, 0}, {20, 30, 1}};
  for (auto c : cases) {
    mouse_x = c.x;
    mouse_y = c.y;
    EXPECT_EQ(mouse_in_rect(10, 20, 30, 40), c.inside) << c.x << "," << c.y;
  }
  mouse_x = mouse_y = 0;
}

TEST(Frames, SmallestFrameHasTwelveByTwelveInside) {
  BITMAP* b = create_bitmap_ex(8, 40, 40);
  clear_to_color(b, 200);
  draw_frame(b, 10, 10, 25, 25);
  // Corners unscaled.
  EXPECT_TRUE(same_region(b, 10, 10, object(OBJ_FRAME_TOP_LEFT), 0, 0, 2, 2));
  EXPECT_TRUE(same_region(b, 24, 10, object(OBJ_FRAME_TOP_RIGHT), 0, 0, 2, 2));
  EXPECT_TRUE(same_region(b, 10, 24, object(OBJ_FRAME_BOTTOM_LEFT), 0, 0, 2, 2));
  EXPECT_TRUE(same_region(b, 24, 24, object(OBJ_FRAME_BOTTOM_RIGHT), 0, 0, 2, 2));
  // Edge strips 12 long between the corners.
  for (int x = 12; x < 24; x++) {
    EXPECT_EQ(getpixel(b, x, 10), getpixel(object(OBJ_FRAME_TOP), 0, 0));
    EXPECT_EQ(getpixel(b, x, 11), getpixel(object(OBJ_FRAME_TOP), 0, 1));
    EXPECT_EQ(getpixel(b, x, 25), getpixel(object(OBJ_FRAME_BOTTOM), 0, 1));
  }
  for (int y = 12; y < 24; y++) {
    EXPECT_EQ(getpixel(b, 10, y), getpixel(object(OBJ_FRAME_LEFT), 0, 0));
    EXPECT_EQ(getpixel(b, 25, y), getpixel(object(OBJ_FRAME_RIGHT), 1, 0));
  }
  // Inside 12 x 12 of colour 8, nothing drawn outside the rectangle.
  int inside = 0;
  for (int y = 0; y < 40; y++)
    for (int x = 0; x < 40; x++) {
      bool in_rect = x >= 10 && x <= 25 && y >= 10 && y <= 25;
      if (!in_rect) {
        EXPECT_EQ(getpixel(b, x, y), 200);
      }
      if (x >= 12 && x <= 23 && y >= 12 && y <= 23) inside += getpixel(b, x, y) == COL_WINDOW;
    }
  EXPECT_EQ(inside, 144);
  destroy_bitmap(b);
}

TEST(Frames, InsetBoxEdgesTopLeftWin) {
  BITMAP* b = create_bitmap_ex(8, 30, 30);
  clear_to_color(b, 0);
  draw_inset_box(b, 5, 5, 20, 15);
  EXPECT_EQ(getpixel(b, 10, 10), COL_MENU_BG);
  EXPECT_EQ(getpixel(b, 10, 5), COL_INSET_LIGHT);
  EXPECT_EQ(getpixel(b, 5, 10), COL_INSET_LIGHT);
  EXPECT_EQ(getpixel(b, 10, 15), COL_INSET_DARK);
  EXPECT_EQ(getpixel(b, 20, 10), COL_INSET_DARK);
  EXPECT_EQ(getpixel(b, 20, 5), COL_INSET_LIGHT);  // shared corners: the later lines win
  EXPECT_EQ(getpixel(b, 5, 15), COL_INSET_LIGHT);
  EXPECT_EQ(getpixel(b, 20, 15), COL_INSET_DARK);
  EXPECT_EQ(getpixel(b, 21, 10), 0);
  destroy_bitmap(b);
}

TEST(Frames, CaptionPlacement) {
  // The caption lands where plain text at the placement point lands.
  struct {
    int x1, y1, x2, y2, align, pressed, tx, ty;
  } cases[] = {
      {100, 50, 227, 65, ALIGN_LEFT, 0, 104, 54},    // 16 high: 4 right and 4 down
      {100, 50, 227, 65, ALIGN_LEFT, 1, 105, 55},    // pressed: 5 and 5
      {100, 50, 227, 73, ALIGN_LEFT, 0, 108, 58},    // 24 high: v = 8
      {100, 50, 227, 65, ALIGN_CENTRE, 0, 163, 54},  // centred on x1 + (x2 - x1) / 2
      {100, 50, 227, 65, ALIGN_RIGHT, 0, 224, 54},   // ends at x2 - v + 1
      {100, 50, 227, 65, ALIGN_RIGHT, 1, 225, 55},
  };
  BITMAP* a = create_bitmap_ex(8, 320, 120);
  BITMAP* b = create_bitmap_ex(8, 320, 120);
  for (auto c : cases) {
    clear_to_color(a, 0);
    clear_to_color(b, 0);
    draw_caption(a, c.x1, c.y1, c.x2, c.y2, "Options", c.align, c.pressed);
    if (c.align == ALIGN_CENTRE)
      draw_text_centre(b, c.tx, c.ty, COL_MENU_FONT, "Options");
    else if (c.align == ALIGN_RIGHT)
      draw_text_right(b, c.tx, c.ty, COL_MENU_FONT, "Options");
    else
      draw_text(b, c.tx, c.ty, COL_MENU_FONT, "Options");
    EXPECT_TRUE(same_region(a, 0, 0, b, 0, 0, 320, 120)) << c.align << " " << c.pressed;
  }
  // Right-aligned text really ends at the given x.
  clear_to_color(b, 0);
  draw_text_right(b, 224, 54, COL_MENU_FONT, "Options");
  int rightmost = -1;
  for (int y = 0; y < 120; y++)
    for (int x = 0; x < 320; x++)
      if (getpixel(b, x, y)) rightmost = std::max(rightmost, x);
  EXPECT_LT(rightmost, 224);
  EXPECT_GE(rightmost, 218);
  destroy_bitmap(a);
  destroy_bitmap(b);
}
