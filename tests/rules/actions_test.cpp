// The player's actions on real boards: reveals and their counters, the
// first click's safe zone, mine penalties per mode, the cascade (timed and
// "Instant"), flag cycles, chords in every mode, Backwards and Moving
// Mines.
#include "rules/actions.h"

#include <gtest/gtest.h>

#include <set>

#include "rules/rules_fixture.h"

using namespace rules_test;

namespace {

class Actions : public RulesTest {};

// The part of the SceneBuffer a cell covers equals the cell drawn alone on
// the same background.
bool scene_shows(int c) {
  const Cell& cell = board.cells[c];
  BITMAP* want = create_bitmap_ex(8, 800, 600);
  blit(SceneBuffer, want, 0, 0, 0, 0, 800, 600);
  draw_cell(cell, want, 0);
  bool same = true;
  for (int y = cell.y; y < cell.y + 32 && y < 600; y++)
    for (int x = cell.x; x < cell.x + 32 && x < 800; x++) same = same && getpixel(want, x, y) == getpixel(SceneBuffer, x, y);
  destroy_bitmap(want);
  return same;
}

int count_in_rect(int colour, const Cell& cell) {
  int n = 0;
  for (int y = cell.y; y < cell.y + 32; y++)
    for (int x = cell.x; x < cell.x + 32; x++) n += getpixel(SceneBuffer, x, y) == colour;
  return n;
}

}  // namespace

TEST_F(Actions, RevealUncoversCountsDrawsAndSounds) {
  load(CLASSIC);
  place_regular({rc(0, 0), rc(0, 1), rc(0, 2)}, rc(4, 4));
  const int clue3 = rc(1, 1);
  ASSERT_EQ(board.cells[clue3].content, 3);
  clear_to_color(SceneBuffer, 7);
  const int hidden = game.cells_hidden;

  reveal_cell(-1, 1, SFX_REVEAL);
  show_events();
  EXPECT_EQ(game.cells_hidden, hidden);
  EXPECT_FALSE(played(SFX_REVEAL));

  reveal_cell(clue3, 1, SFX_REVEAL);
  show_events();
  const Cell& cell = board.cells[clue3];
  EXPECT_EQ(cell.state, REVEALED);
  EXPECT_EQ(game.cells_hidden, hidden - 1);
  EXPECT_FLOAT_EQ(cell.flash_timer, 0.0f);
  EXPECT_EQ(cell.open_wave, 0);
  EXPECT_FLOAT_EQ(game.auto_reveal_timer, -1000.0f);  // a clue, no cascade
  EXPECT_TRUE(played(SFX_REVEAL));
  EXPECT_FALSE(played(SFX_EXPLOSION));
  EXPECT_EQ(game.mines_hit, 0);
  EXPECT_LT(count_in_rect(7, cell), 32 * 32 / 2);  // drawn into the scene
  EXPECT_TRUE(scene_shows(clue3));
  EXPECT_EQ(game.phase, PLAYING);

  // Again: already revealed, nothing happens.
  clear_effect_played();
  reveal_cell(clue3, 1, SFX_REVEAL);
  show_events();
  EXPECT_EQ(game.cells_hidden, hidden - 1);
  EXPECT_FALSE(played(SFX_REVEAL));

  // Flags keep a cell covered; a '?' mark does not.
  board.cells[rc(1, 0)].state = FLAGGED;
  board.cells[rc(1, 3)].state = QUESTION;
  reveal_cell(rc(1, 0), 1, SFX_REVEAL);
  show_events();
  reveal_cell(rc(1, 3), 1, SFX_REVEAL);
  show_events();
  EXPECT_EQ(board.cells[rc(1, 0)].state, FLAGGED);
  EXPECT_EQ(board.cells[rc(1, 3)].state, REVEALED);
  EXPECT_EQ(game.cells_hidden, hidden - 2);

  // With the number animation switched off no flash starts.
  settings.graphics_switches[GFX_NUMBER_FLASH] = 0;
  reveal_cell(rc(1, 2), 1, SFX_REVEAL);
  show_events();
  EXPECT_FLOAT_EQ(board.cells[rc(1, 2)].flash_timer, -1.0f);
}

TEST_F(Actions, FirstRevealMakesTheZoneSafeAndKeepsEveryMine) {
  for (GameMode mode : {CLASSIC, MULTI_MINE, MEGAMINE}) {
    SCOPED_TRACE(mode);
    load(mode, INTERMEDIATE_16X16);
    int first = -1;  // a cell that holds a mine before the click
    for (int i = 0; i < board.cell_count && first < 0; i++)
      if (board.cells[i].content >= MINE && board.cells[i].neighbour_count == 8) first = i;
    ASSERT_GE(first, 0);
    const int mines = count_mines();
    reveal_cell(first, 1, SFX_REVEAL);
    show_events();
    EXPECT_EQ(game.first_cell, first);
    EXPECT_EQ(board.cells[first].state, REVEALED);
    EXPECT_LT(board.cells[first].content, MINE);
    EXPECT_EQ(game.mines_hit, 0);
    EXPECT_EQ(count_mines(), mines);
    EXPECT_EQ(mines, game.mines_total);
    if (mode != MEGAMINE) {
      for (int e = 0; e < board.cells[first].neighbour_count; e++)
        EXPECT_LT(board.cells[board.cells[first].neighbours[e]].content, MINE);
      EXPECT_EQ(board.cells[first].content, 0);  // so the cascade is armed
      EXPECT_EQ(board.cells[first].open_wave, 1);
    }
    for (int i = 0; i < board.cell_count; i++) EXPECT_NE(board.cells[i].content, ZONE_MARK);
  }
}

// A mine revealed with n cells still HIDDEN or '?' (flags do not count):
// max(floor(n / 8), 6) penalty seconds in every mode but Endurance and
// MegaMine.
TEST_F(Actions, MinePenaltySecondsByCoveredCells) {
  struct Case {
    GameMode mode;
    int covered, questions, flags;
    float seconds;
  } cases[] = {
      {CLASSIC, 100, 0, 0, 12.0f},  {CLASSIC, 103, 10, 5, 12.0f}, {CLASSIC, 104, 0, 9, 13.0f},
      {CLASSIC, 56, 3, 0, 7.0f},    {CLASSIC, 55, 0, 0, 6.0f},    {CLASSIC, 20, 2, 30, 6.0f},
      {CLASSIC, 0, 0, 0, 6.0f},     {FLAGLESS, 100, 0, 0, 12.0f}, {BACKWARDS, 100, 0, 0, 12.0f},
      {MULTI_MINE, 100, 0, 0, 12.0f}, {MOVING_MINES, 100, 0, 0, 12.0f},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << k.mode << " covered " << k.covered);
    load(k.mode, INTERMEDIATE_16X16);
    const int mine = rc(8, 8, 16);
    place_regular({mine}, rc(0, 0, 16));
    // Everything uncovered but the mine and the chosen covered cells.
    int covered = 0, questions = 0, flags = 0;
    game.cells_hidden = 1;
    for (int i = 0; i < board.cell_count; i++) {
      if (i == mine) continue;
      Cell& cell = board.cells[i];
      if (covered < k.covered) {
        cell.state = questions < k.questions ? QUESTION : HIDDEN;
        questions += cell.state == QUESTION;
        covered++;
        game.cells_hidden++;
      } else if (flags < k.flags) {
        cell.state = FLAGGED;
        flags++;
        game.cells_hidden++;
      } else {
        cell.state = REVEALED;
      }
    }
    const int hidden = game.cells_hidden;
    reveal_cell(mine, 1, SFX_REVEAL);
    show_events();
    EXPECT_FLOAT_EQ(game.penalty_time, k.seconds);
    EXPECT_EQ(game.damage, 0);
    EXPECT_EQ(game.mines_left, 0);
    EXPECT_EQ(game.mines_hit, 1);
    EXPECT_EQ(game.board_mines_hit, 1);
    EXPECT_EQ(game.cells_hidden, hidden - 1);
    EXPECT_EQ(game.face, 207);
    EXPECT_FLOAT_EQ(game.face_timer, 0.0f);
    EXPECT_FLOAT_EQ(screen_shake, 28.0f);
    EXPECT_FLOAT_EQ(board.cells[mine].flash_timer, 0.0f);
    EXPECT_TRUE(played(SFX_EXPLOSION));
    EXPECT_FALSE(played(SFX_REVEAL));
  }
}

TEST_F(Actions, MineHitCountsItsLevelAndShakesOnlyWhenSwitchedOn) {
  load(MULTI_MINE);
  place({{rc(0, 0), MINE}, {rc(0, 4), MINE_LEVEL2}, {rc(0, 8), MINE_LEVEL3}}, rc(4, 4));
  settings.graphics_switches[GFX_SCREEN_SHAKE] = 0;
  settings.graphics_switches[GFX_MINE_ANIMATION] = 0;
  reveal_cell(rc(0, 4), 1, SFX_REVEAL);
  show_events();
  EXPECT_EQ(game.mines_left, 1);
  EXPECT_EQ(game.level2_left, 0);
  EXPECT_EQ(game.level3_left, 1);
  EXPECT_FLOAT_EQ(screen_shake, 0.0f);
  EXPECT_FLOAT_EQ(board.cells[rc(0, 4)].flash_timer, -1.0f);
  reveal_cell(rc(0, 8), 1, SFX_REVEAL);
  show_events();
  EXPECT_EQ(game.level3_left, 0);
  EXPECT_EQ(game.mines_hit, 2);
  EXPECT_EQ(game.phase, PLAYING);  // a revealed mine does not end the board
}

TEST_F(Actions, EnduranceDamageAndClueBonus) {
  load(ENDURANCE, INTERMEDIATE_16X16);
  game.score = 1000;
  place_regular({rc(0, 0, 16), rc(0, 1, 16), rc(0, 2, 16), rc(10, 10, 16), rc(12, 12, 16)}, rc(8, 2, 16));
  // Triangular bonus: a clue k adds 1 + 2 + ... + k.
  struct {
    int cell, clue, bonus;
  } clues[] = {{rc(1, 1, 16), 3, 6}, {rc(1, 0, 16), 2, 3}, {rc(1, 3, 16), 1, 1}, {rc(11, 11, 16), 2, 3}};
  int score = game.score;
  for (auto k : clues) {
    ASSERT_EQ(board.cells[k.cell].content, k.clue);
    reveal_cell(k.cell, 1, SFX_REVEAL);
    show_events();
    score += k.bonus;
    EXPECT_EQ(game.score, score) << "clue " << k.clue;
  }
  // Damage: twice the cells not yet revealed, the mine itself included.
  struct {
    int mine, covered, damage;
  } hits[] = {{rc(10, 10, 16), 50, 100}, {rc(12, 12, 16), 30, 160}};
  for (auto h : hits) {
    // Every mine not yet revealed stays covered, and safe cells up to the count.
    int covered = 0;
    for (int i = 0; i < board.cell_count; i++) {
      Cell& cell = board.cells[i];
      if (cell.state == REVEALED) continue;
      if (cell.content >= MINE) covered++;
    }
    for (int i = 0; i < board.cell_count; i++) {
      Cell& cell = board.cells[i];
      if (cell.state == REVEALED || cell.content >= MINE) continue;
      if (covered < h.covered)
        covered++;
      else
        cell.state = REVEALED;
    }
    game.cells_hidden = board.cell_count - count_state(REVEALED);
    ASSERT_EQ(game.cells_hidden, h.covered);
    reveal_cell(h.mine, 1, SFX_REVEAL);
    show_events();
    EXPECT_EQ(game.damage, h.damage);
    EXPECT_FLOAT_EQ(game.penalty_time, 0.0f);
    EXPECT_EQ(game.score, score);  // a mine adds no bonus
  }
}

TEST_F(Actions, MegaMineScoreOnlyFallsAndTheLastMineEndsTheBoard) {
  load(MEGAMINE);
  const int mines[] = {rc(0, 0), rc(4, 4), rc(8, 8)};
  place_regular({mines[0], mines[1], mines[2]}, rc(0, 8));
  game.score = 9000;
  const int after[] = {6000, 3000, 0};
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(game.phase, PLAYING);
    reveal_cell(mines[i], 1, SFX_REVEAL);
    show_events();
    EXPECT_EQ(game.score, after[i]) << "mine " << i;
  }
  // Every mine revealed with mines_left at 0: the whole board is uncovered.
  EXPECT_EQ(game.mines_left, 0);
  EXPECT_EQ(game.phase, FINISHED);
  EXPECT_EQ(count_state(REVEALED), board.cell_count);

  // Safe cells cost 25 x their distance, down to 0, and never cascade.
  load(MEGAMINE);
  place_regular({rc(0, 0)}, rc(8, 8));
  struct {
    int cell, distance, score_before, score_after;
  } safe[] = {{rc(1, 1), 1, 10000, 9975}, {rc(2, 2), 2, 9975, 9925}, {rc(4, 0), 4, 90, 0}};
  for (auto s : safe) {
    ASSERT_EQ(board.cells[s.cell].content, s.distance);
    game.score = s.score_before;
    reveal_cell(s.cell, 1, SFX_REVEAL);
    show_events();
    EXPECT_EQ(game.score, s.score_after);
    EXPECT_EQ(board.cells[s.cell].open_wave, 0);
  }
  EXPECT_FLOAT_EQ(game.auto_reveal_timer, -1000.0f);
}

// Right clicks, step by step: the state, the three counters against where
// they started, and the sound.
TEST_F(Actions, FlagCyclesByModeAndQuestionMarks) {
  struct Step {
    int state, level1, level2, level3, sound;
  };
  struct Case {
    GameMode mode;
    int question_marks;
    std::vector<Step> steps;
  } cases[] = {
      {CLASSIC, 1,
       {{FLAGGED, -1, 0, 0, SFX_PLACE_FLAG}, {QUESTION, 0, 0, 0, SFX_PLACE_FLAG}, {HIDDEN, 0, 0, 0, SFX_REMOVE_FLAG}}},
      {CLASSIC, 0, {{FLAGGED, -1, 0, 0, SFX_PLACE_FLAG}, {HIDDEN, 0, 0, 0, SFX_REMOVE_FLAG}}},
      {BACKWARDS, 1, {{FLAGGED, -1, 0, 0, SFX_PLACE_FLAG}, {QUESTION, 0, 0, 0, SFX_PLACE_FLAG}}},
      {ENDURANCE, 0, {{FLAGGED, -1, 0, 0, SFX_PLACE_FLAG}, {HIDDEN, 0, 0, 0, SFX_REMOVE_FLAG}}},
      {MEGAMINE, 1, {{FLAGGED, -1, 0, 0, SFX_PLACE_FLAG}, {QUESTION, 0, 0, 0, SFX_PLACE_FLAG}}},
      {MULTI_MINE, 0,
       {{FLAGGED, -1, 0, 0, SFX_PLACE_FLAG},
        {FLAGGED_LEVEL2, 0, -1, 0, SFX_PLACE_FLAG},
        {FLAGGED_LEVEL3, 0, 0, -1, SFX_PLACE_FLAG},
        {HIDDEN, 0, 0, 0, SFX_REMOVE_FLAG}}},
      {MULTI_MINE, 1,
       {{FLAGGED, -1, 0, 0, SFX_PLACE_FLAG},
        {FLAGGED_LEVEL2, 0, -1, 0, SFX_PLACE_FLAG},
        {FLAGGED_LEVEL3, 0, 0, -1, SFX_PLACE_FLAG},
        {QUESTION, 0, 0, 0, SFX_PLACE_FLAG},
        {HIDDEN, 0, 0, 0, SFX_REMOVE_FLAG}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << k.mode << " marks " << k.question_marks);
    load(k.mode);
    settings.question_marks = static_cast<uint8_t>(k.question_marks);
    const int c = rc(4, 4);
    const int l1 = game.mines_left, l2 = game.level2_left, l3 = game.level3_left;
    for (size_t i = 0; i < k.steps.size(); i++) {
      const Step& s = k.steps[i];
      clear_effect_played();
      cycle_flag(c);
      show_events();
      EXPECT_EQ(board.cells[c].state, s.state) << "click " << i + 1;
      EXPECT_EQ(game.mines_left - l1, s.level1) << "click " << i + 1;
      EXPECT_EQ(game.level2_left - l2, s.level2) << "click " << i + 1;
      EXPECT_EQ(game.level3_left - l3, s.level3) << "click " << i + 1;
      for (int e : {SFX_PLACE_FLAG, SFX_REMOVE_FLAG}) EXPECT_EQ(played(e), e == s.sound) << "click " << i + 1;
      EXPECT_TRUE(scene_shows(c));
    }
  }
}

TEST_F(Actions, FlagCycleLeavesRevealedCellsAndNoCellAlone) {
  load(CLASSIC);
  place_regular({rc(0, 0)}, rc(4, 4));
  board.cells[rc(4, 4)].state = REVEALED;
  const int left = game.mines_left;
  cycle_flag(rc(4, 4));
  show_events();
  cycle_flag(-1);
  show_events();
  EXPECT_EQ(board.cells[rc(4, 4)].state, REVEALED);
  EXPECT_EQ(game.mines_left, left);
  for (int e = 0; e < SFX_COUNT; e++) EXPECT_FALSE(played(e));
}

// Chords around the cell at row 1, column 1 of the 9 x 9 board, whose
// neighbours hold mines at (0,0) and (0,2).
TEST_F(Actions, ChordsInEveryMode) {
  enum Mark { NONE, FLAG1, FLAG2, FLAG3, EXPLODED };
  struct Case {
    const char* what;
    GameMode mode;
    int code00, code02;  // the two mines
    Mark mark00, mark02, mark01;
    int target;          // the chorded cell
    int opened;          // cells the chord reveals
    int exploded;        // mines among them
  } cases[] = {
      {"satisfied", CLASSIC, MINE, MINE, FLAG1, FLAG1, NONE, rc(1, 1), 6, 0},
      {"one flag short", CLASSIC, MINE, MINE, FLAG1, NONE, NONE, rc(1, 1), 0, 0},
      {"one flag too many", CLASSIC, MINE, MINE, FLAG1, FLAG1, FLAG1, rc(1, 1), 0, 0},
      {"wrong flag: the mine explodes", CLASSIC, MINE, MINE, FLAG1, NONE, FLAG1, rc(1, 1), 6, 1},
      {"an exploded mine counts", CLASSIC, MINE, MINE, FLAG1, EXPLODED, NONE, rc(1, 1), 6, 0},
      {"clue 0 without flags", CLASSIC, MINE, MINE, NONE, NONE, NONE, rc(5, 5), 0, 0},
      {"clue 0 with a flag", CLASSIC, MINE, MINE, NONE, NONE, NONE, rc(0, 5), 0, 0},
      {"covered cell", CLASSIC, MINE, MINE, FLAG1, FLAG1, NONE, rc(1, 2), 0, 0},
      {"Endurance", ENDURANCE, MINE, MINE, FLAG1, FLAG1, NONE, rc(1, 1), 6, 0},
      {"Backwards: mines are neighbours minus clue", BACKWARDS, MINE, MINE, FLAG1, FLAG1, NONE, rc(1, 1), 6, 0},
      {"Backwards, one flag short", BACKWARDS, MINE, MINE, FLAG1, NONE, NONE, rc(1, 1), 0, 0},
      {"Multi-Mine levels add up", MULTI_MINE, MINE, MINE_LEVEL3, FLAG1, FLAG3, NONE, rc(1, 1), 6, 0},
      {"Multi-Mine sum falls short", MULTI_MINE, MINE, MINE_LEVEL3, FLAG2, FLAG1, NONE, rc(1, 1), 0, 0},
      {"Multi-Mine right sum, wrong levels", MULTI_MINE, MINE, MINE_LEVEL3, FLAG2, FLAG2, NONE, rc(1, 1), 6, 0},
      {"Multi-Mine exploded level 3", MULTI_MINE, MINE, MINE_LEVEL3, FLAG1, EXPLODED, NONE, rc(1, 1), 6, 0},
      {"MegaMine never chords", MEGAMINE, MINE, MINE, FLAG1, NONE, NONE, rc(1, 1), 0, 0},
      // Satisfied by exploded mines, as anywhere, but these modes allow no chord.
      {"Flagless never chords", FLAGLESS, MINE, MINE, EXPLODED, EXPLODED, NONE, rc(1, 1), 0, 0},
      {"Moving Mines never chords", MOVING_MINES, MINE, MINE, EXPLODED, EXPLODED, NONE, rc(1, 1), 0, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    load(k.mode);
    place({{rc(0, 0), k.code00}, {rc(0, 2), k.code02}}, rc(8, 8));
    auto mark = [](int c, Mark m) {
      const int states[] = {HIDDEN, FLAGGED, FLAGGED_LEVEL2, FLAGGED_LEVEL3, REVEALED};
      board.cells[c].state = static_cast<uint8_t>(states[m]);
      if (m == EXPLODED) {
        game.cells_hidden--;
        game.board_mines_hit++;
      }
    };
    mark(rc(0, 0), k.mark00);
    mark(rc(0, 2), k.mark02);
    mark(rc(0, 1), k.mark01);
    if (k.target != rc(1, 2)) {
      board.cells[k.target].state = REVEALED;
      game.cells_hidden--;
    }
    if (k.mode == CLASSIC && k.target == rc(0, 5)) board.cells[rc(0, 4)].state = FLAGGED;
    ASSERT_LT(board.cells[k.target].content, MINE);
    const int revealed = count_state(REVEALED), hits = game.mines_hit;
    std::vector<uint8_t> before(static_cast<size_t>(board.cell_count));
    for (int c = 0; c < board.cell_count; c++) before[static_cast<size_t>(c)] = board.cells[c].state;
    chord(k.target);
    show_events();
    EXPECT_EQ(count_state(REVEALED) - revealed, k.opened);
    EXPECT_EQ(game.mines_hit - hits, k.exploded);
    EXPECT_EQ(played(SFX_CHORD), k.opened > k.exploded);
    // Flagged cells stay covered.
    for (int c = 0; c < board.cell_count; c++)
      if (before[static_cast<size_t>(c)] >= FLAGGED && before[static_cast<size_t>(c)] <= FLAGGED_LEVEL3) {
        EXPECT_EQ(board.cells[c].state, before[static_cast<size_t>(c)]) << c;
      }
  }
}

TEST_F(Actions, ChordRevealsWithWaveOneSoZerosCascade) {
  load(CLASSIC);
  place_regular({rc(0, 0)}, rc(8, 8));
  // (1,1) shows 1; its neighbour (2,2) is a 0 and arms the cascade.
  board.cells[rc(1, 1)].state = REVEALED;
  board.cells[rc(0, 0)].state = FLAGGED;
  chord(rc(1, 1));
  show_events();
  EXPECT_EQ(board.cells[rc(2, 2)].state, REVEALED);
  EXPECT_EQ(board.cells[rc(2, 2)].open_wave, 1);
  EXPECT_FLOAT_EQ(game.auto_reveal_timer, settings.chain_speed);
}

// With a delay each step opens one ring; the cascade ends with the
// region's border.
TEST_F(Actions, CascadeOpensOneRingPerStep) {
  load(CLASSIC);
  settings.chain_speed = 0.075f;
  place_regular({rc(0, 0), rc(8, 8)}, rc(0, 8));
  const int start = rc(4, 4);
  const std::vector<int> ring = cascade_rings(start, [](const Cell& c) { return c.content == 0; });
  reveal_cell(start, 1, SFX_REVEAL);
  show_events();
  EXPECT_FLOAT_EQ(game.auto_reveal_timer, 0.075f);
  EXPECT_EQ(board.cells[start].open_wave, 1);
  int steps = 0;
  while (game.auto_reveal_timer > -999.0f) {
    steps++;
    clear_effect_played();
    const int revealed = count_state(REVEALED);
    auto_reveal_step();
    show_events();
    for (int i = 0; i < board.cell_count; i++) {
      const int r = ring[static_cast<size_t>(i)];
      EXPECT_EQ(board.cells[i].state == REVEALED, r != -1 && r <= steps) << "cell " << i << " step " << steps;
    }
    EXPECT_EQ(played(SFX_AUTO_REVEAL), count_state(REVEALED) > revealed);
    ASSERT_LT(steps, 20);
  }
  EXPECT_EQ(steps, 5);  // four rings, then a step that finds nothing new
  EXPECT_EQ(count_state(REVEALED), board.cell_count - 2);
  EXPECT_EQ(game.phase, FINISHED);  // every safe cell is open
  for (int i = 0; i < board.cell_count; i++) EXPECT_EQ(board.cells[i].open_wave, 0);
}

// "Instant": one step opens the whole region, on a board laid at random.
TEST_F(Actions, InstantCascadeOpensTheWholeRegionInOneStep) {
  load(CLASSIC, INTERMEDIATE_16X16);
  settings.chain_speed = 0.0f;
  const int start = rc(8, 8, 16);
  reveal_cell(start, 1, SFX_REVEAL);  // the first click: its zone is safe, so it shows 0
  show_events();
  ASSERT_EQ(board.cells[start].content, 0);
  EXPECT_FLOAT_EQ(game.auto_reveal_timer, 0.0f);
  const std::vector<int> ring = cascade_rings(start, [](const Cell& c) { return c.content == 0; });
  int expected = 0;
  for (int r : ring) expected += r != -1;
  ASSERT_GT(expected, 20);
  auto_reveal_step();
  show_events();
  EXPECT_EQ(count_state(REVEALED), expected);
  for (int i = 0; i < board.cell_count; i++) {
    EXPECT_EQ(board.cells[i].state == REVEALED, ring[static_cast<size_t>(i)] != -1) << i;
    EXPECT_EQ(board.cells[i].open_wave, 0);
  }
  EXPECT_FLOAT_EQ(game.auto_reveal_timer, -1000.0f);
  EXPECT_EQ(game.cells_hidden, board.cell_count - expected);
}

TEST_F(Actions, CascadeSkipsFlagsOpensMarksAndStopsWhenTheBoardIsNotPlayed) {
  load(CLASSIC);
  settings.chain_speed = 0.0f;
  place_regular({rc(0, 0)}, rc(8, 8));
  board.cells[rc(4, 5)].state = FLAGGED;
  board.cells[rc(4, 3)].state = QUESTION;
  reveal_cell(rc(4, 4), 1, SFX_REVEAL);
  show_events();
  auto_reveal_step();
  show_events();
  EXPECT_EQ(board.cells[rc(4, 5)].state, FLAGGED);
  EXPECT_EQ(board.cells[rc(4, 3)].state, REVEALED);
  EXPECT_EQ(board.cells[rc(0, 0)].state, HIDDEN);

  // A ring still waiting when the board has ended (time ran out) is dropped.
  load(CLASSIC);
  place_regular({rc(0, 0)}, rc(8, 8));
  reveal_cell(rc(4, 4), 1, SFX_REVEAL);
  show_events();
  game.phase = IDLE;
  const int revealed = count_state(REVEALED);
  auto_reveal_step();
  show_events();
  EXPECT_EQ(count_state(REVEALED), revealed);
  EXPECT_FLOAT_EQ(game.auto_reveal_timer, -1000.0f);
  EXPECT_EQ(board.cells[rc(4, 4)].open_wave, 0);
}

TEST_F(Actions, BackwardsCluesAndCascade) {
  load(BACKWARDS);
  settings.chain_speed = 0.0f;
  // The corner's three neighbours are mines: it shows 0 and does not cascade.
  place_regular({rc(0, 1), rc(1, 0), rc(1, 1)}, rc(8, 8));
  EXPECT_EQ(board.cells[rc(0, 0)].content, 0);
  EXPECT_EQ(board.cells[rc(2, 2)].content, 7);  // eight neighbours, one mine
  EXPECT_EQ(board.cells[rc(5, 5)].content, 8);
  reveal_cell(rc(0, 0), 1, SFX_REVEAL);
  show_events();
  EXPECT_EQ(board.cells[rc(0, 0)].open_wave, 0);
  EXPECT_FLOAT_EQ(game.auto_reveal_timer, -1000.0f);

  // A cell whose neighbours are all safe cascades through cells like it.
  const std::vector<int> ring =
      cascade_rings(rc(5, 5), [](const Cell& c) { return c.content == c.neighbour_count; });
  reveal_cell(rc(5, 5), 1, SFX_REVEAL);
  show_events();
  EXPECT_EQ(board.cells[rc(5, 5)].open_wave, 1);
  auto_reveal_step();
  show_events();
  for (int i = 0; i < board.cell_count; i++)
    if (i != rc(0, 0)) {
      EXPECT_EQ(board.cells[i].state == REVEALED, ring[static_cast<size_t>(i)] != -1) << i;
    }
  EXPECT_EQ(board.cells[rc(2, 2)].state, REVEALED);  // on the border
  EXPECT_EQ(game.phase, FINISHED);
}

TEST_F(Actions, MovingMinesMoveAfterEveryRevealAndCluesFollow) {
  load(MOVING_MINES, INTERMEDIATE_16X16);
  std::set<int> redrawn;
  const int mines = game.mines_total;
  settings.chain_speed = 0.0f;
  reveal_cell(rc(8, 8, 16), 1, SFX_REVEAL);  // the first click, with its zone
  show_events();
  auto_reveal_step();
  show_events();
  int moves = 0;
  for (int i = 0; i < board.cell_count && moves < 5; i++) {
    if (board.cells[i].state != HIDDEN || board.cells[i].content >= MINE) continue;
    std::set<int> before;
    for (int c = 0; c < board.cell_count; c++)
      if (board.cells[c].content >= MINE) before.insert(c);
    redrawn.clear();
    std::vector<uint8_t> clue_before(static_cast<size_t>(board.cell_count));
    for (int c = 0; c < board.cell_count; c++) clue_before[static_cast<size_t>(c)] = board.cells[c].content;
    clear_events();
    reveal_cell(i, 1, SFX_REVEAL);
    for (const GameEvent& e : take_events())
      if (e.kind == EVENT_CELL_CHANGED) redrawn.insert(e.cell);
    std::set<int> after;
    for (int c = 0; c < board.cell_count; c++)
      if (board.cells[c].content >= MINE) after.insert(c);
    ASSERT_EQ(static_cast<int>(after.size()), mines);
    if (after != before) {
      moves++;
      std::vector<int> gone, came;
      for (int c : before)
        if (!after.count(c)) gone.push_back(c);
      for (int c : after)
        if (!before.count(c)) came.push_back(c);
      ASSERT_EQ(gone.size(), 1u);  // one mine moved, to a covered neighbour
      ASSERT_EQ(came.size(), 1u);
      EXPECT_EQ(board.cells[came[0]].state, HIDDEN);
      const Cell& v = board.cells[gone[0]];
      bool neighbour = false;
      for (int e = 0; e < v.neighbour_count; e++) neighbour = neighbour || v.neighbours[e] == came[0];
      EXPECT_TRUE(neighbour);
      // Revealed numbers that changed were drawn again.
      for (int c = 0; c < board.cell_count; c++)
        if (board.cells[c].state == REVEALED && board.cells[c].content != clue_before[static_cast<size_t>(c)] &&
            c != i) {
          EXPECT_TRUE(redrawn.count(c)) << c;
        }
    }
    // Every safe cell counts the mines around it as they are now.
    for (int c = 0; c < board.cell_count; c++) {
      const Cell& cell = board.cells[c];
      if (cell.content >= MINE) continue;
      int around = 0;
      for (int e = 0; e < cell.neighbour_count; e++) around += board.cells[cell.neighbours[e]].content >= MINE;
      ASSERT_EQ(cell.content, around) << "cell " << c;
    }
    if (game.auto_reveal_timer > -999.0f) auto_reveal_step();
    show_events();
  }
  EXPECT_EQ(moves, 5);
}

// The three levels of a Multi-Mine board: a quarter, a seventh and a tenth
// of the mines, the rest dealt by draws from the game stream. Counts
// recorded for every pattern and skill level of the square board style,
// from the fixture's board seed.
TEST_F(Actions, MultiMineLevelShares) {
  struct Row {
    int pattern;
    SkillLevel skill;
    int level1, level2, level3;
  } rows[] = {
      {BEGINNER_9X9, BEGINNER, 6, 2, 2},          {BEGINNER_9X9, INTERMEDIATE, 7, 2, 2},
      {BEGINNER_9X9, EXPERT, 8, 3, 3},            {BEGINNER_9X9, MASTER, 11, 3, 4},
      {INTERMEDIATE_16X16, BEGINNER, 20, 7, 6},   {INTERMEDIATE_16X16, INTERMEDIATE, 24, 9, 8},
      {INTERMEDIATE_16X16, EXPERT, 28, 12, 10},   {INTERMEDIATE_16X16, MASTER, 34, 15, 10},
      {EXPERT_28X16, BEGINNER, 38, 17, 11},       {EXPERT_28X16, INTERMEDIATE, 40, 20, 12},
      {EXPERT_28X16, EXPERT, 50, 26, 14},         {EXPERT_28X16, MASTER, 59, 31, 18},
      {HUGE_40X32, BEGINNER, 111, 67, 39},        {HUGE_40X32, INTERMEDIATE, 120, 75, 43},
      {HUGE_40X32, EXPERT, 141, 88, 54},          {HUGE_40X32, MASTER, 162, 101, 61},
  };
  for (const Row& r : rows) {
    load(MULTI_MINE, r.pattern, r.skill);
    EXPECT_EQ(game.mines_left, r.level1) << r.pattern << " " << r.skill;
    EXPECT_EQ(game.level2_left, r.level2) << r.pattern << " " << r.skill;
    EXPECT_EQ(game.level3_left, r.level3) << r.pattern << " " << r.skill;
    EXPECT_EQ(count_mines_of(MINE), r.level1);
    EXPECT_EQ(count_mines_of(MINE_LEVEL2), r.level2);
    EXPECT_EQ(count_mines_of(MINE_LEVEL3), r.level3);
  }
}

// A Moving Mines step may put a mine beside a ring of the cascade that is
// still waiting to open its neighbours: the ring leaves it covered.
TEST_F(Actions, WaitingCascadeLeavesAMovedMineCovered) {
  load(MOVING_MINES);
  place_regular({rc(8, 8)}, rc(4, 4));
  Cell& waiting = board.cells[rc(4, 4)];
  waiting.state = REVEALED;
  game.cells_hidden--;
  ASSERT_EQ(waiting.content, 0);
  waiting.open_wave = 1;  // armed, its ring not yet opened
  // The mine moved next to it after it was armed: onto its first
  // neighbour, the first the ring comes to.
  board.cells[rc(8, 8)].content = 0;
  board.cells[rc(3, 3)].content = MINE;
  const int hits = game.mines_hit;
  auto_reveal_step();
  show_events();
  EXPECT_EQ(game.mines_hit, hits) << "no mine was uncovered";
  for (int c = 0; c < board.cell_count; c++)
    if (board.cells[c].content >= MINE) {
      EXPECT_EQ(board.cells[c].state, HIDDEN) << c;
    }
  EXPECT_EQ(board.cells[rc(5, 5)].state, REVEALED) << "the rest of the ring opens";
}

// The one-click test follows the mode's own cascade: it agrees with what
// the first click of a board really opened, in Classic and in Backwards
// (whose cascade follows clues equal to the number of neighbours), over
// 400 boards of the small hexagon pattern.
TEST_F(Actions, OneClickTestAgreesWithTheFirstClick) {
  settings.chain_speed = 0.0f;
  for (GameMode mode : {CLASSIC, BACKWARDS}) {
    load(mode, 0, BEGINNER, "fgboards-hx.dat");
    int one_click = 0;
    for (uint32_t seed = 1; seed <= 400; seed++) {
      board_seed = seed;
      board_counter = 0;
      ASSERT_EQ(load_board(board_file_name, 0, 1), BOARD_LOADED);  // the next board of the same style
      reveal_cell(board.cell_count / 2, 1, SFX_REVEAL);
      while (game.auto_reveal_timer > -999.0f && game.phase == PLAYING) auto_reveal_step();
      clear_events();
      bool all_open = true;
      for (int c = 0; c < board.cell_count; c++)
        if (board.cells[c].content < MINE && board.cells[c].state != REVEALED) all_open = false;
      EXPECT_EQ(is_one_click_board() != 0, all_open) << mode << " seed " << seed;
      one_click += all_open;
    }
    if (mode == BACKWARDS) {
      EXPECT_GT(one_click, 0) << "no Backwards board of the sample was cleared by its first click";
    }
  }
}
