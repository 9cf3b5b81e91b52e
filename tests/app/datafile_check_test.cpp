#include "app/datafile_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/lifecycle.h"
#include "common/datafile_writer.h"
#include "rules/random.h"
#include "support/headless.h"

namespace {

std::vector<uint8_t> file_bytes(const std::string& path) {
  std::string s = read_file(path);
  return std::vector<uint8_t>(s.begin(), s.end());
}

void save(const std::string& path, const std::vector<uint8_t>& bytes) {
  write_file(path, std::string(bytes.begin(), bytes.end()));
}

}  // namespace

TEST(DatafileCheck, TheGamesOwnDatafilesPass) {
  EXPECT_EQ(datafile_file_is_sound(game_path("fgridgx.dat").c_str()), 1);
  EXPECT_EQ(datafile_file_is_sound(game_path("fgridsfx.dat").c_str()), 1);
  EXPECT_EQ(main_datafile_is_complete(MainDatafile), 1);
  EXPECT_EQ(sound_datafile_is_complete(SoundDatafile), 1);
  EXPECT_EQ(main_datafile_is_complete(SoundDatafile), 0);
  EXPECT_EQ(sound_datafile_is_complete(MainDatafile), 0);
  EXPECT_EQ(datafile_file_is_sound("no-such-file.dat"), 0);
}

TEST(DatafileCheck, EveryTruncationIsRefused) {
  std::vector<uint8_t> bytes = file_bytes(game_path("fgridsfx.dat"));
  ASSERT_GT(bytes.size(), 1000u);
  for (size_t len = 0; len < bytes.size(); len += 1 + len / 7)
    ASSERT_EQ(datafile_bytes_are_sound(bytes.data(), len), 0) << "accepted a file cut at " << len;
  EXPECT_EQ(datafile_bytes_are_sound(bytes.data(), bytes.size()), 1);
}

TEST(DatafileCheck, InconsistentObjectsAreRefused) {
  BITMAP* bmp = create_bitmap_ex(8, 4, 4);
  clear_to_color(bmp, 3);
  DatafileWriter w;
  w.add_bitmap(bmp);
  w.add_rle_sprite(bmp);
  destroy_bitmap(bmp);
  ScopedTempDir dir;
  ASSERT_TRUE(w.write("ok.dat"));
  std::vector<uint8_t> good = file_bytes("ok.dat");
  ASSERT_EQ(datafile_bytes_are_sound(good.data(), good.size()), 1);

  struct Case {
    const char* what;
    size_t offset;
    uint8_t value;
  } cases[] = {
      {"packed magic", 3, '!'},
      {"object count too high", 15, 3},
      {"unknown object kind", 12, 'X'},
      {"bitmap wider than its data", 27, 5},
      {"bitmap of 15 bits", 25, 15},
      {"sizes that differ", 23, 21},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bad = good;
    bad[c.offset] = c.value;
    EXPECT_EQ(datafile_bytes_are_sound(bad.data(), bad.size()), 0) << c.what;
  }
}

// Damaged copies of the real datafiles: the check refuses them, or the
// library loads them without reading out of bounds (the sanitizer build
// runs this too).
TEST(DatafileCheck, RandomDamageNeverReachesABadLoad) {
  ScopedTempDir dir;
  std::vector<uint8_t> bytes = file_bytes(game_path("fgridsfx.dat"));
  set_seed(2718);
  int accepted = 0;
  for (int round = 0; round < 60; round++) {
    std::vector<uint8_t> bad = bytes;
    int flips = random_range(1, 8);
    for (int i = 0; i < flips; i++) {
      // Damage is aimed at the headers more often than at sample data.
      size_t at = random_range(0, 3) == 0 ? static_cast<size_t>(random_range(0, 200))
                                          : static_cast<size_t>(random_range(0, static_cast<int>(bad.size()) - 1));
      bad[at] = static_cast<uint8_t>(random_range(0, 255));
    }
    save("damaged.dat", bad);
    DATAFILE* dat = load_checked_datafile("damaged.dat");
    if (dat) {
      accepted++;
      unload_datafile(dat);
    }
  }
  RecordProperty("accepted", accepted);
}
