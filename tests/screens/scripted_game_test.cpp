// A scripted game through the real main screen: a fixed seed and a fixed
// list of clicks in every mode, frame by frame. Each frame's random state,
// sounds, counters and picture go into a trace, which has to match the
// recorded one line for line. Any change to the order of the random draws,
// to what the rules do or to what the screen shows on the way fails here.
//
// To record the trace anew (only after a deliberate change of behaviour):
//   FG_RECORD_TRACE=1 ./fg_tests --gtest_filter='ScriptedGame.*'
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/key_presses.h"
#include "platform/lifecycle.h"
#include "screens/main_screen.h"
#include "platform/settings.h"
#include "board/board_load.h"
#include "board/geometry.h"
#include "rules/board_state.h"
#include "rules/random.h"
#include "scores/game_record.h"
#include "sound/sound.h"
#include "support/headless.h"
#include "support/sample_log.h"
#include "render/board_draw.h"
#include "render/effects.h"
#include "screens/game_events.h"
#include "ui/prompts.h"

namespace {

const char* const TRACE_FILE = FG_TEST_SOURCE_DIR "/screens/scripted_game.trace";

std::ostringstream trace;
int frame = 0;
int end_frame = 0;
int frame_ticks = 40;
std::vector<int> clicks;  // cells, in order
GameMode mode_in_play = CLASSIC;

uint64_t picture_hash(BITMAP* bmp, int ox, int oy) {
  uint64_t h = 1469598103934665603ull ^ static_cast<uint64_t>((ox + 64) * 256 + oy + 64);
  for (int y = 0; y < bmp->h; y++) {
    const unsigned char* row = bmp->line[y];
    for (int x = 0; x < bmp->w; x++) {
      h ^= row[x];
      h *= 1099511628211ull;
    }
  }
  return h;
}

std::string board_summary() {
  std::string s;
  for (int i = 0; i < board.cell_count; i++) {
    s += static_cast<char>('A' + board.cells[i].state);
    s += std::to_string(board.cells[i].content);
    s += ' ';
  }
  return s;
}

void point_at(int cell) {
  const Cell& c = board.cells[cell];
  mouse_x = c.x + shape_info[c.shape].symbol_x + 8;
  mouse_y = c.y + shape_info[c.shape].symbol_y + 8;
}

// Each click takes eight frames: point, press, release, then five frames
// to let the game go on. The kind of click goes round: left, right, left,
// both buttons (a chord).
void play_script(int f) {
  const int step = f / 8, at = f % 8;
  if (step < static_cast<int>(clicks.size())) {
    const int cell = clicks[static_cast<size_t>(step)];
    const int kind = step % 4;
    if (at == 0) point_at(cell);
    if (at == 1) mouse_b = kind == 1 ? 2 : kind == 3 ? 3 : 1;
    if (at == 3) mouse_b = 0;
    return;
  }
  // Then Esc, pressed and let go in turns: it ends the main screen, and
  // first the prompts on the way (the name of a high score, its table).
  if (f >= end_frame) {
    key[KEY_ESC] = (f - end_frame) % 2 == 0;
    if (key[KEY_ESC] && !keypressed()) simulate_keypress(KEY_ESC << 8 | 27);
  }
}

void show(BITMAP* frame_bitmap, int ox, int oy) {
  if (frame > 20000) throw std::runtime_error("the main screen did not end");
  int sounds = 0;
  for (int e = 0; e < SFX_COUNT; e++)
    if (sample_starts[e]) sounds |= 1 << e;
  clear_sample_log();
  trace << frame << " r" << game.random.seed << ':' << game.random.counter << " s" << sounds << " p" << game.phase << " m"
        << game.mines_left << ',' << game.level2_left << ',' << game.level3_left << " h" << game.cells_hidden
        << " x" << game.mines_hit << " c" << game.score << " t" << static_cast<int>(game.game_time * 100.0f) << " n"
        << game.boards_played << " f" << game.face << " i" << std::hex << picture_hash(frame_bitmap, ox, oy)
        << std::dec << '\n';
  tick_count = frame_ticks;
  play_script(frame++);
}

void wait_a_moment() {
  for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
}

void play_mode(GameMode mode) {
  game.mode = mode;
  mode_in_play = mode;
  game.endurance_minutes = 10;
  // The load's notice shows a frame: no click and no Esc for it.
  clicks.clear();
  end_frame = INT32_MAX;
  start_new_game("fgboards.dat", 0);
  ASSERT_EQ(game.phase, PLAYING);
  clicks.clear();
  clicks.push_back(40);
  for (int k = 1; k < 24; k++) clicks.push_back((k * 97 + 13) % board.cell_count);
  frame = 0;
  end_frame = static_cast<int>(clicks.size()) * 8 + 240;
  // Endurance runs its ten minutes out: two and a half seconds per frame.
  frame_ticks = mode == ENDURANCE ? 6000 : 40;
  trace << "mode " << mode << " cells " << board.cell_count << " mines " << game.mines_total << '\n';
  run_main_screen();
  for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
  mouse_b = 0;
  trace << "board " << board_summary() << '\n';
}

}  // namespace

KEYBOARD_DRIVER stand_in_keyboard = {};

// Noon of a fixed day, read in UTC: the dates in the high-score table do
// not follow the day or the time zone the test runs in.
int64_t fixed_day() { return 1765368000; }

TEST(ScriptedGame, EveryModePlaysAsRecorded) {
  ScopedUserFolder user_folder;
  KEYBOARD_DRIVER* saved_keyboard = keyboard_driver;
  keyboard_driver = &stand_in_keyboard;  // readkey reads what simulate_keypress puts in the buffer
  int64_t (*saved_clock)() = score_clock;
  score_clock = fixed_day;
  const char* tz = std::getenv("TZ");
  const std::string saved_tz = tz ? tz : "";
  setenv("TZ", "UTC0", 1);
  tzset();
  default_settings();
  init_board();
  init_game_session();
  const int old_sound = sound_state;
  sound_state = SOUND_ON;
  clear_sample_log();
  FrameDriver driver{show, 0, 0, wait_a_moment};
  frame_driver = &driver;
  board_seed = 777;
  board_counter = 5;
  screen_shake = 0.0f;
  clear_particles();
  mouse_x = mouse_y = mouse_b = 0;
  pointer_visible = 0;
  pause_requested = 0;
  redraw_requested = 0;
  frame_seconds = 0.0f;
  tick_count = 0;
  init_status_slots();
  clear_to_color(SceneBuffer, 0);
  clear_to_color(BackBuffer, 0);
  // Board loads show their notice, as in the game.
  show_wait_notice_hook = show_wait_notice;
  trace.str("");
  for (GameMode mode : {CLASSIC, FLAGLESS, BACKWARDS, MULTI_MINE, MOVING_MINES, ENDURANCE, MEGAMINE}) play_mode(mode);
  frame_driver = nullptr;
  keyboard_driver = saved_keyboard;
  score_clock = saved_clock;
  if (tz)
    setenv("TZ", saved_tz.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
  clear_keybuf();
  sound_state = old_sound;
  show_wait_notice_hook = nullptr;

  const std::string got = trace.str();
  if (std::getenv("FG_RECORD_TRACE")) {
    std::ofstream(TRACE_FILE) << got;
    GTEST_SKIP() << "trace recorded to " << TRACE_FILE;
  }
  const std::string want = read_file(TRACE_FILE);
  ASSERT_FALSE(want.empty()) << "no recorded trace at " << TRACE_FILE;
  std::istringstream a(got), b(want);
  std::string la, lb;
  int line = 1;
  while (std::getline(b, lb)) {
    ASSERT_TRUE(std::getline(a, la)) << "the trace ends early, before line " << line << ": " << lb;
    ASSERT_EQ(la, lb) << "line " << line;
    line++;
  }
  EXPECT_FALSE(std::getline(a, la)) << "the trace goes on past the recorded end: " << la;
}
