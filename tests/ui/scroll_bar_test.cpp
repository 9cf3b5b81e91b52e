#include "ui/scroll_bar.h"

#include <gtest/gtest.h>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "palette/palette_entries.h"
#include "sound/sound.h"

namespace {

class ScrollBars : public ::testing::Test {
 protected:
  void SetUp() override {
    default_settings();
    sound_state = SOUND_ON;
    clear_effect_played();
    reset_widgets();
    frame_seconds = 0.0f;
    set_mouse(0, 0, 0);
  }
  void TearDown() override {
    sound_state = SOUND_UNAVAILABLE;
    clear_effect_played();
    reset_widgets();
    frame_seconds = 0.0f;
    set_mouse(0, 0, 0);
  }
  static void set_mouse(int x, int y, int b) {
    mouse_x = x;
    mouse_y = y;
    mouse_b = b;
  }
  // One frame of a vertical bar; returns whether the click sound started.
  static int vframe(VScrollBar* bar, int x, int y, int b, float seconds) {
    clear_effect_played();
    frame_seconds = seconds;
    set_mouse(x, y, b);
    vscroll_update(bar);
    return effect_played[SFX_CLICK];
  }
  static void hframe(HScrollBar* bar, int x, int y, int b, float seconds) {
    frame_seconds = seconds;
    set_mouse(x, y, b);
    hscroll_update(bar);
  }
};

// A vertical list bar at x 500 from y 100 to 299: up arrow 100..115, down
// arrow 284..299, thumb tops 116..268.
constexpr int VX = 500, VTOP = 100, VBOTTOM = 299;

}  // namespace

TEST_F(ScrollBars, VolumeSliderEndsAndGeometry) {
  HScrollBar bar;
  hscroll_init(&bar, 276, 200, 491, 0, 255, 0);
  EXPECT_EQ(bar.track_start, 292);
  EXPECT_EQ(bar.track_end, 460);
  EXPECT_EQ(bar.thumb, 292);
  EXPECT_FLOAT_EQ(bar.scale, 168.0f / 255.0f);
  EXPECT_EQ(bar.repeat_timer, 0.0f);
  EXPECT_EQ(bar.left_arrow.x1, 276);
  EXPECT_EQ(bar.right_arrow.x1, 476);
  EXPECT_EQ(bar.right_arrow.x2, 491);
  EXPECT_EQ(bar.track.x1, 292);
  EXPECT_EQ(bar.track.x2, 475);
  EXPECT_EQ(bar.track.y2, 215);
  hscroll_init(&bar, 276, 200, 491, 0, 255, 255);
  EXPECT_EQ(bar.thumb, 460);
  hscroll_init(&bar, 276, 200, 491, 0, 255, 128);
  EXPECT_EQ(bar.thumb, 377);  // ceil(128 * 168/255 + 292 - 0.01)

  // Every thumb position of the track gives a value in range, rising with
  // the thumb, and the ends give the ends of the range.
  int last = -1;
  for (int t = 292; t <= 460; t++) {
    const int v = scroll_value_from_thumb(t, 0, bar.scale, 292);
    EXPECT_GE(v, last);
    EXPECT_LE(v, 255);
    last = v;
  }
  EXPECT_EQ(scroll_value_from_thumb(292, 0, bar.scale, 292), 0);
  EXPECT_EQ(scroll_value_from_thumb(460, 0, bar.scale, 292), 255);
  EXPECT_EQ(scroll_value_from_thumb(376, 0, bar.scale, 292), 128);  // ceil(84 * 255/168 - 0.01)
}

TEST_F(ScrollBars, VerticalGeometryAndInnerWidgets) {
  VScrollBar bar;
  vscroll_init(&bar, VX, VTOP, VBOTTOM, 0, 10, 0);
  EXPECT_EQ(bar.track_start, 116);
  EXPECT_EQ(bar.track_end, 268);
  EXPECT_EQ(bar.up_arrow.y1, 100);
  EXPECT_EQ(bar.up_arrow.y2, 115);
  EXPECT_EQ(bar.down_arrow.y1, 284);
  EXPECT_EQ(bar.down_arrow.y2, 299);
  EXPECT_EQ(bar.track.y1, 116);
  EXPECT_EQ(bar.track.y2, 283);
  EXPECT_EQ(bar.up_arrow.respect_capture, 1);
  EXPECT_EQ(bar.down_arrow.respect_capture, 1);
  EXPECT_EQ(bar.track.respect_capture, 1);
  EXPECT_EQ(bar.up_arrow.picture, static_cast<BITMAP*>(MainDatafile[OBJ_SCROLL_UP].dat));
  EXPECT_EQ(bar.down_arrow.picture_pressed, static_cast<BITMAP*>(MainDatafile[OBJ_SCROLL_DOWN_PRESSED].dat));
}

TEST_F(ScrollBars, HoldingTheDownArrowAtMaxStaysAtMax) {
  VScrollBar bar;
  vscroll_init(&bar, VX, VTOP, VBOTTOM, 0, 10, 10);
  ASSERT_EQ(bar.thumb, 268);
  vframe(&bar, VX + 8, 290, 0, 0.02f);
  for (int i = 0; i < 20; i++) vframe(&bar, VX + 8, 290, 1, 0.05f);
  EXPECT_EQ(bar.down_arrow.state, BUTTON_HELD);
  EXPECT_EQ(bar.value, 10);
  EXPECT_EQ(bar.thumb, 268);
  // And the up arrow at min stays at min.
  vscroll_init(&bar, VX, VTOP, VBOTTOM, 0, 10, 0);
  vframe(&bar, VX + 8, 105, 0, 0.02f);
  for (int i = 0; i < 20; i++) vframe(&bar, VX + 8, 105, 1, 0.05f);
  EXPECT_EQ(bar.value, 0);
  EXPECT_EQ(bar.thumb, 116);
}

TEST_F(ScrollBars, ArrowsRepeatOnOneSharedTimer) {
  struct {
    float seconds;
    int frames;
    int steps;
  } cases[] = {
      {0.25f, 4, 4},  // a frame longer than the repeat: one step per frame
      {0.04f, 7, 3},  // steps at frames 1, 4 and 7
      {0.0f, 5, 1},   // no time passes: only the press steps
  };
  for (auto c : cases) {
    SCOPED_TRACE(c.seconds);
    VScrollBar bar;
    vscroll_init(&bar, VX, VTOP, VBOTTOM, 0, 100, 50);
    vframe(&bar, VX + 8, 290, 0, c.seconds);
    ASSERT_EQ(bar.value, 50);
    int sounds = 0;
    for (int i = 0; i < c.frames; i++) sounds += vframe(&bar, VX + 8, 290, 1, c.seconds);
    EXPECT_EQ(bar.value, 50 + c.steps);
    EXPECT_EQ(bar.thumb, scroll_thumb_from_value(bar.value, 0, bar.scale, bar.track_start));
    EXPECT_EQ(sounds, 0);  // holding is no click
    sounds += vframe(&bar, VX + 8, 290, 0, c.seconds);
    EXPECT_EQ(sounds, 1);  // releasing on the arrow is
  }
  // Held just after a step of the other arrow, the up arrow waits for the
  // shared timer.
  VScrollBar bar;
  vscroll_init(&bar, VX, VTOP, VBOTTOM, 0, 100, 50);
  vframe(&bar, VX + 8, 290, 0, 0.0f);
  vframe(&bar, VX + 8, 290, 1, 0.0f);
  EXPECT_EQ(bar.value, 51);
  vframe(&bar, VX + 8, 290, 0, 0.03f);
  vframe(&bar, VX + 8, 105, 0, 0.03f);
  vframe(&bar, VX + 8, 105, 1, 0.03f);
  EXPECT_EQ(bar.value, 51);
  vframe(&bar, VX + 8, 105, 1, 0.03f);
  vframe(&bar, VX + 8, 105, 1, 0.03f);
  EXPECT_EQ(bar.value, 50);
}

TEST_F(ScrollBars, TrackPressJumpsAndDragFollows) {
  VScrollBar bar;
  vscroll_init(&bar, VX, VTOP, VBOTTOM, 0, 152, 152);  // one unit per pixel
  ASSERT_EQ(bar.thumb, 268);
  struct {
    int y, b;
    int thumb;
  } steps[] = {
      {150, 0, 268},  // hovering moves nothing
      {150, 1, 142},  // press above the thumb: centred under the mouse
      {200, 1, 192},  // drag
      {118, 1, 116},  // too near the top for a centred thumb: the end of the track
      {282, 1, 268},  // too near the bottom: the other end
      {110, 1, 268},  // over the up arrow, outside the track: the thumb stays
      {230, 1, 222},
  };
  int sounds = 0;
  for (auto s : steps) {
    SCOPED_TRACE(s.y);
    sounds += vframe(&bar, VX + 8, s.y, s.b, 0.02f);
    EXPECT_EQ(bar.thumb, s.thumb);
    EXPECT_EQ(bar.value, s.thumb - 116);
  }
  // Released outside the track after dragging: the value stays, no click.
  sounds += vframe(&bar, VX + 40, 230, 1, 0.02f);
  EXPECT_EQ(bar.track.state, BUTTON_HELD_OUTSIDE);
  sounds += vframe(&bar, VX + 40, 230, 0, 0.02f);
  EXPECT_EQ(bar.track.state, BUTTON_NORMAL);
  EXPECT_EQ(bar.value, 106);
  EXPECT_EQ(bar.thumb, 222);
  EXPECT_EQ(captured_widget_id, -1);
  EXPECT_EQ(sounds, 0);  // the track makes no sound
}

TEST_F(ScrollBars, HorizontalTrackFollowsMouseX) {
  HScrollBar bar;
  hscroll_init(&bar, 276, 200, 491, 0, 255, 0);
  hframe(&bar, 400, 208, 0, 0.02f);
  hframe(&bar, 400, 208, 1, 0.02f);
  EXPECT_EQ(bar.track.state, BUTTON_HELD);
  EXPECT_EQ(bar.thumb, 392);
  EXPECT_EQ(bar.value, scroll_value_from_thumb(392, 0, bar.scale, 292));
  hframe(&bar, 600, 208, 1, 0.02f);  // outside the track: the thumb stays
  EXPECT_EQ(bar.thumb, 392);
  hframe(&bar, 600, 208, 0, 0.02f);
  // The right arrow steps by one.
  hframe(&bar, 480, 208, 0, 0.02f);
  const int before = bar.value;
  hframe(&bar, 480, 208, 1, 0.02f);
  EXPECT_EQ(bar.value, before + 1);
}

TEST_F(ScrollBars, RangeOfOneStepSitsAtEitherEnd) {
  VScrollBar bar;
  vscroll_init(&bar, VX, VTOP, VBOTTOM, 0, 1, 0);
  EXPECT_EQ(bar.thumb, 116);
  vscroll_init(&bar, VX, VTOP, VBOTTOM, 0, 1, 1);
  EXPECT_EQ(bar.thumb, 268);
  vframe(&bar, VX + 8, 140, 0, 0.02f);
  vframe(&bar, VX + 8, 140, 1, 0.02f);  // thumb at 132: past the first pixel
  EXPECT_EQ(bar.value, 1);
  vframe(&bar, VX + 8, 124, 1, 0.02f);  // thumb at the start
  EXPECT_EQ(bar.value, 0);
}

TEST_F(ScrollBars, EmptyRangeNeverDividesByZero) {
  VScrollBar bar;
  vscroll_init(&bar, VX, VTOP, VBOTTOM, 5, 5, 9);
  EXPECT_EQ(bar.value, 5);
  EXPECT_EQ(bar.thumb, 116);
  EXPECT_GT(bar.scale, 0.0f);
  vframe(&bar, VX + 8, 290, 0, 0.25f);
  vframe(&bar, VX + 8, 290, 1, 0.25f);
  EXPECT_EQ(bar.value, 5);
  vframe(&bar, VX + 8, 290, 0, 0.25f);
  vframe(&bar, VX + 8, 260, 0, 0.25f);
  vframe(&bar, VX + 8, 260, 1, 0.25f);
  EXPECT_EQ(bar.value, 5);
  HScrollBar h;
  hscroll_init(&h, 0, 0, 200, 3, 1, 0);
  EXPECT_EQ(h.value, 3);
  EXPECT_EQ(h.thumb, 16);
}

TEST_F(ScrollBars, DisabledBarDoesNotReact) {
  VScrollBar bar;
  vscroll_init(&bar, VX, VTOP, VBOTTOM, 0, 1, 0);
  vscroll_disable(&bar);
  for (int y : {105, 150, 290}) {
    vframe(&bar, VX + 8, y, 0, 0.25f);
    vframe(&bar, VX + 8, y, 1, 0.25f);
    vframe(&bar, VX + 8, y, 0, 0.25f);
  }
  EXPECT_EQ(bar.value, 0);
  EXPECT_EQ(bar.thumb, 116);
  EXPECT_EQ(bar.up_arrow.state, BUTTON_DISABLED);
  EXPECT_EQ(bar.down_arrow.state, BUTTON_DISABLED);
  EXPECT_EQ(bar.track.state, BUTTON_DISABLED);
  EXPECT_EQ(captured_widget_id, -1);
}

TEST_F(ScrollBars, DrawShowsArrowsTrackAndThumb) {
  VScrollBar bar;
  vscroll_init(&bar, VX, VTOP, VBOTTOM, 0, 152, 76);
  BITMAP* b = create_bitmap_ex(8, 800, 600);
  BITMAP* want = create_bitmap_ex(8, 800, 600);
  for (int held : {0, 1}) {
    SCOPED_TRACE(held);
    if (held) {
      vframe(&bar, VX + 8, 150, 0, 0.02f);
      vframe(&bar, VX + 8, 150, 1, 0.02f);
      ASSERT_EQ(bar.track.state, BUTTON_HELD);
    }
    clear_to_color(b, 200);
    vscroll_draw(&bar, b);
    clear_to_color(want, 200);
    draw_sprite(want, static_cast<BITMAP*>(MainDatafile[OBJ_SCROLL_UP].dat), VX, VTOP);
    draw_sprite(want, static_cast<BITMAP*>(MainDatafile[OBJ_SCROLL_DOWN].dat), VX, VBOTTOM - 15);
    rectfill(want, VX, 116, VX + 15, 283, COL_INSET_LIGHT);
    if (held)
      rectfill(want, VX, bar.thumb, VX + 15, bar.thumb + 15, COL_MENU_BG);
    else
      draw_frame(want, VX, bar.thumb, VX + 15, bar.thumb + 15);
    int differ = 0;
    for (int y = 90; y < 310; y++)
      for (int x = VX - 5; x < VX + 21; x++) differ += getpixel(b, x, y) != getpixel(want, x, y);
    EXPECT_EQ(differ, 0);
  }
  HScrollBar h;
  hscroll_init(&h, 276, 200, 491, 0, 255, 255);
  clear_to_color(b, 200);
  hscroll_draw(&h, b);
  EXPECT_EQ(getpixel(b, 300, 208), COL_INSET_LIGHT);  // track
  EXPECT_EQ(getpixel(b, 468, 208), COL_WINDOW);       // inside of the thumb at 460
  EXPECT_EQ(getpixel(b, 276, 199), 200);
  EXPECT_EQ(getpixel(b, 492, 208), 200);
  destroy_bitmap(b);
  destroy_bitmap(want);
}
