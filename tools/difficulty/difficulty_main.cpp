// The difficulty table: every pattern of every style in a game folder,
// played at every skill level by the simulated player (Classic mode, first
// click at the board's centre, seeded), as a Markdown table.
//   fg_difficulty GAME_DIR OUT.md
#include <allegro.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/difficulty.h"
#include "platform/safe_file.h"
#include "rules/board_state.h"

namespace {

constexpr int LEVELS = DIFFICULTY_LEVELS;

struct Row {
  std::string style, pattern;
  int cells = 0;
  double neighbours = 0;
  int mines[LEVELS] = {};
  int mega[LEVELS] = {};
  DifficultyFigures level[LEVELS];
};

std::string name_of(const char* field) { return std::string(field, strnlen(field, 32)); }

std::string decimal(double v, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

template <class F>
std::string per_level(const Row& r, F f) {
  std::string s;
  for (int k = 0; k < LEVELS; k++) s += (k ? " / " : "") + f(r, k);
  return s;
}

std::string table(const std::vector<Row>& rows) {
  std::string out =
      "# Difficulty of the shipped boards\n\n"
      "Made by `fg_difficulty` (see the README): every pattern played at every skill level by the simulated "
      "player (Classic, first click at the board's centre, the cascade at once, exact deductions as the mine "
      "counts were calibrated (no overlapping pairs), the least likely cell when stuck and of those one with the "
      "fewest neighbours), games seeded. Levels: Beginner / Intermediate / Expert / Master.\n\n"
      "| Style | Pattern | Cells | Mean neighbours | Mines | MegaMine mines | Games | Forced guesses | "
      "Guesses per 100 cells | Mines hit | Cleared without a guess |\n"
      "|---|---|---:|---:|---|---|---:|---|---|---|---|\n";
  for (const Row& r : rows) {
    out += "| " + r.style + " | " + r.pattern + " | " + std::to_string(r.cells) + " | " + decimal(r.neighbours, 2) +
           " | " + per_level(r, [](const Row& x, int k) { return std::to_string(x.mines[k]); }) + " | " +
           per_level(r, [](const Row& x, int k) { return std::to_string(x.mega[k]); }) + " | " +
           std::to_string(r.level[0].games) + " | " +
           per_level(r, [](const Row& x, int k) { return decimal(x.level[k].forced_guesses, 2); }) + " | " +
           per_level(r, [](const Row& x, int k) { return decimal(x.level[k].guesses_per_100_cells, 2); }) + " | " +
           per_level(r, [](const Row& x, int k) { return decimal(x.level[k].mines_hit, 2); }) + " | " +
           per_level(r, [](const Row& x, int k) { return decimal(100.0 * x.level[k].no_guess_share, 0) + " %"; }) +
           " |\n";
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s GAME_DIR OUT.md\n", argv[0]);
    return 2;
  }
  if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 1;
  set_color_depth(8);
  std::string out = argv[2];
  if (out[0] != '/') {  // named from where the tool was started, not from the game folder
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) out = std::string(cwd) + "/" + out;
  }
  if (chdir(argv[1]) != 0) {
    std::fprintf(stderr, "cannot enter %s\n", argv[1]);
    return 1;
  }
  std::vector<Row> rows;
  for_each_pattern([&rows](const std::string&, int p) {
    Row row;
    row.style = name_of(board.style_name);
    row.pattern = name_of(board.pattern_name);
    row.cells = board.cell_count;
    row.neighbours = mean_neighbours();
    pattern_mine_counts(p, row.mines, row.mega);
    for (int k = 0; k < LEVELS; k++)
      row.level[k] = measure_board(row.mines[k], games_for(row.cells), difficulty_seed(p), CLASSIC);
    std::fprintf(stderr, "%-22s %-22s %5d cells  guesses per 100 cells %s\n", row.style.c_str(), row.pattern.c_str(),
                 row.cells,
                 per_level(row, [](const Row& x, int k) { return decimal(x.level[k].guesses_per_100_cells, 2); }).c_str());
    rows.push_back(row);
  });
  const std::string text = table(rows);
  if (write_file_whole(out.c_str(), text.data(), text.size()) != WRITE_DONE) {
    std::fprintf(stderr, "cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
END_OF_MAIN()
