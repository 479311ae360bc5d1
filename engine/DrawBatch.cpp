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
// sampling it gives full white, so a quad keeps its vertex colour. (The plain
// layer has no texture and ignores it.)
const sf::Vector2f WHITE_TEXEL(1.0f, 1.0f);

// A text leaves this margin around every glyph quad, on screen and in the
// texture. (Smooth sampling colours only the inner half of it, but a quad cut
// there samples the glyph a little differently.)
const float GLYPH_PADDING = 1.0f;

// The side of the atlas texture (4 MB): room for thousands of glyph images
// at an 80 x 24 window's size.
const unsigned int ATLAS_SIDE = 1024;

// Glyphs further out than this many pixels are not drawn from the atlas.
const float MAX_ATLAS_POSITION = 1 << 24;

// Vertices per draw call. With Mesa's software renderer a call's cost grows
// with the square of its vertex count (profiled: a loop over all of the
// call's vertices every time the renderer's small vertex buffer fills up): a
// full 80 x 24 screen of glyphs as one call of 11,520 vertices took about
// 1.4 ms longer than as 120 calls of 96 (48, 192 and 288 measured alike or
// slower). Calls of whole triangles this size keep the cost linear; on any
// other renderer a few hundred calls a frame cost next to nothing.
const std::size_t VERTICES_PER_CALL = 96;

// Draws triangles in calls of VERTICES_PER_CALL vertices.
void drawTriangles(sf::RenderTarget &target, const std::vector<sf::Vertex> &triangles,
                   const sf::RenderStates &states) {
  for (std::size_t first = 0; first < triangles.size(); first += VERTICES_PER_CALL)
    target.draw(triangles.data() + first,
                std::min(VERTICES_PER_CALL, triangles.size() - first), sf::Triangles, states);
}

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

// Where a one-letter text in the font would put the glyph of a code point,
// moved by the offset.
GlyphQuad layOutCode(const sf::Font &font, unsigned int character_size, sf::Uint32 code,
                     sf::Vector2f offset) {
  GlyphQuad quad = {};
  if (code == ' ' || code == '\t' || code == '\n' || code == '\r')
    return quad;
  const sf::Glyph &glyph = font.getGlyph(code, character_size, true);
  // The glyph hangs from a baseline one character size below the position.
  const float baseline = offset.y + static_cast<float>(character_size);
  quad.visible = true;
  quad.left = offset.x + (glyph.bounds.left - GLYPH_PADDING);
  quad.top = baseline + (glyph.bounds.top - GLYPH_PADDING);
  quad.right = offset.x + (glyph.bounds.left + glyph.bounds.width + GLYPH_PADDING);
  quad.bottom = baseline + (glyph.bounds.top + glyph.bounds.height + GLYPH_PADDING);
  quad.u1 = static_cast<float>(glyph.textureRect.left) - GLYPH_PADDING;
  quad.v1 = static_cast<float>(glyph.textureRect.top) - GLYPH_PADDING;
  quad.u2 = static_cast<float>(glyph.textureRect.left + glyph.textureRect.width) + GLYPH_PADDING;
  quad.v2 = static_cast<float>(glyph.textureRect.top + glyph.textureRect.height) + GLYPH_PADDING;
  return quad;
}

// The same for a character, converted as a text converts its string (the
// default locale).
GlyphQuad layOutGlyph(const sf::Font &font, unsigned int character_size, char ch,
                      sf::Vector2f offset) {
  return layOutCode(font, character_size, sf::String(std::string(1, ch))[0], offset);
}

// The quad of every character value at the size, moved by the offset.
std::array<GlyphQuad, 256> layOutGlyphs(const sf::Font &font, unsigned int character_size,
                                        sf::Vector2f offset) {
  std::array<GlyphQuad, 256> glyphs;
  for (std::size_t value = 0; value < glyphs.size(); value++)
    glyphs[value] = layOutGlyph(font, character_size, static_cast<char>(value), offset);
  return glyphs;
}

// The pixels the points span, as the mask sees them.
PixelRect areaOf(const PixelMask &mask, const sf::Vector2f *points, std::size_t count) {
  float left = points[0].x, right = left, top = points[0].y, bottom = top;
  for (std::size_t i = 1; i < count; i++) {
    left = std::min(left, points[i].x);
    right = std::max(right, points[i].x);
    top = std::min(top, points[i].y);
    bottom = std::max(bottom, points[i].y);
  }
  return mask.around(left, top, right, bottom);
}

} // namespace

DrawBatch::DrawBatch(const sf::Font &font, unsigned int character_size, sf::Vector2f cell,
                     sf::Vector2f glyph_offset, int window_width, int window_height)
    : m_font(font),
      m_character_size(character_size),
      m_cell(cell),
      m_glyph_offset(glyph_offset),
      m_glyphs(layOutGlyphs(font, character_size, glyph_offset)),
      m_atlas(font.getTexture(character_size), ATLAS_SIDE),
      m_drawn(window_width, window_height),
      m_atlas_area(window_width, window_height),
      m_textured_area(window_width, window_height),
      m_clear_is_black(false) {
  m_drawn.markAll();
}

void DrawBatch::forgetPixels() { m_drawn.markAll(); }

void DrawBatch::startFrame(sf::Color clear_color) {
  m_drawn.clear();
  m_clear_color = clear_color;
  m_clear_is_black = clear_color == sf::Color::Black;
  m_atlas.startFrame();
}

PlainTarget DrawBatch::plainLayerFor(PixelRect area, bool keeps_clear) {
  if (!keeps_clear)
    m_drawn.mark(area);
  // An empty layer covers nothing; checking that first spares the masks.
  if (!m_textured.empty() && m_textured_area.any(area)) {
    m_textured_area.mark(area);
    return PlainTarget{m_textured, WHITE_TEXEL};
  }
  // Over a glyph of the black layer, the figure goes into the atlas layer,
  // the first drawn after it that samples white.
  if ((!m_on_black.empty() || !m_atlased.empty()) && m_atlas_area.any(area)) {
    m_atlas_area.mark(area);
    return PlainTarget{m_atlased, GlyphAtlas::whiteTexel()};
  }
  return PlainTarget{m_plain, WHITE_TEXEL};
}

bool DrawBatch::isBlack(PixelRect area) const {
  // A background in the clear colour leaves its pixels unmarked as drawn, but
  // it may wait in a layer drawn after the black one.
  return m_clear_is_black && !m_drawn.any(area) &&
         (m_atlased.empty() || !m_atlas_area.any(area)) &&
         (m_textured.empty() || !m_textured_area.any(area));
}

std::vector<sf::Vertex> &DrawBatch::texturedLayerFor(PixelRect area) {
  m_drawn.mark(area);
  m_textured_area.mark(area);
  return m_textured;
}

void DrawBatch::addQuad(std::vector<sf::Vertex> &layer, const sf::Vector2f (&corners)[4],
                        sf::Color color, const sf::Vector2f (&tex)[4]) {
  layer.emplace_back(corners[0], color, tex[0]);
  layer.emplace_back(corners[1], color, tex[1]);
  layer.emplace_back(corners[2], color, tex[2]);
  layer.emplace_back(corners[2], color, tex[2]);
  layer.emplace_back(corners[1], color, tex[1]);
  layer.emplace_back(corners[3], color, tex[3]);
}

void DrawBatch::addPlainQuad(const sf::Vector2f (&corners)[4], sf::Color color, bool keeps_clear) {
  const PlainTarget target = plainLayerFor(areaOf(m_drawn, corners, 4), keeps_clear);
  const sf::Vector2f white[4] = {target.white, target.white, target.white, target.white};
  addQuad(target.layer, corners, color, white);
}

void DrawBatch::addClearBackground(sf::Vector2f origin) {
  // The same corners an unturned placement at the origin gives.
  const float left = 0.0f + origin.x, right = m_cell.x + origin.x;
  const float top = 0.0f + origin.y, bottom = m_cell.y + origin.y;
  const PixelRect drawn = m_drawn.marked(m_drawn.around(left, top, right, bottom));
  if (drawn.isEmpty())
    return;
  // A pixel is painted when its centre lies inside; cutting the rectangle at
  // whole pixel edges keeps exactly the painted pixels inside the cut.
  const float cut_left = std::max(left, static_cast<float>(drawn.left));
  const float cut_right = std::min(right, static_cast<float>(drawn.right));
  const float cut_top = std::max(top, static_cast<float>(drawn.top));
  const float cut_bottom = std::min(bottom, static_cast<float>(drawn.bottom));
  if (!(cut_left < cut_right && cut_top < cut_bottom))
    return;
  const sf::Vector2f corners[4] = {
      sf::Vector2f(cut_left, cut_top), sf::Vector2f(cut_right, cut_top),
      sf::Vector2f(cut_left, cut_bottom), sf::Vector2f(cut_right, cut_bottom)};
  addPlainQuad(corners, m_clear_color, true);
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

void DrawBatch::addCodePoint(sf::Vector2f pixels, sf::Uint32 code, sf::Color fill,
                             sf::Color background) {
  if (code < 0x80) {
    addCharacter(pixels, static_cast<char>(code), fill, background, 0);
    return;
  }
  auto found = m_other_glyphs.find(code);
  if (found == m_other_glyphs.end())
    found = m_other_glyphs
                .emplace(code, layOutCode(m_font, m_character_size, code, m_glyph_offset))
                .first;
  addBackground(pixels, background, 0);
  addPageGlyph(found->second, pixels, fill, 0);
}

void DrawBatch::addCharacter(sf::Vector2f pixels, char ch, sf::Color fill, sf::Color background,
                             float angle) {
  addBackground(pixels, background, angle);
  const GlyphQuad &glyph = m_glyphs[static_cast<unsigned char>(ch)];
  if (!glyph.visible)
    return;
  if (angle == 0 && addAtlasGlyph(static_cast<unsigned char>(ch), pixels, fill))
    return;
  addPageGlyph(glyph, pixels, fill, angle);
}

void DrawBatch::addBackground(sf::Vector2f pixels, sf::Color background, float angle) {
  // The background rectangle is offset so it lines up with where the font
  // puts the glyph below the text position.
  const sf::Vector2f origin(pixels.x - m_cell.x / 10, pixels.y + m_cell.y / 5);
  if (angle == 0 && background == m_clear_color) {
    addClearBackground(origin);
  } else {
    const Placement cell(origin, angle);
    const sf::Vector2f cell_corners[4] = {cell(0, 0), cell(m_cell.x, 0), cell(0, m_cell.y),
                                          cell(m_cell.x, m_cell.y)};
    addPlainQuad(cell_corners, background, background == m_clear_color);
  }
}

void DrawBatch::addPageGlyph(const GlyphQuad &glyph, sf::Vector2f pixels, sf::Color fill,
                             float angle) {
  if (!glyph.visible)
    return;
  const Placement text(pixels, angle);
  const sf::Vector2f glyph_corners[4] = {text(glyph.left, glyph.top), text(glyph.right, glyph.top),
                                         text(glyph.left, glyph.bottom),
                                         text(glyph.right, glyph.bottom)};
  const sf::Vector2f glyph_tex[4] = {
      sf::Vector2f(glyph.u1, glyph.v1), sf::Vector2f(glyph.u2, glyph.v1),
      sf::Vector2f(glyph.u1, glyph.v2), sf::Vector2f(glyph.u2, glyph.v2)};
  addQuad(texturedLayerFor(areaOf(m_drawn, glyph_corners, 4)), glyph_corners, fill, glyph_tex);
}

bool DrawBatch::addAtlasGlyph(unsigned char ch, sf::Vector2f pixels, sf::Color fill) {
  const GlyphQuad &quad = m_glyphs[ch];
  // The same corners an unturned placement gives.
  const float left = quad.left + pixels.x, top = quad.top + pixels.y;
  // Far enough out that whole pixels no longer fit an int (or not a number at
  // all), the glyph goes the page's way, which takes any float.
  if (!(std::fabs(left) < MAX_ATLAS_POSITION && std::fabs(top) < MAX_ATLAS_POSITION))
    return false;
  const float right = quad.right + pixels.x, bottom = quad.bottom + pixels.y;
  // The quad's pixels hold every pixel of its image.
  const bool on_black = isBlack(m_drawn.around(left, top, right, bottom));
  const AtlasGlyph *glyph = m_atlas.find(ch, quad, left, top, right, bottom, on_black);
  if (glyph == nullptr)
    return false;
  if (glyph->width == 0)
    return true;
  const int x = static_cast<int>(std::floor(left)) + glyph->left;
  const int y = static_cast<int>(std::floor(top)) + glyph->top;
  const PixelRect area{x, y, x + glyph->width, y + glyph->height};
  if (!on_black && !m_textured.empty() && m_textured_area.any(area))
    return false;
  m_drawn.mark(area);
  m_atlas_area.mark(area);
  const float left_edge = static_cast<float>(x), right_edge = static_cast<float>(x + glyph->width);
  const float top_edge = static_cast<float>(y), bottom_edge = static_cast<float>(y + glyph->height);
  const float u1 = static_cast<float>(glyph->u), u2 = static_cast<float>(glyph->u + glyph->width);
  const float v1 = static_cast<float>(glyph->v), v2 = static_cast<float>(glyph->v + glyph->height);
  const sf::Vector2f corners[4] = {
      sf::Vector2f(left_edge, top_edge), sf::Vector2f(right_edge, top_edge),
      sf::Vector2f(left_edge, bottom_edge), sf::Vector2f(right_edge, bottom_edge)};
  const sf::Vector2f tex[4] = {sf::Vector2f(u1, v1), sf::Vector2f(u2, v1), sf::Vector2f(u1, v2),
                               sf::Vector2f(u2, v2)};
  addQuad(on_black ? m_on_black : m_atlased, corners, fill, tex);
  return true;
}

void DrawBatch::addPolygon(const ShapeOutline &outline, sf::Color fill) {
  if (outline.point_count < 3)
    return;
  const float radius = outline.radius;
  const Placement place(sf::Vector2f(outline.x, outline.y), outline.rotation);
  // Corners relative to the top-left of the circle's bounding square.
  m_corners.clear();
  for (const sf::Vector2f &direction : unitCircle(static_cast<std::size_t>(outline.point_count)))
    m_corners.push_back(place(radius + direction.x * radius, radius + direction.y * radius));

  // A library shape fills the polygon as a fan from its centre; a fan from
  // the first corner covers exactly the same pixels, each once, with two
  // triangles fewer.
  const PlainTarget target =
      plainLayerFor(areaOf(m_drawn, m_corners.data(), m_corners.size()), false);
  for (std::size_t index = 1; index + 1 < m_corners.size(); index++) {
    target.layer.emplace_back(m_corners[0], fill, target.white);
    target.layer.emplace_back(m_corners[index], fill, target.white);
    target.layer.emplace_back(m_corners[index + 1], fill, target.white);
  }
}

std::size_t DrawBatch::getVertexCount() const {
  return m_plain.size() + m_on_black.size() + m_atlased.size() + m_textured.size();
}

void DrawBatch::draw(sf::RenderTarget &target) {
  drawTriangles(target, m_plain, sf::RenderStates::Default);
  if (!m_on_black.empty() || !m_atlased.empty())
    m_atlas.upload();
  drawTriangles(target, m_on_black,
                sf::RenderStates(sf::BlendNone, sf::Transform(), &m_atlas.getTexture(), nullptr));
  drawTriangles(target, m_atlased, sf::RenderStates(&m_atlas.getTexture()));
  if (!m_textured.empty()) {
    sf::RenderStates states;
    // Taken now, not when the batch was made: the page may have been replaced
    // by a larger one since, with every glyph kept where it was.
    states.texture = &m_font.getTexture(m_character_size);
    drawTriangles(target, m_textured, states);
  }
  m_plain.clear();
  m_on_black.clear();
  m_atlased.clear();
  m_textured.clear();
  m_atlas_area.clear();
  m_textured_area.clear();
}

} // namespace vx
