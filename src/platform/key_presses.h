// Key presses as the keyboard driver reports them, kept until the main
// thread takes them. A once-a-frame read of key[] misses a key pressed
// and let go between two frames, and says nothing about the Pause key
// under X: the X keyboard driver reports every other press of Pause as a
// release and never reports letting it go, so key[KEY_PAUSE] stays set
// from one press to the next.
#pragma once

// The library's low-level keyboard callback: notes the press of a key
// (scancode without the release bit). A "release" of Pause is noted as a
// press too: it is how the X driver reports every second press of it.
// Runs on the library's input thread.
void note_key_event(int scancode);

// True when the key was pressed since it was last taken (or forgotten),
// and forgets that press.
bool take_key_press(int scancode);

// Forgets every press noted so far.
void forget_key_presses();

// Sets note_key_event as the library's low-level keyboard callback.
void watch_key_presses();
