#include "rules/modes.h"

#include "platform/main_datafile.h"
#include "rules/events.h"
#include "rules/mines.h"
#include "rules/random.h"

const char* const MODE_NAMES[MODE_COUNT] = {"Classic",      "Flagless",  "Backwards", "Multi-Mine",
                                             "Moving Mines", "Endurance", "MegaMine"};
const char* const SKILL_NAMES[4] = {"Beginner", "Intermediate", "Expert", "Master"};

const int32_t STATUS_TABLE[MODE_COUNT][STATUS_SLOTS] = {
    {0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0},  // Classic
    {0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0},  // Flagless
    {0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0},  // Backwards
    {0, 1, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0},  // Multi-Mine
    {0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0},  // Moving Mines
    {0, 1, 0, 1, 1, 1, 0, 0, 0, 1, 0, 1},  // Endurance
    {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0},  // MegaMine
};

const float NO_END_SEQUENCE = 999.0f;
float fireworks_timer = NO_END_SEQUENCE;
int fireworks_left = 0;

namespace {

// Seconds before the first firework, the gap after each, and the
// sequence's length without fireworks (MegaMine, an exploded verdict).
constexpr float FIRST_FIREWORK = 1.8f;
constexpr float AFTER_FIREWORK = 2.0f;

// Cells still covered without a flag: the base of the penalty time.
int covered_unflagged() {
  int n = 0;
  for (int c = 0; c < board.cell_count; c++) n += board.cells[c].state == HIDDEN || board.cells[c].state == QUESTION;
  return n;
}

// A mine uncovered by the verdict.
void verdict_explosion(int c) {
  game.mines_hit++;
  game.board_mines_hit++;
  apply_mine_penalty();
  post_event(EVENT_CELL_UNCOVERED, c, board.cells[c].content);
  fireworks_left = 0;
}

void show_face(int face, float timer) {
  game.face = face;
  game.face_timer = timer;
}

void uncover(Cell& cell) {
  cell.state = REVEALED;
  game.cells_hidden--;
}

}  // namespace

void set_status_row(GameMode mode) {
  const int row = (static_cast<int>(mode) >= 0 && static_cast<int>(mode) < MODE_COUNT) ? static_cast<int>(mode) : 0;
  game.status_count = 0;
  for (int e = 0; e < STATUS_SLOTS; e++) {
    game.status_row[e] = STATUS_TABLE[row][e];
    if (game.status_row[e] != 0) game.status_count++;
  }
}

bool flags_allowed(GameMode mode) { return mode != FLAGLESS && mode != MOVING_MINES; }

bool chord_allowed(GameMode mode) { return mode != FLAGLESS && mode != MOVING_MINES && mode != MEGAMINE; }

bool check_allowed(const GameSession& session) {
  if (session.phase != PLAYING) return false;
  if (session.mode == MULTI_MINE)
    return session.mines_left == 0 && session.level2_left == 0 && session.level3_left == 0;
  if (session.mode == MEGAMINE) return session.mines_left == 0;
  return false;
}

void check_board_end() {
  if (game.phase != PLAYING) return;
  if (game.cells_hidden == game.mines_total - game.board_mines_hit) {
    if (game.mode == MULTI_MINE) return;  // only the verdict ends it
    for (int c = 0; c < board.cell_count; c++) {
      Cell& cell = board.cells[c];
      if (cell.state != HIDDEN || cell.content < MINE) continue;
      cell.state = FLAGGED;
      post_event(EVENT_CELL_CHANGED, c);
      game.mines_left--;
    }
    game.phase = FINISHED;
  } else if (game.mode == MEGAMINE && game.mines_left == 0 && game.mines_hit == game.mines_total) {
    for (int c = 0; c < board.cell_count; c++) {
      Cell& cell = board.cells[c];
      if (cell.state != REVEALED) uncover(cell);
      post_event(EVENT_CELL_CHANGED, c);
    }
    game.phase = FINISHED;
  }
}

void apply_mine_penalty() {
  game.face = OBJ_FACE_LOST;
  game.face_timer = 0.0f;
  switch (game.mode) {
    case ENDURANCE: game.damage += 2 * game.cells_hidden; break;
    case MEGAMINE: {
      const int share = game.mines_total - game.mines_hit + 1;
      game.score -= share > 0 ? game.score / share : game.score;
      if (game.score < 0) game.score = 0;
      break;
    }
    default: {
      const int n = covered_unflagged();
      game.penalty_time += static_cast<float>(n / 8 > 6 ? n / 8 : 6);
      break;
    }
  }
}

void update_game_clock(float seconds) {
  if (game.phase == IDLE || game.first_cell == -1) return;
  if (game.mode == ENDURANCE)
    game.game_time -= seconds;
  else
    game.game_time += seconds;
  if (game.mode == MEGAMINE) {
    game.megamine_clock += seconds;
    if (game.megamine_clock >= 1.0f) {
      game.megamine_clock -= 1.0f;
      game.score = game.score > 5 ? game.score - 5 : 0;
    }
  }
  if (game.phase == PLAYING && game.mode == ENDURANCE && game.game_time <= 0.0f) {
    game.boards_played++;
    game.game_time = 0.0f;
    post_event(EVENT_BOARD_CHANGED);
    post_event(EVENT_SOUND, -1, SFX_GAME_DONE);
    game.phase = IDLE;
    post_event(EVENT_PLAY_ENDED);
    post_event(EVENT_GAME_ENDED, -1, 1);
    game.face = OBJ_FACE_WON;
    fireworks_left = 5;
    fireworks_timer = FIRST_FIREWORK;
  }
}

void finish_board() {
  if (game.phase != FINISHED) return;
  game.boards_played++;
  fireworks_left = game.mode == MEGAMINE ? 0 : 5;
  if (game.mode == ENDURANCE) game.score += (game.skill + 2) * board.cell_count;
  post_event(EVENT_BOARD_CHANGED);
  game.phase = IDLE;
  post_event(EVENT_PLAY_ENDED);
  if (game.mode != ENDURANCE) post_event(EVENT_GAME_ENDED, -1, 1);
  if (game.mode != MEGAMINE) post_event(EVENT_SOUND, -1, SFX_GAME_DONE);
  game.face = OBJ_FACE_WON;
  fireworks_timer = game.mode == MEGAMINE ? AFTER_FIREWORK : FIRST_FIREWORK;
}

void check_verdict() {
  game.boards_played++;
  game.phase = FINISHED;  // the bursts below are explosions, not fireworks
  fireworks_left = 5;
  if (game.mode == MULTI_MINE || game.mode == MEGAMINE) {
    for (int c = 0; c < board.cell_count; c++) {
      Cell& cell = board.cells[c];
      const bool mine = cell.content >= MINE;
      switch (cell.state) {
        case REVEALED: break;
        case HIDDEN:
        case QUESTION:
          uncover(cell);
          if (mine) verdict_explosion(c);
          break;
        default: {  // a flag of level 1, 2 or 3
          const int level = cell.state - FLAGGED + 1;
          const bool right = game.mode == MEGAMINE ? mine : cell.content == MINE + level - 1;
          if (right) break;
          uncover(cell);
          if (level == 1)
            game.mines_left--;
          else if (level == 2)
            game.level2_left--;
          else
            game.level3_left--;
          if (mine) verdict_explosion(c);
          break;
        }
      }
    }
  }
  post_event(EVENT_BOARD_CHANGED);
  game.phase = IDLE;
  post_event(EVENT_PLAY_ENDED);
  post_event(EVENT_GAME_ENDED, -1, fireworks_left > 0 ? 1 : 0);
  if (fireworks_left > 0) {
    game.face = OBJ_FACE_WON;
    post_event(EVENT_SOUND, -1, SFX_GAME_DONE);
    fireworks_timer = FIRST_FIREWORK;
  } else {
    game.face = OBJ_FACE_LOST;
    post_event(EVENT_SOUND, -1, SFX_EXPLOSION);
    fireworks_timer = AFTER_FIREWORK;
  }
}

int fireworks_step(float seconds) {
  if (!(fireworks_timer > 0.0f) || fireworks_timer == NO_END_SEQUENCE) return 0;
  fireworks_timer -= seconds;
  if (fireworks_left > 0 && fireworks_timer <= FIRST_FIREWORK) {
    fireworks_left--;
    fireworks_timer = AFTER_FIREWORK;
    post_event(EVENT_FIREWORK, board.cell_count > 0 ? random_range(game.effects_random, 0, board.cell_count - 1) : -1);
  } else if (fireworks_timer <= 0.0f) {
    fireworks_timer = NO_END_SEQUENCE;
    post_board_step();
    return 1;
  }
  return 0;
}

void post_board_step() {
  switch (game.mode) {
    case ENDURANCE:
      if (game.game_time > 0.0f) post_event(EVENT_NEXT_BOARD);
      break;
    case CLASSIC:
    case FLAGLESS:
    case BACKWARDS:
    case MOVING_MINES:
      if (is_one_click_board()) post_event(EVENT_ONE_CLICK_BOARD);
      break;
    default: break;  // Multi-Mine, MegaMine
  }
}

void update_smiley(float seconds, int mouse_buttons) {
  if (game.phase == IDLE) return;
  if (mouse_buttons > 0 && mouse_buttons != 2) {
    game.face = OBJ_FACE_HELD;
    game.face_timer = 0.0f;
    return;
  }
  if (game.face_timer >= 0.0f)
    game.face_timer += seconds;
  else
    game.face_timer -= seconds;

  const float t = game.face_timer;
  switch (game.face) {
    case OBJ_FACE_LOST:
      if (t >= 2.0f) show_face(OBJ_FACE_NEUTRAL, 0.0f);
      break;
    case OBJ_FACE_BLINK:
      if (t >= 0.2f) show_face(OBJ_FACE_NEUTRAL, 0.0f);
      break;
    case OBJ_FACE_IDLE1:
      // The neutral face between the two halves counts down from here.
      if (t >= 1.0f) show_face(OBJ_FACE_NEUTRAL, -0.001f);
      break;
    case OBJ_FACE_IDLE2:
      if (t >= 1.0f) show_face(OBJ_FACE_NEUTRAL, 0.0f);
      break;
    case OBJ_FACE_HELD: game.face = OBJ_FACE_NEUTRAL; break;
    case OBJ_FACE_NEUTRAL:
      if (t >= 4.0f) {
        // The smiley's own stream: its draws leave the game stream alone.
        int next = 0;
        if (random_range(game.smiley_random, 0, 10) == 0)
          next = OBJ_FACE_BLINK;
        else if (random_range(game.smiley_random, 0, 20) == 0)
          next = OBJ_FACE_IDLE1;
        if (next != 0) {
          show_face(next, 0.0f);
          break;
        }
      }
      if (t <= -0.15f) show_face(OBJ_FACE_IDLE2, 0.0f);
      break;
    default: game.face = OBJ_FACE_NEUTRAL; break;
  }
}
