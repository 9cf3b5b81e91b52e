// The game in play as the high-score tables see it: counted as played once
// its first cell is open, its end recorded in the statistics, and the
// result that makes its table held until the player has given a name.
// Every change is saved to the scores file at once (merged into it, see
// scores/scores.h); each step that saves says how the save went, and a
// save that failed is tried again, with everything since, at the next.
//
// A game is one board, or the whole run of boards in Endurance. It ends
// won or lost when the rules say so (EVENT_GAME_ENDED); a game left for a
// new one, or by quitting, ends lost.
#pragma once

#include <cstdint>
#include <string>

#include "scores/scores.h"

// The key of the game in play: the loaded style file and pattern, the mode,
// the skill level and, in Endurance, the time limit.
ScoreKey game_score_key();

// How a step went with the scores file: nothing to save, saved, or not
// saved (the changes wait for the next save).
enum ScoresSave { SCORES_SAVE_NONE = 0, SCORES_SAVE_DONE = 1, SCORES_SAVE_FAILED = 2 };

// Once a pass: the game in play counts as played once its first cell is
// open (only the first time).
ScoresSave track_game_start();

// The end of the game in play (won: as the rules report it): the statistics,
// and the entry it makes, if any, waits for a name. Nothing is recorded for
// a game that was never counted as started. A MegaMine or Endurance score
// of 0 or less makes no entry.
ScoresSave track_game_end(bool won);

// A game counted as started and not ended is given up: recorded as lost.
ScoresSave track_game_abandoned();

// Saves the changes that wait, if any (a save that failed earlier).
ScoresSave save_waiting_scores();

// A result waiting for the player's name.
bool score_entry_pending();
const ScoreKey& pending_score_key();
const ScoreEntry& pending_score_entry();
// The rank it would take now (0..9), or -1.
int pending_score_rank();

// An empty name, or one of spaces alone: it enters as ANONYMOUS_NAME.
bool is_blank_name(const std::string& name);

// Enters the waiting result under a name (a blank one as ANONYMOUS_NAME).
// Returns the rank taken (in the table as saved, when the save merged
// other games' entries in), or -1; *saved, when given, says how the save
// went.
int enter_pending_score(const std::string& name, ScoresSave* saved = nullptr);

extern const char* const ANONYMOUS_NAME;  // "- Anonymous -"

// The last entry made and its table, until the next game is counted as
// started (rank -1 when there is none): the table shows it highlighted.
struct LastScoreEntry {
  ScoreKey key;
  int rank = -1;
};
const LastScoreEntry& last_score_entry();

// The key of the last game counted as started, kept in the player's
// choices ("last_table" of platform/extra_settings.h) from one session to
// the next; false when there is none.
bool last_played_key(ScoreKey& key);

// The clock an entry's date is read from (unix seconds): the system's
// wall clock, unless replaced (a recorded run of the game needs a fixed
// one, so that its pictures do not change with the day).
extern int64_t (*score_clock)();

// Forgets the game in play, the waiting entry and the last entry (tests).
void reset_game_record();

// A key as "STYLE:PATTERN:MODE:SKILL:LIMIT", and back (false for text that
// is not a valid key, or whose style is not a plain style file name,
// "fgboards*.dat" without a '/': it is looked for in the game folders).
std::string format_score_key(const ScoreKey& key);
bool parse_score_key(const std::string& text, ScoreKey& key);
