#include "palette/palette_files.h"

#include <cstdio>
#include <cstring>

#include "platform/lifecycle.h"
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

int read_palette_file(const char* file_name, RGB* palette) {
  if (!is_palette_file_name(file_name) || !palette) return 0;
  // The folder is relative to the current one, with the platform's separator.
  char path[64];
  std::snprintf(path, sizeof path, "Colors/%s", file_name);
  std::FILE* f = fopen_regular_file(path);
  if (!f) return 0;
  const size_t got = std::fread(palette, 1, PALETTE_FILE_SIZE, f);
  std::fclose(f);
  return got == PALETTE_FILE_SIZE ? 1 : 0;
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
