#include "app/main_screen.h"

#include <allegro.h>

#include "app/lifecycle.h"
#include "app/main_datafile.h"
#include "palette/palette_entries.h"
#include "rules/board_state.h"
#include "sound/sound.h"
#include "ui/frames.h"

int redraw_requested = 0;

namespace {

BITMAP* object_bitmap(int index) { return static_cast<BITMAP*>(MainDatafile[index].dat); }

void draw_bar_button(BITMAP* bmp, int x1, int y1, int x2, int y2, const char* caption, int align) {
  draw_frame(bmp, x1, y1, x2, y2);
  draw_caption(bmp, x1, y1, x2, y2, caption, align, 0);
}

}  // namespace

void draw_main_screen_scene() {
  BITMAP* s = SceneBuffer;
  clear_to_color(s, COL_BACKGROUND);
  // Menu bar.
  draw_bar_button(s, 0, 0, 127, 15, "File", ALIGN_LEFT);
  draw_bar_button(s, 128, 0, 255, 15, "Options", ALIGN_LEFT);
  draw_frame(s, 256, 0, screen_width - 49, 15);
  draw_frame(s, screen_width - 48, 0, screen_width - 1, 15);
  draw_sprite(s, object_bitmap(game.face), 764, 0);
  // Status panel: no readouts until a board is in play.
  int k = game.status_count;
  int y = 16;
  for (int slot = 0; slot < STATUS_SLOTS; slot++) {
    if (game.status_row[slot] != 1) continue;
    draw_sprite(s, object_bitmap(OBJ_BADGE_FIRST + slot), 0, y);
    y += 32;
  }
  blit(object_bitmap(OBJ_PANEL_SEPARATOR), s, 0, 0, 0, 16 + 32 * k, 88, 2);
  blit(object_bitmap(OBJ_PANEL_BOTTOM), s, 0, 0, 0, screen_height - 2, 88, 2);
  stretch_blit(object_bitmap(OBJ_PANEL_FILLER), s, 0, 0, 88, 1, 0, 18 + 32 * k, 88, 580 - 32 * k);
  draw_bar_button(s, 8, 544, 79, 592, "Check!", ALIGN_CENTRE);
}

void run_main_screen() {
  set_palette(static_cast<RGB*>(MainDatafile[OBJ_DEFAULT_PALETTE].dat));
  clear_to_color(screen, 0);
  draw_main_screen_scene();
  clear_to_color(BackBuffer, 0);
  int was_down = 0;
  while (!key[KEY_ESC]) {
    // The menu bar answers a press with a click.
    const int down = mouse_b != 0;
    if (down && !was_down && (mouse_in_rect(0, 0, 127, 15) || mouse_in_rect(128, 0, 255, 15))) play_effect(SFX_CLICK);
    was_down = down;
    blit(SceneBuffer, BackBuffer, 0, 0, 0, 0, SceneBuffer->w, SceneBuffer->h);
    present_frame();
  }
}
