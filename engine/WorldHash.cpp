#include "WorldHash.h"

#include <cstring>
#include <string>

#include "Object.h"
#include "ObjectList.h"
#include "RecordFormat.h"
#include "ViewObject.h"
#include "WorldManager.h"

namespace vx {

namespace {

// What is hashed of one object, packed without padding.
struct ObjectFacts {
  int32_t id;
  float x, y, vx, vy;
  int32_t solidness;
  int32_t altitude;
  int32_t value;
};

} // namespace

uint64_t hashWorld(int first_id) {
  const ObjectList objects = WorldManager::getInstance().getAllObjects(true);
  uint64_t hash = FNV_OFFSET;
  for (int i = 0; i < objects.getCount(); i++) {
    const Object *p_o = objects[i];
    ObjectFacts facts;
    std::memset(&facts, 0, sizeof(facts));
    // Id 0 is no id (an object that gave its id back).
    facts.id = p_o->getId() > 0 ? p_o->getId() - first_id : 0;
    facts.x = p_o->getPosition().getX();
    facts.y = p_o->getPosition().getY();
    facts.vx = p_o->getVelocity().getX();
    facts.vy = p_o->getVelocity().getY();
    facts.solidness = p_o->getSolidness();
    facts.altitude = p_o->getAltitude();
    if (const ViewObject *p_view = dynamic_cast<const ViewObject *>(p_o))
      facts.value = p_view->getValue();
    const std::string type = p_o->getType();
    hash = fnv1a(&facts, sizeof(facts), hash);
    hash = fnv1a(type.data(), type.size() + 1, hash);
  }
  return hash;
}

} // namespace vx
