// The drop-down menus of the main screen's menu bar: File and Options.
// Each is a modal loop of frames that draws its panel over the current
// scene and returns the number of the chosen item, or -1 when the menu was
// closed without a choice (Esc, a click outside the items, or a press on
// the other menu's bar button). The menus change no setting themselves.
#pragma once

#include <allegro.h>

enum {
  MENU_TEXT_SIZE = 40,  // one entry of the item text table
  MENU_TEXT_COUNT = 15,
  FILE_MENU_ITEM_COUNT = 10,
  OPTIONS_MENU_ITEM_COUNT = 5,
  MENU_ROW_HEIGHT = 16,
  MENU_FIRST_ROW_TOP = 16
};

// Item texts of both menus, File first; drawn as plain text.
extern const char MENU_TEXTS[MENU_TEXT_COUNT][MENU_TEXT_SIZE];

struct MenuItem {
  const char* text;       // an entry of MENU_TEXTS
  const char* key_label;  // right-aligned key name (File menu), or nullptr
  int row_top;            // top y of the 16-pixel row
  int result;             // what run_file_menu or run_options_menu returns for it
  int (*checked)();       // the setting its check mark shows (1 on), or nullptr: no mark
};

struct MenuLayout {
  int x1, y1, x2, y2;  // the panel, inclusive; rows span x1..x2
  int text_x;          // left edge of the item texts
  int key_right;       // right end of the key labels (0 when there are none)
  const MenuItem* items;
  int item_count;
  const int* separators;  // y of each separator line across the panel
  int separator_count;
  int other_x1, other_y1, other_x2, other_y2;  // the other menu's bar button
};

extern const MenuItem FILE_MENU_ITEMS[FILE_MENU_ITEM_COUNT];
extern const MenuItem OPTIONS_MENU_ITEMS[OPTIONS_MENU_ITEM_COUNT];
extern const MenuLayout FILE_MENU;
extern const MenuLayout OPTIONS_MENU;

// Top-left corner of the check mark in the "'?' Marks" row; the mark of
// another row sits as far below that row's top.
enum { CHECK_MARK_X = 131, CHECK_MARK_Y = 19 };

// 0 New Game .. 7 Quit, 14 Hint, 13 Game ID..., or -1.
int run_file_menu();
// 9 '?' Marks, 10 Graphics Options, 11 Sound Options, 12 Adjust Colors,
// 15 No-Guess Boards, or -1.
int run_options_menu();
// Draws one frame of a menu into bmp over whatever is there: the panel,
// the separators, the rows (row `hovered` highlighted, -1 for none), the
// key labels and the check mark.
void draw_menu(BITMAP* bmp, const MenuLayout& menu, int hovered);
