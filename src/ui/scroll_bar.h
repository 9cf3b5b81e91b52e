// Scroll bars and value sliders: an integer value between a minimum and a
// maximum shown as a 16x16 thumb in a track between two 16x16 arrow
// buttons. Holding an arrow steps the value every SCROLL_REPEAT_SECONDS;
// pressing the track makes the thumb jump to the mouse and follow it.
#pragma once

#include <allegro.h>

#include <cstdint>

#include "ui/widgets.h"

constexpr float SCROLL_REPEAT_SECONDS = 0.1f;

struct VScrollBar {
  int32_t x;            // the bar is 16 wide: x .. x + 15
  int32_t y_top;        // top of the up arrow
  int32_t y_bottom;     // bottom of the down arrow
  int32_t track_start;  // y_top + 16, the highest thumb top
  int32_t track_end;    // y_bottom - 31, the lowest thumb top
  int32_t thumb;        // the current thumb top
  int32_t min;
  int32_t max;
  int32_t value;
  float scale;         // pixels per unit of value
  float repeat_timer;  // seconds until an arrow may step again
  ImageButton up_arrow;
  ImageButton down_arrow;
  AreaButton track;
};

struct HScrollBar {
  int32_t x_left;       // left edge of the left arrow
  int32_t y;            // the bar is 16 high: y .. y + 15
  int32_t x_right;      // right edge of the right arrow
  int32_t track_start;  // x_left + 16
  int32_t track_end;    // x_right - 31
  int32_t thumb;        // the current thumb's left edge
  int32_t min;
  int32_t max;
  int32_t value;
  float scale;
  float repeat_timer;
  ImageButton left_arrow;
  ImageButton right_arrow;
  AreaButton track;
};

// Owners give min < max; a range with max <= min is treated as one step
// (the value then stays at min).
void vscroll_init(VScrollBar* bar, int x, int y_top, int y_bottom, int min, int max, int value);
void hscroll_init(HScrollBar* bar, int x_left, int y, int x_right, int min, int max, int value);
// Once per frame; the owner then reads value.
void vscroll_update(VScrollBar* bar);
void hscroll_update(HScrollBar* bar);
void vscroll_draw(const VScrollBar* bar, BITMAP* bmp);
void hscroll_draw(const HScrollBar* bar, BITMAP* bmp);
// The bar stops reacting until it is initialised again.
void vscroll_disable(VScrollBar* bar);

// The conversions between value and thumb position.
int scroll_thumb_from_value(int value, int min, float scale, int track_start);
int scroll_value_from_thumb(int thumb, int min, float scale, int track_start);
