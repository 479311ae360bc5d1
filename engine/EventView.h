/// \file
/// Raised by game code to update the view objects whose view string matches the tag.
#ifndef VX_EVENT_VIEW_H
#define VX_EVENT_VIEW_H

#include "Event.h"

namespace vx {

const std::string VIEW_EVENT = "vx-view";

class EventView : public Event {
 private:
  std::string m_tag; // Which view objects the event is for.
  int m_value;       // The new value, or the amount to add.
  bool m_delta;      // True: add m_value; false: replace the value with it.

 public:
  EventView(std::string tag, int value, bool delta);

  std::string getTag() const;
  int getValue() const;
  bool getDelta() const;
};

} // namespace vx

#endif // VX_EVENT_VIEW_H
