#include "palette/palette_files.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/lifecycle.h"
#include "platform/game_paths.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "platform/safe_file.h"

static_assert(sizeof(RGB) == 4, "a palette file entry is one RGB record");

int is_palette_file_name(const char* file_name) {
  if (!file_name) return 0;
  const size_t length = std::strlen(file_name);
  if (length < 1 || length > 31 || std::strchr(file_name, '/')) return 0;
  return std::strcmp(file_name, ".") != 0 && std::strcmp(file_name, "..") != 0 ? 1 : 0;
}

namespace {

const char* const PALETTE_FOLDER = "Colors";

// "<folder>/Colors/<file_name>", or "" when there is no such folder.
std::string palette_path(const std::string& colors, const char* file_name) {
  return colors.empty() ? std::string() : colors + "/" + file_name;
}

// The user folder's palettes first: a player's file hides a shipped one
// of the same name. Both are one folder in the portable game.
std::vector<std::string> palette_folders() {
  std::vector<std::string> found;
  const std::string own = user_path(PALETTE_FOLDER);
  const std::string shipped = data_path(PALETTE_FOLDER);
  if (!own.empty()) found.push_back(own);
  if (shipped != own) found.push_back(shipped);
  return found;
}

int read_palette_at(const std::string& path, RGB* palette) {
  std::FILE* f = path.empty() ? nullptr : fopen_regular_file(path.c_str());
  if (!f) return 0;
  const size_t got = std::fread(palette, 1, PALETTE_FILE_SIZE, f);
  std::fclose(f);
  return got == PALETTE_FILE_SIZE ? 1 : 0;
}

}  // namespace

std::string palette_save_folder() { return user_path(PALETTE_FOLDER); }

int read_palette_file(const char* file_name, RGB* palette) {
  if (!is_palette_file_name(file_name) || !palette) return 0;
  // The first folder that holds anything of that name is the one read.
  for (const std::string& colors : palette_folders()) {
    const std::string path = palette_path(colors, file_name);
    struct stat st;
    if (lstat(path.c_str(), &st) == 0) return read_palette_at(path, palette);
  }
  return 0;
}

std::vector<std::string> list_palette_files(int max_count) {
  std::vector<std::string> names;
  for (const std::string& colors : palette_folders()) {
    DIR* dir = opendir(colors.c_str());
    if (!dir) continue;
    while (const dirent* found = readdir(dir)) {
      if (static_cast<int>(names.size()) >= max_count) break;
      if (fnmatch("*.FCL", found->d_name, FNM_CASEFOLD) != 0) continue;
      if (std::find(names.begin(), names.end(), found->d_name) != names.end()) continue;  // listed already
      PALETTE probe;
      if (!read_palette_file(found->d_name, probe)) continue;  // unreadable or short
      names.push_back(found->d_name);
    }
    closedir(dir);
  }
  // Byte by byte as signed 8-bit values up to the first difference.
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    for (size_t k = 0;; k++) {
      const int ca = static_cast<signed char>(a.c_str()[k]);
      const int cb = static_cast<signed char>(b.c_str()[k]);
      if (ca != cb) return ca < cb;
      if (ca == 0) return false;
    }
  });
  return names;
}

void apply_current_palette() {
  RGB* fallback = MainDatafile ? static_cast<RGB*>(MainDatafile[OBJ_DEFAULT_PALETTE].dat) : nullptr;
  if (settings.palette_name[0] != '\0') {
    // The name comes from the settings file as it is: only a terminated
    // plain file name is looked up.
    const bool terminated = std::memchr(settings.palette_name, '\0', sizeof settings.palette_name) != nullptr;
    PALETTE pal;
    if (terminated && read_palette_file(settings.palette_name, pal)) {
      set_palette(pal);
      return;
    }
    std::memset(settings.palette_name, 0, sizeof settings.palette_name);
  }
  if (fallback) set_palette(fallback);
}
