// libFuzzer target for the message framing: a peer's byte stream (after 4 bytes
// seeding the cuts) is read whole and in random pieces, which must read alike.
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "LogManager.h"
#include "NetworkMessage.h"

// The messages taken, as encoded, then "refused" or the bytes left waiting.
static std::vector<std::string> readPieces(const std::vector<std::string> &pieces) {
  std::vector<std::string> taken;
  std::string buffer;
  for (const std::string &piece : pieces) {
    buffer += piece;
    for (int result = 1; result == 1;) {
      const std::string before = buffer;
      vx::NetworkMessage message;
      result = message.decode(buffer);
      const std::string encoded = result == 1 ? message.encode() : "";
      vxfuzz::check(result == 1 ? before == encoded + buffer : buffer == before && result >= -1,
                    "a message is not its bytes, or a refusal or a wait changed the buffer");
      taken.push_back(result == 1 ? encoded : "refused");
      if (result == -1)
        return taken;
      if (result == 0)
        taken.pop_back();
    }
  }
  return taken.push_back("waiting " + buffer), taken;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  setenv("VEXLO_LOG", "/dev/null", 1);
  return vx::LogManager::getInstance().startUp();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 4)
    return 0;
  const std::string stream(reinterpret_cast<const char *>(data) + 4, size - 4);
  std::minstd_rand cuts(data[0] | data[1] << 8 | data[2] << 16 | std::uint32_t(data[3]) << 24);
  std::vector<std::string> pieces;
  for (size_t at = 0, length; at < stream.size(); at += length)
    pieces.push_back(stream.substr(at, length = 1 + cuts() % (data[0] % 2 ? size - 4 - at : 16)));
  vxfuzz::check(readPieces(pieces) == readPieces({stream}), "pieces read otherwise than the whole");
  return 0;
}
