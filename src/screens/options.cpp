#include "screens/options.h"

#include <allegro.h>

#include <cstdio>
#include <cstring>

#include "platform/extra_settings.h"
#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "palette/palette_entries.h"
#include "palette/palette_files.h"
#include "sound/sound.h"
#include "ui/frames.h"
#include "ui/prompts.h"
#include "ui/scroll_bar.h"
#include "ui/widgets.h"

const float CHAIN_SPEED_VALUES[CHAIN_SPEED_COUNT] = {0.1f, 0.075f, 0.05f, 0.0f};

const char OPTION_LABELS[OPTION_LABEL_COUNT][OPTION_LABEL_SIZE] = {"Slow", "Normal",      "Fast",
                                                                   "Instant", "Full Screen", "Windowed"};

int (*display_mode_switch)(int windowed, int width, int height) = set_display_mode;

int chain_speed_index(float chain_speed) {
  if (chain_speed == CHAIN_SPEED_VALUES[SPEED_INSTANT]) return SPEED_INSTANT;
  if (chain_speed == CHAIN_SPEED_VALUES[SPEED_FAST]) return SPEED_FAST;
  if (chain_speed == CHAIN_SPEED_VALUES[SPEED_NORMAL]) return SPEED_NORMAL;
  return SPEED_SLOW;
}

namespace {

BITMAP* picture(int index) { return static_cast<BITMAP*>(MainDatafile[index].dat); }

int enter_down() { return key[KEY_ENTER] || key[KEY_ENTER_PAD]; }
int closing_key_down() { return key[KEY_ESC] || enter_down(); }


// A face drawn by the dialog itself: pressed is a flat fill with the
// caption moved by one pixel, otherwise a raised frame.
void draw_face(BITMAP* bmp, const AreaButton& area, const char* caption, int pressed) {
  if (pressed)
    rectfill(bmp, area.x1, area.y1, area.x2, area.y2, COL_MENU_BG);
  else
    draw_frame(bmp, area.x1, area.y1, area.x2, area.y2);
  draw_caption(bmp, area.x1, area.y1, area.x2, area.y2, caption, ALIGN_CENTRE, pressed);
}

// How a dialog loop ended.
enum Outcome { STILL_OPEN, ACCEPTED, CANCELLED };

Outcome outcome_of(const TextButton& ok, const TextButton& cancel) {
  if (ok.state == BUTTON_CLICKED) return ACCEPTED;
  if (cancel.state == BUTTON_CLICKED || key[KEY_ESC]) return CANCELLED;
  if (enter_down()) return ACCEPTED;
  return STILL_OPEN;
}

// ---------------------------------------------------------------------------
// Sound options

struct SoundDialog {
  TextButton ok, cancel;
  HScrollBar volume;
  AreaButton effects[SFX_COUNT];
  uint8_t switches[SFX_COUNT];  // the working copy
};

void draw_sound_scene() {
  draw_frame(SceneBuffer, 268, 152, 531, 167);
  draw_text_centre(SceneBuffer, 400, 156, COL_MENU_FONT, "Sound Options");
  draw_frame(SceneBuffer, 268, 168, 531, 215);
  draw_text(SceneBuffer, 281, 177, COL_MENU_FONT, "Volume Control");
  draw_frame(SceneBuffer, 268, 216, 531, 431);
  draw_text_centre(SceneBuffer, 400, 225, COL_MENU_FONT, "Sound Effect Toggles");
  draw_frame(SceneBuffer, 340, 432, 459, 447);
}

void show_sound(const SoundDialog& d) {
  copy_scene();
  text_button_draw(&d.ok, BackBuffer);
  text_button_draw(&d.cancel, BackBuffer);
  hscroll_draw(&d.volume, BackBuffer);
  char text[64];
  if (d.volume.value == 0)
    std::snprintf(text, sizeof text, "Off");
  else
    std::snprintf(text, sizeof text, "%d", d.volume.value);
  draw_text(BackBuffer, 497, 197, COL_MENU_FONT, text);
  for (int e = 0; e < SFX_COUNT; e++) {
    std::snprintf(text, sizeof text, "%.39s %s", SOUND_EFFECT_LABELS[e], d.switches[e] ? "On" : "Off");
    draw_face(BackBuffer, d.effects[e], text, d.switches[e] != 0);
  }
  present_frame();
}

void preview(int effect, int volume) {
  if (SoundDatafile) play_sample(static_cast<SAMPLE*>(SoundDatafile[effect].dat), volume, 127, 1000, 0);
}

// ---------------------------------------------------------------------------
// Graphics options

const int SWITCH_X[GRAPHICS_SWITCH_COUNT] = {144, 248, 352, 456, 560};
const int SPEED_X[CHAIN_SPEED_COUNT][2] = {{144, 263}, {275, 394}, {405, 524}, {536, 655}};

// The Window Size row below the dialog's buttons: its choices and the
// window_zoom value of each.
enum { WINDOW_SIZE_COUNT = 4 };
const char* const WINDOW_SIZE_LABELS[WINDOW_SIZE_COUNT] = {"1x", "2x", "3x", "Fit"};
const int WINDOW_SIZE_VALUES[WINDOW_SIZE_COUNT] = {1, 2, 3, WINDOW_ZOOM_FIT};
const int WINDOW_SIZE_X[WINDOW_SIZE_COUNT][2] = {{256, 347}, {358, 449}, {460, 551}, {562, 655}};

int window_size_index(int window_zoom) {
  for (int i = 0; i < WINDOW_SIZE_COUNT; i++)
    if (WINDOW_SIZE_VALUES[i] == window_zoom) return i;
  return 0;
}

struct GraphicsDialog {
  TextButton ok, cancel;
  AreaButton full_screen, windowed;
  AreaButton window_sizes[WINDOW_SIZE_COUNT];
  int window_size;  // index in WINDOW_SIZE_VALUES
  ImageCheckBox switches[GRAPHICS_SWITCH_COUNT];
  AreaButton speeds[CHAIN_SPEED_COUNT];
  int speed;    // the chosen ChainSpeed
  int display;  // 0 full screen, 1 windowed
};

void draw_graphics_scene() {
  draw_frame(SceneBuffer, 136, 164, 663, 179);
  draw_text_centre(SceneBuffer, 400, 168, COL_MENU_FONT, "Graphics Options");
  draw_frame(SceneBuffer, 136, 180, 663, 315);
  draw_frame(SceneBuffer, 136, 316, 663, 379);
  draw_text(SceneBuffer, 205, 328, COL_MENU_FONT, "Chain Reaction Speed");
  draw_sprite(SceneBuffer, picture(OBJ_CHAIN_SPEED_PICTURE), 392, 324);
  draw_frame(SceneBuffer, 136, 380, 663, 419);
  draw_frame(SceneBuffer, 208, 420, 591, 435);
  draw_frame(SceneBuffer, 136, 436, 663, 467);
  draw_text(SceneBuffer, 149, 448, COL_MENU_FONT, "Window Size");
}

void show_graphics(const GraphicsDialog& d) {
  copy_scene();
  text_button_draw(&d.ok, BackBuffer);
  text_button_draw(&d.cancel, BackBuffer);
  for (const ImageCheckBox& box : d.switches) check_box_draw(&box, BackBuffer);
  for (int s = 0; s < CHAIN_SPEED_COUNT; s++) draw_face(BackBuffer, d.speeds[s], OPTION_LABELS[s], d.speed == s);
  draw_face(BackBuffer, d.full_screen, OPTION_LABELS[LABEL_FULL_SCREEN], d.display == 0);
  draw_face(BackBuffer, d.windowed, OPTION_LABELS[LABEL_WINDOWED], d.display == 1);
  for (int i = 0; i < WINDOW_SIZE_COUNT; i++)
    draw_face(BackBuffer, d.window_sizes[i], WINDOW_SIZE_LABELS[i], d.window_size == i);
  present_frame();
}

// Switches to the chosen display mode; when that fails, goes back to the
// other mode and tells the player, or ends the program when even that
// fails.
void switch_display(int choice) {
  settings.windowed = static_cast<int8_t>(choice);
  if (display_mode_switch(settings.windowed, 800, 600)) return;
  settings.windowed = static_cast<int8_t>(settings.windowed != 1 ? 1 : 0);
  if (!display_mode_switch(settings.windowed, 800, 600)) fatal_error(4);
  apply_current_palette();
  rectfill(SceneBuffer, 0, 0, 799, 599, COL_BACKGROUND);
  prompt_any_key(PROMPT_WIDTH_GRAPHICS_SWITCH_FAILED, PROMPT_TEXTS[PROMPT_GRAPHICS_SWITCH_FAILED]);
}

}  // namespace

void sound_options_dialog() {
  if (sound_state == SOUND_UNAVAILABLE) {
    prompt_any_key(PROMPT_WIDTH_NO_SOUND_SYSTEM, PROMPT_TEXTS[PROMPT_NO_SOUND_SYSTEM]);
    return;
  }
  // Previews and clicks sound while the dialog is open, also at volume 0.
  sound_state = SOUND_ON;
  SoundDialog d;
  std::memcpy(d.switches, settings.sound_switches, sizeof d.switches);
  const int old_volume = settings.volume;
  text_button_init(&d.ok, 268, 432, 339, 447, "OK!", ALIGN_CENTRE, 1);
  text_button_init(&d.cancel, 460, 432, 531, 447, "Cancel", ALIGN_CENTRE, 1);
  hscroll_init(&d.volume, 276, 192, 491, 0, 255, old_volume);
  for (int e = 0; e < SFX_COUNT; e++) {
    if (e < 10) {
      const int x = e % 2 == 0 ? 276 : 404;
      const int y = 240 + 32 * (e / 2);
      area_button_init(&d.effects[e], x, y, x + 119, y + 23, 1);
    } else {
      area_button_init(&d.effects[e], 340, 400, 460, 423, 1);
    }
  }
  draw_sound_scene();

  Outcome outcome = STILL_OPEN;
  while (outcome == STILL_OPEN) {
    text_button_update(&d.ok);
    text_button_update(&d.cancel);
    hscroll_update(&d.volume);
    // Clicks in the dialog already sound at the new volume.
    settings.volume = static_cast<uint8_t>(d.volume.value);
    for (int e = 0; e < SFX_COUNT; e++) {
      area_button_update(&d.effects[e]);
      if (d.effects[e].state != BUTTON_CLICKED) continue;
      if (d.switches[e]) {
        d.switches[e] = 0;
      } else {
        d.switches[e] = 1;
        preview(e, d.volume.value);
      }
    }
    show_sound(d);
    outcome = outcome_of(d.ok, d.cancel);
  }
  while (closing_key_down()) show_sound(d);

  if (outcome == ACCEPTED) {
    std::memcpy(settings.sound_switches, d.switches, sizeof d.switches);
    settings.volume = static_cast<uint8_t>(d.volume.value);
  } else {
    settings.volume = static_cast<uint8_t>(old_volume);
  }
  sound_state = settings.volume == 0 ? SOUND_MUTED : SOUND_ON;
}

void graphics_options_dialog() {
  GraphicsDialog d;
  d.speed = chain_speed_index(settings.chain_speed);
  d.display = settings.windowed;
  text_button_init(&d.ok, 136, 420, 207, 435, "OK!", ALIGN_CENTRE, 1);
  text_button_init(&d.cancel, 592, 420, 663, 435, "Cancel", ALIGN_CENTRE, 1);
  area_button_init(&d.full_screen, 144, 388, 394, 411, 1);
  area_button_init(&d.windowed, 405, 388, 655, 411, 1);
  d.window_size = window_size_index(extra_settings.window_zoom);
  for (int i = 0; i < WINDOW_SIZE_COUNT; i++)
    area_button_init(&d.window_sizes[i], WINDOW_SIZE_X[i][0], 440, WINDOW_SIZE_X[i][1], 463, 1);
  for (int k = 0; k < GRAPHICS_SWITCH_COUNT; k++)
    check_box_init(&d.switches[k], SWITCH_X[k], 188, settings.graphics_switches[k] != 0,
                   picture(OBJ_GFX_SWITCH_FIRST + 1 + 2 * k), picture(OBJ_GFX_SWITCH_FIRST + 2 * k), 1);
  for (int s = 0; s < CHAIN_SPEED_COUNT; s++) area_button_init(&d.speeds[s], SPEED_X[s][0], 348, SPEED_X[s][1], 371, 1);
  draw_graphics_scene();

  Outcome outcome = STILL_OPEN;
  while (outcome == STILL_OPEN) {
    text_button_update(&d.ok);
    text_button_update(&d.cancel);
    area_button_update(&d.full_screen);
    area_button_update(&d.windowed);
    for (ImageCheckBox& box : d.switches) {
      check_box_update(&box);
      if (box.state == BUTTON_CLICKED) check_box_toggle(&box);
    }
    for (int s = 0; s < CHAIN_SPEED_COUNT; s++) {
      area_button_update(&d.speeds[s]);
      if (d.speeds[s].state == BUTTON_CLICKED) {
        play_effect(SFX_CLICK);
        d.speed = s;
      }
    }
    if (d.full_screen.state == BUTTON_CLICKED) {
      play_effect(SFX_CLICK);
      d.display = 0;
    }
    if (d.windowed.state == BUTTON_CLICKED) {
      play_effect(SFX_CLICK);
      d.display = 1;
    }
    for (int i = 0; i < WINDOW_SIZE_COUNT; i++) {
      area_button_update(&d.window_sizes[i]);
      if (d.window_sizes[i].state == BUTTON_CLICKED) {
        play_effect(SFX_CLICK);
        d.window_size = i;
      }
    }
    show_graphics(d);
    outcome = outcome_of(d.ok, d.cancel);
  }
  while (closing_key_down()) show_graphics(d);

  if (outcome != ACCEPTED) return;
  for (int k = 0; k < GRAPHICS_SWITCH_COUNT; k++) settings.graphics_switches[k] = d.switches[k].checked ? 1 : 0;
  settings.chain_speed = CHAIN_SPEED_VALUES[d.speed];
  const int old_zoom = extra_settings.window_zoom;
  extra_settings.window_zoom = WINDOW_SIZE_VALUES[d.window_size];
  // A new zoom takes a new mode of the same kind.
  if (d.display != settings.windowed || extra_settings.window_zoom != old_zoom) switch_display(d.display);
}
