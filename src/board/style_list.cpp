#include "board/style_list.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "platform/game_paths.h"

const char* const STYLE_FILE_PATTERN = "FGBOARDS*.DAT";

int is_style_file_name(const char* name) { return fnmatch(STYLE_FILE_PATTERN, name, FNM_CASEFOLD) == 0 ? 1 : 0; }

std::vector<std::string> find_style_files(const char* folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder);
  if (!dir) return names;
  while (const dirent* entry = readdir(dir)) {
    if (!is_style_file_name(entry->d_name) || std::strlen(entry->d_name) > 15) continue;
    std::string path = std::string(folder) + "/" + entry->d_name;
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(entry->d_name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> list_style_files() {
  // An empty data folder stands for the current one.
  const char* shipped_folder = data_folder()[0] ? data_folder() : ".";
  std::vector<std::string> names = find_style_files(shipped_folder);
  // No user folder, or the same folder (the portable game).
  if (!user_folder()[0] || std::strcmp(user_folder(), data_folder()) == 0) return names;
  const size_t shipped = names.size();
  for (const std::string& own : find_style_files(user_folder()))
    if (!std::binary_search(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(shipped), own))
      names.push_back(own);
  std::sort(names.begin(), names.end());
  return names;
}
