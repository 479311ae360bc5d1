#include "PauseScreen.h"

#include <string>

#include "DisplayManager.h"
#include "WorldManager.h"
#include "WorldGeometry.h"
#include "utility.h"

namespace vx {

const std::u32string PAUSE_TEXT = U"PAUSED \u2014 any key resumes";

namespace {

// Blank cells between the line and the box's sides.
const int MARGIN = 2;

// A row of the box, `width` cells from the view's column `left`: the two
// ends, and the same character between them.
void drawRow(int left, int row, int width, char end, char fill) {
  const std::string text = end + std::string(static_cast<std::size_t>(width - 2), fill) + end;
  DisplayManager::getInstance().drawString(
      viewToWorld(Vector(static_cast<float>(left), static_cast<float>(row))), text, JUSTIFY_LEFT,
      WHITE);
}

} // namespace

void showPauseScreen() { showMessageBox(PAUSE_TEXT); }

void showMessageBox(const std::u32string &text) {
  DisplayManager &display = DisplayManager::getInstance();
  // Nothing has moved since the picture was drawn: drawing the world again
  // gives it back, in whatever size the window now has.
  WorldManager::getInstance().draw();

  // A framed box of three rows in the middle of the view, blank inside so
  // the line reads over any picture.
  const int width = static_cast<int>(text.size()) + 2 * MARGIN + 2;
  const int left = (display.getHorizontal() - width) / 2;
  const int middle = display.getVertical() / 2;
  drawRow(left, middle - 1, width, '+', '-');
  drawRow(left, middle, width, '|', ' ');
  drawRow(left, middle + 1, width, '+', '-');
  unsigned char r = 0, g = 0, b = 0;
  colorToRGB(YELLOW, r, g, b);
  for (std::size_t i = 0; i < text.size(); i++)
    display.drawCodePoint(viewToWorld(Vector(static_cast<float>(left + 1 + MARGIN) +
                                                 static_cast<float>(i),
                                             static_cast<float>(middle))),
                          text[i], r, g, b);
  display.swapBuffers();
}

} // namespace vx
