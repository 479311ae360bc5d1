#include "TransitionScreen.h"

#include <algorithm>

#include "DisplayManager.h"
#include "EventStep.h"
#include "GameOver.h"
#include "GameUtil.h"
#include "LogManager.h"
#include "Minigame.h"
#include "MinigameInstructions.h"
#include "MinigameTable.h"
#include "ResourceManager.h"
#include "Streak.h"
#include "LockstepMatch.h"
#include "Swatter.h"
#include "TimeLeft.h"
#include "WorldManager.h"

namespace {

const int INTERMISSION_STEPS = 120;

// What a minigame leaves in the world, removed when it ends either way: every
// target, the swatter, the splats and the time display.
std::vector<std::string> minigameTypes() {
  std::vector<std::string> types = targetTypes();
  types.insert(types.end(), {SWATTER_TYPE, SPLAT_TYPE, TIME_LEFT_TYPE});
  return types;
}

// One line in the log for each minigame that ends, so a report says what happened.
void logEnd(int count, const char *how) {
  vx::LogManager::getInstance().writeLog("Swat: minigame %d (%s) %s, streak %d.", count,
                                         currentMinigameRow().name.c_str(), how, currentStreak());
}

vx::Music *musicOf(const MinigameRow &row) {
  return vx::ResourceManager::getInstance().getMusic(row.music);
}

// Ends the streak's celebrations (rockets and their trails) still in the air:
// they belong to the minigame that is ending, not to what comes next.
void endCelebrations() {
  for (vx::Object *p_o : objectsOfTypes({FIREWORK_TYPE, PARTICLE_TYPE}))
    if (p_o->getAltitude() == CELEBRATION_ALTITUDE)
      vx::WorldManager::getInstance().markForDelete(p_o);
}

MinigameInstructions *instructionsFor(MinigameType type) {
  return new MinigameInstructions(minigameName(type), minigameInstruction(type));
}

} // namespace

TransitionScreen::TransitionScreen()
    : m_p_intermission_sound(nullptr),
      m_p_instructions(nullptr),
      m_p_time_left(nullptr),
      m_intermission_countdown(0),
      m_minigame_count(0),
      m_playing(false),
      m_time_left(0) {
  setType(TRANSITION_SCREEN_TYPE);
  setSprite("intermission");
  setLocation(vx::CENTER_CENTER);
  pickMinigame();
  m_p_instructions = instructionsFor(currentMinigame());
  vx::ResourceManager &rm = vx::ResourceManager::getInstance();
  m_p_intermission_sound = rm.getSound("intermission");
  if (m_p_intermission_sound != nullptr)
    m_p_intermission_sound->play(false);
  m_intermission_countdown = INTERMISSION_STEPS;
  registerInterest(vx::STEP_EVENT);
}

int TransitionScreen::eventHandler(const vx::Event *p_e) {
  if (p_e->getType() != vx::STEP_EVENT)
    return 0;
  if (m_playing)
    minigameStep();
  else if (--m_intermission_countdown <= 0)
    startMinigame();
  return 1;
}

void TransitionScreen::minigameStep() {
  const MinigameRow &row = currentMinigameRow();

  // A minigame won in the step its time runs out counts as won.
  if (row.goalMet()) {
    endCelebrations();
    award(row.worth);
    logEnd(m_minigame_count, "won");
    endMinigame();
    return;
  }

  // The display shows the new time left rounded up to whole seconds.
  const int steps_per_second = stepsPerSecond();
  const int old_time_left = m_time_left;
  m_time_left = old_time_left - 1;
  m_p_time_left->setValue((old_time_left + steps_per_second - 2) / steps_per_second);
  if (m_time_left > 0)
    return;
  endCelebrations();

  if (row.lost_by_time) {
    loseGame();
    return;
  }
  const int cost = row.cost_per_left * row.goalTargetsLeft();
  if (cost > 0)
    award(-cost);
  logEnd(m_minigame_count, "over at time-up");
  endMinigame();
}

int TransitionScreen::draw() { return Object::draw(); }

void TransitionScreen::pauseMusic() {
  for (const std::string &label : minigameMusicLabels())
    ::pauseMusic(vx::ResourceManager::getInstance().getMusic(label));
}

void TransitionScreen::startMinigame() {
  m_playing = true;
  m_minigame_count++;
  playMusic(musicOf(currentMinigameRow()));
  // The time limit shrinks by a quarter second a minigame, down to 4 seconds.
  const float seconds = std::max(4.0f, 10.0f - static_cast<float>(m_minigame_count - 1) * 0.25f);
  const int steps_per_second = stepsPerSecond();
  m_time_left = static_cast<int>(seconds * static_cast<float>(steps_per_second));
  vx::LogManager::getInstance().writeLog("Swat: minigame %d: %s, %d steps (%.2f s).",
                                         m_minigame_count, currentMinigameRow().name.c_str(),
                                         m_time_left, static_cast<double>(seconds));
  vx::DisplayManager::getInstance().setBackgroundColor(vx::BLACK);
  setVisible(false);
  if (m_p_instructions != nullptr)
    m_p_instructions->setVisible(false);
  m_p_time_left = new TimeLeft;
  m_p_time_left->setValue((m_time_left + steps_per_second - 1) / steps_per_second);
  spawnFlies();
  for (int player = 0; player < vx::playerCount(); player++)
    new Swatter(player);
  if (m_p_intermission_sound != nullptr)
    m_p_intermission_sound->pause();
}

void TransitionScreen::endMinigame() {
  playSound("point");
  m_playing = false;
  pauseMusic();
  markObjectsOfTypes(minigameTypes());
  vx::DisplayManager::getInstance().setBackgroundColor(vx::BLACK);

  // Never the same kind twice in a row.
  const MinigameType previous = currentMinigame();
  do {
    pickMinigame();
  } while (currentMinigame() == previous);

  if (m_p_instructions != nullptr)
    vx::WorldManager::getInstance().markForDelete(m_p_instructions);
  m_p_instructions = instructionsFor(currentMinigame());

  setVisible(true);
  if (m_p_intermission_sound != nullptr)
    m_p_intermission_sound->play(false);
  m_p_instructions->setVisible(true);
  m_intermission_countdown = INTERMISSION_STEPS;
}

void TransitionScreen::loseGame() {
  endCelebrations();
  if (m_playing) // Not again when two flies lose the run in one step.
    logEnd(m_minigame_count, "lost");
  pauseMusic();
  m_playing = false;
  setActive(false);
  setVisible(false);
  if (m_p_instructions != nullptr) {
    m_p_instructions->setVisible(false);
    vx::WorldManager::getInstance().markForDelete(m_p_instructions);
    m_p_instructions = nullptr;
  }
  markObjectsOfTypes(minigameTypes());
  vx::DisplayManager::getInstance().setBackgroundColor(vx::BLACK);
  new GameOver;
}

bool TransitionScreen::isPlaying() const { return m_playing; }

int TransitionScreen::getMinigameCount() const { return m_minigame_count; }

int TransitionScreen::getTimeLeft() const { return m_time_left; }

int TransitionScreen::getIntermissionCountdown() const { return m_intermission_countdown; }

MinigameInstructions *TransitionScreen::getInstructions() const { return m_p_instructions; }
