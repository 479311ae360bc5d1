#include "AudioDevice.h"

#include <fcntl.h>
#include <unistd.h>

#include <alc.h>
#include <cstdio>

#include "LogManager.h"

namespace vx {

namespace {

// The one log line for a machine without an audio device.
void reportNoDevice() {
  static bool s_reported = false;
  if (s_reported)
    return;
  s_reported = true;
  LogManager::getInstance().writeLog(
      "AudioDevice::isOpen(): Warning! No audio device could be opened: sounds and music are "
      "silent.");
}

// Runs the call with standard error pointed at /dev/null.
template <typename F> void withoutStandardError(F call) {
  std::fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  const bool redirected = saved != -1 && null != -1 && dup2(null, STDERR_FILENO) != -1;
  call();
  std::fflush(stderr);
  if (redirected)
    dup2(saved, STDERR_FILENO);
  if (null != -1)
    close(null);
  if (saved != -1)
    close(saved);
}

} // namespace

bool AudioDevice::isOpen() {
  // The audio library makes its context current when it opens its device, and
  // has none when the device could not be opened.
  const bool open = alcGetCurrentContext() != nullptr;
  if (!open)
    reportNoDevice();
  return open;
}

bool AudioDevice::isAvailable() {
  static int s_available = -1;
  if (s_available < 0) {
    withoutStandardError([] {
      ALCdevice *p_device = alcOpenDevice(nullptr);
      s_available = p_device != nullptr;
      if (p_device != nullptr)
        alcCloseDevice(p_device);
    });
  }
  if (s_available == 0)
    reportNoDevice();
  return s_available != 0;
}

} // namespace vx
