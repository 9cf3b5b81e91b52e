// Allegro without a display for the tests: memory bitmaps, drawing and
// datafiles work; the game's two datafiles are loaded from the game folder
// the build made, and the two screen bitmaps exist as memory bitmaps.
#pragma once

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

class HeadlessEnvironment : public ::testing::Environment {
 public:
  void SetUp() override;
  void TearDown() override;
};

// Path of a file in the game folder made by the build.
std::string game_path(const char* name);

// A fresh temporary folder, made the current folder while the object
// lives; the previous folder is restored afterwards.
class ScopedTempDir {
 public:
  ScopedTempDir();
  ~ScopedTempDir();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string previous_;
};

// A fresh temporary user folder for the game's own files (settings,
// scores) while the object lives, the datafiles still read from the
// current folder; the folders are put back to the current folder
// afterwards and the temporary one removed.
class ScopedUserFolder {
 public:
  ScopedUserFolder();
  ~ScopedUserFolder();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Ends the test process (SIGALRM) when the scope takes longer than the
// given seconds, so that a reader stuck on a FIFO fails at once instead of
// running into the test driver's time limit.
class ScopedWatchdog {
 public:
  explicit ScopedWatchdog(unsigned seconds);
  ~ScopedWatchdog();
};

// Reads a whole file into a string; empty when it cannot be read.
std::string read_file(const std::string& path);
// Reads a stream written so far (a tmpfile()) from its start, and closes it.
std::string read_and_close_stream(FILE* f);
void write_file(const std::string& path, const std::string& bytes);

// Names in a folder other than "." and "..", sorted.
std::vector<std::string> folder_entries(const std::string& folder);

// Number of opaque pixels of a picture that do not show at (x, y) of a frame.
int picture_misses(BITMAP* shown, BITMAP* pic, int x, int y);

// Runs a write with the process's file size limit set to `bytes` (a write
// past it fails part way, as on a full disk), then puts the limit back.
int with_file_size_limit(long bytes, const std::function<int()>& write);
