#include "platform/termination.h"

#include <X11/Xlib.h>
#include <pthread.h>
#include <csignal>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include "platform/extra_settings.h"
#include "platform/settings.h"

std::atomic<int> close_requested{0};
std::atomic<void (*)()> before_shutdown_hook{nullptr};

namespace {
// Held while the hook runs: an end on another thread waits for it (a
// while at the most) rather than end the process in the middle of it.
std::timed_mutex hook_running;
}  // namespace

void run_before_shutdown_hook() {
  if (!hook_running.try_lock_for(std::chrono::seconds(8))) return;
  if (void (*hook)() = before_shutdown_hook.exchange(nullptr)) hook();
  hook_running.unlock();
}

namespace {

std::atomic<int> close_signal{0};
std::atomic<bool> settings_are_players{false};
// Held while the settings files are written at the end, so that an orderly
// shutdown and an overtaking end never write it at the same time.
std::timed_mutex settings_write;

const int TERMINATION_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

sigset_t termination_set() {
  sigset_t set;
  sigemptyset(&set);
  for (int s : TERMINATION_SIGNALS) sigaddset(&set, s);
  return set;
}

[[noreturn]] void raise_with_default_action(int sig) {
  std::signal(sig, SIG_DFL);
  sigset_t one;
  sigemptyset(&one);
  sigaddset(&one, sig);
  pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
  raise(sig);
  _exit(128 + sig);  // not reached: the default action ends the process
}

// The time the main thread has to shut down in order after a signal.
const auto ORDERLY_END_TIME = std::chrono::seconds(1);

void wait_for_termination_signals() {
  const sigset_t set = termination_set();
  for (;;) {
    int sig = 0;
    if (sigwait(&set, &sig) != 0) continue;
    int expected = 0;
    close_signal.compare_exchange_strong(expected, sig);
    close_requested.store(1);
    // The running loop ends the process at its next frame; a main thread
    // that shows no frame (blocked, or waiting for a key without frames)
    // is overtaken.
    std::this_thread::sleep_for(ORDERLY_END_TIME);
    save_settings_and_end(close_signal.load(), EXIT_STATUS_FAILURE);
  }
}

// The display connection is gone: nothing more can be shown or read, and
// the library's own threads may be waiting on each other. The handler
// must not return (the X library would end the process without saving).
int on_display_lost(Display*) {
  static const char message[] = "fusegrid: the connection to the display was lost; ending.\n";
  (void)!write(STDERR_FILENO, message, sizeof message - 1);
  save_settings_and_end(0, EXIT_STATUS_FAILURE);
}

}  // namespace

void install_termination_handlers() {
  const sigset_t set = termination_set();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread(wait_for_termination_signals).detach();
  XSetIOErrorHandler(on_display_lost);
}

void allow_settings_save_on_termination(bool allowed) { settings_are_players.store(allowed); }

int write_settings_guarded() {
  std::lock_guard<std::timed_mutex> hold(settings_write);
  const int written = write_settings();
  write_extra_settings();
  return written;
}

void end_after_close_request() {
  if (int sig = close_signal.load()) raise_with_default_action(sig);
  std::exit(0);
}

void save_settings_and_end(int sig, int status) {
  // The game's own things first (a result waiting for its name goes into
  // its table), as in the orderly shutdown; only once the player's
  // settings are in memory, as before that no game has been played.
  if (settings_are_players.load()) run_before_shutdown_hook();
  if (settings_are_players.load() && settings_write.try_lock_for(std::chrono::milliseconds(500))) {
    write_settings();
    write_extra_settings();
    // Left locked: nothing writes the file after this.
  }
  if (sig) raise_with_default_action(sig);
  _exit(status);
}
