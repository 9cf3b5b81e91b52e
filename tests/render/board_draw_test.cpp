// Cell, board and status panel drawing, read back from memory bitmaps.
#include "render/board_draw.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "board/geometry.h"
#include "palette/palette_entries.h"
#include "palette/palette_files.h"
#include "render/render_fixture.h"
#include "rules/actions.h"
#include "support/headless.h"

namespace {

using render_test::LoadedBoard;
using render_test::same_pixels;

BITMAP* obj(int index) { return static_cast<BITMAP*>(MainDatafile[index].dat); }

struct Scratch {
  BITMAP* bmp;
  Scratch() : bmp(create_bitmap_ex(8, 800, 600)) { clear_to_color(bmp, COL_BACKGROUND); }
  ~Scratch() { destroy_bitmap(bmp); }
};

enum Picture { PIC_HIDDEN, PIC_REVEALED, PIC_EXPLODED };

struct CellCase {
  int state, content, pressed;
  GameMode mode;
  Picture picture;
  int overlay;  // main datafile object at the symbol box, or -1
};

TEST_F(LoadedBoard, DrawCellInEveryState) {
  const CellCase cases[] = {
      {HIDDEN, 0, 0, CLASSIC, PIC_HIDDEN, -1},
      {HIDDEN, 5, 1, CLASSIC, PIC_REVEALED, -1},
      {REVEALED, 0, 0, CLASSIC, PIC_REVEALED, -1},
      {REVEALED, 3, 0, CLASSIC, PIC_REVEALED, OBJ_NUMBER_BASE + 3},
      {REVEALED, 64, 1, CLASSIC, PIC_REVEALED, OBJ_NUMBER_BASE + 64},
      {REVEALED, MINE, 0, CLASSIC, PIC_EXPLODED, OBJ_MINE_LEVEL1},
      {REVEALED, MINE_LEVEL2, 0, MULTI_MINE, PIC_EXPLODED, OBJ_MINE_LEVEL2},
      {REVEALED, MINE_LEVEL3, 0, MULTI_MINE, PIC_EXPLODED, OBJ_MINE_LEVEL3},
      {REVEALED, 250, 0, CLASSIC, PIC_EXPLODED, -1},
      {FLAGGED, MINE, 0, CLASSIC, PIC_HIDDEN, OBJ_FLAG},
      {FLAGGED, MINE, 1, CLASSIC, PIC_HIDDEN, OBJ_FLAG},
      {FLAGGED, MINE, 0, MULTI_MINE, PIC_HIDDEN, OBJ_FLAG_LEVEL1},
      {FLAGGED_LEVEL2, 0, 1, MULTI_MINE, PIC_HIDDEN, OBJ_FLAG_LEVEL2},
      {FLAGGED_LEVEL3, 0, 0, MULTI_MINE, PIC_HIDDEN, OBJ_FLAG_LEVEL3},
      {QUESTION, 0, 0, CLASSIC, PIC_HIDDEN, OBJ_QUESTION},
      {QUESTION, 0, 1, CLASSIC, PIC_REVEALED, OBJ_QUESTION},
  };
  Cell& cell = board.cells[1];
  const ShapeInfo& info = shape_info[cell.shape];
  ASSERT_EQ(info.symbol_x, 4);
  const int tile_colour[3] = {render_test::HIDDEN_COLOUR, render_test::REVEALED_COLOUR,
                              render_test::EXPLODED_COLOUR};
  for (const CellCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "state " << c.state << " content " << c.content << " pressed " << c.pressed);
    cell.state = static_cast<uint8_t>(c.state);
    cell.content = static_cast<uint8_t>(c.content);
    game.mode = c.mode;
    Scratch got, want;
    draw_cell(1, got.bmp, c.pressed);
    BITMAP* pictures[3] = {hidden_picture(cell.shape), revealed_picture(cell.shape), exploded_picture(cell.shape)};
    draw_sprite(want.bmp, pictures[c.picture], cell.x, cell.y);
    if (c.overlay >= 0) draw_sprite(want.bmp, obj(c.overlay), cell.x + 4, cell.y + 4);
    EXPECT_TRUE(same_pixels(got.bmp, want.bmp, cell.x - 4, cell.y - 4, cell.x + 24, cell.y + 24));
    // A pixel of the tile that no symbol covers, shows the chosen picture;
    // its transparent quadrant lets the background through.
    EXPECT_EQ(getpixel(got.bmp, cell.x + 12, cell.y + 1), tile_colour[c.picture]);
    EXPECT_EQ(getpixel(got.bmp, cell.x + 1, cell.y + 1), COL_BACKGROUND);
  }
}

TEST_F(LoadedBoard, PressCellAndNeighboursDrawOnTheBackBufferOnly) {
  clear_to_color(BackBuffer, 0);
  clear_to_color(SceneBuffer, 0);
  board.cells[1].state = FLAGGED;
  press_cell_and_neighbours(0);  // cell 1 is a neighbour of cell 0
  const Cell& c0 = board.cells[0];
  const Cell& c1 = board.cells[1];
  EXPECT_EQ(getpixel(BackBuffer, c0.x + 12, c0.y + 1), render_test::REVEALED_COLOUR);
  EXPECT_EQ(getpixel(BackBuffer, c1.x + 12, c1.y + 1), render_test::HIDDEN_COLOUR);  // flags never look pressed
  EXPECT_EQ(getpixel(SceneBuffer, c0.x + 12, c0.y + 1), 0);
  clear_to_color(BackBuffer, 0);
  press_cell(2);
  press_cell(-1);
  EXPECT_EQ(getpixel(BackBuffer, board.cells[2].x + 12, board.cells[2].y + 1), render_test::REVEALED_COLOUR);
  EXPECT_EQ(getpixel(BackBuffer, c0.x + 12, c0.y + 1), 0);
}

TEST_F(LoadedBoard, RebuildSceneDrawsTheBoardOverTheBackground) {
  std::memset(settings.palette_name, 0, sizeof settings.palette_name);
  clear_to_color(BackBuffer, 5);
  board.cells[2].state = REVEALED;
  rebuild_scene();
  EXPECT_EQ(getpixel(BackBuffer, 400, 300), 0);
  EXPECT_EQ(getpixel(SceneBuffer, board.origin_x - 1, board.origin_y), COL_BACKGROUND);
  // Board picture where no tile is drawn; tiles drawn over it in order.
  EXPECT_EQ(getpixel(SceneBuffer, board.origin_x + 127, board.origin_y + 31), render_test::BOARD_COLOUR);
  EXPECT_EQ(getpixel(SceneBuffer, board.origin_x + 1, board.origin_y + 1), render_test::BOARD_COLOUR);
  EXPECT_EQ(getpixel(SceneBuffer, board.cells[0].x + 12, board.cells[0].y + 1), render_test::HIDDEN_COLOUR);
  EXPECT_EQ(getpixel(SceneBuffer, board.cells[2].x + 12, board.cells[2].y + 1), render_test::REVEALED_COLOUR);
  PALETTE now;
  get_palette(now);
  EXPECT_EQ(std::memcmp(now, MainDatafile[OBJ_DEFAULT_PALETTE].dat, sizeof(PALETTE)), 0);
}

// ---------------------------------------------------------------------------
// Palette files

class PaletteFiles : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = settings; }
  void TearDown() override {
    settings = saved_;
    set_palette(static_cast<RGB*>(MainDatafile[OBJ_DEFAULT_PALETTE].dat));
  }
  static std::string palette_bytes(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; i++) bytes[i] = static_cast<char>((i * 7 + 3) % 64);
    return bytes;
  }
  Settings saved_;
};

TEST_F(PaletteFiles, NamedFileIsUsedAndLongerFilesUseTheirFirstBlock) {
  ScopedTempDir dir;
  ASSERT_EQ(mkdir("Colors", 0755), 0);
  write_file("Colors/Long.FCL", palette_bytes(2000));
  std::strcpy(settings.palette_name, "Long.FCL");
  apply_current_palette();
  PALETTE now;
  get_palette(now);
  const std::string want = palette_bytes(1024);
  for (int i = 0; i < 256; i++) {
    EXPECT_EQ(now[i].r, want[4 * i]) << i;
    EXPECT_EQ(now[i].g, want[4 * i + 1]) << i;
    EXPECT_EQ(now[i].b, want[4 * i + 2]) << i;
  }
  EXPECT_STREQ(settings.palette_name, "Long.FCL");
}

TEST_F(PaletteFiles, ShortOrMissingFileFallsBackToTheDefaultAndClearsTheName) {
  ScopedTempDir dir;
  ASSERT_EQ(mkdir("Colors", 0755), 0);
  write_file("Colors/Short.FCL", palette_bytes(1023));
  PALETTE pal;
  EXPECT_EQ(read_palette_file("Short.FCL", pal), 0);
  for (const char* name : {"Short.FCL", "Missing.FCL"}) {
    set_palette(black_palette);
    std::memset(settings.palette_name, 0, sizeof settings.palette_name);
    std::strcpy(settings.palette_name, name);
    apply_current_palette();
    PALETTE now;
    get_palette(now);
    EXPECT_EQ(std::memcmp(now, MainDatafile[OBJ_DEFAULT_PALETTE].dat, sizeof(PALETTE)), 0) << name;
    for (char ch : settings.palette_name) EXPECT_EQ(ch, '\0') << name;
  }
}

// ---------------------------------------------------------------------------
// Status panel and readouts

struct Sprite {
  int object, x;
};

class StatusReadouts : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_game_ = game;
    saved_settings_ = settings;
    init_status_slots();
    std::memset(game.status_row, 0, sizeof game.status_row);
    game.phase = PLAYING;
    settings.graphics_switches[GFX_BLINKING_COLON] = 0;
  }
  void TearDown() override {
    game = saved_game_;
    settings = saved_settings_;
  }
  void show_only(int slot) {
    std::memset(game.status_row, 0, sizeof game.status_row);
    game.status_row[slot] = 1;
    game.status_count = 1;
  }
  // The readouts as drawn, against the listed sprites drawn at their
  // columns on row 22 (the first badge's digits).
  ::testing::AssertionResult shows(const std::vector<Sprite>& sprites) {
    clear_to_color(BackBuffer, 0);
    draw_status_readouts();
    Scratch want;
    clear_to_color(want.bmp, 0);
    for (const Sprite& s : sprites) draw_sprite(want.bmp, obj(s.object), s.x, 22);
    return same_pixels(BackBuffer, want.bmp, 0, 0, 99, 120);
  }
  GameSession saved_game_;
  Settings saved_settings_;
};

int led(int d) { return OBJ_LED_DIGIT0 + d; }
const int BLANK = OBJ_LED_BLANK, COLON = OBJ_LED_COLON_ON, DARK = OBJ_LED_COLON_OFF, MINUS = OBJ_LED_MINUS;

TEST_F(StatusReadouts, TimeFormat) {
  show_only(1);
  game.game_time = 59.9f;
  EXPECT_TRUE(shows({{BLANK, 19}, {DARK, 29}, {BLANK, 33}, {led(0), 43}, {COLON, 53}, {led(5), 57}, {led(9), 67}}));
  game.game_time = 605.0f;
  EXPECT_TRUE(shows({{BLANK, 19}, {DARK, 29}, {led(1), 33}, {led(0), 43}, {COLON, 53}, {led(0), 57}, {led(5), 67}}));
  game.game_time = 3725.0f;
  EXPECT_TRUE(shows({{led(1), 19}, {COLON, 29}, {led(0), 33}, {led(2), 43}, {COLON, 53}, {led(0), 57}, {led(5), 67}}));
  const std::vector<Sprite> nine = {{led(9), 19}, {COLON, 29}, {led(5), 33}, {led(9), 43},
                                    {COLON, 53},  {led(5), 57}, {led(9), 67}};
  game.game_time = 36000.0f;
  EXPECT_TRUE(shows(nine));
  game.game_time = 1.0e9f;
  EXPECT_TRUE(shows(nine));
  game.game_time = 0.0f;
  EXPECT_TRUE(shows({{BLANK, 19}, {DARK, 29}, {BLANK, 33}, {led(0), 43}, {COLON, 53}, {led(0), 57}, {led(0), 67}}));
}

TEST_F(StatusReadouts, ClockColonsBlinkOnlyWhileAGameRunsWithTheSwitchOn) {
  const std::vector<Sprite> lit = {{BLANK, 19}, {DARK, 29}, {BLANK, 33}, {led(0), 43},
                                   {COLON, 53}, {led(5), 57}, {led(9), 67}};
  std::vector<Sprite> dark = lit;
  dark[4].object = DARK;
  show_only(1);
  game.game_time = 59.6f;
  EXPECT_TRUE(shows(lit));  // switch off
  settings.graphics_switches[GFX_BLINKING_COLON] = 1;
  EXPECT_TRUE(shows(dark));
  game.game_time = 59.4f;
  EXPECT_TRUE(shows(lit));  // first half of the second
  game.game_time = 59.6f;
  game.phase = IDLE;
  EXPECT_TRUE(shows(lit));
  game.phase = FINISHED;
  EXPECT_TRUE(shows(dark));
  // Both colons once hours show.
  game.game_time = 3725.5f;
  EXPECT_TRUE(shows({{led(1), 19}, {DARK, 29}, {led(0), 33}, {led(2), 43}, {DARK, 53}, {led(0), 57}, {led(5), 67}}));
  // The penalty readout never blinks.
  show_only(10);
  game.penalty_time = 59.6f;
  EXPECT_TRUE(shows(lit));
}

TEST_F(StatusReadouts, FiveDigits) {
  show_only(3);
  game.score = 7;
  EXPECT_TRUE(shows({{BLANK, 27}, {BLANK, 37}, {BLANK, 47}, {BLANK, 57}, {led(7), 67}}));
  game.score = 123456;
  EXPECT_TRUE(shows({{led(9), 27}, {led(9), 37}, {led(9), 47}, {led(9), 57}, {led(9), 67}}));
  game.score = 10203;
  EXPECT_TRUE(shows({{led(1), 27}, {led(0), 37}, {led(2), 47}, {led(0), 57}, {led(3), 67}}));
  show_only(11);
  game.damage = 0;
  EXPECT_TRUE(shows({{BLANK, 27}, {BLANK, 37}, {BLANK, 47}, {BLANK, 57}, {led(0), 67}}));
}

TEST_F(StatusReadouts, ThreeDigitsSignedWithTheLevelDigitSets) {
  show_only(5);
  game.mines_left = -3;
  EXPECT_TRUE(shows({{BLANK, 47}, {MINUS, 57}, {led(3), 67}}));
  game.mines_left = 1000;
  EXPECT_TRUE(shows({{led(9), 47}, {led(9), 57}, {led(9), 67}}));
  game.mines_left = -150;
  EXPECT_TRUE(shows({{MINUS, 47}, {led(9), 57}, {led(9), 67}}));
  game.mines_left = -42;
  EXPECT_TRUE(shows({{MINUS, 47}, {led(4), 57}, {led(2), 67}}));
  game.mines_left = 42;
  EXPECT_TRUE(shows({{BLANK, 47}, {led(4), 57}, {led(2), 67}}));
  show_only(6);
  game.mines_left = -5;
  EXPECT_TRUE(shows({{OBJ_LED_LEVEL1_BLANK, 47}, {OBJ_LED_LEVEL1_MINUS, 57}, {OBJ_LED_LEVEL1_DIGIT0 + 5, 67}}));
  show_only(7);
  game.level2_left = 7;
  EXPECT_TRUE(shows({{OBJ_LED_LEVEL2_BLANK, 47}, {OBJ_LED_LEVEL2_BLANK, 57}, {OBJ_LED_LEVEL2_DIGIT0 + 7, 67}}));
  show_only(8);
  game.level3_left = 123;
  EXPECT_TRUE(shows({{OBJ_LED_LEVEL3_DIGIT0 + 1, 47}, {OBJ_LED_LEVEL3_DIGIT0 + 2, 57}, {OBJ_LED_LEVEL3_DIGIT0 + 3, 67}}));
}

TEST_F(StatusReadouts, ShownSlotsStackInSlotOrder) {
  game.status_row[9] = 1;
  game.status_row[4] = 1;
  game.status_count = 2;
  game.boards_played = 4;
  game.mines_hit = 12;
  clear_to_color(BackBuffer, 0);
  draw_status_readouts();
  Scratch want;
  clear_to_color(want.bmp, 0);
  for (auto s : std::vector<Sprite>{{BLANK, 47}, {BLANK, 57}, {led(4), 67}}) draw_sprite(want.bmp, obj(s.object), s.x, 22);
  for (auto s : std::vector<Sprite>{{BLANK, 47}, {led(1), 57}, {led(2), 67}}) draw_sprite(want.bmp, obj(s.object), s.x, 54);
  EXPECT_TRUE(same_pixels(BackBuffer, want.bmp, 0, 0, 99, 120));
}

TEST_F(StatusReadouts, PanelBadgesSeparatorFillerAndEdge) {
  game.status_row[1] = game.status_row[5] = game.status_row[9] = 1;
  game.status_count = 3;
  clear_to_color(SceneBuffer, COL_BACKGROUND);
  draw_status_panel();
  Scratch want;
  // Slot 1 (game time) has badge 224, slot 5 (mines left) 221, slot 9
  // (mines hit) 216.
  draw_sprite(want.bmp, obj(224), 0, 16);
  draw_sprite(want.bmp, obj(221), 0, 48);
  draw_sprite(want.bmp, obj(216), 0, 80);
  blit(obj(OBJ_PANEL_SEPARATOR), want.bmp, 0, 0, 0, 112, 88, 2);
  for (int y = 114; y < 598; y++) blit(obj(OBJ_PANEL_FILLER), want.bmp, 0, 0, 0, y, 88, 1);
  blit(obj(OBJ_PANEL_BOTTOM), want.bmp, 0, 0, 0, 598, 88, 2);
  EXPECT_TRUE(same_pixels(SceneBuffer, want.bmp, 0, 0, 95, 599));
}

}  // namespace

// ---------------------------------------------------------------------------
// Redrawing one cell on the real styles

struct RealBoardCase {
  const char* style;
  int pattern;
};

class RealBoard : public ::testing::TestWithParam<RealBoardCase> {
 protected:
  void SetUp() override {
    saved_game_ = game;
    game.mode = CLASSIC;
    ASSERT_EQ(load_board(game_path(GetParam().style).c_str(), GetParam().pattern, 0), 1);
    fresh_ = create_bitmap_ex(8, 800, 600);
  }
  void TearDown() override {
    destroy_bitmap(fresh_);
    game = saved_game_;
  }
  // The whole board drawn afresh, as the main screen does after a dialog.
  BITMAP* fresh_redraw() {
    clear_to_color(fresh_, COL_BACKGROUND);
    redraw_board(fresh_);
    return fresh_;
  }
  GameSession saved_game_;
  BITMAP* fresh_ = nullptr;
};

// Every cell flagged, then cleared, by the player's right clicks: the scene
// ends as a fresh full redraw draws it, with no trace of a flag on a cell
// or around it. One by one, then all flags before all are removed.
TEST_P(RealBoard, FlagsPlacedAndRemovedLeaveNoTrace) {
  Settings saved = settings;
  settings.question_marks = 0;
  game.phase = PLAYING;
  clear_to_color(SceneBuffer, COL_BACKGROUND);
  redraw_board(SceneBuffer);
  for (int i = 0; i < board.cell_count; i++) {
    cycle_flag(i);
    ASSERT_EQ(board.cells[i].state, FLAGGED);
    cycle_flag(i);
  }
  EXPECT_TRUE(same_pixels(SceneBuffer, fresh_redraw(), 0, 0, 799, 599)) << "one by one";
  for (int i = 0; i < board.cell_count; i++) cycle_flag(i);
  for (int i = 0; i < board.cell_count; i++) cycle_flag(i);
  EXPECT_EQ(board.cells[board.cell_count - 1].state, HIDDEN);
  EXPECT_TRUE(same_pixels(SceneBuffer, fresh_redraw(), 0, 0, 799, 599)) << "all, then all";
  settings = saved;
}

INSTANTIATE_TEST_SUITE_P(Styles, RealBoard,
                         ::testing::Values(RealBoardCase{"fgboards.dat", 3}, RealBoardCase{"fgboards.dat", 0},
                                           RealBoardCase{"fgboards-hx.dat", 0}, RealBoardCase{"fgboards-tr.dat", 0}),
                         [](const ::testing::TestParamInfo<RealBoardCase>& info) {
                           std::string name = std::string(info.param.style).substr(0, std::strlen(info.param.style) - 4) +
                                              "_" + std::to_string(info.param.pattern);
                           for (char& c : name)
                             if (c == '-' || c == '.') c = '_';
                           return name;
                         });
