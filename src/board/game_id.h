// Game IDs: one line of text that names a board exactly, so that a game
// can be played again or passed on. The form is
//   STYLEFILE:PATTERN:MODE:SKILL:SEED
// with ":N2" appended when the board is made no-guess at its first click,
// for example "fgboards-hx.dat:2:0:1:3141592653:N2". PATTERN counts from 0
// in the style file, MODE is 0 Classic to 6 MegaMine, SKILL 0 Beginner to
// 3 Master, and SEED is the seed of the game stream at the board load.
//
// A board load seeds the stream with two numbers, a seed s and a counter
// k; a draw depends on s + 27397 k and on the parity of the counter only,
// so the stream at (s, k) is the stream at (s + 27397 (k - k mod 2), k mod
// 2). An ID therefore writes the first number as SEED and, when the
// counter is odd, "+1" after it: "3141592653+1" is the stream of seed
// 3141592653 one draw on. Reading takes "SEED+K" for any 32-bit K.
//
// The number after N names the version of the no-guess maker that makes
// the board (rules/no_guess.h, NO_GUESS_MAKER): "N" alone is the first,
// "N2" the second. A new version of the maker gets a new number, and the
// game keeps making the boards of every version it knows, so an ID names
// the same board in every later version of the game. An ID whose maker is
// newer than the game's is refused (GAME_ID_NEWER), never played as
// another board. The board of an ID without N follows from its seed alone
// and never changes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "rules/board_state.h"
#include "rules/random.h"

enum { GAME_ID_STYLE_SIZE = 16, GAME_ID_TEXT_SIZE = 64 };

struct GameId {
  char style_file[GAME_ID_STYLE_SIZE];  // a style file name, at most 15 characters
  int pattern;
  GameMode mode;
  SkillLevel skill;
  Random random;  // the game stream at the board load
  bool no_guess;
  int no_guess_maker;  // with no_guess: the maker's version, 1..NO_GUESS_MAKER
};

enum GameIdError {
  GAME_ID_OK = 0,
  GAME_ID_FIELD_COUNT,     // not 5 fields, or 6 with "N" last
  GAME_ID_STYLE_NAME,      // not a style file name
  GAME_ID_STYLE_MISSING,   // no such file in the game folder
  GAME_ID_STYLE_INVALID,   // the file is there but is not a usable style file
  GAME_ID_PATTERN,         // not a number, or no such pattern in the style
  GAME_ID_MODE,            // not 0..6
  GAME_ID_SKILL,           // not 0..3
  GAME_ID_SEED,            // not an unsigned 32-bit number (with an optional "+K")
  GAME_ID_FLAG,            // a sixth field other than "N" or "N<version>"
  GAME_ID_NEWER,           // "N<version>" of a no-guess maker newer than this game's
  GAME_ID_STYLE_TOO_LONG   // a style file name longer than an ID holds (15 characters)
};

// Reads the text of an ID, field by field; the style file is not opened
// and the pattern only checked to be a number 0..255. Leading and trailing
// spaces are ignored. `id` is written only on GAME_ID_OK. A name of the
// style file form (fgboards*.dat) longer than 15 characters is
// GAME_ID_STYLE_TOO_LONG.
GameIdError parse_game_id(const char* text, GameId& id);

// parse_game_id for an ID the player gave, where a style file name of the
// right form but too long for an ID is looked up in the game folders (see
// find_game_file): GAME_ID_STYLE_TOO_LONG when such a file is there, else
// GAME_ID_STYLE_MISSING, as no ID can name it either way.
GameIdError read_game_id(const char* text, GameId& id);

// Opens the ID's style file (the user folder's, else the data folder's, see
// find_game_file) and checks it and the pattern number against it; nothing
// else is changed.
GameIdError check_game_id_style(const GameId& id);

// The player's message for an error: one line.
const char* game_id_message(GameIdError error);

// The ID's text; the stream is written in its shortest form.
void format_game_id(const GameId& id, char* text, size_t size);

// The ID of the board in play (style file, pattern, mode, skill, the
// stream of its load and whether it is made no-guess).
GameId current_game_id();
