// Mine count calibration: for every pattern of every style, the four mine
// counts whose forced guesses per 100 cells meet the skill levels' targets
// (common/difficulty.h), and the four MegaMine counts, written as the table
// the style generator reads (mine_counts.inc).
//   fg_calibrate SCRATCH_DIR OUT.inc [STYLE_FILE...]
// The styles are written into SCRATCH_DIR and played from there. With style
// file names only those styles are measured; the others keep the counts the
// generator gives them today (the table as it is).
//
// The search, per level: a search over the count (growing steps up from
// the level below, then halving) with a quarter of the games (mines -> guesses is monotone up to noise), then the full
// measurement (the seeds and games of the table and the build's check)
// walks from there to the first count at or above the target, and the
// nearer of that count and the one below it is kept. On patterns of
// MIN_CELLS_STRICT cells or more every level takes more mines than the
// level below; all counts stay within the game's limit.
#include <allegro.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "board/board_load.h"
#include "common/difficulty.h"
#include "platform/safe_file.h"
#include "rules/board_state.h"
#include "rules/mines.h"
#include "styles/style_geometry.h"
#include "styles/style_writer.h"

using namespace styles;

namespace {

constexpr int MIN_CELLS_STRICT = 60;

// The counts the targets are measured at: they stay as they are.
struct Reference {
  const char* pattern;
  int level, mines;
};
constexpr Reference REFERENCES[] = {
    {"Beginner 9 x 9", 0, 10}, {"Intermediate 16 x 16", 1, 41}, {"Expert 28 x 16", 2, 90}, {"Expert 28 x 16", 3, 108}};
constexpr const char* REFERENCE_FILE = "fgboards.dat";

// MegaMine counts: shares of the cells (at least one mine), one more than
// the level below on patterns of MIN_CELLS_STRICT cells or more, never more
// than the limit or 255.
void mega_counts(int cells, int limit, int mega[4]) {
  const double share[4] = {0.02, 0.025, 0.03, 0.04};
  const int cap = std::min(255, limit);
  for (int k = 0; k < 4; k++) {
    int m = std::max(1, static_cast<int>(std::lround(cells * share[k])));
    if (k > 0) m = std::max(m, mega[k - 1] + (cells >= MIN_CELLS_STRICT ? 1 : 0));
    mega[k] = std::min(m, cap);
  }
}

struct Search {
  int games, quick_games;
  uint32_t seed;
  std::map<int, DifficultyFigures> full;
  std::map<int, double> quick;
  int measured = 0;

  const DifficultyFigures& at(int mines) {
    auto it = full.find(mines);
    if (it == full.end()) {
      it = full.emplace(mines, measure_board(mines, games, seed, CLASSIC)).first;
      measured += games;
    }
    return it->second;
  }
  double fast(int mines) {
    auto it = quick.find(mines);
    if (it == quick.end()) {
      it = quick.emplace(mines, measure_board(mines, quick_games, seed, CLASSIC).guesses_per_100_cells).first;
      measured += quick_games;
    }
    return it->second;
  }

  // The count in [lo, hi] nearest the level's target.
  int find(int level, int lo, int hi) {
    const double t = GUESS_TARGETS[level];
    // Bracket the target from below with growing steps (dense boards are
    // slow to play and never wanted), then halve the bracket.
    int a = lo, b = lo, step = 1;
    while (b < hi && fast(b) < t) {
      a = b + 1;
      b = std::min(hi, b + step);
      step *= 2;
    }
    while (a < b) {
      const int mid = a + (b - a) / 2;
      if (fast(mid) >= t)
        b = mid;
      else
        a = mid + 1;
    }
    int m = a;
    for (int step = 0; step < 8; step++) {
      if (at(m).guesses_per_100_cells < t && m < hi)
        m++;
      else if (m > lo && at(m - 1).guesses_per_100_cells >= t)
        m--;
      else
        break;
    }
    if (m > lo && band_distance(level, at(m - 1).guesses_per_100_cells) < band_distance(level, at(m).guesses_per_100_cells))
      m--;
    return m;
  }
};

std::string counts_text(const int v[4]) {
  char text[64];
  std::snprintf(text, sizeof text, "{%d, %d, %d, %d}", v[0], v[1], v[2], v[3]);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s SCRATCH_DIR OUT.inc [STYLE_FILE...]\n", argv[0]);
    return 2;
  }
  if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 1;
  set_color_depth(8);
  const std::string scratch = argv[1];
  std::string out = argv[2];
  if (out[0] != '/') {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) out = std::string(cwd) + "/" + out;
  }
  std::vector<std::string> only(argv + 3, argv + argc);
  mkdir(scratch.c_str(), 0755);
  const std::vector<StyleDef> all = build_styles();
  for (const StyleDef& st : all) {
    std::string error;
    if (!write_style_file(st, scratch + "/" + st.file_name, &error)) {
      std::fprintf(stderr, "FAILED: %s\n", error.c_str());
      return 1;
    }
  }
  if (chdir(scratch.c_str()) != 0) return 1;

  std::printf("targets (forced guesses per 100 cells):");
  for (int k = 0; k < DIFFICULTY_LEVELS; k++) {
    const GuessBand b = guess_band(k);
    std::printf(" %s %.3f [%.3f, %.3f]", LEVEL_NAMES[k], GUESS_TARGETS[k], b.low, b.high);
  }
  std::printf("\n");

  std::string text =
      "// Mine counts per pattern: style file, pattern, mines at Beginner .. Master,\n"
      "// MegaMine mines at Beginner .. Master. Written by fg_calibrate (target\n"
      "// calibrate_mines) from the skill levels' targets of forced guesses per\n"
      "// 100 cells (tools/common/difficulty.h); do not edit by hand.\n";
  int misses = 0;
  long games_played = 0;
  const auto started = std::chrono::steady_clock::now();
  for (const StyleDef& st : all) {
    const bool measure = only.empty() || std::find(only.begin(), only.end(), st.file_name) != only.end();
    for (size_t q = 0; q < st.patterns.size(); q++) {
      const PatternDef& pat = st.patterns[q];
      int mines[4], mega[4];
      std::copy(pat.mines, pat.mines + 4, mines);
      std::copy(pat.mega, pat.mega + 4, mega);
      if (measure) {
        const int p = static_cast<int>(q);
        game.mode = CLASSIC;
        game.skill = BEGINNER;
        if (load_board(st.file_name.c_str(), p, 0) != BOARD_LOADED) {
          std::fprintf(stderr, "FAILED: %s / %s does not load\n", st.name.c_str(), pat.name.c_str());
          return 1;
        }
        const int cells = board.cell_count;
        int most = 0;
        for (int i = 0; i < cells; i++) most = std::max(most, static_cast<int>(board.cells[i].neighbour_count));
        const int limit = cells - safe_cells_needed(cells, most);
        Search s{games_for(cells), std::max(12, games_for(cells) / 4), difficulty_seed(p), {}, {}, 0};
        const auto t0 = std::chrono::steady_clock::now();
        const bool strict = cells >= MIN_CELLS_STRICT;
        int pinned[4] = {0, 0, 0, 0};
        for (int k = 0; k < DIFFICULTY_LEVELS; k++)
          for (const Reference& r : REFERENCES)
            if (st.file_name == REFERENCE_FILE && pat.name == r.pattern && r.level == k) pinned[k] = r.mines;
        auto in_band = [&](int k) { return in_guess_band(k, s.at(mines[k]).guesses_per_100_cells); };
        for (int k = 0; k < DIFFICULTY_LEVELS; k++) {
          const int lo = k == 0 ? 1 : std::min(limit, mines[k - 1] + (strict ? 1 : 0));
          mines[k] = pinned[k] ? pinned[k] : s.find(k, lo, limit);
          // A level pushed above its band by the level below (one more mine
          // than there): take mines off the level below while it stays in its
          // band, and search again.
          if (k > 0 && !pinned[k] && !pinned[k - 1] && !in_band(k) && mines[k] == lo &&
              s.at(mines[k]).guesses_per_100_cells > GUESS_TARGETS[k]) {
            const int floor_below = k == 1 ? 1 : mines[k - 2] + (strict ? 1 : 0);
            while (!in_band(k) && mines[k - 1] > floor_below) {
              mines[k - 1]--;
              if (!in_band(k - 1)) {
                mines[k - 1]++;
                mines[k] = s.find(k, std::min(limit, mines[k - 1] + (strict ? 1 : 0)), limit);
                break;
              }
              mines[k] = s.find(k, std::min(limit, mines[k - 1] + (strict ? 1 : 0)), limit);
            }
          }
        }
        std::string figures;
        for (int k = 0; k < DIFFICULTY_LEVELS; k++) {
          const double g = s.at(mines[k]).guesses_per_100_cells;
          if (pinned[k]) {
            const DifficultyFigures& f = s.at(mines[k]);
            std::printf("reference %s: %s at %d mines, %d games: %.4f forced guesses per 100 cells, standard error %.4f\n",
                        LEVEL_NAMES[k], pat.name.c_str(), mines[k], f.games, g,
                        100.0 * f.guesses_sd / std::sqrt(static_cast<double>(f.games)) / cells);
          }
          const bool ok = in_guess_band(k, g);
          misses += !ok;
          char f[48];
          std::snprintf(f, sizeof f, " %d:%.2f%s", mines[k], g, ok ? "" : "(!)");
          figures += f;
        }
        mega_counts(cells, limit, mega);
        games_played += s.measured;
        const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        std::printf("%-22s %-22s %5d cells limit %4d %s  (%d games, %.1f s)\n", st.name.c_str(), pat.name.c_str(), cells,
                    limit, figures.c_str(), s.measured, secs);
        std::fflush(stdout);
      }
      text += "{\"" + st.file_name + "\", \"" + pat.name + "\", " + counts_text(mines) + ", " + counts_text(mega) + "},\n";
    }
  }
  const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("%ld games in %.0f s; %d levels outside their band\n", games_played, secs, misses);
  if (write_file_whole(out.c_str(), text.data(), text.size()) != WRITE_DONE) {
    std::fprintf(stderr, "cannot write %s\n", out.c_str());
    return 1;
  }
  return misses ? 3 : 0;
}
END_OF_MAIN()
