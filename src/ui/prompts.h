// Small screens used around the real work: the one-frame "One moment
// please..." notice, a one-line message box that waits for any key, the
// information page, the blanking of the play area behind dialogs, and the
// table of fixed prompt texts.
#pragma once

enum { PROMPT_TEXT_SIZE = 80 };  // at most 79 characters and the terminating zero

enum PromptText {
  PROMPT_GAME_PAUSED = 0,         // drawn by the pause screen
  PROMPT_NAME_NEW_PALETTE,        // naming a new palette
  PROMPT_ESC_TO_CANCEL,           // naming a new palette
  PROMPT_PALETTE_EXISTS,          // saving a palette
  PROMPT_PALETTE_WRITE_FAILED,    // saving a palette
  PROMPT_PALETTE_CREATE_FAILED,   // saving a palette
  PROMPT_GRAPHICS_SWITCH_FAILED,  // key prompt, PROMPT_WIDTH_GRAPHICS_SWITCH_FAILED
  PROMPT_NO_SOUND_SYSTEM,         // key prompt, PROMPT_WIDTH_NO_SOUND_SYSTEM
  PROMPT_ONE_CLICK_NO_SCORE,      // key prompt, PROMPT_WIDTH_ONE_CLICK_NO_SCORE
  PROMPT_TEXT_COUNT
};

extern const char PROMPT_TEXTS[PROMPT_TEXT_COUNT][PROMPT_TEXT_SIZE];

// Box widths of the texts shown with prompt_any_key.
enum {
  PROMPT_WIDTH_GRAPHICS_SWITCH_FAILED = 600,
  PROMPT_WIDTH_NO_SOUND_SYSTEM = 400,
  PROMPT_WIDTH_ONE_CLICK_NO_SCORE = 480
};

// Shows one frame with the notice over the SceneBuffer and returns; the
// caller then does its slow work.
void show_wait_notice();

// A message box `width` pixels wide, centred on the screen, over the
// SceneBuffer, until a key is pressed. The key stays in the keyboard
// buffer. The text is drawn as plain text (a per-cent sign is shown as it
// is). Plays the message sound once.
void prompt_any_key(int width, const char* text);

// The information page, closed by its "OK!" button, Enter or Esc. Draws its
// frames and page into the SceneBuffer.
void show_info_page();

// While a game is in play: paints the play area (88, 16)-(799, 599) of the
// SceneBuffer in the background colour, shows it for one frame and asks the
// main screen to redraw the board when it resumes. Otherwise nothing.
void blank_play_area();
