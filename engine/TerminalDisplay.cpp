#include "TerminalDisplay.h"

#include "LogManager.h"
#include "TerminalSession.h"

namespace vx {

namespace {

// The terminal's session when it is open, else null.
TerminalSession *openSession() {
  TerminalSession &terminal = TerminalSession::getInstance();
  return terminal.isOpen() ? &terminal : nullptr;
}

} // namespace

int TerminalDisplay::open(DisplayGrid &grid) {
  // Shapes are sized in pixels: a terminal cell counts as the window's would.
  if (grid.horizontal_pixels == 0)
    grid.horizontal_pixels = 16 * grid.horizontal_chars;
  if (grid.vertical_pixels == 0)
    grid.vertical_pixels = 32 * grid.vertical_chars;
  return TerminalSession::getInstance().open(grid.horizontal_chars, grid.vertical_chars,
                                             grid.background >> 8);
}

void TerminalDisplay::close() { TerminalSession::getInstance().close(); }

bool TerminalDisplay::isShowing() const { return openSession() != nullptr; }

int TerminalDisplay::drawCharacter(Vector view_cells, char ch, std::uint32_t rgb, float) {
  TerminalSession *p_terminal = openSession();
  return p_terminal == nullptr ? -1 : p_terminal->drawCharacter(view_cells, ch, rgb);
}

int TerminalDisplay::drawCodePoint(Vector view_cells, std::uint32_t code, std::uint32_t rgb) {
  // One byte a cell: dashes become '-', anything else '?'.
  return drawCharacter(view_cells, code == 0x2013 || code == 0x2014 ? '-' : '?', rgb, 0);
}

int TerminalDisplay::drawPolygon(const ShapeOutline &outline, unsigned char r, unsigned char g,
                                 unsigned char b, unsigned char opacity) {
  TerminalSession *p_terminal = openSession();
  return p_terminal == nullptr ? -1 : p_terminal->drawPolygon(outline, r, g, b, opacity);
}

int TerminalDisplay::present() {
  TerminalSession *p_terminal = openSession();
  return p_terminal == nullptr ? -1 : p_terminal->present();
}

bool TerminalDisplay::setBackground(std::uint32_t rgba) {
  if (TerminalSession *p_terminal = openSession())
    p_terminal->getScreen().setBackground(rgba >> 8);
  return true;
}

int TerminalDisplay::startInput() {
  LogManager::getInstance().writeLog(2, "InputManager::startUp(): input from the terminal.");
  return 0;
}

void TerminalDisplay::deliverInput(const InputManager &input_manager) {
  TerminalSession::getInstance().deliverInput(input_manager);
}

WindowEvent TerminalDisplay::nextEvent(bool wait) {
  return TerminalSession::getInstance().nextEvent(wait);
}

} // namespace vx
