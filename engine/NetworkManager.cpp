#include "NetworkManager.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "Clock.h"
#include "Config.h"
#include "EventNetwork.h"
#include "GameManager.h"
#include "LogManager.h"
#include "NetworkMessage.h"

namespace vx {

namespace {

// Bytes read from a socket at a time, and reads per connection and call, so
// one busy peer cannot hold up the game loop.
const int READ_CHUNK = 16384;
const int MAX_READS = 16;

bool wouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK; }

// Errors that say the peer is gone: the connection is closed.
bool peerGone(int error) {
  return error == ENOTCONN || error == EBADF || error == EPIPE || error == ECONNRESET ||
         error == ETIMEDOUT;
}

// Keeps small messages from waiting for more bytes to join them.
void setNoDelay(int sock) {
  int on = 1;
  setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
}

// The addresses of a host and port for a stream socket, or null (logged).
addrinfo *resolve(const std::string &host, const std::string &port, bool passive,
                  const char *where) {
  addrinfo hints;
  std::memset(&hints, 0, sizeof(hints));
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV | (passive ? AI_PASSIVE : 0);
  addrinfo *p_list = nullptr;
  int result = getaddrinfo(host.empty() ? nullptr : host.c_str(), port.c_str(), &hints, &p_list);
  if (result != 0) {
    LogManager::getInstance().writeLog("NetworkManager::%s(): Error! getaddrinfo(%s, %s): %s",
                                       where, host.c_str(), port.c_str(), gai_strerror(result));
    return nullptr;
  }
  return p_list;
}

// Waits for a non-blocking connect to finish, until the deadline at the
// latest. 0, or the error number.
int finishConnect(int sock, std::chrono::steady_clock::time_point deadline) {
  pollfd pfd;
  pfd.fd = sock;
  pfd.events = POLLOUT;
  pfd.revents = 0;
  int ready;
  do {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    ready = poll(&pfd, 1, static_cast<int>(std::max<long long>(0, left.count())));
  } while (ready < 0 && errno == EINTR);
  if (ready == 0)
    return ETIMEDOUT;
  if (ready < 0)
    return errno;
  int error = 0;
  socklen_t length = sizeof(error);
  if (getsockopt(sock, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
    return errno;
  return error;
}

} // namespace

NetworkManager::NetworkManager()
    : m_server_sock(-1), m_max_connections(3), m_close_depth(0),
      m_partial_timeout_ms(PARTIAL_MESSAGE_TIMEOUT_MS),
      m_silent_timeout_ms(SILENT_CONNECTION_TIMEOUT_MS) {
  setType("NetworkManager");
}

NetworkManager::~NetworkManager() {
  // Only descriptors go here: the other managers may already be gone.
  for (const Connection &connection : m_connections)
    if (connection.sock != -1)
      ::close(connection.sock);
  if (m_server_sock != -1)
    ::close(m_server_sock);
}

NetworkManager &NetworkManager::getInstance() {
  static NetworkManager network_manager;
  return network_manager;
}

int NetworkManager::startUp() {
  if (isStarted())
    return warnAlreadyStarted(*this);
  // BSD sockets need no library start; sends never raise SIGPIPE (MSG_NOSIGNAL).
  // The timeouts come from the configuration; a negative one keeps its default.
  const Config &config = Config::getInstance();
  setPartialMessageTimeout(config.getNetworkMessageTimeout());
  setSilentConnectionTimeout(config.getNetworkSilentTimeout());
  Manager::startUp();
  LogManager::getInstance().writeLog(5, "NetworkManager::startUp(): successfully started.");
  return 0;
}

void NetworkManager::shutDown() {
  close(-1);
  if (m_server_sock != -1) {
    ::close(m_server_sock);
    m_server_sock = -1;
  }
  Manager::shutDown();
  LogManager::getInstance().writeLog(5, "NetworkManager::shutDown(): successfully stopped.");
}

bool NetworkManager::isValid(std::string event_type) const {
  if (event_type == NETWORK_EVENT || event_type == KEYBOARD_NETWORK_EVENT ||
      event_type == MOUSE_NETWORK_EVENT || event_type == NETWORK_CREATE_EVENT ||
      event_type == CUSTOM_NETWORK_EVENT || event_type == NETWORK_DELETE_EVENT ||
      event_type == NETWORK_GAME_OVER_EVENT || event_type == NETWORK_SYNC_EVENT)
    return true;
  LogManager::getInstance().writeLog(
      "NetworkManager::isValid(): Error! NetworkManager does not handle %s.", event_type.c_str());
  return false;
}

void NetworkManager::logError(int error) const {
  LogManager::getInstance().writeLog("\t%d - %s", error, std::strerror(error));
}

int NetworkManager::setServer(std::string port, std::string host) {
  const LogManager &log_manager = LogManager::getInstance();
  if (m_server_sock != -1) {
    log_manager.writeLog("NetworkManager::setServer(): Warning! Already a server on port %d.",
                         getPort());
    return -1;
  }
  addrinfo *p_list = resolve(host, port, true, "setServer");
  if (p_list == nullptr)
    return -1;
  int error = 0;
  for (addrinfo *p_a = p_list; p_a != nullptr && m_server_sock == -1; p_a = p_a->ai_next) {
    int sock = socket(p_a->ai_family, p_a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                      p_a->ai_protocol);
    if (sock == -1) {
      error = errno;
      continue;
    }
    int on = 1;
    if (setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on)) != 0 ||
        bind(sock, p_a->ai_addr, p_a->ai_addrlen) != 0 || listen(sock, SOMAXCONN) != 0) {
      error = errno;
      ::close(sock);
      continue;
    }
    m_server_sock = sock;
  }
  freeaddrinfo(p_list);
  if (m_server_sock == -1) {
    log_manager.writeLog("NetworkManager::setServer(): Error! Unable to listen on %s port %s:",
                         host.c_str(), port.c_str());
    logError(error);
    return -1;
  }
  log_manager.writeLog(1, "NetworkManager::setServer(): Listening on %s port %d.", host.c_str(),
                       getPort());
  return 0;
}

bool NetworkManager::isServer() const { return m_server_sock != -1; }

int NetworkManager::getPort() const {
  if (m_server_sock == -1)
    return -1;
  sockaddr_storage address;
  socklen_t length = sizeof(address);
  if (getsockname(m_server_sock, reinterpret_cast<sockaddr *>(&address), &length) != 0)
    return -1;
  if (address.ss_family == AF_INET6)
    return ntohs(reinterpret_cast<sockaddr_in6 *>(&address)->sin6_port);
  return ntohs(reinterpret_cast<sockaddr_in *>(&address)->sin_port);
}

int NetworkManager::addConnection(int sock, const char *where) {
  setNoDelay(sock);
  Connection connection;
  connection.sock = sock;
  connection.accepted = std::strcmp(where, "accept") == 0;
  connection.opened = Clock::now();
  m_connections.push_back(connection);
  int index = static_cast<int>(m_connections.size()) - 1;
  LogManager::getInstance().writeLog(1, "NetworkManager::%s(): New connection, socket %d.", where,
                                     index);
  EventNetwork event(NETWORK_CONNECTED);
  event.setSocketIndex(index);
  event.setBytes(0);
  onEvent(&event);
  return index;
}

int NetworkManager::accept() {
  const LogManager &log_manager = LogManager::getInstance();
  if (m_server_sock == -1) {
    log_manager.writeLog("NetworkManager::accept(): Error! Not setup as server.");
    return -2;
  }
  closeTimedOut();
  // Every pending connection is taken now: one a step would leave a real
  // peer waiting behind a crowd of others.
  int first = -1, refused = 0;
  for (int taken = 0; taken < MAX_ACCEPTS_PER_CALL; taken++) {
    int sock = accept4(m_server_sock, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (sock == -1) {
      int error = errno;
      // A connection reset before it was taken is no error of ours either.
      if (error == EINTR || error == ECONNABORTED)
        continue;
      if (wouldBlock(error))
        break;
      log_manager.writeLog("NetworkManager::accept(): Error! accept() returned:");
      logError(error);
      return first != -1 ? first : -2;
    }
    // Beyond the maximum a connection is closed at once rather than left
    // waiting for a slot that may never come.
    if (getConnectionCount() >= m_max_connections) {
      ::close(sock);
      refused++;
      continue;
    }
    int index = addConnection(sock, "accept");
    if (first == -1)
      first = index;
  }
  if (refused > 0)
    log_manager.writeLog("NetworkManager::accept(): Warning! Refused %d connection(s): at the "
                         "maximum of %d.", refused, m_max_connections);
  if (first == -1)
    log_manager.writeLog(15, "NetworkManager::accept(): No new connection. Not blocking.");
  return first;
}

void NetworkManager::closeTimedOut() {
  const long long now = Clock::now();
  for (int i = getConnectionCount() - 1; i >= 0; i--) {
    if (i >= getConnectionCount() || !isOpen(i))
      continue; // A handler closed connections meanwhile.
    Connection &connection = m_connections[static_cast<size_t>(i)];
    // Bytes waiting in the socket count as heard even when the game reads
    // the connection some other way.
    char byte;
    if (connection.accepted && !connection.heard && m_silent_timeout_ms > 0 &&
        readSome(i, &byte, 1, true) != 0)
      connection.heard = true;
    const char *p_why = nullptr;
    long long since = 0;
    int limit = 0;
    if (connection.partial_since >= 0 && m_partial_timeout_ms > 0) {
      p_why = "left a message unfinished for";
      since = connection.partial_since;
      limit = m_partial_timeout_ms;
    } else if (connection.accepted && !connection.heard && m_silent_timeout_ms > 0) {
      p_why = "sent nothing in";
      since = connection.opened;
      limit = m_silent_timeout_ms;
    }
    if (p_why == nullptr || (now - since) / 1000 <= limit)
      continue;
    LogManager::getInstance().writeLog(
        "NetworkManager::closeTimedOut(): Socket %d %s %lld ms. Closing it.", i, p_why,
        (now - since) / 1000);
    close(i);
  }
}

int NetworkManager::connect(std::string host, std::string port) {
  addrinfo *p_list = resolve(host, port, false, "connect");
  if (p_list == nullptr)
    return -1;
  int connected = -1;
  int error = 0;
  // One wait for all the host's addresses together.
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(CONNECT_TIMEOUT_MS);
  for (addrinfo *p_a = p_list; p_a != nullptr && connected == -1; p_a = p_a->ai_next) {
    int sock = socket(p_a->ai_family, p_a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                      p_a->ai_protocol);
    if (sock == -1) {
      error = errno;
      continue;
    }
    error = ::connect(sock, p_a->ai_addr, p_a->ai_addrlen) == 0 ? 0 : errno;
    if (error == EINPROGRESS)
      error = finishConnect(sock, deadline);
    if (error != 0)
      ::close(sock);
    else
      connected = sock;
  }
  freeaddrinfo(p_list);
  if (connected == -1) {
    LogManager::getInstance().writeLog(
        "NetworkManager::connect(): Error! Unable to connect to %s port %s:", host.c_str(),
        port.c_str());
    logError(error);
    return -1;
  }
  return addConnection(connected, "connect");
}

int NetworkManager::setMaxConnections(int max_connections) {
  if (max_connections < 0) {
    LogManager::getInstance().writeLog(
        "NetworkManager::setMaxConnections(): Error! %d is less than 0.", max_connections);
    return -1;
  }
  m_max_connections = max_connections;
  return 0;
}

int NetworkManager::getMaxConnections() const { return m_max_connections; }

namespace {

// Stores a timeout in milliseconds; a negative one is refused with a log line.
int setTimeout(int &setting, int milliseconds, const char *where) {
  if (milliseconds < 0) {
    LogManager::getInstance().writeLog("NetworkManager::%s(): Error! %d is less than 0.", where,
                                       milliseconds);
    return -1;
  }
  setting = milliseconds;
  return 0;
}

} // namespace

int NetworkManager::setPartialMessageTimeout(int milliseconds) {
  return setTimeout(m_partial_timeout_ms, milliseconds, "setPartialMessageTimeout");
}

int NetworkManager::setSilentConnectionTimeout(int milliseconds) {
  return setTimeout(m_silent_timeout_ms, milliseconds, "setSilentConnectionTimeout");
}

int NetworkManager::getConnectionCount() const { return static_cast<int>(m_connections.size()); }

bool NetworkManager::isConnected(int sock_index) const {
  if (sock_index < -1) {
    LogManager::getInstance().writeLog(
        "NetworkManager::isConnected(): Warning! Sock less than -1.");
    return false;
  }
  if (sock_index == -1)
    return !m_connections.empty();
  return isOpen(sock_index);
}

bool NetworkManager::isOpen(int sock_index) const {
  return sock_index >= 0 && sock_index < getConnectionCount() &&
         m_connections[static_cast<size_t>(sock_index)].sock != -1;
}

int NetworkManager::writeSome(int sock_index, const char *data, int bytes, const char *where) {
  int n = static_cast<int>(
      ::send(m_connections[static_cast<size_t>(sock_index)].sock, data, static_cast<size_t>(bytes),
             MSG_NOSIGNAL | MSG_DONTWAIT));
  if (n >= 0)
    return n;
  int error = errno;
  if (wouldBlock(error) || error == EINTR)
    return 0;
  LogManager::getInstance().writeLog("NetworkManager::%s(): Error! Return is -1.", where);
  logError(error);
  if (peerGone(error)) {
    LogManager::getInstance().writeLog(1, "\tsocket is closed");
    close(sock_index);
  }
  return -1;
}

int NetworkManager::flushUnsent(int sock_index) {
  std::string &unsent = m_connections[static_cast<size_t>(sock_index)].unsent;
  if (unsent.empty())
    return 0;
  int n = writeSome(sock_index, unsent.data(), static_cast<int>(unsent.size()), "send");
  if (n < 0)
    return -1;
  m_connections[static_cast<size_t>(sock_index)].unsent.erase(0, static_cast<size_t>(n));
  return 0;
}

int NetworkManager::send(const void *buffer, int bytes, int sock_index) {
  const LogManager &log_manager = LogManager::getInstance();
  if (sock_index < -1)
    isConnected(sock_index); // Logs the warning.
  if (!isOpen(sock_index)) {
    log_manager.writeLog("NetworkManager::send(): Error! Socket %d not connected. Unable to send.",
                         sock_index);
    return -1;
  }
  if (bytes < 0 || (buffer == nullptr && bytes > 0)) {
    log_manager.writeLog("NetworkManager::send(): Error! No buffer of %d bytes to send.", bytes);
    return -1;
  }
  log_manager.writeLog(15,
                       "NetworkManager::send(): Socket %d (m_sock[] is %d). Calling ::send()...",
                       sock_index, m_connections[static_cast<size_t>(sock_index)].sock);
  if (flushUnsent(sock_index) != 0)
    return -1;
  const char *data = static_cast<const char *>(buffer);
  int n = 0;
  // Bytes still waiting go out first, so these join them.
  if (m_connections[static_cast<size_t>(sock_index)].unsent.empty()) {
    n = writeSome(sock_index, data, bytes, "send");
    if (n < 0)
      return -1;
    if (n == bytes)
      return 0;
    log_manager.writeLog("NetworkManager::send(): Warning! %d of %d bytes sent.", n, bytes);
  }
  std::string &unsent = m_connections[static_cast<size_t>(sock_index)].unsent;
  if (unsent.size() + static_cast<size_t>(bytes - n) > static_cast<size_t>(MAX_UNSENT_BYTES)) {
    log_manager.writeLog(
        "NetworkManager::send(): Error! Socket %d reads too slowly: %zu bytes waiting. Closing it.",
        sock_index, unsent.size() + static_cast<size_t>(bytes - n));
    close(sock_index);
    return -1;
  }
  unsent.append(data + n, static_cast<size_t>(bytes - n));
  log_manager.writeLog(15, "\t%zu bytes wait to go out next.", unsent.size());
  return 0;
}

int NetworkManager::queueMessage(const void *data, int bytes, int sock_index, int due_step) {
  if (!isOpen(sock_index) || bytes < 0 || (data == nullptr && bytes > 0)) {
    LogManager::getInstance().writeLog(
        "NetworkManager::queueMessage(): Error! Unable to queue %d bytes for socket %d.", bytes,
        sock_index);
    return -1;
  }
  QueuedMessage message;
  message.data.assign(static_cast<const char *>(data), static_cast<size_t>(bytes));
  message.due_step = due_step;
  m_connections[static_cast<size_t>(sock_index)].queue.push_back(std::move(message));
  return 0;
}

int NetworkManager::sendQueued() {
  int step = GameManager::getInstance().getStepCount();
  int sum = 0;
  size_t i = 0;
  while (i < m_connections.size()) {
    // A send that fails may close the connection: the next one then takes its index.
    const int sock = m_connections[i].sock;
    const int index = static_cast<int>(i);
    bool open = flushUnsent(index) == 0;
    while (open && !m_connections[i].queue.empty() &&
           m_connections[i].queue.front().due_step <= step) {
      QueuedMessage message = std::move(m_connections[i].queue.front());
      m_connections[i].queue.pop_front();
      sum += send(message.data.data(), static_cast<int>(message.data.size()), index);
      open = i < m_connections.size() && m_connections[i].sock == sock;
    }
    if (i < m_connections.size() && m_connections[i].sock == sock)
      i++;
  }
  return sum;
}

int NetworkManager::readSome(int sock_index, void *buffer, int bytes, bool peek) {
  int n = static_cast<int>(recv(m_connections[static_cast<size_t>(sock_index)].sock, buffer,
                                static_cast<size_t>(bytes), MSG_DONTWAIT | (peek ? MSG_PEEK : 0)));
  if (n > 0)
    return n;
  if (n < 0) {
    int error = errno;
    if (wouldBlock(error) || error == EINTR)
      return 0;
    LogManager::getInstance().writeLog("NetworkManager::receive(): Error! recv() returned:");
    logError(error);
  } else {
    LogManager::getInstance().writeLog(
        1, "NetworkManager::receive(): Socket %d closed by the peer.", sock_index);
  }
  return -1;
}

int NetworkManager::receive(void *buffer, int bytes, int sock_index, bool peek) {
  if (!isOpen(sock_index) || buffer == nullptr || bytes <= 0) {
    LogManager::getInstance().writeLog(
        "NetworkManager::receive(): Error! Unable to read %d bytes from socket %d.", bytes,
        sock_index);
    return -1;
  }
  int n = readSome(sock_index, buffer, bytes, peek);
  if (n < 0)
    close(sock_index);
  return n;
}

int NetworkManager::sendMessage(int kind, const void *data, int bytes, int sock_index) {
  if (bytes < 0 || (data == nullptr && bytes > 0)) {
    LogManager::getInstance().writeLog(
        "NetworkManager::sendMessage(): Error! No buffer of %d bytes to send.", bytes);
    return -1;
  }
  std::string framed = NetworkMessage(kind, data, bytes).encode();
  if (framed.empty())
    return -1;
  return send(framed.data(), static_cast<int>(framed.size()), sock_index);
}

int NetworkManager::readWaiting(int sock_index) {
  char chunk[READ_CHUNK];
  for (int reads = 0; reads < MAX_READS; reads++) {
    int n = readSome(sock_index, chunk, READ_CHUNK, false);
    if (n < 0)
      return -1;
    m_connections[static_cast<size_t>(sock_index)].received.append(chunk, static_cast<size_t>(n));
    if (n > 0)
      m_connections[static_cast<size_t>(sock_index)].heard = true;
    if (n < READ_CHUNK)
      break;
  }
  return 0;
}

void NetworkManager::deliverMessage(int sock_index, int kind, const std::string &payload) const {
  EventNetwork event(NETWORK_MESSAGE);
  event.setType(messageKindToEventType(kind));
  event.setSocketIndex(sock_index);
  event.setBytes(static_cast<int>(payload.size()));
  event.setMessage(payload.data());
  if (m_p_message_listener != nullptr)
    m_p_message_listener->onMessage(sock_index, kind, payload);
  onEvent(&event);
}

void NetworkManager::setMessageSource(MessageSource *p_source) { m_p_message_source = p_source; }

void NetworkManager::setMessageListener(MessageListener *p_listener) {
  m_p_message_listener = p_listener;
}

int NetworkManager::deliverMessages(int sock_index) {
  const int sock = m_connections[static_cast<size_t>(sock_index)].sock;
  int delivered = 0;
  NetworkMessage message;
  int result;
  while ((result = message.decode(m_connections[static_cast<size_t>(sock_index)].received)) == 1) {
    deliverMessage(sock_index, message.getKind(), message.getPayload());
    delivered++;
    if (sock_index >= getConnectionCount() ||
        m_connections[static_cast<size_t>(sock_index)].sock != sock)
      return delivered; // A handler closed it.
  }
  if (result < 0) {
    LogManager::getInstance().writeLog(
        "NetworkManager::receiveMessages(): Error! Socket %d sent something that is not a "
        "message. Closing it.",
        sock_index);
    close(sock_index);
    return delivered;
  }
  // The clock of an unfinished message starts with its first bytes; each
  // message that comes in whole starts it again for the rest.
  Connection &connection = m_connections[static_cast<size_t>(sock_index)];
  if (connection.received.empty())
    connection.partial_since = -1;
  else if (delivered > 0 || connection.partial_since < 0)
    connection.partial_since = Clock::now();
  return delivered;
}

int NetworkManager::receiveMessages() {
  // A replay gives the recorded messages instead of the connections' own.
  if (m_p_message_source != nullptr)
    return m_p_message_source->deliverMessages(*this);
  int delivered = 0;
  // From the last connection down: closing one moves only those after it.
  for (int i = getConnectionCount() - 1; i >= 0; i--) {
    if (i >= getConnectionCount())
      continue; // A handler closed connections meanwhile.
    const int sock = m_connections[static_cast<size_t>(i)].sock;
    // What arrived before the peer closed is still delivered.
    bool closed = readWaiting(i) != 0;
    delivered += deliverMessages(i);
    if (closed && i < getConnectionCount() && m_connections[static_cast<size_t>(i)].sock == sock)
      close(i);
  }
  closeTimedOut();
  return delivered;
}

int NetworkManager::close(int sock_index) {
  if (sock_index < -1 || sock_index >= getConnectionCount()) {
    LogManager::getInstance().writeLog("NetworkManager::close(): Error! Socket %d not connected.",
                                       sock_index);
    return -1;
  }
  size_t first = sock_index == -1 ? 0 : static_cast<size_t>(sock_index);
  size_t last = sock_index == -1 ? m_connections.size() : first + 1;
  int result = 0;
  m_close_depth++;
  for (size_t i = first; i < last && i < m_connections.size(); i++) {
    int sock = m_connections[i].sock;
    if (sock == -1)
      continue; // Already closed by a handler of an earlier event.
    // The descriptor is released even when close() reports an error, so the
    // connection goes in every case; it must never be used again.
    m_connections[i].sock = -1;
    if (::close(sock) != 0) {
      LogManager::getInstance().writeLog("NetworkManager::close(): Error! close() returned:");
      logError(errno);
      result = -1;
    }
    EventNetwork event(NETWORK_CLOSED);
    event.setSocketIndex(static_cast<int>(i));
    event.setBytes(0);
    onEvent(&event);
  }
  // Closed connections leave the list (their queued messages with them), but
  // only once no close is under way: a "closed" handler that closes or sends
  // again must not shift the entries an outer close is still walking.
  if (--m_close_depth > 0)
    return result;
  std::vector<Connection> open;
  for (Connection &connection : m_connections)
    if (connection.sock != -1)
      open.push_back(std::move(connection));
  m_connections.swap(open);
  return result;
}

} // namespace vx
