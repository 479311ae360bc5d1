// The sound generator: every sound and tune of the game, as the build wrote it
// into the run directory, loads through the engine, has the length it is
// used for, is audible, loops without a click, and comes out the same on
// every run.
#include <SFML/Audio/SoundBuffer.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>

#include "AudioTestSupport.h"
#include "Music.h"
#include "Sound.h"
#include "TestSupport.h"

namespace {

struct Audio {
  const char *file;
  bool music; // Streamed and looped; otherwise an effect played once.
  double min_seconds;
  double max_seconds;
};

// Effects are short; tunes loop for 8 to 20 seconds.
const Audio AUDIO[] = {
    {"fire.wav", false, 0.1, 3.0},          {"Splat_music.wav", false, 0.1, 3.0},
    {"swat.wav", false, 0.1, 3.0},          {"nuke.wav", false, 0.5, 3.0},
    {"game-over.wav", false, 1.0, 3.0},     {"singleflybuzz.wav", false, 0.5, 3.0},
    {"pointup.wav", false, 0.1, 3.0},       {"LoveFly - Copy.wav", true, 8.0, 20.0},
    {"Minigame.wav", true, 8.0, 20.0},      {"intermission.wav", false, 0.5, 3.0},
    {"Start.wav", true, 8.0, 20.0},
};

// Quieter than this over the whole file counts as silent.
const double MIN_RMS = 0.05;
// A loop's first and last samples may be no louder than this, or the seam clicks.
const double MAX_SEAM = 0.01;

TEST(Soundgen, WritesEveryGameSoundPlayableAndTheSameOnEveryRun) {
  vxtest::AudioOutput output = vxtest::AudioOutput::silent();
  vxtest::TempDir again;
  const std::string command =
      std::string("\"") + VEXLO_SOUNDGEN_PATH + "\" \"" + again.path() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::size_t written = 0;
  for (const auto &entry : std::filesystem::directory_iterator(again.path()))
    written += entry.is_regular_file();
  EXPECT_EQ(written, std::size(AUDIO));

  for (const Audio &audio : AUDIO) {
    SCOPED_TRACE(audio.file);
    const std::string path = std::string(VEXLO_RUN_DIR) + "/sounds/" + audio.file;
    const std::string bytes = vxtest::readFile(path);
    ASSERT_FALSE(bytes.empty());
    EXPECT_TRUE(bytes == vxtest::readFile(again.file(audio.file)));

    if (audio.music) {
      vx::Music music;
      EXPECT_EQ(music.loadMusic(path), 0);
    } else {
      vx::Sound sound;
      EXPECT_EQ(sound.loadSound(path), 0);
    }

    sf::SoundBuffer buffer;
    ASSERT_TRUE(buffer.loadFromFile(path));
    const double seconds = buffer.getDuration().asSeconds();
    EXPECT_GE(seconds, audio.min_seconds);
    EXPECT_LE(seconds, audio.max_seconds);

    const sf::Int16 *samples = buffer.getSamples();
    const std::size_t count = buffer.getSampleCount();
    ASSERT_GT(count, 0u);
    double sum = 0.0;
    for (std::size_t i = 0; i < count; i++)
      sum += (samples[i] / 32768.0) * (samples[i] / 32768.0);
    EXPECT_GT(std::sqrt(sum / count), MIN_RMS);
    if (audio.music) {
      EXPECT_LE(std::fabs(samples[0] / 32768.0), MAX_SEAM);
      EXPECT_LE(std::fabs(samples[count - 1] / 32768.0), MAX_SEAM);
    }
  }
}

} // namespace
