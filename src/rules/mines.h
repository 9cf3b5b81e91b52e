// Mine placement, clues, the first click's safe zone and the mine
// movements of play. Every draw comes from the game stream of the random
// source. Loops that draw until a fitting cell turns up first make sure one
// exists, so they always end; where none exists the step stops short.
#pragma once

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
void lay_mines();
// Works out the clue of every cell whose content is 0, by the current mode.
void compute_clues();
// Makes the first cell (game.first_cell) and a zone around it safe;
// returns the number of zone members (the first cell included).
int clear_first_click_zone();
// Moves the mine of cell v to a drawn cell holding neither a mine nor a zone
// mark. Returns 0 (and changes nothing) when no such cell exists.
int relocate_mine(int v);
// Recounts a cell's regular-mine neighbours; a revealed cell is drawn again.
void recount_cell(int cell);
// The Moving Mines step: a hidden mine moves to a hidden neighbour.
void move_random_mine();
// 1 when revealing game.first_cell alone would have opened every safe cell.
int is_one_click_board();

// Called with a cell's index whenever the rules change a revealed cell's
// clue outside of a reveal; the cell drawing code sets it to redraw the
// cell (onto the SceneBuffer, not pressed). Nothing is drawn while unset.
extern void (*cell_changed)(int cell);
