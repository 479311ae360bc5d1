// libFuzzer target for the message framing of network connections: the input
// is a byte stream as a peer could send it, cut into pieces at random (the
// first four bytes seed the cuts). The pieces are fed to a receive buffer one
// at a time, taking every complete message after each, as a connection does.
// Besides crashes and sanitizer reports, it aborts when the pieces give other
// messages or another verdict than the whole stream read at once, when a
// message taken does not encode to exactly the bytes it came from, or when a
// refusal or a wait changes the buffer.
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "LogManager.h"
#include "NetworkMessage.h"

namespace {

using vxfuzz::check;

struct Reading {
  std::vector<std::string> messages; // Each as encoded.
  bool refused = false;              // The stream was found not to be ours.
  std::string left;                  // Bytes waiting for the rest of a message.
};

// Takes every complete message off the front of the buffer.
void takeMessages(std::string &buffer, Reading &reading) {
  while (!reading.refused) {
    const std::string before = buffer;
    vx::NetworkMessage message;
    const int result = message.decode(buffer);
    check(result >= -1 && result <= 1, "decode returned something else than -1, 0 or 1");
    if (result != 1) {
      check(buffer == before, "a refusal or a wait changed the buffer");
      reading.refused = result == -1;
      return;
    }
    const std::string encoded = message.encode();
    check(!encoded.empty() && before.compare(0, encoded.size(), encoded) == 0 &&
              buffer == before.substr(encoded.size()),
          "a message taken does not encode to the bytes it came from");
    reading.messages.push_back(encoded);
  }
}

// Reads the pieces in turn, stopping once the stream is refused.
Reading readPieces(const std::vector<std::string> &pieces) {
  Reading reading;
  std::string buffer;
  for (const std::string &piece : pieces) {
    if (reading.refused)
      break;
    buffer += piece;
    takeMessages(buffer, reading);
  }
  reading.left = buffer;
  return reading;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  setenv("VEXLO_LOG", "/dev/null", 1);
  vx::LogManager::getInstance().startUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 4)
    return 0;
  const std::uint32_t seed = data[0] | data[1] << 8 | data[2] << 16 | std::uint32_t(data[3]) << 24;
  const std::string stream(reinterpret_cast<const char *>(data) + 4, size - 4);
  std::minstd_rand cuts(seed);
  std::vector<std::string> pieces;
  for (size_t at = 0; at < stream.size();) {
    const size_t length = 1 + cuts() % (seed % 2 == 0 ? 16 : stream.size() - at);
    pieces.push_back(stream.substr(at, length));
    at += length;
  }
  const Reading whole = readPieces({stream});
  const Reading split = readPieces(pieces);
  check(split.messages == whole.messages, "pieces give other messages than the whole stream");
  check(split.refused == whole.refused, "pieces give another verdict than the whole stream");
  check(whole.refused || split.left == whole.left, "pieces leave other bytes waiting");
  return 0;
}
