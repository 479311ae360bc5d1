#include "ReferenceDrawing.h"

#include "DisplayManager.h"
#include "WorldGeometry.h"
#include "utility.h"

namespace vxtest {

ReferenceDrawing::ReferenceDrawing(sf::Color background)
    : m_window(*vx::DisplayManager::getInstance().getWindow()),
      m_rectangle(sf::Vector2f(vx::charWidth(), vx::charHeight())),
      m_polygon(0.0f, 30) {
  const vx::DisplayManager &display = vx::DisplayManager::getInstance();
  m_text.setFont(*display.getFont());
  m_text.setStyle(sf::Text::Bold);
  m_text.setCharacterSize(display.getCharacterSize());
  // The display moves every glyph by its offset: a text does so when its
  // origin is the opposite of that offset.
  m_text.setOrigin(-display.getGlyphOffset().getX(), -display.getGlyphOffset().getY());
  setBackground(background);
}

void ReferenceDrawing::setBackground(sf::Color background) { m_rectangle.setFillColor(background); }

void ReferenceDrawing::drawCh(vx::Vector world_pos, char ch, sf::Color color, float angle) {
  const vx::Vector pixels = vx::spacesToPixels(vx::worldToView(world_pos));
  const float cell_width = vx::charWidth();
  const float cell_height = vx::charHeight();
  m_rectangle.setPosition(pixels.getX() - cell_width / 10, pixels.getY() + cell_height / 5);
  m_rectangle.setRotation(angle);
  m_window.draw(m_rectangle);

  m_text.setString(std::string(1, ch));
  m_text.setPosition(pixels.getX(), pixels.getY());
  m_text.setFillColor(color);
  m_text.setRotation(angle);
  m_window.draw(m_text);
}

void ReferenceDrawing::drawShape(const vx::Shape &shape, vx::Vector world_pos) {
  const vx::ShapeOutline outline = shape.getOutline(vx::spacesToPixels(vx::worldToView(world_pos)));
  if (outline.point_count == 0)
    return;
  m_polygon.setPointCount(static_cast<std::size_t>(outline.point_count));
  m_polygon.setRadius(outline.radius);
  m_polygon.setRotation(outline.rotation);
  m_polygon.setPosition(outline.x, outline.y);
  m_polygon.setFillColor(
      sf::Color(shape.getRed(), shape.getGreen(), shape.getBlue(), shape.getOpacity()));
  m_window.draw(m_polygon);
}

} // namespace vxtest
