#include "screens/board_chooser.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/datafile_check.h"
#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "platform/termination.h"
#include "board/board_load.h"
#include "board/style_fixture.h"
#include "board/style_list.h"
#include "common/preview.h"
#include "palette/palette_entries.h"
#include "screens/board_preview.h"
#include "support/headless.h"
#include "ui/frames.h"
#include "ui/widgets.h"

namespace {

struct RunawayLoop {};

BITMAP* picture(int index) { return static_cast<BITMAP*>(MainDatafile[index].dat); }

// The player's input for one update; input k is in place for the update
// that follows frame k (input 0 for the first update).
struct Input {
  int x, y, b;
  int enter = 0, esc = 0;
};

std::vector<Input> inputs;
std::vector<BITMAP*> frames;                   // copies of every frame shown
std::function<void(int frame)> on_frame;       // extra per-frame work of a test

void apply(const Input& in) {
  mouse_x = in.x;
  mouse_y = in.y;
  mouse_b = in.b;
  key[KEY_ENTER] = static_cast<char>(in.enter);
  key[KEY_ENTER_PAD] = 0;
  key[KEY_ESC] = static_cast<char>(in.esc);
}

bool notice_pending = false;  // the first frame of the chooser is the wait notice
int notices = 0;

void show(BITMAP* frame, int, int) {
  if (frames.size() >= 200) throw RunawayLoop{};
  tick_count.store(40);  // 1/60 s per frame
  if (notice_pending) {
    notice_pending = false;
    // The notice's frame at (320, 268)-(479, 331).
    notices += getpixel(frame, 320, 268) == getpixel(picture(OBJ_FRAME_TOP_LEFT), 0, 0) &&
               getpixel(frame, 400, 300) != COL_BACKGROUND;
    if (!inputs.empty()) apply(inputs[0]);
    return;
  }
  BITMAP* copy = create_bitmap_ex(8, frame->w, frame->h);
  blit(frame, copy, 0, 0, 0, 0, frame->w, frame->h);
  frames.push_back(copy);
  const size_t k = frames.size();
  if (on_frame) on_frame(static_cast<int>(k));
  if (inputs.empty()) return;
  apply(inputs[k < inputs.size() ? k : inputs.size() - 1]);
}

// Press and release at (x, y), and one more update with the button up (the
// clicked widget lets go of the mouse then).
void click(int x, int y) {
  inputs.push_back({x, y, 1});
  inputs.push_back({x, y, 0});
  inputs.push_back({x, y, 0});
}
void idle(int n = 1) {
  for (int i = 0; i < n; i++) inputs.push_back({0, 599, 0});
}
void enter() {
  Input in{0, 599, 0};
  in.enter = 1;
  inputs.push_back(in);
  idle();
}
void esc() {
  Input in{0, 599, 0};
  in.esc = 1;
  inputs.push_back(in);
  inputs.push_back(in);
  idle();
}

// Rows of the two lists and the buttons.
int style_row_y(int r) { return 184 + 16 * r + 8; }
int pattern_row_y(int r) { return 296 + 16 * r + 8; }
void click_style_row(int r) { click(300, style_row_y(r)); }
void click_pattern_row(int r) { click(300, pattern_row_y(r)); }
void click_ok() { click(300, 440); }
void click_cancel() { click(490, 440); }



// A style of `patterns` small square boards named "<name> <q>".
fixture::Style style(const std::string& name, int patterns) {
  fixture::Style st = fixture::square_style(std::vector<std::pair<int, int>>(static_cast<size_t>(patterns), {2, 2}));
  st.name = name;
  for (int q = 0; q < patterns; q++) st.patterns[static_cast<size_t>(q)].name = name + " " + std::to_string(q);
  return st;
}

void write(const fixture::Style& st, const char* file) { ASSERT_TRUE(fixture::write_style(st, file)) << file; }

void write_bad_signature(const char* file) {
  fixture::Style st = style("Forged", 1);
  st.sig_second = 400547;
  write(st, file);
}

void save_preview(const char* name, BITMAP* bmp) {
  if (const char* dir = std::getenv("FG_DIALOG_PREVIEW")) {
    PALETTE pal;
    std::memcpy(pal, MainDatafile[OBJ_DEFAULT_PALETTE].dat, sizeof pal);
    save_png((std::string(dir) + "/" + name + ".png").c_str(), bmp, pal);
  }
}

class Chooser : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memcpy(saved_file, board_file_name, sizeof saved_file);
    saved_index = current_board_index;
    reset_widgets();
    driver = FrameDriver{show, 0, 0, nullptr};
    frame_driver = &driver;
    pointer_visible = 0;
    clear_to_color(SceneBuffer, COL_BACKGROUND);
    std::strcpy(chosen_board_file, "unchanged.dat");
    chosen_board_index = 99;
    start();
  }
  void TearDown() override {
    frame_driver = nullptr;
    apply({0, 0, 0});
    start();
    on_frame = nullptr;
    std::memcpy(board_file_name, saved_file, sizeof saved_file);
    current_board_index = saved_index;
    chosen_board_index = -1;
    std::strcpy(chosen_board_file, "fgboards.dat");
    reset_widgets();
  }
  // A fresh script for the next run of the chooser.
  void start() {
    inputs.clear();
    for (BITMAP* f : frames) destroy_bitmap(f);
    frames.clear();
    on_frame = nullptr;
    apply({0, 599, 0});
  }
  // Runs the chooser with the board in play given; returns its result.
  int run(const char* in_play, int index) {
    std::snprintf(board_file_name, sizeof board_file_name, "%s", in_play);
    current_board_index = index;
    reset_widgets();
    notice_pending = true;
    notices = 0;
    const int result = choose_board();
    EXPECT_EQ(notices, 1);
    return result;
  }
  char saved_file[16];
  int saved_index = -1;
  FrameDriver driver{};
};

// The selected row of a list is filled with the selection colour.
bool row_selected(BITMAP* shown, int row_y) { return getpixel(shown, 278, row_y - 6) == COL_MENU_SELECTED_BG; }

}  // namespace

TEST(ChooserNames, ComparedAsSignedBytesUpToTheTerminator) {
  EXPECT_LT(compare_style_names("\xC0 high", "Alpha"), 0);  // 0xC0 is a negative byte
  EXPECT_LT(compare_style_names("Ab", "B"), 0);
  EXPECT_GT(compare_style_names("b", "B"), 0);
  EXPECT_EQ(compare_style_names("Same\0xyz", "Same\0abc"), 0);  // nothing counts after the terminator
  EXPECT_LT(compare_style_names("Same", "Same name"), 0);
  // Unterminated: 32 bytes at most are compared.
  char a[40], b[40];
  std::memset(a, 'x', sizeof a);
  std::memset(b, 'x', sizeof b);
  a[35] = 'a';
  b[35] = 'b';
  EXPECT_EQ(compare_style_names(a, b), 0);
  b[31] = 'y';
  EXPECT_LT(compare_style_names(a, b), 0);
}

TEST(ChooserNames, SortKeepsNameAndFileTogether) {
  StyleEntry e[5] = {};
  const char* names[5] = {"Zeta", "Alpha", "\xC0 high", "Mid", "Alpha"};
  const char* files[5] = {"z.dat", "a1.dat", "h.dat", "m.dat", "a2.dat"};
  for (int i = 0; i < 5; i++) {
    std::strcpy(e[i].name, names[i]);
    std::strcpy(e[i].file, files[i]);
  }
  sort_style_entries(e, 5);
  const char* want[5] = {"h.dat", "a1.dat", "a2.dat", "m.dat", "z.dat"};
  for (int i = 0; i < 5; i++) EXPECT_STREQ(e[i].file, want[i]) << i;
  EXPECT_STREQ(e[0].name, "\xC0 high");
  EXPECT_STREQ(e[4].name, "Zeta");
}

TEST_F(Chooser, ListsTheValidStylesByName) {
  ScopedTempDir dir;
  write(style("Zeta", 2), "fgboards-a.dat");
  write(style("Alpha", 3), "fgboards-b.dat");
  write(style("\xC0 High", 2), "FGBOARDS-C.DAT");
  write_bad_signature("fgboards-d.dat");
  write_file("fgboards-e.dat", "not a datafile");
  write(style("Not a style file", 1), "fgridgx-x.dat");

  // No file in play matches: the first style by name and pattern 0.
  enter();
  EXPECT_EQ(run("fgboards.dat", 3), 1);
  EXPECT_STREQ(chosen_board_file, "FGBOARDS-C.DAT");
  EXPECT_EQ(chosen_board_index, 0);

  // Row 1 is "Alpha", row 2 "Zeta"; row 3 is empty.
  const struct {
    int row;
    const char* file;
  } rows[] = {{1, "fgboards-b.dat"}, {2, "fgboards-a.dat"}, {3, "FGBOARDS-C.DAT"}};
  for (auto r : rows) {
    SCOPED_TRACE(r.row);
    start();
    click_style_row(r.row);
    click_pattern_row(1);
    click_ok();
    EXPECT_EQ(run("fgboards.dat", -1), 1);
    EXPECT_STREQ(chosen_board_file, r.file);
    EXPECT_EQ(chosen_board_index, 1);
    ASSERT_EQ(frames.size(), 8u);  // closed by the release on OK
    EXPECT_TRUE(row_selected(frames[1], style_row_y(r.row == 3 ? 0 : r.row)));
    EXPECT_TRUE(row_selected(frames[4], pattern_row_y(1)));
    EXPECT_FALSE(row_selected(frames[4], pattern_row_y(0)));
  }
  save_preview("chooser fixtures", frames[4]);
}

TEST_F(Chooser, SingleValidStyleIsPreselectedWithItsBarDisabled) {
  ScopedTempDir dir;
  write(style("Only One", 12), "fgboards-x.dat");
  write_bad_signature("fgboards.dat");
  click(515, 270);  // on the style bar's down arrow
  click(515, 414);  // on the pattern bar's down arrow
  enter();
  EXPECT_EQ(run("fgboards.dat", 5), 1);
  EXPECT_STREQ(chosen_board_file, "fgboards-x.dat");
  EXPECT_EQ(chosen_board_index, 0);
  ASSERT_GE(frames.size(), 5u);
  EXPECT_TRUE(row_selected(frames[0], style_row_y(0)));
  // The disabled style bar does not take the press; the pattern bar does.
  EXPECT_EQ(picture_misses(frames[0], picture(OBJ_SCROLL_DOWN), 508, 264), 0);
  EXPECT_EQ(picture_misses(frames[3], picture(OBJ_SCROLL_DOWN_PRESSED), 508, 408), 0);
  EXPECT_FALSE(row_selected(frames[4], pattern_row_y(0)));  // scrolled by one: pattern 0 is out of sight
}

TEST_F(Chooser, PreselectsTheBoardInPlayAndScrollsToIt) {
  ScopedTempDir dir;
  write(style("Alpha Three", 3), "fgboards-a.dat");
  write(style("Beta Twelve", 12), "fgboards-b.dat");
  enter();
  EXPECT_EQ(run("fgboards-b.dat", 10), 1);
  EXPECT_STREQ(chosen_board_file, "fgboards-b.dat");
  EXPECT_EQ(chosen_board_index, 10);
  ASSERT_GE(frames.size(), 1u);
  EXPECT_TRUE(row_selected(frames[0], style_row_y(1)));
  EXPECT_TRUE(row_selected(frames[0], pattern_row_y(7)));  // the list starts at pattern 3

  start();
  click_pattern_row(0);
  click_ok();
  EXPECT_EQ(run("fgboards-b.dat", 10), 1);
  EXPECT_EQ(chosen_board_index, 3);

  start();
  enter();
  EXPECT_EQ(run("fgboards-b.dat", -1), 1);  // no board loaded yet: pattern 0
  EXPECT_STREQ(chosen_board_file, "fgboards-b.dat");
  EXPECT_EQ(chosen_board_index, 0);
}

TEST_F(Chooser, SwitchingStylesKeepsThePatternWithinTheNewList) {
  ScopedTempDir dir;
  write(style("Alpha Three", 3), "fgboards-a.dat");
  write(style("Beta Twelve", 12), "fgboards-b.dat");
  click_style_row(0);
  click_ok();
  EXPECT_EQ(run("fgboards-b.dat", 10), 1);
  EXPECT_STREQ(chosen_board_file, "fgboards-a.dat");
  EXPECT_EQ(chosen_board_index, 2);  // p - 1
  ASSERT_GE(frames.size(), 2u);
  EXPECT_TRUE(row_selected(frames[1], pattern_row_y(2)));

  start();
  click_style_row(1);
  click_ok();
  EXPECT_EQ(run("fgboards-a.dat", 1), 1);
  EXPECT_STREQ(chosen_board_file, "fgboards-b.dat");
  EXPECT_EQ(chosen_board_index, 1);  // fits the new list: stays
}

TEST_F(Chooser, StyleThatHasTurnedBadIsNotSelected) {
  ScopedTempDir dir;
  write(style("Alpha", 3), "fgboards-a.dat");
  write(style("Beta", 5), "fgboards-b.dat");
  write(style("Gamma", 5), "fgboards-c.dat");
  on_frame = [](int frame) {
    if (frame == 1) {
      write_file("fgboards-b.dat", "gone bad");
      write_bad_signature("fgboards-c.dat");
    }
  };
  click_style_row(1);
  click_style_row(2);
  click_pattern_row(2);
  click_ok();
  EXPECT_EQ(run("fgboards-a.dat", 1), 1);
  EXPECT_STREQ(chosen_board_file, "fgboards-a.dat");
  EXPECT_EQ(chosen_board_index, 2);
  ASSERT_GE(frames.size(), 5u);
  EXPECT_TRUE(row_selected(frames[4], style_row_y(0)));
  EXPECT_FALSE(row_selected(frames[4], style_row_y(1)));
  EXPECT_FALSE(row_selected(frames[4], style_row_y(2)));
}

TEST_F(Chooser, EnterConfirmsAfterReleaseEscAndCancelChangeNothing) {
  ScopedTempDir dir;
  write(style("Alpha", 3), "fgboards-a.dat");
  write(style("Beta", 5), "fgboards-b.dat");

  click_style_row(1);
  Input held{0, 599, 0};
  held.enter = 1;
  for (int i = 0; i < 3; i++) inputs.push_back(held);
  idle();
  on_frame = [](int) {
    if (key[KEY_ENTER]) {
      EXPECT_STREQ(chosen_board_file, "unchanged.dat");  // not while the key is down
    }
  };
  EXPECT_EQ(run("fgboards-a.dat", 2), 1);
  EXPECT_STREQ(chosen_board_file, "fgboards-b.dat");
  EXPECT_EQ(chosen_board_index, 2);
  EXPECT_EQ(frames.size(), 7u);

  for (int cancel = 0; cancel < 2; cancel++) {
    SCOPED_TRACE(cancel ? "Cancel" : "Esc");
    start();
    std::strcpy(chosen_board_file, "unchanged.dat");
    chosen_board_index = 99;
    click_style_row(1);
    click_pattern_row(4);
    if (cancel)
      click_cancel();
    else
      esc();
    EXPECT_EQ(run("fgboards-a.dat", 0), 0);
    EXPECT_STREQ(chosen_board_file, "unchanged.dat");
    EXPECT_EQ(chosen_board_index, 99);
  }
}

TEST_F(Chooser, UnterminatedStyleNameIsListedSafely) {
  ScopedTempDir dir;
  // A name filling all 32 bytes, the header still summing to 2022.
  std::vector<fixture::Object> objs = fixture::style_objects(style("x", 2));
  std::vector<uint8_t>& layout = objs[0].bytes;
  int rest = 0;
  for (int i = 32; i < STYLE_HEADER_SIZE; i++) rest += layout[static_cast<size_t>(i)];
  const char* text = "FULL 32 BYTE NAME NO END 0123456";
  int sum = 0;
  for (int i = 0; i < 32; i++) sum += layout[static_cast<size_t>(i)] = static_cast<uint8_t>(text[i]);
  for (int i = 31; i >= 0 && sum != 2022 - rest; i--) {
    const int want = layout[static_cast<size_t>(i)] + (2022 - rest - sum);
    const int b = want < 48 ? 48 : (want > 90 ? 90 : want);
    sum += b - layout[static_cast<size_t>(i)];
    layout[static_cast<size_t>(i)] = static_cast<uint8_t>(b);
  }
  ASSERT_EQ(sum + rest, 2022);
  ASSERT_TRUE(fixture::write_objects(objs, "fgboards-u.dat"));
  {
    DATAFILE* dat = load_checked_datafile("fgboards-u.dat");
    ASSERT_NE(dat, nullptr);
    EXPECT_EQ(passes_signature(dat), 1);
    unload_datafile(dat);
  }
  write(style("Zed", 1), "fgboards-v.dat");

  idle();
  enter();
  EXPECT_EQ(run("fgboards-u.dat", 1), 1);
  EXPECT_STREQ(chosen_board_file, "fgboards-u.dat");
  EXPECT_EQ(chosen_board_index, 1);
  ASSERT_GE(frames.size(), 1u);
  // The row shows the 32 characters, kept inside the list box.
  BITMAP* want = create_bitmap_ex(8, 800, 600);
  clear_to_color(want, COL_MENU_SELECTED_BG);
  char name[33];
  std::memcpy(name, layout.data(), 32);
  name[32] = 0;
  draw_text(want, 284, 188, COL_MENU_SELECTED_FONT, name);
  int ink = 0, wrong = 0;
  for (int y = 185; y <= 198; y++) {
    for (int x = 277; x <= 506; x++) {
      ink += getpixel(frames[0], x, y) == COL_MENU_SELECTED_FONT;
      wrong += getpixel(frames[0], x, y) != getpixel(want, x, y);
    }
    for (int x = 507; x < 560; x++) wrong += getpixel(frames[0], x, y) == COL_MENU_SELECTED_FONT;
  }
  EXPECT_GT(ink, 100);
  EXPECT_EQ(wrong, 0);
  destroy_bitmap(want);
  save_preview("chooser long name", frames[0]);
}

TEST_F(Chooser, ListHoldsAtMostMaxStyles) {
  ScopedTempDir dir;
  write(style("Same", 1), "fgboards000.dat");
  const std::string bytes = read_file("fgboards000.dat");
  char file[32];
  for (int i = 1; i < MAX_STYLES + 2; i++) {
    std::snprintf(file, sizeof file, "fgboards%03d.dat", i);
    write_file(file, bytes);
  }
  // Drag the style bar's thumb to the end, then take the last row.
  click(515, 263);
  click_style_row(5);
  click_ok();
  EXPECT_EQ(run("fgboards.dat", -1), 1);
  EXPECT_STREQ(chosen_board_file, "fgboards511.dat");  // 512 and 513 are left out
}

TEST_F(Chooser, MissingOrInvalidStyleFilesEndTheProgram) {
  ScopedTempDir dir;
  // The message goes to standard output without a display; the check
  // reads it from standard error.
  EXPECT_EXIT(
      {
        dup2(2, 1);
        choose_board();
      },
      ::testing::ExitedWithCode(EXIT_STATUS_FAILURE), "ERROR 005");
  write_bad_signature("fgboards.dat");
  write_file("fgboards-2.dat", "junk");
  EXPECT_EXIT(
      {
        dup2(2, 1);
        choose_board();
      },
      ::testing::ExitedWithCode(EXIT_STATUS_FAILURE), "ERROR 006");
}

TEST_F(Chooser, ShippedStylesInTheGameFolder) {
  // The sorted list as the chooser builds it.
  std::vector<StyleEntry> want;
  for (const std::string& f : find_style_files(".")) {
    DATAFILE* dat = load_checked_datafile(f.c_str());
    ASSERT_NE(dat, nullptr) << f;
    StyleEntry e{};
    std::memcpy(e.name, style_layout(dat, nullptr), 32);
    std::snprintf(e.file, sizeof e.file, "%s", f.c_str());
    want.push_back(e);
    unload_datafile(dat);
  }
  ASSERT_GT(want.size(), 6u);
  sort_style_entries(want.data(), static_cast<int>(want.size()));
  int in_play = -1;
  for (size_t i = 0; i < want.size(); i++)
    if (std::strcmp(want[i].file, "fgboards.dat") == 0) in_play = static_cast<int>(i);
  ASSERT_GE(in_play, 0);
  const int top = in_play > 5 ? in_play - 5 : 0;

  enter();
  EXPECT_EQ(run("fgboards.dat", 1), 1);
  EXPECT_STREQ(chosen_board_file, "fgboards.dat");
  EXPECT_EQ(chosen_board_index, 1);
  ASSERT_GE(frames.size(), 1u);
  EXPECT_TRUE(row_selected(frames[0], style_row_y(in_play - top)));
  save_preview("chooser shipped", frames[0]);

  // The frame outside the two lists: the dialog's frames, captions, boxes
  // and buttons.
  BITMAP* shown = frames[0];
  BITMAP* layout = create_bitmap_ex(8, 800, 600);
  clear_to_color(layout, COL_BACKGROUND);
  draw_frame(layout, 268, 152, 531, 167);
  draw_text_centre(layout, 400, 156, COL_MENU_FONT, "Select a Board Style and Pattern");
  draw_frame(layout, 268, 168, 531, 431);
  draw_text(layout, 280, 172, COL_MENU_FONT, "Available Styles");
  draw_inset_box(layout, 276, 184, 507, 279);
  draw_text(layout, 280, 284, COL_MENU_FONT, "Available Patterns");
  draw_inset_box(layout, 276, 296, 507, 423);
  draw_frame(layout, 268, 432, 339, 447);
  draw_caption(layout, 268, 432, 339, 447, "OK!", ALIGN_CENTRE, 0);
  draw_frame(layout, 460, 432, 531, 447);
  draw_caption(layout, 460, 432, 531, 447, "Cancel", ALIGN_CENTRE, 0);
  draw_frame(layout, 340, 432, 459, 447);
  int wrong = 0;
  for (int y = 0; y < 600; y++)
    for (int x = 0; x < 800; x++) {
      const bool in_lists = x >= 277 && x <= 523 && ((y >= 184 && y <= 279) || (y >= 296 && y <= 423));
      const bool in_preview = x >= 540 && x <= 779 && y >= 152 && y <= 447;  // see the preview tests
      if (!in_lists && !in_preview) wrong += getpixel(shown, x, y) != getpixel(layout, x, y);
    }
  EXPECT_EQ(wrong, 0);
  destroy_bitmap(layout);

  // One step down with the style bar's arrow, then the top row.
  start();
  click(515, 270);
  click_style_row(0);
  click_ok();
  EXPECT_EQ(run("fgboards.dat", 0), 1);
  const int max_top = static_cast<int>(want.size()) - 6;
  EXPECT_STREQ(chosen_board_file, want[static_cast<size_t>(top + 1 > max_top ? max_top : top + 1)].file);
  ASSERT_GE(frames.size(), 1u);
  EXPECT_EQ(picture_misses(frames[0], picture(OBJ_SCROLL_DOWN_PRESSED), 508, 264), 0);
}

// ---------------------------------------------------------------------------
// The preview panel right of the dialog.

namespace {

// The panel as it should look: frames, boxes and captions, the picture
// `spr` over the box's background, fitted and centred (none: the box stays
// empty), and the rows of counts (none: the box stays empty).
BITMAP* expected_panel(const RLE_SPRITE* spr, const std::vector<std::string>& counts) {
  BITMAP* want = create_bitmap_ex(8, 800, 600);
  clear_to_color(want, COL_BACKGROUND);
  draw_frame(want, 540, 152, 779, 167);
  draw_text_centre(want, 660, 156, COL_MENU_FONT, "Pattern Preview");
  draw_frame(want, 540, 168, 779, 447);
  draw_inset_box(want, 548, 176, 771, 355);
  draw_text(want, 552, 360, COL_MENU_FONT, "Cells and Mines");
  draw_inset_box(want, 548, 372, 771, 439);
  if (spr) {
    BITMAP* full = create_bitmap_ex(8, spr->w, spr->h);
    clear_to_color(full, COL_MENU_BG);
    draw_rle_sprite(full, const_cast<RLE_SPRITE*>(spr), 0, 0);
    int w = 0, h = 0;
    preview_fitted_size(spr->w, spr->h, &w, &h);
    stretch_blit(full, want, 0, 0, spr->w, spr->h, 549 + (222 - w) / 2, 177 + (178 - h) / 2, w, h);
    destroy_bitmap(full);
  }
  static const char* const labels[5] = {"Cells", "Beginner", "Intermediate", "Expert", "Master"};
  for (size_t r = 0; r < counts.size() && r < 5; r++) {
    const int y = 378 + 12 * static_cast<int>(r);
    draw_text(want, 556, y, COL_MENU_FONT, labels[r]);
    draw_text_right(want, 764, y, COL_MENU_FONT, counts[r].c_str());
  }
  return want;
}

// Pixels of the rectangle that differ between two frames.
int misses(BITMAP* shown, BITMAP* want, int x1, int y1, int x2, int y2) {
  int wrong = 0;
  for (int y = y1; y <= y2; y++)
    for (int x = x1; x <= x2; x++) wrong += getpixel(shown, x, y) != getpixel(want, x, y);
  return wrong;
}

// Pixels of the whole panel, or of its picture box only, that differ from
// what it should show.
int panel_misses(BITMAP* shown, const RLE_SPRITE* spr, const std::vector<std::string>& counts) {
  BITMAP* want = expected_panel(spr, counts);
  const int wrong = misses(shown, want, 540, 152, 779, 447);
  destroy_bitmap(want);
  return wrong;
}
int picture_box_misses(BITMAP* shown, const RLE_SPRITE* spr) {
  BITMAP* want = expected_panel(spr, {});
  const int wrong = misses(shown, want, 548, 176, 771, 355);
  destroy_bitmap(want);
  return wrong;
}

// Board picture and counts of pattern q of a loaded style, read here from
// the layout: the record's cells at 0x20, the mines of each skill level at
// 0x22 + 2 * skill.
const RLE_SPRITE* pattern_sprite(const DATAFILE* dat, int q) {
  const uint8_t* layout = style_layout(dat, nullptr);
  return static_cast<const RLE_SPRITE*>(dat[3 * read_u8(layout, 0x20) + 1 + q].dat);
}
std::vector<std::string> pattern_counts(const DATAFILE* dat, int q) {
  const uint8_t* layout = style_layout(dat, nullptr);
  const uint32_t record = read_u32(layout, read_u32(layout, 0x26) + 4u * static_cast<uint32_t>(q));
  std::vector<std::string> counts{std::to_string(read_u16(layout, record + 0x20))};
  for (uint32_t k = 0; k < 4; k++) counts.push_back(std::to_string(read_u16(layout, record + 0x22 + 2 * k)));
  return counts;
}

// A style whose board pictures differ from pattern to pattern: stripes of
// a period and colours of their own, with transparent gaps.
std::vector<fixture::Object> striped_objects(const fixture::Style& st) {
  std::vector<fixture::Object> objs = fixture::style_objects(st);
  const size_t first = 1 + 3 * st.shapes.size();
  for (size_t q = 0; q < st.patterns.size(); q++) {
    fixture::Object& o = objs[first + q];
    const int period = 3 + static_cast<int>(q);
    for (int y = 0; y < o.h; y++)
      for (int x = 0; x < o.w; x++)
        o.pixels[static_cast<size_t>(y * o.w + x)] =
            static_cast<uint8_t>((x + y) % period == 0 ? 0 : 16 + 2 * static_cast<int>(q) + (x / 8 + y / 8) % 2);
  }
  return objs;
}
void write_striped(const fixture::Style& st, const char* file) {
  ASSERT_TRUE(fixture::write_objects(striped_objects(st), file)) << file;
}

fixture::Pattern counted(int cols, int rows, std::initializer_list<int> mines) {
  fixture::Pattern p = fixture::square_pattern(cols, rows);
  int k = 0;
  for (int m : mines) p.mines[k++] = static_cast<int16_t>(m);
  return p;
}

// Alpha: 30 cells, 120 cells, and 1,200 cells on a picture larger than the
// box; Beta: 64 cells and 9 cells (no room for mines).
fixture::Style alpha_style() {
  fixture::Style st = fixture::square_style({});
  st.name = "Alpha";
  st.patterns = {counted(6, 5, {2, 5, 9, 12}), counted(12, 10, {11, 24, 57, 102}), counted(40, 30, {0, 1, 2, 3})};
  return st;
}
fixture::Style beta_style() {
  fixture::Style st = fixture::square_style({});
  st.name = "Beta";
  st.patterns = {counted(8, 8, {1, 3, 6, 10}), counted(3, 3, {0, 0, 0, 0})};
  return st;
}

struct LoadedStyle {
  explicit LoadedStyle(const char* file) : dat(load_checked_datafile(file)) {}
  ~LoadedStyle() {
    if (dat) unload_datafile(dat);
  }
  DATAFILE* dat;
};

}  // namespace

TEST(BoardPreview, PictureFitsTheBoxKeepingItsProportionsAndIsNeverEnlarged) {
  const struct {
    int w, h, fitted_w, fitted_h;
  } cases[] = {
      {712, 584, 217, 178},  // the largest board picture: the height decides
      {32, 16, 32, 16},      {222, 178, 222, 178}, {444, 100, 222, 50},
      {223, 10, 222, 9},     {100, 356, 50, 178},  {712, 1, 222, 1},  // never below one pixel
  };
  for (const auto& c : cases) {
    int w = 0, h = 0;
    preview_fitted_size(c.w, c.h, &w, &h);
    EXPECT_EQ(w, c.fitted_w) << c.w << " x " << c.h;
    EXPECT_EQ(h, c.fitted_h) << c.w << " x " << c.h;
  }
}

TEST_F(Chooser, PreviewFollowsTheSelectedPatternOfTheShippedStyle) {
  LoadedStyle shipped("fgboards.dat");
  ASSERT_NE(shipped.dat, nullptr);
  const int patterns = read_u8(style_layout(shipped.dat, nullptr), 0x21);
  ASSERT_GE(patterns, 8);
  for (int q = 1; q < 8; q++) click_pattern_row(q);
  click_cancel();
  EXPECT_EQ(run("fgboards.dat", 0), 0);
  ASSERT_GE(frames.size(), 22u);
  for (int q = 0; q < 8; q++) {
    SCOPED_TRACE(q);
    BITMAP* shown = frames[q == 0 ? 0 : static_cast<size_t>(3 * (q - 1) + 1)];
    EXPECT_TRUE(row_selected(shown, pattern_row_y(q)));
    EXPECT_EQ(panel_misses(shown, pattern_sprite(shipped.dat, q), pattern_counts(shipped.dat, q)), 0);
    // Each pattern looks different from the one before, and from the empty box.
    EXPECT_GT(picture_box_misses(shown, nullptr), 1000);
    if (q > 0) {
      EXPECT_GT(picture_box_misses(shown, pattern_sprite(shipped.dat, q - 1)), 0);
    }
  }
  save_preview("chooser_preview", frames[10]);
}

TEST_F(Chooser, PreviewShowsTheCountsOfTheSelectedPattern) {
  ScopedTempDir dir;
  write_striped(alpha_style(), "fgboards-a.dat");
  write_striped(beta_style(), "fgboards-b.dat");
  LoadedStyle alpha("fgboards-a.dat"), beta("fgboards-b.dat");
  ASSERT_NE(alpha.dat, nullptr);
  ASSERT_NE(beta.dat, nullptr);
  click_pattern_row(0);
  click_pattern_row(2);
  click_style_row(1);  // Beta: pattern 2 becomes its last, 1
  click_pattern_row(0);
  click_cancel();
  EXPECT_EQ(run("fgboards-a.dat", 1), 0);
  ASSERT_GE(frames.size(), 11u);
  const struct {
    size_t frame;
    const DATAFILE* style;
    int pattern;
    std::vector<std::string> counts;
  } shown[] = {
      {0, alpha.dat, 1, {"120", "11", "24", "57", "102"}}, {1, alpha.dat, 0, {"30", "2", "5", "9", "12"}},
      {4, alpha.dat, 2, {"1200", "0", "1", "2", "3"}},     {7, beta.dat, 1, {"9", "0", "0", "0", "0"}},
      {10, beta.dat, 0, {"64", "1", "3", "6", "10"}},
  };
  for (const auto& s : shown) {
    SCOPED_TRACE(s.frame);
    EXPECT_EQ(panel_misses(frames[s.frame], pattern_sprite(s.style, s.pattern), s.counts), 0);
  }
  // The 640 x 480 picture is scaled down to 222 x 166: rows 183 to 348 of
  // the box, from its left edge to its right edge.
  EXPECT_EQ(pattern_sprite(alpha.dat, 2)->w, 640);
  auto ink = [](int x1, int x2, int y) {
    int n = 0;
    for (int x = x1; x <= x2; x++) n += getpixel(frames[4], x, y) != COL_MENU_BG;
    return n;
  };
  EXPECT_EQ(ink(549, 770, 182), 0);
  EXPECT_EQ(ink(549, 770, 349), 0);
  for (int y = 183; y <= 348; y += 15) {
    EXPECT_GT(ink(549, 553, y), 0) << y;
    EXPECT_GT(ink(766, 770, y), 0) << y;
  }
  save_preview("chooser fixture preview", frames[4]);
}

TEST_F(Chooser, PreviewOfStylesRemovedOrChangedAfterListing) {
  ScopedTempDir dir;
  write_striped(alpha_style(), "fgboards-a.dat");
  write_striped(beta_style(), "fgboards-b.dat");
  write_striped(beta_style(), "fgboards-c.dat");
  LoadedStyle alpha("fgboards-a.dat");
  ASSERT_NE(alpha.dat, nullptr);
  // Once listed: the selected style's file and another one go, and Beta
  // becomes a one-pattern style with other counts.
  fixture::Style changed = fixture::square_style({});
  changed.name = "Beta";
  changed.patterns = {counted(7, 4, {1, 2, 3, 4})};
  on_frame = [&changed](int frame) {
    if (frame == 1) {
      std::remove("fgboards-a.dat");
      std::remove("fgboards-c.dat");
      write_striped(changed, "fgboards-b.dat");
    }
  };
  click_style_row(2);    // gone: nothing changes
  click_pattern_row(2);  // Alpha is still held in memory
  click_style_row(1);    // the changed Beta, its only pattern
  click_ok();
  EXPECT_EQ(run("fgboards-a.dat", 0), 1);
  EXPECT_STREQ(chosen_board_file, "fgboards-b.dat");
  EXPECT_EQ(chosen_board_index, 0);
  ASSERT_GE(frames.size(), 8u);
  LoadedStyle beta("fgboards-b.dat");
  ASSERT_NE(beta.dat, nullptr);
  EXPECT_EQ(panel_misses(frames[0], pattern_sprite(alpha.dat, 0), {"30", "2", "5", "9", "12"}), 0);
  EXPECT_TRUE(row_selected(frames[1], style_row_y(0)));
  EXPECT_EQ(panel_misses(frames[1], pattern_sprite(alpha.dat, 0), {"30", "2", "5", "9", "12"}), 0);
  EXPECT_EQ(panel_misses(frames[4], pattern_sprite(alpha.dat, 2), {"1200", "0", "1", "2", "3"}), 0);
  EXPECT_EQ(panel_misses(frames[7], pattern_sprite(beta.dat, 0), {"28", "1", "2", "3", "4"}), 0);
}

TEST(BoardPreview, EmptyWhenThePatternCannotBeRead) {
  ScopedTempDir dir;
  const fixture::Style st = alpha_style();
  const size_t first_picture = 1 + 3 * st.shapes.size();
  struct Case {
    const char* what;
    std::function<void(std::vector<fixture::Object>&)> spoil;
    int pattern;
  };
  const Case cases[] = {
      {"no datafile", nullptr, 0},
      {"pattern before the first", [](std::vector<fixture::Object>&) {}, -1},
      {"pattern past the last", [](std::vector<fixture::Object>&) {}, 3},
      {"no layout object",
       [](std::vector<fixture::Object>& o) { o[0] = {fixture::Object::BITMAP_8, {}, 4, 4, {}}; }, 0},
      {"layout cut short", [](std::vector<fixture::Object>& o) { o[0].bytes.resize(STYLE_HEADER_SIZE - 1); }, 0},
      {"pattern table outside the layout",
       [](std::vector<fixture::Object>& o) { fixture::put_le32(o[0].bytes, 0x26, 0xFFFFFFF0u); }, 1},
      {"pattern record outside the layout",
       [](std::vector<fixture::Object>& o) {
         std::vector<uint8_t>& b = o[0].bytes;
         fixture::put_le32(b, read_u32(b.data(), 0x26) + 4, static_cast<uint32_t>(b.size() - 8));
       },
       1},
      {"board picture not a sprite",
       [first_picture](std::vector<fixture::Object>& o) { o[first_picture] = {fixture::Object::DATA, {1, 2, 3, 4}, 0, 0, {}}; },
       0},
      {"board picture wider than the board area",
       [first_picture](std::vector<fixture::Object>& o) {
         o[first_picture].w = 713;
         o[first_picture].pixels.assign(713 * o[first_picture].h, 7);
       },
       0},
      {"objects end before the board pictures",
       [first_picture](std::vector<fixture::Object>& o) { o.resize(first_picture); }, 0},
  };
  BoardPreview preview;
  BITMAP* shown = create_bitmap_ex(8, 800, 600);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // A preview made first, so that a spoilt one cannot keep showing it.
    write_striped(st, "valid.dat");
    LoadedStyle valid("valid.dat");
    ASSERT_NE(valid.dat, nullptr);
    board_preview_set(&preview, valid.dat, 0);
    ASSERT_NE(preview.picture, nullptr);
    ASSERT_TRUE(preview.has_figures);

    DATAFILE* dat = nullptr;
    if (c.spoil) {
      std::vector<fixture::Object> objs = striped_objects(st);
      c.spoil(objs);
      ASSERT_TRUE(fixture::write_objects(objs, "spoilt.dat"));
      dat = load_checked_datafile("spoilt.dat");
      ASSERT_NE(dat, nullptr);
    }
    board_preview_set(&preview, dat, c.pattern);
    EXPECT_EQ(preview.picture, nullptr);
    EXPECT_FALSE(preview.has_figures);
    clear_to_color(shown, COL_BACKGROUND);
    board_preview_draw_frame(shown);
    board_preview_draw(&preview, shown);
    EXPECT_EQ(panel_misses(shown, nullptr, {}), 0);
    if (dat) unload_datafile(dat);
  }
  board_preview_clear(&preview);
  destroy_bitmap(shown);
}
