#include "ViewObject.h"

#include "DisplayManager.h"
#include "EventView.h"
#include "LogManager.h"
#include "WorldManager.h"
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

} // namespace vx
