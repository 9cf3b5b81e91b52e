#include "scores/scores.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>
#include <tuple>

#include "platform/game_paths.h"
#include "platform/safe_file.h"
#include "rules/board_state.h"

const char* const SCORES_FILE_NAME = "fusegrid.scores";
const char* const SCORES_BACKUP_FILE_NAME = "fusegrid.scores.bak";

namespace {

const char MAGIC[8] = {'F', 'G', 'S', 'C', 'O', 'R', 'E', 'S'};
const uint32_t VERSION = 1;
// The fixed part of a key (key, statistics, entry count) and of an entry.
const size_t KEY_BYTES = 1 + SCORE_STYLE_BYTES + 4 + 4 * 4 + 4 + 8 + 4;
const size_t ENTRY_BYTES = 1 + SCORE_NAME_BYTES + 4 * 3 + 8;

struct KeyData {
  ScoreStats stats;
  std::vector<ScoreEntry> entries;
};
using Tables = std::map<ScoreKey, KeyData>;

// A change this game made to the tables: a game counted as started, a
// game's end, an entry.
struct Change {
  enum Kind { STARTED, RESULT, ENTRY } kind;
  ScoreKey key;
  bool won;
  int32_t result;
  ScoreEntry entry;
};

Tables file_tables;           // the file as this game last read or wrote it
std::vector<Change> unsaved;  // this game's changes since, in their order
Tables tables;                // file_tables with the unsaved changes made
std::string save_error;

const std::vector<ScoreEntry> NO_ENTRIES;

// Entry a ranks ahead of entry b.
bool ranks_ahead(int mode, const ScoreEntry& a, const ScoreEntry& b) {
  if (a.result != b.result) return lower_result_is_better(mode) ? a.result < b.result : a.result > b.result;
  return a.date < b.date;
}

bool valid_result(int mode, int64_t result) {
  return result >= std::numeric_limits<int32_t>::min() && result <= std::numeric_limits<int32_t>::max() &&
         (!lower_result_is_better(mode) || result >= 0);
}

bool valid_entry(int mode, const ScoreEntry& e) {
  return e.name.size() <= SCORE_NAME_BYTES && valid_result(mode, e.result) && e.damage >= 0 && e.boards >= 0 &&
         e.date >= 0;
}

bool valid_stats(int mode, const ScoreStats& s) {
  if (s.won > s.played || s.longest_streak > s.won || s.current_streak > s.longest_streak) return false;
  if (s.won == 0) return s.best == 0 && s.win_sum == 0;
  const int64_t won = s.won;
  return valid_result(mode, s.best) && (!lower_result_is_better(mode) || s.win_sum >= 0) &&
         s.win_sum >= won * std::numeric_limits<int32_t>::min() &&
         s.win_sum <= won * std::numeric_limits<int32_t>::max();
}

void put_u8(std::string& out, uint32_t v) { out += static_cast<char>(v & 0xff); }
void put_u32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; i++) put_u8(out, v >> (8 * i));
}
void put_u64(std::string& out, uint64_t v) {
  for (int i = 0; i < 8; i++) put_u8(out, static_cast<uint32_t>(v >> (8 * i)));
}
void put_padded(std::string& out, const std::string& text, size_t width) {
  put_u8(out, static_cast<uint32_t>(text.size()));
  out += text;
  out.append(width - text.size(), '\0');
}

// Reads the bytes front to back; every read past the end fails.
struct Reader {
  const std::string& bytes;
  size_t at = 0;
  bool ok = true;

  size_t left() const { return bytes.size() - at; }
  uint64_t unsigned_value(int width) {
    if (!ok || left() < static_cast<size_t>(width)) {
      ok = false;
      return 0;
    }
    uint64_t v = 0;
    for (int i = 0; i < width; i++) v |= static_cast<uint64_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    at += width;
    return v;
  }
  uint32_t u8() { return static_cast<uint32_t>(unsigned_value(1)); }
  uint32_t u32() { return static_cast<uint32_t>(unsigned_value(4)); }
  int32_t i32() { return static_cast<int32_t>(u32()); }
  int64_t i64() { return static_cast<int64_t>(unsigned_value(8)); }
  // A length byte and a zero-padded field of width bytes.
  std::string padded(size_t width) {
    const size_t length = u8();
    if (!ok || length > width || left() < width) {
      ok = false;
      return std::string();
    }
    std::string text = bytes.substr(at, length);
    for (size_t i = length; i < width; i++) ok = ok && bytes[at + i] == '\0';
    at += width;
    return text;
  }
};

// Moves what stands at the file's place aside, over an older backup;
// false when it could not be moved.
bool move_aside(const std::string& path) {
  const std::string backup = path + ".bak";
  if (std::rename(path.c_str(), backup.c_str()) == 0) return true;
  // A folder cannot replace a file (nor a file a folder): the old backup
  // goes first.
  std::remove(backup.c_str());
  return std::rename(path.c_str(), backup.c_str()) == 0;
}

}  // namespace

bool operator<(const ScoreKey& a, const ScoreKey& b) {
  return std::tie(a.style, a.pattern, a.mode, a.skill, a.time_limit) <
         std::tie(b.style, b.pattern, b.mode, b.skill, b.time_limit);
}

bool operator==(const ScoreKey& a, const ScoreKey& b) { return !(a < b) && !(b < a); }

bool valid_score_key(const ScoreKey& key) {
  if (key.style.size() > SCORE_STYLE_BYTES || key.pattern < 0 || key.pattern > 255) return false;
  if (key.mode < CLASSIC || key.mode > MEGAMINE || key.skill < BEGINNER || key.skill > MASTER) return false;
  if (key.mode == ENDURANCE) return key.time_limit == 10 || key.time_limit == 20 || key.time_limit == 30;
  return key.time_limit == 0;
}

bool lower_result_is_better(int mode) { return mode != ENDURANCE && mode != MEGAMINE; }

int win_rate_percent(const ScoreStats& stats) {
  return stats.played ? static_cast<int>(uint64_t{stats.won} * 100 / stats.played) : 0;
}

int32_t average_winning_result(const ScoreStats& stats) {
  return stats.won ? static_cast<int32_t>(stats.win_sum / static_cast<int64_t>(stats.won)) : 0;
}

const std::vector<ScoreEntry>& score_entries(const ScoreKey& key) {
  const auto it = tables.find(key);
  return it == tables.end() ? NO_ENTRIES : it->second.entries;
}

ScoreStats score_stats(const ScoreKey& key) {
  const auto it = tables.find(key);
  return it == tables.end() ? ScoreStats{} : it->second.stats;
}

int would_rank(const ScoreKey& key, int32_t result) {
  if (!valid_score_key(key) || !valid_result(key.mode, result)) return -1;
  const std::vector<ScoreEntry>& entries = score_entries(key);
  ScoreEntry probe;
  probe.result = result;
  probe.date = std::numeric_limits<int64_t>::max();
  size_t rank = 0;
  while (rank < entries.size() && !ranks_ahead(key.mode, probe, entries[rank])) rank++;
  return rank < SCORE_TABLE_SIZE ? static_cast<int>(rank) : -1;
}

namespace {

int enter(Tables& into, const ScoreKey& key, const ScoreEntry& e) {
  const auto found = into.find(key);
  const size_t have = found == into.end() ? 0 : found->second.entries.size();
  size_t rank = 0;
  while (rank < have && !ranks_ahead(key.mode, e, found->second.entries[rank])) rank++;
  if (rank >= SCORE_TABLE_SIZE) return -1;
  std::vector<ScoreEntry>& entries = into[key].entries;
  entries.insert(entries.begin() + rank, e);
  if (entries.size() > SCORE_TABLE_SIZE) entries.resize(SCORE_TABLE_SIZE);
  return static_cast<int>(rank);
}

void count_started(Tables& into, const ScoreKey& key) {
  ScoreStats& s = into[key].stats;
  if (s.played < std::numeric_limits<uint32_t>::max()) s.played++;
}

void count_result(Tables& into, const ScoreKey& key, bool won, int32_t result) {
  ScoreStats& s = into[key].stats;
  if (!won || !valid_result(key.mode, result) || s.won >= s.played) {
    // A win needs its game counted as played first and a result that can be.
    s.current_streak = 0;
    return;
  }
  const bool better = lower_result_is_better(key.mode) ? result < s.best : result > s.best;
  if (s.won == 0 || better) s.best = result;
  s.won++;
  s.win_sum += result;
  s.current_streak++;
  if (s.current_streak > s.longest_streak) s.longest_streak = s.current_streak;
}

// A change made to tables; an entry is marked as not saved when it is
// made to the tables in memory only.
void make_change(Tables& into, const Change& c, bool mark_unsaved) {
  switch (c.kind) {
    case Change::STARTED: count_started(into, c.key); break;
    case Change::RESULT: count_result(into, c.key, c.won, c.result); break;
    case Change::ENTRY: {
      ScoreEntry e = c.entry;
      e.unsaved = mark_unsaved;
      enter(into, c.key, e);
      break;
    }
  }
}

}  // namespace

int add_entry(const ScoreKey& key, const ScoreEntry& entry) {
  ScoreEntry e = entry;
  if (e.name.size() > SCORE_NAME_BYTES) e.name.resize(SCORE_NAME_BYTES);
  e.unsaved = true;
  if (!valid_score_key(key) || !valid_entry(key.mode, e)) return -1;
  const int rank = enter(tables, key, e);
  if (rank >= 0) unsaved.push_back(Change{Change::ENTRY, key, false, 0, e});
  return rank;
}

void record_game_started(const ScoreKey& key) {
  if (!valid_score_key(key)) return;
  count_started(tables, key);
  unsaved.push_back(Change{Change::STARTED, key, false, 0, ScoreEntry{}});
}

void record_game_result(const ScoreKey& key, bool won, int32_t result) {
  if (!valid_score_key(key)) return;
  count_result(tables, key, won, result);
  unsaved.push_back(Change{Change::RESULT, key, won, result, ScoreEntry{}});
}

bool scores_unsaved() { return !unsaved.empty(); }

bool may_enter_table(int mode, bool won, bool one_click_board, bool hinted, bool endurance_timed_out) {
  if (hinted) return false;
  if (mode == ENDURANCE) return endurance_timed_out;
  return won && !one_click_board;
}

void clear_scores() {
  tables.clear();
  file_tables.clear();
  unsaved.clear();
}

namespace {

std::string encode(const Tables& from) {
  std::string out(MAGIC, sizeof MAGIC);
  put_u32(out, VERSION);
  put_u32(out, static_cast<uint32_t>(from.size()));
  for (const auto& t : from) {
    const ScoreKey& k = t.first;
    const ScoreStats& s = t.second.stats;
    put_padded(out, k.style, SCORE_STYLE_BYTES);
    put_u8(out, k.pattern);
    put_u8(out, k.mode);
    put_u8(out, k.skill);
    put_u8(out, k.time_limit);
    put_u32(out, s.played);
    put_u32(out, s.won);
    put_u32(out, s.current_streak);
    put_u32(out, s.longest_streak);
    put_u32(out, static_cast<uint32_t>(s.best));
    put_u64(out, static_cast<uint64_t>(s.win_sum));
    put_u32(out, static_cast<uint32_t>(t.second.entries.size()));
    for (const ScoreEntry& e : t.second.entries) {
      put_padded(out, e.name, SCORE_NAME_BYTES);
      put_u32(out, static_cast<uint32_t>(e.result));
      put_u32(out, static_cast<uint32_t>(e.damage));
      put_u32(out, static_cast<uint32_t>(e.boards));
      put_u64(out, static_cast<uint64_t>(e.date));
    }
  }
  return out;
}

bool decode(const std::string& bytes, Tables& into) {
  if (bytes.size() > SCORE_FILE_MAX_BYTES || bytes.size() < sizeof MAGIC ||
      std::memcmp(bytes.data(), MAGIC, sizeof MAGIC) != 0)
    return false;
  Reader r{bytes};
  r.at = sizeof MAGIC;
  if (r.u32() != VERSION) return false;
  const uint32_t key_count = r.u32();
  if (!r.ok || key_count > r.left() / KEY_BYTES) return false;
  std::map<ScoreKey, KeyData> read;
  const ScoreKey* previous = nullptr;
  for (uint32_t i = 0; i < key_count; i++) {
    ScoreKey k;
    k.style = r.padded(SCORE_STYLE_BYTES);
    k.pattern = static_cast<int>(r.u8());
    k.mode = static_cast<int>(r.u8());
    k.skill = static_cast<int>(r.u8());
    k.time_limit = static_cast<int>(r.u8());
    KeyData d;
    d.stats.played = r.u32();
    d.stats.won = r.u32();
    d.stats.current_streak = r.u32();
    d.stats.longest_streak = r.u32();
    d.stats.best = r.i32();
    d.stats.win_sum = r.i64();
    const uint32_t entry_count = r.u32();
    if (!r.ok || !valid_score_key(k) || !valid_stats(k.mode, d.stats) || entry_count > SCORE_TABLE_SIZE ||
        entry_count > r.left() / ENTRY_BYTES)
      return false;
    if (previous && !(*previous < k)) return false;
    for (uint32_t j = 0; j < entry_count; j++) {
      ScoreEntry e;
      e.name = r.padded(SCORE_NAME_BYTES);
      e.result = r.i32();
      e.damage = r.i32();
      e.boards = r.i32();
      e.date = r.i64();
      if (!r.ok || !valid_entry(k.mode, e)) return false;
      if (!d.entries.empty() && ranks_ahead(k.mode, e, d.entries.back())) return false;
      d.entries.push_back(e);
    }
    previous = &read.emplace(k, d).first->first;
  }
  if (!r.ok || r.left() != 0) return false;
  into.swap(read);
  return true;
}

enum FileState { FILE_READ, FILE_MISSING, FILE_DAMAGED };

// The file of path into read.
FileState read_scores_file(const std::string& path, Tables& read) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 && errno == ENOENT) return FILE_MISSING;
  std::string bytes;
  bool readable = false;
  if (std::FILE* f = fopen_regular_file(path.c_str())) {
    // One byte past the limit tells an oversized file.
    bytes.resize(SCORE_FILE_MAX_BYTES + 1);
    const size_t got = std::fread(&bytes[0], 1, bytes.size(), f);
    readable = !std::ferror(f);
    std::fclose(f);
    bytes.resize(got);
  }
  return readable && decode(bytes, read) ? FILE_READ : FILE_DAMAGED;
}

}  // namespace

std::string encode_scores() { return encode(tables); }

bool decode_scores(const std::string& bytes) {
  Tables read;
  if (!decode(bytes, read)) return false;
  tables = read;
  file_tables.swap(read);
  unsaved.clear();
  return true;
}

ScoresLoadResult load_scores() {
  clear_scores();
  const std::string path = user_path(SCORES_FILE_NAME);
  if (path.empty()) return SCORES_NONE;
  switch (read_scores_file(path, file_tables)) {
    case FILE_READ: tables = file_tables; return SCORES_LOADED;
    case FILE_MISSING: return SCORES_NONE;
    case FILE_DAMAGED: break;
  }
  file_tables.clear();
  return move_aside(path) ? SCORES_DAMAGED : SCORES_DAMAGED_NOT_MOVED;
}

int save_scores() {
  const std::string path = user_path(SCORES_FILE_NAME);
  if (path.empty()) {
    save_error = "there is no folder for the player's files";
    return 0;
  }
  UserFolderLock lock;
  if (!lock.held()) {
    save_error = "another game kept the folder locked";
    return 0;
  }
  // The file as it is now, with this game's changes made to it.
  Tables merged;
  switch (read_scores_file(path, merged)) {
    case FILE_READ: break;
    case FILE_MISSING: merged.clear(); break;
    case FILE_DAMAGED:
      // Damaged since it was read: kept aside, and the tables as this
      // game last knew the file take its place.
      if (!move_aside(path)) {
        save_error = "what is in its place can neither be read nor moved aside";
        return 0;
      }
      merged = file_tables;
      break;
  }
  for (const Change& c : unsaved) make_change(merged, c, false);
  const std::string bytes = encode(merged);
  // A file that would not be read back is not written.
  if (bytes.size() > SCORE_FILE_MAX_BYTES) {
    save_error = "the file would pass its size limit";
    return 0;
  }
  errno = 0;
  if (write_file_whole(path.c_str(), bytes.data(), bytes.size()) != WRITE_DONE) {
    save_error = errno ? std::strerror(errno) : "the file could not be written";
    return 0;
  }
  file_tables = merged;
  tables.swap(merged);
  unsaved.clear();
  save_error.clear();
  return 1;
}

const std::string& scores_save_error() { return save_error; }
