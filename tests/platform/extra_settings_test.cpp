#include "platform/extra_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <string>
#include <vector>

#include "platform/settings.h"
#include "support/headless.h"

namespace {

const std::string MB_LINE(1u << 20, 'x');

struct LoadCase {
  const char* name;
  std::string contents;  // written as fusegrid.ini unless missing
  bool missing;
  bool no_guess;            // the value loaded
  std::string written;      // the file a write gives straight after
};

std::vector<LoadCase> load_cases() {
  return {
      {"Missing", "", true, false, "no_guess=0\n"},
      {"Empty", "", false, false, "no_guess=0\n"},
      {"On", "no_guess=1\n", false, true, "no_guess=1\n"},
      {"Off", "no_guess=0\n", false, false, "no_guess=0\n"},
      {"SpacesAndTabsTrimmed", "  no_guess \t=  1 \t\n", false, true, "no_guess=1\n"},
      {"NoLineEndAtTheEnd", "no_guess=1", false, true, "no_guess=1\n"},
      {"OutOfRange", "no_guess=2\n", false, false, "no_guess=0\n"},
      {"Word", "no_guess=yes\n", false, false, "no_guess=0\n"},
      {"EmptyValue", "no_guess=\n", false, false, "no_guess=0\n"},
      {"ValueWithTail", "no_guess=1 # on\n", false, false, "no_guess=0\n"},
      {"KeyIsCaseSensitive", "No_Guess=1\n", false, false, "No_Guess=1\nno_guess=0\n"},
      {"LastValidLineWins", "no_guess=1\n#\nno_guess=0\n", false, false, "no_guess=0\n#\n"},
      {"BadLaterLineIgnored", "no_guess=1\nno_guess=2\n", false, true, "no_guess=1\n"},
      {"BinaryJunkThenValid", std::string("\x7f\x00\x01\xff\xfe=\x00\n", 8) + "\x03junk\nno_guess=1\n", false, true,
       "no_guess=1\n"},
      {"MegabyteLineThenValid", "#a\n" + MB_LINE + "\nno_guess=1\n", false, true, "#a\nno_guess=1\n"},
      {"MegabyteValueIgnored", "no_guess=1\nno_guess=" + MB_LINE + "\n", false, true, "no_guess=1\n"},
      {"LongestLineKept", "#" + std::string(EXTRA_SETTINGS_MAX_LINE - 1, 'a') + "\r\nno_guess=1\n", false, true,
       "#" + std::string(EXTRA_SETTINGS_MAX_LINE - 1, 'a') + "\nno_guess=1\n"},
      {"LineOneByteTooLong", "#" + std::string(EXTRA_SETTINGS_MAX_LINE, 'a') + "\nno_guess=1\n", false, true,
       "no_guess=1\n"},
      {"CrLf", "# note\r\nno_guess=1\r\nother=2\r\n", false, true, "# note\nno_guess=1\nother=2\n"},
      {"StrayCarriageReturnIsJunk", "a\rb\nno_guess=1\n", false, true, "no_guess=1\n"},
      {"ByteOrderMark", "\xEF\xBB\xBFno_guess=1\n", false, true, "no_guess=1\n"},
  };
}

class ExtraSettingsLoad : public ::testing::TestWithParam<LoadCase> {};

TEST_P(ExtraSettingsLoad, GivesTheValueAndWritesBackTheKeptLines) {
  const LoadCase& c = GetParam();
  ScopedTempDir dir;
  if (!c.missing) write_file(EXTRA_SETTINGS_FILE_NAME, c.contents);
  extra_settings.no_guess = !c.no_guess;
  load_extra_settings();
  EXPECT_EQ(extra_settings.no_guess, c.no_guess);
  ASSERT_EQ(write_extra_settings(), 1);
  EXPECT_EQ(read_file(EXTRA_SETTINGS_FILE_NAME), c.written);
  EXPECT_EQ(folder_entries("."), std::vector<std::string>{"fusegrid.ini"}) << "no temporary file is left";
}

INSTANTIATE_TEST_SUITE_P(Cases, ExtraSettingsLoad, ::testing::ValuesIn(load_cases()),
                         [](const ::testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

// window_zoom: 1, 2, 3 or "fit"; a bad value keeps the default 1, and a
// file without the key gets it only when it is not 1.
TEST(ExtraSettings, WindowZoomValues) {
  struct Case {
    std::string contents;
    int zoom;             // the value loaded
    int set;              // then set to this
    std::string written;  // the file a write gives
  } cases[] = {
      {"", 1, 1, "no_guess=0\n"},
      {"", 1, 2, "no_guess=0\nwindow_zoom=2\n"},
      {"", 1, WINDOW_ZOOM_FIT, "no_guess=0\nwindow_zoom=fit\n"},
      {"window_zoom=1\n", 1, 1, "window_zoom=1\nno_guess=0\n"},
      {"window_zoom = 3\n", 3, 3, "window_zoom=3\nno_guess=0\n"},
      {"window_zoom=fit\n", WINDOW_ZOOM_FIT, 1, "window_zoom=1\nno_guess=0\n"},
      {"window_zoom=2\nwindow_zoom=4\n", 2, 2, "window_zoom=2\nno_guess=0\n"},
      {"window_zoom=0\n", 1, 1, "window_zoom=1\nno_guess=0\n"},
      {"window_zoom=Fit\n", 1, 1, "window_zoom=1\nno_guess=0\n"},
      {"window_zoom=2x\n", 1, 1, "window_zoom=1\nno_guess=0\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.contents);
    ScopedTempDir dir;
    write_file(EXTRA_SETTINGS_FILE_NAME, c.contents);
    extra_settings.window_zoom = 2;
    load_extra_settings();
    EXPECT_EQ(extra_settings.window_zoom, c.zoom);
    extra_settings.window_zoom = c.set;
    ASSERT_EQ(write_extra_settings(), 1);
    EXPECT_EQ(read_file(EXTRA_SETTINGS_FILE_NAME), c.written);
  }
  default_extra_settings();
}

// The two texts (the player's name and the last table): taken as they
// stand after the trim up to their size, written only when set or held.
TEST(ExtraSettings, TextValues) {
  const std::string name24(EXTRA_SETTINGS_NAME_SIZE, 'n');
  // A last table of 64 bytes: a plain name and four numbers.
  const std::string text64 = std::string(EXTRA_SETTINGS_TEXT_SIZE - 8, 't') + ":1:2:3:4";
  struct Case {
    std::string contents;
    std::string name, table;  // the values loaded
    std::string set_name;     // then the name set to this
    std::string written;      // the file a write gives
  } cases[] = {
      {"", "", "", "", "no_guess=0\n"},
      {"", "", "", "Ann = B", "no_guess=0\nplayer_name=Ann = B\n"},
      {"player_name=  Bea Ray \n", "Bea Ray", "", "Bea Ray", "player_name=Bea Ray\nno_guess=0\n"},
      {"player_name=Cy\nplayer_name=\n", "", "", "", "player_name=\nno_guess=0\n"},
      {"player_name=" + name24 + "\n", name24, "", name24, "player_name=" + name24 + "\nno_guess=0\n"},
      {"player_name=Dee\nplayer_name=" + name24 + "x\n", "Dee", "", "Dee", "player_name=Dee\nno_guess=0\n"},
      {"last_table=" + text64 + "\n", "", text64, "", "last_table=" + text64 + "\nno_guess=0\n"},
      {"last_table=t" + text64 + "\n", "", "", "", "last_table=\nno_guess=0\n"},
      {"player_name=\xc3\xa9t\xc3\xa9\n", "\xc3\xa9t\xc3\xa9", "", "E", "player_name=E\nno_guess=0\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.contents);
    ScopedTempDir dir;
    write_file(EXTRA_SETTINGS_FILE_NAME, c.contents);
    extra_settings.player_name = extra_settings.last_table = "old";
    load_extra_settings();
    EXPECT_EQ(extra_settings.player_name, c.name);
    EXPECT_EQ(extra_settings.last_table, c.table);
    extra_settings.player_name = c.set_name;
    ASSERT_EQ(write_extra_settings(), 1);
    EXPECT_EQ(read_file(EXTRA_SETTINGS_FILE_NAME), c.written);
  }
  default_extra_settings();
}

// Comments, blank lines and unknown keys come back byte for byte in their
// order, the known key in its place with its new value; a second round
// changes nothing.
TEST(ExtraSettings, KeepsUnknownLinesInTheirOrder) {
  ScopedTempDir dir;
  const std::string before =
      "# top\n"
      "zoom = 3 \n"
      "; other comment\n"
      "\n"
      "  no_guess=0\n"
      "\tsome text without a key\n"
      "alpha=beta=gamma\n"
      "# end";
  const std::string after =
      "# top\n"
      "zoom = 3 \n"
      "; other comment\n"
      "\n"
      "no_guess=1\n"
      "\tsome text without a key\n"
      "alpha=beta=gamma\n"
      "# end\n";
  write_file(EXTRA_SETTINGS_FILE_NAME, before);
  load_extra_settings();
  ASSERT_FALSE(extra_settings.no_guess);
  extra_settings.no_guess = true;
  ASSERT_EQ(write_extra_settings(), 1);
  EXPECT_EQ(read_file(EXTRA_SETTINGS_FILE_NAME), after);
  load_extra_settings();
  EXPECT_TRUE(extra_settings.no_guess);
  ASSERT_EQ(write_extra_settings(), 1);
  EXPECT_EQ(read_file(EXTRA_SETTINGS_FILE_NAME), after);
}

// The file is read up to its reading limit (a line ending exactly there
// counts, a line cut there does not) and at most EXTRA_SETTINGS_MAX_KEPT
// bytes of lines are kept for the write.
TEST(ExtraSettings, ReadsAndKeepsNoMoreThanItsLimits) {
  ScopedTempDir dir;
  const std::string filler_line = "#" + std::string(1022, 'f') + "\n";  // 1 KiB
  const std::string key = "no_guess=1";
  std::string filler;
  while (filler.size() < EXTRA_SETTINGS_MAX_READ - key.size()) filler += filler_line;
  filler.resize(EXTRA_SETTINGS_MAX_READ - key.size() - 1);
  filler += "\n";
  ASSERT_EQ(filler.size() + key.size(), EXTRA_SETTINGS_MAX_READ);

  struct Case {
    std::string tail;
    bool no_guess;
  } cases[] = {{key, true}, {key + "\n", true}, {key + "0", false}, {"\n" + key, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tail);
    write_file(EXTRA_SETTINGS_FILE_NAME, filler + c.tail);
    load_extra_settings();
    EXPECT_EQ(extra_settings.no_guess, c.no_guess);
  }
  ASSERT_EQ(write_extra_settings(), 1);
  const std::string written = read_file(EXTRA_SETTINGS_FILE_NAME);
  const size_t kept = EXTRA_SETTINGS_MAX_KEPT / filler_line.size() * filler_line.size();
  EXPECT_EQ(written, filler.substr(0, kept) + "no_guess=0\n");
}

// Something other than a regular file named fusegrid.ini: start-up goes
// on with the defaults at once, and the write leaves a folder as it was.
// A FIFO is replaced by the file, as fgrid.cfg's would be.
TEST(ExtraSettings, FolderOrFifoGivesTheDefaultsWithoutBlocking) {
  ScopedWatchdog watchdog(30);
  for (bool folder : {true, false}) {
    SCOPED_TRACE(folder ? "folder" : "FIFO");
    ScopedTempDir dir;
    if (folder) {
      ASSERT_EQ(mkdir(EXTRA_SETTINGS_FILE_NAME, 0755), 0);
      write_file(std::string(EXTRA_SETTINGS_FILE_NAME) + "/keep", "no_guess=1\n");
    } else {
      ASSERT_EQ(mkfifo(EXTRA_SETTINGS_FILE_NAME, 0644), 0);
    }
    extra_settings.no_guess = true;
    load_settings_at_start();
    EXPECT_FALSE(extra_settings.no_guess);
    extra_settings.no_guess = true;
    EXPECT_EQ(write_extra_settings(), folder ? 0 : 1);
    EXPECT_EQ(folder_entries("."), (std::vector<std::string>{"fgrid.cfg", "fusegrid.ini"}));
    struct stat st;
    ASSERT_EQ(stat(EXTRA_SETTINGS_FILE_NAME, &st), 0);
    if (folder) {
      EXPECT_TRUE(S_ISDIR(st.st_mode));
      EXPECT_EQ(folder_entries(EXTRA_SETTINGS_FILE_NAME), std::vector<std::string>{"keep"});
      EXPECT_EQ(read_file(std::string(EXTRA_SETTINGS_FILE_NAME) + "/keep"), "no_guess=1\n");
    } else {
      EXPECT_TRUE(S_ISREG(st.st_mode));
      EXPECT_EQ(read_file(EXTRA_SETTINGS_FILE_NAME), "no_guess=1\n");
    }
  }
}

// A write that fails part way (a file size limit of 10 bytes) leaves the
// old file whole and no temporary file behind.
TEST(ExtraSettings, WriteIsWholeOrNothing) {
  ScopedTempDir dir;
  const std::string old_file = "# a comment longer than ten bytes\nno_guess=0\n";
  write_file(EXTRA_SETTINGS_FILE_NAME, old_file);
  load_extra_settings();
  extra_settings.no_guess = true;
  const int written = with_file_size_limit(10, write_extra_settings);
  EXPECT_EQ(written, 0);
  EXPECT_EQ(read_file(EXTRA_SETTINGS_FILE_NAME), old_file);
  EXPECT_EQ(folder_entries("."), std::vector<std::string>{"fusegrid.ini"});
}

// Start-up reads the file beside fgrid.cfg and leaves it as it is.
TEST(ExtraSettings, LoadedAtStartAndNotWritten) {
  ScopedTempDir dir;
  write_file(EXTRA_SETTINGS_FILE_NAME, "no_guess = 1\n");
  extra_settings.no_guess = false;
  load_settings_at_start();
  EXPECT_TRUE(extra_settings.no_guess);
  EXPECT_EQ(read_file(EXTRA_SETTINGS_FILE_NAME), "no_guess = 1\n");
}

}  // namespace

// The last table names a style file looked for in the game folders: one
// whose name is not a plain file name is refused as it is read, so the
// key keeps its default (or an earlier valid line).
TEST(ExtraSettings, ALastTableOutsideTheGameFoldersIsRefused) {
  struct Case {
    const char* line;
    const char* loaded;
  } cases[] = {
      {"last_table=fgboards.dat:0:0:0:0", "fgboards.dat:0:0:0:0"},
      {"last_table=/etc/passwd:0:0:0:0", ""},
      {"last_table=../x.dat:0:0:0:0", ""},
      {"last_table=fgboards/../../x.dat:0:0:0:0", ""},
      {"last_table=..:0:0:0:0", ""},
      {"last_table=.:0:0:0:0", ""},
      {"last_table=fg boards.dat:0:0:0:0", ""},
      {"last_table=fgboards.dat:0:0:0", ""},
      {"last_table=:0:0:0:0", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ScopedTempDir dir;
    write_file(EXTRA_SETTINGS_FILE_NAME, std::string(c.line) + "\n");
    load_extra_settings();
    EXPECT_EQ(extra_settings.last_table, c.loaded);
  }
  ScopedTempDir dir;
  write_file(EXTRA_SETTINGS_FILE_NAME, "last_table=fgboards-hx.dat:1:0:0:0\nlast_table=../x.dat:0:0:0:0\n");
  load_extra_settings();
  EXPECT_EQ(extra_settings.last_table, "fgboards-hx.dat:1:0:0:0") << "the earlier valid line stays";
  default_extra_settings();
}

// Two games share the file: each write sets only the keys its game
// changed since it read the file, over what the file holds then, so the
// game that closes last keeps the other's changes; a key both changed
// takes the value of the last write.
TEST(ExtraSettings, TwoGamesKeepEachOthersChanges) {
  ScopedTempDir dir;
  const std::string start = "# mine\nno_guess=0\nwindow_zoom=2\n";
  struct Case {
    const char* what;
    std::string other_writes;  // the file after the other game's write
    std::string written;       // after this game's write (no_guess and the zoom changed)
  } cases[] = {
      {"the other game set the name", "# mine\nno_guess=0\nwindow_zoom=2\nplayer_name=Bo\n",
       "# mine\nno_guess=1\nwindow_zoom=fit\nplayer_name=Bo\n"},
      {"the other game changed the zoom too", "# mine\nno_guess=0\nwindow_zoom=3\nlast_table=fgboards.dat:2:0:0:0\n",
       "# mine\nno_guess=1\nwindow_zoom=fit\nlast_table=fgboards.dat:2:0:0:0\n"},
      {"the other game dropped a line", "no_guess=0\nwindow_zoom=2\n", "no_guess=1\nwindow_zoom=fit\n"},
      {"the file is gone", "", "no_guess=1\nwindow_zoom=fit\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    write_file(EXTRA_SETTINGS_FILE_NAME, start);
    load_extra_settings();
    extra_settings.no_guess = true;
    extra_settings.window_zoom = WINDOW_ZOOM_FIT;
    if (c.other_writes.empty())
      std::remove(EXTRA_SETTINGS_FILE_NAME);
    else
      write_file(EXTRA_SETTINGS_FILE_NAME, c.other_writes);
    ASSERT_EQ(write_extra_settings(), 1);
    EXPECT_EQ(read_file(EXTRA_SETTINGS_FILE_NAME), c.written);
    // The choices in memory are the file's now; a second write changes nothing.
    EXPECT_EQ(extra_settings.player_name, c.other_writes.find("Bo") != std::string::npos ? "Bo" : "");
    ASSERT_EQ(write_extra_settings(), 1);
    EXPECT_EQ(read_file(EXTRA_SETTINGS_FILE_NAME), c.written);
  }
  default_extra_settings();
}
