#include "MatchLink.h"

#include <unistd.h>

#include "Clock.h"
#include "NetworkManager.h"
#include "NetworkMessage.h"

namespace vx {

namespace {

const int READ_BUDGET = 1 << 18; // Bytes read per call at most.

} // namespace

void MatchLink::attach(int sock_index) {
  m_sock = sock_index;
  m_received.clear();
  m_heard_us = Clock::now();
}

bool MatchLink::isOpen() const {
  return m_sock >= 0 && NetworkManager::getInstance().isConnected(m_sock);
}

int MatchLink::send(const MatchMessage &message) {
  if (!isOpen())
    return -1;
  const std::string payload = encodeMatchMessage(message);
  m_bytes_sent += MESSAGE_HEADER_SIZE + static_cast<int64_t>(payload.size());
  return NetworkManager::getInstance().sendMessage(
      MESSAGE_CUSTOM, payload.data(), static_cast<int>(payload.size()), m_sock);
}

int MatchLink::receive(std::vector<MatchMessage> &messages, std::string &error) {
  NetworkManager &network = NetworkManager::getInstance();
  if (!isOpen())
    return -1;
  network.sendQueued(); // What the socket did not take at once.
  char chunk[4096];
  for (int budget = READ_BUDGET; budget > 0;) {
    const int n = network.receive(chunk, sizeof(chunk), m_sock);
    if (n == 0)
      return 0;
    if (n < 0) { // The network manager closed the connection.
      m_sock = -1;
      return -1;
    }
    budget -= n;
    m_heard_us = Clock::now();
    m_bytes_received += n;
    m_received.append(chunk, static_cast<size_t>(n));
    for (;;) {
      NetworkMessage frame;
      const int taken = frame.decode(m_received);
      if (taken == 0)
        break;
      MatchMessage message;
      if (taken < 0 || frame.getKind() != MESSAGE_CUSTOM) {
        error = "something that is not a message of the game";
        return -2;
      }
      if (decodeMatchMessage(frame.getPayload(), message, error) != 0) {
        error = "a broken message: " + error;
        return -2;
      }
      messages.push_back(message);
    }
  }
  return 0;
}

void MatchLink::close(int linger_ms) {
  NetworkManager &network = NetworkManager::getInstance();
  char chunk[4096];
  for (const int64_t start = Clock::now(); isOpen() && (Clock::now() - start) / 1000 < linger_ms;) {
    const int n = network.receive(chunk, sizeof(chunk), m_sock);
    if (n < 0)
      break;
    if (n == 0)
      usleep(2000);
  }
  if (isOpen())
    network.close(m_sock);
  m_sock = -1;
}

int64_t MatchLink::heardAt() const { return m_heard_us; }

void MatchLink::resetCounts() { m_bytes_sent = m_bytes_received = 0; }

int64_t MatchLink::bytesSent() const { return m_bytes_sent; }

int64_t MatchLink::bytesReceived() const { return m_bytes_received; }

} // namespace vx
