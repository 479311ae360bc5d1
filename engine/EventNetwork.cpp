#include "EventNetwork.h"

#include "LogManager.h"

namespace vx {

EventNetwork::EventNetwork(int label)
    : Event(NETWORK_EVENT), m_label(-1), m_socket_index(-1), m_bytes(0), m_p_message(nullptr) {
  setLabel(label);
}

int EventNetwork::setLabel(int new_label) {
  if (new_label < -1 || new_label > 3) {
    LogManager::getInstance().writeLog("EventNetwork::setLabel(): Undefined type (%d).", new_label);
    m_label = -1;
    return -1;
  }
  m_label = new_label;
  return 0;
}

int EventNetwork::getLabel() const { return m_label; }

void EventNetwork::setSocketIndex(int new_socket_index) { m_socket_index = new_socket_index; }

int EventNetwork::getSocketIndex() const { return m_socket_index; }

void EventNetwork::setBytes(int new_bytes) { m_bytes = new_bytes; }

int EventNetwork::getBytes() const { return m_bytes; }

void EventNetwork::setMessage(const void *p_new_message) { m_p_message = p_new_message; }

const void *EventNetwork::getMessage() const { return m_p_message; }

} // namespace vx
