// What the rules report. A player action or a rule step changes the Board
// and the GameSession and posts, in the order it happened, every change
// the screens have to show or play; the rules themselves never draw, play
// a sound, open a prompt or load a board. The screen that called them
// takes the events and acts on them before it composes its next frame.
#pragma once

#include <cstdint>
#include <vector>

enum GameEventKind : uint8_t {
  EVENT_CELL_CHANGED,       // a cell looks different: draw it again
  EVENT_CELL_UNCOVERED,     // a click, chord, cascade or the verdict uncovered a cell (value: its content then)
  EVENT_FIREWORK,           // a firework of the end-of-board sequence, over a cell
  EVENT_SOUND,              // a sound effect (value: the SoundEffect)
  EVENT_BOARD_CHANGED,      // the whole board looks different: draw it again
  EVENT_PLAY_ENDED,         // the board takes no more clicks
  EVENT_ONE_CLICK_BOARD,    // the board was cleared by its first click: the notice says so
  EVENT_NEXT_BOARD,         // the next board of an Endurance run is due
  EVENT_GAME_ENDED          // the game is over (value: 1 won, 0 lost); an Endurance run ends only with its time
};

struct GameEvent {
  GameEventKind kind;
  int16_t cell;   // the cell concerned, or -1
  int32_t value;  // see the kinds
};

void post_event(GameEventKind kind, int cell = -1, int value = 0);

// Every event posted since the last take, oldest first; the queue is then
// empty. The list stays valid until the next take.
const std::vector<GameEvent>& take_events();

// Drops every event not yet taken.
void clear_events();
