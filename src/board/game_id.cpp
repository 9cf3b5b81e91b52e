#include "board/game_id.h"

#include <allegro.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "board/board_load.h"
#include "board/style_file.h"
#include "board/style_layout.h"
#include "board/style_list.h"
#include "platform/datafile_check.h"
#include "platform/game_paths.h"
#include "rules/no_guess.h"

namespace {

constexpr uint32_t STREAM_STEP = 27397u;

std::vector<std::string> split_fields(const std::string& text) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t colon = text.find(':', start);
    fields.push_back(text.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return fields;
}

// A decimal number of at most `max`, digits only.
bool read_number(const std::string& text, uint64_t max, uint64_t& value) {
  if (text.empty() || text.size() > 20) return false;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
    if (v > max) return false;
  }
  value = v;
  return true;
}

// "SEED" or "SEED+K": the stream at seed SEED, counter K, in its shortest
// form (the counter 0 or 1).
bool read_stream(const std::string& text, Random& random) {
  const size_t plus = text.find('+');
  uint64_t seed = 0, counter = 0;
  if (!read_number(text.substr(0, plus), UINT32_MAX, seed)) return false;
  if (plus != std::string::npos && !read_number(text.substr(plus + 1), UINT32_MAX, counter)) return false;
  const uint32_t k = static_cast<uint32_t>(counter);
  random.seed = static_cast<uint32_t>(seed) + STREAM_STEP * (k - k % 2u);
  random.counter = k % 2u;
  return true;
}

std::string trimmed(const char* text) {
  std::string s = text ? text : "";
  const size_t first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

GameIdError parse_game_id(const char* text, GameId& id) {
  const std::vector<std::string> fields = split_fields(trimmed(text));
  if (fields.size() != 5 && fields.size() != 6) return GAME_ID_FIELD_COUNT;
  GameId parsed{};
  const std::string& style = fields[0];
  for (char c : style)
    if (c <= ' ' || c > '~') return GAME_ID_STYLE_NAME;
  if (style.empty() || style.find('/') != std::string::npos || !is_style_file_name(style.c_str()))
    return GAME_ID_STYLE_NAME;
  if (style.size() >= GAME_ID_STYLE_SIZE) return GAME_ID_STYLE_TOO_LONG;
  std::memcpy(parsed.style_file, style.c_str(), style.size() + 1);
  uint64_t value = 0;
  if (!read_number(fields[1], 255, value)) return GAME_ID_PATTERN;
  parsed.pattern = static_cast<int>(value);
  if (!read_number(fields[2], MEGAMINE, value)) return GAME_ID_MODE;
  parsed.mode = static_cast<GameMode>(value);
  if (!read_number(fields[3], MASTER, value)) return GAME_ID_SKILL;
  parsed.skill = static_cast<SkillLevel>(value);
  if (!read_stream(fields[4], parsed.random)) return GAME_ID_SEED;
  if (fields.size() == 6) {
    const std::string& flag = fields[5];
    if (flag.empty() || (flag[0] != 'N' && flag[0] != 'n')) return GAME_ID_FLAG;
    uint64_t maker = 1;  // "N" alone: the first maker
    if (flag.size() > 1) {
      // The version: a number from 2 on, no leading zero.
      const std::string version = flag.substr(1);
      if (version[0] == '0' || version.find_first_not_of("0123456789") != std::string::npos) return GAME_ID_FLAG;
      if (!read_number(version, UINT32_MAX, maker)) return GAME_ID_NEWER;
      if (maker < 2) return GAME_ID_FLAG;
      if (maker > static_cast<uint64_t>(NO_GUESS_MAKER)) return GAME_ID_NEWER;
    }
    parsed.no_guess = true;
    parsed.no_guess_maker = static_cast<int>(maker);
  }
  id = parsed;
  return GAME_ID_OK;
}

GameIdError read_game_id(const char* text, GameId& id) {
  const GameIdError error = parse_game_id(text, id);
  if (error != GAME_ID_STYLE_TOO_LONG) return error;
  const std::string style = split_fields(trimmed(text))[0];
  struct stat st;
  if (stat(find_game_file(style.c_str()).c_str(), &st) == 0 && S_ISREG(st.st_mode)) return GAME_ID_STYLE_TOO_LONG;
  return GAME_ID_STYLE_MISSING;
}

GameIdError check_game_id_style(const GameId& id) {
  // Only a regular file is opened: a FIFO in its place would block.
  const std::string path = find_game_file(id.style_file);
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return GAME_ID_STYLE_MISSING;
  if (!S_ISREG(st.st_mode)) return GAME_ID_STYLE_INVALID;
  DATAFILE* dat = load_checked_datafile(path.c_str());
  if (!dat) return GAME_ID_STYLE_INVALID;
  GameIdError result = GAME_ID_OK;
  if (!validate_style(dat))
    result = GAME_ID_STYLE_INVALID;
  else if (id.pattern >= read_u8(style_layout(dat, nullptr), 0x21))
    result = GAME_ID_PATTERN;
  unload_datafile(dat);
  return result;
}

const char* game_id_message(GameIdError error) {
  switch (error) {
    case GAME_ID_OK: return "";
    case GAME_ID_FIELD_COUNT: return "A game ID reads STYLEFILE:PATTERN:MODE:SKILL:SEED, with :N for no-guess.";
    case GAME_ID_STYLE_NAME: return "The first field of a game ID is a style file name (fgboards*.dat).";
    case GAME_ID_STYLE_MISSING: return "That style file is not in the game folder.";
    case GAME_ID_STYLE_INVALID: return "That style file cannot be used.";
    case GAME_ID_PATTERN: return "That style file has no such pattern.";
    case GAME_ID_MODE: return "The game mode of a game ID is a number from 0 to 6.";
    case GAME_ID_SKILL: return "The skill level of a game ID is a number from 0 to 3.";
    case GAME_ID_SEED: return "The seed of a game ID is a number from 0 to 4294967295.";
    case GAME_ID_FLAG: return "The only field after the seed is N or N2, for a no-guess board.";
    case GAME_ID_NEWER: return "That ID's no-guess board comes from a newer version of the game.";
    case GAME_ID_STYLE_TOO_LONG: return "That style file's name is too long for a game ID (at most 15 characters).";
  }
  return "That is not a game ID.";
}

void format_game_id(const GameId& id, char* text, size_t size) {
  const uint32_t k = id.random.counter;
  const uint32_t seed = id.random.seed + STREAM_STEP * (k - k % 2u);
  char flag[16] = "";
  if (id.no_guess && id.no_guess_maker > 1)
    std::snprintf(flag, sizeof flag, ":N%d", id.no_guess_maker);
  else if (id.no_guess)
    std::snprintf(flag, sizeof flag, ":N");
  std::snprintf(text, size, "%s:%d:%d:%d:%u%s%s", id.style_file, id.pattern, static_cast<int>(id.mode),
                static_cast<int>(id.skill), static_cast<unsigned>(seed), k % 2u ? "+1" : "", flag);
}

GameId current_game_id() {
  GameId id{};
  std::snprintf(id.style_file, sizeof id.style_file, "%s", board_file_name);
  id.pattern = current_board_index;
  id.mode = game.mode;
  id.skill = game.skill;
  id.random = game.board_random;
  id.no_guess = game.no_guess;
  id.no_guess_maker = game.no_guess ? game.no_guess_maker : 0;
  return id;
}
