// No-guess boards made on every pattern of every style file of the game
// folder (run from it) at every skill level, in Classic (or the mode whose
// number is given, rules/board_state.h): a board is loaded
// from seeds 1..N, its first cell drawn, and make_no_guess_board given the
// budget of work. Prints one row a pattern (median and worst milliseconds a
// level, and the boards that ran out of the budget) and the totals a level,
// with the work the worst board took.
//   cd <build>/game && ../tests/no_guess_table [seeds=20] [budget=the game's] [style file or "all"] [mode=0]
#include <allegro.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "platform/lifecycle.h"
#include "board/board_load.h"
#include "common/difficulty.h"
#include "platform/settings.h"
#include "rules/board_state.h"
#include "rules/modes.h"
#include "rules/no_guess.h"
#include "rules/random.h"
#include "rules/solver_player.h"

namespace {

struct LevelTotals {
  int boards = 0, failed = 0, unverified = 0;  // unverified: made, yet not cleared by a play (a fault)
  long attempts = 0;
  long most_work = 0;
  std::vector<double> ms;
};

double median_of(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t h = v.size() / 2;
  return v.size() % 2 ? v[h] : (v[h - 1] + v[h]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int seeds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  const long budget = argc > 2 && std::atol(argv[2]) > 0 ? std::atol(argv[2]) : NO_GUESS_WORK_BUDGET;
  const std::string only = argc > 3 && std::strcmp(argv[3], "all") != 0 ? argv[3] : "";
  const GameMode mode = static_cast<GameMode>(argc > 4 ? std::atoi(argv[4]) : CLASSIC);
  ensure_allegro();
  default_settings();

  std::vector<std::pair<std::string, int>> patterns;
  for_each_pattern([&](const std::string& file, int p) {
    if (only.empty() || file == only) patterns.push_back({file, p});
  });

  std::printf("%s, %d seeds a level, budget %ld units of work: median / worst ms, boards out of budget\n\n", MODE_NAMES[mode], seeds, budget);
  std::printf("| File | Pattern | Cells |");
  for (int l = 0; l < DIFFICULTY_LEVELS; l++) std::printf(" %s |", LEVEL_NAMES[l]);
  std::printf("\n|---|---|---:|---|---|---|---|\n");
  LevelTotals totals[DIFFICULTY_LEVELS];
  for (const auto& fp : patterns) {
    std::string row;
    int cells = 0;
    char name[40] = "";
    for (int l = 0; l < DIFFICULTY_LEVELS; l++) {
      std::vector<double> ms;
      int failed = 0;
      for (int s = 1; s <= seeds; s++) {
        init_game_session();
        game.mode = mode;
        game.skill = static_cast<SkillLevel>(l);
        board_seed = static_cast<uint32_t>(s);
        board_counter = 0;
        if (load_board(fp.first.c_str(), fp.second, 0) != BOARD_LOADED) continue;
        cells = board.cell_count;
        std::snprintf(name, sizeof name, "%s", board.pattern_name);
        Random pick{static_cast<uint32_t>(s) * 7919u, 0};
        const int first = random_range(pick, 0, board.cell_count - 1);
        const auto began = std::chrono::steady_clock::now();
        const NoGuessResult r = make_no_guess_board(first, budget);
        const double took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began).count();
        ms.push_back(took);
        totals[l].most_work = std::max(totals[l].most_work, r.work);
        failed += !r.succeeded;
        if (r.succeeded && !clearable_without_guess(first)) totals[l].unverified++;
        totals[l].boards++;
        totals[l].failed += !r.succeeded;
        totals[l].attempts += r.attempts;
        totals[l].ms.push_back(took);
      }
      char cell[64];
      std::snprintf(cell, sizeof cell, " %.1f / %.1f%s |", median_of(ms), ms.empty() ? 0.0 : *std::max_element(ms.begin(), ms.end()),
                    failed ? (" (" + std::to_string(failed) + " out)").c_str() : "");
      row += cell;
    }
    std::printf("| %s | %s | %d |%s\n", fp.first.c_str(), name, cells, row.c_str());
    std::fflush(stdout);
  }
  std::printf("\n| Level | Boards | Median ms | Worst ms | Out of budget | Mean attempts | Most work | Not cleared by a check |\n|---|---:|---:|---:|---:|---:|---:|---:|\n");
  for (int l = 0; l < DIFFICULTY_LEVELS; l++) {
    const LevelTotals& t = totals[l];
    std::printf("| %s | %d | %.1f | %.1f | %.1f %% | %.1f | %ld | %d |\n", LEVEL_NAMES[l], t.boards, median_of(t.ms),
                t.ms.empty() ? 0.0 : *std::max_element(t.ms.begin(), t.ms.end()),
                t.boards ? 100.0 * t.failed / t.boards : 0.0, t.boards ? static_cast<double>(t.attempts) / t.boards : 0.0, t.most_work, t.unverified);
  }
  return 0;
}
