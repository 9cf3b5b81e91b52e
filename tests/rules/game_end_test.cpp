// The end of a board and what follows it, on real boards: the end test per
// mode, the game clock and the "Check!" button, the Endurance time limit,
// finished boards and their bonus, the verdict, the fireworks countdown,
// the next Endurance board, the one-click notice, and the smiley.
#include "rules/modes.h"

#include <gtest/gtest.h>

#include <functional>

#include "rules/rules_fixture.h"
#include "ui/prompts.h"

using namespace rules_test;

namespace {

class GameEnd : public RulesTest {};

// Frames shown by a modal loop (the one-click notice), with a key pressed
// on the first.
int frames_shown = 0;
void press_key_on_show(BITMAP*, int, int) {
  frames_shown++;
  tick_count.store(40);
  if (frames_shown > 50) std::abort();  // a loop that does not end
  simulate_keypress(KEY_SPACE << 8 | ' ');
}

// Runs the fireworks countdown frame by frame until it hands over to
// post_board_step; returns the frames it took (and counts the launches).
int run_fireworks(float frame, int& launches) {
  frame_seconds = frame;
  launches = 0;
  for (int f = 1; f < 1000; f++) {
    const int left = fireworks_left;
    const int done = fireworks_step(frame_seconds);
    act_on_game_events(nullptr);
    launches += fireworks_left < left;
    if (done) return f;
  }
  return -1;
}

}  // namespace

TEST_F(GameEnd, EndOfBoardTestPerMode) {
  struct Case {
    GameMode mode;
    bool ends;
  } cases[] = {{CLASSIC, true},      {FLAGLESS, true},  {BACKWARDS, true}, {MULTI_MINE, false},
               {MOVING_MINES, true}, {ENDURANCE, true}, {MEGAMINE, true}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.mode);
    load(k.mode);
    place_regular({rc(0, 0), rc(0, 8), rc(8, 0), rc(8, 8)}, rc(4, 0));
    board.cells[rc(0, 8)].state = QUESTION;
    board.cells[rc(8, 0)].state = FLAGGED;
    game.mines_left--;
    const int last = rc(4, 4);
    open_safe_cells_but(last);
    EXPECT_EQ(game.cells_hidden, 5);
    clear_to_color(SceneBuffer, 7);
    reveal_cell(last, 1, SFX_REVEAL);
    show_events();
    EXPECT_EQ(game.phase, k.ends ? FINISHED : PLAYING);
    if (k.ends) {
      // Mines left plain get flags (and are drawn); marks and flags stay.
      EXPECT_EQ(board.cells[rc(0, 0)].state, FLAGGED);
      EXPECT_EQ(board.cells[rc(8, 8)].state, FLAGGED);
      EXPECT_EQ(board.cells[rc(0, 8)].state, QUESTION);
      EXPECT_EQ(game.mines_left, 1);
      EXPECT_NE(getpixel(SceneBuffer, board.cells[rc(0, 0)].x + 16, board.cells[rc(0, 0)].y + 16), 7);
    } else {
      EXPECT_EQ(board.cells[rc(0, 0)].state, HIDDEN);
      EXPECT_EQ(game.mines_left, 3);
    }
  }
}

TEST_F(GameEnd, ClockRunsOnlyAfterTheFirstRevealWhileABoardIsPlayed) {
  struct Case {
    GameMode mode;
    float start, after;
  } cases[] = {{CLASSIC, 0.0f, 0.5f}, {MULTI_MINE, 0.0f, 0.5f}, {ENDURANCE, 600.0f, 599.5f}, {MEGAMINE, 0.0f, 0.5f}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.mode);
    load(k.mode);
    EXPECT_FLOAT_EQ(game.game_time, k.start);
    frame_seconds = 0.5f;
    update_game_clock(frame_seconds);  // no cell opened yet
    show_events();
    EXPECT_FLOAT_EQ(game.game_time, k.start);
    reveal_cell(rc(4, 4), 1, SFX_REVEAL);
    show_events();
    update_game_clock(frame_seconds);
    show_events();
    EXPECT_FLOAT_EQ(game.game_time, k.after);
    game.phase = IDLE;
    update_game_clock(frame_seconds);
    show_events();
    EXPECT_FLOAT_EQ(game.game_time, k.after);
  }
}

TEST_F(GameEnd, MegaMineScoreLosesFiveEachWholeSecond) {
  load(MEGAMINE);
  place_regular({rc(0, 0)}, rc(4, 4));
  frame_seconds = 0.4f;
  update_game_clock(frame_seconds);
  show_events();
  update_game_clock(frame_seconds);
  show_events();
  EXPECT_EQ(game.score, 10000);
  update_game_clock(frame_seconds);  // 1.2 s
  show_events();
  EXPECT_EQ(game.score, 9995);
  EXPECT_NEAR(game.megamine_clock, 0.2f, 1e-5f);
  frame_seconds = 2.5f;  // at most one decay a frame
  update_game_clock(frame_seconds);
  show_events();
  EXPECT_EQ(game.score, 9990);
  game.score = 3;
  update_game_clock(frame_seconds);
  show_events();
  EXPECT_EQ(game.score, 0);
}

// What each mode lets the player do, as a table over the seven modes.
TEST(ModeRules, FlagsChordAndCheckByMode) {
  struct Row {
    GameMode mode;
    bool flags, chord;
  } rows[] = {
      {CLASSIC, true, true},         {FLAGLESS, false, false}, {BACKWARDS, true, true}, {MULTI_MINE, true, true},
      {MOVING_MINES, false, false}, {ENDURANCE, true, true},  {MEGAMINE, true, false},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(flags_allowed(r.mode), r.flags) << r.mode;
    EXPECT_EQ(chord_allowed(r.mode), r.chord) << r.mode;
  }

  // "Check!": in Multi-Mine once every flag of the three levels is placed,
  // in MegaMine once every flag is placed, only while the board is played.
  struct Case {
    GameMode mode;
    GamePhase phase;
    int level1, level2, level3;
    bool allowed;
  } cases[] = {
      {MULTI_MINE, PLAYING, 0, 0, 0, true},    {MULTI_MINE, PLAYING, 1, 0, 0, false},
      {MULTI_MINE, PLAYING, 0, -1, 0, false},  {MULTI_MINE, PLAYING, 0, 0, 2, false},
      {MULTI_MINE, FINISHED, 0, 0, 0, false},  {MEGAMINE, PLAYING, 0, 0, 0, true},
      {MEGAMINE, PLAYING, 0, 3, 3, true},      {MEGAMINE, PLAYING, -1, 0, 0, false},
      {MEGAMINE, IDLE, 0, 0, 0, false},        {CLASSIC, PLAYING, 0, 0, 0, false},
      {FLAGLESS, PLAYING, 0, 0, 0, false},     {BACKWARDS, PLAYING, 0, 0, 0, false},
      {MOVING_MINES, PLAYING, 0, 0, 0, false}, {ENDURANCE, PLAYING, 0, 0, 0, false},
  };
  GameSession session{};
  for (const Case& k : cases) {
    session.mode = k.mode;
    session.phase = k.phase;
    session.mines_left = k.level1;
    session.level2_left = k.level2;
    session.level3_left = k.level3;
    EXPECT_EQ(check_allowed(session), k.allowed)
        << k.mode << " phase " << k.phase << ": " << k.level1 << " " << k.level2 << " " << k.level3;
  }
}

TEST_F(GameEnd, EnduranceTimeRunningOutEndsTheBoardWithFireworks) {
  load(ENDURANCE);
  reveal_cell(rc(4, 4), 1, SFX_REVEAL);
  show_events();
  game.game_time = 0.3f;
  game.boards_played = 2;
  frame_seconds = 0.2f;
  update_game_clock(frame_seconds);
  show_events();
  EXPECT_EQ(game.phase, PLAYING);
  EXPECT_EQ(fireworks_timer, NO_END_SEQUENCE);
  update_game_clock(frame_seconds);
  show_events();
  EXPECT_EQ(game.phase, IDLE);
  EXPECT_FLOAT_EQ(game.game_time, 0.0f);
  EXPECT_EQ(game.boards_played, 3);
  EXPECT_EQ(game.face, 213);
  EXPECT_EQ(fireworks_left, 5);
  EXPECT_FLOAT_EQ(fireworks_timer, 1.8f);
  EXPECT_EQ(board_area.state, BUTTON_DISABLED);
  EXPECT_TRUE(played(SFX_GAME_DONE));
  // After the fireworks no next board comes: the run is over.
  int launches = 0;
  EXPECT_GT(run_fireworks(0.0625f, launches), 0);
  EXPECT_EQ(launches, 5);
  EXPECT_EQ(game.phase, IDLE);
}

TEST_F(GameEnd, FinishedBoardPerModeAndTheEnduranceBonus) {
  struct Case {
    GameMode mode;
    SkillLevel skill;
    const char* file;
    int pattern, cells, bonus, fireworks;
    float timer;
    bool sound;
  } cases[] = {
      {CLASSIC, BEGINNER, "fgboards.dat", BEGINNER_9X9, 81, 0, 5, 1.8f, true},
      {MULTI_MINE, MASTER, "fgboards.dat", BEGINNER_9X9, 81, 0, 5, 1.8f, true},
      {MEGAMINE, EXPERT, "fgboards.dat", BEGINNER_9X9, 81, 0, 0, 2.0f, false},
      {ENDURANCE, BEGINNER, "fgboards.dat", BEGINNER_9X9, 81, 162, 5, 1.8f, true},
      {ENDURANCE, EXPERT, "fgboards.dat", INTERMEDIATE_16X16, 256, 1024, 5, 1.8f, true},
      {ENDURANCE, EXPERT, "fgboards-hx.dat", 1, 217, 868, 5, 1.8f, true},
      {ENDURANCE, MASTER, "fgboards-br.dat", 0, 143, 715, 5, 1.8f, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(::testing::Message() << k.mode << " " << k.file << " " << k.pattern);
    load(k.mode, k.pattern, k.skill, k.file);
    ASSERT_EQ(board.cell_count, k.cells);
    game.score = 500;
    game.boards_played = 1;
    finish_board();  // not finished: nothing happens
    show_events();
    EXPECT_EQ(game.boards_played, 1);
    game.phase = FINISHED;
    finish_board();
    show_events();
    EXPECT_EQ(game.boards_played, 2);
    EXPECT_EQ(game.score, 500 + k.bonus);
    EXPECT_EQ(fireworks_left, k.fireworks);
    EXPECT_FLOAT_EQ(fireworks_timer, k.timer);
    EXPECT_EQ(game.phase, IDLE);
    EXPECT_EQ(game.face, 213);
    EXPECT_EQ(board_area.state, BUTTON_DISABLED);
    EXPECT_EQ(played(SFX_GAME_DONE), k.sound);
    button_enable(&board_area);
  }
}

TEST_F(GameEnd, ClearedEnduranceBoardIsFollowedByTheNextWithTheCountersKept) {
  load(ENDURANCE, BEGINNER_9X9, EXPERT);
  settings.chain_speed = 0.0f;
  reveal_cell(rc(4, 4), 1, SFX_REVEAL);
  show_events();
  auto_reveal_step();
  show_events();
  // Hit one mine, then clear the rest.
  int mine = -1;
  for (int i = 0; i < board.cell_count && mine < 0; i++)
    if (board.cells[i].content >= MINE && board.cells[i].state == HIDDEN) mine = i;
  ASSERT_GE(mine, 0);
  reveal_cell(mine, 1, SFX_REVEAL);
  show_events();
  for (int i = 0; i < board.cell_count; i++)
    if (board.cells[i].content < MINE) reveal_cell(i, 1, SFX_REVEAL);
  show_events();
  ASSERT_EQ(game.phase, FINISHED);
  game.game_time = 421.0f;
  finish_board();
  show_events();
  std::vector<uint8_t> old_mines;
  for (int i = 0; i < board.cell_count; i++) old_mines.push_back(board.cells[i].content >= MINE);
  const int score = game.score, damage = game.damage;
  EXPECT_GT(damage, 0);
  EXPECT_GT(score, 4 * 81);
  board_counter += 17;  // frames went by
  int launches = 0;
  EXPECT_EQ(run_fireworks(0.0625f, launches), 49);
  EXPECT_EQ(launches, 5);
  EXPECT_EQ(fireworks_timer, NO_END_SEQUENCE);
  // The next board: same pattern, fresh mines and cells, counters kept.
  EXPECT_EQ(game.phase, PLAYING);
  EXPECT_EQ(current_board_index, BEGINNER_9X9);
  EXPECT_EQ(game.first_cell, -1);
  EXPECT_EQ(game.face, 210);
  EXPECT_EQ(game.board_mines_hit, 0);
  EXPECT_EQ(game.cells_hidden, 81);
  EXPECT_EQ(count_state(HIDDEN), 81);
  EXPECT_EQ(count_mines(), game.mines_total);
  EXPECT_EQ(game.score, score);
  EXPECT_EQ(game.damage, damage);
  EXPECT_EQ(game.mines_hit, 1);
  EXPECT_EQ(game.boards_played, 1);
  EXPECT_NEAR(game.game_time, 421.0f, 1e-3f);
  bool same = true;
  for (int i = 0; i < board.cell_count; i++) same = same && old_mines[static_cast<size_t>(i)] == (board.cells[i].content >= MINE);
  EXPECT_FALSE(same);
  // Its clock runs on from where it stood, after its first reveal.
  frame_seconds = 1.0f;
  update_game_clock(frame_seconds);
  show_events();
  EXPECT_NEAR(game.game_time, 421.0f, 1e-3f);
  reveal_cell(rc(4, 4), 1, SFX_REVEAL);
  show_events();
  update_game_clock(frame_seconds);
  show_events();
  EXPECT_NEAR(game.game_time, 420.0f, 1e-3f);
}

TEST_F(GameEnd, FireworksCountdown) {
  load(CLASSIC);
  game.phase = IDLE;
  // Idle: nothing.
  fireworks_timer = NO_END_SEQUENCE;
  frame_seconds = 0.5f;
  EXPECT_EQ(fireworks_step(frame_seconds), 0);
  EXPECT_EQ(fireworks_timer, NO_END_SEQUENCE);

  // Five fireworks 0.2 s apart (whole frames of 1/16 s: every fourth), then
  // 2 s to the next step. Each is a firework burst over a cell drawn from
  // the effects stream; the game stream is never drawn.
  fireworks_left = 5;
  fireworks_timer = 1.8f;
  game.random = random_seeded(99);
  game.effects_random = random_seeded(98);
  int launches = 0;
  clear_effect_played();
  EXPECT_EQ(run_fireworks(0.0625f, launches), 49);
  EXPECT_EQ(launches, 5);
  EXPECT_EQ(particle_count, 5 * 256);
  for (int i = 0; i < particle_count; i++) EXPECT_EQ(particles[i].kind, PARTICLE_FIREWORK);
  EXPECT_TRUE(played(SFX_FIREWORKS));
  EXPECT_EQ(game.random.counter, 0u);
  EXPECT_GT(game.effects_random.counter, 5u);
  EXPECT_EQ(fireworks_timer, NO_END_SEQUENCE);

  // Particles off: the same five launches and draws, no particles, silent.
  clear_particles();
  settings.graphics_switches[GFX_PARTICLES] = 0;
  fireworks_left = 5;
  fireworks_timer = 1.8f;
  game.effects_random.counter = 0;
  clear_effect_played();
  EXPECT_EQ(run_fireworks(0.0625f, launches), 49);
  EXPECT_EQ(launches, 5);
  EXPECT_EQ(particle_count, 0);
  EXPECT_FALSE(played(SFX_FIREWORKS));
  EXPECT_EQ(game.random.counter, 0u);
  EXPECT_EQ(game.effects_random.counter, 5u);

  // No fireworks (MegaMine, an exploded verdict): 2 s, then the step.
  fireworks_left = 0;
  fireworks_timer = 2.0f;
  EXPECT_EQ(run_fireworks(0.0625f, launches), 32);
  EXPECT_EQ(launches, 0);
}

TEST_F(GameEnd, OneClickNoticeAfterTheFireworks) {
  FrameDriver driver{};
  driver.show = press_key_on_show;
  // One mine in a corner: the first click opens everything. A wall of
  // mines down column 4 splits the board in two.
  const std::vector<int> corner{rc(0, 0)};
  std::vector<int> wall;
  for (int r = 0; r < 9; r++) wall.push_back(rc(r, 4));
  struct Case {
    GameMode mode;
    const std::vector<int>* mines;
    int first;
    int frames;  // frames the notice was shown
  } cases[] = {
      {CLASSIC, &corner, rc(4, 4), 1},     {CLASSIC, &corner, rc(1, 1), 1},  // a clue first, its zeros around
      {FLAGLESS, &corner, rc(4, 4), 1},    {MOVING_MINES, &corner, rc(4, 4), 1},
      {CLASSIC, &wall, rc(4, 1), 0},       {MULTI_MINE, &corner, rc(4, 4), 0},
      {MEGAMINE, &corner, rc(4, 4), 0},    {ENDURANCE, &corner, rc(4, 4), 0},
      {BACKWARDS, &corner, rc(4, 4), 1},  // its cascade follows clues equal to the neighbour count
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(::testing::Message() << k.mode << " first " << k.first);
    load(k.mode);
    place_regular(*k.mines, k.first);
    game.phase = IDLE;
    frame_driver = &driver;
    frames_shown = 0;
    fireworks_left = 0;
    fireworks_timer = 0.05f;
    frame_seconds = 0.1f;
    if (k.mode == ENDURANCE) game.game_time = 0.0f;  // the time ran out: no next board
    EXPECT_EQ(fireworks_step(frame_seconds), 1);
    show_events();
    frame_driver = nullptr;
    EXPECT_EQ(frames_shown, k.frames);
    EXPECT_EQ(game.phase, IDLE);
    clear_keybuf();
  }
}

// The verdict, on a Multi-Mine board with a mine of each level at (0,0),
// (0,4), (0,8), a safe cell at (4,4) that may hold a flag, and a '?' on a
// safe cell.
TEST_F(GameEnd, CheckVerdict) {
  struct Case {
    const char* what;
    GameMode mode;
    int flag00, flag04, flag08, flag44;  // states
    int exploded, level1, level2, level3, face, fireworks;
    float timer;
  } cases[] = {
      {"all right", MULTI_MINE, FLAGGED, FLAGGED_LEVEL2, FLAGGED_LEVEL3, HIDDEN, 0, 0, 0, 0, 213, 5, 1.8f},
      {"level-2 flag on a level-1 mine", MULTI_MINE, FLAGGED_LEVEL2, FLAGGED_LEVEL2, FLAGGED_LEVEL3, HIDDEN, 1, 0, -1,
       0, 207, 0, 2.0f},
      {"a mine left covered", MULTI_MINE, FLAGGED, FLAGGED_LEVEL2, HIDDEN, FLAGGED_LEVEL3, 1, 0, 0, -1, 207, 0, 2.0f},
      {"a flag on a safe cell", MULTI_MINE, FLAGGED, FLAGGED_LEVEL2, FLAGGED_LEVEL3, FLAGGED, 0, -1, 0, 0, 213, 5,
       1.8f},
      {"MegaMine, flags right", MEGAMINE, FLAGGED, FLAGGED, FLAGGED, HIDDEN, 0, 0, 0, 0, 213, 5, 1.8f},
      {"MegaMine, a mine covered", MEGAMINE, FLAGGED, HIDDEN, FLAGGED, FLAGGED, 1, -1, 0, 0, 207, 0, 2.0f},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    load(k.mode);
    if (k.mode == MULTI_MINE)
      place({{rc(0, 0), MINE}, {rc(0, 4), MINE_LEVEL2}, {rc(0, 8), MINE_LEVEL3}}, rc(8, 8));
    else
      place_regular({rc(0, 0), rc(0, 4), rc(0, 8)}, rc(8, 8));
    const int states[] = {k.flag00, k.flag04, k.flag08, k.flag44};
    const int where[] = {rc(0, 0), rc(0, 4), rc(0, 8), rc(4, 4)};
    for (int i = 0; i < 4; i++) board.cells[where[i]].state = static_cast<uint8_t>(states[i]);
    board.cells[rc(6, 6)].state = QUESTION;
    board.cells[rc(8, 8)].state = REVEALED;
    game.mines_left = game.level2_left = game.level3_left = 0;
    game.boards_played = 0;
    clear_particles();

    check_verdict();
    show_events();
    EXPECT_EQ(board_area.state, BUTTON_DISABLED);
    EXPECT_EQ(game.phase, IDLE);
    EXPECT_EQ(game.boards_played, 1);
    EXPECT_EQ(game.mines_hit, k.exploded);
    EXPECT_EQ(game.board_mines_hit, k.exploded);
    EXPECT_EQ(game.mines_left, k.level1);
    EXPECT_EQ(game.level2_left, k.level2);
    EXPECT_EQ(game.level3_left, k.level3);
    EXPECT_EQ(game.face, k.face);
    EXPECT_EQ(fireworks_left, k.fireworks);
    EXPECT_FLOAT_EQ(fireworks_timer, k.timer);
    EXPECT_EQ(played(SFX_GAME_DONE), k.exploded == 0);
    EXPECT_EQ(played(SFX_EXPLOSION), k.exploded > 0);
    if (k.exploded) {
      EXPECT_FLOAT_EQ(screen_shake, 28.0f);
      if (k.mode == MEGAMINE) {
        EXPECT_EQ(game.score, 10000 - 10000 / 3);  // one of three mines
      } else {
        EXPECT_GE(game.penalty_time, 6.0f);
      }
      EXPECT_EQ(particle_count, 512);  // an explosion, not a firework
      EXPECT_EQ(particles[0].kind, PARTICLE_BLAST);
    } else {
      EXPECT_EQ(particle_count, 0);
    }
    // Everything is uncovered but the right flags.
    for (int i = 0; i < board.cell_count; i++) {
      const Cell& cell = board.cells[i];
      const bool right_flag = cell.state == FLAGGED || cell.state == FLAGGED_LEVEL2 || cell.state == FLAGGED_LEVEL3;
      if (right_flag) {
        ASSERT_GE(cell.content, MINE) << i;
        if (k.mode == MULTI_MINE) {
          EXPECT_EQ(cell.content - MINE, cell.state - FLAGGED) << i;
        }
      } else {
        EXPECT_EQ(cell.state, REVEALED) << i;
      }
    }
  }
}

TEST_F(GameEnd, SmileyHeldButtonAndMineHitFaces) {
  load(CLASSIC);
  frame_seconds = 0.25f;
  game.face = 210;
  game.face_timer = 1.0f;
  mouse_b = 2;  // the right button alone: no change
  update_smiley(frame_seconds, mouse_b);
  EXPECT_EQ(game.face, 210);
  EXPECT_FLOAT_EQ(game.face_timer, 1.25f);
  for (int b : {1, 3, 4}) {
    mouse_b = b;
    update_smiley(frame_seconds, mouse_b);
    EXPECT_EQ(game.face, 211);
    EXPECT_FLOAT_EQ(game.face_timer, 0.0f);
  }
  mouse_b = 0;
  update_smiley(frame_seconds, mouse_b);
  EXPECT_EQ(game.face, 210);
  EXPECT_FLOAT_EQ(game.face_timer, 0.25f);

  game.face = 207;  // a mine: 2 s
  game.face_timer = 0.0f;
  for (int f = 0; f < 7; f++) update_smiley(frame_seconds, mouse_b);
  EXPECT_EQ(game.face, 207);
  update_smiley(frame_seconds, mouse_b);
  EXPECT_EQ(game.face, 210);
  EXPECT_FLOAT_EQ(game.face_timer, 0.0f);

  game.phase = IDLE;  // nothing changes between boards
  game.face = 213;
  mouse_b = 1;
  update_smiley(frame_seconds, mouse_b);
  EXPECT_EQ(game.face, 213);
}

// After 4 s at 210 the smiley draws from its own stream: 0 in 0..10 gives
// 208, else 0 in 0..20 gives the two-part 209, 210, 212.
TEST_F(GameEnd, SmileyIdleVariationsFromItsOwnStream) {
  load(CLASSIC);
  // Seeds for the three outcomes, found by drawing as the smiley does.
  uint32_t blink = 0, glance = 0, neither = 0;
  for (uint32_t s = 1; s < 100000 && (!blink || !glance || !neither); s++) {
    Random smiley = random_seeded(s);
    const int a = random_range(smiley, 0, 10);
    const int b = random_range(smiley, 0, 20);
    if (a == 0 && !blink) blink = s;
    if (a != 0 && b == 0 && !glance) glance = s;
    if (a != 0 && b != 0 && !neither) neither = s;
  }
  ASSERT_TRUE(blink && glance && neither);
  auto start = [](uint32_t smiley_seed) {
    game.smiley_random = random_seeded(smiley_seed);
    game.random = random_seeded(777);  // the game stream
    game.random.counter = 5;
    game.face = 210;
    game.face_timer = 3.9f;
  };
  frame_seconds = 0.125f;

  start(glance);
  update_smiley(frame_seconds, mouse_b);
  EXPECT_EQ(game.face, 209);
  EXPECT_FLOAT_EQ(game.face_timer, 0.0f);
  EXPECT_EQ(game.random.seed, 777u);  // the game stream is untouched
  EXPECT_EQ(game.random.counter, 5u);
  for (int f = 0; f < 7; f++) update_smiley(frame_seconds, mouse_b);
  EXPECT_EQ(game.face, 209);
  update_smiley(frame_seconds, mouse_b);  // 1 s
  EXPECT_EQ(game.face, 210);
  EXPECT_FLOAT_EQ(game.face_timer, -0.001f);
  update_smiley(frame_seconds, mouse_b);  // counting down: -0.126
  EXPECT_EQ(game.face, 210);
  EXPECT_FLOAT_EQ(game.face_timer, -0.126f);
  update_smiley(frame_seconds, mouse_b);  // -0.251: the second half
  EXPECT_EQ(game.face, 212);
  EXPECT_FLOAT_EQ(game.face_timer, 0.0f);
  for (int f = 0; f < 7; f++) update_smiley(frame_seconds, mouse_b);
  EXPECT_EQ(game.face, 212);
  update_smiley(frame_seconds, mouse_b);
  EXPECT_EQ(game.face, 210);
  EXPECT_FLOAT_EQ(game.face_timer, 0.0f);
  EXPECT_EQ(game.random.counter, 5u);
  EXPECT_EQ(game.smiley_random.seed, glance);
  EXPECT_EQ(game.smiley_random.counter, 2u);  // two draws

  start(blink);
  update_smiley(frame_seconds, mouse_b);
  EXPECT_EQ(game.face, 208);
  update_smiley(frame_seconds, mouse_b);
  EXPECT_EQ(game.face, 208);
  update_smiley(frame_seconds, mouse_b);  // 0.25 s
  EXPECT_EQ(game.face, 210);
  EXPECT_EQ(game.smiley_random.counter, 1u);  // one draw

  start(neither);
  update_smiley(frame_seconds, mouse_b);
  update_smiley(frame_seconds, mouse_b);
  EXPECT_EQ(game.face, 210);
  EXPECT_NEAR(game.face_timer, 4.15f, 1e-5f);
  EXPECT_EQ(game.smiley_random.counter, 4u);  // two draws a frame from 4 s on
}

// The mines the verdict uncovers shake the screen and play their explosion
// only as the player's graphics switches allow.
TEST_F(GameEnd, VerdictExplosionsFollowTheGraphicsSwitches) {
  for (bool on : {true, false}) {
    SCOPED_TRACE(on ? "switches on" : "switches off");
    load(MEGAMINE);
    place_regular({rc(0, 0), rc(0, 4)}, rc(8, 8));
    board.cells[rc(0, 0)].state = FLAGGED;  // right
    board.cells[rc(8, 8)].state = REVEALED;  // (0, 4) stays covered: it explodes
    game.mines_left = 0;
    settings.graphics_switches[GFX_SCREEN_SHAKE] = on;
    settings.graphics_switches[GFX_MINE_ANIMATION] = on;
    screen_shake = 0.0f;
    check_verdict();
    show_events();
    EXPECT_EQ(game.mines_hit, 1);
    EXPECT_FLOAT_EQ(screen_shake, on ? 28.0f : 0.0f);
    EXPECT_FLOAT_EQ(board.cells[rc(0, 4)].flash_timer, on ? 0.0f : -1.0f);
  }
}
