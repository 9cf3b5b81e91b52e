#include "ui/prompts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "screens/main_screen.h"
#include "platform/settings.h"
#include "palette/palette_entries.h"
#include "rules/board_state.h"
#include "sound/sound.h"
#include "support/sample_log.h"
#include "ui/frames.h"
#include "ui/widgets.h"
#include "render/effects.h"
#include "render/board_draw.h"

namespace {

struct RunawayLoop {};

// The frames a modal loop presents, handed to a per-test script that plays
// the player's part (keys, mouse) between frames.
int frames_shown = 0;
std::function<void(int frame, BITMAP* shown)> script;

void show(BITMAP* frame, int, int) {
  frames_shown++;
  if (frames_shown > 300) throw RunawayLoop{};  // a loop that never ends fails the test instead of hanging it
  tick_count.store(40);                          // 1/60 s per frame
  if (script) script(frames_shown, frame);
}

bool same_bitmap(BITMAP* a, BITMAP* b) {
  if (a->w != b->w || a->h != b->h) return false;
  for (int y = 0; y < a->h; y++)
    if (std::memcmp(a->line[y], b->line[y], static_cast<size_t>(a->w)) != 0) return false;
  return true;
}

BITMAP* copy_of(BITMAP* src) {
  BITMAP* c = create_bitmap_ex(8, src->w, src->h);
  blit(src, c, 0, 0, 0, 0, src->w, src->h);
  return c;
}

class Prompts : public ::testing::Test {
 protected:
  void SetUp() override {
    default_settings();
    settings.volume = 200;
    sound_state = SOUND_ON;
    clear_effect_played();
    clear_sample_log();
    reset_widgets();
    frames_shown = 0;
    script = nullptr;
    driver = FrameDriver{show, 0, 0, nullptr};
    frame_driver = &driver;
    pointer_visible = 0;
    screen_shake = 0.0f;
    mouse_x = mouse_y = mouse_b = 0;
    std::memset(const_cast<char*>(key), 0, KEY_MAX);
    clear_keybuf();
    // A recognisable scene behind the prompts.
    clear_to_color(SceneBuffer, 200);
    for (int i = 0; i < 800; i += 37) rectfill(SceneBuffer, i, 0, i + 5, 599, 201);
    redraw_requested = 0;
  }
  void TearDown() override {
    frame_driver = nullptr;
    script = nullptr;
    sound_state = SOUND_UNAVAILABLE;
    clear_effect_played();
    std::memset(const_cast<char*>(key), 0, KEY_MAX);
    clear_keybuf();
    mouse_x = mouse_y = mouse_b = 0;
    game.phase = IDLE;
    redraw_requested = 0;
    reset_widgets();
  }
  FrameDriver driver{};
};

}  // namespace

TEST(PromptTexts, TableHoldsTheFixedTexts) {
  EXPECT_STREQ(PROMPT_TEXTS[PROMPT_GAME_PAUSED], "Game Paused - Press P or Pause Key To Resume");
  EXPECT_STREQ(PROMPT_TEXTS[PROMPT_PALETTE_EXISTS], "A color palette by that name already exists. Overwrite? (Y/N)");
  EXPECT_STREQ(PROMPT_TEXTS[PROMPT_GRAPHICS_SWITCH_FAILED], "Unable to switch graphics modes. Press any key to continue.");
  EXPECT_STREQ(PROMPT_TEXTS[PROMPT_NO_SOUND_SYSTEM], "Sound system not initialized. Press any key to continue.");
  EXPECT_STREQ(PROMPT_TEXTS[PROMPT_ONE_CLICK_NO_SCORE],
               "One-Click boards do not make high-scores. Press any key to continue.");
  EXPECT_EQ(sizeof PROMPT_TEXTS[0], 80u);
  for (int i = 0; i < PROMPT_TEXT_COUNT; i++) {
    EXPECT_GT(std::strlen(PROMPT_TEXTS[i]), 0u);
    EXPECT_LE(std::strlen(PROMPT_TEXTS[i]), 79u);
  }
}

TEST_F(Prompts, KeyPromptBoxAtEachWidthUntilAKey) {
  struct {
    int width;
    const char* text;
    int x1, x2;
  } cases[] = {
      {PROMPT_WIDTH_NO_SOUND_SYSTEM, PROMPT_TEXTS[PROMPT_NO_SOUND_SYSTEM], 200, 599},
      {PROMPT_WIDTH_ONE_CLICK_NO_SCORE, PROMPT_TEXTS[PROMPT_ONE_CLICK_NO_SCORE], 160, 639},
      {PROMPT_WIDTH_GRAPHICS_SWITCH_FAILED, PROMPT_TEXTS[PROMPT_GRAPHICS_SWITCH_FAILED], 100, 699},
      {400, "100% sure: %s %d %x", 200, 599},  // a per-cent sign is shown as it is
  };
  BITMAP* scene = copy_of(SceneBuffer);
  BITMAP* want = copy_of(SceneBuffer);
  for (auto c : cases) {
    SCOPED_TRACE(c.text);
    frames_shown = 0;
    clear_sample_log();
    blit(scene, want, 0, 0, 0, 0, 800, 600);
    draw_frame(want, c.x1, 284, c.x2, 315);
    draw_text_centre(want, 400, 296, COL_MENU_FONT, c.text);
    int matching = 0;
    script = [&](int frame, BITMAP* shown) {
      matching += same_bitmap(shown, want);
      if (frame == 4) simulate_keypress(KEY_Y << 8 | 'y');
    };
    prompt_any_key(c.width, c.text);
    EXPECT_EQ(frames_shown, 4);
    EXPECT_EQ(matching, 4);
    // The box's corners and the scene just beyond them.
    EXPECT_EQ(getpixel(BackBuffer, c.x1, 284), getpixel(static_cast<BITMAP*>(MainDatafile[OBJ_FRAME_TOP_LEFT].dat), 0, 0));
    EXPECT_EQ(getpixel(BackBuffer, c.x2, 315),
              getpixel(static_cast<BITMAP*>(MainDatafile[OBJ_FRAME_BOTTOM_RIGHT].dat), 1, 1));
    EXPECT_EQ(getpixel(BackBuffer, c.x1 - 1, 300), getpixel(scene, c.x1 - 1, 300));
    EXPECT_EQ(getpixel(BackBuffer, c.x2 + 1, 300), getpixel(scene, c.x2 + 1, 300));
    EXPECT_EQ(sample_starts[SFX_MESSAGE], 1);  // once per prompt, not once per frame
    EXPECT_EQ(last_sample_volume, 200);
    EXPECT_EQ(last_sample_pan, 127);
    EXPECT_TRUE(same_bitmap(SceneBuffer, scene));  // the box went into the BackBuffer only
    EXPECT_TRUE(keypressed());                     // the key is left for whoever reads keys next
    clear_keybuf();
  }
  destroy_bitmap(scene);
  destroy_bitmap(want);
}

TEST_F(Prompts, KeyPromptEmptiesTheBufferWhenItOpens) {
  simulate_keypress(KEY_ENTER << 8 | '\r');
  simulate_keypress(KEY_ENTER << 8 | '\r');
  key[KEY_ENTER] = 1;  // still held
  script = [](int frame, BITMAP*) {
    if (frame == 3) simulate_keypress(KEY_ENTER << 8 | '\r');  // the next press, or a repeat
  };
  prompt_any_key(480, PROMPT_TEXTS[PROMPT_ONE_CLICK_NO_SCORE]);
  EXPECT_EQ(frames_shown, 3);
}

TEST_F(Prompts, WaitNoticeIsOneFrame) {
  BITMAP* want = copy_of(SceneBuffer);
  BITMAP* scene = copy_of(SceneBuffer);
  draw_frame(want, 320, 268, 479, 331);
  draw_text_centre(want, 400, 296, COL_MENU_FONT, "One moment please...");
  int matching = 0;
  script = [&](int, BITMAP* shown) { matching += same_bitmap(shown, want); };
  show_wait_notice();
  EXPECT_EQ(frames_shown, 1);
  EXPECT_EQ(matching, 1);
  EXPECT_TRUE(same_bitmap(SceneBuffer, scene));
  destroy_bitmap(want);
  destroy_bitmap(scene);
}

TEST_F(Prompts, InfoPageClosesByButtonEnterOrEsc) {
  struct {
    const char* name;
    std::function<void(int, BITMAP*)> player;
    int frames;
    int clicks;
  } cases[] = {
      {"Esc held for two frames",
       [](int f, BITMAP*) {
         if (f == 1) key[KEY_ESC] = 1;
         if (f == 3) key[KEY_ESC] = 0;
       },
       3, 0},
      {"keypad Enter held for two frames",
       [](int f, BITMAP*) {
         if (f == 1) key[KEY_ENTER_PAD] = 1;
         if (f == 3) key[KEY_ENTER_PAD] = 0;
       },
       4, 0},
      {"both Enter keys: waits for both",
       [](int f, BITMAP*) {
         if (f == 1) key[KEY_ENTER] = key[KEY_ENTER_PAD] = 1;
         if (f == 3) key[KEY_ENTER] = 0;
         if (f == 6) key[KEY_ENTER_PAD] = 0;
       },
       7, 0},
      {"OK clicked",
       [](int f, BITMAP* shown) {
         if (f == 1) mouse_b = 1;
         if (f == 2) {
           EXPECT_EQ(getpixel(shown, 78, 534), COL_MENU_BG);  // pressed face
           mouse_b = 0;
         }
       },
       3, 1},
      {"pressed on OK, released beside it, then Esc",
       [](int f, BITMAP*) {
         if (f == 1) mouse_b = 1;
         if (f == 2) mouse_x = 200;
         if (f == 3) mouse_b = 0;
         if (f == 5) key[KEY_ESC] = 1;
         if (f == 6) key[KEY_ESC] = 0;
       },
       6, 0},
  };
  BITMAP* scene = copy_of(SceneBuffer);
  BITMAP* frames = copy_of(SceneBuffer);
  draw_frame(frames, 76, 52, 723, 531);
  draw_frame(frames, 148, 532, 723, 547);
  BITMAP* first = create_bitmap_ex(8, 800, 600);
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    blit(scene, SceneBuffer, 0, 0, 0, 0, 800, 600);
    clear_sample_log();
    frames_shown = 0;
    mouse_x = 100;
    mouse_y = 540;
    mouse_b = 0;
    script = [&](int f, BITMAP* shown) {
      if (f == 1) blit(shown, first, 0, 0, 0, 0, 800, 600);
      c.player(f, shown);
    };
    show_info_page();
    EXPECT_EQ(frames_shown, c.frames);
    EXPECT_EQ(sample_starts[SFX_CLICK], c.clicks);
  }
  // The page went into the SceneBuffer: every set pixel of the picture in
  // the menu font colour, the frames showing through the rest.
  BITMAP* page = static_cast<BITMAP*>(MainDatafile[OBJ_INFO_PAGE].dat);
  int ink = 0, wrong = 0;
  for (int y = 0; y < page->h && 52 + y < 600; y++)
    for (int x = 0; x < page->w && 80 + x < 800; x++) {
      const int want = getpixel(page, x, y) ? COL_MENU_FONT : getpixel(frames, 80 + x, 52 + y);
      ink += getpixel(page, x, y) != 0;
      wrong += getpixel(SceneBuffer, 80 + x, 52 + y) != want;
    }
  EXPECT_GT(ink, 500);
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(getpixel(SceneBuffer, 76, 52), getpixel(frames, 76, 52));
  EXPECT_EQ(getpixel(SceneBuffer, 723, 547), getpixel(frames, 723, 547));
  EXPECT_EQ(getpixel(SceneBuffer, 75, 300), getpixel(scene, 75, 300));
  // A frame shows the scene with the OK button over it.
  BITMAP* want = copy_of(SceneBuffer);
  draw_frame(want, 76, 532, 147, 547);
  draw_caption(want, 76, 532, 147, 547, "OK!", ALIGN_CENTRE, 0);
  EXPECT_TRUE(same_bitmap(first, want));
  destroy_bitmap(want);
  destroy_bitmap(first);
  destroy_bitmap(frames);
  destroy_bitmap(scene);
}

TEST_F(Prompts, BlankPlayAreaOnlyWhileAGameIsInPlay) {
  BITMAP* scene = copy_of(SceneBuffer);
  game.phase = IDLE;
  blank_play_area();
  EXPECT_EQ(frames_shown, 0);
  EXPECT_EQ(redraw_requested, 0);
  EXPECT_TRUE(same_bitmap(SceneBuffer, scene));

  for (GamePhase phase : {PLAYING, FINISHED}) {
    SCOPED_TRACE(phase);
    blit(scene, SceneBuffer, 0, 0, 0, 0, 800, 600);
    frames_shown = 0;
    redraw_requested = 0;
    int matching = 0;
    script = [&](int, BITMAP* shown) { matching += same_bitmap(shown, SceneBuffer); };
    game.phase = phase;
    blank_play_area();
    EXPECT_EQ(frames_shown, 1);
    EXPECT_EQ(matching, 1);
    EXPECT_EQ(redraw_requested, 1);
    int wrong = 0;
    for (int y = 0; y < 600; y++)
      for (int x = 0; x < 800; x++) {
        const int want = (x >= 88 && y >= 16) ? COL_BACKGROUND : getpixel(scene, x, y);
        wrong += getpixel(SceneBuffer, x, y) != want;
      }
    EXPECT_EQ(wrong, 0);
  }
  destroy_bitmap(scene);
}
