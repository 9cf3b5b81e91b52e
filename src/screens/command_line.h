// The program's arguments:
//   fusegrid                         the game
//   fusegrid --game ID               the game, straight into that board after the title
//   fusegrid --describe ID --first-cell N
//                                    no window: the board as JSON (see game_id_play.h)
#pragma once

#include <cstdio>

struct CommandLine {
  const char* game_id = nullptr;
  const char* describe_id = nullptr;
  const char* first_cell = nullptr;
};

// False, with a message and the usage on err, for arguments it does not
// know, a missing value, or --describe without --first-cell (or the
// other way round, or with --game).
bool parse_command_line(int argc, const char* const* argv, CommandLine& line, FILE* err);
