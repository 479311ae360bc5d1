/// \file
/// A list of waypoints in world cells and a cursor on the current one.
#ifndef VX_PATH_H
#define VX_PATH_H

#include <iosfwd>
#include <string>
#include <vector>

#include "Vector.h"

namespace vx {

/// A sequence of positions in world cells to follow, with the index of the next one. A value
/// type.
class Path {
 private:
  std::vector<Vector> m_positions; // The waypoints, in order.
  int m_index;                     // The current waypoint; the waypoint count when done.

 public:
  /// No waypoints, index 0.
  Path();
  /// A path through positions (world cells), starting at the first.
  explicit Path(std::vector<Vector> positions);

  /// Appends a waypoint.
  void addPosition(Vector position);
  /// Every position, in order.
  const std::vector<Vector> &getPositions() const;
  /// The number of positions.
  int getCount() const;

  /// Removes every waypoint and sets the index to 0.
  void clear();

  /// The index of the next position to reach.
  int getIndex() const;
  /// Sets the current waypoint, kept within 0 to the waypoint count.
  void setIndex(int new_index);

  /// True when the index is at or past the last waypoint.
  bool isDone() const;

  /// The current waypoint, or (0,0) when the path is done.
  Vector getCurrent() const;

  /// Moves to the next waypoint; never past the waypoint count.
  void next();

  /// Every waypoint's text followed by "|"; "" for an empty path.
  std::string toString() const;

  /// Writes the waypoint count as a little-endian unsigned 64-bit integer, then
  /// each waypoint as x and y little-endian 32-bit floats. The index is not
  /// written. 0, or -1 after logging when the stream is no longer good.
  int serialize(std::ostream &out) const;

  /// Replaces the waypoints with those read; the index keeps its value, cut
  /// down to the new count. A count larger than the stream holds fails before
  /// anything is allocated. On a short or failed stream, or a count beyond what
  /// an index can address, the path is left empty and -1 returned after logging.
  int deserialize(std::istream &in);
};

} // namespace vx

#endif // VX_PATH_H
