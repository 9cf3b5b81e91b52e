#include "render/hint_highlight.h"

#include <cstdint>
#include <vector>

#include "board/board_load.h"
#include "board/geometry.h"
#include "board/loaded_style.h"
#include "palette/palette_entries.h"
#include "rules/board_state.h"

const float HINT_HIGHLIGHT_SECONDS = 2.0f;

namespace {

// The ring is up to RING_DEPTH pixels deep inside the tile's outline.
constexpr int RING_DEPTH = 3;
// One pulse: the wide ring in the first half, the narrow one in the second.
constexpr float PULSE_SECONDS = 0.4f;

// Colours: bright palette entries that read on the hidden tiles.
constexpr int SAFE_WIDE = COL_LED_L1_ON;               // bright green
constexpr int SAFE_NARROW = COL_MULTIFLAG1_FIRST + 1;  // pale green
constexpr int MINE_WIDE = COL_LED_STD_ON;              // bright red
constexpr int MINE_NARROW = COL_EXPLOSION_FIRST + 6;   // flame orange
constexpr int MINE_TINT = COL_LED_STD_ON;

struct Highlight {
  int cell = -1;
  bool mine = false;
  float elapsed = 0.0f;
  int board_load = -1;  // boards_loaded when it started
  int x = 0, y = 0, w = 0, h = 0;
  // Per pixel of the tile: 0 outside the cell, else how deep inside its
  // outline (1 on the outline), RING_DEPTH + 1 for anything deeper.
  std::vector<uint8_t> depth;
} highlight;

bool opaque(BITMAP* picture, int x, int y) { return getpixel(picture, x, y) != bitmap_mask_color(picture); }

bool has_opaque_pixel(BITMAP* picture) {
  if (!picture) return false;
  for (int y = 0; y < picture->h; y++)
    for (int x = 0; x < picture->w; x++)
      if (opaque(picture, x, y)) return true;
  return false;
}

// The cell's area: its hidden tile, else its revealed tile, else the
// blocks of its shape.
void work_out_area(const Cell& cell) {
  BITMAP* picture = hidden_picture(cell.shape);
  if (!has_opaque_pixel(picture)) picture = revealed_picture(cell.shape);
  if (!has_opaque_pixel(picture)) picture = nullptr;
  highlight.x = cell.x;
  highlight.y = cell.y;
  highlight.w = picture ? picture->w : 8 * shape_info[cell.shape].width;
  highlight.h = picture ? picture->h : 8 * shape_info[cell.shape].height;
  const int w = highlight.w, h = highlight.h;
  std::vector<uint8_t>& d = highlight.depth;
  d.assign(static_cast<size_t>(w * h), 0);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++)
      if (!picture || opaque(picture, x, y)) d[static_cast<size_t>(y * w + x)] = RING_DEPTH + 1;
  // Peel the area ring by ring: a pixel next to (eight directions) the
  // outside or the last ring lies on the next one.
  for (int ring = 1; ring <= RING_DEPTH; ring++) {
    std::vector<uint8_t> next = d;
    for (int y = 0; y < h; y++)
      for (int x = 0; x < w; x++) {
        if (d[static_cast<size_t>(y * w + x)] <= RING_DEPTH) continue;
        bool edge = false;
        for (int dy = -1; dy <= 1 && !edge; dy++)
          for (int dx = -1; dx <= 1 && !edge; dx++) {
            const int xx = x + dx, yy = y + dy;
            if (xx < 0 || yy < 0 || xx >= w || yy >= h) {
              edge = true;
              continue;
            }
            const uint8_t v = d[static_cast<size_t>(yy * w + xx)];
            edge = v == 0 || (v < ring && v >= 1);
          }
        if (edge) next[static_cast<size_t>(y * w + x)] = static_cast<uint8_t>(ring);
      }
    d = next;
  }
}

}  // namespace

void start_hint_highlight(int cell, bool mine) {
  stop_hint_highlight();
  if (cell < 0 || cell >= board.cell_count || board.cells[cell].shape >= MAX_SHAPES) return;
  highlight.cell = cell;
  highlight.mine = mine;
  highlight.elapsed = 0.0f;
  highlight.board_load = boards_loaded;
  work_out_area(board.cells[cell]);
}

void stop_hint_highlight() {
  highlight.cell = -1;
  highlight.depth.clear();
}

void advance_hint_highlight(float seconds) {
  if (highlight.cell < 0) return;
  highlight.elapsed += seconds;
  if (!(highlight.elapsed < HINT_HIGHLIGHT_SECONDS) || highlight.board_load != boards_loaded ||
      highlight.cell >= board.cell_count || board.cells[highlight.cell].state == REVEALED)
    stop_hint_highlight();
}

int hint_highlight_cell() { return highlight.cell; }

void draw_hint_highlight(BITMAP* target) {
  if (!target || highlight.cell < 0) return;
  const bool wide = static_cast<int>(highlight.elapsed / (PULSE_SECONDS / 2.0f)) % 2 == 0;
  const int thickness = wide ? RING_DEPTH : RING_DEPTH - 1;
  const int ring = highlight.mine ? (wide ? MINE_WIDE : MINE_NARROW) : (wide ? SAFE_WIDE : SAFE_NARROW);
  const int w = highlight.w, h = highlight.h;
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      const int d = highlight.depth[static_cast<size_t>(y * w + x)];
      if (d == 0) continue;
      const int sx = highlight.x + x, sy = highlight.y + y;
      if (d <= thickness)
        putpixel(target, sx, sy, ring);
      else if (highlight.mine && (sx + sy) % 2 == 0)
        putpixel(target, sx, sy, MINE_TINT);
    }
}
