#include "platform/lifecycle.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/extra_settings.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "platform/termination.h"
#include "rules/board_state.h"
#include "rules/random.h"
#include "sound/sound.h"
#include "support/headless.h"
#include "render/effects.h"

namespace {

struct Shown {
  int ox, oy;
};
std::vector<Shown> shown;
void record_frame(BITMAP*, int ox, int oy) { shown.push_back({ox, oy}); }

class FramePresenter : public ::testing::Test {
 protected:
  void SetUp() override {
    shown.clear();
    driver = FrameDriver{record_frame, 0, 0, nullptr};
    frame_driver = &driver;
    screen_shake = 0.0f;
    pointer_visible = 0;
    tick_count = 0;
    update_frame_time();
  }
  void TearDown() override { frame_driver = nullptr; }
  FrameDriver driver{};
};

}  // namespace

TEST_F(FramePresenter, TicksBecomeFrameSecondsAndTheClock) {
  reset_clock();
  tick_count = 24;
  present_frame();
  EXPECT_FLOAT_EQ(frame_seconds, 24 * 0.00041666668f);
  EXPECT_EQ(tick_count.load(), 0);
  tick_count = 2400;
  present_frame();
  EXPECT_FLOAT_EQ(frame_seconds, 1.0f);
  EXPECT_NEAR(clock_seconds, 1.01f, 1e-6);
  // Two frames without a tick: nothing advances.
  present_frame();
  present_frame();
  EXPECT_EQ(frame_seconds, 0.0f);
  EXPECT_NEAR(clock_seconds, 1.01f, 1e-6);
  reset_clock();
  EXPECT_EQ(clock_seconds, 0.0f);
}

std::vector<Shown> sent;
void record_sent(BITMAP*, int ox, int oy) { sent.push_back({ox, oy}); }

// Every frame is shown to the driver; only frames that differ from the
// last one sent (its pixels, its size or its offsets), or follow an
// invalidation, are sent.
TEST_F(FramePresenter, SendsOnlyFramesThatDifferFromTheLastSent) {
  driver.send = record_sent;
  sent.clear();
  game.random = random_seeded(7);
  BITMAP* const normal = BackBuffer;
  BITMAP* const small = create_bitmap_ex(8, 640, 480);
  clear_to_color(small, 3);
  clear_to_color(BackBuffer, 3);
  invalidate_sent_frame();
  struct Step {
    const char* what;
    void (*change)();
    bool sent;
  } steps[] = {
      {"first frame after an invalidation", [] {}, true},
      {"the same frame", [] {}, false},
      {"the same frame again", [] {}, false},
      {"the last pixel changed", [] { putpixel(BackBuffer, BackBuffer->w - 1, BackBuffer->h - 1, 9); }, true},
      {"the same changed frame", [] {}, false},
      {"the first pixel changed", [] { putpixel(BackBuffer, 0, 0, 9); }, true},
      {"an invalidation (new display mode)", [] { invalidate_sent_frame(); }, true},
      {"after it, the same frame", [] {}, false},
      {"a shaken frame", [] { screen_shake = 20.0f; }, true},
      {"the shake stopped, the same pixels", [] { screen_shake = 0.0f; }, true},
      {"the same frame unshaken", [] {}, false},
  };
  size_t expected_sent = 0;
  for (const Step& step : steps) {
    step.change();
    shown.clear();
    present_frame();
    ASSERT_EQ(shown.size(), 1u) << step.what << ": every frame is shown";
    expected_sent += step.sent;
    ASSERT_EQ(sent.size(), expected_sent) << step.what;
    if (step.sent) {
      EXPECT_EQ(sent.back().ox, shown[0].ox) << step.what;
      EXPECT_EQ(sent.back().oy, shown[0].oy) << step.what;
    }
  }
  EXPECT_TRUE(sent[sent.size() - 2].ox != 0 || sent[sent.size() - 2].oy != 0) << "the shaken frame was moved";
  // A frame of another size (another display mode) is sent, then skipped.
  BackBuffer = small;
  present_frame();
  EXPECT_EQ(sent.size(), ++expected_sent);
  present_frame();
  EXPECT_EQ(sent.size(), expected_sent);
  BackBuffer = normal;
  present_frame();
  EXPECT_EQ(sent.size(), ++expected_sent);
  destroy_bitmap(small);
}

double monotonic_seconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// With the tick clock, frames take whole 1/2400 s ticks of the monotonic
// clock; frames shorter than a tick carry their part tick to the next, so
// the ticks of many short frames add up to the time they took.
TEST_F(FramePresenter, TicksFromTheMonotonicClockAreNeverLost) {
  reset_clock();
  const double before_start = monotonic_seconds();
  start_tick_clock();
  const double after_start = monotonic_seconds();
  int frames = 0, empty_frames = 0;
  double before_last = 0.0, after_last = 0.0;
  do {
    before_last = monotonic_seconds();
    present_frame();
    after_last = monotonic_seconds();
    frames++;
    empty_frames += frame_seconds == 0.0f;
    const float ticks = frame_seconds / 0.00041666668f;
    ASSERT_NEAR(ticks, std::round(ticks), 1e-3) << "whole ticks only";
  } while (after_last - after_start < 0.05);
  stop_tick_clock();
  EXPECT_GT(empty_frames, 0) << "some frames were shorter than a tick";
  const double total_ticks = clock_seconds / 0.00041666668;
  EXPECT_GE(total_ticks, std::floor((before_last - after_start) * TICKS_PER_SECOND) - 0.01) << frames << " frames";
  EXPECT_LE(total_ticks, std::ceil((after_last - before_start) * TICKS_PER_SECOND) + 0.01) << frames << " frames";
  // Stopped, the clock adds nothing: frames take only the ticks fed.
  tick_count = 0;
  present_frame();
  EXPECT_EQ(frame_seconds, 0.0f);
}

TEST_F(FramePresenter, MouseMovementStirsTheBoardSeed) {
  board_seed = 100;
  board_counter = 5;
  driver.mickey_x = -7;
  driver.mickey_y = 3;
  present_frame();
  EXPECT_EQ(board_seed, 104u);
  EXPECT_EQ(board_counter, static_cast<uint32_t>(5 - 7));
  driver.mickey_x = driver.mickey_y = 0;
  present_frame();
  EXPECT_EQ(board_seed, 105u);
}

TEST_F(FramePresenter, ShakeOffsetsStayWithinTheAmplitudeAndDieAway) {
  game.random = random_seeded(42);
  tick_count = 40;  // 1/60 s
  present_frame();
  screen_shake = 28.0f;
  for (int i = 0; i < 5; i++) {
    tick_count = 40;
    present_frame();
  }
  ASSERT_EQ(shown.size(), 6u);
  bool moved = false;
  for (size_t i = 1; i < shown.size(); i++) {
    EXPECT_LE(std::abs(shown[i].ox), 28);
    EXPECT_LE(std::abs(shown[i].oy), 28);
    moved = moved || shown[i].ox != 0 || shown[i].oy != 0;
  }
  EXPECT_TRUE(moved);
  // Each frame lowers the amplitude by frame_seconds * shake * 4.
  float expected = 28.0f;
  for (int i = 0; i < 5; i++) expected = expected - (40 * 0.00041666668f) * expected * 4.0f;
  EXPECT_FLOAT_EQ(screen_shake, expected);
  // A frame of 0.3 s drives it below zero in one step; then it stops.
  tick_count = 720;
  present_frame();
  present_frame();
  EXPECT_LT(screen_shake, 0.0f);
  shown.clear();
  present_frame();
  EXPECT_EQ(shown[0].ox, 0);
  EXPECT_EQ(shown[0].oy, 0);
}

TEST_F(FramePresenter, DrawsThePointerOnlyWhenVisible) {
  BITMAP* pointer = static_cast<BITMAP*>(MainDatafile[OBJ_POINTER].dat);
  clear_to_color(BackBuffer, 0);
  mouse_x = 300;
  mouse_y = 200;
  present_frame();
  int painted = 0;
  for (int y = 0; y < pointer->h; y++)
    for (int x = 0; x < pointer->w; x++) painted += getpixel(BackBuffer, 300 + x, 200 + y) != 0;
  EXPECT_EQ(painted, 0);
  pointer_visible = 1;
  present_frame();
  for (int y = 0; y < pointer->h; y++)
    for (int x = 0; x < pointer->w; x++) {
      int p = getpixel(pointer, x, y);
      if (p != 0) {
        EXPECT_EQ(getpixel(BackBuffer, 300 + x, 200 + y), p);
      }
    }
  pointer_visible = 0;
  mouse_x = mouse_y = 0;
}

TEST_F(FramePresenter, ClearsTheEffectFlagsOnlyWhileSoundIsOn) {
  effect_played[SFX_CLICK] = 1;
  sound_state = SOUND_MUTED;
  present_frame();
  EXPECT_EQ(effect_played[SFX_CLICK], 1);
  sound_state = SOUND_ON;
  present_frame();
  EXPECT_EQ(effect_played[SFX_CLICK], 0);
  sound_state = SOUND_UNAVAILABLE;
}

TEST_F(FramePresenter, CloseRequestSavesSettingsAndExitsWithZero) {
  ScopedTempDir dir;
  default_settings();
  settings.volume = 77;
  default_extra_settings();
  extra_settings.no_guess = true;
  EXPECT_EXIT(
      {
        close_requested = 1;
        present_frame();
      },
      ::testing::ExitedWithCode(0), "");
  std::string saved = read_file(dir.path() + "/fgrid.cfg");
  ASSERT_EQ(saved.size(), 55u);
  EXPECT_EQ(static_cast<uint8_t>(saved[1]), 77);
  EXPECT_EQ(read_file(dir.path() + "/fusegrid.ini"), "no_guess=1\n");
}

TEST(FatalError, MessagesAndExitCode) {
  EXPECT_STREQ(fatal_error_message(9), "ERROR 009 - Unable to load main datafile.");
  EXPECT_STREQ(fatal_error_message(10),
               "ERROR 010 - Unable to load sound data. (This is necessary even if no sound effect device is available.)");
  EXPECT_STREQ(fatal_error_message(4), "ERROR 004 - Unable to initialize an 800x600 256 Color DirectX graphics mode.");
  for (int code = 1; code <= 10; code++) {
    const char* m = fatal_error_message(code);
    ASSERT_NE(m, nullptr);
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "ERROR %03d - ", code);
    EXPECT_EQ(std::strncmp(m, prefix, std::strlen(prefix)), 0) << m;
  }
  EXPECT_EQ(fatal_error_message(0), nullptr);
  EXPECT_EQ(fatal_error_message(11), nullptr);

  ScopedTempDir dir;
  EXPECT_EXIT(fatal_error(9), ::testing::ExitedWithCode(EXIT_STATUS_FAILURE), "fusegrid: ERROR 009 - Unable to load main datafile\\.");
  struct stat st;
  EXPECT_NE(stat((dir.path() + "/fgrid.cfg").c_str(), &st), 0) << "a fatal error does not save settings";
  EXPECT_NE(stat((dir.path() + "/fusegrid.ini").c_str(), &st), 0);
}
