#include "board/style_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "board/board_load.h"
#include "board/game_id.h"
#include "platform/game_paths.h"
#include "rules/board_state.h"
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

namespace {

// Back to the current folder at the end of a test, failed or not.
struct FoldersReset {
  ~FoldersReset() { set_game_folders(GameFolders{}); }
};

}  // namespace

// A player's style file in the user folder is listed beside the shipped
// ones and loads by its name; one of the same name as a shipped file is
// listed once and is the one loaded.
TEST(StyleList, TheUserFolderAddsStylesAndComesFirst) {
  ScopedTempDir tmp;
  const std::string data = tmp.path() + "/data", user = tmp.path() + "/user";
  ASSERT_EQ(mkdir(data.c_str(), 0755), 0);
  ASSERT_EQ(mkdir(user.c_str(), 0700), 0);
  const std::string squares = read_file(game_path("fgboards.dat"));
  const std::string hexagons = read_file(game_path("fgboards-hx.dat"));
  ASSERT_FALSE(squares.empty());
  ASSERT_FALSE(hexagons.empty());
  write_file(data + "/fgboards.dat", squares);
  write_file(data + "/fgboards-a.dat", squares);
  write_file(user + "/fgboards-me.dat", hexagons);
  write_file(user + "/fgboards-a.dat", hexagons);

  const FoldersReset reset;
  set_game_folders(GameFolders{FOLDERS_INSTALLED, data, user});
  EXPECT_EQ(list_style_files(), (std::vector<std::string>{"fgboards-a.dat", "fgboards-me.dat", "fgboards.dat"}));
  GameId id{};
  ASSERT_EQ(parse_game_id("fgboards-me.dat:0:0:0:1", id), GAME_ID_OK);
  EXPECT_EQ(check_game_id_style(id), GAME_ID_OK);
  ASSERT_EQ(load_board("fgboards-me.dat", 0, 0), BOARD_LOADED);
  EXPECT_STREQ(board_file_name, "fgboards-me.dat");
  const int hexagon_cells = board.cell_count;
  ASSERT_EQ(load_board("fgboards-a.dat", 0, 0), BOARD_LOADED);
  EXPECT_EQ(board.cell_count, hexagon_cells) << "the user folder's fgboards-a.dat";
  ASSERT_EQ(load_board("fgboards.dat", 0, 0), BOARD_LOADED);
  EXPECT_NE(board.cell_count, hexagon_cells);

  // One folder in the portable game: listed once.
  set_game_folders(GameFolders{FOLDERS_PORTABLE, data, data});
  EXPECT_EQ(list_style_files(), (std::vector<std::string>{"fgboards-a.dat", "fgboards.dat"}));
  set_game_folders(GameFolders{});
  EXPECT_TRUE(list_style_files().empty()) << "the current folder holds only the two folders";
}
