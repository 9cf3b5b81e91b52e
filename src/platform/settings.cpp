#include "platform/settings.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/extra_settings.h"
#include "platform/game_paths.h"
#include "platform/safe_file.h"

Settings settings;
const char* const SETTINGS_FILE_NAME = "fgrid.cfg";

namespace {

bool read_field(FILE* f, void* dst, size_t n) { return std::fread(dst, 1, n, f) == n; }

uint32_t float_bits(float v) {
  uint32_t u;
  std::memcpy(&u, &v, 4);
  return u;
}

float float_from_bits(uint32_t u) {
  float v;
  std::memcpy(&v, &u, 4);
  return v;
}

bool all_binary(const uint8_t* bytes, int n) {
  for (int i = 0; i < n; i++)
    if (bytes[i] > 1) return false;
  return true;
}

}  // namespace

int read_settings() {
  FILE* f = fopen_regular_file(user_path(SETTINGS_FILE_NAME).c_str());
  if (!f) return 0;
  uint8_t speed[4];
  bool ok = read_field(f, &settings.question_marks, 1) && read_field(f, &settings.volume, 1) &&
            read_field(f, settings.sound_switches, SOUND_EFFECT_COUNT) &&
            read_field(f, settings.graphics_switches, GRAPHICS_SWITCH_COUNT) && read_field(f, speed, 4) &&
            read_field(f, &settings.windowed, 1) && read_field(f, settings.palette_name, 32);
  std::fclose(f);
  if (!ok) return 0;
  // The speed is stored little-endian whatever the machine.
  settings.chain_speed = float_from_bits(static_cast<uint32_t>(speed[0]) | static_cast<uint32_t>(speed[1]) << 8 |
                                         static_cast<uint32_t>(speed[2]) << 16 | static_cast<uint32_t>(speed[3]) << 24);
  if (settings.question_marks > 1) return 0;
  if (!all_binary(settings.sound_switches, SOUND_EFFECT_COUNT)) return 0;
  if (!all_binary(settings.graphics_switches, GRAPHICS_SWITCH_COUNT)) return 0;
  // A NaN fails both comparisons and is rejected.
  if (!(settings.chain_speed >= 0.0f && settings.chain_speed <= 0.1f)) return 0;
  if (settings.windowed != 0 && settings.windowed != 1) return 0;
  return 1;
}

void default_settings() {
  settings.question_marks = 1;
  settings.volume = 128;
  std::memset(settings.sound_switches, 1, sizeof settings.sound_switches);
  std::memset(settings.graphics_switches, 1, sizeof settings.graphics_switches);
  settings.chain_speed = 0.05f;
  settings.windowed = 0;
  std::memset(settings.palette_name, 0, sizeof settings.palette_name);
}

int write_settings() {
  uint8_t bytes[SETTINGS_FILE_SIZE];
  size_t at = 0;
  bytes[at++] = settings.question_marks;
  bytes[at++] = settings.volume;
  std::memcpy(bytes + at, settings.sound_switches, SOUND_EFFECT_COUNT);
  at += SOUND_EFFECT_COUNT;
  std::memcpy(bytes + at, settings.graphics_switches, GRAPHICS_SWITCH_COUNT);
  at += GRAPHICS_SWITCH_COUNT;
  uint32_t speed = float_bits(settings.chain_speed);
  for (int i = 0; i < 4; i++) bytes[at++] = static_cast<uint8_t>(speed >> (8 * i));
  bytes[at++] = static_cast<uint8_t>(settings.windowed);
  std::memcpy(bytes + at, settings.palette_name, 32);
  at += 32;

  return write_file_whole(user_path(SETTINGS_FILE_NAME).c_str(), bytes, at) == WRITE_DONE ? 1 : 0;
}

void load_settings_at_start() {
  if (!read_settings()) {
    default_settings();
    write_settings();
  }
  load_extra_settings();
}
