/// \file
/// No display at all (headless): the game runs, nothing is shown and no input
/// arrives. Every drawing call draws nothing and reports failure, as the
/// display manager did without a window.
#ifndef VX_NO_DISPLAY_H
#define VX_NO_DISPLAY_H

#include "DisplayBackend.h"

namespace vx {

/// The display of a headless game, and the stand-in before start-up: draws nothing, reads no
/// input.
class NoDisplay : public DisplayBackend {
 private:
  bool m_opened = false; // Started headless, rather than standing in before start-up.

 public:
  int open(DisplayGrid &grid) override;
  void close() override {}
  bool isShowing() const override { return false; }
  int drawCharacter(Vector, char, std::uint32_t, float) override { return -1; }
  int drawCodePoint(Vector, std::uint32_t, std::uint32_t) override { return -1; }
  int drawPolygon(const ShapeOutline &, unsigned char, unsigned char, unsigned char,
                  unsigned char) override {
    return -1;
  }
  int present() override { return -1; }
  int resize(int, int) override { return -1; }
  int setTitle(const std::string &) override { return -1; }
  bool setBackground(std::uint32_t) override { return false; }

  /// No input when headless. Standing in before the display manager started,
  /// input cannot start unless the configuration is headless. When the
  /// configuration asks for a window by the time input starts, the missing
  /// window is a warning at start and an error at every step, as for a window
  /// that is gone.
  int startInput() override;
  void deliverInput(const InputManager &) override;
  WindowEvent nextEvent(bool) override { return NO_WINDOW_EVENT; }
};

} // namespace vx

#endif // VX_NO_DISPLAY_H
