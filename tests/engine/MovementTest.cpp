// Moving objects through the world: collision events and the solidness
// rules, sliding along walls, leaving the world, and the view following an
// object.
#include <gtest/gtest.h>

#include <cmath>

#include "EventOut.h"
#include "WorldManager.h"
#include "WorldTestSupport.h"

using vx::Box;
using vx::Vector;
using vxtest::journal;
using vxtest::journalCount;
using vxtest::Recorder;

namespace {

class MovementTest : public vxtest::WorldFixture {
 protected:
  // The collision entries the journal would show for one event pair.
  static std::vector<std::string> pair(const std::string &mover, const std::string &other,
                                       const std::string &at) {
    std::string what = " vx-collision " + mover + ">" + other + " at " + at;
    return {mover + what, other + what};
  }

  static std::vector<std::string> concat(std::vector<std::string> a,
                                         const std::vector<std::string> &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  }
};

// ---------------------------------------------------------------------------
// Solidness rules
// ---------------------------------------------------------------------------

TEST_F(MovementTest, HardMoverIsStoppedByHardObject) {
  Recorder *p_a = new Recorder("a", Vector(10, 10));
  new Recorder("b", Vector(12, 10));
  EXPECT_EQ(m_world.moveObject(p_a, Vector(11, 10)), -1); // Boxes share the edge x = 12.
  EXPECT_EQ(journal(), pair("a", "b", "(11,10)"));
  EXPECT_EQ(p_a->getPosition(), Vector(10, 10));
}

TEST_F(MovementTest, HardMoverPassesThroughSoftObject) {
  Recorder *p_a = new Recorder("a", Vector(10, 10));
  new Recorder("b", Vector(12, 10), vx::SOFT);
  EXPECT_EQ(m_world.moveObject(p_a, Vector(11.5f, 10)), 0);
  EXPECT_EQ(journal(), pair("a", "b", "(11.5,10)"));
  EXPECT_EQ(p_a->getPosition(), Vector(11.5f, 10));
}

TEST_F(MovementTest, SoftMoverPassesThroughHardObject) {
  Recorder *p_a = new Recorder("a", Vector(10, 10), vx::SOFT);
  new Recorder("b", Vector(12, 10));
  EXPECT_EQ(m_world.moveObject(p_a, Vector(12, 10)), 0);
  EXPECT_EQ(journal(), pair("a", "b", "(12,10)"));
}

TEST_F(MovementTest, NoSoftMoverIsRefusedBySoftObjectsOnly) {
  Recorder *p_a = new Recorder("a", Vector(10, 10), vx::SOFT);
  p_a->setNoSoft(true);
  new Recorder("soft", Vector(12, 10), vx::SOFT);
  new Recorder("hard", Vector(10, 12));
  EXPECT_EQ(m_world.moveObject(p_a, Vector(11, 10)), -1);
  EXPECT_EQ(journal(), pair("a", "soft", "(11,10)"));
  EXPECT_EQ(p_a->getPosition(), Vector(10, 10));

  journal().clear();
  EXPECT_EQ(m_world.moveObject(p_a, Vector(10, 11)), 0);
  EXPECT_EQ(journal(), pair("a", "hard", "(10,11)"));
}

TEST_F(MovementTest, SpectralObjectsNeitherCollideNorAreCollidedWith) {
  Recorder *p_ghost = new Recorder("ghost", Vector(10, 10), vx::SPECTRAL);
  new Recorder("wall", Vector(11, 10));
  EXPECT_EQ(m_world.moveObject(p_ghost, Vector(11, 10)), 0);

  Recorder *p_a = new Recorder("a", Vector(20, 10));
  new Recorder("mist", Vector(21, 10), vx::SPECTRAL);
  EXPECT_EQ(m_world.moveObject(p_a, Vector(21, 10)), 0);
  EXPECT_TRUE(journal().empty());
  EXPECT_TRUE(m_world.getCollisions(p_a, Vector(21, 10)).isEmpty());
}

TEST_F(MovementTest, EveryOverlapGetsOneEventPairInGridOrder) {
  Recorder *p_a = new Recorder("a", Vector(10, 10));
  new Recorder("b", Vector(11, 10), vx::SOFT);
  new Recorder("c", Vector(10, 11));
  new Recorder("far", Vector(15, 10));
  EXPECT_EQ(m_world.moveObject(p_a, Vector(10.5f, 10.5f)), -1); // c is HARD.
  EXPECT_EQ(journal(), concat(pair("a", "b", "(10.5,10.5)"), pair("a", "c", "(10.5,10.5)")));
}

TEST_F(MovementTest, HandlerThatPlacesTheMoverHasTheLastWord) {
  Recorder *p_a = new Recorder("a", Vector(10, 10));
  new Recorder("b", Vector(12, 10), vx::SOFT);
  p_a->on_event = [](Recorder *p_self, const vx::Event *) { p_self->setPosition(Vector(30, 5)); };
  EXPECT_EQ(m_world.moveObject(p_a, Vector(11.5f, 10)), -1);
  EXPECT_EQ(p_a->getPosition(), Vector(30, 5));
  EXPECT_EQ(journal().size(), 2u); // The other party still heard of it.
}

TEST_F(MovementTest, MovingNothingIsAnError) {
  EXPECT_EQ(m_world.moveObject(nullptr, Vector(1, 1)), -1);
  EXPECT_TRUE(m_log.contains("WorldManager::moveObject(): Error! Object is NULL"));
}

// ---------------------------------------------------------------------------
// Leaving the world
// ---------------------------------------------------------------------------

TEST_F(MovementTest, OutOfWorldEventOnlyOnTheMoveThatLeaves) {
  Recorder *p_a = new Recorder("a", Vector(78, 10), vx::SPECTRAL);
  EXPECT_EQ(m_world.moveObject(p_a, Vector(80, 10)), 0); // Box x 80 to 81 touches the edge.
  EXPECT_TRUE(journal().empty());
  EXPECT_EQ(m_world.moveObject(p_a, Vector(80.5f, 10)), 0);
  EXPECT_EQ(journal(), std::vector<std::string>({"a vx-out"}));
  m_world.moveObject(p_a, Vector(85, 10));
  m_world.moveObject(p_a, Vector(85, -10));
  EXPECT_EQ(journalCount("a vx-out"), 1);

  // Coming back and leaving again, this time over the top, is a new exit.
  m_world.moveObject(p_a, Vector(40, 0));
  EXPECT_EQ(journalCount("a vx-out"), 1);
  m_world.moveObject(p_a, Vector(40, -1.5f));
  EXPECT_EQ(journalCount("a vx-out"), 2);
}

TEST_F(MovementTest, ObjectStartingOutsideGetsNoOutEvents) {
  Recorder *p_a = new Recorder("a", Vector(-10, -10), vx::SPECTRAL);
  p_a->setVelocity(Vector(-1, 0));
  for (int i = 0; i < 3; i++)
    m_world.update();
  EXPECT_EQ(p_a->getPosition(), Vector(-13, -10));
  EXPECT_TRUE(journal().empty());
}

// ---------------------------------------------------------------------------
// Sliding along hard obstacles
// ---------------------------------------------------------------------------

class SlidingTest : public MovementTest {
 protected:
  Recorder *p_mover = nullptr;

  void SetUp() override {
    MovementTest::SetUp();
    // A wall 40 wide and 1 high along y = 10, and a mover above it heading
    // down and right, one step from hitting it.
    Recorder *p_wall = new Recorder("wall", Vector(0, 10));
    p_wall->setBox(Box(Vector(0, 0), 40, 1));
    p_mover = new Recorder("mover", Vector(5, 8.6f));
    p_mover->setVelocity(Vector(1, 1));
    p_mover->setAvoidCollisions(true);
  }
};

TEST_F(SlidingTest, MoverSlidesAlongTheTopOfAWall) {
  m_world.update();
  // Deflected to the right at full speed, without touching the wall.
  EXPECT_NEAR(p_mover->getPosition().getX(), 5 + std::sqrt(2.0f), 1e-5);
  EXPECT_EQ(p_mover->getPosition().getY(), 8.6f);
  EXPECT_TRUE(journal().empty());
  // Only this move was deflected; the mover still heads down and right.
  EXPECT_NEAR(p_mover->getVelocity().getX(), 1, 1e-6);
  EXPECT_NEAR(p_mover->getVelocity().getY(), 1, 1e-6);

  m_world.update();
  EXPECT_NEAR(p_mover->getPosition().getX(), 5 + 2 * std::sqrt(2.0f), 1e-5);
  EXPECT_EQ(p_mover->getPosition().getY(), 8.6f);
}

TEST_F(SlidingTest, MoverWithoutTheFlagRunsIntoTheWall) {
  p_mover->setAvoidCollisions(false);
  EXPECT_EQ(m_world.moveObject(p_mover, Vector(6, 9.6f)), -1);
  EXPECT_EQ(p_mover->getPosition(), Vector(5, 8.6f));
  EXPECT_EQ(journal(), pair("mover", "wall", "(6,9.6)"));
}

TEST_F(SlidingTest, MoverBlockedWhereItWouldSlideStaysPut) {
  new Recorder("block", Vector(7, 8));
  EXPECT_EQ(m_world.moveObject(p_mover, Vector(6, 9.6f)), -1);
  EXPECT_EQ(p_mover->getPosition(), Vector(5, 8.6f));
  EXPECT_TRUE(journal().empty()); // No events when the slide gives up.
}

TEST_F(SlidingTest, SoftObjectsOnTheSlideGetTheirEvents) {
  new Recorder("puddle", Vector(6.5f, 8.5f), vx::SOFT);
  EXPECT_EQ(m_world.moveObject(p_mover, Vector(6, 9.6f)), 0);
  ASSERT_EQ(journal().size(), 2u);
  EXPECT_EQ(journal()[0].substr(0, 34), "mover vx-collision mover>puddle at");
  EXPECT_EQ(p_mover->getPosition().getY(), 8.6f);
}

TEST_F(SlidingTest, SoftMoverIgnoresTheFlag) {
  p_mover->setSolidness(vx::SOFT);
  EXPECT_EQ(m_world.moveObject(p_mover, Vector(6, 9.6f)), 0);
  EXPECT_EQ(p_mover->getPosition(), Vector(6, 9.6f));
  EXPECT_EQ(journal(), pair("mover", "wall", "(6,9.6)"));
}

// ---------------------------------------------------------------------------
// View following
// ---------------------------------------------------------------------------

class FollowingTest : public MovementTest {
 protected:
  Recorder *p_hero = nullptr;

  void SetUp() override {
    MovementTest::SetUp();
    m_world.setBoundary(Box(Vector(0, 0), 240, 72));
    m_world.setView(Box(Vector(0, 0), 80, 24));
    m_world.setViewSlack(Vector(1.0f / 3, 1.0f / 3));
    p_hero = new Recorder("hero", Vector(120, 36), vx::SPECTRAL);
    ASSERT_EQ(m_world.setViewFollowing(p_hero), 0);
  }

  void expectCorner(float x, float y) {
    EXPECT_NEAR(m_world.getView().getCorner().getX(), x, 1e-4);
    EXPECT_NEAR(m_world.getView().getCorner().getY(), y, 1e-4);
    EXPECT_EQ(m_world.getView().getHorizontal(), 80);
    EXPECT_EQ(m_world.getView().getVertical(), 24);
  }
};

TEST_F(FollowingTest, FollowingCentresTheView) { expectCorner(80, 24); }

TEST_F(FollowingTest, ViewStaysWhileTheObjectIsInTheMiddleThird) {
  // The dead zone is x 106.67 to 133.33 and y 32 to 40.
  for (Vector to : {Vector(133, 39.9f), Vector(107, 32.1f), Vector(120, 36)}) {
    m_world.moveObject(p_hero, to);
    expectCorner(80, 24);
  }
}

TEST_F(FollowingTest, ViewMovesJustEnoughToKeepTheObjectInTheMiddleThird) {
  m_world.moveObject(p_hero, Vector(140, 30));
  expectCorner(80 + 140 - (120 + 40.0f / 3), 22);
  // Back inside the new zone: nothing moves.
  m_world.moveObject(p_hero, Vector(130, 33));
  expectCorner(80 + 140 - (120 + 40.0f / 3), 22);
}

TEST_F(FollowingTest, ViewNeverScrollsPastTheBoundary) {
  m_world.moveObject(p_hero, Vector(235, 70));
  expectCorner(160, 48);
  m_world.moveObject(p_hero, Vector(0, 0));
  expectCorner(0, 0);
}

TEST_F(FollowingTest, OnlyTheFollowedObjectsMovesCount) {
  Recorder *p_other = new Recorder("other", Vector(120, 36), vx::SPECTRAL);
  m_world.moveObject(p_other, Vector(200, 60));
  expectCorner(80, 24);

  // A refused move does not move the view either.
  p_hero->setSolidness(vx::HARD);
  new Recorder("rock", Vector(170, 36));
  EXPECT_EQ(m_world.moveObject(p_hero, Vector(170, 36)), -1);
  expectCorner(80, 24);
}

TEST_F(FollowingTest, UpdateMovesTheViewWithTheObject) {
  p_hero->setVelocity(Vector(5, 0));
  for (int i = 0; i < 4; i++)
    m_world.update();
  // 20 cells to the right: the first 13.33 within the dead zone.
  expectCorner(80 + 20 - 40.0f / 3, 24);
}

// ---------------------------------------------------------------------------
// Handlers that take objects out of the world during delivery
// ---------------------------------------------------------------------------

TEST_F(MovementTest, ObjectsMarkedDuringDeliveryLiveUntilTheEndOfTheUpdate) {
  Recorder *p_a = new Recorder("a", Vector(10, 10), vx::SOFT);
  Recorder *p_b = new Recorder("b", Vector(12, 10), vx::SOFT);
  p_a->setVelocity(Vector(1, 0));
  p_a->on_event = [&](Recorder *p_self, const vx::Event *) {
    m_world.markForDelete(p_self);
    m_world.markForDelete(p_b);
  };
  p_b->on_event = [&](Recorder *, const vx::Event *p_e) {
    // Still safe to look at the mover that marked itself.
    auto *p_c = static_cast<const vx::EventCollision *>(p_e);
    journal().push_back("b sees " + p_c->getObject1()->getPosition().toString());
    m_world.markForDelete(p_a);
  };
  m_world.update();
  EXPECT_EQ(journal(), concat(pair("a", "b", "(11,10)"),
                              {"b sees (10,10)", "~a", "~b"}));
}

TEST_F(MovementTest, OtherPartyDeletedByTheMoversHandlerIsSkipped) {
  // Deleting directly is against the rules; the move must still not touch
  // the dead object, and it no longer blocks.
  Recorder *p_a = new Recorder("a", Vector(10, 10));
  Recorder *p_b = new Recorder("b", Vector(11, 10));
  new Recorder("c", Vector(11, 11), vx::SOFT);
  p_a->on_event = [&](Recorder *, const vx::Event *) {
    if (p_b != nullptr) {
      Recorder *p_dead = p_b;
      p_b = nullptr;
      delete p_dead;
    }
  };
  EXPECT_EQ(m_world.moveObject(p_a, Vector(10.5f, 10.5f)), 0);
  EXPECT_EQ(journal(), concat({"a vx-collision a>b at (10.5,10.5)", "~b"},
                              pair("a", "c", "(10.5,10.5)")));
}

TEST_F(MovementTest, LaterPartyDeletedByAHandlerGetsNoEvent) {
  Recorder *p_a = new Recorder("a", Vector(10, 10), vx::SOFT);
  Recorder *p_b = new Recorder("b", Vector(11, 10), vx::SOFT);
  Recorder *p_c = new Recorder("c", Vector(11, 11), vx::SOFT);
  p_b->on_event = [&](Recorder *, const vx::Event *) {
    delete p_c;
    p_c = nullptr;
  };
  EXPECT_EQ(m_world.moveObject(p_a, Vector(10.5f, 10.5f)), 0);
  EXPECT_EQ(journal(), concat(pair("a", "b", "(10.5,10.5)"), {"~c"}));
}

TEST_F(MovementTest, MoverDeletedByTheOtherPartyStopsTheMove) {
  Recorder *p_a = new Recorder("a", Vector(10, 10), vx::SOFT);
  Recorder *p_b = new Recorder("b", Vector(11, 10), vx::SOFT);
  new Recorder("c", Vector(11, 11), vx::SOFT);
  p_b->on_event = [&](Recorder *, const vx::Event *) { delete p_a; };
  EXPECT_EQ(m_world.moveObject(p_a, Vector(10.5f, 10.5f)), -1);
  EXPECT_EQ(journal(), concat(pair("a", "b", "(10.5,10.5)"), {"~a"}));
  EXPECT_EQ(m_world.getAllObjects().getCount(), 2);
}

TEST_F(MovementTest, FollowedMoverDeletedByItsOutHandler) {
  Recorder *p_a = new Recorder("a", Vector(40, 12), vx::SPECTRAL);
  ASSERT_EQ(m_world.setViewFollowing(p_a), 0);
  p_a->on_event = [](Recorder *p_self, const vx::Event *) { delete p_self; };
  EXPECT_EQ(m_world.moveObject(p_a, Vector(100, 12)), 0); // It did leave.
  EXPECT_EQ(journal(), std::vector<std::string>({"a vx-out", "~a"}));
  EXPECT_EQ(m_world.getViewFollowing(), nullptr);
  EXPECT_EQ(m_world.getView().getCorner(), Vector(0, 0));
}

} // namespace
