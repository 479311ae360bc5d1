// Everything the display draws in one frame, kept as textured triangles in
// drawing order, so that a whole frame reaches the window in one draw call
// instead of two calls per character.
//
// Characters and figures share one texture, the font's glyph page for the
// display's character size: glyphs sample their own rectangle of it, and the
// cell backgrounds and shapes sample the opaque white square every glyph page
// keeps at its top-left corner, which leaves their colour unchanged. Later
// triangles cover earlier ones exactly as separate draws would.
#ifndef VX_DRAW_BATCH_H
#define VX_DRAW_BATCH_H

#include <array>
#include <cstddef>
#include <vector>

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Vertex.hpp>

namespace vx {

struct ShapeOutline;

// Where a one-letter text puts the quad of its glyph, relative to the text's
// position, and the glyph's rectangle in the font's texture, in pixels.
struct GlyphQuad {
  bool visible;             // Blanks, tabs and line ends have no quad.
  float left, top;          // Top-left corner of the quad.
  float right, bottom;      // Bottom-right corner of the quad.
  float u1, v1, u2, v2;     // Texture rectangle.
};

class DrawBatch {
 private:
  const sf::Font &m_font;                    // Owned by the display manager.
  unsigned int m_character_size;             // Size of every glyph drawn.
  sf::Vector2f m_cell;                       // One cell in pixels.
  std::array<GlyphQuad, 256> m_glyphs;       // By character value (as unsigned char).
  std::vector<std::vector<sf::Vector2f>> m_unit_circles; // Corner directions by point count.
  std::vector<sf::Vertex> m_vertices;        // The frame so far, as triangles.

  void addTriangle(sf::Vector2f a, sf::Vector2f b, sf::Vector2f c, sf::Color color,
                   sf::Vector2f tex_a, sf::Vector2f tex_b, sf::Vector2f tex_c);
  // Two triangles over the corners top-left, top-right, bottom-left, bottom-right.
  void addQuad(const sf::Vector2f (&corners)[4], sf::Color color,
               const sf::Vector2f (&tex)[4]);
  // The corners of a regular polygon of radius 1 with its first corner on top.
  const std::vector<sf::Vector2f> &unitCircle(std::size_t point_count);

 public:
  // Resolves the glyph of every character value at the character size, so the
  // font's texture is complete before anything is drawn with it.
  DrawBatch(const sf::Font &font, unsigned int character_size, sf::Vector2f cell);

  // One character at a window pixel position: first its cell's background,
  // then its glyph, both turned by angle degrees (each about its own corner).
  void addCharacter(sf::Vector2f pixels, char ch, sf::Color fill, sf::Color background,
                    float angle);

  // A filled polygon placed by the outline (nothing for fewer than 3 corners).
  void addPolygon(const ShapeOutline &outline, sf::Color fill);

  std::size_t getVertexCount() const;

  // Draws everything added since the last draw in a single call and empties
  // the batch (its memory is kept for the next frame).
  void draw(sf::RenderTarget &target);
};

} // namespace vx

#endif // VX_DRAW_BATCH_H
