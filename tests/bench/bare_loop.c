/* The baseline for the game's idle CPU share: the least a frame loop can
 * do here, vsync and one full-screen blit of an 800x600 8-bit frame to a
 * window, at the game's pace. Like the game, it installs a do-nothing
 * interrupt at the retrace rate: the library advances its simulated
 * retrace only when its timer thread wakes, and with no interrupt that
 * thread sleeps about 27 ms at a time, so vsync would pace the loop at
 * about 35 frames a second instead of 70. It closes like the game. */
#include <allegro.h>

static volatile int closing = 0;
static void on_close(void) { closing = 1; }
static void retrace_wake(void) {}

int main(void) {
  if (allegro_init() != 0 || install_timer() != 0 || install_keyboard() != 0 || install_mouse() == -1) return 1;
  if (install_int_ex(retrace_wake, BPS_TO_TIMER(70)) != 0) return 1;
  set_color_depth(8);
  if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 800, 600, 0, 0) != 0) return 1;
  set_window_title("FGrid baseline");
  set_close_button_callback(on_close);
  BITMAP *frame = create_bitmap(800, 600);
  clear_to_color(frame, 88);
  rectfill(frame, 0, 0, 799, 15, 8);
  while (!closing) {
    vsync();
    blit(frame, screen, 0, 0, 0, 0, 800, 600);
  }
  destroy_bitmap(frame);
  return 0;
}
END_OF_MAIN()
