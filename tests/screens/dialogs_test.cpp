#include "screens/dialogs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "common/preview.h"
#include "palette/palette_entries.h"
#include "rules/board_state.h"
#include "support/headless.h"
#include "ui/frames.h"
#include "ui/widgets.h"
#include "render/effects.h"

namespace {

struct RunawayLoop {};

// The player's input for one update: the mouse and the keys the dialogs
// read. Input k is in place for the update that follows frame k (input 0
// for the first update, before any frame).
struct Input {
  int x, y, b;
  int enter = 0, enter_pad = 0, esc = 0;
};

std::vector<Input> inputs;
std::vector<BITMAP*> frames;  // copies of every frame shown
GameMode mode_seen_while_enter_held = static_cast<GameMode>(-1);

void apply(const Input& in) {
  mouse_x = in.x;
  mouse_y = in.y;
  mouse_b = in.b;
  key[KEY_ENTER] = static_cast<char>(in.enter);
  key[KEY_ENTER_PAD] = static_cast<char>(in.enter_pad);
  key[KEY_ESC] = static_cast<char>(in.esc);
}

void show(BITMAP* frame, int, int) {
  if (frames.size() >= 200) throw RunawayLoop{};  // a loop that never ends fails the test instead of hanging it
  tick_count.store(40);                           // 1/60 s per frame
  BITMAP* copy = create_bitmap_ex(8, frame->w, frame->h);
  blit(frame, copy, 0, 0, 0, 0, frame->w, frame->h);
  frames.push_back(copy);
  if (key[KEY_ENTER] || key[KEY_ENTER_PAD]) mode_seen_while_enter_held = game.mode;
  const size_t k = frames.size();
  apply(inputs[k < inputs.size() ? k : inputs.size() - 1]);
}

// Runs a dialog with the scripted inputs, the first one in place before
// its first update.
int run(int (*dialog)()) {
  if (!inputs.empty()) apply(inputs[0]);
  return dialog();
}

// Inputs that press and release the left button at (x, y), and leave it
// up for one more update (the clicked widget lets go of the mouse then).
void click(std::vector<Input>& in, int x, int y) {
  in.push_back({x, y, 1});
  in.push_back({x, y, 0});
  in.push_back({x, y, 0});
}
void idle(std::vector<Input>& in, int frames_idle = 1) {
  for (int i = 0; i < frames_idle; i++) in.push_back({0, 599, 0});
}
void press_esc(std::vector<Input>& in) {
  Input down{0, 599, 0};
  down.esc = 1;
  in.push_back(down);
  in.push_back(down);
  in.push_back({0, 599, 0});
}

BITMAP* picture(int index) { return static_cast<BITMAP*>(MainDatafile[index].dat); }


const int BOX_X[4] = {164, 284, 404, 524};

// The top-left corner of mode box m in a dialog whose mode rows start at
// the given tops.
void mode_box_at(int m, int top, int bottom, int* x, int* y) {
  *x = m < 4 ? BOX_X[m] : BOX_X[m - 3];
  *y = m < 4 ? top : bottom;
}

// Which mode boxes a frame shows chosen (-1 when a box shows neither
// picture cleanly).
std::vector<int> modes_shown(BITMAP* shown, int top, int bottom) {
  std::vector<int> out;
  for (int m = 0; m < 7; m++) {
    int x, y;
    mode_box_at(m, top, bottom, &x, &y);
    const bool chosen = picture_misses(shown, picture(OBJ_MODE_FIRST + 2 * m), x, y) == 0;
    const bool unchosen = picture_misses(shown, picture(OBJ_MODE_FIRST + 2 * m + 1), x, y) == 0;
    out.push_back(chosen && !unchosen ? 1 : (unchosen && !chosen ? 0 : -1));
  }
  return out;
}

std::vector<int> levels_shown(BITMAP* shown, int top) {
  std::vector<int> out;
  for (int s = 0; s < 4; s++) {
    const bool chosen = picture_misses(shown, picture(OBJ_SKILL_FIRST + 2 * s), BOX_X[s], top) == 0;
    const bool unchosen = picture_misses(shown, picture(OBJ_SKILL_FIRST + 2 * s + 1), BOX_X[s], top) == 0;
    out.push_back(chosen && !unchosen ? 1 : (unchosen && !chosen ? 0 : -1));
  }
  return out;
}

std::vector<int> one_hot(int n, int at) {
  std::vector<int> v(static_cast<size_t>(n), 0);
  v[static_cast<size_t>(at)] = 1;
  return v;
}

bool same_area(BITMAP* a, BITMAP* b, int x1, int y1, int x2, int y2) {
  for (int y = y1; y <= y2; y++)
    for (int x = x1; x <= x2; x++)
      if (getpixel(a, x, y) != getpixel(b, x, y)) return false;
  return true;
}

// The time limit dialog's title bar as it is drawn.
BITMAP* time_limit_title = nullptr;
bool is_time_limit_frame(BITMAP* shown) { return same_area(shown, time_limit_title, 272, 240, 527, 255); }
int time_limit_frames() {
  int n = 0;
  for (BITMAP* f : frames) n += is_time_limit_frame(f);
  return n;
}

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_widgets();
    inputs.clear();
    frames.clear();
    mode_seen_while_enter_held = static_cast<GameMode>(-1);
    driver = FrameDriver{show, 0, 0, nullptr};
    frame_driver = &driver;
    pointer_visible = 0;
    screen_shake = 0.0f;
    game.mode = CLASSIC;
    game.skill = BEGINNER;
    game.endurance_minutes = 10;
    apply({0, 599, 0});
    clear_to_color(SceneBuffer, COL_BACKGROUND);
    time_limit_title = create_bitmap_ex(8, 800, 600);
    clear_to_color(time_limit_title, COL_BACKGROUND);
    draw_frame(time_limit_title, 272, 240, 527, 255);
    draw_text_centre(time_limit_title, 400, 244, COL_MENU_FONT, "Select a Time Limit");
  }
  void TearDown() override {
    frame_driver = nullptr;
    apply({0, 0, 0});
    for (BITMAP* f : frames) destroy_bitmap(f);
    frames.clear();
    destroy_bitmap(time_limit_title);
    reset_widgets();
  }
  FrameDriver driver{};
};

}  // namespace

TEST_F(Dialogs, EachDialogShowsItsLayout) {
  struct Box {
    int object, x, y;
  };
  struct {
    const char* name;
    int (*run)();
    const char* title;
    int bar_top;
    std::vector<std::vector<int>> bodies;
    int mode_top, mode_bottom, level_top, buttons;
  } cases[] = {
      {"mode and skill", choose_mode_and_skill, "Select a Game Mode and Skill Level", 184,
       {{156, 200, 643, 351}, {156, 352, 643, 399}}, 208, 280, 360, 400},
      {"game mode", choose_game_mode, "Select a Game Mode", 208, {{156, 224, 643, 375}}, 232, 304, -1, 376},
      {"skill level", choose_skill_level, "Select a Skill Level", 260, {{156, 276, 643, 323}}, -1, -1, 284, 324},
  };
  game.mode = MOVING_MINES;
  game.skill = EXPERT;
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (BITMAP* f : frames) destroy_bitmap(f);
    frames.clear();
    inputs.clear();
    idle(inputs);
    press_esc(inputs);
    reset_widgets();
    EXPECT_EQ(run(c.run), 0);
    ASSERT_GE(frames.size(), 1u);

    BITMAP* want = create_bitmap_ex(8, 800, 600);
    clear_to_color(want, COL_BACKGROUND);
    draw_frame(want, 156, c.bar_top, 643, c.bar_top + 15);
    draw_text_centre(want, 400, c.bar_top + 4, COL_MENU_FONT, c.title);
    for (auto& b : c.bodies) draw_frame(want, b[0], b[1], b[2], b[3]);
    draw_frame(want, 156, c.buttons, 227, c.buttons + 15);
    draw_caption(want, 156, c.buttons, 227, c.buttons + 15, "OK!", ALIGN_CENTRE, 0);
    draw_frame(want, 572, c.buttons, 643, c.buttons + 15);
    draw_caption(want, 572, c.buttons, 643, c.buttons + 15, "Cancel", ALIGN_CENTRE, 0);
    draw_frame(want, 228, c.buttons, 571, c.buttons + 15);
    if (c.mode_top >= 0)
      for (int m = 0; m < 7; m++) {
        int x, y;
        mode_box_at(m, c.mode_top, c.mode_bottom, &x, &y);
        draw_sprite(want, picture(OBJ_MODE_FIRST + 2 * m + (m == MOVING_MINES ? 0 : 1)), x, y);
      }
    if (c.level_top >= 0)
      for (int s = 0; s < 4; s++)
        draw_sprite(want, picture(OBJ_SKILL_FIRST + 2 * s + (s == EXPERT ? 0 : 1)), BOX_X[s], c.level_top);
    EXPECT_TRUE(same_area(frames[0], want, 0, 0, 799, 599));
    destroy_bitmap(want);
    if (const char* dir = std::getenv("FG_DIALOG_PREVIEW")) {
      PALETTE pal;
      std::memcpy(pal, MainDatafile[OBJ_DEFAULT_PALETTE].dat, sizeof pal);
      save_png((std::string(dir) + "/" + c.name + ".png").c_str(), frames[0], pal);
    }
  }
}

TEST_F(Dialogs, ModeAndSkillOpensWithTheCurrentChoicesChecked) {
  game.mode = MULTI_MINE;
  game.skill = EXPERT;
  idle(inputs, 2);
  press_esc(inputs);
  EXPECT_EQ(run(choose_mode_and_skill), 0);
  ASSERT_GE(frames.size(), 1u);
  EXPECT_EQ(modes_shown(frames[0], 208, 280), one_hot(7, MULTI_MINE));
  EXPECT_EQ(levels_shown(frames[0], 360), one_hot(4, EXPERT));
  EXPECT_EQ(game.mode, MULTI_MINE);
  EXPECT_EQ(game.skill, EXPERT);
}

TEST_F(Dialogs, BoxesActLikeRadioButtonsAndOkAccepts) {
  game.mode = CLASSIC;
  game.skill = BEGINNER;
  click(inputs, 404 + 20, 208 + 20);  // mode 2, clicked in frame 2
  click(inputs, 404 + 20, 208 + 20);  // mode 2 again, frame 5
  click(inputs, 524 + 20, 360 + 20);  // level 3, frame 8
  click(inputs, 160, 405);            // OK, frame 11
  EXPECT_EQ(run(choose_mode_and_skill), 1);
  ASSERT_EQ(frames.size(), 11u);
  EXPECT_EQ(modes_shown(frames[0], 208, 280), one_hot(7, CLASSIC));
  EXPECT_EQ(modes_shown(frames[1], 208, 280), one_hot(7, BACKWARDS));  // the first one is unchecked
  EXPECT_EQ(modes_shown(frames[4], 208, 280), one_hot(7, BACKWARDS));  // clicked again: still chosen
  EXPECT_EQ(levels_shown(frames[4], 360), one_hot(4, BEGINNER));
  EXPECT_EQ(levels_shown(frames[7], 360), one_hot(4, MASTER));
  EXPECT_EQ(game.mode, BACKWARDS);
  EXPECT_EQ(game.skill, MASTER);
  EXPECT_EQ(time_limit_frames(), 0);  // not Endurance: no time limit dialog
}

TEST_F(Dialogs, EscOrCancelAfterChangingBoxesChangesNothing) {
  for (int with_cancel = 0; with_cancel < 2; with_cancel++) {
    SCOPED_TRACE(with_cancel ? "Cancel" : "Esc");
    game.mode = FLAGLESS;
    game.skill = INTERMEDIATE;
    game.endurance_minutes = 20;
    for (BITMAP* f : frames) destroy_bitmap(f);
    frames.clear();
    inputs.clear();
    click(inputs, 404 + 20, 280 + 20);  // mode 5, Endurance
    click(inputs, 164 + 20, 360 + 20);  // level 0
    if (with_cancel)
      click(inputs, 600, 405);
    else
      press_esc(inputs);
    EXPECT_EQ(run(choose_mode_and_skill), 0);
    EXPECT_EQ(game.mode, FLAGLESS);
    EXPECT_EQ(game.skill, INTERMEDIATE);
    EXPECT_EQ(game.endurance_minutes, 20);
    EXPECT_EQ(time_limit_frames(), 0);
  }
}

TEST_F(Dialogs, EnterAcceptsLikeOkOnlyAfterRelease) {
  for (int pad = 0; pad < 2; pad++) {
    SCOPED_TRACE(pad ? "keypad Enter" : "Enter");
    for (BITMAP* f : frames) destroy_bitmap(f);
    frames.clear();
    game.mode = CLASSIC;
    game.skill = BEGINNER;
    mode_seen_while_enter_held = static_cast<GameMode>(-1);
    inputs.clear();
    click(inputs, 284 + 20, 232 + 20);  // game mode dialog: mode 1
    Input held{0, 599, 0};
    (pad ? held.enter_pad : held.enter) = 1;
    for (int i = 0; i < 4; i++) inputs.push_back(held);
    idle(inputs);
    EXPECT_EQ(run(choose_game_mode), 1);
    EXPECT_EQ(frames.size(), 8u);  // three for the click, four with Enter down, the last one
    EXPECT_EQ(mode_seen_while_enter_held, CLASSIC);  // nothing accepted while the key is down
    EXPECT_EQ(game.mode, FLAGLESS);
    EXPECT_EQ(game.skill, BEGINNER);
  }
}

TEST_F(Dialogs, AcceptingEnduranceOpensTheTimeLimitDialog) {
  game.mode = CLASSIC;
  game.endurance_minutes = 10;
  click(inputs, 404 + 20, 304 + 20);  // game mode dialog: Endurance
  click(inputs, 160, 380);            // OK, clicked in frame 5
  click(inputs, 400, 308);            // "20 Minutes", held in frame 7
  EXPECT_EQ(run(choose_game_mode), 1);
  EXPECT_EQ(game.mode, ENDURANCE);
  EXPECT_EQ(game.endurance_minutes, 20);
  ASSERT_EQ(frames.size(), 7u);
  EXPECT_FALSE(is_time_limit_frame(frames[4]));
  EXPECT_TRUE(is_time_limit_frame(frames[5]));
  EXPECT_TRUE(is_time_limit_frame(frames[6]));
  // The time limit dialog: its body and the three buttons.
  BITMAP* want = create_bitmap_ex(8, 800, 600);
  clear_to_color(want, COL_BACKGROUND);
  draw_frame(want, 272, 240, 527, 255);
  draw_text_centre(want, 400, 244, COL_MENU_FONT, "Select a Time Limit");
  draw_frame(want, 272, 256, 527, 359);
  const int tops[3] = {264, 296, 328}, bottoms[3] = {287, 320, 352};
  const char* captions[3] = {"10 Minutes", "20 Minutes", "30 Minutes"};
  for (int i = 0; i < 3; i++) {
    draw_frame(want, 280, tops[i], 519, bottoms[i]);
    draw_caption(want, 280, tops[i], 519, bottoms[i], captions[i], ALIGN_CENTRE, 0);
  }
  EXPECT_TRUE(same_area(frames[5], want, 0, 0, 799, 599));
  // Held down on "20 Minutes": the pressed face.
  EXPECT_EQ(getpixel(frames[6], 281, 297), COL_MENU_BG);
  if (const char* dir = std::getenv("FG_DIALOG_PREVIEW")) {
    PALETTE pal;
    std::memcpy(pal, MainDatafile[OBJ_DEFAULT_PALETTE].dat, sizeof pal);
    save_png((std::string(dir) + "/time limit.png").c_str(), frames[5], pal);
  }
  destroy_bitmap(want);
}

TEST_F(Dialogs, ModeAndSkillWithEnduranceAsksForTheLimitToo) {
  game.mode = MEGAMINE;
  game.endurance_minutes = 10;
  click(inputs, 404 + 20, 280 + 20);  // Endurance
  Input enter{0, 599, 0};
  enter.enter = 1;
  inputs.push_back(enter);
  idle(inputs, 2);
  click(inputs, 400, 340);  // "30 Minutes"
  EXPECT_EQ(run(choose_mode_and_skill), 1);
  EXPECT_EQ(game.mode, ENDURANCE);
  EXPECT_EQ(game.endurance_minutes, 30);
}

TEST_F(Dialogs, EscInTheTimeLimitDialogKeepsThePreviousLimit) {
  game.mode = CLASSIC;
  game.endurance_minutes = 30;
  click(inputs, 404 + 20, 304 + 20);  // Endurance
  click(inputs, 160, 380);            // OK
  idle(inputs);
  inputs.push_back({400, 276, 1});  // pressed on "10 Minutes" ...
  press_esc(inputs);                // ... Esc while it is held, released off the button
  EXPECT_EQ(run(choose_game_mode), 1);
  EXPECT_EQ(game.mode, ENDURANCE);
  EXPECT_EQ(game.endurance_minutes, 30);
  EXPECT_GE(time_limit_frames(), 2);
}

TEST_F(Dialogs, SkillDialogNeverOpensTheTimeLimitDialog) {
  game.mode = ENDURANCE;
  game.skill = BEGINNER;
  game.endurance_minutes = 10;
  click(inputs, 404 + 20, 284 + 20);  // level 2
  click(inputs, 160, 330);            // OK
  EXPECT_EQ(run(choose_skill_level), 1);
  EXPECT_EQ(frames.size(), 5u);  // closed by the release on OK
  EXPECT_EQ(time_limit_frames(), 0);
  EXPECT_EQ(game.skill, EXPERT);
  EXPECT_EQ(game.mode, ENDURANCE);
  EXPECT_EQ(game.endurance_minutes, 10);
}
