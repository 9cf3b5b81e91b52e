// Key colours of the game's palettes. Every palette we ship starts from the
// default palette's keys, changes the ones of its look, and is completed by
// the game's own derivation of gradients and number shades.
#pragma once

#include <allegro.h>

// Sets one palette index; components are 0..63.
void put_rgb(RGB* pal, int index, int r, int g, int b);

// Every index of the default palette: the key colours of all 41 entries,
// index 0, the free grey ramp 192..254 and the bright index 255. The
// derived indexes are left for finish_palette.
void set_default_keys(RGB* pal);

// The 16 number colours, indexes 16..31, from a table of r, g, b.
void put_numbers(RGB* pal, const int numbers[16][3]);

// Derives every gradient entry and the number shades 128..191 with the
// game's palette code, as the palette editor does.
void finish_palette(RGB* pal);
