#include "rules/events.h"

namespace {
// Events are posted into one buffer and taken by swapping it with the
// other, so that both keep their room from one frame to the next.
std::vector<GameEvent> queue, taken;
}  // namespace

void post_event(GameEventKind kind, int cell, int value) {
  queue.push_back(GameEvent{kind, static_cast<int16_t>(cell), static_cast<int32_t>(value)});
}

const std::vector<GameEvent>& take_events() {
  taken.clear();
  taken.swap(queue);
  return taken;
}

void clear_events() { queue.clear(); }
