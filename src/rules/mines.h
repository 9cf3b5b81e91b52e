// Mine placement, clues, the first click's safe zone and the mine
// movements of play. Every draw comes from the generator handed in: the
// game stream, game.random. Loops that draw until a fitting cell turns up first make sure one
// exists, so they always end; where none exists the step stops short.
#pragma once

#include "rules/board_state.h"
#include "rules/random.h"

// The first click's zone: clamp(floor(cells / 48), 2, 32) cells.
int zone_size(int cell_count);

// The number of cells a pattern must keep free of mines so that the first
// click's zone can always be cleared: the zone's members and all their
// neighbours, at most zone_size x (1 + the most neighbours of any cell),
// and never more than the cells there are. A pattern is only accepted with
// at most cell_count - safe_cells_needed mines (style validation), which
// guarantees that every mine relocation finds a free cell.
int safe_cells_needed(int cell_count, int most_neighbours);

// Lays game.mines_total mines on the board (split into three levels in
// Multi-Mine mode) and works out the clues. Never lays more mines than
// there are cells: with too few cells the counters are cut to the mines laid.
void lay_mines(Random& random);
// Works out the clue of every cell whose content is 0, by the current mode.
void compute_clues();
// Makes the first cell (game.first_cell) and a zone around it safe;
// returns the number of zone members (the first cell included).
int clear_first_click_zone(Random& random);
// Moves the mine of cell v to a drawn cell holding neither a mine nor a zone
// mark. Returns 0 (and changes nothing) when no such cell exists.
int relocate_mine(int v, Random& random);
// Recounts a cell's regular-mine neighbours; a revealed cell's change is
// reported (EVENT_CELL_CHANGED).
void recount_cell(int cell);
// The Moving Mines step: a hidden mine moves to a hidden neighbour.
void move_random_mine(Random& random);
// Whether uncovering the cell makes the cascade open its neighbours, by
// the current mode: a clue of 0, in Backwards a clue equal to the number
// of neighbours, never in MegaMine.
bool opens_neighbours(const Cell& cell);
// 1 when revealing game.first_cell alone would have opened every safe
// cell: the first cell and the cascade it sets off, by the mode's rule.
int is_one_click_board();
