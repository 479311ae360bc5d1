#include "Music.h"

#include <new>

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/Audio/Music.hpp>
#include <SFML/System/Err.hpp>

#include "AudioDevice.h"
#include "LogManager.h"
#include "utility.h"

namespace vx {

// Exists only while a file is open.
struct Music::Stream {
  sf::Music music;
};

Music::Music() : m_label("[Undefined]"), m_silent(false) {
  // As for a sound: the audio library's error stream must outlive this music,
  // so it is made before this music is complete.
  sf::err();
}

Music::~Music() = default;

int Music::loadMusic(const std::string &filename) {
  // Only regular files reach the audio library: its decoders never return
  // from reading a directory.
  m_silent = false;
  if (!isRegularFile(filename)) {
    m_p_stream.reset(); // Like any failed open: whatever was open is closed.
    return -1;
  }
  // Without a device the file is only checked to decode (see Sound).
  if (!AudioDevice::isAvailable()) {
    m_p_stream.reset();
    sf::InputSoundFile file;
    m_silent = file.openFromFile(filename);
    return m_silent ? 0 : -1;
  }
  // The audio library opens its device with the first stream: not before a
  // file is actually loaded.
  if (!m_p_stream) {
    m_p_stream.reset(new (std::nothrow) Stream);
    if (!m_p_stream) {
      return -1;
    }
  }
  // A failed open has already stopped and closed the previous file, so the
  // stream is dropped: the music counts as unopened until the next success,
  // and the device is given back.
  if (!m_p_stream->music.openFromFile(filename)) {
    m_p_stream.reset();
    return -1;
  }
  return 0;
}

void Music::setLabel(const std::string &label) { m_label = label; }

std::string Music::getLabel() const { return m_label; }

void Music::play(bool loop) {
  LogManager::getInstance().writeLog(5, "Music::play(): Playing music.");
  if (isAudible()) {
    // The looping goes first: the library decides at the end of the data
    // whether to go round, and a short piece may get there at once.
    m_p_stream->music.setLoop(loop);
    m_p_stream->music.play();
  }
}

void Music::pause() {
  LogManager::getInstance().writeLog(5, "Music::pause(): Pausing music.");
  if (isAudible()) {
    m_p_stream->music.pause();
  }
}

void Music::stop() {
  LogManager::getInstance().writeLog(5, "Music::stop(): Stopping music.");
  if (isAudible()) {
    m_p_stream->music.stop();
  }
}

void Music::unload() {
  m_p_stream.reset();
  m_silent = false;
}

bool Music::isAudible() const { return m_p_stream != nullptr && AudioDevice::isOpen(); }

bool Music::isLoaded() const { return m_silent || m_p_stream != nullptr; }

bool Music::isPlaying() const {
  return isAudible() && m_p_stream->music.getStatus() == sf::SoundSource::Playing;
}

bool Music::isPaused() const {
  return isAudible() && m_p_stream->music.getStatus() == sf::SoundSource::Paused;
}

bool Music::isLooping() const { return isAudible() && m_p_stream->music.getLoop(); }

float Music::getPlayingOffset() const {
  return isAudible() ? m_p_stream->music.getPlayingOffset().asSeconds() : 0.0f;
}

} // namespace vx
