// The base class of everything that lives in the game world.
#ifndef VX_OBJECT_H
#define VX_OBJECT_H

#include <string>

namespace vx {

class Event;

class Object {
 private:
  int m_id;           // Unique id, from a counter that only grows.
  std::string m_type; // Game-defined type name.
  bool m_is_active;   // Inactive objects get no events.

 public:
  Object();
  virtual ~Object();
  Object(const Object &) = delete;
  Object &operator=(const Object &) = delete;

  int getId() const;
  void setType(std::string new_type);
  std::string getType() const;
  void setActive(bool active = true);
  bool isActive() const;

  // Handles an event. Returns non-zero when it was handled.
  virtual int eventHandler(const Event *p_e);
};

} // namespace vx

#endif // VX_OBJECT_H
