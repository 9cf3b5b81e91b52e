/* Figures of the real game in a window (run under Xvfb): the time from
 * process start until its picture shows, its resident memory, and its CPU
 * share while idle on its screen.
 *   game_figures [-s SETUP] [-l LABEL] GAME_DIR [SECONDS] [PROGRAM]
 * The game (or PROGRAM, for a baseline) is started in GAME_DIR; its picture
 * shows when the 800x600 window of its frames exists (the game opens on a
 * black title screen). SETUP, when given, is a shell command run after
 * that and before the measurement (to bring the game into the state
 * to measure); it finds the picture's top left corner on the root window in
 * FG_PICTURE_X and FG_PICTURE_Y. LABEL names the state in the CPU line.
 * Whether the picture changed during the measurement is printed too. */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

/* The picture's pixels, to tell whether it changed during a measurement. */
static unsigned long picture_hash(Display *d, Window picture) {
  XImage *img = XGetImage(d, picture, 0, 0, 800, 600, AllPlanes, ZPixmap);
  if (!img) return 0;
  unsigned long h = 1469598103934665603ul;
  for (int y = 0; y < 600; y++)
    for (int x = 0; x < 800; x++) h = (h ^ XGetPixel(img, x, y)) * 1099511628211ul;
  XDestroyImage(img);
  return h;
}

static double now(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec + ts.tv_nsec / 1e9;
}

static Window find_named(Display *d, Window w, const char *prefix) {
  char *name = NULL;
  if (XFetchName(d, w, &name) && name) {
    int match = strncmp(name, prefix, strlen(prefix)) == 0;
    XFree(name);
    if (match) return w;
  }
  Window root, parent, *kids = NULL;
  unsigned int n = 0;
  Window found = 0;
  if (XQueryTree(d, w, &root, &parent, &kids, &n)) {
    for (unsigned int i = 0; i < n && !found; i++) found = find_named(d, kids[i], prefix);
    if (kids) XFree(kids);
  }
  return found;
}

/* The viewable 800x600 window that shows the game's picture: its own
 * window when windowed, the centred child of the full-screen window. */
static Window find_picture(Display *d, Window w) {
  XWindowAttributes a;
  if (XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable && a.width == 800 && a.height == 600) return w;
  Window root, parent, *kids = NULL;
  unsigned int n = 0;
  Window found = 0;
  if (XQueryTree(d, w, &root, &parent, &kids, &n)) {
    for (unsigned int i = 0; i < n && !found; i++) found = find_picture(d, kids[i]);
    if (kids) XFree(kids);
  }
  return found;
}

static int ignore_x_errors(Display *d, XErrorEvent *e) {
  (void)d;
  (void)e;
  return 0;
}

static unsigned long cpu_ticks(pid_t pid) {
  char path[64], buf[1024];
  snprintf(path, sizeof path, "/proc/%d/stat", (int)pid);
  FILE *f = fopen(path, "r");
  if (!f) return 0;
  size_t n = fread(buf, 1, sizeof buf - 1, f);
  fclose(f);
  buf[n] = 0;
  char *p = strrchr(buf, ')');
  unsigned long utime = 0, stime = 0;
  if (p) sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime);
  return utime + stime;
}

static long rss_kb(pid_t pid) {
  char path[64], line[256];
  snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
  FILE *f = fopen(path, "r");
  long kb = -1;
  if (!f) return -1;
  while (fgets(line, sizeof line, f))
    if (sscanf(line, "VmRSS: %ld", &kb) == 1) break;
  fclose(f);
  return kb;
}

int main(int argc, char **argv) {
  const char *setup = NULL, *label = "idle on its screen";
  int opt;
  while ((opt = getopt(argc, argv, "s:l:")) != -1) {
    if (opt == 's') setup = optarg;
    else if (opt == 'l') label = optarg;
    else return 2;
  }
  argc -= optind - 1;
  argv += optind - 1;
  if (argc < 2) {
    fprintf(stderr, "usage: game_figures [-s SETUP] [-l LABEL] GAME_DIR [SECONDS] [PROGRAM]\n");
    return 2;
  }
  double seconds = argc > 2 ? atof(argv[2]) : 5.0;
  Display *d = XOpenDisplay(NULL);
  if (!d) {
    fprintf(stderr, "no display\n");
    return 1;
  }
  XSetErrorHandler(ignore_x_errors);
  double t0 = now();
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(argv[1]) != 0) _exit(127);
    const char *program = argc > 3 ? argv[3] : "./fusegrid";
    execl(program, program, (char *)NULL);
    _exit(127);
  }
  Window w = 0, picture = 0;
  double first_frame = -1;
  while (now() - t0 < 10.0) {
    if (!w) w = find_named(d, DefaultRootWindow(d), "FGrid");
    picture = w ? find_picture(d, DefaultRootWindow(d)) : 0;
    if (picture) {
      // The game opens on its (black) title screen: the first frame is
      // presented as the 800x600 picture appears.
      first_frame = now() - t0;
      break;
    }
    XSync(d, False);
    usleep(1000);
  }
  if (first_frame < 0) {
    fprintf(stderr, "no frame seen\n");
    kill(pid, SIGKILL);
    return 1;
  }
  sleep(1);
  if (setup) {
    int px = 0, py = 0;
    Window child;
    XTranslateCoordinates(d, picture, DefaultRootWindow(d), 0, 0, &px, &py, &child);
    char value[32];
    snprintf(value, sizeof value, "%d", px);
    setenv("FG_PICTURE_X", value, 1);
    snprintf(value, sizeof value, "%d", py);
    setenv("FG_PICTURE_Y", value, 1);
    if (system(setup) != 0) {
      printf("setup failed: %s\n", setup);
      kill(pid, SIGKILL);
      return 1;
    }
    sleep(1);
  }
  unsigned long h0 = picture_hash(d, picture);
  unsigned long c0 = cpu_ticks(pid);
  double w0 = now();
  usleep((useconds_t)(seconds * 1e6));
  unsigned long c1 = cpu_ticks(pid);
  double w1 = now();
  long rss = rss_kb(pid);
  int changed = picture_hash(d, picture) != h0;
  double share = 100.0 * (double)(c1 - c0) / (double)sysconf(_SC_CLK_TCK) / (w1 - w0);

  printf("game picture shown: %.3f s after process start (target under 0.3 s; the title then rests half a second)\n",
         first_frame);
  printf("resident memory: %.1f MB (target under 20 MB)\n", rss / 1024.0);
  printf("CPU share %s: %.1f %% of one core over %.0f s (picture %s meanwhile)\n", label, share, w1 - w0,
         changed ? "changed" : "unchanged");

  XEvent ev;
  memset(&ev, 0, sizeof ev);
  ev.xclient.type = ClientMessage;
  ev.xclient.window = w;
  ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
  XSendEvent(d, w, False, NoEventMask, &ev);
  XSync(d, False);
  int status = 0;
  waitpid(pid, &status, 0);
  XCloseDisplay(d);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}
