// Drawing one library call per figure, straight onto the display manager's
// window: a rectangle and a one-letter text for every character, a circle
// shape for every figure. The display batches the same drawing into one call
// a frame; tests compare the two pictures and the draw_screen benchmark times
// the two side by side.
#ifndef VX_REFERENCE_DRAWING_H
#define VX_REFERENCE_DRAWING_H

#include <SFML/Graphics.hpp>

#include "Shape.h"
#include "Vector.h"

namespace vxtest {

class ReferenceDrawing {
 private:
  sf::RenderWindow &m_window;
  sf::RectangleShape m_rectangle; // The background under each character.
  sf::Text m_text;                // Reused for every character.
  sf::CircleShape m_polygon;      // Reshaped for every figure.

 public:
  // Uses the started display manager's window, font, character size and cell
  // size; cells are blanked to the background colour.
  explicit ReferenceDrawing(sf::Color background);

  void setBackground(sf::Color background);

  // One character at a world position, turned by angle degrees.
  void drawCh(vx::Vector world_pos, char ch, sf::Color color, float angle = 0);

  // A shape at a world position, in its colour and opacity.
  void drawShape(const vx::Shape &shape, vx::Vector world_pos);
};

} // namespace vxtest

#endif // VX_REFERENCE_DRAWING_H
