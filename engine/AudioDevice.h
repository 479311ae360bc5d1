/// \file
/// Whether the audio library has an output device to play on.
#ifndef VX_AUDIO_DEVICE_H
#define VX_AUDIO_DEVICE_H

namespace vx {

/// Whether the audio library could open an output device. Asked once, before the first sound or
/// music is played; without a device every sound and music stays silent and the log says so
/// once.
class AudioDevice {
 public:
  /// True when the audio library opened an output device. Only meaningful
  /// while a sound or music is loaded: the library opens its device with the
  /// first of them and closes it with the last.
  ///
  /// Without a device (no sound card, no sound server, or no driver OpenAL can
  /// use) every playback call fails, and the audio library reports each failure
  /// on its one error stream, from the game's thread and from a playing music's
  /// streaming thread at once: the stream's buffer is not made for that and the
  /// heap is corrupted within seconds. Sounds and music therefore stay silent
  /// when this is false. The first time it is false, writes one log line saying so.
  static bool isOpen();

  /// Whether an output device can be opened at all, found out once per process
  /// when first asked, by opening the default device and closing it again with
  /// standard error silenced: without a sound card, the libraries under the
  /// audio library write screenfuls of complaints there, and the audio library
  /// adds one for every buffer it then fails to make. Sounds and music make no
  /// audio objects when this is false. The first time it is false, writes the
  /// log line isOpen() would.
  static bool isAvailable();
};

} // namespace vx

#endif // VX_AUDIO_DEVICE_H
