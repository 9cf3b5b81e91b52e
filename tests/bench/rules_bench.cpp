// The "Instant" cascade: one click opening the largest zero region of the
// 1280-cell board of the shipped square style (pattern "Huge 40 x 32")
// with eight mines, every cell drawn into the scene and its burst spawned,
// within one auto-reveal step. Needs the game folder's datafiles (run from
// it).
#include <allegro.h>
#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdlib>

#include "bench/bench_support.h"
#include "platform/lifecycle.h"
#include "platform/settings.h"
#include "board/board_load.h"
#include "render/effects.h"
#include "rules/actions.h"
#include "rules/board_state.h"
#include "rules/mines.h"
#include "rules/random.h"
#include "screens/game_events.h"
#include "sound/sound.h"

namespace {

constexpr int HUGE_PATTERN = 3;  // "Huge 40 x 32" in fgboards.dat
constexpr int COLUMNS = 40;

// The board with eight mines placed apart, so that every safe cell lies in
// one zero region with the mines' neighbours as its border.
bool set_up_board() {
  init_game_session();
  default_settings();
  settings.chain_speed = 0.0f;  // "Instant"
  game.mode = CLASSIC;
  board_seed = 1;
  board_counter = 0;
  if (!load_board("fgboards.dat", HUGE_PATTERN, 0) || board.cell_count != 1280) return false;
  for (int i = 0; i < board.cell_count; i++) board.cells[i].content = 0;
  const int mines[][2] = {{3, 3}, {3, 36}, {28, 3}, {28, 36}, {10, 20}, {22, 20}, {16, 10}, {16, 30}};
  for (const auto& m : mines) board.cells[m[0] * COLUMNS + m[1]].content = MINE;
  compute_clues();
  game.mines_total = game.mines_left = 8;
  return true;
}

// Covers the board again, as it was before the click.
void cover_board(int first) {
  for (int i = 0; i < board.cell_count; i++) {
    Cell& cell = board.cells[i];
    cell.state = HIDDEN;
    cell.open_wave = 0;
    cell.flash_timer = -1.0f;
  }
  game.cells_hidden = board.cell_count;
  game.board_mines_hit = 0;
  game.first_cell = static_cast<int16_t>(first);  // the first click's zone is not part of the figure
  game.phase = PLAYING;
  game.auto_reveal_timer = -1000.0f;
  clear_particles();
}

void BM_InstantCascadeHuge(benchmark::State& state) {
  if (!ensure_game_screen()) {
    state.SkipWithError("fgridgx.dat not found: run from the game folder");
    return;
  }
  if (!set_up_board()) {
    state.SkipWithError("fgboards.dat pattern 3 not found: run from the game folder");
    return;
  }
  settings.graphics_switches[GFX_PARTICLES] = static_cast<uint8_t>(state.range(0));
  const int first = 0;
  int revealed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    cover_board(first);
    state.ResumeTiming();
    reveal_cell(first, 1, SFX_REVEAL);
    auto_reveal_step();
    act_on_game_events(nullptr);  // the redraws, bursts and sounds of the cascade
    benchmark::ClobberMemory();
    revealed = board.cell_count - game.cells_hidden;
  }
  state.counters["revealed"] = revealed;
  state.counters["particles"] = particle_count;
  clear_particles();
}
BENCHMARK(BM_InstantCascadeHuge)->Arg(1)->Arg(0)->ArgName("particles")->Unit(benchmark::kMillisecond);

}  // namespace
