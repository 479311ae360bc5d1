/// \file
/// Loads and keeps the game's sprites, sounds and music, each under a label
/// chosen by the game. The manager owns every resource; callers get plain
/// pointers that stay valid until the manager shuts down.
#ifndef VX_RESOURCE_MANAGER_H
#define VX_RESOURCE_MANAGER_H

#include <string>
#include <vector>

#include "Manager.h"

#include "Music.h"
#include "Sound.h"
#include "Sprite.h"

namespace vx {

const int MAX_SPRITES = 1000; ///< Sprites the manager can hold.
/// The largest sprite file loadSprite() reads, in bytes (16 MB); larger files,
/// and anything but regular files, are refused before reading.
const long long MAX_SPRITE_FILE_SIZE = 16LL * 1024 * 1024;
const int MAX_SOUNDS = 100;   ///< Sound effects the manager can hold.
const int MAX_MUSICS = 50;    ///< Music streams the manager can hold.

struct SpriteFile;

/// Loads and owns the sprites, sounds and music of a game, each found by a label. Pointers it
/// hands out stay valid until it shuts down; nobody else deletes them.
class ResourceManager : public Manager {
 private:
  ResourceManager();

  Sprite *m_p_sprite[MAX_SPRITES]; // Loaded sprites in load order (owned).
  int m_sprite_count;              // Entries of m_p_sprite in use.
  Sound m_sound[MAX_SOUNDS];       // Sound slots, filled in load order.
  int m_sound_count;               // Loaded sounds.
  Music m_music[MAX_MUSICS];       // Music slots, filled in load order.
  int m_music_count;               // Loaded music streams.
  std::vector<Sound *> m_held_sounds; // Paused by pauseAudio, to play on.
  std::vector<Music *> m_held_musics;

  // Logs "ResourceManager not started!" and returns false when not started.
  bool checkStarted() const;

  // Deletes every sprite and gives every sound and music slot back to the
  // audio library, without a message (the log may be gone when the manager is
  // destroyed at exit).
  void releaseResources();

  // The two sprite file formats. Each returns a new sprite, or null after
  // logging why the file was refused.
  Sprite *loadSimpleSprite(SpriteFile &file) const;
  Sprite *loadRobustSprite(SpriteFile &file) const;

 public:
  /// Frees whatever shutDown() did not.
  ~ResourceManager() override;
  ///@{
  /// Not copyable: a singleton.
  ResourceManager(const ResourceManager &) = delete;
  ResourceManager &operator=(const ResourceManager &) = delete;
  ///@}

  /// The one resource manager.
  static ResourceManager &getInstance();

  /// Empties the tables and starts. 0, or -1 when already started.
  int startUp() override;

  /// Stops every sound and music stream, then deletes every sprite and frees
  /// every sound and music: sprite pointers become invalid, sound and music
  /// pointers stay valid but play nothing until loaded again.
  void shutDown() override;

  /// Loads a sprite file in either format and stores the sprite under the
  /// label. 0, or -1 with the tables unchanged. Only regular files of at most
  /// MAX_SPRITE_FILE_SIZE bytes are read.
  int loadSprite(std::string filename, std::string label);

  /// The first sprite loaded under the label, or null.
  Sprite *getSprite(std::string label) const;

  /// Loads a sound effect into the next free slot. 0, or -1.
  int loadSound(std::string filename, std::string label);

  /// The first sound loaded under the label, or null.
  Sound *getSound(std::string label);

  /// Opens a music file for streaming in the next free slot; the label must not
  /// be empty. 0, or -1.
  int loadMusic(std::string filename, std::string label);

  /// The first music loaded under the label, or null.
  Music *getMusic(std::string label);

  /// Pauses every sound and music that is playing, and plays them on from
  /// where they were, as they were looping or not (a pause of the game).
  void pauseAudio();
  /// Plays on every sound and music pauseAudio() held.
  void resumeAudio();

  /// The number of sprites loaded.
  int getSpriteCount() const;
  /// The number of sounds loaded.
  int getSoundCount() const;
  /// The number of pieces of music loaded.
  int getMusicCount() const;
};

} // namespace vx

#endif // VX_RESOURCE_MANAGER_H
