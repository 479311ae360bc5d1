/// \file
/// Everything the display draws in one frame, kept as triangles so that a
/// whole frame reaches the window in a few draw calls instead of two calls per
/// character.
///
/// Triangles go into one of four layers, each kept in drawing order and drawn
/// in this order:
///   - the plain layer: cell backgrounds and shapes, drawn without a texture;
///   - the black layer: upright glyphs over pixels still in the clear colour
///     when that is black, from the atlas's images on black, drawn without
///     blending (see GlyphAtlas);
///   - the atlas layer: other upright glyphs, each an image resampled for its
///     place and drawn with nearest sampling, the cheapest there is;
///   - the page layer: what needs the font's page sampled smoothly (turned
///     glyphs, and glyphs the atlas has no room for).
/// A figure goes into the first layer that can draw it and that is not before
/// a layer already holding something drawn earlier on any of its pixels, so
/// what is drawn later covers what was drawn earlier, exactly as separate
/// draws would. An untextured figure in a textured layer samples the opaque
/// white square its texture keeps, which leaves its colour unchanged.
///
/// A cell background in the colour the window was cleared to, over pixels
/// nothing has been drawn on since, changes nothing: only the part over pixels
/// already drawn on this frame is painted.
#ifndef VX_DRAW_BATCH_H
#define VX_DRAW_BATCH_H

#include <array>
#include <cstddef>
#include <unordered_map>
#include <vector>

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Vertex.hpp>

#include "GlyphAtlas.h"
#include "PixelMask.h"

namespace vx {

struct ShapeOutline;

/// Where a one-letter text puts the quad of its glyph, relative to the text's
/// position, and the glyph's rectangle in the font's texture, in pixels.
struct GlyphQuad {
  bool visible;             ///< Blanks, tabs and line ends have no quad.
  ///@{
  float left, top;          ///< Top-left corner of the quad.
  ///@}
  ///@{
  ///@{
  float right, bottom;      ///< Bottom-right corner of the quad.
  ///@}
  ///@}
  ///@{
  float u1, v1, u2, v2;     ///< Texture rectangle.
  ///@}
};

/// Where an untextured figure goes: a layer, and the texture coordinate that
/// samples white in that layer's texture.
struct PlainTarget {
  /// The vertices of the layer drawn into. Not owned.
  std::vector<sf::Vertex> &layer;
  /// The texture coordinate that samples white in the layer's texture.
  sf::Vector2f white;
};

/// The triangles of one frame, gathered by the display manager's draw calls and drawn in as few
/// library calls as the order allows when the frame is shown.
class DrawBatch {
 private:
  const sf::Font &m_font;                    // Owned by the display manager.
  unsigned int m_character_size;             // Size of every glyph drawn.
  sf::Vector2f m_cell;                       // One cell in pixels.
  sf::Vector2f m_glyph_offset;               // Every glyph's move from where a text puts it.
  std::array<GlyphQuad, 256> m_glyphs;       // By character value (as unsigned char).
  std::unordered_map<sf::Uint32, GlyphQuad> m_other_glyphs; // Code points past ASCII, as drawn.
  GlyphAtlas m_atlas;                        // Made once every glyph is on the page.
  std::vector<std::vector<sf::Vector2f>> m_unit_circles; // Corner directions by point count.
  std::vector<sf::Vector2f> m_corners;       // Scratch: the corners of one polygon.
  std::vector<sf::Vertex> m_plain;           // The plain layer, as triangles.
  std::vector<sf::Vertex> m_on_black;        // The black layer, as triangles.
  std::vector<sf::Vertex> m_atlased;         // The atlas layer, as triangles.
  std::vector<sf::Vertex> m_textured;        // The page layer, as triangles.
  PixelMask m_drawn;                         // Pixels drawn on since the window was cleared.
  PixelMask m_atlas_area;                    // Pixels the black and atlas layers may cover.
  PixelMask m_textured_area;                 // Pixels the page layer may cover.
  sf::Color m_clear_color;                   // What the window was cleared to.
  bool m_clear_is_black;                     // Opaque black: the black layer may be used.

  // The layer for a figure of no texture covering the pixels: the plain one
  // unless that would put it under something drawn before it. Records the
  // figure's pixels; `keeps_clear` says they end up in the clear colour.
  PlainTarget plainLayerFor(PixelRect area, bool keeps_clear);
  // Whether a glyph on the pixels may go into the black layer: the clear
  // colour is black, nothing was drawn on them this frame, and nothing over
  // them waits in a layer drawn after the black one.
  bool isBlack(PixelRect area) const;
  // Records the pixels of a figure that needs the page and gives the page layer.
  std::vector<sf::Vertex> &texturedLayerFor(PixelRect area);
  // Adds an upright glyph from the atlas, if it has the glyph and nothing
  // drawn before it over its pixels is in the page layer; false otherwise.
  bool addAtlasGlyph(unsigned char ch, sf::Vector2f pixels, sf::Color fill);

  // Two triangles over the corners top-left, top-right, bottom-left,
  // bottom-right, in the layer.
  static void addQuad(std::vector<sf::Vertex> &layer, const sf::Vector2f (&corners)[4],
                      sf::Color color, const sf::Vector2f (&tex)[4]);
  // A plain quad of those corners.
  void addPlainQuad(const sf::Vector2f (&corners)[4], sf::Color color, bool keeps_clear);
  // The background of the cell of a character drawn at the pixel position.
  void addBackground(sf::Vector2f pixels, sf::Color background, float angle);
  // A glyph sampled from the font's page, at the pixel position.
  void addPageGlyph(const GlyphQuad &glyph, sf::Vector2f pixels, sf::Color fill, float angle);
  // A cell background in the clear colour, not turned, whose top-left corner is there.
  void addClearBackground(sf::Vector2f origin);
  // The corners of a regular polygon of radius 1 with its first corner on top.
  const std::vector<sf::Vector2f> &unitCircle(std::size_t point_count);

 public:
  /// Resolves the glyph of every character value at the character size, so the
  /// font's texture is complete before anything is drawn with it.
  /// Until the first startFrame, nothing is known about the window's pixels.
  /// Every glyph is moved by glyph_offset from where a text would put it.
  DrawBatch(const sf::Font &font, unsigned int character_size, sf::Vector2f cell,
            sf::Vector2f glyph_offset, int window_width, int window_height);

  /// The window has just been cleared to the colour and nothing is pending.
  void startFrame(sf::Color clear_color);

  /// Something else drew on the window: nothing is known about its pixels
  /// until the next startFrame, so every cell background is drawn whole.
  void forgetPixels();

  /// One character at a window pixel position: first its cell's background,
  /// then its glyph, both turned by angle degrees (each about its own corner).
  void addCharacter(sf::Vector2f pixels, char ch, sf::Color fill, sf::Color background,
                    float angle);

  /// One character given by its Unicode code point, upright: ASCII as above,
  /// any other from the font's page, laid out when first drawn.
  void addCodePoint(sf::Vector2f pixels, sf::Uint32 code, sf::Color fill, sf::Color background);

  /// A filled polygon placed by the outline (nothing for fewer than 3 corners).
  void addPolygon(const ShapeOutline &outline, sf::Color fill);

  /// The vertices gathered so far in this frame.
  std::size_t getVertexCount() const;

  /// Draws everything added since the last draw, layer by layer, and empties
  /// the batch (its memory is kept for the next frame).
  void draw(sf::RenderTarget &target);
};

} // namespace vx

#endif // VX_DRAW_BATCH_H
