#include "rules/events.h"

#include <utility>

namespace {
std::vector<GameEvent> queue;
}  // namespace

void post_event(GameEventKind kind, int cell, int value) {
  queue.push_back(GameEvent{kind, static_cast<int16_t>(cell), static_cast<int32_t>(value)});
}

std::vector<GameEvent> take_events() {
  std::vector<GameEvent> taken;
  taken.swap(queue);
  return taken;
}

void clear_events() { queue.clear(); }
