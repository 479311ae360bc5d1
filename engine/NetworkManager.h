/// \file
/// The engine's TCP layer for linking game instances: a listening socket when
/// the manager is a server, the list of connections (each known by its index,
/// its socket index), sending bytes now or at a later step, receiving bytes or
/// whole messages, and network events for new and closed connections.
#ifndef VX_NETWORK_MANAGER_H
#define VX_NETWORK_MANAGER_H

#include <deque>
#include <string>
#include <vector>

#include "Manager.h"

namespace vx {

/// The port a server listens on unless told otherwise.
const std::string DEFAULT_PORT = "9876";

///@{
/// EventNetwork labels raised by the network manager.
const int NETWORK_CONNECTED = 0;
const int NETWORK_MESSAGE = 1;
const int NETWORK_CLOSED = 2;
///@}

/// Bytes waiting for a slow reader before its connection is given up.
const int MAX_UNSENT_BYTES = 1 << 20;

/// How long connect() waits for the other instance to answer, milliseconds.
const int CONNECT_TIMEOUT_MS = 3000;

///@{
/// How long a message may take to arrive once its first bytes came, and how
/// long an accepted connection may stay silent before sending anything, before
/// the connection is closed (milliseconds; 0 turns a timeout off). The
/// configuration's "network_message_timeout" and "network_silent_timeout" set
/// them when the manager starts.
const int PARTIAL_MESSAGE_TIMEOUT_MS = 5000;
const int SILENT_CONNECTION_TIMEOUT_MS = 5000;
///@}

/// Connections accept() takes or refuses in one call at most, so a flood of
/// them cannot hold up the game loop.
const int MAX_ACCEPTS_PER_CALL = 4096;

class NetworkManager;

/// Where the step's network messages come from instead of the connections (a
/// replay): it delivers them through NetworkManager::deliverMessage.
class MessageSource {
 public:
  /// Nothing to free.
  virtual ~MessageSource() = default;
  /// Delivers this step's messages; the number delivered.
  virtual int deliverMessages(const NetworkManager &network_manager) = 0;
};

/// Hears of every network message delivered (a recording).
class MessageListener {
 public:
  /// Nothing to free.
  virtual ~MessageListener() = default;
  /// Hears one message delivered from connection sock_index, of MessageKind kind.
  virtual void onMessage(int sock_index, int kind, const std::string &payload) = 0;
};

/// Links engine instances over TCP: listens and accepts, connects, sends and receives bytes or
/// framed messages, and tells interested objects of connections made and closed.
class NetworkManager : public Manager {
 private:
  // Bytes to send to a connection once the game loop reaches a step.
  struct QueuedMessage {
    std::string data;
    int due_step;
  };

  struct Connection {
    int sock;                          ///< The platform socket, -1 once closed.
    std::deque<QueuedMessage> queue;   ///< Oldest first.
    std::string unsent;                ///< Accepted by send() but not yet written.
    std::string received;              ///< Start of a message still arriving.
    bool accepted = false;             ///< Taken by accept(), not made by connect().
    bool heard = false;                ///< The peer has sent something.
    long long opened = 0;              ///< Clock::now() when it joined the list.
    long long partial_since = -1;      ///< When the unfinished message began, or -1.
  };

  NetworkManager();

  int m_server_sock;                   // The listening socket, or -1.
  int m_max_connections;               // The most connections accept() takes.
  std::vector<Connection> m_connections;
  MessageSource *m_p_message_source = nullptr; // Gives the messages instead, or null.
  MessageListener *m_p_message_listener = nullptr; // Hears of delivered messages, or null.
  int m_close_depth;                   // How many close() calls are under way.
  int m_partial_timeout_ms;            // See PARTIAL_MESSAGE_TIMEOUT_MS.
  int m_silent_timeout_ms;             // See SILENT_CONNECTION_TIMEOUT_MS.

  // Closes, with a log line each, the connections whose unfinished message
  // or whose silence since being accepted lasted longer than allowed.
  void closeTimedOut();

  // Appends a connected socket and announces it, logging under the name of
  // the operation that made it. Returns its socket index.
  int addConnection(int sock, const char *where);

  // Writes what the socket takes now: the count written (0 when it would
  // block), or -1 after an error, which closes a connection the peer closed.
  int writeSome(int sock_index, const char *data, int bytes, const char *where);

  // Whether the index names a connection that is not closed (a "closed"
  // handler may still see its own connection in the list, already closed).
  bool isOpen(int sock_index) const;

  // Writes what is left of earlier partly sent bytes. 0, or -1 after an error.
  int flushUnsent(int sock_index);

  // Reads without blocking: the count read, 0 when nothing is waiting, -1
  // (logged) when the peer closed or on error. Leaves the connection open.
  int readSome(int sock_index, void *buffer, int bytes, bool peek);

  // Reads what is waiting into the connection's message buffer. 0, or -1
  // when the peer closed or on error (the connection stays open).
  int readWaiting(int sock_index);

  // Delivers the complete messages buffered for a connection, stopping
  // early if a handler closed it. Returns how many were delivered.
  int deliverMessages(int sock_index);

  // Logs the text of a system error number.
  void logError(int error) const;

 public:
  /// Closes the sockets shutDown() left open.
  ~NetworkManager() override;

  /// The one network manager.
  static NetworkManager &getInstance();

  /// 0, or -1 when already started.
  int startUp() override;

  /// Closes every connection (one "closed" event each) and the listening socket.
  void shutDown() override;

  /// Accepts exactly the network event types.
  bool isValid(std::string event_type) const override;

  /// Listens on the port (a number; "0" lets the system pick one) with a
  /// non-blocking socket that reuses its address. The host is the address to
  /// listen on: the loopback interface unless the game names another ("0.0.0.0"
  /// or "::" for every interface). 0 or -1.
  int setServer(std::string port = DEFAULT_PORT, std::string host = "127.0.0.1");

  /// True when the manager listens for connections.
  bool isServer() const;

  /// The port listened on, or -1 when not a server.
  int getPort() const;

  /// Closes the connections that timed out, then takes every pending
  /// connection, closing at once (with a log line) those beyond the maximum.
  /// Returns the socket index of the first one taken; -1 when none was; -2 on
  /// error or when not a server.
  int accept();

  /// Connects to another instance, waiting at most CONNECT_TIMEOUT_MS. The
  /// connection joins the list like an accepted one and is announced the same
  /// way. Returns its socket index, or -1.
  int connect(std::string host, std::string port);

  ///@{
  /// The most connections accept() takes (3 at first). 0, or -1 for a negative count.
  int setMaxConnections(int max_connections);
  int getMaxConnections() const;
  ///@}

  ///@{
  /// How long a message may take to arrive once its first bytes came, and how
  /// long an accepted connection may stay silent before sending anything,
  /// milliseconds (0: no limit). Checked by accept() and receiveMessages(). 0,
  /// or -1 for a negative time (the setting stays).
  int setPartialMessageTimeout(int milliseconds);
  int setSilentConnectionTimeout(int milliseconds);
  ///@}

  /// Number of open connections.
  int getConnectionCount() const;

  /// Is the connection open? -1 asks whether any is.
  bool isConnected(int sock_index) const;

  /// Sends bytes to a connection. 0 when they went out, or when the socket took
  /// only part of them and the rest waits to go out before anything else sent
  /// to it; -1 otherwise. A peer that closed or reset has its connection closed.
  int send(const void *buffer, int bytes, int sock_index);

  /// Keeps a copy of the bytes to send to the connection once the game loop's
  /// step count reaches due_step. Messages of one connection leave in order.
  /// 0, or -1 for a connection that is not open.
  int queueMessage(const void *data, int bytes, int sock_index, int due_step);

  /// Sends what is left of partly sent bytes, then every queued message that is
  /// due, connection by connection; a message not yet due holds back the later
  /// ones of its connection. Returns the sum of the send() results.
  int sendQueued();

  /// Reads up to `bytes` waiting bytes without blocking (leaving them waiting
  /// when peeking): the count read, 0 when nothing is waiting, -1 on error or
  /// after the peer closed, which also closes the connection. A connection is
  /// read either this way or through receiveMessages(), not both.
  int receive(void *buffer, int bytes, int sock_index, bool peek = false);

  /// Frames the bytes as one message of the kind (NetworkMessage) and sends it.
  int sendMessage(int kind, const void *data, int bytes, int sock_index);

  /// Reads every connection and delivers each complete message as an
  /// EventNetwork with label NETWORK_MESSAGE, the socket index, the payload and
  /// the event type of its kind, to the objects interested in that type. A
  /// connection that sends something that is not a message is closed. Returns
  /// the number of messages delivered.
  int receiveMessages();

  /// Delivers one message of the kind from the connection as receiveMessages
  /// does (and the listener hears of it); a message source feeds its
  /// messages through here.
  void deliverMessage(int sock_index, int kind, const std::string &payload) const;

  ///@{
  /// The source of the step's messages instead of the connections (a replay),
  /// or null for the connections; the listener of delivered messages (a
  /// recording), or null.
  void setMessageSource(MessageSource *p_source);
  void setMessageListener(MessageListener *p_listener);
  ///@}

  /// Closes a connection, or every one for -1, announcing each with its index
  /// at the time. Later connections move down. 0, or -1 when a close failed
  /// (the connection is gone all the same).
  int close(int sock_index);
};

} // namespace vx

#endif // VX_NETWORK_MANAGER_H
