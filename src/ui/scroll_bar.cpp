#include "ui/scroll_bar.h"

#include <cmath>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "palette/palette_entries.h"
#include "ui/frames.h"

namespace {

// The nudge that keeps a value whose thumb lies on a whole pixel from
// rounding up one step: a single-precision constant used in double
// arithmetic.
constexpr float NUDGE = 0.01f;

BITMAP* picture(int index) { return static_cast<BITMAP*>(MainDatafile[index].dat); }

// The largest value a bar can hold: max, or min when the range is empty.
int top_value(int min, int max) { return max > min ? max : min; }

int clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// The fields both forms share, seen along the bar's own axis.
struct Axis {
  int32_t& track_start;
  int32_t& track_end;
  int32_t& thumb;
  int32_t& min;
  int32_t& max;
  int32_t& value;
  float& scale;
  float& repeat_timer;
  ImageButton& first;   // up or left
  ImageButton& second;  // down or right
  AreaButton& track;
};

void init_axis(Axis a, int track_start, int track_end, int min, int max, int value) {
  a.track_start = track_start;
  a.track_end = track_end;
  a.min = min;
  a.max = max;
  a.value = clamp(value, min, top_value(min, max));
  const int range = max > min ? max - min : 1;
  a.scale = static_cast<float>(track_end - track_start) / static_cast<float>(range);
  a.thumb = scroll_thumb_from_value(a.value, a.min, a.scale, a.track_start);
  a.repeat_timer = 0.0f;
}

void update_axis(Axis a, int mouse_pos) {
  image_button_update(&a.first);
  image_button_update(&a.second);
  area_button_update(&a.track);

  a.repeat_timer -= frame_seconds;
  if (a.repeat_timer < 0.0f) a.repeat_timer = 0.0f;

  const int hi = top_value(a.min, a.max);
  if (a.first.state == BUTTON_HELD && a.repeat_timer <= 0.0f) {
    a.repeat_timer = SCROLL_REPEAT_SECONDS;
    if (a.value - 1 >= a.min) a.value -= 1;
    a.thumb = scroll_thumb_from_value(a.value, a.min, a.scale, a.track_start);
  }
  if (a.second.state == BUTTON_HELD && a.repeat_timer <= 0.0f) {
    a.repeat_timer = SCROLL_REPEAT_SECONDS;
    if (a.value + 1 <= hi) a.value += 1;
    a.thumb = scroll_thumb_from_value(a.value, a.min, a.scale, a.track_start);
  }
  if (a.track.state == BUTTON_HELD) {
    a.thumb = clamp(mouse_pos - 8, a.track_start, a.track_end);
    a.value = clamp(scroll_value_from_thumb(a.thumb, a.min, a.scale, a.track_start), a.min, hi);
  }
}

}  // namespace

int scroll_thumb_from_value(int value, int min, float scale, int track_start) {
  const double t = std::ceil(static_cast<double>(value - min) * static_cast<double>(scale) + track_start -
                             static_cast<double>(NUDGE));
  return static_cast<int>(t);
}

int scroll_value_from_thumb(int thumb, int min, float scale, int track_start) {
  if (!(scale > 0.0f)) return min;  // a track without room: every thumb is the first value
  const double v =
      std::ceil(static_cast<double>(thumb - track_start) / static_cast<double>(scale) + min - static_cast<double>(NUDGE));
  return static_cast<int>(v);
}

void vscroll_init(VScrollBar* bar, int x, int y_top, int y_bottom, int min, int max, int value) {
  bar->x = x;
  bar->y_top = y_top;
  bar->y_bottom = y_bottom;
  init_axis(Axis{bar->track_start, bar->track_end, bar->thumb, bar->min, bar->max, bar->value, bar->scale,
                 bar->repeat_timer, bar->up_arrow, bar->down_arrow, bar->track},
            y_top + 16, y_bottom - 31, min, max, value);
  image_button_init(&bar->up_arrow, x, y_top, picture(OBJ_SCROLL_UP), picture(OBJ_SCROLL_UP_PRESSED), 1);
  image_button_init(&bar->down_arrow, x, y_bottom - 15, picture(OBJ_SCROLL_DOWN), picture(OBJ_SCROLL_DOWN_PRESSED),
                    1);
  area_button_init(&bar->track, x, bar->track_start, x + 15, bar->track_end + 15, 1);
}

void hscroll_init(HScrollBar* bar, int x_left, int y, int x_right, int min, int max, int value) {
  bar->x_left = x_left;
  bar->y = y;
  bar->x_right = x_right;
  init_axis(Axis{bar->track_start, bar->track_end, bar->thumb, bar->min, bar->max, bar->value, bar->scale,
                 bar->repeat_timer, bar->left_arrow, bar->right_arrow, bar->track},
            x_left + 16, x_right - 31, min, max, value);
  image_button_init(&bar->left_arrow, x_left, y, picture(OBJ_SCROLL_LEFT), picture(OBJ_SCROLL_LEFT_PRESSED), 1);
  image_button_init(&bar->right_arrow, x_right - 15, y, picture(OBJ_SCROLL_RIGHT),
                    picture(OBJ_SCROLL_RIGHT_PRESSED), 1);
  area_button_init(&bar->track, bar->track_start, y, bar->track_end + 15, y + 15, 1);
}

void vscroll_update(VScrollBar* bar) {
  update_axis(Axis{bar->track_start, bar->track_end, bar->thumb, bar->min, bar->max, bar->value, bar->scale,
                   bar->repeat_timer, bar->up_arrow, bar->down_arrow, bar->track},
              mouse_y);
}

void hscroll_update(HScrollBar* bar) {
  update_axis(Axis{bar->track_start, bar->track_end, bar->thumb, bar->min, bar->max, bar->value, bar->scale,
                   bar->repeat_timer, bar->left_arrow, bar->right_arrow, bar->track},
              mouse_x);
}

void vscroll_draw(const VScrollBar* bar, BITMAP* bmp) {
  image_button_draw(&bar->up_arrow, bmp);
  image_button_draw(&bar->down_arrow, bmp);
  rectfill(bmp, bar->x, bar->track_start, bar->x + 15, bar->track_end + 15, COL_INSET_LIGHT);
  if (bar->track.state == BUTTON_HELD)
    rectfill(bmp, bar->x, bar->thumb, bar->x + 15, bar->thumb + 15, COL_MENU_BG);
  else
    draw_frame(bmp, bar->x, bar->thumb, bar->x + 15, bar->thumb + 15);
}

void hscroll_draw(const HScrollBar* bar, BITMAP* bmp) {
  image_button_draw(&bar->left_arrow, bmp);
  image_button_draw(&bar->right_arrow, bmp);
  rectfill(bmp, bar->track_start, bar->y, bar->track_end + 15, bar->y + 15, COL_INSET_LIGHT);
  if (bar->track.state == BUTTON_HELD)
    rectfill(bmp, bar->thumb, bar->y, bar->thumb + 15, bar->y + 15, COL_MENU_BG);
  else
    draw_frame(bmp, bar->thumb, bar->y, bar->thumb + 15, bar->y + 15);
}

void vscroll_disable(VScrollBar* bar) {
  image_button_disable(&bar->up_arrow);
  image_button_disable(&bar->down_arrow);
  button_disable(&bar->track);
}
