#include "screens/menus.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "platform/extra_settings.h"
#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "palette/palette_entries.h"
#include "rules/board_state.h"
#include "sound/sound.h"
#include "ui/widgets.h"
#include "render/effects.h"

namespace {

struct RunawayMenu {};

// Each frame the menu presents is handed to a per-test script that plays
// the player's part for the next frame: pointer, buttons, Esc.
int frames_shown = 0;
std::function<void(int frame, BITMAP* shown)> script;

void show(BITMAP* frame, int, int) {
  frames_shown++;
  if (frames_shown > 200) throw RunawayMenu{};  // a menu that never closes fails instead of hanging
  tick_count.store(40);
  if (script) script(frames_shown, frame);
}

void set_mouse(int x, int y, int b) {
  mouse_x = x;
  mouse_y = y;
  mouse_b = b;
}

BITMAP* copy_of(BITMAP* src) {
  BITMAP* c = create_bitmap_ex(8, src->w, src->h);
  blit(src, c, 0, 0, 0, 0, src->w, src->h);
  return c;
}

// Pixels of the rectangle in the given colour.
int count_colour(BITMAP* bmp, int x1, int y1, int x2, int y2, int colour) {
  int n = 0;
  for (int y = y1; y <= y2; y++)
    for (int x = x1; x <= x2; x++) n += getpixel(bmp, x, y) == colour;
  return n;
}

class Menus : public ::testing::Test {
 protected:
  void SetUp() override {
    default_settings();
    reset_widgets();
    frames_shown = 0;
    script = nullptr;
    driver = FrameDriver{show, 0, 0, nullptr};
    frame_driver = &driver;
    pointer_visible = 0;
    screen_shake = 0.0f;
    set_mouse(0, 0, 0);
    std::memset(const_cast<char*>(key), 0, KEY_MAX);
    // A recognisable scene behind the menus, using none of the menu colours.
    clear_to_color(SceneBuffer, 200);
    for (int i = 0; i < 800; i += 37) rectfill(SceneBuffer, i, 0, i + 5, 599, 201);
  }
  void TearDown() override {
    frame_driver = nullptr;
    script = nullptr;
    std::memset(const_cast<char*>(key), 0, KEY_MAX);
    set_mouse(0, 0, 0);
    reset_widgets();
  }
  FrameDriver driver{};
};

// The press that opened the menu is down on the bar button when the menu
// starts; the player drags onto an item and lets go there.
TEST_F(Menus, PressOnBarDragToItemReleaseChoosesIt) {
  struct {
    int (*run)();
    int bar_x;
    int x;
    const MenuLayout& menu;
  } menus[] = {{run_file_menu, 40, 100, FILE_MENU}, {run_options_menu, 180, 200, OPTIONS_MENU}};
  for (auto& m : menus)
    for (int i = 0; i < m.menu.item_count; i++) {
      SCOPED_TRACE(m.menu.items[i].text);
      frames_shown = 0;
      const int row_y = m.menu.items[i].row_top + 8;
      int held_highlight = 0;
      set_mouse(m.bar_x, 8, 1);
      script = [&](int f, BITMAP* shown) {
        if (f == 1) set_mouse(m.x, 60, 1);  // through other rows (or the gap) on the way
        if (f == 2) set_mouse(m.x, row_y, 1);
        if (f == 3) {
          held_highlight = getpixel(shown, m.menu.x2 - 1, row_y);
          mouse_b = 0;
        }
      };
      EXPECT_EQ(m.run(), m.menu.items[i].result);
      EXPECT_EQ(frames_shown, 4);  // the release is seen in the update after frame 3
      EXPECT_EQ(held_highlight, COL_MENU_SELECTED_BG);
    }
  EXPECT_EQ(FILE_MENU_ITEMS[7].text, MENU_TEXTS[7]);
  EXPECT_STREQ(FILE_MENU_ITEMS[7].text, "Quit");
  EXPECT_STREQ(FILE_MENU_ITEMS[7].key_label, "Esc");
}

TEST_F(Menus, ClickReleaseThenClickAnItem) {
  set_mouse(180, 8, 1);
  script = [](int f, BITMAP*) {
    if (f == 1) mouse_b = 0;  // the opening press comes up on the bar
    if (f == 3) set_mouse(250, 70, 0);
    if (f == 4) mouse_b = 1;
    if (f == 5) mouse_b = 0;
  };
  EXPECT_EQ(run_options_menu(), 11);
  EXPECT_EQ(frames_shown, 6);
}

TEST_F(Menus, PressOnTheOtherBarButtonCloses) {
  // Click File and let go, then press Options: closes as soon as it is down.
  set_mouse(40, 8, 1);
  script = [](int f, BITMAP*) {
    if (f == 1) mouse_b = 0;
    if (f == 3) set_mouse(200, 8, 0);
    if (f == 5) mouse_b = 1;
  };
  EXPECT_EQ(run_file_menu(), -1);
  EXPECT_EQ(frames_shown, 6);
  EXPECT_EQ(mouse_b, 1);  // not waiting for the release: the bar opens the other menu

  // Options open, slide along the bar onto File without letting go.
  frames_shown = 0;
  set_mouse(180, 8, 1);
  script = [](int f, BITMAP*) {
    if (f == 2) mouse_x = 120;
  };
  EXPECT_EQ(run_options_menu(), -1);
  EXPECT_EQ(frames_shown, 3);

  // Pressed on an item, dragged onto the other bar button: closes too.
  frames_shown = 0;
  set_mouse(40, 8, 0);
  script = [](int f, BITMAP*) {
    if (f == 1) set_mouse(40, 40, 1);
    if (f == 2) set_mouse(130, 8, 1);
  };
  EXPECT_EQ(run_file_menu(), -1);
  EXPECT_EQ(frames_shown, 3);
}

TEST_F(Menus, ClickOutsideClosesButTheOpeningReleaseDoesNot) {
  // The opening press is dragged off the menu and released over empty
  // screen: the menu stays open. The next full click there closes it.
  set_mouse(40, 8, 1);
  script = [](int f, BITMAP* shown) {
    if (f == 1) set_mouse(500, 400, 1);
    if (f == 3) mouse_b = 0;
    if (f == 6) {
      EXPECT_EQ(getpixel(shown, 200, 66), COL_MENU_BG);  // still open
      mouse_b = 1;
    }
    if (f == 7) mouse_b = 0;
  };
  EXPECT_EQ(run_file_menu(), -1);
  EXPECT_EQ(frames_shown, 8);

  // A click on the gap between items (over a separator) is outside too.
  frames_shown = 0;
  set_mouse(40, 8, 0);
  script = [](int f, BITMAP*) {
    if (f == 1) set_mouse(100, 72, 1);
    if (f == 2) mouse_b = 0;
  };
  EXPECT_EQ(run_file_menu(), -1);
  EXPECT_EQ(frames_shown, 3);

  // Pressed on an item, dragged off and released outside: no choice and
  // the menu stays open.
  frames_shown = 0;
  set_mouse(40, 8, 0);
  script = [](int f, BITMAP*) {
    if (f == 1) set_mouse(100, 40, 1);
    if (f == 2) set_mouse(600, 300, 1);
    if (f == 3) mouse_b = 0;
    if (f == 6) key[KEY_ESC] = 1;
    if (f == 7) key[KEY_ESC] = 0;
  };
  EXPECT_EQ(run_file_menu(), -1);
  EXPECT_EQ(frames_shown, 7);
}

TEST_F(Menus, EscClosesAndIsWaitedForUntilReleased) {
  set_mouse(40, 8, 1);
  int esc_at_return_frame = -1;
  script = [&](int f, BITMAP* shown) {
    if (f == 1) mouse_b = 0;
    if (f == 2) key[KEY_ESC] = 1;
    if (f == 3) {
      EXPECT_EQ(getpixel(shown, 200, 66), getpixel(SceneBuffer, 200, 66));  // closed while waiting
    }
    if (f == 6) {
      key[KEY_ESC] = 0;
      esc_at_return_frame = f;
    }
  };
  EXPECT_EQ(run_file_menu(), -1);
  EXPECT_EQ(frames_shown, 6);
  EXPECT_EQ(esc_at_return_frame, 6);
  EXPECT_EQ(key[KEY_ESC], 0);

  // Esc already down when the menu opens: no menu frame, just the wait.
  frames_shown = 0;
  key[KEY_ESC] = 1;
  script = [](int f, BITMAP*) {
    if (f == 2) key[KEY_ESC] = 0;
  };
  EXPECT_EQ(run_options_menu(), -1);
  EXPECT_EQ(frames_shown, 2);
}

TEST_F(Menus, HoveredRowIsHighlighted) {
  BITMAP* scene = copy_of(SceneBuffer);
  BITMAP* first = create_bitmap_ex(8, 800, 600);
  set_mouse(40, 8, 1);
  script = [&](int f, BITMAP* shown) {
    if (f == 1) set_mouse(150, 100, 0);  // over "Change Game Mode", no button down
    if (f == 2) blit(shown, first, 0, 0, 0, 0, 800, 600);
    if (f == 3) key[KEY_ESC] = 1;
    if (f == 4) key[KEY_ESC] = 0;
  };
  EXPECT_EQ(run_file_menu(), -1);

  // The panel over the scene, the scene all around it.
  EXPECT_EQ(getpixel(first, 0, 16), COL_MENU_BG);
  EXPECT_EQ(getpixel(first, 207, 239), COL_MENU_BG);
  EXPECT_EQ(getpixel(first, 208, 100), getpixel(scene, 208, 100));
  EXPECT_EQ(getpixel(first, 100, 240), getpixel(scene, 100, 240));
  EXPECT_EQ(getpixel(first, 100, 15), getpixel(scene, 100, 15));
  for (int y : {72, 136, 168, 200}) {
    EXPECT_EQ(count_colour(first, 0, y, 207, y, COL_MENU_FONT), 208) << y;
  }

  // Row 96..111 is filled 91 across the panel, with text and key label in 92.
  EXPECT_EQ(count_colour(first, 0, 96, 207, 111, COL_MENU_SELECTED_BG) +
                count_colour(first, 0, 96, 207, 111, COL_MENU_SELECTED_FONT),
            208 * 16);
  EXPECT_GT(count_colour(first, 4, 100, 150, 107, COL_MENU_SELECTED_FONT), 20);   // "Change Game Mode"
  EXPECT_GT(count_colour(first, 180, 100, 204, 107, COL_MENU_SELECTED_FONT), 5);  // "F6"
  EXPECT_EQ(count_colour(first, 205, 96, 207, 111, COL_MENU_SELECTED_BG), 3 * 16);
  // Every other row is the panel colour with text in 90.
  EXPECT_EQ(count_colour(first, 0, 16, 207, 239, COL_MENU_SELECTED_BG),
            208 * 16 - count_colour(first, 0, 96, 207, 111, COL_MENU_SELECTED_FONT));
  EXPECT_GT(count_colour(first, 4, 180, 100, 187, COL_MENU_FONT), 10);    // "Quit"
  EXPECT_GT(count_colour(first, 170, 180, 204, 187, COL_MENU_FONT), 10);  // "Esc"
  EXPECT_EQ(count_colour(first, 0, 80, 207, 95, COL_MENU_SELECTED_FONT), 0);

  // Pointer in the gap between rows: nothing highlighted.
  frames_shown = 0;
  set_mouse(40, 8, 0);
  script = [&](int f, BITMAP* shown) {
    if (f == 1) mouse_y = 66;
    if (f == 2) {
      EXPECT_EQ(count_colour(shown, 0, 16, 207, 239, COL_MENU_SELECTED_BG), 0);
      key[KEY_ESC] = 1;
    }
    if (f == 3) key[KEY_ESC] = 0;
  };
  EXPECT_EQ(run_file_menu(), -1);
  destroy_bitmap(first);
  destroy_bitmap(scene);
}

// Each check mark shows its own setting: "'?' Marks" the question marks,
// "No-Guess Boards" the no-guess choice; the other setting is set the
// other way, so a mark that read the wrong one would show.
TEST_F(Menus, CheckMarksFollowTheirSettings) {
  struct {
    int row_top;
    bool on;
    bool hovered;
  } cases[] = {
      {16, true, false},  {16, false, false},  {16, true, true},  {16, false, true},
      {112, true, false}, {112, false, false}, {112, true, true}, {112, false, true},
  };
  BITMAP* on = static_cast<BITMAP*>(MainDatafile[OBJ_CHECK_ON].dat);
  BITMAP* off = static_cast<BITMAP*>(MainDatafile[OBJ_CHECK_OFF].dat);
  ASSERT_EQ(on->w, off->w);
  ASSERT_EQ(on->h, off->h);
  int differing = 0;
  for (int y = 0; y < on->h; y++)
    for (int x = 0; x < on->w; x++) differing += (getpixel(on, x, y) != 0) != (getpixel(off, x, y) != 0);
  ASSERT_GT(differing, 0);  // the two pictures can be told apart

  BITMAP* shot = create_bitmap_ex(8, 800, 600);
  for (auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << c.row_top << " on " << c.on << " hovered " << c.hovered);
    const bool question_row = c.row_top == 16;
    settings.question_marks = static_cast<uint8_t>(question_row == c.on ? 1 : 0);
    extra_settings.no_guess = question_row != c.on;
    const int ink = c.hovered ? COL_MENU_SELECTED_FONT : COL_MENU_FONT;
    const int paper = c.hovered ? COL_MENU_SELECTED_BG : COL_MENU_BG;
    frames_shown = 0;
    set_mouse(180, 8, 0);
    script = [&](int f, BITMAP* shown) {
      if (f == 1) mouse_y = c.hovered ? c.row_top + 4 : 60;
      if (f == 2) {
        blit(shown, shot, 0, 0, 0, 0, 800, 600);
        key[KEY_ESC] = 1;
      }
      if (f == 3) key[KEY_ESC] = 0;
    };
    EXPECT_EQ(run_options_menu(), -1);
    BITMAP* mark = c.on ? on : off;
    const int mark_y = CHECK_MARK_Y + c.row_top - 16;
    int wrong = 0;
    for (int y = 0; y < mark->h; y++)
      for (int x = 0; x < mark->w; x++)
        wrong += getpixel(shot, CHECK_MARK_X + x, mark_y + y) != (getpixel(mark, x, y) ? ink : paper);
    EXPECT_EQ(wrong, 0);
    // The text starts at x 148, right of the mark.
    EXPECT_GT(count_colour(shot, 148, c.row_top + 4, 220, c.row_top + 11, ink), 10);
    EXPECT_EQ(count_colour(shot, 128, c.row_top + 4, 130, c.row_top + 15, ink), 0);
  }
  extra_settings.no_guess = false;
  destroy_bitmap(shot);
}

TEST_F(Menus, OptionsPanelLayout) {
  set_mouse(180, 8, 0);
  BITMAP* shot = create_bitmap_ex(8, 800, 600);
  script = [&](int f, BITMAP* shown) {
    if (f == 1) {
      blit(shown, shot, 0, 0, 0, 0, 800, 600);
      key[KEY_ESC] = 1;
    }
    if (f == 2) key[KEY_ESC] = 0;
  };
  EXPECT_EQ(run_options_menu(), -1);
  EXPECT_EQ(getpixel(shot, 128, 16), COL_MENU_BG);
  EXPECT_EQ(getpixel(shot, 319, 127), COL_MENU_BG);
  EXPECT_EQ(getpixel(shot, 127, 50), getpixel(SceneBuffer, 127, 50));
  EXPECT_EQ(getpixel(shot, 320, 50), getpixel(SceneBuffer, 320, 50));
  EXPECT_EQ(getpixel(shot, 200, 128), getpixel(SceneBuffer, 200, 128));
  for (int y : {40, 104}) EXPECT_EQ(count_colour(shot, 128, y, 319, y, COL_MENU_FONT), 192) << y;
  for (int top : {48, 64, 80, 112}) {
    EXPECT_GT(count_colour(shot, 148, top + 4, 300, top + 11, COL_MENU_FONT), 10) << top;
  }
  destroy_bitmap(shot);
}

}  // namespace
