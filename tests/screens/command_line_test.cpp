// The command line: the forms it accepts, --help and --version, the one
// line that refuses a bad one; and the game binary itself answering them
// with its exit status and its two output streams.
#include "screens/command_line.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "platform/version.h"
#include "support/headless.h"

extern char** environ;

namespace {

struct Parsed {
  CommandLineResult result;
  CommandLine line;
  std::string out, err;
};

Parsed parse(const std::vector<const char*>& args) {
  std::vector<const char*> argv = {"fusegrid"};
  argv.insert(argv.end(), args.begin(), args.end());
  FILE* out = std::tmpfile();
  FILE* err = std::tmpfile();
  Parsed p;
  p.line.game_id = "left over";  // every field is written
  p.result = parse_command_line(static_cast<int>(argv.size()), argv.data(), p.line, out, err);
  p.out = read_and_close_stream(out);
  p.err = read_and_close_stream(err);
  return p;
}

std::string help_text() { return parse({"--help"}).out; }

std::string arguments(const std::vector<const char*>& args) {
  std::string s;
  for (const char* a : args) s += std::string(" [") + a + "]";
  return s;
}

TEST(CommandLine, AcceptedLines) {
  struct {
    std::vector<const char*> args;
    const char *game, *describe, *cell;
  } cases[] = {
      {{}, nullptr, nullptr, nullptr},
      {{"--game", "g"}, "g", nullptr, nullptr},
      {{"--game=g"}, "g", nullptr, nullptr},
      {{"--game=a=b"}, "a=b", nullptr, nullptr},  // only the first '=' ends the name
      {{"--game="}, "", nullptr, nullptr},        // empty: the ID's own check refuses it
      {{"--game", "--help"}, "--help", nullptr, nullptr},  // the next argument is the value, whatever it is
      {{"--game", "g", "--"}, "g", nullptr, nullptr},
      {{"--"}, nullptr, nullptr, nullptr},
      {{"--describe", "d", "--first-cell", "5"}, nullptr, "d", "5"},
      {{"--first-cell=5", "--describe=d"}, nullptr, "d", "5"},
      {{"--describe=d", "--first-cell", "-1"}, nullptr, "d", "-1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(arguments(c.args));
    const Parsed p = parse(c.args);
    EXPECT_EQ(p.result, COMMAND_LINE_RUN);
    EXPECT_EQ(p.out, "");
    EXPECT_EQ(p.err, "");
    EXPECT_STREQ(p.line.game_id, c.game);
    EXPECT_STREQ(p.line.describe_id, c.describe);
    EXPECT_STREQ(p.line.first_cell, c.cell);
  }
}

// Read from left to right: the first --help or --version answers, whatever
// follows it; an option given twice, a stray argument or a bad combination
// before it does not stop it, an unknown option before it does (see
// RefusedLines).
TEST(CommandLine, HelpAndVersionAnswerOnStandardOutput) {
  const std::string help = help_text();
  const std::string version = "fusegrid " FG_VERSION "\n";
  struct {
    std::vector<const char*> args;
    bool help;  // else the version
  } cases[] = {
      {{"--help"}, true},
      {{"-h"}, true},
      {{"--version"}, false},
      {{"--help", "--version"}, true},
      {{"--version", "-h"}, false},
      {{"--help", "--bogus", "stray"}, true},
      {{"--game", "g", "--describe", "d", "--version"}, false},
      {{"--game", "a", "--game", "b", "--help"}, true},
      {{"stray", "--help"}, true},
      {{"--describe", "d", "--version"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(arguments(c.args));
    const Parsed p = parse(c.args);
    EXPECT_EQ(p.result, COMMAND_LINE_ANSWERED);
    EXPECT_EQ(p.out, c.help ? help : version);
    EXPECT_EQ(p.err, "");
  }
}

// The help names every option, the form of a game ID and the exit
// statuses, in lines that fit a terminal of 80 columns.
TEST(CommandLine, TheHelpTellsEverythingWithin80Columns) {
  const std::string help = help_text();
  ASSERT_EQ(help.rfind("Usage: fusegrid", 0), 0u) << help;
  for (const char* wanted :
       {"--game ID ", "--describe ID ", "--first-cell N ", "-h, --help ", "--version ", "--game=ID",
        "STYLEFILE:PATTERN:MODE:SKILL:SEED", ":N2", "+K", "fgboards*.dat", "at most 15", "6 MegaMine", "3 Master",
        "Exit status:\n  0  ", "\n  1  ", "\n  2  "})
    EXPECT_NE(help.find(wanted), std::string::npos) << wanted;
  EXPECT_EQ(help.back(), '\n');
  std::istringstream lines(help);
  std::string line;
  while (std::getline(lines, line)) EXPECT_LE(line.size(), 80u) << line;
}

TEST(CommandLine, RefusedLinesSayWhatIsWrongInOneLine) {
  struct {
    std::vector<const char*> args;
    const char* what;
  } cases[] = {
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"--bogus=1"}, "unknown option '--bogus'"},
      {{"--GAME", "g"}, "unknown option '--GAME'"},
      {{"--gam", "g"}, "unknown option '--gam'"},  // no abbreviations
      {{"-x"}, "unknown option '-x'"},
      {{"-hx"}, "unknown option '-hx'"},
      {{"--bogus", "--help"}, "unknown option '--bogus'"},
      {{"--game"}, "option '--game' needs a value"},
      {{"--describe", "d", "--first-cell"}, "option '--first-cell' needs a value"},
      {{"--help=yes"}, "option '--help' takes no value"},
      {{"--version="}, "option '--version' takes no value"},
      {{"--game", "a", "--game=b"}, "option '--game' is given twice"},
      {{"--first-cell", "1", "--describe", "d", "--first-cell", "1"}, "option '--first-cell' is given twice"},
      {{"game"}, "unexpected argument 'game' (fusegrid takes options only)"},
      {{"-"}, "unexpected argument '-' (fusegrid takes options only)"},
      {{"--game", "g", "--", "--help"}, "unexpected argument '--help' (fusegrid takes options only)"},
      {{"a", "b"}, "unexpected argument 'a' (fusegrid takes options only)"},
      {{"--describe", "d"}, "--describe needs --first-cell"},
      {{"--first-cell", "5"}, "--first-cell needs --describe"},
      {{"--game", "g", "--first-cell", "1"}, "--game does not go with --describe or --first-cell"},
      {{"--game", "g", "--describe", "d", "--first-cell", "1"},
       "--game does not go with --describe or --first-cell"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(arguments(c.args));
    const Parsed p = parse(c.args);
    EXPECT_EQ(p.result, COMMAND_LINE_REFUSED);
    EXPECT_EQ(p.out, "");
    EXPECT_EQ(p.err, std::string("fusegrid: ") + c.what + ". Try 'fusegrid --help'.\n");
  }
}

// ---------------------------------------------------------------------------
// The game binary

struct Ran {
  int status = -1;  // the exit status; -1 when it did not exit
  std::string out, err;
};

// Runs the game with the arguments, no display and nothing to read;
// standard output goes to `out_path` when it is given.
Ran run_game(const std::vector<const char*>& args, const char* out_path) {
  ScopedTempDir dir;
  const std::string out_file = out_path ? out_path : dir.path() + "/out";
  const std::string err_file = dir.path() + "/err";
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&files, 2, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> argv = {const_cast<char*>(FG_GAME_BINARY)};
  for (const char* a : args) argv.push_back(const_cast<char*>(a));
  argv.push_back(nullptr);
  std::vector<char*> env;
  for (char** e = environ; *e; e++)
    if (std::strncmp(*e, "DISPLAY=", 8) != 0) env.push_back(*e);
  env.push_back(nullptr);
  Ran ran;
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, FG_GAME_BINARY, &files, nullptr, argv.data(), env.data());
  posix_spawn_file_actions_destroy(&files);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot run " << FG_GAME_BINARY << ": " << std::strerror(spawned);
    return ran;
  }
  int status = 0;
  if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) ran.status = WEXITSTATUS(status);
  if (!out_path) ran.out = read_file(out_file);
  ran.err = read_file(err_file);
  return ran;
}

TEST(CommandLine, TheGameAnswersWithItsStatusAndStreams) {
  ScopedWatchdog watchdog(60);
  const std::string help = help_text();
  ASSERT_GT(help.size(), 500u);
  struct {
    std::vector<const char*> args;
    const char* out_path;  // standard output somewhere else
    int status;
    std::string out, err;  // err: its start, one line in all
  } cases[] = {
      {{"--help"}, nullptr, 0, help, ""},
      {{"-h", "--bogus"}, nullptr, 0, help, ""},
      {{"--version"}, nullptr, 0, "fusegrid " FG_VERSION "\n", ""},
      {{"--bogus"}, nullptr, 2, "", "fusegrid: unknown option '--bogus'. Try 'fusegrid --help'.\n"},
      {{"--game=g", "more"}, nullptr, 2, "",
       "fusegrid: unexpected argument 'more' (fusegrid takes options only). Try 'fusegrid --help'.\n"},
      {{"--describe", "fgboards-longer.dat:0:0:0:1", "--first-cell", "0"}, nullptr, 2, "",
       "fusegrid: That style file is not in the game folder.\n"},
      {{"--game", "fgboards.dat:0:0:0:x"}, nullptr, 2, "",
       "fusegrid: The seed of a game ID is a number from 0 to 4294967295.\n"},
      // Output that cannot be written is a failure, said on standard error.
      {{"--version"}, "/dev/full", 1, "", "fusegrid: the output could not be written: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(arguments(c.args));
    const Ran ran = run_game(c.args, c.out_path);
    EXPECT_EQ(ran.status, c.status);
    EXPECT_EQ(ran.out, c.out);
    EXPECT_EQ(ran.err.substr(0, c.err.size()), c.err);
    if (c.err.empty()) {
      EXPECT_EQ(ran.err, "");
    } else {
      EXPECT_EQ(ran.err.find('\n'), ran.err.size() - 1) << ran.err;  // one line
    }
  }
}

// --describe through the game: one line of JSON on standard output, ended
// by a newline, nothing on standard error.
TEST(CommandLine, TheGameDescribesABoardInOneLine) {
  ScopedWatchdog watchdog(60);
  const Ran ran = run_game({"--describe=fgboards-hx.dat:2:0:1:3141592653:N2", "--first-cell=40"}, nullptr);
  EXPECT_EQ(ran.status, 0);
  EXPECT_EQ(ran.err, "");
  EXPECT_EQ(ran.out.rfind("{\"id\": \"fgboards-hx.dat:2:0:1:3141592653:N2\", ", 0), 0u) << ran.out;
  ASSERT_FALSE(ran.out.empty());
  EXPECT_EQ(ran.out.find('\n'), ran.out.size() - 1) << ran.out;
}

}  // namespace
