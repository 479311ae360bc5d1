// Small helpers the game's classes share: sounds and music looked up by label,
// streak awards, and walks over the world's objects by type name.
#ifndef SWAT_GAME_UTIL_H
#define SWAT_GAME_UTIL_H

#include <string>
#include <vector>

#include "Music.h"
#include "Object.h"

// Type names the game's rules test.
const std::string FLY_TYPE = "Fly";
const std::string LOVE_FLY_TYPE = "LoveFly";
const std::string GREEDY_FLY_TYPE = "GreedFly";
const std::string COIN_TYPE = "CoinFly";
const std::string VEXLO_TYPE = "VexLo";
const std::string SWATTER_TYPE = "Swatter";
const std::string SPLAT_TYPE = "Splat";
const std::string TIME_LEFT_TYPE = "TimeLeft";
const std::string TRANSITION_SCREEN_TYPE = "TransitionScreen";
const std::string GAME_START_TYPE = "GameStart";
const std::string GAME_OVER_TYPE = "GameOver";
const std::string FIREWORK_TYPE = "Firework";
const std::string PARTICLE_TYPE = "Particle";

// The altitude of a streak's celebration: below everything else of the game.
const int CELEBRATION_ALTITUDE = 0;

// The view string of the streak display, and the tag of the events for it.
const std::string STREAK_TAG = "Streak";

// Plays the sound with the label once; nothing when it was not loaded.
void playSound(const std::string &label);

// Plays or pauses a music; nothing for null.
void playMusic(vx::Music *p_music, bool loop = true);
void pauseMusic(vx::Music *p_music);

// Adds n (which may be negative) to the streak display through a view event.
void award(int n);

// Every object in the world, inactive ones included, whose type is one of the
// names.
std::vector<vx::Object *> objectsOfTypes(const std::vector<std::string> &types);

// The first object of the type in the world (active ones first), or null.
vx::Object *firstObjectOfType(const std::string &type);

// Marks every object whose type is one of the names for deletion and takes it
// out of play (inactive) for the rest of the step.
void markObjectsOfTypes(const std::vector<std::string> &types);

// Steps in a second at the configured frame time (rounded, so 30 at 33 ms); a
// frame time of 0 (as fast as possible) counts as the default 33 ms.
int stepsPerSecond();

// The world boundary's extents.
float worldWidth();
float worldHeight();

// The environment variable's value, or the fallback when it is unset or empty.
std::string envOr(const char *name, const std::string &fallback = "");

#endif // SWAT_GAME_UTIL_H
