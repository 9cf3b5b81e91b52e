// The board chooser: a modal dialog that lists the valid style datafiles of
// the game folder by style name and the patterns of the selected style,
// and hands the chosen style file and pattern to the next board load.
#pragma once

#include <cstdint>

enum {
  MAX_STYLES = 512,         // styles beyond this are left out of the list
  STYLE_FILE_NAME_SIZE = 16  // 15 characters and the terminating zero
};

// One entry of the style list. The name is the style datafile's 32-byte
// name field as it is (not necessarily terminated); the file name is cut
// to 15 characters and always terminated.
struct StyleEntry {
  char name[32];
  char file[STYLE_FILE_NAME_SIZE];
};

// The layout last picked: set when choose_board returns 1. The index is
// -1 until the player has chosen a board.
extern char chosen_board_file[STYLE_FILE_NAME_SIZE];
extern int chosen_board_index;

// Runs the chooser over the style files of the current folder. 1 when the
// player confirms (chosen_board_file and chosen_board_index are set), 0
// when the player cancels. Ends the program with fatal error 5 when no
// style file is found and 6 when none is valid.
int choose_board();

// Style names compared byte by byte as signed values, over at most 32
// bytes and up to a terminating zero: < 0, 0 or > 0.
int compare_style_names(const char* a, const char* b);

// Sorts the entries by name, ascending: every entry is compared with each
// later one and the two are swapped when the later name is smaller.
void sort_style_entries(StyleEntry* entries, int count);
