/// \file
/// A long piece of music, streamed from its file while it plays.
#ifndef VX_MUSIC_H
#define VX_MUSIC_H

#include <memory>
#include <string>

namespace vx {

/// A piece of music streamed from its file while it plays. Made and owned by the resource
/// manager; games hold plain pointers from ResourceManager::getMusic.
class Music {
 private:
  // The audio library's stream. Made on the first load, so an empty slot costs
  // nothing and opens no audio device.
  struct Stream;
  std::unique_ptr<Stream> m_p_stream;
  std::string m_label; // "[Undefined]" until set.
  bool m_silent;       // Opened without an audio device: checked, nothing made.

  // Loaded, and the audio library has a device to play it on: only then do
  // the library's playback calls reach it (see AudioDevice).
  bool isAudible() const;

 public:
  /// An unopened stream, label "[Undefined]".
  Music();
  /// Stops the music and closes its file. Only the resource manager deletes music.
  ~Music();
  ///@{
  /// Not copyable: the resource manager hands out pointers.
  Music(const Music &) = delete;
  Music &operator=(const Music &) = delete;
  ///@}

  /// Opens the file for streaming (stopping whatever this music was playing).
  /// 0, or -1 (no message: the caller reports it).
  int loadMusic(const std::string &filename);

  /// Sets the label the resource manager finds it by.
  void setLabel(const std::string &label);
  /// The label the resource manager finds it by.
  std::string getLabel() const;

  /// Starts the stream (or resumes it when paused), once or looping. Does
  /// nothing but log when no file is open.
  void play(bool loop = false);
  /// Pauses the stream.
  void pause();
  /// Stops the stream and rewinds it.
  void stop();
  /// Closes the file and gives the stream back to the audio library, as before
  /// the first load, without a message; the label stays.
  void unload();

  /// Whether a file is open for streaming.
  bool isLoaded() const;
  /// The stream's state as the audio library reports it; false when not open.
  bool isPlaying() const;
  /// Whether pause() held it (play() resumes it).
  bool isPaused() const;
  /// Whether it was last played looping.
  bool isLooping() const;
  /// Seconds into the piece the stream is; 0 when not open.
  float getPlayingOffset() const;
};

} // namespace vx

#endif // VX_MUSIC_H
