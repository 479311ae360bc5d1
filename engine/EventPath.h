/// \file
/// Handed to the searching object when a path search ends.
#ifndef VX_EVENT_PATH_H
#define VX_EVENT_PATH_H

#include "Event.h"
#include "Path.h"

namespace vx {

/// The type of EventPath, "vx-path".
const std::string PATH_EVENT = "vx-path";

/// A path search an object started with PathManager::findPath has ended. Only that object gets
/// it; Object::eventHandler's default takes the path and follows it.
class EventPath : public Event {
 private:
  int m_result; // Outcome of the search: 0 no path, 2 found.
  Path m_path;  // The path found; empty when there is none.

 public:
  /// Result 0 (no path), empty path.
  EventPath();
  /// The end of a search: result 0 with the path found, or -1 with an empty path when there is
  /// none.
  EventPath(int result, Path path);

  /// Sets the result: 0 found, -1 not found.
  void setResult(int new_result);
  /// 0 when a path was found, -1 when there is none.
  int getResult() const;
  /// Sets the path carried.
  void setPath(Path new_path);
  /// The path found, from the object's cell to the goal, in world cells; empty when none.
  Path getPath() const;
};

} // namespace vx

#endif // VX_EVENT_PATH_H
