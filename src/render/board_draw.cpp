#include "render/board_draw.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "board/board_load.h"
#include "board/geometry.h"
#include "palette/palette_entries.h"
#include "palette/palette_files.h"

StatusSlot status_slots[STATUS_SLOTS];
const int STATUS_BADGES[STATUS_SLOTS] = {
    OBJ_BADGE_FIRST + 0, OBJ_BADGE_FIRST + 10, OBJ_BADGE_FIRST + 3, OBJ_BADGE_FIRST + 8,
    OBJ_BADGE_FIRST + 1, OBJ_BADGE_FIRST + 7, OBJ_BADGE_FIRST + 4, OBJ_BADGE_FIRST + 5,
    OBJ_BADGE_FIRST + 6, OBJ_BADGE_FIRST + 2, OBJ_BADGE_FIRST + 11, OBJ_BADGE_FIRST + 9};

int redraw_requested = 0;

namespace {

// Values of the two slots no mode shows.
const float unused_seconds = 0.0f;
const int32_t unused_count = 0;

// Number glyphs exist for clues 1 to 64 (objects 131 to 194).
enum { LAST_GLYPH_CLUE = 64 };

BITMAP* main_bitmap(int index) {
  if (!MainDatafile || index < 0 || index >= MAIN_OBJECT_COUNT) return nullptr;
  if (MainDatafile[index].type != DAT_BITMAP) return nullptr;
  return static_cast<BITMAP*>(MainDatafile[index].dat);
}

void put(BITMAP* target, BITMAP* sprite, int x, int y) {
  if (sprite) draw_sprite(target, sprite, x, y);
}

void put(BITMAP* target, int object, int x, int y) { put(target, main_bitmap(object), x, y); }

struct DigitSet {
  int digit0, minus, blank;
};
const DigitSet LED_STANDARD = {OBJ_LED_DIGIT0, OBJ_LED_MINUS, OBJ_LED_BLANK};
const DigitSet LED_LEVEL1 = {OBJ_LED_LEVEL1_DIGIT0, OBJ_LED_LEVEL1_MINUS, OBJ_LED_LEVEL1_BLANK};
const DigitSet LED_LEVEL2 = {OBJ_LED_LEVEL2_DIGIT0, OBJ_LED_LEVEL2_MINUS, OBJ_LED_LEVEL2_BLANK};
const DigitSet LED_LEVEL3 = {OBJ_LED_LEVEL3_DIGIT0, OBJ_LED_LEVEL3_MINUS, OBJ_LED_LEVEL3_BLANK};

const DigitSet& digit_set(int slot) {
  switch (slot) {
    case 6: return LED_LEVEL1;
    case 7: return LED_LEVEL2;
    case 8: return LED_LEVEL3;
    default: return LED_STANDARD;
  }
}

// h:mm:ss, at most 9:59:59; the hour and its colon only from one hour on,
// the tens of minutes only from ten minutes on.
void draw_time(BITMAP* t, int y, float seconds, int dark_colons) {
  int v = 0;  // also for NaN and negative times
  if (seconds >= 35999.0f)
    v = 35999;
  else if (seconds > 0.0f)
    v = static_cast<int>(seconds);
  const int h = v / 3600, tm = (v / 600) % 6, m = (v / 60) % 10, ts = (v / 10) % 6, s = v % 10;
  const int colon = dark_colons ? OBJ_LED_COLON_OFF : OBJ_LED_COLON_ON;
  put(t, OBJ_LED_DIGIT0 + s, 67, y);
  put(t, OBJ_LED_DIGIT0 + ts, 57, y);
  put(t, colon, 53, y);
  put(t, OBJ_LED_DIGIT0 + m, 43, y);
  if (h == 0 && tm == 0) {
    put(t, OBJ_LED_BLANK, 33, y);
    put(t, OBJ_LED_COLON_OFF, 29, y);
    put(t, OBJ_LED_BLANK, 19, y);
    return;
  }
  put(t, OBJ_LED_DIGIT0 + tm, 33, y);
  if (h == 0) {
    put(t, OBJ_LED_COLON_OFF, 29, y);
    put(t, OBJ_LED_BLANK, 19, y);
  } else {
    put(t, colon, 29, y);
    put(t, OBJ_LED_DIGIT0 + h, 19, y);
  }
}

// Five digits, right-aligned, blanks above the highest digit. These
// counters are never negative; a negative value shows as 0.
void draw_five(BITMAP* t, int y, int32_t value) {
  int v = value > 99999 ? 99999 : value;
  if (v < 0) v = 0;
  static const int columns[5] = {67, 57, 47, 37, 27};
  static const int reach[5] = {0, 10, 100, 1000, 10000};
  int place = v;
  for (int k = 0; k < 5; k++) {
    if (v >= reach[k])
      put(t, OBJ_LED_DIGIT0 + place % 10, columns[k], y);
    else
      put(t, OBJ_LED_BLANK, columns[k], y);
    place /= 10;
  }
}

// Three places, -99 to 999, the minus sign right before the digits.
void draw_three(BITMAP* t, int y, int32_t value, const DigitSet& set) {
  const int v = value < -99 ? -99 : (value > 999 ? 999 : value);
  const int a = v < 0 ? -v : v;
  put(t, set.digit0 + a % 10, 67, y);
  if (v > -10 && v < 10) {
    put(t, v < 0 ? set.minus : set.blank, 57, y);
    put(t, set.blank, 47, y);
    return;
  }
  put(t, set.digit0 + (a / 10) % 10, 57, y);
  if (v >= 100)
    put(t, set.digit0 + a / 100, 47, y);
  else if (v >= 0)
    put(t, set.blank, 47, y);
  else
    put(t, set.minus, 47, y);
}

}  // namespace

ReadoutFormat readout_format(int slot) {
  switch (slot) {
    case 0:
    case 1:
    case 10: return READOUT_TIME;
    case 2:
    case 3:
    case 11: return READOUT_FIVE;
    default: return READOUT_THREE;
  }
}

void init_status_slots() {
  for (StatusSlot& s : status_slots) s = {nullptr, nullptr};
  status_slots[0].seconds = &unused_seconds;
  status_slots[1].seconds = &game.game_time;
  status_slots[2].value = &unused_count;
  status_slots[3].value = &game.score;
  status_slots[4].value = &game.boards_played;
  status_slots[5].value = &game.mines_left;
  status_slots[6].value = &game.mines_left;
  status_slots[7].value = &game.level2_left;
  status_slots[8].value = &game.level3_left;
  status_slots[9].value = &game.mines_hit;
  status_slots[10].seconds = &game.penalty_time;
  status_slots[11].value = &game.damage;
}

void draw_cell(const Cell& cell, BITMAP* target, int pressed) {
  if (!target || cell.shape >= MAX_SHAPES) return;
  const int s = cell.shape;
  const ShapeInfo& info = shape_info[s];
  const int x = cell.x, y = cell.y;
  const int symbol_x = x + info.symbol_x, symbol_y = y + info.symbol_y;
  if (cell.state == REVEALED) {
    if (cell.content < MINE) {
      put(target, revealed_picture(s), x, y);
      if (cell.content != 0 && cell.content <= LAST_GLYPH_CLUE)
        put(target, OBJ_NUMBER_BASE + cell.content, symbol_x, symbol_y);
    } else {
      put(target, exploded_picture(s), x, y);
      if (cell.content == MINE)
        put(target, OBJ_MINE_LEVEL1, symbol_x, symbol_y);
      else if (cell.content == MINE_LEVEL2)
        put(target, OBJ_MINE_LEVEL2, symbol_x, symbol_y);
      else if (cell.content == MINE_LEVEL3)
        put(target, OBJ_MINE_LEVEL3, symbol_x, symbol_y);
    }
    return;
  }
  if (pressed == 1 && (cell.state == HIDDEN || cell.state == QUESTION))
    put(target, revealed_picture(s), x, y);
  else
    put(target, hidden_picture(s), x, y);
  switch (cell.state) {
    case FLAGGED: put(target, game.mode == MULTI_MINE ? OBJ_FLAG_LEVEL1 : OBJ_FLAG, symbol_x, symbol_y); break;
    case FLAGGED_LEVEL2: put(target, OBJ_FLAG_LEVEL2, symbol_x, symbol_y); break;
    case FLAGGED_LEVEL3: put(target, OBJ_FLAG_LEVEL3, symbol_x, symbol_y); break;
    case QUESTION: put(target, OBJ_QUESTION, symbol_x, symbol_y); break;
    default: break;
  }
}

void draw_cell(int index, BITMAP* target, int pressed) {
  if (index < 0 || index >= board.cell_count) return;
  draw_cell(board.cells[index], target, pressed);
}

namespace {

// The play area, as the pause screen and the dialogs blank it.
constexpr int PLAY_AREA_X = 88, PLAY_AREA_Y = 16;

struct Box {
  int x1, y1, x2, y2;
  bool empty() const { return x1 > x2 || y1 > y2; }
  bool meets(const Box& o) const { return x1 <= o.x2 && o.x1 <= x2 && y1 <= o.y2 && o.y1 <= y2; }
  void add(BITMAP* bmp, int x, int y) {
    if (!bmp) return;
    x1 = std::min(x1, x);
    y1 = std::min(y1, y);
    x2 = std::max(x2, x + bmp->w - 1);
    y2 = std::max(y2, y + bmp->h - 1);
  }
};
const Box NO_BOX = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};

// What the glyphs drawn at a symbol box (flags, '?', mines, clues) can
// cover, from the symbol box's corner.
Box glyph_box() {
  Box b = NO_BOX;
  for (int o = OBJ_FLAG_LEVEL1; o <= OBJ_FLAG; o++) b.add(main_bitmap(o), 0, 0);
  for (int o = OBJ_MINE_LEVEL1; o <= OBJ_MINE_LEVEL3; o++) b.add(main_bitmap(o), 0, 0);
  for (int n = 1; n <= LAST_GLYPH_CLUE; n++) b.add(main_bitmap(OBJ_NUMBER_BASE + n), 0, 0);
  b.add(main_bitmap(OBJ_QUESTION), 0, 0);
  return b;
}

// Everything draw_cell can paint for a cell, in any state.
Box cell_box(const Cell& cell, const Box& glyphs) {
  Box b = NO_BOX;
  if (cell.shape >= MAX_SHAPES) return b;
  const int s = cell.shape;
  b.add(hidden_picture(s), cell.x, cell.y);
  b.add(revealed_picture(s), cell.x, cell.y);
  b.add(exploded_picture(s), cell.x, cell.y);
  if (!glyphs.empty()) {
    const int sx = cell.x + shape_info[s].symbol_x, sy = cell.y + shape_info[s].symbol_y;
    b.x1 = std::min(b.x1, sx + glyphs.x1);
    b.y1 = std::min(b.y1, sy + glyphs.y1);
    b.x2 = std::max(b.x2, sx + glyphs.x2);
    b.y2 = std::max(b.y2, sy + glyphs.y2);
  }
  return b;
}

// The areas of the board's cells, worked out when the board is drawn
// whole: a changed cell's redraw looks them all up.
// With them, what lies under the cells: the background and the board
// picture.
struct CellAreas {
  int board_index = -1, origin_x = 0, origin_y = 0;
  std::vector<Box> boxes;
  Box glyphs = NO_BOX;
  BITMAP* underlay = nullptr;
} cell_areas;

void work_out_cell_areas() {
  if (cell_areas.underlay && SceneBuffer &&
      (cell_areas.underlay->w != SceneBuffer->w || cell_areas.underlay->h != SceneBuffer->h)) {
    destroy_bitmap(cell_areas.underlay);
    cell_areas.underlay = nullptr;
  }
  if (!cell_areas.underlay && SceneBuffer) cell_areas.underlay = create_bitmap_ex(8, SceneBuffer->w, SceneBuffer->h);
  if (cell_areas.underlay) {
    clear_to_color(cell_areas.underlay, COL_BACKGROUND);
    if (RLE_SPRITE* picture = board_picture(current_board_index))
      draw_rle_sprite(cell_areas.underlay, picture, board.origin_x, board.origin_y);
  }
  cell_areas.glyphs = glyph_box();
  cell_areas.boxes.resize(static_cast<size_t>(board.cell_count));
  for (int i = 0; i < board.cell_count; i++) cell_areas.boxes[i] = cell_box(board.cells[i], cell_areas.glyphs);
  cell_areas.board_index = current_board_index;
  cell_areas.origin_x = board.origin_x;
  cell_areas.origin_y = board.origin_y;
}

const CellAreas& current_cell_areas() {
  if (cell_areas.boxes.size() != static_cast<size_t>(board.cell_count) ||
      cell_areas.board_index != current_board_index || cell_areas.origin_x != board.origin_x ||
      cell_areas.origin_y != board.origin_y)
    work_out_cell_areas();
  return cell_areas;
}

}  // namespace

void redraw_board(BITMAP* target) {
  if (!target) return;
  work_out_cell_areas();
  if (RLE_SPRITE* picture = board_picture(current_board_index))
    draw_rle_sprite(target, picture, board.origin_x, board.origin_y);
  for (int i = 0; i < board.cell_count; i++) draw_cell(board.cells[i], target, 0);
}

void rebuild_scene() {
  clear_to_color(SceneBuffer, COL_BACKGROUND);
  clear_to_color(BackBuffer, 0);
  apply_current_palette();
  if (board.cell_count >= 1) redraw_board(SceneBuffer);
}

void draw_status_panel() {
  BITMAP* s = SceneBuffer;
  int y = 16;
  for (int slot = 0; slot < STATUS_SLOTS; slot++) {
    if (game.status_row[slot] != 1) continue;
    put(s, STATUS_BADGES[slot], 0, y);
    y += 32;
  }
  int k = game.status_count;
  if (k < 0) k = 0;
  if (k > STATUS_SLOTS) k = STATUS_SLOTS;
  if (BITMAP* separator = main_bitmap(OBJ_PANEL_SEPARATOR)) blit(separator, s, 0, 0, 0, 16 + 32 * k, 88, 2);
  if (BITMAP* bottom = main_bitmap(OBJ_PANEL_BOTTOM)) blit(bottom, s, 0, 0, 0, screen_height - 2, 88, 2);
  if (BITMAP* filler = main_bitmap(OBJ_PANEL_FILLER))
    stretch_blit(filler, s, 0, 0, 88, 1, 0, 18 + 32 * k, 88, 580 - 32 * k);
}

void draw_status_readouts() {
  BITMAP* t = BackBuffer;
  int y = 16;
  for (int slot = 0; slot < STATUS_SLOTS; slot++) {
    if (game.status_row[slot] != 1) continue;
    const StatusSlot& src = status_slots[slot];
    switch (readout_format(slot)) {
      case READOUT_TIME: {
        const float seconds = src.seconds ? *src.seconds : 0.0f;
        const int dark = slot == 1 && game.phase != IDLE && settings.graphics_switches[GFX_BLINKING_COLON] &&
                         std::fmod(seconds, 1.0f) >= 0.5f;
        draw_time(t, y + 6, seconds, dark);
        break;
      }
      case READOUT_FIVE: draw_five(t, y + 6, src.value ? *src.value : 0); break;
      case READOUT_THREE: draw_three(t, y + 6, src.value ? *src.value : 0, digit_set(slot)); break;
    }
    y += 32;
  }
}

void press_cell(int index) { draw_cell(index, BackBuffer, 1); }

void press_cell_and_neighbours(int index) {
  if (index < 0 || index >= board.cell_count) return;
  const Cell& cell = board.cells[index];
  draw_cell(cell, BackBuffer, 1);
  for (int k = 0; k < cell.neighbour_count && k < MAX_NEIGHBOURS; k++) draw_cell(cell.neighbours[k], BackBuffer, 1);
}


// A cell's pictures have transparent pixels, and its glyphs may reach past
// its picture (a flag over the gap between two cells): drawing the cell
// again over its old look would leave what the old look painted there.
// Its whole area is painted again as a full redraw paints it instead:
// background, board picture, then every cell reaching into the area, in
// board order.
void redraw_changed_cell(int index) {
  BITMAP* target = SceneBuffer;
  if (!target || index < 0 || index >= board.cell_count) return;
  const CellAreas& areas = current_cell_areas();
  Box area = areas.boxes[index];
  // The play area only: the menu bar and the status panel stay.
  area.x1 = std::max(area.x1, PLAY_AREA_X);
  area.y1 = std::max(area.y1, PLAY_AREA_Y);
  area.x2 = std::min(area.x2, target->w - 1);
  area.y2 = std::min(area.y2, target->h - 1);
  if (area.empty()) return;
  int cx1, cy1, cx2, cy2;
  get_clip_rect(target, &cx1, &cy1, &cx2, &cy2);
  const int clipping = get_clip_state(target);
  set_clip_rect(target, area.x1, area.y1, area.x2, area.y2);
  if (areas.underlay) {
    blit(areas.underlay, target, area.x1, area.y1, area.x1, area.y1, area.x2 - area.x1 + 1, area.y2 - area.y1 + 1);
  } else {
    rectfill(target, area.x1, area.y1, area.x2, area.y2, COL_BACKGROUND);
    if (RLE_SPRITE* picture = board_picture(current_board_index))
      draw_rle_sprite(target, picture, board.origin_x, board.origin_y);
  }
  for (int i = 0; i < board.cell_count; i++)
    if (areas.boxes[i].meets(area)) draw_cell(board.cells[i], target, 0);
  set_clip_rect(target, cx1, cy1, cx2, cy2);
  set_clip_state(target, clipping);
}
