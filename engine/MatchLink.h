/// \file
/// The connection of a lockstep match: match messages framed as network
/// messages of kind MESSAGE_CUSTOM over one of the network manager's
/// connections, read without blocking, with the bytes each way counted.
#ifndef VX_MATCH_LINK_H
#define VX_MATCH_LINK_H

#include <cstdint>
#include <string>
#include <vector>

#include "MatchMessage.h"

namespace vx {

/// The connection to the other player of a match: sends and receives match messages over a
/// network manager connection.
class MatchLink {
 private:
  int m_sock = -1;            // The network manager's socket index, or -1.
  std::string m_received;     // Bytes of a message still arriving.
  int64_t m_heard_us = 0;     // Clock::now() when bytes last came.
  int64_t m_bytes_sent = 0;   // Framed bytes since the counts were reset.
  int64_t m_bytes_received = 0;

 public:
  /// Takes a connection of the network manager, forgetting any before.
  void attach(int sock_index);
  /// Whether a connection is attached and open.
  bool isOpen() const;

  /// Sends one message. 0, or -1 when it could not go out.
  int send(const MatchMessage &message);

  /// Reads what has arrived (a bounded amount, so that a flood cannot stall a
  /// step) and appends each complete message. 0; -1 once the connection is
  /// closed; -2 when something that is not a match message came, with `error`
  /// saying what. Messages before a failure are appended all the same.
  int receive(std::vector<MatchMessage> &messages, std::string &error);

  /// Closes the connection. With `linger`, first waits up to that many
  /// milliseconds for the other side to close, reading what still comes: a
  /// socket closed with input unread makes the system reset the connection,
  /// and a reset can lose the last message on its way.
  void close(int linger_ms = 0);

  /// Clock::now() when bytes last arrived, microseconds.
  int64_t heardAt() const;
  /// Sets the byte counts back to 0.
  void resetCounts();
  ///@{
  /// Framed bytes sent and received since the counts were reset.
  int64_t bytesSent() const;
  int64_t bytesReceived() const;
  ///@}
};

} // namespace vx

#endif // VX_MATCH_LINK_H
