// Writes an 8-bit bitmap with its palette as a PNG file, so that what the
// generators draw can be looked at. Returns false when the file cannot be written.
#pragma once

#include <allegro.h>

bool save_png(const char* path, BITMAP* bmp, const PALETTE pal);
