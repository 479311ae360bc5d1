#include "Manager.h"

#include <utility>

#include "Event.h"
#include "LogManager.h"
#include "Object.h"
#include "ObjectSnapshot.h"

namespace vx {

namespace {

// The walks of deliveries under way in all managers, innermost last. Never
// destroyed: objects may go away during static destruction at exit.
SnapshotStack &deliveries() {
  static SnapshotStack *p_under_way = new SnapshotStack;
  return *p_under_way;
}

// One delivery of an event: a walk over the listeners registered when it
// began, on a snapshot kept for the next delivery at the same depth.
class Delivery {
 private:
  ObjectSnapshot &m_listeners;

 public:
  explicit Delivery(const ObjectSet &listeners) : m_listeners(deliveries().push()) {
    m_listeners.take(listeners);
  }
  ~Delivery() { deliveries().pop(); }
  Delivery(const Delivery &) = delete;
  Delivery &operator=(const Delivery &) = delete;

  // The next listener still there, or null at the end. A listener a few
  // places ahead starts loading meanwhile: a step event reaches every object
  // that moves, more of them than the caches hold.
  Object *next() {
    if (const Object *p_ahead = m_listeners.peek(8))
      __builtin_prefetch(p_ahead);
    return m_listeners.next();
  }
};

} // namespace

Manager::Manager() : m_type("Manager"), m_event_count(0), m_is_started(false) {}

Manager::~Manager() = default;

void Manager::setType(std::string type) { m_type = type; }

std::string Manager::getType() const { return m_type; }

bool Manager::isStarted() const { return m_is_started; }

int Manager::getEventCount() const { return m_event_count; }

bool Manager::isValid(std::string) const { return false; }

int Manager::startUp() {
  if (m_is_started)
    LogManager::getInstance().writeLog(1, "Manager::startUp(): Warning! %s already started.",
                                       m_type.c_str());
  m_is_started = true;
  return 0;
}

void Manager::shutDown() {
  if (!m_is_started)
    LogManager::getInstance().writeLog(1, "Manager::shutDown(): Warning! %s not started.",
                                       m_type.c_str());
  m_is_started = false;
}

int Manager::onEvent(const Event *p_event) const {
  const LogManager &log_manager = LogManager::getInstance();
  std::string type = p_event->getType();
  if (type == UNDEFINED_EVENT) {
    log_manager.writeLog(1, "Manager(%s)::onEvent(): Warning! Event type %s is undefined.",
                         m_type.c_str(), type.c_str());
    return 0;
  }
  if (!isValid(type)) {
    log_manager.writeLog(1, "Manager(%s)::onEvent(): Error! Event type %s not valid.",
                         m_type.c_str(), type.c_str());
    return 0;
  }

  int count = 0;
  for (int i = 0; i < m_event_count; i++) {
    if (m_event_name[i] != type)
      continue;
    // Walk a copy: handlers may change interests while the event is delivered.
    // Objects deleted meanwhile are taken out of it by forgetListener.
    Delivery delivery(m_obj_list[i]);
    while (Object *p_o = delivery.next())
      if (p_o->isActive() && p_o->eventHandler(p_event) != 0)
        count++;
  }
  return count;
}

void Manager::forgetListener(const Object *p_o) { deliveries().forget(p_o); }

int Manager::registerInterest(Object *p_o, std::string event_type) {
  if (!isValid(event_type)) {
    LogManager::getInstance().writeLog(
        "Manager(%s)::registerInterest(): Event '%s' not valid for this Manager", m_type.c_str(),
        event_type.c_str());
    return -1;
  }
  for (int i = 0; i < m_event_count; i++) {
    if (m_event_name[i] != event_type)
      continue;
    if (m_obj_list[i].contains(p_o)) {
      LogManager::getInstance().writeLog(
          1, "Manager::registerInterest(): Warning! Not adding id %d (%s) twice for event %s.",
          p_o->getId(), p_o->getType().c_str(), event_type.c_str());
      return 0;
    }
    return m_obj_list[i].insert(p_o);
  }
  if (m_event_count == MAX_EVENTS)
    return -1;
  m_event_name[m_event_count] = event_type;
  m_obj_list[m_event_count].clear();
  if (m_obj_list[m_event_count].insert(p_o) != 0)
    return -1;
  m_event_count++;
  return 0;
}

int Manager::unregisterInterest(Object *p_o, std::string event_type) {
  for (int i = 0; i < m_event_count; i++) {
    if (m_event_name[i] != event_type)
      continue;
    if (m_obj_list[i].remove(p_o) != 0)
      return -1;
    if (m_obj_list[i].isEmpty()) {
      // Close the gap, keeping the other event types in order.
      for (int j = i; j < m_event_count - 1; j++) {
        m_event_name[j] = m_event_name[j + 1];
        m_obj_list[j] = std::move(m_obj_list[j + 1]);
      }
      m_event_count--;
    }
    return 0;
  }
  return -1;
}

int warnAlreadyStarted(const Manager &manager) {
  std::string type = manager.getType();
  LogManager::getInstance().writeLog("%s::startup(): Warning! %s already started.", type.c_str(),
                                     type.c_str());
  return -1;
}

} // namespace vx
