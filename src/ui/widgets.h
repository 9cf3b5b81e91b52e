// The four button widgets and their shared mouse state machine: a framed
// push button with a caption, an invisible clickable rectangle, a check box
// shown as one of two pictures and a push button shown as one of two
// pictures. Widgets are plain records owned by the screen that uses them;
// they are updated once per frame from the library's mouse state and the
// owner reads `state` after the update (BUTTON_CLICKED lasts one update).
#pragma once

#include <allegro.h>

#include <cstdint>

#include "ui/frames.h"  // TextAlign

enum ButtonState : int32_t {
  BUTTON_DISABLED = 0,      // not updated, never reacts
  BUTTON_NORMAL = 1,        // idle, mouse not over it
  BUTTON_HOVER = 2,         // mouse over it, no button down
  BUTTON_HELD_OUTSIDE = 3,  // pressed on it, mouse now outside, still holding the mouse
  BUTTON_HELD = 4,          // pressed on it, mouse inside
  BUTTON_CLICKED = 5,       // released inside: the click, for one update
  BUTTON_AFTER_CLICK = 6    // after a click, other mouse buttons still down
};

enum { CAPTION_SIZE = 32 };  // 31 characters and the terminating zero

// What every widget has; the four kinds below add their own faces.
struct Widget {
  ButtonState state;
  int32_t id;
  int32_t held_buttons;     // mouse button mask recorded at the press
  int32_t respect_capture;  // 1: inert while another widget holds the mouse
  int32_t x1, y1, x2, y2;   // inclusive
};

struct AreaButton : Widget {};

struct TextButton : Widget {
  int32_t align;  // TextAlign
  char caption[CAPTION_SIZE];
};

struct ImageCheckBox : Widget {
  int32_t checked;            // 0 or 1
  BITMAP* picture_unchecked;  // owned by the main datafile
  BITMAP* picture_checked;
};

struct ImageButton : Widget {
  BITMAP* picture;  // owned by the main datafile
  BITMAP* picture_pressed;
};

// Every initialisation takes this as the new widget's id and increments it.
extern int32_t next_widget_id;
// The id of the widget that holds the mouse, or -1.
extern int32_t captured_widget_id;

// Each takes a fresh id, sets BUTTON_NORMAL and held_buttons 0, and frees
// the mouse.
void area_button_init(AreaButton* button, int x1, int y1, int x2, int y2, int respect_capture);
// The caption is copied (not used as a format); longer than 31 characters
// is cut to 31.
void text_button_init(TextButton* button, int x1, int y1, int x2, int y2, const char* caption, int align,
                      int respect_capture);
// The rectangle is the size of the unchecked picture placed at (x, y).
void check_box_init(ImageCheckBox* box, int x, int y, int checked, BITMAP* picture_unchecked,
                    BITMAP* picture_checked, int respect_capture);
// The rectangle is the size of the normal picture placed at (x, y).
void image_button_init(ImageButton* button, int x, int y, BITMAP* picture, BITMAP* picture_pressed,
                       int respect_capture);

// Once per frame. All but the area button play the click sound when a
// click is recognised; owners of area buttons play it themselves.
void area_button_update(AreaButton* button);
void text_button_update(TextButton* button);
void check_box_update(ImageCheckBox* box);
void image_button_update(ImageButton* button);

void text_button_draw(const TextButton* button, BITMAP* bmp);
void check_box_draw(const ImageCheckBox* box, BITMAP* bmp);
void image_button_draw(const ImageButton* button, BITMAP* bmp);

// No widget alive: ids restart at 0 and the mouse is free.
void reset_widgets();
void release_mouse();

// Enabling sets BUTTON_NORMAL; disabling sets BUTTON_DISABLED, forgets the
// held buttons and frees the mouse if this widget holds it.
void button_enable(Widget* widget);
void button_disable(Widget* widget);
void image_button_disable(ImageButton* button);

void check_box_toggle(ImageCheckBox* box);
void check_box_set(ImageCheckBox* box);
void check_box_clear(ImageCheckBox* box);
