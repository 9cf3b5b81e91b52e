#include "screens/palette_editor.h"

#include <allegro.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "platform/safe_file.h"
#include "screens/palette_frame.h"
#include "palette/palette_entries.h"
#include "palette/palette_files.h"
#include "sound/sound.h"
#include "ui/frames.h"
#include "ui/list_box.h"
#include "ui/prompts.h"
#include "ui/scroll_bar.h"
#include "ui/widgets.h"

namespace {

enum {
  LIST_X1 = 120,
  LIST_Y1 = 152,
  LIST_X2 = 351,
  LIST_ROWS = 11,
  SLIDER_X1 = 144,
  SLIDER_X2 = 335,
  SWATCH_Y1 = 336,
  SWATCH_Y2 = 383,
  MESSAGE_BOX_WIDTH = 432  // the failure messages: box 184 .. 615
};

const int SLIDER_Y[3] = {392, 416, 440};

struct Editor {
  PALETTE work;
  int key = 1;  // 1 .. the selected entry's number of keys
  bool dirty = false;
  TextButton ok;
  TextButton cancel;
  ListBox entries;  // the palette entries; selected: the one being edited
  AreaButton swatch[3];
  HScrollBar slider[3];  // red, green, blue
};

int enter_down() { return key[KEY_ENTER] || key[KEY_ENTER_PAD]; }

int key_index(const Editor& e) { return PALETTE_ENTRIES[e.entries.selected].keys[e.key - 1]; }

// The rectangle of swatch k (0-based) for an entry with `keys` key colours.
void swatch_rect(int k, int keys, int* x1, int* x2) {
  const int d = keys == 1 ? 104 : (keys == 2 ? 52 : 0);
  const int left[3] = {120 + d, 216 + d, 312};
  *x1 = left[k];
  *x2 = left[k] + 55;
}

int component(const RGB& c, int channel) { return channel == 0 ? c.r : (channel == 1 ? c.g : c.b); }

void set_component(RGB& c, int channel, int value) {
  const unsigned char v = static_cast<unsigned char>(value);
  if (channel == 0)
    c.r = v;
  else if (channel == 1)
    c.g = v;
  else
    c.b = v;
}

void select_entry_and_key(Editor& e) {
  button_disable(&e.swatch[1]);
  button_disable(&e.swatch[2]);
  const int keys = PALETTE_ENTRIES[e.entries.selected].key_count;
  for (int k = 0; k < keys; k++) {
    int x1, x2;
    swatch_rect(k, keys, &x1, &x2);
    area_button_init(&e.swatch[k], x1, SWATCH_Y1, x2, SWATCH_Y2, 1);
  }
  const RGB& c = e.work[key_index(e)];
  for (int ch = 0; ch < 3; ch++) hscroll_init(&e.slider[ch], SLIDER_X1, SLIDER_Y[ch], SLIDER_X2, 0, 63, component(c, ch));
}

void draw_static_parts(const Editor& e) {
  draw_palette_dialog_frame("Create a New Color Palette", "Palette Entries", &e.entries);
  const int labels[3] = {OBJ_LABEL_RED, OBJ_LABEL_GREEN, OBJ_LABEL_BLUE};
  for (int ch = 0; ch < 3; ch++)
    draw_sprite(SceneBuffer, static_cast<BITMAP*>(MainDatafile[labels[ch]].dat), 120, SLIDER_Y[ch]);
}

void show_editor(const Editor& e) {
  copy_scene();
  text_button_draw(&e.ok, BackBuffer);
  text_button_draw(&e.cancel, BackBuffer);
  list_box_draw(&e.entries, BackBuffer);
  for (int ch = 0; ch < 3; ch++) hscroll_draw(&e.slider[ch], BackBuffer);
  const PaletteEntry& entry = PALETTE_ENTRIES[e.entries.selected];
  int x1, x2;
  swatch_rect(e.key - 1, entry.key_count, &x1, &x2);
  draw_frame(BackBuffer, x1, SWATCH_Y1, x2, SWATCH_Y2);
  for (int k = 0; k < entry.key_count; k++) {
    swatch_rect(k, entry.key_count, &x1, &x2);
    draw_inset_box(BackBuffer, x1 + 8, SWATCH_Y1 + 8, x2 - 8, SWATCH_Y2 - 8);
    rectfill(BackBuffer, x1 + 9, SWATCH_Y1 + 9, x2 - 9, SWATCH_Y2 - 9, entry.keys[k]);
  }
  for (int ch = 0; ch < 3; ch++) {
    char value[12];
    std::snprintf(value, sizeof value, "%d", e.slider[ch].value);
    draw_text(BackBuffer, 348, SLIDER_Y[ch] + 4, COL_MENU_FONT, value);
  }
  present_frame();
}

// Applies the sliders to the key colour: the display shows the working
// palette with the key's own gradient recomputed.
void apply_sliders(Editor& e) {
  const int index = key_index(e);
  bool changed = false;
  for (int ch = 0; ch < 3; ch++)
    if (e.slider[ch].value != component(e.work[index], ch)) {
      set_component(e.work[index], ch, e.slider[ch].value);
      changed = true;
      e.dirty = true;
    }
  if (!changed && !e.dirty) return;
  set_color(index, &e.work[index]);
  if (PALETTE_ENTRIES[e.entries.selected].gradient) derive_entry_colours(e.entries.selected, e.work);
  set_palette(e.work);
  e.dirty = false;
}

// The number flash shades from the display's number colours and index
// 255, into the working palette, which then goes to the display.
void derive_shades_for_saving(Editor& e) {
  for (int i = COL_NUMBER_FIRST; i < COL_NUMBER_FIRST + 16; i++) get_color(i, &e.work[i]);
  get_color(COL_BRIGHT, &e.work[COL_BRIGHT]);
  derive_number_shades(e.work);
  set_palette(e.work);
}

// ---------------------------------------------------------------------------
// Saving

void show_name_prompt(const char* name) {
  copy_scene();
  draw_frame(BackBuffer, 160, 260, 639, 339);
  draw_text_centre(BackBuffer, 400, 272, COL_MENU_FONT, PROMPT_TEXTS[PROMPT_NAME_NEW_PALETTE]);
  draw_text_centre(BackBuffer, 400, 288, COL_MENU_FONT, PROMPT_TEXTS[PROMPT_ESC_TO_CANCEL]);
  draw_inset_box(BackBuffer, 240, 312, 559, 327);
  char text[PALETTE_NAME_MAX + 2];
  const bool cursor = clock_seconds - std::floor(clock_seconds) < 0.5f;  // blinks once a second
  std::snprintf(text, sizeof text, cursor ? "%s_" : "%s", name);
  draw_text(BackBuffer, 244, 316, COL_MENU_FONT, text);
  present_frame();
}

// The typed name; false when the player pressed Esc.
bool enter_name(char* name) {
  int length = 0;
  name[0] = '\0';
  clear_keybuf();
  bool done = false, cancelled = false;
  while (!done) {
    if (keypressed()) {
      const int c = readkey() & 255;
      if (c == 27) {
        done = cancelled = true;
      } else if (c == 13) {
        done = length > 0;
      } else if (c == 8) {
        if (length > 0) name[--length] = '\0';
      } else if (c >= 32 && c <= 126 && c != '/' && length < PALETTE_NAME_MAX) {
        // '/' would lead out of the palette folder.
        name[length++] = static_cast<char>(c);
        name[length] = '\0';
      }
    }
    show_name_prompt(name);
  }
  while (key[KEY_ESC]) show_name_prompt(name);
  return !cancelled;
}

void show_overwrite_question() {
  copy_scene();
  draw_frame(BackBuffer, 200, 284, 599, 315);
  draw_text_centre(BackBuffer, 400, 296, COL_MENU_FONT, PROMPT_TEXTS[PROMPT_PALETTE_EXISTS]);
  present_frame();
}

// 1 when the player answers Y, 0 for N.
int ask_overwrite() {
  play_effect(SFX_MESSAGE);
  for (;;) {
    show_overwrite_question();
    if (key[KEY_Y]) {
      while (key[KEY_Y]) show_overwrite_question();
      return 1;
    }
    if (key[KEY_N]) return 0;
  }
}

// Anything of that name counts, without opening it (a FIFO would block).
bool file_exists(const char* path) {
  struct stat st;
  return lstat(path, &st) == 0;
}

}  // namespace

int save_palette_dialog() {
  char name[PALETTE_NAME_MAX + 1];
  if (!enter_name(name)) return -1;

  // New palettes go to the user folder's "Colors". An existing folder is
  // fine; a folder that cannot be made (or no user folder at all) shows up
  // when the file cannot be created below.
  const std::string colors = palette_save_folder();
  if (!colors.empty()) mkdir(colors.c_str(), 0777);
  PALETTE pal;
  get_palette(pal);
  char file_name[32];
  std::snprintf(file_name, sizeof file_name, "%.24s.FCL", name);
  const std::string path = colors.empty() ? std::string() : colors + "/" + file_name;
  if (!path.empty() && file_exists(path.c_str()) && !ask_overwrite()) return -1;

  // The palette goes to a temporary file first and is renamed into place,
  // so a palette file is written whole or not at all.
  const WriteResult written = write_file_whole(path.c_str(), pal, PALETTE_FILE_SIZE);
  if (written == WRITE_NOT_CREATED) {
    prompt_any_key(MESSAGE_BOX_WIDTH, PROMPT_TEXTS[PROMPT_PALETTE_CREATE_FAILED]);
    return -1;
  }
  if (written != WRITE_DONE) {
    prompt_any_key(MESSAGE_BOX_WIDTH, PROMPT_TEXTS[PROMPT_PALETTE_WRITE_FAILED]);
    return -1;
  }
  std::memset(settings.palette_name, 0, sizeof settings.palette_name);
  std::snprintf(settings.palette_name, sizeof settings.palette_name, "%.24s.FCL", name);
  return 1;
}

int palette_editor() {
  Editor e;
  get_palette(e.work);
  text_button_init(&e.ok, 112, 464, 183, 479, "OK!", ALIGN_CENTRE, 1);
  text_button_init(&e.cancel, 616, 464, 687, 479, "Cancel", ALIGN_CENTRE, 1);
  list_box_init(&e.entries, LIST_X1, LIST_Y1, LIST_X2, LIST_ROWS);
  std::vector<std::string> names;
  for (const PaletteEntry& entry : PALETTE_ENTRIES) names.push_back(entry.name);
  list_box_set_rows(&e.entries, std::move(names), 0);
  for (AreaButton& s : e.swatch) area_button_init(&s, 0, 0, 0, 0, 1);
  select_entry_and_key(e);
  draw_static_parts(e);

  int result = -1;
  do {
    text_button_update(&e.ok);
    text_button_update(&e.cancel);
    list_boxes_update({&e.entries});
    for (AreaButton& s : e.swatch) area_button_update(&s);
    for (HScrollBar& s : e.slider) hscroll_update(&s);

    if (e.ok.state == BUTTON_CLICKED || enter_down()) {
      while (enter_down()) show_editor(e);
      derive_shades_for_saving(e);
      result = save_palette_dialog();  // -1: nothing saved, the editing goes on
    }
    if (e.cancel.state == BUTTON_CLICKED) result = 0;

    const int row = list_box_click(&e.entries);
    if (row >= 0) {
      e.entries.selected = row;
      if (e.key > PALETTE_ENTRIES[row].key_count) e.key = PALETTE_ENTRIES[row].key_count;
      select_entry_and_key(e);
      continue;
    }
    if (row == LIST_NO_CLICK) {
      int clicked = 0;
      for (int k = 0; k < 3 && !clicked; k++)
        if (e.swatch[k].state == BUTTON_CLICKED) clicked = k + 1;
      if (clicked) {
        play_effect(SFX_CLICK);
        e.key = clicked;
        select_entry_and_key(e);
        continue;
      }
    }

    apply_sliders(e);
    show_editor(e);
  } while (result == -1 && !key[KEY_ESC]);

  if (key[KEY_ESC]) {
    while (key[KEY_ESC]) show_editor(e);
    return result == 1 ? 1 : 0;  // a palette saved in this frame stays saved
  }
  return result;
}
