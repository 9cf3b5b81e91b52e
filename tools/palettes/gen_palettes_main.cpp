// Writes the shipped palette files into the folder "Colors" of the game.
//   fg_gen_palettes COLORS_DIR
#include <cstdio>
#include <string>

#include "palettes/shipped_palettes.h"
#include "platform/safe_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s COLORS_DIR\n", argv[0]);
    return 2;
  }
  for (const ShippedPalette& shipped : SHIPPED_PALETTES) {
    PALETTE pal;
    shipped.build(pal);
    unsigned char bytes[1024];
    palette_file_bytes(pal, bytes);
    const std::string path = std::string(argv[1]) + "/" + shipped.file_name;
    if (write_file_whole(path.c_str(), bytes, sizeof bytes) != WRITE_DONE) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
