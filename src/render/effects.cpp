#include "render/effects.h"

#include <cmath>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "board/board_load.h"
#include "board/geometry.h"
#include "palette/palette_entries.h"
#include "rules/random.h"

Particle particles[MAX_PARTICLES];
int32_t particle_count = 0;

const float NUMBER_FLASH_SECONDS = 0.4f;
const float MINE_FLASH_SECONDS = 0.88f;

namespace {

enum {
  BLAST_PARTICLES = 512,
  FIREWORK_PARTICLES = 256,
  TITLE_SPARKS = 4,
  BLAST_DEATH_COLOUR = COL_QUESTION,  // 112: a blast never shows it
  // A shard's start is searched for among the visible pixels of its tile;
  // after this many misses in a row the burst spawns no more shards.
  SHARD_TRIES = 4096,
  // Colour-step odds are 1 in n + 1; n is kept within random_range's reach.
  MAX_STEP_ODDS = 1 << 30
};

BITMAP* main_bitmap(int index) {
  if (!MainDatafile || index < 0 || index >= MAIN_OBJECT_COUNT) return nullptr;
  if (MainDatafile[index].type != DAT_BITMAP) return nullptr;
  return static_cast<BITMAP*>(MainDatafile[index].dat);
}

// The first shade of a number's group: 128 for 1, 136 for 3, 188 for 16 on.
int number_shade(int content) {
  const int step = 4 * content - 4;
  return COL_SHADES_FIRST + (step < 60 ? step : 60);
}

bool cell_has_shape(const Cell& cell) { return cell.shape < MAX_SHAPES; }

// Direction from the effects of a burst: an angle of 0 to 62.83 radians in
// steps of 0.01 and one speed per component, drawn in that order.
void radial_velocity(Random& random, int lo, int hi, float& vx, float& vy) {
  const double a = random_range(random, 0, 6283) * 0.01;
  vx = static_cast<float>(std::sin(a) * random_range(random, lo, hi));
  vy = static_cast<float>(std::cos(a) * random_range(random, lo, hi));
}

bool opaque_at(BITMAP* pic, int px, int py) {
  return px >= 0 && py >= 0 && px < pic->w && py < pic->h && getpixel(pic, px, py) != 0;
}

// Whether the box 0..max_px by 0..max_py of the picture shows any pixel.
bool box_has_pixel(BITMAP* pic, int max_px, int max_py) {
  for (int py = 0; py <= max_py && py < pic->h; py++)
    for (int px = 0; px <= max_px && px < pic->w; px++)
      if (getpixel(pic, px, py) != 0) return true;
  return false;
}

// Shards fly out of the tile of a revealed number, away from the centre of
// its symbol box. A shape narrower or lower than three blocks, or whose
// hidden picture shows nothing in the searched box, throws none.
void spawn_shards(Random& random, const Cell& cell, int content) {
  const ShapeInfo& info = shape_info[cell.shape];
  const int n = static_cast<int>(0.75 * info.fill_count);
  const int max_px = 8 * info.width - 17, max_py = 8 * info.height - 17;
  if (n <= 0 || max_px < 0 || max_py < 0) return;
  BITMAP* pic = hidden_picture(cell.shape);
  if (!pic || !box_has_pixel(pic, max_px, max_py)) return;
  const int colour = number_shade(content);
  const int sx = info.symbol_x, sy = info.symbol_y;
  for (int i = 0; i < n && particle_count < MAX_PARTICLES; i++) {
    int px = 0, py = 0, tries = 0;
    do {
      if (tries++ == SHARD_TRIES) return;
      px = random_range(random, 0, max_px);
      py = random_range(random, 0, max_py);
    } while (!opaque_at(pic, px, py));
    const int f1 = random_range(random, 50, 100);
    const int f2 = random_range(random, 50, 100);
    const float vy = static_cast<float>(f1 * (py - sy - 8) * 0.1);
    const float vx = static_cast<float>(f2 * (px - sx - 8) * 0.1);
    spawn_particle(static_cast<float>(cell.x + px), static_cast<float>(cell.y + py), vx, vy, PARTICLE_SHARD, colour);
  }
}

void spawn_blast(Random& random, float cx, float cy) {
  for (int i = 0; i < BLAST_PARTICLES && particle_count < MAX_PARTICLES; i++) {
    float vx, vy;
    radial_velocity(random, 150, 250, vx, vy);
    spawn_particle(cx, cy, vx, vy, PARTICLE_BLAST, COL_EXPLOSION_LAST);
  }
}

void spawn_firework(Random& random, float cx, float cy) {
  for (int i = 0; i < FIREWORK_PARTICLES && particle_count < MAX_PARTICLES; i++) {
    float vx, vy;
    radial_velocity(random, 5, 400, vx, vy);
    const int colour = COL_SHADES_FIRST + 4 * random_range(random, 0, 15);
    spawn_particle(cx, cy, vx, vy, PARTICLE_FIREWORK, colour);
  }
}

// One particle's frame; false when it died.
bool update_particle(Random& random, Particle& p, float dt) {
  p.x += p.vx * dt;
  p.y += p.vy * dt;
  if (p.x < 0.0f || p.x >= 799.0f || p.y < 0.0f || p.y >= 599.0f) {
    p.kind = PARTICLE_DEAD;
    return false;
  }
  if (dt <= 0.0f) return true;
  float period;
  switch (p.kind) {
    case PARTICLE_SHARD: period = 0.1f; break;
    case PARTICLE_BLAST:
      period = 0.05f;
      p.vx -= p.vx * dt * 0.8f;
      p.vy -= p.vy * dt * 0.8f;
      break;
    case PARTICLE_FIREWORK:
      period = 0.3f;
      p.vx -= 2.0f * p.vx * dt;
      p.vy -= 2.0f * p.vy * dt;
      break;
    case PARTICLE_SPARK:
      period = 0.05f;
      p.vx -= p.vx * dt * 5.0f;
      p.vy -= p.vy * dt * 5.0f;
      break;
    default:  // a record of no known kind is not kept
      p.kind = PARTICLE_DEAD;
      return false;
  }
  const float odds = period / dt;
  const int n = odds < static_cast<float>(MAX_STEP_ODDS) ? static_cast<int>(odds) : MAX_STEP_ODDS;
  if (random_range(random, 0, n) != 0) return true;
  bool dies;
  switch (p.kind) {
    case PARTICLE_SHARD:
    case PARTICLE_FIREWORK:
      p.colour += 1;
      dies = p.colour % 4 == 0;
      break;
    case PARTICLE_BLAST:
      p.colour -= 1;
      dies = p.colour <= BLAST_DEATH_COLOUR;
      break;
    default:  // PARTICLE_SPARK
      p.colour -= 1;
      dies = p.colour % 16 == 0;
      break;
  }
  if (dies) p.kind = PARTICLE_DEAD;
  return !dies;
}

}  // namespace

void advance_cell_animation(Cell& cell) {
  if (cell.flash_timer >= 0.0f) cell.flash_timer += frame_seconds;
  const float length = cell.content < MINE ? NUMBER_FLASH_SECONDS : MINE_FLASH_SECONDS;
  if (cell.flash_timer >= length) cell.flash_timer = -1.0f;
}

void draw_cell_animation(const Cell& cell, BITMAP* target) {
  const float t = cell.flash_timer;
  if (!target || !(t >= 0.0f) || !cell_has_shape(cell)) return;
  const ShapeInfo& info = shape_info[cell.shape];
  const int bx = cell.x + info.symbol_x, by = cell.y + info.symbol_y;
  if (cell.content >= MINE) {
    int f = static_cast<int>(t * 12.5f);
    if (f >= OBJ_EXPLOSION_FRAMES) f = OBJ_EXPLOSION_FRAMES - 1;
    BITMAP* frame = main_bitmap(OBJ_EXPLOSION_FIRST + f);
    if (frame) draw_sprite(target, frame, bx + 8 - frame->w / 2, by + 8 - frame->h / 2);
    return;
  }
  if (cell.content == 0 || cell.content > 64) return;  // glyphs exist for 1 to 64
  BITMAP* glyph = main_bitmap(OBJ_NUMBER_BASE + cell.content);
  if (!glyph) return;
  int step = static_cast<int>(t * 10.0f);
  if (step > 3) step = 3;  // a timer past its length stays on the group's last shade
  draw_character_ex(target, glyph, bx, by, number_shade(cell.content) + step, -1);
}

void spawn_particle(float x, float y, float vx, float vy, int kind, int colour) {
  if (particle_count < 0) particle_count = 0;
  if (particle_count >= MAX_PARTICLES) return;
  Particle& p = particles[particle_count++];
  p.kind = kind;
  p.x = x;
  p.y = y;
  p.vx = vx;
  p.vy = vy;
  p.colour = colour;
}

void update_particles(Random& random) {
  const float dt = frame_seconds;
  int i = 0;
  while (i < particle_count) {
    if (!update_particle(random, particles[i], dt)) {
      particle_count--;
      if (i != particle_count) particles[i] = particles[particle_count];
    }
    i++;
  }
}

void draw_particles() { draw_particles_on(BackBuffer); }

void draw_particles_on(BITMAP* target) {
  if (!target) return;
  const int count = particle_count < 0 ? 0 : (particle_count > MAX_PARTICLES ? MAX_PARTICLES : particle_count);
  // The block (X, Y)..(X + 1, Y + 1) must lie inside the bitmap; the
  // comparisons also refuse NaN positions.
  const float limit_x = static_cast<float>(target->w - 1), limit_y = static_cast<float>(target->h - 1);
  const bool direct = is_memory_bitmap(target) && bitmap_color_depth(target) == 8;
  for (int i = 0; i < count; i++) {
    const Particle& p = particles[i];
    if (!(p.x >= 0.0f && p.x < limit_x && p.y >= 0.0f && p.y < limit_y)) continue;
    const int x = static_cast<int>(p.x), y = static_cast<int>(p.y);
    if (direct) {
      const unsigned char c = static_cast<unsigned char>(p.colour);
      unsigned char* row = target->line[y] + x;
      row[0] = c;
      row[1] = c;
      row = target->line[y + 1] + x;
      row[0] = c;
      row[1] = c;
    } else {
      rectfill(target, x, y, x + 1, y + 1, p.colour);
    }
  }
}

void clear_particles() {
  for (Particle& p : particles) p.kind = PARTICLE_DEAD;
  particle_count = 0;
}

namespace {

// The centre of a cell's symbol box, where its burst starts; false for a
// cell that is not on the board.
bool burst_centre(int cell_index, float& cx, float& cy) {
  if (!settings.graphics_switches[GFX_PARTICLES] || cell_index < 0 || cell_index >= board.cell_count ||
      !cell_has_shape(board.cells[cell_index]))
    return false;
  const Cell& cell = board.cells[cell_index];
  const ShapeInfo& info = shape_info[cell.shape];
  cx = static_cast<float>(cell.x + info.symbol_x + 8);
  cy = static_cast<float>(cell.y + info.symbol_y + 8);
  return true;
}

}  // namespace

void spawn_cell_burst(Random& random, int cell_index, int content) {
  float cx, cy;
  if (!burst_centre(cell_index, cx, cy)) return;
  if (content >= MINE)
    spawn_blast(random, cx, cy);
  else if (content != 0)
    spawn_shards(random, board.cells[cell_index], content);
}

void spawn_cell_firework(Random& random, int cell_index) {
  float cx, cy;
  if (burst_centre(cell_index, cx, cy)) spawn_firework(random, cx, cy);
}

void spawn_sparks(Random& random, int x, int y, int colour) {
  for (int i = 0; i < TITLE_SPARKS && particle_count < MAX_PARTICLES; i++) {
    float vx, vy;
    radial_velocity(random, 5, 400, vx, vy);
    spawn_particle(static_cast<float>(x), static_cast<float>(y), vx, vy, PARTICLE_SPARK, colour);
  }
}

float screen_shake = 0.0f;

void shake_offsets(Random& random, float seconds, int* ox, int* oy) {
  *ox = *oy = 0;
  if (!(screen_shake > 0.0f)) return;
  *ox = random_range(random, static_cast<int>(-screen_shake), static_cast<int>(screen_shake));
  *oy = random_range(random, static_cast<int>(-screen_shake), static_cast<int>(screen_shake));
  screen_shake = screen_shake - seconds * screen_shake * 4.0f;
}
