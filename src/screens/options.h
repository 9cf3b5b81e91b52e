// The sound options and graphics options dialogs. Both keep their changes
// in working copies while open and store them into the settings only when
// accepted with "OK!" or Enter; "Cancel" and Esc discard them.
#pragma once

enum ChainSpeed { SPEED_SLOW = 0, SPEED_NORMAL = 1, SPEED_FAST = 2, SPEED_INSTANT = 3, CHAIN_SPEED_COUNT = 4 };

// Seconds between two steps of the chain reaction for each choice.
extern const float CHAIN_SPEED_VALUES[CHAIN_SPEED_COUNT];

enum { OPTION_LABEL_SIZE = 32 };
enum { LABEL_FULL_SCREEN = CHAIN_SPEED_COUNT, LABEL_WINDOWED, OPTION_LABEL_COUNT };
// "Slow", "Normal", "Fast", "Instant", then "Full Screen" and "Windowed".
extern const char OPTION_LABELS[OPTION_LABEL_COUNT][OPTION_LABEL_SIZE];

// The choice a stored chain speed opens with, by exact comparison: 0.0 is
// Instant, 0.05 Fast, 0.075 Normal, anything else Slow.
int chain_speed_index(float chain_speed);

// How the graphics options switch the display mode; set_display_mode
// unless replaced (tests run without a display). 1 on success.
extern int (*display_mode_switch)(int windowed, int width, int height);

// The volume slider and the eleven effect switches. Without a sound
// system it only shows a key prompt saying so.
void sound_options_dialog();

// The five graphics switches, the chain reaction speed and the display
// mode. A display mode that cannot be set is reported with a key prompt
// after the previous mode is restored.
void graphics_options_dialog();
