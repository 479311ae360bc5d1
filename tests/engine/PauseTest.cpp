// The pause object without a window: which events it takes, and that the
// pause key only reports the missing window.
#include <gtest/gtest.h>

#include "EventKeyboard.h"
#include "EventStep.h"
#include "Pause.h"
#include "WorldTestSupport.h"

namespace {

using PauseTest = vxtest::WorldFixture;

vx::EventKeyboard keyEvent(vx::Keyboard::Key key, vx::EventKeyboardAction action) {
  vx::EventKeyboard event;
  event.setKey(key);
  event.setKeyboardAction(action);
  return event;
}

} // namespace

TEST_F(PauseTest, OnlyThePauseKeyPausesAndWithoutAWindowItCannot) {
  vx::Pause *p_pause = new vx::Pause(vx::Keyboard::F10);
  EXPECT_EQ(p_pause->getType(), "Pause");
  EXPECT_EQ(p_pause->getSolidness(), vx::SPECTRAL);
  EXPECT_TRUE(m_log.contains("Pause::Pause(): Pause enabled.  Press any other key to resume."));

  const vx::EventStep step(3);
  const vx::EventKeyboard space = keyEvent(vx::Keyboard::SPACE, vx::KEY_PRESSED);
  const vx::EventKeyboard f10_released = keyEvent(vx::Keyboard::F10, vx::KEY_RELEASED);
  const vx::EventKeyboard f10_held = keyEvent(vx::Keyboard::F10, vx::KEY_DOWN);
  struct Case {
    const vx::Event *p_event;
    int result;
    int paused; // How many "Game paused." lines it adds.
  } const cases[] = {{&step, 0, 0}, {&space, 1, 0}, {&f10_released, 0, 1}, {&f10_held, 0, 1}};
  int paused = 0;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.p_event->getType());
    EXPECT_EQ(p_pause->eventHandler(c.p_event), c.result);
    paused += c.paused;
    EXPECT_EQ(m_log.count("Pause::eventHandler(): Game paused."), paused);
    EXPECT_EQ(m_log.count("Pause::eventHandler(): DisplayManager unexpectedly returned null "
                          "window!  Cannot pause."),
              paused);
  }
  EXPECT_FALSE(m_log.contains("Game resumed."));
}
