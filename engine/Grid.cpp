#include "Grid.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "Box.h"
#include "Config.h"
#include "LogManager.h"
#include "Object.h"
#include "WorldManager.h"
#include "WorldGeometry.h"
#include "utility.h"

namespace vx {

namespace {

// The cell index of a coordinate, floor(coordinate / cell_size) in float
// division, brought into [-1, limit]: every move asks for several, and within
// that span truncation (one down for a negative fraction) is floor exactly.
// The caller keeps NaN away.
int cellIndex(float coordinate, int cell_size, int limit) {
  const float quotient = coordinate / static_cast<float>(cell_size);
  if (!(quotient > -1.0f))
    return -1;
  if (!(quotient < static_cast<float>(limit)))
    return limit;
  const int truncated = static_cast<int>(quotient);
  return static_cast<float>(truncated) > quotient ? truncated - 1 : truncated;
}

} // namespace

BoxEdges::BoxEdges(const Box &box)
    : left(box.getCorner().getX()), top(box.getCorner().getY()),
      right(box.getCorner().getX() + box.getHorizontal()),
      bottom(box.getCorner().getY() + box.getVertical()) {}

Grid::Grid()
    : m_num_cols(0), m_num_rows(0), m_cell_width(Config::getInstance().getGridWidth()),
      m_cell_height(Config::getInstance().getGridHeight()), m_round(0),
      m_query_range{false, 0, 0, -1, -1}, m_query_valid(false) {}

bool gridFits(float width, float height, int cell_width, int cell_height, double *p_cols,
              double *p_rows) {
  // A negative extent gives no cells; a non-finite or huge boundary is refused
  // rather than left to exhaust memory.
  const double cols = std::max(
      static_cast<double>(std::ceil(width / static_cast<float>(std::max(cell_width, 1)))), 0.0);
  const double rows = std::max(
      static_cast<double>(std::ceil(height / static_cast<float>(std::max(cell_height, 1)))), 0.0);
  if (p_cols != nullptr)
    *p_cols = cols;
  if (p_rows != nullptr)
    *p_rows = rows;
  return cols <= MAX_GRID_CELLS && rows <= MAX_GRID_CELLS && cols * rows <= MAX_GRID_CELLS;
}

int Grid::startUp() {
  const LogManager &log = LogManager::getInstance();
  if (m_p_cells) {
    log.writeLog("Grid::startUp(): Warning! Grid allocated. Not proceeding.");
    return -1;
  }

  // A cell size below 1 would divide by zero (or flip the grid) when filing objects.
  if (m_cell_width < 1) {
    log.writeLog("Grid::startUp(): Error! grid_width is %d, must be at least 1.", m_cell_width);
    return -1;
  }
  if (m_cell_height < 1) {
    log.writeLog("Grid::startUp(): Error! grid_height is %d, must be at least 1.", m_cell_height);
    return -1;
  }

  Box boundary = WorldManager::getInstance().getBoundary();
  double cols = 0, rows = 0;
  if (!gridFits(boundary.getHorizontal(), boundary.getVertical(), m_cell_width, m_cell_height,
                &cols, &rows)) {
    log.writeLog("Grid::startUp(): Error! %.0f columns by %.0f rows exceed the limit of %ld grid "
                 "cells.",
                 cols, rows, MAX_GRID_CELLS);
    return -1;
  }
  m_num_cols = static_cast<int>(cols);
  m_num_rows = static_cast<int>(rows);
  log.writeLog(5, "Grid::startUp(): m_num_cols %d, m_num_rows %d", m_num_cols, m_num_rows);

  std::unique_ptr<std::vector<std::vector<GridCell>>> p_cells;
  try {
    p_cells.reset(new std::vector<std::vector<GridCell>>(static_cast<size_t>(m_num_rows)));
  } catch (const std::bad_alloc &) {
    log.writeLog("Grid::startUp(): Error! Unable to allocate %d grid rows.", m_num_rows);
    return -1;
  }
  try {
    for (std::vector<GridCell> &row : *p_cells)
      row.resize(static_cast<size_t>(m_num_cols));
  } catch (const std::bad_alloc &) {
    log.writeLog("Grid::startUp(): Error! Unable to allocate columns.");
    return -1;
  }
  m_p_cells = std::move(p_cells);

  m_out_of_bounds.clear();
  m_round++;
  m_query_valid = false;
  return 0;
}

void Grid::shutDown() {
  m_p_cells.reset();
  m_out_of_bounds.clear();
  m_round++;
  m_query_valid = false;
  m_num_cols = 0;
  m_num_rows = 0;
}

const GridCell *Grid::listOf(const GridKey &key) const {
  if (key == OUT_OF_BOUNDS_KEY)
    return &m_out_of_bounds;
  if (!m_p_cells || key.col < 0 || key.row < 0 || key.col >= m_num_cols || key.row >= m_num_rows)
    return nullptr;
  return &(*m_p_cells)[static_cast<size_t>(key.row)][static_cast<size_t>(key.col)];
}

CellRange Grid::rangeOf(const BoxEdges &world_box) const {
  // No cells: first index beyond the last.
  CellRange range = {false, 0, 0, -1, -1};
  const float x0 = world_box.left, y0 = world_box.top;
  const float x1 = world_box.right, y1 = world_box.bottom;

  // Without a usable cell size or with a box that is not a number, the object
  // can only be kept in the out-of-bounds list.
  if (m_cell_width < 1 || m_cell_height < 1 || std::isnan(x0) || std::isnan(y0) ||
      std::isnan(x1) || std::isnan(y1)) {
    range.out_of_bounds = true;
    return range;
  }

  // Indices in [-1, size]: far-away boxes neither overflow an int nor make
  // the loops over the range long.
  const int c0 = cellIndex(x0, m_cell_width, m_num_cols);
  const int r0 = cellIndex(y0, m_cell_height, m_num_rows);
  int c1 = cellIndex(x1, m_cell_width, m_num_cols);
  int r1 = cellIndex(y1, m_cell_height, m_num_rows);

  range.out_of_bounds = c0 < 0 || r0 < 0;
  if (r1 >= m_num_rows) {
    r1 = m_num_rows - 1;
    range.out_of_bounds = true;
  }
  if (c1 >= m_num_cols) {
    c1 = m_num_cols - 1;
    range.out_of_bounds = true;
  }
  range.first_col = std::max(c0, 0);
  range.first_row = std::max(r0, 0);
  range.last_col = std::max(c1, -1);
  range.last_row = std::max(r1, -1);
  return range;
}

CellRange Grid::queriedRangeOf(const BoxEdges &world_box) const {
  if (m_query_valid && world_box.left == m_query_box.left && world_box.top == m_query_box.top &&
      world_box.right == m_query_box.right && world_box.bottom == m_query_box.bottom)
    return m_query_range;
  return rangeOf(world_box);
}

CellRange Grid::filedRangeOf(const Object *p_o) const {
  const GridPlace &place = p_o->m_grid_place;
  if (place.p_grid == this && place.round == m_round)
    return place.range;
  return rangeOf(BoxEdges(getWorldBox(p_o)));
}

int64_t Grid::filedSlotOf(const Object *p_o) const {
  const GridPlace &place = p_o->m_grid_place;
  return place.p_grid == this && place.round == m_round ? place.slot : -1;
}

void Grid::setPlace(Object *p_o, const CellRange &range, int64_t slot) const {
  p_o->m_grid_place.p_grid = this;
  p_o->m_grid_place.round = m_round;
  p_o->m_grid_place.range = range;
  p_o->m_grid_place.slot = slot;
}

void Grid::fileInCells(Object *p_o, const BoxEdges &box, const CellRange &range, int64_t &slot) {
  if (range.first_row > range.last_row || range.first_col > range.last_col) {
    slot = -1;
    return;
  }
  cell(range.first_col, range.first_row).assign(p_o, box, &slot);
  for (int row = range.first_row; row <= range.last_row; row++)
    for (int col = range.first_col; col <= range.last_col; col++)
      if (row != range.first_row || col != range.first_col)
        cell(col, row).assign(p_o, box);
}

void Grid::clearPlace(Object *p_o) {
  if (p_o->m_grid_place.p_grid != nullptr)
    p_o->m_grid_place = GridPlace();
}

GridKeySet Grid::cellsOf(const Object *p_o, Vector position) const {
  GridKeySet keys;
  if (p_o == nullptr)
    return keys;
  const CellRange range = rangeOf(BoxEdges(getWorldBox(p_o, position)));
  if (range.out_of_bounds)
    keys.insert(OUT_OF_BOUNDS_KEY);
  for (int row = range.first_row; row <= range.last_row; row++)
    for (int col = range.first_col; col <= range.last_col; col++)
      keys.insert(GridKey{col, row});
  return keys;
}

int Grid::insertObject(Object *p_o) {
  if (!m_p_cells) {
    LogManager::getInstance().writeLog("Grid::insertObject(): Error! grid is NULL");
    return -1;
  }
  if (p_o == nullptr) {
    LogManager::getInstance().writeLog("Grid::insertObject(): Error! Object is NULL");
    return -1;
  }
  const BoxEdges box(getWorldBox(p_o));
  const CellRange range = rangeOf(box);
  if (range.out_of_bounds)
    m_out_of_bounds.assign(p_o, box);
  int64_t slot = -1;
  fileInCells(p_o, box, range, slot);
  setPlace(p_o, range, slot);
  return 0;
}

int Grid::removeObject(Object *p_o) {
  if (!m_p_cells) {
    LogManager::getInstance().writeLog("Grid::removeObject(): Error! grid is NULL");
    return -1;
  }
  if (p_o == nullptr) {
    LogManager::getInstance().writeLog("Grid::removeObject(): Error! Object is NULL");
    return -1;
  }
  if (!p_o->isSolid() || !p_o->isActive())
    return 0;
  // An object missing from a list is not an error.
  const CellRange range = filedRangeOf(p_o);
  const int64_t slot = filedSlotOf(p_o);
  if (range.out_of_bounds)
    m_out_of_bounds.remove(p_o);
  for (int row = range.first_row; row <= range.last_row; row++)
    for (int col = range.first_col; col <= range.last_col; col++)
      cell(col, row).remove(p_o, row == range.first_row && col == range.first_col ? slot : -1);
  clearPlace(p_o);
  return 0;
}

int Grid::updatePosition(Object *p_o, Vector new_position) {
  const LogManager &log = LogManager::getInstance();
  if (!m_p_cells) {
    log.writeLog("Grid::updatePosition(): Error! grid is NULL");
    return -1;
  }
  if (p_o == nullptr) {
    log.writeLog("Grid::updatePosition(): Error! Object is NULL");
    return -1;
  }

  // Most moves stay within the one cell the object is filed in: only the box
  // filed there changes, at the place kept with the object.
  const BoxEdges new_box(getWorldBox(p_o, new_position));
  const CellRange new_range = queriedRangeOf(new_box);
  GridPlace &place = p_o->m_grid_place;
  if (new_range.isOneCell() && place.p_grid == this && place.round == m_round &&
      place.range == new_range)
    return cell(new_range.first_col, new_range.first_row).assign(p_o, new_box, &place.slot);

  // Keys under both boxes keep the object in its place; only the box filed
  // there changes. Every cell of a range lies inside the grid. The place kept
  // for the old first cell spares a search there.
  const CellRange old_range = filedRangeOf(p_o);
  const int64_t old_slot = filedSlotOf(p_o);
  if (old_range.out_of_bounds && !new_range.out_of_bounds)
    m_out_of_bounds.remove(p_o);
  for (int row = old_range.first_row; row <= old_range.last_row; row++)
    for (int col = old_range.first_col; col <= old_range.last_col; col++)
      if (!new_range.contains(col, row))
        cell(col, row).remove(
            p_o, row == old_range.first_row && col == old_range.first_col ? old_slot : -1);
  if (new_range.out_of_bounds)
    m_out_of_bounds.assign(p_o, new_box);
  int64_t slot = old_range.first_col == new_range.first_col &&
                         old_range.first_row == new_range.first_row
                     ? old_slot
                     : -1;
  fileInCells(p_o, new_box, new_range, slot);
  setPlace(p_o, new_range, slot);
  return 0;
}

ObjectList Grid::getCollisions(const Object *p_o, Vector where) const {
  std::vector<Object *> hits;
  collectCollisions(p_o, where, hits);
  ObjectList result;
  for (Object *p_hit : hits)
    result.insert(p_hit);
  return result;
}

void Grid::collectCollisions(const Object *p_o, Vector where, std::vector<Object *> &out) const {
  if (!m_p_cells) {
    LogManager::getInstance().writeLog("Grid::getCollisions(): Error! grid is NULL");
    return;
  }
  if (p_o == nullptr) {
    LogManager::getInstance().writeLog("Grid::getCollisions(): Error! Object is NULL");
    return;
  }

  // The objects under the box in the order first met: the out-of-bounds list,
  // then the cells by row and column. An object can be met again only when
  // the box covers several lists; it was met before exactly when the first
  // key that its own keys share with the box's comes before the list at hand.
  // Only hits are checked, so nothing needs remembering.
  const BoxEdges box(getWorldBox(p_o, where));
  const CellRange range = rangeOf(box);
  m_query_box = box;
  m_query_range = range;
  m_query_valid = true;
  const BoxTest hits(box);

  // Most boxes lie within one cell, where nothing can be met twice.
  if (range.isOneCell()) {
    cell(range.first_col, range.first_row)
        .forEachWhere(hits, [p_o, &out](Object *p_candidate, const BoxEdges &) {
          if (p_candidate != p_o)
            out.push_back(p_candidate);
        });
    return;
  }
  const int cells = range.first_col <= range.last_col && range.first_row <= range.last_row
                        ? (range.last_col - range.first_col + 1) *
                              (range.last_row - range.first_row + 1)
                        : 0;
  const bool may_repeat = cells + (range.out_of_bounds ? 1 : 0) > 1;
  auto metBefore = [&](const BoxEdges &hit_box, int col, int row) {
    const CellRange own = rangeOf(hit_box);
    return (range.out_of_bounds && own.out_of_bounds) ||
           col != std::max(range.first_col, own.first_col) ||
           row != std::max(range.first_row, own.first_row);
  };
  if (range.out_of_bounds)
    m_out_of_bounds.forEachWhere(hits, [&](Object *p_candidate, const BoxEdges &) {
      if (p_candidate != p_o)
        out.push_back(p_candidate);
    });
  for (int row = range.first_row; row <= range.last_row; row++)
    for (int col = range.first_col; col <= range.last_col; col++)
      cell(col, row).forEachWhere(hits, [&](Object *p_candidate, const BoxEdges &candidate_box) {
        if (p_candidate != p_o && (!may_repeat || !metBefore(candidate_box, col, row)))
          out.push_back(p_candidate);
      });
}

void Grid::prefetch(const Object *p_o, bool contents) const {
  // Only a place filed in this round names cells that exist.
  const GridPlace &place = p_o->m_grid_place;
  if (place.p_grid != this || place.round != m_round ||
      place.range.first_col > place.range.last_col || place.range.first_row > place.range.last_row)
    return;
  // Every cell of the range, for an object that straddles cells; a move
  // mostly stays within them.
  for (int row = place.range.first_row; row <= place.range.last_row; row++)
    for (int col = place.range.first_col; col <= place.range.last_col; col++) {
      const GridCell &c = cell(col, row);
      if (contents) {
        c.prefetch();
      } else {
        // A cell may straddle two cache lines; the query reads both.
        __builtin_prefetch(&c);
        __builtin_prefetch(reinterpret_cast<const char *>(&c + 1) - 1);
      }
    }
}

bool Grid::isAllocated() const { return m_p_cells != nullptr; }

int Grid::getNumCols() const { return m_num_cols; }

int Grid::getNumRows() const { return m_num_rows; }

int Grid::getCellWidth() const { return m_cell_width; }

int Grid::getCellHeight() const { return m_cell_height; }

ObjectList Grid::getCell(GridKey key) const {
  const GridCell *p_list = listOf(key);
  return p_list == nullptr ? ObjectList() : p_list->toList();
}

ObjectList Grid::getOutOfBounds() const { return m_out_of_bounds.toList(); }

} // namespace vx
