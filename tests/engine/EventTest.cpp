// Every engine event type: type strings, construction values, accessors, the
// network label check and the key texts.
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <vector>

#include "Event.h"
#include "EventCollision.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventNetwork.h"
#include "EventOut.h"
#include "EventPath.h"
#include "EventStep.h"
#include "EventView.h"
#include "Object.h"
#include "TestSupport.h"

TEST(EventBase, DefaultsToUndefinedAndTakesANewType) {
  vx::Event event;
  EXPECT_EQ(event.getType(), "vx-undefined");
  EXPECT_EQ(vx::UNDEFINED_EVENT, "vx-undefined");
  event.setType("vx-step");
  EXPECT_EQ(event.getType(), "vx-step");
}

TEST(EventTypes, EachClassCarriesItsOwnTypeString) {
  vx::Object a, b;
  const vx::EventStep step(1);
  const vx::EventCollision collision(&a, &b, vx::Vector());
  const vx::EventOut out;
  const vx::EventView view("tag", 0, false);
  const vx::EventKeyboard keyboard;
  const vx::EventMouse mouse;
  const vx::EventPath path;
  const vx::EventNetwork network(0);
  const std::vector<std::pair<const vx::Event *, std::string>> expected = {
      {&step, "vx-step"},   {&collision, "vx-collision"}, {&out, "vx-out"},
      {&view, "vx-view"},   {&keyboard, "vx-keyboard"},   {&mouse, "vx-mouse"},
      {&path, "vx-path"},   {&network, "vx-network"},
  };
  for (const auto &entry : expected)
    EXPECT_EQ(entry.first->getType(), entry.second);

  EXPECT_EQ(vx::STEP_EVENT, "vx-step");
  EXPECT_EQ(vx::COLLISION_EVENT, "vx-collision");
  EXPECT_EQ(vx::OUT_EVENT, "vx-out");
  EXPECT_EQ(vx::VIEW_EVENT, "vx-view");
  EXPECT_EQ(vx::KEYBOARD_EVENT, "vx-keyboard");
  EXPECT_EQ(vx::MSE_EVENT, "vx-mouse");
  EXPECT_EQ(vx::PATH_EVENT, "vx-path");
  EXPECT_EQ(vx::NETWORK_EVENT, "vx-network");
}

TEST(EventTypes, NetworkFamilyStrings) {
  EXPECT_EQ(vx::KEYBOARD_NETWORK_EVENT, "vx-keyboard-network");
  EXPECT_EQ(vx::MOUSE_NETWORK_EVENT, "vx-mouse-network");
  EXPECT_EQ(vx::NETWORK_CREATE_EVENT, "vx-network-create");
  EXPECT_EQ(vx::CUSTOM_NETWORK_EVENT, "vx-custom-network");
  EXPECT_EQ(vx::NETWORK_DELETE_EVENT, "vx-network-delete");
  EXPECT_EQ(vx::NETWORK_GAME_OVER_EVENT, "vx-network-game-over");
  EXPECT_EQ(vx::NETWORK_SYNC_EVENT, "vx-network-sync");
}

TEST(EventTypes, HandlersCanDowncastAfterTheTypeTest) {
  vx::EventView view("Streak", 1, true);
  const vx::Event *p_e = &view;
  ASSERT_EQ(p_e->getType(), vx::VIEW_EVENT);
  const auto *p_view = dynamic_cast<const vx::EventView *>(p_e);
  ASSERT_NE(p_view, nullptr);
  EXPECT_EQ(p_view->getTag(), "Streak");
  EXPECT_EQ(dynamic_cast<const vx::EventMouse *>(p_e), nullptr);
}

TEST(EventStep, CarriesTheStepCount) {
  vx::EventStep step(42);
  EXPECT_EQ(step.getStepCount(), 42);
  step.setStepCount(-3);
  EXPECT_EQ(step.getStepCount(), -3);
}

TEST(EventCollision, KeepsBothObjectsInOrderAndThePosition) {
  vx::Object mover, obstacle;
  const vx::EventCollision event(&mover, &obstacle, vx::Vector(3.5f, -1));
  EXPECT_EQ(event.getObject1(), &mover);
  EXPECT_EQ(event.getObject2(), &obstacle);
  EXPECT_EQ(event.getPosition(), vx::Vector(3.5f, -1));

  // A copy refers to the same objects.
  const vx::EventCollision copy = event;
  EXPECT_EQ(copy.getObject1(), &mover);
  EXPECT_EQ(copy.getType(), "vx-collision");
}

TEST(EventView, CarriesExactlyTheGivenValues) {
  const vx::EventView add("Streak", 1, true);
  EXPECT_EQ(add.getTag(), "Streak");
  EXPECT_EQ(add.getValue(), 1);
  EXPECT_TRUE(add.getDelta());

  const vx::EventView set("Time", -30, false);
  EXPECT_EQ(set.getTag(), "Time");
  EXPECT_EQ(set.getValue(), -30);
  EXPECT_FALSE(set.getDelta());
}

TEST(EventKeyboard, StartsUndefinedAndKeepsWhatIsSet) {
  vx::EventKeyboard event;
  EXPECT_EQ(event.getKey(), -1);
  EXPECT_EQ(event.getKey(), vx::Keyboard::UNDEFINED_KEY);
  EXPECT_EQ(event.getKeyboardAction(), -1);
  EXPECT_EQ(event.getKeyboardAction(), vx::UNDEFINED_KEYBOARD_ACTION);

  event.setKey(vx::Keyboard::Q);
  event.setKeyboardAction(vx::KEY_RELEASED);
  EXPECT_EQ(event.getKey(), vx::Keyboard::Q);
  EXPECT_EQ(event.getKeyboardAction(), vx::KEY_RELEASED);
}

TEST(EventKeyboard, ActionAndKeyCodes) {
  EXPECT_EQ(vx::KEY_PRESSED, 0);
  EXPECT_EQ(vx::KEY_RELEASED, 1);
  EXPECT_EQ(vx::KEY_DOWN, 2);

  EXPECT_EQ(vx::Keyboard::SPACE, 0);
  EXPECT_EQ(vx::Keyboard::PAUSE, 8);
  EXPECT_EQ(vx::Keyboard::MINUS, 9);
  EXPECT_EQ(vx::Keyboard::SEMICOLON, 19);
  EXPECT_EQ(vx::Keyboard::LEFTCONTROL, 20);
  EXPECT_EQ(vx::Keyboard::RIGHTSHIFT, 23);
  EXPECT_EQ(vx::Keyboard::F1, 24);
  EXPECT_EQ(vx::Keyboard::F10, 33);
  EXPECT_EQ(vx::Keyboard::F12, 35);
  EXPECT_EQ(vx::Keyboard::A, 36);
  EXPECT_EQ(vx::Keyboard::P, 51);
  EXPECT_EQ(vx::Keyboard::Q, 52);
  EXPECT_EQ(vx::Keyboard::Z, 61);
  EXPECT_EQ(vx::Keyboard::NUM1, 62);
  EXPECT_EQ(vx::Keyboard::NUM9, 70);
  EXPECT_EQ(vx::Keyboard::NUM0, 71);
  EXPECT_EQ(vx::Keyboard::BACKSPACE, 72);
  EXPECT_EQ(vx::Keyboard::LEFTBRACKET, 74);
  EXPECT_EQ(vx::Keyboard::RIGHTBRACKET, 75);
  EXPECT_EQ(vx::Keyboard::BACKQUOTE, 76);
}

TEST(KeyToString, WholeTable) {
  // Written out by hand, independently of the enumeration.
  const std::vector<std::string> expected = {
      " ", "", "", "", "", "", "", "", "",                                 // 0-8
      "-", "+", "~", ".", ",", "/", "=", "\\", "*", "'", ";",              // 9-19
      "", "", "", "",                                                      // 20-23
      "", "", "", "", "", "", "", "", "", "", "", "",                      // 24-35 F1-F12
      "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",     // 36-48
      "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z",     // 49-61
      "1", "2", "3", "4", "5", "6", "7", "8", "9", "0",                    // 62-71
      "", "", "[", "]", "`",                                               // 72-76
  };
  ASSERT_EQ(expected.size(), 77u);
  for (int key = 0; key <= 76; key++)
    EXPECT_EQ(vx::keyToString(key), expected[static_cast<size_t>(key)]) << "key " << key;
}

TEST(KeyToString, EdgeValues) {
  EXPECT_EQ(vx::keyToString(11), "~");
  EXPECT_EQ(vx::keyToString(76), "`");
  EXPECT_EQ(vx::keyToString(16), "\\");
  EXPECT_EQ(vx::keyToString(16).size(), 1u);
  EXPECT_EQ(vx::keyToString(vx::Keyboard::RETURN), "");
  EXPECT_EQ(vx::keyToString(vx::Keyboard::UNDEFINED_KEY), "");
  EXPECT_EQ(vx::keyToString(73), "");
  EXPECT_EQ(vx::keyToString(77), "");
  EXPECT_EQ(vx::keyToString(-2), "");
  EXPECT_EQ(vx::keyToString(INT_MAX), "");
  EXPECT_EQ(vx::keyToString(INT_MIN), "");
}

TEST(EventMouse, StartsUndefinedAtTheOrigin) {
  vx::EventMouse event;
  EXPECT_EQ(event.getMouseAction(), -1);
  EXPECT_EQ(event.getMouseAction(), vx::UNDEFINED_MOUSE_ACTION);
  EXPECT_EQ(event.getMouseButton(), -1);
  EXPECT_EQ(event.getMouseButton(), vx::Mouse::UNDEFINED_MOUSE_BUTTON);
  EXPECT_EQ(event.getMousePosition(), vx::Vector(0, 0));

  event.setMouseAction(vx::CLICKED);
  event.setMouseButton(vx::Mouse::RIGHT);
  event.setMousePosition(vx::Vector(40, 12.5f));
  EXPECT_EQ(event.getMouseAction(), vx::CLICKED);
  EXPECT_EQ(event.getMouseButton(), vx::Mouse::RIGHT);
  EXPECT_EQ(event.getMousePosition(), vx::Vector(40, 12.5f));
}

TEST(EventMouse, ActionAndButtonCodes) {
  EXPECT_EQ(vx::CLICKED, 0);
  EXPECT_EQ(vx::PRESSED, 1);
  EXPECT_EQ(vx::MOVED, 2);
  EXPECT_EQ(vx::Mouse::LEFT, 0);
  EXPECT_EQ(vx::Mouse::RIGHT, 1);
  EXPECT_EQ(vx::Mouse::MIDDLE, 2);
}

TEST(EventPath, DefaultsToNoPathAndCarriesAPath) {
  const vx::EventPath none;
  EXPECT_EQ(none.getResult(), 0);
  EXPECT_EQ(none.getPath().getCount(), 0);

  vx::Path path;
  path.addPosition(vx::Vector(1, 1));
  path.addPosition(vx::Vector(2, 1));
  vx::EventPath found(2, path);
  EXPECT_EQ(found.getResult(), 2);
  EXPECT_EQ(found.getPath().getPositions(), path.getPositions());

  found.setResult(0);
  found.setPath(vx::Path());
  EXPECT_EQ(found.getResult(), 0);
  EXPECT_TRUE(found.getPath().isDone());
}

TEST(EventNetwork, AcceptsLabelsMinusOneToThreeSilently) {
  vxtest::LogCapture log;
  for (int label = -1; label <= 3; label++) {
    const vx::EventNetwork event(label);
    EXPECT_EQ(event.getLabel(), label);
  }
  EXPECT_EQ(log.count("EventNetwork"), 0);
}

TEST(EventNetwork, RejectsOtherLabelsWithTheUndefinedTypeLine) {
  vxtest::LogCapture log;
  for (int label : {4, -2, 7}) {
    const vx::EventNetwork event(label);
    EXPECT_EQ(event.getLabel(), -1) << label;
  }
  EXPECT_EQ(log.messages(), (std::vector<std::string>{
                                "EventNetwork::setLabel(): Undefined type (4).",
                                "EventNetwork::setLabel(): Undefined type (-2).",
                                "EventNetwork::setLabel(): Undefined type (7).",
                            }));
}

TEST(EventNetwork, SetLabelChecksLikeTheConstructor) {
  vxtest::LogCapture log;
  vx::EventNetwork event(2);
  EXPECT_EQ(event.setLabel(3), 0);
  EXPECT_EQ(event.getLabel(), 3);
  // A bad label does not keep the previous one.
  EXPECT_EQ(event.setLabel(100), -1);
  EXPECT_EQ(event.getLabel(), -1);
  EXPECT_EQ(log.count("EventNetwork::setLabel(): Undefined type (100)."), 1);
}

TEST(EventNetwork, ConnectionFieldsDefaultAndAccessors) {
  vx::EventNetwork event(0);
  EXPECT_EQ(event.getSocketIndex(), -1);
  EXPECT_EQ(event.getBytes(), 0);
  EXPECT_EQ(event.getMessage(), nullptr);

  const char message[] = "hello";
  event.setSocketIndex(2);
  event.setBytes(5);
  event.setMessage(message);
  EXPECT_EQ(event.getSocketIndex(), 2);
  EXPECT_EQ(event.getBytes(), 5);
  EXPECT_EQ(event.getMessage(), static_cast<const void *>(message));
}
