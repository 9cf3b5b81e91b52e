// The style datafiles the build puts into the game folder (fgboards*.dat):
// every one must pass the signature test and validation, and every pattern
// must load and play in every mode and skill level.
#include <dirent.h>
#include <gtest/gtest.h>
#include <strings.h>

#include <memory>
#include <string>
#include <vector>

#include "board/board_load.h"
#include "board/geometry.h"
#include "board/style_file.h"
#include "rules/board_state.h"
#include "rules/mines.h"
#include "rules/random.h"
#include "support/headless.h"
#include "platform/lifecycle.h"

namespace {

std::vector<std::string> shipped_styles() {
  std::vector<std::string> out;
  DIR* dir = opendir(FG_GAME_DIR);
  if (!dir) return out;
  while (const dirent* e = readdir(dir)) {
    const std::string name = e->d_name;
    if (name.size() >= 12 && strncasecmp(name.c_str(), "fgboards", 8) == 0 &&
        strcasecmp(name.c_str() + name.size() - 4, ".dat") == 0)
      out.push_back(game_path(name.c_str()));
  }
  closedir(dir);
  return out;
}

int mines_on_board() {
  int n = 0;
  for (int i = 0; i < board.cell_count; i++) n += board.cells[i].content >= MINE;
  return n;
}

}  // namespace

TEST(ShippedStyles, EveryStylePassesSignatureAndValidation) {
  const auto styles = shipped_styles();
  if (styles.empty()) GTEST_SKIP() << "no style datafiles in " << FG_GAME_DIR;
  for (const std::string& path : styles) {
    DATAFILE* dat = load_datafile(path.c_str());
    ASSERT_NE(dat, nullptr) << path;
    EXPECT_EQ(passes_signature(dat), 1) << path;
    EXPECT_EQ(validate_style(dat), 1) << path;
    unload_datafile(dat);
  }
}

TEST(ShippedStyles, EveryPatternLoadsInEveryModeWithinTheLimits) {
  const auto styles = shipped_styles();
  if (styles.empty()) GTEST_SKIP() << "no style datafiles in " << FG_GAME_DIR;
  std::unique_ptr<Board> scratch(new Board);
  init_game_session();
  for (const std::string& path : styles) {
    ASSERT_EQ(load_board(path.c_str(), 0, 0), 1) << path;
    const int patterns = style_pattern_count;
    for (int q = 0; q < patterns; q++) {
      for (int mode = CLASSIC; mode <= MEGAMINE; mode++)
        for (int skill = BEGINNER; skill <= MASTER; skill++) {
          game.mode = static_cast<GameMode>(mode);
          game.skill = static_cast<SkillLevel>(skill);
          board_counter++;
          const int continuation = mode + skill > 0;  // the style is read and validated once per pattern
          ASSERT_EQ(load_board(path.c_str(), q, continuation), 1) << path << " pattern " << q;
          ASSERT_EQ(mines_on_board(), game.mines_total);
          // The first click's zone clears without losing a mine.
          game.first_cell = static_cast<int16_t>(board.cell_count / 2);
          clear_first_click_zone(game.random);
          ASSERT_EQ(mines_on_board(), game.mines_total) << path << " pattern " << q;
          const Cell& f = board.cells[game.first_cell];
          ASSERT_LT(f.content, MINE);
          if (mode != MEGAMINE) {
            for (int e = 0; e < f.neighbour_count; e++) ASSERT_LT(board.cells[f.neighbours[e]].content, MINE);
          }
        }
      // Neighbour lists within 32 (counted before any cut) and buckets within 4.
      *scratch = board;
      EXPECT_LE(build_neighbours_for(*scratch, shape_info), MAX_NEIGHBOURS) << path << " pattern " << q;
      int fullest = 0;
      for (const auto& bucket : hit_grid.buckets) {
        int used = 0;
        for (int16_t slot : bucket) used += slot >= 0;
        fullest = std::max(fullest, used);
      }
      EXPECT_LE(fullest, HIT_SLOTS);
      EXPECT_GT(fullest, 0) << path << " pattern " << q << ": no cell can be clicked";
    }
  }
}

TEST(ShippedStyles, EveryOpaquePixelOfAHiddenCellHitsThatCell) {
  const auto styles = shipped_styles();
  if (styles.empty()) GTEST_SKIP() << "no style datafiles in " << FG_GAME_DIR;
  init_game_session();
  for (const std::string& path : styles) {
    ASSERT_EQ(load_board(path.c_str(), 0, 0), 1) << path;
    for (int q = 0; q < style_pattern_count; q++) {
      ASSERT_EQ(load_board(path.c_str(), q, 0), 1);
      const int right = board.origin_x + 8 * hit_grid.grid_columns;
      const int bottom = board.origin_y + 8 * hit_grid.grid_rows;
      int misses = 0;
      for (int i = 0; i < board.cell_count && misses < 5; i++) {
        const Cell& c = board.cells[i];
        BITMAP* pic = hidden_picture(c.shape);
        for (int y = 0; y < pic->h; y++)
          for (int x = 0; x < pic->w; x++) {
            if (getpixel(pic, x, y) == 0 || c.x + x >= right || c.y + y >= bottom) continue;
            const int hit = cell_at(c.x + x, c.y + y);
            if (hit != i && misses++ < 5)
              ADD_FAILURE() << path << " pattern " << q << " cell " << i << " pixel " << x << "," << y << " hits "
                            << hit;
          }
      }
    }
  }
}
