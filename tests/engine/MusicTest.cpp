#include "Music.h"

#include <gtest/gtest.h>

#include <memory>

#include "AudioTestSupport.h"
#include "TestSupport.h"

namespace {

// Every test makes its audio output (an AudioOutput) before it touches a music,
// since OpenAL reads its configuration once per process.
class MusicTest : public ::testing::Test {
 protected:
  vxtest::LogCapture m_log;
  vxtest::TempDir m_dir;
  std::string m_short = m_dir.file("short.wav"); // 0.2 s of 440 Hz

  void SetUp() override { vxtest::writeSineWav(m_short, 0.2); }

  // "Music::play(): Playing music.", "Music::pause(): Pausing music." and
  // "Music::stop(): Stopping music." are level-5 messages, below the log's level.
  void expectNoMusicMessages() const { EXPECT_EQ(m_log.count("Music::"), 0); }
};

TEST_F(MusicTest, EmptySlotsAreCheapAndPlayNothing) {
  const std::string recording = m_dir.file("out.wav");
  vxtest::AudioOutput output = vxtest::AudioOutput::recording(recording);
  {
    std::unique_ptr<vx::Music[]> slots(new vx::Music[50]);
    for (int i = 0; i < 50; i++) {
      vx::Music &m = slots[i];
      EXPECT_EQ(m.getLabel(), "[Undefined]");
      EXPECT_FALSE(m.isLoaded());
      m.play(true);
      m.pause();
      m.stop();
      EXPECT_FALSE(m.isPlaying());
      EXPECT_FALSE(m.isPaused());
      EXPECT_FALSE(m.isLooping());
    }
  }
  // No audio device was opened: the recording device would have made its file.
  EXPECT_EQ(vxtest::readFile(recording), "");
  expectNoMusicMessages();
}

TEST_F(MusicTest, LabelIsKeptExactly) {
  vx::Music m;
  m.setLabel("start music");
  EXPECT_EQ(m.getLabel(), "start music");
  m.setLabel("Mini");
  EXPECT_EQ(m.getLabel(), "Mini");
}

TEST_F(MusicTest, OpensWavFileWithoutTouchingLabel) {
  vxtest::AudioOutput output = vxtest::AudioOutput::silent();
  vx::Music m;
  m.setLabel("love");
  EXPECT_EQ(m.loadMusic(m_short), 0);
  EXPECT_TRUE(m.isLoaded());
  EXPECT_FALSE(m.isPlaying());
  EXPECT_EQ(m.getLabel(), "love");
  expectNoMusicMessages();
}

TEST_F(MusicTest, MissingOrCorruptFileFailsWithoutMessage) {
  vxtest::AudioOutput output = vxtest::AudioOutput::silent();
  const std::string garbage = m_dir.file("garbage.wav");
  vxtest::writeFile(garbage, "this is not a sound file\n");
  const std::string truncated = m_dir.file("truncated.wav");
  vxtest::writeFile(truncated, vxtest::sineWav(0.2).substr(0, 30));

  vx::Music m;
  for (const std::string &file : {m_dir.file("missing.wav"), garbage, truncated, m_dir.path()}) {
    EXPECT_EQ(m.loadMusic(file), -1) << file;
    EXPECT_FALSE(m.isLoaded()) << file;
  }
  m.play(true);
  EXPECT_FALSE(m.isPlaying());
  expectNoMusicMessages();

  // The slot is as good as new: the next load fills it.
  EXPECT_EQ(m.loadMusic(m_short), 0);
  EXPECT_TRUE(m.isLoaded());
}

TEST_F(MusicTest, FailedReloadClosesThePreviousFile) {
  vxtest::AudioOutput output = vxtest::AudioOutput::silent();
  vx::Music m;
  ASSERT_EQ(m.loadMusic(m_short), 0);
  m.play(true);
  EXPECT_TRUE(m.isPlaying());
  EXPECT_EQ(m.loadMusic(m_dir.file("missing.wav")), -1);
  EXPECT_FALSE(m.isLoaded());
  EXPECT_FALSE(m.isPlaying());
  m.play(true);
  EXPECT_FALSE(m.isPlaying());
}

TEST_F(MusicTest, PlayOnceEndsAfterItsLength) {
  vxtest::AudioOutput output = vxtest::AudioOutput::silent();
  vx::Music m;
  ASSERT_EQ(m.loadMusic(m_short), 0);
  m.play(false);
  EXPECT_TRUE(m.isPlaying());
  EXPECT_FALSE(m.isLooping());
  EXPECT_TRUE(vxtest::waitFor([&] { return !m.isPlaying(); }));
  EXPECT_FALSE(m.isPaused());
}

TEST_F(MusicTest, LoopingRunsUntilPausedOrStopped) {
  vxtest::AudioOutput output = vxtest::AudioOutput::silent();
  vx::Music m;
  ASSERT_EQ(m.loadMusic(m_short), 0);
  m.stop(); // stopping a stream that never played is harmless
  EXPECT_FALSE(m.isPlaying());

  m.play(true);
  EXPECT_TRUE(m.isLooping());
  vxtest::sleepSeconds(0.5); // more than twice the music's length
  EXPECT_TRUE(m.isPlaying());

  m.pause();
  EXPECT_TRUE(m.isPaused());
  vxtest::sleepSeconds(0.3);
  EXPECT_TRUE(m.isPaused());

  m.play(true); // resumes, as the start screen does after a game over
  EXPECT_TRUE(m.isPlaying());
  m.stop();
  EXPECT_FALSE(m.isPlaying());
  EXPECT_FALSE(m.isPaused());
  m.stop();
  EXPECT_FALSE(m.isPlaying());
  expectNoMusicMessages();
}

TEST_F(MusicTest, WithoutAudioDeviceEverythingIsHarmless) {
  vxtest::AudioOutput output = vxtest::AudioOutput::none();
  vx::Music m;
  // The file still opens, so the game keeps its resources and runs silent.
  EXPECT_EQ(m.loadMusic(m_short), 0);
  m.play(true);
  m.pause();
  m.stop();
  EXPECT_FALSE(m.isPlaying());
}

TEST_F(MusicTest, LoopingMusicReachesTheAudioOutput) {
  const std::string recording = m_dir.file("out.wav");
  vxtest::AudioOutput output = vxtest::AudioOutput::recording(recording);
  {
    vx::Music m;
    ASSERT_EQ(m.loadMusic(m_short), 0);
    m.play(true);
    vxtest::sleepSeconds(0.7); // three and a half times round
    m.stop();
    vxtest::sleepSeconds(0.2);
  } // the last stream is gone: the device closes and completes its file

  vxtest::WavData wav;
  ASSERT_TRUE(vxtest::readWav(recording, wav));
  // The 0.2 s file was heard for much longer than its length, and the stop
  // silenced it: the recording ends in silence.
  const double audible = vxtest::audibleSeconds(wav);
  EXPECT_GE(audible, 0.5);
  EXPECT_LE(audible, wav.seconds() - 0.15);
}

} // namespace
