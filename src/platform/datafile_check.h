// Checks a datafile's structure before the library loads it. The library's
// loader trusts the sizes and counts inside a file, so a short or damaged
// file could make it read out of bounds; every datafile the game loads
// (main graphics, sounds, board styles) passes this check first.
#pragma once

#include <allegro.h>

#include <cstddef>
#include <cstdint>

// 1 when the bytes are an unpacked datafile whose every object is complete
// and of a kind the game reads (bitmap, RLE sprite, palette, font, sample,
// raw data), with contents that match their stated sizes.
int datafile_bytes_are_sound(const uint8_t* bytes, size_t size);

// Checks a file: 0 when it is not a regular file (see files/safe_file.h),
// is larger than 256 MB, cannot be read or fails. Only the headers and the
// objects the check walks through (RLE sprites and fonts, at most 16 MB
// each) are read, so a large file that is no datafile costs a few bytes.
int datafile_file_is_sound(const char* path);

// load_datafile of a file that passed the check, else nullptr. The library
// loads the same open file that was checked.
DATAFILE* load_checked_datafile(const char* path);

// Number of objects of a loaded datafile (0 for none).
int datafile_object_count(const DATAFILE* dat);

// The kind of object the game reads at an index of the main datafile, or
// 0 for an index it does not use.
int main_object_kind(int index);

// 1 when the loaded main datafile holds every object the game uses, of
// its kind and size; likewise for the sound datafile.
int main_datafile_is_complete(const DATAFILE* dat);
int sound_datafile_is_complete(const DATAFILE* dat);
