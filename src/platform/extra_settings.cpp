#include "platform/extra_settings.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/game_paths.h"
#include "platform/safe_file.h"

ExtraSettings extra_settings = {false, 1, std::string(), std::string()};
const char* const EXTRA_SETTINGS_FILE_NAME = "fusegrid.ini";

namespace {

// A last table names a style file of the game folders: the name before
// its four numbers is a plain file name (no '/', see is_plain_file_name).
// The rest is checked where the table is looked up (scores/game_record.h).
bool check_last_table(const std::string& value) {
  size_t end = value.size();
  for (int i = 0; i < 4; i++) {
    const size_t colon = end == 0 ? std::string::npos : value.rfind(':', end - 1);
    if (colon == std::string::npos) return false;
    end = colon;
  }
  return is_plain_file_name(value.substr(0, end));
}

// The keys the game knows: switches written as 0 or 1 (field), the
// window zoom (zoom_field) written as 1, 2, 3 or "fit", or text of at most
// text_size bytes (text_field). The window zoom is added to a file that
// lacks it only when it is not 1, a text only when it is not empty.
struct KnownKey {
  const char* name;
  bool ExtraSettings::*field;
  int ExtraSettings::*zoom_field;
  std::string ExtraSettings::*text_field;
  size_t text_size;
  bool (*check)(const std::string&);  // a text value's own check, if any
};

const KnownKey KNOWN_KEYS[] = {
    {"no_guess", &ExtraSettings::no_guess, nullptr, nullptr, 0, nullptr},
    {"window_zoom", nullptr, &ExtraSettings::window_zoom, nullptr, 0, nullptr},
    {"player_name", nullptr, nullptr, &ExtraSettings::player_name, EXTRA_SETTINGS_NAME_SIZE, nullptr},
    {"last_table", nullptr, nullptr, &ExtraSettings::last_table, EXTRA_SETTINGS_TEXT_SIZE, check_last_table},
};

bool added_when_missing(const KnownKey& key, const ExtraSettings& values) {
  if (key.text_field) return !(values.*key.text_field).empty();
  return key.field || values.*key.zoom_field != 1;
}

// Takes a valid value of a key; a bad one is ignored.
void take_value(const KnownKey& key, const std::string& value, ExtraSettings& values) {
  if (key.text_field) {
    if (value.size() <= key.text_size && (!key.check || key.check(value))) values.*key.text_field = value;
  } else if (key.field) {
    if (value == "0" || value == "1") values.*key.field = value == "1";
  } else if (value == "fit") {
    values.*key.zoom_field = WINDOW_ZOOM_FIT;
  } else if (value == "1" || value == "2" || value == "3") {
    values.*key.zoom_field = value[0] - '0';
  }
}

std::string value_text(const KnownKey& key, const ExtraSettings& values) {
  if (key.text_field) return values.*key.text_field;
  if (key.field) return values.*key.field ? "1" : "0";
  const int zoom = values.*key.zoom_field;
  return zoom == WINDOW_ZOOM_FIT ? "fit" : std::to_string(zoom);
}
constexpr int KNOWN_KEY_COUNT = static_cast<int>(sizeof KNOWN_KEYS / sizeof KNOWN_KEYS[0]);

// A line of the file as it is written back: kept text, or the place of a
// known key (its first line in the file).
struct Line {
  std::string text;
  int key;  // index in KNOWN_KEYS, or -1 for kept text
};

// A file as read: the values of its keys over the defaults, and its lines.
struct IniFile {
  ExtraSettings values = {false, 1, std::string(), std::string()};
  std::vector<Line> lines;
};

// The file as this game last read or wrote it; without it, every key is
// this game's to write.
IniFile known;
bool known_read = false;

bool is_space(char c) { return c == ' ' || c == '\t'; }

std::string trimmed(const std::string& s, size_t from, size_t to) {
  while (from < to && is_space(s[from])) from++;
  while (to > from && is_space(s[to - 1])) to--;
  return s.substr(from, to - from);
}

bool has_control_byte(const std::string& s) {
  for (char c : s) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u < 0x20 && c != '\t') || u == 0x7F) return true;
  }
  return false;
}

int known_key_index(const std::string& key) {
  for (int i = 0; i < KNOWN_KEY_COUNT; i++)
    if (key == KNOWN_KEYS[i].name) return i;
  return -1;
}

// Reads the file a line at a time, holding no more than one chunk and one
// line of at most EXTRA_SETTINGS_MAX_LINE bytes.
class Reader {
 public:
  explicit Reader(IniFile& file) : file_(file) {}
  void take(const char* bytes, size_t n) {
    for (size_t i = 0; i < n; i++) {
      const char c = bytes[i];
      if (c == '\n') {
        end_line();
      } else if (!too_long_) {
        if (line_.size() < EXTRA_SETTINGS_MAX_LINE + 1) {  // room for a '\r' before the '\n'
          line_ += c;
        } else {
          too_long_ = true;
          line_.clear();
        }
      }
    }
  }

  // The last line when the file ends without a line end.
  void finish() {
    if (!line_.empty() || too_long_) end_line();
  }

 private:
  void end_line() {
    if (!line_.empty() && line_.back() == '\r') line_.pop_back();
    if (first_line_ && line_.compare(0, 3, "\xEF\xBB\xBF") == 0) line_.erase(0, 3);
    first_line_ = false;
    if (!too_long_ && line_.size() <= EXTRA_SETTINGS_MAX_LINE && !has_control_byte(line_)) take_line(line_);
    line_.clear();
    too_long_ = false;
  }

  void take_line(const std::string& line) {
    const size_t eq = line.find('=');
    const std::string key = eq == std::string::npos ? std::string() : trimmed(line, 0, eq);
    const int k = known_key_index(key);
    if (k < 0) {
      if (kept_ + line.size() + 1 <= EXTRA_SETTINGS_MAX_KEPT) {
        file_.lines.push_back({line, -1});
        kept_ += line.size() + 1;
      }
      return;
    }
    if (!seen_[k]) {
      file_.lines.push_back({std::string(), k});
      seen_[k] = true;
    }
    const std::string value = trimmed(line, eq + 1, line.size());
    take_value(KNOWN_KEYS[k], value, file_.values);
  }

  IniFile& file_;
  std::string line_;
  bool too_long_ = false;
  bool first_line_ = true;
  size_t kept_ = 0;
  bool seen_[KNOWN_KEY_COUNT] = {};
};

}  // namespace

namespace {

// The file as it is now; false when there is no regular file to read.
bool read_ini(IniFile& file) {
  file = IniFile{};
  std::FILE* f = fopen_regular_file(user_path(EXTRA_SETTINGS_FILE_NAME).c_str());
  if (!f) return false;
  Reader reader(file);
  std::vector<char> chunk(16384);
  size_t total = 0;
  bool cut = false;
  while (!cut && total < EXTRA_SETTINGS_MAX_READ) {
    const size_t room = EXTRA_SETTINGS_MAX_READ - total;
    const size_t got = std::fread(chunk.data(), 1, room < chunk.size() ? room : chunk.size(), f);
    if (got == 0) break;
    reader.take(chunk.data(), got);
    total += got;
    if (total == EXTRA_SETTINGS_MAX_READ) {
      // Ending just there, or with a line end, the last line is whole.
      const int next = std::fgetc(f);
      cut = next != EOF && next != '\n';
    }
  }
  std::fclose(f);
  // A line cut at the reading limit is dropped; otherwise the file's last
  // line counts even without a line end.
  if (!cut) reader.finish();
  return true;
}

bool same_value(const KnownKey& key, const ExtraSettings& a, const ExtraSettings& b) {
  return value_text(key, a) == value_text(key, b);
}

}  // namespace

void default_extra_settings() {
  extra_settings = IniFile{}.values;
  known_read = false;
}

void load_extra_settings() {
  default_extra_settings();
  read_ini(known);
  known_read = true;
  extra_settings = known.values;
}

int write_extra_settings() {
  UserFolderLock lock;
  if (!lock.held()) return 0;
  // The file as it is now, with the keys changed here since this game
  // read or wrote it set to this game's values.
  IniFile now;
  read_ini(now);
  for (int k = 0; k < KNOWN_KEY_COUNT; k++) {
    const KnownKey& key = KNOWN_KEYS[k];
    if (known_read && same_value(key, extra_settings, known.values)) continue;
    if (key.text_field) now.values.*key.text_field = extra_settings.*key.text_field;
    if (key.field) now.values.*key.field = extra_settings.*key.field;
    if (key.zoom_field) now.values.*key.zoom_field = extra_settings.*key.zoom_field;
  }
  bool written_key[KNOWN_KEY_COUNT] = {};
  std::string text;
  auto put_key = [&](int k) {
    text += KNOWN_KEYS[k].name;
    text += '=';
    text += value_text(KNOWN_KEYS[k], now.values);
    text += '\n';
    written_key[k] = true;
  };
  for (const Line& line : now.lines) {
    if (line.key >= 0) {
      put_key(line.key);
    } else {
      text += line.text;
      text += '\n';
    }
  }
  for (int k = 0; k < KNOWN_KEY_COUNT; k++)
    if (!written_key[k] && added_when_missing(KNOWN_KEYS[k], now.values)) put_key(k);
  if (write_file_whole(user_path(EXTRA_SETTINGS_FILE_NAME).c_str(), text.data(), text.size()) != WRITE_DONE) return 0;
  known = now;
  known_read = true;
  extra_settings = now.values;
  return 1;
}
