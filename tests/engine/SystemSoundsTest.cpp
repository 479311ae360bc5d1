// Sound files no one here wrote: the WAV files Debian's alsa-utils installs
// load and play whole through Sound and Music, as the recording of what the
// audio device played shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "AudioTestSupport.h"
#include "Music.h"
#include "Sound.h"
#include "TestSupport.h"

namespace {

const char *const SOUND_DIR = "/usr/share/sounds/alsa/";
const char *const FILES[] = {"Front_Center.wav", "Front_Left.wav", "Front_Right.wav",
                             "Noise.wav",        "Rear_Center.wav", "Rear_Left.wav",
                             "Rear_Right.wav",   "Side_Left.wav",   "Side_Right.wav"};

// Seconds of clearly audible sound: the 10 ms stretches louder than a tenth of
// the loudest, since the device mixes a mono file into its channels at a lower
// level. Silence before, after and between (a stream that ran dry for a moment
// on a busy machine) does not count.
double loudSeconds(const vxtest::WavData &wav) {
  const size_t window = static_cast<size_t>(wav.rate / 100) * static_cast<size_t>(wav.channels);
  std::vector<double> levels;
  for (size_t start = 0; window > 0 && start + window <= wav.samples.size(); start += window) {
    double sum = 0.0;
    for (size_t i = start; i < start + window; i++)
      sum += double(wav.samples[i]) * wav.samples[i];
    levels.push_back(std::sqrt(sum / double(window)));
  }
  if (levels.empty())
    return 0.0;
  const double threshold = 0.1 * *std::max_element(levels.begin(), levels.end());
  return static_cast<double>(std::count_if(levels.begin(), levels.end(),
                                           [threshold](double level) { return level > threshold; })) /
         100.0;
}

// Plays a loaded sound or music once to its end. Returns false when it was
// not loaded or did not finish in time.
struct Player {
  const char *name;
  std::function<bool(const std::string &file)> playWhole;
};

template <typename Audio, int (Audio::*LOAD)(const std::string &)>
bool playWhole(const std::string &file) {
  Audio audio;
  if ((audio.*LOAD)(file) != 0)
    return false;
  audio.play(false);
  if (!audio.isPlaying() || !vxtest::waitFor([&] { return !audio.isPlaying(); }))
    return false;
  vxtest::sleepSeconds(0.1); // the device's own buffer drains into the recording
  return true;
} // the last audio object is gone: the device closes and completes its file

TEST(SystemSounds, DebianWavFilesPlayWholeThroughSoundAndMusic) {
  vxtest::LogCapture log;
  vxtest::TempDir dir;
  const std::string recording = dir.file("played.wav");
  vxtest::AudioOutput output = vxtest::AudioOutput::recording(recording);
  const Player players[] = {{"Sound", playWhole<vx::Sound, &vx::Sound::loadSound>},
                            {"Music", playWhole<vx::Music, &vx::Music::loadMusic>}};
  for (const char *name : FILES) {
    const std::string file = std::string(SOUND_DIR) + name;
    vxtest::WavData source;
    ASSERT_TRUE(vxtest::readWav(file, source)) << file << " missing: alsa-utils not installed";
    const double expected = loudSeconds(source);
    ASSERT_GT(expected, 0.3) << file;
    for (const Player &player : players) {
      SCOPED_TRACE(std::string(player.name) + " " + name);
      ASSERT_TRUE(player.playWhole(file));
      // Each opening of the device starts the recording afresh.
      vxtest::WavData played;
      ASSERT_TRUE(vxtest::readWav(recording, played));
      EXPECT_NEAR(loudSeconds(played), expected, 0.1);
      EXPECT_GE(played.seconds(), source.seconds());
    }
  }
  EXPECT_EQ(log.count("Error"), 0);
}

} // namespace
