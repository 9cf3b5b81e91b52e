// Hints during play: the solver's deductions from the clues as the player
// sees them (flags and '?' marks are not trusted), turned into one cell to
// show, and what asking costs.
//
// A hint is only given while a board is played and its first cell is open:
// before the first click there is no clue to read, and once play has ended
// there is nothing left to help with. Such a request is HINT_UNAVAILABLE:
// nothing is shown and nothing is charged.
//
// A hint asked during play costs even when nothing can be deduced: "you
// must guess" is worth knowing too. The cost, by mode:
//   Classic, Flagless, Backwards, Multi-Mine, Moving Mines: 30 penalty seconds;
//   Endurance: damage of the covered cells' count, half a revealed mine's;
//   MegaMine: 250 points off the score, not below 0.
// A game that used a hint is marked (game.hinted) until the next game.
#pragma once

#include "rules/board_state.h"

enum HintKind {
  HINT_UNAVAILABLE = 0,  // no board in play, before the first click, or play has ended
  HINT_NOTHING_CERTAIN,  // no covered cell is certain (or every certain mine is already flagged)
  HINT_SAFE,             // cell: a covered cell that is certainly safe
  HINT_MINE              // cell: an unflagged covered cell that certainly holds a mine
};

struct HintResult {
  HintKind kind;
  int cell;  // -1 unless HINT_SAFE or HINT_MINE
};

extern const float HINT_PENALTY_SECONDS;  // 30: the timed modes
extern const int HINT_SCORE_COST;         // 250: MegaMine
// Endurance: damage of HINT_DAMAGE_PER_HIDDEN_CELL for every covered cell,
// half of what a revealed mine costs.
extern const int HINT_DAMAGE_PER_HIDDEN_CELL;  // 1

// What a hint would show on the board in play, without charging for it.
// A certainly safe covered cell first (flagged or not: a flag on a safe
// cell is a mistake worth pointing at), else a certain mine not yet
// flagged, each time the one nearest the pointer's cell; else nothing.
// Distances are between the cells' positions (x, y). When the pointer is
// over no cell (pointer_cell -1), the nearest to the middle of the board
// (the middle of the cells' positions) is chosen; ties go to the lowest
// index. Draws from no random stream and changes nothing.
HintResult find_hint(int pointer_cell);

// The cost of one hint in the mode in play.
void apply_hint_penalty();

// A hint asked for during play: finds it and, unless it is
// HINT_UNAVAILABLE, charges the penalty and marks the game as hinted.
HintResult use_hint(int pointer_cell);
