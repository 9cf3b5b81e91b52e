#include "board/style_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/headless.h"

TEST(StyleList, PatternMatchesWithoutRegardToCase) {
  struct {
    const char* name;
    int match;
  } cases[] = {{"fgboards.dat", 1},      {"FGBOARDS.DAT", 1},     {"fgboards-hx.dat", 1}, {"FgBoards-Pi.Dat", 1},
               {"fgboards.dat.tmp", 0}, {"myfgboards.dat", 0}, {"fgboards.da", 0},      {"fgridgx.dat", 0}};
  for (auto c : cases) EXPECT_EQ(is_style_file_name(c.name), c.match) << c.name;
}

TEST(StyleList, FindsMatchingFilesOnly) {
  ScopedTempDir dir;
  for (const char* f : {"fgboards.dat", "FGBOARDS-B.DAT", "fgboards-a.dat", "fgridgx.dat", "fgboards-much-too-long.dat"})
    write_file(f, "x");
  ASSERT_EQ(mkdir("fgboards-dir.dat", 0755), 0);
  std::vector<std::string> found = find_style_files(".");
  EXPECT_EQ(found, (std::vector<std::string>{"FGBOARDS-B.DAT", "fgboards-a.dat", "fgboards.dat"}));
  EXPECT_TRUE(find_style_files("no-such-folder").empty());
}

TEST(StyleList, TheShippedStylesAreFound) {
  std::vector<std::string> found = find_style_files(FG_GAME_DIR);
  EXPECT_GE(found.size(), 8u);
  EXPECT_NE(std::find(found.begin(), found.end(), "fgboards.dat"), found.end());
}
