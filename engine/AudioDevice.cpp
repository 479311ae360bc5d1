#include "AudioDevice.h"

#include <alc.h>

#include "LogManager.h"

namespace vx {

bool AudioDevice::isOpen() {
  // The audio library makes its context current when it opens its device, and
  // has none when the device could not be opened.
  const bool open = alcGetCurrentContext() != nullptr;
  static bool s_reported = false;
  if (!open && !s_reported) {
    s_reported = true;
    LogManager::getInstance().writeLog(
        "AudioDevice::isOpen(): Warning! No audio device could be opened: sounds and music are "
        "silent.");
  }
  return open;
}

} // namespace vx
