// Board styles of the game: the tilings their cells come from, the patterns
// (boards) cut out of them, and the geometry the style datafiles carry for
// each cell shape (adjacency grid, symbol box, picture size).
//
// Coordinates are board pixels: a cell outline is a convex polygon with
// integer vertices in a continuous plane where pixel (x, y) covers the unit
// square [x, x + 1) x [y, y + 1). Two cells are neighbours when their closed
// outlines share a point (an edge or only a corner). A cell's pictures are
// the outline less a grout band of GROUT_HALF pixels on every side, placed
// at the cell's block position: 8 x the block coordinates, the outline's
// bounding box rounded down to whole blocks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace styles {

enum {
  GRID_MAX = 8,           // adjacency grid blocks per side
  STYLE_MAX_SHAPES = 255,
  PATTERN_MAX_CELLS = 1280,
  PATTERN_MAX_NEIGHBOURS = 32,
  BOARD_MAX_W = 712,       // board picture limits in pixels
  BOARD_MAX_H = 584,
  HIT_COLUMNS = 89,
  HIT_ROWS = 73,
  HIT_SLOTS_PER_BUCKET = 4
};

// Grout: every tile keeps pixel centres at least this far from its outline,
// so neighbouring tiles are two pixels apart along an edge.
constexpr double GROUT_HALF = 1.0;

struct Pt {
  int x = 0;
  int y = 0;
};
inline bool operator==(const Pt& a, const Pt& b) { return a.x == b.x && a.y == b.y; }
inline bool operator<(const Pt& a, const Pt& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; }

using Poly = std::vector<Pt>;

// How a style's adjacency grids are coded. Both use the four codes of a
// block as its four 4 x 4 pixel quarters (0 top left, 1 top right,
// 2 bottom left, 3 bottom right); a quarter is "met" by a cell when the
// half-open quarter [x, x+4) x [y, y+4) shares a point with the closed
// outline, so a point two cells share always lies in a quarter both meet.
//   AREA: code 2 on every quarter the cell meets. Two cells touch when some
//     quarter is met by both.
//   CORNERS: code 2 on the quarters holding a vertex of the outline, code 1
//     on the other quarters the cell meets. Two cells touch when one's
//     vertex quarter is met by the other; tighter where tiles come close.
enum Encoding { ENCODE_AREA = 0, ENCODE_CORNERS = 1 };

struct ShapeDef {
  Poly outline;            // relative to the picture's top-left corner
  int pic_w = 0, pic_h = 0;  // picture size: 8 * (grid - 2) each way
  int grid_w = 0, grid_h = 0;
  int symbol_x = 0, symbol_y = 0;  // top-left of the 16 x 16 symbol box
  int tint = 0;  // face of the hidden picture: 1 lighter, -1 darker (a cube's lid and sides)
  uint8_t codes[GRID_MAX][GRID_MAX][4] = {};  // [block x][block y][quarter]
};

struct CellDef {
  int shape = 0;
  int bx = 0, by = 0;  // block position on the board picture
  Poly outline;        // board pixels
  int tint = 0;        // handed to the cell's shape
};

struct PatternDef {
  std::string name;
  int width = 0, height = 0;  // board picture in pixels (multiples of 8)
  std::vector<CellDef> cells;
  int mines[4] = {0, 0, 0, 0};  // Beginner .. Master
  int mega[4] = {0, 0, 0, 0};   // MegaMine mode
};

// Looks of a style: which palette ramp its board tray uses and how it is
// textured (see style_art.cpp).
enum Look { LOOK_SLATE, LOOK_WAX, LOOK_STONE, LOOK_TERRACE, LOOK_TOY, LOOK_MOSAIC, LOOK_LATTICE, LOOK_MORTAR, LOOK_PAPER };

struct StyleDef {
  std::string file_name;  // at most 15 characters
  std::string name;       // at most 31 characters
  Look look = LOOK_SLATE;
  Encoding encoding = ENCODE_AREA;
  std::vector<ShapeDef> shapes;
  std::vector<PatternDef> patterns;
};

// Every style the game ships, geometry and adjacency grids included (no
// pictures). The first is the style in play at start ("fgboards.dat").
// Deterministic: the same call always gives the same styles.
std::vector<StyleDef> build_styles();
// Whether the calibrated mine count table (mine_counts.inc) lists the
// pattern; a pattern it does not list takes mine counts from fixed shares.
bool mine_counts_listed(const std::string& file, const std::string& pattern);

// Neighbours from the outlines: cells whose closed outlines share a point.
// Lists are in increasing index order.
std::vector<std::vector<int>> outline_neighbours(const std::vector<CellDef>& cells);

// The game's neighbour search on the style's adjacency grids: blocks of two
// cells at the same board spot touch when at some quarter the two codes add
// up to 3 or more. Lists in increasing index order, not cut at 32.
std::vector<std::vector<int>> grid_neighbours(const StyleDef& style, const PatternDef& pattern);

// The pixels of a tile: for each pixel of a pic_w x pic_h picture, depth
// below 0 outside the tile (the cell's outline less the grout), else the
// distance of the pixel centre from the tile's edge (0 at the rim); and the
// outward normal of the nearest outline edge.
struct TilePixel {
  float depth = -1.0f;
  float nx = 0.0f, ny = 0.0f;
};
std::vector<TilePixel> tile_pixels(const Poly& outline, int pic_w, int pic_h);
// The hit mask of a shape: 1 where the hidden picture is opaque.
std::vector<uint8_t> tile_mask(const ShapeDef& shape);

// Fills a shape's adjacency grid codes from its outline (grid_w, grid_h set).
void encode_shape(ShapeDef& shape, Encoding encoding);

// Area centroid of an outline.
void outline_centroid(const Poly& outline, double& cx, double& cy);

// Checks of one pattern against everything the game relies on: limits,
// pictures inside the board and the hit grid, no bucket with more than four
// cells, every opaque pixel of a tile found by the hit test (a faithful copy
// of the game's), no pixel claimed by two tiles, the grid neighbours equal to
// the outline neighbours, at most 32 neighbours, mine counts the game
// accepts. Returns "" when all hold, else a description of the first failure.
struct PatternFigures {
  int cells = 0;
  int most_neighbours = 0;
  int fullest_bucket = 0;
  long opaque_pixels = 0;
  long neighbour_pairs = 0;
  int components = 0;
};
std::string check_pattern(const StyleDef& style, const PatternDef& pattern, PatternFigures* figures);

// The first click's zone and the mines a pattern can take without making
// the zone impossible to clear (the game refuses more).
int most_mines_allowed(int cells, int most_neighbours);

}  // namespace styles
