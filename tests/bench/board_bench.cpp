// Board geometry and the whole board load, on a 1280-cell pattern of
// square tiles (40 x 32) made on the fly. The literal scan of every cell
// pair is measured alongside as the baseline of the neighbour search.
#include <allegro.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench/bench_support.h"
#include "board/board_load.h"
#include "board/geometry.h"
#include "board/reference_neighbours.h"
#include "board/style_fixture.h"
#include "board/style_file.h"
#include "rules/board_state.h"
#include "rules/random.h"

namespace {

// A style file of the 1280-cell pattern (and a small one), written once.
const std::string& style_path() {
  static std::string path;
  if (path.empty()) {
    ensure_allegro();
    char dir[] = "/tmp/fgbench.XXXXXX";
    if (!mkdtemp(dir)) std::abort();
    path = std::string(dir) + "/bench.dat";
    if (!fixture::write_style(fixture::square_style({{40, 32}, {13, 11}}), path)) std::abort();
  }
  return path;
}


void BM_Geometry1280(benchmark::State& state) {
  fixture::setup_square_board(40, 32);
  hit_grid.grid_columns = 80;
  hit_grid.grid_rows = 64;
  for (auto _ : state) {
    benchmark::DoNotOptimize(build_hit_grid());
    build_neighbours();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Geometry1280)->Unit(benchmark::kMillisecond);

// The costliest search: 8 x 8 grids two blocks apart, all code 1, so every
// cell's grid overlaps 48 others block by block and nothing touches.
void BM_GeometryDense1280(benchmark::State& state) {
  fixture::setup_square_board(40, 32);
  ShapeInfo& s = shape_info[0];
  s.width = s.height = 8;
  for (auto& column : s.grid)
    for (auto& block : column)
      for (auto& code : block) code = 1;
  for (auto _ : state) {
    build_neighbours();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GeometryDense1280)->Unit(benchmark::kMillisecond);

void BM_PairScanBaseline1280(benchmark::State& state) {
  fixture::setup_square_board(40, 32);
  for (auto _ : state) {
    reference_neighbours(board, shape_info);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PairScanBaseline1280)->Unit(benchmark::kMillisecond);

void BM_ValidateStyle(benchmark::State& state) {
  DATAFILE* dat = load_datafile(style_path().c_str());
  for (auto _ : state) benchmark::DoNotOptimize(validate_style(dat));
  unload_datafile(dat);
}
BENCHMARK(BM_ValidateStyle)->Unit(benchmark::kMillisecond);

// A new game: the file is read, validated, the geometry built and the
// mines laid (Master level, 320 mines).
void BM_LoadBoardNewGame1280(benchmark::State& state) {
  const std::string& path = style_path();
  init_game_session();
  game.skill = MASTER;
  for (auto _ : state) {
    board_counter++;
    if (!load_board(path.c_str(), 0, 0)) state.SkipWithError("load failed");
  }
}
BENCHMARK(BM_LoadBoardNewGame1280)->Unit(benchmark::kMillisecond);

// The next board of an Endurance run: the loaded style is used again.
void BM_LoadBoardContinuation1280(benchmark::State& state) {
  init_game_session();
  game.mode = ENDURANCE;
  game.skill = MASTER;
  if (!load_board(style_path().c_str(), 0, 0)) state.SkipWithError("load failed");
  for (auto _ : state) {
    board_counter++;
    load_board(nullptr, 0, 1);
  }
}
BENCHMARK(BM_LoadBoardContinuation1280)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The shipped start style, when the bench runs in the game folder: its
// largest pattern, loaded as a new game.
void BM_LoadShippedLargest(benchmark::State& state) {
  ensure_allegro();
  init_game_session();
  game.skill = MASTER;
  if (!load_board("fgboards.dat", 0, 0)) {
    state.SkipWithError("fgboards.dat not found: run from the game folder");
    return;
  }
  int largest = 0, cells = 0;
  for (int q = 0; q < style_pattern_count; q++) {
    load_board("fgboards.dat", q, 1);
    if (board.cell_count > cells) cells = board.cell_count, largest = q;
  }
  for (auto _ : state) {
    board_counter++;
    load_board("fgboards.dat", largest, 0);
  }
  state.counters["cells"] = cells;
}
BENCHMARK(BM_LoadShippedLargest)->Unit(benchmark::kMillisecond);

}  // namespace
