// Audio helpers for the tests: writing and reading WAV files, and choosing the
// audio output of the OpenAL library the audio classes play through.
#ifndef VX_AUDIO_TEST_SUPPORT_H
#define VX_AUDIO_TEST_SUPPORT_H

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"

namespace vxtest {

namespace wavdetail {

inline void put16(std::string &out, uint16_t v) {
  out += static_cast<char>(v & 0xff);
  out += static_cast<char>(v >> 8);
}

inline void put32(std::string &out, uint32_t v) {
  put16(out, static_cast<uint16_t>(v & 0xffff));
  put16(out, static_cast<uint16_t>(v >> 16));
}

inline uint32_t get(const std::string &in, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; i--)
    v = (v << 8) | static_cast<unsigned char>(in[at + i]);
  return v;
}

} // namespace wavdetail

// The bytes of a 16-bit mono PCM WAV file holding a sine tone.
inline std::string sineWav(double seconds, double frequency = 440.0, int rate = 44100,
                           double amplitude = 0.5) {
  const uint32_t frames = static_cast<uint32_t>(seconds * rate);
  std::string out = "RIFF";
  wavdetail::put32(out, 36 + frames * 2);
  out += "WAVEfmt ";
  wavdetail::put32(out, 16);
  wavdetail::put16(out, 1); // PCM
  wavdetail::put16(out, 1); // mono
  wavdetail::put32(out, rate);
  wavdetail::put32(out, rate * 2);
  wavdetail::put16(out, 2);
  wavdetail::put16(out, 16);
  out += "data";
  wavdetail::put32(out, frames * 2);
  const double pi = std::acos(-1.0);
  for (uint32_t i = 0; i < frames; i++) {
    double s = amplitude * std::sin(2.0 * pi * frequency * i / rate);
    wavdetail::put16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(s * 32767))));
  }
  return out;
}

inline void writeSineWav(const std::string &path, double seconds) {
  writeFile(path, sineWav(seconds));
}

// A decoded WAV file: interleaved samples scaled to -1..1.
struct WavData {
  int channels = 0;
  int rate = 0;
  std::vector<float> samples;

  double seconds() const {
    return channels && rate ? double(samples.size()) / channels / rate : 0.0;
  }
};

// Reads 16-bit PCM, 32-bit PCM and 32-bit float WAV files, the plain and the
// extensible kind. A data chunk whose size was never filled in (the writer did
// not finish) is read to the end of the file. False when the file is not such
// a WAV file.
inline bool readWav(const std::string &path, WavData &wav) {
  using wavdetail::get;
  const std::string in = readFile(path);
  if (in.size() < 12 || in.compare(0, 4, "RIFF") != 0 || in.compare(8, 4, "WAVE") != 0)
    return false;
  int format = 0, bits = 0;
  size_t at = 12;
  while (at + 8 <= in.size()) {
    const std::string id = in.substr(at, 4);
    size_t size = get(in, at + 4, 4);
    at += 8;
    if (id == "fmt " && size >= 16 && at + size <= in.size()) {
      format = static_cast<int>(get(in, at, 2));
      wav.channels = static_cast<int>(get(in, at + 2, 2));
      wav.rate = static_cast<int>(get(in, at + 4, 4));
      bits = static_cast<int>(get(in, at + 14, 2));
      if (format == 0xfffe && size >= 26)
        format = static_cast<int>(get(in, at + 24, 2)); // the sub-format's tag
    } else if (id == "data") {
      if (size == 0 || at + size > in.size())
        size = in.size() - at;
      const int bytes = bits / 8;
      if (wav.channels <= 0 || (format != 1 && format != 3) || bytes <= 0)
        return false;
      for (size_t p = at; p + bytes <= at + size; p += bytes) {
        uint32_t raw = get(in, p, bytes);
        float value;
        if (format == 3 && bits == 32)
          std::memcpy(&value, &raw, sizeof value);
        else if (format == 1 && bits == 16)
          value = static_cast<int16_t>(raw) / 32768.0f;
        else if (format == 1 && bits == 32)
          value = static_cast<float>(static_cast<int32_t>(raw) / 2147483648.0);
        else
          return false;
        wav.samples.push_back(value);
      }
      return true;
    }
    at += size + (size & 1);
  }
  return false;
}

// How many seconds of the recording are clearly audible: the total length of
// the 10 ms windows whose RMS level exceeds the threshold.
inline double audibleSeconds(const WavData &wav, double threshold = 0.02) {
  if (wav.channels <= 0 || wav.rate <= 0)
    return 0.0;
  const size_t window = static_cast<size_t>(wav.rate / 100) * wav.channels;
  int loud = 0;
  for (size_t start = 0; start + window <= wav.samples.size(); start += window) {
    double sum = 0.0;
    for (size_t i = start; i < start + window; i++)
      sum += double(wav.samples[i]) * wav.samples[i];
    if (std::sqrt(sum / window) > threshold)
      loud++;
  }
  return loud / 100.0;
}

// Chooses the audio output for this test process by pointing ALSOFT_CONF at a
// configuration file of its own. Must be made before the first audio call of
// the process, since OpenAL reads its configuration once.
class AudioOutput {
 private:
  TempDir m_dir;
  ScopedEnv m_env;

  explicit AudioOutput(const std::string &config)
      : m_env("ALSOFT_CONF", m_dir.file("alsoft.conf")) {
    writeFile(m_dir.file("alsoft.conf"), config);
  }

 public:
  // A device that plays into nothing, in real time, as a sound card would.
  static AudioOutput silent() { return AudioOutput("[general]\ndrivers = null\n"); }
  // No device at all: opening one fails, as on a machine without a sound card.
  static AudioOutput none() { return AudioOutput("[general]\ndrivers = wave\n"); }
  // A device that records what it plays into a WAV file; the file is complete
  // once the device closes, i.e. when the last sound or music is destroyed.
  static AudioOutput recording(const std::string &wav_path) {
    return AudioOutput("[general]\ndrivers = wave\n[wave]\nfile = " + wav_path + "\n");
  }
};

// Polls the condition until it holds or the time runs out; its last value.
inline bool waitFor(const std::function<bool()> &condition, double timeout_seconds = 5.0) {
  const auto end = std::chrono::steady_clock::now() +
                   std::chrono::milliseconds(static_cast<int>(timeout_seconds * 1000));
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end)
      return condition();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

inline void sleepSeconds(double seconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(static_cast<int>(seconds * 1000)));
}

} // namespace vxtest

#endif // VX_AUDIO_TEST_SUPPORT_H
