#include <allegro.h>
#include <allegro/internal/aintern.h>  // keyboard_driver
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/game_paths.h"
#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "common/preview.h"
#include "screens/palette_chooser.h"
#include "screens/palette_editor.h"
#include "palette/palette_entries.h"
#include "palette/palette_files.h"
#include "rules/board_state.h"
#include "sound/sound.h"
#include "support/headless.h"
#include "support/sample_log.h"
#include "ui/frames.h"
#include "ui/widgets.h"
#include "render/effects.h"

// The palette on the display is observed with get_palette: without a
// display driver the library still keeps the palette last set, which is
// what the dialogs read back and what the player would see.

namespace {

struct RunawayLoop {};

// The player's input for one update. Step k is in place for the update
// that follows frame k (step 0 before the first update). `type` is pressed
// into the keyboard buffer when the step comes into place.
struct Step {
  int x = 0, y = 599, b = 0;
  int esc = 0, enter = 0, n = 0, yes = 0;
  const char* type = nullptr;
};

std::vector<Step> steps;
int frames_shown = 0;
BITMAP* kept_frame = nullptr;  // a copy of frame number keep_at
int keep_at = -1;
PALETTE palette_at_frame;  // the display's palette when frame keep_at was shown

void apply(const Step& s) {
  mouse_x = s.x;
  mouse_y = s.y;
  mouse_b = s.b;
  key[KEY_ESC] = static_cast<char>(s.esc);
  key[KEY_ENTER] = static_cast<char>(s.enter);
  key[KEY_N] = static_cast<char>(s.n);
  key[KEY_Y] = static_cast<char>(s.yes);
  for (const char* c = s.type; c && *c; c++) simulate_keypress(*c);
}

void show(BITMAP* frame, int, int) {
  frames_shown++;
  if (frames_shown > 400) throw RunawayLoop{};  // a loop that never ends fails the test instead of hanging it
  tick_count.store(480);                         // 0.2 s per frame: each press on an arrow steps once
  if (frames_shown == keep_at) {
    blit(frame, kept_frame, 0, 0, 0, 0, frame->w, frame->h);
    get_palette(palette_at_frame);
  }
  const size_t k = static_cast<size_t>(frames_shown);
  apply(k < steps.size() ? steps[k] : Step{});
}

void idle(int n = 1) {
  for (int i = 0; i < n; i++) steps.push_back(Step{});
}
void click(int x, int y) {
  Step s;
  s.x = x;
  s.y = y;
  s.b = 1;
  steps.push_back(s);
  s.b = 0;
  steps.push_back(s);
  steps.push_back(s);
}
void click_row(int r) { click(200, 152 + 16 * r + 8); }
void press_esc() {
  Step s;
  s.esc = 1;
  steps.push_back(s);
  steps.push_back(s);
  idle();
}
void press_enter() {
  Step s;
  s.enter = 1;
  steps.push_back(s);
  idle();
}
void type(const char* text) {
  Step s;
  s.type = text;
  steps.push_back(s);
}

// A recognisable 1024-byte palette: entry i of seed s.
std::string palette_bytes(int seed, size_t size = 1024) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; i++) bytes[i] = static_cast<char>((i * 7 + 3 + static_cast<size_t>(seed) * 13) % 64);
  return bytes;
}

// The display's palette as the file bytes it would be saved as (filler
// bytes zero on both sides).
std::string display_bytes() {
  PALETTE now;
  get_palette(now);
  std::string bytes(1024, '\0');
  for (int i = 0; i < 256; i++) {
    bytes[4 * i] = static_cast<char>(now[i].r);
    bytes[4 * i + 1] = static_cast<char>(now[i].g);
    bytes[4 * i + 2] = static_cast<char>(now[i].b);
  }
  return bytes;
}
std::string without_filler(std::string bytes) {
  for (size_t i = 3; i < bytes.size(); i += 4) bytes[i] = 0;
  return bytes;
}

void set_display_from(const std::string& bytes) {
  PALETTE pal;
  for (int i = 0; i < 256; i++) {
    pal[i].r = static_cast<unsigned char>(bytes[4 * i]);
    pal[i].g = static_cast<unsigned char>(bytes[4 * i + 1]);
    pal[i].b = static_cast<unsigned char>(bytes[4 * i + 2]);
    pal[i].filler = 0;
  }
  set_palette(pal);
}

// The main datafile's default palette as file bytes.
std::string default_bytes() {
  const RGB* def = static_cast<RGB*>(MainDatafile[OBJ_DEFAULT_PALETTE].dat);
  std::string bytes(1024, '\0');
  for (int i = 0; i < 256; i++) {
    bytes[4 * i] = static_cast<char>(def[i].r);
    bytes[4 * i + 1] = static_cast<char>(def[i].g);
    bytes[4 * i + 2] = static_cast<char>(def[i].b);
  }
  return bytes;
}

bool same_colour(const RGB& a, const RGB& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

void save_look(const char* name, BITMAP* bmp) {
  const char* dir = std::getenv("FG_PREVIEW_DIR");  // set it to look at the dialogs
  if (!dir) return;
  PALETTE pal;
  get_palette(pal);
  save_png((std::string(dir) + "/" + name).c_str(), bmp, pal);
}

KEYBOARD_DRIVER stand_in_keyboard = {};

class PaletteDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = settings;
    default_settings();
    settings.volume = 200;
    sound_state = SOUND_ON;
    clear_effect_played();
    clear_sample_log();
    reset_widgets();
    steps.clear();
    frames_shown = 0;
    keep_at = -1;
    kept_frame = create_bitmap_ex(8, 800, 600);
    driver = FrameDriver{show, 0, 0, nullptr};
    frame_driver = &driver;
    pointer_visible = 0;
    screen_shake = 0.0f;
    std::memset(const_cast<char*>(key), 0, KEY_MAX);
    clear_keybuf();
    // Without a keyboard driver readkey gives nothing; an empty stand-in
    // driver lets it read what simulate_keypress puts into the buffer.
    saved_keyboard_ = keyboard_driver;
    keyboard_driver = &stand_in_keyboard;
    clear_to_color(SceneBuffer, COL_BACKGROUND);
    ASSERT_EQ(mkdir("Colors", 0755), 0);
  }
  void TearDown() override {
    set_game_folders(GameFolders{});
    frame_driver = nullptr;
    keyboard_driver = saved_keyboard_;
    sound_state = SOUND_UNAVAILABLE;
    std::memset(const_cast<char*>(key), 0, KEY_MAX);
    clear_keybuf();
    mouse_x = mouse_y = mouse_b = 0;
    destroy_bitmap(kept_frame);
    reset_widgets();
    settings = saved_;
    set_palette(static_cast<RGB*>(MainDatafile[OBJ_DEFAULT_PALETTE].dat));
  }
  void run_chooser() {
    if (!steps.empty()) apply(steps[0]);
    palette_chooser();
  }
  int run_editor() {
    if (!steps.empty()) apply(steps[0]);
    return palette_editor();
  }
  // Names "P00.FCL" .. of n valid palettes.
  static void make_palettes(int n) {
    for (int i = 0; i < n; i++) {
      char name[32];
      std::snprintf(name, sizeof name, "Colors/P%02d.FCL", i);
      write_file(name, palette_bytes(i));
    }
  }
  ScopedTempDir dir_;  // made before SetUp runs, so "Colors" goes into it
  Settings saved_;
  KEYBOARD_DRIVER* saved_keyboard_ = nullptr;
  FrameDriver driver{};
};

// ---------------------------------------------------------------------------
// The chooser

const int DOWN_ARROW_X = 360, DOWN_ARROW_Y = 416;  // the list's down arrow: 352, 408 - 367, 423

TEST_F(PaletteDialogs, SeventeenPalettesScrollByOneSixteenDoNotScroll) {
  for (int n : {17, 16}) {
    SCOPED_TRACE(n);
    make_palettes(n);
    if (n == 16) std::remove("Colors/P16.FCL");
    steps.clear();
    idle();
    for (int i = 0; i < 3; i++) click(DOWN_ARROW_X, DOWN_ARROW_Y);  // three steps down: at most max
    click_row(0);
    click(140, 472);  // OK!
    reset_widgets();
    frames_shown = 0;
    run_chooser();
    // Row 0 of the view after scrolling: the list's row 1 (max 1), or the
    // default row when the bar does not react.
    EXPECT_STREQ(settings.palette_name, n == 17 ? "P00.FCL" : "");
  }
}

TEST_F(PaletteDialogs, CurrentPaletteIsPreselectedAndScrolledIntoView) {
  make_palettes(20);
  std::strcpy(settings.palette_name, "P19.FCL");  // row 20: the 20th palette
  idle();
  keep_at = 1;
  click_row(0);  // the first visible row is row 4
  press_enter();
  run_chooser();
  // The highlight on the last visible row only.
  EXPECT_EQ(getpixel(kept_frame, 200, 153 + 16 * 16), COL_MENU_SELECTED_BG);
  EXPECT_EQ(getpixel(kept_frame, 200, 153 + 16 * 15), COL_MENU_BG);
  EXPECT_STREQ(settings.palette_name, "P03.FCL");
}

TEST_F(PaletteDialogs, NamesSortByByteWithSmallLettersAfterCapitals) {
  write_file("Colors/apple.FCL", palette_bytes(1));
  write_file("Colors/Zebra.FCL", palette_bytes(2));
  write_file("Colors/green.fcl", palette_bytes(3));  // the pattern ignores case
  write_file("Colors/Mango.FCL", palette_bytes(4));
  write_file("Colors/notes.txt", palette_bytes(5));
  const char* want[] = {"", "Mango.FCL", "Zebra.FCL", "apple.FCL", "green.fcl"};
  for (int row = 0; row < 5; row++) {
    SCOPED_TRACE(row);
    steps.clear();
    idle();
    click_row(row);
    click(140, 472);
    reset_widgets();
    frames_shown = 0;
    run_chooser();
    EXPECT_STREQ(settings.palette_name, want[row]);
    if (row > 0) {
      EXPECT_EQ(display_bytes(), without_filler(read_file(std::string("Colors/") + want[row])));
    }
  }
}

TEST_F(PaletteDialogs, ShortFilesAreLeftOutAndLongFilesUseTheirFirstBlock) {
  write_file("Colors/Long.FCL", palette_bytes(7, 2000));
  write_file("Colors/Short.FCL", palette_bytes(8, 1023));
  idle();
  click_row(2);  // would be "Short" if it were listed
  keep_at = static_cast<int>(steps.size()) - 1;
  click_row(1);
  click(140, 472);
  run_chooser();
  EXPECT_EQ(getpixel(kept_frame, 200, 153 + 16 * 2), COL_MENU_BG);  // no row 2, nothing selected there
  EXPECT_STREQ(settings.palette_name, "Long.FCL");
  EXPECT_EQ(display_bytes(), without_filler(palette_bytes(7)));
}

TEST_F(PaletteDialogs, ClickBelowTheLastRowOnlyClicks) {
  make_palettes(2);
  std::strcpy(settings.palette_name, "P01.FCL");
  apply_current_palette();
  const std::string before = display_bytes();
  idle();
  click_row(5);
  click(140, 472);
  run_chooser();
  EXPECT_EQ(sample_starts[SFX_CLICK], 2);  // the list and the OK button
  EXPECT_STREQ(settings.palette_name, "P01.FCL");
  EXPECT_EQ(display_bytes(), before);
}

TEST_F(PaletteDialogs, EscAfterPreviewingBringsTheOldPaletteBack) {
  make_palettes(2);
  std::strcpy(settings.palette_name, "P00.FCL");
  apply_current_palette();
  idle();
  click_row(2);
  keep_at = static_cast<int>(steps.size()) - 1;  // after the click: previewing P01
  press_esc();
  run_chooser();
  for (int i = 0; i < 256; i++) {  // previewing P01 after the click
    EXPECT_EQ(palette_at_frame[i].r, palette_bytes(1)[4 * i]) << i;
    EXPECT_EQ(palette_at_frame[i].b, palette_bytes(1)[4 * i + 2]) << i;
  }
  EXPECT_EQ(display_bytes(), without_filler(palette_bytes(0)));
  EXPECT_STREQ(settings.palette_name, "P00.FCL");
  save_look("chooser.png", kept_frame);
}

TEST_F(PaletteDialogs, OkOnTheDefaultRowClearsTheName) {
  make_palettes(1);
  std::strcpy(settings.palette_name, "P00.FCL");
  apply_current_palette();
  idle();
  keep_at = 4;
  click_row(0);
  press_enter();
  run_chooser();
  save_look("chooser_default.png", kept_frame);
  for (char c : settings.palette_name) EXPECT_EQ(c, '\0');
  PALETTE now;
  get_palette(now);
  const RGB* def = static_cast<RGB*>(MainDatafile[OBJ_DEFAULT_PALETTE].dat);
  for (int i = 0; i < 256; i++) EXPECT_TRUE(same_colour(now[i], def[i])) << i;
}

// Only a plain file name of a regular file in "Colors" is taken from the
// settings; anything else gives the default palette and clears the name.
TEST_F(PaletteDialogs, NamesThatAreNoPlainPaletteFileGiveTheDefault) {
  write_file("x", palette_bytes(1));  // what "../x" would reach from "Colors"
  ASSERT_EQ(mkdir("Colors/a", 0755), 0);
  write_file("Colors/a/b", palette_bytes(2));
  ASSERT_EQ(mkfifo("Colors/Pipe.FCL", 0644), 0);
  const std::string long_name(31, 'L');  // a valid file under the first 31 bytes of an unterminated name
  write_file("Colors/" + long_name, palette_bytes(3));
  write_file("Colors/Good.FCL", palette_bytes(4));
  const std::string absolute = dir_.path() + "/x";
  ASSERT_LT(absolute.size(), 32u);
  const std::string names[] = {"../x", absolute, "/etc/passwd", "a/b", ".", "..", "Pipe.FCL", long_name + "X"};
  ScopedWatchdog watchdog(30);
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    set_display_from(palette_bytes(5));
    std::memset(settings.palette_name, 0, sizeof settings.palette_name);
    std::memcpy(settings.palette_name, name.data(), std::min(name.size(), sizeof settings.palette_name));
    apply_current_palette();
    EXPECT_EQ(display_bytes(), without_filler(default_bytes()));
    for (char c : settings.palette_name) EXPECT_EQ(c, '\0');
  }
  std::strcpy(settings.palette_name, "Good.FCL");
  apply_current_palette();
  EXPECT_EQ(display_bytes(), without_filler(palette_bytes(4)));
  EXPECT_STREQ(settings.palette_name, "Good.FCL");
}

// ---------------------------------------------------------------------------
// The editor

const int LIST_DOWN_X = 360, LIST_DOWN_Y = 320;  // the entry list's down arrow: 352, 312 - 367, 327
const int RED_TRACK_END_X = 312, RED_Y = 400;    // pressing here puts the red thumb at its right end

TEST_F(PaletteDialogs, ChangingTheFirstKeyOfMenusAndWindowsRederivesItsGradient) {
  const std::string start = palette_bytes(3);
  set_display_from(start);
  PALETTE before;
  get_palette(before);
  idle();
  click(LIST_DOWN_X, LIST_DOWN_Y);  // view from entry 1
  click_row(10);                    // entry 11, "Menus & Windows", key 1 (index 6)
  keep_at = static_cast<int>(steps.size()) - 1;
  click(RED_TRACK_END_X, RED_Y);
  press_esc();
  EXPECT_EQ(run_editor(), 0);
  PALETTE now;
  get_palette(now);
  EXPECT_EQ(now[6].r, 63);
  EXPECT_EQ(now[6].g, before[6].g);
  EXPECT_EQ(now[6].b, before[6].b);
  RGB mid7, mid9;
  blend_rgb(now[6], now[8], mid7, 50.0f);
  blend_rgb(now[8], now[10], mid9, 50.0f);
  EXPECT_TRUE(same_colour(now[7], mid7));
  EXPECT_TRUE(same_colour(now[9], mid9));
  EXPECT_FALSE(same_colour(before[7], mid7));  // the gradient did change
  EXPECT_TRUE(same_colour(now[8], before[8]));
  EXPECT_TRUE(same_colour(now[10], before[10]));
  for (int i = 0; i < 256; i++)
    if (i < 6 || i > 10) {
      EXPECT_TRUE(same_colour(now[i], before[i])) << i;
    }
  // The entry is highlighted on view row 10; its three swatches show.
  EXPECT_EQ(getpixel(kept_frame, 200, 153 + 16 * 10), COL_MENU_SELECTED_BG);
  EXPECT_EQ(getpixel(kept_frame, 120 + 20, 336 + 20), 6);
  EXPECT_EQ(getpixel(kept_frame, 216 + 20, 336 + 20), 8);
  EXPECT_EQ(getpixel(kept_frame, 312 + 20, 336 + 20), 10);
  save_look("editor.png", kept_frame);
}

TEST_F(PaletteDialogs, SwitchingToAOneKeyEntryFromKeyThreeSelectsKeyOne) {
  set_display_from(palette_bytes(4));
  PALETTE before;
  get_palette(before);
  idle();
  click_row(2);          // "Explosions", three keys
  click(340, 360);       // its third key, index 127
  click_row(0);          // "Background", one key
  click(RED_TRACK_END_X, RED_Y);
  press_esc();
  EXPECT_EQ(run_editor(), 0);
  PALETTE now;
  get_palette(now);
  EXPECT_EQ(now[88].r, 63);
  for (int i = 0; i < 256; i++)
    if (i != 88) {
      EXPECT_TRUE(same_colour(now[i], before[i])) << i;
    }
}

TEST_F(PaletteDialogs, NameEntryLimitsAndRefusals) {
  set_display_from(palette_bytes(5));
  const std::string shown = display_bytes();
  idle();
  type("\b");  // Backspace on an empty name
  type("\r");  // Enter on an empty name
  type("/");   // a path separator is refused like an unprintable character
  static char letters[25][2];
  for (int i = 0; i < 25; i++) {  // 25 characters, one a frame
    letters[i][0] = static_cast<char>('a' + i);
    type(letters[i]);
  }
  keep_at = static_cast<int>(steps.size()) - 1;  // all 24 letters in, the 25th refused
  type("\r");
  EXPECT_EQ(save_palette_dialog(), 1);
  save_look("name_prompt.png", kept_frame);
  EXPECT_STREQ(settings.palette_name, "abcdefghijklmnopqrstuvwx.FCL");
  EXPECT_EQ(without_filler(read_file("Colors/abcdefghijklmnopqrstuvwx.FCL")), shown);
  EXPECT_EQ(folder_entries("Colors"), std::vector<std::string>{"abcdefghijklmnopqrstuvwx.FCL"})
      << "no temporary file is left";
}

TEST_F(PaletteDialogs, EscInTheNamePromptSavesNothing) {
  idle();
  type("Gone\x1b");
  EXPECT_EQ(save_palette_dialog(), -1);
  EXPECT_TRUE(read_file("Colors/Gone.FCL").empty());
  EXPECT_STREQ(settings.palette_name, "");
}

// The shipped palettes (data folder) and the player's own (user folder)
// are listed together, a player's file hiding a shipped one of the same
// name; a new palette goes into the user folder's "Colors", made then.
TEST_F(PaletteDialogs, PalettesComeFromBothFoldersAndNewOnesGoToTheUserFolder) {
  ASSERT_EQ(mkdir("data", 0755), 0);
  ASSERT_EQ(mkdir("data/Colors", 0755), 0);
  ASSERT_EQ(mkdir("user", 0700), 0);
  write_file("data/Colors/Shipped.FCL", palette_bytes(1));
  write_file("data/Colors/Same.FCL", palette_bytes(2));
  set_game_folders(GameFolders{FOLDERS_INSTALLED, dir_.path() + "/data", dir_.path() + "/user"});
  EXPECT_EQ(list_palette_files(PALETTE_LIST_MAX - 1), (std::vector<std::string>{"Same.FCL", "Shipped.FCL"}));

  set_display_from(palette_bytes(5));
  idle();
  type("Same\r");
  const int saved = save_palette_dialog();
  const std::string shown = display_bytes();
  EXPECT_EQ(saved, 1);
  EXPECT_STREQ(settings.palette_name, "Same.FCL");
  EXPECT_EQ(without_filler(read_file("user/Colors/Same.FCL")), shown);
  EXPECT_EQ(read_file("data/Colors/Same.FCL"), palette_bytes(2)) << "the shipped file is left alone";
  EXPECT_EQ(list_palette_files(PALETTE_LIST_MAX - 1), (std::vector<std::string>{"Same.FCL", "Shipped.FCL"}));
  PALETTE pal;
  ASSERT_EQ(read_palette_file("Same.FCL", pal), 1);
  EXPECT_EQ(without_filler(std::string(reinterpret_cast<const char*>(pal), PALETTE_FILE_SIZE)), shown);
  ASSERT_EQ(read_palette_file("Shipped.FCL", pal), 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(pal), PALETTE_FILE_SIZE), palette_bytes(1));
}

TEST_F(PaletteDialogs, DecliningToOverwriteWritesNothingAndGoesOnEditing) {
  write_file("Colors/Old.FCL", palette_bytes(9));
  std::strcpy(settings.palette_name, "Keep.FCL");
  set_display_from(palette_bytes(6));
  idle();
  press_enter();
  Step answer;
  answer.type = "Old\r";
  answer.n = 1;  // held from the start of the prompt; the name entry does not read it
  steps.push_back(answer);
  for (int i = 0; i < 12; i++) steps.push_back(answer);
  idle(3);  // back in the editor
  press_esc();
  EXPECT_EQ(run_editor(), 0);
  EXPECT_EQ(sample_starts[SFX_MESSAGE], 1);  // the question was asked
  EXPECT_EQ(read_file("Colors/Old.FCL"), palette_bytes(9));
  EXPECT_EQ(folder_entries("Colors"), std::vector<std::string>{"Old.FCL"});
  EXPECT_STREQ(settings.palette_name, "Keep.FCL");
}

TEST_F(PaletteDialogs, SavingWritesTheNumberShadesAndNamesThePalette) {
  std::string start = palette_bytes(2);
  start[4 * 16] = 10, start[4 * 16 + 1] = 20, start[4 * 16 + 2] = 30;  // "Number 1"
  start[4 * 255] = 63, start[4 * 255 + 1] = 40, start[4 * 255 + 2] = 0;
  set_display_from(start);
  idle();
  press_enter();
  type("New\r");
  EXPECT_EQ(run_editor(), 1);
  EXPECT_STREQ(settings.palette_name, "New.FCL");
  PALETTE now;
  get_palette(now);
  const float steps_pct[4] = {100.0f, 75.0f, 50.0f, 25.0f};
  for (int s = 0; s < 4; s++) {
    RGB want;
    blend_rgb(now[16], now[255], want, steps_pct[s]);
    EXPECT_TRUE(same_colour(now[128 + s], want)) << s;
  }
  EXPECT_EQ(now[128].r, 62);  // nearly index 255: 10 toward 63 at 100 %
  EXPECT_EQ(now[128].g, 39);
  EXPECT_EQ(now[128].b, 0);
  EXPECT_EQ(now[131].r, 23);  // a quarter of the way: 10 + 53 / 4
  EXPECT_EQ(without_filler(read_file("Colors/New.FCL")), display_bytes());
  EXPECT_EQ(folder_entries("Colors"), std::vector<std::string>{"New.FCL"}) << "no temporary file is left";
}

TEST_F(PaletteDialogs, UnwritablePaletteShowsTheMessageAndKeepsTheName) {
  // "Colors" is a plain file: neither the folder nor the palette can be made.
  ASSERT_EQ(rmdir("Colors"), 0);
  write_file("Colors", "x");
  std::strcpy(settings.palette_name, "Keep.FCL");
  idle();
  type("Name\r");
  idle(6);
  keep_at = 8;
  type("k");  // any key ends the message
  EXPECT_EQ(save_palette_dialog(), -1);
  EXPECT_EQ(sample_starts[SFX_MESSAGE], 1);
  EXPECT_STREQ(settings.palette_name, "Keep.FCL");
  EXPECT_EQ(getpixel(kept_frame, 186, 300), COL_WINDOW);  // the message box 184, 284 - 615, 315
  save_look("save_failed.png", kept_frame);
}

TEST_F(PaletteDialogs, AFailedWriteLeavesNoFileBehind) {
  // A folder of the palette's name: the question is asked, the temporary
  // file is written, and putting it in place fails.
  ASSERT_EQ(mkdir("Colors/Dir.FCL", 0755), 0);
  std::strcpy(settings.palette_name, "Keep.FCL");
  idle();
  Step answer;
  answer.type = "Dir\r";
  answer.yes = 1;
  for (int i = 0; i < 6; i++) steps.push_back(answer);
  idle(4);
  keep_at = static_cast<int>(steps.size());
  type("k");
  EXPECT_EQ(save_palette_dialog(), -1);
  EXPECT_EQ(sample_starts[SFX_MESSAGE], 2);  // the question and the failure
  EXPECT_STREQ(settings.palette_name, "Keep.FCL");
  EXPECT_EQ(folder_entries("Colors"), std::vector<std::string>{"Dir.FCL"}) << "no temporary file is left";
  BITMAP* want = create_bitmap_ex(8, 800, 600);
  blit(SceneBuffer, want, 0, 0, 0, 0, 800, 600);
  draw_frame(want, 184, 284, 615, 315);
  draw_text_centre(want, 400, 296, COL_MENU_FONT, "Unable to write palette. Press any key to return.");
  int differ = 0;
  for (int y = 0; y < 600; y++)
    for (int x = 0; x < 800; x++) differ += getpixel(want, x, y) != getpixel(kept_frame, x, y);
  EXPECT_EQ(differ, 0);
  destroy_bitmap(want);
}

// Links planted at the palette's name and at a temporary name are not
// written through: the palette replaces the first as a regular file.
TEST_F(PaletteDialogs, SavingNeverWritesThroughALink) {
  ScopedTempDir outside;
  const std::string target = outside.path() + "/target";
  write_file(target, "keep");
  ASSERT_EQ(chdir(dir_.path().c_str()), 0);
  ASSERT_EQ(symlink(target.c_str(), "Colors/Linked.FCL"), 0);
  ASSERT_EQ(symlink(target.c_str(), "Colors/Linked.FCL.tmp"), 0);
  set_display_from(palette_bytes(6));
  idle();
  Step answer;
  answer.type = "Linked\r";
  answer.yes = 1;  // the name is taken: overwrite it
  for (int i = 0; i < 10; i++) steps.push_back(answer);  // a typed key a frame, then the question
  idle(4);
  EXPECT_EQ(save_palette_dialog(), 1);
  EXPECT_EQ(read_file(target), "keep");
  struct stat st;
  ASSERT_EQ(lstat("Colors/Linked.FCL", &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(without_filler(read_file("Colors/Linked.FCL")), without_filler(palette_bytes(6)));
  EXPECT_EQ(folder_entries("Colors"), (std::vector<std::string>{"Linked.FCL", "Linked.FCL.tmp"}));
}

TEST_F(PaletteDialogs, CreatingFromTheChooserEndsItWhenThePaletteIsSaved) {
  make_palettes(1);
  idle();
  click(240, 444);  // "Create a New Color Palette"
  press_enter();    // the editor's save
  type("Made\r");
  run_chooser();
  EXPECT_STREQ(settings.palette_name, "Made.FCL");
  EXPECT_EQ(without_filler(read_file("Colors/Made.FCL")), display_bytes());
}

}  // namespace
