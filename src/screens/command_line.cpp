#include "screens/command_line.h"

#include <cstring>

namespace {

const char* const USAGE =
    "usage: fusegrid [--game ID]\n"
    "       fusegrid --describe ID --first-cell N\n"
    "A game ID reads STYLEFILE:PATTERN:MODE:SKILL:SEED, with :N for a no-guess board.\n";

bool refuse(FILE* err, const char* what, const char* argument) {
  std::fprintf(err, "fusegrid: %s%s\n%s", what, argument ? argument : "", USAGE);
  return false;
}

}  // namespace

bool parse_command_line(int argc, const char* const* argv, CommandLine& line, FILE* err) {
  line = CommandLine{};
  for (int i = 1; i < argc; i++) {
    const char* option = argv[i];
    const char** target = nullptr;
    if (std::strcmp(option, "--game") == 0)
      target = &line.game_id;
    else if (std::strcmp(option, "--describe") == 0)
      target = &line.describe_id;
    else if (std::strcmp(option, "--first-cell") == 0)
      target = &line.first_cell;
    else
      return refuse(err, "unknown argument ", option);
    if (*target) return refuse(err, "given twice: ", option);
    if (i + 1 >= argc) return refuse(err, "a value is missing after ", option);
    *target = argv[++i];
  }
  if (line.game_id && (line.describe_id || line.first_cell))
    return refuse(err, "--game does not go with --describe or --first-cell", nullptr);
  if (!line.describe_id != !line.first_cell) return refuse(err, "--describe and --first-cell go together", nullptr);
  return true;
}
