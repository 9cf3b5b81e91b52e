#include "support/headless.h"

#include "platform/game_paths.h"

#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/lifecycle.h"
#include "rules/board_state.h"
#include "screens/game_events.h"

std::string game_path(const char* name) { return std::string(FG_GAME_DIR) + "/" + name; }

void HeadlessEnvironment::SetUp() {
  ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0);
  set_color_depth(8);
  MainDatafile = load_datafile(game_path("fgridgx.dat").c_str());
  SoundDatafile = load_datafile(game_path("fgridsfx.dat").c_str());
  ASSERT_NE(MainDatafile, nullptr);
  ASSERT_NE(SoundDatafile, nullptr);
  BackBuffer = create_bitmap_ex(8, 800, 600);
  SceneBuffer = create_bitmap_ex(8, 800, 600);
  screen_width = 800;
  screen_height = 600;
  init_board();
  init_game_session();
  // Frames start as the game's do: sound flags cleared, the shake applied.
  prepare_frame_hook = prepare_frame;
}

void HeadlessEnvironment::TearDown() {
  destroy_bitmap(BackBuffer);
  destroy_bitmap(SceneBuffer);
  BackBuffer = SceneBuffer = nullptr;
  unload_datafile(MainDatafile);
  unload_datafile(SoundDatafile);
  MainDatafile = SoundDatafile = nullptr;
}

ScopedTempDir::ScopedTempDir() {
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd)) previous_ = cwd;
  char tmpl[] = "/tmp/fgtest.XXXXXX";
  const char* made = mkdtemp(tmpl);
  path_ = made ? made : "/tmp";
  if (chdir(path_.c_str()) != 0) ADD_FAILURE() << "cannot enter " << path_;
}

ScopedTempDir::~ScopedTempDir() {
  if (!previous_.empty() && chdir(previous_.c_str()) != 0) ADD_FAILURE() << "cannot return to " << previous_;
  std::string cmd = "rm -rf '" + path_ + "'";
  if (path_.rfind("/tmp/fgtest.", 0) == 0 && std::system(cmd.c_str()) != 0) ADD_FAILURE() << "cannot remove " << path_;
}

ScopedUserFolder::ScopedUserFolder() {
  char cwd[4096];
  char tmpl[] = "/tmp/fgtest.XXXXXX";
  const char* made = mkdtemp(tmpl);
  path_ = made ? made : "";
  if (!made || !getcwd(cwd, sizeof cwd)) {
    ADD_FAILURE() << "no temporary user folder";
    return;
  }
  set_game_folders(GameFolders{FOLDERS_INSTALLED, cwd, path_});
}

ScopedUserFolder::~ScopedUserFolder() {
  set_game_folders(GameFolders{});
  std::string cmd = "rm -rf '" + path_ + "'";
  if (path_.rfind("/tmp/fgtest.", 0) == 0 && std::system(cmd.c_str()) != 0) ADD_FAILURE() << "cannot remove " << path_;
}

ScopedWatchdog::ScopedWatchdog(unsigned seconds) { alarm(seconds); }
ScopedWatchdog::~ScopedWatchdog() { alarm(0); }

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string read_and_close_stream(FILE* f) {
  std::string s;
  std::rewind(f);
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  std::fclose(f);
  return s;
}

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> folder_entries(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* d = opendir(folder.c_str())) {
    while (const dirent* e = readdir(d))
      if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) names.push_back(e->d_name);
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

int picture_misses(BITMAP* shown, BITMAP* pic, int x, int y) {
  int misses = 0;
  for (int j = 0; j < pic->h; j++)
    for (int i = 0; i < pic->w; i++) {
      const int c = getpixel(pic, i, j);
      if (c != 0 && getpixel(shown, x + i, y + j) != c) misses++;
    }
  return misses;
}

int with_file_size_limit(long bytes, const std::function<int()>& write) {
  struct rlimit saved;
  if (getrlimit(RLIMIT_FSIZE, &saved) != 0) return -1;
  struct rlimit small = saved;
  small.rlim_cur = static_cast<rlim_t>(bytes);
  void (*old_handler)(int) = std::signal(SIGXFSZ, SIG_IGN);
  if (setrlimit(RLIMIT_FSIZE, &small) != 0) {
    std::signal(SIGXFSZ, old_handler);
    return -1;
  }
  const int result = write();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);
  return result;
}
