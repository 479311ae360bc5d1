/// \file
/// The display in the terminal the game was started from: the grid is drawn
/// into a character grid (TerminalScreen) that the terminal session writes out
/// as the few bytes that changed, and the terminal's keys and mouse reports are
/// the input (TerminalSession, TerminalInput).
#ifndef VX_TERMINAL_DISPLAY_H
#define VX_TERMINAL_DISPLAY_H

#include "DisplayBackend.h"

namespace vx {

/// The terminal the game was started from as its display, through the TerminalSession.
class TerminalDisplay : public DisplayBackend {
 public:
  int open(DisplayGrid &grid) override;
  void close() override;
  bool isShowing() const override;
  int drawCharacter(Vector view_cells, char ch, std::uint32_t rgb, float angle) override;
  int drawCodePoint(Vector view_cells, std::uint32_t code, std::uint32_t rgb) override;
  int drawPolygon(const ShapeOutline &outline, unsigned char r, unsigned char g,
                  unsigned char b, unsigned char opacity) override;
  int present() override;
  int resize(int, int) override { return -1; }
  int setTitle(const std::string &) override { return -1; }
  bool setBackground(std::uint32_t rgba) override;

  int startInput() override;
  void deliverInput(const InputManager &input_manager) override;
  WindowEvent nextEvent(bool wait) override;
};

} // namespace vx

#endif // VX_TERMINAL_DISPLAY_H
