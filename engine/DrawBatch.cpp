#include "DrawBatch.h"

#include <algorithm>
#include <cmath>
#include <string>

#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/Transformable.hpp>
#include <SFML/System/String.hpp>

#include "Shape.h"

namespace vx {

namespace {

// The centre of the opaque white square at the top-left of every glyph page:
// sampling it gives full white, so a quad keeps its vertex colour.
const sf::Vector2f WHITE_TEXEL(1.0f, 1.0f);

// A text leaves this margin around every glyph quad, on screen and in the texture.
const float GLYPH_PADDING = 1.0f;

// Places points given relative to a position, turned by an angle about that
// position, as a library shape or text at that position and rotation is
// placed. Without rotation that transform only adds the position, so the
// common case skips the matrix.
class Placement {
 private:
  sf::Vector2f m_position;
  bool m_turned;
  sf::Transform m_transform;

 public:
  Placement(sf::Vector2f position, float angle) : m_position(position), m_turned(angle != 0) {
    if (m_turned) {
      sf::Transformable transformable;
      transformable.setPosition(position);
      transformable.setRotation(angle);
      m_transform = transformable.getTransform();
    }
  }

  sf::Vector2f operator()(float x, float y) const {
    if (m_turned)
      return m_transform.transformPoint(x, y);
    return sf::Vector2f(x + m_position.x, y + m_position.y);
  }
};

// Where a one-letter text in the font would put the glyph of a character.
GlyphQuad layOutGlyph(const sf::Font &font, unsigned int character_size, char ch) {
  GlyphQuad quad = {};
  // The same conversion a text applies to its string (the default locale).
  const sf::Uint32 code = sf::String(std::string(1, ch))[0];
  if (code == ' ' || code == '\t' || code == '\n' || code == '\r')
    return quad;
  const sf::Glyph &glyph = font.getGlyph(code, character_size, true);
  // The glyph hangs from a baseline one character size below the position.
  const float baseline = static_cast<float>(character_size);
  quad.visible = true;
  quad.left = 0.0f + (glyph.bounds.left - GLYPH_PADDING);
  quad.top = baseline + (glyph.bounds.top - GLYPH_PADDING);
  quad.right = 0.0f + (glyph.bounds.left + glyph.bounds.width + GLYPH_PADDING);
  quad.bottom = baseline + (glyph.bounds.top + glyph.bounds.height + GLYPH_PADDING);
  quad.u1 = static_cast<float>(glyph.textureRect.left) - GLYPH_PADDING;
  quad.v1 = static_cast<float>(glyph.textureRect.top) - GLYPH_PADDING;
  quad.u2 = static_cast<float>(glyph.textureRect.left + glyph.textureRect.width) + GLYPH_PADDING;
  quad.v2 = static_cast<float>(glyph.textureRect.top + glyph.textureRect.height) + GLYPH_PADDING;
  return quad;
}

} // namespace

DrawBatch::DrawBatch(const sf::Font &font, unsigned int character_size, sf::Vector2f cell)
    : m_font(font), m_character_size(character_size), m_cell(cell), m_glyphs() {
  for (std::size_t value = 0; value < m_glyphs.size(); value++)
    m_glyphs[value] = layOutGlyph(font, character_size, static_cast<char>(value));
}

void DrawBatch::addTriangle(sf::Vector2f a, sf::Vector2f b, sf::Vector2f c, sf::Color color,
                            sf::Vector2f tex_a, sf::Vector2f tex_b, sf::Vector2f tex_c) {
  m_vertices.emplace_back(a, color, tex_a);
  m_vertices.emplace_back(b, color, tex_b);
  m_vertices.emplace_back(c, color, tex_c);
}

void DrawBatch::addQuad(const sf::Vector2f (&corners)[4], sf::Color color,
                        const sf::Vector2f (&tex)[4]) {
  addTriangle(corners[0], corners[1], corners[2], color, tex[0], tex[1], tex[2]);
  addTriangle(corners[2], corners[1], corners[3], color, tex[2], tex[1], tex[3]);
}

const std::vector<sf::Vector2f> &DrawBatch::unitCircle(std::size_t point_count) {
  if (m_unit_circles.size() <= point_count)
    m_unit_circles.resize(point_count + 1);
  std::vector<sf::Vector2f> &corners = m_unit_circles[point_count];
  if (corners.empty()) {
    // The library's circle corners, computed the way it computes them, so a
    // polygon here covers exactly the pixels its circle shape covers.
    const float pi = 3.141592654f;
    for (std::size_t index = 0; index < point_count; index++) {
      const float angle = static_cast<float>(index * 2) * pi / static_cast<float>(point_count) -
                          pi / 2;
      corners.emplace_back(std::cos(angle), std::sin(angle));
    }
  }
  return corners;
}

void DrawBatch::addCharacter(sf::Vector2f pixels, char ch, sf::Color fill, sf::Color background,
                             float angle) {
  // The background rectangle is offset so it lines up with where the font
  // puts the glyph below the text position.
  const Placement cell(sf::Vector2f(pixels.x - m_cell.x / 10, pixels.y + m_cell.y / 5), angle);
  const sf::Vector2f cell_corners[4] = {cell(0, 0), cell(m_cell.x, 0), cell(0, m_cell.y),
                                        cell(m_cell.x, m_cell.y)};
  const sf::Vector2f white[4] = {WHITE_TEXEL, WHITE_TEXEL, WHITE_TEXEL, WHITE_TEXEL};
  addQuad(cell_corners, background, white);

  const GlyphQuad &glyph = m_glyphs[static_cast<unsigned char>(ch)];
  if (!glyph.visible)
    return;
  const Placement text(pixels, angle);
  const sf::Vector2f glyph_corners[4] = {text(glyph.left, glyph.top), text(glyph.right, glyph.top),
                                         text(glyph.left, glyph.bottom),
                                         text(glyph.right, glyph.bottom)};
  const sf::Vector2f glyph_tex[4] = {
      sf::Vector2f(glyph.u1, glyph.v1), sf::Vector2f(glyph.u2, glyph.v1),
      sf::Vector2f(glyph.u1, glyph.v2), sf::Vector2f(glyph.u2, glyph.v2)};
  addQuad(glyph_corners, fill, glyph_tex);
}

void DrawBatch::addPolygon(const ShapeOutline &outline, sf::Color fill) {
  if (outline.point_count < 3)
    return;
  const std::vector<sf::Vector2f> &unit = unitCircle(static_cast<std::size_t>(outline.point_count));
  const float radius = outline.radius;

  // Corners relative to the top-left of the circle's bounding square, and the
  // centre of their bounds, from which the polygon is filled as a fan.
  float left = radius + unit[0].x * radius, right = left;
  float top = radius + unit[0].y * radius, bottom = top;
  for (const sf::Vector2f &direction : unit) {
    const float x = radius + direction.x * radius;
    const float y = radius + direction.y * radius;
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
  }
  const Placement place(sf::Vector2f(outline.x, outline.y), outline.rotation);
  const sf::Vector2f centre = place(left + (right - left) / 2, top + (bottom - top) / 2);

  const sf::Vector2f first = place(radius + unit[0].x * radius, radius + unit[0].y * radius);
  sf::Vector2f previous = first;
  for (std::size_t index = 1; index <= unit.size(); index++) {
    const sf::Vector2f corner =
        index == unit.size()
            ? first
            : place(radius + unit[index].x * radius, radius + unit[index].y * radius);
    addTriangle(centre, previous, corner, fill, WHITE_TEXEL, WHITE_TEXEL, WHITE_TEXEL);
    previous = corner;
  }
}

std::size_t DrawBatch::getVertexCount() const { return m_vertices.size(); }

void DrawBatch::draw(sf::RenderTarget &target) {
  if (m_vertices.empty())
    return;
  sf::RenderStates states;
  // Taken now, not when the batch was made: the page may have been replaced by
  // a larger one since, with every glyph kept where it was.
  states.texture = &m_font.getTexture(m_character_size);
  target.draw(m_vertices.data(), m_vertices.size(), sf::Triangles, states);
  m_vertices.clear();
}

} // namespace vx
