// The high-score screens: the tables read at start, the name prompt after
// a result that makes its table, and the page of a table with the
// statistics of its board, mode and level.
#pragma once

#include <cstdint>
#include <string>

#include "scores/game_record.h"
#include "scores/scores.h"

// Start-up: the tables from their file. A damaged file is kept aside
// (scores/scores.h), a line on stderr says so (and whether it could be
// moved), and the line to show the player is returned; else nullptr.
const char* load_high_scores();
extern const char* const SCORES_DAMAGED_MESSAGE;
extern const char* const SCORES_DAMAGED_NOT_MOVED_MESSAGE;

// How a step went with the scores file (scores/game_record.h): a save that
// failed is said in one line on stderr, and the line for the menu bar
// waits in take_scores_message.
void report_scores_save(ScoresSave how);
extern const char* const SCORES_NOT_SAVED_MESSAGE;
// The line for the menu bar that waits, once; nullptr when none does.
const char* take_scores_message();

// After a game: when its result waits for a name (scores/game_record.h),
// asks for it, enters it and shows its table with the entry highlighted.
// Nothing otherwise.
void enter_high_score();

// The end of the program (before_shutdown_hook): a result still waiting
// for its name is entered under the name last used (or "- Anonymous -"),
// and a game left unfinished counts as lost.
void close_high_scores();

// The high-score page (F3, File > View High Scores): the table of the game
// in play, or of the last game played when no board is loaded; the arrow
// keys and the page's buttons step through the modes and levels of the
// same board. An entry not saved yet shows an asterisk after its rank,
// and a footnote in the button bar says what it means.
void high_scores_page();

// The key the page opens at.
ScoreKey high_scores_page_key();

// A name as drawn: every byte the game font has no glyph for shows as '?'.
std::string printable_name(const std::string& name);
// A time in hundredths of a second as "M:SS.CC" (hours add to the minutes).
std::string format_score_time(int32_t hundredths);
// A result of a key's mode as the table shows it: a time, or the score.
std::string format_score_result(int mode, int32_t result);
// A date (unix seconds) as "YYYY-MM-DD" in local time.
std::string format_score_date(int64_t date);
