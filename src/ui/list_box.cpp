#include "ui/list_box.h"

#include <utility>

#include "palette/palette_entries.h"
#include "sound/sound.h"
#include "ui/frames.h"

void list_box_init(ListBox* box, int x1, int y1, int x2, int visible_rows) {
  box->x1 = x1;
  box->y1 = y1;
  box->x2 = x2;
  box->y2 = y1 + visible_rows * LIST_ROW_HEIGHT - 1;
  box->visible_rows = visible_rows;
  box->selected = 0;
  box->rows.clear();
  area_button_init(&box->area, box->x1, box->y1, box->x2, box->y2, 1);
}

void list_box_set_rows(ListBox* box, std::vector<std::string> rows, int selected) {
  box->rows = std::move(rows);
  const int count = static_cast<int>(box->rows.size());
  const int page = box->visible_rows;
  if (selected >= count) selected = count - 1;
  if (selected < 0) selected = 0;
  box->selected = selected;
  const int fits = count <= page;
  vscroll_init(&box->bar, box->x2 + 1, box->y1, box->y2, 0, fits ? 1 : count - page,
               selected > page - 1 ? selected - (page - 1) : 0);
  if (fits) vscroll_disable(&box->bar);
}

void list_boxes_update(std::initializer_list<ListBox*> boxes) {
  for (ListBox* box : boxes) area_button_update(&box->area);
  for (ListBox* box : boxes) vscroll_update(&box->bar);
}

int list_box_click(const ListBox* box) {
  if (box->area.state != BUTTON_CLICKED) return LIST_NO_CLICK;
  play_effect(SFX_CLICK);
  int visible = (mouse_y - box->y1) / LIST_ROW_HEIGHT;
  if (visible < 0) visible = 0;
  if (visible > box->visible_rows - 1) visible = box->visible_rows - 1;
  const int row = box->bar.value + visible;
  return row < static_cast<int>(box->rows.size()) ? row : LIST_CLICK_BELOW_ROWS;
}

void list_box_draw_frame(const ListBox* box, BITMAP* bmp) { draw_inset_box(bmp, box->x1, box->y1, box->x2, box->y2); }

void list_box_draw(const ListBox* box, BITMAP* bmp) {
  vscroll_draw(&box->bar, bmp);
  int cx1, cy1, cx2, cy2;
  get_clip_rect(bmp, &cx1, &cy1, &cx2, &cy2);
  const int clipping = get_clip_state(bmp);
  set_clip_rect(bmp, box->x1 + 1, 0, box->x2 - 1, bmp->h - 1);
  const int count = static_cast<int>(box->rows.size());
  for (int r = 0; r < box->visible_rows; r++) {
    const int i = box->bar.value + r;
    if (i < 0 || i >= count) continue;
    const int top = box->y1 + 1 + LIST_ROW_HEIGHT * r;
    const int selected = i == box->selected;
    if (selected) rectfill(bmp, box->x1 + 1, top, box->x2 - 1, top + 13, COL_MENU_SELECTED_BG);
    draw_text(bmp, box->x1 + 8, top + 3, selected ? COL_MENU_SELECTED_FONT : COL_MENU_FONT,
              box->rows[static_cast<size_t>(i)].c_str());
  }
  set_clip_rect(bmp, cx1, cy1, cx2, cy2);
  set_clip_state(bmp, clipping);
}
