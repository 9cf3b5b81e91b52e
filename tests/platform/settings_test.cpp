#include "platform/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "platform/extra_settings.h"
#include "platform/game_paths.h"
#include "platform/safe_file.h"
#include "support/headless.h"

namespace {

// A valid 55-byte file with recognisable values.
std::string valid_file(float speed = 0.075f) {
  std::string b;
  b += char(0);                       // question marks off
  b += char(200);                     // volume
  for (int i = 0; i < 11; i++) b += char(i % 2);
  for (int i = 0; i < 5; i++) b += char((i + 1) % 2);
  uint32_t u;
  std::memcpy(&u, &speed, 4);
  for (int i = 0; i < 4; i++) b += char((u >> (8 * i)) & 0xFF);
  b += char(1);  // windowed
  std::string name = "Dusk.FCL";
  name.resize(32, '\0');
  b += name;
  return b;
}

std::string with_speed(float speed) { return valid_file(speed); }

std::string with_byte(size_t offset, char value) {
  std::string b = valid_file();
  b[offset] = value;
  return b;
}

}  // namespace

TEST(Settings, ReadsAValidFileFieldByField) {
  ScopedTempDir dir;
  write_file("fgrid.cfg", valid_file());
  ASSERT_EQ(read_settings(), 1);
  EXPECT_EQ(settings.question_marks, 0);
  EXPECT_EQ(settings.volume, 200);
  for (int i = 0; i < 11; i++) EXPECT_EQ(settings.sound_switches[i], i % 2);
  for (int i = 0; i < 5; i++) EXPECT_EQ(settings.graphics_switches[i], (i + 1) % 2);
  EXPECT_FLOAT_EQ(settings.chain_speed, 0.075f);
  EXPECT_EQ(settings.windowed, 1);
  EXPECT_STREQ(settings.palette_name, "Dusk.FCL");
}

TEST(Settings, WriteGivesTheExact55ByteLayout) {
  ScopedTempDir dir;
  write_file("fgrid.cfg", valid_file());
  ASSERT_EQ(read_settings(), 1);
  std::remove("fgrid.cfg");
  ASSERT_EQ(write_settings(), 1);
  EXPECT_EQ(read_file("fgrid.cfg"), valid_file());
  default_settings();
  ASSERT_EQ(write_settings(), 1);
  std::string d = read_file("fgrid.cfg");
  ASSERT_EQ(d.size(), 55u);
  EXPECT_EQ(d[0], 1);
  EXPECT_EQ(static_cast<uint8_t>(d[1]), 128);
  float speed;
  std::memcpy(&speed, d.data() + 18, 4);
  EXPECT_EQ(speed, 0.05f);
  EXPECT_EQ(d[22], 0);
  EXPECT_EQ(d.substr(23), std::string(32, '\0'));
  EXPECT_EQ(folder_entries("."), std::vector<std::string>{"fgrid.cfg"}) << "no temporary file is left behind";
}

struct SettingsCase {
  const char* name;
  std::string bytes;
  int expected;
};

TEST(Settings, ValidationCases) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const SettingsCase cases[] = {
      {"55 valid bytes", valid_file(), 1},
      {"54 bytes", valid_file().substr(0, 54), 0},
      {"empty file", "", 0},
      {"longer file", valid_file() + "trailing bytes", 1},
      {"speed exactly 0.1", with_speed(0.1f), 1},
      {"speed exactly 0.0", with_speed(0.0f), 1},
      {"speed 0.1000001", with_speed(0.1000001f), 0},
      {"speed -0.0001", with_speed(-0.0001f), 0},
      {"speed NaN", with_speed(nan), 0},
      {"windowed 2", with_byte(22, 2), 0},
      {"windowed -1", with_byte(22, char(-1)), 0},
      {"question marks 2", with_byte(0, 2), 0},
      {"sound switch 2", with_byte(7, 2), 0},
      {"graphics switch 5", with_byte(17, 5), 0},
      {"any volume", with_byte(1, char(0)), 1},
      {"any palette name bytes", with_byte(40, char(0xFF)), 1},
  };
  ScopedTempDir dir;
  for (const SettingsCase& c : cases) {
    write_file("fgrid.cfg", c.bytes);
    EXPECT_EQ(read_settings(), c.expected) << c.name;
  }
  std::remove("fgrid.cfg");
  EXPECT_EQ(read_settings(), 0) << "missing file";
}

TEST(Settings, StartUpReplacesAnInvalidFileWithDefaults) {
  ScopedTempDir dir;
  // windowed 2: the whole file is rejected, volume and palette name too.
  write_file("fgrid.cfg", with_byte(22, 2));
  load_settings_at_start();
  EXPECT_EQ(settings.volume, 128);
  EXPECT_EQ(settings.windowed, 0);
  EXPECT_EQ(settings.palette_name[0], 0);
  EXPECT_EQ(read_file("fgrid.cfg").size(), 55u);

  write_file("fgrid.cfg", valid_file().substr(0, 54));
  load_settings_at_start();
  EXPECT_EQ(read_file("fgrid.cfg").size(), 55u);
  EXPECT_EQ(read_settings(), 1);

  // A longer file is read; the extra bytes are gone after the next write.
  write_file("fgrid.cfg", valid_file() + "xyz");
  load_settings_at_start();
  EXPECT_EQ(settings.volume, 200);
  ASSERT_EQ(write_settings(), 1);
  EXPECT_EQ(read_file("fgrid.cfg"), valid_file());
}

TEST(Settings, FailedWriteLeavesTheOldFileWhole) {
  ScopedTempDir dir;
  write_file("fgrid.cfg", valid_file());
  ASSERT_EQ(read_settings(), 1);
  // The write itself fails part way (a file size limit of 10 bytes): the
  // old file is untouched and the temporary file is gone.
  default_settings();
  const int written = with_file_size_limit(10, write_settings);
  EXPECT_EQ(written, 0);
  EXPECT_EQ(read_file("fgrid.cfg"), valid_file());
  EXPECT_EQ(folder_entries("."), std::vector<std::string>{"fgrid.cfg"});

  // Renaming fails (a folder in the file's place): the folder stays, and
  // start-up still runs on the defaults.
  std::remove("fgrid.cfg");
  ASSERT_EQ(mkdir("fgrid.cfg", 0755), 0);
  write_file("fgrid.cfg/keep", "x");
  settings.volume = 7;
  load_settings_at_start();
  EXPECT_EQ(settings.volume, 128);
  EXPECT_EQ(read_file("fgrid.cfg/keep"), "x");
  EXPECT_EQ(folder_entries("."), std::vector<std::string>{"fgrid.cfg"});

  // The temporary file cannot be made (the folder is gone).
  ASSERT_EQ(mkdir("gone", 0755), 0);
  ASSERT_EQ(chdir("gone"), 0);
  ASSERT_EQ(rmdir("../gone"), 0);
  EXPECT_EQ(write_settings(), 0);
  ASSERT_EQ(chdir(dir.path().c_str()), 0);
}

// A link planted where the write goes (the old temporary name, or the file
// itself) is never written through: the link's target keeps its bytes and
// "fgrid.cfg" ends up a regular file of 55 bytes.
TEST(Settings, WriteNeverFollowsAPlantedLink) {
  ScopedTempDir outside;
  const std::string target = outside.path() + "/target";
  for (const char* planted : {"fgrid.cfg.tmp", "fgrid.cfg"}) {
    SCOPED_TRACE(planted);
    ScopedTempDir dir;
    write_file(target, "keep");
    ASSERT_EQ(symlink(target.c_str(), planted), 0);
    default_settings();
    ASSERT_EQ(write_settings(), 1);
    EXPECT_EQ(read_file(target), "keep");
    struct stat st;
    ASSERT_EQ(lstat("fgrid.cfg", &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    EXPECT_EQ(read_file("fgrid.cfg").size(), 55u);
    EXPECT_EQ(read_settings(), 1);
    const std::vector<std::string> want =
        std::strcmp(planted, "fgrid.cfg") == 0 ? std::vector<std::string>{"fgrid.cfg"}
                                               : std::vector<std::string>{"fgrid.cfg", "fgrid.cfg.tmp"};
    EXPECT_EQ(folder_entries("."), want) << "nothing else is left in the folder";
  }
}

// Two games share the file: a write replaces, field by field, only what
// this game changed since it read or wrote the file, over the file as it
// is then; the other game's changes to other fields stay, and the file
// keeps its 55-byte layout. A file gone or not valid meanwhile gets every
// field of this game.
TEST(Settings, AWriteChangesOnlyTheFieldsThisGameChanged) {
  ScopedTempDir dir;
  struct Case {
    const char* what;
    std::string other;     // the file after the other game's write ("" = gone)
    std::string expected;  // after this game's write: it set volume 9 and sound switch 2 on
  };
  std::string other = valid_file();
  other[0] = 1;                      // question marks on
  other[2 + 4] = 1;                  // sound switch 4 on
  other[22] = 0;                     // full screen
  other.replace(23, 8, "Dawn.FCL");  // another palette
  std::string merged = other;
  merged[1] = 9;
  merged[2 + 2] = 1;
  std::string ours = valid_file();
  ours[1] = 9;
  ours[2 + 2] = 1;
  std::string both_volume = other;
  both_volume[1] = char(50);
  std::string both_volume_merged = both_volume;
  both_volume_merged[1] = 9;
  both_volume_merged[2 + 2] = 1;
  const Case cases[] = {
      {"the other game changed other fields", other, merged},
      {"both changed the volume: the last write wins", both_volume, both_volume_merged},
      {"the file is gone", "", ours},
      {"the file is damaged", with_byte(22, 2), ours},
      {"the file is short", valid_file().substr(0, 30), ours},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    write_file("fgrid.cfg", valid_file());
    ASSERT_EQ(read_settings(), 1);
    settings.volume = 9;
    settings.sound_switches[2] = 1;
    if (c.other.empty())
      std::remove("fgrid.cfg");
    else
      write_file("fgrid.cfg", c.other);
    ASSERT_EQ(write_settings(), 1);
    EXPECT_EQ(read_file("fgrid.cfg"), c.expected);
    // The settings in memory are the file's now, and a second write keeps it.
    EXPECT_EQ(settings.windowed, c.expected[22]);
    ASSERT_EQ(write_settings(), 1);
    EXPECT_EQ(read_file("fgrid.cfg"), c.expected);
  }
  // A game that never read the file writes every field.
  write_file("fgrid.cfg", other);
  default_settings();
  ASSERT_EQ(write_settings(), 1);
  ASSERT_EQ(read_settings(), 1);
  EXPECT_EQ(settings.volume, 128);
  EXPECT_EQ(settings.palette_name[0], 0);
}

// Another game holding the lock on the folder past the wait: neither
// settings file is written, and both stay as they were.
TEST(Settings, NoWriteWithoutTheFolderLock) {
  ScopedTempDir dir;
  write_file("fgrid.cfg", valid_file());
  write_file(EXTRA_SETTINGS_FILE_NAME, "no_guess=0\n");
  ASSERT_EQ(read_settings(), 1);
  load_extra_settings();
  settings.volume = 3;
  extra_settings.no_guess = true;
  const int saved_wait = user_folder_lock_wait_ms;
  user_folder_lock_wait_ms = 10;
  const int lock = lock_folder(dir.path().c_str(), 0);
  ASSERT_GE(lock, 0);
  EXPECT_EQ(write_settings(), 0);
  EXPECT_EQ(write_extra_settings(), 0);
  release_folder_lock(lock);
  user_folder_lock_wait_ms = saved_wait;
  EXPECT_EQ(read_file("fgrid.cfg"), valid_file());
  EXPECT_EQ(read_file(EXTRA_SETTINGS_FILE_NAME), "no_guess=0\n");
  EXPECT_EQ(write_settings(), 1) << "written once the lock is free";
  EXPECT_EQ(write_extra_settings(), 1);
  EXPECT_EQ(read_file(EXTRA_SETTINGS_FILE_NAME), "no_guess=1\n");
  default_extra_settings();
}
