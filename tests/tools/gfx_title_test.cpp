// The pictures of the two screens before play and the window icon, as the
// build made them: the logo the title scan builds from exactly 398 points,
// the spark ramps of its palette, the "Press any key to continue." picture
// and its palette, and the icon's XPM source.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "screens/title.h"
#include "support/headless.h"

namespace {

BITMAP* bitmap_object(int index) {
  EXPECT_EQ(MainDatafile[index].type, DAT_BITMAP) << "object " << index;
  if (MainDatafile[index].type != DAT_BITMAP) return nullptr;
  return static_cast<BITMAP*>(MainDatafile[index].dat);
}

const RGB* palette_object(int index) {
  EXPECT_EQ(MainDatafile[index].type, DAT_PALETTE) << "object " << index;
  if (MainDatafile[index].type != DAT_PALETTE) return nullptr;
  return static_cast<const RGB*>(MainDatafile[index].dat);
}

int brightness(const RGB& c) { return c.r + c.g + c.b; }

bool is_black(const RGB& c) { return c.r == 0 && c.g == 0 && c.b == 0; }
bool is_white(const RGB& c) { return c.r == 63 && c.g == 63 && c.b == 63; }

TEST(GfxTitle, LogoGivesTheTitleScanExactly398Points) {
  BITMAP* logo = bitmap_object(OBJ_LOGO);
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(bitmap_color_depth(logo), 8);
  EXPECT_GE(logo->w, 355);
  EXPECT_GE(logo->h, 51);
  std::vector<std::pair<int, int>> points = title_scan_points(logo);
  EXPECT_EQ(points.size(), 398u);

  // The same scan written out again by hand, pixel by pixel.
  size_t count = 0;
  for (int x = 0; x <= 352; x += 4)
    for (int y = 6; y <= 42; y += 4) {
      int p = getpixel(logo, x, y);
      int sum = p + getpixel(logo, x + 2, y) + getpixel(logo, x, y + 2) + getpixel(logo, x + 2, y + 2);
      if ((p == 0 || p == 20) && sum != 0) count++;
    }
  EXPECT_EQ(count, 398u);
}

TEST(GfxTitle, LogoIsLettersOnATransparentBackground) {
  BITMAP* logo = bitmap_object(OBJ_LOGO);
  ASSERT_NE(logo, nullptr);
  const RGB* pal = palette_object(OBJ_LOGO_PALETTE);
  ASSERT_NE(pal, nullptr);
  // Corners are background (0, transparent for draw_sprite); a good part
  // of the picture is bright letters.
  EXPECT_EQ(getpixel(logo, 0, 0), 0);
  EXPECT_EQ(getpixel(logo, logo->w - 1, logo->h - 1), 0);
  int bright = 0;
  for (int y = 0; y < logo->h; y++)
    for (int x = 0; x < logo->w; x++)
      if (brightness(pal[getpixel(logo, x, y)]) > 90) bright++;
  EXPECT_GT(bright, logo->w * logo->h / 6);
  // Index 20 marks points of the letters: it is a visible colour.
  EXPECT_GT(brightness(pal[20]), 60);
}

TEST(GfxTitle, TitlePaletteHasFadingSparkRamps) {
  const RGB* pal = palette_object(OBJ_LOGO_PALETTE);
  ASSERT_NE(pal, nullptr);
  EXPECT_TRUE(is_black(pal[0]));
  // Sparks start on 47, 63, 79 and 95 and step down to the multiple of 16
  // below: each ramp fades from nearly white to nearly black.
  for (int top : {47, 63, 79, 95}) {
    EXPECT_GE(brightness(pal[top]), 150) << top;
    EXPECT_LE(brightness(pal[top - 15]), 40) << top;
    for (int i = top; i > top - 15; i--) EXPECT_GE(brightness(pal[i]), brightness(pal[i - 1])) << i;
  }
}

TEST(GfxTitle, PressKeyPictureAndPalette) {
  BITMAP* pic = bitmap_object(OBJ_PRESS_KEY_PICTURE);
  ASSERT_NE(pic, nullptr);
  EXPECT_EQ(bitmap_color_depth(pic), 8);
  EXPECT_EQ(pic->w, 800);
  EXPECT_EQ(pic->h, 600);
  const RGB* pal = palette_object(OBJ_PRESS_KEY_PALETTE);
  ASSERT_NE(pal, nullptr);
  EXPECT_TRUE(is_black(pal[0]));
  EXPECT_TRUE(is_white(pal[255]));

  // A full scene in many colours.
  std::set<int> used;
  for (int y = 0; y < pic->h; y += 2)
    for (int x = 0; x < pic->w; x += 2) used.insert(getpixel(pic, x, y));
  EXPECT_GT(used.size(), 150u);

  // The corner where the game writes "Press any key to continue." in
  // white over a black shadow stays dark.
  int worst = 0;
  for (int y = 570; y < 592; y++)
    for (int x = 600; x < 790; x++) worst = std::max(worst, brightness(pal[getpixel(pic, x, y)]));
  EXPECT_LT(worst, 36);
}

TEST(GfxTitle, WindowIconIsA32By32XpmIn16Colours) {
  std::string src = read_file(std::string(FG_GAME_DIR) + "/../generated/window_icon.c");
  ASSERT_FALSE(src.empty());
  EXPECT_NE(src.find("char **allegro_icon"), std::string::npos);
  // The quoted strings in order: header, colours, rows.
  std::vector<std::string> strings;
  for (size_t i = src.find('"'); i != std::string::npos; i = src.find('"', i + 1)) {
    size_t j = src.find('"', i + 1);
    ASSERT_NE(j, std::string::npos);
    strings.push_back(src.substr(i + 1, j - i - 1));
    i = j;
  }
  ASSERT_FALSE(strings.empty());
  int w = 0, h = 0, colours = 0, per_pixel = 0;
  std::istringstream(strings[0]) >> w >> h >> colours >> per_pixel;
  EXPECT_EQ(w, 32);
  EXPECT_EQ(h, 32);
  EXPECT_EQ(colours, 16);
  ASSERT_EQ(per_pixel, 1);
  ASSERT_EQ(strings.size(), static_cast<size_t>(1 + colours + h));
  std::set<char> keys;
  for (int i = 1; i <= colours; i++) keys.insert(strings[i][0]);
  EXPECT_EQ(keys.size(), 16u);
  std::set<char> used;
  int opaque = 0;
  for (int y = 0; y < h; y++) {
    const std::string& row = strings[static_cast<size_t>(1 + colours + y)];
    ASSERT_EQ(row.size(), 32u) << "row " << y;
    for (char c : row) {
      EXPECT_TRUE(keys.count(c)) << "row " << y;
      used.insert(c);
      opaque += c != ' ';
    }
  }
  EXPECT_GT(opaque, 500);  // a picture filling most of the square
  EXPECT_GE(used.size(), 10u);
}

}  // namespace
