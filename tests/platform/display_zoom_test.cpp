#include "platform/display_zoom.h"

#include <gtest/gtest.h>

#include "support/headless.h"

namespace {

// The window zoom for each choice on a desktop, and the full-screen zoom
// (the largest that fits the whole display) with the picture's offset.
TEST(DisplayZoom, ZoomForEachDesktop) {
  struct Case {
    int desk_w, desk_h;
    int window[4];  // for the choices 1, 2, 3 and fit
    int full_screen, offset_x, offset_y;
  } cases[] = {
      {800, 600, {1, 1, 1, 1}, 1, 0, 0},
      {1024, 768, {1, 1, 1, 1}, 1, 112, 84},
      {1920, 1080, {1, 1, 1, 1}, 1, 560, 240},
      {1920, 1200, {1, 1, 1, 1}, 2, 160, 0},
      {2560, 1440, {1, 2, 2, 2}, 2, 480, 120},
      {2560, 1600, {1, 2, 2, 2}, 2, 480, 200},
      {2463, 1263, {1, 1, 1, 1}, 2, 431, 31},  // a window of 1600x1200 needs 1664x1264
      {2464, 1264, {1, 2, 2, 2}, 2, 432, 32},
      {3840, 2160, {1, 2, 3, 3}, 3, 720, 180},
      {7680, 4320, {1, 2, 3, 3}, 3, 2640, 1260},
      {0, 0, {1, 2, 3, 1}, 1, 0, 0},  // desktop size unknown
  };
  const int choices[4] = {1, 2, 3, WINDOW_ZOOM_FIT};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.desk_w << "x" << c.desk_h);
    for (int i = 0; i < 4; i++) EXPECT_EQ(window_zoom_for(choices[i], 800, 600, c.desk_w, c.desk_h), c.window[i]) << i;
    const int zoom = largest_fitting_zoom(800, 600, c.desk_w, c.desk_h);
    EXPECT_EQ(zoom, c.full_screen);
    EXPECT_EQ(centred_offset(c.desk_w, 800, zoom), c.offset_x);
    EXPECT_EQ(centred_offset(c.desk_h, 600, zoom), c.offset_y);
  }
}

// Every display pixel falls into the picture pixel it shows: the picture
// pixel p covers display pixels offset + p*zoom to offset + p*zoom + zoom
// - 1; pixels of the border go to the nearest edge.
TEST(DisplayZoom, EveryDisplayPixelMapsToThePicturePixelShownThere) {
  struct Case {
    int zoom, offset, display_size;
  } cases[] = {{1, 0, 800}, {2, 0, 1600}, {3, 0, 2400}, {1, 560, 1920}, {2, 480, 2560}, {3, 720, 3840}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "zoom " << c.zoom << " offset " << c.offset);
    int wrong = 0;
    for (int d = 0; d < c.display_size; d++) {
      int want = (d - c.offset) / c.zoom;
      if (d < c.offset) want = 0;
      if (want > 799) want = 799;
      wrong += display_to_picture(d, c.offset, c.zoom, 800) != want;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(display_to_picture(c.offset + 17 * c.zoom + c.zoom - 1, c.offset, c.zoom, 800), 17);
    EXPECT_EQ(display_to_picture(c.offset + 18 * c.zoom, c.offset, c.zoom, 800), 18);
  }
}

// The globals the game reads are moved into the picture; at 1x with no
// offset they are left alone.
TEST(DisplayZoom, PointerMapsIntoThePicture) {
  struct Case {
    DisplayZoom zoom;
    int x, y, want_x, want_y;
  } cases[] = {
      {{1, 0, 0}, 799, 599, 799, 599},   {{2, 0, 0}, 1599, 1199, 799, 599}, {{2, 0, 0}, 301, 200, 150, 100},
      {{3, 0, 0}, 905, 902, 301, 300},   {{2, 480, 200}, 10, 10, 0, 0},     {{2, 480, 200}, 2079, 1399, 799, 599},
      {{1, 560, 240}, 1000, 500, 440, 260},
  };
  for (const Case& c : cases) {
    display_zoom = c.zoom;
    mouse_x = c.x;
    mouse_y = c.y;
    map_pointer_to_picture(800, 600);
    EXPECT_EQ(mouse_x, c.want_x) << c.x;
    EXPECT_EQ(mouse_y, c.want_y) << c.y;
  }
  display_zoom = DisplayZoom{1, 0, 0};
  mouse_x = mouse_y = 0;
}

// A frame shown at 2x and 3x, with an offset and a shake, is the frame
// enlarged pixel for pixel; the rest of the target stays as it was.
TEST(DisplayZoom, ShownFrameIsTheFrameEnlarged) {
  BITMAP* frame = create_bitmap_ex(8, 800, 600);
  for (int y = 0; y < 600; y++)
    for (int x = 0; x < 800; x++) putpixel(frame, x, y, (x * 7 + y * 13 + x * y) & 255);
  struct Case {
    DisplayZoom zoom;
    int ox, oy, target_w, target_h;
  } cases[] = {{{2, 0, 0}, 0, 0, 1600, 1200}, {{3, 0, 0}, 0, 0, 2400, 1800}, {{2, 40, 30}, 3, -2, 1700, 1300},
               {{1, 20, 10}, -1, 2, 840, 620}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "zoom " << c.zoom.zoom);
    display_zoom = c.zoom;
    BITMAP* target = create_bitmap_ex(8, c.target_w, c.target_h);
    clear_to_color(target, 255);
    show_zoomed_frame(frame, target, c.ox, c.oy);
    const int z = c.zoom.zoom;
    const int left = c.zoom.offset_x + c.ox * z, top = c.zoom.offset_y + c.oy * z;
    int wrong = 0;
    for (int y = 0; y < c.target_h; y++)
      for (int x = 0; x < c.target_w; x++) {
        const int px = x - left, py = y - top;
        const bool inside = px >= 0 && py >= 0 && px < 800 * z && py < 600 * z;
        const int want = inside ? getpixel(frame, px / z, py / z) : 255;
        wrong += getpixel(target, x, y) != want;
      }
    EXPECT_EQ(wrong, 0);
    destroy_bitmap(target);
  }
  display_zoom = DisplayZoom{1, 0, 0};
  release_zoom_buffer();
  destroy_bitmap(frame);
}

}  // namespace
