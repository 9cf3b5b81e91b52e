// What the desktop knows the game's window by: its title, the instance
// and class names ("fusegrid", "Fusegrid") that a desktop entry's
// StartupWMClass and a task bar match, the process that owns it, and its
// icon in the form docks read.
#pragma once

#include <string>
#include <vector>

// "FGrid v<version>", the version being the project's.
std::string window_title();

// The window icon as the _NET_WM_ICON property holds it: width, height,
// then one 0xAARRGGBB value a pixel, row by row; empty when the picture is
// not an XPM of one character a pixel, or is larger than 256 x 256.
// `xpm` is the picture's lines as the XPM format writes them.
std::vector<unsigned long> icon_argb_from_xpm(const char* const* xpm);

// Before the first window: the title and the window's names. Then after
// every display mode change (a new window): the names, the owning process
// (_NET_WM_PID with WM_CLIENT_MACHINE) and the icon, on every window the
// library made. Both do nothing without a window system.
void name_game_window();
void mark_game_window();
