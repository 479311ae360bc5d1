// The network manager: its life cycle, the event types it keeps, and the
// engine starting it only when networking is on.
#include <gtest/gtest.h>

#include "EventNetwork.h"
#include "EventStep.h"
#include "EventView.h"
#include "GameManager.h"
#include "NetworkManager.h"
#include "Object.h"
#include "TestSupport.h"
#include "WorldManager.h"

namespace {

const std::vector<std::string> NETWORK_TYPES = {
    "vx-network",        "vx-keyboard-network", "vx-mouse-network",     "vx-network-create",
    "vx-custom-network", "vx-network-delete",   "vx-network-game-over", "vx-network-sync"};

TEST(NetworkManagerTest, KeepsExactlyTheNetworkEventTypes) {
  vxtest::LogCapture log;
  const vx::NetworkManager &network = vx::NetworkManager::getInstance();
  EXPECT_EQ(network.getType(), "NetworkManager");
  for (const std::string &type : NETWORK_TYPES)
    EXPECT_TRUE(network.isValid(type)) << type;
  for (const std::string &type : {vx::STEP_EVENT, vx::VIEW_EVENT, std::string("vx-network-"),
                                  std::string("network"), std::string("")})
    EXPECT_FALSE(network.isValid(type)) << type;
  EXPECT_EQ(log.count("NetworkManager::isValid(): Error! NetworkManager does not handle "), 5);
  EXPECT_EQ(log.count("NetworkManager does not handle vx-step."), 1);
}

TEST(NetworkManagerTest, StartsOnce) {
  vxtest::LogCapture log;
  vx::NetworkManager &network = vx::NetworkManager::getInstance();
  EXPECT_FALSE(network.isStarted());
  EXPECT_EQ(network.startUp(), 0);
  EXPECT_EQ(network.startUp(), -1);
  EXPECT_EQ(log.count("NetworkManager::startup(): Warning! NetworkManager already started."), 1);
  network.shutDown();
  EXPECT_FALSE(network.isStarted());
}

TEST(NetworkManagerTest, ObjectsRegisterForNetworkEventsHere) {
  vxtest::LogCapture log;
  ASSERT_EQ(vx::WorldManager::getInstance().startUp(), 0);
  vx::Object *p_o = new vx::Object;
  for (const std::string &type : NETWORK_TYPES)
    ASSERT_EQ(p_o->registerInterest(type), 0) << type;
  EXPECT_EQ(vx::NetworkManager::getInstance().getEventCount(), 8);
  EXPECT_EQ(vx::WorldManager::getInstance().getEventCount(), 0);
  vx::WorldManager::getInstance().shutDown(); // Deleting the object unregisters it.
  EXPECT_EQ(vx::NetworkManager::getInstance().getEventCount(), 0);
}

// Starts the engine with the given networking setting and reports whether the
// network manager ran, and whether it still runs after the engine stopped.
void runEngine(bool networking, bool start_network_first, bool &started, bool &after) {
  vxtest::TempDir dir;
  vxtest::writeFile(dir.file("vx-config.txt"), std::string("headless:true,\nnetworking:") +
                                                   (networking ? "true" : "false") + ",\n");
  vxtest::ScopedEnv config("VEXLO_CONFIG", dir.file("vx-config.txt"));
  vxtest::ScopedEnv log("VEXLO_LOG", dir.file("vexlo.log"));
  vx::NetworkManager &network = vx::NetworkManager::getInstance();
  if (start_network_first)
    network.startUp();
  ASSERT_EQ(vx::GameManager::getInstance().startUp(), 0);
  started = network.isStarted();
  vx::GameManager::getInstance().shutDown();
  after = network.isStarted();
}

TEST(NetworkManagerTest, EngineStartsAndStopsItWhenNetworkingIsOn) {
  bool started = false, after = true;
  runEngine(true, false, started, after);
  EXPECT_TRUE(started);
  EXPECT_FALSE(after);
}

TEST(NetworkManagerTest, EngineLeavesItAloneWhenNetworkingIsOff) {
  bool started = true, after = true;
  runEngine(false, false, started, after);
  EXPECT_FALSE(started);

  // Started by someone else, it is not stopped by the engine either.
  runEngine(false, true, started, after);
  EXPECT_TRUE(after);
  vx::NetworkManager::getInstance().shutDown();
}

} // namespace
