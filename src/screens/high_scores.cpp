#include "screens/high_scores.h"

#include <allegro.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <string>

#include "board/board_load.h"
#include "board/style_list.h"
#include "palette/palette_entries.h"
#include "platform/extra_settings.h"
#include "platform/game_paths.h"
#include "platform/lifecycle.h"
#include "rules/board_state.h"
#include "rules/modes.h"
#include "scores/game_record.h"
#include "sound/sound.h"
#include "ui/frames.h"
#include "ui/widgets.h"

const char* const SCORES_DAMAGED_MESSAGE =
    "The high scores could not be read: a fresh table starts (old file: fusegrid.scores.bak).";
const char* const SCORES_DAMAGED_NOT_MOVED_MESSAGE =
    "The high scores could not be read, nor moved aside: a fresh table starts, unsaved.";
const char* const SCORES_NOT_SAVED_MESSAGE = "The high scores could not be saved: trying again at the next save.";

namespace {

bool enter_down() { return key[KEY_ENTER] || key[KEY_ENTER_PAD]; }

// Shows frames of a screen while any of the keys is held, so that the key
// does not act again on the screen below.
template <typename Show>
void hold_while_down(std::initializer_list<int> keys, Show show) {
  for (;;) {
    bool down = false;
    for (int k : keys) down = down || key[k];
    if (!down) return;
    show();
  }
}

// ---------------------------------------------------------------------------
// The tables a board has: the five timed modes, Endurance at each time
// limit and MegaMine, each at four levels.

struct TableChoice {
  int mode;
  int time_limit;
};

const TableChoice TABLES[] = {{CLASSIC, 0},      {FLAGLESS, 0},     {BACKWARDS, 0},    {MULTI_MINE, 0},
                              {MOVING_MINES, 0}, {ENDURANCE, 10},   {ENDURANCE, 20},   {ENDURANCE, 30},
                              {MEGAMINE, 0}};
constexpr int TABLE_COUNT = static_cast<int>(sizeof TABLES / sizeof TABLES[0]);

int table_index(const ScoreKey& key) {
  for (int i = 0; i < TABLE_COUNT; i++)
    if (TABLES[i].mode == key.mode && TABLES[i].time_limit == key.time_limit) return i;
  return 0;
}

std::string table_name(int index) {
  const TableChoice& t = TABLES[index];
  if (t.mode != ENDURANCE) return MODE_NAMES[t.mode];
  return std::string(MODE_NAMES[t.mode]) + ", " + std::to_string(t.time_limit) + " min";
}

// The board's names as the page's heading shows them: from the board in
// play, else from its style file, else the file and pattern number.
std::string board_heading(const ScoreKey& key) {
  if (board.cell_count > 0 && current_board_index == key.pattern && key.style == board_file_name)
    return printable_name(std::string(board.style_name, strnlen(board.style_name, sizeof board.style_name))) + ": " +
           printable_name(std::string(board.pattern_name, strnlen(board.pattern_name, sizeof board.pattern_name)));
  if (DATAFILE* style = load_valid_style(key.style.c_str())) {
    const std::string pattern = pattern_name_of(style, key.pattern);
    std::string heading;
    if (!pattern.empty()) heading = printable_name(style_name_of(style)) + ": " + printable_name(pattern);
    unload_datafile(style);
    if (!heading.empty()) return heading;
  }
  return printable_name(key.style) + ", pattern " + std::to_string(key.pattern + 1);
}

// ---------------------------------------------------------------------------
// The page

// The page stands in the middle of the play area: its title bar at
// PAGE_TOP, the table's first row at TABLE_TOP, the statistics below the
// table and the button bar at PAGE_BOTTOM.
enum {
  PAGE_X1 = 140,
  PAGE_X2 = 659,
  PAGE_TOP = 140,
  ROW_HEIGHT = 14,
  TABLE_TOP = PAGE_TOP + 94,
  STATS_TOP = TABLE_TOP + 10 * ROW_HEIGHT + 16,
  PAGE_BOTTOM = STATS_TOP + 50
};

// Columns: the left edge of Rank and Name, the right edges of the numbers,
// the left edge of Date.
enum {
  COL_RANK_X = 156,
  COL_NAME_X = 186,
  COL_NAME_END = 364,
  COL_RESULT_RIGHT = 432,
  COL_DAMAGE_RIGHT = 492,
  COL_BOARDS_RIGHT = 544,
  COL_DATE_X = 568
};

const char* const UNSAVED_FOOTNOTE = "* not saved yet";

struct Page {
  ScoreKey key;
  std::string heading;
  int highlight = -1;  // the rank shown highlighted
  ScoreKey highlight_key;
  TextButton ok, mode_back, mode_next, level_back, level_next;
};

void draw_page_row(BITMAP* bmp, int y, int rank, const ScoreEntry& e, int mode, bool highlighted) {
  const int colour = highlighted ? COL_MENU_SELECTED_FONT : COL_MENU_FONT;
  if (highlighted) rectfill(bmp, PAGE_X1 + 9, y - 3, PAGE_X2 - 9, y + ROW_HEIGHT - 4, COL_MENU_SELECTED_BG);
  char text[24];
  // An entry not saved yet is marked; the footnote says so.
  std::snprintf(text, sizeof text, e.unsaved ? "%d.*" : "%d.", rank + 1);
  draw_text(bmp, COL_RANK_X, y, colour, text);
  int cx1, cy1, cx2, cy2;
  get_clip_rect(bmp, &cx1, &cy1, &cx2, &cy2);
  const int clipping = get_clip_state(bmp);
  set_clip_rect(bmp, COL_NAME_X, y, COL_NAME_END, y + 8);
  draw_text(bmp, COL_NAME_X, y, colour, printable_name(e.name).c_str());
  set_clip_rect(bmp, cx1, cy1, cx2, cy2);
  set_clip_state(bmp, clipping);
  draw_text_right(bmp, COL_RESULT_RIGHT, y, colour, format_score_result(mode, e.result).c_str());
  if (mode == ENDURANCE) {
    draw_text_right(bmp, COL_DAMAGE_RIGHT, y, colour, std::to_string(e.damage).c_str());
    draw_text_right(bmp, COL_BOARDS_RIGHT, y, colour, std::to_string(e.boards).c_str());
  }
  draw_text(bmp, COL_DATE_X, y, colour, format_score_date(e.date).c_str());
}

void draw_statistics(BITMAP* bmp, const ScoreKey& key, int y) {
  const ScoreStats s = score_stats(key);
  char line[160];
  std::snprintf(line, sizeof line, "Games played: %u    Games won: %u    Win rate: %d%%", s.played, s.won,
                win_rate_percent(s));
  draw_text_centre(bmp, 400, y, COL_MENU_FONT, line);
  std::snprintf(line, sizeof line, "Current winning streak: %u    Longest winning streak: %u", s.current_streak,
                s.longest_streak);
  draw_text_centre(bmp, 400, y + 14, COL_MENU_FONT, line);
  if (s.won > 0) {
    std::snprintf(line, sizeof line, "Best result: %s    Average winning result: %s",
                  format_score_result(key.mode, s.best).c_str(),
                  format_score_result(key.mode, average_winning_result(s)).c_str());
  } else {
    std::snprintf(line, sizeof line, "Best result: -    Average winning result: -");
  }
  draw_text_centre(bmp, 400, y + 28, COL_MENU_FONT, line);
}

void show_page(const Page& p) {
  copy_scene();
  BITMAP* bmp = BackBuffer;
  draw_frame(bmp, PAGE_X1, PAGE_TOP, PAGE_X2, PAGE_TOP + 15);
  draw_text_centre(bmp, 400, PAGE_TOP + 4, COL_MENU_FONT, "High Scores");
  draw_frame(bmp, PAGE_X1, PAGE_TOP + 16, PAGE_X2, PAGE_BOTTOM - 1);
  draw_text_centre(bmp, 400, PAGE_TOP + 26, COL_MENU_FONT, p.heading.c_str());

  // The steppers: mode (with the Endurance time limit) and level.
  for (const TextButton* b : {&p.mode_back, &p.mode_next, &p.level_back, &p.level_next}) text_button_draw(b, bmp);
  draw_inset_box(bmp, p.mode_back.x2 + 1, p.mode_back.y1, p.mode_next.x1 - 1, p.mode_next.y2);
  draw_inset_box(bmp, p.level_back.x2 + 1, p.level_back.y1, p.level_next.x1 - 1, p.level_next.y2);
  draw_text_centre(bmp, (p.mode_back.x2 + p.mode_next.x1) / 2, p.mode_back.y1 + 4, COL_MENU_FONT,
                   table_name(table_index(p.key)).c_str());
  draw_text_centre(bmp, (p.level_back.x2 + p.level_next.x1) / 2, p.level_back.y1 + 4, COL_MENU_FONT,
                   SKILL_NAMES[p.key.skill]);

  // The table.
  const int mode = p.key.mode;
  draw_inset_box(bmp, PAGE_X1 + 8, TABLE_TOP - 18, PAGE_X2 - 8, TABLE_TOP + 10 * ROW_HEIGHT);
  const int header = TABLE_TOP - 14;
  draw_text(bmp, COL_RANK_X, header, COL_MENU_FONT, "Rank");
  draw_text(bmp, COL_NAME_X, header, COL_MENU_FONT, "Name");
  draw_text_right(bmp, COL_RESULT_RIGHT, header, COL_MENU_FONT, lower_result_is_better(mode) ? "Time" : "Score");
  if (mode == ENDURANCE) {
    draw_text_right(bmp, COL_DAMAGE_RIGHT, header, COL_MENU_FONT, "Damage");
    draw_text_right(bmp, COL_BOARDS_RIGHT, header, COL_MENU_FONT, "Boards");
  }
  draw_text(bmp, COL_DATE_X, header, COL_MENU_FONT, "Date");
  hline(bmp, PAGE_X1 + 9, TABLE_TOP - 3, PAGE_X2 - 9, COL_INSET_DARK);
  const std::vector<ScoreEntry>& entries = score_entries(p.key);
  if (entries.empty()) draw_text_centre(bmp, 400, TABLE_TOP + 4 * ROW_HEIGHT + 3, COL_MENU_FONT, "No scores yet.");
  for (size_t r = 0; r < entries.size(); r++) {
    const bool highlighted = p.highlight == static_cast<int>(r) && p.highlight_key == p.key;
    draw_page_row(bmp, TABLE_TOP + 2 + ROW_HEIGHT * static_cast<int>(r), static_cast<int>(r), entries[r], mode,
                  highlighted);
  }
  draw_statistics(bmp, p.key, STATS_TOP);

  draw_frame(bmp, PAGE_X1, PAGE_BOTTOM, PAGE_X2, PAGE_BOTTOM + 15);
  bool unsaved = false;
  for (const ScoreEntry& e : entries) unsaved = unsaved || e.unsaved;
  if (unsaved) draw_text(bmp, PAGE_X1 + 8, PAGE_BOTTOM + 4, COL_MENU_FONT, UNSAVED_FOOTNOTE);
  text_button_draw(&p.ok, bmp);
  present_frame();
}

void step_table(Page& p, int by) {
  const TableChoice& t = TABLES[(table_index(p.key) + by + TABLE_COUNT) % TABLE_COUNT];
  p.key.mode = t.mode;
  p.key.time_limit = t.time_limit;
}

void step_level(Page& p, int by) { p.key.skill = (p.key.skill + by + 4) % 4; }

// The page of a key, until OK!, Enter or Esc.
void run_page(const ScoreKey& shown, int highlight) {
  Page p;
  p.key = shown;
  p.heading = board_heading(shown);
  p.highlight = highlight;
  p.highlight_key = shown;
  text_button_init(&p.ok, 364, PAGE_BOTTOM, 435, PAGE_BOTTOM + 15, "OK!", ALIGN_CENTRE, 1);
  const int y = PAGE_TOP + 40;
  text_button_init(&p.mode_back, 176, y, 191, y + 15, "<", ALIGN_CENTRE, 1);
  text_button_init(&p.mode_next, 372, y, 387, y + 15, ">", ALIGN_CENTRE, 1);
  text_button_init(&p.level_back, 412, y, 427, y + 15, "<", ALIGN_CENTRE, 1);
  text_button_init(&p.level_next, 608, y, 623, y + 15, ">", ALIGN_CENTRE, 1);
  clear_keybuf();
  for (;;) {
    for (TextButton* b : {&p.ok, &p.mode_back, &p.mode_next, &p.level_back, &p.level_next}) text_button_update(b);
    if (p.mode_back.state == BUTTON_CLICKED) step_table(p, -1);
    if (p.mode_next.state == BUTTON_CLICKED) step_table(p, 1);
    if (p.level_back.state == BUTTON_CLICKED) step_level(p, -1);
    if (p.level_next.state == BUTTON_CLICKED) step_level(p, 1);
    while (keypressed()) {
      const int k = readkey() >> 8;
      if (k == KEY_LEFT) step_table(p, -1);
      if (k == KEY_RIGHT) step_table(p, 1);
      if (k == KEY_UP) step_level(p, -1);
      if (k == KEY_DOWN) step_level(p, 1);
    }
    show_page(p);
    if (p.ok.state == BUTTON_CLICKED || enter_down() || key[KEY_ESC]) break;
  }
  hold_while_down({KEY_ENTER, KEY_ENTER_PAD, KEY_ESC}, [&] { show_page(p); });
  clear_keybuf();
}

// ---------------------------------------------------------------------------
// The name prompt

enum { NAME_X1 = 200, NAME_Y1 = 220, NAME_X2 = 599, NAME_Y2 = 363 };

void show_name_prompt(const std::string& typed, const std::string& result_line) {
  copy_scene();
  draw_frame(BackBuffer, NAME_X1, NAME_Y1, NAME_X2, NAME_Y2);
  draw_text_centre(BackBuffer, 400, NAME_Y1 + 14, COL_MENU_FONT, "You have made a high score!");
  draw_text_centre(BackBuffer, 400, NAME_Y1 + 32, COL_MENU_FONT, result_line.c_str());
  draw_text_centre(BackBuffer, 400, NAME_Y1 + 56, COL_MENU_FONT, "Please enter your name.");
  draw_inset_box(BackBuffer, 260, NAME_Y1 + 72, 539, NAME_Y1 + 87);
  const bool cursor = clock_seconds - std::floor(clock_seconds) < 0.5f;  // blinks once a second
  draw_text(BackBuffer, 264, NAME_Y1 + 76, COL_MENU_FONT, (printable_name(typed) + (cursor ? "_" : "")).c_str());
  draw_text_centre(BackBuffer, 400, NAME_Y1 + 104, COL_MENU_FONT, "Enter accepts.  Esc enters \"- Anonymous -\".");
  present_frame();
}

// The name typed, or "" for Esc.
std::string ask_name(const std::string& result_line) {
  std::string typed = extra_settings.player_name.substr(0, SCORE_NAME_BYTES);
  clear_keybuf();
  play_effect(SFX_MESSAGE);
  bool accepted = false;
  for (;;) {
    show_name_prompt(typed, result_line);
    if (!keypressed()) continue;
    const int c = readkey() & 255;
    if (c == 27) break;
    if (c == 13) {
      accepted = true;
      break;
    }
    if (c == 8) {
      if (!typed.empty()) typed.pop_back();
    } else if (c >= 32 && c <= 126 && typed.size() < SCORE_NAME_BYTES) {
      typed += static_cast<char>(c);
    }
  }
  hold_while_down({KEY_ENTER, KEY_ENTER_PAD, KEY_ESC}, [&] { show_name_prompt(typed, result_line); });
  clear_keybuf();
  return accepted ? typed : std::string();
}

}  // namespace

const char* load_high_scores() {
  const char* message = nullptr;
  switch (load_scores()) {
    case SCORES_LOADED:
    case SCORES_NONE: return nullptr;
    case SCORES_DAMAGED: message = SCORES_DAMAGED_MESSAGE; break;
    case SCORES_DAMAGED_NOT_MOVED: message = SCORES_DAMAGED_NOT_MOVED_MESSAGE; break;
  }
  std::fprintf(stderr, "fusegrid: %s\n", message);
  return message;
}

namespace {
const char* waiting_message = nullptr;
}  // namespace

void report_scores_save(ScoresSave how) {
  if (how != SCORES_SAVE_FAILED) return;
  std::fprintf(stderr, "fusegrid: the high scores could not be saved to %s (%s); trying again at the next save\n",
               user_path(SCORES_FILE_NAME).c_str(), scores_save_error().c_str());
  waiting_message = SCORES_NOT_SAVED_MESSAGE;
}

const char* take_scores_message() {
  const char* message = waiting_message;
  waiting_message = nullptr;
  return message;
}

void enter_high_score() {
  if (!score_entry_pending()) return;
  const ScoreKey key = pending_score_key();
  const int rank = pending_score_rank();
  const std::string result_line = "Rank " + std::to_string(rank + 1) + "  -  " +
                                  (lower_result_is_better(key.mode) ? "Time " : "Score ") +
                                  format_score_result(key.mode, pending_score_entry().result);
  const std::string name = ask_name(result_line);
  if (!is_blank_name(name)) extra_settings.player_name = name;
  ScoresSave saved = SCORES_SAVE_NONE;
  const int entered = enter_pending_score(name, &saved);
  report_scores_save(saved);
  run_page(key, entered);
}

void close_high_scores() {
  if (score_entry_pending()) enter_pending_score(extra_settings.player_name);
  track_game_abandoned();
  // What could not be saved so far gets a last try, said when it fails.
  report_scores_save(save_waiting_scores());
}

ScoreKey high_scores_page_key() {
  if (current_board_index != -1 && board.cell_count > 0) return game_score_key();
  ScoreKey key;
  if (last_played_key(key)) return key;
  key = game_score_key();
  key.pattern = current_board_index == -1 ? 0 : current_board_index;
  return valid_score_key(key) ? key : ScoreKey{};
}

void high_scores_page() {
  const ScoreKey key = high_scores_page_key();
  const LastScoreEntry& last = last_score_entry();
  run_page(key, last.rank >= 0 && last.key == key ? last.rank : -1);
}

std::string printable_name(const std::string& name) {
  std::string shown = name;
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) c = '?';
  return shown;
}

std::string format_score_time(int32_t hundredths) {
  if (hundredths < 0) hundredths = 0;
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d.%02d", hundredths / 6000, hundredths / 100 % 60, hundredths % 100);
  return text;
}

std::string format_score_result(int mode, int32_t result) {
  return lower_result_is_better(mode) ? format_score_time(result) : std::to_string(result);
}

std::string format_score_date(int64_t date) {
  const std::time_t t = static_cast<std::time_t>(date);
  std::tm local{};
  char text[32];
  if (!localtime_r(&t, &local) || local.tm_year + 1900 > 9999 || std::strftime(text, sizeof text, "%Y-%m-%d", &local) == 0) return "-";
  return text;
}
