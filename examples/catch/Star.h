// A falling star: caught when it touches the basket, missed when it falls out
// of the world. Either way it leaves and a new one starts at the top.
#ifndef CATCH_STAR_H
#define CATCH_STAR_H

#include <vexlo/vexlo.h>

class Star : public vx::Object {
 public:
  Star();
  int eventHandler(const vx::Event *p_e) override;

 private:
  void replace(); // marks this star for deletion and drops a new one
};

// The view objects' tags: an EventView with a tag updates the view object
// whose view string is that tag.
const char *const CAUGHT = "Caught";
const char *const MISSED = "Missed";

// The run ends when this many stars were missed.
const int MISSES_ALLOWED = 5;

#endif
