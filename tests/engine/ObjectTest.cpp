// Game objects: identity, setters and their refusals, interest routing,
// appearance and the per-step kinematics.
#include <gtest/gtest.h>

#include "EventPath.h"
#include "EventStep.h"
#include "GameManager.h"
#include "InputManager.h"
#include "NetworkManager.h"
#include "Object.h"
#include "ResourceManager.h"
#include "SceneGraph.h"
#include "TestSupport.h"
#include "WorldTestSupport.h"
#include "WorldManager.h"

namespace {

// The world deletes the objects the test made when the test ends.
class ObjectTest : public vxtest::WorldFixture {
 protected:
  vx::SceneGraph &sceneGraph() { return vx::WorldManager::getInstance().getSceneGraph(); }

  static bool contains(const vx::ObjectList &list, const vx::Object *p_o) {
    for (int i = 0; i < list.getCount(); i++)
      if (list[i] == p_o)
        return true;
    return false;
  }
};

// A sprite file of the simple format: frames, width, height, slowdown, colour.
std::string simpleSprite(int width, int height) {
  std::string text = "1\n" + std::to_string(width) + "\n" + std::to_string(height) + "\n1\nred\n";
  for (int row = 0; row < height; row++)
    text += std::string(static_cast<size_t>(width), 'x') + "\n";
  return text;
}

} // namespace

TEST_F(ObjectTest, IdsCountUpAndNeverReuseAHandSetId) {
  vx::Object *p_a = new vx::Object;
  vx::Object *p_b = new vx::Object;
  EXPECT_EQ(p_a->getId(), 1);
  EXPECT_EQ(p_b->getId(), 2);
  p_b->setId(10);
  EXPECT_EQ((new vx::Object)->getId(), 11);
  p_a->setId(5); // Below the counter: it stays.
  EXPECT_EQ((new vx::Object)->getId(), 12);
  EXPECT_EQ(p_a->getModified() & vx::ATTR_ID, vx::ATTR_ID);
}

TEST_F(ObjectTest, NewObjectsHaveTheDocumentedDefaults) {
  vx::Object *p_o = new vx::Object;
  EXPECT_EQ(p_o->getPosition(), vx::Vector(1, 1));
  EXPECT_EQ(p_o->getAltitude(), 2);
  EXPECT_EQ(p_o->getSolidness(), vx::HARD);
  EXPECT_EQ(p_o->getType(), "(Undefined)");
  EXPECT_EQ(p_o->getModified(), 0x3ffffu);
  EXPECT_EQ(p_o->getBox(), vx::Box(vx::Vector(-0.5f, -0.5f), 0.99f, 0.99f));
  EXPECT_TRUE(p_o->isActive());
  EXPECT_TRUE(p_o->isVisible());
  EXPECT_EQ(p_o->getShape().getType(), -1);
  EXPECT_TRUE(contains(sceneGraph().activeObjects(), p_o));
}

TEST_F(ObjectTest, OutOfRangeAltitudeAndSolidnessAreRefusedBeforeAnySideEffect) {
  vx::Object *p_o = new vx::Object;
  p_o->setModified(0);
  EXPECT_EQ(p_o->setAltitude(5), -1);
  EXPECT_EQ(p_o->setAltitude(-1), -1);
  EXPECT_EQ(m_log.count("Object::setAltitude(): Altitude 5 not in range [0,4].  Ignored."), 1);
  EXPECT_EQ(m_log.count("Object::setAltitude(): Altitude -1 not in range [0,4].  Ignored."), 1);
  EXPECT_EQ(p_o->setSolidness(static_cast<vx::Solidness>(3)), -1);
  EXPECT_TRUE(
      m_log.contains("Object::setSolidness(): Solidness 3 not one of HARD, SOFT or SPECTRAL."));
  EXPECT_EQ(p_o->getAltitude(), 2);
  EXPECT_EQ(p_o->getSolidness(), vx::HARD);
  EXPECT_EQ(p_o->getModified(), 0u);
  EXPECT_TRUE(contains(sceneGraph().visibleObjects(2), p_o));
  // An unchanged value is no change at all.
  EXPECT_EQ(p_o->setAltitude(2), 0);
  EXPECT_EQ(p_o->getModified(), 0u);
}

TEST_F(ObjectTest, SettersKeepTheSceneGraphCurrent) {
  vx::Object *p_o = new vx::Object;
  ASSERT_EQ(p_o->setAltitude(4), 0);
  EXPECT_FALSE(contains(sceneGraph().visibleObjects(2), p_o));
  EXPECT_TRUE(contains(sceneGraph().visibleObjects(4), p_o));
  ASSERT_EQ(p_o->setVisible(false), 0);
  EXPECT_FALSE(contains(sceneGraph().visibleObjects(4), p_o));
  ASSERT_EQ(p_o->setSolidness(vx::SPECTRAL), 0);
  EXPECT_FALSE(contains(sceneGraph().solidObjects(), p_o));
  ASSERT_EQ(p_o->setActive(false), 0);
  EXPECT_TRUE(contains(sceneGraph().inactiveObjects(), p_o));
  EXPECT_FALSE(contains(sceneGraph().activeObjects(), p_o));
  p_o->setType("Fly");
  ASSERT_EQ(p_o->setActive(true), 0);
  EXPECT_TRUE(contains(sceneGraph().typeObjects("Fly"), p_o));
  EXPECT_EQ(p_o->getModified() & (vx::ATTR_ACTIVE | vx::ATTR_VISIBLE | vx::ATTR_ALTITUDE |
                                  vx::ATTR_SOLIDNESS | vx::ATTR_TYPE),
            vx::ATTR_ACTIVE | vx::ATTR_VISIBLE | vx::ATTR_ALTITUDE | vx::ATTR_SOLIDNESS |
                vx::ATTR_TYPE);
}

TEST_F(ObjectTest, VelocitySplitsIntoSpeedAndUnitDirection) {
  vx::Object *p_o = new vx::Object;
  p_o->setModified(0);
  p_o->setVelocity(vx::Vector(3, 4));
  EXPECT_FLOAT_EQ(p_o->getSpeed(), 5);
  EXPECT_EQ(p_o->getDirection(), vx::Vector(0.6f, 0.8f));
  EXPECT_EQ(p_o->getModified(), vx::ATTR_SPEED | vx::ATTR_DIRECTION);
  EXPECT_NEAR(p_o->getVelocity().getX(), 3, 1e-6);
  EXPECT_NEAR(p_o->getVelocity().getY(), 4, 1e-6);
  EXPECT_NEAR(p_o->predictPosition().getX(), 4, 1e-6);
  // Acceleration adds to the velocity once per step.
  p_o->setAcceleration(vx::Vector(1, 0));
  p_o->applyAcceleration();
  EXPECT_NEAR(p_o->getVelocity().getX(), 4, 1e-5);
  EXPECT_NEAR(p_o->getVelocity().getY(), 4, 1e-5);
}

TEST_F(ObjectTest, SpriteLabelsSetTheAnimationAndTheBox) {
  vxtest::TempDir dir;
  vxtest::writeFile(dir.file("block.txt"), simpleSprite(5, 3));
  vx::ResourceManager &resources = vx::ResourceManager::getInstance();
  ASSERT_EQ(resources.startUp(), 0);
  ASSERT_EQ(resources.loadSprite(dir.file("block.txt"), "block"), 0);

  vx::Object *p_o = new vx::Object;
  p_o->setModified(0);
  EXPECT_EQ(p_o->setSprite("missing"), -1);
  EXPECT_TRUE(m_log.contains("Object::setSprite(): Warning! Sprite 'missing' not found"));
  EXPECT_EQ(p_o->getAnimation().getSprite(), nullptr);
  EXPECT_EQ(p_o->getBox(), vx::Box(vx::Vector(-0.5f, -0.5f), 0.99f, 0.99f));

  EXPECT_EQ(p_o->setSprite("block"), 0);
  EXPECT_EQ(p_o->getAnimation().getSprite(), resources.getSprite("block"));
  EXPECT_EQ(p_o->getBox(), vx::Box(vx::Vector(-2.5f, -1.5f), 5, 3));
  // setSprite changes the box but does not count as a new animation.
  EXPECT_EQ(p_o->getModified(), vx::ATTR_BOX);
  vx::WorldManager::getInstance().shutDown(); // Before the sprites go.
  resources.shutDown();
}

TEST_F(ObjectTest, InterestGoesToTheManagerThatKeepsTheType) {
  vx::Object *p_o = new vx::Object;
  ASSERT_EQ(p_o->registerInterest("vx-step"), 0);
  ASSERT_EQ(p_o->registerInterest("vx-network-sync"), 0);
  ASSERT_EQ(p_o->registerInterest("vx-view"), 0);
  ASSERT_EQ(p_o->registerInterest("vx-keyboard"), 0);
  EXPECT_EQ(vx::GameManager::getInstance().getEventCount(), 1);
  EXPECT_EQ(vx::NetworkManager::getInstance().getEventCount(), 1);
  EXPECT_EQ(vx::WorldManager::getInstance().getEventCount(), 1);
  EXPECT_EQ(vx::InputManager::getInstance().getEventCount(), 1);

  // Deleting the object makes every manager forget it.
  vx::WorldManager::getInstance().markForDelete(p_o);
  vx::WorldManager::getInstance().update();
  EXPECT_EQ(vx::GameManager::getInstance().getEventCount(), 0);
  EXPECT_EQ(vx::NetworkManager::getInstance().getEventCount(), 0);
  EXPECT_EQ(vx::WorldManager::getInstance().getEventCount(), 0);
  EXPECT_EQ(vx::InputManager::getInstance().getEventCount(), 0);
}

TEST_F(ObjectTest, TheHundredAndFirstInterestIsRefused) {
  vx::Object *p_o = new vx::Object;
  for (int i = 0; i < vx::MAX_EVENTS; i++)
    ASSERT_EQ(p_o->registerInterest("game-event-" + std::to_string(i)), 0);
  EXPECT_EQ(p_o->registerInterest("one-more"), -1);
  EXPECT_TRUE(m_log.contains(
      "Object::registerInterest(): maximum (100) reached, cannot register for event 'one-more'"));
  EXPECT_EQ(p_o->getEventCount(), vx::MAX_EVENTS);
}

TEST_F(ObjectTest, RefusedInterestIsNotRecorded) {
  vx::Object *p_o = new vx::Object;
  EXPECT_EQ(p_o->registerInterest("vx-collision"), -1);
  EXPECT_EQ(p_o->getEventCount(), 0);
}

TEST_F(ObjectTest, UnregisteringKeepsTheOrderOfTheRest) {
  vx::Object *p_o = new vx::Object;
  EXPECT_EQ(p_o->unregisterInterest("vx-step"), -1);
  EXPECT_TRUE(
      m_log.contains("Object::unregisterInterest(): event 'vx-step' not previously registered"));
  p_o->registerInterest("first");
  p_o->registerInterest("second");
  p_o->registerInterest("third");
  p_o->setModified(0);
  ASSERT_EQ(p_o->unregisterInterest("second"), 0);
  EXPECT_EQ(p_o->getEventCount(), 2);
  EXPECT_EQ(p_o->getEventName(0), "first");
  EXPECT_EQ(p_o->getEventName(1), "third");
  EXPECT_EQ(p_o->getModified(), vx::ATTR_EVENTS);
}

TEST_F(ObjectTest, APathEventWithAPathStartsTheFollowing) {
  vx::Object *p_o = new vx::Object;
  p_o->setPosition(vx::Vector(1, 1));
  vx::EventPath none(0, vx::Path());
  EXPECT_EQ(p_o->eventHandler(&none), 1);
  EXPECT_FALSE(p_o->getFollowPath());

  vx::Path path({vx::Vector(4, 5), vx::Vector(8, 5)});
  vx::EventPath found(2, path);
  EXPECT_EQ(p_o->eventHandler(&found), 1);
  EXPECT_TRUE(p_o->getFollowPath());
  EXPECT_EQ(p_o->getDirection(), vx::Vector(0.6f, 0.8f));

  vx::Event other;
  other.setType("vx-path");
  EXPECT_EQ(p_o->eventHandler(&other), 0);
  EXPECT_TRUE(m_log.contains("Object::eventHandler(): Error! Dynamic cast to EventPath failed."));
}

TEST_F(ObjectTest, FollowingAPathJumpsOntoNodesWithinThreeQuartersOfAStep) {
  vx::Object *p_o = new vx::Object;
  p_o->setPosition(vx::Vector(0, 0));
  p_o->setVelocity(vx::Vector(1, 0));
  // The first two nodes are within reach, the third is not.
  p_o->setPath(vx::Path({vx::Vector(0.7f, 0), vx::Vector(1.3f, 0), vx::Vector(1.3f, 5)}));
  p_o->setFollowPath(true);
  p_o->followPathStep();
  EXPECT_EQ(p_o->getPosition(), vx::Vector(1.3f, 0));
  EXPECT_EQ(p_o->getPath().getIndex(), 2);
  EXPECT_EQ(p_o->getDirection(), vx::Vector(0, 1));

  // At 0.8 cells the object only turns towards the node.
  vx::Object *p_far = new vx::Object;
  p_far->setPosition(vx::Vector(0, 0));
  p_far->setVelocity(vx::Vector(0, 1));
  p_far->setPath(vx::Path({vx::Vector(0.8f, 0)}));
  p_far->setFollowPath(true);
  p_far->followPathStep();
  EXPECT_EQ(p_far->getPosition(), vx::Vector(0, 0));
  EXPECT_EQ(p_far->getDirection(), vx::Vector(1, 0));
}

TEST_F(ObjectTest, TheEndOfThePathStopsTheObject) {
  vx::Object *p_o = new vx::Object;
  p_o->setPosition(vx::Vector(0, 0));
  p_o->setVelocity(vx::Vector(1, 0));
  p_o->setPath(vx::Path({vx::Vector(0.5f, 0)}));
  p_o->setFollowPath(true);
  p_o->followPathStep();
  EXPECT_EQ(p_o->getPosition(), vx::Vector(0.5f, 0));
  EXPECT_FALSE(p_o->getFollowPath());
  EXPECT_TRUE(p_o->getDirection().isZero());
}

TEST(ObjectOutsideTheWorld, StaysAliveButAbsentWhateverItsSettersDo) {
  vxtest::LogCapture log;
  vx::Object o; // Made before the world started: refused, and owned by the test.
  EXPECT_EQ(log.count("Object::Object(): Error! Unable to add "), 1);
  EXPECT_EQ(o.getId(), 1);

  vx::WorldManager &world = vx::WorldManager::getInstance();
  ASSERT_EQ(world.startUp(), 0);
  // None of these may slip the object into the world's lists...
  o.setBox(vx::Box(vx::Vector(0, 0), 2, 2));
  EXPECT_EQ(o.setActive(false), 0);
  EXPECT_EQ(o.setActive(true), 0);
  EXPECT_EQ(o.setAltitude(3), 0);
  EXPECT_EQ(o.setSolidness(vx::SOFT), 0);
  o.setType("Stray");
  EXPECT_EQ(o.setVisible(false), 0);
  EXPECT_EQ(o.getAltitude(), 3);
  EXPECT_EQ(world.getAllObjects(true).getCount(), 0);
  // ...or the world would delete it here, a second time at the end of the test.
  world.shutDown();
  EXPECT_EQ(o.getType(), "Stray");
}
