// The picture's zoom on the display: the game composes every frame at
// 800x600, and present_frame shows it enlarged by a whole factor (each
// pixel a square of zoom x zoom), at an offset in the display. The pointer
// is kept in picture coordinates: after each poll of the mouse, mouse_x
// and mouse_y are turned from display pixels into picture pixels, so
// every reader of the two globals sees the 800x600 picture. That holds
// because the library works in polled mode once poll_mouse has been called:
// the two globals then change only in poll_mouse (and when the mouse range
// or position is set, as set_gfx_mode does), never from the driver's
// thread, so the values written here stay until the next poll.
#pragma once

#include <allegro.h>

#include "platform/extra_settings.h"  // WINDOW_ZOOM_FIT

enum { MAX_DISPLAY_ZOOM = 3 };

// Room the window manager's frame and panels take from the desktop: a
// window is zoomed only as far as it fits the desktop less this margin on
// each axis.
enum { WINDOW_DECORATION_MARGIN = 64 };

// The largest whole zoom (1 to MAX_DISPLAY_ZOOM) at which a picture of
// width x height fits in avail_w x avail_h; 1 when even 1x does not fit.
int largest_fitting_zoom(int picture_w, int picture_h, int avail_w, int avail_h);

// The zoom of a window for the player's choice (WINDOW_ZOOM_FIT, or 1 to
// MAX_DISPLAY_ZOOM): the choice, or the largest zoom whose window fits the
// desktop when the choice does not; the largest fitting zoom for "fit".
// A desktop of unknown size (desk_w or desk_h <= 0) allows every choice,
// and makes "fit" 1x.
int window_zoom_for(int choice, int picture_w, int picture_h, int desk_w, int desk_h);

// Where a picture zoomed by zoom is centred in a display of display_w x
// display_h: the offset of its top-left corner (0 when it does not fit).
int centred_offset(int display_size, int picture_size, int zoom);

// The picture coordinate of a display coordinate: (display - offset) /
// zoom, rounded down, clamped to 0..picture_size-1.
int display_to_picture(int display, int offset, int zoom, int picture_size);

// The zoom and offset present_frame uses for the screen (1 and 0, 0 until
// set_display_mode says otherwise).
struct DisplayZoom {
  int zoom;
  int offset_x;
  int offset_y;
};
extern DisplayZoom display_zoom;

// frame enlarged by zoom into target (a memory bitmap of at least
// frame->w*zoom x frame->h*zoom, both 8-bit), pixel for pixel.
void zoom_frame(BITMAP* frame, BITMAP* target, int zoom);

// mouse_x and mouse_y, as the mouse driver left them in display pixels,
// turned into picture pixels of an 800x600 picture shown at display_zoom.
// Nothing changes at 1x with no offset.
void map_pointer_to_picture(int picture_w, int picture_h);

// Shows frame in target as present_frame shows it on the screen: enlarged
// by display_zoom, at its offset plus the frame's own offsets (ox, oy)
// enlarged alike. At 1x with no offset this is the plain blit to (ox, oy).
void show_zoomed_frame(BITMAP* frame, BITMAP* target, int ox, int oy);
// Frees the buffer show_zoomed_frame enlarges frames into.
void release_zoom_buffer();
