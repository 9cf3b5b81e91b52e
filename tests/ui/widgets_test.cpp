#include "ui/widgets.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "palette/palette_entries.h"
#include "sound/sound.h"

namespace {

BITMAP* object(int i) { return static_cast<BITMAP*>(MainDatafile[i].dat); }

// The mouse of one frame; Allegro's mouse globals are plain variables the
// tests write directly (there is no mouse driver headless).
void set_mouse(int x, int y, int b) {
  mouse_x = x;
  mouse_y = y;
  mouse_b = b;
}

class Widgets : public ::testing::Test {
 protected:
  void SetUp() override {
    default_settings();
    sound_state = SOUND_ON;
    clear_effect_played();
    reset_widgets();
    set_mouse(0, 0, 0);
  }
  void TearDown() override {
    sound_state = SOUND_UNAVAILABLE;
    clear_effect_played();
    reset_widgets();
    set_mouse(0, 0, 0);
  }
  // One frame of mouse input for a text button; returns whether the click
  // sound started in this frame.
  int frame(TextButton* b, int x, int y, int buttons) {
    clear_effect_played();
    set_mouse(x, y, buttons);
    text_button_update(b);
    return effect_played[SFX_CLICK];
  }
};

// A text button at (100, 100)-(199, 115); IN is inside, OUT outside.
constexpr int IN_X = 150, IN_Y = 108, OUT_X = 300, OUT_Y = 300;

struct Step {
  int inside;  // 1 inside the button, 0 outside
  int buttons;
  ButtonState state;
  int held;
  int holds_mouse;
};

struct Case {
  const char* name;
  int start_disabled;
  std::vector<Step> steps;
  int clicks;
};

}  // namespace

TEST_F(Widgets, StateMachineCases) {
  const ButtonState N = BUTTON_NORMAL, V = BUTTON_HOVER, O = BUTTON_HELD_OUTSIDE, H = BUTTON_HELD,
                    C = BUTTON_CLICKED, A = BUTTON_AFTER_CLICK, D = BUTTON_DISABLED;
  const Case cases[] = {
      {"press inside, out, back in, release: one click",
       0,
       {{1, 0, V, 0, 0}, {1, 1, H, 1, 1}, {0, 1, O, 1, 1}, {1, 1, H, 1, 1}, {1, 0, C, 1, 1}, {1, 0, V, 1, 0},
        {1, 0, V, 0, 0}},
       1},
      {"press inside, out, release outside: no click, mouse free",
       0,
       {{1, 0, V, 0, 0}, {1, 1, H, 1, 1}, {0, 1, O, 1, 1}, {0, 0, N, 0, 0}},
       0},
      {"press on empty space, move onto the button, release: click",
       0,
       {{0, 1, N, 0, 0}, {1, 1, H, 1, 1}, {1, 0, C, 1, 1}, {1, 0, V, 1, 0}},
       1},
      {"click, then leave with all buttons up: normal and free",
       0,
       {{1, 0, V, 0, 0}, {1, 1, H, 1, 1}, {1, 0, C, 1, 1}, {0, 0, N, 1, 0}},
       1},
      {"right click: held_buttons 2",
       0,
       {{1, 0, V, 0, 0}, {1, 2, H, 2, 1}, {1, 0, C, 2, 1}, {1, 0, V, 2, 0}},
       1},
      {"left, then right too, release right: click with 3, mouse kept until left is up",
       0,
       {{1, 0, V, 0, 0},
        {1, 1, H, 1, 1},
        {1, 3, H, 3, 1},
        {1, 1, C, 3, 1},
        {1, 1, A, 1, 1},
        {0, 1, A, 1, 1},
        {1, 1, A, 1, 1},
        {1, 0, V, 0, 0}},
       1},
      {"after a click, pressing another button again inside is a second click",
       0,
       {{1, 0, V, 0, 0}, {1, 3, H, 3, 1}, {1, 2, C, 3, 1}, {1, 2, A, 2, 1}, {1, 3, H, 3, 1}, {1, 2, C, 3, 1}},
       2},
      {"after a click, pressing another button outside lets go",
       0,
       {{1, 0, V, 0, 0}, {1, 3, H, 3, 1}, {1, 1, C, 3, 1}, {0, 1, A, 1, 1}, {0, 3, N, 0, 0}},
       1},
      {"two buttons down, one released outside: no click, kept until all are up",
       0,
       {{1, 0, V, 0, 0}, {1, 1, H, 1, 1}, {0, 3, O, 3, 1}, {0, 1, A, 1, 1}, {1, 0, V, 0, 0}},
       0},
      {"disabled stays disabled through any mouse activity",
       1,
       {{1, 0, D, 0, 0}, {1, 1, D, 0, 0}, {0, 1, D, 0, 0}, {1, 0, D, 0, 0}, {1, 3, D, 0, 0}, {1, 0, D, 0, 0}},
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reset_widgets();
    set_mouse(OUT_X, OUT_Y, 0);
    TextButton b;
    text_button_init(&b, 100, 100, 199, 115, "OK", ALIGN_CENTRE, 1);
    if (c.start_disabled) button_disable(&b);
    int clicks = 0, sounds = 0;
    for (size_t i = 0; i < c.steps.size(); i++) {
      const Step& s = c.steps[i];
      SCOPED_TRACE("step " + std::to_string(i));
      sounds += frame(&b, s.inside ? IN_X : OUT_X, s.inside ? IN_Y : OUT_Y, s.buttons);
      clicks += b.state == BUTTON_CLICKED;
      EXPECT_EQ(b.state, s.state);
      EXPECT_EQ(b.held_buttons, s.held);
      EXPECT_EQ(captured_widget_id == b.id, s.holds_mouse == 1);
      if (!s.holds_mouse) {
        EXPECT_EQ(captured_widget_id, -1);
      }
    }
    EXPECT_EQ(clicks, c.clicks);
    EXPECT_EQ(sounds, c.clicks);  // the click sound plays once per click
  }
}

TEST_F(Widgets, DialogButtonsRespectTheCapture) {
  TextButton a, b;
  text_button_init(&a, 100, 100, 199, 115, "OK", ALIGN_LEFT, 1);
  text_button_init(&b, 300, 100, 399, 115, "Cancel", ALIGN_LEFT, 1);
  auto both = [&](int x, int y, int buttons) {
    set_mouse(x, y, buttons);
    text_button_update(&a);
    text_button_update(&b);
  };
  both(150, 108, 0);
  both(150, 108, 1);
  ASSERT_EQ(a.state, BUTTON_HELD);
  for (int i = 0; i < 3; i++) {
    both(350, 108, 1);  // dragged onto the other button
    EXPECT_EQ(a.state, BUTTON_HELD_OUTSIDE);
    EXPECT_EQ(b.state, BUTTON_NORMAL);
    EXPECT_EQ(captured_widget_id, a.id);
  }
  both(350, 108, 0);  // released there: no click for either
  EXPECT_EQ(a.state, BUTTON_NORMAL);
  EXPECT_NE(b.state, BUTTON_CLICKED);
  EXPECT_EQ(captured_widget_id, -1);
  both(350, 108, 0);
  EXPECT_EQ(b.state, BUTTON_HOVER);
}

TEST_F(Widgets, MenuItemsTakeTheMouseWhileDragging) {
  AreaButton a, b;
  area_button_init(&a, 0, 16, 127, 31, 0);
  area_button_init(&b, 0, 32, 127, 47, 0);
  auto both = [&](int y, int buttons) {
    clear_effect_played();
    set_mouse(50, y, buttons);
    area_button_update(&a);
    area_button_update(&b);
  };
  both(20, 1);
  ASSERT_EQ(a.state, BUTTON_HELD);
  both(40, 1);  // onto the second item: it takes the mouse and shows pressed
  EXPECT_EQ(b.state, BUTTON_HELD);
  EXPECT_EQ(captured_widget_id, b.id);
  both(40, 1);  // the first one goes back to normal
  EXPECT_EQ(a.state, BUTTON_NORMAL);
  EXPECT_EQ(b.state, BUTTON_HELD);
  both(40, 0);
  EXPECT_EQ(a.state, BUTTON_NORMAL);
  EXPECT_EQ(b.state, BUTTON_CLICKED);
  EXPECT_EQ(b.held_buttons, 1);
  EXPECT_EQ(effect_played[SFX_CLICK], 0);  // area buttons leave the sound to their owners
}

TEST_F(Widgets, EveryKindClicksAndAllButTheAreaPlayTheSound) {
  AreaButton area;
  TextButton text;
  ImageCheckBox box;
  ImageButton image;
  area_button_init(&area, 10, 10, 25, 25, 1);
  text_button_init(&text, 10, 10, 25, 25, "T", ALIGN_LEFT, 1);
  check_box_init(&box, 10, 10, 0, object(OBJ_CHECK_OFF), object(OBJ_CHECK_ON), 1);
  image_button_init(&image, 10, 10, object(OBJ_SCROLL_UP), object(OBJ_SCROLL_UP_PRESSED), 1);
  struct {
    const char* name;
    void (*update)(void*);
    void* widget;
    const ButtonState* state;
    int sound;
  } kinds[] = {
      {"area", [](void* w) { area_button_update(static_cast<AreaButton*>(w)); }, &area, &area.state, 0},
      {"text", [](void* w) { text_button_update(static_cast<TextButton*>(w)); }, &text, &text.state, 1},
      {"check box", [](void* w) { check_box_update(static_cast<ImageCheckBox*>(w)); }, &box, &box.state, 1},
      {"image", [](void* w) { image_button_update(static_cast<ImageButton*>(w)); }, &image, &image.state, 1},
  };
  for (auto& k : kinds) {
    SCOPED_TRACE(k.name);
    int sounds = 0;
    for (int buttons : {0, 1, 0}) {
      clear_effect_played();
      set_mouse(12, 12, buttons);
      k.update(k.widget);
      sounds += effect_played[SFX_CLICK];
    }
    EXPECT_EQ(*k.state, BUTTON_CLICKED);
    EXPECT_EQ(sounds, k.sound);
    set_mouse(12, 12, 0);
    k.update(k.widget);  // lets go of the mouse for the next kind
    EXPECT_EQ(captured_widget_id, -1);
  }
  EXPECT_EQ(box.checked, 0);  // a check box never changes by itself
}

TEST_F(Widgets, InitialisationHandsOutIdsAndFreesTheMouse) {
  AreaButton a, b;
  area_button_init(&a, 0, 0, 9, 9, 1);
  set_mouse(5, 5, 1);
  area_button_update(&a);
  ASSERT_EQ(captured_widget_id, a.id);
  area_button_init(&b, 20, 0, 29, 9, 1);
  EXPECT_EQ(captured_widget_id, -1);
  EXPECT_EQ(a.id, 0);
  EXPECT_EQ(b.id, 1);
  EXPECT_EQ(next_widget_id, 2);
  EXPECT_EQ(b.state, BUTTON_NORMAL);
  EXPECT_EQ(b.held_buttons, 0);
  area_button_update(&a);
  captured_widget_id = 7;
  release_mouse();
  EXPECT_EQ(captured_widget_id, -1);
  reset_widgets();
  EXPECT_EQ(next_widget_id, 0);
}

TEST_F(Widgets, DisablingAHeldButtonFreesTheMouseAndEnablingRestoresIt) {
  TextButton t;
  text_button_init(&t, 0, 0, 9, 9, "X", ALIGN_LEFT, 1);
  set_mouse(5, 5, 1);
  text_button_update(&t);
  ASSERT_EQ(captured_widget_id, t.id);
  button_disable(&t);
  EXPECT_EQ(t.state, BUTTON_DISABLED);
  EXPECT_EQ(t.held_buttons, 0);
  EXPECT_EQ(captured_widget_id, -1);
  button_enable(&t);
  EXPECT_EQ(t.state, BUTTON_NORMAL);
  text_button_update(&t);
  EXPECT_EQ(t.state, BUTTON_HELD);

  ImageButton i;
  image_button_init(&i, 0, 0, object(OBJ_SCROLL_UP), object(OBJ_SCROLL_UP_PRESSED), 1);
  image_button_update(&i);
  ASSERT_EQ(captured_widget_id, i.id);
  image_button_disable(&i);
  EXPECT_EQ(i.state, BUTTON_DISABLED);
  EXPECT_EQ(captured_widget_id, -1);

  AreaButton a;
  area_button_init(&a, 0, 0, 9, 9, 1);
  button_disable(&a);
  area_button_update(&a);
  EXPECT_EQ(a.state, BUTTON_DISABLED);
  button_enable(&a);
  EXPECT_EQ(a.state, BUTTON_NORMAL);
}

TEST_F(Widgets, CaptionsAreCopiedAndCutToThirtyOneCharacters) {
  TextButton t;
  const char* fits = "0123456789012345678901234567890";  // 31
  text_button_init(&t, 0, 0, 99, 15, fits, ALIGN_LEFT, 1);
  EXPECT_STREQ(t.caption, fits);
  text_button_init(&t, 0, 0, 99, 15, "0123456789012345678901234567890123456789", ALIGN_LEFT, 1);
  EXPECT_EQ(std::strlen(t.caption), 31u);
  EXPECT_EQ(std::string(t.caption), std::string(fits));
  text_button_init(&t, 0, 0, 99, 15, "100% %s %d", ALIGN_LEFT, 1);
  EXPECT_STREQ(t.caption, "100% %s %d");
}

TEST_F(Widgets, TextButtonFaceFollowsTheState) {
  BITMAP* got = create_bitmap_ex(8, 200, 40);
  BITMAP* want = create_bitmap_ex(8, 200, 40);
  const char* caption = "50% off %s";  // drawn as it is, never as a format
  TextButton t;
  for (int align : {ALIGN_LEFT, ALIGN_CENTRE, ALIGN_RIGHT}) {
    text_button_init(&t, 10, 10, 150, 25, caption, align, 1);
    for (ButtonState s : {BUTTON_DISABLED, BUTTON_NORMAL, BUTTON_HOVER, BUTTON_HELD_OUTSIDE, BUTTON_HELD,
                          BUTTON_CLICKED, BUTTON_AFTER_CLICK}) {
      SCOPED_TRACE(std::to_string(align) + "/" + std::to_string(s));
      t.state = s;
      clear_to_color(got, 200);
      clear_to_color(want, 200);
      text_button_draw(&t, got);
      if (s == BUTTON_HELD) {
        rectfill(want, 10, 10, 150, 25, COL_MENU_BG);
        draw_caption(want, 10, 10, 150, 25, caption, align, 1);
      } else {
        draw_frame(want, 10, 10, 150, 25);
        draw_caption(want, 10, 10, 150, 25, caption, align, 0);
      }
      int differ = 0, text = 0;
      for (int y = 0; y < 40; y++)
        for (int x = 0; x < 200; x++) {
          differ += getpixel(got, x, y) != getpixel(want, x, y);
          text += getpixel(got, x, y) == COL_MENU_FONT;
        }
      EXPECT_EQ(differ, 0);
      EXPECT_GT(text, 20);
    }
  }
  // Pressed: the caption moves one pixel right and down.
  t.state = BUTTON_NORMAL;
  clear_to_color(got, 200);
  text_button_draw(&t, got);
  t.state = BUTTON_HELD;
  clear_to_color(want, 200);
  text_button_draw(&t, want);
  for (int y = 10; y < 24; y++)
    for (int x = 12; x < 148; x++) EXPECT_EQ(getpixel(got, x, y) == COL_MENU_FONT, getpixel(want, x + 1, y + 1) == COL_MENU_FONT);
  destroy_bitmap(got);
  destroy_bitmap(want);
}

TEST_F(Widgets, PictureWidgetsTakeTheirRectangleAndPictures) {
  BITMAP* off = object(OBJ_CHECK_OFF);
  ImageCheckBox box;
  check_box_init(&box, 40, 50, 1, off, object(OBJ_CHECK_ON), 1);
  EXPECT_EQ(box.x1, 40);
  EXPECT_EQ(box.y1, 50);
  EXPECT_EQ(box.x2, 40 + off->w - 1);
  EXPECT_EQ(box.y2, 50 + off->h - 1);
  EXPECT_EQ(box.checked, 1);

  check_box_toggle(&box);
  EXPECT_EQ(box.checked, 0);
  check_box_toggle(&box);
  EXPECT_EQ(box.checked, 1);
  box.checked = 2;
  check_box_toggle(&box);
  EXPECT_EQ(box.checked, 1);
  check_box_clear(&box);
  EXPECT_EQ(box.checked, 0);
  check_box_set(&box);
  EXPECT_EQ(box.checked, 1);

  // A picture drawn at the widget's corner with colour 0 transparent.
  auto drawn_as = [](BITMAP* got, int x, int y, BITMAP* pic) {
    for (int py = 0; py < pic->h; py++)
      for (int px = 0; px < pic->w; px++) {
        const int c = getpixel(pic, px, py);
        if (getpixel(got, x + px, y + py) != (c == 0 ? 200 : c)) return false;
      }
    return true;
  };
  BITMAP* b = create_bitmap_ex(8, 100, 100);
  for (int checked : {0, 1}) {
    box.checked = checked;
    for (ButtonState s : {BUTTON_NORMAL, BUTTON_HELD}) {
      box.state = s;
      clear_to_color(b, 200);
      check_box_draw(&box, b);
      EXPECT_TRUE(drawn_as(b, 40, 50, checked ? object(OBJ_CHECK_ON) : off));
    }
  }
  ImageButton ib;
  image_button_init(&ib, 30, 20, object(OBJ_SCROLL_DOWN), object(OBJ_SCROLL_DOWN_PRESSED), 1);
  EXPECT_EQ(ib.x2, 30 + object(OBJ_SCROLL_DOWN)->w - 1);
  EXPECT_EQ(ib.y2, 20 + object(OBJ_SCROLL_DOWN)->h - 1);
  for (ButtonState s : {BUTTON_NORMAL, BUTTON_HOVER, BUTTON_HELD_OUTSIDE, BUTTON_HELD, BUTTON_CLICKED}) {
    ib.state = s;
    clear_to_color(b, 200);
    image_button_draw(&ib, b);
    EXPECT_TRUE(drawn_as(b, 30, 20, s == BUTTON_HELD ? object(OBJ_SCROLL_DOWN_PRESSED) : object(OBJ_SCROLL_DOWN)))
        << s;
  }
  destroy_bitmap(b);
}
