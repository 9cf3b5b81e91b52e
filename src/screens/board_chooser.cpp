#include "screens/board_chooser.h"

#include <allegro.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/datafile_check.h"
#include "platform/game_paths.h"
#include "platform/lifecycle.h"
#include "board/board_load.h"
#include "board/style_file.h"
#include "board/style_list.h"
#include "palette/palette_entries.h"
#include "screens/board_preview.h"
#include "ui/frames.h"
#include "ui/list_box.h"
#include "ui/prompts.h"
#include "ui/widgets.h"

char chosen_board_file[STYLE_FILE_NAME_SIZE] = "fgboards.dat";
int chosen_board_index = -1;

namespace {

enum {
  NAME_SIZE = 32,
  STYLE_ROWS = 6,
  PATTERN_ROWS = 8,
  STYLE_LIST_TOP = 184,
  PATTERN_LIST_TOP = 296,
  LIST_X1 = 276,
  LIST_X2 = 507
};

struct Chooser {
  std::vector<StyleEntry> styles;
  DATAFILE* loaded = nullptr;  // the selected style's datafile
  TextButton ok;
  TextButton cancel;
  ListBox style_list;    // selected: the selected style
  ListBox pattern_list;  // the selected style's patterns
  BoardPreview preview;  // of the selected pattern, made from `loaded`
};

int enter_down() { return key[KEY_ENTER] || key[KEY_ENTER_PAD]; }

void build_style_list(Chooser& c) {
  const std::vector<std::string> files = list_style_files();
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

// A name field as shown: up to its first zero byte, at most 32 bytes.
std::string shown_name(const char* name) { return std::string(name, strnlen(name, NAME_SIZE)); }

// The pattern names of the loaded style; the selected pattern is kept
// within the new list.
void build_pattern_list(Chooser& c) {
  const uint8_t* layout = style_layout(c.loaded, nullptr);
  int p = read_u8(layout, 0x21);
  if (p > MAX_PATTERNS) p = MAX_PATTERNS;
  const uint32_t table = read_u32(layout, 0x26);
  std::vector<std::string> names;
  for (int q = 0; q < p; q++) {
    const uint8_t* name = layout + read_u32(layout, table + 4u * static_cast<uint32_t>(q));
    names.push_back(shown_name(reinterpret_cast<const char*>(name)));
  }
  list_box_set_rows(&c.pattern_list, std::move(names), c.pattern_list.selected);
}

// The preview follows the selected pattern of the loaded style; the
// datafile stays in memory while it is selected, so the preview never
// reads the file again.
void preview_selected_pattern(Chooser& c) { board_preview_set(&c.preview, c.loaded, c.pattern_list.selected); }

// Makes style `index` the selected one with its datafile loaded. When the
// file no longer loads or is no longer valid nothing changes and the
// result is 0.
int select_style(Chooser& c, int index) {
  DATAFILE* dat = load_valid_style(c.styles[static_cast<size_t>(index)].file);
  if (!dat) return 0;
  if (c.loaded) unload_datafile(c.loaded);
  c.loaded = dat;
  c.style_list.selected = index;
  build_pattern_list(c);
  preview_selected_pattern(c);
  return 1;
}

void draw_static_parts(const Chooser& c) {
  draw_frame(SceneBuffer, 268, 152, 531, 167);
  draw_text_centre(SceneBuffer, 400, 156, COL_MENU_FONT, "Select a Board Style and Pattern");
  draw_frame(SceneBuffer, 268, 168, 531, 431);
  draw_text(SceneBuffer, 280, 172, COL_MENU_FONT, "Available Styles");
  list_box_draw_frame(&c.style_list, SceneBuffer);
  draw_text(SceneBuffer, 280, 284, COL_MENU_FONT, "Available Patterns");
  list_box_draw_frame(&c.pattern_list, SceneBuffer);
  draw_frame(SceneBuffer, 340, 432, 459, 447);
  board_preview_draw_frame(SceneBuffer);
}

void show_chooser(const Chooser& c) {
  copy_scene();
  text_button_draw(&c.ok, BackBuffer);
  text_button_draw(&c.cancel, BackBuffer);
  list_box_draw(&c.style_list, BackBuffer);
  list_box_draw(&c.pattern_list, BackBuffer);
  board_preview_draw(&c.preview, BackBuffer);
  present_frame();
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

  text_button_init(&c.ok, 268, 432, 339, 447, "OK!", ALIGN_CENTRE, 1);
  text_button_init(&c.cancel, 460, 432, 531, 447, "Cancel", ALIGN_CENTRE, 1);
  list_box_init(&c.style_list, LIST_X1, STYLE_LIST_TOP, LIST_X2, STYLE_ROWS);
  list_box_init(&c.pattern_list, LIST_X1, PATTERN_LIST_TOP, LIST_X2, PATTERN_ROWS);

  // Preselection: the style in play with its pattern.
  int preselected = 0;
  for (int i = 0; i < style_count; i++)
    if (std::strncmp(c.styles[static_cast<size_t>(i)].file, board_file_name, sizeof board_file_name) == 0) {
      preselected = i;
      c.pattern_list.selected = current_board_index == -1 ? 0 : current_board_index;
      break;
    }
  // The files were valid a moment ago; should the preselected one have
  // gone since, the first style that still loads takes its place.
  if (!select_style(c, preselected)) {
    c.pattern_list.selected = 0;
    int i = 0;
    while (i < style_count && !select_style(c, i)) i++;
    if (i == style_count) fatal_error(6);
  }
  std::vector<std::string> style_names;
  for (const StyleEntry& entry : c.styles) style_names.push_back(shown_name(entry.name));
  list_box_set_rows(&c.style_list, std::move(style_names), c.style_list.selected);
  draw_static_parts(c);

  int result = -1;
  do {
    text_button_update(&c.ok);
    text_button_update(&c.cancel);
    list_boxes_update({&c.style_list, &c.pattern_list});
    if (c.ok.state == BUTTON_CLICKED || enter_down()) {
      while (enter_down()) show_chooser(c);
      result = 1;
    } else if (c.cancel.state == BUTTON_CLICKED) {
      result = 0;
    } else {
      const int style = list_box_click(&c.style_list);
      // A style that can no longer be loaded leaves the selection as it was.
      if (style >= 0 && style != c.style_list.selected) select_style(c, style);
      const int pattern = list_box_click(&c.pattern_list);
      if (pattern >= 0 && pattern != c.pattern_list.selected) {
        c.pattern_list.selected = pattern;
        preview_selected_pattern(c);
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
    std::snprintf(chosen_board_file, sizeof chosen_board_file, "%.15s",
                  c.styles[static_cast<size_t>(c.style_list.selected)].file);
    chosen_board_index = c.pattern_list.selected;
  }
  board_preview_clear(&c.preview);
  unload_datafile(c.loaded);
  return result;
}
