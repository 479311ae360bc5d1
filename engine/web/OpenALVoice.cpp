#include "OpenALVoice.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

#include "utility.h"

// The page's side (web/vexlo-library.js): whether it may play audio yet.
extern "C" int vx_audio_allowed();

namespace vx {

namespace {

std::uint32_t little(const unsigned char *p, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; i--)
    value = (value << 8) | p[i];
  return value;
}

// The samples of a PCM WAV file and how to read them.
struct Wav {
  ALenum format = 0;
  ALsizei rate = 0;
  const unsigned char *p_data = nullptr;
  ALsizei bytes = 0;
};

// Walks the file's chunks for "fmt " and "data"; false unless both are there
// and the format is one OpenAL takes as it is.
bool parseWav(const std::vector<unsigned char> &file, Wav &wav) {
  if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
      std::memcmp(file.data() + 8, "WAVE", 4) != 0)
    return false;
  int channels = 0, bits = 0;
  std::size_t at = 12;
  while (at + 8 <= file.size()) {
    const unsigned char *p_chunk = file.data() + at;
    const std::size_t size = little(p_chunk + 4, 4);
    if (size > file.size() - at - 8)
      return false;
    const unsigned char *p_body = p_chunk + 8;
    if (std::memcmp(p_chunk, "fmt ", 4) == 0 && size >= 16) {
      if (little(p_body, 2) != 1) // Only plain PCM.
        return false;
      channels = static_cast<int>(little(p_body + 2, 2));
      wav.rate = static_cast<ALsizei>(little(p_body + 4, 4));
      bits = static_cast<int>(little(p_body + 14, 2));
    } else if (std::memcmp(p_chunk, "data", 4) == 0) {
      wav.p_data = p_body;
      wav.bytes = static_cast<ALsizei>(size);
    }
    at += 8 + size + (size & 1);
  }
  if (channels == 1)
    wav.format = bits == 8 ? AL_FORMAT_MONO8 : bits == 16 ? AL_FORMAT_MONO16 : 0;
  else if (channels == 2)
    wav.format = bits == 8 ? AL_FORMAT_STEREO8 : bits == 16 ? AL_FORMAT_STEREO16 : 0;
  return wav.format != 0 && wav.rate > 0 && wav.p_data != nullptr;
}

ALint sourceState(unsigned int source) {
  ALint state = AL_INITIAL;
  if (source != 0)
    alGetSourcei(source, AL_SOURCE_STATE, &state);
  return state;
}

// The page's one audio context, made with the first file loaded; false when
// the browser gives none (the voices are then silent).
bool audioReady() {
  static const bool s_ready = [] {
    ALCdevice *p_device = alcOpenDevice(nullptr);
    ALCcontext *p_context = p_device != nullptr ? alcCreateContext(p_device, nullptr) : nullptr;
    return p_context != nullptr && alcMakeContextCurrent(p_context) == ALC_TRUE;
  }();
  return s_ready;
}

} // namespace

OpenALVoice::~OpenALVoice() { release(); }

void OpenALVoice::release() {
  if (m_source != 0) {
    alSourceStop(m_source);
    alDeleteSources(1, &m_source);
  }
  if (m_buffer != 0)
    alDeleteBuffers(1, &m_buffer);
  m_source = m_buffer = 0;
}

int OpenALVoice::load(const std::string &filename) {
  if (!isRegularFile(filename))
    return -1;
  // Read in one piece: a character at a time costs more than the decoding.
  std::ifstream in(filename, std::ios::binary | std::ios::ate);
  const std::streamoff size = in.tellg();
  std::vector<unsigned char> file(size > 0 ? static_cast<std::size_t>(size) : 0);
  in.seekg(0);
  if (!in.read(reinterpret_cast<char *>(file.data()), static_cast<std::streamsize>(file.size())))
    return -1;
  Wav wav;
  if (!parseWav(file, wav))
    return -1;
  if (!audioReady()) {
    m_silent = true;
    return 0;
  }
  alGetError();
  ALuint buffer = 0;
  alGenBuffers(1, &buffer);
  if (alGetError() != AL_NO_ERROR)
    return -1;
  alBufferData(buffer, wav.format, wav.p_data, wav.bytes, wav.rate);
  if (alGetError() != AL_NO_ERROR) {
    alDeleteBuffers(1, &buffer);
    return -1;
  }
  if (m_source == 0) {
    alGenSources(1, &m_source);
    if (alGetError() != AL_NO_ERROR) {
      m_source = 0;
      alDeleteBuffers(1, &buffer);
      return -1;
    }
  }
  // A source lets go of its buffer only when stopped.
  alSourceStop(m_source);
  alSourcei(m_source, AL_BUFFER, static_cast<ALint>(buffer));
  if (m_buffer != 0)
    alDeleteBuffers(1, &m_buffer);
  m_buffer = buffer;
  return 0;
}

void OpenALVoice::play(bool loop) {
  if (m_source == 0)
    return;
  // Before the player's first key or click the page's audio is held: a sound
  // played then would wait there and be heard late, at that key, so it is
  // left out. Looping music waits, to start with the first key.
  if (!loop && vx_audio_allowed() == 0)
    return;
  m_looping = loop;
  alSourcei(m_source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
  alSourcePlay(m_source);
}

void OpenALVoice::pause() {
  if (isPlaying())
    alSourcePause(m_source);
}

void OpenALVoice::stop() {
  if (m_source != 0) {
    alSourceStop(m_source);
    alSourceRewind(m_source);
  }
}

bool OpenALVoice::isPlaying() const { return sourceState(m_source) == AL_PLAYING; }

bool OpenALVoice::isPaused() const { return sourceState(m_source) == AL_PAUSED; }

float OpenALVoice::getOffset() const {
  ALfloat seconds = 0;
  if (m_source != 0)
    alGetSourcef(m_source, AL_SEC_OFFSET, &seconds);
  return seconds;
}

} // namespace vx
