// The interest registry every manager inherits, and event delivery through it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>
#include <utility>
#include <vector>

#include "Event.h"
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

// A handler deletes, directly or after marking it, a listener of the same
// event that has not had its turn yet: it is not called again.
using ManagerDeletionDuringDelivery = vxtest::WorldFixture;

TEST_F(ManagerDeletionDuringDelivery, DeletedListenersAreNotCalled) {
  vx::EventStep step(0);
  vx::EventKeyboard keyboard;
  vx::EventMouse mouse;
  vx::Manager *p_game = &vx::GameManager::getInstance(), *p_input = &vx::InputManager::getInstance();
  const std::tuple<const vx::Event *, vx::Manager *, bool> cases[] = {
      {&step, p_game, false},     {&step, p_game, true},  {&keyboard, p_input, false},
      {&mouse, p_input, true},    {nullptr, nullptr, false}, {nullptr, nullptr, true}}; // Collisions.
  for (const auto &[p_event, p_manager, mark_first] : cases) {
    const std::string type = p_event != nullptr ? p_event->getType() : vx::COLLISION_EVENT;
    SCOPED_TRACE(type + (mark_first ? " marked first" : ""));
    vxtest::journal().clear();
    auto *p_killer = new vxtest::Recorder("killer", vx::Vector(10, 10));
    auto *p_by = new vxtest::Recorder("by", vx::Vector(20, 10));
    auto *p_victim = new vxtest::Recorder("victim", vx::Vector(20, 10));
    p_killer->on_event = [&, mark = mark_first](vxtest::Recorder *, const vx::Event *) {
      if (p_victim != nullptr && (!mark || m_world.markForDelete(p_victim) == 0))
        delete std::exchange(p_victim, nullptr);
    };
    for (vxtest::Recorder *p : {p_killer, p_victim, p_by})
      ASSERT_TRUE(p_event == nullptr || p->registerInterest(type) == 0);
    p_event ? p_manager->onEvent(p_event) : m_world.moveObject(p_killer, vx::Vector(20, 10));
    m_world.update();
    const auto gone = std::find(vxtest::journal().begin(), vxtest::journal().end(), "~victim");
    ASSERT_NE(gone, vxtest::journal().end());
    EXPECT_TRUE(std::none_of(gone, vxtest::journal().end(), [](auto &e) { return e[0] == 'v'; }));
    EXPECT_EQ(vxtest::journalStartingWith("by " + type).size(), 1u);
    delete p_killer, delete p_by;
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
