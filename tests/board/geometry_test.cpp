#include "board/geometry.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "board/board_load.h"
#include "board/reference_neighbours.h"
#include "board/style_fixture.h"
#include "rules/board_state.h"
#include "support/headless.h"

namespace {

void set_shape(ShapeInfo& s, int w, int h, uint8_t code) {
  s = ShapeInfo{};
  s.width = static_cast<uint8_t>(w);
  s.height = static_cast<uint8_t>(h);
  for (int x = 0; x < w; x++)
    for (int y = 0; y < h; y++)
      for (int k = 0; k < 4; k++) s.grid[x][y][k] = code;
}

}  // namespace

TEST(Geometry, TouchNeedsSumOfThreeAtTheSamePosition) {
  const uint8_t one[4] = {1, 0, 0, 0}, two[4] = {2, 0, 0, 0}, two_k1[4] = {0, 2, 0, 0}, zero[4] = {0, 0, 0, 0};
  EXPECT_FALSE(blocks_touch(one, one));
  EXPECT_TRUE(blocks_touch(two, one));
  EXPECT_TRUE(blocks_touch(one, two));
  EXPECT_TRUE(blocks_touch(two, two));
  EXPECT_FALSE(blocks_touch(two_k1, one));  // different positions never combine
  EXPECT_FALSE(blocks_touch(two, zero));
}

TEST(Geometry, ShapeRecordFillsGridColumnByRowAndCountsTwos) {
  // 2 x 1 grid: block (0,0) codes 2 1 0 2, block (1,0) codes 0 0 2 1.
  const uint8_t rec[] = {0xEE, 2, 1, 5, 6, 2, 1, 0, 2, 0, 0, 2, 1};
  build_shape_info(7, rec, 1);
  const ShapeInfo& s = shape_info[7];
  EXPECT_EQ(s.shape_index, 7);
  EXPECT_EQ(s.width, 2);
  EXPECT_EQ(s.height, 1);
  EXPECT_EQ(s.symbol_x, 5);
  EXPECT_EQ(s.symbol_y, 6);
  EXPECT_EQ(s.grid[0][0][3], 2);
  EXPECT_EQ(s.grid[1][0][2], 2);
  EXPECT_EQ(s.grid[1][0][3], 1);
  EXPECT_EQ(s.fill_count, 3);
}

TEST(Geometry, OneOnOneOverlapIsNoNeighbourTwoOnOneIs) {
  std::unique_ptr<Board> b(new Board);
  for (Cell& c : b->cells) init_cell(c);
  std::vector<ShapeInfo> shapes(2);
  set_shape(shapes[0], 3, 3, 1);
  set_shape(shapes[1], 3, 3, 2);
  b->cell_count = 3;
  b->cells[0].shape = 0, b->cells[0].block_x = 0, b->cells[0].block_y = 0;
  b->cells[1].shape = 0, b->cells[1].block_x = 2, b->cells[1].block_y = 2;  // 1 on 1 at block (2,2)
  b->cells[2].shape = 1, b->cells[2].block_x = 10, b->cells[2].block_y = 0;
  EXPECT_EQ(build_neighbours_for(*b, shapes.data()), 0);
  b->cells[2].block_x = 4;  // its 2s now overlap cell 1's 1s
  EXPECT_EQ(build_neighbours_for(*b, shapes.data()), 1);
  EXPECT_EQ(b->cells[0].neighbour_count, 0);
  EXPECT_EQ(b->cells[1].neighbour_count, 1);
  EXPECT_EQ(b->cells[1].neighbours[0], 2);
  EXPECT_EQ(b->cells[2].neighbours[0], 1);
}

TEST(Geometry, OneCellBoardHasNoNeighbours) {
  fixture::setup_square_board(1, 1);
  EXPECT_EQ(board.cells[0].neighbour_count, 0);
  EXPECT_EQ(board.cells[0].neighbours[0], -1);
}

TEST(Geometry, SquareTilesTouchTheirEightSurroundingTiles) {
  fixture::setup_square_board(5, 4);
  const Cell& inner = board.cells[6];  // column 1, row 1
  ASSERT_EQ(inner.neighbour_count, 8);
  const int expected[8] = {0, 1, 2, 5, 7, 10, 11, 12};
  for (int e = 0; e < 8; e++) EXPECT_EQ(inner.neighbours[e], expected[e]);
  EXPECT_EQ(board.cells[0].neighbour_count, 3);
  EXPECT_EQ(board.cells[19].neighbour_count, 3);
}

TEST(Geometry, FastSearchMatchesPairScanOnRandomCrowdedBoards) {
  std::mt19937 rng(12345);
  std::vector<ShapeInfo> shapes(12);
  std::unique_ptr<Board> fast(new Board), ref(new Board);
  for (int round = 0; round < 6; round++) {
    for (size_t s = 0; s < shapes.size(); s++) {
      ShapeInfo& sh = shapes[s];
      sh = ShapeInfo{};
      sh.width = static_cast<uint8_t>(1 + rng() % 8);
      sh.height = static_cast<uint8_t>(1 + rng() % 8);
      for (int x = 0; x < sh.width; x++)
        for (int y = 0; y < sh.height; y++)
          for (int k = 0; k < 4; k++) {
            const unsigned r = rng() % 91;  // mostly 0 and 1, some 2, a few out-of-range 3
            sh.grid[x][y][k] = static_cast<uint8_t>(r == 0 ? 3 : r < 13 ? 2 : r % 2);
          }
    }
    for (Cell& c : fast->cells) init_cell(c);
    const int n = round < 3 ? 300 : 1280;
    const int spread = round % 3 == 0 ? 12 : 80;  // the first boards are crowded: lists overflow 32
    fast->cell_count = static_cast<int16_t>(n);
    for (int i = 0; i < n; i++) {
      Cell& c = fast->cells[i];
      c.index = static_cast<int16_t>(i);
      c.shape = static_cast<uint8_t>(rng() % shapes.size());
      c.block_x = static_cast<uint8_t>(rng() % spread);
      c.block_y = static_cast<uint8_t>(rng() % spread);
    }
    *ref = *fast;
    build_neighbours_for(*fast, shapes.data());
    reference_neighbours(*ref, shapes.data());
    int overflowing = 0;
    for (int i = 0; i < n; i++) {
      ASSERT_EQ(fast->cells[i].neighbour_count, ref->cells[i].neighbour_count) << "cell " << i;
      for (int e = 0; e < MAX_NEIGHBOURS; e++) ASSERT_EQ(fast->cells[i].neighbours[e], ref->cells[i].neighbours[e]);
      if (ref->cells[i].neighbour_count == MAX_NEIGHBOURS) overflowing++;
    }
    if (round == 0) {
      EXPECT_GT(overflowing, 0);
    }
  }
}

TEST(Geometry, ThreeByThreeShapeEntersExactlyOneBucket) {
  std::unique_ptr<Board> b(new Board);
  std::unique_ptr<HitGrid> grid(new HitGrid);
  for (Cell& c : b->cells) init_cell(c);
  std::vector<ShapeInfo> shapes(1);
  set_shape(shapes[0], 3, 3, 1);
  b->cell_count = 1;
  b->cells[0].block_x = 5;
  b->cells[0].block_y = 7;
  grid->grid_columns = HIT_GRID_COLUMNS;
  grid->grid_rows = HIT_GRID_ROWS;
  ASSERT_EQ(build_hit_grid_for(*b, shapes.data(), *grid), 1);
  int entered = 0;
  for (auto& bucket : grid->buckets)
    for (int16_t slot : bucket) entered += slot == 0;
  EXPECT_EQ(entered, 1);
  EXPECT_EQ(grid->buckets[73 * 5 + 7][0], 0);
}

TEST(Geometry, FourCellsShareABucketAFifthIsRefused) {
  std::unique_ptr<Board> b(new Board);
  std::unique_ptr<HitGrid> grid(new HitGrid);
  for (Cell& c : b->cells) init_cell(c);
  std::vector<ShapeInfo> shapes(2);
  set_shape(shapes[0], 3, 3, 1);
  set_shape(shapes[1], 4, 4, 1);  // covers buckets (0..1, 0..1)
  grid->grid_columns = 10;
  grid->grid_rows = 10;
  b->cell_count = 4;
  b->cells[0].shape = 1;
  for (int i = 1; i < 4; i++) b->cells[i].block_x = b->cells[i].block_y = 1;
  ASSERT_EQ(build_hit_grid_for(*b, shapes.data(), *grid), 1);
  const int16_t* shared = grid->buckets[73 * 1 + 1];
  for (int s = 0; s < 4; s++) EXPECT_EQ(shared[s], s);
  EXPECT_EQ(grid->buckets[73 * 0 + 1][0], 0);
  EXPECT_EQ(grid->buckets[73 * 0 + 1][1], -1);
  b->cell_count = 5;
  b->cells[4].block_x = b->cells[4].block_y = 1;
  EXPECT_EQ(build_hit_grid_for(*b, shapes.data(), *grid), 0);
}

TEST(Geometry, BucketsBeyondThePictureStayEmpty) {
  std::unique_ptr<Board> b(new Board);
  std::unique_ptr<HitGrid> grid(new HitGrid);
  for (Cell& c : b->cells) init_cell(c);
  std::vector<ShapeInfo> shapes(1);
  set_shape(shapes[0], 8, 8, 1);  // 6 x 6 buckets
  b->cell_count = 1;
  grid->grid_columns = 3;
  grid->grid_rows = 2;
  ASSERT_EQ(build_hit_grid_for(*b, shapes.data(), *grid), 1);
  int entered = 0;
  for (auto& bucket : grid->buckets) entered += bucket[0] == 0;
  EXPECT_EQ(entered, 6);
}

class CellAt : public ::testing::Test {
 protected:
  void SetUp() override {
    // Cell 0 at block (0,0) and cell 1 at block (1,1) overlap on bucket (1,1).
    fixture::Style st = fixture::square_style({{2, 2}});
    st.patterns[0].cells = {{0, 0, 0}, {0, 1, 1}};
    st.patterns[0].pic_w = st.patterns[0].pic_h = 32;
    ASSERT_TRUE(fixture::write_style(st, tmp.path() + "/cells.dat"));
    ASSERT_EQ(load_board((tmp.path() + "/cells.dat").c_str(), 0, 0), 1);
    ox = board.origin_x;
    oy = board.origin_y;
  }
  ScopedTempDir tmp;
  int ox = 0, oy = 0;
};

TEST_F(CellAt, TransparentPixelWithNoOtherCandidateIsNoCell) {
  EXPECT_EQ(cell_at(ox + 0, oy + 0), -1);  // the tile's transparent corner
  EXPECT_EQ(cell_at(ox + 3, oy + 3), 0);
}

TEST_F(CellAt, OverlappingCandidatesGiveTheLowerIndex) {
  EXPECT_EQ(cell_at(ox + 12, oy + 12), 0);
  EXPECT_EQ(cell_at(ox + 20, oy + 20), 1);  // bucket (2,2) holds cell 1 only
}

TEST_F(CellAt, EmptyFirstSlotStillFindsTheSecond) {
  int16_t* bucket = hit_grid.buckets[73 * 1 + 1];
  ASSERT_EQ(bucket[0], 0);
  ASSERT_EQ(bucket[1], 1);
  bucket[0] = -1;
  EXPECT_EQ(cell_at(ox + 12, oy + 12), 1);
}

TEST_F(CellAt, EveryOpaquePixelOfAGridResolvesToItsCell) {
  ScopedTempDir local;
  fixture::Style st = fixture::square_style({{6, 4}});
  ASSERT_TRUE(fixture::write_style(st, "grid.dat"));
  ASSERT_EQ(load_board("grid.dat", 0, 0), 1);
  for (int i = 0; i < board.cell_count; i++) {
    const Cell& c = board.cells[i];
    for (int y = 0; y < 16; y++)
      for (int x = 0; x < 16; x++) {
        const int expected = (x < 2 && y < 2) ? -1 : i;
        ASSERT_EQ(cell_at(c.x + x, c.y + y), expected) << "cell " << i << " pixel " << x << "," << y;
      }
  }
}
