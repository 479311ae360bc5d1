#include "GlyphAtlas.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <SFML/Graphics/Image.hpp>

#include "DrawBatch.h"

namespace vx {

namespace {

// The white square: WHITE_SIDE texels at the top-left corner.
const int WHITE_SIDE = 3;

// The most placements remembered before the atlas starts over.
const std::size_t MAX_PLACEMENTS = 16384;

// Texture positions carry this many fractional bits, as in the renderer.
const int SUBTEXEL_BITS = 8;
const float SUBTEXELS = 1 << SUBTEXEL_BITS;

std::uint32_t bitsOf(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// A corner position as the renderer's rasterizer has it: on a grid of 1/256
// of a pixel.
float snapped(float position) {
  return static_cast<float>(std::lrint(position * 256.0f)) / 256.0f;
}

// The first and one past the last pixel whose centre lies in [low, high):
// a figure covers a pixel whose centre lies on its top or left edge, not one
// on its bottom or right edge.
void coveredPixels(float low, float high, int &first, int &end) {
  first = static_cast<int>(std::ceil(snapped(low) - 0.5f));
  end = static_cast<int>(std::ceil(snapped(high) - 0.5f));
}

// Mixes two 8-bit values by a weight in 1/256, rounded, as the renderer does.
int mix(int from, int to, int weight) {
  return from + (((to - from) * weight + 128) >> SUBTEXEL_BITS);
}

} // namespace

bool GlyphAtlas::Key::operator==(const Key &other) const {
  return ch == other.ch && on_black == other.on_black && left == other.left &&
         right == other.right && top == other.top && bottom == other.bottom;
}

std::size_t GlyphAtlas::KeyHash::operator()(const Key &key) const {
  // Two 64-bit halves, each scrambled (the finaliser of splitmix64): the
  // float bits of nearby placements differ only in a few low bits.
  auto scramble = [](std::uint64_t value) {
    value = (value ^ (value >> 30)) * 0xbf58476d1ce4e5b9ull;
    value = (value ^ (value >> 27)) * 0x94d049bb133111ebull;
    return value ^ (value >> 31);
  };
  const std::uint64_t across = (static_cast<std::uint64_t>(key.left) << 32) | key.right;
  const std::uint64_t down = (static_cast<std::uint64_t>(key.top) << 32) | key.bottom;
  const std::uint64_t glyph = key.ch | (static_cast<std::uint64_t>(key.on_black) << 8);
  return static_cast<std::size_t>(scramble(across ^ glyph) ^ scramble(down + 0x9e3779b97f4a7c15ull));
}

GlyphAtlas::GlyphAtlas(const sf::Texture &page, unsigned int side)
    : m_page_width(0),
      m_page_height(0),
      m_side(0),
      m_dirty_top(0),
      m_dirty_bottom(0),
      m_shelf_x(WHITE_SIDE),
      m_shelf_y(0),
      m_shelf_height(WHITE_SIDE),
      m_full(false),
      m_made_this_frame(0) {
  m_glyphs.reserve(4096);
  const sf::Image image = page.copyToImage();
  m_page_width = static_cast<int>(image.getSize().x);
  m_page_height = static_cast<int>(image.getSize().y);
  m_page_alpha.resize(static_cast<std::size_t>(m_page_width) *
                      static_cast<std::size_t>(m_page_height));
  const sf::Uint8 *rgba = image.getPixelsPtr();
  for (std::size_t i = 0; i < m_page_alpha.size(); i++)
    m_page_alpha[i] = rgba[i * 4 + 3];

  if (side < static_cast<unsigned int>(WHITE_SIDE) || !m_texture.create(side, side))
    return;
  m_texture.setSmooth(false);
  m_side = static_cast<int>(side);
  m_texels.assign(static_cast<std::size_t>(m_side) * static_cast<std::size_t>(m_side) * 4, 0);
  for (int y = 0; y < WHITE_SIDE; y++)
    std::memset(&m_texels[static_cast<std::size_t>(y * m_side) * 4], 255, WHITE_SIDE * 4);
  m_dirty_bottom = WHITE_SIDE;
}

int GlyphAtlas::texel(int x, int y) const {
  x = std::min(std::max(x, 0), m_page_width - 1);
  y = std::min(std::max(y, 0), m_page_height - 1);
  return m_page_alpha[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_page_width) +
                      static_cast<std::size_t>(x)];
}

int GlyphAtlas::sample(int s, int t) const {
  // Arithmetic shifts: the whole texel at or before the position.
  const int x = s >> SUBTEXEL_BITS, y = t >> SUBTEXEL_BITS;
  const int across = s & ((1 << SUBTEXEL_BITS) - 1), down = t & ((1 << SUBTEXEL_BITS) - 1);
  return mix(mix(texel(x, y), texel(x + 1, y), across),
             mix(texel(x, y + 1), texel(x + 1, y + 1), across), down);
}

bool GlyphAtlas::place(int width, int height, int &u, int &v) {
  if (m_shelf_x + width > m_side) {
    m_shelf_x = 0;
    m_shelf_y += m_shelf_height;
    m_shelf_height = 0;
  }
  if (m_shelf_y + height > m_side)
    return false;
  u = m_shelf_x;
  v = m_shelf_y;
  m_shelf_x += width;
  m_shelf_height = std::max(m_shelf_height, height);
  return true;
}

const AtlasGlyph *GlyphAtlas::add(const Key &key, const GlyphQuad &quad, float left_fraction,
                                  float right, float top_fraction, float bottom) {
  int first_column, end_column, first_row, end_row;
  coveredPixels(left_fraction, right, first_column, end_column);
  coveredPixels(top_fraction, bottom, first_row, end_row);
  const int columns = std::max(end_column - first_column, 0);
  const int rows = std::max(end_row - first_row, 0);

  // A pixel centre d past the quad's left edge samples the page at
  // u1 + d * (texels per pixel) - 0.5, and likewise down.
  const float across = (quad.u2 - quad.u1) / (right - left_fraction);
  const float down = (quad.v2 - quad.v1) / (bottom - top_fraction);
  m_coverage.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
  int ink_left = columns, ink_right = 0, ink_top = rows, ink_bottom = 0;
  for (int row = 0; row < rows; row++) {
    const float v = quad.v1 + (static_cast<float>(first_row + row) + 0.5f - top_fraction) * down -
                    0.5f;
    const int t = static_cast<int>(std::lrint(v * SUBTEXELS));
    for (int column = 0; column < columns; column++) {
      const float u = quad.u1 +
                      (static_cast<float>(first_column + column) + 0.5f - left_fraction) * across -
                      0.5f;
      const int alpha = sample(static_cast<int>(std::lrint(u * SUBTEXELS)), t);
      if (alpha == 0)
        continue;
      m_coverage[static_cast<std::size_t>(row * columns + column)] = static_cast<std::uint8_t>(alpha);
      ink_left = std::min(ink_left, column);
      ink_right = std::max(ink_right, column + 1);
      ink_top = std::min(ink_top, row);
      ink_bottom = std::max(ink_bottom, row + 1);
    }
  }

  // Only the inked part is kept: a transparent pixel drawn changes nothing.
  AtlasGlyph glyph{0, 0, 0, 0, 0, 0};
  if (ink_left < ink_right) {
    const int width = ink_right - ink_left, height = ink_bottom - ink_top;
    glyph = AtlasGlyph{first_column + ink_left, first_row + ink_top, width, height, -1, -1};
    if (width <= m_side && height <= m_side) {
      if (!place(width, height, glyph.u, glyph.v))
        return nullptr;
      for (int row = 0; row < height; row++) {
        const std::uint8_t *coverage =
            &m_coverage[static_cast<std::size_t>((ink_top + row) * columns + ink_left)];
        sf::Uint8 *texel = &m_texels[static_cast<std::size_t>((glyph.v + row) * m_side + glyph.u) * 4];
        for (int column = 0; column < width; column++, texel += 4) {
          const std::uint8_t alpha = coverage[column];
          texel[0] = texel[1] = texel[2] = key.on_black ? alpha : 255;
          texel[3] = key.on_black ? 255 : alpha;
        }
      }
      m_dirty_top = m_dirty_bottom > m_dirty_top ? std::min(m_dirty_top, glyph.v) : glyph.v;
      m_dirty_bottom = std::max(m_dirty_bottom, glyph.v + height);
    }
  }
  return &m_glyphs.emplace(key, glyph).first->second;
}

const AtlasGlyph *GlyphAtlas::find(unsigned char ch, const GlyphQuad &quad, float left, float top,
                                   float right, float bottom, bool on_black) {
  if (m_side == 0 || !(std::isfinite(left) && std::isfinite(top) && std::isfinite(right) &&
                       std::isfinite(bottom)))
    return nullptr;
  // Placements are relative to the whole pixel at or before the corner; the
  // differences are exact in floats of a window's size.
  const float left_pixel = std::floor(left), top_pixel = std::floor(top);
  const float left_fraction = left - left_pixel, right_rest = right - left_pixel;
  const float top_fraction = top - top_pixel, bottom_rest = bottom - top_pixel;
  const Key key{ch, on_black, bitsOf(left_fraction), bitsOf(right_rest), bitsOf(top_fraction),
                bitsOf(bottom_rest)};
  const auto found = m_glyphs.find(key);
  if (found != m_glyphs.end())
    return found->second.u < 0 ? nullptr : &found->second;
  if (m_full || m_made_this_frame >= MAX_NEW_PER_FRAME)
    return nullptr;
  m_made_this_frame++;
  const AtlasGlyph *glyph = add(key, quad, left_fraction, right_rest, top_fraction, bottom_rest);
  // Placements that take no room (no ink, or too large) still count, so that
  // the table stays bounded however many placements come.
  m_full = glyph == nullptr || m_glyphs.size() >= MAX_PLACEMENTS;
  return glyph == nullptr || glyph->u < 0 ? nullptr : glyph;
}

void GlyphAtlas::upload() {
  if (m_dirty_bottom <= m_dirty_top)
    return;
  // Whole rows, so that they lie one after another in memory.
  m_texture.update(&m_texels[static_cast<std::size_t>(m_dirty_top * m_side) * 4],
                   static_cast<unsigned int>(m_side),
                   static_cast<unsigned int>(m_dirty_bottom - m_dirty_top), 0,
                   static_cast<unsigned int>(m_dirty_top));
  m_dirty_top = m_dirty_bottom = 0;
}

void GlyphAtlas::forgetAll() {
  m_glyphs.clear();
  m_shelf_x = WHITE_SIDE;
  m_shelf_y = 0;
  m_shelf_height = WHITE_SIDE;
  m_full = false;
}

void GlyphAtlas::startFrame() {
  m_made_this_frame = 0;
  if (m_full)
    forgetAll();
}

const sf::Texture &GlyphAtlas::getTexture() const { return m_texture; }

sf::Vector2f GlyphAtlas::whiteTexel() {
  const float centre = static_cast<float>(WHITE_SIDE) / 2;
  return sf::Vector2f(centre, centre);
}

} // namespace vx
