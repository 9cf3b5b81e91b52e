#include "ui/prompts.h"

#include <allegro.h>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "render/board_draw.h"
#include "palette/palette_entries.h"
#include "rules/board_state.h"
#include "sound/sound.h"
#include "ui/frames.h"
#include "ui/widgets.h"

const char PROMPT_TEXTS[PROMPT_TEXT_COUNT][PROMPT_TEXT_SIZE] = {
    "Game Paused - Press P or Pause Key To Resume",
    "Please enter a name for your new color palette.",
    "Press ESC to cancel.",
    "A color palette by that name already exists. Overwrite? (Y/N)",
    "Unable to write palette. Press any key to return.",
    "Unable to create palette file. Press any key to return.",
    "Unable to switch graphics modes. Press any key to continue.",
    "Sound system not initialized. Press any key to continue.",
    "One-Click boards do not make high-scores. Press any key to continue."};

namespace {


int enter_down() { return key[KEY_ENTER] || key[KEY_ENTER_PAD]; }

// One frame of the information page: the page from the SceneBuffer and
// the button over it.
void show_info_frame(const TextButton* ok) {
  copy_scene();
  text_button_draw(ok, BackBuffer);
  present_frame();
}

}  // namespace

void show_wait_notice() {
  copy_scene();
  draw_frame(BackBuffer, 320, 268, 479, 331);
  draw_text_centre(BackBuffer, 400, 296, COL_MENU_FONT, "One moment please...");
  present_frame();
}

void prompt_any_key(int width, const char* text) {
  play_effect(SFX_MESSAGE);
  clear_keybuf();
  const int half = width / 2;
  do {
    copy_scene();
    draw_frame(BackBuffer, 400 - half, 284, half + 399, 315);
    // Drawn as plain text, so a stray per-cent sign cannot act as a format.
    draw_text_centre(BackBuffer, 400, 296, COL_MENU_FONT, text ? text : "");
    present_frame();
  } while (!keypressed());
}

void show_info_page() {
  draw_frame(SceneBuffer, 76, 52, 723, 531);
  draw_frame(SceneBuffer, 148, 532, 723, 547);
  draw_character_ex(SceneBuffer, static_cast<BITMAP*>(MainDatafile[OBJ_INFO_PAGE].dat), 80, 52, COL_MENU_FONT, -1);

  TextButton ok;
  text_button_init(&ok, 76, 532, 147, 547, "OK!", ALIGN_CENTRE, 1);
  // Every wait for a key to come up keeps presenting the page, one frame
  // per pass, so the clock and the window's close button stay live.
  for (;;) {
    text_button_update(&ok);
    int done = 0;
    if (ok.state == BUTTON_CLICKED || enter_down()) {
      while (enter_down()) show_info_frame(&ok);
      done = 1;
    }
    show_info_frame(&ok);
    if (key[KEY_ESC]) {
      while (key[KEY_ESC]) show_info_frame(&ok);
      done = 1;
    }
    if (done) return;
  }
}

void blank_play_area() {
  if (game.phase == IDLE) return;
  rectfill(SceneBuffer, 88, 16, 799, 599, COL_BACKGROUND);
  copy_scene();
  present_frame();
  redraw_requested = 1;
}
