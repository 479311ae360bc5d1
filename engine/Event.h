/// \file
/// The base of every engine event: a value whose type is a string.
#ifndef VX_EVENT_H
#define VX_EVENT_H

#include <string>

namespace vx {

const std::string UNDEFINED_EVENT = "vx-undefined";

class Event {
 private:
  std::string m_event_type; // The event type, "vx-undefined" by default.

 public:
  Event();
  virtual ~Event();

  void setType(std::string new_type);
  /// A reference to the event's own type: handlers compare it on every event.
  const std::string &getType() const { return m_event_type; }
};

} // namespace vx

#endif // VX_EVENT_H
