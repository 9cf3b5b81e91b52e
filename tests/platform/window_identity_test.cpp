#include "platform/window_identity.h"

#include "platform/version.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

TEST(WindowIdentity, TheTitleCarriesTheProjectVersion) {
  EXPECT_EQ(window_title(), std::string("FGrid v") + FG_VERSION);
  EXPECT_STRNE(FG_VERSION, "");
}

TEST(WindowIdentity, AnXpmBecomesTheDockIconsPixels) {
  const char* const xpm[] = {"3 2 3 1", "  c None", ". c #0C0E14", "a c #F0F3FA", " .a", "a. "};
  const std::vector<unsigned long> argb = icon_argb_from_xpm(xpm);
  const std::vector<unsigned long> expected = {3,          2,          0x00000000, 0xFF0C0E14,
                                               0xFFF0F3FA, 0xFFF0F3FA, 0xFF0C0E14, 0x00000000};
  EXPECT_EQ(argb, expected);
}

TEST(WindowIdentity, PicturesItCannotReadGiveNoIcon) {
  const char* const two_chars[] = {"1 1 1 2", "aa c #000000", "aa"};
  const char* const unknown_key[] = {"1 1 1 1", "a c #000000", "b"};
  const char* const short_row[] = {"2 1 1 1", "a c #000000", "a"};
  const char* const named_colour[] = {"1 1 1 1", "a c red", "a"};
  const char* const too_large[] = {"257 1 1 1", "a c #000000", "a"};
  const char* const no_header[] = {"x", nullptr};
  for (const char* const* xpm : {two_chars, unknown_key, short_row, named_colour, too_large, no_header})
    EXPECT_TRUE(icon_argb_from_xpm(xpm).empty()) << xpm[0];
  EXPECT_TRUE(icon_argb_from_xpm(nullptr).empty());
}
