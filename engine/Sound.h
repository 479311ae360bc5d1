/// \file
/// A short sound effect, decoded completely into memory and played on demand.
#ifndef VX_SOUND_H
#define VX_SOUND_H

#include <memory>
#include <string>

namespace vx {

/// A short sound effect, held in memory. Made and owned by the resource manager; games hold
/// plain pointers from ResourceManager::getSound.
class Sound {
 private:
  // The audio library's sample buffer and the voice that plays it. Made on the
  // first load, so an empty slot costs nothing and opens no audio device.
  struct Voice;
  std::unique_ptr<Voice> m_p_voice;
  std::string m_label; // "[Undefined]" until set.
  bool m_silent;       // Loaded without an audio device: checked, nothing made.

  // Loaded, and the audio library has a device to play it on: only then do
  // the library's playback calls reach it (see AudioDevice).
  bool isAudible() const;

 public:
  /// No samples, no voice, label "[Undefined]".
  Sound();
  /// Stops the sound and frees its samples. Only the resource manager deletes sounds.
  ~Sound();
  ///@{
  /// Not copyable: the resource manager hands out pointers.
  Sound(const Sound &) = delete;
  Sound &operator=(const Sound &) = delete;
  ///@}

  /// Decodes the whole file. Loading into a loaded sound replaces the samples
  /// and keeps the same voice. 0, or -1 (no message: the caller reports it).
  int loadSound(const std::string &filename);

  /// Sets the label the resource manager finds it by.
  void setLabel(const std::string &label);
  /// The label the resource manager finds it by.
  std::string getLabel() const;

  /// Starts the sound from the beginning (or resumes it when paused), once or
  /// looping. Does nothing but log when nothing was loaded.
  void play(bool loop = false);
  /// Pauses the sound; does nothing when nothing was loaded.
  void pause();
  /// Stops the sound and rewinds it; does nothing when nothing was loaded.
  void stop();
  /// Gives the samples and the voice back to the audio library, as before the
  /// first load; the label stays. The resource manager does this when it shuts
  /// down, so that no audio object outlives the engine.
  void unload();

  /// Whether a file was loaded, so there is a voice to play.
  bool isLoaded() const;
  /// The voice's state as the audio library reports it; false without a voice.
  bool isPlaying() const;
  /// Whether pause() held it (play() resumes it).
  bool isPaused() const;
  /// Whether it was last played looping.
  bool isLooping() const;
};

} // namespace vx

#endif // VX_SOUND_H
