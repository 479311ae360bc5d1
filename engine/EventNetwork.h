/// \file
/// Raised by the network manager when a connection opens or closes.
#ifndef VX_EVENT_NETWORK_H
#define VX_EVENT_NETWORK_H

#include "Event.h"

namespace vx {

/// The network manager's event types. Only NETWORK_EVENT is raised by the
/// engine; the others are for games to send between instances.
const std::string NETWORK_EVENT = "vx-network";
///@{
/// The event types of the messages NetworkManager::receiveMessages delivers, one per
/// MessageKind: a key, a mouse report, an object to create, a game's own message, an object to
/// delete, game over, an object's changed attributes.
const std::string KEYBOARD_NETWORK_EVENT = "vx-keyboard-network";
const std::string MOUSE_NETWORK_EVENT = "vx-mouse-network";
const std::string NETWORK_CREATE_EVENT = "vx-network-create";
const std::string CUSTOM_NETWORK_EVENT = "vx-custom-network";
const std::string NETWORK_DELETE_EVENT = "vx-network-delete";
const std::string NETWORK_GAME_OVER_EVENT = "vx-network-game-over";
const std::string NETWORK_SYNC_EVENT = "vx-network-sync";
///@}

/// Network news: a connection made or closed, or a message received, with the connection's
/// index. Sent to the objects registered for NETWORK_EVENT or for the message kind's type.
class EventNetwork : public Event {
 private:
  int m_label;              // What happened: -1 undefined, 0 connected, 2 closed (1, 3 unused).
  int m_socket_index;       // The connection concerned.
  int m_bytes;              // Number of message bytes.
  const void *m_p_message;  // The message (not owned).

 public:
  /// Socket index -1, no message.
  explicit EventNetwork(int label);

  /// Accepts -1 to 3 and returns 0; any other value is logged, stored as -1 and gives -1.
  int setLabel(int new_label);
  /// What happened: NETWORK_CONNECTED, NETWORK_MESSAGE or NETWORK_CLOSED; -1 undefined.
  int getLabel() const;
  /// Sets the connection's index.
  void setSocketIndex(int new_socket_index);
  /// The index of the connection concerned (indexes move down when an earlier connection
  /// closes); -1 for none.
  int getSocketIndex() const;
  /// Sets the message's length.
  void setBytes(int new_bytes);
  /// The message's length in bytes.
  int getBytes() const;
  /// Sets the message bytes; not copied.
  void setMessage(const void *p_new_message);
  /// The message bytes; not owned, valid during the handler only.
  const void *getMessage() const;
};

} // namespace vx

#endif // VX_EVENT_NETWORK_H
