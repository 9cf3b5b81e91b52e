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
void default_settings();
// Writes the file whole or not at all (a temporary file renamed into
// place, see files/safe_file.h); 1 on success, 0 on failure.
int write_settings();
// Start-up: reads the file; when that fails, sets the defaults and writes
// them at once (a failed write is ignored). Then reads the second settings
// file (platform/extra_settings.h), which is written only at the end.
void load_settings_at_start();
