// The player's basket: a sprite at the bottom of the screen that the arrow
// keys and the mouse move from side to side.
#ifndef CATCH_BASKET_H
#define CATCH_BASKET_H

#include <vexlo/vexlo.h>

class Basket : public vx::Object {
 public:
  Basket();
  int eventHandler(const vx::Event *p_e) override;

 private:
  void moveTo(float x); // keeps the whole basket on screen
};

#endif
