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
#include "GameAssets.h"
#include "Music.h"
#include "Sound.h"
#include "TestSupport.h"

namespace {

// Effects are short; tunes loop for 8 to 20 seconds.
const double EFFECT_SECONDS[] = {0.1, 3.0};
const double MUSIC_SECONDS[] = {8.0, 20.0};

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
  EXPECT_EQ(written, gameAssets(AssetKind::SOUND).size() + gameAssets(AssetKind::MUSIC).size());

  for (const Asset &asset : gameAssets()) {
    if (asset.kind == AssetKind::SPRITE)
      continue;
    SCOPED_TRACE(asset.file);
    const bool music = asset.kind == AssetKind::MUSIC;
    const std::string path = std::string(VEXLO_RUN_DIR) + "/" + asset.file;
    const std::string bytes = vxtest::readFile(path);
    ASSERT_FALSE(bytes.empty());
    EXPECT_TRUE(bytes == vxtest::readFile(again.file(std::filesystem::path(asset.file).filename())));

    if (music) {
      vx::Music music;
      EXPECT_EQ(music.loadMusic(path), 0);
    } else {
      vx::Sound sound;
      EXPECT_EQ(sound.loadSound(path), 0);
    }

    sf::SoundBuffer buffer;
    ASSERT_TRUE(buffer.loadFromFile(path));
    const double seconds = buffer.getDuration().asSeconds();
    EXPECT_GE(seconds, (music ? MUSIC_SECONDS : EFFECT_SECONDS)[0]);
    EXPECT_LE(seconds, (music ? MUSIC_SECONDS : EFFECT_SECONDS)[1]);

    const sf::Int16 *samples = buffer.getSamples();
    const std::size_t count = buffer.getSampleCount();
    ASSERT_GT(count, 0u);
    double sum = 0.0;
    for (std::size_t i = 0; i < count; i++)
      sum += (samples[i] / 32768.0) * (samples[i] / 32768.0);
    EXPECT_GT(std::sqrt(sum / count), MIN_RMS);
    if (music) {
      EXPECT_LE(std::fabs(samples[0] / 32768.0), MAX_SEAM);
      EXPECT_LE(std::fabs(samples[count - 1] / 32768.0), MAX_SEAM);
    }
  }
}

} // namespace
