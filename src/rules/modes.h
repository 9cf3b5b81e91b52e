// Game modes: what each mode allows, the status counters it shows, the
// end of a board, mine penalties and scores, the game clock, the "Check!"
// verdict, the end-of-board sequence (fireworks, then the next Endurance
// board or the one-click notice) and the smiley. What the player should
// see and hear of it is reported as events (rules/events.h).
#pragma once

#include "rules/board_state.h"

enum { MODE_COUNT = 7 };

// The names of the modes and skill levels, as the player reads them.
extern const char* const MODE_NAMES[MODE_COUNT];
extern const char* const SKILL_NAMES[4];

// Which of the twelve status entries each mode shows (1 = shown).
extern const int32_t STATUS_TABLE[MODE_COUNT][STATUS_SLOTS];

// Copies the mode's row of STATUS_TABLE into game.status_row and counts
// its shown entries into game.status_count.
void set_status_row(GameMode mode);

// The end-of-board sequence of the main screen: seconds left (999.0 when
// no sequence runs) and fireworks still to launch (5 or 0). The main
// screen sets the timer to 999.0 when it starts; the rules below start
// the sequence.
extern const float NO_END_SEQUENCE;  // 999.0
extern float fireworks_timer;
extern int fireworks_left;

// What a mode lets the player do: cycle flags with the right button (not
// in Flagless and Moving Mines), chord a clue (not in Flagless, Moving
// Mines and MegaMine), and ask for the "Check!" verdict: while the board
// is played, in Multi-Mine once every flag of the three levels is placed,
// in MegaMine once every flag is placed, never in the other modes.
bool flags_allowed(GameMode mode);
bool chord_allowed(GameMode mode);
bool check_allowed(const GameSession& session);

// The end-of-board test, at the end of every reveal while the board is
// played: every safe cell revealed (all but Multi-Mine; the mines left
// covered get flags), or in MegaMine every mine revealed with mines_left 0
// (the whole board is uncovered). Sets phase FINISHED.
void check_board_end();

// The cost of one revealed mine: face 207, then damage (Endurance), a share
// of the score (MegaMine) or penalty seconds (every other mode).
void apply_mine_penalty();

// The game clock, once a frame (seconds: the frame's time) while a board
// is played and its first cell is open: time, the MegaMine score decay and
// the Endurance time limit (which ends the board and the run, reported as
// a game won, and starts the fireworks).
void update_game_clock(float seconds);

// A board cleared (phase FINISHED): counts it, adds the Endurance board
// bonus, redraws the board, sets the face and starts the end-of-board
// sequence; phase becomes IDLE. Outside Endurance the game is reported
// won. Does nothing unless phase is FINISHED.
void finish_board();

// The "Check!" verdict on the flags (Multi-Mine, MegaMine): uncovers the
// board, explodes every mine that is not flagged at its level, and starts
// the end-of-board sequence, with fireworks only when nothing exploded;
// the game is reported won when nothing exploded, else lost.
void check_verdict();

// One frame of the end-of-board sequence (seconds: the frame's time):
// while the timer runs, launches the fireworks 0.2 s apart and, 2 s after
// the last, ends the sequence with post_board_step. Returns 1 in the frame
// that ran post_board_step (the main screen then builds its screen again),
// else 0.
int fireworks_step(float seconds);

// After the fireworks: the next Endurance board while time is left
// (EVENT_NEXT_BOARD), the one-click notice in Classic, Flagless, Backwards
// and Moving Mines (EVENT_ONE_CLICK_BOARD).
void post_board_step();

// The smiley's idle animation, once a frame, drawn from the smiley stream.
// mouse_buttons: the buttons held (a press on anything but the right
// button alone shows the held face).
void update_smiley(float seconds, int mouse_buttons);
