#include "screens/main_screen.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "platform/extra_settings.h"
#include "platform/key_presses.h"
#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "board/board_load.h"
#include "board/geometry.h"
#include "board/style_layout.h"
#include "palette/palette_entries.h"
#include "render/board_draw.h"
#include "render/effects.h"
#include "render/hint_highlight.h"
#include "rules/actions.h"
#include "rules/board_state.h"
#include "rules/events.h"
#include "rules/hint.h"
#include "rules/modes.h"
#include "rules/no_guess.h"
#include "rules/random.h"
#include "scores/game_record.h"
#include "screens/board_chooser.h"
#include "screens/dialogs.h"
#include "screens/game_events.h"
#include "screens/game_id_play.h"
#include "screens/high_scores.h"
#include "screens/menus.h"
#include "screens/options.h"
#include "screens/palette_chooser.h"
#include "sound/sound.h"
#include "ui/frames.h"
#include "ui/prompts.h"
#include "ui/widgets.h"

namespace {

// Mouse buttons as the board area records them.
enum { LEFT_BUTTON = 1, RIGHT_BUTTON = 2 };

TextButton file_button, options_button, menu_filler, face_box, check_button;
AreaButton board_area;
int menu_choice = MENU_NONE;
bool quit_requested = false;
bool right_press_latched = false;
// H gives one hint per press: held down, it gives no more.
bool hint_key_latched = false;
// The game stream as it stood after the last pass's input: a chooser
// that is cancelled puts it back.
Random game_stream_saved;

BITMAP* object_bitmap(int index) { return static_cast<BITMAP*>(MainDatafile[index].dat); }


// Where the pointer was in the last pass that saw a button held on the
// board. The mouse is polled once a frame, so a release and a move to the
// next cell can both fall between two polls: the first pass that sees the
// button up already sees the pointer over the next cell. A click on the
// board therefore goes to this position: where the button came up when
// the pointer stood still, and always the cell that was shown pressed.
int held_x = 0, held_y = 0;

// The cell at a point, or -1; only points of the board rectangle are
// looked up.
int cell_under(int x, int y) {
  if (board.cell_count == 0 || x < board_area.x1 || x > board_area.x2 || y < board_area.y1 || y > board_area.y2)
    return -1;
  const int cell = cell_at(x, y);
  if (cell == CELL_AT_OUTSIDE_GRID) fatal_error(8);
  return cell;
}

int cell_under_mouse() { return cell_under(mouse_x, mouse_y); }

// Only a change of state touches the button, so a button the mouse is
// over or holding keeps its place in the click.
void set_check_button(bool enabled) {
  if (enabled && check_button.state == BUTTON_DISABLED) button_enable(&check_button);
  if (!enabled && check_button.state != BUTTON_DISABLED) button_disable(&check_button);
}

// The rules' events, acted on right after the step that posted them.
void show_game_events() { act_on_game_events(&board_area); }

// What is in play, named in the menu bar's filler: style and pattern,
// mode (with the time limit of an Endurance run) and skill level, cut to
// the filler's width. Worked out when the screen is built.
char filler_label[160] = "";

void name_what_is_in_play() {
  filler_label[0] = 0;
  if (board.cell_count == 0) return;
  const int mode = static_cast<int>(game.mode) >= 0 && static_cast<int>(game.mode) < MODE_COUNT ? game.mode : CLASSIC;
  const int skill = game.skill >= BEGINNER && game.skill <= MASTER ? game.skill : BEGINNER;
  char mode_name[40];
  if (mode == ENDURANCE)
    std::snprintf(mode_name, sizeof mode_name, "%s, %d minutes", MODE_NAMES[mode],
                  static_cast<int>(game.endurance_minutes));
  else
    std::snprintf(mode_name, sizeof mode_name, "%s", MODE_NAMES[mode]);
  std::snprintf(filler_label, sizeof filler_label, "%.32s: %.32s  -  %s  -  %s", board.style_name,
                board.pattern_name, mode_name, SKILL_NAMES[skill]);
  const int room = menu_filler.x2 - menu_filler.x1 - 8;
  FONT* font = game_font();
  if (text_length(font, filler_label) <= room) return;
  // Cut at the last character that leaves room for the dots.
  const int dots = text_length(font, "...");
  size_t length = std::strlen(filler_label);
  while (length > 0) {
    filler_label[--length] = 0;
    if (text_length(font, filler_label) + dots <= room) break;
  }
  std::strcat(filler_label, "...");
}

// A one-line message that stands in the filler for a few seconds in
// place of the label.
constexpr float STATUS_MESSAGE_SECONDS = 5.0f;
char status_message[120] = "";
float status_message_left = 0.0f;
// A message waiting for the main screen to start.
char start_message[120] = "";
float start_message_seconds = 0.0f;

void draw_menu_filler(BITMAP* bmp) {
  text_button_draw(&menu_filler, bmp);
  const int v = ((menu_filler.y2 - menu_filler.y1) - 7) / 2;
  const bool message = status_message_left > 0.0f;
  draw_text(bmp, menu_filler.x1 + v, menu_filler.y1 + v, COL_MENU_FONT, message ? status_message : filler_label);
}

// The message is drawn on the frames only; the scene keeps the label.
void status_message_step() {
  if (status_message_left > 0.0f) status_message_left -= frame_seconds;
}

// Before the first board, the empty play area says how to begin.
const char* const HINT_LINES[] = {"No board in play yet.", "F1  New Game      F5  Board      F6  Mode      F7  Skill"};

void draw_start_hint() {
  const int centre_x = (BOARD_AREA_X + BOARD_AREA_X + BOARD_AREA_WIDTH - 1) / 2;
  // In the upper third, clear of the pause screen and the prompts.
  const int centre_y = BOARD_AREA_Y + BOARD_AREA_HEIGHT / 3;
  int width = 0;
  for (const char* line : HINT_LINES) width = std::max(width, text_length(game_font(), line));
  const int half_w = width / 2 + 24, half_h = 24;
  draw_frame(SceneBuffer, centre_x - half_w, centre_y - half_h, centre_x + half_w, centre_y + half_h);
  draw_text_centre(SceneBuffer, centre_x, centre_y - 12, COL_MENU_FONT, HINT_LINES[0]);
  draw_text_centre(SceneBuffer, centre_x, centre_y + 4, COL_MENU_FONT, HINT_LINES[1]);
}

void screen_setup() {
  // Keys pressed in a dialog were meant for it.
  forget_key_presses();
  menu_choice = MENU_NONE;
  quit_requested = false;
  redraw_requested = 0;
  reset_widgets();
  rebuild_scene();
  clear_particles();

  text_button_init(&file_button, 0, 0, 127, 15, "File", ALIGN_LEFT, 0);
  text_button_init(&options_button, 128, 0, 255, 15, "Options", ALIGN_LEFT, 0);
  text_button_init(&menu_filler, 256, 0, screen_width - 49, 15, "", ALIGN_LEFT, 1);
  button_disable(&menu_filler);
  text_button_init(&face_box, screen_width - 48, 0, screen_width - 1, 15, "", ALIGN_LEFT, 1);
  for (const TextButton* b : {&file_button, &options_button, &face_box}) text_button_draw(b, SceneBuffer);
  name_what_is_in_play();
  draw_menu_filler(SceneBuffer);
  if (board.cell_count == 0) draw_start_hint();

  text_button_init(&check_button, 8, 544, 79, 592, "Check!", ALIGN_CENTRE, 1);
  if (!check_allowed(game)) button_disable(&check_button);
  draw_status_panel();

  if (game.phase != IDLE) {
    area_button_init(&board_area, board.origin_x, board.origin_y, board.origin_x + 8 * hit_grid.grid_columns - 1,
                     board.origin_y + 8 * hit_grid.grid_rows - 1, 1);
  } else {
    area_button_init(&board_area, 0, 0, 0, 0, 1);
    button_disable(&board_area);
  }
}

bool any_key_held(std::initializer_list<int> keys) {
  for (int k : keys)
    if (key[k]) return true;
  return false;
}

// Waits, showing the scene, until none of the keys is held.
void wait_keys_released(std::initializer_list<int> keys) {
  while (any_key_held(keys)) {
    copy_scene();
    present_frame();
  }
}

// P, Pause or Num Lock (and Esc, when esc_too) pressed since the last
// look, or held. Every latched press among them is taken. Pause counts
// only by its latched presses: under X, key[KEY_PAUSE] stays set from one
// press to the next.
bool pause_key_pressed(bool esc_too) {
  bool pressed = false;
  for (int k : {KEY_P, KEY_PAUSE, KEY_NUMLOCK, KEY_ESC}) {
    if (k == KEY_ESC && !esc_too) continue;
    if (take_key_press(k)) pressed = true;
    if (k != KEY_PAUSE && key[k]) pressed = true;
  }
  return pressed;
}

void pause_screen() {
  blank_play_area();
  // Pause is not in the list: it is never seen let go.
  const std::initializer_list<int> held_keys = {KEY_P, KEY_NUMLOCK, KEY_ESC};
  wait_keys_released(held_keys);
  // The press that paused, and the repeats of a key held down, do not
  // also resume.
  forget_key_presses();
  play_effect(SFX_MESSAGE);
  do {
    copy_scene();
    draw_frame(BackBuffer, 220, 268, 579, 331);
    draw_text_centre(BackBuffer, 400, 296, COL_MENU_FONT, PROMPT_TEXTS[PROMPT_GAME_PAUSED]);
    present_frame();
  } while (!pause_key_pressed(true));
  wait_keys_released(held_keys);
  forget_key_presses();
  pause_requested = 0;
}

// The choice holds from the next board on, and for the board in play
// while its first cell is still to be clicked.
void toggle_no_guess() {
  extra_settings.no_guess = !extra_settings.no_guess;
  if (board.cell_count == 0) return;
  const bool supported = no_guess_supported(game.mode);
  if (game.phase == PLAYING && game.first_cell == -1) {
    game.no_guess = extra_settings.no_guess && supported;
    game.no_guess_maker = NO_GUESS_MAKER;
  }
  if (extra_settings.no_guess && !supported) show_status_message(no_guess_unsupported_message());
}

constexpr const char* NO_HINT_MESSAGE = "No safe cell can be deduced: you must guess.";

// A hint: the cell found is highlighted for a while, and the game pays
// for it (rules/hint.h). Before the first click and once play has ended
// nothing happens.
void ask_for_hint(int pointer_cell) {
  const HintResult hint = use_hint(pointer_cell);
  switch (hint.kind) {
    case HINT_UNAVAILABLE: break;
    case HINT_NOTHING_CERTAIN:
      stop_hint_highlight();
      show_status_message(NO_HINT_MESSAGE);
      break;
    case HINT_SAFE:
    case HINT_MINE: start_hint_highlight(hint.cell, hint.kind == HINT_MINE); break;
  }
}

void hint_key() {
  const bool pressed = take_key_press(KEY_H) || key[KEY_H];
  if (pressed && !hint_key_latched) ask_for_hint(cell_under_mouse());
  hint_key_latched = key[KEY_H] != 0;
}

void dispatch(int choice) {
  switch (choice) {
    case MENU_NEW_GAME:
      blank_play_area();
      if (choose_board() && choose_mode_and_skill())
        start_new_game(chosen_board_file, chosen_board_index);
      else
        game.random = game_stream_saved;
      break;
    case MENU_TRY_AGAIN:
      if (current_board_index != -1) start_new_game(board_file_name, current_board_index);
      break;
    case MENU_HIGH_SCORES:
      blank_play_area();
      high_scores_page();
      break;
    case MENU_CHANGE_BOARD:
      blank_play_area();
      if (choose_board())
        start_new_game(chosen_board_file, chosen_board_index);
      else
        game.random = game_stream_saved;
      break;
    case MENU_CHANGE_MODE:
    case MENU_CHANGE_SKILL:
      blank_play_area();
      if (choice == MENU_CHANGE_MODE ? choose_game_mode() : choose_skill_level()) {
        if (current_board_index != -1) start_new_game(chosen_board_file, chosen_board_index);
      } else {
        game.random = game_stream_saved;
      }
      break;
    case MENU_GAME_ID:
      blank_play_area();
      if (!game_id_dialog()) game.random = game_stream_saved;
      break;
    case MENU_ABOUT:
      blank_play_area();
      show_info_page();
      break;
    case MENU_QUESTION_MARKS:
      settings.question_marks = settings.question_marks == 1 ? 0 : 1;
      break;
    case MENU_NO_GUESS:
      toggle_no_guess();
      break;
    case MENU_HINT:
      // The pointer is over the menu: the hint is taken from the middle of
      // the board.
      ask_for_hint(cell_under_mouse());
      break;
    case MENU_GRAPHICS_OPTIONS:
      blank_play_area();
      graphics_options_dialog();
      break;
    case MENU_SOUND_OPTIONS:
      blank_play_area();
      sound_options_dialog();
      break;
    case MENU_ADJUST_COLORS:
      blank_play_area();
      palette_chooser();
      break;
    default:
      break;
  }
}

void run_menu(TextButton* button, int (*menu)()) {
  if (button->state != BUTTON_HELD) return;
  play_effect(SFX_CLICK);
  blank_play_area();
  text_button_draw(button, SceneBuffer);
  menu_choice = menu();
  forget_key_presses();
  button->state = BUTTON_NORMAL;
  text_button_draw(button, SceneBuffer);
  release_mouse();
}

// A no-guess board is made at its first reveal, from the cell clicked.
void make_first_reveal_no_guess(int cell) {
  if (!game.no_guess || game.phase != PLAYING || game.first_cell != -1 || cell < 0 || cell >= board.cell_count)
    return;
  const int state = board.cells[cell].state;
  if (state != HIDDEN && state != QUESTION) return;
  if (!make_no_guess_board(cell, NO_GUESS_WORK_BUDGET, no_guess_limits(game.no_guess_maker)).succeeded)
    show_status_message(NO_GUESS_TIMED_OUT);
}

void board_input() {
  if (board_area.state == BUTTON_HELD || board_area.state == BUTTON_HELD_OUTSIDE) {
    held_x = mouse_x;
    held_y = mouse_y;
  }
  if (board_area.state == BUTTON_HELD && board_area.held_buttons == RIGHT_BUTTON && !right_press_latched) {
    right_press_latched = true;
    if (flags_allowed(game.mode)) cycle_flag(cell_under_mouse());
  } else if (board_area.state == BUTTON_CLICKED) {
    const int released = cell_under(held_x, held_y);
    if (board_area.held_buttons == LEFT_BUTTON) {
      make_first_reveal_no_guess(released);
      reveal_cell(released, 1, SFX_REVEAL);
    }
    else if (board_area.held_buttons > RIGHT_BUTTON && chord_allowed(game.mode))
      chord(released);
  } else if (board_area.state != BUTTON_HELD) {
    right_press_latched = false;
  }
  show_game_events();
}

void function_keys() {
  if (key[KEY_F1]) menu_choice = MENU_NEW_GAME;
  if (key[KEY_F2]) {
    while (key[KEY_F2]) wait_without_frame();  // no frame is drawn while F2 is held
    menu_choice = MENU_TRY_AGAIN;
  }
  if (key[KEY_F3]) menu_choice = MENU_HIGH_SCORES;
  if (key[KEY_F5]) menu_choice = MENU_CHANGE_BOARD;
  if (key[KEY_F6]) menu_choice = MENU_CHANGE_MODE;
  if (key[KEY_F7]) menu_choice = MENU_CHANGE_SKILL;
}

void compose_frame() {
  copy_scene();
  if (board_area.state == BUTTON_HELD) {
    const int cell = cell_under_mouse();
    if (board_area.held_buttons == LEFT_BUTTON)
      press_cell(cell);
    else if (board_area.held_buttons > RIGHT_BUTTON)
      press_cell_and_neighbours(cell);
  }
  draw_status_readouts();
  for (const TextButton* b : {&file_button, &options_button, &face_box}) text_button_draw(b, BackBuffer);
  draw_menu_filler(BackBuffer);
  if (check_button.state != BUTTON_DISABLED) text_button_draw(&check_button, BackBuffer);
  for (int i = 0; i < board.cell_count; i++)
    if (board.cells[i].flash_timer >= 0.0f) draw_cell_animation(board.cells[i], BackBuffer);
  draw_hint_highlight(BackBuffer);
  draw_particles();
  BITMAP* face = object_bitmap(game.face);
  if (face_box.state == BUTTON_HELD) {
    draw_sprite(BackBuffer, face, 765, 1);
  } else {
    draw_sprite(SceneBuffer, face, 764, 0);
    draw_sprite(BackBuffer, face, 764, 0);
  }
}

// The end of a board: the end-of-board sequence, a board just cleared.
// True when the sequence ended and the screen has been built again.
bool end_of_board_steps() {
  const bool sequence_over = fireworks_step(frame_seconds);
  show_game_events();
  if (sequence_over) {
    screen_setup();
    // A result that makes its table is named now.
    if (score_entry_pending()) {
      enter_high_score();
      screen_setup();
    }
    return true;
  }
  if (game.phase == FINISHED) {
    finish_board();
    show_game_events();
  }
  return false;
}

// The game clock, the "Check!" button it enables, and the cascade's next
// ring when its delay is up.
void clock_steps() {
  const bool timed = game.phase == PLAYING && game.first_cell != -1;
  update_game_clock(frame_seconds);
  show_game_events();
  if (timed && game.phase == PLAYING) set_check_button(check_allowed(game));
  if (game.auto_reveal_timer > 0.0f) game.auto_reveal_timer -= frame_seconds;
  if (game.auto_reveal_timer <= 0.0f && game.auto_reveal_timer > -999.0f) {
    auto_reveal_step();
    show_game_events();
  }
}

void effect_steps() {
  status_message_step();
  update_particles(frame_random);
  for (int i = 0; i < board.cell_count; i++) advance_cell_animation(board.cells[i]);
  advance_hint_highlight(frame_seconds);
}

void update_controls() {
  text_button_update(&file_button);
  text_button_update(&options_button);
  text_button_update(&menu_filler);
  text_button_update(&face_box);
  area_button_update(&board_area);
  text_button_update(&check_button);
}

// The face starts the board again; "Check!" asks for the verdict.
void face_and_verdict() {
  if (face_box.state == BUTTON_CLICKED) menu_choice = MENU_TRY_AGAIN;
  if (check_button.state == BUTTON_CLICKED) {
    set_check_button(false);
    check_verdict();
    show_game_events();
  }
}

void pause_when_asked() {
  if (pause_key_pressed(false) || pause_requested) {
    pause_screen();
    redraw_requested = 1;
  }
}

bool is_menu_command(int choice) {
  return choice >= MENU_NEW_GAME && choice <= MENU_NO_GUESS && choice != MENU_QUIT && choice != MENU_UNUSED;
}

// The chosen menu command, once no end-of-board sequence runs.
void carry_out_menu_choice() {
  game_stream_saved = game.random;
  if (fireworks_timer == NO_END_SEQUENCE && is_menu_command(menu_choice)) {
    dispatch(menu_choice);
    screen_setup();
  }
  if (menu_choice == MENU_QUIT) quit_requested = true;
}

void show_frame() {
  update_smiley(frame_seconds, mouse_b);
  compose_frame();
  present_frame();
  if (redraw_requested && board.cell_count != 0) {
    redraw_board(SceneBuffer);
    redraw_requested = 0;
  }
}

// One pass of the main screen; false when the player quits.
bool main_screen_pass() {
  if (end_of_board_steps()) return true;
  clock_steps();
  effect_steps();
  update_controls();
  run_menu(&file_button, run_file_menu);
  run_menu(&options_button, run_options_menu);
  face_and_verdict();
  board_input();
  report_scores_save(track_game_start());
  if (const char* message = take_scores_message()) show_status_message(message);
  hint_key();
  function_keys();
  pause_when_asked();
  carry_out_menu_choice();
  show_frame();
  return !(key[KEY_ESC] || quit_requested);
}

}  // namespace

void show_status_message(const char* text) {
  std::snprintf(status_message, sizeof status_message, "%s", text);
  status_message_left = STATUS_MESSAGE_SECONDS;
}

void show_status_message_at_start(const char* text, float seconds) {
  std::snprintf(start_message, sizeof start_message, "%s", text);
  start_message_seconds = seconds;
}

void start_new_game(const char* file_name, int pattern) {
  char name[sizeof board_file_name];
  std::strncpy(name, file_name, sizeof name - 1);
  name[sizeof name - 1] = 0;
  if (load_board_for_play(name, pattern, 0)) {
    if (extra_settings.no_guess && !no_guess_supported(game.mode)) show_status_message(no_guess_unsupported_message());
    return;
  }
  prompt_any_key(480, "Unable to load that board. Press any key to continue.");
  // The style file has gone or changed: no board is in play any more.
  init_board();
  game.phase = IDLE;
  current_board_index = -1;
}

void run_main_screen() {
  watch_key_presses();
  if (screen) clear_to_color(screen, 0);
  invalidate_sent_frame();
  fireworks_timer = NO_END_SEQUENCE;
  fireworks_left = 0;
  right_press_latched = false;
  hint_key_latched = false;
  stop_hint_highlight();
  status_message_left = 0.0f;
  if (start_message_seconds > 0.0f) {
    show_status_message(start_message);
    status_message_left = start_message_seconds;
    start_message_seconds = 0.0f;
  }
  screen_setup();
  while (main_screen_pass()) {
  }
  clear_events();
}
