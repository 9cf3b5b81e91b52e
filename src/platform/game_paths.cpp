#include "platform/game_paths.h"

#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/safe_file.h"

const char* const USER_FOLDER_NAME = "fusegrid";

namespace {

GameFolders folders;

// The folder part of an absolute path: "/a/b/c" -> "/a/b", "/c" -> "/".
std::string parent_of(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string joined(const std::string& folder, const char* name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

bool absolute(const char* path) { return path && path[0] == '/'; }

bool exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// mkdir of one folder; an existing folder is fine.
int make_folder(const std::string& path, mode_t mode) {
  if (mkdir(path.c_str(), mode) == 0) return 0;
  const int error = errno;
  struct stat st;
  if (error == EEXIST) return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
  return error;
}

}  // namespace

GameFolders decide_game_folders(const char* binary_path, const char* home, const char* xdg_data_home) {
  GameFolders decided;
  if (!absolute(binary_path)) return decided;
  const std::string binary_folder = parent_of(binary_path);
  if (exists(joined(binary_folder, "fgridgx.dat"))) {
    decided.mode = FOLDERS_PORTABLE;
    decided.data = decided.user = binary_folder;
    return decided;
  }
  decided.mode = FOLDERS_INSTALLED;
  decided.data = joined(parent_of(binary_folder), "share/fusegrid");
  // A relative XDG_DATA_HOME is ignored, as an unset one.
  if (absolute(xdg_data_home))
    decided.user = joined(xdg_data_home, USER_FOLDER_NAME);
  else if (absolute(home))
    decided.user = joined(joined(home, ".local/share"), USER_FOLDER_NAME);
  return decided;
}

int prepare_user_folder(const std::string& folder, int* error) {
  int failure = folder.empty() || folder[0] != '/' ? ENOENT : 0;
  // Every missing parent first, then the folder itself.
  for (size_t at = folder.find('/', 1); failure == 0 && at != std::string::npos; at = folder.find('/', at + 1))
    failure = make_folder(folder.substr(0, at), 0755);
  if (failure == 0) failure = make_folder(folder, 0700);
  if (failure == 0 && access(folder.c_str(), W_OK | X_OK) != 0) failure = errno;
  if (error) *error = failure;
  return failure == 0 ? 1 : 0;
}

void set_game_folders(const GameFolders& chosen) { folders = chosen; }

const GameFolders& game_folders() { return folders; }

int init_game_paths(const char* argv0) {
  char binary[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", binary, sizeof binary - 1);
  std::string binary_path;
  if (n > 0) {
    binary[n] = '\0';
    binary_path = binary;
  } else if (argv0 && std::strchr(argv0, '/') && realpath(argv0, binary)) {
    binary_path = binary;
  }
  if (binary_path.empty()) return 1;  // every file stays in the current folder
  set_game_folders(decide_game_folders(binary_path.c_str(), getenv("HOME"), getenv("XDG_DATA_HOME")));
  if (folders.mode != FOLDERS_INSTALLED) return 1;
  if (folders.user.empty()) {
    std::fprintf(stderr, "fusegrid: neither XDG_DATA_HOME nor HOME is set; settings are kept for this session only\n");
    return 0;
  }
  int error = 0;
  if (prepare_user_folder(folders.user, &error)) return 1;
  std::fprintf(stderr, "fusegrid: cannot use %s for settings: %s; settings are kept for this session only\n",
               folders.user.c_str(), std::strerror(error));
  return 0;
}

const char* data_folder() { return folders.data.c_str(); }
const char* user_folder() { return folders.user.c_str(); }

std::string data_path(const char* name) { return joined(folders.data, name); }

std::string user_path(const char* name) {
  if (folders.mode != FOLDERS_CURRENT && folders.user.empty()) return std::string();
  return joined(folders.user, name);
}

bool is_plain_file_name(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name)
    if (c <= ' ' || c > '~' || c == '/') return false;
  return true;
}

std::string find_game_file(const char* name) {
  if (!name || std::strchr(name, '/')) return name ? name : "";
  const std::string own = user_path(name);
  if (!own.empty() && exists(own)) return own;
  return data_path(name);
}

int user_folder_lock_wait_ms = 2000;

UserFolderLock::UserFolderLock() : fd_(-1) {
  if (folders.mode != FOLDERS_CURRENT && folders.user.empty()) return;
  fd_ = lock_folder(folders.user.c_str(), user_folder_lock_wait_ms);
}

UserFolderLock::~UserFolderLock() { release_folder_lock(fd_); }

int remove_stale_user_temp_files(const char* const* names, int count) {
  UserFolderLock lock;
  if (!lock.held()) return 0;
  return remove_stale_temp_files(folders.user.c_str(), names, count);
}
