// The atlas resamples a glyph once per placement (the fractional parts of its
// quad's edges) and hands out the same image for every quad placed alike; it
// makes a bounded number of images a frame, and when it has no room left it
// finds nothing new until the next frame starts it over. (That the images
// draw the picture smooth sampling draws is checked on whole scenes by the
// batched drawing test.)
#include <gtest/gtest.h>

#include <utility>

#include <SFML/Graphics.hpp>

#include "DrawBatch.h"
#include "GlyphAtlas.h"

namespace {

const unsigned int CHARACTER_SIZE = 19;

// The quad a one-letter bold text puts around a glyph, relative to its position.
vx::GlyphQuad quadOf(const sf::Font &font, char ch) {
  const sf::Glyph &glyph = font.getGlyph(static_cast<sf::Uint32>(ch), CHARACTER_SIZE, true);
  const float size = static_cast<float>(CHARACTER_SIZE);
  const sf::IntRect &rect = glyph.textureRect;
  return vx::GlyphQuad{true,
                       glyph.bounds.left - 1,
                       size + glyph.bounds.top - 1,
                       glyph.bounds.left + glyph.bounds.width + 1,
                       size + glyph.bounds.top + glyph.bounds.height + 1,
                       static_cast<float>(rect.left - 1),
                       static_cast<float>(rect.top - 1),
                       static_cast<float>(rect.left + rect.width + 1),
                       static_cast<float>(rect.top + rect.height + 1)};
}

// The atlas's image of the glyph with its text at (x, y).
const vx::AtlasGlyph *find(vx::GlyphAtlas &atlas, const vx::GlyphQuad &quad, char ch, float x,
                           float y, bool on_black = false) {
  return atlas.find(static_cast<unsigned char>(ch), quad, x + quad.left, y + quad.top,
                    x + quad.right, y + quad.bottom, on_black);
}

} // namespace

TEST(GlyphAtlas, KeepsOneImagePerPlacementUntilFull) {
  sf::Font font;
  ASSERT_TRUE(font.loadFromFile("vx-font.ttf"));
  const vx::GlyphQuad quad = quadOf(font, 'W');
  vx::GlyphAtlas atlas(font.getTexture(CHARACTER_SIZE), 64);

  const vx::AtlasGlyph *first = find(atlas, quad, 'W', 100.8f, 64.0f);
  ASSERT_NE(first, nullptr);
  EXPECT_GT(first->width, 0);
  EXPECT_GT(first->height, 0);
  const vx::AtlasGlyph kept = *first;
  // Moved by whole pixels, the glyph is placed alike and keeps its image.
  const vx::AtlasGlyph *moved = find(atlas, quad, 'W', 228.8f, 96.0f);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(moved->u, kept.u);
  EXPECT_EQ(moved->v, kept.v);
  // Half a pixel over, it samples the page elsewhere: another image.
  const vx::AtlasGlyph *shifted = find(atlas, quad, 'W', 101.3f, 64.0f);
  ASSERT_NE(shifted, nullptr);
  EXPECT_NE(shifted->u * 1000 + shifted->v, kept.u * 1000 + kept.v);
  // Its form on black is an image of its own, of the same pixels.
  const vx::AtlasGlyph *on_black = find(atlas, quad, 'W', 100.8f, 64.0f, true);
  ASSERT_NE(on_black, nullptr);
  EXPECT_NE(on_black->u * 1000 + on_black->v, kept.u * 1000 + kept.v);
  EXPECT_EQ(std::make_pair(on_black->width, on_black->height), std::make_pair(kept.width, kept.height));

  // A 64-texel atlas holds a handful of images; new placements then find
  // nothing, while stored ones are still found.
  int stored = 3;
  for (int step = 1; step < 64 && find(atlas, quad, 'W', 100.0f + step / 64.0f, 10.0f); step++)
    stored++;
  EXPECT_GE(stored, 4);
  EXPECT_LT(stored, 64);
  EXPECT_EQ(find(atlas, quad, 'W', 300.55f, 10.0f), nullptr);
  EXPECT_NE(find(atlas, quad, 'W', 100.8f, 64.0f), nullptr);

  atlas.startFrame();
  EXPECT_NE(find(atlas, quad, 'W', 300.55f, 10.0f), nullptr);
}

TEST(GlyphAtlas, MakesABoundedNumberOfImagesAFrame) {
  sf::Font font;
  ASSERT_TRUE(font.loadFromFile("vx-font.ttf"));
  const vx::GlyphQuad quad = quadOf(font, 'A');
  vx::GlyphAtlas atlas(font.getTexture(CHARACTER_SIZE), 1024);
  auto placement = [&](int index) { return find(atlas, quad, 'A', 10.0f + index / 256.0f, 10.0f); };

  for (int index = 0; index < vx::GlyphAtlas::MAX_NEW_PER_FRAME; index++)
    ASSERT_NE(placement(index), nullptr) << index;
  EXPECT_EQ(placement(vx::GlyphAtlas::MAX_NEW_PER_FRAME), nullptr);
  EXPECT_NE(placement(0), nullptr);
  atlas.startFrame();
  EXPECT_NE(placement(vx::GlyphAtlas::MAX_NEW_PER_FRAME), nullptr);
}
