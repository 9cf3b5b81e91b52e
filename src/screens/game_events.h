// The screens' side of play: what the rules report becomes pictures,
// sound, prompts and board loads here, and the game's session is started.
#pragma once

#include "rules/random.h"

struct AreaButton;

// Shows the "One moment please..." notice at the start of every board
// load (nothing is shown while it is unset). start_game sets it.
extern void (*show_wait_notice_hook)();

// Loads a board for play (see load_board): the notice first, the new-game
// sound after a load. A new game's board is made no-guess when the player
// chose so and the mode allows it (the next board of an Endurance run
// follows the first). A style whose hit grid overflows ends the program
// with its fatal error. 1 when the board was loaded.
int load_board_for_play(const char* file_name, int pattern, int continuation);
// The same with the game stream started at a given state (a game ID's).
int load_board_for_play(const char* file_name, int pattern, const Random& stream);

// What the player is told when a no-guess board's budget of work runs out
// (NO_GUESS_WORK_BUDGET, rules/no_guess.h) before it is guess-free.
extern const char* const NO_GUESS_TIMED_OUT;
// "No-guess boards are not made in <mode>.", for the mode in play.
const char* no_guess_unsupported_message();

// The stream of what is drawn every frame whatever the rules do: the
// colour steps of live particles and the offsets of the screen shake. It
// starts where each board's mines were laid, and the rules never draw from
// it, so how many frames pass never changes a board.
extern Random frame_random;

// Takes the events the rules posted and acts on them in their order:
// cells and the board drawn again into the SceneBuffer, bursts, flashes,
// the screen shake, sounds, the one-click notice, the next Endurance board.
// The board area stops taking clicks when play ends (nullptr: no area).
void act_on_game_events(AreaButton* board_area);

// The start of every frame: the per-frame sound flags cleared, and the
// screen shake's offsets.
void prepare_frame(int* ox, int* oy);

// After start_up: the game's session, its random streams and sound state,
// and the hooks by which the layers below reach the screens (the frame's
// start, the notice of a board load, what is kept at shutdown).
void start_game();
