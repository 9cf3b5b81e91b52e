// No-guess boards (rules/no_guess.h) on the shipped style files: a seeded
// sample of patterns, levels, modes and first cells made no-guess and
// checked by the simulated player, the mine count, the clues and the first
// reveal that follows; the same seed giving the same board; a budget of
// work stopping at the same point on every run, and a budget too short
// leaving a sound board; rescues of stuck boards; the modes left out;
// boards that need the overlapping pairs rule where a group is too large
// to search.
#include <memory>

#include "board/board_load.h"
#include "platform/main_datafile.h"
#include "rules/no_guess.h"
#include "rules/solver_player.h"
#include "rules/rules_fixture.h"
#include "support/shipped_styles.h"

namespace rules_test {
namespace {

constexpr int STYLE_FILE_COUNT = static_cast<int>(sizeof SHIPPED_STYLE_FILES / sizeof SHIPPED_STYLE_FILES[0]);

// The game's own budget: the sampled boards are made within it.
constexpr long AMPLE_BUDGET = NO_GUESS_WORK_BUDGET;

class NoGuessTest : public RulesTest {
 protected:
  void load_seeded(GameMode mode, const char* file, int pattern, SkillLevel skill, uint32_t seed) {
    game.mode = mode;
    game.skill = skill;
    board_seed = seed;
    board_counter = 0;
    ASSERT_EQ(load_board(file, pattern, 0), BOARD_LOADED) << file << " " << pattern;
    clear_events();
  }

  static std::vector<uint8_t> contents() {
    std::vector<uint8_t> v;
    for (int c = 0; c < board.cell_count; c++) v.push_back(board.cells[c].content);
    return v;
  }

  // Whether every clue is what compute_clues makes of the mines as laid.
  static bool clues_consistent() {
    const std::vector<uint8_t> before = contents();
    for (int c = 0; c < board.cell_count; c++)
      if (board.cells[c].content < MINE) board.cells[c].content = 0;
    compute_clues();
    const bool same = contents() == before;
    for (int c = 0; c < board.cell_count; c++) board.cells[c].content = before[static_cast<size_t>(c)];
    return same;
  }

  // What the game's ordinary first reveal makes of the layout in play: the
  // contents and the stream after clear_first_click_zone. The board and
  // session are left as they were.
  static std::pair<std::vector<uint8_t>, Random> ordinary_first_reveal(int first) {
    std::unique_ptr<Board> saved(new Board(board));
    const GameSession saved_game = game;
    game.first_cell = static_cast<int16_t>(first);
    clear_first_click_zone(game.random);
    const std::pair<std::vector<uint8_t>, Random> made{contents(), game.random};
    board = *saved;
    game = saved_game;
    return made;
  }

  // The checks every board made must pass, whether it succeeded or not:
  // the mines as many as before, the clues true, the board covered, the
  // first cell and its neighbours safe.
  void expect_sound_board(int first, int mines_before) {
    EXPECT_EQ(count_mines(), mines_before);
    EXPECT_EQ(game.mines_total, mines_before);
    EXPECT_TRUE(clues_consistent());
    EXPECT_EQ(count_state(REVEALED), 0);
    EXPECT_EQ(game.first_cell, first);
    const Cell& f = board.cells[first];
    EXPECT_LT(f.content, MINE);
    for (int e = 0; e < f.neighbour_count; e++) EXPECT_LT(board.cells[f.neighbours[e]].content, MINE) << e;
  }
};

// A seeded sample: a style file, pattern, level, seed and first cell drawn
// for each case, the modes in turn.
TEST_F(NoGuessTest, SampledShippedBoardsClearWithoutAGuessAndHandOverToTheFirstReveal) {
  const GameMode modes[] = {CLASSIC, FLAGLESS, ENDURANCE, BACKWARDS};
  Random pick = random_seeded(20261210);
  for (int k = 0; k < 32; k++) {
    const ShippedStyleFile& file = SHIPPED_STYLE_FILES[random_range(pick, 0, STYLE_FILE_COUNT - 1)];
    const int pattern = random_range(pick, 0, file.patterns - 1);
    const SkillLevel skill = static_cast<SkillLevel>(random_range(pick, BEGINNER, MASTER));
    const uint32_t seed = static_cast<uint32_t>(random_range(pick, 1, 1 << 30));
    const GameMode mode = modes[k % 4];
    load_seeded(mode, file.name, pattern, skill, seed);
    const int first = random_range(pick, 0, board.cell_count - 1);
    SCOPED_TRACE(testing::Message() << file.name << " pattern " << pattern << " skill " << skill << " seed " << seed
                                    << " mode " << mode << " first " << first);
    // The zone may take a mine off a board too full to move it: the count
    // to keep is the one the ordinary first reveal keeps.
    const std::vector<uint8_t> ordinary = ordinary_first_reveal(first).first;
    int mines = 0;
    for (uint8_t c : ordinary) mines += c >= MINE;

    const NoGuessResult r = make_no_guess_board(first, AMPLE_BUDGET);
    EXPECT_TRUE(r.supported);
    ASSERT_TRUE(r.succeeded) << r.attempts << " attempts, " << r.work << " units of work";
    expect_sound_board(first, mines);
    EXPECT_TRUE(clearable_without_guess(first));

    // The game's first reveal uncovers the board as made: no draw, no mine
    // moved, the cascade opening at least the zone's members.
    const std::vector<uint8_t> made = contents();
    const Random stream = game.random;
    settings.chain_speed = 0.0f;
    reveal_cell(first, 1, SFX_REVEAL);
    auto_reveal_step();
    clear_events();
    EXPECT_EQ(contents(), made);
    EXPECT_EQ(game.random.counter, stream.counter);
    EXPECT_EQ(game.board_mines_hit, 0);
    EXPECT_GE(count_state(REVEALED), zone_size(board.cell_count));
  }
}

TEST_F(NoGuessTest, TheSameSeedMakesTheSameBoard) {
  // Expert 28 x 16 at Master: boards that take rearrangements.
  std::vector<uint8_t> made[2];
  Random stream[2];
  for (int run = 0; run < 2; run++) {
    load_seeded(CLASSIC, "fgboards.dat", EXPERT_28X16, MASTER, 77);
    const NoGuessResult r = make_no_guess_board(rc(8, 14, 28), AMPLE_BUDGET);
    ASSERT_TRUE(r.succeeded);
    EXPECT_GT(r.attempts, 0);
    made[run] = contents();
    stream[run] = game.random;
  }
  EXPECT_EQ(made[0], made[1]);
  EXPECT_EQ(stream[0].counter, stream[1].counter);
}

// A budget of 0 stops before the first play: the board is the ordinary
// first reveal's. A budget is counted in work, so a given budget stops at
// the same point on every run: the board it leaves is sound, the same each
// time, and made guess-free exactly when the full run needed no more work.
// Flags and pending events are kept.
TEST_F(NoGuessTest, ABudgetOfWorkStopsAtTheSamePointEveryTime) {
  const int first = rc(16, 20, 40);
  load_seeded(CLASSIC, "fgboards.dat", HUGE_40X32, MASTER, 5);
  const NoGuessResult full = make_no_guess_board(first, AMPLE_BUDGET);
  ASSERT_TRUE(full.succeeded);
  ASSERT_GT(full.attempts, 0);
  const std::vector<uint8_t> made = contents();

  const long budgets[] = {0, 1, full.work / 4, full.work / 2, full.work};
  for (long budget : budgets) {
    SCOPED_TRACE(budget);
    std::vector<uint8_t> runs[2];
    for (int run = 0; run < 2; run++) {
      load_seeded(CLASSIC, "fgboards.dat", HUGE_40X32, MASTER, 5);
      const int mines = game.mines_total;
      const std::pair<std::vector<uint8_t>, Random> ordinary = ordinary_first_reveal(first);
      cycle_flag(0);
      clear_events();
      post_event(EVENT_BOARD_CHANGED);

      const NoGuessResult r = make_no_guess_board(first, budget);
      expect_sound_board(first, mines);
      EXPECT_EQ(board.cells[0].state, FLAGGED);
      const std::vector<GameEvent>& events = take_events();
      ASSERT_EQ(events.size(), 1u);
      EXPECT_EQ(events[0].kind, EVENT_BOARD_CHANGED);
      EXPECT_EQ(r.succeeded, budget == full.work);
      if (budget == 0) {
        EXPECT_EQ(r.attempts, 0);
        EXPECT_EQ(r.plays, 0);
        EXPECT_EQ(contents(), ordinary.first);
        EXPECT_EQ(game.random.counter, ordinary.second.counter);
      }
      if (r.succeeded) {
        EXPECT_EQ(contents(), made);
        board.cells[0].state = HIDDEN;  // the player's flag is no help to the check
        EXPECT_TRUE(clearable_without_guess(first));
      }
      runs[run] = contents();
    }
    EXPECT_EQ(runs[0], runs[1]);
  }
}

// Boards whose rearrangements stop opening more of the board: a mine of
// the stuck cells is moved anywhere (a rescue), but never into a cell the
// first click opened on the board as handed in, so the opening the player
// gets is never smaller than the first reveal's. The first maker, whose
// boards these are.
TEST_F(NoGuessTest, RescuesKeepTheFirstClicksOpeningFree) {
  struct {
    const char* file;
    int pattern;
    uint32_t seed;
    int first;
  } cases[] = {
      {"fgboards-pi.dat", 6, 5, 231},   {"fgboards-pi.dat", 6, 28, 688},  {"fgboards-pi.dat", 6, 37, 44},
      {"fgboards-pi.dat", 6, 57, 211},  {"fgboards-pi.dat", 6, 88, 432},  {"fgboards-pi.dat", 6, 91, 722},
      {"fgboards-pi.dat", 6, 93, 663},  {"fgboards-pi.dat", 6, 101, 427}, {"fgboards-pi.dat", 6, 111, 132},
      {"fgboards-pi.dat", 6, 115, 14},  {"fgboards-pi.dat", 6, 117, 712}, {"fgboards-cu.dat", 3, 15, 447},
      {"fgboards-cu.dat", 5, 10, 215},  {"fgboards-oc.dat", 2, 10, 242},  {"fgboards-oc.dat", 2, 53, 199},
      {"fgboards-oc.dat", 2, 98, 127},
  };
  int rescues = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.file << " pattern " << c.pattern << " seed " << c.seed);
    load_seeded(CLASSIC, c.file, c.pattern, MASTER, c.seed);
    // The cells the first click opens on the board as handed in.
    std::vector<int> opening;
    {
      std::unique_ptr<Board> saved(new Board(board));
      const GameSession saved_game = game;
      open_cell_and_cascade(c.first);
      for (int i = 0; i < board.cell_count; i++)
        if (board.cells[i].state == REVEALED) opening.push_back(i);
      board = *saved;
      game = saved_game;
    }
    const NoGuessResult r = make_no_guess_board(c.first, AMPLE_BUDGET, no_guess_limits(1));
    ASSERT_TRUE(r.succeeded);
    EXPECT_GT(r.rescues, 0) << "the board was expected to get stuck at the same place again and again";
    rescues += r.rescues;
    for (int i : opening) EXPECT_LT(board.cells[i].content, MINE) << "a mine was moved into the opening, cell " << i;
  }
  EXPECT_GE(rescues, 25);
}

// Boards of 40 x 32 with 283 mines (Huge at Expert) made no-guess from a
// fixed first cell for a stronger player that does not know the
// overlapping pairs rule: groups of up to 64 cells searched, sixteen times
// the nodes, the rule off. The player with the default limits clears every
// one without a guess; without the rule it gets stuck on some, each time
// at a position where a group is too large to search and the rules with
// the overlapping pairs find a safe cell.
TEST_F(NoGuessTest, HugeBoardsClearWhereOnlyTheOverlapRuleOpensACappedGroup) {
#ifdef __SANITIZE_ADDRESS__
  // The sanitizers slow the making tenfold: a stretch of the seeds holding
  // five boards of the kind.
  constexpr uint32_t FIRST_SEED = 41, LAST_SEED = 56;
  constexpr int STUCK_AT_LEAST = 3;
#else
  constexpr uint32_t FIRST_SEED = 1, LAST_SEED = 200;
  constexpr int STUCK_AT_LEAST = 5;
#endif
  SolverLimits stronger;
  stronger.max_group_cells = 64;
  stronger.max_group_nodes = 1L << 20;
  stronger.max_solve_nodes = 1L << 22;
  stronger.overlap_rule = false;
  const int first = rc(16, 20, 40);
  SolverLimits without;
  without.overlap_rule = false;
  int stuck_without = 0;
  for (uint32_t seed = FIRST_SEED; seed <= LAST_SEED; seed++) {
    SCOPED_TRACE(seed);
    load_seeded(CLASSIC, "fgboards.dat", HUGE_40X32, EXPERT, seed);
    ASSERT_EQ(game.mines_total, 283);
    ASSERT_TRUE(make_no_guess_board(first, 100 * NO_GUESS_WORK_BUDGET, stronger).succeeded);
    EXPECT_TRUE(clearable_without_guess(first));

    std::unique_ptr<Board> made(new Board(board));
    const GameSession session = game;
    PlayerOptions stop;
    stop.limits = without;
    stop.guess = false;
    Random unused{};
    if (!play_board(first, unused, stop).cleared) {
      stuck_without++;
      Solver off(without), on;
      EXPECT_EQ(off.solve(board, game).safe, 0);
      EXPECT_GT(off.stats().groups_capped, 0);
      EXPECT_GT(on.solve(board, game, false).safe, 0);
    }
    board = *made;
    game = session;
  }
  EXPECT_GE(stuck_without, STUCK_AT_LEAST);
}

// Multi-Mine, Moving Mines and MegaMine are not made no-guess: the first
// reveal's zone is cleared as the game clears it, and nothing more.
TEST_F(NoGuessTest, OtherModesGetTheOrdinaryFirstReveal) {
  const GameMode modes[] = {MULTI_MINE, MOVING_MINES, MEGAMINE};
  for (GameMode mode : modes) {
    SCOPED_TRACE(mode);
    EXPECT_FALSE(no_guess_supported(mode));
    load_seeded(mode, "fgboards.dat", INTERMEDIATE_16X16, EXPERT, 9);
    const int first = rc(8, 8, 16);
    const std::pair<std::vector<uint8_t>, Random> ordinary = ordinary_first_reveal(first);
    const NoGuessResult r = make_no_guess_board(first, AMPLE_BUDGET);
    EXPECT_FALSE(r.supported);
    EXPECT_FALSE(r.succeeded);
    EXPECT_EQ(game.first_cell, first);
    EXPECT_EQ(contents(), ordinary.first);
    EXPECT_EQ(game.random.counter, ordinary.second.counter);
  }
}

}  // namespace
}  // namespace rules_test
