// Shared set-up of the rules tests: real boards from the style datafiles
// of the game folder (the tests' working folder), loaded from a fixed
// board seed, with mines placed by hand where a case needs an exact layout.
// What the rules report is taken as events; show_events hands them to the
// screens' code, which draws, plays and stops the board area.
#pragma once

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "platform/lifecycle.h"
#include "platform/settings.h"
#include "board/board_load.h"
#include "render/board_draw.h"
#include "render/effects.h"
#include "rules/actions.h"
#include "rules/board_state.h"
#include "rules/events.h"
#include "rules/mines.h"
#include "rules/modes.h"
#include "rules/random.h"
#include "screens/game_events.h"
#include "sound/sound.h"
#include "ui/widgets.h"

namespace rules_test {

// Patterns of fgboards.dat (square cells, eight neighbours inside, cells
// numbered row by row).
enum { BEGINNER_9X9 = 0, INTERMEDIATE_16X16 = 1, EXPERT_28X16 = 2, HUGE_40X32 = 3 };

// The cell in row r, column c of a square pattern `cols` wide.
inline int rc(int r, int c, int cols = 9) { return r * cols + c; }

inline int count_mines_of(int code) {
  int n = 0;
  for (int i = 0; i < board.cell_count; i++) n += board.cells[i].content == code;
  return n;
}

inline int count_state(int state) {
  int n = 0;
  for (int i = 0; i < board.cell_count; i++) n += board.cells[i].state == state;
  return n;
}

inline int count_mines() {
  int n = 0;
  for (int i = 0; i < board.cell_count; i++) n += board.cells[i].content >= MINE;
  return n;
}

inline bool played(int effect) { return effect_played[effect] != 0; }

// The cells a reveal of `start` opens with its cascade, by ring: ring[c] is
// the step (0 for the click) at which c opens, -1 when it stays covered.
// Cells open from a revealed cell that arms the cascade (`arms`), and only
// safe covered unflagged cells open.
template <class Arms>
std::vector<int> cascade_rings(int start, Arms arms) {
  std::vector<int> ring(static_cast<size_t>(board.cell_count), -1);
  ring[static_cast<size_t>(start)] = 0;
  std::vector<int> frontier{start};
  for (int k = 1; !frontier.empty(); k++) {
    std::vector<int> next;
    for (int c : frontier) {
      if (!arms(board.cells[c])) continue;
      for (int e = 0; e < board.cells[c].neighbour_count; e++) {
        const int q = board.cells[c].neighbours[e];
        const Cell& cq = board.cells[q];
        if (ring[static_cast<size_t>(q)] != -1 || cq.content >= MINE) continue;
        if (cq.state != HIDDEN && cq.state != QUESTION) continue;
        ring[static_cast<size_t>(q)] = k;
        next.push_back(q);
      }
    }
    frontier = next;
  }
  return ring;
}

class RulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    default_settings();
    settings.volume = 200;
    sound_state = SOUND_ON;  // play_effect then marks effect_played, which the tests read
    clear_effect_played();
    init_game_session();
    reset_widgets();
    text_button_init(&check_button, 8, 544, 79, 592, "Check!", ALIGN_CENTRE, 1);
    button_disable(&check_button);
    area_button_init(&board_area, 88, 16, 799, 599, 1);
    clear_events();
    fireworks_timer = NO_END_SEQUENCE;
    fireworks_left = 0;
    frame_seconds = 0.0f;
    mouse_b = 0;
    clear_particles();
  }

  void TearDown() override {
    clear_events();
    sound_state = SOUND_UNAVAILABLE;
    clear_effect_played();
    frame_driver = nullptr;
    frame_seconds = 0.0f;
    mouse_b = 0;
    clear_particles();
    clear_keybuf();
    init_game_session();
    reset_widgets();
  }

  // Loads a pattern in a mode from a fixed board seed.
  void load(GameMode mode, int pattern = BEGINNER_9X9, SkillLevel skill = BEGINNER,
            const char* file = "fgboards.dat") {
    game.mode = mode;
    game.skill = skill;
    board_seed = 4242;
    board_counter = 0;
    ASSERT_EQ(load_board(file, pattern, 0), 1) << file << " " << pattern;
    clear_effect_played();
  }

  // Replaces the laid mines by the given (cell, code) pairs and works the
  // clues out again. first_cell is set (the board has had its first click)
  // so that reveals leave the layout as it is.
  void place(const std::vector<std::pair<int, int>>& mines, int first_cell = 0) {
    for (int i = 0; i < board.cell_count; i++) board.cells[i].content = 0;
    game.mines_left = game.level2_left = game.level3_left = 0;
    for (const auto& m : mines) {
      board.cells[m.first].content = static_cast<uint8_t>(m.second);
      if (m.second == MINE) game.mines_left++;
      if (m.second == MINE_LEVEL2) game.level2_left++;
      if (m.second == MINE_LEVEL3) game.level3_left++;
    }
    compute_clues();
    game.mines_total = static_cast<int32_t>(mines.size());
    game.first_cell = static_cast<int16_t>(first_cell);
  }

  void place_regular(const std::vector<int>& cells, int first_cell = 0) {
    std::vector<std::pair<int, int>> mines;
    for (int c : cells) mines.push_back({c, MINE});
    place(mines, first_cell);
  }

  // Uncovers every safe cell but `keep` directly (no reveal), keeping
  // cells_hidden true.
  void open_safe_cells_but(int keep) {
    for (int i = 0; i < board.cell_count; i++) {
      Cell& cell = board.cells[i];
      if (i == keep || cell.content >= MINE || cell.state == REVEALED) continue;
      cell.state = REVEALED;
      game.cells_hidden--;
    }
  }

  // The screens' side of what the rules reported since the last look.
  void show_events() { act_on_game_events(&board_area); }

  // The kinds of the events reported since the last look, which are taken.
  std::vector<GameEventKind> event_kinds() {
    std::vector<GameEventKind> kinds;
    for (const GameEvent& e : take_events()) kinds.push_back(e.kind);
    return kinds;
  }

  TextButton check_button{};
  AreaButton board_area{};
};

}  // namespace rules_test
