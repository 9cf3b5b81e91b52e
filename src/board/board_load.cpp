#include "board/board_load.h"

#include <algorithm>
#include <cstring>

#include "platform/datafile_check.h"
#include "platform/lifecycle.h"
#include "board/geometry.h"
#include "board/style_file.h"
#include "rules/board_state.h"
#include "rules/mines.h"
#include "rules/modes.h"
#include "rules/random.h"
#include "sound/sound.h"

DATAFILE* style_datafile = nullptr;
int style_shape_count = 0;
int style_pattern_count = 0;
int current_board_index = -1;
void (*show_wait_notice_hook)() = nullptr;

namespace {

uint32_t pattern_record(const uint8_t* layout, int pattern) {
  return read_u32(layout, read_u32(layout, 0x26) + 4u * static_cast<uint32_t>(pattern));
}

}  // namespace

int load_board(const char* file_name, int pattern, int continuation) {
  // 1. The notice; the UI sets the hook.
  if (show_wait_notice_hook) show_wait_notice_hook();

  // Everything that can fail is checked before anything changes.
  DATAFILE* fresh = nullptr;
  if (!continuation) {
    if (!file_name || pattern < 0) return 0;
    fresh = load_checked_datafile(file_name);
    if (!fresh) return 0;
    if (!validate_style(fresh) || pattern >= read_u8(style_layout(fresh, nullptr), 0x21)) {
      unload_datafile(fresh);
      return 0;
    }
  } else if (!style_datafile || pattern < 0 || pattern >= style_pattern_count) {
    return 0;
  }

  // 2. Counters of every board.
  game.mines_left = game.level2_left = game.level3_left = 0;
  game.first_cell = -1;
  game.board_mines_hit = 0;
  game.face = 210;

  // 3. A new game: its counters, the style file and its shapes.
  if (!continuation) {
    game.mines_hit = 0;
    game.score = game.mode == MEGAMINE ? 10000 : 0;
    game.game_time = game.mode == ENDURANCE ? 60.0f * static_cast<float>(game.endurance_minutes) : 0.0f;
    game.penalty_time = 0.0f;
    game.boards_played = 0;
    game.megamine_clock = 0.0f;
    game.damage = 0;
    if (style_datafile) unload_datafile(style_datafile);
    style_datafile = fresh;
    char name[sizeof board_file_name] = {};
    std::strncpy(name, file_name, sizeof name - 1);  // the caller may pass board_file_name itself
    std::memcpy(board_file_name, name, sizeof name);
    current_board_index = pattern;
    const uint8_t* layout = style_layout(style_datafile, nullptr);
    style_shape_count = read_u8(layout, 0x20);
    style_pattern_count = read_u8(layout, 0x21);
    shape_count = style_shape_count;
    const uint32_t shape_table = read_u32(layout, 0x22);
    for (int s = 0; s < style_shape_count; s++)
      build_shape_info(s, layout, read_u32(layout, shape_table + 4u * static_cast<uint32_t>(s)));
  }
  const uint8_t* layout = style_layout(style_datafile, nullptr);
  const uint32_t record = pattern_record(layout, pattern);

  // 4. The board's random state.
  set_seed(board_seed);
  set_counter(board_counter);

  // 5, 6. A fresh board, centred in the board area.
  init_board();
  const RLE_SPRITE* picture = board_picture(pattern);
  board.origin_x = static_cast<int16_t>((BOARD_AREA_WIDTH - picture->w) / 2 + BOARD_AREA_X);
  board.origin_y = static_cast<int16_t>((BOARD_AREA_HEIGHT - picture->h) / 2 + BOARD_AREA_Y);

  // 7, 8. Names and cells.
  board.cell_count = static_cast<int16_t>(read_u16(layout, record + 0x20));
  std::memcpy(board.style_name, layout, STYLE_NAME_SIZE);
  std::memcpy(board.pattern_name, layout + record, STYLE_NAME_SIZE);
  for (int i = 0; i < board.cell_count; i++) {
    const uint32_t at = record + PATTERN_RECORD_HEADER + 4u * static_cast<uint32_t>(i);
    place_cell(i, read_u8(layout, at), read_u8(layout, at + 1), read_u8(layout, at + 2), board.origin_x,
               board.origin_y);
  }

  // 9. Geometry.
  hit_grid.grid_origin_x = board.origin_x;
  hit_grid.grid_origin_y = board.origin_y;
  hit_grid.grid_columns = picture->w / 8;
  hit_grid.grid_rows = picture->h / 8;
  if (!build_hit_grid()) fatal_error(7);  // validation refuses such styles
  build_neighbours();

  // 10, 11. Mines and clues.
  const int skill = std::max(0, std::min<int>(game.skill, 3));
  const int mines = game.mode == MEGAMINE
                        ? read_u8(layout, record + 0x2A + static_cast<uint32_t>(skill))
                        : static_cast<int16_t>(read_u16(layout, record + 0x22 + 2u * static_cast<uint32_t>(skill)));
  game.mines_total = mines;
  game.mines_left = mines;
  game.cells_hidden = board.cell_count;
  lay_mines();

  // 12 to 15.
  set_status_row(game.mode);
  save_stream(STREAM_EFFECTS);
  save_stream(STREAM_SMILEY);
  play_effect(SFX_NEW_GAME);
  game.phase = PLAYING;
  return 1;
}

BITMAP* hidden_picture(int shape) {
  if (!style_datafile || shape < 0 || shape >= style_shape_count) return nullptr;
  return static_cast<BITMAP*>(style_datafile[1 + shape].dat);
}

BITMAP* revealed_picture(int shape) {
  if (!style_datafile || shape < 0 || shape >= style_shape_count) return nullptr;
  return static_cast<BITMAP*>(style_datafile[style_shape_count + 1 + shape].dat);
}

BITMAP* exploded_picture(int shape) {
  if (!style_datafile || shape < 0 || shape >= style_shape_count) return nullptr;
  return static_cast<BITMAP*>(style_datafile[2 * style_shape_count + 1 + shape].dat);
}

RLE_SPRITE* board_picture(int pattern) {
  if (!style_datafile || pattern < 0 || pattern >= style_pattern_count) return nullptr;
  return static_cast<RLE_SPRITE*>(style_datafile[3 * style_shape_count + 1 + pattern].dat);
}
