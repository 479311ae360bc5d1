// The resource manager's tables: start and stop, limits, labels and lookups of
// sprites, sounds and music.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "GameManager.h"
#include "ResourceManager.h"
#include "TestSupport.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const std::string SPRITE = "1\n3\n1\n0\nred\nabc\n";

// A short 16-bit mono PCM WAV file.
std::string wavFile() {
  auto put = [](std::string &out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; i++)
      out += static_cast<char>((value >> (8 * i)) & 0xffu);
  };
  const std::uint32_t samples = 441, rate = 44100;
  std::string out = "RIFF";
  put(out, 36 + samples * 2, 4);
  out += "WAVEfmt ";
  put(out, 16, 4);
  put(out, 1, 2); // PCM
  put(out, 1, 2); // mono
  put(out, rate, 4);
  put(out, rate * 2, 4);
  put(out, 2, 2);
  put(out, 16, 2);
  out += "data";
  put(out, samples * 2, 4);
  for (std::uint32_t i = 0; i < samples; i++)
    put(out, (i % 50) * 400, 2);
  return out;
}

class ResourceManagerTest : public ::testing::Test {
 protected:
  // Audio plays into nothing, so the tests run on machines without a sound card.
  vxtest::ScopedEnv m_audio{"ALSOFT_DRIVERS", "null"};
  vxtest::LogCapture m_log;
  vxtest::TempDir m_dir;
  vx::ResourceManager &m_rm = vx::ResourceManager::getInstance();

  void SetUp() override { ASSERT_EQ(m_rm.startUp(), 0); }

  std::string spriteFile() {
    const std::string path = m_dir.file("sprite.txt");
    vxtest::writeFile(path, SPRITE);
    return path;
  }

  std::string soundFile() {
    const std::string path = m_dir.file("sound.wav");
    vxtest::writeFile(path, wavFile());
    return path;
  }

  // The messages written by the call.
  template <typename F> std::vector<std::string> messagesOf(F call) {
    const std::size_t before = m_log.messages().size();
    call();
    const std::vector<std::string> all = m_log.messages();
    return std::vector<std::string>(all.begin() + static_cast<long>(before), all.end());
  }
};

TEST_F(ResourceManagerTest, TypeNameAndStartingTwice) {
  EXPECT_EQ(m_rm.getType(), "ResourceManager");
  EXPECT_TRUE(m_rm.isStarted());
  EXPECT_THAT(messagesOf([&] { EXPECT_EQ(m_rm.startUp(), -1); }),
              ElementsAre("ResourceManager::startup(): Warning! ResourceManager already started."));
  m_rm.shutDown();
  EXPECT_FALSE(m_rm.isStarted());
}

TEST_F(ResourceManagerTest, EveryLoadIsRefusedBeforeStartUp) {
  m_rm.shutDown();
  EXPECT_THAT(messagesOf([&] {
                EXPECT_EQ(m_rm.loadSprite(spriteFile(), "s"), -1);
                EXPECT_EQ(m_rm.loadSound(soundFile(), "s"), -1);
                EXPECT_EQ(m_rm.loadMusic(soundFile(), "s"), -1);
              }),
              ElementsAre("ResourceManager not started!", "ResourceManager not started!",
                          "ResourceManager not started!"));
  EXPECT_EQ(m_rm.getSpriteCount(), 0);
  EXPECT_EQ(m_rm.getSoundCount(), 0);
  EXPECT_EQ(m_rm.getMusicCount(), 0);
}

TEST_F(ResourceManagerTest, ThousandAndFirstSpriteIsRefusedBeforeTheFileIsOpened) {
  const std::string path = spriteFile();
  for (int i = 0; i < vx::MAX_SPRITES; i++)
    ASSERT_EQ(m_rm.loadSprite(path, "s" + std::to_string(i)), 0);
  EXPECT_EQ(m_rm.getSpriteCount(), 1000);
  EXPECT_THAT(m_log.messages(), IsEmpty());
  // The file does not exist: a refusal after opening would say so.
  EXPECT_THAT(messagesOf([&] { EXPECT_EQ(m_rm.loadSprite(m_dir.file("missing"), "extra"), -1); }),
              ElementsAre("RM::loadRobustSprite(): Error! Cannot add more Sprites (max is 1000).",
                          "RM::loadRobustSprite(): Sprite 'extra' not loaded."));
  EXPECT_EQ(m_rm.getSpriteCount(), 1000);
  EXPECT_NE(m_rm.getSprite("s999"), nullptr);
}

TEST_F(ResourceManagerTest, SpriteLookupFindsTheFirstOfALabel) {
  const std::string wide = spriteFile();
  const std::string narrow = m_dir.file("narrow.txt");
  vxtest::writeFile(narrow, "1\n1\n1\n0\nblue\nx\n");
  ASSERT_EQ(m_rm.loadSprite(wide, "fly"), 0);
  ASSERT_EQ(m_rm.loadSprite(narrow, "coin"), 0);
  ASSERT_EQ(m_rm.loadSprite(narrow, "fly"), 0);
  EXPECT_EQ(m_rm.getSpriteCount(), 3);
  vx::Sprite *p_fly = m_rm.getSprite("fly");
  ASSERT_NE(p_fly, nullptr);
  EXPECT_EQ(p_fly->getLabel(), "fly");
  EXPECT_EQ(p_fly->getWidth(), 3);
  EXPECT_EQ(m_rm.getSprite("coin")->getColor(), vx::BLUE);

  EXPECT_THAT(messagesOf([&] {
                EXPECT_EQ(m_rm.getSprite("Fly"), nullptr);
                EXPECT_EQ(m_rm.getSprite(""), nullptr);
              }),
              ElementsAre("RM::getSprite(): Warning! Sprite 'Fly' not found.",
                          "RM::getSprite(): Warning! Sprite '' not found."));
}

TEST_F(ResourceManagerTest, ShutDownDeletesTheSpritesAndStartUpBeginsAfresh) {
  const std::string path = spriteFile();
  ASSERT_EQ(m_rm.loadSprite(path, "a"), 0);
  ASSERT_EQ(m_rm.loadSprite(path, "b"), 0);
  m_rm.shutDown();
  EXPECT_EQ(m_rm.getSpriteCount(), 0);
  EXPECT_EQ(m_rm.getSprite("a"), nullptr);
  ASSERT_EQ(m_rm.startUp(), 0);
  EXPECT_EQ(m_rm.getSpriteCount(), 0);
  ASSERT_EQ(m_rm.loadSprite(path, "c"), 0);
  EXPECT_EQ(m_rm.getSpriteCount(), 1);
  EXPECT_EQ(m_rm.getSprite("b"), nullptr);
}

TEST_F(ResourceManagerTest, SoundsLoadUpToTheLimitAndTheFirstOfALabelIsFound) {
  const std::string path = soundFile();
  // An empty label is accepted and can be looked up.
  ASSERT_EQ(m_rm.loadSound(path, ""), 0);
  ASSERT_EQ(m_rm.loadSound(path, "swat"), 0);
  ASSERT_EQ(m_rm.loadSound(path, "swat"), 0);
  vx::Sound *p_empty = m_rm.getSound("");
  vx::Sound *p_swat = m_rm.getSound("swat");
  ASSERT_NE(p_empty, nullptr);
  ASSERT_NE(p_swat, nullptr);
  // Slots fill in load order: the first "swat" is the one right after "".
  EXPECT_EQ(p_swat, p_empty + 1);
  EXPECT_EQ(p_swat->getLabel(), "swat");

  for (int i = 3; i < vx::MAX_SOUNDS; i++)
    ASSERT_EQ(m_rm.loadSound(path, "s" + std::to_string(i)), 0);
  EXPECT_EQ(m_rm.getSoundCount(), 100);
  EXPECT_THAT(m_log.messages(), IsEmpty());
  EXPECT_THAT(messagesOf([&] { EXPECT_EQ(m_rm.loadSound(path, "extra"), -1); }),
              ElementsAre("RM::loadSound(): Error! Unable to add more sounds (max is 100)."));
  EXPECT_EQ(m_rm.getSoundCount(), 100);
  EXPECT_THAT(messagesOf([&] { EXPECT_EQ(m_rm.getSound("extra"), nullptr); }),
              ElementsAre("RM::getSound(): Warning! Sound 'extra' not found."));
}

TEST_F(ResourceManagerTest, FailedSoundIsNotCountedAndItsSlotIsReused) {
  vxtest::writeFile(m_dir.file("bad.wav"), "not a sound");
  EXPECT_THAT(messagesOf([&] { EXPECT_EQ(m_rm.loadSound(m_dir.file("bad.wav"), "bad"), -1); }),
              ElementsAre("RM::loadSound(): Error! Cannot load sound from file '" +
                          m_dir.file("bad.wav") + "'."));
  EXPECT_EQ(m_rm.getSoundCount(), 0);
  EXPECT_EQ(m_rm.getSound("bad"), nullptr);
  ASSERT_EQ(m_rm.loadSound(soundFile(), "good"), 0);
  EXPECT_EQ(m_rm.getSoundCount(), 1);
  EXPECT_NE(m_rm.getSound("good"), nullptr);
}

TEST_F(ResourceManagerTest, EndlessAndOversizedFilesAreRefusedBeforeReading) {
  const std::string link = m_dir.file("zero.txt"), big = m_dir.file("big.txt");
  std::filesystem::create_symlink("/dev/zero", link);
  vxtest::writeFile(big, SPRITE);
  std::filesystem::resize_file(big, vx::MAX_SPRITE_FILE_SIZE + 1);
  vxtest::writeFile(m_dir.file("huge.wav"), wavFile().replace(40, 4, "\xff\xff\xff\xff"));
  const std::pair<std::string, std::string> cases[] = {{"/dev/zero", "not a regular file"},
                                                       {link, "not a regular file"},
                                                       {big, "more than the 16777216"},
                                                       {m_dir.file("huge.wav"), "declares more"}};
  for (const auto &[path, line] : cases) {
    const bool sound = path.find(".wav") != std::string::npos;
    auto load = [&] { EXPECT_EQ(sound ? m_rm.loadSound(path, "s") : m_rm.loadSprite(path, "s"), -1); };
    EXPECT_THAT(messagesOf(load), ::testing::Contains(::testing::HasSubstr(line))) << path;
  }
}

TEST_F(ResourceManagerTest, ShutDownStopsPlayingSounds) {
  ASSERT_EQ(m_rm.loadSound(soundFile(), "loop"), 0);
  vx::Sound *p_sound = m_rm.getSound("loop");
  p_sound->play(true);
  ASSERT_TRUE(p_sound->isPlaying());
  m_rm.shutDown();
  EXPECT_FALSE(p_sound->isPlaying());
  // Sounds outlive the shut-down and keep their count until the next start.
  EXPECT_EQ(m_rm.getSoundCount(), 1);
  EXPECT_EQ(m_rm.getSound("loop"), p_sound);
  ASSERT_EQ(m_rm.startUp(), 0);
  EXPECT_EQ(m_rm.getSoundCount(), 0);
}

TEST_F(ResourceManagerTest, MusicNeedsALabelAndLoadsUpToTheLimit) {
  const std::string path = soundFile();
  EXPECT_THAT(messagesOf([&] { EXPECT_EQ(m_rm.loadMusic(path, ""), -1); }),
              ElementsAre("RM::loadMusic(): Error! Must provide label for music."));
  EXPECT_EQ(m_rm.getMusicCount(), 0);

  ASSERT_EQ(m_rm.loadMusic(path, "theme"), 0);
  ASSERT_EQ(m_rm.loadMusic(path, "theme"), 0);
  vx::Music *p_theme = m_rm.getMusic("theme");
  ASSERT_NE(p_theme, nullptr);
  for (int i = 2; i < vx::MAX_MUSICS; i++)
    ASSERT_EQ(m_rm.loadMusic(path, "m" + std::to_string(i)), 0);
  EXPECT_EQ(m_rm.getMusicCount(), 50);
  // Slots fill in load order: the first "theme" is two before "m2".
  EXPECT_EQ(p_theme + 2, m_rm.getMusic("m2"));
  EXPECT_EQ(m_log.count("Error"), 1); // Only the refused empty label.

  // The limit is checked before the label.
  EXPECT_THAT(messagesOf([&] {
                EXPECT_EQ(m_rm.loadMusic(path, "extra"), -1);
                EXPECT_EQ(m_rm.loadMusic(path, ""), -1);
              }),
              ElementsAre("RM::loadMusic(): Error! Unable to add more musics (max is 50).",
                          "RM::loadMusic(): Error! Unable to add more musics (max is 50)."));
  EXPECT_EQ(m_rm.getMusicCount(), 50);
}

TEST_F(ResourceManagerTest, FailedMusicIsNotCounted) {
  const std::string path = m_dir.file("missing.ogg");
  EXPECT_THAT(messagesOf([&] { EXPECT_EQ(m_rm.loadMusic(path, "theme"), -1); }),
              ElementsAre("RM::loadmusic(): Error! Cannot load music from file '" + path + "'."));
  EXPECT_EQ(m_rm.getMusicCount(), 0);
  EXPECT_THAT(messagesOf([&] { EXPECT_EQ(m_rm.getMusic("theme"), nullptr); }),
              ElementsAre("RM::getMusic(): Warning! Music 'theme' not found."));
}

// The game manager starts the resource manager with the engine and stops it
// with the engine.
TEST(ResourceManagerEngine, StartedAndStoppedByTheGameManager) {
  vxtest::TempDir dir;
  vxtest::ScopedEnv log_file("VEXLO_LOG", dir.file("vexlo.log"));
  vx::GameManager &game_manager = vx::GameManager::getInstance();
  ASSERT_EQ(game_manager.startUp(), 0);
  EXPECT_TRUE(vx::ResourceManager::getInstance().isStarted());
  game_manager.shutDown();
  EXPECT_FALSE(vx::ResourceManager::getInstance().isStarted());
  EXPECT_EQ(vxtest::logLinesContaining(dir.file("vexlo.log"), "Error").size(), 0u);
}

} // namespace
