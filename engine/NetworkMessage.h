/// \file
/// One message between engine instances, and how it travels inside a TCP byte
/// stream: an 8-byte header, then the payload. The header holds the payload's
/// length (4 bytes, little-endian), the message kind (2 bytes, little-endian)
/// and the two marker characters "vx". A receiver that meets an unknown kind, a
/// wrong marker or a length above MAX_MESSAGE_SIZE knows the stream is not one
/// of ours and gives up on that connection.
#ifndef VX_NETWORK_MESSAGE_H
#define VX_NETWORK_MESSAGE_H

#include <string>

namespace vx {

/// The bytes of a message's header: payload length (4), kind (2), the marker "vx" (2).
const int MESSAGE_HEADER_SIZE = 8;

/// The longest payload a message may carry, in bytes.
const int MAX_MESSAGE_SIZE = 65536;

/// What a message is about. Each kind is delivered to the receiving objects as
/// an event of one of the network event types.
enum MessageKind {
  MESSAGE_UNDEFINED = 0, ///< Not a kind; a message of it is refused.
  MESSAGE_CREATE = 1,    ///< "vx-network-create"
  MESSAGE_SYNC = 2,      ///< "vx-network-sync"
  MESSAGE_DELETE = 3,    ///< "vx-network-delete"
  MESSAGE_GAME_OVER = 4, ///< "vx-network-game-over"
  MESSAGE_KEYBOARD = 5,  ///< "vx-keyboard-network"
  MESSAGE_MOUSE = 6,     ///< "vx-mouse-network"
  MESSAGE_CUSTOM = 7,    ///< "vx-custom-network"
};

/// The event type of a message kind, or "" for a kind that is not one of ours.
std::string messageKindToEventType(int kind);

/// One framed message between engine instances: a kind and at most 64 KiB of payload.
class NetworkMessage {
 private:
  int m_kind;            // A MessageKind.
  std::string m_payload; // The message bytes.

 public:
  /// An undefined message without payload.
  NetworkMessage();
  /// A message of the kind carrying a copy of bytes bytes at data.
  NetworkMessage(int kind, const void *data, int bytes);

  /// The MessageKind.
  int getKind() const;
  /// The payload bytes.
  const std::string &getPayload() const;

  /// Header and payload as they go on the wire, or "" (with a log line) when
  /// the kind is undefined or the payload longer than MAX_MESSAGE_SIZE.
  std::string encode() const;

  /// Takes the first message off the front of a receive buffer into this one.
  /// 1 when a message was taken, 0 when the buffer holds only part of one
  /// (nothing changes), -1 when the front of the buffer is not a message of
  /// ours (nothing changes either; the stream cannot be trusted any more).
  int decode(std::string &buffer);
};

} // namespace vx

#endif // VX_NETWORK_MESSAGE_H
