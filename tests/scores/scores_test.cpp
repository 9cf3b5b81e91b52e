#include "scores/scores.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/game_paths.h"
#include "platform/safe_file.h"
#include "rules/board_state.h"
#include "support/headless.h"

namespace {

// A temporary user folder holding the scores file, and empty tables,
// for the length of a test.
struct ScoresFolder {
  ScopedTempDir tmp;
  std::string file = tmp.path() + "/fusegrid.scores";
  std::string backup = tmp.path() + "/fusegrid.scores.bak";
  ScoresFolder() {
    GameFolders folders;
    folders.mode = FOLDERS_PORTABLE;
    folders.data = folders.user = tmp.path();
    set_game_folders(folders);
    clear_scores();
  }
  ~ScoresFolder() {
    set_game_folders(GameFolders{});
    clear_scores();
  }
};

ScoreKey key_of(int mode, int skill = EXPERT, const char* style = "hexa.dat", int pattern = 3) {
  ScoreKey k;
  k.style = style;
  k.pattern = pattern;
  k.mode = mode;
  k.skill = skill;
  k.time_limit = mode == ENDURANCE ? 20 : 0;
  return k;
}

ScoreEntry entry(const char* name, int32_t result, int64_t date) {
  ScoreEntry e;
  e.name = name;
  e.result = result;
  e.date = date;
  return e;
}

std::vector<int32_t> results_of(const ScoreKey& k) {
  std::vector<int32_t> r;
  for (const ScoreEntry& e : score_entries(k)) r.push_back(e.result);
  return r;
}

// Several keys with tables and statistics, names of every length and byte.
void fill_tables() {
  for (int mode = CLASSIC; mode <= MEGAMINE; mode++) {
    const ScoreKey k = key_of(mode, mode % 4, mode % 2 ? "tri" : "fifteen_chars__", mode * 40);
    for (int i = 0; i < 3 + mode; i++) {
      ScoreEntry e = entry("", 1000 + 37 * i * (mode % 3), 1700000000 + i);
      e.name = std::string(static_cast<size_t>(i * 3), static_cast<char>(i * 51));
      e.damage = i;
      e.boards = 2 * i;
      add_entry(k, e);
      record_game_started(k);
      record_game_result(k, i % 3 != 1, e.result);
    }
  }
}

}  // namespace

TEST(Scores, EachModeRanksItsResultsAndKeepsTheOlderOfEqualOnesAhead) {
  ScoresFolder folder;
  for (int mode = CLASSIC; mode <= MEGAMINE; mode++) {
    const ScoreKey k = key_of(mode);
    const bool times = mode != ENDURANCE && mode != MEGAMINE;
    // The added entries and the rank each takes on entering.
    struct Step {
      int32_t result;
      int64_t date;
      int rank_times, rank_scores;
    };
    const Step steps[] = {{300, 5, 0, 0}, {100, 6, 0, 1}, {200, 7, 1, 1}, {100, 4, 0, 2}, {100, 6, 2, 4}};
    for (const Step& s : steps)
      EXPECT_EQ(add_entry(k, entry("x", s.result, s.date)), times ? s.rank_times : s.rank_scores) << mode;
    const std::vector<int32_t> expected =
        times ? std::vector<int32_t>{100, 100, 100, 200, 300} : std::vector<int32_t>{300, 200, 100, 100, 100};
    EXPECT_EQ(results_of(k), expected) << mode;
    const std::vector<ScoreEntry>& e = score_entries(k);
    const size_t ties = times ? 0 : 2;
    EXPECT_EQ(e[ties].date, 4);
    EXPECT_EQ(e[ties + 1].date, 6);
    EXPECT_EQ(e[ties + 2].date, 6);
  }
  EXPECT_EQ(score_entries(key_of(CLASSIC, BEGINNER)).size(), 0u) << "another skill has a table of its own";
}

TEST(Scores, TheTableIsCutAtTen) {
  ScoresFolder folder;
  struct Row {
    int mode;
    int32_t first, step;  // the ten entries: first, first + step, ...
    int32_t probe;
    int rank;
  };
  const Row rows[] = {
      {CLASSIC, 10, 10, 5, 0},      {CLASSIC, 10, 10, 55, 5},      {CLASSIC, 10, 10, 100, -1},
      {CLASSIC, 10, 10, 101, -1},   {CLASSIC, 10, 10, 90, 9},      {CLASSIC, 10, 10, -1, -1},
      {MEGAMINE, 100, -10, 5, -1},  {MEGAMINE, 100, -10, 10, -1},  {MEGAMINE, 100, -10, 11, 9},
      {MEGAMINE, 100, -10, 200, 0}, {MEGAMINE, 100, -10, -50, -1}, {ENDURANCE, 100, -10, 95, 1},
  };
  for (const Row& row : rows) {
    clear_scores();
    const ScoreKey k = key_of(row.mode);
    for (int i = 0; i < 10; i++) ASSERT_EQ(add_entry(k, entry("p", row.first + i * row.step, i)), i);
    EXPECT_EQ(would_rank(k, row.probe), row.rank) << row.mode << " " << row.probe;
    EXPECT_EQ(add_entry(k, entry("new", row.probe, 100)), row.rank) << row.mode << " " << row.probe;
    ASSERT_EQ(score_entries(k).size(), 10u);
    if (row.rank >= 0) {
      EXPECT_EQ(score_entries(k)[row.rank].name, "new");
    }
    const int32_t last = row.rank < 0 ? row.first + 9 * row.step : row.rank == 9 ? row.probe : row.first + 8 * row.step;
    EXPECT_EQ(score_entries(k)[9].result, last) << row.mode << " " << row.probe;
  }
}

TEST(Scores, KeysAndEntriesOutOfRangeAreRefused) {
  ScoresFolder folder;
  ScoreKey long_style = key_of(CLASSIC, EXPERT, "sixteen_chars___");
  ScoreKey bad_pattern = key_of(CLASSIC), bad_mode = key_of(CLASSIC), bad_skill = key_of(CLASSIC);
  ScoreKey bad_limit = key_of(ENDURANCE), limit_elsewhere = key_of(MEGAMINE);
  bad_pattern.pattern = 256;
  bad_mode.mode = 7;
  bad_skill.skill = -1;
  bad_limit.time_limit = 15;
  limit_elsewhere.time_limit = 10;
  for (const ScoreKey& k : {long_style, bad_pattern, bad_mode, bad_skill, bad_limit, limit_elsewhere}) {
    EXPECT_FALSE(valid_score_key(k)) << k.style << " " << k.pattern << " " << k.mode;
    EXPECT_EQ(would_rank(k, 100), -1);
    EXPECT_EQ(add_entry(k, entry("a", 100, 1)), -1);
    record_game_started(k);
    EXPECT_EQ(score_stats(k).played, 0u);
  }
  const ScoreKey classic = key_of(CLASSIC);
  ScoreEntry e = entry("a", 100, 1);
  e.damage = -1;
  EXPECT_EQ(add_entry(classic, e), -1);
  e.damage = 0;
  e.date = -1;
  EXPECT_EQ(add_entry(classic, e), -1);
  EXPECT_EQ(add_entry(classic, entry("a", -1, 1)), -1) << "a negative time";
  EXPECT_EQ(add_entry(key_of(MEGAMINE), entry("a", -1, 1)), 0) << "a negative score";
  EXPECT_EQ(add_entry(classic, entry("a name of more than twenty-four bytes", 100, 1)), 0);
  EXPECT_EQ(score_entries(classic)[0].name, "a name of more than twen");
  EXPECT_EQ(score_entries(classic)[0].name.size(), 24u);
}

TEST(Scores, WhichFinishedGamesMayEnterTheTable) {
  struct Row {
    int mode;
    bool won, one_click, hinted, timed_out, enters;
  };
  const Row rows[] = {
      {CLASSIC, true, false, false, false, true},    {CLASSIC, false, false, false, false, false},
      {CLASSIC, true, true, false, false, false},    {CLASSIC, true, false, true, false, false},
      {MULTI_MINE, true, false, false, false, true}, {MEGAMINE, true, false, false, false, true},
      {MEGAMINE, true, true, false, false, false},   {MOVING_MINES, false, false, false, true, false},
      {ENDURANCE, false, false, false, true, true},  {ENDURANCE, true, false, false, true, true},
      {ENDURANCE, true, false, false, false, false}, {ENDURANCE, false, false, true, true, false},
      {ENDURANCE, false, true, false, true, true},
  };
  for (const Row& r : rows)
    EXPECT_EQ(may_enter_table(r.mode, r.won, r.one_click, r.hinted, r.timed_out), r.enters)
        << r.mode << " won " << r.won << " one-click " << r.one_click << " hinted " << r.hinted << " timed out "
        << r.timed_out;
}

TEST(Scores, StatisticsFollowAScriptedSeriesOfGames) {
  ScoresFolder folder;
  struct Game {
    bool won;
    int32_t result;
    uint32_t played, won_count, current, longest;
    int32_t best, average;
    int rate;
  };
  // Classic: a time, lower is better.
  const Game games[] = {
      {true, 5000, 1, 1, 1, 1, 5000, 5000, 100}, {true, 3000, 2, 2, 2, 2, 3000, 4000, 100},
      {false, 0, 3, 2, 0, 2, 3000, 4000, 66},    {true, 4000, 4, 3, 1, 2, 3000, 4000, 75},
      {true, 1000, 5, 4, 2, 2, 1000, 3250, 80},  {true, 6000, 6, 5, 3, 3, 1000, 3800, 83},
      {false, 0, 7, 5, 0, 3, 1000, 3800, 71},
  };
  const ScoreKey k = key_of(CLASSIC);
  EXPECT_EQ(win_rate_percent(score_stats(k)), 0);
  for (const Game& g : games) {
    record_game_started(k);
    record_game_result(k, g.won, g.result);
    const ScoreStats s = score_stats(k);
    EXPECT_EQ(s.played, g.played);
    EXPECT_EQ(s.won, g.won_count);
    EXPECT_EQ(s.current_streak, g.current);
    EXPECT_EQ(s.longest_streak, g.longest);
    EXPECT_EQ(s.best, g.best);
    EXPECT_EQ(average_winning_result(s), g.average);
    EXPECT_EQ(win_rate_percent(s), g.rate) << g.played;
  }
  // MegaMine: a score, higher is better; an abandoned game ends the streak.
  const ScoreKey m = key_of(MEGAMINE);
  const int32_t scores[] = {400, 900, 700};
  for (int32_t score : scores) {
    record_game_started(m);
    record_game_result(m, true, score);
  }
  record_game_started(m);
  record_game_result(m, false, 0);
  EXPECT_EQ(score_stats(m).best, 900);
  EXPECT_EQ(average_winning_result(score_stats(m)), 666);
  EXPECT_EQ(score_stats(m).longest_streak, 3u);
  EXPECT_EQ(score_stats(m).current_streak, 0u);
  EXPECT_EQ(win_rate_percent(score_stats(m)), 75);
}

TEST(ScoresFile, RoundTripAndAMissingFile) {
  ScoresFolder folder;
  EXPECT_EQ(load_scores(), SCORES_NONE);
  EXPECT_TRUE(folder_entries(folder.tmp.path()).empty()) << "nothing moved aside or made";
  fill_tables();
  const std::string bytes = encode_scores();
  ASSERT_EQ(save_scores(), 1);
  EXPECT_EQ(read_file(folder.file), bytes);
  EXPECT_EQ(bytes.compare(0, 12, std::string("FGSCORES\1\0\0\0", 12)), 0);
  clear_scores();
  EXPECT_EQ(load_scores(), SCORES_LOADED);
  EXPECT_EQ(encode_scores(), bytes);
  // MegaMine's nine equal scores, oldest first.
  const ScoreKey k = key_of(MEGAMINE, MEGAMINE % 4, "fifteen_chars__", MEGAMINE * 40);
  ASSERT_EQ(score_entries(k).size(), 9u);
  EXPECT_EQ(score_entries(k)[8].name, std::string(24, static_cast<char>(8 * 51)));
  EXPECT_EQ(score_entries(k)[8].boards, 16);
  EXPECT_EQ(score_stats(k).played, 9u);
  EXPECT_EQ(score_stats(k).won, 6u);
  EXPECT_EQ(folder_entries(folder.tmp.path()), std::vector<std::string>{"fusegrid.scores"});
  // No user folder: nothing read or written.
  GameFolders none;
  none.mode = FOLDERS_INSTALLED;
  set_game_folders(none);
  EXPECT_EQ(load_scores(), SCORES_NONE);
  EXPECT_EQ(save_scores(), 0);
  EXPECT_EQ(read_file(folder.file), bytes);
}

namespace {

// Bytes in the file's place: a damaged file, moved aside as it was, and
// empty tables; or a file read whole.
void expect_damaged_or_loaded(const ScoresFolder& folder, const std::string& bytes, bool must_be_damaged,
                              const std::string& what) {
  write_file(folder.file, bytes);
  add_entry(key_of(CLASSIC), entry("stale", 1, 1));
  const ScoresLoadResult result = load_scores();
  if (result == SCORES_LOADED && !must_be_damaged) {
    EXPECT_EQ(encode_scores(), bytes) << what;
    return;
  }
  ASSERT_EQ(result, SCORES_DAMAGED) << what;
  EXPECT_TRUE(score_entries(key_of(CLASSIC)).empty()) << what;
  EXPECT_EQ(encode_scores(), std::string("FGSCORES\1\0\0\0\0\0\0\0", 16)) << what;
  EXPECT_EQ(folder_entries(folder.tmp.path()), std::vector<std::string>{"fusegrid.scores.bak"}) << what;
  EXPECT_EQ(read_file(folder.backup), bytes) << what;
}

void put_u32_at(std::string& bytes, size_t at, uint32_t v) {
  for (int i = 0; i < 4; i++) bytes[at + i] = static_cast<char>(v >> (8 * i));
}

}  // namespace

TEST(ScoresFile, DamagedFilesAreMovedAsideAndTheTablesStartEmpty) {
  ScoresFolder folder;
  // Files of the right form with a key for every pattern, mode and skill
  // of two styles (under the size limit), and of three (over it).
  std::string oversized, two_styles;
  for (const char* style : {"a", "b", "c"}) {
    ASSERT_LE(oversized.size(), size_t{SCORE_FILE_MAX_BYTES});
    EXPECT_EQ(decode_scores(oversized), !oversized.empty());
    two_styles = oversized;
    for (int pattern = 0; pattern < 256; pattern++)
      for (int mode = CLASSIC; mode <= MEGAMINE; mode++)
        for (int skill = BEGINNER; skill <= MASTER; skill++) record_game_started(key_of(mode, skill, style, pattern));
    oversized = encode_scores();
  }
  ASSERT_GT(oversized.size(), size_t{SCORE_FILE_MAX_BYTES});
  // The file holds two styles; the third one's changes would pass the limit.
  write_file(folder.file, two_styles);
  EXPECT_EQ(save_scores(), 0) << "a file that would not be read back";
  EXPECT_EQ(read_file(folder.file), two_styles);
  EXPECT_EQ(folder_entries(folder.tmp.path()), std::vector<std::string>{"fusegrid.scores"});
  unlink(folder.file.c_str());
  clear_scores();
  fill_tables();
  const std::string valid = encode_scores();
  // The first key's entry count, after magic, version, key count, the key
  // (20 bytes) and the statistics (28 bytes).
  const size_t entry_count_at = 16 + 20 + 28;
  struct Row {
    const char* what;
    std::string bytes;
  };
  std::vector<Row> rows = {
      {"empty", ""},
      {"oversized", oversized},
      {"a byte after the end", valid + std::string(1, '\0')},
  };
  auto changed = [&](const char* what, size_t at, uint32_t v) {
    std::string b = valid;
    put_u32_at(b, at, v);
    rows.push_back({what, b});
  };
  changed("version 0", 8, 0);
  changed("version 2", 8, 2);
  changed("a huge key count", 12, 0xffffffffu);
  changed("one key more", 12, MEGAMINE + 2);
  changed("a huge entry count", entry_count_at, 0xffffffffu);
  changed("eleven entries", entry_count_at, 11);
  changed("won more than played", 16 + 20 + 4, 1000);
  changed("a negative time", entry_count_at + 4 + 25, 0xffffffffu);
  std::string long_name = valid;
  long_name[entry_count_at + 4] = static_cast<char>(SCORE_NAME_BYTES + 1);  // no room for its end
  rows.push_back({"a name longer than its field", long_name});
  std::string bad_padding = valid;
  bad_padding[16] = 3;  // the first style is 15 bytes long: its last 12 are not zero
  rows.push_back({"bytes in a padding", bad_padding});
  for (size_t length = 0; length < valid.size(); length++) rows.push_back({"truncated", valid.substr(0, length)});
  for (const Row& r : rows) {
    clear_scores();
    unlink(folder.backup.c_str());
    expect_damaged_or_loaded(folder, r.bytes, true, std::string(r.what) + " " + std::to_string(r.bytes.size()));
  }
  // Random bytes, and the valid file with bytes changed: no crash, and
  // either read whole or moved aside. An older backup is replaced.
  std::mt19937 random(20261210);
  for (int i = 0; i < 2000; i++) {
    std::string b;
    if (i % 2) {
      b.resize(random() % 600);
      for (char& c : b) c = static_cast<char>(random());
      if (i % 4 == 1 && b.size() >= 12) b.replace(0, 12, valid, 0, 12);
    } else {
      b = valid;
      for (int n = 1 + random() % 3; n > 0; n--) b[random() % b.size()] = static_cast<char>(random());
    }
    expect_damaged_or_loaded(folder, b, false, "random " + std::to_string(i));
    unlink(folder.file.c_str());
  }
}

TEST(ScoresFile, AFolderFifoOrLinkInTheFilesPlaceIsMovedAside) {
  ScopedWatchdog watchdog(30);
  enum Kind { FOLDER, FIFO, LINK_TO_FIFO };
  for (const bool older_backup : {false, true}) {
    for (const Kind kind : {FOLDER, FIFO, LINK_TO_FIFO}) {
      ScoresFolder folder;
      if (older_backup) write_file(folder.backup, "old");
      const std::string fifo = folder.tmp.path() + "/elsewhere";
      switch (kind) {
        case FOLDER: ASSERT_EQ(mkdir(folder.file.c_str(), 0755), 0); break;
        case FIFO: ASSERT_EQ(mkfifo(folder.file.c_str(), 0644), 0); break;
        case LINK_TO_FIFO:
          ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
          ASSERT_EQ(symlink(fifo.c_str(), folder.file.c_str()), 0);
          break;
      }
      add_entry(key_of(CLASSIC), entry("stale", 1, 1));
      EXPECT_EQ(load_scores(), SCORES_DAMAGED);
      EXPECT_TRUE(score_entries(key_of(CLASSIC)).empty());
      struct stat st;
      ASSERT_EQ(lstat(folder.backup.c_str(), &st), 0);
      EXPECT_TRUE(kind == FOLDER ? S_ISDIR(st.st_mode) : kind == FIFO ? S_ISFIFO(st.st_mode) : S_ISLNK(st.st_mode))
          << kind << older_backup;
      if (kind == LINK_TO_FIFO) {
        ASSERT_EQ(stat(fifo.c_str(), &st), 0);
        EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the link is moved, not what it names";
        unlink(fifo.c_str());
      }
      EXPECT_EQ(folder_entries(folder.tmp.path()), std::vector<std::string>{"fusegrid.scores.bak"});
      add_entry(key_of(CLASSIC), entry("new", 1, 1));
      EXPECT_EQ(save_scores(), 1) << "the place is free again";
      rmdir(folder.backup.c_str());
      unlink(folder.backup.c_str());
      unlink(folder.file.c_str());
    }
  }
}

// The statistics' checks at their edges: won may equal played, not pass
// it; a streak may equal the wins and the longest streak, not pass them.
TEST(ScoresFile, StatisticsAtTheEdgesOfTheirChecks) {
  ScoresFolder folder;
  const ScoreKey k = key_of(CLASSIC);
  for (int i = 0; i < 3; i++) {
    record_game_started(k);
    record_game_result(k, true, 100);
  }
  const std::string valid = encode_scores();
  // The first key's statistics, after magic, version, key count and key.
  const size_t played_at = 16 + 20, won_at = played_at + 4, current_at = won_at + 4, longest_at = current_at + 4;
  struct Row {
    const char* what;
    size_t at;
    uint32_t value;
    bool loads;
  } rows[] = {
      {"won == played", won_at, 3, true},         {"won == played + 1", won_at, 4, false},
      {"played == won", played_at, 3, true},      {"played == won - 1", played_at, 2, false},
      {"longest == won", longest_at, 3, true},    {"longest == won + 1", longest_at, 4, false},
      {"current == longest", current_at, 3, true}, {"current == longest + 1", current_at, 4, false},
  };
  for (const Row& r : rows) {
    std::string b = valid;
    put_u32_at(b, r.at, r.value);
    EXPECT_EQ(decode_scores(b), r.loads) << r.what;
  }
  // A win is counted only for a game counted as played: with won ==
  // played the next win is not one.
  clear_scores();
  record_game_started(k);
  record_game_result(k, true, 100);
  record_game_result(k, true, 100);
  EXPECT_EQ(score_stats(k).won, 1u);
  EXPECT_EQ(score_stats(k).current_streak, 0u);
}

// Something that cannot be moved in the file's place (a folder, with a
// folder holding files where the backup goes): said as such, nothing moved.
TEST(ScoresFile, ADamagedFileThatCannotBeMovedIsToldApart) {
  ScoresFolder folder;
  ASSERT_EQ(mkdir(folder.file.c_str(), 0755), 0);
  ASSERT_EQ(mkdir(folder.backup.c_str(), 0755), 0);
  write_file(folder.backup + "/inside", "x");
  EXPECT_EQ(load_scores(), SCORES_DAMAGED_NOT_MOVED);
  struct stat st;
  ASSERT_EQ(lstat(folder.file.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode)) << "still in its place";
  EXPECT_EQ(read_file(folder.backup + "/inside"), "x");
  record_game_started(key_of(CLASSIC));
  EXPECT_EQ(save_scores(), 0);
  EXPECT_FALSE(scores_save_error().empty());
  EXPECT_TRUE(scores_unsaved());
}

namespace {

// Another game in the same folder, as a process of its own: it reads the
// file as it is now, plays and enters as told, and saves each step.
void other_game(const std::function<void()>& play) {
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    // The child: no test assertions, only the exit status.
    if (load_scores() == SCORES_DAMAGED) _exit(3);
    play();
    _exit(scores_unsaved() ? 2 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
}

// A won game and its entry, saved at each step as the game does.
void win_and_enter(const ScoreKey& k, const char* name, int32_t result, int64_t date) {
  record_game_started(k);
  save_scores();
  record_game_result(k, true, result);
  save_scores();
  add_entry(k, entry(name, result, date));
  save_scores();
}

}  // namespace

// Two games in one folder each win a board of the same table: both
// entries and both games' statistics are in the file, whichever saves
// last, and each game's tables show the other's after its save.
TEST(ScoresFile, TwoGamesInOneFolderKeepBothResults) {
  ScoresFolder folder;
  const ScoreKey k = key_of(CLASSIC);
  const ScoreKey other_table = key_of(MEGAMINE);
  // An older result both games read at their start.
  win_and_enter(k, "Old", 900, 1);
  ASSERT_FALSE(scores_unsaved());
  // This game starts a board; the other game starts, wins and enters its
  // result and plays another table, all saved; then this game wins.
  record_game_started(k);
  ASSERT_EQ(save_scores(), 1);
  other_game([&] {
    win_and_enter(k, "Bea", 500, 3);
    record_game_started(other_table);
    record_game_result(other_table, true, 70);
    save_scores();
  });
  EXPECT_EQ(score_stats(k).played, 2u) << "not read again before this game's next save";
  record_game_result(k, true, 700);
  add_entry(k, entry("Al", 700, 2));
  ASSERT_EQ(save_scores(), 1);
  const std::string saved = read_file(folder.file);
  EXPECT_EQ(saved, encode_scores()) << "the tables in memory are the file's";
  const ScoreStats s = score_stats(k);
  EXPECT_EQ(s.played, 3u);
  EXPECT_EQ(s.won, 3u);
  EXPECT_EQ(s.best, 500);
  EXPECT_EQ(s.win_sum, 900 + 500 + 700);
  EXPECT_EQ(s.current_streak, 3u) << "the streak runs over both games' wins in the order they were saved";
  EXPECT_EQ(s.longest_streak, 3u);
  ASSERT_EQ(score_entries(k).size(), 3u);
  EXPECT_EQ(score_entries(k)[0].name, "Bea");
  EXPECT_EQ(score_entries(k)[1].name, "Al");
  EXPECT_EQ(score_entries(k)[2].name, "Old");
  for (const ScoreEntry& e : score_entries(k)) EXPECT_FALSE(e.unsaved);
  EXPECT_EQ(score_stats(other_table).won, 1u);
  // This game loses a game, and before it saves, the other game wins one
  // and saves: this game's save comes last and ends the streak.
  record_game_started(k);
  record_game_result(k, false, 0);
  other_game([&] { win_and_enter(k, "Cy", 400, 4); });
  ASSERT_EQ(save_scores(), 1) << "this game's loss, saved after the other's win";
  EXPECT_EQ(score_stats(k).played, 5u);
  EXPECT_EQ(score_stats(k).won, 4u);
  EXPECT_EQ(score_stats(k).current_streak, 0u) << "the loss saved last ends the streak";
  EXPECT_EQ(score_stats(k).longest_streak, 4u);
  ASSERT_EQ(score_entries(k).size(), 4u);
  EXPECT_EQ(score_entries(k)[0].name, "Cy");
}

// The file replaced, deleted or damaged after this game read it: the save
// merges into what is there, and never writes back the old tables over it.
TEST(ScoresFile, AFileChangedMeanwhileIsMergedNotOverwritten) {
  enum Meanwhile { REPLACED, DELETED, DAMAGED };
  for (const Meanwhile m : {REPLACED, DELETED, DAMAGED}) {
    SCOPED_TRACE(m);
    ScoresFolder folder;
    const ScoreKey k = key_of(CLASSIC), other = key_of(BACKWARDS);
    win_and_enter(k, "Old", 900, 1);
    const std::string before = read_file(folder.file);
    // The file someone else puts in its place: another table only.
    clear_scores();
    record_game_started(other);
    const std::string replacement = encode_scores();
    ASSERT_TRUE(decode_scores(before));
    // This game's changes, then the file's change, then the save.
    record_game_started(k);
    record_game_result(k, true, 800);
    add_entry(k, entry("New", 800, 2));
    switch (m) {
      case REPLACED: write_file(folder.file, replacement); break;
      case DELETED: unlink(folder.file.c_str()); break;
      case DAMAGED: write_file(folder.file, "junk"); break;
    }
    ASSERT_EQ(save_scores(), 1);
    EXPECT_EQ(read_file(folder.file), encode_scores());
    const ScoreStats s = score_stats(k);
    std::vector<std::string> names;
    for (const ScoreEntry& e : score_entries(k)) names.push_back(e.name);
    switch (m) {
      case REPLACED:
        EXPECT_EQ(score_stats(other).played, 1u) << "the replacement's table is kept";
        EXPECT_EQ(s.played, 1u);
        EXPECT_EQ(s.won, 1u);
        EXPECT_EQ(names, std::vector<std::string>{"New"});
        break;
      case DELETED:
        EXPECT_EQ(s.played, 1u) << "only what was not saved yet";
        EXPECT_EQ(names, std::vector<std::string>{"New"});
        break;
      case DAMAGED:
        EXPECT_EQ(read_file(folder.backup), "junk") << "kept aside";
        EXPECT_EQ(s.played, 2u) << "the tables this game last read, with its changes";
        EXPECT_EQ(s.won, 2u);
        EXPECT_EQ(names, (std::vector<std::string>{"New", "Old"}));
        break;
    }
  }
}

// A save that fails (a full disk, the folder locked by another game for
// longer than the wait) leaves the file as it was, keeps the changes, marks
// the entries not saved, and the next save writes them all.
TEST(ScoresFile, AFailedSaveKeepsItsChangesForTheNext) {
  enum Failure { FULL_DISK, LOCKED };
  for (const Failure f : {FULL_DISK, LOCKED}) {
    SCOPED_TRACE(f);
    ScoresFolder folder;
    const ScoreKey k = key_of(MEGAMINE);
    win_and_enter(k, "Old", 900, 1);
    const std::string before = read_file(folder.file);
    record_game_started(k);
    record_game_result(k, true, 1000);
    add_entry(k, entry("New", 1000, 2));
    const int saved_wait = user_folder_lock_wait_ms;
    user_folder_lock_wait_ms = 20;
    int lock = -1;
    if (f == LOCKED) lock = lock_folder(folder.tmp.path().c_str(), 0);
    const int done = f == FULL_DISK ? with_file_size_limit(16, save_scores) : save_scores();
    release_folder_lock(lock);
    user_folder_lock_wait_ms = saved_wait;
    EXPECT_EQ(done, 0);
    EXPECT_FALSE(scores_save_error().empty());
    EXPECT_EQ(read_file(folder.file), before) << "nothing old is damaged";
    EXPECT_EQ(folder_entries(folder.tmp.path()), std::vector<std::string>{"fusegrid.scores"});
    ASSERT_EQ(score_entries(k).size(), 2u);
    EXPECT_TRUE(score_entries(k)[0].unsaved);
    EXPECT_FALSE(score_entries(k)[1].unsaved);
    EXPECT_EQ(score_stats(k).played, 2u);
    EXPECT_TRUE(scores_unsaved());
    // The next change's save takes everything.
    record_game_started(k);
    ASSERT_EQ(save_scores(), 1);
    EXPECT_FALSE(scores_unsaved());
    EXPECT_TRUE(scores_save_error().empty());
    ASSERT_EQ(load_scores(), SCORES_LOADED);
    EXPECT_EQ(score_stats(k).played, 3u);
    EXPECT_EQ(score_stats(k).won, 2u);
    ASSERT_EQ(score_entries(k).size(), 2u);
    EXPECT_EQ(score_entries(k)[0].name, "New");
    EXPECT_FALSE(score_entries(k)[0].unsaved);
  }
}
