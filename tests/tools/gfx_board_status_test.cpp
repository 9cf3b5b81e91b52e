// The board symbols, explosion, pointer, LED digits, status panel pieces
// and faces of the main graphics datafile: kinds, sizes, palette roles and
// the properties the drawing code relies on.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "palette/palette_entries.h"

namespace {

BITMAP* object_bitmap(int index) {
  EXPECT_EQ(MainDatafile[index].type, DAT_BITMAP) << "object " << index;
  if (MainDatafile[index].type != DAT_BITMAP) return nullptr;
  return static_cast<BITMAP*>(MainDatafile[index].dat);
}

std::set<int> range(int first, int last) {
  std::set<int> s;
  for (int i = first; i <= last; i++) s.insert(i);
  return s;
}

std::set<int> join(std::set<int> a, const std::set<int>& b) {
  a.insert(b.begin(), b.end());
  return a;
}

// Palette indexes an object may use; colour 0 only where it is transparent.
std::set<int> allowed_colours(int index) {
  const std::set<int> badge_icons = join(join(range(80, 85), {93, 94}), join(range(32, 79), join({96, 97}, range(102, 110))));
  if (index >= 8 && index <= 18) return join({0}, range(113, 127));
  if (index >= 39 && index <= 41) return join({0}, range(102 + 3 * (index - 39), 104 + 3 * (index - 39)));
  if (index == 42) return {0, 96, 97};
  if (index >= 53 && index <= 66) return {0, 84, 85};
  if (index >= 67 && index <= 80) return {0, 82, 83};
  if (index >= 81 && index <= 94) return {0, 93, 94};
  if (index >= 95 && index <= 108) return {0, 80, 81};
  if (index >= 111 && index <= 113) return join({0}, range(32 + 16 * (index - 111), 47 + 16 * (index - 111)));
  if (index == 128) return {0, 95, 111};
  if (index >= 131 && index <= 145) return {0, 15 + (index - 130)};
  if (index >= 146 && index <= 194) return {0, 31};
  if (index == 195) return {0, 112};
  if (index >= 196 && index <= 198) return range(11, 15);
  if (index >= 207 && index <= 213) return {0, 86, 87};
  if (index >= 214 && index <= 225) return join(range(11, 15), badge_icons);
  return {};
}

std::vector<int> owned_objects() {
  std::vector<int> v;
  for (int i = 8; i <= 18; i++) v.push_back(i);
  for (int i = 39; i <= 42; i++) v.push_back(i);
  for (int i = 53; i <= 108; i++) v.push_back(i);
  for (int i = 111; i <= 113; i++) v.push_back(i);
  v.push_back(128);
  for (int i = 131; i <= 198; i++) v.push_back(i);
  for (int i = 207; i <= 225; i++) v.push_back(i);
  return v;
}

// Ink pixels (nonzero) as a string mask, for comparing shapes.
std::string mask(BITMAP* b, int colour = -1) {
  std::string m;
  for (int y = 0; y < b->h; y++)
    for (int x = 0; x < b->w; x++) {
      int c = getpixel(b, x, y);
      m += (colour < 0 ? c != 0 : c == colour) ? '#' : '.';
    }
  return m;
}

struct Box {
  int x1 = 1 << 20, y1 = 1 << 20, x2 = -1, y2 = -1;
};

Box ink_box(BITMAP* b) {
  Box box;
  for (int y = 0; y < b->h; y++)
    for (int x = 0; x < b->w; x++)
      if (getpixel(b, x, y)) {
        box.x1 = std::min(box.x1, x), box.y1 = std::min(box.y1, y);
        box.x2 = std::max(box.x2, x), box.y2 = std::max(box.y2, y);
      }
  return box;
}

}  // namespace

TEST(GfxBoardStatus, ObjectsUseOnlyTheirRolesColours) {
  for (int index : owned_objects()) {
    BITMAP* b = object_bitmap(index);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(bitmap_color_depth(b), 8) << "object " << index;
    const std::set<int> allowed = allowed_colours(index);
    std::set<int> used;
    for (int y = 0; y < b->h; y++)
      for (int x = 0; x < b->w; x++) used.insert(getpixel(b, x, y));
    for (int c : used) EXPECT_TRUE(allowed.count(c)) << "object " << index << " uses colour " << c;
    used.erase(0);
    EXPECT_FALSE(used.empty()) << "object " << index << " is empty";
  }
}

TEST(GfxBoardStatus, PanelPiecesFaceAndSymbolsHaveTheirSizes) {
  const int sizes[][3] = {{196, 88, 2}, {197, 88, 1}, {198, 88, 2}};
  for (const auto& s : sizes) {
    BITMAP* b = object_bitmap(s[0]);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->w, s[1]) << "object " << s[0];
    EXPECT_EQ(b->h, s[2]) << "object " << s[0];
  }
  for (int i = OBJ_BADGE_FIRST; i <= OBJ_BADGE_FIRST + 11; i++) {
    BITMAP* b = object_bitmap(i);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->w, 88);
    EXPECT_EQ(b->h, 32);
    // A badge is an opaque plate: the scene must not show through it.
    EXPECT_EQ(mask(b).find('.'), std::string::npos) << "object " << i;
  }
  for (int i = OBJ_FACE_LOST; i <= OBJ_FACE_WON; i++) {
    BITMAP* b = object_bitmap(i);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->w, 36);
    EXPECT_EQ(b->h, 16);
  }
  // Symbols drawn at the symbol box's corner stay within the box and sit
  // in its middle.
  std::vector<int> symbols = {OBJ_FLAG_LEVEL1, OBJ_FLAG_LEVEL2, OBJ_FLAG_LEVEL3, OBJ_FLAG,
                              OBJ_MINE_LEVEL1, OBJ_MINE_LEVEL2, OBJ_MINE_LEVEL3, OBJ_QUESTION};
  for (int n = 1; n <= 64; n++) symbols.push_back(OBJ_NUMBER_BASE + n);
  for (int i : symbols) {
    BITMAP* b = object_bitmap(i);
    ASSERT_NE(b, nullptr);
    EXPECT_LE(b->w, 16) << "object " << i;
    EXPECT_LE(b->h, 16) << "object " << i;
    Box box = ink_box(b);
    EXPECT_NEAR((box.x1 + box.x2) / 2.0, 7.5, 1.0) << "object " << i;
    EXPECT_NEAR((box.y1 + box.y2) / 2.0, 7.5, 1.0) << "object " << i;
  }
}

TEST(GfxBoardStatus, NumberGlyphsAreDistinctShapes) {
  // The flash draws glyphs as one-colour masks, so the shapes alone must
  // tell the numbers apart.
  std::set<std::string> shapes;
  for (int n = 1; n <= 64; n++) {
    BITMAP* b = object_bitmap(OBJ_NUMBER_BASE + n);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(shapes.insert(mask(b)).second) << "glyph " << n << " repeats another";
  }
}

TEST(GfxBoardStatus, LedSetsLineUpOnTheReadoutColumns) {
  // first digit, unlit colour, lit colour of each set; colons, minus and
  // blank follow the ten digits.
  const int sets[4][3] = {{OBJ_LED_DIGIT0, 80, 81}, {OBJ_LED_LEVEL1_DIGIT0, 84, 85},
                          {OBJ_LED_LEVEL2_DIGIT0, 82, 83}, {OBJ_LED_LEVEL3_DIGIT0, 93, 94}};
  for (const auto& s : sets) {
    const int first = s[0], off = s[1], on = s[2];
    BITMAP* blank = object_bitmap(first + 13);
    ASSERT_NE(blank, nullptr);
    // Digits sit 10 pixels apart and must fit the 32-pixel badge at y + 6.
    EXPECT_EQ(blank->w, 10);
    EXPECT_GE(blank->h, 16);
    EXPECT_LE(blank->h, 24);
    EXPECT_EQ(mask(blank, on).find('#'), std::string::npos) << "a blank shows no lit segment";
    std::set<std::string> lit;
    std::vector<int> digits;
    for (int d = 0; d < 10; d++) digits.push_back(first + d);
    digits.push_back(first + 12);  // minus
    for (int i : digits) {
      BITMAP* b = object_bitmap(i);
      ASSERT_NE(b, nullptr);
      EXPECT_EQ(b->w, blank->w) << "object " << i;
      EXPECT_EQ(b->h, blank->h) << "object " << i;
      // Every digit covers exactly the blank's cells, lit or unlit, so a
      // digit drawn over another replaces it completely.
      EXPECT_EQ(mask(b), mask(blank)) << "object " << i;
      EXPECT_TRUE(lit.insert(mask(b, on)).second) << "object " << i;
    }
    EXPECT_EQ(mask(object_bitmap(first + 8), on), mask(blank, off)) << "an 8 lights every segment";
    for (int colon = first + 10; colon <= first + 11; colon++) {
      BITMAP* b = object_bitmap(colon);
      ASSERT_NE(b, nullptr);
      EXPECT_EQ(b->w, 4);
      EXPECT_EQ(b->h, blank->h);
    }
    EXPECT_EQ(mask(object_bitmap(first + 10), off), mask(object_bitmap(first + 11), on));
  }
}

TEST(GfxBoardStatus, ExplosionFlaresAndDiesDownAroundTheBoxCentre) {
  int previous_area = 0;
  for (int f = 0; f < OBJ_EXPLOSION_FRAMES; f++) {
    BITMAP* b = object_bitmap(OBJ_EXPLOSION_FIRST + f);
    ASSERT_NE(b, nullptr);
    EXPECT_LE(b->w, 48);
    EXPECT_LE(b->h, 48);
    Box box = ink_box(b);
    EXPECT_NEAR((box.x1 + box.x2) / 2.0, (b->w - 1) / 2.0, 3.0) << "frame " << f;
    EXPECT_NEAR((box.y1 + box.y2) / 2.0, (b->h - 1) / 2.0, 3.0) << "frame " << f;
    int hot = 0, area = 0;
    for (int y = 0; y < b->h; y++)
      for (int x = 0; x < b->w; x++) {
        int c = getpixel(b, x, y);
        area += c != 0;
        hot += c >= 124;
      }
    if (f == 0) {
      EXPECT_GT(hot, 0) << "the first frame is a white flash";
    }
    if (f >= 9) {
      EXPECT_EQ(hot, 0) << "the last frames are smoke and embers";
    }
    if (f <= 4) {
      EXPECT_GT(area, previous_area) << "the fireball grows over the first frames";
    }
    previous_area = area;
  }
}

TEST(GfxBoardStatus, FacesArePairwiseDifferentAndPointerHasItsHotSpot) {
  std::set<std::string> faces;
  for (int i = OBJ_FACE_LOST; i <= OBJ_FACE_WON; i++) {
    BITMAP* b = object_bitmap(i);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(faces.insert(mask(b, COL_SMILEY_INK)).second) << "face " << i;
    Box box = ink_box(b);
    EXPECT_NEAR((box.x1 + box.x2) / 2.0, 17.5, 1.0) << "the face is centred in its 36-pixel area";
  }
  BITMAP* p = object_bitmap(OBJ_POINTER);
  ASSERT_NE(p, nullptr);
  EXPECT_NE(getpixel(p, 0, 0), 0) << "the hot spot is the top-left pixel";
  EXPECT_LE(p->w, 16);
  EXPECT_LE(p->h, 24);
}
