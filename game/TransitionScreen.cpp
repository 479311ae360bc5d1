#include "TransitionScreen.h"

#include <algorithm>

#include "DisplayManager.h"
#include "EventStep.h"
#include "GameOver.h"
#include "GameUtil.h"
#include "Minigame.h"
#include "MinigameInstructions.h"
#include "ResourceManager.h"
#include "Swatter.h"
#include "TimeLeft.h"
#include "WorldManager.h"

namespace {

const int INTERMISSION_STEPS = 120;
const int STEPS_PER_SECOND = 30;

// What a minigame leaves in the world, removed when it ends either way.
const std::vector<std::string> MINIGAME_TYPES = {FLY_TYPE,       SWATTER_TYPE,    SPLAT_TYPE,
                                                 TIME_LEFT_TYPE, LOVE_FLY_TYPE,   GREEDY_FLY_TYPE,
                                                 COIN_TYPE,      VEXLO_TYPE};

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
      m_p_love_music(nullptr),
      m_p_minigame_music(nullptr),
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
  m_p_love_music = rm.getMusic("love");
  m_p_intermission_sound = rm.getSound("intermission");
  m_p_minigame_music = rm.getMusic("Mini");
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
  const MinigameType minigame = currentMinigame();

  // A minigame won in the step its time runs out counts as won.
  int points = 0;
  if (minigame != LOVE && minigame != GREED && allFliesGone())
    points = 1;
  else if (minigame == GREED && countGreedyFlies() == 0)
    points = 1;
  else if (minigame == COIN && !objectOfTypeExists(COIN_TYPE))
    points = 2;
  else if (minigame == ODD && !objectOfTypeExists(VEXLO_TYPE))
    points = 1;
  if (points != 0) {
    endCelebrations();
    award(points);
    endMinigame();
    return;
  }

  // The display shows the new time left rounded up to whole seconds.
  const int old_time_left = m_time_left;
  m_time_left = old_time_left - 1;
  m_p_time_left->setValue((old_time_left + STEPS_PER_SECOND - 2) / STEPS_PER_SECOND);
  if (m_time_left > 0)
    return;
  endCelebrations();

  if (minigame == GREED) {
    const int left = countGreedyFlies();
    if (left > 0)
      award(-left);
    endMinigame();
  } else if (minigame == LOVE) {
    endMinigame();
  } else if (allFliesGone()) {
    award(1);
    endMinigame();
  } else {
    loseGame();
  }
}

int TransitionScreen::draw() { return Object::draw(); }

void TransitionScreen::pauseMusic() {
  ::pauseMusic(m_p_love_music);
  ::pauseMusic(m_p_minigame_music);
}

void TransitionScreen::startMinigame() {
  m_playing = true;
  m_minigame_count++;
  playMusic(currentMinigame() == LOVE ? m_p_love_music : m_p_minigame_music);
  // The time limit shrinks by a quarter second a minigame, down to 4 seconds.
  const float seconds = std::max(4.0f, 10.0f - static_cast<float>(m_minigame_count - 1) * 0.25f);
  m_time_left = static_cast<int>(seconds * STEPS_PER_SECOND);
  vx::DisplayManager::getInstance().setBackgroundColor(vx::BLACK);
  setVisible(false);
  if (m_p_instructions != nullptr)
    m_p_instructions->setVisible(false);
  m_p_time_left = new TimeLeft;
  m_p_time_left->setValue((m_time_left + STEPS_PER_SECOND - 1) / STEPS_PER_SECOND);
  spawnFlies();
  new Swatter;
  if (m_p_intermission_sound != nullptr)
    m_p_intermission_sound->pause();
}

void TransitionScreen::endMinigame() {
  playSound("point");
  m_playing = false;
  pauseMusic();
  markObjectsOfTypes(MINIGAME_TYPES);
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
  pauseMusic();
  m_playing = false;
  setActive(false);
  setVisible(false);
  if (m_p_instructions != nullptr) {
    m_p_instructions->setVisible(false);
    vx::WorldManager::getInstance().markForDelete(m_p_instructions);
    m_p_instructions = nullptr;
  }
  markObjectsOfTypes(MINIGAME_TYPES);
  vx::DisplayManager::getInstance().setBackgroundColor(vx::BLACK);
  new GameOver;
}

bool TransitionScreen::isPlaying() const { return m_playing; }

int TransitionScreen::getMinigameCount() const { return m_minigame_count; }

int TransitionScreen::getTimeLeft() const { return m_time_left; }

int TransitionScreen::getIntermissionCountdown() const { return m_intermission_countdown; }

MinigameInstructions *TransitionScreen::getInstructions() const { return m_p_instructions; }
