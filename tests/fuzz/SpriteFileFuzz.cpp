// libFuzzer target for the sprite file loaders: every input is written to a
// file and loaded with ResourceManager::loadSprite(). Besides crashes and
// sanitizer reports, a load that breaks the table's invariants aborts.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "LogManager.h"
#include "ResourceManager.h"
#include "Sprite.h"

namespace {

long g_inputs = 0;  // Inputs loaded so far.

using vxfuzz::check;

// A stored sprite must be whole: its frames all present and of its size.
void checkSprite(const vx::Sprite *p_sprite) {
  check(p_sprite->getFrameCount() >= 1, "loaded sprite without frames");
  const std::size_t size = static_cast<std::size_t>(p_sprite->getWidth()) *
                           static_cast<std::size_t>(p_sprite->getHeight());
  for (int i = 0; i < p_sprite->getFrameCount(); i++) {
    const vx::Frame frame = p_sprite->getFrame(i);
    check(frame.getWidth() == p_sprite->getWidth() && frame.getHeight() == p_sprite->getHeight(),
          "frame size differs from the sprite's");
    check(frame.getString().size() == size, "frame string is not width x height");
  }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  // The log would otherwise go to standard error, a line or more per input.
  setenv("VEXLO_LOG", "/dev/null", 1);
  vx::LogManager::getInstance().startUp();
  vx::ResourceManager::getInstance().startUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  vx::ResourceManager &rm = vx::ResourceManager::getInstance();
  // Free the sprites now and then to stay under the table's limit.
  if (rm.getSpriteCount() == vx::MAX_SPRITES) {
    rm.shutDown();
    rm.startUp();
  }

  // A new file for every input (rewriting one in place makes the file system
  // flush it to disk on every close).
  const std::string name = std::to_string(g_inputs++);
  const std::string path = vxfuzz::inputDirectory() + "/input" + name;
  FILE *p_file = std::fopen(path.c_str(), "wb");
  if (p_file == nullptr)
    return 0;
  const bool written = std::fwrite(data, 1, size, p_file) == size;
  std::fclose(p_file);
  if (written) {
    const int count = rm.getSpriteCount();
    const std::string label = "fuzz" + name;
    const int result = rm.loadSprite(path, label);
    if (result == 0) {
      check(rm.getSpriteCount() == count + 1, "loaded sprite not counted");
      const vx::Sprite *p_sprite = rm.getSprite(label);
      check(p_sprite != nullptr && p_sprite->getLabel() == label, "loaded sprite not found by its label");
      checkSprite(p_sprite);
    } else {
      check(result == -1, "loadSprite returned neither 0 nor -1");
      check(rm.getSpriteCount() == count, "refused sprite changed the table");
    }
  }
  std::remove(path.c_str());
  return 0;
}
