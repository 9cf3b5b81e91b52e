// The game setup dialogs: game mode and skill level together (after a new
// board has been chosen), the game mode alone, the skill level alone, and
// the Endurance time limit. Modes and levels are picture check boxes of
// which exactly one per group is chosen. The dialogs change game.mode,
// game.skill and game.endurance_minutes only when a choice is accepted.
#pragma once

// 1 when accepted, 0 when cancelled. Accepting Endurance opens the time
// limit dialog before returning 1.
int choose_mode_and_skill();
int choose_game_mode();
// 1 when accepted, 0 when cancelled; never opens the time limit dialog.
int choose_skill_level();

// Sets game.endurance_minutes to 10, 20 or 30, or leaves it when the
// dialog is closed with Esc.
void choose_time_limit();
