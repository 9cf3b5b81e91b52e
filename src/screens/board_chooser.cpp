#include "screens/board_chooser.h"

#include <allegro.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/datafile_check.h"
#include "platform/lifecycle.h"
#include "board/board_load.h"
#include "board/style_file.h"
#include "board/style_list.h"
#include "palette/palette_entries.h"
#include "sound/sound.h"
#include "ui/frames.h"
#include "ui/prompts.h"
#include "ui/scroll_bar.h"
#include "ui/widgets.h"

char chosen_board_file[STYLE_FILE_NAME_SIZE] = "fgboards.dat";
int chosen_board_index = -1;

namespace {

enum {
  NAME_SIZE = 32,
  STYLE_ROWS = 6,
  PATTERN_ROWS = 8,
  ROW_HEIGHT = 16,
  STYLE_LIST_TOP = 184,
  PATTERN_LIST_TOP = 296,
  LIST_X1 = 276,
  LIST_X2 = 507,
  SCROLL_X = 508
};

struct Chooser {
  std::vector<StyleEntry> styles;
  char patterns[MAX_PATTERNS][NAME_SIZE];
  int pattern_count = 0;
  int selected_style = 0;
  int selected_pattern = 0;
  DATAFILE* loaded = nullptr;  // the selected style's datafile
  TextButton ok;
  TextButton cancel;
  AreaButton style_area;
  AreaButton pattern_area;
  VScrollBar style_bar;
  VScrollBar pattern_bar;
};

int enter_down() { return key[KEY_ENTER] || key[KEY_ENTER_PAD]; }

// A style file that loads, passes the signature test and is valid, or
// nullptr.
DATAFILE* load_valid_style(const char* file) {
  DATAFILE* dat = load_checked_datafile(file);
  if (!dat) return nullptr;
  if (!passes_signature(dat) || !validate_style(dat)) {
    unload_datafile(dat);
    return nullptr;
  }
  return dat;
}

void build_style_list(Chooser& c) {
  const std::vector<std::string> files = find_style_files(".");
  if (files.empty()) fatal_error(5);
  for (const std::string& file : files) {
    if (static_cast<int>(c.styles.size()) >= MAX_STYLES) break;
    DATAFILE* dat = load_valid_style(file.c_str());
    if (!dat) continue;
    StyleEntry entry;
    std::memcpy(entry.name, style_layout(dat, nullptr), NAME_SIZE);
    std::snprintf(entry.file, sizeof entry.file, "%.15s", file.c_str());
    c.styles.push_back(entry);
    unload_datafile(dat);
  }
  if (c.styles.empty()) fatal_error(6);
  sort_style_entries(c.styles.data(), static_cast<int>(c.styles.size()));
}

// A list that fits its rows gets the range 0 to 1 and a disabled bar.
void init_list_bar(VScrollBar* bar, int y_top, int y_bottom, int count, int rows, int selected) {
  const int fits = count <= rows;
  vscroll_init(bar, SCROLL_X, y_top, y_bottom, 0, fits ? 1 : count - rows,
               selected > rows - 1 ? selected - (rows - 1) : 0);
  if (fits) vscroll_disable(bar);
}

// The pattern names of the loaded style; the selected pattern is kept
// within the new list.
void build_pattern_list(Chooser& c) {
  const uint8_t* layout = style_layout(c.loaded, nullptr);
  int p = read_u8(layout, 0x21);
  if (p > MAX_PATTERNS) p = MAX_PATTERNS;
  const uint32_t table = read_u32(layout, 0x26);
  for (int q = 0; q < p; q++)
    std::memcpy(c.patterns[q], layout + read_u32(layout, table + 4u * static_cast<uint32_t>(q)), NAME_SIZE);
  c.pattern_count = p;
  if (c.selected_pattern >= p) c.selected_pattern = p - 1;
  if (c.selected_pattern < 0) c.selected_pattern = 0;
  init_list_bar(&c.pattern_bar, PATTERN_LIST_TOP, PATTERN_LIST_TOP + PATTERN_ROWS * ROW_HEIGHT - 1, c.pattern_count,
                PATTERN_ROWS, c.selected_pattern);
}

// Makes style `index` the selected one with its datafile loaded. When the
// file no longer loads or is no longer valid nothing changes and the
// result is 0.
int select_style(Chooser& c, int index) {
  DATAFILE* dat = load_valid_style(c.styles[static_cast<size_t>(index)].file);
  if (!dat) return 0;
  if (c.loaded) unload_datafile(c.loaded);
  c.loaded = dat;
  c.selected_style = index;
  build_pattern_list(c);
  return 1;
}

void draw_static_parts() {
  draw_frame(SceneBuffer, 268, 152, 531, 167);
  draw_text_centre(SceneBuffer, 400, 156, COL_MENU_FONT, "Select a Board Style and Pattern");
  draw_frame(SceneBuffer, 268, 168, 531, 431);
  draw_text(SceneBuffer, 280, 172, COL_MENU_FONT, "Available Styles");
  draw_inset_box(SceneBuffer, LIST_X1, STYLE_LIST_TOP, LIST_X2, STYLE_LIST_TOP + STYLE_ROWS * ROW_HEIGHT - 1);
  draw_text(SceneBuffer, 280, 284, COL_MENU_FONT, "Available Patterns");
  draw_inset_box(SceneBuffer, LIST_X1, PATTERN_LIST_TOP, LIST_X2, PATTERN_LIST_TOP + PATTERN_ROWS * ROW_HEIGHT - 1);
  draw_frame(SceneBuffer, 340, 432, 459, 447);
}

// One row of a list; the name may fill all 32 bytes without a terminator.
// Names are kept inside the list box.
void draw_row(BITMAP* bmp, int top, const char* name, int selected) {
  char text[NAME_SIZE + 1];
  std::memcpy(text, name, NAME_SIZE);
  text[NAME_SIZE] = 0;
  set_clip_rect(bmp, LIST_X1 + 1, 0, LIST_X2 - 1, bmp->h - 1);
  if (selected) rectfill(bmp, 277, top, 506, top + 13, COL_MENU_SELECTED_BG);
  draw_text(bmp, 284, top + 3, selected ? COL_MENU_SELECTED_FONT : COL_MENU_FONT, text);
  set_clip_rect(bmp, 0, 0, bmp->w - 1, bmp->h - 1);
}

void show_chooser(const Chooser& c) {
  blit(SceneBuffer, BackBuffer, 0, 0, 0, 0, SceneBuffer->w, SceneBuffer->h);
  text_button_draw(&c.ok, BackBuffer);
  text_button_draw(&c.cancel, BackBuffer);
  vscroll_draw(&c.style_bar, BackBuffer);
  vscroll_draw(&c.pattern_bar, BackBuffer);
  const int style_count = static_cast<int>(c.styles.size());
  for (int r = 0; r < STYLE_ROWS; r++) {
    const int i = c.style_bar.value + r;
    if (i >= 0 && i < style_count)
      draw_row(BackBuffer, STYLE_LIST_TOP + 1 + ROW_HEIGHT * r, c.styles[static_cast<size_t>(i)].name,
               i == c.selected_style);
  }
  for (int r = 0; r < PATTERN_ROWS; r++) {
    const int i = c.pattern_bar.value + r;
    if (i >= 0 && i < c.pattern_count)
      draw_row(BackBuffer, PATTERN_LIST_TOP + 1 + ROW_HEIGHT * r, c.patterns[i], i == c.selected_pattern);
  }
  present_frame();
}

// The list row under the mouse, 0 .. rows - 1.
int row_at(int list_top, int rows) {
  int row = (mouse_y - list_top) / ROW_HEIGHT;
  if (row < 0) row = 0;
  if (row > rows - 1) row = rows - 1;
  return row;
}

}  // namespace

int compare_style_names(const char* a, const char* b) {
  for (int k = 0; k < NAME_SIZE; k++) {
    const int ca = static_cast<signed char>(a[k]);
    const int cb = static_cast<signed char>(b[k]);
    if (ca != cb) return ca - cb;
    if (ca == 0) return 0;
  }
  return 0;
}

void sort_style_entries(StyleEntry* entries, int count) {
  for (int i = 0; i < count - 1; i++)
    for (int j = i + 1; j < count; j++)
      if (compare_style_names(entries[j].name, entries[i].name) < 0) {
        const StyleEntry t = entries[i];
        entries[i] = entries[j];
        entries[j] = t;
      }
}

int choose_board() {
  show_wait_notice();
  Chooser c;
  build_style_list(c);
  const int style_count = static_cast<int>(c.styles.size());

  // Preselection: the style in play with its pattern.
  c.selected_style = 0;
  c.selected_pattern = 0;
  for (int i = 0; i < style_count; i++)
    if (std::strncmp(c.styles[static_cast<size_t>(i)].file, board_file_name, sizeof board_file_name) == 0) {
      c.selected_style = i;
      c.selected_pattern = current_board_index == -1 ? 0 : current_board_index;
      break;
    }
  text_button_init(&c.ok, 268, 432, 339, 447, "OK!", ALIGN_CENTRE, 1);
  text_button_init(&c.cancel, 460, 432, 531, 447, "Cancel", ALIGN_CENTRE, 1);
  area_button_init(&c.style_area, LIST_X1, STYLE_LIST_TOP, LIST_X2, STYLE_LIST_TOP + STYLE_ROWS * ROW_HEIGHT - 1, 1);
  area_button_init(&c.pattern_area, LIST_X1, PATTERN_LIST_TOP, LIST_X2,
                   PATTERN_LIST_TOP + PATTERN_ROWS * ROW_HEIGHT - 1, 1);
  // The files were valid a moment ago; should the preselected one have
  // gone since, the first style that still loads takes its place.
  if (!select_style(c, c.selected_style)) {
    c.selected_pattern = 0;
    int i = 0;
    while (i < style_count && !select_style(c, i)) i++;
    if (i == style_count) fatal_error(6);
  }
  init_list_bar(&c.style_bar, STYLE_LIST_TOP, STYLE_LIST_TOP + STYLE_ROWS * ROW_HEIGHT - 1, style_count, STYLE_ROWS,
                c.selected_style);
  draw_static_parts();

  int result = -1;
  do {
    text_button_update(&c.ok);
    text_button_update(&c.cancel);
    area_button_update(&c.style_area);
    area_button_update(&c.pattern_area);
    vscroll_update(&c.style_bar);
    vscroll_update(&c.pattern_bar);
    if (c.ok.state == BUTTON_CLICKED || enter_down()) {
      while (enter_down()) show_chooser(c);
      result = 1;
    } else if (c.cancel.state == BUTTON_CLICKED) {
      result = 0;
    } else {
      if (c.style_area.state == BUTTON_CLICKED) {
        play_effect(SFX_CLICK);
        const int i = row_at(STYLE_LIST_TOP, STYLE_ROWS) + c.style_bar.value;
        // A style that can no longer be loaded leaves the selection as it was.
        if (i < style_count && i != c.selected_style) select_style(c, i);
      }
      if (c.pattern_area.state == BUTTON_CLICKED) {
        play_effect(SFX_CLICK);
        const int i = row_at(PATTERN_LIST_TOP, PATTERN_ROWS) + c.pattern_bar.value;
        if (i < c.pattern_count) c.selected_pattern = i;
      }
    }
    show_chooser(c);
  } while (!key[KEY_ESC] && result == -1);

  if (key[KEY_ESC]) {
    // Esc cancels, also when it came with a confirmation in the same frame.
    while (key[KEY_ESC]) show_chooser(c);
    result = 0;
  }
  if (result == 1) {
    std::snprintf(chosen_board_file, sizeof chosen_board_file, "%.15s", c.styles[static_cast<size_t>(c.selected_style)].file);
    chosen_board_index = c.selected_pattern;
  }
  unload_datafile(c.loaded);
  return result;
}
