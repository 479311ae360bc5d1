/// \file
/// Handed to the searching object when a path search ends.
#ifndef VX_EVENT_PATH_H
#define VX_EVENT_PATH_H

#include "Event.h"
#include "Path.h"

namespace vx {

const std::string PATH_EVENT = "vx-path";

class EventPath : public Event {
 private:
  int m_result; // Outcome of the search: 0 no path, 2 found.
  Path m_path;  // The path found; empty when there is none.

 public:
  /// Result 0 (no path), empty path.
  EventPath();
  EventPath(int result, Path path);

  void setResult(int new_result);
  int getResult() const;
  void setPath(Path new_path);
  Path getPath() const;
};

} // namespace vx

#endif // VX_EVENT_PATH_H
