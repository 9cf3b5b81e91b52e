#include "screens/menus.h"

#include <allegro.h>

#include "platform/extra_settings.h"
#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "palette/palette_entries.h"
#include "sound/sound.h"
#include "ui/frames.h"
#include "ui/widgets.h"

const char MENU_TEXTS[MENU_TEXT_COUNT][MENU_TEXT_SIZE] = {
    "New Game",         "Try Again",          "View High Scores",  "Change Board Style/Pattern",
    "Change Game Mode", "Change Skill Level", "About Fusegrid...", "Quit",
    "'?' Marks",        "Graphics Options",   "Sound Options",     "Adjust Colors",
    "Hint",             "Game ID...",         "No-Guess Boards"};

namespace {
int question_marks_on() { return settings.question_marks == 1; }
int no_guess_on() { return extra_settings.no_guess ? 1 : 0; }
const int FILE_SEPARATORS[] = {72, 136, 168, 200};
const int OPTIONS_SEPARATORS[] = {40, 104};
}  // namespace

// clang-format off
const MenuItem FILE_MENU_ITEMS[FILE_MENU_ITEM_COUNT] = {
    {MENU_TEXTS[0],  "F1",    16,  0,  nullptr},
    {MENU_TEXTS[1],  "F2",    32,  1,  nullptr},
    {MENU_TEXTS[2],  "F3",    48,  2,  nullptr},
    {MENU_TEXTS[3],  "F5",    80,  3,  nullptr},
    {MENU_TEXTS[4],  "F6",    96,  4,  nullptr},
    {MENU_TEXTS[5],  "F7",    112, 5,  nullptr},
    {MENU_TEXTS[6],  nullptr, 144, 6,  nullptr},
    {MENU_TEXTS[7],  "Esc",   176, 7,  nullptr},
    {MENU_TEXTS[12], "H",     208, 14, nullptr},
    {MENU_TEXTS[13], nullptr, 224, 13, nullptr}};

const MenuItem OPTIONS_MENU_ITEMS[OPTIONS_MENU_ITEM_COUNT] = {
    {MENU_TEXTS[8],  nullptr, 16,  9,  question_marks_on},
    {MENU_TEXTS[9],  nullptr, 48,  10, nullptr},
    {MENU_TEXTS[10], nullptr, 64,  11, nullptr},
    {MENU_TEXTS[11], nullptr, 80,  12, nullptr},
    {MENU_TEXTS[14], nullptr, 112, 15, no_guess_on}};

const MenuLayout FILE_MENU = {
    0, 16, 207, 239,                             // panel
    4, 204,                                      // text x, key label right end
    FILE_MENU_ITEMS, FILE_MENU_ITEM_COUNT,
    FILE_SEPARATORS, 4,
    128, 0, 255, 15};                            // the Options bar button

const MenuLayout OPTIONS_MENU = {
    128, 16, 319, 127,
    148, 0,                                      // no key labels
    OPTIONS_MENU_ITEMS, OPTIONS_MENU_ITEM_COUNT,
    OPTIONS_SEPARATORS, 2,
    0, 0, 127, 15};                              // the File bar button
// clang-format on

void draw_menu(BITMAP* bmp, const MenuLayout& menu, int hovered) {
  rectfill(bmp, menu.x1, menu.y1, menu.x2, menu.y2, COL_MENU_BG);
  for (int i = 0; i < menu.separator_count; i++) hline(bmp, menu.x1, menu.separators[i], menu.x2, COL_MENU_FONT);
  for (int i = 0; i < menu.item_count; i++) {
    const MenuItem& item = menu.items[i];
    int colour = COL_MENU_FONT;
    if (i == hovered) {
      rectfill(bmp, menu.x1, item.row_top, menu.x2, item.row_top + MENU_ROW_HEIGHT - 1, COL_MENU_SELECTED_BG);
      colour = COL_MENU_SELECTED_FONT;
    }
    draw_text(bmp, menu.text_x, item.row_top + 4, colour, item.text);
    if (item.key_label) draw_text_right(bmp, menu.key_right, item.row_top + 4, colour, item.key_label);
    if (item.checked) {
      const int mark = item.checked() ? OBJ_CHECK_ON : OBJ_CHECK_OFF;
      draw_character_ex(bmp, static_cast<BITMAP*>(MainDatafile[mark].dat), CHECK_MARK_X,
                        item.row_top + CHECK_MARK_Y - MENU_FIRST_ROW_TOP, colour, -1);
    }
  }
}

namespace {

static_assert(OPTIONS_MENU_ITEM_COUNT <= FILE_MENU_ITEM_COUNT, "run_menu sizes its rows for the File menu");

enum MenuStatus { MENU_OPEN, MENU_CHOSEN, MENU_CLOSED };

int run_menu(const MenuLayout& menu) {
  AreaButton items[FILE_MENU_ITEM_COUNT];  // the larger of the two menus
  // Items take over a press that began elsewhere: press on the bar, drag
  // down, release on an item.
  for (int i = 0; i < menu.item_count; i++) {
    const int top = menu.items[i].row_top;
    area_button_init(&items[i], menu.x1, top, menu.x2, top + MENU_ROW_HEIGHT - 1, 0);
  }
  // Pressing on (or dragging onto) the other menu's bar button closes this
  // one; the main screen's bar then opens the other.
  AreaButton other;
  area_button_init(&other, menu.other_x1, menu.other_y1, menu.other_x2, menu.other_y2, 0);
  // A full click anywhere else closes the menu. The press that opened the
  // menu must come up first, or its release would count.
  AreaButton catcher;
  area_button_init(&catcher, 0, 0, 799, 599, 1);
  if (mouse_b) button_disable(&catcher);

  MenuStatus status = MENU_OPEN;
  int hovered = -1;
  while (status == MENU_OPEN && !key[KEY_ESC]) {
    if (!mouse_b && catcher.state == BUTTON_DISABLED) button_enable(&catcher);

    hovered = -1;
    for (int i = 0; i < menu.item_count; i++) {
      area_button_update(&items[i]);
      if (items[i].state == BUTTON_CLICKED) {
        play_effect(SFX_CLICK);
        status = MENU_CHOSEN;
      }
      if (items[i].state != BUTTON_NORMAL) hovered = i;
    }
    if (hovered == -1) {
      area_button_update(&catcher);
      if (catcher.state == BUTTON_CLICKED) status = MENU_CLOSED;
    }
    area_button_update(&other);
    if (other.state == BUTTON_HELD) status = MENU_CLOSED;

    copy_scene();
    draw_menu(BackBuffer, menu, hovered);
    present_frame();
  }

  // The Esc that closed the menu must not also reach the main screen. The
  // wait keeps presenting frames (the scene without the menu).
  while (key[KEY_ESC]) {
    copy_scene();
    present_frame();
  }
  return status == MENU_CHOSEN ? menu.items[hovered].result : -1;
}

}  // namespace

int run_file_menu() { return run_menu(FILE_MENU); }

int run_options_menu() { return run_menu(OPTIONS_MENU); }
