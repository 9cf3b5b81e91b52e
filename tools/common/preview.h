// Writes an 8-bit bitmap with its palette as a PNG file, so that what the
// generators draw can be looked at. Returns false when the file cannot be written.
#pragma once

#include <allegro.h>

#include <cstdint>
#include <vector>

bool save_png(const char* path, BITMAP* bmp, const PALETTE pal);

// Writes w x h pixels of 8-bit red, green, blue and alpha (straight, not
// premultiplied), row by row, as a PNG file with an alpha channel.
bool save_png_rgba(const char* path, int w, int h, const std::vector<uint8_t>& rgba);
