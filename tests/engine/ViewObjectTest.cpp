// View objects without a window: their nine places in the view, the border
// rows, values set directly and through view events, and the modified bits.
#include <gtest/gtest.h>

#include <string>

#include "Box.h"
#include "Config.h"
#include "Event.h"
#include "EventStep.h"
#include "EventView.h"
#include "TestSupport.h"
#include "ViewObject.h"
#include "WorldManager.h"

using vx::Vector;
using vx::ViewObject;
using vx::ViewObjectLocation;

namespace {

const float H = 80;
const float V = 24;

class ViewObjectTest : public ::testing::Test {
 protected:
  vxtest::LogCapture m_log;

  void SetUp() override {
    vx::Config::getInstance().loadConfig("");
    ASSERT_EQ(vx::WorldManager::getInstance().startUp(), 0);
    vx::WorldManager::getInstance().setView(vx::Box(Vector(0, 0), H, V));
  }

  // The world deletes the view objects made by a test.
  void TearDown() override { vx::WorldManager::getInstance().shutDown(); }

  static void expectAt(const ViewObject &view_object, float x, float y) {
    EXPECT_FLOAT_EQ(view_object.getPosition().getX(), x);
    EXPECT_FLOAT_EQ(view_object.getPosition().getY(), y);
  }
};

// Where each location puts an element in an 80 x 24 view: with a border the
// frame needs a free row above and below the text.
struct Place {
  ViewObjectLocation location;
  float x;
  float y_with_border;
  float y_without_border;
};

const Place PLACES[] = {
    {vx::TOP_LEFT, H / 6, 1, 0},
    {vx::TOP_CENTER, 40, 1, 0},
    {vx::TOP_RIGHT, H * 5 / 6, 1, 0},
    {vx::CENTER_LEFT, H / 6, 12, 11},
    {vx::CENTER_CENTER, 40, 12, 11},
    {vx::CENTER_RIGHT, H * 5 / 6, 12, 11},
    {vx::BOTTOM_LEFT, H / 6, 22, 23},
    {vx::BOTTOM_CENTER, 40, 22, 23},
    {vx::BOTTOM_RIGHT, H * 5 / 6, 22, 23},
};

} // namespace

TEST_F(ViewObjectTest, NewViewObjectSitsAtTopCentreOnTopOfEverything) {
  ViewObject *p_view = new ViewObject;
  expectAt(*p_view, 40, 1);
  EXPECT_EQ(p_view->getLocation(), vx::TOP_CENTER);
  EXPECT_EQ(p_view->getAltitude(), vx::MAX_ALTITUDE);
  EXPECT_EQ(p_view->getSolidness(), vx::SPECTRAL);
  EXPECT_EQ(p_view->getType(), "ViewObject");
  EXPECT_EQ(p_view->getModified(), 0xfffffu);
  EXPECT_EQ(p_view->getModified(), vx::VIEW_ATTR_ALL);
  EXPECT_EQ(p_view->getViewString(), "");
  EXPECT_EQ(p_view->getValue(), 0);
  EXPECT_TRUE(p_view->getBorder());
  EXPECT_TRUE(p_view->getDrawValue());
  EXPECT_EQ(p_view->getColor(), vx::WHITE);
  ASSERT_EQ(p_view->getEventCount(), 1);
  EXPECT_EQ(p_view->getEventName(0), "vx-view");
  EXPECT_TRUE(m_log.messages().empty());
}

TEST_F(ViewObjectTest, StartsAtTheCentreOfAWiderView) {
  vx::WorldManager::getInstance().setView(vx::Box(Vector(30, 5), 120, 40));
  ViewObject *p_view = new ViewObject;
  // View relative: the corner of the view does not matter.
  expectAt(*p_view, 60, 1);
  p_view->setLocation(vx::BOTTOM_LEFT);
  expectAt(*p_view, 20, 38);
}

TEST_F(ViewObjectTest, NineLocationsWithBorder) {
  ViewObject *p_view = new ViewObject;
  for (const Place &place : PLACES) {
    SCOPED_TRACE(vx::locationToString(place.location));
    p_view->setLocation(place.location);
    EXPECT_EQ(p_view->getLocation(), place.location);
    expectAt(*p_view, place.x, place.y_with_border);
  }
}

TEST_F(ViewObjectTest, NineLocationsWithoutBorder) {
  ViewObject *p_view = new ViewObject;
  p_view->setBorder(false);
  for (const Place &place : PLACES) {
    SCOPED_TRACE(vx::locationToString(place.location));
    p_view->setLocation(place.location);
    EXPECT_EQ(p_view->getLocation(), place.location);
    expectAt(*p_view, place.x, place.y_without_border);
  }
}

TEST_F(ViewObjectTest, BorderChangeMovesALocatedElementToItsRow) {
  ViewObject *p_view = new ViewObject;
  p_view->setLocation(vx::BOTTOM_RIGHT);
  expectAt(*p_view, 66.666664f, 22);

  p_view->setBorder(false);
  expectAt(*p_view, 66.666664f, 23);
  EXPECT_EQ(p_view->getLocation(), vx::BOTTOM_RIGHT);

  p_view->setBorder(true);
  expectAt(*p_view, 66.666664f, 22);
  EXPECT_EQ(p_view->getLocation(), vx::BOTTOM_RIGHT);
}

TEST_F(ViewObjectTest, OutOfRangeLocationIsIgnoredWithAWarning) {
  ViewObject *p_view = new ViewObject;
  p_view->setLocation(vx::BOTTOM_RIGHT);
  p_view->setModified(0);

  p_view->setLocation(static_cast<ViewObjectLocation>(9));
  p_view->setLocation(vx::UNDEFINED_LOCATION);

  EXPECT_EQ(m_log.count("ViewObject::setLocation(): Warning! Location out of range (9). Ignored."),
            1);
  EXPECT_EQ(
      m_log.count("ViewObject::setLocation(): Warning! Location out of range (-1). Ignored."), 1);
  expectAt(*p_view, 66.666664f, 22);
  EXPECT_EQ(p_view->getLocation(), vx::BOTTOM_RIGHT);
  EXPECT_EQ(p_view->getModified(), 0u);
}

TEST_F(ViewObjectTest, DirectPositionForgetsTheLocation) {
  ViewObject *p_view = new ViewObject;
  p_view->setModified(0);

  EXPECT_EQ(p_view->setPosition(Vector(7, 9)), 0);
  EXPECT_EQ(p_view->getLocation(), vx::UNDEFINED_LOCATION);
  EXPECT_EQ(p_view->getModified(), vx::ATTR_POSITION | vx::ATTR_APPEARANCE);

  // No location to return to: a border change leaves it where it is.
  p_view->setBorder(false);
  expectAt(*p_view, 7, 9);
  EXPECT_EQ(p_view->getLocation(), vx::UNDEFINED_LOCATION);
}

TEST_F(ViewObjectTest, SamePositionKeepsTheLocation) {
  ViewObject *p_view = new ViewObject;
  p_view->setModified(0);
  EXPECT_EQ(p_view->setPosition(Vector(40, 1)), 0);
  EXPECT_EQ(p_view->getLocation(), vx::TOP_CENTER);
  EXPECT_EQ(p_view->getModified(), 0u);
}

TEST_F(ViewObjectTest, LocationAtTheCurrentPlaceIsStillStored) {
  ViewObject *p_view = new ViewObject;
  p_view->setPosition(Vector(40, 1));
  p_view->setPosition(Vector(3, 3));
  p_view->setPosition(Vector(40, 1));
  ASSERT_EQ(p_view->getLocation(), vx::UNDEFINED_LOCATION);
  p_view->setLocation(vx::TOP_CENTER);
  EXPECT_EQ(p_view->getLocation(), vx::TOP_CENTER);
}

TEST_F(ViewObjectTest, SettersMarkTheirAttributesOnlyOnChange) {
  ViewObject *p_view = new ViewObject;
  p_view->setModified(0);

  p_view->setValue(0);
  p_view->setColor(vx::WHITE);
  p_view->setBorder(true);
  p_view->setDrawValue(true);
  p_view->setViewString("");
  EXPECT_EQ(p_view->getModified(), 0u);

  p_view->setValue(12);
  EXPECT_EQ(p_view->getValue(), 12);
  EXPECT_EQ(p_view->getModified(), vx::ATTR_VALUE);

  struct Change {
    const char *name;
    void (*apply)(ViewObject *);
  };
  const Change changes[] = {
      {"colour", [](ViewObject *p) { p->setColor(vx::YELLOW); }},
      {"draw value", [](ViewObject *p) { p->setDrawValue(false); }},
      {"view string", [](ViewObject *p) { p->setViewString("Streak"); }},
  };
  for (const Change &change : changes) {
    SCOPED_TRACE(change.name);
    p_view->setModified(0);
    change.apply(p_view);
    EXPECT_EQ(p_view->getModified(), vx::ATTR_APPEARANCE);
  }
  EXPECT_EQ(p_view->getColor(), vx::YELLOW);
  EXPECT_FALSE(p_view->getDrawValue());
  EXPECT_EQ(p_view->getViewString(), "Streak");

  // A border change moves the located element too.
  p_view->setModified(0);
  p_view->setBorder(false);
  EXPECT_FALSE(p_view->getBorder());
  EXPECT_EQ(p_view->getModified(), vx::ATTR_APPEARANCE | vx::ATTR_POSITION);
}

TEST_F(ViewObjectTest, ViewEventsWithItsTagSetOrAddToTheValue) {
  ViewObject *p_view = new ViewObject;
  p_view->setViewString("Streak");
  p_view->setValue(4);

  const vx::EventView add("Streak", 3, true);
  EXPECT_EQ(p_view->eventHandler(&add), 1);
  EXPECT_EQ(p_view->getValue(), 7);

  const vx::EventView subtract("Streak", -10, true);
  EXPECT_EQ(p_view->eventHandler(&subtract), 1);
  EXPECT_EQ(p_view->getValue(), -3);

  const vx::EventView set("Streak", 3, false);
  EXPECT_EQ(p_view->eventHandler(&set), 1);
  EXPECT_EQ(p_view->getValue(), 3);

  p_view->setModified(0);
  const vx::EventView other("Time", 50, false);
  EXPECT_EQ(p_view->eventHandler(&other), 0);
  const vx::EventView case_differs("streak", 50, false);
  EXPECT_EQ(p_view->eventHandler(&case_differs), 0);
  EXPECT_EQ(p_view->getValue(), 3);
  EXPECT_EQ(p_view->getModified(), 0u);
}

TEST_F(ViewObjectTest, ViewEventsReachEveryElementWithTheTagThroughTheWorld) {
  ViewObject *p_streak1 = new ViewObject;
  ViewObject *p_streak2 = new ViewObject;
  ViewObject *p_time = new ViewObject;
  p_streak1->setViewString("Streak");
  p_streak2->setViewString("Streak");
  p_streak2->setValue(10);
  p_time->setViewString("Time");
  p_time->setValue(8);

  const vx::EventView event("Streak", 1, true);
  EXPECT_EQ(vx::WorldManager::getInstance().onEvent(&event), 2);
  EXPECT_EQ(p_streak1->getValue(), 1);
  EXPECT_EQ(p_streak2->getValue(), 11);
  EXPECT_EQ(p_time->getValue(), 8);
}

TEST_F(ViewObjectTest, OtherEventsGoToTheObjectHandling) {
  ViewObject *p_view = new ViewObject;
  const vx::EventStep step(3);
  EXPECT_EQ(p_view->eventHandler(&step), 0);
  EXPECT_TRUE(m_log.messages().empty());
}

TEST_F(ViewObjectTest, ViewTypeOnAnotherEventClassIsRefused) {
  ViewObject *p_view = new ViewObject;
  vx::Event fake;
  fake.setType("vx-view");
  EXPECT_EQ(p_view->eventHandler(&fake), 0);
  EXPECT_TRUE(m_log.contains("ViewObject::eventHandler(): Error! Dynamic cast to EventView failed."));
  EXPECT_EQ(p_view->getValue(), 0);
}

TEST_F(ViewObjectTest, DrawingWithoutADisplaySumsTheFailures) {
  ViewObject *p_view = new ViewObject;
  p_view->setViewString("Streak");
  // Text, two frame lines and two bars: five failed draws.
  EXPECT_EQ(p_view->draw(), -5);
  p_view->setBorder(false);
  EXPECT_EQ(p_view->draw(), -1);
}

TEST(ViewObjectLocationTest, LocationNames) {
  const char *const names[] = {"top-left",      "top-center",   "top-right",
                               "center-left",   "center-center", "center-right",
                               "bot-left",      "bot-center",   "bot-right"};
  for (int location = 0; location < 9; location++)
    EXPECT_EQ(vx::locationToString(location), names[location]);
  EXPECT_EQ(vx::locationToString(-1), "unknown");
  EXPECT_EQ(vx::locationToString(9), "unknown");
  EXPECT_EQ(vx::locationToString(-2), "unknown");
}
