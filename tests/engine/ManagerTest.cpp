// The interest registry every manager inherits, and event delivery through it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "Event.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventStep.h"
#include "GameManager.h"
#include "InputManager.h"
#include "LogManager.h"
#include "Manager.h"
#include "Object.h"
#include "TestSupport.h"
#include "WorldManager.h"
#include "WorldTestSupport.h"

namespace {

// A manager that accepts every event type but "vx-undefined" handling, to
// exercise the base registry directly.
class OpenManager : public vx::Manager {
 public:
  bool isValid(std::string) const override { return true; }
};

// Records every event it receives; optionally runs an action from the handler.
class Listener : public vx::Object {
 public:
  int received = 0;
  int result = 1;
  std::function<void()> on_event;

  int eventHandler(const vx::Event *) override {
    received++;
    if (on_event)
      on_event();
    return result;
  }
};

std::string typeName(int i) { return "type-" + std::to_string(i); }

// Objects belong to the world, so every test runs with the world manager started.
class WorldStarted : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(vx::WorldManager::getInstance().startUp(), 0); }
};

using ManagerRegistry = WorldStarted;
using ManagerDelivery = WorldStarted;
using ManagerLifecycle = WorldStarted;

} // namespace

TEST_F(ManagerRegistry, RefusesTheHundredAndFirstEventTypeAndReopensAfterUnregister) {
  OpenManager manager;
  Listener listener;
  for (int i = 0; i < vx::MAX_EVENTS; i++)
    ASSERT_EQ(manager.registerInterest(&listener, typeName(i)), 0) << i;
  EXPECT_EQ(manager.getEventCount(), vx::MAX_EVENTS);
  EXPECT_EQ(manager.registerInterest(&listener, "one-too-many"), -1);
  // A type that already has a list still takes more objects.
  Listener other;
  EXPECT_EQ(manager.registerInterest(&other, typeName(7)), 0);

  ASSERT_EQ(manager.unregisterInterest(&listener, typeName(0)), 0);
  EXPECT_EQ(manager.getEventCount(), vx::MAX_EVENTS - 1);
  EXPECT_EQ(manager.registerInterest(&listener, "one-too-many"), 0);
}

TEST_F(ManagerRegistry, ClosingTheGapKeepsTheOtherTypesInOrder) {
  OpenManager manager;
  Listener a, b, c;
  manager.registerInterest(&a, "first");
  manager.registerInterest(&b, "second");
  manager.registerInterest(&c, "third");

  ASSERT_EQ(manager.unregisterInterest(&a, "first"), 0);
  EXPECT_EQ(manager.getEventCount(), 2);

  // The lists moved with their names: each event still reaches its own listener.
  vx::Event second, third;
  second.setType("second");
  third.setType("third");
  EXPECT_EQ(manager.onEvent(&second), 1);
  EXPECT_EQ(manager.onEvent(&third), 1);
  EXPECT_EQ(a.received, 0);
  EXPECT_EQ(b.received, 1);
  EXPECT_EQ(c.received, 1);
}

TEST_F(ManagerRegistry, UnregisterFailsSilentlyForUnknownObjectsAndTypes) {
  vxtest::LogCapture log;
  OpenManager manager;
  Listener a, b;
  manager.registerInterest(&a, "kind");
  EXPECT_EQ(manager.unregisterInterest(&b, "kind"), -1);
  EXPECT_EQ(manager.unregisterInterest(&a, "other"), -1);
  EXPECT_EQ(manager.getEventCount(), 1);
  EXPECT_TRUE(log.messages().empty());
}

TEST_F(ManagerRegistry, RegisteringTwiceKeepsOneEntry) {
  OpenManager manager;
  Listener a;
  EXPECT_EQ(manager.registerInterest(&a, "kind"), 0);
  EXPECT_EQ(manager.registerInterest(&a, "kind"), 0);
  vx::Event e;
  e.setType("kind");
  EXPECT_EQ(manager.onEvent(&e), 1);
  EXPECT_EQ(a.received, 1);
}

TEST_F(ManagerRegistry, RefusesTypesTheManagerDoesNotKeep) {
  vxtest::LogCapture log;
  Listener a;
  vx::GameManager &game_manager = vx::GameManager::getInstance();
  EXPECT_EQ(game_manager.registerInterest(&a, "vx-mouse"), -1);
  EXPECT_TRUE(log.contains(
      "Manager(GameManager)::registerInterest(): Event 'vx-mouse' not valid for this Manager"));
  EXPECT_EQ(game_manager.registerInterest(&a, vx::STEP_EVENT), 0);
  game_manager.unregisterInterest(&a, vx::STEP_EVENT);
}

TEST_F(ManagerDelivery, CountsHandledEventsAndSkipsInactiveObjects) {
  vx::GameManager &game_manager = vx::GameManager::getInstance();
  Listener handles, ignores, inactive;
  ignores.result = 0;
  inactive.setActive(false);
  game_manager.registerInterest(&handles, vx::STEP_EVENT);
  game_manager.registerInterest(&ignores, vx::STEP_EVENT);
  game_manager.registerInterest(&inactive, vx::STEP_EVENT);

  vx::EventStep step(3);
  EXPECT_EQ(game_manager.onEvent(&step), 1);
  EXPECT_EQ(handles.received, 1);
  EXPECT_EQ(ignores.received, 1);
  EXPECT_EQ(inactive.received, 0);

  // The inactive object stays registered and hears events once active again.
  inactive.setActive(true);
  EXPECT_EQ(game_manager.onEvent(&step), 2);
  EXPECT_EQ(inactive.received, 1);
  for (Listener *p : {&handles, &ignores, &inactive})
    game_manager.unregisterInterest(p, vx::STEP_EVENT);
}

TEST_F(ManagerDelivery, UndefinedEventsReachNobody) {
  OpenManager manager;
  Listener a;
  manager.registerInterest(&a, vx::UNDEFINED_EVENT);
  vx::Event undefined;
  EXPECT_EQ(manager.onEvent(&undefined), 0);
  EXPECT_EQ(a.received, 0);
}

TEST_F(ManagerDelivery, WalksACopySoHandlersMayChangeTheRegistry) {
  OpenManager manager;
  Listener first, second, late;
  // The first handler unregisters the second and registers a newcomer: the
  // walk still visits exactly the objects registered when delivery began.
  first.on_event = [&] {
    manager.unregisterInterest(&second, "kind");
    manager.registerInterest(&late, "kind");
  };
  manager.registerInterest(&first, "kind");
  manager.registerInterest(&second, "kind");

  vx::Event e;
  e.setType("kind");
  EXPECT_EQ(manager.onEvent(&e), 2);
  EXPECT_EQ(second.received, 1);
  EXPECT_EQ(late.received, 0);

  EXPECT_EQ(manager.onEvent(&e), 2);
  EXPECT_EQ(second.received, 1);
  EXPECT_EQ(late.received, 1);
}

// A handler deletes another listener of the same event that has not had its
// turn yet, directly or after marking it: the deleted one is not called again.
using ManagerDeletionDuringDelivery = vxtest::WorldFixture;

TEST_F(ManagerDeletionDuringDelivery, DeletedListenersAreNotCalled) {
  struct Case {
    std::string event_type;
    bool mark_first;
  };
  const Case cases[] = {{vx::STEP_EVENT, false},     {vx::STEP_EVENT, true},
                        {vx::KEYBOARD_EVENT, false}, {vx::MSE_EVENT, true},
                        {vx::COLLISION_EVENT, false}, {vx::COLLISION_EVENT, true}};
  for (const Case &c : cases) {
    const std::string type = c.event_type;
    SCOPED_TRACE(type + (c.mark_first ? " marked first" : ""));
    vxtest::journal().clear();
    auto *p_killer = new vxtest::Recorder("killer", vx::Vector(10, 10));
    auto *p_victim = new vxtest::Recorder("victim", vx::Vector(20, 10));
    auto *p_bystander = new vxtest::Recorder("bystander", vx::Vector(20, 10));
    p_killer->on_event = [&](vxtest::Recorder *, const vx::Event *) {
      if (p_victim == nullptr)
        return;
      if (c.mark_first)
        m_world.markForDelete(p_victim);
      delete p_victim;
      p_victim = nullptr;
    };
    if (type == vx::COLLISION_EVENT) {
      m_world.moveObject(p_killer, vx::Vector(20, 10));
    } else {
      for (vxtest::Recorder *p : {p_killer, p_victim, p_bystander})
        ASSERT_EQ(p->registerInterest(type), 0);
      vx::EventStep step(0);
      vx::EventKeyboard keyboard;
      vx::EventMouse mouse;
      if (type == vx::STEP_EVENT)
        vx::GameManager::getInstance().onEvent(&step);
      else if (type == vx::KEYBOARD_EVENT)
        vx::InputManager::getInstance().onEvent(&keyboard);
      else
        vx::InputManager::getInstance().onEvent(&mouse);
    }
    m_world.update();
    const std::vector<std::string> &seen = vxtest::journal();
    auto gone = std::find(seen.begin(), seen.end(), "~victim");
    ASSERT_NE(gone, seen.end());
    EXPECT_EQ(std::count_if(gone, seen.end(),
                            [](const std::string &e) { return e.rfind("victim", 0) == 0; }),
              0);
    EXPECT_EQ(vxtest::journalStartingWith("bystander " + type).size(), 1u);
    delete p_killer;
    delete p_bystander;
  }
}

TEST_F(ManagerLifecycle, BaseStartTwiceWarnsOnceAtLevelOneAndStaysStarted) {
  vxtest::LogCapture log;
  OpenManager manager;
  EXPECT_EQ(manager.startUp(), 0);
  EXPECT_EQ(manager.startUp(), 0);
  EXPECT_TRUE(manager.isStarted());
  manager.shutDown();
  manager.shutDown();
  EXPECT_FALSE(manager.isStarted());
  // Both warnings are level 1 and the log level is 0: nothing is written.
  EXPECT_FALSE(log.contains("already started"));
  EXPECT_FALSE(log.contains("not started"));
}

TEST_F(ManagerLifecycle, ConcreteManagersRefuseASecondStart) {
  vxtest::LogCapture log;
  vx::LogManager &log_manager = vx::LogManager::getInstance();
  EXPECT_EQ(log_manager.startUp(), -1);
  EXPECT_TRUE(log.contains("LogManager::startup(): Warning! LogManager already started."));
  // The open file is still the one in use.
  log_manager.writeLog("still here");
  EXPECT_TRUE(log.contains("still here"));
}
