// The two opening screens driven frame by frame: the title's dots come at
// 200 a second whatever the frame rate, a key ends the title at once and
// stays in the buffer, and the second screen drops keys pressed while its
// picture slides in and waits out a held Enter.
#include "screens/title.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "render/effects.h"
#include "support/headless.h"

namespace {

std::function<void(int)> script;
int frames = 0;
int ticks_per_frame = 40;

void show(BITMAP*, int, int) {
  if (frames > 20000) throw std::runtime_error("the screen did not end");
  tick_count = ticks_per_frame;
  script(frames++);
}

void no_wait() {}

// The logo's points, less those the fixed sparks reveal first.
std::vector<std::pair<int, int>> dot_points() {
  const std::set<std::pair<int, int>> sparks = {{136, 30}, {52, 38},  {292, 18}, {112, 34}, {192, 30},
                                                {12, 26},  {344, 34}, {156, 38}, {256, 30}, {32, 22},
                                                {308, 38}, {96, 18},  {228, 18}};
  std::vector<std::pair<int, int>> points;
  for (const auto& p : title_scan_points(static_cast<BITMAP*>(MainDatafile[OBJ_LOGO].dat)))
    if (!sparks.count(p)) points.push_back(p);
  return points;
}

// How many of the points show their block of the logo in the scene.
int dots_shown(const std::vector<std::pair<int, int>>& points) {
  int n = 0;
  for (const auto& p : points) {
    bool lit = false;
    for (int dy = 0; dy < 3 && !lit; dy++)
      for (int dx = 0; dx < 3 && !lit; dx++) lit = getpixel(SceneBuffer, 222 + p.first + dx, 274 + p.second + dy) != 0;
    n += lit;
  }
  return n;
}

void release_everything() {
  clear_keybuf();
  for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
  mouse_b = 0;
}

class Title : public ::testing::Test {
 protected:
  void SetUp() override {
    release_everything();
    frames = 0;
    ticks_per_frame = 40;
    driver = FrameDriver{show, 0, 0, no_wait};
    frame_driver = &driver;
    clear_particles();
  }
  void TearDown() override {
    frame_driver = nullptr;
    release_everything();
    clear_particles();
  }
  FrameDriver driver{};
};

}  // namespace

TEST_F(Title, DotsComeAt200ASecondAtAnyFrameRate) {
  const std::vector<std::pair<int, int>> points = dot_points();
  ASSERT_GT(points.size(), 300u);
  for (int fps : {30, 70, 200}) {
    SCOPED_TRACE(::testing::Message() << fps << " frames a second");
    release_everything();
    clear_particles();
    frames = 0;
    ticks_per_frame = TICKS_PER_SECOND / fps;
    const float frame = static_cast<float>(ticks_per_frame) / TICKS_PER_SECOND;
    int last = 0, dot_frames = 0, most = 0, least = 1 << 30;
    script = [&](int) {
      const int now = dots_shown(points);
      const int added = now - last;
      if (now > 0 && last < static_cast<int>(points.size())) {
        dot_frames++;
        if (now < static_cast<int>(points.size())) {  // the last frame may take what is left
          most = std::max(most, added);
          least = std::min(least, added);
        }
      }
      last = now;
      if (now == static_cast<int>(points.size())) simulate_keypress(KEY_SPACE << 8 | ' ');  // done: skip the rest
    };
    run_title_sequence();
    EXPECT_EQ(last, static_cast<int>(points.size())) << "every dot was shown";
    const float per_frame = frame / 0.005f;
    EXPECT_GE(least, static_cast<int>(per_frame) - 1);
    EXPECT_LE(most, static_cast<int>(per_frame) + 2);
    // 398 dots at 200 a second: about two seconds, whatever the frame rate.
    EXPECT_NEAR(static_cast<float>(dot_frames) * frame, 398.0f / 200.0f, 2.5f * frame + 0.02f);
  }
}

TEST_F(Title, AKeyDuringTheSparksEndsItAtOnceAndStaysInTheBuffer) {
  int shown_after_key = -1;
  script = [&](int f) {
    if (f == 30) simulate_keypress(KEY_SPACE << 8 | ' ');
    if (f > 30) shown_after_key = f;
  };
  run_title_sequence();
  EXPECT_EQ(frames, 31) << "no frame after the one that saw the key";
  EXPECT_EQ(shown_after_key, -1);
  EXPECT_TRUE(keypressed()) << "the key stays in the buffer";

  // A mouse button does the same.
  release_everything();
  frames = 0;
  script = [&](int f) {
    if (f == 40) mouse_b = 1;
  };
  run_title_sequence();
  EXPECT_EQ(frames, 41);
}

TEST_F(Title, UninterruptedItRunsThroughToTheFade) {
  ticks_per_frame = TICKS_PER_SECOND / 70;
  script = [](int) {};
  run_title_sequence();
  // 0.5 s rest (no frames here), 2 frames, 2.15 s of sparks, about 2 s of
  // dots, 1 s widening, 2 s hold, 32 fade steps.
  const float seconds = static_cast<float>(frames * ticks_per_frame) / TICKS_PER_SECOND;
  EXPECT_GT(seconds, 2.15f + 1.99f + 1.0f + 2.0f);
  EXPECT_LT(seconds, 2.15f + 1.99f + 1.0f + 2.0f + 1.2f);
  // The logo stands whole in the scene.
  BITMAP* logo = static_cast<BITMAP*>(MainDatafile[OBJ_LOGO].dat);
  int misses = 0;
  for (int y = 0; y < logo->h; y++)
    for (int x = 0; x < logo->w; x++)
      if (getpixel(logo, x, y) != 0 && getpixel(SceneBuffer, 222 + x, 274 + y) != getpixel(logo, x, y)) misses++;
  EXPECT_EQ(misses, 0);
}

TEST_F(Title, PressAnyKeyDropsEarlyKeysAndWaitsOutAHeldEnter) {
  int slid_in_at = -1, ended_at = -1;
  BITMAP* picture = static_cast<BITMAP*>(MainDatafile[OBJ_PRESS_KEY_PICTURE].dat);
  script = [&](int f) {
    if (f == 5) simulate_keypress(KEY_SPACE << 8 | ' ');  // while the picture slides in: dropped
    if (slid_in_at < 0 && getpixel(SceneBuffer, 0, 300) == getpixel(picture, 0, 300) &&
        getpixel(SceneBuffer, 799, 300) == getpixel(picture, 799, 300) && f > 5)
      slid_in_at = f;
    if (slid_in_at >= 0 && f == slid_in_at + 10) {
      simulate_keypress(KEY_ENTER << 8 | '\r');
      key[KEY_ENTER] = 1;  // held down for a while
    }
    if (slid_in_at >= 0 && f == slid_in_at + 30) key[KEY_ENTER] = 0;
    ended_at = f;
  };
  run_press_any_key();
  ASSERT_GE(slid_in_at, 0);
  EXPECT_GE(slid_in_at, 55) << "a second of sliding at 60 frames a second";
  EXPECT_EQ(ended_at, slid_in_at + 30) << "ended when Enter was let go, not before";
  EXPECT_FALSE(keypressed()) << "the key that ended it is not left for the main screen";
}
