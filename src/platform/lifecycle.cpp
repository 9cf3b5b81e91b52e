#include "platform/lifecycle.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/datafile_check.h"
#include "platform/display_events.h"
#include "platform/display_zoom.h"
#include "platform/extra_settings.h"
#include "platform/game_paths.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "platform/termination.h"
#include "platform/window_identity.h"

BITMAP* BackBuffer = nullptr;
BITMAP* SceneBuffer = nullptr;
int screen_width = 0;
int screen_height = 0;
DATAFILE* MainDatafile = nullptr;
DATAFILE* SoundDatafile = nullptr;
bool sound_installed = false;
uint32_t board_seed = 0;
uint32_t board_counter = 0;
void (*prepare_frame_hook)(int* ox, int* oy) = nullptr;

void copy_scene() { blit(SceneBuffer, BackBuffer, 0, 0, 0, 0, SceneBuffer->w, SceneBuffer->h); }

std::atomic<int> tick_count{0};
std::atomic<int> pause_requested{0};
float frame_seconds = 0.0f;
float clock_seconds = 0.0f;
int pointer_visible = 0;
FrameDriver* frame_driver = nullptr;

// The frame rate: that of the retrace the library simulates on X11.
constexpr int RETRACES_PER_SECOND = 70;

const char* const MAIN_DATAFILE_NAME = "fgridgx.dat";
const char* const SOUND_DATAFILE_NAME = "fgridsfx.dat";

void on_window_close() { close_requested.store(1); }
END_OF_FUNCTION(on_window_close)

void on_switch_out() { pause_requested.store(1); }
END_OF_FUNCTION(on_switch_out)

const char* fatal_error_message(int code) {
  static const char* const messages[10] = {
      "ERROR 001 - Timer handler initialization failure.",
      "ERROR 002 - Keyboard handler initialization failure.",
      "ERROR 003 - Mouse handler initialization failure.",
      "ERROR 004 - Unable to initialize an 800x600 256 Color DirectX graphics mode.",
      "ERROR 005 - Unable to locate board layout datafiles. The shortcut used to run the program may need to be updated.",
      "ERROR 006 - No valid board data found. You may need to reinstall the game.",
      "ERROR 007 - Hotspot processing error while calculating board data.",
      "ERROR 008 - Click detection error in mouse routine.",
      "ERROR 009 - Unable to load main datafile.",
      "ERROR 010 - Unable to load sound data. (This is necessary even if no sound effect device is available.)"};
  if (code < 1 || code > 10) return nullptr;
  return messages[code - 1];
}

void fatal_error(int code) {
  allow_settings_save_on_termination(false);
  const char* message = fatal_error_message(code);
  // The message also goes to the error stream, where it is seen when no
  // message box can be shown.
  if (message) std::fprintf(stderr, "fusegrid: %s\n", message);
  if (system_driver) {
    set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    if (message) allegro_message("%s", message);
  }
  allegro_exit();
  std::exit(EXIT_STATUS_FAILURE);
}

namespace {

// A start-up failure that has no numbered message: said on the error
// stream, and the program ends with the failure status.
[[noreturn]] void start_up_failure(const char* what) {
  std::fprintf(stderr, "fusegrid: %s%s%s\n", what, allegro_error[0] ? ": " : "", allegro_error);
  allegro_exit();
  std::exit(EXIT_STATUS_FAILURE);
}

}  // namespace

namespace {

// Sets the display mode for a picture of width x height and the zoom it is
// shown at. At the window zoom 1 that is the picture's own size, windowed
// or full screen. Otherwise a window is the picture enlarged by the zoom
// chosen (as far as it fits the desktop), and full screen takes the
// desktop's size with the picture enlarged as far as it fits and centred.
// A zoomed mode the driver refuses falls back to the picture's own size.
bool set_zoomed_mode(int windowed, int width, int height) {
  const int card = windowed ? GFX_AUTODETECT_WINDOWED : GFX_AUTODETECT_FULLSCREEN;
  const int choice = extra_settings.window_zoom;
  display_zoom = DisplayZoom{1, 0, 0};
  if (choice != 1) {
    int desk_w = 0, desk_h = 0;
    if (get_desktop_resolution(&desk_w, &desk_h) != 0) desk_w = desk_h = 0;
    if (windowed) {
      const int zoom = window_zoom_for(choice, width, height, desk_w, desk_h);
      if (zoom > 1 && set_gfx_mode(card, width * zoom, height * zoom, 0, 0) == 0) {
        display_zoom = DisplayZoom{zoom, 0, 0};
        return true;
      }
    } else if (desk_w >= width && desk_h >= height && set_gfx_mode(card, desk_w, desk_h, 0, 0) == 0) {
      const int zoom = largest_fitting_zoom(width, height, SCREEN_W, SCREEN_H);
      display_zoom = DisplayZoom{zoom, centred_offset(SCREEN_W, width, zoom), centred_offset(SCREEN_H, height, zoom)};
      return true;
    }
  }
  return set_gfx_mode(card, width, height, 0, 0) == 0;
}

}  // namespace

int set_display_mode(int windowed, int width, int height) {
  // The old window loses the focus when the mode changes. That switch-out
  // is the game's own doing, not the player's: the library handles it on
  // its event thread, during set_gfx_mode or just after, so the callback
  // is off until every event of the change has been handled.
  remove_display_switch_callback(on_switch_out);
  set_color_depth(8);
  if (!set_zoomed_mode(windowed, width, height)) return 0;
  mark_game_window();
  settle_display_events();
  clear_to_color(screen, 0);
  invalidate_sent_frame();
  if (BackBuffer) destroy_bitmap(BackBuffer);
  if (SceneBuffer) destroy_bitmap(SceneBuffer);
  BackBuffer = create_bitmap_ex(8, width, height);
  SceneBuffer = create_bitmap_ex(8, width, height);
  if (!BackBuffer || !SceneBuffer) fatal_error(4);
  clear_to_color(BackBuffer, 0);
  clear_to_color(SceneBuffer, 0);
  screen_width = width;
  screen_height = height;
  set_display_switch_mode(SWITCH_BACKGROUND);
  set_display_switch_callback(SWITCH_OUT, on_switch_out);
  // The library has just set the pointer's range and position in display
  // pixels.
  if (display_zoom.zoom != 1 || display_zoom.offset_x != 0 || display_zoom.offset_y != 0) {
    poll_mouse();
    map_pointer_to_picture(width, height);
  }
  return 1;
}

void load_datafiles() {
  // Files are checked before and after loading, so a damaged file is
  // reported like a missing one instead of crashing the game.
  MainDatafile = load_checked_datafile(data_path(MAIN_DATAFILE_NAME).c_str());
  if (MainDatafile && !main_datafile_is_complete(MainDatafile)) {
    unload_datafile(MainDatafile);
    MainDatafile = nullptr;
  }
  if (!MainDatafile) fatal_error(9);
  SoundDatafile = load_checked_datafile(data_path(SOUND_DATAFILE_NAME).c_str());
  if (SoundDatafile && !sound_datafile_is_complete(SoundDatafile)) {
    unload_datafile(SoundDatafile);
    SoundDatafile = nullptr;
  }
  if (!SoundDatafile) fatal_error(10);
}

void start_up() {
  install_termination_handlers();
  if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0)
    start_up_failure("cannot start: no display could be opened (is DISPLAY set?)");
  set_display_switch_mode(SWITCH_BACKAMNESIA);
  name_game_window();
  if (system_driver->set_close_button_callback) set_close_button_callback(on_window_close);

  if (install_timer() != 0) fatal_error(1);
  start_tick_clock();
  if (install_keyboard() != 0) fatal_error(2);
  if (install_mouse() == -1) fatal_error(3);
  // The game follows the system pointer where it is instead of trapping
  // it in the window and counting its movement; the pointer picture is
  // still the game's own, drawn into every frame.
  enable_hardware_cursor();
  clear_keybuf();

  reserve_voices(16, 0);
  sound_installed = install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) == 0;

  load_settings_at_start();
  allow_settings_save_on_termination();

  if (!set_display_mode(settings.windowed, 800, 600)) {
    settings.windowed = settings.windowed == 1 ? 0 : 1;
    if (!set_display_mode(settings.windowed, 800, 600)) fatal_error(4);
  }
  load_datafiles();
  board_seed = static_cast<uint32_t>(std::time(nullptr));
  board_counter = 0;
}

void wait_without_frame() {
  if (frame_driver) {
    if (frame_driver->wait) frame_driver->wait();
  } else {
    rest(1);
  }
}

namespace {
const long long NS_PER_SECOND = 1000000000LL;

long long monotonic_ns() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * NS_PER_SECOND + now.tv_nsec;
}

bool ticks_from_clock = false;
long long tick_origin_ns = 0;
long long ticks_taken = 0;  // whole ticks since tick_origin_ns already added

long long ticks_since_origin() { return (monotonic_ns() - tick_origin_ns) * TICKS_PER_SECOND / NS_PER_SECOND; }
}  // namespace

void start_tick_clock() {
  tick_origin_ns = monotonic_ns();
  ticks_taken = 0;
  ticks_from_clock = true;
}

void stop_tick_clock() { ticks_from_clock = false; }

void update_frame_time() {
  if (ticks_from_clock) {
    const long long total = ticks_since_origin();
    tick_count.fetch_add(static_cast<int>(total - ticks_taken));
    ticks_taken = total;
  }
  frame_seconds = static_cast<float>(tick_count.exchange(0)) * 0.00041666668f;
  clock_seconds += frame_seconds;
}

void reset_clock() { clock_seconds = 0.0f; }

// The last frame sent to the screen and its offsets. A frame sent is
// converted to the window's format and handed to the X server; comparing
// it with this copy instead costs about as much as one copy of the frame.
namespace {
BITMAP* sent_frame = nullptr;
int sent_ox = 0, sent_oy = 0;
bool sent_frame_valid = false;

// Whether the frame differs from the last one sent (then it becomes the
// last one sent).
bool frame_is_new(BITMAP* frame, int ox, int oy) {
  const size_t row = static_cast<size_t>(frame->w);
  int y = 0;
  if (sent_frame_valid && sent_frame->w == frame->w && sent_frame->h == frame->h && sent_ox == ox && sent_oy == oy) {
    while (y < frame->h && std::memcmp(frame->line[y], sent_frame->line[y], row) == 0) y++;
    if (y == frame->h) return false;
  } else {
    if (sent_frame && (sent_frame->w != frame->w || sent_frame->h != frame->h)) {
      destroy_bitmap(sent_frame);
      sent_frame = nullptr;
    }
    if (!sent_frame) sent_frame = create_bitmap_ex(8, frame->w, frame->h);
    if (!sent_frame) {  // nothing to compare with: every frame is sent
      sent_frame_valid = false;
      return true;
    }
  }
  for (; y < frame->h; y++) std::memcpy(sent_frame->line[y], frame->line[y], row);
  sent_ox = ox;
  sent_oy = oy;
  sent_frame_valid = true;
  return true;
}
}  // namespace

void invalidate_sent_frame() { sent_frame_valid = false; }

namespace {
long long last_retrace_ns = 0;

// The frame pace: on X11 the library's vsync waits for a retrace that its
// timer thread simulates at 70 Hz and polls for once a millisecond. The
// same pace costs nothing here: sleep until the next simulated retrace,
// the first one due after now on the same 70 Hz beat.
void wait_for_retrace() {
  const long long period = NS_PER_SECOND / RETRACES_PER_SECOND;
  const long long now = monotonic_ns();
  long long due = last_retrace_ns + period;
  if (due <= now) due += (now - due) / period * period + period;
  last_retrace_ns = due;
  const timespec at{static_cast<time_t>(due / NS_PER_SECOND), static_cast<long>(due % NS_PER_SECOND)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
  }
}
}  // namespace

void present_frame() {
  int dx = 0, dy = 0;
  if (frame_driver) {
    dx = frame_driver->mickey_x;
    dy = frame_driver->mickey_y;
  } else {
    get_mouse_mickeys(&dx, &dy);
  }
  board_seed += static_cast<uint32_t>(dy) + 1u;
  board_counter += static_cast<uint32_t>(dx);

  if (close_requested.load()) {
    shutdown();
    end_after_close_request();
  }
  int ox = 0, oy = 0;
  if (prepare_frame_hook) prepare_frame_hook(&ox, &oy);
  if (pointer_visible && MainDatafile)
    draw_sprite(BackBuffer, static_cast<BITMAP*>(MainDatafile[OBJ_POINTER].dat), mouse_x, mouse_y);

  if (frame_driver) {
    const bool fresh = frame_is_new(BackBuffer, ox, oy);
    if (frame_driver->show) frame_driver->show(BackBuffer, ox, oy);
    if (fresh && frame_driver->send) frame_driver->send(BackBuffer, ox, oy);
  } else {
    wait_for_retrace();
    if (frame_is_new(BackBuffer, ox, oy)) {
      acquire_bitmap(screen);
      show_zoomed_frame(BackBuffer, screen, ox, oy);
      release_bitmap(screen);
    }
    poll_mouse();
    map_pointer_to_picture(BackBuffer->w, BackBuffer->h);
  }
  update_frame_time();
}

void shutdown() {
  run_before_shutdown_hook();
  write_settings_guarded();
  if (BackBuffer) destroy_bitmap(BackBuffer);
  if (SceneBuffer) destroy_bitmap(SceneBuffer);
  BackBuffer = nullptr;
  SceneBuffer = nullptr;
  if (sent_frame) destroy_bitmap(sent_frame);
  sent_frame = nullptr;
  sent_frame_valid = false;
  release_zoom_buffer();
  allegro_exit();
}
