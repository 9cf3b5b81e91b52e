/* Waits until the screen shows the game's pointer with its tip at a point
 * of the root window: the pointer's left edge is a dark line with a light
 * triangle right of it (row r of the 11x11 square: dark at 0, light from 1
 * to r-1, dark at r). Exits 0 once it shows, 1 when it did not show within
 * the time given (milliseconds; 0 looks once). With a zoom, the picture
 * is shown enlarged: each pixel of the square is a ZOOM x ZOOM block,
 * all of it alike.
 *   pointer_at X Y [MILLISECONDS [ZOOM]] */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static int channel(unsigned long pixel, unsigned long mask) {
  if (!mask) return 0;
  while (!(mask & 1)) {
    mask >>= 1;
    pixel >>= 1;
  }
  return (int)((pixel & mask) * 255 / mask);
}

static int shows_pointer(Display *d, int x, int y, int zoom) {
  XImage *img = XGetImage(d, DefaultRootWindow(d), x, y, 11 * zoom, 11 * zoom, AllPlanes, ZPixmap);
  if (!img) return 0;
  int ok = 1;
  for (int r = 0; r < 11 && ok; r++) {
    for (int c = 0; c <= r && ok; c++) {
      for (int k = 0; k < zoom * zoom && ok; k++) {
        unsigned long p = XGetPixel(img, c * zoom + k % zoom, r * zoom + k / zoom);
        int sum = channel(p, img->red_mask) + channel(p, img->green_mask) + channel(p, img->blue_mask);
        ok = (c == 0 || c == r) ? sum <= 150 : sum >= 600;
      }
    }
  }
  XDestroyImage(img);
  return ok;
}

/* A point off the screen is no pointer, not the end of the program. */
static int ignore_error(Display *d, XErrorEvent *e) {
  (void)d;
  (void)e;
  return 0;
}

int main(int argc, char **argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: %s X Y [MILLISECONDS [ZOOM]]\n", argv[0]);
    return 2;
  }
  Display *d = XOpenDisplay(NULL);
  if (!d) {
    fprintf(stderr, "cannot open the display\n");
    return 2;
  }
  XSetErrorHandler(ignore_error);
  const int x = atoi(argv[1]), y = atoi(argv[2]);
  const long limit_ms = argc > 3 ? atol(argv[3]) : 0;
  const int zoom = argc > 4 && atoi(argv[4]) > 1 ? atoi(argv[4]) : 1;
  struct timespec start, now, pause = {0, 2000000};
  clock_gettime(CLOCK_MONOTONIC, &start);
  int found;
  for (;;) {
    found = shows_pointer(d, x, y, zoom);
    clock_gettime(CLOCK_MONOTONIC, &now);
    long ms = (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
    if (found || ms >= limit_ms) break;
    nanosleep(&pause, NULL);
  }
  XCloseDisplay(d);
  return found ? 0 : 1;
}
