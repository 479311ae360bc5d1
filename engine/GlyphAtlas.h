/// \file
/// Glyphs resampled on the processor, one image per glyph and placement, so
/// that the graphics side can draw text with its cheapest sampling.
///
/// An upright glyph lands at a fractional pixel position and its quad is a
/// little larger than its bitmap, so every pixel it covers mixes four texels
/// of the font's page. A software renderer spends most of a screen of text on
/// that mixing. The atlas mixes once per glyph and placement (the fractional
/// parts of the quad's edges), with the renderer's own arithmetic (positions in
/// 1/256 of a texel, weights of 8 bits, rounded), and keeps the result as an
/// image whose texels fall exactly on the pixels the quad covers. Drawn with
/// nearest sampling it gives the picture smooth sampling gives; where the
/// renderer's float coordinates round the other way, an edge pixel comes out
/// one level apart.
///
/// Text that stays on its cells needs a few images per character; text that
/// slides by arbitrary fractions of a pixel needs new ones every frame, so a
/// frame makes at most MAX_NEW_PER_FRAME of them and the rest of its glyphs
/// are drawn the page's way. New images are kept on the processor and reach
/// the texture together, in one upload before the atlas layer is drawn. When
/// the atlas is full, it starts over at the next frame.
///
/// An image comes in one of two forms, each made when first asked for:
///   - blended: white texels whose alpha is the glyph's coverage, drawn with
///     alpha blending over whatever is beneath;
///   - on black: opaque texels whose colour is the coverage (the glyph already
///     mixed with black), drawn without blending over pixels still black. The
///     renderer then neither reads nor mixes the pixels beneath, which is about
///     an eighth of its work for a screen of text, and the picture is the same.
///
/// The atlas texture keeps an opaque white square at its top-left corner, so
/// that untextured figures can be drawn in the same call as its glyphs.
#ifndef VX_GLYPH_ATLAS_H
#define VX_GLYPH_ATLAS_H

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Vector2.hpp>

namespace vx {

struct GlyphQuad;

/// A glyph's image for one placement.
struct AtlasGlyph {
  ///@{
  int left, top;        ///< Its top-left pixel, relative to the whole pixel at or
  ///@}
                        // before the quad's top-left corner.
  ///@{
  int width, height;    ///< 0 when no pixel it covers gets any ink.
  ///@}
  ///@{
  int u, v;             ///< Its top-left texel in the atlas; -1 when the image is
  ///@}
                        // larger than the atlas and the glyph is never in it.
};

/// Images of glyphs resampled for their exact place on the pixel grid, packed into one texture,
/// so that upright characters are drawn without blending.
class GlyphAtlas {
 private:
  // A glyph, the fractional placement of its quad's edges, bit for bit, and
  // the image's form.
  struct Key {
    unsigned char ch;
    bool on_black;
    std::uint32_t left, right, top, bottom;
    bool operator==(const Key &other) const;
  };
  struct KeyHash {
    std::size_t operator()(const Key &key) const;
  };

  int m_page_width, m_page_height;
  std::vector<std::uint8_t> m_page_alpha;   // The font's page, alpha only.
  sf::Texture m_texture;
  int m_side;                               // Of the texture; 0 without one.
  std::vector<sf::Uint8> m_texels;          // The texture's RGBA, row by row.
  int m_dirty_top, m_dirty_bottom;          // Rows not uploaded yet.
  int m_shelf_x, m_shelf_y, m_shelf_height; // Where the next image goes.
  bool m_full;                              // An image found no room.
  int m_made_this_frame;                    // Images made since startFrame.
  std::unordered_map<Key, AtlasGlyph, KeyHash> m_glyphs;
  std::vector<std::uint8_t> m_coverage;     // Scratch: one image's alpha.

  // The page's alpha at a texel, clamped to the page as the renderer clamps.
  int texel(int x, int y) const;
  // The page sampled smoothly at texel coordinates in 1/256 of a texel.
  int sample(int s, int t) const;
  // Resamples the glyph for the placement and stores its image; null when
  // the atlas has no room left.
  const AtlasGlyph *add(const Key &key, const GlyphQuad &quad, float left_fraction, float right,
                        float top_fraction, float bottom);
  // Room for an image of the size: its top-left texel, or false when full.
  bool place(int width, int height, int &u, int &v);
  void forgetAll();

 public:
  /// The most new glyph images made in one frame; the rest are drawn from the font's page
  /// meanwhile.
  static const int MAX_NEW_PER_FRAME = 64;

  /// Copies the page's alpha: every glyph the atlas is asked for must already
  /// be on the page. Without a texture of the side (the graphics side refused
  /// it), the atlas finds nothing.
  GlyphAtlas(const sf::Texture &page, unsigned int side);

  /// The image of the glyph whose quad, in window pixels, has its top-left
  /// corner at (left, top) and its bottom-right at (right, bottom), in the
  /// form on black or blended; null when the atlas has no image and may not
  /// make one now.
  const AtlasGlyph *find(unsigned char ch, const GlyphQuad &quad, float left, float top,
                         float right, float bottom, bool on_black);

  /// Sends the images made since the last upload to the texture.
  void upload();

  /// A new frame: it may make images again, and a full atlas starts over.
  /// Call only when nothing drawn from the atlas is pending.
  void startFrame();

  /// The texture holding the images.
  const sf::Texture &getTexture() const;
  /// A texture coordinate inside the white square (sampled to white).
  static sf::Vector2f whiteTexel();
};

} // namespace vx

#endif // VX_GLYPH_ATLAS_H
