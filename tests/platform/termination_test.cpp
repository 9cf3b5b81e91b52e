#include "platform/termination.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "platform/extra_settings.h"
#include "platform/lifecycle.h"
#include "platform/settings.h"
#include "support/headless.h"

namespace {

// Frames shown nowhere: the main thread's loop, run headless.
void show_nothing(BITMAP*, int, int) {}

struct TerminationCase {
  const char* name;
  bool settings_loaded;  // the player's settings are in memory
  bool main_presents;    // the main thread keeps presenting frames
  int sig;
  bool file_written;
};

// The child of the death test: the handlers installed, the signal sent to
// the process, then the main thread presents frames or does nothing.
[[noreturn]] void signal_then_run(const TerminationCase& c) {
  install_termination_handlers();
  if (c.settings_loaded) allow_settings_save_on_termination();
  FrameDriver driver{show_nothing, 0, 0, nullptr};
  frame_driver = &driver;
  kill(getpid(), c.sig);
  // A minute at the most, for a loaded machine: the signal ends the
  // process long before.
  for (int i = 0; i < 6000; i++) {
    if (c.main_presents) present_frame();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::exit(0);
}

class Termination : public ::testing::TestWithParam<TerminationCase> {};

TEST_P(Termination, EndsWithTheSignalAndTheSettingsWritten) {
  const TerminationCase& c = GetParam();
  ScopedTempDir dir;
  default_settings();
  settings.volume = 91;
  default_extra_settings();
  extra_settings.no_guess = true;
  EXPECT_EXIT(signal_then_run(c),       ::testing::KilledBySignal(c.sig), "");
  struct stat st;
  const std::string path = dir.path() + "/fgrid.cfg";
  if (c.file_written) {
    std::string saved = read_file(path);
    ASSERT_EQ(saved.size(), 55u);
    EXPECT_EQ(static_cast<uint8_t>(saved[1]), 91);
    EXPECT_EQ(read_file(dir.path() + "/fusegrid.ini"), "no_guess=1\n");
  } else {
    EXPECT_NE(stat(path.c_str(), &st), 0) << "settings written before they were loaded";
    EXPECT_NE(stat((dir.path() + "/fusegrid.ini").c_str(), &st), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Termination,
    ::testing::Values(TerminationCase{"TermWhilePresenting", true, true, SIGTERM, true},
                      TerminationCase{"IntWhilePresenting", true, true, SIGINT, true},
                      TerminationCase{"TermWithMainThreadStuck", true, false, SIGTERM, true},
                      TerminationCase{"HupWithMainThreadStuck", true, false, SIGHUP, true},
                      TerminationCase{"TermBeforeSettingsLoaded", false, false, SIGTERM, false}),
    [](const ::testing::TestParamInfo<TerminationCase>& info) { return std::string(info.param.name); });

}  // namespace

namespace {

void leave_a_mark() { write_file("hook.ran", "yes"); }

}  // namespace

// The end that the loss of the display takes (and a signal that overtakes
// a main thread showing no frames) runs the game's hook first, as the
// orderly shutdown does: a result waiting for its name is kept. Before the
// player's settings are loaded, nothing runs and nothing is written.
TEST(Termination, TheEndWithoutFramesRunsTheHookOnce) {
  for (const bool loaded : {true, false}) {
    SCOPED_TRACE(loaded);
    ScopedTempDir dir;
    EXPECT_EXIT(
        {
          allow_settings_save_on_termination(loaded);
          before_shutdown_hook = leave_a_mark;
          save_settings_and_end(0, EXIT_STATUS_FAILURE);
        },
        ::testing::ExitedWithCode(EXIT_STATUS_FAILURE), "");
    EXPECT_EQ(read_file("hook.ran"), loaded ? "yes" : "");
    struct stat st;
    EXPECT_EQ(stat("fgrid.cfg", &st) == 0, loaded);
  }
  // Run once: a second run finds the hook gone.
  ScopedTempDir dir;
  before_shutdown_hook = leave_a_mark;
  run_before_shutdown_hook();
  std::remove("hook.ran");
  run_before_shutdown_hook();
  EXPECT_EQ(read_file("hook.ran"), "");
  EXPECT_EQ(before_shutdown_hook.load(), nullptr);
}
