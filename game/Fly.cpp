#include "Fly.h"

#include <cmath>

#include "EventMouse.h"
#include "EventStep.h"
#include "GameUtil.h"
#include "Minigame.h"
#include "MinigameTable.h"
#include "Particle.h"
#include "Splat.h"
#include "TransitionScreen.h"
#include "WorldManager.h"
#include "utility.h"

Fly::Fly() {
  setSprite("fly");
  setType(FLY_TYPE);
  setSolidness(vx::SOFT);
  m_direction_countdown = directionSteps();
  pickVelocity();
  placeNearCenter();
  registerInterest(vx::STEP_EVENT);
}

int Fly::directionSteps() { return 30 + vx::randomInt() % 31; }

void Fly::becomeVariant(const std::string &sprite_label, const std::string &type) {
  setSprite(sprite_label);
  setType(type);
  setSolidness(vx::SOFT);
  placeNearCenter();
  pickVelocity();
}

bool Fly::isClick(const vx::Event *p_e) {
  if (p_e->getType() != vx::MSE_EVENT)
    return false;
  return static_cast<const vx::EventMouse *>(p_e)->getMouseAction() == vx::CLICKED;
}

int Fly::eventHandler(const vx::Event *p_e) {
  if (p_e->getType() == vx::STEP_EVENT) {
    moveStep();
    return 1;
  }
  if (isClick(p_e)) {
    die();
    return 1;
  }
  return 0;
}

void Fly::moveStep() {
  const float w = worldWidth(), h = worldHeight();
  vx::Vector p = getPosition();
  vx::Vector v = getVelocity();
  if (p.getX() <= 0) {
    p.setX(0);
    v.setX(std::fabs(v.getX()));
  }
  if (p.getX() >= w - 1) {
    p.setX(w - 1);
    v.setX(-std::fabs(v.getX()));
  }
  if (p.getY() <= 0) {
    p.setY(0);
    v.setY(std::fabs(v.getY()));
  }
  if (p.getY() >= h - 1) {
    p.setY(h - 1);
    v.setY(-std::fabs(v.getY()));
  }
  setPosition(p);
  setVelocity(v);
  if (--m_direction_countdown <= 0) {
    pickVelocity();
    m_direction_countdown = directionSteps();
  }
}

void Fly::pickVelocity() {
  float min, max;
  flySpeedRange(currentMinigame(), min, max);
  const float r1 = static_cast<float>(vx::randomInt());
  const float speed = min + (r1 / vx::RANDOM_MAX) * (max - min);
  const float r2 = static_cast<float>(vx::randomInt());
  const float angle = 2.0f * (r2 / vx::RANDOM_MAX) * 3.14159f;
  float sine = 0, cosine = 0;
  vx::sineCosine(angle, sine, cosine);
  float vel_x = cosine * speed;
  float vel_y = sine * speed;

  // A fly on an edge never gets a velocity into that edge.
  const float w = worldWidth(), h = worldHeight();
  const vx::Vector p = getPosition();
  if (p.getX() <= 0 && vel_x < 0)
    vel_x = -vel_x;
  if (p.getX() >= w - 1 && vel_x > 0)
    vel_x = -vel_x;
  if (p.getY() <= 0 && vel_y < 0)
    vel_y = -vel_y;
  if (p.getY() >= h - 1 && vel_y > 0)
    vel_y = -vel_y;
  setVelocity(vx::Vector(vel_x, vel_y));
}

void Fly::placeNearCenter() {
  vx::WorldManager &world = vx::WorldManager::getInstance();
  const int w = static_cast<int>(worldWidth());
  const int h = static_cast<int>(worldHeight());
  const int x0 = w / 2 - 10 + vx::randomInt() % 21;
  const int y = h / 2 - 10 + vx::randomInt() % 21;
  // Only a finite number of objects lie to the right, so the slide ends.
  float x = static_cast<float>(x0);
  while (!world.getCollisions(this, vx::Vector(x, static_cast<float>(y))).isEmpty())
    x += 1;
  world.moveObject(this, vx::Vector(x, static_cast<float>(y)));
}

void Fly::burst(vx::Color color) const { vx::addParticles(vx::BURST, getPosition(), 2.0f, color); }

void Fly::perish(vx::Color color, bool leave_splat) {
  if (leave_splat)
    (new Splat)->setPosition(getPosition());
  playSound("splat");
  burst(color);
  vx::WorldManager::getInstance().markForDelete(this);
  // In some minigames (COIN, ODD) killing a plain fly loses the run.
  if (!currentMinigameRow().deathLoses(getType()))
    return;
  auto *p_screen = dynamic_cast<TransitionScreen *>(firstObjectOfType(TRANSITION_SCREEN_TYPE));
  if (p_screen != nullptr)
    p_screen->loseGame();
}

void Fly::takeHit(int &hits, int hits_to_kill) {
  hits++;
  playSound("splat");
  burst(vx::GREEN);
  if (hits >= hits_to_kill)
    perish(vx::GREEN, true);
}

void Fly::die() { perish(vx::RED, true); }
