#include "ui/widgets.h"

#include <cstdio>

#include "palette/palette_entries.h"
#include "sound/sound.h"

int32_t next_widget_id = 0;
int32_t captured_widget_id = -1;

namespace {

int32_t take_widget_id() {
  captured_widget_id = -1;
  return next_widget_id++;
}

// The fields every kind of widget starts with.
void init_widget(Widget& w, int x1, int y1, int x2, int y2, int respect_capture) {
  w.state = BUTTON_NORMAL;
  w.id = take_widget_id();
  w.held_buttons = 0;
  w.respect_capture = respect_capture;
  w.x1 = x1;
  w.y1 = y1;
  w.x2 = x2;
  w.y2 = y2;
}

// The mouse state machine shared by every widget. Returns 1 when this
// update recognised a click (the state became BUTTON_CLICKED).
int update_state(Widget& w) {
  ButtonState& state = w.state;
  int32_t& held = w.held_buttons;
  const int32_t id = w.id;
  if (state == BUTTON_DISABLED) return 0;
  const int b = mouse_b;  // read once: one consistent mask per update
  const int inside = mouse_in_rect(w.x1, w.y1, w.x2, w.y2);
  const int32_t holder = captured_widget_id;

  if (holder == id) {
    switch (state) {
      case BUTTON_CLICKED:
        if (b == 0) {
          captured_widget_id = -1;
          state = inside ? BUTTON_HOVER : BUTTON_NORMAL;
        } else {
          state = BUTTON_AFTER_CLICK;
          held = b;
        }
        return 0;
      case BUTTON_AFTER_CLICK:
        if (b > held) {
          if (inside) {
            state = BUTTON_HELD;
            held = b;
          } else {
            state = BUTTON_NORMAL;
            held = 0;
            captured_widget_id = -1;
          }
        } else if (b == 0) {
          held = 0;
          captured_widget_id = -1;
          state = inside ? BUTTON_HOVER : BUTTON_NORMAL;
        }
        return 0;
      default:  // BUTTON_HELD or BUTTON_HELD_OUTSIDE
        if (b > held) held = b;
        state = inside ? BUTTON_HELD : BUTTON_HELD_OUTSIDE;
        if (b < held) {
          if (state == BUTTON_HELD) {
            state = BUTTON_CLICKED;
            return 1;
          }
          if (b != 0) {
            state = BUTTON_AFTER_CLICK;
            held = b;
          } else {
            state = BUTTON_NORMAL;
            captured_widget_id = -1;
            held = 0;
          }
        }
        return 0;
    }
  }

  if (holder != -1 && w.respect_capture) {
    state = BUTTON_NORMAL;  // another widget holds the mouse: stay inert
    return 0;
  }

  switch (state) {
    case BUTTON_NORMAL:
      if (!inside) return 0;
      state = BUTTON_HOVER;
      [[fallthrough]];
    case BUTTON_HOVER:
      held = b;
      if (!inside) {
        state = BUTTON_NORMAL;
      } else if (held != 0) {
        captured_widget_id = id;
        state = BUTTON_HELD;
      }
      return 0;
    default:
      state = BUTTON_NORMAL;
      return 0;
  }
}

// The click sound for the widgets that play it themselves.
void update_with_sound(Widget& w) {
  if (update_state(w)) play_effect(SFX_CLICK);
}

int picture_width(BITMAP* bmp) { return bmp ? bmp->w : 0; }
int picture_height(BITMAP* bmp) { return bmp ? bmp->h : 0; }

}  // namespace

void area_button_init(AreaButton* button, int x1, int y1, int x2, int y2, int respect_capture) {
  init_widget(*button, x1, y1, x2, y2, respect_capture);
}

void text_button_init(TextButton* button, int x1, int y1, int x2, int y2, const char* caption, int align,
                      int respect_capture) {
  init_widget(*button, x1, y1, x2, y2, respect_capture);
  button->align = align;
  std::snprintf(button->caption, sizeof button->caption, "%s", caption ? caption : "");
}

void check_box_init(ImageCheckBox* box, int x, int y, int checked, BITMAP* picture_unchecked,
                    BITMAP* picture_checked, int respect_capture) {
  init_widget(*box, x, y, x + picture_width(picture_unchecked) - 1, y + picture_height(picture_unchecked) - 1,
              respect_capture);
  box->checked = checked;
  box->picture_unchecked = picture_unchecked;
  box->picture_checked = picture_checked;
}

void image_button_init(ImageButton* button, int x, int y, BITMAP* picture, BITMAP* picture_pressed,
                       int respect_capture) {
  init_widget(*button, x, y, x + picture_width(picture) - 1, y + picture_height(picture) - 1, respect_capture);
  button->picture = picture;
  button->picture_pressed = picture_pressed;
}

void area_button_update(AreaButton* b) { update_state(*b); }
void text_button_update(TextButton* b) { update_with_sound(*b); }
void check_box_update(ImageCheckBox* b) { update_with_sound(*b); }
void image_button_update(ImageButton* b) { update_with_sound(*b); }

void text_button_draw(const TextButton* b, BITMAP* bmp) {
  const int pressed = b->state == BUTTON_HELD;
  if (pressed)
    rectfill(bmp, b->x1, b->y1, b->x2, b->y2, COL_MENU_BG);
  else
    draw_frame(bmp, b->x1, b->y1, b->x2, b->y2);
  // draw_caption writes the caption as plain text, never as a format.
  draw_caption(bmp, b->x1, b->y1, b->x2, b->y2, b->caption, b->align, pressed);
}

void check_box_draw(const ImageCheckBox* box, BITMAP* bmp) {
  BITMAP* picture = box->checked ? box->picture_checked : box->picture_unchecked;
  if (picture) draw_sprite(bmp, picture, box->x1, box->y1);
}

void image_button_draw(const ImageButton* b, BITMAP* bmp) {
  BITMAP* picture = b->state == BUTTON_HELD ? b->picture_pressed : b->picture;
  if (picture) draw_sprite(bmp, picture, b->x1, b->y1);
}

void reset_widgets() {
  captured_widget_id = -1;
  next_widget_id = 0;
}

void release_mouse() { captured_widget_id = -1; }

void button_enable(Widget* widget) { widget->state = BUTTON_NORMAL; }

void button_disable(Widget* widget) {
  widget->state = BUTTON_DISABLED;
  widget->held_buttons = 0;
  if (captured_widget_id == widget->id) captured_widget_id = -1;
}

void image_button_disable(ImageButton* button) { button_disable(button); }

void check_box_toggle(ImageCheckBox* box) { box->checked = box->checked == 1 ? 0 : 1; }
void check_box_set(ImageCheckBox* box) { box->checked = 1; }
void check_box_clear(ImageCheckBox* box) { box->checked = 0; }
