#include "rules/board_state.h"

#include <cstring>

#include "platform/main_datafile.h"

Board board;
GameSession game;

void init_cell(Cell& cell) {
  cell.index = -1;
  cell.shape = 0;
  cell.block_x = 0;
  cell.block_y = 0;
  cell.state = HIDDEN;
  cell.content = 0;
  cell.neighbour_count = 0;
  for (int i = 0; i < MAX_NEIGHBOURS; i++) cell.neighbours[i] = -1;
  cell.x = 0;
  cell.y = 0;
  cell.open_wave = 0;
  cell.flash_timer = -1.0f;
}

void init_board() {
  std::memset(board.style_name, 0, sizeof board.style_name);
  std::memset(board.pattern_name, 0, sizeof board.pattern_name);
  board.cell_count = 0;
  for (Cell& c : board.cells) init_cell(c);
}

void place_cell(int index, int shape, int block_x, int block_y, int origin_x, int origin_y) {
  if (index < 0 || index >= MAX_CELLS) return;
  Cell& c = board.cells[index];
  c.index = static_cast<int16_t>(index);
  c.shape = static_cast<uint8_t>(shape);
  c.block_x = static_cast<uint8_t>(block_x);
  c.block_y = static_cast<uint8_t>(block_y);
  c.x = origin_x + 8 * block_x;
  c.y = origin_y + 8 * block_y;
}

int append_neighbour(Cell& cell, int neighbour) {
  if (cell.neighbour_count >= MAX_NEIGHBOURS) return 0;
  cell.neighbours[cell.neighbour_count++] = static_cast<int16_t>(neighbour);
  return 1;
}

void init_game_session() {
  game = GameSession{};
  game.mode = CLASSIC;
  game.skill = BEGINNER;
  game.endurance_minutes = 10;
  game.phase = IDLE;
  game.first_cell = -1;
  game.face = OBJ_FACE_NEUTRAL;
  game.auto_reveal_timer = -1000.0f;
}
