// The cost of telling whether a frame needs sending: present_frame with a
// frame driver (no screen), for a frame identical to the last one sent
// (compared whole, not sent) and a frame changed in its first row
// (compared one row, copied whole, sent). BM_SceneCopyBaseline (one
// 800x600 copy) is the yardstick.
#include <allegro.h>
#include <benchmark/benchmark.h>

#include "platform/display_zoom.h"
#include "platform/lifecycle.h"
#include "bench/bench_support.h"
#include "render/effects.h"
#include "rules/board_state.h"

namespace {

int frames_sent = 0;
void count_sent(BITMAP*, int, int) { frames_sent++; }

void present_frames(benchmark::State& state, bool change) {
  if (!ensure_game_screen()) {
    state.SkipWithError("fgridgx.dat not found: run from the game folder");
    return;
  }
  FrameDriver driver{nullptr, 0, 0, nullptr};
  driver.send = count_sent;
  frame_driver = &driver;
  screen_shake = 0.0f;
  pointer_visible = 0;
  clear_to_color(BackBuffer, 88);
  invalidate_sent_frame();
  present_frame();
  frames_sent = 0;
  int colour = 0;
  for (auto _ : state) {
    if (change) putpixel(BackBuffer, 0, 0, colour ^= 1);
    present_frame();
    benchmark::ClobberMemory();
  }
  frame_driver = nullptr;
  state.counters["sent"] = benchmark::Counter(frames_sent, benchmark::Counter::kAvgIterations);
}

void BM_PresentUnchangedFrame(benchmark::State& state) { present_frames(state, false); }
BENCHMARK(BM_PresentUnchangedFrame)->Unit(benchmark::kMicrosecond);

void BM_PresentChangedFrame(benchmark::State& state) { present_frames(state, true); }
BENCHMARK(BM_PresentChangedFrame)->Unit(benchmark::kMicrosecond);

void patterned(BITMAP* frame) {
  for (int y = 0; y < frame->h; y++)
    for (int x = 0; x < frame->w; x++) putpixel(frame, x, y, (x * 7 + y * 13) & 255);
}

void BM_EnlargeByLoop(benchmark::State& state) {
  const int zoom = static_cast<int>(state.range(0));
  ensure_allegro();
  BITMAP* frame = create_bitmap_ex(8, 800, 600);
  BITMAP* target = create_bitmap_ex(8, 800 * zoom, 600 * zoom);
  patterned(frame);
  for (auto _ : state) {
    zoom_frame(frame, target, zoom);
    benchmark::ClobberMemory();
  }
  destroy_bitmap(target);
  destroy_bitmap(frame);
}
BENCHMARK(BM_EnlargeByLoop)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

void BM_EnlargeByStretchBlit(benchmark::State& state) {
  const int zoom = static_cast<int>(state.range(0));
  ensure_allegro();
  BITMAP* frame = create_bitmap_ex(8, 800, 600);
  BITMAP* target = create_bitmap_ex(8, 800 * zoom, 600 * zoom);
  patterned(frame);
  for (auto _ : state) {
    stretch_blit(frame, target, 0, 0, 800, 600, 0, 0, 800 * zoom, 600 * zoom);
    benchmark::ClobberMemory();
  }
  destroy_bitmap(target);
  destroy_bitmap(frame);
}
BENCHMARK(BM_EnlargeByStretchBlit)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

void BM_ShowFrameAtZoom(benchmark::State& state) {
  const int zoom = static_cast<int>(state.range(0));
  ensure_allegro();
  BITMAP* frame = create_bitmap_ex(8, 800, 600);
  BITMAP* display = create_bitmap_ex(8, 800 * zoom, 600 * zoom);
  patterned(frame);
  display_zoom = DisplayZoom{zoom, 0, 0};
  for (auto _ : state) {
    show_zoomed_frame(frame, display, 0, 0);
    benchmark::ClobberMemory();
  }
  display_zoom = DisplayZoom{1, 0, 0};
  release_zoom_buffer();
  destroy_bitmap(display);
  destroy_bitmap(frame);
}
BENCHMARK(BM_ShowFrameAtZoom)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

}  // namespace
