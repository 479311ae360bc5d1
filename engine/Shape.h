/// \file
/// A small filled figure (circle, square or triangle) drawn in pixel sizes at a
/// world position, in an engine colour or any RGB colour, with an opacity.
#ifndef VX_SHAPE_H
#define VX_SHAPE_H

#include <iosfwd>
#include <string>

#include "Color.h"
#include "Vector.h"

namespace vx {

class DisplayManager;

/// The figures a Shape draws.
enum ShapeType {
  UNDEFINED_SHAPE = -1, ///< Nothing is drawn.
  CIRCLE = 0, ///< A circle whose radius is the size.
  SQUARE = 1, ///< A square drawn in proportion to the size.
  TRIANGLE = 2, ///< A triangle whose corners lie on a circle of half the size.
};

/// Where and how the polygon of a shape is drawn, in window pixels.
struct ShapeOutline {
  int point_count;  ///< Corners of the polygon (a circle is approximated).
  float radius;     ///< Radius of the circle the corners lie on.
  /// Top-left of the polygon's bounding square, in pixels.
  float x, y;       ///< Top-left of the polygon's bounding square.
  float rotation;   ///< Degrees, clockwise.
};

/// A small filled figure drawn at a world position, sized in pixels, in an engine colour or any
/// RGB colour, with an opacity. A value type.
class Shape {
 private:
  Color m_color;         // Engine colour, or CUSTOM for m_r, m_g, m_b.
  unsigned char m_r;     // RGB drawn with; refreshed from m_color unless CUSTOM.
  unsigned char m_g;
  unsigned char m_b;
  ShapeType m_type;      // The figure.
  float m_size;          // Size in pixels.
  unsigned char m_opacity; // Alpha of the fill.

  // Draws the shape on the display's window or terminal.
  void drawOn(const DisplayManager &display, Vector world_pos);

 public:
  /// A white circle sized to the font: the whole pixels of the smaller cell
  /// side times the font scale.
  Shape();

  /// Refuses, with a log line, values other than the ShapeType ones.
  void setType(int new_type);
  /// The figure drawn.
  ShapeType getType() const { return m_type; }

  /// An engine colour.
  void setColor(Color new_color);
  /// Any RGB colour: the colour becomes CUSTOM.
  void setColor(unsigned char r, unsigned char g, unsigned char b);
  /// The engine colour, or CUSTOM for an RGB colour.
  Color getColor() const;
  /// The red part of the colour drawn, 0 to 255.
  unsigned char getRed() const;
  /// The green part of the colour drawn, 0 to 255.
  unsigned char getGreen() const;
  /// The blue part of the colour drawn, 0 to 255.
  unsigned char getBlue() const;

  /// Sets the size in pixels: a circle's radius; squares and triangles are drawn in proportion.
  void setSize(float new_size);
  /// The size in pixels.
  float getSize() const;

  /// Sets the opacity, 0 (invisible) to 255 (opaque).
  void setOpacity(unsigned char new_opacity);
  /// The opacity, 0 to 255.
  unsigned char getOpacity() const;

  /// The polygon drawn for a shape whose reference point is at these window
  /// pixels. UNDEFINED_SHAPE and unknown types give 0 corners.
  ShapeOutline getOutline(Vector pixels) const;

  /// Draws the shape at a world position on the display manager's window.
  void draw(Vector world_pos);

  /// Type (int32), size (float), colour (int32), opacity (1 byte), little-endian;
  /// the custom RGB is not written. 0, or -1 after logging a stream failure.
  int serialize(std::ostream &out) const;
  /// Reads what serialize() wrote; on a stream failure the shape is unchanged.
  int deserialize(std::istream &in);

  /// "circle, size 24.000000, White, 255".
  std::string toString() const;
};

/// "circle", "square", "triangle", or "undefined".
std::string shapeTypeToString(int type);

} // namespace vx

#endif // VX_SHAPE_H
