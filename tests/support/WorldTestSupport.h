// Helpers for the tests of the world: a started world of its own and objects
// that write down what happens to them.
#ifndef VX_WORLD_TEST_SUPPORT_H
#define VX_WORLD_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "EventCollision.h"
#include "Object.h"
#include "TestSupport.h"
#include "WorldManager.h"

namespace vxtest {

// What the recorders saw, in order: "<name> <event type>" for most events,
// "<name> vx-collision <mover>><other> at (x,y)" for collisions, "~<name>" for
// a deletion and "draw <name>" for a draw.
inline std::vector<std::string> &journal() {
  static std::vector<std::string> entries;
  return entries;
}

// The journal entries that start with the text.
inline std::vector<std::string> journalStartingWith(const std::string &prefix) {
  std::vector<std::string> result;
  for (const std::string &entry : journal())
    if (entry.compare(0, prefix.size(), prefix) == 0)
      result.push_back(entry);
  return result;
}

// How many journal entries equal the text.
inline int journalCount(const std::string &entry) {
  int count = 0;
  for (const std::string &e : journal())
    count += e == entry;
  return count;
}

// Something that knows its name, for the journal.
class Named {
 public:
  virtual ~Named() = default;
  virtual std::string name() const = 0;
};

inline std::string nameOf(const vx::Object *p_o) {
  const Named *p_named = dynamic_cast<const Named *>(p_o);
  return p_named != nullptr ? p_named->name() : "?";
}

// An object with a name and a unit box (corner (0,0), extents 1), placed at a
// position, that journals its events, draws and deletion. `on_event` runs
// after the event is journaled.
class Recorder : public vx::Object, public Named {
 private:
  std::string m_name;

 public:
  std::function<void(Recorder *, const vx::Event *)> on_event;

  Recorder(std::string name, vx::Vector position, vx::Solidness solidness = vx::HARD)
      : m_name(std::move(name)) {
    setBox(vx::Box(vx::Vector(0, 0), 1, 1));
    setPosition(position);
    setSolidness(solidness);
  }

  ~Recorder() override { journal().push_back("~" + m_name); }

  std::string name() const override { return m_name; }

  int eventHandler(const vx::Event *p_e) override {
    std::string entry = m_name + " " + p_e->getType();
    if (p_e->getType() == vx::COLLISION_EVENT) {
      const auto *p_c = static_cast<const vx::EventCollision *>(p_e);
      entry += " " + nameOf(p_c->getObject1()) + ">" + nameOf(p_c->getObject2()) + " at " +
               p_c->getPosition().toString();
    }
    journal().push_back(entry);
    if (on_event)
      on_event(this, p_e);
    return 1;
  }

  int draw() override {
    journal().push_back("draw " + m_name);
    return 0;
  }
};

// A started world 80 x 24 cells with the view on all of it, and a log of its
// own. The world is shut down (deleting what is left) at the end of the test.
class WorldFixture : public ::testing::Test {
 protected:
  LogCapture m_log;
  vx::WorldManager &m_world = vx::WorldManager::getInstance();

  void SetUp() override {
    journal().clear();
    ASSERT_EQ(m_world.startUp(), 0);
    m_world.setBoundary(vx::Box(vx::Vector(0, 0), 80, 24));
    m_world.setView(vx::Box(vx::Vector(0, 0), 80, 24));
  }

  void TearDown() override {
    if (m_world.isStarted())
      m_world.shutDown();
  }
};

} // namespace vxtest

#endif // VX_WORLD_TEST_SUPPORT_H
