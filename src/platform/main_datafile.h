// Object indexes of the main graphics datafile "fgridgx.dat" and the sound
// datafile "fgridsfx.dat". Code refers to objects by these numbers only.
#pragma once

enum MainObject {
  OBJ_SCROLL_DOWN_PRESSED = 0,  // 0..7: scroll bar arrows, normal and pressed
  OBJ_SCROLL_DOWN = 1,
  OBJ_SCROLL_LEFT_PRESSED = 2,
  OBJ_SCROLL_LEFT = 3,
  OBJ_SCROLL_RIGHT_PRESSED = 4,
  OBJ_SCROLL_RIGHT = 5,
  OBJ_SCROLL_UP_PRESSED = 6,
  OBJ_SCROLL_UP = 7,
  OBJ_EXPLOSION_FIRST = 8,  // 8..18: the eleven explosion frames
  OBJ_EXPLOSION_FRAMES = 11,
  OBJ_CHAIN_SPEED_PICTURE = 21,
  OBJ_CHECK_OFF = 22,
  OBJ_CHECK_ON = 23,
  OBJ_PALETTE_PREVIEW = 24,  // RLE sprite
  OBJ_LABEL_BLUE = 25,
  OBJ_LABEL_GREEN = 26,
  OBJ_LABEL_RED = 27,
  OBJ_INFO_PAGE = 28,
  OBJ_DEFAULT_PALETTE = 29,
  OBJ_FONT = 30,
  OBJ_FRAME_BOTTOM = 31,
  OBJ_FRAME_TOP_RIGHT = 32,
  OBJ_FRAME_BOTTOM_RIGHT = 33,
  OBJ_FRAME_LEFT = 34,
  OBJ_FRAME_RIGHT = 35,
  OBJ_FRAME_TOP = 36,
  OBJ_FRAME_TOP_LEFT = 37,
  OBJ_FRAME_BOTTOM_LEFT = 38,
  OBJ_FLAG_LEVEL1 = 39,
  OBJ_FLAG_LEVEL2 = 40,
  OBJ_FLAG_LEVEL3 = 41,
  OBJ_FLAG = 42,
  OBJ_GFX_SWITCH_FIRST = 43,  // switch k: 43 + 2k on, 44 + 2k off
  OBJ_LED_LEVEL1_DIGIT0 = 53,  // +d; minus 65, blank 66
  OBJ_LED_LEVEL1_MINUS = 65,
  OBJ_LED_LEVEL1_BLANK = 66,
  OBJ_LED_LEVEL2_DIGIT0 = 67,  // +d; minus 79, blank 80
  OBJ_LED_LEVEL2_MINUS = 79,
  OBJ_LED_LEVEL2_BLANK = 80,
  OBJ_LED_LEVEL3_DIGIT0 = 81,  // +d; minus 93, blank 94
  OBJ_LED_LEVEL3_MINUS = 93,
  OBJ_LED_LEVEL3_BLANK = 94,
  OBJ_LED_DIGIT0 = 95,  // +d
  OBJ_LED_COLON_OFF = 105,
  OBJ_LED_COLON_ON = 106,
  OBJ_LED_MINUS = 107,
  OBJ_LED_BLANK = 108,
  OBJ_LOGO = 109,
  OBJ_LOGO_PALETTE = 110,
  OBJ_MINE_LEVEL1 = 111,
  OBJ_MINE_LEVEL2 = 112,
  OBJ_MINE_LEVEL3 = 113,
  OBJ_MODE_FIRST = 114,  // mode m: 114 + 2m chosen, 115 + 2m not chosen
  OBJ_POINTER = 128,
  OBJ_NUMBER_BASE = 130,  // glyph of clue n (1..64) is 130 + n
  OBJ_QUESTION = 195,
  OBJ_PANEL_BOTTOM = 196,
  OBJ_PANEL_FILLER = 197,
  OBJ_PANEL_SEPARATOR = 198,
  OBJ_SKILL_FIRST = 199,  // level s: 199 + 2s chosen, 200 + 2s not chosen
  OBJ_FACE_LOST = 207,
  OBJ_FACE_BLINK = 208,
  OBJ_FACE_IDLE1 = 209,
  OBJ_FACE_NEUTRAL = 210,
  OBJ_FACE_HELD = 211,
  OBJ_FACE_IDLE2 = 212,
  OBJ_FACE_WON = 213,
  OBJ_BADGE_FIRST = 214,  // 214..225: status panel badges
  OBJ_PRESS_KEY_PALETTE = 226,
  OBJ_PRESS_KEY_PICTURE = 227,
  MAIN_OBJECT_COUNT = 228
};

// The sound effects: object k of the sound datafile is effect k.
enum SoundEffect {
  SFX_AUTO_REVEAL = 0,
  SFX_REMOVE_FLAG = 1,
  SFX_PLACE_FLAG = 2,
  SFX_EXPLOSION = 3,
  SFX_FIREWORKS = 4,
  SFX_CLICK = 5,
  SFX_CHORD = 6,
  SFX_MESSAGE = 7,
  SFX_REVEAL = 8,
  SFX_NEW_GAME = 9,
  SFX_GAME_DONE = 10,
  SFX_COUNT = 11
};
