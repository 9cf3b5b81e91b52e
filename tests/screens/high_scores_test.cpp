// The high-score screens driven frame by frame: a won board asks for the
// name and shows its table with the entry highlighted; the page steps
// through the tables of the board; names of any bytes are drawn safely.
// Set FG_PREVIEW_DIR to a folder to look at the prompt and the page.
#include "screens/high_scores.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>

#include "board/board_load.h"
#include "board/geometry.h"
#include "common/preview.h"
#include "palette/palette_entries.h"
#include "palette/palette_files.h"
#include "platform/extra_settings.h"
#include "platform/game_paths.h"
#include "platform/safe_file.h"
#include "platform/lifecycle.h"
#include "platform/settings.h"
#include "platform/termination.h"
#include "render/effects.h"
#include "rules/actions.h"
#include "rules/board_state.h"
#include "rules/modes.h"
#include "scores/game_record.h"
#include "screens/game_events.h"
#include "screens/main_screen.h"
#include "support/headless.h"
#include "ui/frames.h"

namespace {

std::function<void(BITMAP*, int)> on_frame;
int frame = 0;

void show(BITMAP* shown, int, int) {
  if (++frame > 3000) throw std::runtime_error("the screen did not end");
  tick_count = 40;
  on_frame(shown, frame);
}

void release_keys() {
  for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
}

void type(const char* text) {
  for (const char* c = text; *c; c++) {
    const int scancode = *c == '\r' ? KEY_ENTER : *c == '\b' ? KEY_BACKSPACE : *c == '\x1b' ? KEY_ESC : 0;
    simulate_keypress(scancode << 8 | (*c & 255));
  }
}

void preview(BITMAP* shown, const char* name) {
  const char* folder = std::getenv("FG_PREVIEW_DIR");
  if (!folder) return;
  apply_current_palette();
  PALETTE pal;
  get_palette(pal);
  save_png((std::string(folder) + "/" + name + ".png").c_str(), shown, pal);
}

// Pixels of a colour in a rectangle of a frame.
int pixels_of(BITMAP* bmp, int colour, int x1, int y1, int x2, int y2) {
  int n = 0;
  for (int y = y1; y <= y2; y++)
    for (int x = x1; x <= x2; x++) n += getpixel(bmp, x, y) == colour;
  return n;
}

// The page's table: ten rows 14 pixels apart from y 236, the highlight
// bar three pixels above each row's text.
constexpr int TABLE_ROW_Y = 236, TABLE_ROW_HEIGHT = 14;
// Ink in a row's rank column.
int row_ink(BITMAP* bmp, int row) {
  const int y = TABLE_ROW_Y + TABLE_ROW_HEIGHT * row;
  return pixels_of(bmp, COL_MENU_FONT, 150, y, 182, y + 7) + pixels_of(bmp, COL_MENU_SELECTED_FONT, 150, y, 182, y + 7);
}
bool row_highlighted(BITMAP* bmp, int row) {
  const int y = TABLE_ROW_Y + TABLE_ROW_HEIGHT * row;
  return pixels_of(bmp, COL_MENU_SELECTED_BG, 150, y - 3, 650, y + 10) > 3000;
}
int rows_shown(BITMAP* bmp) {
  int n = 0;
  for (int r = 0; r < 10; r++) n += row_ink(bmp, r) > 4;
  return n;
}

KEYBOARD_DRIVER stand_in_keyboard = {};

class HighScores : public ::testing::Test {
 protected:
  void SetUp() override {
    default_settings();
    settings.chain_speed = 0.0f;
    default_extra_settings();
    init_board();
    init_game_session();
    release_keys();
    mouse_b = 0;
    mouse_x = mouse_y = 0;
    frame = 0;
    saved_keyboard = keyboard_driver;
    keyboard_driver = &stand_in_keyboard;  // readkey reads what simulate_keypress puts in the buffer
    clear_keybuf();
    driver = FrameDriver{show, 0, 0, release_keys};
    frame_driver = &driver;
    show_wait_notice_hook = nullptr;
    board_seed = 777;
    board_counter = 0;
    clear_to_color(SceneBuffer, COL_BACKGROUND);
  }
  void TearDown() override {
    // No game, table or waiting line is left to the tests after.
    reset_game_record();
    clear_scores();
    take_scores_message();
    frame_driver = nullptr;
    keyboard_driver = saved_keyboard;
    clear_keybuf();
    release_keys();
    mouse_b = 0;
    default_extra_settings();
  }

  ScopedUserFolder user_folder;
  FrameDriver driver{};
  KEYBOARD_DRIVER* saved_keyboard = nullptr;
};

ScoreKey beginner_key(int mode) {
  ScoreKey k;
  k.style = "fgboards.dat";
  k.pattern = 0;
  k.mode = mode;
  k.skill = BEGINNER;
  k.time_limit = mode == ENDURANCE ? 10 : 0;
  return k;
}

ScoreEntry entry(const std::string& name, int32_t result) {
  ScoreEntry e;
  e.name = name;
  e.result = result;
  e.damage = 3;
  e.boards = 2;
  e.date = 1765000000;
  return e;
}

// A MegaMine board of the first pattern won through the rules, its end
// handed on as the main screen does: its result then waits for a name.
void win_megamine_board() {
  game.mode = MEGAMINE;
  start_new_game("fgboards.dat", 0);
  reveal_cell(40, 1, 0);
  track_game_start();
  for (int i = 0; i < board.cell_count; i++)
    if (board.cells[i].content < MINE && board.cells[i].state != REVEALED) reveal_cell(i, 1, 0);
  finish_board();
  act_on_game_events(nullptr);
}

}  // namespace

// A Beginner board won by clicking: after the fireworks the prompt offers
// the last name, the name typed over it goes into the table, and the table
// shows it highlighted; the file and the name to offer next are kept.
TEST_F(HighScores, AWonBoardAsksForTheNameAndShowsItHighlighted) {
  extra_settings.player_name = "Old";
  game.mode = CLASSIC;
  game.skill = BEGINNER;
  start_new_game("fgboards.dat", 0);
  ASSERT_EQ(game.phase, PLAYING);
  const int first = 40;
  auto point_at = [](int cell) {
    const Cell& c = board.cells[cell];
    mouse_x = c.x + shape_info[c.shape].symbol_x + 8;
    mouse_y = c.y + shape_info[c.shape].symbol_y + 8;
  };
  bool typed = false, page_seen = false, highlighted = false;
  int prompt_ink = 0;
  on_frame = [&](BITMAP* shown, int f) {
    if (f == 1) point_at(first);
    if (f == 2) mouse_b = 1;
    if (f == 4) mouse_b = 0;
    if (f == 6) {
      // The rest of the board through the rules, as the clicks would.
      for (int i = 0; i < board.cell_count; i++)
        if (board.cells[i].content < MINE && board.cells[i].state != REVEALED) reveal_cell(i, 1, 0);
    }
    const bool prompt = score_entry_pending() && fireworks_timer == NO_END_SEQUENCE;
    if (prompt && !typed) {
      prompt_ink = pixels_of(shown, COL_MENU_FONT, 200, 220, 599, 363);
      preview(shown, "high_score_prompt");
      type("\b\b\bZed\r");
      typed = true;
    } else if (typed && !score_entry_pending() && !page_seen) {
      page_seen = true;
      preview(shown, "high_score_page");
      highlighted = row_highlighted(shown, 0) && !row_highlighted(shown, 1);
      key[KEY_ESC] = 1;  // closes the page
    } else if (page_seen) {
      key[KEY_ESC] = f % 2;  // let go, then Esc again: the main screen ends
    }
  };
  run_main_screen();
  EXPECT_TRUE(typed) << "the prompt came up";
  EXPECT_GT(prompt_ink, 1000) << "the prompt shows its texts";
  EXPECT_TRUE(page_seen);
  EXPECT_TRUE(highlighted) << "the new entry is highlighted in the table";
  const ScoreKey key = beginner_key(CLASSIC);
  ASSERT_EQ(score_entries(key).size(), 1u);
  EXPECT_EQ(score_entries(key)[0].name, "Zed");
  EXPECT_GT(score_entries(key)[0].result, 0);
  EXPECT_EQ(score_stats(key).won, 1u);
  EXPECT_EQ(extra_settings.player_name, "Zed");
  EXPECT_EQ(read_file(user_folder.path() + "/fusegrid.scores"), encode_scores());
}

// Esc at the prompt enters "- Anonymous -", and the name to offer stays.
TEST_F(HighScores, EscAtThePromptEntersAnonymous) {
  extra_settings.player_name = "Kept";
  win_megamine_board();
  ASSERT_TRUE(score_entry_pending());
  int pages = 0;
  on_frame = [&](BITMAP* shown, int f) {
    if (f == 1) type("Someone\x1b");
    if (!score_entry_pending()) {
      pages += rows_shown(shown) == 1;
      key[KEY_ENTER] = f % 2;
    }
  };
  enter_high_score();
  EXPECT_GT(pages, 0);
  ASSERT_EQ(score_entries(beginner_key(MEGAMINE)).size(), 1u);
  EXPECT_EQ(score_entries(beginner_key(MEGAMINE))[0].name, "- Anonymous -");
  EXPECT_EQ(extra_settings.player_name, "Kept");
}

// The page opens at the table in play and steps through the tables of
// the same board, by keys and by its buttons; only the entry just made
// is highlighted, and only on its own table.
TEST_F(HighScores, ThePageStepsThroughTheModesAndLevelsOfTheBoard) {
  for (int i = 0; i < 3; i++) add_entry(beginner_key(CLASSIC), entry("C" + std::to_string(i), 1000 + i));
  for (int i = 0; i < 12; i++) add_entry(beginner_key(FLAGLESS), entry("F" + std::to_string(i), 500 + i));
  ScoreKey intermediate = beginner_key(CLASSIC);
  intermediate.skill = INTERMEDIATE;
  add_entry(intermediate, entry("I", 7));
  ScoreKey endurance = beginner_key(ENDURANCE);
  add_entry(endurance, entry("E", 99));
  ScoreKey megamine = beginner_key(MEGAMINE);
  add_entry(megamine, entry("M", 9));
  game.mode = CLASSIC;
  game.skill = BEGINNER;
  start_new_game("fgboards.dat", 0);

  // Each step: what is done before the frame, and the rows it shows.
  struct Step {
    std::function<void()> act;
    int rows;
  };
  const int back_mode_x = 183, next_mode_x = 379, level_next_x = 615, buttons_y = 187;
  auto click = [](int x, int y) {
    mouse_x = x;
    mouse_y = y;
  };
  std::vector<Step> steps = {
      {[] {}, 3},
      {[] { type("M"); }, 3},  // a letter does nothing
      {[] { simulate_keypress(KEY_RIGHT << 8); }, 10},
      {[] { simulate_keypress(KEY_DOWN << 8); }, 0},
      {[] { simulate_keypress(KEY_UP << 8); }, 10},
      {[] { simulate_keypress(KEY_LEFT << 8); }, 3},
      {[] { simulate_keypress(KEY_LEFT << 8); }, 1},  // round to MegaMine
      {[&] { click(back_mode_x, buttons_y); }, 1},
      {[&] { mouse_b = 1; }, 1},
      {[&] { mouse_b = 0; }, 0},                       // Endurance, 30 minutes
      {[] { simulate_keypress(KEY_LEFT << 8); }, 0},  // 20 minutes
      {[] { simulate_keypress(KEY_LEFT << 8); }, 1},  // 10 minutes
      {[&] { click(next_mode_x, buttons_y); }, 1},
      {[&] { mouse_b = 1; }, 1},
      {[&] { mouse_b = 0; }, 0},  // 20 minutes
      {[] { for (int i = 0; i < 6; i++) simulate_keypress(KEY_LEFT << 8); }, 3},  // Classic
      {[&] { click(level_next_x, buttons_y); }, 3},
      {[&] { mouse_b = 1; }, 3},
      {[&] { mouse_b = 0; }, 1},  // Intermediate
  };
  size_t at = 0;
  std::vector<int> seen;
  bool endurance_columns = false;
  on_frame = [&](BITMAP* shown, int) {
    seen.push_back(rows_shown(shown));
    if (at == 12) {
      // Endurance, 10 minutes: the damage and the boards in their columns.
      endurance_columns = pixels_of(shown, COL_MENU_FONT, 440, TABLE_ROW_Y, 548, TABLE_ROW_Y + 8) > 10;
      preview(shown, "high_score_endurance");
    }
    if (at < steps.size()) {
      steps[at++].act();
    } else {
      key[KEY_ESC] = !key[KEY_ESC];
    }
  };
  high_scores_page();
  ASSERT_GE(seen.size(), steps.size() + 1);
  for (size_t i = 0; i < steps.size(); i++) EXPECT_EQ(seen[i + 1], steps[i].rows) << "after step " << i;
  EXPECT_TRUE(endurance_columns);
}

// Names of every byte, the longest and one with no end: no byte reaches
// the font unmapped, and the name stays within its column.
TEST_F(HighScores, NamesOfAnyBytesAreDrawnSafely) {
  std::string all;
  for (int b = 1; b < 256; b++) all += static_cast<char>(b);
  const ScoreKey table = beginner_key(CLASSIC);
  for (int i = 0; i < 10; i++) {
    std::string name = all.substr(static_cast<size_t>(i * 24), 24);
    if (i == 9) name = std::string(24, 'W');
    add_entry(table, entry(name, 100 + i));
  }
  for (const std::string& name : {all.substr(0, 24), std::string("\0\0a", 3)}) {
    const std::string shown = printable_name(name);
    EXPECT_EQ(shown.size(), name.size());
    for (char c : shown) EXPECT_TRUE(c >= 32 && c <= 126);
  }
  int rows = 0, outside = 0;
  on_frame = [&](BITMAP* shown, int f) {
    rows = rows_shown(shown);
    // Nothing of a name is drawn past its column, before the time.
    outside = pixels_of(shown, COL_MENU_FONT, 365, TABLE_ROW_Y, 380, TABLE_ROW_Y + 10 * TABLE_ROW_HEIGHT);
    if (f == 1) preview(shown, "high_score_names");
    key[KEY_ENTER] = f % 2;
  };
  high_scores_page();
  EXPECT_EQ(rows, 10);
  EXPECT_EQ(outside, 0);
}

// The window closed (or a termination signal) while a result waits for its
// name: the next frame ends the program, and the result is entered under
// the last name first.
[[noreturn]] void close_while_named_result_waits() {
  start_game();
  show_wait_notice_hook = nullptr;
  extra_settings.player_name = "Last";
  win_megamine_board();
  if (!score_entry_pending()) std::exit(3);
  close_requested.store(1);
  present_frame();
  std::exit(4);  // the frame did not end the program
}

TEST_F(HighScores, AResultWaitingForItsNameIsKeptWhenTheWindowCloses) {
  EXPECT_EXIT(close_while_named_result_waits(), ::testing::ExitedWithCode(0), "");
  ASSERT_EQ(load_scores(), SCORES_LOADED);
  const ScoreKey key = beginner_key(MEGAMINE);
  ASSERT_EQ(score_entries(key).size(), 1u);
  EXPECT_EQ(score_entries(key)[0].name, "Last");
  EXPECT_EQ(score_stats(key).won, 1u);
}

TEST(HighScoreTexts, TimesDatesAndTheDamagedFileLine) {
  const struct {
    int32_t hundredths;
    const char* text;
  } times[] = {{0, "0:00.00"}, {5, "0:00.05"}, {4217, "0:42.17"}, {6000, "1:00.00"}, {359999, "59:59.99"},
               {360000, "60:00.00"}, {-5, "0:00.00"}, {2147483647, "357913:56.47"}};
  for (const auto& t : times) EXPECT_EQ(format_score_time(t.hundredths), t.text) << t.hundredths;
  EXPECT_EQ(format_score_result(MEGAMINE, 1234), "1234");
  EXPECT_EQ(format_score_result(BACKWARDS, 1234), "0:12.34");
  EXPECT_EQ(format_score_date(86400 * 365).size(), 10u);
  EXPECT_EQ(format_score_date(4102444800LL * 1000000), "-") << "a year past the calendar";
  // The line fits the menu bar beside the face.
  EXPECT_LE(text_length(game_font(), SCORES_DAMAGED_MESSAGE), 800 - 48 - 256 - 8);
}

// A damaged file at start: the line in the menu bar, an empty table, the
// file kept aside.
TEST_F(HighScores, ADamagedFileIsToldOfAtStart) {
  write_file(user_folder.path() + "/fusegrid.scores", "FGSCORES\x07junk");
  const char* message = load_high_scores();
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(read_file(user_folder.path() + "/fusegrid.scores.bak"), "FGSCORES\x07junk");
  show_status_message_at_start(message, 15.0f);
  int filler_ink = -1;
  on_frame = [&](BITMAP* shown, int f) {
    if (f == 2) filler_ink = pixels_of(shown, COL_MENU_FONT, 260, 2, 740, 13);
    key[KEY_ESC] = f > 2;
  };
  run_main_screen();
  EXPECT_GT(filler_ink, 200) << "no board in play: the menu bar shows the line alone";
  EXPECT_STREQ(message, SCORES_DAMAGED_MESSAGE);
  EXPECT_EQ(load_high_scores(), nullptr) << "the next start finds no file";
  // Folders in the places of the file and of its backup: nothing can be
  // moved, and the line says so.
  ASSERT_EQ(mkdir((user_folder.path() + "/fusegrid.scores").c_str(), 0755), 0);
  std::remove((user_folder.path() + "/fusegrid.scores.bak").c_str());
  ASSERT_EQ(mkdir((user_folder.path() + "/fusegrid.scores.bak").c_str(), 0755), 0);
  write_file(user_folder.path() + "/fusegrid.scores.bak/inside", "x");
  EXPECT_STREQ(load_high_scores(), SCORES_DAMAGED_NOT_MOVED_MESSAGE);
}

// A save that fails during play (the folder locked by another game past
// the wait) is said in the menu bar at once, in place of what it shows
// when the save is done.
TEST_F(HighScores, AFailedSaveIsSaidInTheMenuBar) {
  // The game clock is left as found: tests after this one (a recorded
  // run) read it.
  const float saved_clock = clock_seconds;
  const int saved_wait = user_folder_lock_wait_ms;
  user_folder_lock_wait_ms = 10;
  // The menu bar's text area before the first click and after it.
  auto play = [&](bool locked) {
    reset_game_record();
    const int lock = locked ? lock_folder(user_folder.path().c_str(), 0) : -1;
    game.mode = CLASSIC;
    game.skill = BEGINNER;
    start_new_game("fgboards.dat", 0);
    const Cell& c = board.cells[40];
    std::vector<int> bar(2, -1);
    frame = 0;
    on_frame = [&](BITMAP* shown, int f) {
      if (f == 1) {
        bar[0] = pixels_of(shown, COL_MENU_FONT, 260, 2, 740, 13);
        mouse_x = c.x + shape_info[c.shape].symbol_x + 8;
        mouse_y = c.y + shape_info[c.shape].symbol_y + 8;
      }
      if (f == 2) mouse_b = 1;
      if (f == 4) mouse_b = 0;
      if (f == 8) bar[1] = pixels_of(shown, COL_MENU_FONT, 260, 2, 740, 13);
      key[KEY_ESC] = f > 8;
    };
    run_main_screen();
    release_keys();
    release_folder_lock(lock);
    return bar;
  };
  const std::vector<int> saved = play(false);
  EXPECT_FALSE(scores_unsaved());
  const std::vector<int> failed = play(true);
  EXPECT_TRUE(scores_unsaved());
  user_folder_lock_wait_ms = saved_wait;
  EXPECT_EQ(saved[1], saved[0]) << "a save done says nothing";
  EXPECT_EQ(failed[0], saved[0]);
  EXPECT_NE(failed[1], failed[0]) << "the line about the failed save";
  EXPECT_GT(failed[1], 200);
  EXPECT_EQ(save_waiting_scores(), SCORES_SAVE_DONE);
  clock_seconds = saved_clock;
}

// An entry not saved yet (its save failed) shows an asterisk after its
// rank, and the button bar a footnote; once saved, neither shows.
TEST_F(HighScores, EntriesNotSavedYetAreMarked) {
  const float saved_clock = clock_seconds;
  const ScoreKey table = beginner_key(CLASSIC);
  add_entry(table, entry("Saved", 100));
  ASSERT_EQ(save_scores(), 1);
  add_entry(table, entry("Waiting", 200));
  game.mode = CLASSIC;
  game.skill = BEGINNER;
  start_new_game("fgboards.dat", 0);
  // Ink of each row's rank column, and of the button bar left of OK!.
  struct Look {
    int rank[2];
    int footnote;
  };
  auto look_of_page = [&](const char* name) {
    Look look{};
    frame = 0;
    on_frame = [&](BITMAP* shown, int f) {
      if (f == 1) {
        for (int r = 0; r < 2; r++) look.rank[r] = row_ink(shown, r);
        look.footnote = pixels_of(shown, COL_MENU_FONT, 146, 442, 360, 453);
        preview(shown, name);
      }
      key[KEY_ESC] = f % 2;
    };
    high_scores_page();
    release_keys();
    return look;
  };
  const Look waiting = look_of_page("high_score_unsaved");
  ASSERT_EQ(save_scores(), 1);
  const Look saved = look_of_page("high_score_saved");
  EXPECT_EQ(waiting.rank[0], saved.rank[0]) << "the saved entry is not marked";
  EXPECT_GT(waiting.rank[1], saved.rank[1]) << "the waiting entry is marked";
  EXPECT_GT(waiting.footnote, 20);
  EXPECT_EQ(saved.footnote, 0);
  clock_seconds = saved_clock;
}
