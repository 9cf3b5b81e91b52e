// The game in play as the tables see it, on real boards through the
// rules: when a game counts as played, how each way of ending it is
// recorded, and which results wait for a name.
#include "scores/game_record.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/extra_settings.h"
#include "platform/game_paths.h"
#include "platform/safe_file.h"
#include "rules/hint.h"
#include "rules/rules_fixture.h"
#include "support/headless.h"

using namespace rules_test;

namespace {

class GameRecord : public RulesTest {
 protected:
  void TearDown() override {
    reset_game_record();
    clear_scores();
    default_extra_settings();
    RulesTest::TearDown();
  }
  ScopedUserFolder user_folder;
};

const std::vector<int> CORNER_WALL = {rc(0, 1), rc(1, 0), rc(1, 1)};

enum Ending {
  CLEARED,            // every safe cell opened
  CLEARED_HINTED,     // the same after a hint
  ONE_CLICK,          // the first click's cascade opens the whole board
  VERDICT_RIGHT,      // "Check!" with every flag right (MegaMine)
  VERDICT_WRONG,      // "Check!" with a mine left covered (MegaMine)
  TIME_OUT,           // the Endurance time runs out
  TIME_OUT_SCORE_1,   // the same with a score of 1
  TIME_OUT_SCORE_0,   // the same with no score
  VERDICT_RIGHT_SCORE_1,  // "Check!" right with a score of 1
  VERDICT_RIGHT_SCORE_0,  // "Check!" right with no score
  ENDURANCE_CLEARED,  // an Endurance board cleared with time left: the run goes on
  ABANDONED,          // a new game started instead
  NEVER_STARTED       // ended before any cell was opened
};

}  // namespace

TEST_F(GameRecord, EachEndingIsRecordedAndOnlyARankingWinWaitsForAName) {
  struct Case {
    const char* what;
    GameMode mode;
    Ending ending;
    uint32_t played, won;
    bool pending;
  } cases[] = {
      {"Classic cleared", CLASSIC, CLEARED, 1, 1, true},
      {"Backwards cleared", BACKWARDS, CLEARED, 1, 1, true},
      {"hinted", CLASSIC, CLEARED_HINTED, 1, 1, false},
      {"one click", FLAGLESS, ONE_CLICK, 1, 1, false},
      {"MegaMine verdict right", MEGAMINE, VERDICT_RIGHT, 1, 1, true},
      {"MegaMine verdict wrong", MEGAMINE, VERDICT_WRONG, 1, 0, false},
      {"Endurance timed out", ENDURANCE, TIME_OUT, 1, 1, true},
      {"Endurance timed out with a score of 1", ENDURANCE, TIME_OUT_SCORE_1, 1, 1, true},
      {"Endurance timed out with no score", ENDURANCE, TIME_OUT_SCORE_0, 1, 1, false},
      {"MegaMine verdict right with a score of 1", MEGAMINE, VERDICT_RIGHT_SCORE_1, 1, 1, true},
      {"MegaMine verdict right with no score", MEGAMINE, VERDICT_RIGHT_SCORE_0, 1, 1, false},
      {"Endurance board cleared", ENDURANCE, ENDURANCE_CLEARED, 1, 0, false},
      {"abandoned", CLASSIC, ABANDONED, 1, 0, false},
      {"never started", MEGAMINE, NEVER_STARTED, 0, 0, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    reset_game_record();
    clear_scores();
    std::remove((user_folder.path() + "/fusegrid.scores").c_str());
    game.endurance_minutes = 20;
    load(k.mode);
    const int first = k.ending == ONE_CLICK ? rc(4, 4) : rc(8, 8);
    // Three mines shut the corner cell off from the first click's cascade;
    // a single one leaves the whole board to it.
    if (k.ending == ONE_CLICK)
      place_regular({rc(0, 0)}, first);
    else
      place_regular(CORNER_WALL, first);
    game.score = k.mode == ENDURANCE ? 0 : game.score;
    const ScoreKey key = game_score_key();
    ASSERT_TRUE(valid_score_key(key));
    if (k.ending != NEVER_STARTED) {
      reveal_cell(first, 1, 0);
      show_events();
      track_game_start();
      track_game_start();  // counted once
    }
    switch (k.ending) {
      case CLEARED_HINTED:
        use_hint(rc(4, 4));
        [[fallthrough]];
      case CLEARED:
      case ONE_CLICK:
      case ENDURANCE_CLEARED:
        for (int i = 0; i < board.cell_count; i++)
          if (board.cells[i].content < MINE && board.cells[i].state != REVEALED) reveal_cell(i, 1, 0);
        ASSERT_EQ(game.phase, FINISHED);
        finish_board();
        break;
      case VERDICT_RIGHT:
      case VERDICT_RIGHT_SCORE_1:
      case VERDICT_RIGHT_SCORE_0:
      case VERDICT_WRONG:
      case NEVER_STARTED:
        for (int c : CORNER_WALL)
          if (k.ending != VERDICT_WRONG || c != rc(1, 1)) board.cells[c].state = FLAGGED;
        check_verdict();
        // The score as the verdict left it, set to the edge of a score.
        if (k.ending == VERDICT_RIGHT_SCORE_1) game.score = 1;
        if (k.ending == VERDICT_RIGHT_SCORE_0) game.score = 0;
        break;
      case TIME_OUT:
      case TIME_OUT_SCORE_1:
      case TIME_OUT_SCORE_0:
        game.score = k.ending == TIME_OUT ? 1234 : k.ending == TIME_OUT_SCORE_1 ? 1 : 0;
        game.damage = 40;
        game.boards_played = 2;
        update_game_clock(1e6f);
        break;
      case ABANDONED: track_game_abandoned(); break;
    }
    show_events();
    const ScoreStats s = score_stats(key);
    EXPECT_EQ(s.played, k.played);
    EXPECT_EQ(s.won, k.won);
    EXPECT_EQ(s.current_streak, k.won);
    EXPECT_EQ(score_entry_pending(), k.pending);
    if (k.played) {
      EXPECT_EQ(extra_settings.last_table, format_score_key(key)) << "the last table played is kept";
    }
    // Every change is on disk at once.
    const std::string saved = read_file(user_folder.path() + "/fusegrid.scores");
    EXPECT_EQ(saved.empty(), k.played == 0);
    if (!saved.empty()) {
      EXPECT_EQ(saved, encode_scores());
    }
    if (!k.pending) continue;
    const ScoreEntry& e = pending_score_entry();
    if (k.mode == ENDURANCE) {
      EXPECT_EQ(e.result, k.ending == TIME_OUT ? 1234 : 1);
      EXPECT_EQ(e.damage, 40);
      EXPECT_EQ(e.boards, 3) << "the board the time ran out on counts";
    } else if (k.mode == MEGAMINE) {
      EXPECT_EQ(e.result, game.score);
    } else {
      EXPECT_EQ(e.result, static_cast<int32_t>(game.game_time * 100.0f + game.penalty_time * 100.0f + 0.5f));
    }
    EXPECT_GT(e.date, 0);
    EXPECT_EQ(pending_score_rank(), 0);
    EXPECT_EQ(enter_pending_score("   "), 0);
    EXPECT_FALSE(score_entry_pending());
    ASSERT_EQ(score_entries(key).size(), 1u);
    EXPECT_EQ(score_entries(key)[0].name, ANONYMOUS_NAME) << "a blank name is anonymous";
    EXPECT_EQ(last_score_entry().rank, 0);
    EXPECT_EQ(read_file(user_folder.path() + "/fusegrid.scores"), encode_scores());
  }
}

// A second game on the same table: the new result ranks against the first;
// the highlight of the last entry goes once the next game starts.
TEST_F(GameRecord, ResultsRankAgainstEarlierOnesAndTheHighlightLastsUntilTheNextGame) {
  const int32_t times[] = {5000, 9000, 3000};
  const int ranks[] = {0, 1, 0};
  ScoreKey key;
  for (int g = 0; g < 3; g++) {
    SCOPED_TRACE(g);
    load(CLASSIC);
    place_regular(CORNER_WALL, rc(8, 8));
    reveal_cell(rc(8, 8), 1, 0);
    show_events();
    track_game_start();
    EXPECT_EQ(last_score_entry().rank, -1);
    for (int i = 0; i < board.cell_count; i++)
      if (board.cells[i].content < MINE && board.cells[i].state != REVEALED) reveal_cell(i, 1, 0);
    game.game_time = times[g] / 100.0f;
    finish_board();
    show_events();
    key = game_score_key();
    ASSERT_TRUE(score_entry_pending());
    EXPECT_EQ(pending_score_rank(), ranks[g]);
    EXPECT_EQ(enter_pending_score("P" + std::to_string(g)), ranks[g]);
    EXPECT_EQ(last_score_entry().rank, ranks[g]);
    EXPECT_TRUE(last_score_entry().key == key);
  }
  ASSERT_EQ(score_entries(key).size(), 3u);
  EXPECT_EQ(score_entries(key)[0].name, "P2");
  EXPECT_EQ(score_entries(key)[2].name, "P1");
  EXPECT_EQ(score_stats(key).longest_streak, 3u);
}

TEST(ScoreKeyText, FormatsAndParsesOnlyValidKeys) {
  ScoreKey k;
  k.style = "fgboards-hx.dat";
  k.pattern = 12;
  k.mode = ENDURANCE;
  k.skill = MASTER;
  k.time_limit = 30;
  EXPECT_EQ(format_score_key(k), "fgboards-hx.dat:12:5:3:30");
  ScoreKey back;
  ASSERT_TRUE(parse_score_key(format_score_key(k), back));
  EXPECT_TRUE(back == k);
  struct Case {
    const char* text;
    bool valid;
  } cases[] = {
      {"", false},
      {":0:0:0:0", false},
      {"fgboards.dat:0:0:0", false},
      {"fgboards.dat:0:5:0:0", false},
      {"fgboards.dat:0:5:0:10", true},
      {"fgboards.dat:0:0:0:10", false},
      {"fgboards.dat:0:0:0:0", true},
      {"fgboards.dat:99:0:0:0", true},
      {"fgboards.dat:100:0:0:0", true},
      {"fgboards.dat:255:6:3:0", true},
      {"fgboards.dat:256:0:0:0", false},
      {"fgboards.dat:0:7:0:0", false},
      {"fgboards.dat:0:0:4:0", false},
      {"fgboards.dat:-1:0:0:0", false},
      {"fgboards.dat:0:0:0:0 ", false},
      {"fgboards.dat:0:0:0:0000", false},
      {"fgboards.dat:0100:0:0:0", false},
      {"fgboards-sixteen.dat:0:0:0:0", false},
      {"fgboards.dat:x:0:0:0", false},
      // The style is a plain style file name of the game folders.
      {"FGBOARDS-X.DAT:1:0:0:0", true},
      {"a.dat:0:0:0:0", false},
      {"/etc/passwd:0:0:0:0", false},
      {"../x.dat:0:0:0:0", false},
      {"fgboards/../x.dat:0:0:0:0", false},
      {"/fgboards.dat:0:0:0:0", false},
      {"fgboards a.dat:0:0:0:0", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parse_score_key(c.text, back), c.valid);
  }
  ASSERT_TRUE(parse_score_key("fgboards:b.dat:100:0:0:0", back)) << "the style is everything before the numbers";
  EXPECT_EQ(back.style, "fgboards:b.dat");
  EXPECT_EQ(back.pattern, 100);
}

// A result whose save fails is entered all the same, marked as not saved,
// and the step says so; the next save writes it.
TEST_F(GameRecord, AnEntryWhoseSaveFailsIsMarkedAndSavedLater) {
  load(CLASSIC);
  place_regular(CORNER_WALL, rc(8, 8));
  reveal_cell(rc(8, 8), 1, 0);
  show_events();
  EXPECT_EQ(track_game_start(), SCORES_SAVE_DONE);
  EXPECT_EQ(track_game_start(), SCORES_SAVE_NONE) << "counted once, saved once";
  for (int i = 0; i < board.cell_count; i++)
    if (board.cells[i].content < MINE && board.cells[i].state != REVEALED) reveal_cell(i, 1, 0);
  finish_board();
  take_events();
  EXPECT_EQ(track_game_end(true), SCORES_SAVE_DONE);
  const std::string path = user_folder.path() + "/fusegrid.scores";
  const std::string before = read_file(path);
  ASSERT_TRUE(score_entry_pending());
  const ScoreKey key = pending_score_key();
  // The folder locked by another game beyond the wait.
  const int saved_wait = user_folder_lock_wait_ms;
  user_folder_lock_wait_ms = 10;
  const int lock = lock_folder(user_folder.path().c_str(), 0);
  ASSERT_GE(lock, 0);
  ScoresSave saved = SCORES_SAVE_NONE;
  EXPECT_EQ(enter_pending_score("Ida", &saved), 0);
  EXPECT_EQ(saved, SCORES_SAVE_FAILED);
  EXPECT_EQ(save_waiting_scores(), SCORES_SAVE_FAILED);
  release_folder_lock(lock);
  user_folder_lock_wait_ms = saved_wait;
  EXPECT_EQ(read_file(path), before);
  ASSERT_EQ(score_entries(key).size(), 1u);
  EXPECT_TRUE(score_entries(key)[0].unsaved);
  EXPECT_EQ(save_waiting_scores(), SCORES_SAVE_DONE);
  EXPECT_EQ(save_waiting_scores(), SCORES_SAVE_NONE) << "nothing waits any more";
  EXPECT_FALSE(score_entries(key)[0].unsaved);
  EXPECT_EQ(read_file(path), encode_scores());
}
