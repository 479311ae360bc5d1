#include "GameAssets.h"

#include "GameData.h"
#include "ResourceManager.h"

const std::vector<Asset> &gameAssets() {
#define SWAT_SPRITE(label, file) {AssetKind::SPRITE, label, file},
#define SWAT_SOUND(label, file, maker) {AssetKind::SOUND, label, file},
#define SWAT_MUSIC(label, file, maker) {AssetKind::MUSIC, label, file},
  static const std::vector<Asset> ASSETS = {
#include "assets.def"
  };
#undef SWAT_SPRITE
#undef SWAT_SOUND
#undef SWAT_MUSIC
  return ASSETS;
}

std::vector<Asset> gameAssets(AssetKind kind) {
  std::vector<Asset> found;
  for (const Asset &asset : gameAssets())
    if (asset.kind == kind)
      found.push_back(asset);
  return found;
}

void loadResources() {
  vx::ResourceManager &rm = vx::ResourceManager::getInstance();
  for (const Asset &asset : gameAssets()) {
    const std::string file = gameDataFile(asset.file);
    switch (asset.kind) {
      case AssetKind::SPRITE: rm.loadSprite(file, asset.label); break;
      case AssetKind::SOUND: rm.loadSound(file, asset.label); break;
      case AssetKind::MUSIC: rm.loadMusic(file, asset.label); break;
    }
  }
}
