// Palette files: raw 1024-byte palettes (256 entries of red, green, blue
// and a filler byte, 6-bit components) kept in folders "Colors": the
// shipped ones in the data folder, the player's own in the user folder
// (platform/game_paths.h); and the palette the main screen is drawn in.
#pragma once

#include <allegro.h>

#include <string>
#include <vector>

enum { PALETTE_FILE_SIZE = 1024 };

// 1 when a name can stand for a palette file in "Colors": a plain file
// name of 1 to 31 characters, neither "." nor "..", without a '/'.
int is_palette_file_name(const char* file_name);

// The folder new palettes are saved in: "<user folder>/Colors" ("" when
// there is no user folder).
std::string palette_save_folder();

// Reads the first 1024 bytes of "Colors/<file_name>" into palette, from the
// user folder when anything of that name is there, else from the data
// folder. 1 when the whole block was read; 0 when the name is not a palette
// file name, the file is not a regular file, cannot be opened or is shorter
// (palette may then be partly overwritten).
int read_palette_file(const char* file_name, RGB* palette);

// The palette files a player can choose from: the names in the two
// "Colors" folders (the user folder's first, each name once) that match
// "*.FCL" in any letter case and that read_palette_file reads, at most
// max_count of them in the order the folders give them, then sorted byte
// by byte as signed characters.
std::vector<std::string> list_palette_files(int max_count);

// Sets the display's palette as the settings choose it: the default
// palette of the main datafile when palette_name is empty, else the named
// file. A name that is not terminated within its 32 bytes or not a palette
// file name, and a file that cannot be read, fall back to the default
// palette and clear palette_name, so it is not tried again.
void apply_current_palette();
