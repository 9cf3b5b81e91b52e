// The main and sound datafiles the build made: every object the game
// uses is at its index, of its kind, and of its size where that is fixed.
#include "platform/main_datafile.h"

#include <gtest/gtest.h>

#include "platform/datafile_check.h"
#include "platform/lifecycle.h"
#include "support/headless.h"

namespace {

int object_count(const DATAFILE* dat) {
  int n = 0;
  while (dat[n].type != DAT_END) n++;
  return n;
}

void expect_size(int index, int w, int h) {
  BITMAP* b = static_cast<BITMAP*>(MainDatafile[index].dat);
  EXPECT_EQ(b->w, w) << "object " << index;
  EXPECT_EQ(b->h, h) << "object " << index;
}

}  // namespace

TEST(MainDatafile, EveryObjectHasItsKind) {
  ASSERT_GE(object_count(MainDatafile), MAIN_OBJECT_COUNT);
  for (int i = 0; i < MAIN_OBJECT_COUNT; i++) {
    int kind = main_object_kind(i);
    if (kind) {
      EXPECT_EQ(MainDatafile[i].type, kind) << "object " << i;
    }
  }
  // The kinds that are not bitmaps, named one by one.
  for (int i : {29, 110, 226}) EXPECT_EQ(main_object_kind(i), DAT_PALETTE) << i;
  EXPECT_EQ(main_object_kind(30), DAT_FONT);
  EXPECT_EQ(main_object_kind(24), DAT_RLE_SPRITE);
  for (int i : {0, 28, 109, 128, 131, 194, 213, 227}) EXPECT_EQ(main_object_kind(i), DAT_BITMAP) << i;
}

TEST(MainDatafile, FixedSizes) {
  for (int i = OBJ_SCROLL_DOWN_PRESSED; i <= OBJ_SCROLL_UP; i++) expect_size(i, 16, 16);
  for (int i : {OBJ_FRAME_TOP_LEFT, OBJ_FRAME_TOP_RIGHT, OBJ_FRAME_BOTTOM_LEFT, OBJ_FRAME_BOTTOM_RIGHT})
    expect_size(i, 2, 2);
  expect_size(OBJ_FRAME_TOP, 1, 2);
  expect_size(OBJ_FRAME_BOTTOM, 1, 2);
  expect_size(OBJ_FRAME_LEFT, 2, 1);
  expect_size(OBJ_FRAME_RIGHT, 2, 1);
  expect_size(OBJ_PANEL_BOTTOM, 88, 2);
  expect_size(OBJ_PANEL_FILLER, 88, 1);
  expect_size(OBJ_PANEL_SEPARATOR, 88, 2);
  for (int i = OBJ_BADGE_FIRST; i < OBJ_BADGE_FIRST + 12; i++) expect_size(i, 88, 32);
  for (int i = OBJ_FACE_LOST; i <= OBJ_FACE_WON; i++) expect_size(i, 36, 16);
  expect_size(OBJ_PRESS_KEY_PICTURE, 800, 600);
  BITMAP* logo = static_cast<BITMAP*>(MainDatafile[OBJ_LOGO].dat);
  EXPECT_GE(logo->w, 355);
  EXPECT_GE(logo->h, 51);
  for (int n = 1; n <= 64; n++) {
    BITMAP* g = static_cast<BITMAP*>(MainDatafile[OBJ_NUMBER_BASE + n].dat);
    EXPECT_LE(g->w, 16) << n;
    EXPECT_LE(g->h, 16) << n;
  }
  EXPECT_EQ(text_height(static_cast<FONT*>(MainDatafile[OBJ_FONT].dat)), 8);
}

TEST(SoundDatafile, ElevenSamples) {
  ASSERT_GE(object_count(SoundDatafile), 11);
  for (int i = 0; i < 11; i++) EXPECT_EQ(SoundDatafile[i].type, DAT_SAMPLE) << "object " << i;
}
