#include "screens/game_events.h"

#include <cstdio>

#include "board/board_load.h"
#include "platform/extra_settings.h"
#include "platform/lifecycle.h"
#include "platform/settings.h"
#include "render/board_draw.h"
#include "render/effects.h"
#include "rules/board_state.h"
#include "rules/events.h"
#include "rules/modes.h"
#include "rules/no_guess.h"
#include "rules/random.h"
#include "scores/game_record.h"
#include "screens/high_scores.h"
#include "sound/sound.h"
#include "ui/prompts.h"
#include "ui/widgets.h"

void (*show_wait_notice_hook)() = nullptr;

Random frame_random;

const char* const NO_GUESS_TIMED_OUT = "No guess-free board was found in time; this one may need a guess.";

const char* no_guess_unsupported_message() {
  static char text[80];
  const int mode = static_cast<int>(game.mode) >= 0 && static_cast<int>(game.mode) < MODE_COUNT ? game.mode : CLASSIC;
  std::snprintf(text, sizeof text, "No-guess boards are not made in %s.", MODE_NAMES[mode]);
  return text;
}

namespace {

constexpr float MINE_SHAKE = 28.0f;

bool graphics_switch(int which) { return settings.graphics_switches[which] != 0; }

// A cell uncovered by a click, a chord, the cascade or the verdict: its
// burst and flash, and the shake of a mine, as the graphics switches allow.
void show_uncovered(int cell, int content) {
  const bool mine = content >= MINE;
  if (mine) screen_shake = MINE_SHAKE * static_cast<float>(settings.graphics_switches[GFX_SCREEN_SHAKE]);
  spawn_cell_burst(game.effects_random, cell, content);
  if ((!mine && graphics_switch(GFX_NUMBER_FLASH)) || (mine && graphics_switch(GFX_MINE_ANIMATION)))
    board.cells[cell].flash_timer = 0.0f;
}

void show_firework(int cell) {
  if (cell >= 0) spawn_cell_firework(game.effects_random, cell);
  if (graphics_switch(GFX_PARTICLES)) play_effect(SFX_FIREWORKS);
}

}  // namespace

namespace {

int finish_load_for_play(BoardLoadResult result, int continuation) {
  if (result == BOARD_HIT_GRID_FULL) fatal_error(7);
  if (result != BOARD_LOADED) return 0;
  frame_random = game.board_random;
  if (!continuation) {
    game.no_guess = extra_settings.no_guess && no_guess_supported(game.mode);
    game.no_guess_maker = NO_GUESS_MAKER;
  }
  play_effect(SFX_NEW_GAME);
  return 1;
}

}  // namespace

int load_board_for_play(const char* file_name, int pattern, int continuation) {
  // A new game gives up the one in progress.
  if (!continuation) report_scores_save(track_game_abandoned());
  if (show_wait_notice_hook) show_wait_notice_hook();
  // The notice shows a frame, which moves the board seed on: the load
  // reads it afterwards.
  return finish_load_for_play(load_board(file_name, pattern, continuation), continuation);
}

int load_board_for_play(const char* file_name, int pattern, const Random& stream) {
  report_scores_save(track_game_abandoned());
  if (show_wait_notice_hook) show_wait_notice_hook();
  return finish_load_for_play(load_board_from(file_name, pattern, 0, stream), 0);
}

void act_on_game_events(AreaButton* board_area) {
  for (const GameEvent& e : take_events()) {
    switch (e.kind) {
      case EVENT_CELL_CHANGED: redraw_changed_cell(e.cell); break;
      case EVENT_CELL_UNCOVERED: show_uncovered(e.cell, e.value); break;
      case EVENT_FIREWORK: show_firework(e.cell); break;
      case EVENT_SOUND: play_effect(e.value); break;
      case EVENT_BOARD_CHANGED: redraw_board(SceneBuffer); break;
      case EVENT_PLAY_ENDED:
        if (board_area && board_area->state != BUTTON_DISABLED) button_disable(board_area);
        break;
      case EVENT_ONE_CLICK_BOARD:
        prompt_any_key(PROMPT_WIDTH_ONE_CLICK_NO_SCORE, PROMPT_TEXTS[PROMPT_ONE_CLICK_NO_SCORE]);
        break;
      case EVENT_NEXT_BOARD: load_board_for_play(board_file_name, current_board_index, 1); break;
      case EVENT_GAME_ENDED: report_scores_save(track_game_end(e.value != 0)); break;
    }
  }
}

void prepare_frame(int* ox, int* oy) {
  if (sound_state == SOUND_ON) clear_effect_played();
  shake_offsets(frame_random, frame_seconds, ox, oy);
}

void start_game() {
  if (!sound_installed)
    sound_state = SOUND_UNAVAILABLE;
  else
    sound_state = settings.volume == 0 ? SOUND_MUTED : SOUND_ON;
  init_board();
  init_game_session();
  game.random = random_seeded(board_seed);
  frame_random = game.random;
  show_wait_notice_hook = show_wait_notice;
  prepare_frame_hook = prepare_frame;
  // However the game ends, a result waiting for its name is kept.
  before_shutdown_hook = close_high_scores;
  init_status_slots();
}
