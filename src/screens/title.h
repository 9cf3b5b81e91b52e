// The two screens that open the game: the title sequence, which builds the
// logo dot by dot out of sparks on a black screen, shows it whole and fades
// out; then a full-screen picture that slides in from the left and waits
// for "Press any key to continue.".
#pragma once

#include <allegro.h>

#include <utility>
#include <vector>

enum { TITLE_POINTS = 398 };  // the points the logo is built from

// The title scan over the logo (main datafile object 109): for x = 0, 4,
// ... 352 and y = 6, 10, ... 42, the point (x, y) is taken when the logo's
// pixel p there is 0 or 20 and p plus the pixels at (x+2, y), (x, y+2) and
// (x+2, y+2) is not 0. The graphics generator draws the logo so that it
// finds exactly TITLE_POINTS; the title uses no more than that.
std::vector<std::pair<int, int>> title_scan_points(BITMAP* logo);

// Each returns at once when a key is pressed or a mouse button is down
// (the key stays in the keyboard buffer); a close request ends the program
// from either.
void run_title_sequence();
// Returns when a key or a mouse button ends it, once Esc and both Enter
// keys are let go (so that the key does not act in the main screen).
void run_press_any_key();
