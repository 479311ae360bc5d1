// Together: two players on two machines share one world. Each player's '@'
// follows that player's own mouse; a '*' waits somewhere, and whoever clicks
// on it first scores and sends it elsewhere. First to 10 wins.
//
//   together --host [PORT]            waits for a friend, prints the join code
//   together --join HOST[:PORT] CODE  joins them
//
// The engine runs the same world on both machines and exchanges only the
// players' input, so the game code is written as if both sat at one machine:
// every keyboard and mouse event says which player gave it (getPlayer()),
// and vx::randomInt() gives both machines the same numbers.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <vexlo/vexlo.h>

namespace {

const vx::Color COLORS[2] = {vx::YELLOW, vx::CYAN};
const int WINNING_SCORE = 10;

// A player's pointer: moves with that player's mouse only.
class Hand : public vx::Object {
  int m_player;

 public:
  explicit Hand(int player) : m_player(player) {
    setType("Hand");
    setSolidness(vx::SPECTRAL);
    setPosition(vx::Vector(20.0f + 40.0f * static_cast<float>(player), 12));
    registerInterest(vx::MSE_EVENT);
  }

  int eventHandler(const vx::Event *p_e) override {
    if (p_e->getType() != vx::MSE_EVENT)
      return 0;
    const auto *p_mouse = static_cast<const vx::EventMouse *>(p_e);
    if (p_mouse->getPlayer() != m_player)
      return 0; // The other player's mouse.
    setPosition(p_mouse->getMousePosition());
    return 1;
  }

  int draw() override {
    return vx::DisplayManager::getInstance().drawCh(getPosition(), '@', COLORS[m_player]);
  }
};

// The star both players reach for, and the score.
class Star : public vx::Object {
  int m_score[2] = {0, 0};

  void jump() {
    setPosition(vx::Vector(static_cast<float>(2 + vx::randomInt() % 76),
                           static_cast<float>(2 + vx::randomInt() % 20)));
  }

 public:
  Star() {
    setType("Star");
    setSolidness(vx::SPECTRAL);
    registerInterest(vx::MSE_EVENT);
    jump();
  }

  int eventHandler(const vx::Event *p_e) override {
    if (p_e->getType() != vx::MSE_EVENT)
      return 0;
    const auto *p_mouse = static_cast<const vx::EventMouse *>(p_e);
    const vx::Vector at = p_mouse->getMousePosition();
    if (p_mouse->getMouseAction() != vx::CLICKED || vx::distance(at, getPosition()) > 1.5f)
      return 0;
    if (++m_score[p_mouse->getPlayer()] == WINNING_SCORE)
      vx::GameManager::getInstance().setGameOver();
    jump();
    return 1;
  }

  int draw() override {
    vx::DisplayManager &display = vx::DisplayManager::getInstance();
    for (int player = 0; player < 2; player++)
      display.drawString(vx::Vector(player == 0 ? 1.0f : 79.0f, 0),
                         "Player " + std::to_string(player + 1) + ": " +
                             std::to_string(m_score[player]),
                         player == 0 ? vx::JUSTIFY_LEFT : vx::JUSTIFY_RIGHT, COLORS[player]);
    return display.drawCh(getPosition(), '*', vx::WHITE);
  }
};

int usage() {
  std::fprintf(stderr, "usage: together --host [PORT] | --join HOST[:PORT] CODE\n");
  return 2;
}

} // namespace

int main(int argc, char *argv[]) {
  vx::LockstepMatch &match = vx::LockstepMatch::getInstance();
  match.setGameName("together"); // Only another "together" may join.
  if (argc >= 2 && std::strcmp(argv[1], "--host") == 0) {
    match.setHost("", argc >= 3 ? argv[2] : "");
  } else if (argc == 4 && std::strcmp(argv[1], "--join") == 0) {
    const std::string address = argv[2];
    const size_t colon = address.rfind(':');
    match.setJoin(address.substr(0, colon),
                  colon == std::string::npos ? "" : address.substr(colon + 1), argv[3]);
  } else {
    return usage();
  }

  // The handshake happens here: the host waits for the guest, and both agree
  // on the seed, the frame time and the input delay before the game begins.
  vx::GameManager &game_manager = vx::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    game_manager.shutDown(); // the terminal and the log say why
    return 1;
  }
  new Hand(0);
  new Hand(1);
  new Star;
  new vx::Pause(vx::Keyboard::F10); // Either player pauses both.
  game_manager.run();      // Ends for both when one wins, quits or goes away.
  game_manager.shutDown(); // Shows how the match ended, then stops.
  return match.getExitStatus();
}
