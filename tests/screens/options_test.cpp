#include "screens/options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/extra_settings.h"
#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "platform/termination.h"
#include "common/preview.h"
#include "palette/palette_entries.h"
#include "rules/board_state.h"
#include "sound/sound.h"
#include "support/sample_log.h"
#include "ui/frames.h"
#include "ui/prompts.h"
#include "ui/widgets.h"
#include "render/effects.h"

namespace {

struct RunawayLoop {};

// The player's input for one update. Input k is in place for the update
// that follows frame k (input 0 before the first update); after the last
// input the last one stays.
struct Input {
  int x, y, b;
  int enter = 0, esc = 0;
};

std::vector<Input> inputs;
std::vector<BITMAP*> frames;  // copies of every frame shown
// Called after every frame is copied, before the next input is applied.
void (*on_frame)(BITMAP* shown) = nullptr;

void apply(const Input& in) {
  mouse_x = in.x;
  mouse_y = in.y;
  mouse_b = in.b;
  key[KEY_ENTER] = static_cast<char>(in.enter);
  key[KEY_ESC] = static_cast<char>(in.esc);
}

void show(BITMAP* frame, int, int) {
  if (frames.size() >= 300) throw RunawayLoop{};  // a loop that never ends fails the test instead of hanging it
  tick_count.store(40);                           // 1/60 s per frame
  BITMAP* copy = create_bitmap_ex(8, frame->w, frame->h);
  blit(frame, copy, 0, 0, 0, 0, frame->w, frame->h);
  frames.push_back(copy);
  if (on_frame) on_frame(copy);
  const size_t k = frames.size();
  if (!inputs.empty()) apply(inputs[k < inputs.size() ? k : inputs.size() - 1]);
}

void run(void (*dialog)()) {
  if (!inputs.empty()) apply(inputs[0]);
  dialog();
}

void click(int x, int y) {
  inputs.push_back({x, y, 1});
  inputs.push_back({x, y, 0});
  inputs.push_back({x, y, 0});
}
void idle(int n = 1) {
  for (int i = 0; i < n; i++) inputs.push_back({0, 599, 0});
}
void press_key(bool enter) {
  Input down{0, 599, 0};
  (enter ? down.enter : down.esc) = 1;
  for (int i = 0; i < 3; i++) inputs.push_back(down);
  inputs.push_back({0, 599, 0});
}

// The display switch stand-in: records the modes asked for and answers
// from a script (1 when the script has run out).
std::vector<int> modes_asked;
std::vector<int> mode_answers;
bool announce_switches = false;  // the death test reads them from the child's error output
int fake_display_switch(int windowed, int width, int height) {
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 600);
  modes_asked.push_back(windowed);
  if (announce_switches) std::fprintf(stderr, "display switch windowed=%d\n", windowed);
  const size_t n = modes_asked.size();
  return n <= mode_answers.size() ? mode_answers[n - 1] : 1;
}

// A face as the dialogs draw it, drawn into a scratch bitmap and compared
// with the shown frame over the face's rectangle.
bool face_shown(BITMAP* shown, int x1, int y1, int x2, int y2, const char* caption, int pressed) {
  BITMAP* want = create_bitmap_ex(8, 800, 600);
  clear_to_color(want, 0);
  if (pressed)
    rectfill(want, x1, y1, x2, y2, COL_MENU_BG);
  else
    draw_frame(want, x1, y1, x2, y2);
  draw_caption(want, x1, y1, x2, y2, caption, ALIGN_CENTRE, pressed);
  bool same = true;
  for (int y = y1; y <= y2 && same; y++)
    for (int x = x1; x <= x2 && same; x++) same = getpixel(want, x, y) == getpixel(shown, x, y);
  destroy_bitmap(want);
  return same;
}

// The volume readout: exactly the given text at (497, 197), nothing else
// of the font colour to the right of the slider.
bool volume_text_shown(BITMAP* shown, const char* text) {
  BITMAP* want = create_bitmap_ex(8, 800, 600);
  clear_to_color(want, 0);
  draw_text(want, 497, 197, COL_MENU_FONT, text);
  bool same = true;
  for (int y = 193; y <= 210 && same; y++)
    for (int x = 495; x <= 527 && same; x++)
      same = (getpixel(want, x, y) == COL_MENU_FONT) == (getpixel(shown, x, y) == COL_MENU_FONT);
  destroy_bitmap(want);
  return same;
}

void effect_rect(int e, int* x1, int* y1, int* x2, int* y2) {
  if (e == 10) {
    *x1 = 340, *y1 = 400, *x2 = 460, *y2 = 423;
    return;
  }
  *x1 = e % 2 == 0 ? 276 : 404;
  *y1 = 240 + 32 * (e / 2);
  *x2 = *x1 + 119;
  *y2 = *y1 + 23;
}

bool effect_shown(BITMAP* shown, int e, bool on) {
  int x1, y1, x2, y2;
  effect_rect(e, &x1, &y1, &x2, &y2);
  char caption[64];
  std::snprintf(caption, sizeof caption, "%s %s", SOUND_EFFECT_LABELS[e], on ? "On" : "Off");
  return face_shown(shown, x1, y1, x2, y2, caption, on);
}

void click_effect(int e) {
  int x1, y1, x2, y2;
  effect_rect(e, &x1, &y1, &x2, &y2);
  click((x1 + x2) / 2, (y1 + y2) / 2);
}

const int SPEED_X1[4] = {144, 275, 405, 536};
const int SPEED_X2[4] = {263, 394, 524, 655};

bool speed_shown(BITMAP* shown, int s, int chosen) {
  return face_shown(shown, SPEED_X1[s], 348, SPEED_X2[s], 371, OPTION_LABELS[s], chosen);
}

bool display_shown(BITMAP* shown, int windowed_choice) {
  return face_shown(shown, 144, 388, 394, 411, "Full Screen", windowed_choice == 0) &&
         face_shown(shown, 405, 388, 655, 411, "Windowed", windowed_choice == 1);
}

// Saves a frame as a picture when FG_PREVIEW_DIR names a folder.
void save_preview(BITMAP* shown, const char* name) {
  const char* dir = std::getenv("FG_PREVIEW_DIR");
  if (!dir) return;
  const std::string path = std::string(dir) + "/" + name;
  save_png(path.c_str(), shown, static_cast<RGB*>(MainDatafile[OBJ_DEFAULT_PALETTE].dat));
}

// Settings values seen while Enter was held down.
std::vector<int> switch_seen_while_enter;
std::vector<float> speed_seen_while_enter;
void record_while_enter(BITMAP*) {
  if (key[KEY_ENTER]) {
    switch_seen_while_enter.push_back(settings.sound_switches[SFX_CHORD]);
    speed_seen_while_enter.push_back(settings.chain_speed);
  }
}

// Simulates a key as soon as the display has been switched twice (the
// prompt after a failed switch is waiting for it).
void key_after_second_switch(BITMAP*) {
  if (modes_asked.size() >= 2 && !keypressed()) simulate_keypress(KEY_SPACE << 8 | ' ');
}
void key_at_once(BITMAP*) {
  if (!keypressed()) simulate_keypress(KEY_SPACE << 8 | ' ');
}

class Options : public ::testing::Test {
 protected:
  void SetUp() override {
    default_settings();
    sound_state = SOUND_ON;
    clear_effect_played();
    clear_sample_log();
    reset_widgets();
    inputs.clear();
    frames.clear();
    on_frame = nullptr;
    modes_asked.clear();
    mode_answers.clear();
    switch_seen_while_enter.clear();
    speed_seen_while_enter.clear();
    display_mode_switch = fake_display_switch;
    driver = FrameDriver{show, 0, 0, nullptr};
    frame_driver = &driver;
    pointer_visible = 0;
    screen_shake = 0.0f;
    mouse_x = mouse_y = mouse_b = 0;
    std::memset(const_cast<char*>(key), 0, KEY_MAX);
    clear_keybuf();
    clear_to_color(SceneBuffer, COL_BACKGROUND);
  }
  void TearDown() override {
    for (BITMAP* b : frames) destroy_bitmap(b);
    frames.clear();
    frame_driver = nullptr;
    on_frame = nullptr;
    display_mode_switch = set_display_mode;
    announce_switches = false;
    sound_state = SOUND_UNAVAILABLE;
    clear_effect_played();
    std::memset(const_cast<char*>(key), 0, KEY_MAX);
    clear_keybuf();
    mouse_x = mouse_y = mouse_b = 0;
    reset_widgets();
    default_settings();
  }
  FrameDriver driver{};
};

}  // namespace

TEST(OptionTables, SpeedsAndLabels) {
  EXPECT_EQ(chain_speed_index(0.1f), SPEED_SLOW);
  EXPECT_EQ(chain_speed_index(0.075f), SPEED_NORMAL);
  EXPECT_EQ(chain_speed_index(0.05f), SPEED_FAST);
  EXPECT_EQ(chain_speed_index(0.0f), SPEED_INSTANT);
  EXPECT_EQ(chain_speed_index(0.05001f), SPEED_SLOW);  // exact comparison only
  EXPECT_EQ(chain_speed_index(0.02f), SPEED_SLOW);
  EXPECT_FLOAT_EQ(CHAIN_SPEED_VALUES[SPEED_NORMAL], 0.075f);
  EXPECT_STREQ(OPTION_LABELS[SPEED_INSTANT], "Instant");
  EXPECT_STREQ(OPTION_LABELS[LABEL_FULL_SCREEN], "Full Screen");
  EXPECT_STREQ(OPTION_LABELS[LABEL_WINDOWED], "Windowed");
  EXPECT_EQ(sizeof OPTION_LABELS[0], 32u);
}

TEST_F(Options, SwitchingAnEffectOnPlaysItsPreviewEvenWhenMuted) {
  settings.volume = 0;
  sound_state = SOUND_MUTED;
  settings.sound_switches[SFX_EXPLOSION] = 0;
  settings.sound_switches[SFX_CLICK] = 0;  // the OK click stays out of the count
  idle();
  click_effect(SFX_EXPLOSION);  // off -> on: preview
  const size_t after_on = inputs.size();
  click_effect(SFX_FIREWORKS);  // on -> off: silent
  const size_t after_off = inputs.size();
  click(300, 440);  // OK!
  run(sound_options_dialog);

  EXPECT_EQ(sample_starts[SFX_EXPLOSION], 1);
  EXPECT_EQ(last_sample_volume, 0);  // the slider's value
  EXPECT_EQ(last_sample_pan, 127);
  EXPECT_EQ(last_sample_frequency, 1000);
  EXPECT_EQ(last_sample_loop, 0);
  EXPECT_EQ(sample_starts[SFX_FIREWORKS], 0);
  int total = 0;
  for (int n : sample_starts) total += n;
  EXPECT_EQ(total, 1);

  ASSERT_GT(frames.size(), after_off);
  BITMAP* first = frames[0];
  EXPECT_TRUE(effect_shown(first, SFX_EXPLOSION, false));
  EXPECT_TRUE(effect_shown(first, SFX_FIREWORKS, true));
  EXPECT_TRUE(effect_shown(frames[after_on - 1], SFX_EXPLOSION, true));
  EXPECT_TRUE(effect_shown(frames[after_off - 1], SFX_FIREWORKS, false));
  for (int e = 0; e < SFX_COUNT; e++) EXPECT_TRUE(effect_shown(frames[after_off - 1], e, e != SFX_FIREWORKS && e != SFX_CLICK)) << e;
  EXPECT_TRUE(volume_text_shown(first, "Off"));
  save_preview(frames[after_off - 1], "sound_options.png");

  EXPECT_EQ(settings.sound_switches[SFX_EXPLOSION], 1);
  EXPECT_EQ(settings.sound_switches[SFX_FIREWORKS], 0);
  EXPECT_EQ(settings.volume, 0);
  EXPECT_EQ(sound_state, SOUND_MUTED);
}

TEST_F(Options, DraggingTheVolumeToZeroShowsOffAndAcceptingMutes) {
  settings.volume = 128;
  idle();
  inputs.push_back({400, 200, 1});  // press on the track
  inputs.push_back({350, 200, 1});
  inputs.push_back({294, 200, 1});  // near the left end: the thumb stops at 0
  const size_t dragged = inputs.size();
  inputs.push_back({294, 200, 0});
  idle();
  click(300, 440);  // OK!
  run(sound_options_dialog);

  EXPECT_TRUE(volume_text_shown(frames[0], "128"));
  EXPECT_TRUE(volume_text_shown(frames[dragged - 1], "Off"));
  EXPECT_EQ(settings.volume, 0);
  EXPECT_EQ(sound_state, SOUND_MUTED);
  for (int e = 0; e < SFX_COUNT; e++) EXPECT_EQ(settings.sound_switches[e], 1);

  // Muted: nothing plays until a volume above 0 is accepted.
  clear_sample_log();
  clear_effect_played();
  play_effect(SFX_EXPLOSION);
  EXPECT_EQ(sample_starts[SFX_EXPLOSION], 0);
}

TEST_F(Options, CancelRestoresTheVolumeAndTheSwitches) {
  settings.volume = 128;
  idle();
  inputs.push_back({300, 200, 1});
  inputs.push_back({300, 200, 0});
  idle();
  click_effect(SFX_CHORD);
  click(490, 440);  // Cancel
  run(sound_options_dialog);
  EXPECT_TRUE(effect_shown(frames[frames.size() - 2], SFX_CHORD, false));
  EXPECT_EQ(settings.volume, 128);
  EXPECT_EQ(sound_state, SOUND_ON);
  EXPECT_EQ(settings.sound_switches[SFX_CHORD], 1);

  // Esc after opening muted goes back to muted.
  settings.volume = 0;
  sound_state = SOUND_MUTED;
  inputs.clear();
  frames.clear();
  idle();
  inputs.push_back({480, 200, 1});
  inputs.push_back({480, 200, 0});
  press_key(false);
  run(sound_options_dialog);
  EXPECT_EQ(settings.volume, 0);
  EXPECT_EQ(sound_state, SOUND_MUTED);
}

TEST_F(Options, EnterAcceptsTheSoundOptionsAfterItIsReleased) {
  idle();
  click_effect(SFX_CHORD);  // on -> off in the working copy
  press_key(true);
  on_frame = record_while_enter;
  run(sound_options_dialog);
  ASSERT_FALSE(switch_seen_while_enter.empty());
  for (int v : switch_seen_while_enter) EXPECT_EQ(v, 1);  // not yet stored while Enter is down
  EXPECT_EQ(key[KEY_ENTER], 0);
  EXPECT_EQ(settings.sound_switches[SFX_CHORD], 0);
  EXPECT_EQ(sound_state, SOUND_ON);
}

TEST_F(Options, WithoutASoundSystemOnlyThePromptShows) {
  sound_state = SOUND_UNAVAILABLE;
  settings.volume = 77;
  on_frame = key_at_once;
  run(sound_options_dialog);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(sound_state, SOUND_UNAVAILABLE);
  EXPECT_EQ(settings.volume, 77);
  BITMAP* want = create_bitmap_ex(8, 800, 600);
  clear_to_color(want, COL_BACKGROUND);
  draw_frame(want, 200, 284, 599, 315);
  draw_text_centre(want, 400, 296, COL_MENU_FONT, "Sound system not initialized. Press any key to continue.");
  int differing = 0;
  for (int y = 0; y < 600; y++)
    for (int x = 0; x < 800; x++) differing += getpixel(want, x, y) != getpixel(frames[0], x, y);
  EXPECT_EQ(differing, 0);
  destroy_bitmap(want);
}

TEST_F(Options, StoredSpeedChoosesTheSpeedFace) {
  const struct {
    float stored;
    int chosen;
  } cases[] = {{0.1f, SPEED_SLOW}, {0.05f, SPEED_FAST}, {0.075f, SPEED_NORMAL}, {0.0f, SPEED_INSTANT}, {0.03f, SPEED_SLOW}};
  for (auto c : cases) {
    SCOPED_TRACE(c.stored);
    settings.chain_speed = c.stored;
    frames.clear();
    inputs.clear();
    idle();
    press_key(false);
    run(graphics_options_dialog);
    for (int s = 0; s < 4; s++) EXPECT_TRUE(speed_shown(frames[0], s, s == c.chosen)) << s;
    EXPECT_TRUE(display_shown(frames[0], 0));
    EXPECT_EQ(settings.chain_speed, c.stored);  // Esc changes nothing
  }
  EXPECT_TRUE(modes_asked.empty());
}

TEST_F(Options, AcceptedGraphicsOptionsAreStoredWithoutASwitchToTheSameMode) {
  settings.windowed = 1;
  idle();
  click(144 + 10, 188 + 10);  // switch 0 off
  click(300, 360);            // Normal
  click(530, 400);            // Windowed, already in force
  const size_t chosen = inputs.size();
  click(170, 428);  // OK!
  run(graphics_options_dialog);

  BITMAP* shown = frames[chosen - 1];
  BITMAP* off0 = static_cast<BITMAP*>(MainDatafile[OBJ_GFX_SWITCH_FIRST + 1].dat);
  BITMAP* on1 = static_cast<BITMAP*>(MainDatafile[OBJ_GFX_SWITCH_FIRST + 2].dat);
  int misses = 0;
  for (int y = 0; y < off0->h; y++)
    for (int x = 0; x < off0->w; x++) {
      if (getpixel(off0, x, y) != 0) misses += getpixel(shown, 144 + x, 188 + y) != getpixel(off0, x, y);
      if (getpixel(on1, x, y) != 0) misses += getpixel(shown, 248 + x, 188 + y) != getpixel(on1, x, y);
    }
  EXPECT_EQ(misses, 0);
  EXPECT_TRUE(speed_shown(shown, SPEED_NORMAL, 1));
  EXPECT_TRUE(speed_shown(shown, SPEED_FAST, 0));
  EXPECT_TRUE(display_shown(shown, 1));
  save_preview(shown, "graphics_options.png");

  EXPECT_EQ(settings.graphics_switches[0], 0);
  for (int k = 1; k < 5; k++) EXPECT_EQ(settings.graphics_switches[k], 1);
  EXPECT_EQ(settings.chain_speed, 0.075f);
  EXPECT_EQ(settings.windowed, 1);
  EXPECT_TRUE(modes_asked.empty());
  EXPECT_EQ(sample_starts[SFX_CLICK], 4);  // the box, two area buttons and OK!
}

TEST_F(Options, EnterAcceptsTheGraphicsOptionsAfterItIsReleased) {
  idle();
  click(600, 360);  // Instant
  press_key(true);
  on_frame = record_while_enter;
  run(graphics_options_dialog);
  ASSERT_FALSE(speed_seen_while_enter.empty());
  for (float v : speed_seen_while_enter) EXPECT_EQ(v, 0.05f);
  EXPECT_EQ(settings.chain_speed, 0.0f);
}

TEST_F(Options, ChoosingTheOtherModeSwitchesTheDisplay) {
  settings.windowed = 0;
  idle();
  click(530, 400);  // Windowed
  click(170, 428);  // OK!
  run(graphics_options_dialog);
  EXPECT_EQ(modes_asked, std::vector<int>({1}));
  EXPECT_EQ(settings.windowed, 1);
  EXPECT_EQ(sample_starts[SFX_MESSAGE], 0);  // no prompt
}

TEST_F(Options, ARefusedModeFallsBackAndTellsThePlayer) {
  settings.windowed = 0;
  mode_answers = {0, 1};
  idle();
  click(530, 400);  // Windowed
  click(170, 428);  // OK!
  on_frame = key_after_second_switch;
  run(graphics_options_dialog);
  EXPECT_EQ(modes_asked, std::vector<int>({1, 0}));
  EXPECT_EQ(settings.windowed, 0);
  EXPECT_EQ(sample_starts[SFX_MESSAGE], 1);
  // The prompt over a blanked scene.
  BITMAP* want = create_bitmap_ex(8, 800, 600);
  clear_to_color(want, COL_BACKGROUND);
  draw_frame(want, 100, 284, 699, 315);
  draw_text_centre(want, 400, 296, COL_MENU_FONT, "Unable to switch graphics modes. Press any key to continue.");
  int differing = 0;
  for (int y = 0; y < 600; y++)
    for (int x = 0; x < 800; x++) differing += getpixel(want, x, y) != getpixel(frames.back(), x, y);
  EXPECT_EQ(differing, 0);
  destroy_bitmap(want);
}

TEST_F(Options, BothModesRefusedIsFatalErrorFour) {
  settings.windowed = 1;
  mode_answers = {0, 0};
  idle();
  click(270, 400);  // Full Screen
  click(170, 428);  // OK!
  announce_switches = true;
  EXPECT_EXIT(run(graphics_options_dialog), ::testing::ExitedWithCode(EXIT_STATUS_FAILURE),
              "display switch windowed=0\n(.|\n)*display switch windowed=1");
}

// The Window Size row: the stored choice shows pressed; a new choice
// accepted is kept and sets the display mode of the same kind again; the
// same choice, or a new one cancelled, sets no mode.
TEST_F(Options, WindowSizeChoiceIsKeptAndSetsTheModeAgain) {
  struct Case {
    int stored;
    int click_x;  // 0: no choice clicked
    bool accept;
    int kept;
    std::vector<int> modes;
  } cases[] = {
      {1, 400, true, 2, {1}},
      {2, 600, true, WINDOW_ZOOM_FIT, {1}},
      {WINDOW_ZOOM_FIT, 300, true, 1, {1}},
      {3, 500, true, 3, {}},
      {1, 500, false, 1, {}},
  };
  const char* const labels[4] = {"1x", "2x", "3x", "Fit"};
  const int x1[4] = {256, 358, 460, 562}, x2[4] = {347, 449, 551, 655};
  const int values[4] = {1, 2, 3, WINDOW_ZOOM_FIT};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.stored << " click " << c.click_x);
    settings.windowed = 1;
    extra_settings.window_zoom = c.stored;
    frames.clear();
    inputs.clear();
    modes_asked.clear();
    idle();
    click(c.click_x, 450);
    const size_t chosen = inputs.size();
    click(c.accept ? 170 : 620, 428);  // OK! or Cancel
    run(graphics_options_dialog);
    for (int i = 0; i < 4; i++) {
      EXPECT_TRUE(face_shown(frames[0], x1[i], 440, x2[i], 463, labels[i], values[i] == c.stored)) << i;
      const bool now = c.click_x >= x1[i] && c.click_x <= x2[i];
      EXPECT_TRUE(face_shown(frames[chosen - 1], x1[i], 440, x2[i], 463, labels[i], now)) << i;
    }
    EXPECT_EQ(extra_settings.window_zoom, c.kept);
    EXPECT_EQ(modes_asked, c.modes);
  }
  extra_settings.window_zoom = 1;
}
