// A WAV file decoded whole into an OpenAL buffer, and the source that plays
// it: the browser's sounds and music (OpenAL over the page's Web Audio). The
// page starts its audio with the player's first key or click: looping music
// played before waits for it, other sounds played before are left out.
#ifndef VX_OPENAL_VOICE_H
#define VX_OPENAL_VOICE_H

#include <string>

namespace vx {

class OpenALVoice {
 private:
  unsigned int m_buffer = 0; // The samples; 0 until a load succeeds.
  unsigned int m_source = 0; // The voice playing them.
  bool m_looping = false;
  bool m_silent = false;     // Loaded where the page has no audio: nothing plays.

  void release();

 public:
  OpenALVoice() = default;
  ~OpenALVoice();
  OpenALVoice(const OpenALVoice &) = delete;
  OpenALVoice &operator=(const OpenALVoice &) = delete;

  // Decodes an uncompressed PCM WAV file (8 or 16 bits, mono or stereo) into
  // the buffer, replacing what it held. 0, or -1 leaving it as it was.
  int load(const std::string &filename);

  bool isLoaded() const { return m_source != 0 || m_silent; }

  // Starts from the beginning, or resumes when paused, once or looping.
  void play(bool loop);
  void pause();
  // Stops and rewinds.
  void stop();

  bool isPlaying() const;
  bool isPaused() const;
  bool isLooping() const { return isLoaded() && m_looping; }
  // Seconds into the samples.
  float getOffset() const;
};

} // namespace vx

#endif // VX_OPENAL_VOICE_H
