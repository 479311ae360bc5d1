/// \file
/// The terminal display and input: owns the terminal while a game runs in it,
/// and gives it back as it found it on every way out.
///
/// Opening it puts the terminal in raw mode, switches to the alternate screen,
/// hides the cursor, turns on mouse reporting (SGR, any motion) and asks for
/// the keyboard protocol that reports key releases; standard error goes to the
/// log meanwhile. Closing it, a normal exit, a stop signal and a crash signal
/// all undo that.
#ifndef VX_TERMINAL_SESSION_H
#define VX_TERMINAL_SESSION_H

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "InputManager.h"
#include "TerminalInput.h"
#include "TerminalScreen.h"
#include "Vector.h"

namespace vx {

struct ShapeOutline;

/// The terminal the game is shown in: takes it over, writes the frames, reads the input, and
/// gives it back as it was on every way out.
class TerminalSession {
 private:
  TerminalSession();

  std::unique_ptr<TerminalScreen> m_p_screen; // Null unless open.
  TerminalInputParser m_parser;
  TerminalKeyHolds m_holds;
  std::deque<TerminalInput> m_queue;  // Parsed, not yet delivered.
  std::string m_frame;                // The bytes of the frame being written.
  std::int64_t m_last_byte_us;        // When input last arrived.
  bool m_buttons[3];                  // Mouse buttons down: left, right, middle.
  Vector m_mouse;                     // Last mouse position, view cells.
  bool m_write_failed;                // The terminal stopped taking output.
  bool m_pointer_moved;               // The mouse moved while the game waited (a pause).
  std::vector<Vector> m_corners;      // The polygon being drawn, kept for its memory.

  void readAvailable();
  void resolveEscape(std::int64_t now_us);
  void checkSize();
  // Takes the terminal again after the program was stopped and continued.
  void takeBack();
  void answerKeyboardFlags();
  Vector toView(int x, int y) const;

 public:
  ///@{
  /// Not copyable: a singleton.
  TerminalSession(const TerminalSession &) = delete;
  TerminalSession &operator=(const TerminalSession &) = delete;
  ///@}

  /// The one terminal session.
  static TerminalSession &getInstance();

  /// Takes over the terminal for a grid of cols x rows cells cleared to a
  /// background colour (0xRRGGBB). 0, or -1 with a log line when standard input
  /// and output are not a terminal or it cannot be set up.
  int open(int cols, int rows, std::uint32_t background);

  /// Gives the terminal back.
  void close();

  /// Whether the terminal is taken over.
  bool isOpen() const;

  /// The grid being drawn. Only while open.
  TerminalScreen &getScreen();

  /// Draws a character at a position in view cells, in the cell nearest to it.
  int drawCharacter(Vector view_cells, char ch, std::uint32_t rgb);

  /// Colours the cells whose centres a polygon covers (placed in window pixels,
  /// as the window would draw it) or, for a polygon smaller than a cell, the
  /// cell its centre is in.
  int drawPolygon(const ShapeOutline &outline, unsigned char r, unsigned char g,
                  unsigned char b, unsigned char opacity);

  /// Writes what changed since the last frame, in one write, and starts the
  /// next frame. 0, or -1 when the terminal took no output.
  int present();

  /// Reads the terminal's input and delivers it through the input manager as
  /// the window's would be: queued events, held buttons, then held keys.
  void deliverInput(const InputManager &input_manager);

  /// For waits outside the game loop (pause): the next key press or other
  /// event, sleeping on standard input when `wait` (no busy poll). A stop
  /// signal gives WINDOW_CLOSED.
  WindowEvent nextEvent(bool wait);
};

/// Gives the terminal back now, if it is taken. Safe in a signal handler.
void restoreTerminalNow();

} // namespace vx

#endif // VX_TERMINAL_SESSION_H
