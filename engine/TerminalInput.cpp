#include "TerminalInput.h"

#include <algorithm>

#include "EventKeyboard.h"
#include "EventMouse.h"
#include "InputManager.h"

namespace vx {

namespace {

const char ESC = '\x1b';

// A key with its engine code and the name log lines give it.
struct KeyName {
  int key;
  const char *name;
};

const KeyName UNKNOWN_KEY = {Keyboard::UNDEFINED_KEY, "Unknown"};

// Printable ASCII from ' ' to '`' (lower-case letters are looked up as
// upper-case ones), then from '{' to '~': the key that types it on a US layout.
const KeyName PRINTABLE[65] = {
    {Keyboard::SPACE, "Space"},   {Keyboard::NUM1, "!"},        {Keyboard::QUOTE, "\""},
    {Keyboard::NUM3, "#"},        {Keyboard::NUM4, "$"},        {Keyboard::NUM5, "%"},
    {Keyboard::NUM7, "&"},        {Keyboard::QUOTE, "'"},       {Keyboard::NUM9, "("},
    {Keyboard::NUM0, ")"},        {Keyboard::MULTIPLY, "*"},    {Keyboard::PLUS, "+"},
    {Keyboard::COMMA, ","},       {Keyboard::MINUS, "-"},       {Keyboard::PERIOD, "."},
    {Keyboard::SLASH, "/"},       {Keyboard::NUM0, "0"},        {Keyboard::NUM1, "1"},
    {Keyboard::NUM2, "2"},        {Keyboard::NUM3, "3"},        {Keyboard::NUM4, "4"},
    {Keyboard::NUM5, "5"},        {Keyboard::NUM6, "6"},        {Keyboard::NUM7, "7"},
    {Keyboard::NUM8, "8"},        {Keyboard::NUM9, "9"},        {Keyboard::SEMICOLON, ":"},
    {Keyboard::SEMICOLON, ";"},   {Keyboard::COMMA, "<"},       {Keyboard::EQUALS, "="},
    {Keyboard::PERIOD, ">"},      {Keyboard::SLASH, "?"},       {Keyboard::NUM2, "@"},
    {Keyboard::A, "A"}, {Keyboard::B, "B"}, {Keyboard::C, "C"}, {Keyboard::D, "D"},
    {Keyboard::E, "E"}, {Keyboard::F, "F"}, {Keyboard::G, "G"}, {Keyboard::H, "H"},
    {Keyboard::I, "I"}, {Keyboard::J, "J"}, {Keyboard::K, "K"}, {Keyboard::L, "L"},
    {Keyboard::M, "M"}, {Keyboard::N, "N"}, {Keyboard::O, "O"}, {Keyboard::P, "P"},
    {Keyboard::Q, "Q"}, {Keyboard::R, "R"}, {Keyboard::S, "S"}, {Keyboard::T, "T"},
    {Keyboard::U, "U"}, {Keyboard::V, "V"}, {Keyboard::W, "W"}, {Keyboard::X, "X"},
    {Keyboard::Y, "Y"}, {Keyboard::Z, "Z"},
    {Keyboard::LEFTBRACKET, "["}, {Keyboard::BACKSLASH, "\\"}, {Keyboard::RIGHTBRACKET, "]"},
    {Keyboard::NUM6, "^"},        {Keyboard::MINUS, "_"},       {Keyboard::TILDE, "Grave"},
};
const KeyName PRINTABLE_TAIL[4] = {
    {Keyboard::LEFTBRACKET, "{"}, {Keyboard::BACKSLASH, "|"}, {Keyboard::RIGHTBRACKET, "}"},
    {Keyboard::TILDE, "~"},
};

// The key of a printable character, ' ' to '~'.
KeyName printableKey(long code) {
  if (code >= 'a' && code <= 'z')
    code -= 'a' - 'A';
  return code >= '{' ? PRINTABLE_TAIL[code - '{'] : PRINTABLE[code - ' '];
}

// The key of a character code (ASCII, or a keyboard-protocol key code), with
// the modifiers the character itself implies.
KeyName keyOfCode(long code, int &modifiers) {
  switch (code) {
  case 13: case 10: return {Keyboard::RETURN, "Enter"};
  case 9: return {Keyboard::TAB, "Tab"};
  case 127: case 8: return {Keyboard::BACKSPACE, "Backspace"};
  case 27: return {Keyboard::ESCAPE, "Escape"};
  case 0: modifiers |= TerminalInput::CTRL; return {Keyboard::SPACE, "Space"};
  // Keys the keyboard protocol reports on their own.
  case 57441: return {Keyboard::LEFTSHIFT, "Left Shift"};
  case 57442: return {Keyboard::LEFTCONTROL, "Left Control"};
  case 57447: return {Keyboard::RIGHTSHIFT, "Right Shift"};
  case 57448: return {Keyboard::RIGHTCONTROL, "Right Control"};
  case 57409: return {Keyboard::PERIOD, "Numpad ."};
  case 57410: return {Keyboard::SLASH, "Numpad /"};
  case 57411: return {Keyboard::MULTIPLY, "Numpad *"};
  case 57412: return {Keyboard::MINUS, "Numpad -"};
  case 57413: return {Keyboard::PLUS, "Numpad +"};
  case 57414: return {Keyboard::RETURN, "Numpad Enter"};
  default: break;
  }
  if (code >= 57399 && code <= 57408)
    return {code == 57399 ? Keyboard::NUM0 : Keyboard::NUM1 + static_cast<int>(code - 57400),
            "Numpad digit"};
  if (code >= 1 && code <= 26) {
    modifiers |= TerminalInput::CTRL;
    return printableKey('A' + code - 1);
  }
  if (code >= ' ' && code <= '~') {
    if (code >= 'A' && code <= 'Z')
      modifiers |= TerminalInput::SHIFT;
    return printableKey(code);
  }
  return UNKNOWN_KEY;
}

// The key of a "CSI n ~" sequence.
KeyName keyOfTilde(long n) {
  switch (n) {
  case 1: case 7: return {Keyboard::UNDEFINED_KEY, "Home"};
  case 2: return {Keyboard::UNDEFINED_KEY, "Insert"};
  case 3: return {Keyboard::UNDEFINED_KEY, "Delete"};
  case 4: case 8: return {Keyboard::UNDEFINED_KEY, "End"};
  case 5: return {Keyboard::UNDEFINED_KEY, "Page Up"};
  case 6: return {Keyboard::UNDEFINED_KEY, "Page Down"};
  case 11: return {Keyboard::F1, "F1"};
  case 12: return {Keyboard::F2, "F2"};
  case 13: return {Keyboard::F3, "F3"};
  case 14: return {Keyboard::F4, "F4"};
  case 15: return {Keyboard::F5, "F5"};
  case 17: return {Keyboard::F6, "F6"};
  case 18: return {Keyboard::F7, "F7"};
  case 19: return {Keyboard::F8, "F8"};
  case 20: return {Keyboard::F9, "F9"};
  case 21: return {Keyboard::F10, "F10"};
  case 23: return {Keyboard::F11, "F11"};
  case 24: return {Keyboard::F12, "F12"};
  default: return UNKNOWN_KEY;
  }
}

// The key of the final letter of a CSI or SS3 sequence, or null for a letter
// that is no key.
const KeyName *keyOfLetter(char final) {
  static const KeyName ARROWS[4] = {{Keyboard::UPARROW, "Up"}, {Keyboard::DOWNARROW, "Down"},
                                    {Keyboard::RIGHTARROW, "Right"},
                                    {Keyboard::LEFTARROW, "Left"}};
  static const KeyName F1_F4[4] = {
      {Keyboard::F1, "F1"}, {Keyboard::F2, "F2"}, {Keyboard::F3, "F3"}, {Keyboard::F4, "F4"}};
  static const KeyName HOME = {Keyboard::UNDEFINED_KEY, "Home"};
  static const KeyName END = {Keyboard::UNDEFINED_KEY, "End"};
  static const KeyName TAB = {Keyboard::TAB, "Tab"};
  static const KeyName ENTER = {Keyboard::RETURN, "Enter"};
  if (final >= 'A' && final <= 'D')
    return &ARROWS[final - 'A'];
  if (final >= 'P' && final <= 'S')
    return &F1_F4[final - 'P'];
  switch (final) {
  case 'H': return &HOME;
  case 'F': return &END;
  case 'Z': return &TAB; // Shift-Tab.
  case 'M': return &ENTER; // Keypad Enter in application mode.
  default: return nullptr;
  }
}

TerminalInput keyInput(const KeyName &key, int modifiers, int key_event, bool reported) {
  TerminalInput input{};
  input.kind = TerminalInput::KEY;
  input.key = key.key;
  input.name = key.name;
  input.key_event = key_event;
  input.reported = reported;
  input.modifiers = modifiers;
  input.button = Mouse::UNDEFINED_MOUSE_BUTTON;
  return input;
}

// The parameters of a sequence: fields split by ';', sub-fields by ':'.
// Missing numbers are -1; numbers are capped so nothing overflows.
struct Params {
  static const int MAX_FIELDS = 4;
  static const int MAX_SUBS = 3;
  long field[MAX_FIELDS][MAX_SUBS];
  int count;

  Params(const char *p, std::size_t n) : count(1) {
    for (auto &f : field)
      std::fill(f, f + MAX_SUBS, -1L);
    int f = 0, s = 0;
    for (std::size_t i = 0; i < n; i++) {
      const char c = p[i];
      if (c == ';') {
        f++;
        s = 0;
        if (f < MAX_FIELDS)
          count = f + 1;
      } else if (c == ':') {
        s++;
      } else if (c >= '0' && c <= '9' && f < MAX_FIELDS && s < MAX_SUBS) {
        long &v = field[f][s];
        v = v < 0 ? 0 : v;
        if (v < 10000000)
          v = v * 10 + (c - '0');
      }
    }
  }

  long get(int f, int s, long fallback) const {
    if (f >= MAX_FIELDS || s >= MAX_SUBS || field[f][s] < 0)
      return fallback;
    return field[f][s];
  }

  // The modifier bits of field f ("1 + bits", as xterm writes them).
  int modifiers(int f) const {
    const long m = get(f, 0, 1);
    return m >= 1 && m <= 256 ? static_cast<int>((m - 1) & 7) : 0;
  }

  // The keyboard protocol's event type in field f: 1 press, 2 repeat, 3 release.
  int keyEvent(int f, bool &reported) const {
    const long type = get(f, 1, -1);
    reported = type >= 1 && type <= 3;
    return type == 2 ? TerminalInput::KEY_REPEAT
                     : (type == 3 ? TerminalInput::KEY_RELEASE : TerminalInput::KEY_PRESS);
  }
};

TerminalInput mouseInput(const Params &params, char final) {
  TerminalInput input{};
  input.kind = TerminalInput::MOUSE;
  input.key = Keyboard::UNDEFINED_KEY;
  input.name = "";
  const long code = params.get(0, 0, 0);
  input.x = static_cast<int>(std::max(1L, params.get(1, 0, 1))) - 1;
  input.y = static_cast<int>(std::max(1L, params.get(2, 0, 1))) - 1;
  input.modifiers = static_cast<int>((code >> 2) & 7) == 0 ? 0 : TerminalInput::SHIFT;
  const long low = code & 3;
  // Terminal button numbers: 0 left, 1 middle, 2 right, 3 none.
  input.button = low == 0 ? Mouse::LEFT
                          : (low == 1 ? Mouse::MIDDLE
                                      : (low == 2 ? Mouse::RIGHT : Mouse::UNDEFINED_MOUSE_BUTTON));
  if (code & 64) // The wheel: neither a move nor a click.
    input.button = Mouse::UNDEFINED_MOUSE_BUTTON, input.mouse_event = -1;
  else if (code & 32)
    input.mouse_event = TerminalInput::MOUSE_MOTION;
  else
    input.mouse_event = final == 'M' ? TerminalInput::MOUSE_PRESS : TerminalInput::MOUSE_RELEASE;
  return input;
}

bool isFinalByte(char c) { return c >= 0x40 && c <= 0x7E; }
bool isParameterByte(char c) { return c >= 0x20 && c <= 0x3F; }

} // namespace

TerminalInputParser::TerminalInputParser() : m_skipping(false) {}

bool TerminalInputParser::hasPending() const { return !m_pending.empty(); }

void TerminalInputParser::feed(const char *data, std::size_t size,
                               std::vector<TerminalInput> &out) {
  m_pending.append(data, size);
  std::size_t start = 0;
  while (start < m_pending.size()) {
    if (m_skipping) {
      // The tail of an over-long sequence: up to and including its final byte.
      const char c = m_pending[start];
      if (isParameterByte(c)) {
        start++;
        continue;
      }
      m_skipping = false;
      if (isFinalByte(c)) {
        start++;
        continue;
      }
    }
    const std::size_t used = parseOne(m_pending.data() + start, m_pending.size() - start, out);
    if (used == 0)
      break;
    start += used;
  }
  m_pending.erase(0, start);
}

void TerminalInputParser::flushPending(std::vector<TerminalInput> &out) {
  int modifiers = 0;
  if (m_pending.size() == 1 && m_pending[0] == ESC) {
    out.push_back(keyInput(keyOfCode(27, modifiers), 0, TerminalInput::KEY_PRESS, false));
  } else if (m_pending.size() == 2 && m_pending[0] == ESC) {
    // "ESC [" or "ESC O" that went no further: Alt with that key.
    modifiers = TerminalInput::ALT;
    const KeyName key = keyOfCode(static_cast<unsigned char>(m_pending[1]), modifiers);
    out.push_back(keyInput(key, modifiers, TerminalInput::KEY_PRESS, false));
  }
  m_pending.clear();
  m_skipping = false;
}

std::size_t TerminalInputParser::parseOne(const char *p, std::size_t n,
                                          std::vector<TerminalInput> &out) {
  const unsigned char c = static_cast<unsigned char>(p[0]);
  if (c >= 0x80) {
    // A UTF-8 character: one key the engine has no code for.
    const std::size_t length = c >= 0xF0 ? 4 : (c >= 0xE0 ? 3 : (c >= 0xC0 ? 2 : 1));
    if (n < length)
      return 0;
    out.push_back(keyInput(UNKNOWN_KEY, 0, TerminalInput::KEY_PRESS, false));
    return length;
  }
  if (c != static_cast<unsigned char>(ESC)) {
    int modifiers = 0;
    const KeyName key = keyOfCode(c, modifiers);
    out.push_back(keyInput(key, modifiers, TerminalInput::KEY_PRESS, false));
    return 1;
  }
  if (n < 2)
    return 0; // A lone escape, or the start of a sequence: wait.
  if (p[1] == '[')
    return parseCsi(p, n, out);
  if (p[1] == 'O')
    return parseSs3(p, n, out);
  const unsigned char next = static_cast<unsigned char>(p[1]);
  if (next == static_cast<unsigned char>(ESC) || next >= 0x80) {
    int modifiers = 0;
    out.push_back(keyInput(keyOfCode(27, modifiers), 0, TerminalInput::KEY_PRESS, false));
    return 1;
  }
  // Escape then a character: that key with Alt.
  int modifiers = TerminalInput::ALT;
  const KeyName key = keyOfCode(next, modifiers);
  out.push_back(keyInput(key, modifiers, TerminalInput::KEY_PRESS, false));
  return 2;
}

std::size_t TerminalInputParser::parseSs3(const char *p, std::size_t n,
                                          std::vector<TerminalInput> &out) {
  // ESC O, optional digits and ';', then a final letter.
  std::size_t i = 2;
  while (i < n && i < MAX_SEQUENCE && ((p[i] >= '0' && p[i] <= '9') || p[i] == ';'))
    i++;
  if (i >= MAX_SEQUENCE) {
    m_skipping = true;
    return i;
  }
  if (i >= n)
    return 0;
  if (!isFinalByte(p[i]))
    return i; // Garbage: dropped up to the byte that broke it.
  const KeyName *key = keyOfLetter(p[i]);
  if (key != nullptr) {
    const Params params(p + 2, i - 2);
    const int modifiers = params.count > 1 ? params.modifiers(1) : params.modifiers(0);
    out.push_back(keyInput(*key, modifiers, TerminalInput::KEY_PRESS, false));
  }
  return i + 1;
}

std::size_t TerminalInputParser::parseCsi(const char *p, std::size_t n,
                                          std::vector<TerminalInput> &out) {
  if (n < 3)
    return 0;
  if (p[2] == '[') {
    // The Linux console's F1 to F5: ESC [ [ A to E.
    if (n < 4)
      return 0;
    static const KeyName KEYS[5] = {{Keyboard::F1, "F1"}, {Keyboard::F2, "F2"},
                                    {Keyboard::F3, "F3"}, {Keyboard::F4, "F4"},
                                    {Keyboard::F5, "F5"}};
    if (p[3] >= 'A' && p[3] <= 'E')
      out.push_back(keyInput(KEYS[p[3] - 'A'], 0, TerminalInput::KEY_PRESS, false));
    return 4;
  }
  if (p[2] == 'M') {
    // An old-style mouse report with three raw bytes: not asked for, dropped.
    return n < 6 ? 0 : 6;
  }
  std::size_t i = 2;
  while (i < n && i < MAX_SEQUENCE && isParameterByte(p[i]))
    i++;
  if (i >= MAX_SEQUENCE) {
    m_skipping = true;
    return i;
  }
  if (i >= n)
    return 0;
  const char final = p[i];
  if (!isFinalByte(final))
    return i; // A control character inside: the sequence is dropped.
  const char marker = (p[2] >= '<' && p[2] <= '?') ? p[2] : '\0';
  const std::size_t params_start = marker != '\0' ? 3 : 2;
  const Params params(p + params_start, i - params_start);
  const std::size_t used = i + 1;

  if (marker == '<') {
    if (final == 'M' || final == 'm') {
      const TerminalInput mouse = mouseInput(params, final);
      if (mouse.mouse_event >= 0)
        out.push_back(mouse);
    }
    return used;
  }
  if (marker == '?') {
    if (final == 'u') {
      TerminalInput answer{};
      answer.kind = TerminalInput::KEYBOARD_FLAGS;
      answer.key = Keyboard::UNDEFINED_KEY;
      answer.name = "";
      out.push_back(answer);
    }
    return used; // Other answers (device attributes, ...) are not keys.
  }
  if (marker != '\0')
    return used;

  bool reported = false;
  if (final == 'u') {
    // The keyboard protocol: code[:alternates];modifiers[:event][;text].
    int modifiers = params.modifiers(1);
    const int event = params.keyEvent(1, reported);
    const KeyName key = keyOfCode(params.get(0, 0, -1), modifiers);
    out.push_back(keyInput(key, modifiers, event, reported));
    return used;
  }
  if (final == '~') {
    const long number = params.get(0, 0, -1);
    if (number == 200 || number == 201)
      return used; // Pasted text markers.
    const KeyName key = keyOfTilde(number);
    const int event = params.keyEvent(1, reported);
    out.push_back(keyInput(key, params.modifiers(1), event, reported));
    return used;
  }
  const KeyName *key = keyOfLetter(final);
  if (key != nullptr && final != 'M') {
    const int event = params.keyEvent(1, reported);
    int modifiers = params.modifiers(1);
    if (final == 'Z')
      modifiers |= TerminalInput::SHIFT;
    out.push_back(keyInput(*key, modifiers, event, reported));
  }
  return used; // Focus reports and other sequences are no keys.
}

void TerminalKeyHolds::onKey(const TerminalInput &input, std::int64_t now_us,
                             std::vector<std::pair<int, int>> &out) {
  if (input.key == Keyboard::UNDEFINED_KEY) {
    // Keys without a code are reported, never held.
    out.emplace_back(input.key, input.key_event == TerminalInput::KEY_RELEASE ? KEY_RELEASED
                                                                             : KEY_PRESSED);
    return;
  }
  auto held = std::find_if(m_held.begin(), m_held.end(),
                           [&input](const Held &h) { return h.key == input.key; });
  if (input.key_event == TerminalInput::KEY_RELEASE) {
    if (held != m_held.end())
      m_held.erase(held);
    out.emplace_back(input.key, KEY_RELEASED);
    return;
  }
  if (held == m_held.end()) {
    m_held.push_back(Held{input.key, now_us, false, input.reported});
    out.emplace_back(input.key, KEY_PRESSED);
    return;
  }
  // Without release reports, a press of a key already down is a repeat.
  held->last_us = now_us;
  held->repeated = true;
  held->reported = input.reported;
}

void TerminalKeyHolds::expire(std::int64_t now_us, std::vector<std::pair<int, int>> &out) {
  for (auto it = m_held.begin(); it != m_held.end();) {
    const std::int64_t limit =
        it->reported ? REPORTED_HOLD_US : (it->repeated ? NEXT_REPEAT_US : FIRST_REPEAT_US);
    if (now_us - it->last_us > limit) {
      out.emplace_back(it->key, KEY_RELEASED);
      it = m_held.erase(it);
    } else {
      ++it;
    }
  }
}

std::vector<int> TerminalKeyHolds::sample() const {
  // In the order the window samples held keys in.
  std::vector<int> down;
  for (Keyboard::Key key : sampledKeys())
    if (std::any_of(m_held.begin(), m_held.end(), [key](const Held &h) { return h.key == key; }))
      down.push_back(key);
  return down;
}

void TerminalKeyHolds::clear() { m_held.clear(); }

} // namespace vx
