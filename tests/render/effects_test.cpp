// Cell animations and the particle pool: spawning, moving, colour steps,
// removal, drawing and the bursts of revealed cells.
#include "render/effects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "board/geometry.h"
#include "palette/palette_entries.h"
#include "render/render_fixture.h"
#include "rules/random.h"

namespace {

using render_test::LoadedBoard;
using render_test::same_pixels;

class Effects : public LoadedBoard {
 protected:
  void SetUp() override {
    LoadedBoard::SetUp();
    saved_frame_ = frame_seconds;
    clear_particles();
    settings.graphics_switches[GFX_PARTICLES] = 1;
  }
  void TearDown() override {
    clear_particles();
    frame_seconds = saved_frame_;
    LoadedBoard::TearDown();
  }
  float saved_frame_ = 0.0f;
};

TEST_F(Effects, PoolHoldsMaxParticlesAndDropsFurtherSpawns) {
  for (int i = 0; i < MAX_PARTICLES + 5; i++) spawn_particle(10.0f, 10.0f, 0, 0, PARTICLE_SHARD, i);
  EXPECT_EQ(particle_count, MAX_PARTICLES);
  EXPECT_EQ(particles[MAX_PARTICLES - 1].colour, MAX_PARTICLES - 1);
  spawn_cell_burst(game.effects_random, 0, MINE);
  EXPECT_EQ(particle_count, MAX_PARTICLES);
  clear_particles();
  EXPECT_EQ(particle_count, 0);
  EXPECT_EQ(particles[17].kind, PARTICLE_DEAD);
}

TEST_F(Effects, BlastRunsFrom127DownTo113AndDiesAt112) {
  // With a frame of 0.1 s every frame takes a colour step (1 in 1 odds).
  frame_seconds = 0.1f;
  spawn_particle(400.0f, 300.0f, 0.0f, 0.0f, PARTICLE_BLAST, 127);
  for (int want = 126; want >= 113; want--) {
    update_particles(game.random);
    ASSERT_EQ(particle_count, 1);
    EXPECT_EQ(particles[0].colour, want);
  }
  update_particles(game.random);
  EXPECT_EQ(particle_count, 0);
}

TEST_F(Effects, SparksDieOnAMultipleOf16AndShardsOnAMultipleOf4) {
  frame_seconds = 0.2f;  // a colour step every frame for both kinds
  spawn_sparks(game.random, 100, 100, 129);
  EXPECT_EQ(particle_count, 4);
  EXPECT_EQ(particles[3].kind, PARTICLE_SPARK);
  // Each steps to 128 and dies; one moved into a hole waits for the next
  // frame.
  for (int left : {2, 1, 0}) {
    update_particles(game.random);
    ASSERT_EQ(particle_count, left);
    if (left) {
      EXPECT_EQ(particles[0].colour, 129);
    }
  }
  spawn_particle(10.0f, 10.0f, 0, 0, PARTICLE_SHARD, 136);
  update_particles(game.random);
  update_particles(game.random);
  update_particles(game.random);
  ASSERT_EQ(particle_count, 1);
  EXPECT_EQ(particles[0].colour, 139);
  update_particles(game.random);
  EXPECT_EQ(particle_count, 0);
}

TEST_F(Effects, LeavingTheScreenAreaKillsAndTheLastRecordFillsTheHole) {
  frame_seconds = 0.01f;  // one pixel per 100 px/s
  spawn_particle(798.0f, 10.0f, 100.0f, 0.0f, PARTICLE_SHARD, 128);    // x reaches 799
  spawn_particle(10.0f, 598.0f, 0.0f, 100.0f, PARTICLE_SHARD, 128);    // y reaches 599
  spawn_particle(0.5f, 10.0f, -100.0f, 0.0f, PARTICLE_SHARD, 128);     // x below 0
  spawn_particle(10.0f, 0.5f, 0.0f, -100.0f, PARTICLE_SHARD, 128);     // y below 0
  spawn_particle(797.5f, 597.5f, 100.0f, 100.0f, PARTICLE_SHARD, 129);  // stays: 798.5, 598.5
  update_particles(game.random);
  // Each death moves the last record into the hole; a record moved in is
  // not updated again in this frame, so the survivor (moved into slot 0)
  // and the y-below-0 one (moved into slot 1) are where they were.
  ASSERT_EQ(particle_count, 2);
  EXPECT_EQ(particles[0].x, 797.5f);
  EXPECT_EQ(particles[1].y, 0.5f);
  update_particles(game.random);
  ASSERT_EQ(particle_count, 1);
  EXPECT_FLOAT_EQ(particles[0].x, 798.5f);
  clear_to_color(BackBuffer, 0);
  draw_particles();
  const int c = particles[0].colour;
  EXPECT_EQ(getpixel(BackBuffer, 798, 598), c);
  EXPECT_EQ(getpixel(BackBuffer, 799, 598), c);
  EXPECT_EQ(getpixel(BackBuffer, 798, 599), c);
  EXPECT_EQ(getpixel(BackBuffer, 799, 599), c);
  EXPECT_EQ(getpixel(BackBuffer, 797, 597), 0);
}

TEST_F(Effects, DrawingNeverWritesOutsideTheBitmap) {
  BITMAP* small = create_bitmap_ex(8, 10, 10);
  clear_to_color(small, 0);
  // Records a misbehaving caller left behind: outside, on the edge, NaN.
  const float bad[][2] = {{-1.0f, 2.0f}, {2.0f, -0.5f}, {9.0f, 2.0f}, {2.0f, 9.5f}, {1e9f, 1e9f}, {NAN, 2.0f}};
  for (auto& p : bad) spawn_particle(p[0], p[1], 0, 0, PARTICLE_SHARD, 130);
  draw_particles_on(small);
  for (int y = 0; y < 10; y++)
    for (int x = 0; x < 10; x++) ASSERT_EQ(getpixel(small, x, y), 0) << x << ", " << y;
  spawn_particle(8.9f, 8.9f, 0, 0, PARTICLE_SHARD, 131);
  draw_particles_on(small);
  EXPECT_EQ(getpixel(small, 8, 8), 131);
  EXPECT_EQ(getpixel(small, 9, 9), 131);
  EXPECT_EQ(getpixel(small, 7, 8), 0);
  destroy_bitmap(small);
}

TEST_F(Effects, ColourStepsDrawOncePerLiveParticleFromTheStreamHandedIn) {
  for (int i = 0; i < 10; i++) spawn_particle(100.0f + i, 100.0f, 0, 0, PARTICLE_FIREWORK, 128);
  spawn_particle(900.0f, 100.0f, 0, 0, PARTICLE_FIREWORK, 128);  // off the screen: dies without a draw
  game.random = random_seeded(77);
  frame_seconds = 1.0f / 70.0f;
  update_particles(game.random);
  EXPECT_EQ(game.random.counter, 10u);
  frame_seconds = 0.0f;
  update_particles(game.random);
  EXPECT_EQ(game.random.counter, 10u);
}

TEST_F(Effects, MineBurstIsABlastFromTheStreamHandedIn) {
  Random effects{4242, 99};
  spawn_cell_burst(effects, 0, MINE);
  EXPECT_EQ(particle_count, 512);
  // Three draws per blast particle.
  EXPECT_EQ(effects.seed, 4242u);
  EXPECT_EQ(effects.counter, 99u + 3u * 512u);
  for (int i = 0; i < particle_count; i++) {
    EXPECT_EQ(particles[i].kind, PARTICLE_BLAST);
    EXPECT_EQ(particles[i].colour, 127);
  }
  const Cell& c = board.cells[0];
  EXPECT_EQ(particles[0].x, static_cast<float>(c.x + 4 + 8));
  EXPECT_EQ(particles[0].y, static_cast<float>(c.y + 4 + 8));
}

TEST_F(Effects, ParticleSwitchOffSpawnsNothing) {
  settings.graphics_switches[GFX_PARTICLES] = 0;
  Random effects = random_seeded(1);
  for (int content : {0, 3, int(MINE)}) spawn_cell_burst(effects, 0, content);
  spawn_cell_firework(effects, 0);
  EXPECT_EQ(particle_count, 0);
  EXPECT_EQ(effects.counter, 0u);
}

TEST_F(Effects, NumberShardsStartOnTheTileInTheirGroupsFirstShade) {
  const Cell& c = board.cells[1];
  const ShapeInfo& info = shape_info[c.shape];
  ASSERT_EQ(info.fill_count, 48);
  BITMAP* hidden = hidden_picture(c.shape);
  spawn_cell_burst(game.effects_random, 1, 3);
  ASSERT_EQ(particle_count, 36);  // trunc(0.75 * 48)
  for (int i = 0; i < particle_count; i++) {
    const Particle& p = particles[i];
    EXPECT_EQ(p.kind, PARTICLE_SHARD);
    EXPECT_EQ(p.colour, 136);
    const int px = static_cast<int>(p.x) - c.x, py = static_cast<int>(p.y) - c.y;
    ASSERT_TRUE(px >= 0 && px <= 15 && py >= 0 && py <= 15) << px << ", " << py;
    EXPECT_NE(getpixel(hidden, px, py), 0) << px << ", " << py;
    // Away from the symbol box's centre (12, 12), faster further out.
    EXPECT_GE(p.vx * static_cast<float>(px - 12), 0.0f);
    EXPECT_GE(p.vy * static_cast<float>(py - 12), 0.0f);
    EXPECT_LE(std::fabs(p.vx), 10.0f * std::abs(px - 12) + 0.001f);
  }
  for (int content : {16, 40, 199}) {
    clear_particles();
    spawn_cell_burst(game.effects_random, 1, content);
    ASSERT_EQ(particle_count, 36);
    EXPECT_EQ(particles[35].colour, 188) << content;
  }
}

TEST_F(Effects, CellsWithoutShardsSpawnNothingAndDoNotHang) {
  spawn_cell_burst(game.effects_random, 0, 0);  // empty cell
  spawn_cell_burst(game.effects_random, 3, 2);  // shape without reach: no shards to throw
  spawn_cell_burst(game.effects_random, 4, 2);  // empty hidden picture
  for (int i : {-1, 5}) spawn_cell_burst(game.effects_random, i, 2);
  EXPECT_EQ(particle_count, 0);
}

TEST_F(Effects, FireworkOverACell) {
  spawn_cell_firework(game.effects_random, 1);
  ASSERT_EQ(particle_count, 256);
  const Cell& c = board.cells[1];
  for (int i = 0; i < particle_count; i++) {
    const Particle& p = particles[i];
    EXPECT_EQ(p.kind, PARTICLE_FIREWORK);
    EXPECT_EQ((p.colour - 128) % 4, 0);
    EXPECT_TRUE(p.colour >= 128 && p.colour <= 188);
    EXPECT_EQ(p.x, static_cast<float>(c.x + 12));
    EXPECT_EQ(p.y, static_cast<float>(c.y + 12));
  }
  // A nearly full pool takes only what fits.
  clear_particles();
  for (int i = 0; i < MAX_PARTICLES - 10; i++) spawn_particle(1, 1, 0, 0, PARTICLE_SHARD, 128);
  spawn_cell_firework(game.effects_random, 1);
  EXPECT_EQ(particle_count, MAX_PARTICLES);
  EXPECT_EQ(particles[MAX_PARTICLES - 1].kind, PARTICLE_FIREWORK);
}

TEST_F(Effects, FlashTimersEndAtTheirLengths) {
  Cell& c = board.cells[0];
  frame_seconds = 0.02f;
  c.content = 3;
  c.flash_timer = 0.36f;
  advance_cell_animation(c);
  EXPECT_FLOAT_EQ(c.flash_timer, 0.38f);
  advance_cell_animation(c);
  EXPECT_EQ(c.flash_timer, -1.0f);
  advance_cell_animation(c);
  EXPECT_EQ(c.flash_timer, -1.0f);
  c.content = MINE;
  c.flash_timer = 0.5f;
  advance_cell_animation(c);
  EXPECT_FLOAT_EQ(c.flash_timer, 0.52f);
  c.flash_timer = 0.87f;
  advance_cell_animation(c);
  EXPECT_EQ(c.flash_timer, -1.0f);
}

TEST_F(Effects, ExplosionFramesAt12_5PerSecondCentredOnTheSymbolBox) {
  Cell& c = board.cells[1];
  c.content = MINE_LEVEL2;
  BITMAP* got = create_bitmap_ex(8, 800, 600);
  BITMAP* want = create_bitmap_ex(8, 800, 600);
  for (int f = 0; f < 11; f++) {
    c.flash_timer = (static_cast<float>(f) + 0.5f) / 12.5f;
    clear_to_color(got, 0);
    clear_to_color(want, 0);
    draw_cell_animation(c, got);
    BITMAP* frame = static_cast<BITMAP*>(MainDatafile[OBJ_EXPLOSION_FIRST + f].dat);
    draw_sprite(want, frame, c.x + 12 - frame->w / 2, c.y + 12 - frame->h / 2);
    EXPECT_TRUE(same_pixels(got, want, c.x - 40, c.y - 40, c.x + 60, c.y + 60)) << "frame " << f;
  }
  c.flash_timer = -1.0f;
  clear_to_color(got, 0);
  draw_cell_animation(c, got);
  int drawn = 0;
  for (int y = c.y - 40; y <= c.y + 60; y++)
    for (int x = c.x - 40; x <= c.x + 60; x++) drawn += getpixel(got, x, y) != 0;
  EXPECT_EQ(drawn, 0);
  destroy_bitmap(got);
  destroy_bitmap(want);
}

TEST_F(Effects, NumberFlashStepsThroughItsGroupsShades) {
  Cell& c = board.cells[1];
  c.content = 3;
  BITMAP* glyph = static_cast<BITMAP*>(MainDatafile[OBJ_NUMBER_BASE + 3].dat);
  BITMAP* got = create_bitmap_ex(8, 800, 600);
  for (int step = 0; step < 4; step++) {
    c.flash_timer = 0.05f + 0.1f * static_cast<float>(step);
    clear_to_color(got, 0);
    draw_cell_animation(c, got);
    int painted = 0;
    for (int y = 0; y < glyph->h; y++)
      for (int x = 0; x < glyph->w; x++) {
        const int want = getpixel(glyph, x, y) ? 136 + step : 0;
        EXPECT_EQ(getpixel(got, c.x + 4 + x, c.y + 4 + y), want);
        painted += want != 0;
      }
    EXPECT_GT(painted, 0);
  }
  destroy_bitmap(got);
}

}  // namespace
