// libFuzzer target for object records: every input is read by
// Object::deserialize() into a plain object and by ViewObject::deserialize()
// into a view object, in a started headless world, which then draws the
// object. Besides crashes and
// sanitizer reports, it aborts when a refused record changed the object, or
// when an accepted record, written again and read into a fresh object, does
// not come out the same.
//
// Run with VEXLO_WRITE_SEEDS=<directory> to write a few valid records there
// (the seed corpus) and exit.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "Config.h"
#include "DisplayManager.h"
#include "EventStep.h"
#include "FuzzSupport.h"
#include "LogManager.h"
#include "Object.h"
#include "PathManager.h"
#include "ResourceManager.h"
#include "ViewObject.h"
#include "WorldManager.h"

namespace {

using vxfuzz::check;

// The attributes as a record, leaving the object's modified mask as it was.
std::string written(vx::Object &o, unsigned int attributes) {
  const unsigned int modified = o.getModified();
  std::ostringstream out;
  o.serialize(out, attributes);
  o.setModified(modified);
  return out.str();
}

template <class T> void fuzzOne(const uint8_t *data, size_t size, unsigned int all) {
  vx::WorldManager &world = vx::WorldManager::getInstance();
  T *p_o = new T;
  const std::string before = written(*p_o, all);
  const unsigned int modified_before = p_o->getModified();
  std::stringstream in(std::string(reinterpret_cast<const char *>(data), size));
  unsigned int mask = 0;
  const int result = p_o->deserialize(in, &mask);
  check(result == 0 || result == -1, "deserialize returned neither 0 nor -1");
  // Drawn on the headless path: everything but the window calls is worked out.
  p_o->draw();
  if (result != 0) {
    check(written(*p_o, all) == before, "refused record changed the object");
    check(p_o->getModified() == modified_before, "refused record changed the modified mask");
  } else if ((mask & all) != 0) {
    // What was taken comes out the same from a second object. The follow
    // flag aims the object from where it stood when the flag was applied,
    // which a view object's location may change afterwards: with the flag,
    // the direction is left out.
    unsigned int attributes = mask & all;
    if ((attributes & vx::ATTR_FOLLOW_PATH) != 0)
      attributes &= ~vx::ATTR_DIRECTION;
    const std::string record = written(*p_o, attributes);
    T *p_copy = new T;
    std::stringstream copy_in(record);
    check(p_copy->deserialize(copy_in) == 0, "record written again was refused");
    check(written(*p_copy, attributes) == record, "record written again differs");
    world.markForDelete(p_copy);
  }
  world.markForDelete(p_o);
  world.update();
}

// A few valid records: a new object and view object whole, and some changes.
void writeSeeds(const std::string &dir) {
  vx::Object *p_o = new vx::Object;
  vx::ViewObject *p_v = new vx::ViewObject;
  int n = 0;
  auto save = [&](vx::Object &o, unsigned int attr) {
    std::ofstream out(dir + "/seed" + std::to_string(n++), std::ios::binary);
    o.serialize(out, attr);
  };
  save(*p_o, 0);
  save(*p_v, 0);
  p_o->setType("Fly");
  p_o->registerInterest(vx::STEP_EVENT);
  p_o->setVelocity(vx::Vector(1, 2));
  p_o->setPath(vx::Path({vx::Vector(3, 4), vx::Vector(5, 6)}));
  p_o->setFollowPath(true);
  save(*p_o, 0);
  save(*p_o, vx::ATTR_ALL);
  p_v->setViewString("Streak");
  p_v->setValue(12);
  p_v->setLocation(vx::BOTTOM_LEFT);
  save(*p_v, 0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  // The log would otherwise go to standard error, lines for every input.
  setenv("VEXLO_LOG", "/dev/null", 1);
  vx::LogManager::getInstance().startUp();
  vx::Config::getInstance().loadConfig("headless:true");
  vx::DisplayManager::getInstance().startUp();
  vx::ResourceManager::getInstance().startUp();
  vx::WorldManager &world = vx::WorldManager::getInstance();
  world.startUp();
  world.setBoundary(vx::Box(vx::Vector(0, 0), 80, 24));
  world.setView(vx::Box(vx::Vector(0, 0), 80, 24));
  vx::PathManager::getInstance().startUp();
  if (const char *p_dir = std::getenv("VEXLO_WRITE_SEEDS")) {
    writeSeeds(p_dir);
    std::exit(0);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  fuzzOne<vx::Object>(data, size, vx::ATTR_ALL);
  fuzzOne<vx::ViewObject>(data, size, vx::VIEW_ATTR_ALL);
  return 0;
}
