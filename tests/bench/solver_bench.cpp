// The solver and the simulated player on the 1280-cell board of the
// shipped square style (pattern "Huge 40 x 32") at Master: the position
// after the first click solved, the rules stage where only the overlapping
// pairs open a group too large to search (at Expert), and a whole game
// played by the solver.
// Needs the game folder's board datafile (run from it).
#include <allegro.h>
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"
#include "platform/lifecycle.h"
#include "platform/settings.h"
#include "board/board_load.h"
#include "rules/actions.h"
#include "rules/board_state.h"
#include "rules/events.h"
#include "rules/no_guess.h"
#include "rules/random.h"
#include "rules/solver.h"
#include "rules/solver_player.h"

namespace {

constexpr int HUGE_PATTERN = 3;  // "Huge 40 x 32" in fgboards.dat
constexpr int FIRST_CELL = 16 * 40 + 20;

bool load_huge(uint32_t seed, GameMode mode = CLASSIC, SkillLevel skill = MASTER) {
  init_game_session();
  default_settings();
  game.mode = mode;
  game.skill = skill;
  board_seed = seed;
  board_counter = 0;
  return load_board("fgboards.dat", HUGE_PATTERN, 0) == BOARD_LOADED && board.cell_count == 1280;
}

void BM_SolveAfterFirstClick(benchmark::State& state) {
  ensure_allegro();
  if (!load_huge(1)) {
    state.SkipWithError("fgboards.dat pattern 3 not found: run from the game folder");
    return;
  }
  settings.chain_speed = 0.0f;
  reveal_cell(FIRST_CELL, 1, 0);
  auto_reveal_step();
  clear_events();
  Solver solver;
  const bool exact = state.range(0) != 0;
  for (auto _ : state) {
    solver.solve(board, game, exact);
    benchmark::DoNotOptimize(solver.stats().safe);
  }
  const SolverStats& st = solver.stats();
  state.counters["mines"] = game.mines_total;
  state.counters["covered"] = game.cells_hidden;
  state.counters["clues"] = st.clues;
  state.counters["safe"] = st.safe;
  state.counters["certain_mines"] = st.mines;
  state.counters["groups"] = st.groups;
  state.counters["capped"] = st.groups_capped;
  state.counters["nodes"] = static_cast<double>(st.nodes);
}
BENCHMARK(BM_SolveAfterFirstClick)->Arg(0)->Arg(1)->ArgName("exact")->Unit(benchmark::kMicrosecond);

// The rules stage alone (no search) where a player without the
// overlapping pairs rule gets stuck in a group too large to search: the
// board of seed 43 at Expert (283 mines), made no-guess by a maker that
// searches further without the rule, played without it. The rule off (0)
// or on (1); counted are the certain cells the rules find there.
void BM_RulesStage(benchmark::State& state) {
  ensure_allegro();
  if (!load_huge(43, CLASSIC, EXPERT)) {
    state.SkipWithError("fgboards.dat pattern 3 not found: run from the game folder");
    return;
  }
  SolverLimits stronger;
  stronger.max_group_cells = 64;
  stronger.max_group_nodes = 1L << 20;
  stronger.max_solve_nodes = 1L << 22;
  stronger.overlap_rule = false;
  if (!make_no_guess_board(FIRST_CELL, 60.0, stronger).succeeded) {
    state.SkipWithError("the board was not made");
    return;
  }
  PlayerOptions stop;
  stop.guess = false;
  stop.limits.overlap_rule = false;
  Random unused{};
  play_board(FIRST_CELL, unused, stop);
  clear_events();
  SolverLimits limits;
  limits.overlap_rule = state.range(0) != 0;
  Solver solver(limits);
  for (auto _ : state) {
    solver.solve(board, game, false);
    benchmark::DoNotOptimize(solver.stats().safe);
  }
  const SolverStats& st = solver.stats();
  state.counters["covered"] = game.cells_hidden;
  state.counters["clues"] = st.clues;
  state.counters["safe"] = st.safe;
  state.counters["certain_mines"] = st.mines;
}
BENCHMARK(BM_RulesStage)->Arg(0)->Arg(1)->ArgName("overlap")->Unit(benchmark::kMicrosecond);

// One game a run, each on a board of its own seed; the mode is the argument.
void BM_SolveWholeGame(benchmark::State& state) {
  ensure_allegro();
  uint32_t seed = 1;
  PlayResult total;
  int games = 0, cleared = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (!load_huge(seed, static_cast<GameMode>(state.range(0)))) {
      state.SkipWithError("fgboards.dat pattern 3 not found: run from the game folder");
      return;
    }
    Random guesses = random_seeded(seed++);
    state.ResumeTiming();
    const PlayResult r = play_board(FIRST_CELL, guesses);
    total.forced_guesses += r.forced_guesses;
    total.mines_hit += r.mines_hit;
    total.solves += r.solves;
    cleared += r.cleared;
    games++;
  }
  state.counters["mines"] = game.mines_total;
  state.counters["guesses"] = benchmark::Counter(total.forced_guesses, benchmark::Counter::kAvgIterations);
  state.counters["hits"] = benchmark::Counter(total.mines_hit, benchmark::Counter::kAvgIterations);
  state.counters["solves"] = benchmark::Counter(total.solves, benchmark::Counter::kAvgIterations);
  state.counters["cleared"] = games ? static_cast<double>(cleared) / games : 0.0;
}
BENCHMARK(BM_SolveWholeGame)
    ->Arg(CLASSIC)
    ->Arg(MULTI_MINE)
    ->Arg(MOVING_MINES)
    ->Arg(MEGAMINE)
    ->ArgName("mode")
    ->Unit(benchmark::kMillisecond);

}  // namespace
