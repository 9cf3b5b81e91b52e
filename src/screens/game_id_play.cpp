#include "screens/game_id_play.h"

#include <allegro.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/board_load.h"
#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "palette/palette_entries.h"
#include "rules/board_state.h"
#include "rules/events.h"
#include "rules/mines.h"
#include "rules/no_guess.h"
#include "screens/game_events.h"
#include "sound/sound.h"
#include "ui/frames.h"

namespace {

// The board load of an ID: its mode and skill level, and the stream it
// names; the board seed and counter are not touched.
BoardLoadResult load_id_board(const GameId& id, bool for_play) {
  const GameMode mode = game.mode;
  const SkillLevel skill = game.skill;
  game.mode = id.mode;
  game.skill = id.skill;
  BoardLoadResult result;
  if (for_play)
    result = load_board_for_play(id.style_file, id.pattern, id.random) ? BOARD_LOADED : BOARD_NOT_LOADED;
  else
    result = load_board_from(id.style_file, id.pattern, 0, id.random);
  if (result == BOARD_NOT_LOADED) {
    game.mode = mode;
    game.skill = skill;
  } else {
    game.no_guess = id.no_guess && no_guess_supported(id.mode);
    game.no_guess_maker = id.no_guess ? id.no_guess_maker : NO_GUESS_MAKER;
  }
  return result;
}

// ---------------------------------------------------------------------------
// The dialog

enum { DIALOG_X1 = 140, DIALOG_Y1 = 236, DIALOG_X2 = 659, DIALOG_Y2 = 371 };

void show_dialog(const char* current, const char* typed, const char* message) {
  copy_scene();
  draw_frame(BackBuffer, DIALOG_X1, DIALOG_Y1, DIALOG_X2, DIALOG_Y2);
  draw_text_centre(BackBuffer, 400, 248, COL_MENU_FONT, "Game ID");
  if (current[0]) {
    draw_text_centre(BackBuffer, 400, 268, COL_MENU_FONT, "This board:");
    draw_text_centre(BackBuffer, 400, 280, COL_MENU_FONT, current);
  } else {
    draw_text_centre(BackBuffer, 400, 274, COL_MENU_FONT, "No board in play.");
  }
  draw_text_centre(BackBuffer, 400, 300, COL_MENU_FONT, "Type a game ID and press Enter to play it. Esc to cancel.");
  draw_inset_box(BackBuffer, 180, 316, 619, 331);
  char text[GAME_ID_TEXT_SIZE + 2];
  const bool cursor = clock_seconds - std::floor(clock_seconds) < 0.5f;  // blinks once a second
  std::snprintf(text, sizeof text, cursor ? "%s_" : "%s", typed);
  draw_text(BackBuffer, 184, 320, COL_MENU_FONT, text);
  if (message[0]) draw_text_centre(BackBuffer, 400, 346, COL_MENU_FONT, message);
  present_frame();
}

// ---------------------------------------------------------------------------
// The description

bool read_cell_number(const char* text, long& value) {
  if (!text || !*text) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtol(text, &end, 10);
  return errno == 0 && *end == 0 && (text[0] >= '0' && text[0] <= '9');
}

std::string json_string(const char* text) {
  std::string s = "\"";
  for (const char* c = text; *c; c++) {
    if (*c == '"' || *c == '\\') s += '\\';
    s += *c;
  }
  return s + "\"";
}

int fail(FILE* err, const char* message) {
  std::fprintf(err, "fusegrid: %s\n", message);
  return 2;
}

}  // namespace

GameIdError play_game_id(const GameId& id) {
  const GameIdError checked = check_game_id_style(id);
  if (checked != GAME_ID_OK) return checked;
  return load_id_board(id, true) == BOARD_LOADED ? GAME_ID_OK : GAME_ID_STYLE_INVALID;
}

bool game_id_dialog() {
  char current[GAME_ID_TEXT_SIZE] = "";
  if (current_board_index != -1 && board.cell_count > 0) format_game_id(current_game_id(), current, sizeof current);
  char typed[GAME_ID_TEXT_SIZE] = "";
  std::memcpy(typed, current, sizeof typed);
  const char* message = "";
  int length = static_cast<int>(std::strlen(typed));
  clear_keybuf();
  for (;;) {
    show_dialog(current, typed, message);
    if (!keypressed()) continue;
    const int c = readkey() & 255;
    if (c == 27) break;
    if (c == 13) {
      GameId id;
      GameIdError error = read_game_id(typed, id);
      if (error == GAME_ID_OK) error = play_game_id(id);
      if (error == GAME_ID_OK) return true;
      message = game_id_message(error);
      play_effect(SFX_MESSAGE);
    } else if (c == 8) {
      if (length > 0) typed[--length] = 0;
    } else if (c >= 32 && c <= 126 && length < GAME_ID_TEXT_SIZE - 1) {
      typed[length++] = static_cast<char>(c);
      typed[length] = 0;
    }
  }
  while (key[KEY_ESC]) show_dialog(current, typed, message);
  return false;
}

int check_start_game_id(const GameId& id, FILE* err) {
  const bool started_here = !system_driver;
  if (started_here && install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return fail(err, "cannot start.");
  set_color_depth(8);
  const GameIdError error = check_game_id_style(id);
  if (started_here) allegro_exit();
  return error == GAME_ID_OK ? 0 : fail(err, game_id_message(error));
}

int describe_game(const char* id_text, const char* first_cell_text, FILE* out, FILE* err) {
  GameId id;
  GameIdError error = read_game_id(id_text, id);
  if (error != GAME_ID_OK) return fail(err, game_id_message(error));
  long first = -1;
  if (!read_cell_number(first_cell_text, first)) return fail(err, "--first-cell takes a cell number.");

  if (!system_driver && install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return fail(err, "cannot start.");
  set_color_depth(8);
  error = check_game_id_style(id);
  if (error != GAME_ID_OK) return fail(err, game_id_message(error));
  init_board();
  init_game_session();
  if (load_id_board(id, false) != BOARD_LOADED) return fail(err, game_id_message(GAME_ID_STYLE_INVALID));
  if (first >= board.cell_count) return fail(err, "That board has no such cell.");

  // The first reveal, up to the uncovering of the cell.
  if (game.no_guess) {
    make_no_guess_board(static_cast<int>(first), NO_GUESS_WORK_BUDGET, no_guess_limits(game.no_guess_maker));
  } else {
    game.first_cell = static_cast<int16_t>(first);
    clear_first_click_zone(game.random);
  }
  clear_events();

  char text[GAME_ID_TEXT_SIZE];
  format_game_id(id, text, sizeof text);
  std::string mines, levels;
  for (int c = 0; c < board.cell_count; c++) {
    const int content = board.cells[c].content;
    if (content < MINE) continue;
    const char* comma = mines.empty() ? "" : ", ";
    mines += comma + std::to_string(c);
    levels += comma + std::to_string(content - MINE + 1);
  }
  std::fprintf(out, "{\"id\": %s, \"cells\": %d, \"first_cell\": %ld, \"mines\": [%s]", json_string(text).c_str(),
               board.cell_count, first, mines.c_str());
  if (game.mode == MULTI_MINE) std::fprintf(out, ", \"levels\": [%s]", levels.c_str());
  std::fprintf(out, "}\n");
  return 0;
}
