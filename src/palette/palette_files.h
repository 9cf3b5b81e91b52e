// Palette files: raw 1024-byte palettes (256 entries of red, green, blue
// and a filler byte, 6-bit components) kept in the folder "Colors" beside
// the game, and the palette the main screen is drawn in.
#pragma once

#include <allegro.h>

#include <string>
#include <vector>

enum { PALETTE_FILE_SIZE = 1024 };

// 1 when a name can stand for a palette file in "Colors": a plain file
// name of 1 to 31 characters, neither "." nor "..", without a '/'.
int is_palette_file_name(const char* file_name);

// Reads the first 1024 bytes of "Colors/<file_name>" into palette. 1 when
// the whole block was read; 0 when the name is not a palette file name,
// the file is not a regular file, cannot be opened or is shorter (palette
// may then be partly overwritten).
int read_palette_file(const char* file_name, RGB* palette);

// The palette files of "Colors" a player can choose from: the names that
// match "*.FCL" in any letter case and that read_palette_file reads, at most
// max_count of them in the order the folder gives them, then sorted byte by
// byte as signed characters.
std::vector<std::string> list_palette_files(int max_count);

// Sets the display's palette as the settings choose it: the default
// palette of the main datafile when palette_name is empty, else the named
// file. A name that is not terminated within its 32 bytes or not a palette
// file name, and a file that cannot be read, fall back to the default
// palette and clear palette_name, so it is not tried again.
void apply_current_palette();
