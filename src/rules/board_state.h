// The loaded board and the running counters of the game: one Board and
// one GameSession, global for the whole run.
#pragma once

#include <cstdint>

#include "rules/random.h"

enum { MAX_CELLS = 1280, MAX_NEIGHBOURS = 32, STATUS_SLOTS = 12 };

enum CellState : uint8_t {
  HIDDEN = 0,
  REVEALED = 1,
  FLAGGED = 2,
  FLAGGED_LEVEL2 = 3,
  FLAGGED_LEVEL3 = 4,
  QUESTION = 5
};

// Cell contents: 0..199 a clue, 100 only while the first click's zone is
// being cleared, 200..202 a mine of level 1..3.
enum CellContent : uint8_t { ZONE_MARK = 100, MINE = 200, MINE_LEVEL2 = 201, MINE_LEVEL3 = 202 };

enum GameMode : int32_t {
  CLASSIC = 0,
  FLAGLESS = 1,
  BACKWARDS = 2,
  MULTI_MINE = 3,
  MOVING_MINES = 4,
  ENDURANCE = 5,
  MEGAMINE = 6
};

enum SkillLevel : int32_t { BEGINNER = 0, INTERMEDIATE = 1, EXPERT = 2, MASTER = 3 };

enum GamePhase : int32_t { IDLE = 0, PLAYING = 1, FINISHED = 2 };

struct Cell {
  int16_t index;
  uint8_t shape;
  uint8_t block_x;
  uint8_t block_y;
  uint8_t state;
  uint8_t content;
  uint8_t neighbour_count;
  int16_t neighbours[MAX_NEIGHBOURS];
  int32_t x;
  int32_t y;
  int32_t open_wave;
  float flash_timer;
};

struct Board {
  char style_name[32];
  char pattern_name[32];
  int16_t cell_count;
  int16_t origin_x;
  int16_t origin_y;
  Cell cells[MAX_CELLS];
};

struct GameSession {
  GameMode mode;
  SkillLevel skill;
  int32_t endurance_minutes;
  GamePhase phase;
  int16_t first_cell;
  int32_t mines_total;
  int32_t mines_left;
  int32_t level2_left;
  int32_t level3_left;
  int32_t mines_hit;
  int32_t board_mines_hit;
  int32_t cells_hidden;
  float game_time;
  float megamine_clock;
  int32_t score;
  int32_t boards_played;
  float penalty_time;
  int32_t damage;
  int32_t face;
  float face_timer;
  float auto_reveal_timer;
  int32_t status_row[STATUS_SLOTS];
  int32_t status_count;
  // The three random streams of a board, all started where the board's
  // mines were laid: the game's own draws (mines, the first click's zone,
  // the Moving Mines step), drawn only by the rules' own decisions, so that
  // a board follows from its ID and the player's actions alone; the
  // effects (the bursts of uncovered cells, where the fireworks burst);
  // and the smiley's idle animation.
  Random random;
  Random effects_random;
  Random smiley_random;
  // Where the board load seeded the game stream: the board's seed, from
  // which its game ID is made.
  Random board_random;
  // The board is made no-guess at its first reveal (see rules/no_guess.h),
  // by that version of the maker (NO_GUESS_MAKER for a new game's board).
  bool no_guess;
  int32_t no_guess_maker;
  // A hint was used in this game (rules/hint.h); kept across the boards of
  // an Endurance run.
  bool hinted;
};

extern Board board;
extern GameSession game;

void init_cell(Cell& cell);
void init_board();
void place_cell(int index, int shape, int block_x, int block_y, int origin_x, int origin_y);
// Appends a neighbour; a full list (MAX_NEIGHBOURS) is left as it is and 0 returned.
int append_neighbour(Cell& cell, int neighbour);
// Starts the session as the program starts: no game, Classic at Beginner.
void init_game_session();
