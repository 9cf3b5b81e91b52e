// The player's choices, kept in the 55-byte binary file "fgrid.cfg" in the
// user folder (platform/game_paths.h).
#pragma once

#include <cstdint>

enum { SOUND_EFFECT_COUNT = 11, GRAPHICS_SWITCH_COUNT = 5, SETTINGS_FILE_SIZE = 55 };

enum GraphicsSwitch {
  GFX_PARTICLES = 0,
  GFX_NUMBER_FLASH = 1,
  GFX_MINE_ANIMATION = 2,
  GFX_SCREEN_SHAKE = 3,
  GFX_BLINKING_COLON = 4
};

struct Settings {
  uint8_t question_marks;
  uint8_t volume;
  uint8_t sound_switches[SOUND_EFFECT_COUNT];
  uint8_t graphics_switches[GRAPHICS_SWITCH_COUNT];
  float chain_speed;
  int8_t windowed;
  char palette_name[32];
};

extern Settings settings;

extern const char* const SETTINGS_FILE_NAME;  // "fgrid.cfg"

// 1 when the whole record was read and is valid, else 0 (also when
// something other than a regular file is in its place).
int read_settings();
// The defaults; the next write then puts every field (as for a game that
// never read the file).
void default_settings();
// Writes the file whole or not at all (a temporary file renamed into
// place, see platform/safe_file.h); 1 on success, 0 on failure.
//
// Two games may share the file. Under the lock on the user folder
// (UserFolderLock) the write reads the file as it is now and replaces in
// it only the fields whose values differ from those this game last read
// or wrote, field by field (each switch on its own), keeping the 55-byte
// layout; another game's changes to other fields stay. A file that is
// missing or not valid then, or a game that never read nor wrote it, gets
// every field of this game. After a write the settings in memory are the
// file's. 0 also when the lock could not be had in time.
int write_settings();
// Start-up: reads the file; when that fails, sets the defaults and writes
// them at once (a failed write is ignored). Then reads the second settings
// file (platform/extra_settings.h), which is written only at the end.
void load_settings_at_start();
