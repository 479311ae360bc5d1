#include "PauseScreen.h"

#include "DisplayManager.h"
#include "WorldManager.h"
#include "utility.h"

namespace vx {

const std::u32string PAUSE_TEXT = U"PAUSED \u2014 any key resumes";

namespace {

// Blank cells between the line and the box's sides.
const int MARGIN = 2;

// A row of the box: the two ends, and the same character between them.
void drawRow(Vector view_left, int width, char end, char fill, Color color) {
  const DisplayManager &display = DisplayManager::getInstance();
  for (int x = 0; x < width; x++) {
    const char ch = x == 0 || x == width - 1 ? end : fill;
    display.drawCh(viewToWorld(view_left + Vector(static_cast<float>(x), 0.0f)), ch, color);
  }
}

} // namespace

void showPauseScreen() {
  DisplayManager &display = DisplayManager::getInstance();
  // Nothing has moved since the picture was drawn: drawing the world again
  // gives it back, in whatever size the window now has.
  WorldManager::getInstance().draw();

  // A framed box of three rows in the middle of the view, blank inside so
  // the line reads over any picture.
  const int width = static_cast<int>(PAUSE_TEXT.size()) + 2 * MARGIN + 2;
  const int left = (display.getHorizontal() - width) / 2;
  const int middle = display.getVertical() / 2;
  drawRow(Vector(static_cast<float>(left), static_cast<float>(middle - 1)), width, '+', '-', WHITE);
  drawRow(Vector(static_cast<float>(left), static_cast<float>(middle)), width, '|', ' ', WHITE);
  drawRow(Vector(static_cast<float>(left), static_cast<float>(middle + 1)), width, '+', '-', WHITE);
  unsigned char r = 0, g = 0, b = 0;
  colorToRGB(YELLOW, r, g, b);
  for (std::size_t i = 0; i < PAUSE_TEXT.size(); i++)
    display.drawCodePoint(viewToWorld(Vector(static_cast<float>(left + 1 + MARGIN) +
                                                 static_cast<float>(i),
                                             static_cast<float>(middle))),
                          PAUSE_TEXT[i], r, g, b);
  display.swapBuffers();
}

} // namespace vx
