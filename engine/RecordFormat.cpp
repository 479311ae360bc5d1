#include "RecordFormat.h"

#include <cstring>

namespace vx {

bool RecordedInput::operator==(const RecordedInput &other) const {
  return kind == other.kind && action == other.action && code == other.code && x == other.x &&
         y == other.y && socket == other.socket && message_kind == other.message_kind &&
         payload == other.payload;
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
  appendU16(out, static_cast<uint32_t>(header.format_version));
  appendU16(out, static_cast<uint32_t>(header.engine_version));
  appendI32(out, header.frame_time);
  appendI32(out, header.columns);
  appendI32(out, header.rows);
  appendI32(out, header.grid_width);
  appendI32(out, header.grid_height);
  appendI32(out, header.seed);
  appendI32(out, header.path_work);
}

void appendInput(std::string &out, const RecordedInput &input) {
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

} // namespace vx
