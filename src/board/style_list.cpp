#include "board/style_list.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "board/style_file.h"
#include "board/style_layout.h"
#include "platform/datafile_check.h"
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

DATAFILE* load_valid_style(const char* file) {
  DATAFILE* dat = load_checked_datafile(find_game_file(file).c_str());
  if (!dat) return nullptr;
  if (!passes_signature(dat) || !validate_style(dat)) {
    unload_datafile(dat);
    return nullptr;
  }
  return dat;
}

namespace {

std::string name_field(const uint8_t* field) {
  const char* text = reinterpret_cast<const char*>(field);
  return std::string(text, strnlen(text, STYLE_NAME_SIZE));
}

}  // namespace

std::string style_name_of(const DATAFILE* style) { return name_field(style_layout(style, nullptr)); }

std::string pattern_name_of(const DATAFILE* style, int pattern) {
  const uint8_t* layout = style_layout(style, nullptr);
  if (pattern < 0 || pattern >= read_u8(layout, 0x21) || pattern >= MAX_PATTERNS) return std::string();
  const uint32_t table = read_u32(layout, 0x26);
  return name_field(layout + read_u32(layout, table + 4u * static_cast<uint32_t>(pattern)));
}
