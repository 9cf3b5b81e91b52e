// Fusegrid: a mine-sweeping puzzle game on boards of cells of any shape.
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "board/game_id.h"
#include "platform/extra_settings.h"
#include "platform/game_paths.h"
#include "platform/lifecycle.h"
#include "platform/settings.h"
#include "platform/termination.h"
#include "scores/scores.h"
#include "screens/command_line.h"
#include "screens/game_events.h"
#include "screens/game_id_play.h"
#include "screens/high_scores.h"
#include "screens/main_screen.h"
#include "screens/title.h"
#include "ui/prompts.h"

namespace {

// What was printed on standard output reached it: else it is said, and the
// status is that of a failure.
int with_output_written(int status) {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
  std::fprintf(stderr, "fusegrid: the output could not be written: %s\n", std::strerror(errno));
  return EXIT_STATUS_FAILURE;
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine line;
  switch (parse_command_line(argc, argv, line, stdout, stderr)) {
    case COMMAND_LINE_RUN: break;
    case COMMAND_LINE_ANSWERED: return with_output_written(0);
    case COMMAND_LINE_REFUSED: return EXIT_STATUS_BAD_COMMAND_LINE;
  }
  // The folders of the datafiles and of the player's files, before any of
  // them is read.
  init_game_paths(argc > 0 ? argv[0] : nullptr);
  if (line.describe_id) {
    const int status = describe_game(line.describe_id, line.first_cell, stdout, stderr);
    return status == 0 ? with_output_written(0) : status;
  }
  GameId start_id{};
  if (line.game_id) {
    const GameIdError error = read_game_id(line.game_id, start_id);
    if (error != GAME_ID_OK) {
      std::fprintf(stderr, "fusegrid: %s\n", game_id_message(error));
      return EXIT_STATUS_BAD_COMMAND_LINE;
    }
    // A board that cannot be played is said before any window opens.
    if (const int status = check_start_game_id(start_id, stderr)) return status;
  }
  // What a game ended in the middle of a write left behind.
  const char* const own_files[] = {SETTINGS_FILE_NAME, EXTRA_SETTINGS_FILE_NAME, SCORES_FILE_NAME};
  remove_stale_user_temp_files(own_files, 3);

  start_up();
  start_game();
  // A damaged scores file is told of for a while in the menu bar.
  if (const char* message = load_high_scores()) show_status_message_at_start(message, 15.0f);
  run_title_sequence();
  run_press_any_key();
  pointer_visible = 1;
  pause_requested = 0;
  if (line.game_id) {
    const GameIdError error = play_game_id(start_id);
    if (error != GAME_ID_OK) prompt_any_key(480, game_id_message(error));
  }
  run_main_screen();
  shutdown();
  return 0;
}
END_OF_MAIN()
