// Game IDs in play: starting the exact board an ID names, the "Game ID..."
// dialog of the File menu, and the headless board description for tools.
#pragma once

#include <cstdio>

#include "board/game_id.h"

// Loads the board an ID names as a new game: its style file and pattern,
// mode and skill level, the stream of its board load, and whether it is
// made no-guess at the first click (in the modes that allow it). The
// board seed and counter are not used, so the boards after it are drawn
// as they would have been. GAME_ID_OK when the board is in play;
// otherwise nothing has changed.
GameIdError play_game_id(const GameId& id);

// The dialog: shows the ID of the board in play and lets the player type
// one; Enter plays it (a bad ID is explained in the dialog, which stays
// open), Esc leaves. True when a board was started.
bool game_id_dialog();

// "fusegrid --game ID" before anything is shown: the ID's style file is in
// the game folders, usable, and has the pattern. Returns the exit status
// when it is not (2, with one line on err), else 0. Starts the library
// without a display for the check and leaves it again.
int check_start_game_id(const GameId& id, FILE* err);

// "fusegrid --describe ID --first-cell N": makes the board as the game
// would for that ID and that first click, without a window, and prints
// it as one line of JSON, ended by a newline, on out: the mines as the
// first click finds them, its zone cleared and, for a no-guess ID, the
// board made no-guess (in Moving Mines the click then moves a mine, as
// every reveal does). Returns the exit status: 0, or 2 with a message on
// err for a bad ID or cell.
int describe_game(const char* id_text, const char* first_cell_text, FILE* out, FILE* err);
