// Per-frame drawing costs of the main screen: the particle pool with 4096
// live particles, and a whole frame's composition (scene copy, readouts,
// particles). Needs the game folder's main datafile (run from it).
#include <allegro.h>
#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdlib>

#include "bench/bench_support.h"
#include "platform/lifecycle.h"
#include "render/board_draw.h"
#include "render/effects.h"
#include "rules/board_state.h"
#include "rules/modes.h"
#include "rules/random.h"

namespace {

// Tops the pool up to 4096 slow blast particles spread over the screen.
void fill_pool() {
  while (particle_count < MAX_PARTICLES) {
    const int i = particle_count;
    spawn_particle(static_cast<float>(100 + (i * 37) % 600), static_cast<float>(50 + (i * 91) % 500),
                   static_cast<float>(i % 21 - 10), static_cast<float>(i % 17 - 8), PARTICLE_BLAST, 127);
  }
}

void BM_Particles4096UpdateAndDraw(benchmark::State& state) {
  if (!ensure_game_screen()) {
    state.SkipWithError("fgridgx.dat not found: run from the game folder");
    return;
  }
  game.random = random_seeded(1);
  clear_particles();
  frame_seconds = 1.0f / 70.0f;
  for (auto _ : state) {
    fill_pool();
    update_particles(game.random);
    draw_particles();
    benchmark::ClobberMemory();
  }
  state.counters["live"] = particle_count;
  clear_particles();
}
BENCHMARK(BM_Particles4096UpdateAndDraw)->Unit(benchmark::kMicrosecond);

// The main screen's frame in Multi-Mine (six readouts), before the pointer
// and the copy to the screen. Target: under 2 ms.
void BM_MainScreenFrame(benchmark::State& state) {
  if (!ensure_game_screen()) {
    state.SkipWithError("fgridgx.dat not found: run from the game folder");
    return;
  }
  init_game_session();
  init_status_slots();
  game.phase = PLAYING;
  set_status_row(MULTI_MINE);
  game.game_time = 3725.5f;
  game.mines_left = -42;
  game.level2_left = 7;
  game.level3_left = 123;
  game.mines_hit = 5;
  clear_to_color(SceneBuffer, 88);
  draw_status_panel();
  game.random = random_seeded(1);
  clear_particles();
  frame_seconds = 1.0f / 70.0f;
  for (auto _ : state) {
    fill_pool();
    blit(SceneBuffer, BackBuffer, 0, 0, 0, 0, 800, 600);
    draw_status_readouts();
    update_particles(game.random);
    draw_particles();
    benchmark::ClobberMemory();
  }
  clear_particles();
}
BENCHMARK(BM_MainScreenFrame)->Unit(benchmark::kMicrosecond);

// The scene copy alone, as the baseline of the frame above.
void BM_SceneCopyBaseline(benchmark::State& state) {
  if (!ensure_game_screen()) {
    state.SkipWithError("fgridgx.dat not found: run from the game folder");
    return;
  }
  for (auto _ : state) {
    blit(SceneBuffer, BackBuffer, 0, 0, 0, 0, 800, 600);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SceneCopyBaseline)->Unit(benchmark::kMicrosecond);

}  // namespace
