// Prints the screen position of the centre of every cell of a board, one
// "x y" line per cell, as the game places the board when it loads it:
//   cell_centres GAME_DIR STYLE_FILE PATTERN
// The end-to-end tests click cells by these positions.
#include <allegro.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "board/board_load.h"
#include "board/geometry.h"
#include "rules/board_state.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s GAME_DIR STYLE_FILE PATTERN\n", argv[0]);
    return 2;
  }
  if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0 || chdir(argv[1]) != 0) return 1;
  set_color_depth(8);
  init_board();
  init_game_session();
  if (!load_board(argv[2], std::atoi(argv[3]), 0)) {
    std::fprintf(stderr, "cannot load %s pattern %s\n", argv[2], argv[3]);
    return 1;
  }
  for (int i = 0; i < board.cell_count; i++) {
    const Cell& c = board.cells[i];
    const ShapeInfo& s = shape_info[c.shape];
    std::printf("%d %d\n", c.x + s.symbol_x + 8, c.y + s.symbol_y + 8);
  }
  return 0;
}
