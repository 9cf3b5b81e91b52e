#include "platform/display_events.h"

#include <allegro.h>
// The library's X header (the display connection, its lock and the event
// handler); it brings Xlib's macros, so it stays in this file.
#include <xalleg.h>

void settle_display_events() {
  if (!system_driver || system_driver->id != SYSTEM_XWINDOWS || !_xwin.display) return;
  // The library's event thread reads and handles events under this lock,
  // so while it is held, the queue holds every event not handled yet.
  XLOCK();
  XSync(_xwin.display, False);
  while (XEventsQueued(_xwin.display, QueuedAlready) > 0) _xwin_private_handle_input();
  XUNLOCK();
}
