#include "screens/command_line.h"

#include <cstring>
#include <string>

#include "platform/version.h"

namespace {

const char* const HELP =
    "Usage: fusegrid [--game ID]\n"
    "       fusegrid --describe ID --first-cell N\n"
    "A mine-sweeping puzzle game on boards of cells of any shape.\n"
    "\n"
    "Options:\n"
    "  --game ID         start straight into the board of that game ID\n"
    "  --describe ID     print the board of that game ID as JSON, with no window\n"
    "  --first-cell N    with --describe: the cell of the first click, from 0\n"
    "  -h, --help        print this help and exit\n"
    "  --version         print the version and exit\n"
    "A value may also follow its option after an equals sign: --game=ID.\n"
    "\n"
    "A game ID reads STYLEFILE:PATTERN:MODE:SKILL:SEED, with :N or :N2 last for\n"
    "a no-guess board, for example fgboards-hx.dat:2:0:1:3141592653:N2.\n"
    "  STYLEFILE  a style file in the game folders, fgboards*.dat, at most 15\n"
    "             characters long\n"
    "  PATTERN    the pattern in that file, from 0\n"
    "  MODE       0 Classic, 1 Flagless, 2 Backwards, 3 Multi-Mine,\n"
    "             4 Moving Mines, 5 Endurance, 6 MegaMine\n"
    "  SKILL      0 Beginner, 1 Intermediate, 2 Expert, 3 Master\n"
    "  SEED       a number from 0 to 4294967295, optionally followed by +K:\n"
    "             the seed's stream K draws on (K from 0 to 4294967295)\n"
    "  N, N2      a no-guess board, made by the first or the second version of\n"
    "             the no-guess maker\n"
    "\n"
    "Exit status:\n"
    "  0  the player quit or closed the window, or --describe, --help or\n"
    "     --version printed what they print\n"
    "  1  the game could not start or go on: no display, a missing or damaged\n"
    "     datafile, no usable graphics mode, the display lost; or the output\n"
    "     could not be written\n"
    "  2  a bad command line, or a game ID or first cell that cannot be used\n"
    "Ended by SIGTERM, SIGINT or SIGHUP, the game shuts down and ends by that\n"
    "signal.\n";

CommandLineResult refuse(FILE* err, const std::string& what) {
  std::fprintf(err, "fusegrid: %s. Try 'fusegrid --help'.\n", what.c_str());
  return COMMAND_LINE_REFUSED;
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace

CommandLineResult parse_command_line(int argc, const char* const* argv, CommandLine& line, FILE* out, FILE* err) {
  line = CommandLine{};
  std::string twice;            // the first option given a second time
  const char* stray = nullptr;  // the first argument that is not an option
  bool options_ended = false;
  for (int i = 1; i < argc; i++) {
    const char* argument = argv[i];
    if (options_ended || argument[0] != '-' || argument[1] == 0) {
      if (!stray) stray = argument;
      continue;
    }
    if (std::strcmp(argument, "--") == 0) {
      options_ended = true;
      continue;
    }
    if (std::strcmp(argument, "-h") == 0) {
      std::fputs(HELP, out);
      return COMMAND_LINE_ANSWERED;
    }
    if (argument[1] != '-') return refuse(err, "unknown option " + quoted(argument));
    // A long option, with its value after '=' or in the next argument.
    const char* equals = std::strchr(argument, '=');
    const std::string name = equals ? std::string(argument, equals) : std::string(argument);
    if (name == "--help" || name == "--version") {
      if (equals) return refuse(err, "option " + quoted(name) + " takes no value");
      if (name == "--help")
        std::fputs(HELP, out);
      else
        std::fputs("fusegrid " FG_VERSION "\n", out);
      return COMMAND_LINE_ANSWERED;
    }
    const char** target = nullptr;
    if (name == "--game")
      target = &line.game_id;
    else if (name == "--describe")
      target = &line.describe_id;
    else if (name == "--first-cell")
      target = &line.first_cell;
    else
      return refuse(err, "unknown option " + quoted(name));
    const char* value = nullptr;
    if (equals)
      value = equals + 1;
    else if (i + 1 < argc)
      value = argv[++i];
    else
      return refuse(err, "option " + quoted(argument) + " needs a value");
    if (!*target)
      *target = value;
    else if (twice.empty())
      twice = name;
  }
  if (!twice.empty()) return refuse(err, "option " + quoted(twice) + " is given twice");
  if (stray) return refuse(err, "unexpected argument " + quoted(stray) + " (fusegrid takes options only)");
  if (line.game_id && (line.describe_id || line.first_cell))
    return refuse(err, "--game does not go with --describe or --first-cell");
  if (line.describe_id && !line.first_cell) return refuse(err, "--describe needs --first-cell");
  if (line.first_cell && !line.describe_id) return refuse(err, "--first-cell needs --describe");
  return COMMAND_LINE_RUN;
}
