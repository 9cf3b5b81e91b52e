// The main screen driven frame by frame on a real board: scripted mouse,
// keys and frame times, through the frame driver.
#include "screens/main_screen.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include "platform/key_presses.h"
#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "board/board_load.h"
#include "board/geometry.h"
#include "board/loaded_style.h"
#include "render/effects.h"
#include "render/hint_highlight.h"
#include "rules/actions.h"
#include "rules/board_state.h"
#include "rules/events.h"
#include "rules/hint.h"
#include "rules/mines.h"
#include "rules/modes.h"
#include "rules/random.h"
#include "support/headless.h"
#include "screens/game_events.h"
#include "screens/menus.h"

namespace {

// The script: called before every frame is shown with the number of the
// frame; it sets the input of the next pass. It ends the screen by
// holding Esc.
std::function<void(int)> script;
int frame = 0;
int loads = 0;

void show(BITMAP*, int, int) {
  if (frame > 5000) throw std::runtime_error("the main screen did not end");
  tick_count = 40;  // 1/60 s per frame
  script(frame++);
}

void count_load() { loads++; }

void release_keys() {
  for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
}

// Waits without frames: a held key is let go after a while.
int waits = 0;
void wait_a_moment() {
  if (++waits % 50 == 0) release_keys();
}

class MainScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    default_settings();
    settings.chain_speed = 0.0f;
    init_board();
    init_game_session();
    release_keys();
    mouse_b = 0;
    mouse_x = mouse_y = 0;
    frame = 0;
    loads = 0;
    driver = FrameDriver{show, 0, 0, wait_a_moment};
    frame_driver = &driver;
    show_wait_notice_hook = count_load;
    board_seed = 777;
    board_counter = 0;
  }
  void TearDown() override {
    frame_driver = nullptr;
    show_wait_notice_hook = nullptr;
    release_keys();
    mouse_b = 0;
  }

  void new_board(GameMode mode, int pattern = 0) {
    game.mode = mode;
    start_new_game("fgboards.dat", pattern);
    ASSERT_EQ(game.phase, PLAYING);
  }

  void point_at(int cell) {
    const Cell& c = board.cells[cell];
    mouse_x = c.x + shape_info[c.shape].symbol_x + 8;
    mouse_y = c.y + shape_info[c.shape].symbol_y + 8;
  }

  void run(std::function<void(int)> s) {
    script = std::move(s);
    run_main_screen();
  }

  // A safe cell next to at least one mine, and one with no mine around.
  int numbered_cell() {
    for (int i = 0; i < board.cell_count; i++)
      if (board.cells[i].content > 0 && board.cells[i].content < 200) return i;
    return -1;
  }

  // Pixels of the shown frame (the BackBuffer) that differ from the scene
  // in a cell's tile, leaving out the pointer's corner.
  static int frame_changes_on(int cell) {
    const Cell& c = board.cells[cell];
    BITMAP* tile = hidden_picture(c.shape);
    int n = 0;
    for (int y = c.y; y < c.y + tile->h; y++)
      for (int x = c.x; x < c.x + tile->w; x++) {
        const bool pointer = x >= mouse_x && x < mouse_x + 32 && y >= mouse_y && y < mouse_y + 32;
        if (!pointer && getpixel(BackBuffer, x, y) != getpixel(SceneBuffer, x, y)) n++;
      }
    return n;
  }

  FrameDriver driver{};
  ScopedUserFolder user_folder;  // the scores of the games played here
};

}  // namespace

TEST_F(MainScreen, LeftClickRevealsAndEscQuits) {
  new_board(CLASSIC);
  const int cell = 40;
  run([&](int f) {
    if (f == 1) point_at(cell);
    if (f == 2) mouse_b = 1;
    if (f == 4) mouse_b = 0;
    if (f == 8) key[KEY_ESC] = 1;
  });
  EXPECT_EQ(board.cells[cell].state, REVEALED);
  EXPECT_EQ(game.first_cell, cell);
  EXPECT_LT(frame, 12) << "Esc ends the screen at once";
}

TEST_F(MainScreen, AClickGoesToTheCellWhereTheButtonCameUp) {
  new_board(CLASSIC);
  reveal_cell(40, 1, 0);  // the mines are placed
  auto_reveal_step();
  // Two covered numbered cells (no cascade) that are not neighbours.
  auto covered_clue = [](int from, int apart_from) {
    for (int i = from; i < board.cell_count; i++) {
      const Cell& c = board.cells[i];
      if (c.state != HIDDEN || c.content == 0 || c.content >= 200) continue;
      bool next_to = false;
      if (apart_from >= 0)
        for (int n = 0; n < c.neighbour_count; n++) next_to = next_to || c.neighbours[n] == apart_from;
      if (!next_to && i != apart_from) return i;
    }
    return -1;
  };
  const int pressed = covered_clue(0, -1);
  const int next = pressed < 0 ? -1 : covered_clue(pressed + 1, pressed);
  ASSERT_GE(next, 0) << "no two covered clues apart";
  run([&](int f) {
    if (f == 1) point_at(pressed);
    if (f == 2) mouse_b = 1;
    if (f == 5) {  // the release and the move to the next cell between two frames
      mouse_b = 0;
      point_at(next);
    }
    if (f == 8) key[KEY_ESC] = 1;
  });
  EXPECT_EQ(board.cells[pressed].state, REVEALED) << "the cell under the release opens";
  EXPECT_EQ(board.cells[next].state, HIDDEN) << "the cell the pointer moved on to stays covered";
}

TEST_F(MainScreen, RightPressFlagsOncePerPress) {
  new_board(CLASSIC);
  const int cell = 10;
  run([&](int f) {
    if (f == 1) point_at(cell);
    if (f == 2) mouse_b = 2;  // held for many frames: one flag
    if (f == 10) {
      EXPECT_EQ(board.cells[cell].state, FLAGGED);
      mouse_b = 0;
    }
    if (f == 12) mouse_b = 2;  // the next press: the '?' mark
    if (f == 14) mouse_b = 0;
    if (f == 16) key[KEY_ESC] = 1;
  });
  EXPECT_EQ(board.cells[cell].state, QUESTION);
  EXPECT_EQ(game.mines_left, game.mines_total);

  // No flags in Flagless.
  new_board(FLAGLESS);
  run([&](int f) {
    if (f == 1) point_at(cell);
    if (f == 2) mouse_b = 2;
    if (f == 4) mouse_b = 0;
    if (f == 6) key[KEY_ESC] = 1;
  });
  EXPECT_EQ(board.cells[cell].state, HIDDEN);
}

TEST_F(MainScreen, BothButtonsChord) {
  new_board(CLASSIC);
  // Open the board first, then chord a clue whose mines are all flagged.
  reveal_cell(40, 1, 0);
  auto_reveal_step();
  int clue = -1;
  for (int i = 0; i < board.cell_count && clue < 0; i++) {
    const Cell& c = board.cells[i];
    if (c.state != REVEALED || c.content == 0 || c.content >= 200) continue;
    bool hidden_safe = false;
    for (int n = 0; n < c.neighbour_count; n++) {
      const Cell& m = board.cells[c.neighbours[n]];
      hidden_safe = hidden_safe || (m.state == HIDDEN && m.content < 200);
    }
    if (hidden_safe) clue = i;
  }
  ASSERT_GE(clue, 0) << "no clue with a covered safe neighbour";
  const Cell& c = board.cells[clue];
  for (int n = 0; n < c.neighbour_count; n++)
    if (board.cells[c.neighbours[n]].content >= 200) board.cells[c.neighbours[n]].state = FLAGGED;
  run([&](int f) {
    if (f == 1) point_at(clue);
    if (f == 2) mouse_b = 1;
    if (f == 3) mouse_b = 3;  // the right button joins the left
    if (f == 5) mouse_b = 1;  // one released: the chord
    if (f == 6) mouse_b = 0;
    if (f == 8) key[KEY_ESC] = 1;
  });
  for (int n = 0; n < c.neighbour_count; n++) {
    const Cell& m = board.cells[c.neighbours[n]];
    if (m.content < 200) {
      EXPECT_EQ(m.state, REVEALED) << "neighbour " << c.neighbours[n];
    }
  }
}

TEST_F(MainScreen, F2HeldRestartsOnce) {
  new_board(CLASSIC);
  reveal_cell(40, 1, 0);
  const int loads_before = loads;
  waits = 0;
  run([&](int f) {
    if (f == 2) key[KEY_F2] = 1;  // held down for a while
    if (f == 12) key[KEY_ESC] = 1;
  });
  EXPECT_GE(waits, 50) << "F2 was waited out without frames";
  EXPECT_EQ(loads - loads_before, 1);
  EXPECT_EQ(board.cells[40].state, HIDDEN) << "a fresh board";
  EXPECT_EQ(game.phase, PLAYING);
}

TEST_F(MainScreen, PauseStopsTheClock) {
  new_board(CLASSIC);
  reveal_cell(40, 1, 0);
  float before = 0.0f;
  run([&](int f) {
    if (f == 5) {
      before = game.game_time;
      key[KEY_P] = 1;  // opens the pause screen
    }
    if (f == 6) key[KEY_P] = 0;
    if (f == 30) key[KEY_P] = 1;  // resumes
    if (f == 31) {
      key[KEY_P] = 0;
      EXPECT_NEAR(game.game_time, before, 0.02f) << "the clock stood still while paused";
    }
    if (f == 40) key[KEY_ESC] = 1;
  });
  EXPECT_GT(game.game_time, before);
}

// How a player's press of a pause key reaches the game: the driver's
// low-level callback, and key[] as a once-a-frame read sees it.
enum { TAPPED = 0, X_TOGGLE = -1 };
struct PressStyle {
  const char* name;
  int scancode;
  // Frames the key is held; TAPPED: pressed and let go between two frames,
  // so key[] never shows it; X_TOGGLE: as the X driver reports Pause, every
  // other press comes as a release, letting go is never reported, and
  // key[] keeps the state from one press to the next.
  int held_frames;
};

const PressStyle PRESS_STYLES[] = {
    {"P held", KEY_P, 3},
    {"P tapped", KEY_P, TAPPED},
    {"Pause under X", KEY_PAUSE, X_TOGGLE},
    {"Num Lock held", KEY_NUMLOCK, 2},
};

// Frame f of press number `count` in the given style.
void press(const PressStyle& style, int f, int count) {
  const int k = style.scancode;
  if (style.held_frames == X_TOGGLE) {
    if (f != 0) return;
    const bool down = count % 2 == 0;
    note_key_event(down ? k : k | 0x80);
    key[k] = down ? -1 : 0;
    return;
  }
  if (f == 0) {
    note_key_event(k);
    if (style.held_frames != TAPPED) key[k] = -1;
  }
  if (f == style.held_frames) {
    note_key_event(k | 0x80);
    key[k] = 0;
  }
}

// Ten presses, 20 frames apart: each one pauses or resumes. The clock
// stands still exactly while paused.
TEST_F(MainScreen, EveryPressOfAPauseKeyPausesOrResumes) {
  for (const PressStyle& style : PRESS_STYLES) {
    SCOPED_TRACE(style.name);
    new_board(CLASSIC);
    reveal_cell(40, 1, 0);
    forget_key_presses();
    frame = 0;
    const int presses = 10, first = 10, gap = 20;
    std::vector<int> standing(presses, -1);
    float probe = 0.0f;
    run([&](int f) {
      const int n = (f - first) / gap, at = (f - first) % gap;
      if (f >= first && n < presses) {
        press(style, at, n);
        if (at == gap - 3) probe = game.game_time;
        if (at == gap - 1) standing[n] = game.game_time == probe;
      }
      if (f == first + presses * gap + 5) key[KEY_ESC] = 1;
    });
    for (int n = 0; n < presses; n++)
      EXPECT_EQ(standing[n], n % 2 == 0 ? 1 : 0) << "after press " << n + 1 << (n % 2 == 0 ? ": paused" : ": running");
    release_keys();
  }
}

// Keypad 5 is no pause key, and a press made in a menu or a dialog does
// not pause when the main screen comes back.
TEST_F(MainScreen, OtherKeysAndOldPressesDoNotPause) {
  new_board(CLASSIC);
  reveal_cell(40, 1, 0);
  forget_key_presses();
  note_key_event(KEY_P);  // pressed while a dialog had the keyboard
  note_key_event(KEY_P | 0x80);
  float at_20 = 0.0f;
  run([&](int f) {
    if (f == 5) {
      note_key_event(KEY_5_PAD);
      key[KEY_5_PAD] = -1;
    }
    if (f == 8) {
      note_key_event(KEY_5_PAD | 0x80);
      key[KEY_5_PAD] = 0;
    }
    if (f == 20) at_20 = game.game_time;
    if (f == 22) {
      EXPECT_GT(game.game_time, at_20) << "the clock runs";
      key[KEY_ESC] = 1;
    }
  });
}

TEST_F(MainScreen, ClearedEnduranceBoardRunsFireworksThenTheNextBoard) {
  game.endurance_minutes = 10;
  new_board(ENDURANCE);
  reveal_cell(40, 1, 0);
  game.game_time = 500.0f;  // 100 s played
  for (int i = 0; i < board.cell_count; i++)
    if (board.cells[i].content < 200) reveal_cell(i, 1, 0);
  ASSERT_EQ(game.phase, FINISHED);
  const int loads_before = loads;
  int launched_at = -1;
  run([&](int f) {
    if (f == 1) {
      EXPECT_EQ(game.phase, IDLE);
    }
    if (launched_at < 0 && fireworks_left == 0) launched_at = f;
    if (loads > loads_before) key[KEY_ESC] = 1;
    if (f == 1000) key[KEY_ESC] = 1;
  });
  EXPECT_EQ(loads - loads_before, 1) << "the next board was loaded";
  EXPECT_EQ(game.phase, PLAYING);
  EXPECT_EQ(game.boards_played, 1);
  EXPECT_GT(game.score, 0);
  EXPECT_EQ(game.game_time, 500.0f) << "the clock carries on from the last board";
  // Five fireworks 0.2 s apart, then 2 s: about 3 s at 60 frames a second.
  EXPECT_GE(launched_at, 40);
  EXPECT_LE(frame, 220);
}

TEST_F(MainScreen, AStyleFileThatIsGoneLeavesNoBoard) {
  ScopedTempDir dir;
  int prompts = 0;
  script = [&](int) {
    prompts++;
    simulate_keypress(KEY_SPACE << 8 | ' ');
  };
  game.phase = PLAYING;
  start_new_game("fgboards-gone.dat", 0);
  clear_keybuf();
  EXPECT_GT(prompts, 0) << "a key prompt was shown";
  EXPECT_EQ(game.phase, IDLE);
  EXPECT_EQ(board.cell_count, 0);
  EXPECT_EQ(current_board_index, -1);
}

// A chooser's frames, even with a screen shake running, never draw from the
// game stream, and cancelling it leaves the stream and the board in play.
TEST_F(MainScreen, CancelledChooserLeavesTheGameStream) {
  new_board(CLASSIC);
  Random before{};
  bool moved = true;
  run([&](int f) {
    if (f == 2) {
      before = game.random;
      key[KEY_F5] = 1;  // the board chooser opens in the next pass
    }
    if (f == 3) key[KEY_F5] = 0;
    // In the chooser, a screen shake draws every frame from its own stream.
    if (f == 4) screen_shake = 28.0f;
    if (f == 6) moved = game.random.counter != before.counter;
    if (f == 7) {
      screen_shake = 0.0f;
      key[KEY_ESC] = 1;  // cancels the chooser
    }
    if (f == 8) key[KEY_ESC] = 0;
    if (f == 12) {
      // Back on the main screen: the stream is where it was.
      EXPECT_EQ(game.random.seed, before.seed);
      EXPECT_EQ(game.random.counter, before.counter);
      key[KEY_ESC] = 1;
    }
  });
  EXPECT_FALSE(moved) << "the chooser's frames drew from the game stream";
  EXPECT_EQ(game.phase, PLAYING) << "the board in play stays";
}

// "Check!" (MegaMine): it takes no click while a flag is still to be
// placed; once every mine is flagged it gives the verdict and the board
// takes no more clicks.
TEST_F(MainScreen, CheckTakesTheVerdictOnceEveryFlagIsPlaced) {
  for (bool all_flagged : {false, true}) {
    SCOPED_TRACE(all_flagged ? "every flag placed" : "one flag missing");
    new_board(MEGAMINE);
    reveal_cell(40, 1, 0);
    clear_events();
    int left_out = -1;
    for (int i = 0; i < board.cell_count; i++) {
      if (board.cells[i].content < MINE) continue;
      if (!all_flagged && left_out < 0) {
        left_out = i;
        continue;
      }
      board.cells[i].state = FLAGGED;
      game.mines_left--;
    }
    ASSERT_EQ(game.mines_left, all_flagged ? 0 : 1);
    frame = 0;
    release_keys();  // the Esc that ended the last run
    run([&](int f) {
      if (f == 1) {
        mouse_x = 40;  // on the "Check!" button
        mouse_y = 560;
      }
      if (f == 3) mouse_b = 1;
      if (f == 5) mouse_b = 0;
      if (f == 8) key[KEY_ESC] = 1;
    });
    EXPECT_EQ(game.boards_played, all_flagged ? 1 : 0);
    EXPECT_EQ(game.phase, all_flagged ? IDLE : PLAYING);
    if (all_flagged) {
      EXPECT_EQ(game.face, OBJ_FACE_WON) << "every mine flagged: the verdict is a win";
    }
  }
}

// H during play (one hint per press however long H is held) and File >
// Hint: the hint costs 30 penalty seconds in Classic and its cell lights
// up in the frames for about two seconds. From the menu the pointer is
// over no cell: the hint is taken from the middle of the board.
TEST_F(MainScreen, HAndTheFileMenuShowAHint) {
  int hint_row = -1;
  for (const MenuItem& item : FILE_MENU_ITEMS)
    if (item.result == MENU_HINT) hint_row = item.row_top + 8;
  ASSERT_GE(hint_row, 0);
  settings.graphics_switches[GFX_PARTICLES] = 0;  // no shards over the cells
  settings.graphics_switches[GFX_NUMBER_FLASH] = 0;
  for (bool by_menu : {false, true}) {
    SCOPED_TRACE(by_menu ? "File > Hint" : "H");
    new_board(CLASSIC);
    reveal_cell(40, 1, 0);
    forget_key_presses();
    release_keys();
    frame = 0;
    int pointer = -1;
    for (int i = board.cell_count - 1; i >= 0 && pointer < 0; i--)
      if (board.cells[i].state == HIDDEN) pointer = i;
    ASSERT_GE(pointer, 0);
    HintResult expected{HINT_UNAVAILABLE, -1};
    float penalty = 0.0f;
    int lit_first = -1, lit_last = -1, lit_frames = 0, shown = -2;
    const int press_at = 40;
    run([&](int f) {
      if (f == 1) point_at(pointer);
      if (f == press_at) {
        expected = find_hint(by_menu ? -1 : pointer);
        ASSERT_TRUE(expected.kind == HINT_SAFE || expected.kind == HINT_MINE) << "a certain cell after the first click";
        penalty = game.penalty_time;
        if (by_menu) {
          mouse_x = 40;  // pressed on File, dragged onto Hint, let go
          mouse_y = 8;
          mouse_b = 1;
        } else {
          note_key_event(KEY_H);
          key[KEY_H] = -1;  // held for 30 frames
        }
      }
      if (by_menu && f == press_at + 1) {
        mouse_x = 100;
        mouse_y = hint_row;
      }
      if (by_menu && f == press_at + 2) mouse_b = 0;
      if (!by_menu && f == press_at + 30) {
        note_key_event(KEY_H | 0x80);
        key[KEY_H] = 0;
      }
      if (f == press_at + 5) shown = hint_highlight_cell();
      if (expected.cell >= 0 && frame_changes_on(expected.cell) > 0) {
        if (lit_first < 0) lit_first = f;
        lit_last = f;
        lit_frames++;
      }
      if (f == press_at + 200) key[KEY_ESC] = 1;
    });
    EXPECT_EQ(shown, expected.cell);
    EXPECT_EQ(game.penalty_time, penalty + 30.0f) << "one hint for one request";
    EXPECT_TRUE(game.hinted);
    EXPECT_GT(lit_first, press_at) << "not lit before the request";
    EXPECT_LE(lit_first, press_at + (by_menu ? 4 : 1)) << "lit in the frame of the pass that took the request";
    EXPECT_NEAR(lit_frames, 120, 3) << "about two seconds at 60 frames a second";
    EXPECT_EQ(lit_last - lit_first + 1, lit_frames) << "lit without a break";
    EXPECT_EQ(hint_highlight_cell(), -1);
  }
}

// When nothing can be deduced the hint still costs, nothing lights up and
// the menu bar says so.
TEST_F(MainScreen, HWithNothingCertainSaysSo) {
  new_board(CLASSIC);
  // One clue uncovered among covered cells, more mines around than clues.
  const int clue = numbered_cell();
  ASSERT_GE(clue, 0);
  board.cells[clue].state = REVEALED;
  game.first_cell = static_cast<int16_t>(clue);
  game.cells_hidden--;
  ASSERT_EQ(find_hint(-1).kind, HINT_NOTHING_CERTAIN);
  std::vector<int> filler_before, filler_after, filler_later;
  auto filler = [](std::vector<int>& out) {
    for (int y = 0; y < 16; y++)
      for (int x = 256; x < 700; x++) out.push_back(getpixel(BackBuffer, x, y));
  };
  const int seconds_5 = 5 * 60;
  run([&](int f) {
    if (f == 1) point_at(clue);
    if (f == 9) filler(filler_before);
    if (f == 10) note_key_event(KEY_H);  // tapped between two frames
    if (f == 12) {
      filler(filler_after);
      EXPECT_EQ(hint_highlight_cell(), -1);
    }
    if (f == 12 + seconds_5) filler(filler_later);
    if (f == 14 + seconds_5) key[KEY_ESC] = 1;
  });
  EXPECT_EQ(game.penalty_time, 30.0f);
  EXPECT_NE(filler_before, filler_after) << "the message stands in the menu bar";
  EXPECT_EQ(filler_before, filler_later) << "for a few seconds";
}
