// The base of every engine event: a value whose type is a string.
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
  std::string getType() const;
};

} // namespace vx

#endif // VX_EVENT_H
