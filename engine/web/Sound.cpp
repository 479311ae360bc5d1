// The browser's sound: the whole file in an OpenAL buffer (OpenALVoice).
#include "Sound.h"

#include "LogManager.h"
#include "OpenALVoice.h"

namespace vx {

struct Sound::Voice {
  OpenALVoice voice;
};

Sound::Sound() : m_label("[Undefined]"), m_silent(false) {}

Sound::~Sound() = default;

int Sound::loadSound(const std::string &filename) {
  std::unique_ptr<Voice> p_voice = m_p_voice ? std::move(m_p_voice) : std::make_unique<Voice>();
  const int result = p_voice->voice.load(filename);
  if (result == 0 || p_voice->voice.isLoaded())
    m_p_voice = std::move(p_voice); // On failure a loaded sound keeps its samples.
  return result;
}

void Sound::setLabel(const std::string &label) { m_label = label; }

std::string Sound::getLabel() const { return m_label; }

void Sound::play(bool loop) {
  LogManager::getInstance().writeLog(5, "Sound::play(): Playing sound.");
  if (isAudible())
    m_p_voice->voice.play(loop);
}

void Sound::pause() {
  if (isAudible())
    m_p_voice->voice.pause();
}

void Sound::stop() {
  if (isAudible())
    m_p_voice->voice.stop();
}

void Sound::unload() {
  m_p_voice.reset();
  m_silent = false;
}

bool Sound::isAudible() const { return m_p_voice && m_p_voice->voice.isLoaded(); }

bool Sound::isLoaded() const { return isAudible(); }

bool Sound::isPlaying() const { return isAudible() && m_p_voice->voice.isPlaying(); }

bool Sound::isPaused() const { return isAudible() && m_p_voice->voice.isPaused(); }

bool Sound::isLooping() const { return isAudible() && m_p_voice->voice.isLooping(); }

} // namespace vx
