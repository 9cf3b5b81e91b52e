// The game's random source: a counter-based generator whose whole state is
// a 32-bit seed and a 32-bit counter, with save slots for separate streams.
#pragma once

#include <cstdint>

enum { RANDOM_SLOTS = 8 };
enum RandomSlot { STREAM_GAME = 0, STREAM_EFFECTS = 1, STREAM_SMILEY = 2 };

void seed_from_clock();
void set_seed(uint32_t value);
void set_counter(uint32_t value);
uint32_t get_seed();
uint32_t get_counter();
// One integer from lo to hi inclusive; advances the counter by one.
// A range with hi < lo returns lo and still advances the counter.
int random_range(int lo, int hi);
void save_stream(int slot);
void restore_stream(int slot);

// The values every board load seeds the generator with. The board seed
// grows by the vertical mouse movement plus one every frame, the board
// counter by the horizontal movement.
extern uint32_t board_seed;
extern uint32_t board_counter;
