// The main screen: menu bar, status panel, board and face.
#pragma once

// Set when the SceneBuffer no longer shows the board (a dialog blanked the
// play area): the main screen redraws the whole board when it resumes.
extern int redraw_requested;

// Draws the static parts of the main screen into the SceneBuffer.
void draw_main_screen_scene();
// Runs the main screen, one pass per frame, until the player quits (Esc).
void run_main_screen();
