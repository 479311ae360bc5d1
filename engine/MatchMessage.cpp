#include "MatchMessage.h"

namespace vx {

namespace {

void appendText(std::string &out, const std::string &text) {
  appendVarint(out, static_cast<uint32_t>(text.size()));
  out += text;
}

bool readText(ByteCursor &in, std::string &text, int longest) {
  int length = 0;
  if (!in.varint(length))
    return false;
  if (length > longest)
    return in.fail("a text of " + std::to_string(length) + " bytes");
  return in.text(length, text);
}

// A number the record format cannot hold (negative) goes as 0.
uint32_t unsignedOf(int value) { return value < 0 ? 0 : static_cast<uint32_t>(value); }

} // namespace

std::string encodeMatchMessage(const MatchMessage &m) {
  std::string out(1, static_cast<char>(m.type));
  switch (m.type) {
    case MATCH_JOIN:
      for (int value : {m.protocol, m.engine_version, m.frame_time, m.columns, m.rows,
                        m.grid_width, m.grid_height})
        appendVarint(out, unsignedOf(value));
      appendText(out, m.game);
      appendText(out, m.code);
      break;
    case MATCH_REFUSE:
      appendText(out, m.text.substr(0, MAX_MATCH_TEXT));
      break;
    case MATCH_PING:
    case MATCH_PONG:
      appendVarint(out, unsignedOf(m.nonce));
      break;
    case MATCH_START:
      appendI32(out, m.seed);
      appendVarint(out, unsignedOf(m.delay));
      appendVarint(out, unsignedOf(m.frame_time));
      break;
    case MATCH_INPUT:
      appendVarint(out, unsignedOf(m.step));
      appendVarint(out, unsignedOf(m.hash_step + 1));
      if (m.hash_step >= 0)
        appendU64(out, m.hash);
      appendVarint(out, static_cast<uint32_t>(m.inputs.size()));
      for (const RecordedInput &input : m.inputs) {
        RecordedInput own = input;
        own.player = 0; // The receiver knows whose it is.
        appendInput(out, own);
      }
      break;
    case MATCH_RESUME:
    case MATCH_QUIT:
    case MATCH_APART:
      appendVarint(out, unsignedOf(m.step));
      break;
    default: // KEEPALIVE is its type alone.
      break;
  }
  return out;
}

int decodeMatchMessage(const std::string &payload, MatchMessage &m, std::string &error) {
  m = MatchMessage();
  if (payload.size() > static_cast<size_t>(MAX_MATCH_PAYLOAD)) {
    error = "a message of " + std::to_string(payload.size()) + " bytes";
    return -1;
  }
  ByteCursor in(payload);
  bool ok = in.byte(m.type);
  if (ok) {
    switch (m.type) {
      case MATCH_JOIN:
        ok = in.varint(m.protocol) && in.varint(m.engine_version) && in.varint(m.frame_time) &&
             in.varint(m.columns) && in.varint(m.rows) && in.varint(m.grid_width) &&
             in.varint(m.grid_height) && readText(in, m.game, MAX_MATCH_TEXT) &&
             readText(in, m.code, MAX_MATCH_TEXT);
        break;
      case MATCH_REFUSE:
        ok = readText(in, m.text, MAX_MATCH_TEXT);
        break;
      case MATCH_PING:
      case MATCH_PONG:
        ok = in.varint(m.nonce);
        break;
      case MATCH_START:
        ok = in.i32(m.seed) && in.varint(m.delay) && in.varint(m.frame_time);
        break;
      case MATCH_INPUT: {
        int count = 0;
        ok = in.varint(m.step) && in.varint(m.hash_step);
        m.hash_step--;
        if (ok && m.hash_step >= 0) {
          ok = in.unsignedBytes(8, m.hash);
        }
        ok = ok && in.varint(count);
        if (ok && count > MAX_STEP_INPUTS)
          ok = in.fail(std::to_string(count) + " inputs in one step");
        for (int i = 0; ok && i < count; i++) {
          RecordedInput input;
          ok = parseInput(in, input);
          if (ok && (input.player != 0 || (input.kind != INPUT_KEY && input.kind != INPUT_MOUSE)))
            ok = in.fail("an input that is no key or mouse event of the sender");
          if (ok)
            m.inputs.push_back(input);
        }
        break;
      }
      case MATCH_RESUME:
      case MATCH_QUIT:
      case MATCH_APART:
        ok = in.varint(m.step);
        break;
      case MATCH_KEEPALIVE:
        break;
      default:
        ok = in.fail("an unknown message " + std::to_string(m.type));
        break;
    }
  }
  if (ok && !in.atEnd())
    ok = in.fail("bytes after the message");
  if (ok)
    return 0;
  error = in.error.empty() ? "a broken message" : in.error;
  return -1;
}

} // namespace vx
