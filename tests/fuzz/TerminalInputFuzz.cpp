// libFuzzer target for the terminal input parser: the input is fed as a byte
// stream cut into reads at places the input itself chooses (its first byte
// seeds the cuts), with the escape wait running out now and then, and every
// key reported is run through the key-hold bookkeeping. Besides crashes and
// sanitizer reports, results no terminal input may give abort.
#include <cstdint>
#include <string>
#include <vector>

#include "EventKeyboard.h"
#include "EventMouse.h"
#include "FuzzSupport.h"
#include "TerminalInput.h"

using vxfuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0)
    return 0;
  unsigned int cuts = data[0];
  const char *bytes = reinterpret_cast<const char *>(data + 1);
  std::size_t left = size - 1;
  vx::TerminalInputParser parser;
  vx::TerminalKeyHolds holds;
  std::vector<vx::TerminalInput> out;
  std::vector<std::pair<int, int>> keys;
  std::int64_t now = 0;
  while (left > 0) {
    const std::size_t piece = std::min<std::size_t>(left, 1 + (cuts % 7) * (cuts % 3));
    parser.feed(bytes, piece, out);
    bytes += piece;
    left -= piece;
    if (cuts % 5 == 0)
      parser.flushPending(out);
    cuts = cuts * 1103515245u + 12345u;
    now += (cuts >> 8) % 200000;
    for (const vx::TerminalInput &input : out) {
      check(input.kind >= vx::TerminalInput::KEY && input.kind <= vx::TerminalInput::KEYBOARD_FLAGS,
            "unknown input kind");
      if (input.kind == vx::TerminalInput::KEY) {
        check(input.key >= vx::Keyboard::UNDEFINED_KEY && input.key <= vx::Keyboard::BACKQUOTE,
              "key outside the engine's codes");
        check(input.name != nullptr, "key without a name");
        holds.onKey(input, now, keys);
      } else if (input.kind == vx::TerminalInput::MOUSE) {
        check(input.x >= 0 && input.y >= 0, "mouse cell before the top-left");
        check(input.button >= vx::Mouse::UNDEFINED_MOUSE_BUTTON && input.button <= vx::Mouse::MIDDLE,
              "unknown mouse button");
      }
    }
    out.clear();
    holds.expire(now, keys);
  }
  parser.flushPending(out);
  check(!parser.hasPending(), "bytes still pending after the escape wait");
  // No key stays down for ever: a long quiet time releases every one.
  holds.expire(now + 60000000, keys);
  check(holds.sample().empty(), "a key stayed down");
  return 0;
}
