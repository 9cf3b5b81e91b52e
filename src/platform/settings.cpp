#include "platform/settings.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

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

namespace {

// The fields of the file: offset and size. Each switch is a field of its
// own, so two games that changed different switches keep both.
struct Field {
  size_t at, size;
};
std::vector<Field> file_fields() {
  std::vector<Field> fields = {{0, 1}, {1, 1}};
  for (size_t i = 0; i < SOUND_EFFECT_COUNT + GRAPHICS_SWITCH_COUNT; i++) fields.push_back({2 + i, 1});
  fields.push_back({18, 4});
  fields.push_back({22, 1});
  fields.push_back({23, 32});
  return fields;
}

void encode(const Settings& s, uint8_t* bytes) {
  size_t at = 0;
  bytes[at++] = s.question_marks;
  bytes[at++] = s.volume;
  std::memcpy(bytes + at, s.sound_switches, SOUND_EFFECT_COUNT);
  at += SOUND_EFFECT_COUNT;
  std::memcpy(bytes + at, s.graphics_switches, GRAPHICS_SWITCH_COUNT);
  at += GRAPHICS_SWITCH_COUNT;
  // The speed is stored little-endian whatever the machine.
  const uint32_t speed = float_bits(s.chain_speed);
  for (int i = 0; i < 4; i++) bytes[at++] = static_cast<uint8_t>(speed >> (8 * i));
  bytes[at++] = static_cast<uint8_t>(s.windowed);
  std::memcpy(bytes + at, s.palette_name, 32);
}

// The fields of the bytes into s; false when one is not valid (s then
// holds every field as read).
bool decode(const uint8_t* bytes, Settings& s) {
  s.question_marks = bytes[0];
  s.volume = bytes[1];
  std::memcpy(s.sound_switches, bytes + 2, SOUND_EFFECT_COUNT);
  std::memcpy(s.graphics_switches, bytes + 13, GRAPHICS_SWITCH_COUNT);
  s.chain_speed = float_from_bits(static_cast<uint32_t>(bytes[18]) | static_cast<uint32_t>(bytes[19]) << 8 |
                                  static_cast<uint32_t>(bytes[20]) << 16 | static_cast<uint32_t>(bytes[21]) << 24);
  s.windowed = static_cast<int8_t>(bytes[22]);
  std::memcpy(s.palette_name, bytes + 23, 32);
  if (s.question_marks > 1) return false;
  if (!all_binary(s.sound_switches, SOUND_EFFECT_COUNT)) return false;
  if (!all_binary(s.graphics_switches, GRAPHICS_SWITCH_COUNT)) return false;
  // A NaN fails both comparisons and is rejected.
  if (!(s.chain_speed >= 0.0f && s.chain_speed <= 0.1f)) return false;
  return s.windowed == 0 || s.windowed == 1;
}

// The first 55 bytes of the file when it is a regular file that long.
bool read_file_bytes(uint8_t* bytes) {
  FILE* f = fopen_regular_file(user_path(SETTINGS_FILE_NAME).c_str());
  if (!f) return false;
  const bool whole = read_field(f, bytes, SETTINGS_FILE_SIZE);
  std::fclose(f);
  return whole;
}

// The settings as this game last read or wrote them: a write changes in
// the file only the fields that differ from these.
uint8_t known_bytes[SETTINGS_FILE_SIZE];
bool known = false;

}  // namespace

int read_settings() {
  uint8_t bytes[SETTINGS_FILE_SIZE];
  if (!read_file_bytes(bytes) || !decode(bytes, settings)) return 0;
  std::memcpy(known_bytes, bytes, sizeof bytes);
  known = true;
  return 1;
}

void default_settings() {
  known = false;
  settings.question_marks = 1;
  settings.volume = 128;
  std::memset(settings.sound_switches, 1, sizeof settings.sound_switches);
  std::memset(settings.graphics_switches, 1, sizeof settings.graphics_switches);
  settings.chain_speed = 0.05f;
  settings.windowed = 0;
  std::memset(settings.palette_name, 0, sizeof settings.palette_name);
}

int write_settings() {
  uint8_t ours[SETTINGS_FILE_SIZE];
  encode(settings, ours);
  uint8_t merged[SETTINGS_FILE_SIZE];
  std::memcpy(merged, ours, sizeof merged);
  UserFolderLock lock;
  if (!lock.held()) return 0;
  uint8_t now[SETTINGS_FILE_SIZE];
  Settings check;
  if (known && read_file_bytes(now) && decode(now, check)) {
    // What another game wrote meanwhile stays, but for the fields changed
    // here since this game read or wrote the file.
    std::memcpy(merged, now, sizeof merged);
    for (const Field& f : file_fields())
      if (std::memcmp(ours + f.at, known_bytes + f.at, f.size) != 0) std::memcpy(merged + f.at, ours + f.at, f.size);
  }
  if (write_file_whole(user_path(SETTINGS_FILE_NAME).c_str(), merged, sizeof merged) != WRITE_DONE) return 0;
  std::memcpy(known_bytes, merged, sizeof merged);
  known = true;
  decode(merged, settings);
  return 1;
}

void load_settings_at_start() {
  if (!read_settings()) {
    default_settings();
    write_settings();
  }
  load_extra_settings();
}
