// The game font and the user interface pictures of the main graphics
// datafile: kinds, sizes, palette roles, and that text and pictures fit
// the places the dialogs and menus give them.
#include <allegro.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/info_page_keys.h"
#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "palette/palette_entries.h"

namespace {

BITMAP* bitmap_object(int index) {
  EXPECT_EQ(MainDatafile[index].type, DAT_BITMAP) << "object " << index;
  if (MainDatafile[index].type != DAT_BITMAP) return nullptr;
  return static_cast<BITMAP*>(MainDatafile[index].dat);
}

FONT* game_font_object() {
  EXPECT_EQ(MainDatafile[OBJ_FONT].type, DAT_FONT);
  return static_cast<FONT*>(MainDatafile[OBJ_FONT].dat);
}

std::set<int> range(int first, int last) {
  std::set<int> s;
  for (int i = first; i <= last; i++) s.insert(i);
  return s;
}

std::set<int> join(std::initializer_list<std::set<int>> parts) {
  std::set<int> s;
  for (const auto& p : parts) s.insert(p.begin(), p.end());
  return s;
}

std::set<int> colours_of(BITMAP* b) {
  std::set<int> used;
  for (int y = 0; y < b->h; y++)
    for (int x = 0; x < b->w; x++) used.insert(getpixel(b, x, y));
  return used;
}

int count_colour(BITMAP* b, int colour) {
  int n = 0;
  for (int y = 0; y < b->h; y++)
    for (int x = 0; x < b->w; x++) n += getpixel(b, x, y) == colour;
  return n;
}

// The palette indexes each picture may use: the toolkit colours, plus the
// indexes of the game pieces a picture shows.
std::set<int> allowed_colours(int index) {
  const std::set<int> ui = join({range(6, 10), range(88, 92)});
  const std::set<int> tiles = join({range(1, 5), {98, 99}});
  if (index >= 0 && index <= 7) return ui;
  if (index == OBJ_CHAIN_SPEED_PICTURE) return join({{0}, tiles, range(113, 127)});
  if (index == OBJ_CHECK_OFF || index == OBJ_CHECK_ON || index == OBJ_INFO_PAGE) return {0, COL_MENU_FONT};
  if (index == OBJ_PALETTE_PREVIEW) return range(0, 191);
  if (index >= 25 && index <= 27) return ui;
  if (index >= 31 && index <= 38) return range(6, 10);
  if (index >= 43 && index <= 52)
    return join(
        {{0}, ui, tiles, range(11, 15), range(16, 31), range(32, 47), {80, 81}, {96, 97}, {100, 101}, range(113, 191)});
  if (index >= 114 && index <= 127)
    return join({{0}, ui, tiles, range(11, 15), range(16, 31), range(32, 47), {80, 81}, {96, 97}, range(102, 110)});
  if (index >= 199 && index <= 206) return join({{0}, ui, range(32, 47)});
  return {};
}

std::vector<int> ui_bitmaps() {
  std::vector<int> v;
  for (int i = 0; i <= 7; i++) v.push_back(i);
  for (int i : {21, 22, 23, 25, 26, 27, 28}) v.push_back(i);
  for (int i = 31; i <= 38; i++) v.push_back(i);
  for (int i = 43; i <= 52; i++) v.push_back(i);
  for (int i = 114; i <= 127; i++) v.push_back(i);
  for (int i = 199; i <= 206; i++) v.push_back(i);
  return v;
}

TEST(GfxUi, FontCoversPrintableAsciiEightPixelsHigh) {
  FONT* f = game_font_object();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(text_height(f), 8);
  EXPECT_EQ(get_font_range_begin(f, -1), 32);
  EXPECT_EQ(get_font_range_end(f, -1), 126);
  BITMAP* b = create_bitmap_ex(8, 16, 16);
  for (int c = 33; c <= 126; c++) {
    char s[2] = {static_cast<char>(c), 0};
    int w = text_length(f, s);
    EXPECT_GE(w, 2) << "char " << c;
    EXPECT_LE(w, 7) << "char " << c;
    clear_to_color(b, 0);
    textout_ex(b, f, s, 0, 0, 1, -1);
    EXPECT_GT(count_colour(b, 1), 0) << "char " << c << " has no ink";
    // every glyph keeps a blank column on its right as spacing
    for (int y = 0; y < 8; y++) EXPECT_EQ(getpixel(b, w - 1, y), 0) << "char " << c;
  }
  destroy_bitmap(b);
  // a proportional face: 'i' narrower than 'm'
  EXPECT_LT(text_length(f, "i"), text_length(f, "m"));
}

TEST(GfxUi, MenuAndPromptTextsFit) {
  FONT* f = game_font_object();
  ASSERT_NE(f, nullptr);
  // File menu: text from x 4, key label right-aligned at 204, a gap between.
  const char* items[][2] = {{"New Game", "F1"},         {"Try Again", "F2"},
                            {"View High Scores", "F3"}, {"Change Board Style/Pattern", "F5"},
                            {"Change Game Mode", "F6"}, {"Change Skill Level", "F7"},
                            {"About Fusegrid...", ""},  {"Quit", "Esc"}};
  for (auto& it : items) EXPECT_LE(4 + text_length(f, it[0]) + 6, 204 - text_length(f, it[1])) << it[0];
  // Options menu: text from x 148 inside the panel ending at 319.
  for (const char* t : {"'?' Marks", "Graphics Options", "Sound Options", "Adjust Colors"})
    EXPECT_LE(148 + text_length(f, t), 316) << t;
  // Key prompts: centred in boxes 400, 480 and 600 wide with room to spare.
  EXPECT_LE(text_length(f, "Sound system not initialized. Press any key to continue."), 400 - 16);
  EXPECT_LE(text_length(f, "One-Click boards do not make high-scores. Press any key to continue."), 480 - 16);
  EXPECT_LE(text_length(f, "Unable to switch graphics modes. Press any key to continue."), 600 - 16);
  // The longest palette entry name fits its list row (x 128 to 350).
  for (int e = 0; e < PALETTE_ENTRY_COUNT; e++) EXPECT_LE(128 + text_length(f, PALETTE_ENTRIES[e].name), 350);
}

TEST(GfxUi, PicturesUseOnlyTheirRolesColours) {
  for (int i : ui_bitmaps()) {
    BITMAP* b = bitmap_object(i);
    ASSERT_NE(b, nullptr) << "object " << i;
    EXPECT_EQ(bitmap_color_depth(b), 8);
    const std::set<int> allowed = allowed_colours(i);
    for (int c : colours_of(b)) EXPECT_TRUE(allowed.count(c)) << "object " << i << " uses colour " << c;
  }
}

TEST(GfxUi, FramePiecesHaveTheirSizesAndARaisedBevel) {
  struct Piece {
    int index, w, h;
  } pieces[] = {{OBJ_FRAME_TOP_LEFT, 2, 2},     {OBJ_FRAME_TOP_RIGHT, 2, 2}, {OBJ_FRAME_BOTTOM_LEFT, 2, 2},
                {OBJ_FRAME_BOTTOM_RIGHT, 2, 2}, {OBJ_FRAME_TOP, 1, 2},       {OBJ_FRAME_BOTTOM, 1, 2},
                {OBJ_FRAME_LEFT, 2, 1},         {OBJ_FRAME_RIGHT, 2, 1}};
  for (auto& p : pieces) {
    BITMAP* b = bitmap_object(p.index);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->w, p.w) << "object " << p.index;
    EXPECT_EQ(b->h, p.h) << "object " << p.index;
  }
  // Light outside on the top and left, dark outside on the bottom and right.
  EXPECT_EQ(getpixel(bitmap_object(OBJ_FRAME_TOP), 0, 0), COL_WINDOW_LIGHT);
  EXPECT_EQ(getpixel(bitmap_object(OBJ_FRAME_LEFT), 0, 0), COL_WINDOW_LIGHT);
  EXPECT_EQ(getpixel(bitmap_object(OBJ_FRAME_BOTTOM), 0, 1), COL_WINDOW_DARK);
  EXPECT_EQ(getpixel(bitmap_object(OBJ_FRAME_RIGHT), 1, 0), COL_WINDOW_DARK);
  EXPECT_EQ(getpixel(bitmap_object(OBJ_FRAME_TOP_LEFT), 0, 0), COL_WINDOW_LIGHT);
  EXPECT_EQ(getpixel(bitmap_object(OBJ_FRAME_BOTTOM_RIGHT), 1, 1), COL_WINDOW_DARK);
}

// Rows (or columns) of the arrow glyph: the count of text-colour pixels
// along the arrow's axis, from the first to the last that has any.
std::vector<int> arrow_profile(BITMAP* b, bool vertical_axis) {
  std::vector<int> p;
  for (int i = 0; i < 16; i++) {
    int n = 0;
    for (int j = 0; j < 16; j++) n += getpixel(b, vertical_axis ? j : i, vertical_axis ? i : j) == COL_MENU_FONT;
    if (n) p.push_back(n);
  }
  return p;
}

TEST(GfxUi, ScrollArrowsPointTheirWayAndLookPressed) {
  struct Arrow {
    int normal, pressed;
    bool vertical;
    bool widens;  // the glyph widens along increasing y (or x)
  } arrows[] = {{OBJ_SCROLL_UP, OBJ_SCROLL_UP_PRESSED, true, true},
                {OBJ_SCROLL_DOWN, OBJ_SCROLL_DOWN_PRESSED, true, false},
                {OBJ_SCROLL_LEFT, OBJ_SCROLL_LEFT_PRESSED, false, true},
                {OBJ_SCROLL_RIGHT, OBJ_SCROLL_RIGHT_PRESSED, false, false}};
  for (auto& a : arrows)
    for (int index : {a.normal, a.pressed}) {
      BITMAP* b = bitmap_object(index);
      ASSERT_NE(b, nullptr);
      EXPECT_EQ(b->w, 16);
      EXPECT_EQ(b->h, 16);
      std::vector<int> p = arrow_profile(b, a.vertical);
      ASSERT_GE(p.size(), 3u) << "object " << index;
      if (a.widens)
        EXPECT_LT(p.front(), p.back()) << "object " << index;
      else
        EXPECT_GT(p.front(), p.back()) << "object " << index;
    }
  // Normal arrows are raised (light upper-left corner); pressed ones are
  // the flat pressed fill with a dark upper-left rim.
  for (auto& a : arrows) {
    EXPECT_EQ(getpixel(bitmap_object(a.normal), 0, 0), COL_WINDOW_LIGHT);
    EXPECT_EQ(getpixel(bitmap_object(a.normal), 8, 2), COL_WINDOW);
    EXPECT_EQ(getpixel(bitmap_object(a.pressed), 0, 0), COL_WINDOW_DARK);
    EXPECT_EQ(getpixel(bitmap_object(a.pressed), 8, 2), COL_MENU_BG);
  }
}

TEST(GfxUi, CheckMarksFitTheMenuRow) {
  BITMAP* off = bitmap_object(OBJ_CHECK_OFF);
  BITMAP* on = bitmap_object(OBJ_CHECK_ON);
  ASSERT_TRUE(off && on);
  for (BITMAP* b : {off, on}) {
    EXPECT_LE(19 + b->h, 32);    // inside the row 16..31
    EXPECT_LE(131 + b->w, 146);  // left of the text at x 148
    EXPECT_GE(b->w, 8);
  }
  EXPECT_GT(count_colour(on, COL_MENU_FONT), count_colour(off, COL_MENU_FONT) + 6);
  // the box outline is complete in both
  for (BITMAP* b : {off, on}) {
    EXPECT_NE(getpixel(b, 0, 0), 0);
    EXPECT_NE(getpixel(b, b->w - 1, b->h - 1), 0);
    EXPECT_EQ(getpixel(b, 1, 1), 0);
  }
}

TEST(GfxUi, DialogPicturesFitTheirPlaces) {
  // Chain reaction picture at (392, 324), above the speed buttons at 348,
  // inside the frame ending at 663.
  BITMAP* chain = bitmap_object(OBJ_CHAIN_SPEED_PICTURE);
  ASSERT_NE(chain, nullptr);
  EXPECT_LE(324 + chain->h, 345);
  EXPECT_LE(392 + chain->w, 662);

  // Slider labels 16 x 16 left of the sliders.
  for (int i = OBJ_LABEL_BLUE; i <= OBJ_LABEL_RED; i++) {
    BITMAP* b = bitmap_object(i);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->w, 16);
    EXPECT_EQ(b->h, 16);
  }

  // Information page inside the frame (76, 52)-(723, 531), drawn at (80, 52).
  BITMAP* page = bitmap_object(OBJ_INFO_PAGE);
  ASSERT_NE(page, nullptr);
  EXPECT_LE(80 + page->w, 722);
  EXPECT_LE(52 + page->h, 530);
  EXPECT_GE(page->w, 600);
  EXPECT_GE(page->h, 440);

  // Graphics switches: five across from x 144 in steps of 104, at y 188,
  // inside the frame (136, 180)-(663, 315).
  for (int i = 43; i <= 52; i++) {
    BITMAP* b = bitmap_object(i);
    ASSERT_NE(b, nullptr);
    EXPECT_LE(b->w, 104);
    EXPECT_LE(560 + b->w, 662);
    EXPECT_LE(188 + b->h, 314);
    EXPECT_GE(b->h, 100);
  }

  // Mode boxes every 120 pixels across and 72 down, last at (524, 280) in
  // a frame ending at (643, 351); skill boxes at y 360 in a frame ending at 399.
  for (int i = 114; i <= 127; i++) {
    BITMAP* b = bitmap_object(i);
    ASSERT_NE(b, nullptr);
    EXPECT_LE(b->w, 118);
    EXPECT_LE(b->h, 70);
    EXPECT_LE(524 + b->w, 642);
    EXPECT_LE(280 + b->h, 350);
  }
  for (int i = 199; i <= 206; i++) {
    BITMAP* b = bitmap_object(i);
    ASSERT_NE(b, nullptr);
    EXPECT_LE(b->w, 118);
    EXPECT_LE(524 + b->w, 642);
    EXPECT_LE(360 + b->h, 398);
  }
}

TEST(GfxUi, ChosenAndSwitchedOnPicturesStandOut) {
  // chosen = 114 + 2m / 199 + 2s / on = 43 + 2k: selected colours; the
  // others show none of them.
  auto check_pair = [](int chosen, int plain) {
    BITMAP* c = bitmap_object(chosen);
    BITMAP* p = bitmap_object(plain);
    ASSERT_TRUE(c && p);
    EXPECT_EQ(c->w, p->w);
    EXPECT_EQ(c->h, p->h);
    EXPECT_GT(count_colour(c, COL_MENU_SELECTED_BG), c->w * c->h / 5) << "object " << chosen;
    EXPECT_GT(count_colour(c, COL_MENU_SELECTED_FONT), 0) << "object " << chosen;
    EXPECT_EQ(count_colour(p, COL_MENU_SELECTED_BG), 0) << "object " << plain;
  };
  for (int m = 0; m < 7; m++) check_pair(OBJ_MODE_FIRST + 2 * m, OBJ_MODE_FIRST + 2 * m + 1);
  for (int s = 0; s < 4; s++) check_pair(OBJ_SKILL_FIRST + 2 * s, OBJ_SKILL_FIRST + 2 * s + 1);
  for (int k = 0; k < 5; k++) {
    check_pair(OBJ_GFX_SWITCH_FIRST + 2 * k, OBJ_GFX_SWITCH_FIRST + 2 * k + 1);
    // the indicator lamp is lit only when on
    EXPECT_GT(count_colour(bitmap_object(OBJ_GFX_SWITCH_FIRST + 2 * k), COL_LED_STD_ON), 20);
  }
  // The seven modes and the five switches are told apart by their pictures.
  for (int a = 0; a < 7; a++)
    for (int b = a + 1; b < 7; b++) {
      BITMAP* pa = bitmap_object(OBJ_MODE_FIRST + 2 * a + 1);
      BITMAP* pb = bitmap_object(OBJ_MODE_FIRST + 2 * b + 1);
      int diff = 0;
      for (int y = 0; y < pa->h; y++)
        for (int x = 0; x < pa->w; x++) diff += getpixel(pa, x, y) != getpixel(pb, x, y);
      EXPECT_GT(diff, 300) << "modes " << a << " and " << b;
    }
}

TEST(GfxUi, PalettePreviewShowsMostPaletteRoles) {
  ASSERT_EQ(MainDatafile[OBJ_PALETTE_PREVIEW].type, DAT_RLE_SPRITE);
  RLE_SPRITE* rle = static_cast<RLE_SPRITE*>(MainDatafile[OBJ_PALETTE_PREVIEW].dat);
  EXPECT_GE(rle->w, 240);
  EXPECT_GE(rle->h, 200);
  EXPECT_LE(376 + rle->w, 686);  // inside the body frame (112, 136)-(687, 463)
  EXPECT_LE(152 + rle->h, 462);
  BITMAP* b = create_bitmap_ex(8, rle->w, rle->h);
  clear_to_color(b, 0);
  draw_rle_sprite(b, rle, 0, 0);
  std::set<int> used = colours_of(b);
  for (int c : used) EXPECT_LE(c, 191) << "colour " << c;
  int shown = 0;
  for (int e = 0; e < PALETTE_ENTRY_COUNT; e++) {
    bool any = false;
    for (int k = 0; k < PALETTE_ENTRIES[e].key_count; k++) any = any || used.count(PALETTE_ENTRIES[e].keys[k]);
    if (any)
      shown++;
    else
      ADD_FAILURE() << "palette entry " << PALETTE_ENTRIES[e].name << " does not show in the preview";
  }
  EXPECT_EQ(shown, PALETTE_ENTRY_COUNT);
  destroy_bitmap(b);
}

TEST(GfxUi, InformationPageIsWrittenAllOver) {
  BITMAP* page = bitmap_object(OBJ_INFO_PAGE);
  ASSERT_NE(page, nullptr);
  // Ink in each of the four quarters (a laid-out page, not a stub).
  for (int q = 0; q < 4; q++) {
    int x0 = (q % 2) * page->w / 2, y0 = (q / 2) * page->h / 2, n = 0;
    for (int y = y0; y < y0 + page->h / 2; y++)
      for (int x = x0; x < x0 + page->w / 2; x++) n += getpixel(page, x, y) != 0;
    EXPECT_GT(n, 1500) << "quarter " << q;
  }
}

// The keys the game reads, as its input code names them, are the keys the
// About page lists, and the page lists no key the game does not read.
TEST(GfxUi, InformationPageListsTheKeysTheGameReads) {
  std::set<std::string> listed;
  auto list = [&](const auto& rows) {
    for (const InfoKey& k : rows) {
      std::istringstream names(k.scancodes);
      for (std::string name; names >> name;) listed.insert(name);
    }
  };
  list(INFO_PLAY_KEYS);
  list(INFO_WINDOW_KEYS);
  std::set<std::string> read;
  const std::regex scancode("\\bKEY_[A-Z0-9_]+\\b");
  for (const char* folder : {"screens", "ui", "platform"})
    for (const auto& entry : std::filesystem::directory_iterator(std::string(FG_TEST_SOURCE_DIR) + "/../src/" + folder)) {
      std::ifstream in(entry.path());
      const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      for (std::sregex_iterator m(text.begin(), text.end(), scancode), end; m != end; ++m)
        if (m->str() != "KEY_MAX") read.insert(m->str());  // KEY_MAX: the size of the key table
    }
  EXPECT_TRUE(read.count("KEY_F1") && read.count("KEY_H"));  // the sources were found
  EXPECT_EQ(listed, read);
}

}  // namespace
