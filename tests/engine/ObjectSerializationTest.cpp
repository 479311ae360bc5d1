// Object and view-object records: their exact bytes, round trips of every
// attribute from one object into another, and records that are short, lie
// about their lengths or carry more than an object can hold.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "EventStep.h"
#include "Object.h"
#include "Particle.h"
#include "ResourceManager.h"
#include "TestSupport.h"
#include "ViewObject.h"
#include "WorldTestSupport.h"
#include "utility.h"

namespace {

class ObjectSerializationTest : public vxtest::WorldFixture {};

std::string bytesOf(vx::Object &o, unsigned int attr = 0) {
  std::ostringstream out;
  EXPECT_EQ(o.serialize(out, attr), 0);
  return out.str();
}

// Everything an object shows through its getters, as text, so two objects
// can be compared whole.
std::string state(const vx::Object &o) {
  std::ostringstream s;
  s << o.getId() << '|' << o.getType() << '|' << o.isActive() << o.isVisible() << '|'
    << o.getBox().toString() << '|' << o.getPosition().toString() << '|'
    << o.getDirection().toString() << '|' << o.getSpeed() << '|'
    << o.getAcceleration().toString() << '|' << o.getAltitude() << '|' << o.getSolidness()
    << '|' << o.getNoSoft() << o.getAvoidCollisions() << o.getFollowPath() << '|'
    << o.getAnimation().toString() << '|' << o.getAnimation().getSprite() << '|'
    << o.getShape().toString() << '|' << o.getPath().toString() << o.getPath().getIndex() << '|';
  for (int i = 0; i < o.getEventCount(); i++)
    s << o.getEventName(i) << ',';
  if (const auto *p_v = dynamic_cast<const vx::ViewObject *>(&o))
    s << '|' << p_v->getViewString() << '|' << p_v->getValue() << p_v->getBorder()
      << p_v->getDrawValue() << p_v->getColor() << p_v->getLocation();
  return s.str();
}

// An object with every attribute away from its default.
void setEverything(vx::Object &o) {
  o.setId(42);
  o.setType("Fly");
  o.setVisible(false);
  o.setBox(vx::Box(vx::Vector(-1, -2), 3, 4));
  o.setPosition(vx::Vector(7.5f, 8.25f));
  o.setAltitude(3);
  o.setSolidness(vx::SOFT);
  o.setNoSoft(true);
  o.setVelocity(vx::Vector(0, 2));
  o.setAcceleration(vx::Vector(0.5f, -0.25f));
  vx::Shape shape;
  shape.setType(vx::SQUARE);
  shape.setSize(7);
  shape.setColor(vx::GREEN);
  shape.setOpacity(128);
  o.setShape(shape);
  o.setPath(vx::Path({vx::Vector(8, 9), vx::Vector(10, 9)}));
  o.setAvoidCollisions(true);
  o.registerInterest(vx::STEP_EVENT);
  o.registerInterest("custom-a");
  o.setActive(false);
}

// Bytes written the way the record table lays them out.
struct Bytes {
  std::ostringstream out;
  Bytes &u32(std::uint32_t v) { vx::writeUint32(out, v); return *this; }
  Bytes &i32(std::int32_t v) { vx::writeInt32(out, v); return *this; }
  Bytes &f(float v) { vx::writeFloat(out, v); return *this; }
  Bytes &u64(std::uint64_t v) { vx::writeUint64(out, v); return *this; }
  Bytes &b(bool v) { out.put(v ? 1 : 0); return *this; }
  Bytes &byte(unsigned char v) { out.put(static_cast<char>(v)); return *this; }
  Bytes &str(const std::string &v) { u64(v.size()); out << v; return *this; }
  std::string get() const { return out.str(); }
};

} // namespace

TEST_F(ObjectSerializationTest, RecordsHaveTheDocumentedBytes) {
  vx::Object *p_o = new vx::Object;
  p_o->setType("Fly");
  p_o->setVelocity(vx::Vector(2, 0));
  p_o->registerInterest("custom-a");
  p_o->setPath(vx::Path({vx::Vector(3, 4)}));
  p_o->setBox(vx::Box(vx::Vector(-1, -2), 3, 4));

  // A whole record, in record order (DIRECTION before SPEED, FOLLOW_PATH before PATH).
  Bytes full;
  full.u32(0x3ffff).i32(p_o->getId()).b(true).b(true).i32(1).str("custom-a");
  full.f(-1).f(-2).f(3).f(4).f(1).f(1).str("Fly");
  full.str("").i32(0).i32(0).i32(0).i32(2).i32(vx::HARD).b(false);
  full.f(1).f(0).f(2).f(0).f(0);
  full.i32(-1).f(p_o->getShape().getSize()).i32(vx::WHITE).byte(255);
  full.b(false).u64(1).f(3).f(4).b(false);
  EXPECT_EQ(bytesOf(*p_o), full.get());

  struct Case {
    const char *what;
    unsigned int attr;
    void (*change)(vx::Object *);
    std::string expected;
  };
  const Case cases[] = {
      {"nothing left to send", 0, [](vx::Object *) {}, Bytes().u32(0).get()},
      {"one position", 0, [](vx::Object *p) { p->setPosition(vx::Vector(5, 6)); },
       Bytes().u32(0x20).f(5).f(6).get()},
      {"type asked for though unchanged", 0x40, [](vx::Object *) {},
       Bytes().u32(0x40).str("Fly").get()},
      {"direction before speed", 0x1800, [](vx::Object *) {},
       Bytes().u32(0x1800).f(1).f(0).f(2).get()},
      {"bits beyond the object's select nothing", 0x40000 | 0x4, [](vx::Object *) {},
       Bytes().u32(0x40004).b(true).get()},
  };
  for (const Case &c : cases) {
    c.change(p_o);
    EXPECT_EQ(bytesOf(*p_o, c.attr), c.expected) << c.what;
    EXPECT_EQ(p_o->getModified(), 0u) << c.what;
  }
}

TEST_F(ObjectSerializationTest, EveryAttributeTravelsFromOneObjectToAnother) {
  vxtest::TempDir dir;
  vxtest::writeFile(dir.file("block.txt"), "2\n5\n3\n4\nred\nxxxxx\nxxxxx\nxxxxx\n"
                                           "yyyyy\nyyyyy\nyyyyy\n");
  vx::ResourceManager &resources = vx::ResourceManager::getInstance();
  ASSERT_EQ(resources.startUp(), 0);
  ASSERT_EQ(resources.loadSprite(dir.file("block.txt"), "block"), 0);

  // Once with the sprite's own box, once with a box of its own after the
  // sprite, once without a sprite but with a box of its own.
  for (int variant = 0; variant < 3; variant++) {
    vx::Object *p_from = new vx::Object;
    vx::Object *p_to = new vx::Object;
    p_to->registerInterest("dropped-on-arrival");
    setEverything(*p_from);
    if (variant < 2) {
      p_from->setSprite("block");
      vx::Animation animation = p_from->getAnimation();
      animation.setIndex(1);
      animation.setSlowdownCount(2);
      animation.setTransform(vx::HORIZONTAL);
      p_from->setAnimation(animation, false);
    }
    if (variant > 0)
      p_from->setBox(vx::Box(vx::Vector(-4, -1), 8, 2));
    p_from->setFollowPath(true);

    std::stringstream stream(bytesOf(*p_from));
    unsigned int mask = 0;
    ASSERT_EQ(p_to->deserialize(stream, &mask), 0) << variant;
    EXPECT_EQ(mask, vx::ATTR_ALL);
    EXPECT_EQ(state(*p_to), state(*p_from)) << variant;
    EXPECT_EQ(p_to->getModified(), 0u);
    EXPECT_EQ(stream.peek(), EOF);
    vx::WorldManager::getInstance().markForDelete(p_from);
    vx::WorldManager::getInstance().markForDelete(p_to);
  }

  // A view object, whole and then one change at a time.
  vx::ViewObject *p_view = new vx::ViewObject;
  vx::ViewObject *p_copy = new vx::ViewObject;
  EXPECT_EQ(p_view->getModified(), vx::VIEW_ATTR_ALL);
  p_view->setViewString("Streak");
  p_view->setValue(-7);
  p_view->setColor(vx::YELLOW);
  p_view->setBorder(false);
  p_view->setDrawValue(false);
  p_view->setLocation(vx::BOTTOM_RIGHT);
  std::string record = bytesOf(*p_view);
  EXPECT_EQ(record.substr(0, 4), Bytes().u32(0xfffff).get());
  const std::string tail =
      Bytes().i32(-7).str("Streak").b(false).i32(vx::YELLOW).i32(vx::BOTTOM_RIGHT).b(false).get();
  EXPECT_EQ(record.substr(record.size() - tail.size()), tail);
  std::stringstream stream(record);
  ASSERT_EQ(p_copy->deserialize(stream), 0);
  EXPECT_EQ(state(*p_copy), state(*p_view));

  p_view->setValue(8);
  const std::string value_record = bytesOf(*p_view);
  EXPECT_EQ(value_record, Bytes().u32(0x40000).i32(8).get());
  p_view->setColor(vx::RED);
  std::stringstream changes(value_record + bytesOf(*p_view));
  ASSERT_EQ(p_copy->deserialize(changes), 0);
  ASSERT_EQ(p_copy->deserialize(changes), 0);
  EXPECT_EQ(state(*p_copy), state(*p_view));
}

TEST_F(ObjectSerializationTest, AFollowFlagAndANewPathTogetherFollowTheNewPath) {
  vx::Object *p_from = new vx::Object;
  vx::Object *p_to = new vx::Object;
  p_to->setPath(vx::Path({vx::Vector(1, 50)}));
  p_from->setPath(vx::Path({vx::Vector(11, 1), vx::Vector(12, 1)}));
  p_from->setFollowPath(true);

  std::stringstream stream(bytesOf(*p_from, vx::ATTR_PATH | vx::ATTR_FOLLOW_PATH));
  ASSERT_EQ(p_to->deserialize(stream), 0);
  EXPECT_TRUE(p_to->getFollowPath());
  EXPECT_EQ(p_to->getPath().getIndex(), 0);
  EXPECT_EQ(p_to->getPath().getCurrent(), vx::Vector(11, 1));
  EXPECT_EQ(p_to->getDirection(), vx::Vector(1, 0)); // Towards the new path, not (1, 50).
}

TEST_F(ObjectSerializationTest, BadRecordsFailAndLeaveTheObjectAsItWas) {
  vx::Object *p_from = new vx::Object;
  setEverything(*p_from);
  const std::string whole = bytesOf(*p_from);
  vx::ViewObject *p_view_from = new vx::ViewObject;
  p_view_from->setViewString("Time");
  const std::string whole_view = bytesOf(*p_view_from);

  const std::string huge_string = Bytes().u32(0x40).u64(1ull << 60).str("x").get();
  const std::string too_many_events = [] {
    Bytes b;
    b.u32(0x8).i32(101);
    for (int i = 0; i < 101; i++)
      b.str("e" + std::to_string(i));
    return b.get();
  }();
  struct Case {
    const char *what;
    std::string bytes;
    const char *log_line;
    bool view_only; // A plain object reads the object part of it and stops.
  };
  std::vector<Case> cases = {
      {"string of 2^60 bytes", huge_string, "Object::deserialize(): Error! Stream eof.", false},
      {"101 event names", too_many_events,
       "Object::deserialize(): Error! Record holds 101 event types, at most 100 allowed.", false},
      {"negative event count", Bytes().u32(0x8).i32(-1).get(), "at most 100 allowed.", false},
      {"event count beyond the bytes", Bytes().u32(0x8).i32(90).str("a").get(),
       "Object::deserialize(): Error! Stream eof.", false},
      {"2^60 path nodes", Bytes().u32(0x8000).u64(1ull << 60).f(1).f(1).get(),
       "Path::deserialize(): Error! Stream fail.", false},
      {"path nodes beyond the bytes", Bytes().u32(0x8000).u64(1000).f(1).f(1).get(),
       "Path::deserialize(): Error! Stream eof.", false},
      {"empty", "", "Object::deserialize(): Error! Stream eof.", false},
      {"NaN box", Bytes().u32(0x10).f(0).f(0).f(NAN).f(1).get(), "Box::deserialize(): Error! Stream fail.", false},
      {"infinite position", Bytes().u32(0x20).f(INFINITY).f(1).get(), "Vector::deserialize(): Error! Stream fail.", false},
      {"NaN direction", Bytes().u32(0x1000).f(1).f(NAN).get(), "Vector::deserialize(): Error! Stream fail.", false},
      {"infinite speed", Bytes().u32(0x800).f(-INFINITY).get(), "Object::deserialize(): Error! Stream fail.", false},
      {"NaN circle", Bytes().u32(0x4000).i32(0).f(NAN).i32(1).byte(255).get(), "Shape::deserialize(): Error! Stream fail.", false},
      {"infinite path node", Bytes().u32(0x8000).u64(1).f(0).f(INFINITY).get(), "Path::deserialize(): Error! Stream fail.", false},
  };
  // Every cut of a whole record, for both classes.
  for (size_t cut = 1; cut < whole.size(); cut++)
    cases.push_back({"cut object record", whole.substr(0, cut), "Object::deserialize(): Error!", false});
  for (size_t cut = 1; cut < whole_view.size(); cut++)
    cases.push_back({"cut view record", whole_view.substr(0, cut), "deserialize(): Error!", true});

  vx::Object *p_to = new vx::Object;
  p_to->registerInterest("kept");
  p_to->setModified(0x123);
  vx::ViewObject *p_view_to = new vx::ViewObject;
  const std::string before = state(*p_to), view_before = state(*p_view_to);
  for (const Case &c : cases) {
    for (vx::Object *p_target : {p_to, static_cast<vx::Object *>(p_view_to)}) {
      if (c.view_only && p_target == p_to)
        continue;
      const int lines = m_log.count(c.log_line);
      std::stringstream stream(c.bytes);
      EXPECT_EQ(p_target->deserialize(stream), -1) << c.what << " " << c.bytes.size();
      EXPECT_GT(m_log.count(c.log_line), lines) << c.what << " " << c.bytes.size();
    }
    EXPECT_EQ(state(*p_to), before) << c.what << " " << c.bytes.size();
    EXPECT_EQ(p_to->getModified(), 0x123u) << c.what;
    EXPECT_EQ(state(*p_view_to), view_before) << c.what << " " << c.bytes.size();
  }
}

TEST_F(ObjectSerializationTest, ReceivedIdsRaiseTheIdCounterUpToTheLargestInt) {
  vx::Object *p_o = new vx::Object;
  std::stringstream big(Bytes().u32(vx::ATTR_ID).i32(1000).get());
  ASSERT_EQ(p_o->deserialize(big), 0);
  EXPECT_EQ(p_o->getId(), 1000);
  EXPECT_EQ((new vx::Object)->getId(), 1001);

  std::stringstream largest(Bytes().u32(vx::ATTR_ID).i32(INT_MAX).get());
  ASSERT_EQ(p_o->deserialize(largest), 0);
  EXPECT_EQ(p_o->getId(), INT_MAX);
  // The counter stops there instead of overflowing.
  EXPECT_EQ(vx::Object::getNextId(), INT_MAX);
  EXPECT_EQ((new vx::Object)->getId(), INT_MAX);
  EXPECT_EQ(vx::Object::getNextId(), INT_MAX);
}

TEST_F(ObjectSerializationTest, ParticlesTravelAsTheirObjectPartOnly) {
  vx::Particle *p_from = new vx::Particle(6, 10, 200, 1, 2, 3);
  vx::Particle *p_to = new vx::Particle(9, 99, 255, 9, 9, 9);
  p_from->setPosition(vx::Vector(3, 4));
  p_from->setVelocity(vx::Vector(-1, 0));
  std::ostringstream object_part;
  ASSERT_EQ(p_from->vx::Object::serialize(object_part, vx::ATTR_ALL), 0);
  const std::string record = bytesOf(*p_from, vx::ATTR_ALL);
  EXPECT_EQ(record, object_part.str());
  std::stringstream in(record);
  ASSERT_EQ(p_to->deserialize(in), 0);
  EXPECT_EQ(state(*p_to), state(*p_from));
  EXPECT_EQ(p_to->getAge(), 99); // The particle's own attributes stay.
}
