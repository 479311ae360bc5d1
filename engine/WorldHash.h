/// \file
/// A 64-bit fingerprint of the world: what a replay compares step by step to
/// prove it went the same way as the recorded game.
#ifndef VX_WORLD_HASH_H
#define VX_WORLD_HASH_H

#include <cstdint>

namespace vx {

/// Hashes every object of the world (active or not) in the world's order: its
/// id counted from first_id, type, position, velocity, solidness and altitude,
/// and a view object's value. Ids are taken relative so that a game started
/// after other objects came and went in the same process hashes the same (id
/// 0, no id, stays 0).
uint64_t hashWorld(int first_id);

} // namespace vx

#endif // VX_WORLD_HASH_H
