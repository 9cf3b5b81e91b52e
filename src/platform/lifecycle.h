// Start-up, the display and its two bitmaps, the frame presenter and the
// game clock, and the orderly or fatal end of the program.
#pragma once

#include <allegro.h>

#include <atomic>
#include <cstdint>

#include "platform/termination.h"  // close_requested

extern BITMAP* BackBuffer;   // the frame being composed
extern BITMAP* SceneBuffer;  // the static scene of the current screen
// The start of a frame's composition: the scene copied into the frame.
void copy_scene();
extern int screen_width;
extern int screen_height;
extern DATAFILE* MainDatafile;
extern DATAFILE* SoundDatafile;
// Whether a digital sound driver could be installed at start-up.
extern bool sound_installed;

// The values every board load seeds the game's random stream with: the
// board seed starts from the clock and grows by the vertical mouse
// movement plus one every frame, the board counter by the horizontal
// movement.
extern uint32_t board_seed;
extern uint32_t board_counter;

// Set by the layers above: called by present_frame before every frame is
// shown, it sets the frame's offsets on the screen (the screen shake) and
// does whatever else belongs to the start of a frame.
extern void (*prepare_frame_hook)(int* ox, int* oy);

// before_shutdown_hook (platform/termination.h) is run first thing in
// shutdown.

extern std::atomic<int> tick_count;       // 1/2400 s ticks not yet taken by a frame
extern std::atomic<int> pause_requested;  // set when the display is switched away
extern float frame_seconds;
extern float clock_seconds;
extern int pointer_visible;

enum { TICKS_PER_SECOND = 2400 };
extern const char* const MAIN_DATAFILE_NAME;   // "fgridgx.dat"
extern const char* const SOUND_DATAFILE_NAME;  // "fgridsfx.dat"

// Frames without a screen: when a driver is set, present_frame neither
// waits for the retrace nor touches the screen, the mouse driver or its
// mickeys. It hands every finished frame (with the shake offsets) to show
// instead, and takes the mouse movement of the frame from mickey_x and
// mickey_y. Tests and benchmarks use this to run frame loops frame by
// frame with scripted input and frame times.
struct FrameDriver {
  void (*show)(BITMAP* frame, int ox, int oy);
  int mickey_x;
  int mickey_y;
  // Called on every pass of a wait that shows no frame (a key held down
  // is waited out), where the library would otherwise be left to change
  // the key state.
  void (*wait)();
  // Called, after show, only for the frames that would be sent to the
  // screen: a frame identical to the last one sent, at the same offsets,
  // is not sent again.
  void (*send)(BITMAP* frame, int ox, int oy) = nullptr;
};
// One pass of a wait that shows no frame: a millisecond's rest, or the
// frame driver's wait.
void wait_without_frame();
extern FrameDriver* frame_driver;

// The library, the timer, keyboard, mouse and sound drivers, the player's
// settings, the display and the two datafiles; ends the program with a
// fatal error when one of them fails.
void start_up();
int set_display_mode(int windowed, int width, int height);
void load_datafiles();
[[noreturn]] void fatal_error(int code);
void present_frame();
// Whatever changes the screen outside present_frame (a new display mode, a
// clear of the screen) calls this, so that the next frame is sent even
// when it is identical to the last one sent.
void invalidate_sent_frame();
void update_frame_time();
// The game's ticks: once started, every update_frame_time adds to
// tick_count the whole ticks of the monotonic clock elapsed since the last
// one, carrying the part of a tick left over, so that no tick is lost.
// Without it (headless), tick_count holds only the ticks a test feeds.
void start_tick_clock();
void stop_tick_clock();
void reset_clock();
void shutdown();
const char* fatal_error_message(int code);  // nullptr for codes without a message

void on_window_close();
void on_switch_out();
