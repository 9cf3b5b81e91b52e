#include "rules/actions.h"

#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "rules/board_state.h"
#include "rules/events.h"
#include "rules/mines.h"
#include "rules/modes.h"

namespace {

bool valid_cell(int c) { return c >= 0 && c < board.cell_count && c < MAX_CELLS; }

bool covered_unflagged(const Cell& cell) { return cell.state == HIDDEN || cell.state == QUESTION; }

// The danger a neighbour is known to hold: its flag's level, or the level
// of its exploded mine.
int marked_danger(const Cell& q) {
  switch (q.state) {
    case FLAGGED: return 1;
    case FLAGGED_LEVEL2: return 2;
    case FLAGGED_LEVEL3: return 3;
    case REVEALED:
      if (q.content >= MINE && q.content <= MINE_LEVEL3) return q.content - MINE + 1;
      return 0;
    default: return 0;
  }
}

void arm_cascade(Cell& cell, int wave) {
  cell.open_wave = wave;
  game.auto_reveal_timer = auto_reveal_delay();
}

}  // namespace

float auto_reveal_delay() { return settings.chain_speed > 0.0f ? settings.chain_speed : 0.0f; }

void reveal_cell(int c, int wave, int sound) {
  if (!valid_cell(c) || !covered_unflagged(board.cells[c])) return;
  Cell& cell = board.cells[c];

  if (game.first_cell == -1) {
    game.first_cell = static_cast<int16_t>(c);
    clear_first_click_zone(game.random);  // may move a mine away from this very cell
  }

  cell.state = REVEALED;
  const bool mine = cell.content >= MINE;
  if (mine) {
    if (cell.content == MINE)
      game.mines_left--;
    else if (cell.content == MINE_LEVEL2)
      game.level2_left--;
    else if (cell.content == MINE_LEVEL3)
      game.level3_left--;
    game.board_mines_hit++;
    game.mines_hit++;
    apply_mine_penalty();
    sound = SFX_EXPLOSION;
  }
  post_event(EVENT_CELL_UNCOVERED, c, cell.content);

  if (opens_neighbours(cell)) arm_cascade(cell, wave);
  if (game.mode == MEGAMINE && !mine) {
    game.score -= 25 * cell.content;
    if (game.score < 0) game.score = 0;
  }
  if (game.mode == ENDURANCE && !mine) game.score += cell.content * (cell.content + 1) / 2;
  if (game.mode == MOVING_MINES) move_random_mine(game.random);

  post_event(EVENT_CELL_CHANGED, c);
  game.cells_hidden--;
  post_event(EVENT_SOUND, -1, sound);
  check_board_end();
}

void auto_reveal_step() {
  const int n = board.cell_count;
  if (game.phase != PLAYING) {  // the board ended (time ran out) with a ring still waiting
    game.auto_reveal_timer = -1000.0f;
    for (int c = 0; c < n; c++) board.cells[c].open_wave = 0;
    return;
  }
  const float delay = auto_reveal_delay();
  do {
    game.auto_reveal_timer = -1000.0f;
    for (int c = 0; c < n; c++) {
      const Cell& cell = board.cells[c];
      if (cell.open_wave != 1) continue;
      for (int e = 0; e < cell.neighbour_count; e++) {
        const int q = cell.neighbours[e];
        if (board.cells[q].content < MINE) reveal_cell(q, 2, SFX_AUTO_REVEAL);
      }
    }
    for (int c = 0; c < n; c++) {
      Cell& cell = board.cells[c];
      if (cell.open_wave == 1) {
        cell.open_wave = 0;
      } else if (cell.open_wave == 2) {
        cell.open_wave = 1;
        game.auto_reveal_timer = delay;
      }
    }
  } while (delay == 0.0f && game.auto_reveal_timer == 0.0f);
}

void cycle_flag(int c) {
  if (!valid_cell(c)) return;
  Cell& cell = board.cells[c];
  const bool marks = settings.question_marks != 0;
  int sound = -1;
  switch (cell.state) {
    case HIDDEN:
      cell.state = FLAGGED;
      game.mines_left--;
      sound = SFX_PLACE_FLAG;
      break;
    case FLAGGED:
      game.mines_left++;
      if (game.mode == MULTI_MINE) {
        cell.state = FLAGGED_LEVEL2;
        game.level2_left--;
        sound = SFX_PLACE_FLAG;
      } else {
        cell.state = marks ? QUESTION : HIDDEN;
        sound = marks ? SFX_PLACE_FLAG : SFX_REMOVE_FLAG;
      }
      break;
    case FLAGGED_LEVEL2:
      cell.state = FLAGGED_LEVEL3;
      game.level2_left++;
      game.level3_left--;
      sound = SFX_PLACE_FLAG;
      break;
    case FLAGGED_LEVEL3:
      cell.state = marks ? QUESTION : HIDDEN;
      game.level3_left++;
      sound = marks ? SFX_PLACE_FLAG : SFX_REMOVE_FLAG;
      break;
    case QUESTION:
      cell.state = HIDDEN;
      sound = SFX_REMOVE_FLAG;
      break;
    default: break;  // REVEALED: unchanged, silent
  }
  if (sound >= 0) post_event(EVENT_SOUND, -1, sound);
  post_event(EVENT_CELL_CHANGED, c);
}

void chord(int c) {
  if (!valid_cell(c) || !chord_allowed(game.mode)) return;
  const Cell& cell = board.cells[c];
  if (cell.state != REVEALED) return;
  int danger = 0;
  for (int e = 0; e < cell.neighbour_count; e++) danger += marked_danger(board.cells[cell.neighbours[e]]);
  const int clue = game.mode == BACKWARDS ? cell.neighbour_count - cell.content : cell.content;
  if (danger == 0 || danger != clue) return;
  for (int e = 0; e < cell.neighbour_count; e++) reveal_cell(cell.neighbours[e], 1, SFX_CHORD);
}
