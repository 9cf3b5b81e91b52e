// The player's actions on the board: revealing a cell, the auto-reveal
// cascade that opens empty regions ring by ring, cycling flags and '?'
// marks, and chording a satisfied clue. Every action changes the Board and
// the GameSession and reports what the player should see and hear (see
// rules/events.h); a cleared board shows in game.phase.
#pragma once

// The cascade delay, the "Chain Reaction Speed" setting in seconds
// (0.1, 0.075, 0.05 or 0 for "Instant").
float auto_reveal_delay();

// Uncovers a HIDDEN or QUESTION cell (anything else, and -1, is left
// alone). wave is 1 for a click or a chord and 2 inside the cascade; sound
// is the SoundEffect to play (SFX_EXPLOSION instead when the cell is a
// mine). The board's first reveal clears the first click's zone first.
void reveal_cell(int cell, int wave, int sound);

// One ring of the cascade: every cell marked to open its neighbours (wave
// 1) reveals them. With the "Instant" delay it goes on ring after ring
// until the whole region is open. A cascade still waiting when the board is
// no longer being played is dropped.
void auto_reveal_step();

// Right button: HIDDEN -> flag (levels 1, 2, 3 in Multi-Mine) -> '?' mark
// (when the setting is on) -> HIDDEN, keeping the mine counters. The modes
// that allow no flags (flags_allowed) leave it out in the caller.
void cycle_flag(int cell);

// Both buttons (or the middle one) on a revealed clue: when the flags and
// exploded mines around it add up to the clue, every neighbour is
// revealed. Nothing in the modes that allow no chord (chord_allowed).
void chord(int cell);
