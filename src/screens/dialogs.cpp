#include "screens/dialogs.h"

#include <allegro.h>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "palette/palette_entries.h"
#include "rules/board_state.h"
#include "ui/frames.h"
#include "ui/widgets.h"

namespace {

constexpr int MODE_BOXES = 7;
constexpr int LEVEL_BOXES = 4;
constexpr int MAX_BODY_FRAMES = 2;

struct Rect {
  int x1, y1, x2, y2;
};

// Where one of the three mode and level dialogs puts its parts. A group
// whose row is -1 is not part of the dialog.
struct SetupLayout {
  const char* title;
  Rect title_bar;
  Rect bodies[MAX_BODY_FRAMES];
  int body_count;
  int mode_row_top;     // modes 0..3; -1 without modes
  int mode_row_bottom;  // modes 4..6
  int level_row;        // levels 0..3; -1 without levels
  int button_row;       // top of the OK / Cancel row, 16 high
};

const SetupLayout MODE_AND_SKILL = {"Select a Game Mode and Skill Level",
                                    {156, 184, 643, 199},
                                    {{156, 200, 643, 351}, {156, 352, 643, 399}},
                                    2,
                                    208,
                                    280,
                                    360,
                                    400};
const SetupLayout MODE_ONLY = {
    "Select a Game Mode", {156, 208, 643, 223}, {{156, 224, 643, 375}, {0, 0, 0, 0}}, 1, 232, 304, -1, 376};
const SetupLayout SKILL_ONLY = {
    "Select a Skill Level", {156, 260, 643, 275}, {{156, 276, 643, 323}, {0, 0, 0, 0}}, 1, -1, -1, 284, 324};

const int ROW_X[4] = {164, 284, 404, 524};

BITMAP* picture(int index) { return static_cast<BITMAP*>(MainDatafile[index].dat); }

int enter_down() { return key[KEY_ENTER] || key[KEY_ENTER_PAD]; }

void draw_title_bar(BITMAP* bmp, const Rect& bar, const char* title) {
  draw_frame(bmp, bar.x1, bar.y1, bar.x2, bar.y2);
  draw_text_centre(bmp, 400, bar.y1 + 4, COL_MENU_FONT, title);
}

// The widgets and remembered values of an open mode or level dialog.
struct SetupDialog {
  const SetupLayout* layout;
  ImageCheckBox modes[MODE_BOXES];
  ImageCheckBox levels[LEVEL_BOXES];
  TextButton ok;
  TextButton cancel;
  GameMode old_mode;
  SkillLevel old_skill;
  int result;  // -1 open, 1 accepted, 0 cancelled

  bool has_modes() const { return layout->mode_row_top >= 0; }
  bool has_levels() const { return layout->level_row >= 0; }
};

void open_setup(SetupDialog& d, const SetupLayout& layout) {
  d.layout = &layout;
  d.old_mode = game.mode;
  d.old_skill = game.skill;
  const int row = layout.button_row;
  text_button_init(&d.ok, 156, row, 227, row + 15, "OK!", ALIGN_CENTRE, 1);
  text_button_init(&d.cancel, 572, row, 643, row + 15, "Cancel", ALIGN_CENTRE, 1);
  if (d.has_modes()) {
    for (int m = 0; m < MODE_BOXES; m++) {
      const int x = m < 4 ? ROW_X[m] : ROW_X[m - 3];
      const int y = m < 4 ? layout.mode_row_top : layout.mode_row_bottom;
      check_box_init(&d.modes[m], x, y, 0, picture(OBJ_MODE_FIRST + 1 + 2 * m), picture(OBJ_MODE_FIRST + 2 * m), 1);
    }
    if (game.mode >= 0 && game.mode < MODE_BOXES) check_box_set(&d.modes[game.mode]);
  }
  if (d.has_levels()) {
    for (int s = 0; s < LEVEL_BOXES; s++)
      check_box_init(&d.levels[s], ROW_X[s], layout.level_row, 0, picture(OBJ_SKILL_FIRST + 1 + 2 * s),
                     picture(OBJ_SKILL_FIRST + 2 * s), 1);
    if (game.skill >= 0 && game.skill < LEVEL_BOXES) check_box_set(&d.levels[game.skill]);
  }
  d.result = -1;
}

// One frame of the dialog: the scene, the frames, the title, the buttons
// and the boxes.
void show_setup(const SetupDialog& d) {
  const SetupLayout& l = *d.layout;
  copy_scene();
  draw_title_bar(BackBuffer, l.title_bar, l.title);
  for (int i = 0; i < l.body_count; i++) draw_frame(BackBuffer, l.bodies[i].x1, l.bodies[i].y1, l.bodies[i].x2, l.bodies[i].y2);
  draw_frame(BackBuffer, 228, l.button_row, 571, l.button_row + 15);
  text_button_draw(&d.ok, BackBuffer);
  text_button_draw(&d.cancel, BackBuffer);
  if (d.has_modes())
    for (const ImageCheckBox& box : d.modes) check_box_draw(&box, BackBuffer);
  if (d.has_levels())
    for (const ImageCheckBox& box : d.levels) check_box_draw(&box, BackBuffer);
  present_frame();
}

// Exactly one box of a group is checked: the clicked one.
void update_group(ImageCheckBox* boxes, int count) {
  for (int i = 0; i < count; i++) {
    check_box_update(&boxes[i]);
    if (boxes[i].state == BUTTON_CLICKED) {
      for (int j = 0; j < count; j++) check_box_clear(&boxes[j]);
      check_box_set(&boxes[i]);
    }
  }
}

int first_checked(const ImageCheckBox* boxes, int count, int fallback) {
  for (int i = 0; i < count; i++)
    if (boxes[i].checked) return i;
  return fallback;
}

int run_setup(const SetupLayout& layout) {
  SetupDialog d;
  open_setup(d, layout);
  while (d.result == -1) {
    text_button_update(&d.ok);
    text_button_update(&d.cancel);
    if (d.ok.state == BUTTON_CLICKED || enter_down()) {
      // The dialog stays on the screen while the key is held, so the key
      // does not act again on the screen below.
      while (enter_down()) show_setup(d);
      if (d.has_modes()) game.mode = static_cast<GameMode>(first_checked(d.modes, MODE_BOXES, game.mode));
      if (d.has_levels()) game.skill = static_cast<SkillLevel>(first_checked(d.levels, LEVEL_BOXES, game.skill));
      d.result = 1;
    }
    if (d.cancel.state == BUTTON_CLICKED) {
      game.mode = d.old_mode;
      game.skill = d.old_skill;
      d.result = 0;
    }
    if (d.has_modes()) update_group(d.modes, MODE_BOXES);
    if (d.has_levels()) update_group(d.levels, LEVEL_BOXES);
    show_setup(d);
    if (key[KEY_ESC]) {
      while (key[KEY_ESC]) show_setup(d);
      // Esc cancels whatever else this frame did.
      game.mode = d.old_mode;
      game.skill = d.old_skill;
      return 0;
    }
  }
  return d.result;
}

// The time limit dialog's frame: the scene, its frames, title and buttons.
void show_time_limit(const TextButton* buttons) {
  copy_scene();
  draw_title_bar(BackBuffer, Rect{272, 240, 527, 255}, "Select a Time Limit");
  draw_frame(BackBuffer, 272, 256, 527, 359);
  for (int i = 0; i < 3; i++) text_button_draw(&buttons[i], BackBuffer);
  present_frame();
}

}  // namespace

int choose_mode_and_skill() {
  const int result = run_setup(MODE_AND_SKILL);
  if (result == 1 && game.mode == ENDURANCE) choose_time_limit();
  return result;
}

int choose_game_mode() {
  const int result = run_setup(MODE_ONLY);
  if (result == 1 && game.mode == ENDURANCE) choose_time_limit();
  return result;
}

int choose_skill_level() { return run_setup(SKILL_ONLY); }

void choose_time_limit() {
  static const int MINUTES[3] = {10, 20, 30};
  TextButton buttons[3];
  text_button_init(&buttons[0], 280, 264, 519, 287, "10 Minutes", ALIGN_CENTRE, 1);
  text_button_init(&buttons[1], 280, 296, 519, 320, "20 Minutes", ALIGN_CENTRE, 1);
  text_button_init(&buttons[2], 280, 328, 519, 352, "30 Minutes", ALIGN_CENTRE, 1);
  for (TextButton& b : buttons) text_button_update(&b);
  for (;;) {
    for (int i = 0; i < 3; i++)
      if (buttons[i].state == BUTTON_CLICKED) {
        game.endurance_minutes = MINUTES[i];
        return;
      }
    show_time_limit(buttons);
    if (key[KEY_ESC]) {
      while (key[KEY_ESC]) show_time_limit(buttons);
      return;
    }
    for (TextButton& b : buttons) text_button_update(&b);
  }
}
