// The build's check of the shipped mine counts: every pattern of every style
// in GAME_DIR is played at its four mine counts with the seeds and games of
// the difficulty table, and each level's forced guesses per 100 cells must
// lie in that level's band (common/difficulty.h). Writes STAMP when all do;
// otherwise names every miss and exits with 1.
//   fg_check_difficulty GAME_DIR STAMP
#include <allegro.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/difficulty.h"
#include "platform/safe_file.h"
#include "rules/board_state.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s GAME_DIR STAMP\n", argv[0]);
    return 2;
  }
  if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 1;
  set_color_depth(8);
  std::string stamp = argv[2];
  if (stamp[0] != '/') {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) stamp = std::string(cwd) + "/" + stamp;
  }
  std::remove(stamp.c_str());
  if (chdir(argv[1]) != 0) {
    std::fprintf(stderr, "cannot enter %s\n", argv[1]);
    return 1;
  }
  const auto started = std::chrono::steady_clock::now();
  int patterns = 0, misses = 0;
  for_each_pattern(
      [&](const std::string&, int p) {
        patterns++;
        const std::string style(board.style_name, strnlen(board.style_name, 32));
        const std::string pattern(board.pattern_name, strnlen(board.pattern_name, 32));
        int mines[DIFFICULTY_LEVELS], mega[DIFFICULTY_LEVELS];
        pattern_mine_counts(p, mines, mega);
        for (int k = 0; k < DIFFICULTY_LEVELS; k++) {
          const double g =
              measure_board(mines[k], games_for(board.cell_count), difficulty_seed(p), CLASSIC).guesses_per_100_cells;
          if (in_guess_band(k, g)) continue;
          const GuessBand b = guess_band(k);
          std::fprintf(stderr,
                       "DIFFICULTY CHECK FAILED: %s / %s at %s (%d mines): %.2f forced guesses per 100 cells, "
                       "band %.2f .. %.2f (run the calibrate_mines target)\n",
                       style.c_str(), pattern.c_str(), LEVEL_NAMES[k], mines[k], g, b.low, b.high);
          misses++;
        }
      },
      [&](const std::string& file, int p) {
        std::fprintf(stderr, "DIFFICULTY CHECK FAILED: %s pattern %d does not load\n", file.c_str(), p);
        misses++;
      });
  const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("difficulty check: %d patterns at %d levels in %.0f s, %d outside their band\n", patterns,
              DIFFICULTY_LEVELS, secs, misses);
  if (misses || patterns == 0) return 1;
  if (write_file_whole(stamp.c_str(), "ok\n", 3) != WRITE_DONE) return 1;
  return 0;
}
END_OF_MAIN()
