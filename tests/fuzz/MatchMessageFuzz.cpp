// libFuzzer target for the decoder of a match's messages: any payload a peer
// sends is either refused with a reason or read into a message that encodes
// back to a payload reading the same.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "MatchMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string payload(reinterpret_cast<const char *>(data), size);
  vx::MatchMessage message;
  std::string error;
  if (vx::decodeMatchMessage(payload, message, error) != 0) {
    vxfuzz::check(!error.empty(), "a refusal without a reason");
    return 0;
  }
  vxfuzz::check(message.inputs.size() <= static_cast<size_t>(vx::MAX_STEP_INPUTS),
                "more inputs than a step may carry");
  const std::string encoded = vx::encodeMatchMessage(message);
  vx::MatchMessage again;
  vxfuzz::check(vx::decodeMatchMessage(encoded, again, error) == 0, "its own encoding refused");
  vxfuzz::check(vx::encodeMatchMessage(again) == encoded, "a message reads otherwise once encoded");
  return 0;
}
