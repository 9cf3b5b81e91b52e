#include "platform/display_zoom.h"

#include <cstring>

DisplayZoom display_zoom = {1, 0, 0};

int largest_fitting_zoom(int picture_w, int picture_h, int avail_w, int avail_h) {
  int zoom = MAX_DISPLAY_ZOOM;
  while (zoom > 1 && (picture_w * zoom > avail_w || picture_h * zoom > avail_h)) zoom--;
  return zoom;
}

int window_zoom_for(int choice, int picture_w, int picture_h, int desk_w, int desk_h) {
  if (choice != WINDOW_ZOOM_FIT && (choice < 1 || choice > MAX_DISPLAY_ZOOM)) choice = 1;
  if (desk_w <= 0 || desk_h <= 0) return choice == WINDOW_ZOOM_FIT ? 1 : choice;
  const int fitting = largest_fitting_zoom(picture_w, picture_h, desk_w - WINDOW_DECORATION_MARGIN,
                                           desk_h - WINDOW_DECORATION_MARGIN);
  if (choice == WINDOW_ZOOM_FIT) return fitting;
  return choice < fitting ? choice : fitting;
}

int centred_offset(int display_size, int picture_size, int zoom) {
  const int room = display_size - picture_size * zoom;
  return room > 0 ? room / 2 : 0;
}

int display_to_picture(int display, int offset, int zoom, int picture_size) {
  const int d = display - offset;
  if (d < 0) return 0;
  const int p = d / zoom;
  return p < picture_size ? p : picture_size - 1;
}

void zoom_frame(BITMAP* frame, BITMAP* target, int zoom) {
  const int w = frame->w;
  const size_t row = static_cast<size_t>(w) * static_cast<size_t>(zoom);
  for (int y = 0; y < frame->h; y++) {
    const unsigned char* from = frame->line[y];
    unsigned char* to = target->line[y * zoom];
    if (zoom == 2) {
      for (int x = 0; x < w; x++) to[2 * x] = to[2 * x + 1] = from[x];
    } else if (zoom == 3) {
      for (int x = 0; x < w; x++) to[3 * x] = to[3 * x + 1] = to[3 * x + 2] = from[x];
    } else {
      for (int x = 0; x < w; x++) std::memset(to + static_cast<size_t>(x) * zoom, from[x], static_cast<size_t>(zoom));
    }
    for (int k = 1; k < zoom; k++) std::memcpy(target->line[y * zoom + k], to, row);
  }
}

void map_pointer_to_picture(int picture_w, int picture_h) {
  const DisplayZoom& z = display_zoom;
  if (z.zoom == 1 && z.offset_x == 0 && z.offset_y == 0) return;
  mouse_x = display_to_picture(mouse_x, z.offset_x, z.zoom, picture_w);
  mouse_y = display_to_picture(mouse_y, z.offset_y, z.zoom, picture_h);
}

namespace {
BITMAP* zoom_buffer = nullptr;  // the frame enlarged, before it goes to the target
}

void show_zoomed_frame(BITMAP* frame, BITMAP* target, int ox, int oy) {
  const DisplayZoom& z = display_zoom;
  if (z.zoom == 1) {
    blit(frame, target, 0, 0, z.offset_x + ox, z.offset_y + oy, frame->w, frame->h);
    return;
  }
  const int w = frame->w * z.zoom, h = frame->h * z.zoom;
  if (zoom_buffer && (zoom_buffer->w != w || zoom_buffer->h != h)) release_zoom_buffer();
  if (!zoom_buffer) zoom_buffer = create_bitmap_ex(8, w, h);
  if (!zoom_buffer) {  // no memory for the buffer: the library enlarges straight into the target
    stretch_blit(frame, target, 0, 0, frame->w, frame->h, z.offset_x + ox * z.zoom, z.offset_y + oy * z.zoom, w, h);
    return;
  }
  zoom_frame(frame, zoom_buffer, z.zoom);
  blit(zoom_buffer, target, 0, 0, z.offset_x + ox * z.zoom, z.offset_y + oy * z.zoom, w, h);
}

void release_zoom_buffer() {
  if (zoom_buffer) destroy_bitmap(zoom_buffer);
  zoom_buffer = nullptr;
}
