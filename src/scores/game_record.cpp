#include "scores/game_record.h"

#include <cmath>
#include <ctime>
#include <limits>

#include "board/board_load.h"
#include "board/style_list.h"
#include "platform/game_paths.h"
#include "platform/extra_settings.h"
#include "rules/board_state.h"
#include "rules/mines.h"

const char* const ANONYMOUS_NAME = "- Anonymous -";

namespace {

int64_t wall_clock() {
  const std::time_t now = std::time(nullptr);
  return now > 0 ? static_cast<int64_t>(now) : 0;
}

}  // namespace

int64_t (*score_clock)() = wall_clock;

namespace {

struct GameRecord {
  bool started = false;  // counted as played, not ended yet
  ScoreKey key;          // of the game counted as started
  bool pending = false;  // an entry waits for its name
  ScoreKey pending_key;
  ScoreEntry pending_entry;
  LastScoreEntry last_entry;
} record;

// The result of the game in play as its table ranks it: hundredths of a
// second of time and penalty time, or the score.
int32_t game_result(int mode) {
  if (!lower_result_is_better(mode)) return game.score;
  const double hundredths = std::floor((static_cast<double>(game.game_time) + game.penalty_time) * 100.0 + 0.5);
  if (!(hundredths >= 0.0)) return 0;
  const double most = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(hundredths < most ? hundredths : most);
}

ScoresSave saved_as(int done) { return done ? SCORES_SAVE_DONE : SCORES_SAVE_FAILED; }

}  // namespace

ScoreKey game_score_key() {
  ScoreKey key;
  key.style = board_file_name;
  key.pattern = current_board_index;
  key.mode = game.mode;
  key.skill = game.skill;
  key.time_limit = game.mode == ENDURANCE ? game.endurance_minutes : 0;
  return key;
}

ScoresSave track_game_start() {
  if (record.started || game.phase != PLAYING || game.first_cell == -1) return SCORES_SAVE_NONE;
  const ScoreKey key = game_score_key();
  if (!valid_score_key(key)) return SCORES_SAVE_NONE;
  record.started = true;
  record.key = key;
  extra_settings.last_table = format_score_key(key);
  record.last_entry = LastScoreEntry{};
  record_game_started(key);
  return saved_as(save_scores());
}

ScoresSave track_game_end(bool won) {
  if (!record.started) return SCORES_SAVE_NONE;
  record.started = false;
  const int mode = record.key.mode;
  const int32_t result = game_result(mode);
  record_game_result(record.key, won, result);
  const bool timed_out = mode == ENDURANCE && won;
  const bool one_click = mode != ENDURANCE && is_one_click_board();
  // A score of nothing is no high score.
  const bool scored = lower_result_is_better(mode) || result > 0;
  if (scored && may_enter_table(mode, won, one_click, game.hinted, timed_out) && would_rank(record.key, result) >= 0) {
    record.pending = true;
    record.pending_key = record.key;
    record.pending_entry = ScoreEntry{};
    record.pending_entry.result = result;
    if (mode == ENDURANCE) {
      record.pending_entry.damage = game.damage > 0 ? game.damage : 0;
      record.pending_entry.boards = game.boards_played > 0 ? game.boards_played : 0;
    }
    const int64_t now = score_clock();
    record.pending_entry.date = now > 0 ? now : 0;
  }
  return saved_as(save_scores());
}

ScoresSave track_game_abandoned() {
  if (!record.started) return SCORES_SAVE_NONE;
  record.started = false;
  record_game_result(record.key, false, 0);
  return saved_as(save_scores());
}

ScoresSave save_waiting_scores() { return scores_unsaved() ? saved_as(save_scores()) : SCORES_SAVE_NONE; }

bool score_entry_pending() { return record.pending; }
const ScoreKey& pending_score_key() { return record.pending_key; }
const ScoreEntry& pending_score_entry() { return record.pending_entry; }

int pending_score_rank() {
  return record.pending ? would_rank(record.pending_key, record.pending_entry.result) : -1;
}

bool is_blank_name(const std::string& name) { return name.find_first_not_of(' ') == std::string::npos; }

namespace {

// The rank of an entry in its table as it is now, or -1.
int rank_of(const ScoreKey& key, const ScoreEntry& entry) {
  const std::vector<ScoreEntry>& entries = score_entries(key);
  for (size_t r = 0; r < entries.size(); r++) {
    const ScoreEntry& e = entries[r];
    if (e.name == entry.name && e.result == entry.result && e.date == entry.date && e.damage == entry.damage &&
        e.boards == entry.boards)
      return static_cast<int>(r);
  }
  return -1;
}

}  // namespace

int enter_pending_score(const std::string& name, ScoresSave* saved) {
  if (saved) *saved = SCORES_SAVE_NONE;
  if (!record.pending) return -1;
  record.pending = false;
  ScoreEntry entry = record.pending_entry;
  entry.name = is_blank_name(name) ? ANONYMOUS_NAME : name;
  if (entry.name.size() > SCORE_NAME_BYTES) entry.name.resize(SCORE_NAME_BYTES);
  int rank = add_entry(record.pending_key, entry);
  if (rank >= 0) {
    const ScoresSave how = saved_as(save_scores());
    if (saved) *saved = how;
    // Entries other games saved meanwhile may rank ahead of it now.
    if (how == SCORES_SAVE_DONE) rank = rank_of(record.pending_key, entry);
  }
  record.last_entry.key = record.pending_key;
  record.last_entry.rank = rank;
  return rank;
}

const LastScoreEntry& last_score_entry() { return record.last_entry; }

bool last_played_key(ScoreKey& key) { return parse_score_key(extra_settings.last_table, key); }

void reset_game_record() { record = GameRecord{}; }

std::string format_score_key(const ScoreKey& key) {
  return key.style + ":" + std::to_string(key.pattern) + ":" + std::to_string(key.mode) + ":" +
         std::to_string(key.skill) + ":" + std::to_string(key.time_limit);
}

bool parse_score_key(const std::string& text, ScoreKey& key) {
  // The numbers from the right: the style file's name is everything before.
  int numbers[4];
  size_t end = text.size();
  for (int i = 3; i >= 0; i--) {
    const size_t colon = text.rfind(':', end == 0 ? 0 : end - 1);
    if (colon == std::string::npos || colon + 1 >= end || end - colon - 1 > 3) return false;
    int value = 0;
    for (size_t c = colon + 1; c < end; c++) {
      if (text[c] < '0' || text[c] > '9') return false;
      value = value * 10 + (text[c] - '0');
    }
    numbers[i] = value;
    end = colon;
  }
  ScoreKey parsed;
  parsed.style = text.substr(0, end);
  parsed.pattern = numbers[0];
  parsed.mode = numbers[1];
  parsed.skill = numbers[2];
  parsed.time_limit = numbers[3];
  // The style is looked for in the game folders: a plain style file name.
  if (!is_plain_file_name(parsed.style) || !is_style_file_name(parsed.style.c_str()) || !valid_score_key(parsed))
    return false;
  key = parsed;
  return true;
}
