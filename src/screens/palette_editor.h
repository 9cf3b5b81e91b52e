// The "Create a New Color Palette" dialog: starts from the palette on the
// display, lets the player pick one of the palette entries and one of its
// key colours and change its red, green and blue with three sliders while
// the whole screen shows the result, and saves the palette under a name.
#pragma once

enum { PALETTE_NAME_MAX = 24 };  // characters of a name typed for a new palette

// Runs the dialog: 1 when a new palette was saved (settings.palette_name
// then names it and it is on the display), 0 when the player cancelled
// (the display may still show the edited colours; the caller restores).
int palette_editor();

// Asks for a name and writes the display's palette to
// "Colors/<name>.FCL" of the user folder, whole or not at all. 1 when the file was written,
// -1 when nothing was saved. Names are printable ASCII without '/', so a
// name cannot reach outside the folder.
int save_palette_dialog();
