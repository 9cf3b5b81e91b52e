#include "rules/hint.h"

#include <cstdint>

#include "rules/solver.h"

const float HINT_PENALTY_SECONDS = 30.0f;
const int HINT_SCORE_COST = 250;
const int HINT_DAMAGE_PER_HIDDEN_CELL = 1;

namespace {

bool flagged(const Cell& cell) {
  return cell.state == FLAGGED || cell.state == FLAGGED_LEVEL2 || cell.state == FLAGGED_LEVEL3;
}

// The point distances are measured from: the pointer's cell, or the middle
// of the cells' positions.
void reference_point(int pointer_cell, int64_t& x, int64_t& y) {
  if (pointer_cell >= 0 && pointer_cell < board.cell_count) {
    x = board.cells[pointer_cell].x;
    y = board.cells[pointer_cell].y;
    return;
  }
  int32_t x1 = board.cells[0].x, x2 = x1, y1 = board.cells[0].y, y2 = y1;
  for (int i = 1; i < board.cell_count; i++) {
    const Cell& c = board.cells[i];
    if (c.x < x1) x1 = c.x;
    if (c.x > x2) x2 = c.x;
    if (c.y < y1) y1 = c.y;
    if (c.y > y2) y2 = c.y;
  }
  x = (static_cast<int64_t>(x1) + x2) / 2;
  y = (static_cast<int64_t>(y1) + y2) / 2;
}

}  // namespace

HintResult find_hint(int pointer_cell) {
  if (game.phase != PLAYING || game.first_cell == -1 || board.cell_count <= 0) return {HINT_UNAVAILABLE, -1};
  Solver solver;
  const SolverStats& stats = solver.solve(board, game);
  if (!stats.consistent) return {HINT_NOTHING_CERTAIN, -1};
  int64_t px = 0, py = 0;
  reference_point(pointer_cell, px, py);
  int best_safe = -1, best_mine = -1;
  int64_t safe_distance = 0, mine_distance = 0;
  for (int i = 0; i < board.cell_count; i++) {
    const CellVerdict v = solver.verdict(i);
    if (v != VERDICT_SAFE && v != VERDICT_MINE) continue;
    if (v == VERDICT_MINE && flagged(board.cells[i])) continue;
    const int64_t dx = board.cells[i].x - px, dy = board.cells[i].y - py;
    const int64_t d = dx * dx + dy * dy;
    int& best = v == VERDICT_SAFE ? best_safe : best_mine;
    int64_t& distance = v == VERDICT_SAFE ? safe_distance : mine_distance;
    if (best < 0 || d < distance) {
      best = i;
      distance = d;
    }
  }
  if (best_safe >= 0) return {HINT_SAFE, best_safe};
  if (best_mine >= 0) return {HINT_MINE, best_mine};
  return {HINT_NOTHING_CERTAIN, -1};
}

void apply_hint_penalty() {
  switch (game.mode) {
    case ENDURANCE: game.damage += HINT_DAMAGE_PER_HIDDEN_CELL * game.cells_hidden; break;
    case MEGAMINE:
      game.score = game.score > HINT_SCORE_COST ? game.score - HINT_SCORE_COST : 0;
      break;
    default: game.penalty_time += HINT_PENALTY_SECONDS; break;
  }
}

HintResult use_hint(int pointer_cell) {
  const HintResult hint = find_hint(pointer_cell);
  if (hint.kind == HINT_UNAVAILABLE) return hint;
  apply_hint_penalty();
  game.hinted = true;
  return hint;
}
