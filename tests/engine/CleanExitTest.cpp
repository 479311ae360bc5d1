// A program built on the engine may end with or without shutting it down, on a
// machine with or without an audio device. Every way must end cleanly: the
// audio library's objects are freed while the library can still take them,
// never during its own teardown at exit.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "AudioTestSupport.h"
#include "GameManager.h"
#include "ResourceManager.h"
#include "TestSupport.h"

namespace {

struct ExitCase {
  const char *name;
  const char *driver; // OpenAL's drivers: "bogus" finds no device, "null" plays into nothing.
  bool shut_down;     // Whether the program shuts the engine down before it ends.
};

// What a small game does: starts the engine, loads a sprite, a sound and a
// music, plays them, perhaps shuts down, and ends as returning from main()
// does, running every destructor of the process. The exit code names the
// first thing that went wrong, 0 when nothing did.
[[noreturn]] void runProgram(const ExitCase &c, const std::string &wav) {
  vx::GameManager &game_manager = vx::GameManager::getInstance();
  vx::ResourceManager &resource_manager = vx::ResourceManager::getInstance();
  if (game_manager.startUp() != 0)
    std::exit(2);
  if (resource_manager.loadSound(wav, "sound") != 0 || resource_manager.loadMusic(wav, "music") != 0)
    std::exit(3);
  vx::Sound *p_sound = resource_manager.getSound("sound");
  vx::Music *p_music = resource_manager.getMusic("music");
  p_sound->play(true);
  p_music->play(true);
  // Without a device nothing plays, and a game that keeps asking (as one does
  // every frame) must not bring the audio library's threads to report failures
  // at once: that corrupted the heap within a second.
  const bool audible = std::string(c.driver) != "bogus";
  for (int frame = 0; frame < 30; frame++) {
    if (p_music->isPlaying() != audible || p_sound->isPlaying() != audible)
      std::exit(5);
    p_sound->play();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (c.shut_down) {
    game_manager.shutDown();
    // Nothing of the audio library is left, though the slots stay findable.
    if (p_sound->isLoaded() || p_music->isLoaded() || resource_manager.getSound("sound") != p_sound)
      std::exit(4);
  }
  std::exit(0);
}

TEST(CleanExit, EndsCleanlyWithOrWithoutShutDownAndAudioDevice) {
  const ExitCase cases[] = {
      {"no device, shut down", "bogus", true},
      {"no device, never shut down", "bogus", false},
      {"device, shut down", "null", true},
      {"device, never shut down", "null", false},
  };
  vxtest::TempDir dir;
  const std::string wav = dir.file("tone.wav");
  vxtest::writeSineWav(wav, 0.2);
  for (const ExitCase &c : cases) {
    SCOPED_TRACE(c.name);
    // Only the process that runs the program sees this driver choice.
    vxtest::ScopedEnv drivers("ALSOFT_DRIVERS", c.driver);
    vxtest::ScopedEnv log_file("VEXLO_LOG", dir.file(std::string(c.name) + ".log"));
    EXPECT_EXIT(runProgram(c, wav), ::testing::ExitedWithCode(0), ::testing::IsEmpty()); // Quiet.
    // The engine ran and, when asked, stopped; its log says so.
    const std::string log = dir.file(std::string(c.name) + ".log");
    EXPECT_EQ(vxtest::logLinesContaining(log, "Game engine started").size(), 1u);
    EXPECT_EQ(vxtest::logLinesContaining(log, "Game engine stopped").size(), c.shut_down ? 1u : 0u);
    EXPECT_EQ(vxtest::logLinesContaining(log, "No audio device could be opened").size(),
              std::string(c.driver) == "bogus" ? 1u : 0u);
  }
}

} // namespace
