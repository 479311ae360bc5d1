/// \file
/// A heads-up display element: a label with an optional number, optionally
/// framed, pinned to one of nine places on the screen. Its position is in view
/// cells, so it stays put when the view scrolls.
#ifndef VX_VIEW_OBJECT_H
#define VX_VIEW_OBJECT_H

#include <iosfwd>
#include <string>

#include "Color.h"
#include "Object.h"

namespace vx {

/// Where on the screen a view object sits.
enum ViewObjectLocation : int {
  UNDEFINED_LOCATION = -1, ///< The position was set directly.
  TOP_LEFT = 0, ///< Top row, left end.
  TOP_CENTER, ///< Top row, centred.
  TOP_RIGHT, ///< Top row, right end.
  CENTER_LEFT, ///< Middle row, left end.
  CENTER_CENTER, ///< Middle of the view.
  CENTER_RIGHT, ///< Middle row, right end.
  BOTTOM_LEFT, ///< Bottom row, left end.
  BOTTOM_CENTER, ///< Bottom row, centred.
  BOTTOM_RIGHT, ///< Bottom row, right end.
};

/// The location's display name ("top-left", ..., "bot-right"), or "unknown".
std::string locationToString(int location);

/// Modified-attribute bits of view objects, after those of Object.
const unsigned int ATTR_VALUE = 0x40000;      ///< The value.
const unsigned int ATTR_APPEARANCE = 0x80000; ///< Label, border, colour, location, value display.

/// Every attribute bit of a view object: what a new view object has modified.
const unsigned int VIEW_ATTR_ALL = 0xfffff;

/// A heads-up display item: a label and a number, drawn at one of nine places of the view
/// whatever the world does, and updated by EventView events with its view string as tag.
/// SPECTRAL, at the top altitude. Made with new, owned by the world.
class ViewObject : public Object {
 private:
  std::string m_view_string;     // The label; also the tag view events must carry.
  int m_value;                   // The displayed number.
  bool m_draw_value;             // Show the number after the label.
  bool m_border;                 // Frame the text.
  Color m_color;                 // Colour of text and frame.
  ViewObjectLocation m_location; // Current place, or UNDEFINED_LOCATION.

  // Sets attribute bits in the modified mask.
  void markModified(unsigned int attributes);

 public:
  /// A spectral, top-altitude element at the top centre of the view, with a
  /// border and the value shown, listening to "vx-view".
  ViewObject();
  /// Nothing of its own to free; Object's destructor unregisters and leaves the world.
  ~ViewObject() override;

  /// Places the object at a view position; the location becomes undefined.
  int setPosition(Vector new_position) override;

  /// Applies view events whose tag is the view string.
  int eventHandler(const Event *p_e) override;

  /// Draws the text (and frame) at the position, in view coordinates. Returns
  /// 0, or a negative sum when some character could not be drawn.
  int draw() override;

  /// The object record, followed by the value (int32) when selected and the
  /// appearance (view string, border, colour, location, draw value) when
  /// selected. 0, or -1 after logging when the stream is no longer good.
  int serialize(std::ostream &out, unsigned int attr = 0) override;

  /// Reads a whole view-object record and applies it; a short or corrupt
  /// record leaves the object as it was and returns -1 after logging.
  int deserialize(std::istream &in, unsigned int *p_mask = nullptr) override;

  /// The value.
  int getShownValue() const override { return m_value; }

  /// Moves the object to one of the nine places; out-of-range values are ignored.
  virtual void setLocation(ViewObjectLocation new_location);
  /// Shows or hides the number after the label.
  virtual void setDrawValue(bool new_draw_value = true);
  /// Sets the number shown.
  virtual void setValue(int new_value);
  /// A border change moves a located object to its border-dependent row.
  virtual void setBorder(bool new_border);
  /// Sets the colour of the label, the number and the border.
  virtual void setColor(Color new_color);
  /// Sets the label, which is also the tag of the EventView events it takes.
  virtual void setViewString(std::string new_view_string);

  /// Where on the view it is drawn.
  ViewObjectLocation getLocation() const;
  /// Whether the number is shown.
  bool getDrawValue() const;
  /// The number shown.
  int getValue() const;
  /// Whether a border is drawn around it.
  bool getBorder() const;
  /// The colour drawn in.
  Color getColor() const;
  /// The label, also the tag of the view events it takes.
  std::string getViewString() const;
};

} // namespace vx

#endif // VX_VIEW_OBJECT_H
