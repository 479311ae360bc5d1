/// \file
/// The base of every engine manager: a type name, a started flag and the
/// registry of which objects want which event types.
#ifndef VX_MANAGER_H
#define VX_MANAGER_H

#include <string>

#include "ObjectSet.h"

namespace vx {

class Event;
class Object;

/// A manager keeps interest lists for at most this many distinct event types.
const int MAX_EVENTS = 100;

/// The base of every engine manager: a type name, started or not, and the objects interested in
/// each event type it keeps. Managers are singletons that live until the program ends.
class Manager {
 private:
  std::string m_type;                   // Manager type name ("WorldManager", ...).
  int m_event_count;                    // Event types that have an interest list.
  std::string m_event_name[MAX_EVENTS]; // Event type of each interest list.
  // Objects interested in each event type, in order of registration; a set,
  // so that registering and unregistering cost the same however many listen.
  ObjectSet m_obj_list[MAX_EVENTS];
  bool m_is_started;                    // True between startUp() and shutDown().

 public:
  /// A manager of type "Manager", not started, with no interest lists.
  Manager();
  /// Drops the interest lists; the objects in them are not owned.
  virtual ~Manager();
  ///@{
  /// Not copyable: every manager is a singleton.
  Manager(const Manager &) = delete;
  Manager &operator=(const Manager &) = delete;
  ///@}

  /// Sets the started flag (warning if it was already set). Returns 0.
  virtual int startUp();

  /// Clears the started flag (warning if it was not set).
  virtual void shutDown();

  ///@{
  /// The manager's type name ("WorldManager", ...).
  std::string getType() const;
  void setType(std::string type);
  ///@}

  /// May this manager keep interest in events of this type? The base accepts none.
  virtual bool isValid(std::string event_type) const;
  /// Whether startUp() succeeded and shutDown() has not run since.
  bool isStarted() const;

  /// Delivers the event to every active object interested in its type when
  /// delivery begins, but for objects deleted meanwhile. Returns how many
  /// handlers reported the event handled.
  int onEvent(const Event *p_event) const;

  /// Drops an object that is going away from every delivery under way, in
  /// every manager, so no handler of it is called (the Object destructor calls this).
  static void forgetListener(const Object *p_o);

  ///@{
  /// Adds or removes an object's interest in an event type. Return 0 or -1.
  int registerInterest(Object *p_o, std::string event_type);
  int unregisterInterest(Object *p_o, std::string event_type);
  ///@}

  /// Number of event types that currently have an interest list.
  int getEventCount() const;
};

/// Writes the warning every concrete manager gives when started twice, and
/// returns -1 for the caller to pass on.
int warnAlreadyStarted(const Manager &manager);

} // namespace vx

#endif // VX_MANAGER_H
