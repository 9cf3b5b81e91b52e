// The main screen: menu bar, status panel, board, "Check!" button and
// face. It runs one pass per frame until the player quits; dialogs, the
// pause screen and prompts run as loops of their own inside it.
#pragma once

// Menu choices (File menu items 0 to 7, 13 and 14, Options menu items 9
// to 12 and 15).
enum MenuChoice {
  MENU_NONE = -1,
  MENU_NEW_GAME = 0,
  MENU_TRY_AGAIN = 1,
  MENU_HIGH_SCORES = 2,
  MENU_CHANGE_BOARD = 3,
  MENU_CHANGE_MODE = 4,
  MENU_CHANGE_SKILL = 5,
  MENU_ABOUT = 6,
  MENU_QUIT = 7,
  MENU_UNUSED = 8,  // no menu item returns it
  MENU_QUESTION_MARKS = 9,
  MENU_GRAPHICS_OPTIONS = 10,
  MENU_SOUND_OPTIONS = 11,
  MENU_ADJUST_COLORS = 12,
  MENU_GAME_ID = 13,
  MENU_HINT = 14,
  MENU_NO_GUESS = 15
};

// Shows a one-line message in the menu bar for a few seconds.
void show_status_message(const char* text);
// The same from the next start of the main screen on, for a given time.
void show_status_message_at_start(const char* text, float seconds);

// Runs the main screen until the player quits (Quit or Esc).
void run_main_screen();

// Starts a new game on a pattern of a style file: loads the board or, when
// the file can no longer be loaded, says so and leaves no board in play.
void start_new_game(const char* file_name, int pattern);
