/// \file
/// A uniform grid over the world boundary that lists, for every cell, the
/// solid active objects whose world boxes touch it, so that collision queries
/// only look at the objects near the mover.
#ifndef VX_GRID_H
#define VX_GRID_H

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "Box.h"
#include "ObjectList.h"
#include "ObjectSet.h"
#include "LinePool.h"
#include "Vector.h"

namespace vx {

class Object;
class Grid;

/// A cell of the grid, or OUT_OF_BOUNDS_KEY for the out-of-bounds list.
/// Keys are ordered by row, then column.
struct GridKey {
  /// The column, from 0; -1 in OUT_OF_BOUNDS_KEY.
  int col;
  /// The row, from 0; -1 in OUT_OF_BOUNDS_KEY.
  int row;

  /// Row first, then column.
  bool operator<(const GridKey &other) const {
    return row != other.row ? row < other.row : col < other.col;
  }
  /// Whether column and row match.
  bool operator==(const GridKey &other) const {
    return col == other.col && row == other.row;
  }
  /// Whether column or row differ.
  bool operator!=(const GridKey &other) const { return !(*this == other); }
};

/// The key standing for the out-of-bounds list; it orders before every cell.
const GridKey OUT_OF_BOUNDS_KEY = {-1, -1};

/// An ordered set of keys.
typedef std::set<GridKey> GridKeySet;

/// A world box as the grid files it: its edges, the right and bottom ones
/// worked out once when it is filed rather than at every query that meets it.
struct BoxEdges {
  float left;   ///< The corner's x.
  float top;    ///< The corner's y.
  float right;  ///< The corner's x plus the width.
  float bottom; ///< The corner's y plus the height.

  /// The edges of a box: corner, and corner plus extent.
  explicit BoxEdges(const Box &box = Box());
};

static_assert(sizeof(BoxEdges) == 4 * sizeof(float), "BoxEdges is read as four floats");

/// Tests boxes against one box, as boxIntersectsBox would (edges included).
/// Where the processor has SSE2 it does so without branches, since a crowded
/// cell tests many candidates whose outcome no branch predictor can guess:
/// the box's lanes are laid out once, and a candidate costs two comparisons
/// of four lanes.
class BoxTest {
 public:
  /// A test against `box`.
  explicit BoxTest(const BoxEdges &box)
#ifdef __SSE2__
      : m_starts(_mm_setr_ps(box.left, box.top, box.left, box.top)),
        m_bounds(_mm_setr_ps(box.right, box.bottom, box.left, box.top))
#else
      : m_box(box)
#endif
  {
  }

  /// Whether the candidate's box meets the tested one.
  bool operator()(const BoxEdges &candidate) const {
#ifdef __SSE2__
    // With c the candidate and q the tested box, per axis:
    // (q.start <= c.start & c.start <= q.end) | (c.start <= q.start & q.start <= c.end).
    // Lanes 0-1 hold the first half for x and y, lanes 2-3 the second; NaN
    // fails every comparison, as it does in the scalar test.
    const __m128 c = _mm_loadu_ps(&candidate.left); // c.left, c.top, c.right, c.bottom
    const __m128 c_starts = _mm_movelh_ps(c, c);    // c.left, c.top, c.left, c.top
    // q.start <= c.start (lanes 0-1) and q.start <= c.end (2-3); then
    // c.start <= q.end (0-1) and c.start <= q.start (2-3).
    const __m128 ordered =
        _mm_and_ps(_mm_cmple_ps(m_starts, c), _mm_cmple_ps(c_starts, m_bounds));
    // The box meets the candidate when x and y each pass one half: bit m of
    // PASSES is set for the masks m where (lane 0 | lane 2) & (lane 1 | lane 3).
    const unsigned PASSES = 0xFAC8;
    return (PASSES >> _mm_movemask_ps(ordered)) & 1;
#else
    return overlap(candidate.left, candidate.right, m_box.left, m_box.right) &&
           overlap(candidate.top, candidate.bottom, m_box.top, m_box.bottom);
#endif
  }

 private:
#ifdef __SSE2__
  __m128 m_starts; // q.left, q.top, q.left, q.top
  __m128 m_bounds; // q.right, q.bottom, q.left, q.top
#else
  BoxEdges m_box;

  // intervalsOverlap on intervals given by their ends.
  static bool overlap(float a, float a_end, float b, float b_end) {
    return (b <= a && a <= b_end) || (a <= b && b <= a_end);
  }
#endif
};

/// The keys of a box: the out-of-bounds list when out_of_bounds is set, and
/// every cell from (first_col, first_row) to (last_col, last_row) (none when a
/// first index exceeds the last). The same keys as a GridKeySet, without
/// building one: the grid works out a range for every move.
struct CellRange {
  bool out_of_bounds; ///< Whether the out-of-bounds list is one of the keys.
  int first_col;      ///< The first column of cells.
  int first_row;      ///< The first row of cells.
  int last_col;       ///< The last column of cells.
  int last_row;       ///< The last row of cells.

  /// Whether the cell at (col, row) is one of the range's.
  bool contains(int col, int row) const {
    return first_col <= col && col <= last_col && first_row <= row && row <= last_row;
  }

  /// Whether the range is one cell of the grid and nothing else.
  bool isOneCell() const {
    return !out_of_bounds && first_col == last_col && first_row == last_row && first_col >= 0;
  }

  /// Whether both ranges are made of the same keys, written alike.
  bool operator==(const CellRange &other) const {
    return out_of_bounds == other.out_of_bounds && first_col == other.first_col &&
           first_row == other.first_row && last_col == other.last_col &&
           last_row == other.last_row;
  }
};

/// Where a grid filed an object, kept with the object: the grid takes it out
/// of the same keys without working them out again, and loads its cell ahead
/// of a move. Valid while the grid and its filing round are the ones named.
struct GridPlace {
  const Grid *p_grid = nullptr; ///< The grid that filed the object, or null.
  unsigned round = 0;           ///< That grid's round (a new one at each startUp).
  CellRange range = {false, 0, 0, -1, -1}; ///< The keys it was filed under.
  int64_t slot = -1; ///< Its place in the first cell of the range, as a hint (-1: none).
};

/// The objects of one cell, each with its world box as filed, in the order
/// they entered the cell. A query reads the boxes from here, one run of
/// memory, instead of visiting every object near the mover.
typedef OrderedObjects<BoxEdges, LineAllocator<OrderedSlot<BoxEdges>>> GridCell;
extern template class OrderedObjects<BoxEdges, LineAllocator<OrderedSlot<BoxEdges>>>; // Made in ObjectSet.cpp.

/// The most cells a grid may have; a larger boundary is refused at startUp.
const long MAX_GRID_CELLS = 1000000;

/// Whether a grid over a world of this extent, in cells of this size, stays
/// within MAX_GRID_CELLS; its columns and rows when asked.
bool gridFits(float width, float height, int cell_width, int cell_height,
              double *p_cols = nullptr, double *p_rows = nullptr);

/// The world cut into equal cells (grid_width x grid_height character cells): each solid object
/// is filed under every cell its box touches, so collision queries look at nearby objects only.
class Grid {
 private:
  // The cells, indexed [row][column]; null until startUp. A cell takes an
  // object in or out in constant time however crowded it is.
  std::unique_ptr<std::vector<std::vector<GridCell>>> m_p_cells;
  GridCell m_out_of_bounds; // Objects whose box reaches outside the grid.
  int m_num_cols;             // Number of columns.
  int m_num_rows;             // Number of rows.
  int m_cell_width;           // Cell width in world cells.
  int m_cell_height;          // Cell height in world cells.
  unsigned m_round;           // Counts the start-ups: places filed before are stale.

  // The last range a collision query worked out, for the move that follows
  // it: the box it was for and its keys.
  mutable BoxEdges m_query_box;
  mutable CellRange m_query_range;
  mutable bool m_query_valid;

  // The list a key stands for, or null for a key outside the grid.
  const GridCell *listOf(const GridKey &key) const;

  // The cell at a column and row known to lie inside the grid.
  const GridCell &cell(int col, int row) const {
    return (*m_p_cells)[static_cast<size_t>(row)][static_cast<size_t>(col)];
  }
  GridCell &cell(int col, int row) {
    return (*m_p_cells)[static_cast<size_t>(row)][static_cast<size_t>(col)];
  }

  // The keys covered by the box, as cellsOf() lists them.
  CellRange rangeOf(const BoxEdges &world_box) const;

  // The same, taken from the last query when it was for this box.
  CellRange queriedRangeOf(const BoxEdges &world_box) const;

  // The keys the object is filed under: from its place when this grid filed
  // it in this round, else worked out from its box at its position.
  CellRange filedRangeOf(const Object *p_o) const;

  // The place hint filed with the object in this grid and round, or -1.
  int64_t filedSlotOf(const Object *p_o) const;

  // Records where the object is filed, or that it is filed nowhere.
  void setPlace(Object *p_o, const CellRange &range, int64_t slot) const;

  // Files the object with its box under every cell of the range; the place in
  // the first cell is tried at `slot` first and written back there.
  void fileInCells(Object *p_o, const BoxEdges &box, const CellRange &range, int64_t &slot);
  static void clearPlace(Object *p_o);

 public:
  /// No cells yet; the cell size comes from the configuration.
  Grid();

  ///@{
  /// Not copyable: the world has one grid.
  Grid(const Grid &) = delete;
  Grid &operator=(const Grid &) = delete;
  ///@}

  /// Builds the cells for the world manager's current boundary. 0, or -1 when
  /// the grid exists already or the cell size or cell count is unusable.
  int startUp();

  /// Frees the cells and empties the out-of-bounds list.
  void shutDown();

  /// Files the object under every key of its box at its current position.
  int insertObject(Object *p_o);

  /// Takes a solid, active object out of every key of its box at its current position.
  int removeObject(Object *p_o);

  /// Moves the object from the keys of its current position to those of
  /// new_position; called before the object's position changes.
  int updatePosition(Object *p_o, Vector new_position);

  /// The objects in the grid, other than p_o, whose world boxes intersect
  /// p_o's box placed at where; each once, ordered by the first cell met.
  ObjectList getCollisions(const Object *p_o, Vector where) const;

  /// The same objects in the same order, appended to a list the caller keeps:
  /// a query that allocates nothing once the list has grown.
  void collectCollisions(const Object *p_o, Vector where, std::vector<Object *> &out) const;

  /// Starts loading, ahead of use, what a move of the object near its current
  /// position reads: with contents false the cell itself, with contents true
  /// the objects it lists (the cell must have been loaded by then).
  void prefetch(const Object *p_o, bool contents) const;

  /// The keys covered by the object's world box placed at position.
  GridKeySet cellsOf(const Object *p_o, Vector position) const;

  /// True between startUp and shutDown.
  bool isAllocated() const;

  ///@{
  /// The grid's columns and rows, and a cell's width and height in character cells.
  int getNumCols() const;
  int getNumRows() const;
  int getCellWidth() const;
  int getCellHeight() const;
  ///@}

  /// A copy of the list of one key (OUT_OF_BOUNDS_KEY for the out-of-bounds
  /// list); empty for a key outside the grid.
  ObjectList getCell(GridKey key) const;

  /// A copy of the out-of-bounds list.
  ObjectList getOutOfBounds() const;
};

} // namespace vx

#endif // VX_GRID_H
