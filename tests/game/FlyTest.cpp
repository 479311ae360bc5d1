// How a fly keeps to the world: it bounces off each edge, and a new fly slides
// right until it stands clear of those already there.
#include <gtest/gtest.h>

#include "SwatBot.h"

namespace {

struct EdgeCase {
  const char *edge;
  vx::Vector position; // Where the fly has got to, in an 80 x 24 world.
  vx::Vector velocity;
  vx::Vector clamped;  // Where it is put back...
  vx::Vector turned;   // ...and how it moves on.
};

const EdgeCase EDGES[] = {
    {"left", {-0.7f, 10}, {-0.3f, 0.2f}, {0, 10}, {0.3f, 0.2f}},
    {"right", {80.4f, 10}, {0.3f, 0.2f}, {79, 10}, {-0.3f, 0.2f}},
    {"top", {20, -1.5f}, {0.2f, -0.4f}, {20, 0}, {0.2f, 0.4f}},
    {"bottom", {20, 23.2f}, {0.2f, 0.4f}, {20, 23}, {0.2f, -0.4f}},
    {"corner", {79, 23}, {0.3f, 0.3f}, {79, 23}, {-0.3f, -0.3f}},
    {"inside", {40, 12}, {0.3f, -0.3f}, {40, 12}, {0.3f, -0.3f}},
};

TEST(FlyTest, BouncesOffEveryEdgeAndSlidesClearOfOtherFlies) {
  vxtest::SwatSession session(21);
  ASSERT_TRUE(session.started());
  setCurrentMinigame(LAZY);
  for (const EdgeCase &c : EDGES) {
    SCOPED_TRACE(c.edge);
    Fly *p_fly = new Fly;
    p_fly->setPosition(c.position);
    p_fly->setVelocity(c.velocity);
    p_fly->moveStep();
    EXPECT_EQ(p_fly->getPosition(), c.clamped);
    EXPECT_NEAR(p_fly->getVelocity().getX(), c.turned.getX(), 1e-6);
    EXPECT_NEAR(p_fly->getVelocity().getY(), c.turned.getY(), 1e-6);
    vx::WorldManager::getInstance().markForDelete(p_fly);
    vx::WorldManager::getInstance().update();
  }

  // Thirteen motionless flies near the middle: none overlaps another.
  spawnFlies();
  const std::vector<vx::Object *> flies = objectsOfTypes({FLY_TYPE});
  ASSERT_EQ(static_cast<int>(flies.size()), findMinigameRow(LAZY)->spawns.at(0).count);
  for (vx::Object *p_fly : flies) {
    EXPECT_EQ(p_fly->getSpeed(), 0.0f);
    EXPECT_TRUE(vx::WorldManager::getInstance()
                    .getCollisions(p_fly, p_fly->getPosition())
                    .isEmpty());
  }
}

// When a minigame ends its flies and swatter go at the end of the step; a
// click later in that same step must not swat them (after a won ODD minigame
// a swatted leftover fly would otherwise lose the run if COIN came next).
TEST(FlyTest, FliesOfAnEndedMinigameTakeNoMoreSwats) {
  vxtest::SwatSession session(5);
  ASSERT_TRUE(session.started());
  setCurrentMinigame(COIN);
  Fly *p_fly = new Fly;
  auto *p_swatter = new Swatter;
  const vx::Vector where = p_fly->getPosition();
  ASSERT_FALSE(vx::WorldManager::getInstance().getCollisions(p_swatter, where).isEmpty());

  markObjectsOfTypes({FLY_TYPE, SWATTER_TYPE}); // What ending a minigame does.
  vx::EventMouse click;
  click.setMouseAction(vx::CLICKED);
  click.setMouseButton(vx::Mouse::LEFT);
  click.setMousePosition(where);
  vx::InputManager::getInstance().onEvent(&click);
  p_swatter->eventHandler(&click);
  EXPECT_EQ(firstObjectOfType(SPLAT_TYPE), nullptr);
}

} // namespace

// A swat hits a fly only when the swatter's box covers it by at least a
// quarter of a cell across and a quarter of a row down; touching never counts.
TEST(FlyTest, SwatHitsOnlyWhatTheSwatterVisiblyCovers) {
  struct SwatCase { const char *name; vx::Vector offset; bool hit; };
  const SwatCase cases[] = {
      {"beside", {3, 0}, false},           {"one row below", {0, 0.97f}, false},
      {"diagonal corner", {3, 1}, false},  {"half under", {0, 0.5f}, true},
      {"a quarter under", {0, 0.75f}, true}, {"a quarter across", {2.75f, 0}, true},
  };
  vxtest::SwatSession session(7);
  ASSERT_TRUE(session.started());
  setCurrentMinigame(NORMAL);
  for (const SwatCase &c : cases) {
    SCOPED_TRACE(c.name);
    Fly *p_fly = new Fly;
    p_fly->setPosition(vx::Vector(40, 12));
    p_fly->setVelocity(vx::Vector());
    auto *p_swatter = new Swatter;
    ASSERT_EQ(p_fly->getBox().getVertical(), 1.0f); // The offsets assume boxes a row high.
    vx::EventMouse click;
    click.setMouseAction(vx::CLICKED);
    click.setMousePosition(p_fly->getPosition() + c.offset);
    p_swatter->eventHandler(&click);
    EXPECT_EQ(firstObjectOfType(SPLAT_TYPE) != nullptr, c.hit);
    EXPECT_EQ(p_swatter->getPosition(), click.getMousePosition()) << "not shown where it struck";
    markObjectsOfTypes({FLY_TYPE, SWATTER_TYPE, SPLAT_TYPE});
    vx::WorldManager::getInstance().update();
  }
}
