#include "board/style_file.h"

#include <memory>

#include "board/geometry.h"
#include "rules/board_state.h"
#include "rules/mines.h"
#include "rules/random.h"

const uint8_t* style_layout(const DATAFILE* dat, size_t* size) {
  if (size) *size = 0;
  if (datafile_object_count(dat) < 1 || dat[0].type != DAT_DATA || !dat[0].dat || dat[0].size < 0) return nullptr;
  if (size) *size = static_cast<size_t>(dat[0].size);
  return static_cast<const uint8_t*>(dat[0].dat);
}

int style_signature_object(const DATAFILE* dat) {
  size_t size = 0;
  const uint8_t* layout = style_layout(dat, &size);
  if (!layout || size < STYLE_HEADER_SIZE) return -1;
  const int n = read_u8(layout, 0x20);
  const int p = read_u8(layout, 0x21);
  const int index = 3 * n + p + 1;
  if (index >= datafile_object_count(dat)) return -1;
  const DATAFILE& sig = dat[index];
  if (sig.type != DAT_DATA || !sig.dat || sig.size < 8) return -1;
  return index;
}

int passes_signature(const DATAFILE* dat) {
  const int index = style_signature_object(dat);
  if (index < 0) return 0;
  const uint8_t* layout = style_layout(dat, nullptr);
  const uint8_t* sig = static_cast<const uint8_t*>(dat[index].dat);
  const uint32_t first = read_u32(sig, 0);
  const uint32_t second = read_u32(sig, 4);
  uint32_t sum = 0;
  for (uint32_t i = 0; i < STYLE_HEADER_SIZE; i++) sum += read_u8(layout, i);
  if (!(first == SIGNATURE_FIRST && sum == 10000u - first)) return 0;
  if (second != SIGNATURE_SECOND) return 0;
  Random check = random_seeded(sum);
  return random_range(check, 123456, 987654) == static_cast<int>(1000000u - second);
}

// ---------------------------------------------------------------------------
// Validation. Everything is read through bounds-checked offsets; the first
// problem found makes the style invalid.

namespace {

struct LayoutView {
  const uint8_t* data;
  uint64_t size;
  // Whether the bytes [offset, offset + length) lie inside the block.
  bool has(uint64_t offset, uint64_t length) const { return offset <= size && length <= size - offset; }
};

bool picture_ok(const DATAFILE& obj) {
  if (obj.type != DAT_BITMAP || !obj.dat) return false;
  const BITMAP* bmp = static_cast<const BITMAP*>(obj.dat);
  return bmp->w > 0 && bmp->h > 0 && bitmap_color_depth(const_cast<BITMAP*>(bmp)) == 8;
}

bool board_picture_ok(const DATAFILE& obj) {
  if (obj.type != DAT_RLE_SPRITE || !obj.dat) return false;
  const RLE_SPRITE* spr = static_cast<const RLE_SPRITE*>(obj.dat);
  return spr->w > 0 && spr->h > 0 && spr->w <= BOARD_AREA_WIDTH && spr->h <= BOARD_AREA_HEIGHT &&
         spr->color_depth == 8;
}

// Scratch records for building the geometry of each pattern without
// touching the board in play.
struct Scratch {
  ShapeInfo shapes[MAX_SHAPES];
  Board board;
  HitGrid grid;
};

bool pattern_ok(const LayoutView& v, uint32_t record, int n, const RLE_SPRITE* picture, Scratch& s) {
  if (!v.has(record, PATTERN_RECORD_HEADER)) return false;
  const int cells = static_cast<int16_t>(read_u16(v.data, record + 0x20));
  if (cells < 1 || cells > MAX_CELLS) return false;
  if (!v.has(record + static_cast<uint64_t>(PATTERN_RECORD_HEADER), 4ull * static_cast<uint64_t>(cells))) return false;

  for (int i = 0; i < cells; i++) init_cell(s.board.cells[i]);
  s.board.cell_count = static_cast<int16_t>(cells);
  for (int i = 0; i < cells; i++) {
    const uint32_t at = record + PATTERN_RECORD_HEADER + 4u * static_cast<uint32_t>(i);
    const int shape = read_u8(v.data, at);
    const int bx = read_u8(v.data, at + 1);
    const int by = read_u8(v.data, at + 2);
    if (shape >= n) return false;
    // The cell's hit area (its grid less two blocks each way; shapes are at
    // least MIN_SHAPE_BLOCKS, so it is never empty) has to lie inside the
    // hit grid's columns and rows.
    const int w = s.shapes[shape].width;
    const int h = s.shapes[shape].height;
    if (bx + w - 2 > HIT_GRID_COLUMNS || by + h - 2 > HIT_GRID_ROWS) return false;
    // The hit grid spans the board picture only: a cell whose hit area
    // starts right of it or below it would have no bucket and could never
    // be clicked.
    if (bx >= picture->w / 8 || by >= picture->h / 8) return false;
    Cell& c = s.board.cells[i];
    c.index = static_cast<int16_t>(i);
    c.shape = static_cast<uint8_t>(shape);
    c.block_x = static_cast<uint8_t>(bx);
    c.block_y = static_cast<uint8_t>(by);
  }

  s.grid.grid_origin_x = 0;
  s.grid.grid_origin_y = 0;
  s.grid.grid_columns = picture->w / 8;
  s.grid.grid_rows = picture->h / 8;
  if (!build_hit_grid_for(s.board, s.shapes, s.grid)) return false;
  const int most = build_neighbours_for(s.board, s.shapes, MAX_NEIGHBOURS);
  if (most > MAX_NEIGHBOURS) return false;

  // Mines: every count of every skill level has to leave room for the
  // first click's safe zone (see safe_cells_needed).
  const int needed = safe_cells_needed(cells, most);
  for (int skill = 0; skill < 4; skill++) {
    const int mines = static_cast<int16_t>(read_u16(v.data, record + 0x22 + 2u * static_cast<uint32_t>(skill)));
    const int mega = read_u8(v.data, record + 0x2A + static_cast<uint32_t>(skill));
    if (mines < 0 || mines > cells - needed) return false;
    if (mega > cells - needed) return false;
  }
  return true;
}

}  // namespace

int validate_style(const DATAFILE* dat) {
  const int objects = datafile_object_count(dat);
  size_t layout_size = 0;
  const uint8_t* layout = style_layout(dat, &layout_size);
  if (!layout) return 0;
  const LayoutView v{layout, layout_size};
  if (!v.has(0, STYLE_HEADER_SIZE)) return 0;

  const int n = read_u8(layout, 0x20);
  const int p = read_u8(layout, 0x21);
  if (n < 1 || p < 1 || p > MAX_PATTERNS) return 0;
  if (objects < 3 * n + p + 2) return 0;
  for (int i = 1; i <= 3 * n; i++)
    if (!picture_ok(dat[i])) return 0;
  for (int q = 0; q < p; q++)
    if (!board_picture_ok(dat[3 * n + 1 + q])) return 0;
  if (style_signature_object(dat) != 3 * n + p + 1) return 0;

  const uint32_t shape_table = read_u32(layout, 0x22);
  const uint32_t pattern_table = read_u32(layout, 0x26);
  if (!v.has(shape_table, 4ull * static_cast<uint64_t>(n))) return 0;
  if (!v.has(pattern_table, 4ull * static_cast<uint64_t>(p))) return 0;

  std::unique_ptr<Scratch> s(new Scratch);
  for (int shape = 0; shape < n; shape++) {
    const uint32_t record = read_u32(layout, shape_table + 4u * static_cast<uint32_t>(shape));
    if (!v.has(record, 4)) return 0;
    const int w = read_u8(layout, record);
    const int h = read_u8(layout, record + 1);
    // A grid under MIN_SHAPE_BLOCKS wide or high leaves its cells' hit area
    // empty: build_hit_grid_for puts them in no bucket and they could never
    // be clicked.
    if (w < MIN_SHAPE_BLOCKS || w > MAX_SHAPE_BLOCKS || h < MIN_SHAPE_BLOCKS || h > MAX_SHAPE_BLOCKS) return 0;
    if (!v.has(record + 4ull, 4ull * static_cast<uint64_t>(w * h))) return 0;
    for (int i = 0; i < 4 * w * h; i++)
      if (read_u8(layout, record + 4u + static_cast<uint32_t>(i)) > 2) return 0;
    build_shape_info_into(s->shapes[shape], shape, layout, record);
  }

  for (int q = 0; q < p; q++) {
    const uint32_t record = read_u32(layout, pattern_table + 4u * static_cast<uint32_t>(q));
    const RLE_SPRITE* picture = static_cast<const RLE_SPRITE*>(dat[3 * n + 1 + q].dat);
    if (!pattern_ok(v, record, n, picture, *s)) return 0;
  }
  return 1;
}
