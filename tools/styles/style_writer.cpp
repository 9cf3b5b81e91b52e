#include "styles/style_writer.h"

#include <allegro.h>

#include "common/datafile_writer.h"
#include "styles/style_art.h"

namespace styles {

namespace {

// Shape table, pattern table and records start at fixed offsets past the
// header; offsets of 256 and more have small bytes, which leaves room in
// the header's byte sum for long style names.
constexpr uint32_t SHAPE_TABLE = 0x100;
constexpr uint32_t PATTERN_TABLE = 0x500;
constexpr uint32_t RECORDS = 0x540;

void put8(std::vector<uint8_t>& b, uint32_t at, int v) {
  if (b.size() < at + 1) b.resize(at + 1, 0);
  b[at] = static_cast<uint8_t>(v & 0xFF);
}
void put16(std::vector<uint8_t>& b, uint32_t at, int v) {
  put8(b, at, v);
  put8(b, at + 1, v >> 8);
}
void put32(std::vector<uint8_t>& b, uint32_t at, uint32_t v) {
  put16(b, at, static_cast<int>(v & 0xFFFF));
  put16(b, at + 2, static_cast<int>(v >> 16));
}

}  // namespace

std::vector<uint8_t> style_layout_bytes(const StyleDef& st, std::string* error) {
  auto fail = [&](const std::string& m) {
    if (error) *error = st.file_name + ": " + m;
    return std::vector<uint8_t>();
  };
  const size_t n = st.shapes.size(), p = st.patterns.size();
  if (n < 1 || n > STYLE_MAX_SHAPES) return fail("shape count");
  if (p < 1 || p > 16) return fail("pattern count");
  if (st.name.size() > 31) return fail("style name too long");
  std::vector<uint8_t> b(RECORDS, 0);
  for (size_t i = 0; i < st.name.size(); i++) b[i] = static_cast<uint8_t>(st.name[i]);
  put8(b, 0x20, static_cast<int>(n));
  put8(b, 0x21, static_cast<int>(p));
  put32(b, 0x22, SHAPE_TABLE);
  put32(b, 0x26, PATTERN_TABLE);
  uint32_t at = RECORDS;
  for (size_t s = 0; s < n; s++) {
    const ShapeDef& sh = st.shapes[s];
    put32(b, SHAPE_TABLE + 4 * static_cast<uint32_t>(s), at);
    put8(b, at, sh.grid_w);
    put8(b, at + 1, sh.grid_h);
    put8(b, at + 2, sh.symbol_x);
    put8(b, at + 3, sh.symbol_y);
    at += 4;
    for (int y = 0; y < sh.grid_h; y++)
      for (int x = 0; x < sh.grid_w; x++)
        for (int k = 0; k < 4; k++) put8(b, at++, sh.codes[x][y][k]);
  }
  for (size_t q = 0; q < p; q++) {
    const PatternDef& pat = st.patterns[q];
    if (pat.name.size() > 31) return fail("pattern name too long: " + pat.name);
    put32(b, PATTERN_TABLE + 4 * static_cast<uint32_t>(q), at);
    for (size_t i = 0; i < 32; i++) put8(b, at + static_cast<uint32_t>(i), i < pat.name.size() ? pat.name[i] : 0);
    put16(b, at + 0x20, static_cast<int>(pat.cells.size()));
    for (int k = 0; k < 4; k++) {
      put16(b, at + 0x22 + 2 * static_cast<uint32_t>(k), pat.mines[k]);
      put8(b, at + 0x2A + static_cast<uint32_t>(k), pat.mega[k]);
    }
    put16(b, at + 0x2E, 0);
    at += 0x30;
    for (const CellDef& c : pat.cells) {
      put8(b, at, c.shape);
      put8(b, at + 1, c.bx);
      put8(b, at + 2, c.by);
      put8(b, at + 3, 0);
      at += 4;
    }
  }
  // The signature sum: fill the name field after its terminator.
  int sum = 0;
  for (int i = 0; i < 42; i++) sum += b[static_cast<size_t>(i)];
  int missing = STYLE_HEADER_SUM - sum;
  if (missing < 0) return fail("header bytes exceed the signature sum");
  for (size_t i = st.name.size() + 1; i < 32 && missing > 0; i++) {
    const int v = missing > 255 ? 255 : missing;
    b[i] = static_cast<uint8_t>(v);
    missing -= v;
  }
  if (missing > 0) return fail("name field cannot make up the signature sum");
  return b;
}

std::vector<uint8_t> style_signature_bytes() {
  std::vector<uint8_t> b;
  put32(b, 0, STYLE_SIGNATURE_FIRST);
  put32(b, 4, STYLE_SIGNATURE_SECOND);
  return b;
}

bool write_style_file(const StyleDef& st, const std::string& path, std::string* error) {
  const std::vector<uint8_t> layout = style_layout_bytes(st, error);
  if (layout.empty()) return false;
  DatafileWriter dat;
  dat.add_data(layout, "LAYOUT");
  std::vector<BITMAP*> pictures;
  for (const ShapeDef& s : st.shapes) pictures.push_back(draw_hidden_tile(s));
  for (const ShapeDef& s : st.shapes) pictures.push_back(draw_revealed_tile(s));
  for (size_t s = 0; s < st.shapes.size(); s++) pictures.push_back(draw_exploded_tile(st.shapes[s], static_cast<unsigned>(s)));
  for (size_t i = 0; i < pictures.size(); i++) dat.add_bitmap(pictures[i]);
  for (const PatternDef& pat : st.patterns) {
    BITMAP* board = draw_board_picture(st, pat);
    dat.add_rle_sprite(board);
    destroy_bitmap(board);
  }
  dat.add_data(style_signature_bytes(), "SIGNATURE");
  for (BITMAP* p : pictures) destroy_bitmap(p);
  if (!dat.write(path)) {
    if (error) *error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace styles
