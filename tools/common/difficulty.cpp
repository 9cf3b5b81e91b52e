#include "common/difficulty.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "board/loaded_style.h"
#include "board/style_file.h"
#include "platform/datafile_check.h"

#include "board/board_load.h"
#include "board/style_file.h"
#include "board/style_list.h"
#include "platform/datafile_check.h"
#include "rules/events.h"
#include "rules/mines.h"
#include "rules/random.h"
#include "rules/solver_player.h"

int centre_cell() {
  const int n = board.cell_count;
  if (n <= 0) return -1;
  long sx = 0, sy = 0;
  for (int i = 0; i < n; i++) {
    sx += board.cells[i].x;
    sy += board.cells[i].y;
  }
  const long cx = sx / n, cy = sy / n;
  int best = 0;
  long best_d = -1;
  for (int i = 0; i < n; i++) {
    const long dx = board.cells[i].x - cx, dy = board.cells[i].y - cy;
    const long d = dx * dx + dy * dy;
    if (best_d < 0 || d < best_d) {
      best_d = d;
      best = i;
    }
  }
  return best;
}

double mean_neighbours() {
  if (board.cell_count <= 0) return 0;
  long sum = 0;
  for (int i = 0; i < board.cell_count; i++) sum += board.cells[i].neighbour_count;
  return static_cast<double>(sum) / board.cell_count;
}

namespace {

// A fresh deal of the board in play: every cell covered and empty, the
// session's counters of a new board, and the mines laid.
void deal(int mines, GameMode mode, Random random) {
  for (int i = 0; i < board.cell_count; i++) {
    Cell& c = board.cells[i];
    c.state = HIDDEN;
    c.content = 0;
    c.open_wave = 0;
    c.flash_timer = -1.0f;
  }
  game.mode = mode;
  game.mines_total = mines;
  game.mines_left = mines;
  game.level2_left = game.level3_left = 0;
  game.mines_hit = game.board_mines_hit = 0;
  game.cells_hidden = board.cell_count;
  game.first_cell = -1;
  game.auto_reveal_timer = -1000.0f;
  game.phase = PLAYING;
  game.random = random;
  lay_mines(game.random);
}

}  // namespace

PlayerOptions difficulty_player() {
  PlayerOptions options;
  options.limits.overlap_rule = false;
  return options;
}

DifficultyFigures measure_board(int mines, int games, uint32_t seed, GameMode mode) {
  DifficultyFigures f;
  const int first = centre_cell();
  if (first < 0 || games <= 0) return f;
  long guesses = 0, hits = 0, clean = 0;
  double squares = 0;
  double opened = 0;
  for (int g = 0; g < games; g++) {
    deal(mines, mode, Random{seed * 2654435761u + static_cast<uint32_t>(g) * 40503u, 0});
    Random guess{seed ^ 0x5bd1e995u, static_cast<uint32_t>(g) * 7919u};
    const PlayResult r = play_board(first, guess, difficulty_player());
    guesses += r.forced_guesses;
    squares += static_cast<double>(r.forced_guesses) * r.forced_guesses;
    hits += r.mines_hit;
    clean += r.cleared && r.forced_guesses == 0;
    opened += static_cast<double>(r.first_click_opened) / board.cell_count;
  }
  clear_events();
  f.games = games;
  f.forced_guesses = static_cast<double>(guesses) / games;
  f.guesses_per_100_cells = 100.0 * f.forced_guesses / board.cell_count;
  f.mines_hit = static_cast<double>(hits) / games;
  f.no_guess_share = static_cast<double>(clean) / games;
  f.first_click_share = opened / games;
  if (games > 1)
    f.guesses_sd = std::sqrt(std::max(0.0, (squares - games * f.forced_guesses * f.forced_guesses) / (games - 1)));
  return f;
}

int games_for(int cells) { return std::max(24, std::min(400, 24000 / std::max(1, cells))); }

void pattern_mine_counts(int pattern, int mines[DIFFICULTY_LEVELS], int mega[DIFFICULTY_LEVELS]) {
  const uint8_t* layout = style_layout(style_datafile, nullptr);
  const uint32_t record = read_u32(layout, read_u32(layout, 0x26) + 4u * static_cast<uint32_t>(pattern));
  for (int s = 0; s < DIFFICULTY_LEVELS; s++) {
    mines[s] = static_cast<int16_t>(read_u16(layout, record + 0x22 + 2u * static_cast<uint32_t>(s)));
    mega[s] = read_u8(layout, record + 0x2A + static_cast<uint32_t>(s));
  }
}

const double GUESS_TARGETS[DIFFICULTY_LEVELS] = {0.096, 0.197, 0.758, 2.123};
const char* const LEVEL_NAMES[DIFFICULTY_LEVELS] = {"Beginner", "Intermediate", "Expert", "Master"};

GuessBand guess_band(int level) {
  const double t = GUESS_TARGETS[level], d = GUESS_BAND_SHARE * t + GUESS_BAND_SLACK;
  return GuessBand{std::max(0.0, t - d), t + d};
}

bool in_guess_band(int level, double guesses_per_100_cells) {
  const GuessBand b = guess_band(level);
  return guesses_per_100_cells >= b.low && guesses_per_100_cells <= b.high;
}

double band_distance(int level, double guesses_per_100_cells) {
  const double t = GUESS_TARGETS[level];
  return std::fabs(guesses_per_100_cells - t) / (GUESS_BAND_SHARE * t + GUESS_BAND_SLACK);
}

void for_each_pattern(const PatternVisit& visit, const PatternVisit& failed) {
  for (const std::string& file : find_style_files(".")) {
    DATAFILE* dat = load_checked_datafile(file.c_str());
    if (!dat) continue;
    const int patterns = validate_style(dat) ? read_u8(style_layout(dat, nullptr), 0x21) : 0;
    unload_datafile(dat);
    for (int p = 0; p < patterns; p++) {
      game.mode = CLASSIC;
      game.skill = BEGINNER;
      if (load_board(file.c_str(), p, 0) == BOARD_LOADED)
        visit(file, p);
      else if (failed)
        failed(file, p);
    }
  }
}
