// The keys the About page lists, in its Keys column: first the keys of the
// main screen, then those of the windows and dialogs. Every key the game
// reads is on one of these rows.
#pragma once

struct InfoKey {
  // The key caps drawn, left to right, up to four; "Left", "Right", "Up"
  // and "Down" are drawn as arrows.
  const char* caps[4];
  const char* text;
  // Where the row goes: column 0 or 1 of the two half columns, or -1 for
  // the whole width; row from the top of its group.
  int column, row;
  // The game's names of the keys (the library's KEY_ scancodes), separated
  // by spaces.
  const char* scancodes;
};

// clang-format off
inline constexpr InfoKey INFO_PLAY_KEYS[] = {
    {{"F1"},                    "New Game",                 0,  0, "KEY_F1"},
    {{"F2"},                    "Try Again",                0,  1, "KEY_F2"},
    {{"F3"},                    "High Scores",              0,  2, "KEY_F3"},
    {{"F5"},                    "Board Style and Pattern",  0,  3, "KEY_F5"},
    {{"F6"},                    "Game Mode",                1,  0, "KEY_F6"},
    {{"F7"},                    "Skill Level",              1,  1, "KEY_F7"},
    {{"H"},                     "Hint",                     1,  2, "KEY_H"},
    {{"Esc"},                   "Quit",                     1,  3, "KEY_ESC"},
    {{"P", "Pause", "Num Lock"}, "Pause and resume",        -1, 4, "KEY_P KEY_PAUSE KEY_NUMLOCK"},
};

inline constexpr InfoKey INFO_WINDOW_KEYS[] = {
    {{"Enter"},                 "OK",                       0,  0, "KEY_ENTER KEY_ENTER_PAD"},
    {{"Esc"},                   "Cancel, close",            1,  0, "KEY_ESC"},
    {{"Y", "N"},                "Yes or no",                0,  1, "KEY_Y KEY_N"},
    // read as a typed character, not by its scancode
    {{"Backspace"},             "Erase a letter",           1,  1, ""},
    {{"Left", "Right", "Up", "Down"}, "High Scores: game mode and skill level", -1, 2,
     "KEY_LEFT KEY_RIGHT KEY_UP KEY_DOWN"},
};
// clang-format on
