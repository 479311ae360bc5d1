// What the terminal's bytes become: keys with the window's codes, mouse
// reports, and keys released when their repeats stop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EventKeyboard.h"
#include "TerminalInput.h"

namespace {

using vx::TerminalInput;
namespace K = vx::Keyboard;

std::string describe(const std::vector<TerminalInput> &inputs) {
  std::string text;
  for (const TerminalInput &in : inputs) {
    text += text.empty() ? "" : " ";
    if (in.kind == TerminalInput::KEY)
      text += "k" + std::to_string(in.key) + "/" + std::to_string(in.key_event) +
              (in.reported ? "r" : "") + "/" + std::to_string(in.modifiers);
    else if (in.kind == TerminalInput::MOUSE)
      text += "m" + std::to_string(in.mouse_event) + "/" + std::to_string(in.button) + "@" +
              std::to_string(in.x) + "," + std::to_string(in.y);
    else
      text += "flags";
  }
  return text;
}

std::string k(int key, int modifiers = 0, int event = 0, bool reported = false) {
  return "k" + std::to_string(key) + "/" + std::to_string(event) + (reported ? "r" : "") + "/" +
         std::to_string(modifiers);
}

struct Case {
  const char *name;
  std::vector<std::string> reads; // Each fed as one read.
  bool wait_ends;                 // The escape wait runs out afterwards.
  std::string expected;
};

TEST(TerminalInput, BytesBecomeKeysAndMouseReports) {
  const std::string esc = "\x1b";
  const Case cases[] = {
      {"letters, digits, shift", {"aZ5"}, false, k(K::A) + " " + k(K::Z, 1) + " " + k(K::NUM5)},
      {"punctuation", {".,/;'[]\\=-+*`"}, false,
       k(K::PERIOD) + " " + k(K::COMMA) + " " + k(K::SLASH) + " " + k(K::SEMICOLON) + " " +
           k(K::QUOTE) + " " + k(K::LEFTBRACKET) + " " + k(K::RIGHTBRACKET) + " " +
           k(K::BACKSLASH) + " " + k(K::EQUALS) + " " + k(K::MINUS) + " " + k(K::PLUS) + " " +
           k(K::MULTIPLY) + " " + k(K::TILDE)},
      {"space, return, tab, backspace", {" \r\t\x7f"}, false,
       k(K::SPACE) + " " + k(K::RETURN) + " " + k(K::TAB) + " " + k(K::BACKSPACE)},
      {"control letter", {"\x01"}, false, k(K::A, 4)},
      {"lone escape waits", {esc}, false, ""},
      {"lone escape after the wait", {esc}, true, k(K::ESCAPE)},
      {"alt letter", {esc + "x"}, false, k(K::X, 2)},
      {"arrows CSI and SS3", {esc + "[A" + esc + "OB" + esc + "[1;5C" + esc + "[D"}, false,
       k(K::UPARROW) + " " + k(K::DOWNARROW) + " " + k(K::RIGHTARROW, 4) + " " +
           k(K::LEFTARROW)},
      {"F1-F4 SS3, F5-F12 CSI", {esc + "OP" + esc + "[1;2S" + esc + "[15~" + esc + "[21~" + esc + "[24~"},
       false, k(K::F1) + " " + k(K::F4, 1) + " " + k(K::F5) + " " + k(K::F10) + " " + k(K::F12)},
      {"console F1", {esc + "[[A"}, false, k(K::F1)},
      {"home end insert delete pages: no code, as in the window",
       {esc + "[H" + esc + "[4~" + esc + "[2~" + esc + "[3~" + esc + "[5~" + esc + "[6~"}, false,
       k(-1) + " " + k(-1) + " " + k(-1) + " " + k(-1) + " " + k(-1) + " " + k(-1)},
      {"split across reads", {esc, "[", "2", "1~", "q"}, false, k(K::F10) + " " + k(K::Q)},
      {"mouse motion, click, release", {esc + "[<35;10;5M" + esc + "[<0;44;11M" + esc + "[<2;1;1M" + esc + "[<0;44;11m"},
       false, "m0/-1@9,4 m1/0@43,10 m1/1@0,0 m2/0@43,10"},
      {"mouse split and wheel ignored", {esc + "[<0;4", "4;11M" + esc + "[<64;1;1M"}, false,
       "m1/0@43,10"},
      {"keyboard protocol: press, repeat, release", {esc + "[97;1:1u" + esc + "[97;1:2u" + esc + "[97;1:3u" + esc + "[21;1:3~"},
       false, k(K::A, 0, 0, true) + " " + k(K::A, 0, 1, true) + " " + k(K::A, 0, 2, true) + " " +
                  k(K::F10, 0, 2, true)},
      {"keyboard protocol: modifier key, ctrl-c", {esc + "[57441u" + esc + "[99;5u"}, false,
       k(K::LEFTSHIFT) + " " + k(K::C, 4)},
      {"keyboard flags answer", {esc + "[?11u" + esc + "[?62;22c"}, false, "flags"},
      {"garbage is dropped", {esc + "[1;2" + "\x01" + "b" + esc + "[99999999999999999999X"}, false,
       k(K::A, 4) + " " + k(K::B)},
      {"over-long sequence is dropped", {esc + "[" + std::string(100, '1') + "~z"}, false, k(K::Z)},
      {"over-long, split", {esc + "[" + std::string(60, ';'), std::string(60, ';') + "Az"}, false,
       k(K::Z)},
      {"UTF-8 is one key without code", {"\xc3\xa9", "\xe2\x82", "\xac"}, false, k(-1) + " " + k(-1)},
      {"cut sequence after the wait is dropped", {esc + "[1;"}, true, ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    vx::TerminalInputParser parser;
    std::vector<TerminalInput> out;
    for (const std::string &read : c.reads)
      parser.feed(read.data(), read.size(), out);
    if (c.wait_ends)
      parser.flushPending(out);
    EXPECT_EQ(describe(out), c.expected);
    EXPECT_EQ(parser.hasPending(), !c.wait_ends && c.expected.empty() && c.reads[0] == esc);
  }
}

TEST(TerminalInput, KeysWithoutReleasesAreReleasedWhenRepeatsStop) {
  vx::TerminalKeyHolds holds;
  TerminalInput a{};
  a.kind = TerminalInput::KEY;
  a.key = K::A;
  std::vector<std::pair<int, int>> out;
  const std::int64_t first = vx::TerminalKeyHolds::FIRST_REPEAT_US;
  const std::int64_t next = vx::TerminalKeyHolds::NEXT_REPEAT_US;
  holds.onKey(a, 0, out);                  // Press.
  holds.expire(first - 1, out);            // Still waiting for the first repeat.
  EXPECT_EQ(holds.sample(), std::vector<int>{K::A});
  holds.onKey(a, first - 1, out);          // A repeat: no event.
  holds.expire(first - 1 + next, out);     // Repeats keep it down...
  EXPECT_EQ(holds.sample(), std::vector<int>{K::A});
  holds.expire(first + next, out);         // ...and it is released when they stop.
  EXPECT_TRUE(holds.sample().empty());
  const std::vector<std::pair<int, int>> expected = {{K::A, vx::KEY_PRESSED},
                                                     {K::A, vx::KEY_RELEASED}};
  EXPECT_EQ(out, expected);
}

} // namespace
