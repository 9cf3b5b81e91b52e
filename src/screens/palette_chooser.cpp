#include "screens/palette_chooser.h"

#include <allegro.h>
#include <dirent.h>
#include <fnmatch.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "screens/palette_editor.h"
#include "palette/palette_entries.h"
#include "palette/palette_files.h"
#include "sound/sound.h"
#include "ui/frames.h"
#include "ui/scroll_bar.h"
#include "ui/widgets.h"

namespace {

enum {
  LIST_X1 = 120,
  LIST_Y1 = 152,
  LIST_X2 = 351,
  LIST_Y2 = 423,
  LIST_ROWS = 17,
  ROW_HEIGHT = 16,
  SCROLL_X = 352
};

const char DEFAULT_ROW[] = "- Default -    ";  // the four spaces stand in for ".FCL"

struct Row {
  char name[PALETTE_LIST_NAME_SIZE];
};

enum Outcome { NONE, CREATE, OK, CANCEL };

struct Chooser {
  std::vector<Row> rows;
  int selected = 0;
  TextButton create;
  TextButton ok;
  TextButton cancel;
  AreaButton list_area;
  VScrollBar bar;
};

RGB* default_palette() { return static_cast<RGB*>(MainDatafile[OBJ_DEFAULT_PALETTE].dat); }

int enter_down() { return key[KEY_ENTER] || key[KEY_ENTER_PAD]; }

// Byte by byte as signed 8-bit values up to the first difference.
int compare_names(const char* a, const char* b) {
  for (int k = 0; k < PALETTE_LIST_NAME_SIZE; k++) {
    const int ca = static_cast<signed char>(a[k]);
    const int cb = static_cast<signed char>(b[k]);
    if (ca != cb) return ca - cb;
  }
  return 0;
}

void build_list(Chooser& c) {
  Row first{};
  std::snprintf(first.name, sizeof first.name, "%s", DEFAULT_ROW);
  c.rows.push_back(first);
  if (DIR* dir = opendir("Colors")) {
    while (const dirent* found = readdir(dir)) {
      if (static_cast<int>(c.rows.size()) >= PALETTE_LIST_MAX) break;
      if (fnmatch("*.FCL", found->d_name, FNM_CASEFOLD) != 0) continue;
      PALETTE probe;
      if (!read_palette_file(found->d_name, probe)) continue;  // unreadable or short
      Row row{};
      std::snprintf(row.name, sizeof row.name, "%.31s", found->d_name);
      c.rows.push_back(row);
    }
    closedir(dir);
  }
  const int count = static_cast<int>(c.rows.size());
  for (int i = 1; i < count - 1; i++)
    for (int j = i + 1; j < count; j++)
      if (compare_names(c.rows[static_cast<size_t>(j)].name, c.rows[static_cast<size_t>(i)].name) < 0) {
        const Row t = c.rows[static_cast<size_t>(i)];
        c.rows[static_cast<size_t>(i)] = c.rows[static_cast<size_t>(j)];
        c.rows[static_cast<size_t>(j)] = t;
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

void draw_static_parts() {
  draw_frame(SceneBuffer, 112, 120, 687, 135);
  draw_frame(SceneBuffer, 112, 136, 687, 463);
  draw_frame(SceneBuffer, 184, 464, 615, 479);
  draw_text_centre(SceneBuffer, 400, 124, COL_MENU_FONT, "Adjust Colors");
  draw_text(SceneBuffer, 124, 140, COL_MENU_FONT, "Available Palettes");
  draw_inset_box(SceneBuffer, LIST_X1, LIST_Y1, LIST_X2, LIST_Y2);
  draw_rle_sprite(SceneBuffer, static_cast<RLE_SPRITE*>(MainDatafile[OBJ_PALETTE_PREVIEW].dat), 376, 152);
}

void show_chooser(const Chooser& c) {
  blit(SceneBuffer, BackBuffer, 0, 0, 0, 0, SceneBuffer->w, SceneBuffer->h);
  text_button_draw(&c.create, BackBuffer);
  text_button_draw(&c.ok, BackBuffer);
  text_button_draw(&c.cancel, BackBuffer);
  vscroll_draw(&c.bar, BackBuffer);
  const int count = static_cast<int>(c.rows.size());
  for (int r = 0; r < LIST_ROWS; r++) {
    const int i = c.bar.value + r;
    const int top = LIST_Y1 + 1 + ROW_HEIGHT * r;
    int colour = COL_MENU_FONT;
    if (i == c.selected) {
      rectfill(BackBuffer, LIST_X1 + 1, top, LIST_X2 - 1, top + 13, COL_MENU_SELECTED_BG);
      colour = COL_MENU_SELECTED_FONT;
    }
    if (i >= 0 && i < count) {
      // The name without its last four characters: ".FCL", or the
      // default row's four spaces.
      char text[PALETTE_LIST_NAME_SIZE + 1] = {};
      std::memcpy(text, c.rows[static_cast<size_t>(i)].name, PALETTE_LIST_NAME_SIZE);
      const int shown = static_cast<int>(std::strlen(text)) - 4;
      text[shown > 0 ? shown : 0] = '\0';
      draw_text(BackBuffer, 128, top + 3, colour, text);
    }
  }
  present_frame();
}

}  // namespace

void palette_chooser() {
  Chooser c;
  build_list(c);
  const int count = static_cast<int>(c.rows.size());
  c.selected = current_row(c);

  text_button_init(&c.create, 120, 432, 367, 455, "Create a New Color Palette", ALIGN_CENTRE, 1);
  text_button_init(&c.ok, 112, 464, 183, 479, "OK!", ALIGN_CENTRE, 1);
  text_button_init(&c.cancel, 616, 464, 687, 479, "Cancel", ALIGN_CENTRE, 1);
  area_button_init(&c.list_area, LIST_X1, LIST_Y1, LIST_X2, LIST_Y2, 1);
  const int fits = count <= LIST_ROWS;
  vscroll_init(&c.bar, SCROLL_X, LIST_Y1, LIST_Y2, 0, fits ? 1 : count - LIST_ROWS,
               c.selected > LIST_ROWS - 1 ? c.selected - (LIST_ROWS - 1) : 0);
  if (fits) vscroll_disable(&c.bar);
  draw_static_parts();

  Outcome outcome = NONE;
  for (;;) {
    text_button_update(&c.create);
    text_button_update(&c.ok);
    text_button_update(&c.cancel);
    area_button_update(&c.list_area);
    vscroll_update(&c.bar);
    if (c.create.state == BUTTON_CLICKED) outcome = CREATE;
    if (c.ok.state == BUTTON_CLICKED) outcome = OK;
    if (c.cancel.state == BUTTON_CLICKED) outcome = CANCEL;
    if (c.list_area.state == BUTTON_CLICKED) {
      play_effect(SFX_CLICK);
      const int row = (mouse_y - LIST_Y1) / ROW_HEIGHT + c.bar.value;
      if (row >= 0 && row < count) {
        c.selected = row;
        preview_row(c, row);
      }
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
      if (c.selected != 0)
        std::snprintf(settings.palette_name, sizeof settings.palette_name, "%.31s",
                      c.rows[static_cast<size_t>(c.selected)].name);
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
