// Small style datafiles made on the fly for tests and benchmarks: shapes,
// patterns and their pictures are described here, turned into the layout
// bytes and object list of a style datafile and written with the
// DatafileWriter. Also boards set up directly in memory for rule tests.
#pragma once

#include <allegro.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "board/geometry.h"
#include "board/style_file.h"
#include "common/datafile_writer.h"
#include "rules/board_state.h"
#include "rules/mines.h"

namespace fixture {

struct Shape {
  int w = 4, h = 4;                 // grid size in blocks
  int symbol_x = 8, symbol_y = 8;
  std::vector<uint8_t> codes;       // 4 * w * h, row by row
  int pic_w = 16, pic_h = 16;
  std::vector<uint8_t> pixels;      // pic_w * pic_h, hidden picture (the hit mask)
};

struct CellSpec {
  int shape, bx, by;
};

struct Pattern {
  std::string name = "Pattern";
  int pic_w = 16, pic_h = 16;
  std::vector<CellSpec> cells;
  int16_t mines[4] = {0, 0, 0, 0};
  uint8_t mega[4] = {0, 0, 0, 0};
};

struct Style {
  std::string name = "Test Style";
  std::vector<Shape> shapes;
  std::vector<Pattern> patterns;
  uint32_t sig_first = SIGNATURE_FIRST;
  uint32_t sig_second = SIGNATURE_SECOND;
};

// One object of a datafile about to be written.
struct Object {
  enum Kind { DATA, BITMAP_8, RLE_8 } kind = DATA;
  std::vector<uint8_t> bytes;  // DATA
  int w = 0, h = 0;            // pictures
  std::vector<uint8_t> pixels;
};

inline void put_le16(std::vector<uint8_t>& out, uint32_t at, int v) {
  out[at] = static_cast<uint8_t>(v & 0xFF);
  out[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}
inline void put_le32(std::vector<uint8_t>& out, uint32_t at, uint32_t v) {
  for (int i = 0; i < 4; i++) out[at + static_cast<uint32_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

// The square tile: a 16 x 16 pixel picture (2 x 2 blocks) whose grid adds
// two blocks of reach to the right and below: body code 1, reach code 2.
// Laid out on a 2-block pitch, each tile touches its eight surrounding
// tiles. The picture's top-left 2 x 2 pixels are transparent.
inline Shape square_shape() {
  Shape s;
  s.w = s.h = 4;
  s.codes.assign(4 * 16, 0);
  for (int y = 0; y < 4; y++)
    for (int x = 0; x < 4; x++)
      for (int k = 0; k < 4; k++) s.codes[static_cast<size_t>(4 * (4 * y + x) + k)] = (x < 2 && y < 2) ? 1 : 2;
  s.pic_w = s.pic_h = 16;
  s.pixels.assign(256, 1);
  s.pixels[0] = s.pixels[1] = s.pixels[16] = s.pixels[17] = 0;
  return s;
}

// cols x rows square tiles, numbered row by row, the picture just covering them.
inline Pattern square_pattern(int cols, int rows, int shape = 0) {
  Pattern p;
  p.name = "Squares " + std::to_string(cols) + "x" + std::to_string(rows);
  p.pic_w = cols * 16;
  p.pic_h = rows * 16;
  for (int r = 0; r < rows; r++)
    for (int c = 0; c < cols; c++) p.cells.push_back({shape, 2 * c, 2 * r});
  // Mine counts within what validation allows (square tiles have at most
  // eight neighbours).
  const int n = cols * rows;
  const int most = n - safe_cells_needed(n, 8);
  const int divisors[4] = {10, 7, 5, 4};
  for (int k = 0; k < 4; k++) {
    p.mines[k] = static_cast<int16_t>(std::min(most, n / divisors[k]));
    p.mega[k] = static_cast<uint8_t>(std::min(std::min(255, most), n / 20 + k));
  }
  return p;
}

inline Style square_style(const std::vector<std::pair<int, int>>& sizes) {
  Style st;
  st.shapes.push_back(square_shape());
  for (auto& wh : sizes) st.patterns.push_back(square_pattern(wh.first, wh.second));
  return st;
}

// The layout data object; the header's byte sum is made 2022 (the value
// the signature needs) with bytes after the name's terminating zero.
inline std::vector<uint8_t> build_layout(const Style& st) {
  const uint32_t n = static_cast<uint32_t>(st.shapes.size());
  const uint32_t p = static_cast<uint32_t>(st.patterns.size());
  std::vector<uint8_t> out(STYLE_HEADER_SIZE, 0);
  const uint32_t shape_table = STYLE_HEADER_SIZE;
  const uint32_t pattern_table = shape_table + 4 * n;
  out.resize(pattern_table + 4 * p, 0);
  for (uint32_t s = 0; s < n; s++) {
    const Shape& sh = st.shapes[s];
    const uint32_t at = static_cast<uint32_t>(out.size());
    put_le32(out, shape_table + 4 * s, at);
    out.push_back(static_cast<uint8_t>(sh.w));
    out.push_back(static_cast<uint8_t>(sh.h));
    out.push_back(static_cast<uint8_t>(sh.symbol_x));
    out.push_back(static_cast<uint8_t>(sh.symbol_y));
    out.insert(out.end(), sh.codes.begin(), sh.codes.end());
  }
  for (uint32_t q = 0; q < p; q++) {
    const Pattern& pt = st.patterns[q];
    const uint32_t at = static_cast<uint32_t>(out.size());
    put_le32(out, pattern_table + 4 * q, at);
    out.resize(at + PATTERN_RECORD_HEADER + 4 * pt.cells.size(), 0);
    for (size_t i = 0; i < pt.name.size() && i < 31; i++) out[at + i] = static_cast<uint8_t>(pt.name[i]);
    put_le16(out, at + 0x20, static_cast<int>(pt.cells.size()));
    for (uint32_t k = 0; k < 4; k++) {
      put_le16(out, at + 0x22 + 2 * k, pt.mines[k]);
      out[at + 0x2A + k] = pt.mega[k];
    }
    for (size_t i = 0; i < pt.cells.size(); i++) {
      const uint32_t c = at + PATTERN_RECORD_HEADER + 4 * static_cast<uint32_t>(i);
      out[c] = static_cast<uint8_t>(pt.cells[i].shape);
      out[c + 1] = static_cast<uint8_t>(pt.cells[i].bx);
      out[c + 2] = static_cast<uint8_t>(pt.cells[i].by);
    }
  }
  out[0x20] = static_cast<uint8_t>(n);
  out[0x21] = static_cast<uint8_t>(p);
  put_le32(out, 0x22, shape_table);
  put_le32(out, 0x26, pattern_table);
  size_t len = std::min<size_t>(st.name.size(), 20);
  int sum = 0;
  for (int i = 32; i < STYLE_HEADER_SIZE; i++) sum += out[static_cast<size_t>(i)];
  for (size_t i = 0; i < len; i++) {
    if (sum + static_cast<uint8_t>(st.name[i]) > 2022) {
      len = i;
      break;
    }
    out[i] = static_cast<uint8_t>(st.name[i]);
    sum += out[i];
  }
  int left = 2022 - sum;
  for (int i = 31; i > static_cast<int>(len) && left > 0; i--) {
    const int b = std::min(255, left);
    out[static_cast<size_t>(i)] = static_cast<uint8_t>(b);
    left -= b;
  }
  return out;
}

inline std::vector<uint8_t> signature_bytes(uint32_t first, uint32_t second) {
  std::vector<uint8_t> out(8, 0);
  put_le32(out, 0, first);
  put_le32(out, 4, second);
  return out;
}

// The objects of a style datafile, in their positions.
inline std::vector<Object> style_objects(const Style& st) {
  std::vector<Object> objs;
  objs.push_back({Object::DATA, build_layout(st), 0, 0, {}});
  for (int kind = 0; kind < 3; kind++)
    for (const Shape& sh : st.shapes) {
      Object o{Object::BITMAP_8, {}, sh.pic_w, sh.pic_h, sh.pixels};
      if (kind > 0)  // revealed and exploded pictures: solid
        for (auto& px : o.pixels) px = static_cast<uint8_t>(px ? 2 + kind : 0);
      objs.push_back(o);
    }
  for (const Pattern& pt : st.patterns) {
    Object o{Object::RLE_8, {}, pt.pic_w, pt.pic_h, {}};
    o.pixels.assign(static_cast<size_t>(pt.pic_w * pt.pic_h), 7);
    objs.push_back(o);
  }
  objs.push_back({Object::DATA, signature_bytes(st.sig_first, st.sig_second), 0, 0, {}});
  return objs;
}

inline bool write_objects(const std::vector<Object>& objs, const std::string& path) {
  DatafileWriter w;
  for (const Object& o : objs) {
    if (o.kind == Object::DATA) {
      w.add_data(o.bytes);
      continue;
    }
    BITMAP* bmp = create_bitmap_ex(8, o.w, o.h);
    if (!bmp) return false;
    for (int y = 0; y < o.h; y++)
      for (int x = 0; x < o.w; x++) {
        const size_t i = static_cast<size_t>(y * o.w + x);
        putpixel(bmp, x, y, i < o.pixels.size() ? o.pixels[i] : 1);
      }
    if (o.kind == Object::BITMAP_8)
      w.add_bitmap(bmp);
    else
      w.add_rle_sprite(bmp);
    destroy_bitmap(bmp);
  }
  return w.write(path);
}

inline bool write_style(const Style& st, const std::string& path) { return write_objects(style_objects(st), path); }

// A board in memory for rule tests: shape 0 is the square tile, cells are
// laid out cols x rows (row by row) and their neighbour lists built.
inline void setup_square_board(int cols, int rows) {
  const Shape sq = square_shape();
  std::vector<uint8_t> rec{static_cast<uint8_t>(sq.w), static_cast<uint8_t>(sq.h), 8, 8};
  rec.insert(rec.end(), sq.codes.begin(), sq.codes.end());
  build_shape_info(0, rec.data(), 0);
  shape_count = 1;
  init_board();
  board.origin_x = 88;
  board.origin_y = 16;
  board.cell_count = static_cast<int16_t>(cols * rows);
  for (int r = 0; r < rows; r++)
    for (int c = 0; c < cols; c++) place_cell(r * cols + c, 0, 2 * c, 2 * r, 88, 16);
  build_neighbours();
}

}  // namespace fixture
