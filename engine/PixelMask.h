/// \file
/// One bit for every pixel of a window: which pixels something may have been
/// drawn on. Rows are runs of 64-bit words, so marking and searching a
/// rectangle costs a few word operations per row.
#ifndef VX_PIXEL_MASK_H
#define VX_PIXEL_MASK_H

#include <cstdint>
#include <vector>

namespace vx {

/// Pixels [left, right) x [top, bottom); empty when right <= left or bottom <= top.
struct PixelRect {
  /// The rectangle's edges in pixels; right and bottom are one past the last pixel.
  ///@{
  int left, top, right, bottom;
  ///@}

  /// Whether the rectangle covers no pixel.
  bool isEmpty() const { return right <= left || bottom <= top; }
};

/// Which pixels of the window a frame has drawn on so far, kept in blocks: the draw batch asks
/// it whether a figure can skip blending.
class PixelMask {
 private:
  int m_width;                     // Pixels per row.
  int m_height;                    // Rows.
  int m_words_per_row;
  std::vector<std::uint64_t> m_bits;

  // The rectangle cut to the window.
  PixelRect clip(PixelRect rect) const;

 public:
  /// A mask of width x height pixels with nothing marked.
  PixelMask(int width, int height);

  /// Every pixel whose centre lies inside the float bounds or within 1/64 of a
  /// pixel of them (corners are rounded when drawn), cut to the window. Bounds
  /// that are not numbers give the whole window.
  PixelRect around(float left, float top, float right, float bottom) const;

  /// Unmarks every pixel.
  void clear();
  /// Marks every pixel.
  void markAll();
  /// Marks the pixels of rect (clipped to the mask).
  void mark(PixelRect rect);
  /// Whether any pixel of rect is marked.
  bool any(PixelRect rect) const;

  /// The smallest rectangle holding every marked pixel of the rectangle
  /// (empty when none is marked).
  PixelRect marked(PixelRect rect) const;
};

} // namespace vx

#endif // VX_PIXEL_MASK_H
