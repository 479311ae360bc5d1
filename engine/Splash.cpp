#include "Splash.h"

#include <string>

#include "Animation.h"
#include "Config.h"
#include "EventKeyboard.h"
#include "EventStep.h"
#include "Frame.h"
#include "GameManager.h"
#include "LogManager.h"
#include "ObjectList.h"
#include "Sprite.h"
#include "WorldManager.h"

namespace vx {

namespace {

// A character picture: its size, colour, speed, label and frames, each frame
// given as its rows. Rows shorter than the width are padded with blanks.
struct Picture {
  int width;
  int height;
  Color color;
  int slowdown;           // 0 keeps the sprite's default.
  const char *label;      // Null keeps the sprite's default.
  int frame_count;
  const char *const *frames[2];
};

// The engine's name in solid block letters.
const char *const BANNER_BLOCK[] = {
    "##   ## ####### ##   ## ##       #####",
    "##   ## ##      ##   ## ##      ##   ##",
    "##   ## ##       ## ##  ##      ##   ##",
    "##   ## #####     ###   ##      ##   ##",
    " ## ##  ##        ###   ##      ##   ##",
    " ## ##  ##       ## ##  ##      ##   ##",
    "  ###   ##      ##   ## ##      ##   ##",
    "   #    ####### ##   ## #######  #####",
};

// The engine's name in thin lines, underlined.
const char *const BANNER_LINE[] = {
    "|     | .------ \\     / |       .-----.",
    "|     | |        \\   /  |       |     |",
    " \\   /  |         \\ /   |       |     |",
    " \\   /  |-----     X    |       |     |",
    "  \\ /   |         / \\   |       |     |",
    "  \\ /   |        /   \\  |       |     |",
    "   V    '------ /     \\ '------ '-----'",
    "~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~",
};

// The winged figure seen from above, wings spread.
const char *const FIGURE_WINGS_OUT[] = {
    "    .^.",
    " __/(o)\\__",
    "<___ | ___>",
    "    \\|/",
    "     |",
    "    / \\",
    "",
};

// The same, wings raised.
const char *const FIGURE_WINGS_UP[] = {
    "\\   .^.   /",
    " \\_/(o)\\_/",
    "    \\|/",
    "    \\|/",
    "     |",
    "    / \\",
    "",
};

// The figure at rest, wings folded along its body.
const char *const FIGURE_SETTLED[] = {
    "   .^.",
    "  /(o)\\",
    "  |\\|/|",
    "  | | |",
    "   \\|/",
    "   / \\",
};

const Picture BANNER = {47, 8, GREEN, 0, "splash", 2, {BANNER_LINE, BANNER_BLOCK}};
const Picture FIGURE_FLYING = {11, 7, BLUE, 2, "splash-vexlo", 2,
                               {FIGURE_WINGS_OUT, FIGURE_WINGS_UP}};
const Picture FIGURE_AT_REST = {9, 6, GREEN, 0, nullptr, 1, {FIGURE_SETTLED, nullptr}};

// Banner timeline: it slides for this many steps, then is deleted this many
// steps after stopping.
const int BANNER_SLIDE_STEPS = 15;
const int BANNER_END = -75;

// Figure timeline: it rises for this many steps, hovers until SETTLE, and
// ends the splash at END.
const int FIGURE_RISE_STEPS = 30;
const int FIGURE_SETTLE = -15;
const int FIGURE_END = -45;

// Where the figure lands, relative to the stopped banner's centre.
const Vector FIGURE_OFFSET(24, 1);

// How far below the view's bottom edge the figure starts.
const float FIGURE_START_BELOW = 6;

// One frame of the picture, each row padded or cut to the width.
Frame pictureFrame(const Picture &picture, int index) {
  std::string characters;
  for (int row = 0; row < picture.height; row++) {
    std::string line = picture.frames[index][row];
    line.resize(static_cast<std::size_t>(picture.width), ' ');
    characters += line;
  }
  return Frame(picture.width, picture.height, characters);
}

// A sprite of the picture, built in memory and owned by the caller. Blanks
// are transparent, so the figure can pass over the banner.
Sprite *buildSprite(const Picture &picture) {
  Sprite *p_sprite = new Sprite(picture.frame_count);
  p_sprite->setWidth(picture.width);
  p_sprite->setHeight(picture.height);
  p_sprite->setColor(picture.color);
  if (picture.slowdown > 0)
    p_sprite->setSlowdown(picture.slowdown);
  if (picture.label != nullptr)
    p_sprite->setLabel(picture.label);
  p_sprite->setTransparency(' ');
  for (int i = 0; i < picture.frame_count; i++)
    p_sprite->addFrame(pictureFrame(picture, i));
  return p_sprite;
}

// Plays the sprite from its first frame; `frozen` holds the animation there.
// The object's box becomes the sprite's.
void showSprite(Object *p_o, Sprite *p_sprite, bool frozen) {
  Animation animation;
  animation.setSprite(p_sprite);
  if (frozen)
    animation.setSlowdownCount(-1);
  p_o->setAnimation(animation);
}

// Ends the splash loop after this step and removes the object.
void endSplash(Object *p_o) {
  GameManager::getInstance().setGameOver(true);
  WorldManager::getInstance().markForDelete(p_o);
}

// Whether the event is a key going down. Only that ends the splash: a held
// key is sampled as down before its press reaches the window's queue, and a
// splash ended by the sample would leave the press itself to the game.
bool isKeyPress(const Event *p_e) {
  return p_e->getType() == KEYBOARD_EVENT &&
         static_cast<const EventKeyboard *>(p_e)->getKeyboardAction() == KEY_PRESSED;
}

// Registers the events both splash objects handle.
void listen(Object *p_o) {
  p_o->registerInterest(STEP_EVENT);
  p_o->registerInterest(KEYBOARD_EVENT);
}

// A game over raised elsewhere (a closed window) ends the loop before the
// splash objects see it. Whatever is left of them must not live on into the
// game: it gets no more events and goes at the end of the next update.
void removeLeftovers() {
  WorldManager &world_manager = WorldManager::getInstance();
  const ObjectList all = world_manager.getAllObjects(true);
  for (int i = 0; i < all.getCount(); i++) {
    if (all[i]->getType() == "Splash" || all[i]->getType() == "SplashVexlo") {
      all[i]->setActive(false);
      world_manager.markForDelete(all[i]);
    }
  }
}

} // namespace

int splash() {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(10, "splash(): Started.");
  GameManager &game_manager = GameManager::getInstance();
  if (!game_manager.isStarted()) {
    log_manager.writeLog(
        "splash(): Error! Cannot run splash screen until game manger is started.");
    return -1;
  }
  new Splash;
  game_manager.run();
  removeLeftovers();
  log_manager.writeLog(10, "splash(): Finished.");
  return 0;
}

Splash::Splash() : m_countdown(BANNER_SLIDE_STEPS), m_p_sprite(buildSprite(BANNER)) {
  showSprite(this, m_p_sprite, true);
  setType("Splash");
  setSolidness(SPECTRAL);

  // From just outside the right edge of the view, centred vertically, to stop
  // after the slide with its right end near the middle of the view.
  const Box view = WorldManager::getInstance().getView();
  const float view_x = view.getCorner().getX();
  const float view_width = view.getHorizontal();
  const float box_width = getBox().getHorizontal();
  setPosition(Vector(view_x + view_width + box_width * 0.5f,
                     view.getCorner().getY() + view.getVertical() * 0.5f));
  // A frame time under 2 ms would divide by 0: the banner then arrives in one step.
  int divisor = Config::getInstance().getFrameTime() / 2;
  if (divisor < 1)
    divisor = 1;
  setVelocity(Vector(-(box_width * 0.5f + view_width * 0.5f + 11) / static_cast<float>(divisor),
                     0));
  listen(this);
}

Splash::~Splash() { delete m_p_sprite; }

int Splash::eventHandler(const Event *p_e) {
  if (GameManager::getInstance().getGameOver()) {
    WorldManager::getInstance().markForDelete(this);
    return 0;
  }
  if (isKeyPress(p_e)) {
    endSplash(this);
    return 0;
  }
  if (p_e->getType() != STEP_EVENT)
    return 0;

  m_countdown--;
  if (m_countdown == 0) {
    // Stopped: the bold lettering, and the figure flies in beside it.
    Animation animation = getAnimation();
    animation.setIndex(1);
    setAnimation(animation);
    setVelocity(Vector(0, 0));
    new SplashVexlo(getPosition() + FIGURE_OFFSET);
  } else if (m_countdown == BANNER_END) {
    WorldManager::getInstance().markForDelete(this);
  }
  return 1;
}

SplashVexlo::SplashVexlo(Vector target)
    : m_target(target), m_countdown(FIGURE_RISE_STEPS), m_p_sprite(buildSprite(FIGURE_FLYING)) {
  showSprite(this, m_p_sprite, false);
  setType("SplashVexlo");
  setSolidness(SPECTRAL);

  // From below the view's bottom edge, rising to the target's height in 30 steps.
  const Box view = WorldManager::getInstance().getView();
  const float start_y = view.getCorner().getY() + view.getVertical() + FIGURE_START_BELOW;
  setPosition(Vector(target.getX(), start_y));
  setVelocity(Vector(0, -(start_y - target.getY()) / FIGURE_RISE_STEPS));
  listen(this);
}

SplashVexlo::~SplashVexlo() { delete m_p_sprite; }

int SplashVexlo::eventHandler(const Event *p_e) {
  if (GameManager::getInstance().getGameOver()) {
    WorldManager::getInstance().markForDelete(this);
    return 0;
  }
  if (isKeyPress(p_e)) {
    endSplash(this);
    return 1;
  }
  if (p_e->getType() != STEP_EVENT)
    return 0;

  m_countdown--;
  if (m_countdown < 1 && getPosition().getY() <= m_target.getY())
    setVelocity(Vector(0, 0));
  if (m_countdown == FIGURE_SETTLE) {
    // Settled: wings folded, one column further left.
    Sprite *p_flying = m_p_sprite;
    m_p_sprite = buildSprite(FIGURE_AT_REST);
    showSprite(this, m_p_sprite, false);
    delete p_flying;
    setPosition(getPosition() - Vector(1, 0));
  } else if (m_countdown == FIGURE_END) {
    endSplash(this);
  }
  return 1;
}

} // namespace vx
