// Finding the style datafiles: every file whose name matches
// "FGBOARDS*.DAT" without regard to case, in the data folder (the shipped
// ones) and in the user folder (the player's own, see platform/game_paths.h).
#pragma once

#include <allegro.h>

#include <string>
#include <vector>

extern const char* const STYLE_FILE_PATTERN;  // "FGBOARDS*.DAT"

// 1 when a file name matches the style file pattern.
int is_style_file_name(const char* name);

// Names of the matching regular files in a folder, in byte order; names
// longer than 15 characters are left out, since the game keeps style file
// names in 16-byte fields.
std::vector<std::string> find_style_files(const char* folder);

// The style files of the user folder and of the data folder together, in
// byte order, each name once (loading a name takes the user folder's file
// first, see find_game_file).
std::vector<std::string> list_style_files();

// The style file of that name (the user folder's first, see
// find_game_file) when it loads, passes the signature test and is valid,
// else nullptr. The caller unloads it.
DATAFILE* load_valid_style(const char* file);

// Names held in a valid style: its own, and a pattern's ("" for a pattern
// it lacks), each up to its first zero byte and at most 32 bytes.
std::string style_name_of(const DATAFILE* style);
std::string pattern_name_of(const DATAFILE* style, int pattern);
