// Fusegrid: a mine-sweeping puzzle game on boards of cells of any shape.
#include <allegro.h>

#include "platform/lifecycle.h"
#include "screens/game_events.h"
#include "screens/main_screen.h"
#include "screens/title.h"

int main() {
  start_up();
  start_game();
  run_title_sequence();
  run_press_any_key();
  pointer_visible = 1;
  pause_requested = 0;
  run_main_screen();
  shutdown();
  return 0;
}
END_OF_MAIN()
