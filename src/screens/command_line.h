// The program's arguments:
//   fusegrid                         the game
//   fusegrid --game ID               the game, straight into that board after the title
//   fusegrid --describe ID --first-cell N
//                                    no window: the board as JSON (see game_id_play.h)
//   fusegrid --help, -h              the usage, on standard output
//   fusegrid --version               "fusegrid VERSION", on standard output
// An option's value is the next argument, or follows an equals sign in the
// same one ("--game=ID"). "--" ends the options. The game takes nothing but
// options, so any other argument is refused.
//
// The arguments are read from left to right, as getopt_long reads them:
// the first --help or --version wins over everything after it, while an
// unknown option or a missing value before it is refused. An option given
// twice, a stray argument and options that do not go together are judged
// once every option is read, so --help anywhere among them still wins.
#pragma once

#include <cstdio>

// The exit status for a command line that is refused.
enum { EXIT_STATUS_BAD_COMMAND_LINE = 2 };

struct CommandLine {
  const char* game_id = nullptr;
  const char* describe_id = nullptr;
  const char* first_cell = nullptr;
};

enum CommandLineResult {
  COMMAND_LINE_RUN,       // go on with `line`
  COMMAND_LINE_ANSWERED,  // the help or the version is printed on out: end with status 0
  COMMAND_LINE_REFUSED    // one line on err: end with EXIT_STATUS_BAD_COMMAND_LINE
};

// Reads the arguments into `line`. A refused command line is said on err in
// one line, "fusegrid: <what is wrong>. Try 'fusegrid --help'.": an unknown
// option, a missing value or one given to --help or --version, an option
// given twice, any argument that is not an option, --describe without
// --first-cell (or the other way round), or either with --game.
CommandLineResult parse_command_line(int argc, const char* const* argv, CommandLine& line, FILE* out, FILE* err);
