// Allegro without a display for the benchmarks, as the game sets it up:
// run from the game folder, they share one set-up however many run.
#pragma once

#include <allegro.h>

#include <cerrno>
#include <cstdlib>

#include "platform/lifecycle.h"

// Installs the library once (no system driver, 8-bit colour).
inline void ensure_allegro() {
  if (!system_driver) {
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(8);
  }
}

// The library, the main datafile and the two 800x600 screen bitmaps; false
// when the datafile cannot be loaded (not run from the game folder).
inline bool ensure_game_screen() {
  ensure_allegro();
  if (!MainDatafile) MainDatafile = load_datafile("fgridgx.dat");
  if (!BackBuffer) BackBuffer = create_bitmap_ex(8, 800, 600);
  if (!SceneBuffer) SceneBuffer = create_bitmap_ex(8, 800, 600);
  screen_width = 800;
  screen_height = 600;
  return MainDatafile && BackBuffer && SceneBuffer;
}
