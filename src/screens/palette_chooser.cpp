#include "screens/palette_chooser.h"

#include <allegro.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "screens/palette_editor.h"
#include "screens/palette_frame.h"
#include "palette/palette_entries.h"
#include "palette/palette_files.h"
#include "ui/frames.h"
#include "ui/list_box.h"
#include "ui/widgets.h"

namespace {

enum { LIST_X1 = 120, LIST_Y1 = 152, LIST_X2 = 351, LIST_ROWS = 17 };

const char DEFAULT_ROW[] = "- Default -    ";  // the four spaces stand in for ".FCL"

struct Row {
  char name[PALETTE_LIST_NAME_SIZE];
};

enum Outcome { NONE, CREATE, OK, CANCEL };

struct Chooser {
  std::vector<Row> rows;
  TextButton create;
  TextButton ok;
  TextButton cancel;
  ListBox list;  // one row per entry of rows; selected: the highlighted one
};

RGB* default_palette() { return static_cast<RGB*>(MainDatafile[OBJ_DEFAULT_PALETTE].dat); }

int enter_down() { return key[KEY_ENTER] || key[KEY_ENTER_PAD]; }

void build_list(Chooser& c) {
  Row first{};
  std::snprintf(first.name, sizeof first.name, "%s", DEFAULT_ROW);
  c.rows.push_back(first);
  for (const std::string& name : list_palette_files(PALETTE_LIST_MAX - 1)) {
    Row row{};
    std::snprintf(row.name, sizeof row.name, "%.31s", name.c_str());
    c.rows.push_back(row);
  }
}

// The row naming the current palette, or the default row.
int current_row(const Chooser& c) {
  if (settings.palette_name[0] == '\0') return 0;
  for (size_t i = 1; i < c.rows.size(); i++)
    if (std::strncmp(c.rows[i].name, settings.palette_name, PALETTE_LIST_NAME_SIZE) == 0) return static_cast<int>(i);
  return 0;
}

// Shows the palette of a row; a file that can no longer be read leaves
// the display as it is.
void preview_row(const Chooser& c, int row) {
  if (row == 0) {
    set_palette(default_palette());
    return;
  }
  PALETTE pal;
  if (read_palette_file(c.rows[static_cast<size_t>(row)].name, pal)) set_palette(pal);
}

// Back to the palette named by the settings.
void restore_palette() {
  if (settings.palette_name[0] == '\0') {
    set_palette(default_palette());
    return;
  }
  char name[PALETTE_LIST_NAME_SIZE + 1] = {};
  std::memcpy(name, settings.palette_name, PALETTE_LIST_NAME_SIZE);
  PALETTE pal;
  if (read_palette_file(name, pal)) set_palette(pal);
}

// A row's name as shown: without its last four characters, ".FCL" or the
// default row's four spaces.
std::string shown_name(const Row& row) {
  const size_t length = strnlen(row.name, PALETTE_LIST_NAME_SIZE);
  return std::string(row.name, length > 4 ? length - 4 : 0);
}

void show_chooser(const Chooser& c) {
  copy_scene();
  text_button_draw(&c.create, BackBuffer);
  text_button_draw(&c.ok, BackBuffer);
  text_button_draw(&c.cancel, BackBuffer);
  list_box_draw(&c.list, BackBuffer);
  present_frame();
}

}  // namespace

void palette_chooser() {
  Chooser c;
  build_list(c);

  text_button_init(&c.create, 120, 432, 367, 455, "Create a New Color Palette", ALIGN_CENTRE, 1);
  text_button_init(&c.ok, 112, 464, 183, 479, "OK!", ALIGN_CENTRE, 1);
  text_button_init(&c.cancel, 616, 464, 687, 479, "Cancel", ALIGN_CENTRE, 1);
  list_box_init(&c.list, LIST_X1, LIST_Y1, LIST_X2, LIST_ROWS);
  std::vector<std::string> names;
  for (const Row& row : c.rows) names.push_back(shown_name(row));
  list_box_set_rows(&c.list, std::move(names), current_row(c));
  draw_palette_dialog_frame("Adjust Colors", "Available Palettes", &c.list);

  Outcome outcome = NONE;
  for (;;) {
    text_button_update(&c.create);
    text_button_update(&c.ok);
    text_button_update(&c.cancel);
    list_boxes_update({&c.list});
    if (c.create.state == BUTTON_CLICKED) outcome = CREATE;
    if (c.ok.state == BUTTON_CLICKED) outcome = OK;
    if (c.cancel.state == BUTTON_CLICKED) outcome = CANCEL;
    const int row = list_box_click(&c.list);
    if (row >= 0) {
      c.list.selected = row;
      preview_row(c, row);
    }
    show_chooser(c);
    if (key[KEY_ESC]) {
      while (key[KEY_ESC]) show_chooser(c);
      outcome = CANCEL;
      break;
    }
    if (enter_down()) {
      while (enter_down()) show_chooser(c);
      outcome = OK;
      break;
    }
    if (outcome != NONE) break;
  }

  switch (outcome) {
    case OK:
      std::memset(settings.palette_name, 0, sizeof settings.palette_name);
      if (c.list.selected != 0)
        std::snprintf(settings.palette_name, sizeof settings.palette_name, "%.31s",
                      c.rows[static_cast<size_t>(c.list.selected)].name);
      break;
    case CREATE:
      if (palette_editor() == 1) break;  // the editor has set the name and the palette
      restore_palette();
      break;
    default:
      restore_palette();
      break;
  }
}
