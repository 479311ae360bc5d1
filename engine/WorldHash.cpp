#include "WorldHash.h"

#include <cstring>
#include <string>

#include "Object.h"
#include "ObjectList.h"
#include "SceneGraph.h"
#include "WorldManager.h"

namespace vx {

namespace {

// Mixes one 64-bit word into the hash: a multiply and a shift, far cheaper
// per byte than hashing the bytes one by one, which matters every step.
inline uint64_t mix(uint64_t hash, uint64_t word) {
  hash ^= word;
  hash *= 0x9E3779B97F4A7C15ULL;
  return hash ^ (hash >> 29);
}

inline uint64_t pair(float low, float high) {
  uint32_t a, b;
  std::memcpy(&a, &low, sizeof(a));
  std::memcpy(&b, &high, sizeof(b));
  return a | static_cast<uint64_t>(b) << 32;
}

inline uint64_t pair(int low, int high) {
  return static_cast<uint32_t>(low) | static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32;
}

uint64_t hashText(uint64_t hash, const std::string &text) {
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + i, sizeof(word));
    hash = mix(hash, word);
  }
  uint64_t last = 0;
  std::memcpy(&last, text.data() + i, text.size() - i);
  return mix(hash, last ^ static_cast<uint64_t>(text.size()) << 56);
}

uint64_t hashObjects(uint64_t hash, const ObjectList &objects, int first_id) {
  for (int i = 0; i < objects.getCount(); i++) {
    const Object *p_o = objects[i];
    // Id 0 is no id (an object that gave its id back).
    const int id = p_o->getId() > 0 ? p_o->getId() - first_id : 0;
    const Vector position = p_o->getPosition(), velocity = p_o->getVelocity();
    hash = mix(hash, pair(id, p_o->getSolidness()));
    hash = mix(hash, pair(position.getX(), position.getY()));
    hash = mix(hash, pair(velocity.getX(), velocity.getY()));
    hash = mix(hash, pair(p_o->getAltitude(), p_o->getShownValue()));
    hash = hashText(hash, p_o->getType());
  }
  return hash;
}

} // namespace

uint64_t hashWorld(int first_id) {
  const SceneGraph &scene_graph = WorldManager::getInstance().getSceneGraph();
  const uint64_t hash = hashObjects(0x6A09E667F3BCC908ULL, scene_graph.activeObjects(), first_id);
  // The inactive objects after a marker, so that one going inactive counts.
  return hashObjects(mix(hash, 1), scene_graph.inactiveObjects(), first_id);
}

} // namespace vx
