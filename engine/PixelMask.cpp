#include "PixelMask.h"

#include <algorithm>
#include <cmath>

namespace vx {

namespace {

const int WORD_BITS = 64;

// How far a pixel centre may lie outside a figure's bounds and still be taken
// as inside: renderers snap corners to a grid of 1/256 pixel.
const float SLACK = 1.0f / 64;

// The bits of a word that stand for the pixels [left, right) of its row.
std::uint64_t wordMask(int word, int left, int right) {
  const int low = std::max(left - word * WORD_BITS, 0);
  const int high = std::min(right - word * WORD_BITS, WORD_BITS);
  const std::uint64_t below_high = high == WORD_BITS ? ~0ull : (1ull << high) - 1;
  const std::uint64_t below_low = (1ull << low) - 1;
  return below_high & ~below_low;
}

// The words a rectangle's rows span and the bits of each, worked out once for
// all of its rows.
class RowSpan {
 public:
  int first, last;
  std::uint64_t first_mask, last_mask;

  explicit RowSpan(const PixelRect &rect)
      : first(rect.left / WORD_BITS),
        last((rect.right - 1) / WORD_BITS),
        first_mask(wordMask(first, rect.left, rect.right)),
        last_mask(wordMask(last, rect.left, rect.right)) {}

  std::uint64_t maskOf(int word) const {
    if (word == first)
      return first_mask;
    return word == last ? last_mask : ~0ull;
  }
};

// The smallest whole number at or above the value, and the largest at or
// below it, as ints within [low, high]. (The library's ceil and floor are
// calls on the processors this is built for, and this runs for every figure.)
int ceilWithin(float value, int low, int high) {
  if (!(value > static_cast<float>(low)))
    return low;
  if (value >= static_cast<float>(high))
    return high;
  const int truncated = static_cast<int>(value);
  return static_cast<float>(truncated) < value ? truncated + 1 : truncated;
}

int floorWithin(float value, int low, int high) {
  if (!(value > static_cast<float>(low)))
    return low;
  if (value >= static_cast<float>(high))
    return high;
  return static_cast<int>(value);
}

} // namespace

PixelMask::PixelMask(int width, int height)
    : m_width(std::max(width, 0)),
      m_height(std::max(height, 0)),
      m_words_per_row((m_width + WORD_BITS - 1) / WORD_BITS),
      m_bits(static_cast<std::size_t>(m_words_per_row) * static_cast<std::size_t>(m_height)) {}

PixelRect PixelMask::clip(PixelRect rect) const {
  return PixelRect{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, m_width),
                   std::min(rect.bottom, m_height)};
}

PixelRect PixelMask::around(float left, float top, float right, float bottom) const {
  if (std::isnan(left) || std::isnan(top) || std::isnan(right) || std::isnan(bottom))
    return PixelRect{0, 0, m_width, m_height};
  // Pixel x has its centre at x + 0.5: the first pixel is the first whole
  // number at or past left - 0.5, the end one past the last at or before
  // right - 0.5.
  return PixelRect{ceilWithin(left - 0.5f - SLACK, 0, m_width),
                   ceilWithin(top - 0.5f - SLACK, 0, m_height),
                   floorWithin(right + 0.5f + SLACK, 0, m_width),
                   floorWithin(bottom + 0.5f + SLACK, 0, m_height)};
}

void PixelMask::clear() { std::fill(m_bits.begin(), m_bits.end(), 0); }

void PixelMask::markAll() { std::fill(m_bits.begin(), m_bits.end(), ~0ull); }

void PixelMask::mark(PixelRect rect) {
  rect = clip(rect);
  if (rect.isEmpty())
    return;
  const RowSpan span(rect);
  std::uint64_t *row = &m_bits[static_cast<std::size_t>(rect.top * m_words_per_row)];
  if (span.first == span.last) {
    for (int y = rect.top; y < rect.bottom; y++, row += m_words_per_row)
      row[span.first] |= span.first_mask;
    return;
  }
  for (int y = rect.top; y < rect.bottom; y++, row += m_words_per_row) {
    row[span.first] |= span.first_mask;
    for (int word = span.first + 1; word < span.last; word++)
      row[word] = ~0ull;
    row[span.last] |= span.last_mask;
  }
}

bool PixelMask::any(PixelRect rect) const {
  rect = clip(rect);
  if (rect.isEmpty())
    return false;
  const RowSpan span(rect);
  const std::uint64_t *row = &m_bits[static_cast<std::size_t>(rect.top * m_words_per_row)];
  std::uint64_t bits = 0;
  if (span.first == span.last) {
    for (int y = rect.top; y < rect.bottom; y++, row += m_words_per_row)
      bits |= row[span.first];
    return (bits & span.first_mask) != 0;
  }
  for (int y = rect.top; y < rect.bottom; y++, row += m_words_per_row) {
    bits |= row[span.first] & span.first_mask;
    for (int word = span.first + 1; word < span.last; word++)
      bits |= row[word];
    bits |= row[span.last] & span.last_mask;
  }
  return bits != 0;
}

PixelRect PixelMask::marked(PixelRect rect) const {
  PixelRect found{m_width, m_height, 0, 0};
  // Most rectangles asked about have nothing marked: one pass that only
  // gathers bits tells.
  if (!any(rect))
    return found;
  rect = clip(rect);
  const RowSpan span(rect);
  const std::uint64_t *row = &m_bits[static_cast<std::size_t>(rect.top * m_words_per_row)];
  for (int y = rect.top; y < rect.bottom; y++, row += m_words_per_row)
    for (int word = span.first; word <= span.last; word++) {
      const std::uint64_t bits = row[word] & span.maskOf(word);
      if (bits == 0)
        continue;
      found.left = std::min(found.left, word * WORD_BITS + __builtin_ctzll(bits));
      found.right = std::max(found.right, word * WORD_BITS + WORD_BITS - __builtin_clzll(bits));
      found.top = std::min(found.top, y);
      found.bottom = y + 1;
    }
  return found;
}

} // namespace vx
