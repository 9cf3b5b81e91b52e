// The window system's events that the library has not handled yet.
#pragma once

// Waits until the window system has answered every request made so far,
// then hands every event it sent back to the library's own event handler,
// on this thread. Afterwards, no event caused by those requests (a window
// losing the focus when the display mode changes) is still on its way.
// Does nothing without a window system (headless tests).
void settle_display_events();
