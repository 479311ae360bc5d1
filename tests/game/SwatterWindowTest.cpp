// The swatter with a real window and pointer (xdotool): it starts where the pointer
// already is, and a click there without any motion swats the fly under it only.
#include <gtest/gtest.h>

#include <SFML/Graphics/RenderWindow.hpp>
#include <chrono>
#include <thread>

#include "DisplayManager.h"
#include "SwatBot.h"
#include "WindowTestSupport.h"

TEST(SwatterWindowTest, StartsUnderTheParkedPointerAndItsClickHitsOnlyTheFlyThere) {
  vxtest::SwatSession session(
      3, true, "headless:false,font_file:" + std::string(VEXLO_RUN_DIR) + "/vx-font.ttf,");
  ASSERT_TRUE(session.started());
  setCurrentMinigame(LAZY);
  // The fly under the pointer, and one whose box only touches the swatter's.
  Fly *p_under = new Fly, *p_beside = new Fly;
  for (Fly *p_fly : {p_under, p_beside})
    p_fly->setVelocity(vx::Vector());
  p_under->setPosition(vx::Vector(20, 10));
  p_beside->setPosition(vx::Vector(23, 10));
  const std::string window = std::to_string(static_cast<unsigned long>(
      vx::DisplayManager::getInstance().getWindow()->getSystemHandle()));
  // Cell (20, 10) is at pixel (256, 320) of a 1024 x 768 window of 80 x 24 cells.
  ASSERT_TRUE(vxtest::runCommand("xdotool mousemove --window " + window + " 256 320"));
  // Reads input, as the game loop does every step, until the condition holds.
  auto readInputUntil = [](const std::function<bool()> &done) {
    for (int i = 0; i < 200 && !done(); i++) {
      vx::InputManager::getInstance().getInput();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  };
  vx::Vector known;
  readInputUntil([&] {
    return vx::InputManager::getInstance().getMousePosition(known) && known == vx::Vector(20, 10);
  });

  // The minigame starts: its swatter is drawn over the fly from the first step.
  Swatter *p_swatter = new Swatter;
  EXPECT_EQ(p_swatter->getPosition(), p_under->getPosition());

  ASSERT_TRUE(vxtest::runCommand("xdotool click 1"));
  readInputUntil([] { return firstObjectOfType(SPLAT_TYPE) != nullptr; });
  vx::WorldManager::getInstance().update();
  const std::vector<vx::Object *> flies = objectsOfTypes({FLY_TYPE});
  ASSERT_EQ(flies.size(), 1u) << "the click did not kill exactly one fly";
  EXPECT_EQ(flies[0], p_beside);
}
