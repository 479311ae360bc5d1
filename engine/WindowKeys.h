/// \file
/// The window's keys and mouse buttons as the engine knows them: the table
/// that translates the window library's keys, names them for the log and
/// lists the keys sampled while held. Part of the window display.
#ifndef VX_WINDOW_KEYS_H
#define VX_WINDOW_KEYS_H

#include <string>
#include <vector>

#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>

#include "EventKeyboard.h"
#include "EventMouse.h"

namespace vx {

/// The engine key for a window key, or UNDEFINED_KEY.
Keyboard::Key translateKey(sf::Keyboard::Key library_key);

/// A readable name of a window key, for log lines.
std::string describeKey(sf::Keyboard::Key library_key);

/// The engine button for a window mouse button, or UNDEFINED_MOUSE_BUTTON.
Mouse::Button translateButton(sf::Mouse::Button library_button);

/// The engine keyboard event for a window key-pressed or key-released event,
/// with the key translated and the action left undefined.
EventKeyboard windowKeyboardEvent(const sf::Event &event);

/// Appends the engine key of every sampled key that is down, in the order of
/// sampledKeys().
void heldKeys(std::vector<Keyboard::Key> &keys);

} // namespace vx

#endif // VX_WINDOW_KEYS_H
