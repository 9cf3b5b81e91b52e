// Board geometry: the shape records of the loaded style, the hit grid that
// narrows a screen point down to a few cells, and the neighbour search.
#pragma once

#include <cstdint>

#include "rules/board_state.h"

enum { MAX_SHAPES = 255, HIT_GRID_COLUMNS = 89, HIT_GRID_ROWS = 73, HIT_SLOTS = 4 };

struct ShapeInfo {
  int32_t shape_index;
  int32_t fill_count;          // adjacency codes equal to 2
  uint8_t grid[8][8][4];       // [column][row][code]
  uint8_t width;               // blocks, 1..8
  uint8_t height;
  uint8_t symbol_x;            // symbol box offset from the cell's x, y
  uint8_t symbol_y;
};

struct HitGrid {
  int16_t buckets[HIT_GRID_COLUMNS * HIT_GRID_ROWS][HIT_SLOTS];  // column-major: 73 * col + row
  int32_t grid_origin_x;
  int32_t grid_origin_y;
  int32_t grid_columns;
  int32_t grid_rows;
};

extern ShapeInfo shape_info[MAX_SHAPES];
extern int shape_count;
extern HitGrid hit_grid;

// Fills shape_info[shape] from the shape record at record_offset of the
// layout data (the record must lie inside the data; grids are cut to 8 x 8).
void build_shape_info(int shape, const uint8_t* layout, uint32_t record_offset);
void build_shape_info_into(ShapeInfo& info, int shape, const uint8_t* layout, uint32_t record_offset);
// Fills the hit grid from the board's cells; returns 0 when a bucket would
// take a fifth cell (the caller reports it).
int build_hit_grid();
// Fills every cell's neighbour list, in increasing index order; a cell
// with more than MAX_NEIGHBOURS neighbours keeps the lowest ones.
void build_neighbours();
// 1 when two blocks (four codes each) touch: at some position k the two
// codes add up to 3 or more.
int blocks_touch(const uint8_t* a, const uint8_t* b);
// The cell under a screen point of the board rectangle, or -1;
// CELL_AT_OUTSIDE_GRID for a point left of or above the hit grid, which
// the caller was to keep out.
enum { CELL_AT_OUTSIDE_GRID = -2 };
int cell_at(int x, int y);

// The same on explicitly given records: the board loader uses the globals,
// the style validation builds each pattern's geometry in scratch records.
// The grid's origin, columns and rows must be set by the caller.
int build_hit_grid_for(const Board& b, const ShapeInfo* shapes, HitGrid& grid);
// Returns the largest number of neighbours any cell has (before lists are
// cut to MAX_NEIGHBOURS). The search stops early, leaving the lists
// incomplete, as soon as a cell is found to have more than stop_above.
int build_neighbours_for(Board& b, const ShapeInfo* shapes, int stop_above = MAX_CELLS);
