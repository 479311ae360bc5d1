// The manager that keeps interest in network events. Connections are not
// handled yet: for now it only routes objects' interest in the network event
// types.
#ifndef VX_NETWORK_MANAGER_H
#define VX_NETWORK_MANAGER_H

#include <string>

#include "Manager.h"

namespace vx {

class NetworkManager : public Manager {
 private:
  NetworkManager();

 public:
  static NetworkManager &getInstance();

  // 0, or -1 when already started.
  int startUp() override;
  void shutDown() override;

  // Accepts exactly the network event types.
  bool isValid(std::string event_type) const override;
};

} // namespace vx

#endif // VX_NETWORK_MANAGER_H
