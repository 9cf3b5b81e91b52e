#include "board/style_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "board/geometry.h"
#include "board/style_fixture.h"
#include "rules/board_state.h"
#include "rules/random.h"
#include "support/headless.h"

namespace {

using fixture::Object;

// Writes the objects to a file in the current (temporary) folder and loads it.
DATAFILE* load_objects(const std::vector<Object>& objs) {
  if (!fixture::write_objects(objs, "style.dat")) return nullptr;
  return load_datafile("style.dat");
}

int validate_objects(const std::vector<Object>& objs) {
  DATAFILE* dat = load_objects(objs);
  if (!dat) return -1;
  const int ok = validate_style(dat);
  unload_datafile(dat);
  return ok;
}

int signature_of(const std::vector<Object>& objs) {
  DATAFILE* dat = load_objects(objs);
  if (!dat) return -1;
  const int ok = passes_signature(dat);
  unload_datafile(dat);
  return ok;
}

// Two shapes (the square tile and a plain 3 x 3 block) and two patterns.
fixture::Style base_style() {
  fixture::Style st = fixture::square_style({{6, 5}, {4, 3}});
  fixture::Shape block;
  block.w = block.h = 3;
  block.codes.assign(4 * 9, 1);
  block.pic_w = block.pic_h = 8;
  block.pixels.assign(64, 5);
  st.shapes.push_back(block);
  st.patterns[1].cells.push_back({1, 20, 0});
  st.patterns[1].pic_w = 200;
  return st;
}

uint32_t pattern_record(const std::vector<uint8_t>& layout, int q) {
  return read_u32(layout.data(), read_u32(layout.data(), 0x26) + 4u * static_cast<uint32_t>(q));
}
uint32_t shape_record(const std::vector<uint8_t>& layout, int s) {
  return read_u32(layout.data(), read_u32(layout.data(), 0x22) + 4u * static_cast<uint32_t>(s));
}

}  // namespace

TEST(StyleFile, ReadersAreLittleEndianAtAnyOffset) {
  const uint8_t block[] = {0xAA, 0x01, 0x02, 0x03, 0x04, 0xFF};
  EXPECT_EQ(read_u8(block, 5), 0xFF);
  EXPECT_EQ(read_u16(block, 1), 0x0201);
  EXPECT_EQ(read_u32(block, 1), 0x04030201u);
  EXPECT_EQ(read_u32(block, 2), 0xFF040302u);
}

TEST(StyleFile, HeaderSumming2022WithBothValuesPassesSignature) {
  ScopedTempDir tmp;
  auto objs = fixture::style_objects(base_style());
  int sum = 0;
  for (int i = 0; i < STYLE_HEADER_SIZE; i++) sum += objs[0].bytes[static_cast<size_t>(i)];
  ASSERT_EQ(sum, 2022);
  game.random = Random{77, 5};
  EXPECT_EQ(signature_of(objs), 1);
  // The test draws from a generator of its own: the game stream stays.
  EXPECT_EQ(game.random.seed, 77u);
  EXPECT_EQ(game.random.counter, 5u);
}

TEST(StyleFile, SignatureFailsOnAnyWrongValue) {
  ScopedTempDir tmp;
  auto base = fixture::style_objects(base_style());
  auto sum_off = base;
  sum_off[0].bytes[31]++;  // header sum 2023
  EXPECT_EQ(signature_of(sum_off), 0);
  auto first = base;
  first.back().bytes = fixture::signature_bytes(7979, SIGNATURE_SECOND);
  EXPECT_EQ(signature_of(first), 0);
  auto second = base;
  second.back().bytes = fixture::signature_bytes(SIGNATURE_FIRST, 400547);
  EXPECT_EQ(signature_of(second), 0);
  auto short_sig = base;
  short_sig.back().bytes.resize(7);
  EXPECT_EQ(signature_of(short_sig), 0);
  auto missing = base;
  missing.pop_back();
  EXPECT_EQ(signature_of(missing), 0);
}

TEST(StyleFile, ValidStyleIsAcceptedWithoutTouchingBoardOrRandomSource) {
  ScopedTempDir tmp;
  DATAFILE* dat = load_objects(fixture::style_objects(base_style()));
  ASSERT_NE(dat, nullptr);
  game.random = random_seeded(99);
  game.random.counter = 5;
  board.cell_count = 17;
  board.cells[0].neighbour_count = 3;
  EXPECT_EQ(validate_style(dat), 1);
  EXPECT_EQ(game.random.seed, 99u);
  EXPECT_EQ(game.random.counter, 5u);
  EXPECT_EQ(board.cell_count, 17);
  EXPECT_EQ(board.cells[0].neighbour_count, 3);
  unload_datafile(dat);
  init_board();
}

TEST(StyleFile, ValidationRefusesEveryKindOfBadStyle) {
  ScopedTempDir tmp;
  const fixture::Style st = base_style();
  const auto base = fixture::style_objects(st);
  ASSERT_EQ(validate_objects(base), 1);
  const std::vector<uint8_t> L = base[0].bytes;
  const uint32_t p0 = pattern_record(L, 0), p1 = pattern_record(L, 1), s0 = shape_record(L, 0);
  const int cells0 = static_cast<int>(st.patterns[0].cells.size());

  using Edit = std::function<void(std::vector<Object>&, std::vector<uint8_t>&)>;
  const std::vector<std::pair<const char*, Edit>> cases = {
      {"header cut short", [](auto&, auto& l) { l.resize(41); }},
      {"last cell record cut", [](auto&, auto& l) { l.pop_back(); }},
      {"shape table outside", [&](auto&, auto& l) { fixture::put_le32(l, 0x22, static_cast<uint32_t>(l.size()) - 4); }},
      {"pattern table outside", [&](auto&, auto& l) { fixture::put_le32(l, 0x26, 0xFFFFFFF0u); }},
      {"shape record outside", [&](auto&, auto& l) { fixture::put_le32(l, 42, static_cast<uint32_t>(l.size()) - 2); }},
      {"pattern record outside", [&](auto&, auto& l) { fixture::put_le32(l, 50, static_cast<uint32_t>(l.size()) - 40); }},
      {"no shapes", [](auto&, auto& l) { l[0x20] = 0; }},
      {"no patterns", [](auto&, auto& l) { l[0x21] = 0; }},
      {"grid 9 wide", [&](auto&, auto& l) { l[s0] = 9; }},
      {"grid 0 high", [&](auto&, auto& l) { l[s0 + 1] = 0; }},
      {"code 3", [&](auto&, auto& l) { l[s0 + 4] = 3; }},
      {"1281 cells", [&](auto&, auto& l) { fixture::put_le16(l, p0 + 0x20, 1281); }},
      {"negative cells", [&](auto&, auto& l) { fixture::put_le16(l, p0 + 0x20, -3); }},
      {"no cells", [&](auto&, auto& l) { fixture::put_le16(l, p0 + 0x20, 0); }},
      {"shape index n", [&](auto&, auto& l) { l[p0 + 0x30 + 4] = 2; }},
      {"cell beyond column 89", [&](auto&, auto& l) { l[p0 + 0x30 + 1] = 88; }},
      {"cell beyond row 73", [&](auto&, auto& l) { l[p0 + 0x30 + 2] = 72; }},
      {"negative mines", [&](auto&, auto& l) { fixture::put_le16(l, p0 + 0x22 + 4, -1); }},
      {"too many mines", [&](auto&, auto& l) { fixture::put_le16(l, p1 + 0x22 + 6, 1000); }},
      {"too many MegaMine mines", [&](auto&, auto& l) { l[p0 + 0x2A + 3] = static_cast<uint8_t>(cells0); }},
      {"layout not data", [](auto& o, auto&) { o[0].kind = Object::BITMAP_8, o[0].w = o[0].h = 4; }},
      {"shape picture as sprite", [](auto& o, auto&) { o[2].kind = Object::RLE_8; }},
      {"exploded picture as data", [](auto& o, auto&) { o[6].kind = Object::DATA, o[6].bytes.assign(4, 1); }},
      {"board picture as bitmap", [](auto& o, auto&) { o[7].kind = Object::BITMAP_8; }},
      {"board picture 713 wide", [](auto& o, auto&) { o[8].w = 713, o[8].h = 40; }},
      {"board picture 585 high", [](auto& o, auto&) { o[8].w = 40, o[8].h = 585; }},
      {"signature short", [](auto& o, auto&) { o.back().bytes.resize(7); }},
      {"signature missing", [](auto& o, auto&) { o.pop_back(); }},
      {"objects missing", [](auto& o, auto&) { o.erase(o.begin() + 3); }},
  };
  EXPECT_EQ(validate_style(nullptr), 0);
  EXPECT_EQ(passes_signature(nullptr), 0);
  for (const auto& c : cases) {
    auto objs = base;
    auto layout = L;
    c.second(objs, layout);
    if (objs[0].kind == Object::DATA) objs[0].bytes = layout;
    EXPECT_EQ(validate_objects(objs), 0) << c.first;
  }
}

TEST(StyleFile, MineLimitLeavesRoomForTheFirstClickZone) {
  ScopedTempDir tmp;
  fixture::Style st = fixture::square_style({{12, 12}});  // 144 cells: zone 3, 8 neighbours at most
  const int cells = 144;
  const int limit = cells - safe_cells_needed(cells, 8);
  ASSERT_EQ(limit, 144 - 27);
  st.patterns[0].mines[3] = static_cast<int16_t>(limit);
  st.patterns[0].mega[2] = static_cast<uint8_t>(limit);
  EXPECT_EQ(validate_objects(fixture::style_objects(st)), 1);
  st.patterns[0].mines[3] = static_cast<int16_t>(limit + 1);
  EXPECT_EQ(validate_objects(fixture::style_objects(st)), 0);
  st.patterns[0].mines[3] = static_cast<int16_t>(limit);
  st.patterns[0].mega[2] = static_cast<uint8_t>(limit + 1);
  EXPECT_EQ(validate_objects(fixture::style_objects(st)), 0);
}

TEST(StyleFile, CrowdedBucketsAndNeighbourListsAreRefused) {
  ScopedTempDir tmp;
  fixture::Style st;
  fixture::Shape block;  // 3 x 3 grid: one hit bucket at its own position
  block.w = block.h = 3;
  block.codes.assign(36, 1);
  block.pic_w = block.pic_h = 8;
  block.pixels.assign(64, 1);
  fixture::Shape reach = block;  // 3 x 3 grid of code 2: touches every grid it overlaps
  reach.codes.assign(36, 2);
  st.shapes = {block, reach};
  fixture::Pattern p;
  p.pic_w = p.pic_h = 64;
  for (int i = 0; i < 4; i++) p.cells.push_back({0, 2, 2});
  st.patterns = {p};
  EXPECT_EQ(validate_objects(fixture::style_objects(st)), 1);
  st.patterns[0].cells.push_back({0, 2, 2});
  EXPECT_EQ(validate_objects(fixture::style_objects(st)), 0);

  // Spread over the nine positions of a 3 x 3 square, at most four to a
  // bucket, every grid overlaps every other.
  st.patterns[0].cells.clear();
  for (int i = 0; i < 33; i++) st.patterns[0].cells.push_back({1, 1 + i % 3, 1 + i / 3 % 3});  // 32 neighbours each
  EXPECT_EQ(validate_objects(fixture::style_objects(st)), 1);
  st.patterns[0].cells.push_back({1, 1 + 33 % 3, 1 + 33 / 3 % 3});  // 33 each
  EXPECT_EQ(validate_objects(fixture::style_objects(st)), 0);
}

TEST(StyleFile, SeventeenPatternsAreRefused) {
  ScopedTempDir tmp;
  std::vector<std::pair<int, int>> sizes(MAX_PATTERNS, {2, 2});
  fixture::Style st = fixture::square_style(sizes);
  EXPECT_EQ(validate_objects(fixture::style_objects(st)), 1);
  st.patterns.push_back(fixture::square_pattern(2, 2));
  EXPECT_EQ(validate_objects(fixture::style_objects(st)), 0);
}

// A cell's hit area is its grid less two blocks each way: a grid of 1 or 2
// blocks wide or high puts the cell in no hit-grid bucket, so it could
// never be clicked. Validation refuses exactly those shapes.
TEST(StyleFile, ShapesTooNarrowOrLowToBeClickedAreRefused) {
  ScopedTempDir tmp;
  struct Case {
    int w, h;
    bool valid;
  };
  const Case cases[] = {{3, 3, true},  {8, 3, true},  {3, 8, true},  {2, 3, false},
                        {3, 2, false}, {1, 1, false}, {2, 8, false}, {8, 1, false}};
  std::unique_ptr<Board> one(new Board);
  std::unique_ptr<HitGrid> grid(new HitGrid);
  grid->grid_columns = HIT_GRID_COLUMNS;
  grid->grid_rows = HIT_GRID_ROWS;
  for (const Case& c : cases) {
    // The style's second shape (one cell of pattern 1) takes the size.
    fixture::Style st = base_style();
    fixture::Shape& shape = st.shapes[1];
    shape.w = c.w;
    shape.h = c.h;
    shape.codes.assign(static_cast<size_t>(4 * c.w * c.h), 1);
    EXPECT_EQ(validate_objects(fixture::style_objects(st)), c.valid ? 1 : 0) << c.w << " x " << c.h;

    // The same shape alone on a board: the hit grid has a bucket for it
    // exactly when validation accepts it.
    std::vector<uint8_t> record{static_cast<uint8_t>(c.w), static_cast<uint8_t>(c.h), 0, 0};
    record.insert(record.end(), shape.codes.begin(), shape.codes.end());
    ShapeInfo info;
    build_shape_info_into(info, 0, record.data(), 0);
    init_cell(one->cells[0]);
    one->cell_count = 1;
    one->cells[0].block_x = one->cells[0].block_y = 10;
    ASSERT_EQ(build_hit_grid_for(*one, &info, *grid), 1);
    int buckets = 0;
    for (const auto& bucket : grid->buckets) buckets += bucket[0] == 0;
    EXPECT_EQ(buckets, c.valid ? (c.w - 2) * (c.h - 2) : 0) << c.w << " x " << c.h;
  }
}

// The hit grid spans the board picture only: a cell whose hit area starts
// right of or below the picture has no bucket and could never be clicked.
TEST(StyleFile, CellsBeyondTheirBoardPictureAreRefused) {
  ScopedTempDir tmp;
  struct Case {
    int pic_w, pic_h;
    bool valid;
  } cases[] = {{200, 64, true}, {168, 64, true}, {160, 64, false}, {200, 40, true}, {200, 39, false}};
  for (const Case& c : cases) {
    // Pattern 1: squares in block rows 0 to 4, and a cell at block (20, 0).
    fixture::Style st = base_style();
    st.patterns[1].pic_w = c.pic_w;
    st.patterns[1].pic_h = c.pic_h;
    EXPECT_EQ(validate_objects(fixture::style_objects(st)), c.valid ? 1 : 0) << c.pic_w << " x " << c.pic_h;
  }
}

