// The player's choices that the fixed 55-byte "fgrid.cfg" has no room for,
// kept in the text file "fusegrid.ini" beside it (in the user folder, see
// platform/game_paths.h): one `key=value` a line.
//
// Reading takes only a regular file (a folder, FIFO or device in its place
// leaves every choice at its default, without blocking). Spaces and tabs
// around the key and the value are trimmed, and a line may end in "\n" or
// "\r\n". A known key takes its value only when that value is valid; a bad
// value is ignored, so the key keeps its default or the value of an
// earlier valid line: the last valid line of a key wins. Every other line
// (comments starting with '#' or ';', blank lines, unknown keys, any other
// text) is kept as it is and written back unchanged, in its order.
//
// Dropped while reading, and so missing after a write: a line longer than
// EXTRA_SETTINGS_MAX_LINE bytes, a line holding a control byte (binary
// junk: anything below 0x20 other than a tab, or 0x7F), and everything
// past the first EXTRA_SETTINGS_MAX_READ bytes of the file (the line cut
// there included). Kept lines add up to EXTRA_SETTINGS_MAX_KEPT bytes at
// the most; later ones are read for their keys but not kept.
//
// Text values (the two names) are taken as they stand after the trim, up
// to their size; an empty one is not written unless the file held the key.
//
// Writing puts each known key, with its current value, where its first
// line was (a key the file did not hold goes at the end), and the kept
// lines around them in their order, all ending in "\n". The file is
// written whole or not at all (see platform/safe_file.h).
//
// Two games may share the file. Under the lock on the user folder
// (UserFolderLock) a write reads the file as it is now and sets in it only
// the keys whose values differ from those this game last read or wrote;
// every other key and line stays as the file now has it, so another
// game's changes survive. Afterwards the choices in memory are the file's.
#pragma once

#include <cstddef>
#include <string>

// The "fit" choice of window_zoom.
enum { WINDOW_ZOOM_FIT = 0 };

struct ExtraSettings {
  // "no_guess": 0 or 1.
  bool no_guess;
  // "window_zoom": 1, 2, 3 or "fit" (WINDOW_ZOOM_FIT); 1 by default.
  int window_zoom;
  // "player_name": the name last entered in a high-score table, offered
  // for the next (at most EXTRA_SETTINGS_NAME_SIZE bytes); empty by default.
  std::string player_name;
  // "last_table": the high-score table of the last game played, as its
  // owner writes it (at most EXTRA_SETTINGS_TEXT_SIZE bytes, four
  // ':'-separated fields after a style file name that is a plain file name,
  // see is_plain_file_name); empty by default.
  std::string last_table;
};

extern ExtraSettings extra_settings;

extern const char* const EXTRA_SETTINGS_FILE_NAME;  // "fusegrid.ini"

enum : size_t {
  EXTRA_SETTINGS_NAME_SIZE = 24,
  EXTRA_SETTINGS_TEXT_SIZE = 64,
  EXTRA_SETTINGS_MAX_READ = 4u << 20,
  EXTRA_SETTINGS_MAX_LINE = 4096,
  EXTRA_SETTINGS_MAX_KEPT = 64u << 10
};

// The defaults; the next write then puts every key of this game (as for a
// game that never read the file).
void default_extra_settings();
// The defaults, then whatever the file holds; forgets the lines kept from
// an earlier read. Never writes.
void load_extra_settings();
// 1 when the file was written, else 0 (the file, or whatever is in its
// place, is then left as it was; also when the lock could not be had).
int write_extra_settings();
