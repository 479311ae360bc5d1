/// \file
/// Raised by game code to update the view objects whose view string matches the tag.
#ifndef VX_EVENT_VIEW_H
#define VX_EVENT_VIEW_H

#include "Event.h"

namespace vx {

/// The type of EventView, "vx-view".
const std::string VIEW_EVENT = "vx-view";

/// Updates view objects: sent by the game through WorldManager::onEvent, it reaches every view
/// object whose view string equals its tag.
class EventView : public Event {
 private:
  std::string m_tag; // Which view objects the event is for.
  int m_value;       // The new value, or the amount to add.
  bool m_delta;      // True: add m_value; false: replace the value with it.

 public:
  /// An update for the view objects tagged `tag`: add value to theirs when delta is true, else
  /// take value.
  EventView(std::string tag, int value, bool delta);

  /// The view string of the view objects it is for.
  std::string getTag() const;
  /// The value to add or to take.
  int getValue() const;
  /// True when the value is added, false when it replaces theirs.
  bool getDelta() const;
};

} // namespace vx

#endif // VX_EVENT_VIEW_H
