// The high-score tables and the player's statistics, and their file.
//
// A table belongs to one key: the style file, the pattern, the mode, the
// skill level and, in Endurance, the time limit. It holds at most ten
// entries, best first: in Classic, Flagless, Backwards, Multi-Mine and
// Moving Mines the result is the time with its penalties in hundredths of
// a second (lower is better), in Endurance and MegaMine the score (higher
// is better). Equal results keep the older entry ahead. Beside the table
// the key keeps the statistics of the games played with it.
//
// The file "fusegrid.scores" in the user folder, all numbers little-endian:
//
//   magic        8 bytes  "FGSCORES"
//   version      u32      1 (any other version is a damaged file)
//   key count    u32
//   per key, keys in ascending order, none twice:
//     style length u8 (0..15), style 15 bytes (zero after its length),
//     pattern u8, mode u8 (0..6), skill u8 (0..3),
//     time limit u8 (10, 20 or 30 in Endurance, else 0)
//     played u32, won u32 (<= played), current streak u32, longest streak
//     u32 (current <= longest <= won), best winning result i32, sum of the
//     winning results i64 (both 0 while nothing is won; a time is never
//     negative, and the sum is within won times the range of an i32)
//     entry count u32 (0..10)
//     per entry, in ranking order:
//       name length u8 (0..24), name 24 bytes (zero after its length),
//       result i32 (a time is never negative), damage i32 (>= 0),
//       boards played i32 (>= 0), date i64 (unix seconds, >= 0)
//
// and nothing after the last key. The whole file is at most 1 MiB. A file
// that breaks any of this, or that cannot be read (a folder, a FIFO or
// anything else that is not a regular file in its place), is damaged: it is
// renamed to "fusegrid.scores.bak" (replacing an older one) and the tables
// start empty. The file is written whole or not at all.
//
// Several games may share the file (two of them running in one folder).
// The tables in memory are the file as this game last read or wrote it,
// with this game's changes since then made to them: the games counted as
// started, the ends of games and the entries. A save takes the lock on the
// user folder (platform/game_paths.h, UserFolderLock; a bounded wait),
// reads the file as it is then, makes this game's changes to it in their
// order, writes it whole and takes the result as the tables in memory:
// what other games saved meanwhile is kept and shows from then on. A file
// deleted meanwhile starts empty, and one damaged meanwhile is moved aside
// and replaced by the tables this game last read or wrote. A save that
// fails (no lock in time, a full disk, a read-only folder, a file that
// would pass the size limit) changes nothing on disk and keeps the changes
// for the next save; the entries among them are marked as not saved.
//
// The statistics merge by the same replay: played, won, the best result
// and the sum of the winning results add up over the games. A streak is
// counted in the order the results reach the file: each end of a game
// saved lengthens (a win) or ends (anything else) the current streak the
// file holds at that moment, whichever game played it, and the longest
// streak is the longest the file has held. Two games playing the same
// table at once thus share one current streak.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum { SCORE_TABLE_SIZE = 10, SCORE_NAME_BYTES = 24, SCORE_STYLE_BYTES = 15, SCORE_FILE_MAX_BYTES = 1 << 20 };

extern const char* const SCORES_FILE_NAME;         // "fusegrid.scores"
extern const char* const SCORES_BACKUP_FILE_NAME;  // "fusegrid.scores.bak"

struct ScoreKey {
  std::string style;   // the style file's name, at most 15 bytes
  int pattern = 0;     // 0..255
  int mode = 0;        // GameMode
  int skill = 0;       // SkillLevel
  int time_limit = 0;  // Endurance: 10, 20 or 30 minutes; else 0
};

bool operator<(const ScoreKey& a, const ScoreKey& b);
bool operator==(const ScoreKey& a, const ScoreKey& b);

// A key that can have a table: every field within its range.
bool valid_score_key(const ScoreKey& key);

// Whether the mode's results are times (lower is better) or scores.
bool lower_result_is_better(int mode);

struct ScoreEntry {
  std::string name;  // at most 24 bytes, any bytes
  int32_t result = 0;
  int32_t damage = 0;  // Endurance
  int32_t boards = 0;  // Endurance: boards played
  int64_t date = 0;    // unix seconds
  // In memory only: made by this game and not in the file yet (its save
  // failed).
  bool unsaved = false;
};

struct ScoreStats {
  uint32_t played = 0;
  uint32_t won = 0;
  uint32_t current_streak = 0;
  uint32_t longest_streak = 0;
  int32_t best = 0;     // the best winning result, when won > 0
  int64_t win_sum = 0;  // the sum of the winning results
};

// Won games in percent of the played ones, rounded down; 0 before any.
int win_rate_percent(const ScoreStats& stats);
// The mean winning result, rounded toward zero; 0 before any win.
int32_t average_winning_result(const ScoreStats& stats);

// The table of a key, best first; empty when the key has none.
const std::vector<ScoreEntry>& score_entries(const ScoreKey& key);
// The statistics of a key; all zero when the key has none.
ScoreStats score_stats(const ScoreKey& key);

// The rank (0..9) a new result would take, entered now after every entry
// already there, or -1 when it would not enter (or the key or result is
// not valid).
int would_rank(const ScoreKey& key, int32_t result);

// Enters an entry (a longer name is cut to 24 bytes); the rank it took, or
// -1 when it ranks below the tenth or the key or entry is not valid (a
// negative time, damage, board count or date).
int add_entry(const ScoreKey& key, const ScoreEntry& entry);

// A game is counted as played once its first cell is opened.
void record_game_started(const ScoreKey& key);
// The end of a game. Won: a board cleared (or passed by the "Check!"
// verdict), or an Endurance run ended by its time running out; result is
// then counted toward the best and the average. Anything else (lost,
// abandoned, a new game started) ends the current streak, as does a win
// whose game was never counted as started or whose result is out of range.
void record_game_result(const ScoreKey& key, bool won, int32_t result);

// Whether a finished game goes into the table: never with a hint used;
// an Endurance run when its time ran out; any other mode when the board
// was won and was not a one-click board.
bool may_enter_table(int mode, bool won, bool one_click_board, bool hinted, bool endurance_timed_out);

// Every table and statistic gone.
void clear_scores();

enum ScoresLoadResult {
  SCORES_LOADED = 0,            // read from the file
  SCORES_NONE = 1,              // no file (or no user folder): empty tables
  SCORES_DAMAGED = 2,           // damaged or unreadable: moved aside, empty tables
  SCORES_DAMAGED_NOT_MOVED = 3  // damaged or unreadable, and it could not be moved aside: empty tables
};

// Reads the file of the user folder in place of the tables in memory;
// every change not saved is forgotten.
ScoresLoadResult load_scores();
// Saves this game's changes, merged into the file as it is now (see
// above); 1 when done, 0 when not: nothing then changed on disk, the
// changes are kept for the next save and scores_save_error says why.
int save_scores();
// Whether changes made in memory wait to be saved.
bool scores_unsaved();
// Why the last save failed, as one short phrase; empty after a save done.
const std::string& scores_save_error();

// The file's bytes for the tables in memory, and back; decode_scores
// takes the bytes as the file last read (every change not saved is
// forgotten), or leaves the tables unchanged and returns false on bytes
// that break the format.
std::string encode_scores();
bool decode_scores(const std::string& bytes);
