#include "Sound.h"

#include <new>

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/System/Err.hpp>

#include "AudioDevice.h"
#include "LogManager.h"
#include "utility.h"

namespace vx {

// The buffer comes first so that the voice, which refers to it, goes first.
struct Sound::Voice {
  sf::SoundBuffer buffer;            // The decoded samples of the loaded file.
  std::unique_ptr<sf::Sound> p_sound; // The playing voice; null until a load succeeds.
};

Sound::Sound() : m_label("[Undefined]"), m_silent(false) {
  // The audio library reports its errors, even from its destructors, on a
  // stream it makes on first use and destroys at exit. Making that stream now,
  // before this sound (or the manager holding it) is complete, has it destroyed
  // after them, so a sound destroyed at exit never writes to a dead stream.
  sf::err();
}

Sound::~Sound() = default;

int Sound::loadSound(const std::string &filename) {
  // Only regular files reach the audio library: its decoders never return
  // from reading a directory.
  if (!isRegularFile(filename)) {
    return -1;
  }
  // A header that declares more samples than the file holds would have the
  // audio library allocate them all (up to 4 GB) before finding out.
  if (!riffChunksFit(filename))
    return -1;
  // Without a device the file is only checked to decode: a buffer would fail
  // to be made, with a message on standard error each time.
  if (!AudioDevice::isAvailable()) {
    sf::InputSoundFile file;
    if (!file.openFromFile(filename))
      return -1;
    m_silent = true;
    return 0;
  }
  // The audio library opens its device with the first buffer: not before a
  // file is actually loaded.
  if (!m_p_voice) {
    m_p_voice.reset(new (std::nothrow) Voice);
    if (!m_p_voice) {
      return -1;
    }
  }
  // On failure the buffer keeps whatever samples it held before.
  if (!m_p_voice->buffer.loadFromFile(filename)) {
    if (!m_p_voice->p_sound) {
      m_p_voice.reset(); // Nothing loaded yet: give the device back.
    }
    return -1;
  }
  if (m_p_voice->p_sound) {
    m_p_voice->p_sound->setBuffer(m_p_voice->buffer);
  } else {
    m_p_voice->p_sound.reset(new (std::nothrow) sf::Sound(m_p_voice->buffer));
    if (!m_p_voice->p_sound) {
      LogManager::getInstance().writeLog("Sound::loadSound(): Error! Cannot allocate m_p_sound.");
      return -1;
    }
  }
  return 0;
}

void Sound::setLabel(const std::string &label) { m_label = label; }

std::string Sound::getLabel() const { return m_label; }

void Sound::play(bool loop) {
  LogManager::getInstance().writeLog(5, "Sound::play(): Playing sound.");
  if (isAudible()) {
    // The looping goes first, so that even a very short sound cannot reach
    // its end before it is told to go round.
    m_p_voice->p_sound->setLoop(loop);
    m_p_voice->p_sound->play();
  }
}

void Sound::pause() {
  if (isAudible()) {
    m_p_voice->p_sound->pause();
  }
}

void Sound::stop() {
  if (isAudible()) {
    m_p_voice->p_sound->stop();
  }
}

void Sound::unload() {
  m_p_voice.reset();
  m_silent = false;
}

bool Sound::isAudible() const {
  return m_p_voice && m_p_voice->p_sound && AudioDevice::isOpen();
}

bool Sound::isLoaded() const { return m_silent || (m_p_voice && m_p_voice->p_sound); }

bool Sound::isPlaying() const {
  return isAudible() && m_p_voice->p_sound->getStatus() == sf::SoundSource::Playing;
}

bool Sound::isPaused() const {
  return isAudible() && m_p_voice->p_sound->getStatus() == sf::SoundSource::Paused;
}

bool Sound::isLooping() const { return isAudible() && m_p_voice->p_sound->getLoop(); }

} // namespace vx
