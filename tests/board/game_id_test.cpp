// Game IDs as text: every field read and checked, the stream folded into
// its shortest form, the text written back; a style file name too long for
// an ID told apart from a missing file.
#include "board/game_id.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "rules/random.h"
#include "support/headless.h"

namespace {

TEST(GameId, ReadsEveryFieldAndWritesTheSameTextBack) {
  struct {
    const char* text;
    const char* style;
    int pattern, mode, skill;
    uint32_t seed, counter;
    int no_guess_maker;  // 0: not no-guess
    const char* written;  // the shortest form
  } cases[] = {
      {"fgboards-hx.dat:2:0:1:3141592653:N", "fgboards-hx.dat", 2, 0, 1, 3141592653u, 0, 1, nullptr},
      {"fgboards-hx.dat:2:0:1:3141592653:N2", "fgboards-hx.dat", 2, 0, 1, 3141592653u, 0, 2, nullptr},
      {"fgboards.dat:0:6:3:0", "fgboards.dat", 0, 6, 3, 0, 0, 0, nullptr},
      {"fgboards-ab.dat:0:0:0:1", "fgboards-ab.dat", 0, 0, 0, 1, 0, 0, nullptr},  // the longest name
      {"FGBOARDS.DAT:255:3:0:4294967295", "FGBOARDS.DAT", 255, 3, 0, 4294967295u, 0, 0, nullptr},
      {"fgboards.dat:1:2:2:7+1", "fgboards.dat", 1, 2, 2, 7, 1, 0, nullptr},
      {"  fgboards.dat:1:5:2:10:n \n", "fgboards.dat", 1, 5, 2, 10, 0, 1, "fgboards.dat:1:5:2:10:N"},
      {"fgboards.dat:1:5:2:10:n2", "fgboards.dat", 1, 5, 2, 10, 0, 2, "fgboards.dat:1:5:2:10:N2"},
      // A counter of 2 is the seed 2 x 27397 further on, with the counter 0.
      {"fgboards.dat:0:0:0:5+2", "fgboards.dat", 0, 0, 0, 5u + 2u * 27397u, 0, 0, "fgboards.dat:0:0:0:54799"},
      {"fgboards.dat:0:0:0:5+3", "fgboards.dat", 0, 0, 0, 5u + 2u * 27397u, 1, 0, "fgboards.dat:0:0:0:54799+1"},
      {"fgboards.dat:0:0:0:4294967295+4294967295", "fgboards.dat", 0, 0, 0, 4294967295u + 4294967294u * 27397u, 1,
       0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    GameId id{};
    ASSERT_EQ(parse_game_id(c.text, id), GAME_ID_OK);
    EXPECT_STREQ(id.style_file, c.style);
    EXPECT_EQ(id.pattern, c.pattern);
    EXPECT_EQ(id.mode, c.mode);
    EXPECT_EQ(id.skill, c.skill);
    EXPECT_EQ(id.random.seed, c.seed);
    EXPECT_EQ(id.random.counter, c.counter);
    EXPECT_EQ(id.no_guess, c.no_guess_maker != 0);
    if (id.no_guess) {
      EXPECT_EQ(id.no_guess_maker, c.no_guess_maker);
    }
    char text[GAME_ID_TEXT_SIZE];
    format_game_id(id, text, sizeof text);
    if (c.written) {
      EXPECT_STREQ(text, c.written);
    } else if (std::string(c.text).find("+4294967295") == std::string::npos) {
      EXPECT_STREQ(text, c.text);
    }
    GameId again{};
    ASSERT_EQ(parse_game_id(text, again), GAME_ID_OK);
    EXPECT_EQ(again.random.seed, id.random.seed);
    EXPECT_EQ(again.random.counter, id.random.counter);
    EXPECT_EQ(again.no_guess_maker, id.no_guess_maker);
  }
}

// The folded stream draws what the stream of the board load draws.
TEST(GameId, TheShortestFormDrawsTheSameNumbers) {
  for (uint32_t counter : {0u, 1u, 2u, 3u, 1000u, 1001u, 4294967295u}) {
    SCOPED_TRACE(counter);
    Random load{123456789u, counter};
    GameId id{};
    id.random = load;
    std::snprintf(id.style_file, sizeof id.style_file, "fgboards.dat");
    char text[GAME_ID_TEXT_SIZE];
    format_game_id(id, text, sizeof text);
    GameId read{};
    ASSERT_EQ(parse_game_id(text, read), GAME_ID_OK) << text;
    EXPECT_LE(read.random.counter, 1u);
    for (int i = 0; i < 200; i++) ASSERT_EQ(random_range(read.random, 0, 9999), random_range(load, 0, 9999)) << i;
  }
}

TEST(GameId, BadIdsAreRefusedFieldByField) {
  struct {
    const char* text;
    GameIdError error;
  } cases[] = {
      {"", GAME_ID_FIELD_COUNT},
      {"fgboards.dat:0:0:0", GAME_ID_FIELD_COUNT},
      {"fgboards.dat:0:0:0:1:N:N", GAME_ID_FIELD_COUNT},
      {"boards.dat:0:0:0:1", GAME_ID_STYLE_NAME},
      {"../fgboards.dat:0:0:0:1", GAME_ID_STYLE_NAME},
      {"fgboards/../x.dat:0:0:0:1", GAME_ID_STYLE_NAME},
      {"fgboards-abc.dat:0:0:0:1", GAME_ID_STYLE_TOO_LONG},
      {"fgboards-longer.dat:0:0:0:1", GAME_ID_STYLE_TOO_LONG},
      {"FGBOARDS-LONGER.DAT:x:0:0:1", GAME_ID_STYLE_TOO_LONG},
      {"boards-of-many-letters.dat:0:0:0:1", GAME_ID_STYLE_NAME},
      {"fgboards\x01.dat:0:0:0:1", GAME_ID_STYLE_NAME},
      {"fg boards.dat:0:0:0:1", GAME_ID_STYLE_NAME},
      {"fgboards.dat:x:0:0:1", GAME_ID_PATTERN},
      {"fgboards.dat:-1:0:0:1", GAME_ID_PATTERN},
      {"fgboards.dat:256:0:0:1", GAME_ID_PATTERN},
      {"fgboards.dat::0:0:1", GAME_ID_PATTERN},
      {"fgboards.dat:0:7:0:1", GAME_ID_MODE},
      {"fgboards.dat:0:+1:0:1", GAME_ID_MODE},
      {"fgboards.dat:0:0:4:1", GAME_ID_SKILL},
      {"fgboards.dat:0:0:0:abc", GAME_ID_SEED},
      {"fgboards.dat:0:0:0:4294967296", GAME_ID_SEED},
      {"fgboards.dat:0:0:0:99999999999999999999999", GAME_ID_SEED},
      {"fgboards.dat:0:0:0:-5", GAME_ID_SEED},
      {"fgboards.dat:0:0:0:5+", GAME_ID_SEED},
      {"fgboards.dat:0:0:0:5+x", GAME_ID_SEED},
      {"fgboards.dat:0:0:0:5+1+1", GAME_ID_SEED},
      {"fgboards.dat:0:0:0: 5", GAME_ID_SEED},
      {"fgboards.dat:0:0:0:5:X", GAME_ID_FLAG},
      {"fgboards.dat:0:0:0:5:", GAME_ID_FLAG},
      // The no-guess maker's version: 2 on, no leading zero; later ones than
      // the game's are refused as newer, never played as another board.
      {"fgboards.dat:0:0:0:5:N0", GAME_ID_FLAG},
      {"fgboards.dat:0:0:0:5:N1", GAME_ID_FLAG},
      {"fgboards.dat:0:0:0:5:N02", GAME_ID_FLAG},
      {"fgboards.dat:0:0:0:5:N2x", GAME_ID_FLAG},
      {"fgboards.dat:0:0:0:5:N+3", GAME_ID_FLAG},
      {"fgboards.dat:0:0:0:5:X2", GAME_ID_FLAG},
      {"fgboards.dat:0:0:0:5:N3", GAME_ID_NEWER},
      {"fgboards.dat:0:0:0:5:n17", GAME_ID_NEWER},
      {"fgboards.dat:0:0:0:5:N99999999999999999999999", GAME_ID_NEWER},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    GameId id{};
    id.pattern = 42;
    EXPECT_EQ(parse_game_id(c.text, id), c.error);
    EXPECT_EQ(id.pattern, 42);  // left alone
    EXPECT_GT(std::string(game_id_message(c.error)).size(), 10u);
  }
  GameId id{};
  EXPECT_EQ(parse_game_id(nullptr, id), GAME_ID_FIELD_COUNT);
}

// A style file name of the right form but too long for an ID: "too long"
// only when a file of that name is there to be named, else missing.
TEST(GameId, ALongStyleNameIsLookedUpInTheGameFolders) {
  ScopedTempDir dir;
  write_file("fgboards-longer.dat", "a file of that name");
  ASSERT_EQ(mkdir("fgboards-folder.dat", 0755), 0);
  struct {
    const char* text;
    GameIdError error;
  } cases[] = {
      {"fgboards-longer.dat:0:0:0:1", GAME_ID_STYLE_TOO_LONG},
      {" fgboards-longer.dat:0:0:0:1:N ", GAME_ID_STYLE_TOO_LONG},
      {"fgboards-absent.dat:0:0:0:1", GAME_ID_STYLE_MISSING},
      {"fgboards-folder.dat:0:0:0:1", GAME_ID_STYLE_MISSING},
      // Every other answer is parse_game_id's, the disk not looked at.
      {"fgboards-ab.dat:0:0:0:1", GAME_ID_OK},
      {"boards-of-many-letters.dat:0:0:0:1", GAME_ID_STYLE_NAME},
      {"fgboards-longer.dat:0:0:0", GAME_ID_FIELD_COUNT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    GameId id{};
    EXPECT_EQ(read_game_id(c.text, id), c.error);
    if (c.error == GAME_ID_OK) {
      EXPECT_STREQ(id.style_file, "fgboards-ab.dat");
    }
  }
  EXPECT_STREQ(game_id_message(GAME_ID_STYLE_TOO_LONG),
               "That style file's name is too long for a game ID (at most 15 characters).");
}

}  // namespace
