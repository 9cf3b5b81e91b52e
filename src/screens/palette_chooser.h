// The "Adjust Colors" dialog: lists the palette files of the folder
// "Colors", previews a palette on the whole screen as soon as its row is
// clicked, and makes the highlighted one current (OK), restores the old
// one (Cancel, Esc) or hands over to the palette editor.
#pragma once

enum {
  PALETTE_LIST_MAX = 512,      // rows, the default row included
  PALETTE_LIST_NAME_SIZE = 32  // a row's name: "%.31s" of the file name
};

// Runs the dialog to its end. Its effects are settings.palette_name and
// the display's palette; the caller rebuilds its screen afterwards.
void palette_chooser();
