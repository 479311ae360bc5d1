// Whole runs of the game, played in a headless engine by the bot.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "ResourceManager.h"
#include "SwatBot.h"

namespace {

using vxtest::SwatBot;
using vxtest::activeTransitionScreen;
using vxtest::findObject;

// What a minigame leaves in the world while it runs.
std::vector<std::string> minigameObjectTypes() {
  std::vector<std::string> types = targetTypes();
  types.insert(types.end(), {SWATTER_TYPE, SPLAT_TYPE, TIME_LEFT_TYPE});
  return types;
}

vx::Music *startMusic() { return vx::ResourceManager::getInstance().getMusic("start music"); }

TEST(MinigameFlowTest, BotSwattingTheRightTargetsWinsEveryKindInOneRun) {
  vxtest::SwatSession session(11);
  ASSERT_TRUE(session.started());
  // Every kind once, the love fly's first: it lasts its whole time whatever
  // is swatted, and the first minigame's time is the longest.
  std::vector<MinigameType> kinds;
  int points = 0; // What winning each kind is worth.
  for (const MinigameRow &row : minigameTable())
    points += row.worth, kinds.insert(row.type == LOVE ? kinds.begin() : kinds.end(), row.type);
  std::map<int, int> love_display; // Time display value -> steps shown, in LOVE.
  std::vector<int> first_display;  // The time display as each minigame starts.
  std::vector<std::string> rules;  // The instruction line of each intermission.
  bool game_over_seen = false, shown_as_told = true;

  SwatBot::Plan plan;
  plan.schedule = kinds;
  plan.max_steps = 20000;
  plan.observe = [&](SwatBot &bot) {
    game_over_seen = game_over_seen || objectOfTypeExists(GAME_OVER_TYPE);
    TransitionScreen *p_screen = activeTransitionScreen();
    if (p_screen == nullptr)
      return false;
    const vx::ViewObject *p_rule = p_screen->getInstructions();
    if (p_screen->isPlaying()) {
      const int display = findObject<TimeLeft>(TIME_LEFT_TYPE)->getValue();
      if (static_cast<int>(first_display.size()) < bot.minigames())
        first_display.push_back(display);
      if (currentMinigame() == LOVE)
        love_display[display]++;
      shown_as_told = shown_as_told && !p_screen->isVisible() && !p_rule->isVisible();
      return false;
    }
    shown_as_told = shown_as_told && p_screen->isVisible() && p_rule->isVisible();
    if (static_cast<int>(rules.size()) == p_screen->getMinigameCount())
      rules.push_back(p_rule->getViewString());
    return p_screen->getMinigameCount() == static_cast<int>(kinds.size());
  };
  SwatBot *p_bot = new SwatBot(plan);
  vx::GameManager::getInstance().run();

  EXPECT_FALSE(game_over_seen);
  ASSERT_EQ(p_bot->minigames(), static_cast<int>(kinds.size()));
  EXPECT_EQ(activeTransitionScreen()->getMinigameCount(), static_cast<int>(kinds.size()));
  // What each kind is worth, and one for every swat on the love fly.
  EXPECT_GT(p_bot->loveClicks(), 0);
  EXPECT_EQ(vxtest::streakValue(), points + p_bot->loveClicks());

  // The love minigame runs its full 300 steps however often the fly is hit,
  // its display counting down 10 ... 1, each for 30 steps.
  ASSERT_EQ(love_display.size(), 10u);
  for (int second = 1; second <= 10; second++)
    EXPECT_EQ(love_display[second], 30) << second;
  // Limits of 300, 292, 285, 277, 270, ... steps, shown in whole seconds.
  EXPECT_EQ(first_display, std::vector<int>({10, 10, 10, 10, 9, 9, 9, 9, 8, 8, 8, 8}));

  // Each intermission names the kind the game drew, and the screen and its
  // rule are hidden while a minigame runs.
  ASSERT_EQ(p_bot->drawn().size(), kinds.size());
  for (size_t i = 0; i < kinds.size(); i++)
    EXPECT_EQ(rules[i], minigameName(p_bot->drawn()[i]) + ": " +
                            minigameInstruction(p_bot->drawn()[i]));
  EXPECT_TRUE(shown_as_told);
}

// How the bot plays the first minigame of a run.
enum Play { SWATS_TARGETS, SPARES_ONE, IDLES, HITS_LOSING };
const char *const PLAY_NAMES[] = {"SwatsTargets", "SparesOne", "Idles", "HitsLosing"};

using Case = std::pair<size_t, Play>; // A row of the minigame table, and a way to play it.

// Every row of the table with every way of playing it that it allows.
std::vector<Case> cases() {
  std::vector<Case> all;
  for (size_t i = 0; i < minigameTable().size(); i++)
    for (Play play : {SWATS_TARGETS, SPARES_ONE, IDLES, HITS_LOSING})
      if ((play != SPARES_ONE || !minigameTable()[i].goal.empty()) &&
          (play != HITS_LOSING || !minigameTable()[i].losing.empty()))
        all.push_back({i, play});
  return all;
}

// One case per process, so each starts with a fresh engine.
class FirstMinigameTest : public ::testing::TestWithParam<Case> {};

INSTANTIATE_TEST_SUITE_P(Rows, FirstMinigameTest, ::testing::ValuesIn(cases()), [](const auto &info) {
  std::string name = minigameTable()[info.param.first].name;
  name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
  return name + "_" + PLAY_NAMES[info.param.second];
});

// The bot reaches the row's minigame from the start screen, finds what the row
// spawns, and the minigame is won, survived or lost as the row says.
TEST_P(FirstMinigameTest, IsWonOrLostAsItsRowSays) {
  const MinigameRow &row = minigameTable()[GetParam().first];
  const Play play = GetParam().second;
  vxtest::SwatSession session(3);
  ASSERT_TRUE(session.started());
  int playing_steps = 0, ended_at = -1, streak = 0;
  int goal_spawned = 0;
  for (const Spawn &spawn : row.spawns)
    goal_spawned += std::count(row.goal.begin(), row.goal.end(), spawn.p_target) * spawn.count;
  SwatBot::Plan plan;
  plan.schedule = {row.type};
  plan.clicks = play != IDLES;
  plan.hit_forbidden = play == HITS_LOSING;
  plan.spare = play == SPARES_ONE ? 1 : 0;
  plan.max_steps = 2000;
  plan.observe = [&](SwatBot &bot) {
    TransitionScreen *p_screen = activeTransitionScreen();
    if (ended_at < 0 && p_screen != nullptr && p_screen->isPlaying())
      playing_steps++;
    if (ended_at < 0 && (objectOfTypeExists(GAME_OVER_TYPE) ||
                         (p_screen != nullptr && !p_screen->isPlaying() &&
                          p_screen->getMinigameCount() == 1))) {
      ended_at = bot.steps();
      streak = vxtest::streakValue() - bot.loveClicks();
    }
    return ended_at >= 0 && bot.steps() > ended_at; // Once the step's deletions are done.
  };
  new SwatBot(plan);
  vx::GameManager::getInstance().run();

  ASSERT_GE(ended_at, 0);
  // A goal met ends it at once; else the time runs out: lost, or what is left costs.
  const bool early = play == HITS_LOSING || (play == SWATS_TARGETS && !row.goal.empty());
  const int left = play == IDLES ? goal_spawned : play == SPARES_ONE ? 1 : 0;
  const bool lost = play == HITS_LOSING || (!early && row.lost_by_time);
  EXPECT_EQ(playing_steps == 300, !early) << playing_steps;
  EXPECT_EQ(objectOfTypeExists(GAME_OVER_TYPE), lost);
  EXPECT_EQ(activeTransitionScreen() == nullptr, lost);
  EXPECT_EQ(streak, lost ? 0 : early ? row.worth : -row.cost_per_left * left);
  if (lost) {
    auto *p_screen = findObject<TransitionScreen>(TRANSITION_SCREEN_TYPE);
    EXPECT_FALSE(p_screen->isVisible());
    EXPECT_EQ(p_screen->getInstructions(), nullptr);
    EXPECT_TRUE(objectsOfTypes(minigameObjectTypes()).empty());
  }
}

TEST(MinigameFlowTest, BotThatNeverSwatsLosesAtFirstLosableKindAndStartScreenReturns) {
  vxtest::SwatSession session(5);
  ASSERT_TRUE(session.started());
  ASSERT_NE(startMusic(), nullptr);
  EXPECT_TRUE(startMusic()->isPlaying());
  EXPECT_TRUE(startMusic()->isLooping());

  int game_over_steps = 0, streak_at_loss = 0, lost_in = 0;
  bool paused_in_run = true, keys_tried = false;
  SwatBot::Plan plan;
  plan.clicks = false;
  plan.schedule = {GREED, LOVE, NORMAL, COIN};
  plan.max_steps = 5000;
  plan.observe = [&](SwatBot &) {
    TransitionScreen *p_screen = activeTransitionScreen();
    if (p_screen != nullptr && p_screen->isPlaying() && !keys_tried) {
      // Only the active start screen listens: P and Q do nothing in a run.
      vxtest::pressKey(vx::Keyboard::P);
      vxtest::pressKey(vx::Keyboard::Q);
      keys_tried = true;
    }
    // Under load the audio library now and then reports a paused stream as
    // stopped for a moment; read again, it is paused. A music left playing
    // stays so, and fails.
    if (p_screen != nullptr)
      paused_in_run = paused_in_run && vxtest::waitFor([] { return startMusic()->isPaused(); }, 0.1);
    auto *p_over = findObject<GameOver>(GAME_OVER_TYPE);
    if (p_over != nullptr && game_over_steps++ == 0) {
      streak_at_loss = vxtest::streakValue();
      lost_in = findObject<TransitionScreen>(TRANSITION_SCREEN_TYPE)->getMinigameCount();
    }
    return game_over_steps > 0 && p_over == nullptr;
  };
  new SwatBot(plan);
  vx::GameManager::getInstance().run();

  EXPECT_TRUE(keys_tried);
  EXPECT_TRUE(paused_in_run);
  // GREED and LOVE cannot be lost; six greedy flies were left; NORMAL is lost.
  EXPECT_EQ(lost_in, 3);
  EXPECT_EQ(streak_at_loss, -6);
  EXPECT_EQ(objectsOfTypes({TRANSITION_SCREEN_TYPE}).size(), 1u);
  // The game-over screen plays its animation once.
  const vx::Sprite *p_sprite = vx::ResourceManager::getInstance().getSprite("gameover");
  ASSERT_NE(p_sprite, nullptr);
  EXPECT_GT(game_over_steps, 1);
  EXPECT_EQ(game_over_steps, p_sprite->getFrameCount() * p_sprite->getSlowdown());
  // Back to the start screen, with its music; the run's displays are gone.
  EXPECT_TRUE(session.p_start->isActive());
  EXPECT_TRUE(startMusic()->isPlaying());
  EXPECT_EQ(vxtest::streakValue(), 0);
  EXPECT_TRUE(objectsOfTypes({"ViewObject", FLY_TYPE}).empty());
  // Now Q ends the program.
  vx::GameManager::getInstance().setGameOver(false);
  vxtest::pressKey(vx::Keyboard::Q);
  EXPECT_TRUE(vx::GameManager::getInstance().getGameOver());
}

TEST(MinigameFlowTest, ARunsStreakIsShownAtGameOverAndKeptAsTheBest) {
  vxtest::SwatSession session(7);
  ASSERT_TRUE(session.started());
  std::vector<std::string> lines; // The score line shown in the run and after, as it changes.
  SwatBot::Plan plan;
  plan.schedule = {NORMAL, MORE, FAST, COIN}; // Three won, then idle in a losable one.
  plan.idle_every = 4;
  plan.observe = [&](SwatBot &) {
    for (vx::Object *p_o : objectsOfTypes({"ScoreLine"}))
      if (auto *p_line = dynamic_cast<ScoreLine *>(p_o); p_line->isVisible() &&
          (lines.empty() || lines.back() != p_line->getViewString()))
        lines.push_back(p_line->getViewString());
    return lines.size() == 2;
  };
  new SwatBot(plan);
  vx::GameManager::getInstance().run();
  EXPECT_EQ(lines, std::vector<std::string>({runStreakText(3, 3, true), bestStreakText(3)}));
  EXPECT_EQ(loadBestStreak(), 3);
}

TEST(MinigameFlowTest, EngineStoppingDuringGameOverLeavesStartScreenAlone) {
  vxtest::SwatSession session(9);
  ASSERT_TRUE(session.started());
  SwatBot::Plan plan;
  plan.clicks = false;
  plan.schedule = {NORMAL};
  plan.observe = [](SwatBot &) { return objectOfTypeExists(GAME_OVER_TYPE); };
  new SwatBot(plan);
  vx::GameManager::getInstance().run();
  ASSERT_TRUE(objectOfTypeExists(GAME_OVER_TYPE));
  ASSERT_FALSE(session.p_start->isActive());

  // The world deletes the game-over screen along with everything else; the
  // start screen must not come back nor its music start.
  vx::WorldManager::getInstance().shutDown();
  EXPECT_FALSE(startMusic()->isPlaying());
}

} // namespace
