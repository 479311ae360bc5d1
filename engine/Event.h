/// \file
/// The base of every engine event: a value whose type is a string.
#ifndef VX_EVENT_H
#define VX_EVENT_H

#include <string>

namespace vx {

/// The type of an event that was not given one, "vx-undefined".
const std::string UNDEFINED_EVENT = "vx-undefined";

/// The base of every event: a type string that says which kind it is. Events are made by
/// whoever raises them and lent to each handler, which must not keep the pointer.
class Event {
 private:
  std::string m_event_type; // The event type, "vx-undefined" by default.

 public:
  /// An event of type UNDEFINED_EVENT.
  Event();
  /// An event of the given type: what every kind of event starts with, one
  /// copy of its type where a default type then replaced would make two.
  explicit Event(const std::string &type);
  /// Nothing to free.
  virtual ~Event();

  /// Sets the type string.
  void setType(std::string new_type);
  /// A reference to the event's own type: handlers compare it on every event.
  const std::string &getType() const { return m_event_type; }
};

} // namespace vx

#endif // VX_EVENT_H
