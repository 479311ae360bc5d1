#include "NetworkManager.h"

#include "EventNetwork.h"

namespace vx {

NetworkManager::NetworkManager() { setType("NetworkManager"); }

NetworkManager &NetworkManager::getInstance() {
  static NetworkManager network_manager;
  return network_manager;
}

int NetworkManager::startUp() {
  if (isStarted())
    return warnAlreadyStarted(*this);
  return Manager::startUp();
}

void NetworkManager::shutDown() { Manager::shutDown(); }

bool NetworkManager::isValid(std::string event_type) const {
  return event_type == NETWORK_EVENT || event_type == KEYBOARD_NETWORK_EVENT ||
         event_type == MOUSE_NETWORK_EVENT || event_type == NETWORK_CREATE_EVENT ||
         event_type == CUSTOM_NETWORK_EVENT || event_type == NETWORK_DELETE_EVENT ||
         event_type == NETWORK_GAME_OVER_EVENT || event_type == NETWORK_SYNC_EVENT;
}

} // namespace vx
