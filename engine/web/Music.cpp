// The browser's music: the game's pieces are short synthesized WAV files, so
// each is decoded whole into an OpenAL buffer instead of streamed.
#include "Music.h"

#include "LogManager.h"
#include "OpenALVoice.h"

namespace vx {

struct Music::Stream {
  OpenALVoice voice;
};

Music::Music() : m_label("[Undefined]"), m_silent(false) {}

Music::~Music() = default;

int Music::loadMusic(const std::string &filename) {
  // Like any failed open: whatever was open is closed.
  m_p_stream = std::make_unique<Stream>();
  if (m_p_stream->voice.load(filename) != 0) {
    m_p_stream.reset();
    return -1;
  }
  return 0;
}

void Music::setLabel(const std::string &label) { m_label = label; }

std::string Music::getLabel() const { return m_label; }

void Music::play(bool loop) {
  LogManager::getInstance().writeLog(5, "Music::play(): Playing music.");
  if (isAudible())
    m_p_stream->voice.play(loop);
}

void Music::pause() {
  LogManager::getInstance().writeLog(5, "Music::pause(): Pausing music.");
  if (isAudible())
    m_p_stream->voice.pause();
}

void Music::stop() {
  LogManager::getInstance().writeLog(5, "Music::stop(): Stopping music.");
  if (isAudible())
    m_p_stream->voice.stop();
}

void Music::unload() {
  m_p_stream.reset();
  m_silent = false;
}

bool Music::isAudible() const { return m_p_stream != nullptr; }

bool Music::isLoaded() const { return isAudible(); }

bool Music::isPlaying() const { return isAudible() && m_p_stream->voice.isPlaying(); }

bool Music::isPaused() const { return isAudible() && m_p_stream->voice.isPaused(); }

bool Music::isLooping() const { return isAudible() && m_p_stream->voice.isLooping(); }

float Music::getPlayingOffset() const {
  return isAudible() ? m_p_stream->voice.getOffset() : 0.0f;
}

} // namespace vx
