// Reveal effects: the flash of a revealed number, the explosion of a
// revealed mine, and the particle pool that carries shards, blasts,
// fireworks and title sparks.
#pragma once

#include <allegro.h>

#include <cstdint>

#include "rules/board_state.h"
#include "rules/random.h"

enum ParticleKind : int32_t {
  PARTICLE_DEAD = 0,
  PARTICLE_SHARD = 2,     // +1 colour about every 0.1 s, dies on a multiple of 4
  PARTICLE_BLAST = 3,     // -1 about every 0.05 s, dies on 112
  PARTICLE_FIREWORK = 4,  // +1 about every 0.3 s, dies on a multiple of 4
  PARTICLE_SPARK = 5      // -1 about every 0.05 s, dies on a multiple of 16
};

struct Particle {
  int32_t kind;
  float x, y;    // screen pixels
  float vx, vy;  // pixels per second
  int32_t colour;  // palette index, doubling as the remaining life
};

enum { MAX_PARTICLES = 4096 };

// Live records are the first particle_count entries, without holes.
extern Particle particles[MAX_PARTICLES];
extern int32_t particle_count;

// Length of the flash of a revealed number and of a mine's explosion.
extern const float NUMBER_FLASH_SECONDS;  // 0.4
extern const float MINE_FLASH_SECONDS;    // 0.88

// Advances the cell's flash_timer by frame_seconds and ends it at its length.
void advance_cell_animation(Cell& cell);
// The running flash or explosion of one cell, on target.
void draw_cell_animation(const Cell& cell, BITMAP* target);

// Writes the next free record; a full pool drops the spawn.
void spawn_particle(float x, float y, float vx, float vy, int kind, int colour);
// Moves, recolours and removes the live particles by frame_seconds.
// Colour steps draw from the generator handed in (the game stream).
void update_particles(Random& random);
// Each live particle as a 2 x 2 block on the BackBuffer.
void draw_particles();
// The same on any bitmap; blocks that would not lie wholly inside it are
// skipped.
void draw_particles_on(BITMAP* target);
void clear_particles();

// The burst of an uncovered cell whose content was `content`: a blast
// over a mine, shards out of a number's tile, nothing for a 0. Nothing
// when particle effects are off. Draws from the effects stream handed in.
void spawn_cell_burst(Random& random, int cell_index, int content);
// A firework over a cell, likewise.
void spawn_cell_firework(Random& random, int cell_index);
// Four title sparks at (x, y), always shown.
void spawn_sparks(Random& random, int x, int y, int colour);

// The screen shake: how far, in pixels, frames may be thrown off. A mine
// sets it; every frame takes its offsets from it and lets it die down.
extern float screen_shake;
// The offsets of the next frame (two draws from the generator handed in,
// the game stream, while the shake lasts), and the shake decays by the
// frame's seconds.
void shake_offsets(Random& random, float seconds, int* ox, int* oy);
