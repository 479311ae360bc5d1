/// \file
/// Turns the bytes a terminal sends into keys and mouse reports, and makes up
/// for the key releases terminals do not report.
///
/// TerminalInputParser knows the xterm and VT forms (plain characters, control
/// characters, CSI and SS3 sequences with modifiers, SGR mouse reports) and the
/// keyboard protocol that reports press, repeat and release. Sequences may
/// arrive split across reads; garbage and over-long sequences are dropped.
#ifndef VX_TERMINAL_INPUT_H
#define VX_TERMINAL_INPUT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vx {

/// What a terminal reported.
struct TerminalInput {
  /// Which kind of report it is.
  enum Kind {
    KEY = 0,             ///< A key (key, name, key_event, modifiers).
    MOUSE = 1,           ///< A mouse report (mouse_event, button, x, y).
    KEYBOARD_FLAGS = 2,  ///< The terminal answered the keyboard-protocol query.
  };
  /// What a key report says.
  enum KeyEvent {
    KEY_PRESS = 0,   ///< Pressed; without the keyboard protocol also a repeat.
    KEY_REPEAT = 1,  ///< Held, as reported by the keyboard protocol.
    KEY_RELEASE = 2, ///< Released, as reported by the keyboard protocol.
  };
  /// What a mouse report says.
  enum MouseEvent {
    /// The pointer moved.
    MOUSE_MOTION = 0,
    /// A button went down.
    MOUSE_PRESS = 1,
    /// A button went up.
    MOUSE_RELEASE = 2,
  };
  /// Modifier keys held, as bits.
  enum Modifier {
    SHIFT = 1, ///< Shift was held.
    ALT = 2,   ///< Alt was held.
    CTRL = 4,  ///< Control was held.
  };

  /// Which kind of report it is.
  Kind kind;
  int key;            ///< An engine key code (Keyboard::Key), -1 for keys it has none for.
  const char *name;   ///< The key's name, for log lines.
  int key_event;      ///< KeyEvent.
  bool reported;      ///< Whether press/repeat/release came from the keyboard protocol.
  int modifiers;      ///< Modifier bits.
  int mouse_event;    ///< MouseEvent.
  int button;         ///< Mouse::Button, -1 for none.
  ///@{
  int x, y;           ///< Mouse cell, counted from 0 at the terminal's top-left.
  ///@}
};

/// Turns the bytes a terminal sends into TerminalInput reports: keys, SGR mouse reports and
/// keyboard-protocol reports.
class TerminalInputParser {
 private:
  std::string m_pending;  // Bytes that may be the start of a sequence.
  bool m_skipping;        // Dropping the rest of an over-long sequence.

  std::size_t parseOne(const char *p, std::size_t n, std::vector<TerminalInput> &out);
  std::size_t parseCsi(const char *p, std::size_t n, std::vector<TerminalInput> &out);
  std::size_t parseSs3(const char *p, std::size_t n, std::vector<TerminalInput> &out);

 public:
  /// The longest sequence accepted; longer ones are dropped.
  static const std::size_t MAX_SEQUENCE = 64;

  /// A parser expecting the start of a report.
  TerminalInputParser();

  /// Parses what was read, appending what it completes.
  void feed(const char *data, std::size_t size, std::vector<TerminalInput> &out);

  /// Whether bytes wait for more: a lone escape, or a sequence cut by a read.
  bool hasPending() const;

  /// No more came within the escape wait: a lone escape is the Escape key, an
  /// escape and one character that key with Alt, anything longer is dropped.
  void flushPending(std::vector<TerminalInput> &out);
};

/// Key state for terminals that report only presses: a press makes a key
/// down, repeats keep it down, and it is released when they stop. With the
/// keyboard protocol, its own press, repeat and release are used.
class TerminalKeyHolds {
 private:
  struct Held {
    int key;
    std::int64_t last_us;  ///< When it was last pressed or repeated.
    bool repeated;         ///< Repeats have arrived since the press.
    bool reported;         ///< Its state comes from the keyboard protocol.
  };
  std::vector<Held> m_held;

 public:
  ///@{
  /// Without the keyboard protocol: how long a press waits for the first
  /// repeat, and repeats for the next, before the key counts as released.
  static const std::int64_t FIRST_REPEAT_US = 600000;
  static const std::int64_t NEXT_REPEAT_US = 150000;
  ///@}
  /// With it: how long a key stays down with no report at all (a release lost
  /// to a focus change must not hold it for ever).
  static const std::int64_t REPORTED_HOLD_US = 5000000;

  /// A key report at a time; appends the (key, engine keyboard action) pairs
  /// to deliver: a press or a release, or nothing for a repeat.
  void onKey(const TerminalInput &input, std::int64_t now_us,
             std::vector<std::pair<int, int>> &out);

  /// Releases keys whose repeats stopped.
  void expire(std::int64_t now_us, std::vector<std::pair<int, int>> &out);

  /// The keys down, in the order the window samples held keys (F11 and F12,
  /// which it does not sample, left out).
  std::vector<int> sample() const;

  /// Forgets every key without releasing it.
  void clear();
};

} // namespace vx

#endif // VX_TERMINAL_INPUT_H
