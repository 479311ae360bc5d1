#include "NetworkMessage.h"

#include <cstdint>

#include "EventNetwork.h"
#include "LogManager.h"

namespace vx {

namespace {

const char MARKER_0 = 'v';
const char MARKER_1 = 'x';

void putLittleEndian(std::string &out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; i++)
    out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

std::uint32_t getLittleEndian(const std::string &in, int offset, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; i--)
    value = (value << 8) | static_cast<unsigned char>(in[static_cast<size_t>(offset + i)]);
  return value;
}

} // namespace

std::string messageKindToEventType(int kind) {
  switch (kind) {
  case MESSAGE_CREATE:
    return NETWORK_CREATE_EVENT;
  case MESSAGE_SYNC:
    return NETWORK_SYNC_EVENT;
  case MESSAGE_DELETE:
    return NETWORK_DELETE_EVENT;
  case MESSAGE_GAME_OVER:
    return NETWORK_GAME_OVER_EVENT;
  case MESSAGE_KEYBOARD:
    return KEYBOARD_NETWORK_EVENT;
  case MESSAGE_MOUSE:
    return MOUSE_NETWORK_EVENT;
  case MESSAGE_CUSTOM:
    return CUSTOM_NETWORK_EVENT;
  default:
    return "";
  }
}

NetworkMessage::NetworkMessage() : m_kind(MESSAGE_UNDEFINED) {}

NetworkMessage::NetworkMessage(int kind, const void *data, int bytes) : m_kind(kind) {
  if (data != nullptr && bytes > 0)
    m_payload.assign(static_cast<const char *>(data), static_cast<size_t>(bytes));
}

int NetworkMessage::getKind() const { return m_kind; }

const std::string &NetworkMessage::getPayload() const { return m_payload; }

std::string NetworkMessage::encode() const {
  if (messageKindToEventType(m_kind).empty()) {
    LogManager::getInstance().writeLog("NetworkMessage::encode(): Error! Undefined kind (%d).",
                                       m_kind);
    return "";
  }
  if (m_payload.size() > static_cast<size_t>(MAX_MESSAGE_SIZE)) {
    LogManager::getInstance().writeLog(
        "NetworkMessage::encode(): Error! %zu bytes is more than the %d a message may carry.",
        m_payload.size(), MAX_MESSAGE_SIZE);
    return "";
  }
  std::string out;
  out.reserve(MESSAGE_HEADER_SIZE + m_payload.size());
  putLittleEndian(out, static_cast<std::uint32_t>(m_payload.size()), 4);
  putLittleEndian(out, static_cast<std::uint32_t>(m_kind), 2);
  out.push_back(MARKER_0);
  out.push_back(MARKER_1);
  out += m_payload;
  return out;
}

int NetworkMessage::decode(std::string &buffer) {
  if (buffer.size() < static_cast<size_t>(MESSAGE_HEADER_SIZE))
    return 0;
  std::uint32_t length = getLittleEndian(buffer, 0, 4);
  int kind = static_cast<int>(getLittleEndian(buffer, 4, 2));
  if (buffer[6] != MARKER_0 || buffer[7] != MARKER_1 || messageKindToEventType(kind).empty() ||
      length > static_cast<std::uint32_t>(MAX_MESSAGE_SIZE))
    return -1;
  size_t total = MESSAGE_HEADER_SIZE + static_cast<size_t>(length);
  if (buffer.size() < total)
    return 0;
  m_kind = kind;
  m_payload.assign(buffer, MESSAGE_HEADER_SIZE, length);
  buffer.erase(0, total);
  return 1;
}

} // namespace vx
