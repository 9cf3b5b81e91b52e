// The neighbour search as a plain scan of every pair, block by block: the
// reference the game's pruned search is checked and measured against.
#pragma once

#include "board/geometry.h"
#include "rules/board_state.h"

inline void reference_neighbours(Board& b, const ShapeInfo* shapes) {
  for (int i = 0; i < b.cell_count; i++) {
    b.cells[i].neighbour_count = 0;
    for (auto& e : b.cells[i].neighbours) e = -1;
  }
  for (int i = 0; i < b.cell_count; i++)
    for (int j = i + 1; j < b.cell_count; j++) {
      const Cell& ci = b.cells[i];
      const Cell& cj = b.cells[j];
      const ShapeInfo& si = shapes[ci.shape];
      const ShapeInfo& sj = shapes[cj.shape];
      const int dx = ci.block_x - cj.block_x, dy = ci.block_y - cj.block_y;
      bool touch = false;
      for (int x = 0; x < si.width && !touch; x++)
        for (int y = 0; y < si.height && !touch; y++) {
          const int jx = x + dx, jy = y + dy;
          if (jx < 0 || jy < 0 || jx >= sj.width || jy >= sj.height) continue;
          touch = blocks_touch(si.grid[x][y], sj.grid[jx][jy]);
        }
      if (touch) {
        append_neighbour(b.cells[i], j);
        append_neighbour(b.cells[j], i);
      }
    }
}
