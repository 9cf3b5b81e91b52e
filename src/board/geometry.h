// Board geometry: the shape records of the loaded style, the hit grid that
// narrows a screen point down to a few cells, and the neighbour search.
#pragma once

#include <cstdint>

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

void build_shape_info(int shape, const uint8_t* layout, uint32_t record_offset);
// Fills the hit grid from the board's cells; returns 0 when a bucket would
// take a fifth cell (the caller reports it).
int build_hit_grid();
void build_neighbours();
int blocks_touch(const uint8_t* a, const uint8_t* b);
// The cell under a screen point of the board rectangle, or -1.
int cell_at(int x, int y);
