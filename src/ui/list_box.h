// A list of text rows in an inset box, with a vertical scroll bar just
// right of the box. Rows are 16 pixels apart; one of them is highlighted,
// and the scroll bar's value is the first visible row. A click on the box
// is reported as the row under the mouse; what it does is the owner's
// business.
#pragma once

#include <allegro.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "ui/scroll_bar.h"
#include "ui/widgets.h"

enum {
  LIST_ROW_HEIGHT = 16,
  LIST_NO_CLICK = -2,         // list_box_click: the box was not clicked
  LIST_CLICK_BELOW_ROWS = -1  // list_box_click: clicked below the last row
};

struct ListBox {
  int32_t x1, y1, x2, y2;  // the inset box, inclusive; the bar stands at x2 + 1
  int32_t visible_rows;
  int32_t selected;               // the highlighted row
  std::vector<std::string> rows;  // the text shown in each row
  AreaButton area;                // the box itself: clicks on rows
  VScrollBar bar;                 // value: the first visible row
};

// A box of `visible_rows` rows with its top left corner at (x1, y1) and
// its right edge at x2; only its row area is set up here (it takes the
// next widget id), the rows and the scroll bar come with list_box_set_rows.
void list_box_init(ListBox* box, int x1, int y1, int x2, int visible_rows);

// New rows and highlighted row (kept within the rows). The scroll bar
// starts with the highlighted row in view, as the last visible row when
// it lies below the first page. Rows that all fit give a bar with the
// range 0 to 1 that does not react.
void list_box_set_rows(ListBox* box, std::vector<std::string> rows, int selected);

// Boxes of one dialog are updated together, all row areas first and then
// all scroll bars: the order in which their widgets may take the mouse.
void list_boxes_update(std::initializer_list<ListBox*> boxes);

// When the box was clicked in this update: plays the click sound and gives
// the row under the mouse, or LIST_CLICK_BELOW_ROWS. Otherwise
// LIST_NO_CLICK.
int list_box_click(const ListBox* box);

// The inset box, a static part of the dialog.
void list_box_draw_frame(const ListBox* box, BITMAP* bmp);
// The scroll bar and the visible rows; row texts are kept inside the box.
void list_box_draw(const ListBox* box, BITMAP* bmp);
