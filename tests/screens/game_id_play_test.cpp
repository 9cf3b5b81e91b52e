// Game IDs in play: the ID of a game gives that game's board again, in
// the game, through --describe and through the dialog; no-guess IDs on
// every shipped pattern and level are cleared by the solver without a
// guess; bad IDs and cells are refused with their messages.
#include "screens/game_id_play.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "board/board_load.h"
#include "common/preview.h"
#include "platform/extra_settings.h"
#include "platform/lifecycle.h"
#include "palette/palette_entries.h"
#include "palette/palette_files.h"
#include "platform/settings.h"
#include "platform/main_datafile.h"
#include "rules/actions.h"
#include "render/effects.h"
#include "rules/board_state.h"
#include "rules/events.h"
#include "rules/mines.h"
#include "rules/no_guess.h"
#include "rules/solver_player.h"
#include "screens/game_events.h"
#include "support/headless.h"
#include "support/shipped_styles.h"
#include "ui/frames.h"
#include "ui/widgets.h"

namespace {


struct Described {
  int status = -1;
  std::string out, err;
  std::vector<int> mines, levels;
};

std::vector<int> json_list(const std::string& json, const char* key) {
  std::vector<int> v;
  const size_t at = json.find(std::string("\"") + key + "\": [");
  if (at == std::string::npos) return v;
  const char* p = json.c_str() + json.find('[', at) + 1;
  while (*p && *p != ']') {
    char* end = nullptr;
    v.push_back(static_cast<int>(std::strtol(p, &end, 10)));
    p = end;
    while (*p == ',' || *p == ' ') p++;
  }
  return v;
}

Described describe(const std::string& id, const std::string& cell) {
  FILE* out = std::tmpfile();
  FILE* err = std::tmpfile();
  Described d;
  d.status = describe_game(id.c_str(), cell.c_str(), out, err);
  d.out = read_and_close_stream(out);
  d.err = read_and_close_stream(err);
  d.mines = json_list(d.out, "mines");
  d.levels = json_list(d.out, "levels");
  return d;
}

std::vector<int> mines_in_play() {
  std::vector<int> v;
  for (int c = 0; c < board.cell_count; c++)
    if (board.cells[c].content >= MINE) v.push_back(c);
  return v;
}

std::string id_in_play() {
  char text[GAME_ID_TEXT_SIZE];
  format_game_id(current_game_id(), text, sizeof text);
  return text;
}

class GameIdPlay : public ::testing::Test {
 protected:
  void SetUp() override {
    default_settings();
    default_extra_settings();
    init_board();
    init_game_session();
    clear_events();
    show_wait_notice_hook = nullptr;
  }
  void TearDown() override {
    clear_events();
    init_board();
    init_game_session();
    current_board_index = -1;
    default_extra_settings();
  }

  // A new game as the menus start it, from a board seed and counter.
  static void new_game(const char* file, int pattern, GameMode mode, SkillLevel skill, uint32_t seed,
                       uint32_t counter) {
    game.mode = mode;
    game.skill = skill;
    board_seed = seed;
    board_counter = counter;
    ASSERT_TRUE(load_board_for_play(file, pattern, 0));
    clear_events();
  }
};

// The ID shown for a game names its board: typed in again it loads the
// same layout with the same stream, and --describe with the game's first
// click gives the mines the game has after that click. Odd and even board
// counters, every mode, several styles.
TEST_F(GameIdPlay, TheIdOfAGameGivesItsBoardAgain) {
  struct {
    const char* file;
    int pattern;
    GameMode mode;
    SkillLevel skill;
    uint32_t seed, counter;
    int first;
  } cases[] = {
      {"fgboards.dat", 1, CLASSIC, EXPERT, 1000, 0, 40},
      {"fgboards.dat", 1, CLASSIC, EXPERT, 1000, 7, 40},
      {"fgboards-hx.dat", 2, FLAGLESS, MASTER, 3141592653u, 12345, 10},
      {"fgboards-tr.dat", 0, BACKWARDS, INTERMEDIATE, 99, 4294967295u, 3},
      {"fgboards-pi.dat", 3, MULTI_MINE, EXPERT, 5, 2, 20},
      {"fgboards-ca.dat", 1, MOVING_MINES, MASTER, 77, 1, 0},
      {"fgboards-oc.dat", 2, ENDURANCE, BEGINNER, 4000000000u, 6, 15},
      {"fgboards-br.dat", 4, MEGAMINE, MASTER, 123, 3, 30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.file << " " << c.pattern << " mode " << c.mode << " counter " << c.counter);
    new_game(c.file, c.pattern, c.mode, c.skill, c.seed, c.counter);
    const std::string id = id_in_play();
    const std::vector<int> laid = mines_in_play();
    const Random stream = game.random;
    reveal_cell(c.first, 1, SFX_REVEAL);
    clear_events();
    const std::vector<int> after_click = mines_in_play();

    GameId parsed{};
    ASSERT_EQ(parse_game_id(id.c_str(), parsed), GAME_ID_OK) << id;
    init_board();
    init_game_session();
    board_seed = 1;
    board_counter = 2;
    // The notice shows a frame, and every frame moves the board seed on.
    show_wait_notice_hook = [] {
      board_seed += 5;
      board_counter += 1;
    };
    ASSERT_EQ(play_game_id(parsed), GAME_ID_OK);
    show_wait_notice_hook = nullptr;
    clear_events();
    EXPECT_EQ(id_in_play(), id);
    EXPECT_EQ(mines_in_play(), laid);
    EXPECT_EQ(board_seed, 6u);  // only the frame moved it: the boards after it are drawn as before
    EXPECT_EQ(board_counter, 3u);
    Random expected = stream;
    for (int i = 0; i < 20; i++) ASSERT_EQ(random_range(game.random, 0, 999), random_range(expected, 0, 999));

    const Described d = describe(id, std::to_string(c.first));
    EXPECT_EQ(d.status, 0) << d.err;
    // One line, ended as a line is.
    ASSERT_FALSE(d.out.empty());
    EXPECT_EQ(d.out.back(), '\n');
    EXPECT_EQ(std::count(d.out.begin(), d.out.end(), '\n'), 1) << d.out;
    if (c.mode == MOVING_MINES) {
      // The layout the click uncovered; the click then moved one mine.
      std::vector<int> moved;
      std::set_symmetric_difference(d.mines.begin(), d.mines.end(), after_click.begin(), after_click.end(),
                                    std::back_inserter(moved));
      EXPECT_LE(moved.size(), 2u) << d.out;
      EXPECT_EQ(d.mines.size(), after_click.size());
    } else {
      EXPECT_EQ(d.mines, after_click) << d.out;
    }
    EXPECT_NE(d.out.find("\"id\": \"" + id + "\""), std::string::npos) << d.out;
    EXPECT_NE(d.out.find("\"first_cell\": " + std::to_string(c.first) + ","), std::string::npos) << d.out;
    EXPECT_EQ(d.levels.empty(), c.mode != MULTI_MINE) << d.out;
    if (c.mode == MULTI_MINE) {
      ASSERT_EQ(d.levels.size(), d.mines.size());
      for (size_t i = 0; i < d.mines.size(); i++)
        EXPECT_EQ(d.levels[i], board.cells[d.mines[i]].content - MINE + 1);
    }
  }
}

// Whatever happens on screen between a board's load and its first click
// (frames of a screen shake, particles of an explosion changing colour,
// fireworks), the board is the one its ID names: --describe with the first
// cell gives the mines the game has after the click. A new game and the
// next board of an Endurance run, each with and without the no-guess maker.
TEST_F(GameIdPlay, FramesBeforeTheFirstClickNeverChangeTheBoard) {
  struct {
    GameMode mode;
    bool continuation, no_guess;
  } cases[] = {{CLASSIC, false, false}, {CLASSIC, false, true}, {ENDURANCE, true, false}, {ENDURANCE, true, true}};
  const int HUGE_PATTERN = 3;  // 40 x 32 squares
  const int first = 200;
  for (const auto& c : cases) {
    for (int frames : {0, 1, 2, 3, 70, 1000}) {
      SCOPED_TRACE(testing::Message() << "mode " << c.mode << " next board " << c.continuation << " no-guess "
                                      << c.no_guess << ", " << frames << " frames");
      extra_settings.no_guess = c.no_guess;
      new_game("fgboards.dat", HUGE_PATTERN, c.mode, EXPERT, 4242, 3);
      if (c.continuation) {
        reveal_cell(first, 1, SFX_REVEAL);
        board_seed += 17;
        ASSERT_TRUE(load_board_for_play(nullptr, HUGE_PATTERN, 1));
        clear_events();
      }
      const std::string id = id_in_play();
      // A mine's blast and shake, and a firework, carried on for a while.
      screen_shake = 28.0f;
      spawn_cell_burst(game.effects_random, 0, MINE);
      spawn_cell_firework(game.effects_random, 1);
      for (int f = 0; f < frames; f++) {
        int ox = 0, oy = 0;
        prepare_frame(&ox, &oy);
        update_particles(frame_random);
      }
      if (game.no_guess) {
        const NoGuessResult made = make_no_guess_board(first, NO_GUESS_WORK_BUDGET, no_guess_limits(game.no_guess_maker));
        ASSERT_TRUE(made.succeeded);
      }
      reveal_cell(first, 1, SFX_REVEAL);
      clear_events();
      clear_particles();
      screen_shake = 0.0f;
      const std::vector<int> played = mines_in_play();

      const Described d = describe(id, std::to_string(first));
      ASSERT_EQ(d.status, 0) << d.err;
      EXPECT_EQ(d.mines, played) << id;
    }
  }
}

// A no-guess ID on every shipped pattern at every level (each in one of
// the four no-guess modes, seeds spread): the board --describe prints is
// cleared from its first cell by the simulated player without a guess.
TEST_F(GameIdPlay, NoGuessIdsAreClearedWithoutAGuess) {
  const GameMode modes[] = {CLASSIC, FLAGLESS, ENDURANCE, BACKWARDS};
  int sample = 0, failures = 0;
  for (const ShippedStyleFile& style : SHIPPED_STYLE_FILES)
    for (int pattern = 0; pattern < style.patterns; pattern++)
      for (int skill = BEGINNER; skill <= MASTER; skill++, sample++) {
        const GameMode mode = modes[sample % 4];
        const uint32_t seed = 2654435761u * static_cast<uint32_t>(sample + 1);
        char id[GAME_ID_TEXT_SIZE];
        std::snprintf(id, sizeof id, "%s:%d:%d:%d:%u:N", style.name, pattern, mode, skill, seed);
        SCOPED_TRACE(id);
        // The cells of the board, for a first cell anywhere on it.
        const Described plain = describe(std::string(id, std::strlen(id) - 2), "0");
        ASSERT_EQ(plain.status, 0) << plain.err;
        const int first = static_cast<int>(seed % static_cast<uint32_t>(board.cell_count));
        const Described d = describe(id, std::to_string(first));
        ASSERT_EQ(d.status, 0) << d.err;
        ASSERT_EQ(static_cast<int>(d.mines.size()), game.mines_total);

        // The board as described, in play and not yet clicked.
        for (int c = 0; c < board.cell_count; c++) board.cells[c].content = 0;
        for (int m : d.mines) board.cells[m].content = MINE;
        compute_clues();
        game.first_cell = static_cast<int16_t>(first);
        if (!clearable_without_guess(first)) {
          failures++;
          ADD_FAILURE() << "a guess is needed from cell " << first;
        }
      }
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(sample, 59 * 4);
}

// IDs players have shared keep naming the boards they named: a table of
// IDs (every shipped style, every mode, odd and even counters, no-guess
// boards of every version of the maker at Master) pinned to the exact
// --describe output after a given first cell, as recorded in
// pinned_ids.txt. A change to the mine laying, the first click's zone or a
// maker fails here; a maker that must change gets a new version instead.
// To record the table anew (only for IDs that did not exist before):
//   FG_RECORD_PINNED_IDS=1 ./fg_tests --gtest_filter='GameIdPlay.PinnedIds*'
TEST_F(GameIdPlay, PinnedIdsKeepTheirBoards) {
  const char* const PINNED_FILE = FG_TEST_SOURCE_DIR "/screens/pinned_ids.txt";
  std::vector<std::string> ids;
  int style_number = 0;
  for (const ShippedStyleFile& style : SHIPPED_STYLE_FILES) {
    for (int mode = CLASSIC; mode <= MEGAMINE; mode++) {
      const int k = style_number * 7 + mode;
      const uint32_t seed = 2654435761u * static_cast<uint32_t>(k + 1) + 12345u;
      const char* counter = k % 2 ? "+1" : "";
      char id[GAME_ID_TEXT_SIZE];
      std::snprintf(id, sizeof id, "%s:%d:%d:%d:%u%s", style.name, k % style.patterns, mode, k % 4, seed, counter);
      ids.push_back(id);
      // No-guess boards at Master, one for each version of the maker; in a
      // mode without them, the ID plays the ordinary board.
      const bool no_guess_mode = no_guess_supported(static_cast<GameMode>(mode));
      if (!no_guess_mode && mode != (style_number % 3 == 0 ? MEGAMINE : MULTI_MINE)) continue;
      for (int maker = 1; maker <= (no_guess_mode ? NO_GUESS_MAKER : 1); maker++) {
        std::snprintf(id, sizeof id, "%s:%d:%d:3:%u%s:N%s", style.name, (k + 3) % style.patterns, mode, seed + 99u,
                      counter, maker > 1 ? std::to_string(maker).c_str() : "");
        ids.push_back(id);
      }
    }
    style_number++;
  }

  std::vector<std::string> described;
  for (const std::string& id : ids) {
    SCOPED_TRACE(id);
    const std::string plain = id.substr(0, id.find(":N"));
    const Described cells = describe(plain, "0");
    ASSERT_EQ(cells.status, 0) << cells.err;
    const uint32_t spread = 40503u * static_cast<uint32_t>(described.size() + 1);
    const int first = static_cast<int>(spread % static_cast<uint32_t>(board.cell_count));
    const Described d = describe(id, std::to_string(first));
    ASSERT_EQ(d.status, 0) << d.err;
    described.push_back(d.out);
  }

  if (std::getenv("FG_RECORD_PINNED_IDS")) {
    FILE* f = std::fopen(PINNED_FILE, "w");
    ASSERT_NE(f, nullptr);
    for (const std::string& line : described) std::fputs(line.c_str(), f);
    std::fclose(f);
    GTEST_SKIP() << "recorded " << described.size() << " IDs";
  }
  FILE* f = std::fopen(PINNED_FILE, "r");
  ASSERT_NE(f, nullptr) << PINNED_FILE;
  const std::string pinned = read_and_close_stream(f);
  std::vector<std::string> lines;
  for (size_t at = 0; at < pinned.size();) {
    const size_t end = pinned.find('\n', at);
    lines.push_back(pinned.substr(at, end == std::string::npos ? std::string::npos : end + 1 - at));
    at = end == std::string::npos ? pinned.size() : end + 1;
  }
  ASSERT_EQ(lines.size(), described.size());
  for (size_t i = 0; i < lines.size(); i++) EXPECT_EQ(described[i], lines[i]) << ids[i];
}

TEST_F(GameIdPlay, BadIdsAndCellsAreRefusedWithAMessage) {
  ScopedTempDir dir;
  const std::string style = read_file(game_path("fgboards.dat"));
  write_file("fgboards.dat", style);
  write_file("fgboards-jk.dat", "not a datafile at all");
  ASSERT_EQ(mkdir("fgboards-dr.dat", 0755), 0);
  ASSERT_EQ(mkfifo("fgboards-ff.dat", 0644), 0);
  write_file("fgboards-longer.dat", style);  // a name too long for an ID
  ScopedWatchdog watchdog(60);  // a FIFO opened for reading would block
  struct {
    const char* id;
    const char* cell;
    const char* message;
  } cases[] = {
      {"fgboards.dat:0:0:0", "0", "STYLEFILE:PATTERN"},
      {"fgboards.dat:0:0:0:x", "0", "seed"},
      {"fgboards.dat:0:0:0:1:N:x", "0", "STYLEFILE:PATTERN"},
      {"fgboards.dat:8:0:0:1", "0", "no such pattern"},
      {"fgboards.dat:0:9:0:1", "0", "game mode"},
      {"fgboards.dat:0:0:9:1", "0", "skill level"},
      {"fgboards-go.dat:0:0:0:1", "0", "not in the game folder"},
      {"fgboards-jk.dat:0:0:0:1", "0", "cannot be used"},
      {"fgboards-dr.dat:0:0:0:1", "0", "cannot be used"},
      {"fgboards-ff.dat:0:0:0:1", "0", "cannot be used"},
      {"fgboards-longer.dat:0:0:0:1", "0", "name is too long for a game ID (at most 15 characters)"},
      {"fgboards-absent.dat:0:0:0:1", "0", "not in the game folder"},
      {"fgboards.dat:0:0:0:1", "81", "no such cell"},
      {"fgboards.dat:0:0:0:1", "-1", "cell number"},
      {"fgboards.dat:0:0:0:1", "x", "cell number"},
      {"fgboards.dat:0:0:0:1", "", "cell number"},
      {"fgboards.dat:0:0:0:1", "99999999999999999999", "cell number"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " cell " << c.cell);
    const Described d = describe(c.id, c.cell);
    EXPECT_EQ(d.status, 2);
    EXPECT_EQ(d.out, "");
    EXPECT_NE(d.err.find(c.message), std::string::npos) << d.err;
    EXPECT_EQ(d.err.rfind("fusegrid: ", 0), 0u) << d.err;
    EXPECT_EQ(d.err.find('\n'), d.err.size() - 1) << d.err;  // one line
  }
  // The copied style works from there.
  EXPECT_EQ(describe("fgboards.dat:0:0:0:1", "80").status, 0);
}

// "fusegrid --game ID" with a well-formed ID whose board cannot be played:
// refused before anything is shown, exit status 2 and one line.
TEST_F(GameIdPlay, AStartIdWhoseBoardCannotBePlayedIsRefusedBeforeTheWindow) {
  ScopedTempDir dir;
  write_file("fgboards.dat", read_file(game_path("fgboards.dat")));
  write_file("fgboards-jk.dat", "not a datafile at all");
  ASSERT_EQ(mkdir("fgboards-dr.dat", 0755), 0);
  ASSERT_EQ(mkfifo("fgboards-ff.dat", 0644), 0);
  ScopedWatchdog watchdog(60);
  struct {
    const char* id;
    int status;
    const char* message;
  } cases[] = {
      {"fgboards.dat:0:0:0:1", 0, ""},
      {"fgboards-zz.dat:0:0:0:1", 2, "fusegrid: That style file is not in the game folder.\n"},
      {"fgboards-jk.dat:0:0:0:1", 2, "fusegrid: That style file cannot be used.\n"},
      {"fgboards-dr.dat:0:0:0:1", 2, "fusegrid: That style file cannot be used.\n"},
      {"fgboards-ff.dat:0:0:0:1", 2, "fusegrid: That style file cannot be used.\n"},
      {"fgboards.dat:8:0:0:1", 2, "fusegrid: That style file has no such pattern.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    GameId id;
    ASSERT_EQ(parse_game_id(c.id, id), GAME_ID_OK);
    char* text = nullptr;
    size_t size = 0;
    FILE* err = open_memstream(&text, &size);
    EXPECT_EQ(check_start_game_id(id, err), c.status);
    std::fclose(err);
    EXPECT_EQ(std::string(text, size), c.message);
    std::free(text);
  }
}

// The dialog driven frame by frame: keys go into the keyboard buffer
// before the frame named with them is shown.
struct DialogStep {
  int frame;
  const char* type;  // characters; '\b' backspace, '\r' Enter, '\x1b' Esc
};
std::vector<DialogStep> dialog_steps;
int dialog_frames = 0;
std::vector<int> message_pixels;  // ink in the message row, per frame

void dialog_frame(BITMAP* shown, int, int) {
  if (++dialog_frames > 300) throw std::runtime_error("the dialog did not close: " + id_in_play());
  tick_count.store(40);
  int ink = 0;
  for (int y = 344; y <= 356; y++)
    for (int x = 150; x <= 650; x++) ink += getpixel(shown, x, y) == COL_MENU_FONT;
  message_pixels.push_back(ink);
  const char* preview = std::getenv("FG_PREVIEW_DIR");  // set it to look at the dialog
  if (preview && dialog_frames == 5) {
    apply_current_palette();
    PALETTE pal;
    get_palette(pal);
    save_png((std::string(preview) + "/game_id_dialog.png").c_str(), shown, pal);
  }
  for (const DialogStep& s : dialog_steps)
    if (s.frame == dialog_frames)
      for (const char* c = s.type; *c; c++) {
        const int scancode = *c == '\r' ? KEY_ENTER : *c == '\b' ? KEY_BACKSPACE : *c == '\x1b' ? KEY_ESC : 0;
        simulate_keypress(scancode << 8 | (*c & 255));
      }
}

KEYBOARD_DRIVER stand_in_keyboard = {};

TEST_F(GameIdPlay, TheDialogShowsTheIdAndPlaysATypedOne) {
  FrameDriver driver{dialog_frame, 0, 0, nullptr};
  frame_driver = &driver;
  KEYBOARD_DRIVER* saved_keyboard = keyboard_driver;
  keyboard_driver = &stand_in_keyboard;  // readkey reads what simulate_keypress puts in the buffer
  clear_to_color(SceneBuffer, COL_BACKGROUND);
  struct Run {
    const char* before;  // the ID in play when the dialog opens, or nullptr
    std::vector<DialogStep> steps;
    bool played;
    const char* after;  // the ID in play afterwards
    bool message;       // a message was shown on the way
  } runs[] = {
      // A bad seed is explained; the ID mended and played.
      {nullptr, {{2, "fgboards-hx.dat:2:0:3:12x"}, {3, "\r"}, {6, "\b\b3"}, {7, "\r"}}, true,
       "fgboards-hx.dat:2:0:3:13", true},
      // The ID in play is offered: Enter starts that board again.
      {"fgboards.dat:1:5:2:77+1:N", {{2, "\r"}}, true, "fgboards.dat:1:5:2:77+1:N", false},
      // Another typed over it, with the no-guess mark.
      {"fgboards.dat:1:0:2:77", {{2, "\b\b\b\b\b\b\b\b3:0:3:9:N"}, {3, "\r"}}, true, "fgboards.dat:3:0:3:9:N",
       false},
      // A missing style file says so; Esc leaves the game as it was.
      {"fgboards.dat:1:0:2:77", {{2, "\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b"}, {3, "fgboards-zz.dat:0:0:0:1\r"}, {6, "\x1b"}},
       false, "fgboards.dat:1:0:2:77", true},
  };
  for (const Run& r : runs) {
    SCOPED_TRACE(r.after);
    init_board();
    init_game_session();
    current_board_index = -1;
    if (r.before) {
      GameId id{};
      ASSERT_EQ(parse_game_id(r.before, id), GAME_ID_OK);
      ASSERT_EQ(play_game_id(id), GAME_ID_OK);
      clear_events();
    }
    dialog_steps = r.steps;
    dialog_frames = 0;
    message_pixels.clear();
    clear_keybuf();
    EXPECT_EQ(game_id_dialog(), r.played);
    clear_events();
    EXPECT_EQ(id_in_play(), r.after);
    EXPECT_EQ(*std::max_element(message_pixels.begin(), message_pixels.end()) > 0, r.message);
    EXPECT_EQ(message_pixels.front(), 0);
  }
  keyboard_driver = saved_keyboard;
  frame_driver = nullptr;
  clear_keybuf();
}

// Every message about an ID fits on its line of the dialog: within the
// frame (140 to 659) with 8 pixels to spare on either side.
TEST_F(GameIdPlay, EveryMessageFitsTheDialog) {
  for (int e = GAME_ID_FIELD_COUNT; e <= GAME_ID_STYLE_TOO_LONG; e++) {
    const char* message = game_id_message(static_cast<GameIdError>(e));
    EXPECT_LE(text_length(game_font(), message), 659 - 140 - 16) << message;
  }
}

}  // namespace
