#include "Shape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <istream>
#include <ostream>

#include "Config.h"
#include "DisplayManager.h"
#include "LogManager.h"
#include "WorldGeometry.h"
#include "utility.h"

namespace vx {

namespace {

// The font scale as a divisor: a scale that is not positive divides by 1.
float fontScaleDivisor() {
  const float scale = Config::getInstance().getFontScale();
  return scale > 0.0f ? scale : 1.0f;
}

// The outline grown or shrunk by the factor about the pixel it is drawn at.
ShapeOutline scaledOutline(ShapeOutline outline, Vector anchor, float factor) {
  outline.radius *= factor;
  outline.x = anchor.getX() + (outline.x - anchor.getX()) * factor;
  outline.y = anchor.getY() + (outline.y - anchor.getY()) * factor;
  return outline;
}

bool isShapeType(int type) { return type >= UNDEFINED_SHAPE && type <= TRIANGLE; }

// The points of a circle's outline: its size in pixels, from 3 to 10.
int circlePointCount(float size) {
  return size < 3 ? 3 : (size > 10 ? 10 : static_cast<int>(size));
}

} // namespace

Shape::Shape()
    : m_color(WHITE),
      m_r(255),
      m_g(255),
      m_b(255),
      m_type(CIRCLE),
      m_size(static_cast<float>(static_cast<int>(std::min(charWidth(), charHeight()))) *
             Config::getInstance().getFontScale()),
      m_opacity(255) {}

void Shape::setType(int new_type) {
  if (!isShapeType(new_type)) {
    LogManager::getInstance().writeLog("Shape::setType(): Unknown shape type %d. Ignoring.",
                                       new_type);
    return;
  }
  m_type = static_cast<ShapeType>(new_type);
}

void Shape::setColor(Color new_color) {
  m_color = new_color;
  colorToRGB(m_color, m_r, m_g, m_b);
}

void Shape::setColor(unsigned char r, unsigned char g, unsigned char b) {
  m_color = CUSTOM;
  m_r = r;
  m_g = g;
  m_b = b;
}

Color Shape::getColor() const { return m_color; }

unsigned char Shape::getRed() const { return m_r; }

unsigned char Shape::getGreen() const { return m_g; }

unsigned char Shape::getBlue() const { return m_b; }

void Shape::setSize(float new_size) {
  // The size becomes point counts and pixel positions: it must be a number.
  if (!std::isfinite(new_size)) {
    LogManager::getInstance().writeLog("Shape::setSize(): Size %f is not finite. Ignoring.",
                                       static_cast<double>(new_size));
    return;
  }
  m_size = new_size;
}

float Shape::getSize() const { return m_size; }

void Shape::setOpacity(unsigned char new_opacity) { m_opacity = new_opacity; }

unsigned char Shape::getOpacity() const { return m_opacity; }

ShapeOutline Shape::getOutline(Vector pixels) const {
  const float s = m_size;
  const float x = pixels.getX();
  const float y = pixels.getY();
  // Circles and triangles are drawn upright whatever was drawn before them.
  switch (m_type) {
  case CIRCLE: {
    return ShapeOutline{circlePointCount(s), s, x - s * 0.5f, y - s * 0.5f, 0.0f};
  }
  case SQUARE:
    return ShapeOutline{4, s / fontScaleDivisor(), x + s * 0.5f, y - s / 1.75f, 45.0f};
  case TRIANGLE:
    return ShapeOutline{3, s * 0.5f, x - s * 0.5f, y - s * 0.5f, 0.0f};
  case UNDEFINED_SHAPE:
  default:
    return ShapeOutline{0, 0.0f, x, y, 0.0f};
  }
}

void Shape::draw(Vector world_pos) {
  const DisplayManager &display = DisplayManager::getInstance();
  if (display.isShowing()) {
    drawOn(display, world_pos);
    return;
  }
  // Nothing to draw on. A circle's size is still turned into its point count,
  // so a run without a display goes through the same conversion as a drawn one
  // (the fuzzers rely on it); placing the figure is left out, as it would cost
  // more than the rest of a particle's step.
  if (m_type == CIRCLE)
    (void)circlePointCount(m_size);
  LogManager::getInstance().writeLog(5, "Shape::draw(): DisplayManager window not defined.");
}

void Shape::drawOn(const DisplayManager &display, Vector world_pos) {
  const Vector pixels = spacesToPixels(worldToView(world_pos));
  ShapeOutline outline = getOutline(pixels);
  // Sizes in pixels grow and shrink with the grid in a resized window.
  if (display.getGridScale() != 1.0f)
    outline = scaledOutline(outline, pixels, display.getGridScale());
  if (outline.point_count == 0)
    return;

  if (m_color != CUSTOM)
    colorToRGB(m_color, m_r, m_g, m_b);

  LogManager::getInstance().writeLog(25, "Shape::draw(): Drawing at (%.2f, %.2f)",
                                     static_cast<double>(pixels.getX()),
                                     static_cast<double>(pixels.getY()));
  // The polygon joins the display's batch, in drawing order with the characters.
  display.drawPolygon(outline, m_r, m_g, m_b, m_opacity);
}

int Shape::serialize(std::ostream &out) const {
  writeInt32(out, static_cast<std::int32_t>(m_type));
  writeFloat(out, m_size);
  writeInt32(out, static_cast<std::int32_t>(m_color));
  out.put(static_cast<char>(m_opacity));
  return checkStream("Shape::serialize()", out);
}

int Shape::deserialize(std::istream &in) {
  std::int32_t type = 0, color = 0;
  float size = 0;
  char opacity = 0;
  if (readInt32(in, type) && readFloat(in, size) && readInt32(in, color) && in.get(opacity)) {
    setType(type);
    m_size = size;
    // A colour from elsewhere is taken only if it is one this engine knows.
    if (color >= BLACK && color <= CUSTOM)
      m_color = static_cast<Color>(color);
    else
      LogManager::getInstance().writeLog("Shape::deserialize(): Unknown color %d. Ignoring.",
                                         static_cast<int>(color));
    m_opacity = static_cast<unsigned char>(opacity);
  }
  return checkStream("Shape::deserialize()", in);
}

std::string Shape::toString() const {
  char size[64];
  std::snprintf(size, sizeof(size), "%f", static_cast<double>(m_size));
  return shapeTypeToString(m_type) + ", size " + size + ", " + colorToString(m_color) + ", " +
         std::to_string(static_cast<int>(m_opacity));
}

std::string shapeTypeToString(int type) {
  switch (type) {
  case CIRCLE:
    return "circle";
  case SQUARE:
    return "square";
  case TRIANGLE:
    return "triangle";
  default:
    return "undefined";
  }
}

} // namespace vx
