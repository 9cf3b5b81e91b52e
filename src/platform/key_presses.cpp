#include "platform/key_presses.h"

#include <allegro.h>

#include <atomic>

namespace {

std::atomic<bool> pressed[KEY_MAX];

}  // namespace

void note_key_event(int scancode) {
  const int code = scancode & 0x7f;
  const bool release = (scancode & 0x80) != 0;
  if (code <= 0 || code >= KEY_MAX) return;
  if (!release || code == KEY_PAUSE) pressed[code].store(true);
}
END_OF_FUNCTION(note_key_event)

bool take_key_press(int scancode) {
  if (scancode <= 0 || scancode >= KEY_MAX) return false;
  return pressed[scancode].exchange(false);
}

void forget_key_presses() {
  for (std::atomic<bool>& p : pressed) p.store(false);
}

void watch_key_presses() {
  LOCK_FUNCTION(note_key_event);
  LOCK_VARIABLE(pressed);
  keyboard_lowlevel_callback = note_key_event;
}
