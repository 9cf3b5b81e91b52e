#include "platform/game_paths.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/extra_settings.h"
#include "platform/settings.h"
#include "support/headless.h"

namespace {

// Back to the current folder at the end of a test, failed or not.
struct FoldersReset {
  ~FoldersReset() { set_game_folders(GameFolders{}); }
};

// A game folder beside its datafile, and an installed layout without one.
struct Layouts {
  ScopedTempDir tmp;
  std::string game = tmp.path() + "/game";
  std::string prefix = tmp.path() + "/prefix";
  Layouts() {
    EXPECT_EQ(mkdir(game.c_str(), 0755), 0);
    write_file(game + "/fgridgx.dat", "x");
    EXPECT_EQ(mkdir(prefix.c_str(), 0755), 0);
    EXPECT_EQ(mkdir((prefix + "/bin").c_str(), 0755), 0);
    EXPECT_EQ(mkdir((prefix + "/games").c_str(), 0755), 0);
  }
};

TEST(GamePaths, TheFoldersFollowTheBinaryAndTheEnvironment) {
  Layouts l;
  const std::string installed = l.prefix + "/bin/fusegrid";
  const std::string data = l.prefix + "/share/fusegrid";
  const std::string home = l.tmp.path() + "/home";
  const std::string xdg = l.tmp.path() + "/xdg";
  struct Row {
    const char* what;
    std::string binary;
    const char* home;
    const char* xdg;
    GameFolderMode mode;
    std::string data, user;
  };
  const Row rows[] = {
      {"portable", l.game + "/fusegrid", home.c_str(), xdg.c_str(), FOLDERS_PORTABLE, l.game, l.game},
      {"installed, XDG_DATA_HOME", installed, home.c_str(), xdg.c_str(), FOLDERS_INSTALLED, data, xdg + "/fusegrid"},
      {"installed, HOME", installed, home.c_str(), nullptr, FOLDERS_INSTALLED, data, home + "/.local/share/fusegrid"},
      {"installed, empty XDG_DATA_HOME", installed, home.c_str(), "", FOLDERS_INSTALLED, data,
       home + "/.local/share/fusegrid"},
      {"installed, relative XDG_DATA_HOME", installed, home.c_str(), "rel/xdg", FOLDERS_INSTALLED, data,
       home + "/.local/share/fusegrid"},
      {"installed, relative HOME", installed, "rel/home", nullptr, FOLDERS_INSTALLED, data, ""},
      {"installed, no HOME", installed, nullptr, nullptr, FOLDERS_INSTALLED, data, ""},
      {"installed in games/, as Debian keeps games", l.prefix + "/games/fusegrid", home.c_str(), nullptr,
       FOLDERS_INSTALLED, data, home + "/.local/share/fusegrid"},
      {"no binary path", "", home.c_str(), nullptr, FOLDERS_CURRENT, "", ""},
      {"relative binary path", "game/fusegrid", home.c_str(), nullptr, FOLDERS_CURRENT, "", ""},
  };
  for (const Row& r : rows) {
    const GameFolders f = decide_game_folders(r.binary.c_str(), r.home, r.xdg);
    EXPECT_EQ(f.mode, r.mode) << r.what;
    EXPECT_EQ(f.data, r.data) << r.what;
    EXPECT_EQ(f.user, r.user) << r.what;
  }
}

TEST(GamePaths, TheUserFolderIsMadeOrRefusedWithItsReason) {
  ScopedTempDir tmp;
  write_file(tmp.path() + "/file", "x");
  struct Row {
    std::string folder;
    int usable;
    int error;
  };
  const Row rows[] = {
      {tmp.path() + "/home/.local/share/fusegrid", 1, 0},  // parents made too
      {tmp.path() + "/home/.local/share/fusegrid", 1, 0},  // there already
      {tmp.path() + "/file", 0, ENOTDIR},                  // a file in its place
      {tmp.path() + "/file/fusegrid", 0, ENOTDIR},         // a file in a parent's place
      {"", 0, ENOENT},
  };
  for (const Row& r : rows) {
    int error = -1;
    EXPECT_EQ(prepare_user_folder(r.folder, &error), r.usable) << r.folder;
    EXPECT_EQ(error, r.error) << r.folder;
  }
  struct stat st;
  ASSERT_EQ(stat((tmp.path() + "/home/.local/share/fusegrid").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_EQ(stat((tmp.path() + "/home/.local").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u);
}

// Permissions do not bind root: as root, the check runs in a child that
// has given up its privileges.
TEST(GamePaths, AReadOnlyParentLeavesNoUserFolder) {
  ScopedTempDir tmp;
  ASSERT_EQ(chmod(tmp.path().c_str(), 0755), 0);
  const std::string parent = tmp.path() + "/home";
  ASSERT_EQ(mkdir(parent.c_str(), 0555), 0);
  const auto check = [&] {
    int error = 0;
    const int made = prepare_user_folder(parent + "/fusegrid", &error);
    return made == 0 && error == EACCES;
  };
  if (geteuid() != 0) {
    EXPECT_TRUE(check());
  } else {
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
      _exit(dropped && check() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_NE(access((parent + "/fusegrid").c_str(), F_OK), 0);
  chmod(parent.c_str(), 0755);
}

// The test binary has no datafile beside it: an installed layout, whose
// user folder here is taken by a file. One line tells, and the player's
// files have nowhere to go.
TEST(GamePaths, AnUnusableUserFolderIsToldOnceOnStandardError) {
  ScopedTempDir tmp;
  write_file(tmp.path() + "/fusegrid", "x");
  const char* old_xdg = getenv("XDG_DATA_HOME");
  const std::string kept_xdg = old_xdg ? old_xdg : "";
  setenv("XDG_DATA_HOME", tmp.path().c_str(), 1);
  testing::internal::CaptureStderr();
  const int usable = init_game_paths(nullptr);
  const std::string said = testing::internal::GetCapturedStderr();
  const GameFolders chosen = game_folders();
  set_game_folders(GameFolders{});
  if (old_xdg)
    setenv("XDG_DATA_HOME", kept_xdg.c_str(), 1);
  else
    unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(usable, 0);
  EXPECT_EQ(chosen.mode, FOLDERS_INSTALLED);
  EXPECT_EQ(said, "fusegrid: cannot use " + tmp.path() +
                      "/fusegrid for settings: Not a directory; settings are kept for this session only\n");
}

TEST(GamePaths, NamesResolveInTheirFolders) {
  ScopedTempDir tmp;
  const std::string data = tmp.path() + "/data", user = tmp.path() + "/user";
  ASSERT_EQ(mkdir(data.c_str(), 0755), 0);
  ASSERT_EQ(mkdir(user.c_str(), 0700), 0);
  write_file(data + "/shipped.dat", "d");
  write_file(data + "/both.dat", "d");
  write_file(user + "/both.dat", "u");
  write_file(user + "/own.dat", "u");

  EXPECT_EQ(data_path("x"), "x") << "nothing set: the current folder";
  EXPECT_EQ(user_path("x"), "x");
  EXPECT_EQ(find_game_file("own.dat"), "own.dat");

  const FoldersReset reset;
  set_game_folders(GameFolders{FOLDERS_INSTALLED, data, user});
  EXPECT_EQ(data_path("fgridgx.dat"), data + "/fgridgx.dat");
  EXPECT_EQ(user_path("fgrid.cfg"), user + "/fgrid.cfg");
  EXPECT_EQ(find_game_file("shipped.dat"), data + "/shipped.dat");
  EXPECT_EQ(find_game_file("both.dat"), user + "/both.dat");
  EXPECT_EQ(find_game_file("own.dat"), user + "/own.dat");
  EXPECT_EQ(find_game_file("missing.dat"), data + "/missing.dat");
  EXPECT_EQ(find_game_file("sub/own.dat"), "sub/own.dat");

  set_game_folders(GameFolders{FOLDERS_INSTALLED, data, ""});
  EXPECT_EQ(user_path("fgrid.cfg"), "") << "no user folder: no file";
  EXPECT_EQ(write_settings(), 0);
  EXPECT_EQ(write_extra_settings(), 0);
  EXPECT_EQ(folder_entries(tmp.path()), (std::vector<std::string>{"data", "user"})) << "nothing in the current folder";
  EXPECT_EQ(find_game_file("both.dat"), data + "/both.dat");
  set_game_folders(GameFolders{});
}

}  // namespace
