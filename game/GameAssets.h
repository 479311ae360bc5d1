// The game's sprites, sounds and musics as listed in assets.def.
#ifndef SWAT_GAME_ASSETS_H
#define SWAT_GAME_ASSETS_H

#include <string>
#include <vector>

enum class AssetKind { SPRITE, SOUND, MUSIC };

struct Asset {
  AssetKind kind;
  std::string label;
  std::string file; // Relative to the run directory: "sprites/...", "sounds/...".
};

// Every asset, in the order the game loads them.
const std::vector<Asset> &gameAssets();

// The assets of one kind, in the same order.
std::vector<Asset> gameAssets(AssetKind kind);

// Loads every asset under its label. A file that cannot be loaded is logged by
// the resource manager and the game goes on.
void loadResources();

#endif // SWAT_GAME_ASSETS_H
