#include "board/geometry.h"

#include <algorithm>
#include <vector>

#include "board/loaded_style.h"
#include "board/style_layout.h"

ShapeInfo shape_info[MAX_SHAPES];
int shape_count = 0;
HitGrid hit_grid;

void build_shape_info_into(ShapeInfo& info, int shape, const uint8_t* layout, uint32_t record_offset) {
  info = ShapeInfo{};
  info.shape_index = shape;
  const int w = std::min<int>(read_u8(layout, record_offset), MAX_SHAPE_BLOCKS);
  const int h = std::min<int>(read_u8(layout, record_offset + 1), MAX_SHAPE_BLOCKS);
  info.width = static_cast<uint8_t>(w);
  info.height = static_cast<uint8_t>(h);
  info.symbol_x = read_u8(layout, record_offset + 2);
  info.symbol_y = read_u8(layout, record_offset + 3);
  info.fill_count = 0;
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++)
      for (int k = 0; k < 4; k++) {
        const uint8_t code = read_u8(layout, record_offset + 4u + static_cast<uint32_t>(4 * (w * y + x) + k));
        info.grid[x][y][k] = code;
        if (code == 2) info.fill_count++;
      }
}

void build_shape_info(int shape, const uint8_t* layout, uint32_t record_offset) {
  if (shape < 0 || shape >= MAX_SHAPES) return;
  build_shape_info_into(shape_info[shape], shape, layout, record_offset);
}

int blocks_touch(const uint8_t* a, const uint8_t* b) {
  for (int k = 0; k < 4; k++)
    if (a[k] + b[k] >= 3) return 1;
  return 0;
}

namespace {

// A shape's grid size; a shape index beyond the table has no grid.
void grid_size(const ShapeInfo* shapes, int shape, int& w, int& h) {
  if (shape < 0 || shape >= MAX_SHAPES) {
    w = h = 0;
    return;
  }
  w = std::min<int>(shapes[shape].width, MAX_SHAPE_BLOCKS);
  h = std::min<int>(shapes[shape].height, MAX_SHAPE_BLOCKS);
}

int board_cells(const Board& b) { return std::max(0, std::min<int>(b.cell_count, MAX_CELLS)); }

}  // namespace

int build_hit_grid_for(const Board& b, const ShapeInfo* shapes, HitGrid& grid) {
  for (auto& bucket : grid.buckets)
    for (int16_t& slot : bucket) slot = -1;
  const int columns = std::max(0, std::min<int>(grid.grid_columns, HIT_GRID_COLUMNS));
  const int rows = std::max(0, std::min<int>(grid.grid_rows, HIT_GRID_ROWS));
  // Cells are entered in index order, so every bucket's slots come out in
  // index order, as a scan of the buckets over all cells would fill them.
  const int n = board_cells(b);
  for (int i = 0; i < n; i++) {
    const Cell& c = b.cells[i];
    int w, h;
    grid_size(shapes, c.shape, w, h);
    const int col_end = std::min(columns, c.block_x + w - 2);
    const int row_end = std::min(rows, c.block_y + h - 2);
    for (int col = c.block_x; col < col_end; col++)
      for (int row = c.block_y; row < row_end; row++) {
        int16_t* bucket = grid.buckets[HIT_GRID_ROWS * col + row];
        int slot = 0;
        while (slot < HIT_SLOTS && bucket[slot] != -1) slot++;
        if (slot == HIT_SLOTS) return 0;
        bucket[slot] = static_cast<int16_t>(i);
      }
  }
  return 1;
}

int build_hit_grid() { return build_hit_grid_for(board, shape_info, hit_grid); }

namespace {

// Per block of a shape, the codes as three 4-bit masks (one bit per
// position k): bits 0-3 code >= 1, bits 4-7 code >= 2, bits 8-11 code >= 3.
// Two codes add up to 3 or more exactly when one is >= 2 and the other >= 1,
// or one alone is >= 3.
using BlockMask = uint16_t;

BlockMask block_mask(const uint8_t* codes) {
  BlockMask m = 0;
  for (int k = 0; k < 4; k++) {
    if (codes[k] >= 1) m |= static_cast<BlockMask>(1u << k);
    if (codes[k] >= 2) m |= static_cast<BlockMask>(1u << (4 + k));
    if (codes[k] >= 3) m |= static_cast<BlockMask>(1u << (8 + k));
  }
  return m;
}

inline bool masks_touch(BlockMask a, BlockMask b) {
  return (((a >> 4) & b) | (a & (b >> 4)) | ((a | b) >> 8)) & 0xF;
}

struct NeighbourScratch {
  BlockMask masks[MAX_SHAPES][8][8];  // [shape][x][y]
  bool mask_ready[MAX_SHAPES];
  std::vector<std::vector<int16_t>> found;
  int coarse_start[32 * 32 + 1];
  int16_t coarse_cells[MAX_CELLS];
};

// Coarse buckets of 8 x 8 block positions: two grids of at most 8 blocks
// can only overlap when their cells' coarse buckets are at most one apart.
inline int coarse_key(const Cell& c) { return (c.block_x >> 3) * 32 + (c.block_y >> 3); }

}  // namespace

int build_neighbours_for(Board& b, const ShapeInfo* shapes, int stop_above) {
  const int n = board_cells(b);
  for (int i = 0; i < n; i++) {
    Cell& c = b.cells[i];
    c.neighbour_count = 0;
    for (int16_t& e : c.neighbours) e = -1;
  }
  if (n < 2) return 0;

  static NeighbourScratch* s = new NeighbourScratch;
  std::fill(std::begin(s->mask_ready), std::end(s->mask_ready), false);
  int w[MAX_CELLS], h[MAX_CELLS];
  for (int i = 0; i < n; i++) {
    const int shape = b.cells[i].shape;
    grid_size(shapes, shape, w[i], h[i]);
    if (w[i] == 0 || s->mask_ready[shape]) continue;
    s->mask_ready[shape] = true;
    for (int x = 0; x < w[i]; x++)
      for (int y = 0; y < h[i]; y++) s->masks[shape][x][y] = block_mask(shapes[shape].grid[x][y]);
  }

  // Counting sort of the cells into coarse buckets, index order kept.
  std::fill(std::begin(s->coarse_start), std::end(s->coarse_start), 0);
  for (int i = 0; i < n; i++) s->coarse_start[coarse_key(b.cells[i]) + 1]++;
  for (int k = 0; k < 32 * 32; k++) s->coarse_start[k + 1] += s->coarse_start[k];
  {
    int fill[32 * 32];
    std::copy(s->coarse_start, s->coarse_start + 32 * 32, fill);
    for (int i = 0; i < n; i++) s->coarse_cells[fill[coarse_key(b.cells[i])]++] = static_cast<int16_t>(i);
  }

  s->found.resize(static_cast<size_t>(MAX_CELLS));
  for (int i = 0; i < n; i++) s->found[static_cast<size_t>(i)].clear();

  int most = 0;
  for (int i = 0; i < n; i++) {
    const Cell& ci = b.cells[i];
    if (w[i] == 0 || h[i] == 0) continue;
    const int cx = ci.block_x >> 3, cy = ci.block_y >> 3;
    for (int kx = std::max(0, cx - 1); kx <= std::min(31, cx + 1); kx++)
      for (int ky = std::max(0, cy - 1); ky <= std::min(31, cy + 1); ky++) {
        const int key = kx * 32 + ky;
        for (int e = s->coarse_start[key]; e < s->coarse_start[key + 1]; e++) {
          const int j = s->coarse_cells[e];
          if (j <= i || w[j] == 0 || h[j] == 0) continue;
          const Cell& cj = b.cells[j];
          const int x0 = std::max<int>(ci.block_x, cj.block_x);
          const int x1 = std::min<int>(ci.block_x + w[i], cj.block_x + w[j]);
          const int y0 = std::max<int>(ci.block_y, cj.block_y);
          const int y1 = std::min<int>(ci.block_y + h[i], cj.block_y + h[j]);
          if (x0 >= x1 || y0 >= y1) continue;
          const BlockMask(*mi)[8] = s->masks[ci.shape];
          const BlockMask(*mj)[8] = s->masks[cj.shape];
          bool touch = false;
          for (int x = x0; x < x1 && !touch; x++)
            for (int y = y0; y < y1; y++)
              if (masks_touch(mi[x - ci.block_x][y - ci.block_y], mj[x - cj.block_x][y - cj.block_y])) {
                touch = true;
                break;
              }
          if (!touch) continue;
          auto& fi = s->found[static_cast<size_t>(i)];
          auto& fj = s->found[static_cast<size_t>(j)];
          fi.push_back(static_cast<int16_t>(j));
          fj.push_back(static_cast<int16_t>(i));
          most = std::max<int>(most, static_cast<int>(std::max(fi.size(), fj.size())));
          if (most > stop_above) return most;
        }
      }
  }

  // Every pair was found once; each list in increasing index order is the
  // order in which a scan of all pairs (i < j, by i then j) appends them.
  for (int i = 0; i < n; i++) {
    auto& f = s->found[static_cast<size_t>(i)];
    std::sort(f.begin(), f.end());
    for (int16_t j : f)
      if (!append_neighbour(b.cells[i], j)) break;
  }
  return most;
}

void build_neighbours() { build_neighbours_for(board, shape_info); }

int cell_at(int x, int y) {
  const int dx = x - hit_grid.grid_origin_x;
  const int dy = y - hit_grid.grid_origin_y;
  if (dx < 0 || dy < 0) return CELL_AT_OUTSIDE_GRID;
  const int col = dx / 8, row = dy / 8;
  if (col >= HIT_GRID_COLUMNS || row >= HIT_GRID_ROWS) return -1;
  const int16_t* bucket = hit_grid.buckets[HIT_GRID_ROWS * col + row];
  for (int slot = 0; slot < HIT_SLOTS; slot++) {
    const int index = bucket[slot];
    if (index < 0 || index >= board.cell_count) continue;
    const Cell& c = board.cells[index];
    BITMAP* picture = hidden_picture(c.shape);
    if (!picture) continue;
    if (getpixel(picture, x - c.x, y - c.y) != 0) return index;
  }
  return -1;
}
