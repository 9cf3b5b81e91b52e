#include "platform/datafile_check.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/lifecycle.h"
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

// The process's peak resident memory in kB (VmHWM); reset_peak() brings
// the peak down to what is resident now.
long peak_kb() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}
bool reset_peak() {
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
  out.flush();
  return out.good();
}

// A sparse file of `size` bytes (no disk used), starting with `start`.
bool make_sparse(const char* path, const std::vector<uint8_t>& start, off_t size) {
  save(path, start);
  const int fd = open(path, O_WRONLY);
  if (fd < 0) return false;
  const bool ok = ftruncate(fd, size) == 0;
  close(fd);
  return ok;
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
  ScopedTempDir dir;
  for (size_t len = 0; len < bytes.size(); len += 1 + len / 7) {
    ASSERT_EQ(datafile_bytes_are_sound(bytes.data(), len), 0) << "accepted a file cut at " << len;
    save("cut.dat", std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(len)));
    ASSERT_EQ(datafile_file_is_sound("cut.dat"), 0) << "accepted a file cut at " << len;
  }
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
  Random random = random_seeded(2718);
  int accepted = 0;
  for (int round = 0; round < 60; round++) {
    std::vector<uint8_t> bad = bytes;
    int flips = random_range(random, 1, 8);
    for (int i = 0; i < flips; i++) {
      // Damage is aimed at the headers more often than at sample data.
      size_t at = random_range(random, 0, 3) == 0 ? static_cast<size_t>(random_range(random, 0, 200))
                                          : static_cast<size_t>(random_range(random, 0, static_cast<int>(bad.size()) - 1));
      bad[at] = static_cast<uint8_t>(random_range(random, 0, 255));
    }
    save("damaged.dat", bad);
    // The file check reads piece by piece; it agrees with the check of
    // the whole bytes.
    ASSERT_EQ(datafile_file_is_sound("damaged.dat"), datafile_bytes_are_sound(bad.data(), bad.size())) << round;
    DATAFILE* dat = load_checked_datafile("damaged.dat");
    if (dat) {
      accepted++;
      unload_datafile(dat);
    }
  }
  RecordProperty("accepted", accepted);
}

// Large files cost what the check looks at, not their size: the board
// chooser's pass over the style files reads a huge file that is no
// datafile in a few bytes, and of a real style followed by a long tail
// only its objects.
TEST(DatafileCheck, LargeFilesAreNotReadWhole) {
  ScopedTempDir dir;
  const std::vector<uint8_t> style = file_bytes(game_path("fgboards.dat"));
  ASSERT_TRUE(make_sparse("fgboards-big.dat", {}, 300 << 20));
  ASSERT_TRUE(make_sparse("fgboards-zero.dat", {}, 200 << 20));
  ASSERT_TRUE(make_sparse("fgboards-tail.dat", style, 200 << 20));
  ASSERT_TRUE(reset_peak()) << "/proc/self/clear_refs is needed to measure the peak";
  const long before = peak_kb();
  ASSERT_GT(before, 0);
  int loaded = 0;
  for (const char* name : {"fgboards-big.dat", "fgboards-zero.dat", "fgboards-tail.dat"}) {
    DATAFILE* dat = load_checked_datafile(name);
    if (dat) {
      loaded++;
      unload_datafile(dat);
    }
  }
  const long growth_kb = peak_kb() - before;
  std::printf("peak memory growth while checking 700 MB of style files: %ld kB\n", growth_kb);
  RecordProperty("peak_growth_kb", static_cast<int>(growth_kb));
  EXPECT_EQ(loaded, 1) << "only the real style with its tail loads";
  EXPECT_LT(growth_kb, 50 * 1024);
}
