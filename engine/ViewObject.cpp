#include "ViewObject.h"

#include <cstdint>
#include <istream>
#include <ostream>

#include "DisplayManager.h"
#include "EventView.h"
#include "LogManager.h"
#include "ObjectRecord.h"
#include "WorldManager.h"
#include "WorldGeometry.h"
#include "utility.h"

namespace vx {

std::string locationToString(int location) {
  switch (location) {
    case TOP_LEFT: return "top-left";
    case TOP_CENTER: return "top-center";
    case TOP_RIGHT: return "top-right";
    case CENTER_LEFT: return "center-left";
    case CENTER_CENTER: return "center-center";
    case CENTER_RIGHT: return "center-right";
    case BOTTOM_LEFT: return "bot-left";
    case BOTTOM_CENTER: return "bot-center";
    case BOTTOM_RIGHT: return "bot-right";
    default: return "unknown";
  }
}

namespace {

// The view position of a location (TOP_LEFT ... BOTTOM_RIGHT) in a view of
// h by v cells; a border keeps the rows above and below the text free for
// the frame.
Vector locationPosition(ViewObjectLocation location, float h, float v, bool border) {
  const float left = h / 6;
  const float center = h * 3 / 6;
  const float right = h * 5 / 6;
  const float top = border ? 1.0f : 0.0f;
  const float middle = border ? v * 0.5f : v * 0.5f - 1;
  const float bottom = border ? v - 2 : v - 1;
  switch (location) {
    case TOP_LEFT: return Vector(left, top);
    case TOP_CENTER: return Vector(center, top);
    case TOP_RIGHT: return Vector(right, top);
    case CENTER_LEFT: return Vector(left, middle);
    case CENTER_CENTER: return Vector(h * 0.5f, middle);
    case CENTER_RIGHT: return Vector(right, middle);
    case BOTTOM_LEFT: return Vector(left, bottom);
    case BOTTOM_CENTER: return Vector(center, bottom);
    default: return Vector(right, bottom);
  }
}

// The attributes a view object adds to an object record.
struct ViewRecord {
  unsigned int mask = 0; // VALUE and APPEARANCE bits.
  std::int32_t value = 0;
  std::string view_string;
  bool border = false;
  std::int32_t color = 0;   // Unchecked: may hold any value sent.
  std::int32_t location = 0;
  bool draw_value = false;

  bool has(unsigned int attribute) const { return (mask & attribute) != 0; }

  void write(std::ostream &out) const {
    if (has(ATTR_VALUE))
      writeInt32(out, value);
    if (has(ATTR_APPEARANCE)) {
      writeString(out, view_string);
      writeBool(out, border);
      writeInt32(out, color);
      writeInt32(out, location);
      writeBool(out, draw_value);
    }
  }

  // True when everything selected arrived.
  bool read(std::istream &in) {
    if (has(ATTR_VALUE) && !readInt32(in, value))
      return false;
    return !has(ATTR_APPEARANCE) ||
           (readString(in, view_string) && readBool(in, border) && readInt32(in, color) &&
            readInt32(in, location) && readBool(in, draw_value));
  }

  // The level-25 lines; the value itself only when it was read.
  void log(bool with_value) const {
    const LogManager &log = LogManager::getInstance();
    if (log.getLogLevel() < 25)
      return;
    if (has(ATTR_VALUE)) {
      if (with_value)
        log.writeLog(25, "\tVALUE: %d", static_cast<int>(value));
      else
        log.writeLog(25, "\tVALUE");
    }
    if (has(ATTR_APPEARANCE)) {
      log.writeLog(25, "\tAPPEARANCE");
      log.writeLog(25, "\tVIEW_STRING: %s", view_string.c_str());
      log.writeLog(25, "\tBORDER: %s", border ? "true" : "false");
      log.writeLog(25, "\tCOLOR: %s",
                   isColor(color) ? colorToString(static_cast<Color>(color)).c_str() : "unknown");
      log.writeLog(25, "\tLOCATION: %s", locationToString(location).c_str());
      log.writeLog(25, "\tDRAW_VALUE: %s", draw_value ? "true" : "false");
    }
  }

  static bool isColor(std::int32_t c) { return c >= BLACK && c <= CUSTOM; }
};

} // namespace

ViewObject::ViewObject()
    : m_view_string(""),
      m_value(0),
      m_draw_value(true),
      m_border(true),
      m_color(WHITE),
      m_location(UNDEFINED_LOCATION) {
  setSolidness(SPECTRAL);
  setAltitude(MAX_ALTITUDE);
  setType("ViewObject");

  const Box view = WorldManager::getInstance().getView();
  setPosition(Vector(view.getHorizontal() * 3 / 6, 1));
  m_location = TOP_CENTER;
  markModified(ATTR_APPEARANCE);

  registerInterest(VIEW_EVENT);
  markModified(ATTR_VALUE | ATTR_APPEARANCE);
}

ViewObject::~ViewObject() = default;

void ViewObject::markModified(unsigned int attributes) { setModified(getModified() | attributes); }

int ViewObject::setPosition(Vector new_position) {
  if (new_position == getPosition())
    return 0;
  m_location = UNDEFINED_LOCATION;
  const int result = Object::setPosition(new_position);
  markModified(ATTR_APPEARANCE);
  return result;
}

int ViewObject::eventHandler(const Event *p_e) {
  if (p_e->getType() != VIEW_EVENT)
    return Object::eventHandler(p_e);

  const EventView *p_view_event = dynamic_cast<const EventView *>(p_e);
  if (p_view_event == nullptr) {
    LogManager::getInstance().writeLog(
        "ViewObject::eventHandler(): Error! Dynamic cast to EventView failed.");
    return 0;
  }
  if (p_view_event->getTag() != m_view_string)
    return 0;
  if (p_view_event->getDelta())
    setValue(m_value + p_view_event->getValue());
  else
    setValue(p_view_event->getValue());
  return 1;
}

int ViewObject::draw() {
  std::string text = m_view_string;
  if (m_draw_value)
    text += " " + std::to_string(m_value);
  if (m_border)
    text = " " + text + " ";

  const Vector p = viewToWorld(getPosition());
  const DisplayManager &display_manager = DisplayManager::getInstance();
  int result = display_manager.drawString(p, text, JUSTIFY_CENTER, m_color);

  if (m_border) {
    // A line above and below the text, and a bar one cell outside it on either side.
    const int n = static_cast<int>(text.size());
    const std::string line(text.size(), '-');
    const float left = p.getX() - static_cast<float>(n / 2) - 1;
    result += display_manager.drawString(Vector(p.getX(), p.getY() - 1), line, JUSTIFY_CENTER,
                                         m_color);
    result += display_manager.drawString(Vector(p.getX(), p.getY() + 1), line, JUSTIFY_CENTER,
                                         m_color);
    result += display_manager.drawCh(Vector(left, p.getY()), '|', m_color);
    result += display_manager.drawCh(Vector(left + n + 1, p.getY()), '|', m_color);
  }
  return result;
}

void ViewObject::setLocation(ViewObjectLocation new_location) {
  if (new_location < TOP_LEFT || new_location > BOTTOM_RIGHT) {
    LogManager::getInstance().writeLog(
        "ViewObject::setLocation(): Warning! Location out of range (%d). Ignored.",
        static_cast<int>(new_location));
    return;
  }
  const Box view = WorldManager::getInstance().getView();
  setPosition(locationPosition(new_location, view.getHorizontal(), view.getVertical(), m_border));
  m_location = new_location;
  markModified(ATTR_APPEARANCE);
}

void ViewObject::setDrawValue(bool new_draw_value) {
  if (new_draw_value == m_draw_value)
    return;
  m_draw_value = new_draw_value;
  markModified(ATTR_APPEARANCE);
}

void ViewObject::setValue(int new_value) {
  if (new_value == m_value)
    return;
  m_value = new_value;
  markModified(ATTR_VALUE);
}

void ViewObject::setBorder(bool new_border) {
  if (new_border == m_border)
    return;
  m_border = new_border;
  markModified(ATTR_APPEARANCE);
  if (m_location != UNDEFINED_LOCATION)
    setLocation(m_location);
}

void ViewObject::setColor(Color new_color) {
  if (new_color == m_color)
    return;
  m_color = new_color;
  markModified(ATTR_APPEARANCE);
}

void ViewObject::setViewString(std::string new_view_string) {
  if (new_view_string == m_view_string)
    return;
  m_view_string = new_view_string;
  markModified(ATTR_APPEARANCE);
}

ViewObjectLocation ViewObject::getLocation() const { return m_location; }

bool ViewObject::getDrawValue() const { return m_draw_value; }

int ViewObject::getValue() const { return m_value; }

bool ViewObject::getBorder() const { return m_border; }

Color ViewObject::getColor() const { return m_color; }

std::string ViewObject::getViewString() const { return m_view_string; }

int ViewObject::serialize(std::ostream &out, unsigned int attr) {
  const LogManager &log = LogManager::getInstance();
  log.writeLog(20, "ViewObject::serialize(): serializing attributes");
  log.writeLog(20, "ViewObject::serialize(): attr is %u, modified is %u (%s)", attr, getModified(),
               getModified() != 0 ? "true" : "false");
  Object::serialize(out, attr);

  unsigned int modified = getModified();
  ViewRecord record;
  record.mask = (attr != 0 ? attr : modified) & (ATTR_VALUE | ATTR_APPEARANCE);
  record.value = m_value;
  record.view_string = m_view_string;
  record.border = m_border;
  record.color = m_color;
  record.location = m_location;
  record.draw_value = m_draw_value;
  record.write(out);
  record.log(false);
  setModified(modified & ~record.mask);
  return checkStream("ViewObject::serialize()", out);
}

int ViewObject::deserialize(std::istream &in, unsigned int *p_mask) {
  const LogManager &log = LogManager::getInstance();
  ObjectRecord object_record;
  if (readRecord(in, object_record, p_mask) != 0) {
    log.writeLog("ViewObject::deserialize(): Error calling Object::deserialize().");
    return -1;
  }
  log.writeLog(20, "ViewObject::deserialize(): attr %u (%s)", object_record.mask,
               toBinaryString(object_record.mask).c_str());
  ViewRecord record;
  record.mask = object_record.mask & (ATTR_VALUE | ATTR_APPEARANCE);
  if (!record.read(in)) {
    in.setstate(std::ios::failbit);
    checkStream("ViewObject::deserialize()", in);
    return -1;
  }

  // The whole record arrived: apply it.
  applyRecord(object_record);
  if (record.has(ATTR_VALUE))
    setValue(record.value);
  if (record.has(ATTR_APPEARANCE)) {
    setViewString(record.view_string);
    setBorder(record.border);
    if (ViewRecord::isColor(record.color))
      setColor(static_cast<Color>(record.color));
    else
      log.writeLog("ViewObject::deserialize(): Unknown color %d. Ignoring.",
                   static_cast<int>(record.color));
    setLocation(static_cast<ViewObjectLocation>(record.location));
    setDrawValue(record.draw_value);
  }
  record.log(true);
  log.writeLog(20, "ViewObject::deserialize(): done checking all types.");
  return 0;
}

} // namespace vx
