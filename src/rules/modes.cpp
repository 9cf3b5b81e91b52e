#include "rules/modes.h"

const int32_t STATUS_TABLE[MODE_COUNT][STATUS_SLOTS] = {
    {0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0},  // Classic
    {0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0},  // Flagless
    {0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0},  // Backwards
    {0, 1, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0},  // Multi-Mine
    {0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0},  // Moving Mines
    {0, 1, 0, 1, 1, 1, 0, 0, 0, 1, 0, 1},  // Endurance
    {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0},  // MegaMine
};

void set_status_row(GameMode mode) {
  const int row = (static_cast<int>(mode) >= 0 && static_cast<int>(mode) < MODE_COUNT) ? static_cast<int>(mode) : 0;
  game.status_count = 0;
  for (int e = 0; e < STATUS_SLOTS; e++) {
    game.status_row[e] = STATUS_TABLE[row][e];
    if (game.status_row[e] != 0) game.status_count++;
  }
}
