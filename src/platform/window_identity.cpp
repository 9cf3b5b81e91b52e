#include "platform/window_identity.h"

#include <allegro.h>
#include <strings.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/version.h"
// The library's X header brings Xlib's macros, so it comes last.
#include <xalleg.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

// The window icon, drawn by the graphics generator (or the library's own
// when the program has none).
extern "C" char** allegro_icon;

namespace {

const char* const INSTANCE_NAME = "fusegrid";
const char* const CLASS_NAME = "Fusegrid";
const int LARGEST_ICON = 256;

bool on_x_window_system() { return system_driver && system_driver->id == SYSTEM_XWINDOWS && _xwin.display; }

// The value of an XPM colour: "#RRGGBB" as opaque, "None" as clear; -1 for
// any other form.
long xpm_colour(const char* text) {
  if (strcasecmp(text, "None") == 0) return 0;
  unsigned int rgb = 0;
  char end = 0;
  if (std::strlen(text) == 7 && std::sscanf(text, "#%6x%c", &rgb, &end) == 1) return 0xFF000000L | rgb;
  return -1;
}

void mark_window(Window window, Atom pid_atom, Atom icon_atom, const std::vector<unsigned long>& icon) {
  if (window == None) return;
  XClassHint hint;
  hint.res_name = const_cast<char*>(INSTANCE_NAME);
  hint.res_class = const_cast<char*>(CLASS_NAME);
  XSetClassHint(_xwin.display, window, &hint);
  // The process's number means something only with the machine it runs on.
  char host[256] = {0};
  if (gethostname(host, sizeof host - 1) == 0 && host[0]) {
    char* text = host;
    XTextProperty machine;
    if (XStringListToTextProperty(&text, 1, &machine)) {
      XSetWMClientMachine(_xwin.display, window, &machine);
      XFree(machine.value);
    }
  }
  const unsigned long pid = static_cast<unsigned long>(getpid());
  XChangeProperty(_xwin.display, window, pid_atom, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&pid), 1);
  if (!icon.empty())
    XChangeProperty(_xwin.display, window, icon_atom, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(icon.data()), static_cast<int>(icon.size()));
}

}  // namespace

std::string window_title() { return std::string("FGrid v") + FG_VERSION; }

std::vector<unsigned long> icon_argb_from_xpm(const char* const* xpm) {
  std::vector<unsigned long> none;
  int width = 0, height = 0, colours = 0, per_pixel = 0;
  if (!xpm || !xpm[0] || std::sscanf(xpm[0], "%d %d %d %d", &width, &height, &colours, &per_pixel) != 4) return none;
  if (per_pixel != 1 || width < 1 || height < 1 || width > LARGEST_ICON || height > LARGEST_ICON || colours < 1 ||
      colours > 256)
    return none;
  long value_of[256];
  for (long& v : value_of) v = -1;
  for (int i = 0; i < colours; i++) {
    const char* line = xpm[1 + i];
    // "K c VALUE": the key character, then the colour for a colour display.
    if (!line || std::strlen(line) < 5 || std::strncmp(line + 1, " c ", 3) != 0) return none;
    const long value = xpm_colour(line + 4);
    if (value < 0) return none;
    value_of[static_cast<unsigned char>(line[0])] = value;
  }
  std::vector<unsigned long> argb;
  argb.reserve(2 + static_cast<size_t>(width) * static_cast<size_t>(height));
  argb.push_back(static_cast<unsigned long>(width));
  argb.push_back(static_cast<unsigned long>(height));
  for (int y = 0; y < height; y++) {
    const char* row = xpm[1 + colours + y];
    if (!row || std::strlen(row) != static_cast<size_t>(width)) return none;
    for (int x = 0; x < width; x++) {
      const long value = value_of[static_cast<unsigned char>(row[x])];
      if (value < 0) return none;
      argb.push_back(static_cast<unsigned long>(value));
    }
  }
  return argb;
}

void name_game_window() {
  if (system_driver && system_driver->set_window_title) set_window_title(window_title().c_str());
  if (!on_x_window_system()) return;
  xwin_set_window_name(INSTANCE_NAME, CLASS_NAME);
}

void mark_game_window() {
  if (!on_x_window_system()) return;
  const std::vector<unsigned long> icon = icon_argb_from_xpm(allegro_icon);
  XLOCK();
  const Atom pid_atom = XInternAtom(_xwin.display, "_NET_WM_PID", False);
  const Atom icon_atom = XInternAtom(_xwin.display, "_NET_WM_ICON", False);
  for (Window window : {_xwin.wm_window, _xwin.fs_window, _xwin.window})
    mark_window(window, pid_atom, icon_atom, icon);
  XFlush(_xwin.display);
  XUNLOCK();
}
