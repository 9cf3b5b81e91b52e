#include "board/board_load.h"

#include <algorithm>
#include <cstring>

#include "board/geometry.h"
#include "board/loaded_style.h"
#include "board/style_file.h"
#include "platform/datafile_check.h"
#include "platform/game_paths.h"
#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "rules/board_state.h"
#include "rules/mines.h"
#include "rules/modes.h"
#include "rules/random.h"

int current_board_index = -1;
char board_file_name[16] = "fgboards.dat";
int boards_loaded = 0;

namespace {

uint32_t pattern_record(const uint8_t* layout, int pattern) {
  return read_u32(layout, read_u32(layout, 0x26) + 4u * static_cast<uint32_t>(pattern));
}

void reset_board_counters() {
  game.mines_left = game.level2_left = game.level3_left = 0;
  game.first_cell = -1;
  game.board_mines_hit = 0;
  game.face = OBJ_FACE_NEUTRAL;
}

// A new game: its counters, the style file and its shapes.
void start_game_on_style(DATAFILE* fresh, const char* file_name, int pattern) {
  game.mines_hit = 0;
  game.score = game.mode == MEGAMINE ? 10000 : 0;
  game.game_time = game.mode == ENDURANCE ? 60.0f * static_cast<float>(game.endurance_minutes) : 0.0f;
  game.penalty_time = 0.0f;
  game.boards_played = 0;
  game.megamine_clock = 0.0f;
  game.damage = 0;
  game.hinted = false;
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

// The cells of a pattern, centred in the board area, with their geometry.
bool place_pattern_cells(const uint8_t* layout, uint32_t record, int pattern) {
  init_board();
  const RLE_SPRITE* picture = board_picture(pattern);
  board.origin_x = static_cast<int16_t>((BOARD_AREA_WIDTH - picture->w) / 2 + BOARD_AREA_X);
  board.origin_y = static_cast<int16_t>((BOARD_AREA_HEIGHT - picture->h) / 2 + BOARD_AREA_Y);

  board.cell_count = static_cast<int16_t>(read_u16(layout, record + 0x20));
  std::memcpy(board.style_name, layout, STYLE_NAME_SIZE);
  std::memcpy(board.pattern_name, layout + record, STYLE_NAME_SIZE);
  for (int i = 0; i < board.cell_count; i++) {
    const uint32_t at = record + PATTERN_RECORD_HEADER + 4u * static_cast<uint32_t>(i);
    place_cell(i, read_u8(layout, at), read_u8(layout, at + 1), read_u8(layout, at + 2), board.origin_x,
               board.origin_y);
  }

  hit_grid.grid_origin_x = board.origin_x;
  hit_grid.grid_origin_y = board.origin_y;
  hit_grid.grid_columns = picture->w / 8;
  hit_grid.grid_rows = picture->h / 8;
  if (!build_hit_grid()) return false;
  build_neighbours();
  return true;
}

// The pattern's mine count for the mode and skill level, laid with the
// clues worked out.
void lay_pattern_mines(const uint8_t* layout, uint32_t record) {
  const int skill = std::max(0, std::min<int>(game.skill, 3));
  const int mines = game.mode == MEGAMINE
                        ? read_u8(layout, record + 0x2A + static_cast<uint32_t>(skill))
                        : static_cast<int16_t>(read_u16(layout, record + 0x22 + 2u * static_cast<uint32_t>(skill)));
  game.mines_total = mines;
  game.mines_left = mines;
  game.cells_hidden = board.cell_count;
  lay_mines(game.random);
}

}  // namespace

BoardLoadResult load_board(const char* file_name, int pattern, int continuation) {
  return load_board_from(file_name, pattern, continuation, Random{board_seed, board_counter});
}

BoardLoadResult load_board_from(const char* file_name, int pattern, int continuation, Random stream) {
  // Everything that can fail is checked before anything changes.
  DATAFILE* fresh = nullptr;
  if (!continuation) {
    if (!file_name || pattern < 0) return BOARD_NOT_LOADED;
    fresh = load_checked_datafile(find_game_file(file_name).c_str());
    if (!fresh) return BOARD_NOT_LOADED;
    if (!validate_style(fresh) || pattern >= read_u8(style_layout(fresh, nullptr), 0x21)) {
      unload_datafile(fresh);
      return BOARD_NOT_LOADED;
    }
  } else if (!style_datafile || pattern < 0 || pattern >= style_pattern_count) {
    return BOARD_NOT_LOADED;
  }

  reset_board_counters();
  if (!continuation) start_game_on_style(fresh, file_name, pattern);
  const uint8_t* layout = style_layout(style_datafile, nullptr);
  const uint32_t record = pattern_record(layout, pattern);
  game.random = stream;
  game.board_random = stream;
  if (!place_pattern_cells(layout, record, pattern)) return BOARD_HIT_GRID_FULL;
  lay_pattern_mines(layout, record);

  set_status_row(game.mode);
  game.effects_random = game.random;
  game.smiley_random = game.random;
  game.phase = PLAYING;
  boards_loaded++;
  return BOARD_LOADED;
}
