#include "platform/safe_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/datafile_check.h"
#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "board/style_list.h"
#include "palette/palette_files.h"
#include "support/headless.h"

namespace {

bool display_shows_default_palette() {
  PALETTE now;
  get_palette(now);
  const RGB* def = static_cast<const RGB*>(MainDatafile[OBJ_DEFAULT_PALETTE].dat);
  for (int i = 0; i < 256; i++)
    if (now[i].r != def[i].r || now[i].g != def[i].g || now[i].b != def[i].b) return false;
  return true;
}

enum Kind { FIFO, FOLDER, LINK_TO_DEV_ZERO, LINK_TO_REGULAR_FILE };
const char* const KIND_NAMES[] = {"a FIFO", "a folder", "a link to /dev/zero", "a link to a regular file"};

// Every file the game reads, with a regular file of the right kind for the
// link that is fine, and how the game reads it: true when it took the file.
struct Place {
  const char* path;
  std::string good;
  std::function<bool()> read;
};

}  // namespace

// Something that is not a regular file in the place of any file the game
// reads is refused promptly, and the game goes on with its fallback: the
// default settings, the default palette, the datafile check failing (the
// game then shows its message) or the style left out. A link to a regular
// file is read as the file.
TEST(SafeFile, OnlyRegularFilesAreRead) {
  ScopedTempDir outside;
  default_settings();
  settings.volume = 99;
  ASSERT_EQ(write_settings(), 1);  // a valid settings file to link to
  write_file("palette", std::string(1024, '\x11'));
  const Settings saved = settings;

  const Place places[] = {
      {"fgrid.cfg", outside.path() + "/fgrid.cfg",
       [] {
         settings.volume = 7;
         const int read = read_settings();
         load_settings_at_start();
         EXPECT_EQ(settings.volume, read ? 99 : 128);
         return read == 1;
       }},
      {"Colors/Bad.FCL", outside.path() + "/palette",
       [] {
         PALETTE pal;
         const int read = read_palette_file("Bad.FCL", pal);
         std::strcpy(settings.palette_name, "Bad.FCL");
         apply_current_palette();
         EXPECT_EQ(settings.palette_name[0] == '\0', read == 0);
         EXPECT_EQ(display_shows_default_palette(), read == 0);
         return read == 1;
       }},
      {"fgridgx.dat", game_path("fgridgx.dat"),
       [] {
         DATAFILE* dat = load_checked_datafile("fgridgx.dat");
         const bool read = dat && main_datafile_is_complete(dat);
         if (dat) unload_datafile(dat);
         EXPECT_EQ(datafile_file_is_sound("fgridgx.dat"), read ? 1 : 0);
         return read;
       }},
      {"fgridsfx.dat", game_path("fgridsfx.dat"),
       [] {
         DATAFILE* dat = load_checked_datafile("fgridsfx.dat");
         const bool read = dat && sound_datafile_is_complete(dat);
         if (dat) unload_datafile(dat);
         return read;
       }},
      {"fgboards-x.dat", game_path("fgboards.dat"),
       [] {
         DATAFILE* dat = load_checked_datafile("fgboards-x.dat");
         const bool read = dat != nullptr;
         if (dat) unload_datafile(dat);
         EXPECT_EQ(find_style_files(".").size(), read ? 1u : 0u);
         return read;
       }},
  };

  ScopedWatchdog watchdog(60);
  for (const Place& place : places) {
    for (Kind kind : {FIFO, FOLDER, LINK_TO_DEV_ZERO, LINK_TO_REGULAR_FILE}) {
      SCOPED_TRACE(std::string(KIND_NAMES[kind]) + " as " + place.path);
      ScopedTempDir dir;
      ASSERT_EQ(mkdir("Colors", 0755), 0);
      switch (kind) {
        case FIFO: ASSERT_EQ(mkfifo(place.path, 0644), 0); break;
        case FOLDER: ASSERT_EQ(mkdir(place.path, 0755), 0); break;
        case LINK_TO_DEV_ZERO: ASSERT_EQ(symlink("/dev/zero", place.path), 0); break;
        case LINK_TO_REGULAR_FILE: ASSERT_EQ(symlink(place.good.c_str(), place.path), 0); break;
      }
      EXPECT_EQ(place.read(), kind == LINK_TO_REGULAR_FILE);
      settings = saved;
    }
  }
  set_palette(static_cast<RGB*>(MainDatafile[OBJ_DEFAULT_PALETTE].dat));
}

TEST(SafeFile, WholeWritesReplaceTheTargetAndLeaveNothingElse) {
  ScopedTempDir dir;
  write_file("target", "old");
  ASSERT_EQ(write_file_whole("target", "new bytes", 9), WRITE_DONE);
  EXPECT_EQ(read_file("target"), "new bytes");
  struct stat st;
  ASSERT_EQ(stat("target", &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  EXPECT_EQ(write_file_whole("no-such-folder/target", "x", 1), WRITE_NOT_CREATED);
  ASSERT_EQ(mkdir("folder", 0755), 0);
  EXPECT_EQ(write_file_whole("folder", "x", 1), WRITE_FAILED);
  EXPECT_EQ(folder_entries("."), (std::vector<std::string>{"folder", "target"})) << "no temporary file is left";
}

// What a write cut short leaves ("<name>.XXXXXX") is removed at start:
// regular files of exactly that pattern for the names given, nothing
// else, and no link is followed.
TEST(SafeFile, StaleTemporaryFilesOfOurNamesAreRemoved) {
  ScopedTempDir outside;
  write_file(outside.path() + "/target", "keep");
  ScopedTempDir dir;
  struct Entry {
    const char* name;
    enum { FILE, FOLDER, LINK } kind;
    bool removed;
  } entries[] = {
      {"fusegrid.scores.aZ09xy", Entry::FILE, true},
      {"fusegrid.ini.ABCDEF", Entry::FILE, true},
      {"fgrid.cfg.123456", Entry::FILE, true},
      {"fusegrid.scores", Entry::FILE, false},
      {"fusegrid.scores.bak", Entry::FILE, false},
      {"fusegrid.scores.aZ09x", Entry::FILE, false},
      {"fusegrid.scores.aZ09xyz", Entry::FILE, false},
      {"fusegrid.scores.aZ-9xy", Entry::FILE, false},
      {"fusegrid.scoresXaZ09xy", Entry::FILE, false},
      {"xfgrid.cfg.123456", Entry::FILE, false},
      {"other.dat.123456", Entry::FILE, false},
      {"fgrid.cfg.abcdef", Entry::LINK, false},
      {"fusegrid.ini.abcdef", Entry::FOLDER, false},
  };
  for (const Entry& e : entries) {
    switch (e.kind) {
      case Entry::FILE: write_file(e.name, "x"); break;
      case Entry::FOLDER:
        ASSERT_EQ(mkdir(e.name, 0755), 0);
        write_file(std::string(e.name) + "/inside", "x");
        break;
      case Entry::LINK: ASSERT_EQ(symlink((outside.path() + "/target").c_str(), e.name), 0); break;
    }
  }
  const char* const names[] = {"fusegrid.scores", "fusegrid.ini", "fgrid.cfg"};
  EXPECT_EQ(remove_stale_temp_files(dir.path().c_str(), names, 3), 3);
  std::vector<std::string> left;
  for (const Entry& e : entries)
    if (!e.removed) left.push_back(e.name);
  std::sort(left.begin(), left.end());
  EXPECT_EQ(folder_entries("."), left);
  EXPECT_EQ(read_file(outside.path() + "/target"), "keep");
  EXPECT_EQ(read_file("fusegrid.ini.abcdef/inside"), "x");
  EXPECT_EQ(remove_stale_temp_files("/nonexistent-folder", names, 3), 0);
}

// The folder lock excludes a second holder (another open of the folder,
// as another game's) until it is released; the wait for it is bounded.
TEST(SafeFile, TheFolderLockIsExclusiveAndItsWaitBounded) {
  ScopedTempDir dir;
  const int first = lock_folder(dir.path().c_str(), 0);
  ASSERT_GE(first, 0);
  EXPECT_EQ(lock_folder(dir.path().c_str(), 30), -1);
  EXPECT_EQ(lock_folder("", 0), -1) << "the current folder is the same folder";
  release_folder_lock(first);
  const int second = lock_folder("", 0);
  EXPECT_GE(second, 0);
  release_folder_lock(second);
  EXPECT_EQ(lock_folder((dir.path() + "/missing").c_str(), 0), -1);
  EXPECT_TRUE(folder_entries(".").empty()) << "the lock makes no file";
}
