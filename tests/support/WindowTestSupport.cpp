// Linked into every window test: keeps one graphics context alive for the
// whole process.
//
// The OpenGL driver is unloaded when the last graphics context closes; the
// leak checker then can no longer attribute the driver's own process-lifetime
// allocations to it, so they cannot be suppressed by library name. A context
// that lives until exit keeps the driver loaded and its allocations named.
#include <gtest/gtest.h>

#include <SFML/Window/Context.hpp>

namespace {

class GraphicsDriverEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static const sf::Context *const p_context = new sf::Context;
    (void)p_context;
  }
};

const ::testing::Environment *const graphics_driver =
    ::testing::AddGlobalTestEnvironment(new GraphicsDriverEnvironment);

} // namespace
