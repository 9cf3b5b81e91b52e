// Game modes: the status counters each mode shows.
#pragma once

#include "rules/board_state.h"

enum { MODE_COUNT = 7 };

// Which of the twelve status entries each mode shows (1 = shown).
extern const int32_t STATUS_TABLE[MODE_COUNT][STATUS_SLOTS];

// Copies the mode's row of STATUS_TABLE into game.status_row and counts
// its shown entries into game.status_count.
void set_status_row(GameMode mode);
