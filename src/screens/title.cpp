#include "screens/title.h"

#include <ctime>
#include <utility>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "palette/palette_entries.h"
#include "render/effects.h"
#include "rules/board_state.h"
#include "rules/random.h"
#include "sound/sound.h"
#include "ui/frames.h"

namespace {

constexpr int LOGO_X = 222, LOGO_Y = 274;  // the logo's place on the screen
constexpr int LOGO_CENTRE_COLUMN = 177;
constexpr int LOGO_ROWS = 51;
constexpr int DOT_COLOUR = 95;
constexpr float DOT_SECONDS = 0.005f;  // 200 dots a second
constexpr int REVEAL_PAN = 64;

// The first dots of the logo, at fixed times, before the shuffled points.
struct SparkEntry {
  int x, y, colour;
  float time;
};
constexpr SparkEntry SPARKS[] = {
    {136, 30, 63, 0.0f},  {52, 38, 47, 0.4f},   {292, 18, 79, 0.75f}, {112, 34, 47, 1.05f}, {192, 30, 63, 1.3f},
    {12, 26, 47, 1.5f},   {344, 34, 79, 1.65f}, {156, 38, 63, 1.75f}, {256, 30, 79, 1.85f}, {32, 22, 47, 1.95f},
    {308, 38, 79, 2.05f}, {96, 18, 47, 2.1f},   {228, 18, 63, 2.15f},
};
constexpr int SPARK_COUNT = static_cast<int>(sizeof SPARKS / sizeof SPARKS[0]);
constexpr float SPARKS_END = 2.15f;
constexpr float WIDENING_SECONDS = 1.0f;
constexpr float HOLD_SECONDS = 2.0f;
constexpr int FADE_SPEED = 2;
constexpr int SLIDE_WIDTH = 800;
constexpr int SHUFFLE_SWAPS = 4000;

BITMAP* bitmap_object(int index) { return static_cast<BITMAP*>(MainDatafile[index].dat); }
RGB* palette_object(int index) { return static_cast<RGB*>(MainDatafile[index].dat); }

bool skip_requested() { return keypressed() || mouse_b != 0; }

void clear_screens() {
  if (screen) clear_to_color(screen, 0);
  invalidate_sent_frame();
  clear_to_color(SceneBuffer, 0);
  clear_to_color(BackBuffer, 0);
}

// A frame of the title: the particles move, the scene is shown with the
// particles over it. False when the player asks to skip the rest.
bool title_frame(Random& random) {
  update_particles(random);
  copy_scene();
  draw_particles();
  present_frame();
  return !skip_requested();
}

void play_reveal() { play_sound_effect(SFX_REVEAL, settings.volume, REVEAL_PAN); }

// A dot: the 3 x 3 block of the logo at (x, y) onto the scene, and a puff
// of sparks from its centre.
void reveal_dot(BITMAP* logo, Random& random, int x, int y, int colour) {
  blit(logo, SceneBuffer, x, y, x + LOGO_X, y + LOGO_Y, 3, 3);
  spawn_sparks(random, x + LOGO_X + 1, y + LOGO_Y + 1, colour);
}

// The points in a random order: TITLE_POINTS-range index pairs drawn and
// swapped (pairs beyond a shorter list are drawn and left alone).
void shuffle_points(std::vector<std::pair<int, int>>& points, Random& random) {
  const int n = static_cast<int>(points.size());
  for (int k = 0; k < SHUFFLE_SWAPS; k++) {
    const int i = random_range(random, 0, TITLE_POINTS - 1);
    const int j = random_range(random, 0, TITLE_POINTS - 1);
    if (i < n && j < n) std::swap(points[static_cast<size_t>(i)], points[static_cast<size_t>(j)]);
  }
}

// The table's sparks at their times; several in one frame at a low frame
// rate, none left out.
bool sparks_phase(BITMAP* logo, Random& random) {
  reset_clock();
  int shown = 0;
  while (shown < SPARK_COUNT || clock_seconds <= SPARKS_END) {
    while (shown < SPARK_COUNT && SPARKS[shown].time <= clock_seconds) {
      const SparkEntry& s = SPARKS[shown++];
      reveal_dot(logo, random, s.x, s.y, s.colour);
      play_reveal();
    }
    if (!title_frame(random)) return false;
  }
  return true;
}

// The shuffled points at 200 a second, whatever the frame rate.
bool dots_phase(BITMAP* logo, Random& random, const std::vector<std::pair<int, int>>& points) {
  float due = 0.0f;
  size_t next = 0;
  while (next < points.size()) {
    due += frame_seconds;
    while (due >= DOT_SECONDS && next < points.size()) {
      reveal_dot(logo, random, points[next].first, points[next].second, DOT_COLOUR);
      next++;
      due -= DOT_SECONDS;
      if (random_range(random, 0, 5) == 0) play_reveal();
    }
    if (!title_frame(random)) return false;
  }
  return true;
}

// The whole logo opens from its centre column in a second.
bool widening_phase(BITMAP* logo, Random& random) {
  reset_clock();
  do {
    const float t = clock_seconds < WIDENING_SECONDS ? clock_seconds : WIDENING_SECONDS;
    const int v = static_cast<int>(t * static_cast<float>(LOGO_CENTRE_COLUMN));
    blit(logo, SceneBuffer, LOGO_CENTRE_COLUMN - v, 0, LOGO_X + LOGO_CENTRE_COLUMN - v, LOGO_Y, 2 * v + 1, LOGO_ROWS);
    if (!title_frame(random)) return false;
  } while (clock_seconds < WIDENING_SECONDS);
  return true;
}

bool hold_phase(BITMAP* logo, Random& random) {
  draw_sprite(SceneBuffer, logo, LOGO_X, LOGO_Y);
  reset_clock();
  do {
    if (!title_frame(random)) return false;
  } while (clock_seconds < HOLD_SECONDS);
  return true;
}

// The display's palette to black in steps of `speed` (of 64), a frame each.
void fade_to_black(int speed) {
  PALETTE from, step;
  get_palette(from);
  for (int c = 0; c < 64; c += speed) {
    fade_interpolate(from, black_palette, step, c, 0, PAL_SIZE - 1);
    set_palette(step);
    present_frame();
    if (skip_requested()) return;
  }
  set_palette(black_palette);
}

void show_press_any_key() {
  copy_scene();
  const char* const text = "Press any key to continue.";
  textprintf_right_ex(BackBuffer, game_font(), 780, 580, 0, -1, "%s", text);
  textprintf_right_ex(BackBuffer, game_font(), 779, 579, COL_BRIGHT, -1, "%s", text);
  present_frame();
}

bool closing_keys_held() { return key[KEY_ESC] || key[KEY_ENTER] || key[KEY_ENTER_PAD]; }

}  // namespace

std::vector<std::pair<int, int>> title_scan_points(BITMAP* logo) {
  std::vector<std::pair<int, int>> points;
  auto pixel = [logo](int x, int y) { return (x < logo->w && y < logo->h) ? getpixel(logo, x, y) : 0; };
  for (int x = 0; x <= 352; x += 4)
    for (int y = 6; y <= 42; y += 4) {
      const int p = pixel(x, y);
      if ((p == 0 || p == 20) && p + pixel(x + 2, y) + pixel(x, y + 2) + pixel(x + 2, y + 2) != 0)
        points.emplace_back(x, y);
    }
  return points;
}

void run_title_sequence() {
  set_palette(palette_object(OBJ_LOGO_PALETTE));
  clear_screens();
  if (frame_driver) {
    if (frame_driver->wait) frame_driver->wait();
  } else {
    rest(500);
  }
  for (int i = 0; i < 2; i++) {
    present_frame();
    if (skip_requested()) return;
  }

  // The same title every time: its own stream from seed 0.
  Random random = random_seeded(0);
  clear_particles();
  BITMAP* logo = bitmap_object(OBJ_LOGO);
  std::vector<std::pair<int, int>> points = title_scan_points(logo);
  if (points.size() > TITLE_POINTS) points.resize(TITLE_POINTS);  // the rest has no place in the order
  clear_keybuf();
  shuffle_points(points, random);

  if (!sparks_phase(logo, random) || !dots_phase(logo, random, points) || !widening_phase(logo, random) ||
      !hold_phase(logo, random))
    return;
  reset_clock();
  fade_to_black(FADE_SPEED);
}

void run_press_any_key() {
  clear_screens();
  set_palette(palette_object(OBJ_PRESS_KEY_PALETTE));
  present_frame();
  present_frame();
  game.random = random_seeded(static_cast<uint32_t>(std::time(nullptr)));

  BITMAP* picture = bitmap_object(OBJ_PRESS_KEY_PICTURE);
  float t = 0.0f;
  while (t < 1.0f) {
    t += frame_seconds;
    if (t > 1.0f) t = 1.0f;
    blit(picture, SceneBuffer, 0, 0, static_cast<int>((1.0f - t) * -static_cast<float>(SLIDE_WIDTH)), 0, picture->w,
         picture->h);
    copy_scene();
    present_frame();
  }
  clear_keybuf();
  do show_press_any_key();
  while (!skip_requested());
  while (closing_keys_held()) show_press_any_key();
  clear_keybuf();  // the key that ended the screen is not left for a prompt of the main screen
}
