// How the program ends when it is asked to from outside: a termination
// signal (SIGTERM, SIGINT, SIGHUP) or the loss of the display connection.
// Either way the player's settings (both files) are written before the
// process ends.
#pragma once

#include <atomic>

// Set when the game is asked to end from outside (the window's close
// button, a termination signal): the running loop shuts down in order at
// its next frame.
extern std::atomic<int> close_requested;

// Set by the layers above: what the game keeps before it ends (a result
// waiting for its name). Run once, whichever way the game ends first: the
// orderly shutdown (also after a window close or a termination signal),
// a termination signal that overtakes a main thread showing no frames, and
// the loss of the display.
extern std::atomic<void (*)()> before_shutdown_hook;
// Runs the hook, if it is set and has not run yet.
void run_before_shutdown_hook();

// Exit status of a start-up failure, a fatal error or a lost display.
enum { EXIT_STATUS_FAILURE = 1 };

// Blocks the termination signals in the calling thread, so that every
// thread started after it (the library's and the sound system's) has them
// blocked too, and starts the one thread that waits for them. A signal
// sets close_requested, so that the running loop shuts down in order at
// its next frame; a main thread that shows no frame within a second is
// overtaken: the settings are written and the process ends regardless.
// Also makes the loss of the display end the game the same way.
// Call once, first thing in start-up.
void install_termination_handlers();

// From now on the settings in memory are the player's and may be written
// when the process is ended from outside (before, and after a fatal
// error, with false, the file is left alone).
void allow_settings_save_on_termination(bool allowed = true);

// Ends the process after the orderly shutdown that a close request asked
// for: exit status 0 after a window-close request, or the termination
// signal that asked for it, raised again with its default action.
[[noreturn]] void end_after_close_request();

// write_settings and write_extra_settings for the orderly shutdown: never
// at the same time as the writes of an overtaking end. Returns what
// write_settings returned (a failed write of the second file is quiet).
int write_settings_guarded();

// Runs before_shutdown_hook (unless it has run), writes the settings, both
// files (once, whichever path gets there first; a second caller waits for
// the first to finish, for half a second at the most) and ends the
// process at once, without the library's exit handlers:
// with `sig` raised with its default action when it is nonzero,
// otherwise with `status`.
[[noreturn]] void save_settings_and_end(int sig, int status);
