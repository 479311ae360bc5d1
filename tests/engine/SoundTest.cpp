#include "Sound.h"

#include <gtest/gtest.h>

#include <memory>

#include "AudioTestSupport.h"
#include "TestSupport.h"

namespace {

// Every test makes its audio output (an AudioOutput) before it touches a sound,
// since OpenAL reads its configuration once per process.
class SoundTest : public ::testing::Test {
 protected:
  vxtest::LogCapture m_log;
  vxtest::TempDir m_dir;
  std::string m_short = m_dir.file("short.wav"); // 0.2 s of 440 Hz
  std::string m_long = m_dir.file("long.wav");   // 3 s of 440 Hz

  void SetUp() override {
    vxtest::writeSineWav(m_short, 0.2);
    vxtest::writeSineWav(m_long, 3.0);
  }

  // The sound classes write nothing of their own at the log's level.
  void expectNoSoundMessages() const { EXPECT_EQ(m_log.count("Sound::"), 0); }
};

TEST_F(SoundTest, EmptySlotsAreCheapAndPlayNothing) {
  const std::string recording = m_dir.file("out.wav");
  vxtest::AudioOutput output = vxtest::AudioOutput::recording(recording);
  {
    std::unique_ptr<vx::Sound[]> slots(new vx::Sound[100]);
    for (int i = 0; i < 100; i++) {
      vx::Sound &s = slots[i];
      EXPECT_EQ(s.getLabel(), "[Undefined]");
      EXPECT_FALSE(s.isLoaded());
      s.play(false);
      s.play(true);
      s.pause();
      s.stop();
      EXPECT_FALSE(s.isPlaying());
      EXPECT_FALSE(s.isPaused());
      EXPECT_FALSE(s.isLooping());
    }
  }
  // No audio device was opened: the recording device would have made its file.
  EXPECT_EQ(vxtest::readFile(recording), "");
  // "Sound::play(): Playing sound." is a level-5 message, below the log's level.
  expectNoSoundMessages();
}

TEST_F(SoundTest, LabelIsKeptExactly) {
  vx::Sound s;
  s.setLabel("swat");
  EXPECT_EQ(s.getLabel(), "swat");
  s.setLabel("Love fly");
  EXPECT_EQ(s.getLabel(), "Love fly");
  s.setLabel("");
  EXPECT_EQ(s.getLabel(), "");
}

TEST_F(SoundTest, LoadsWavFileWithoutTouchingLabel) {
  vxtest::AudioOutput output = vxtest::AudioOutput::silent();
  vx::Sound s;
  s.setLabel("swat");
  EXPECT_EQ(s.loadSound(m_short), 0);
  EXPECT_TRUE(s.isLoaded());
  EXPECT_FALSE(s.isPlaying());
  EXPECT_EQ(s.getLabel(), "swat");
  expectNoSoundMessages();
}

TEST_F(SoundTest, MissingOrCorruptFileFailsWithoutMessage) {
  vxtest::AudioOutput output = vxtest::AudioOutput::silent();
  const std::string garbage = m_dir.file("garbage.wav");
  vxtest::writeFile(garbage, "this is not a sound file\n");
  const std::string truncated = m_dir.file("truncated.wav");
  vxtest::writeFile(truncated, vxtest::sineWav(0.2).substr(0, 30));
  const std::string empty = m_dir.file("empty.wav");
  vxtest::writeFile(empty, "");

  vx::Sound s;
  for (const std::string &file : {m_dir.file("missing.wav"), garbage, truncated, empty, m_dir.path()}) {
    EXPECT_EQ(s.loadSound(file), -1) << file;
    EXPECT_FALSE(s.isLoaded()) << file;
  }
  s.play(false);
  EXPECT_FALSE(s.isPlaying());
  expectNoSoundMessages();

  // The slot is as good as new: the next load fills it.
  EXPECT_EQ(s.loadSound(m_short), 0);
  EXPECT_TRUE(s.isLoaded());
}

TEST_F(SoundTest, FailedReloadKeepsTheLoadedSamples) {
  vxtest::AudioOutput output = vxtest::AudioOutput::silent();
  vx::Sound s;
  ASSERT_EQ(s.loadSound(m_short), 0);
  EXPECT_EQ(s.loadSound(m_dir.file("missing.wav")), -1);
  EXPECT_TRUE(s.isLoaded());
  s.play(false);
  EXPECT_TRUE(s.isPlaying());
}

TEST_F(SoundTest, PlayOnceEndsAfterItsLength) {
  vxtest::AudioOutput output = vxtest::AudioOutput::silent();
  vx::Sound s;
  ASSERT_EQ(s.loadSound(m_short), 0);
  s.play(false);
  EXPECT_TRUE(s.isPlaying());
  EXPECT_FALSE(s.isLooping());
  EXPECT_TRUE(vxtest::waitFor([&] { return !s.isPlaying(); }));
  EXPECT_FALSE(s.isPaused());
  expectNoSoundMessages();
}

TEST_F(SoundTest, LoopingRunsUntilPausedOrStopped) {
  vxtest::AudioOutput output = vxtest::AudioOutput::silent();
  vx::Sound s;
  ASSERT_EQ(s.loadSound(m_short), 0);
  s.play(true);
  EXPECT_TRUE(s.isLooping());
  vxtest::sleepSeconds(0.5); // more than twice the sound's length
  EXPECT_TRUE(s.isPlaying());

  s.pause();
  EXPECT_TRUE(s.isPaused());
  vxtest::sleepSeconds(0.3);
  EXPECT_TRUE(s.isPaused());

  s.play(true);
  EXPECT_TRUE(s.isPlaying());
  s.stop();
  EXPECT_FALSE(s.isPlaying());
  EXPECT_FALSE(s.isPaused());
  s.stop(); // stopping a stopped sound is harmless
  EXPECT_FALSE(s.isPlaying());

  // Playing once again switches the looping off.
  s.play(false);
  EXPECT_FALSE(s.isLooping());
  EXPECT_TRUE(vxtest::waitFor([&] { return !s.isPlaying(); }));
}

TEST_F(SoundTest, ReloadReplacesSamplesAndKeepsTheVoice) {
  vxtest::AudioOutput output = vxtest::AudioOutput::silent();
  vx::Sound s;
  ASSERT_EQ(s.loadSound(m_short), 0);
  s.play(true);
  ASSERT_EQ(s.loadSound(m_long), 0);
  // The voice survived the reload: it still has the looping it was given.
  EXPECT_TRUE(s.isLooping());

  // The longer samples play now: still going well after the short sound's end.
  s.play(false);
  vxtest::sleepSeconds(0.6);
  EXPECT_TRUE(s.isPlaying());
  s.stop();
  EXPECT_FALSE(s.isPlaying());
}

TEST_F(SoundTest, WithoutAudioDeviceEverythingIsHarmless) {
  vxtest::AudioOutput output = vxtest::AudioOutput::none();
  vx::Sound s;
  // The samples still decode, so the game keeps its resources and runs silent.
  EXPECT_EQ(s.loadSound(m_short), 0);
  EXPECT_TRUE(s.isLoaded());
  s.play(true);
  s.pause();
  s.stop();
  s.play(false);
  EXPECT_FALSE(s.isPlaying());
  expectNoSoundMessages();
}

TEST_F(SoundTest, PlayedSoundReachesTheAudioOutput) {
  const std::string recording = m_dir.file("out.wav");
  vxtest::AudioOutput output = vxtest::AudioOutput::recording(recording);
  {
    vx::Sound s;
    ASSERT_EQ(s.loadSound(m_short), 0);
    vxtest::sleepSeconds(0.1); // a stretch of silence first
    s.play(false);
    ASSERT_TRUE(vxtest::waitFor([&] { return !s.isPlaying(); }));
    vxtest::sleepSeconds(0.1);
  } // the last sound is gone: the device closes and completes its file

  vxtest::WavData wav;
  ASSERT_TRUE(vxtest::readWav(recording, wav));
  EXPECT_GT(wav.channels, 0);
  EXPECT_GE(wav.seconds(), 0.35);
  // The 0.2 s tone was heard once: not silence, not a loop.
  const double audible = vxtest::audibleSeconds(wav);
  EXPECT_GE(audible, 0.15);
  EXPECT_LE(audible, 0.3);
}

} // namespace
