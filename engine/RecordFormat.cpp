#include "RecordFormat.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "EventKeyboard.h"
#include "NetworkMessage.h"

namespace vx {

bool RecordedInput::operator==(const RecordedInput &other) const {
  return kind == other.kind && action == other.action && code == other.code && x == other.x &&
         y == other.y && socket == other.socket && message_kind == other.message_kind &&
         payload == other.payload && player == other.player;
}

uint64_t fnv1a(const void *data, size_t bytes, uint64_t hash) {
  const unsigned char *p_byte = static_cast<const unsigned char *>(data);
  for (size_t i = 0; i < bytes; i++) {
    hash ^= p_byte[i];
    hash *= FNV_PRIME;
  }
  return hash;
}

void appendU16(std::string &out, uint32_t value) {
  out.push_back(static_cast<char>(value & 0xff));
  out.push_back(static_cast<char>((value >> 8) & 0xff));
}

void appendI32(std::string &out, int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<char>((bits >> shift) & 0xff));
}

void appendU64(std::string &out, uint64_t value) {
  for (int shift = 0; shift < 64; shift += 8)
    out.push_back(static_cast<char>((value >> shift) & 0xff));
}

void appendFloat(std::string &out, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  appendI32(out, static_cast<int32_t>(bits));
}

void appendVarint(std::string &out, uint32_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<char>((value & 0x7f) | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<char>(value));
}

void appendHeader(std::string &out, const RecordHeader &header) {
  out.append(RECORD_MAGIC, 4);
  // A game of one player keeps the first format, which every reader knows.
  const int version = header.players > 1 ? RECORD_FORMAT_VERSION : 1;
  appendU16(out, static_cast<uint32_t>(version));
  appendU16(out, static_cast<uint32_t>(header.engine_version));
  appendI32(out, header.frame_time);
  appendI32(out, header.columns);
  appendI32(out, header.rows);
  appendI32(out, header.grid_width);
  appendI32(out, header.grid_height);
  appendI32(out, header.seed);
  appendI32(out, header.path_work);
  if (version > 1)
    appendI32(out, header.players);
}

void appendInput(std::string &out, const RecordedInput &input) {
  if (input.player > 0 && input.player < 16)
    out.push_back(static_cast<char>(INPUT_PLAYER * 16 + input.player));
  const int kind_bits = input.kind * 16;
  switch (input.kind) {
    case INPUT_KEY:
      out.push_back(static_cast<char>(kind_bits + input.action + 1));
      out.push_back(static_cast<char>(input.code + 1));
      break;
    case INPUT_MOUSE:
      out.push_back(static_cast<char>(kind_bits + (input.action + 1) * 4 + input.code + 1));
      appendFloat(out, input.x);
      appendFloat(out, input.y);
      break;
    case INPUT_MESSAGE:
      out.push_back(static_cast<char>(kind_bits));
      appendVarint(out, static_cast<uint32_t>(input.socket));
      appendVarint(out, static_cast<uint32_t>(input.message_kind));
      appendVarint(out, static_cast<uint32_t>(input.payload.size()));
      out += input.payload;
      break;
    default:
      out.push_back(static_cast<char>(kind_bits));
      break;
  }
}

void appendStep(std::string &out, int gap, const RecordStep &step) {
  appendVarint(out, static_cast<uint32_t>(gap));
  const int flags = (step.has_hash ? RECORD_HASH : 0) | (step.inputs.empty() ? 0 : RECORD_INPUT);
  out.push_back(static_cast<char>(flags));
  if (step.has_hash)
    appendU64(out, step.hash);
  if (step.inputs.empty())
    return;
  appendVarint(out, static_cast<uint32_t>(step.inputs.size()));
  for (const RecordedInput &input : step.inputs)
    appendInput(out, input);
}

bool ByteCursor::fail(const std::string &what) {
  if (error.empty())
    error = what + " (byte " + std::to_string(m_pos) + ")";
  return false;
}

bool ByteCursor::truncated() { return fail("the record is truncated"); }

bool ByteCursor::byte(int &value) {
  if (left() < 1)
    return truncated();
  value = static_cast<unsigned char>(m_bytes[m_pos++]);
  return true;
}

bool ByteCursor::unsignedBytes(int count, uint64_t &value) {
  if (left() < static_cast<size_t>(count))
    return truncated();
  value = 0;
  for (int i = 0; i < count; i++)
    value |= static_cast<uint64_t>(static_cast<unsigned char>(m_bytes[m_pos++])) << (8 * i);
  return true;
}

bool ByteCursor::i32(int &value) {
  uint64_t bits = 0;
  if (!unsignedBytes(4, bits))
    return false;
  value = static_cast<int32_t>(static_cast<uint32_t>(bits));
  return true;
}

bool ByteCursor::f32(float &value) {
  uint64_t bits = 0;
  if (!unsignedBytes(4, bits))
    return false;
  const uint32_t narrow = static_cast<uint32_t>(bits);
  std::memcpy(&value, &narrow, sizeof(value));
  return true;
}

bool ByteCursor::varint(int &value) {
  uint64_t result = 0;
  for (int shift = 0; shift < 35; shift += 7) {
    int b = 0;
    if (!byte(b))
      return false;
    result |= static_cast<uint64_t>(b & 0x7f) << shift;
    if ((b & 0x80) == 0) {
      if (result > INT_MAX)
        return fail("the record is corrupted: a number is too large");
      value = static_cast<int>(result);
      return true;
    }
  }
  return fail("the record is corrupted: a number is too long");
}

bool ByteCursor::text(int length, std::string &value) {
  if (left() < static_cast<size_t>(length))
    return truncated();
  value.assign(m_bytes, m_pos, static_cast<size_t>(length));
  m_pos += static_cast<size_t>(length);
  return true;
}

bool parseInput(ByteCursor &in, RecordedInput &input) {
  int first = 0;
  if (!in.byte(first))
    return false;
  input.player = 0;
  if (first >> 4 == INPUT_PLAYER) {
    input.player = first & 15;
    if (input.player == 0 || input.player >= MAX_PLAYERS || !in.byte(first))
      return in.fail("the record is corrupted: bad player");
    if (first >> 4 != INPUT_KEY && first >> 4 != INPUT_MOUSE)
      return in.fail("the record is corrupted: a player's input is no key or mouse event");
  }
  input.kind = first >> 4;
  const int low = first & 15;
  switch (input.kind) {
    case INPUT_KEY:
      input.action = low - 1;
      if (!in.byte(input.code))
        return false;
      input.code--;
      if (input.action > 2 || input.code > Keyboard::BACKQUOTE)
        return in.fail("the record is corrupted: a key event is no key event");
      return true;
    case INPUT_MOUSE:
      input.action = (low >> 2) - 1;
      input.code = (low & 3) - 1;
      if (!in.f32(input.x) || !in.f32(input.y))
        return false;
      if (!std::isfinite(input.x) || !std::isfinite(input.y))
        return in.fail("the record is corrupted: a mouse position is not a number");
      return true;
    case INPUT_CLOSE:
      return low == 0 || in.fail("the record is corrupted: bad window event");
    case INPUT_MESSAGE: {
      int length = 0;
      if (low != 0 || !in.varint(input.socket) || !in.varint(input.message_kind) ||
          !in.varint(length))
        return in.fail("the record is corrupted: bad network message");
      if (input.message_kind < 1 || input.message_kind > MESSAGE_CUSTOM ||
          length > MAX_MESSAGE_SIZE)
        return in.fail("the record is corrupted: bad network message");
      return in.text(length, input.payload);
    }
    default:
      return in.fail("the record is corrupted: unknown input kind " + std::to_string(input.kind));
  }
}

} // namespace vx
