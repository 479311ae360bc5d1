#include "Dust.h"

#include "Particle.h"

namespace {

const int COUNT = 8;
const float SPREAD = 1.0f;   // Cells around the spot.
const float SIZE = 10.0f;    // Pixels, give or take half of SIZE_SPREAD.
const float SIZE_SPREAD = 6.0f;
const float SPEED = 0.06f;   // Cells per step, give or take half.
const int AGE = 16;          // Steps, give or take half of AGE_SPREAD.
const int AGE_SPREAD = 8;
const unsigned char OPACITY = 210, OPACITY_SPREAD = 40;
const unsigned char GREY = 150, GREY_SPREAD = 30;

} // namespace

void puffDust(vx::Vector where) {
  vx::addParticles(COUNT, where, SPREAD, vx::Vector(0, 0), 0.0f, SIZE, SIZE_SPREAD, SPEED, SPEED,
                   AGE, AGE_SPREAD, OPACITY, OPACITY_SPREAD, GREY, GREY, GREY, GREY_SPREAD,
                   vx::PLAIN_PARTICLE);
}
