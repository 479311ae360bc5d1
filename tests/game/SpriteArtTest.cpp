// The game's sprite files: every one loads from the source tree without a
// complaint, and their sizes keep the game playable and on the screen.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "GameAssets.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "TestSupport.h"

namespace {

struct Art {
  int min_frames;
  bool moves; // Drawn over other things: blanks must be transparent.
};

// What each sprite of the game's asset list is for, by label.
const std::map<std::string, Art> ART = {
    {"fly", {2, true}},           {"Love", {2, true}},       {"tiny", {2, true}},
    {"large", {2, true}},         {"giant", {2, true}},      {"greed", {2, true}},
    {"bullet", {1, true}},        {"explosion", {1, true}},  {"gamestart", {1, false}},
    {"intermission", {2, false}}, {"gameover", {2, false}},  {"fplarn", {2, false}},
    {"coin", {2, true}},          {"VexLo", {2, true}},
};

// The window shows 80 by 24 cells; a screen drawn at its centre must fit, and
// odd sizes put every character on a whole cell.
const int WINDOW_COLUMNS = 80;
const int WINDOW_ROWS = 24;

// The game-over screen plays its animation once: 2 to 3 seconds of 33 ms steps.
const int MIN_GAME_OVER_STEPS = 60;
const int MAX_GAME_OVER_STEPS = 90;

int area(const vx::Sprite *p_sprite) { return p_sprite->getWidth() * p_sprite->getHeight(); }

TEST(SpriteArt, EveryFileLoadsCleanlyAndFitsTheGame) {
  vxtest::LogCapture log;
  vx::ResourceManager &rm = vx::ResourceManager::getInstance();
  ASSERT_EQ(rm.startUp(), 0);

  std::map<std::string, const vx::Sprite *> loaded;
  for (const Asset &asset : gameAssets(AssetKind::SPRITE)) {
    SCOPED_TRACE(asset.label);
    ASSERT_EQ(ART.count(asset.label), 1u);
    const Art &art = ART.at(asset.label);
    ASSERT_EQ(rm.loadSprite(std::string(VEXLO_SOURCE_DIR) + "/" + asset.file, asset.label), 0);
    const vx::Sprite *p_sprite = rm.getSprite(asset.label);
    ASSERT_NE(p_sprite, nullptr);
    loaded[asset.label] = p_sprite;

    const int w = p_sprite->getWidth(), h = p_sprite->getHeight();
    EXPECT_GE(p_sprite->getFrameCount(), art.min_frames);
    EXPECT_LT(w, WINDOW_COLUMNS);
    EXPECT_LT(h, WINDOW_ROWS);
    for (int i = 0; i < p_sprite->getFrameCount(); i++) {
      EXPECT_EQ(p_sprite->getFrame(i).getString().size(), static_cast<std::size_t>(w * h)) << i;
    }
    if (art.moves) {
      EXPECT_EQ(p_sprite->getTransparency(), ' ');
    } else {
      EXPECT_EQ(w % 2, 1);
      EXPECT_EQ(h % 2, 1);
    }
    if (art.min_frames > 1) { // An animation changes frame now and then, not every step.
      EXPECT_GE(p_sprite->getSlowdown(), 1);
    }
  }
  for (const std::string &message : log.messages()) {
    EXPECT_EQ(message.find("Error"), std::string::npos) << message;
    EXPECT_EQ(message.find("Warning"), std::string::npos) << message;
  }

  // Bigger flies take more hits; the tiny one is the hardest to hit.
  EXPECT_LT(area(loaded["tiny"]), area(loaded["fly"]));
  EXPECT_LT(area(loaded["fly"]), area(loaded["large"]));
  EXPECT_LT(area(loaded["large"]), area(loaded["giant"]));
  // The swatter covers a plain fly whole, so a swat aimed at it hits, and is
  // no taller than one: the motionless flies of the odd-one-out minigame lie
  // in touching rows, and a taller swatter could not reach the odd one alone.
  EXPECT_GE(loaded["bullet"]->getWidth(), loaded["fly"]->getWidth());
  EXPECT_EQ(loaded["bullet"]->getHeight(), loaded["fly"]->getHeight());
  // The game-over screen lasts frame count times slowdown steps.
  const vx::Sprite *p_over = loaded["gameover"];
  const int steps = p_over->getFrameCount() * p_over->getSlowdown();
  EXPECT_GE(steps, MIN_GAME_OVER_STEPS);
  EXPECT_LE(steps, MAX_GAME_OVER_STEPS);
  rm.shutDown();
}

} // namespace
