#include "palette/palette_files.h"

#include <cstdio>
#include <cstring>

#include "app/lifecycle.h"
#include "app/main_datafile.h"
#include "app/settings.h"

static_assert(sizeof(RGB) == 4, "a palette file entry is one RGB record");

int read_palette_file(const char* file_name, RGB* palette) {
  if (!file_name || !palette) return 0;
  // The folder is relative to the current one, with the platform's separator.
  char path[64];
  std::snprintf(path, sizeof path, "Colors/%.31s", file_name);
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return 0;
  const size_t got = std::fread(palette, 1, PALETTE_FILE_SIZE, f);
  std::fclose(f);
  return got == PALETTE_FILE_SIZE ? 1 : 0;
}

void apply_current_palette() {
  RGB* fallback = MainDatafile ? static_cast<RGB*>(MainDatafile[OBJ_DEFAULT_PALETTE].dat) : nullptr;
  if (settings.palette_name[0] != '\0') {
    char name[sizeof settings.palette_name + 1] = {};
    std::memcpy(name, settings.palette_name, sizeof settings.palette_name);
    PALETTE pal;
    if (read_palette_file(name, pal)) {
      set_palette(pal);
      return;
    }
    std::memset(settings.palette_name, 0, sizeof settings.palette_name);
  }
  if (fallback) set_palette(fallback);
}
