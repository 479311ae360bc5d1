// Mirror: two engine instances showing one world over a TCP connection.
//
//   mirror server [port] [steps]        flies buzz about; clients see them
//   mirror client [host] [port]         shows the server's world, live
//
// The server keeps a few flies moving and every step sends each object's
// changed attributes, written by the object serializers: a new object goes out
// as a "vx-network-create" message with all its mirrored attributes, a change
// as a "vx-network-sync" message with just the changed ones, a deleted object
// as a "vx-network-delete" message. A client that connects later first gets
// the whole world. With a step count the server stops that many steps after
// its first client came, sends "vx-network-game-over" and prints its world;
// the client then prints the world it shows, which is the same, and how many
// steps the picture lagged behind the server.
#include <time.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <SFML/Graphics.hpp>

#include "DisplayManager.h"
#include "EventNetwork.h"
#include "EventStep.h"
#include "GameManager.h"
#include "LogManager.h"
#include "NetworkManager.h"
#include "NetworkMessage.h"
#include "Object.h"
#include "ResourceManager.h"
#include "WorldManager.h"
#include "utility.h"

namespace {

// What a client copies: where an object is and how it looks. Motion stays
// with the server, so a copy sits exactly where the server last put it.
const unsigned int MIRRORED = vx::ATTR_ACTIVE | vx::ATTR_VISIBLE | vx::ATTR_BOX |
                              vx::ATTR_POSITION | vx::ATTR_TYPE | vx::ATTR_ANIMATION |
                              vx::ATTR_ALTITUDE | vx::ATTR_SOLIDNESS | vx::ATTR_SHAPE;

const int FLY_COUNT = 6;
const int REPLACE_EVERY = 25;    // Steps between replacing the oldest fly.
const int WAIT_FOR_CLIENT = 1000; // Steps a server with a step count waits for a client.

struct Kind {
  const char *type;
  const char *sprite;
  const char *file;
};

const Kind KINDS[] = {{"Fly", "fly", "sprites/plarn-spr.txt"},
                      {"LoveFly", "love", "sprites/loveFly.txt"},
                      {"LargeFly", "large", "sprites/LargeFly.txt"},
                      {"Coin", "coin", "sprites/coin-spr.txt"}};

int loadSprites() {
  for (const Kind &kind : KINDS)
    if (vx::ResourceManager::getInstance().loadSprite(kind.file, kind.sprite) != 0)
      return -1;
  return 0;
}

std::uint64_t nowMicroseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint64_t>(now.tv_sec) * 1000000u +
         static_cast<std::uint64_t>(now.tv_nsec / 1000);
}

// Every message starts with the object's id and the time it was written.
std::string stamp(int id) {
  std::ostringstream out;
  vx::writeInt32(out, id);
  vx::writeUint64(out, nowMicroseconds());
  return out.str();
}

// Prints the world one object a line, by id, the same way on both sides.
void printWorld(const char *side, const std::map<int, vx::Object *> &objects) {
  for (const auto &entry : objects) {
    const vx::Object *p_o = entry.second;
    std::printf("%s object %d %s %s %.3f %.3f\n", side, entry.first, p_o->getType().c_str(),
                p_o->getAnimation().getName().c_str(),
                static_cast<double>(p_o->getPosition().getX()),
                static_cast<double>(p_o->getPosition().getY()));
  }
  std::fflush(stdout);
}

float randomBetween(float low, float high) {
  return low + (high - low) * static_cast<float>(vx::randomInt()) / vx::RANDOM_MAX;
}

// A fly that wanders about and turns back at the edges of the world.
class Fly : public vx::Object {
 public:
  Fly() {
    const Kind &kind = KINDS[vx::randomInt() % (sizeof(KINDS) / sizeof(KINDS[0]))];
    setType(kind.type);
    setSprite(kind.sprite);
    setSolidness(vx::SPECTRAL);
    vx::Box world = vx::WorldManager::getInstance().getBoundary();
    setPosition(vx::Vector(randomBetween(1, world.getHorizontal() - 8),
                           randomBetween(1, world.getVertical() - 3)));
    setVelocity(vx::Vector(randomBetween(-0.8f, 0.8f), randomBetween(-0.4f, 0.4f)));
    registerInterest(vx::STEP_EVENT);
  }

  int eventHandler(const vx::Event *p_e) override {
    if (p_e->getType() != vx::STEP_EVENT)
      return 0;
    vx::Box world = vx::WorldManager::getInstance().getBoundary();
    vx::Vector next = predictPosition();
    vx::Vector velocity = getVelocity();
    if (next.getX() < 0 || next.getX() + getBox().getHorizontal() > world.getHorizontal())
      velocity.setX(-velocity.getX());
    if (next.getY() < 0 || next.getY() + getBox().getVertical() > world.getVertical())
      velocity.setY(-velocity.getY());
    setVelocity(velocity);
    return 1;
  }
};

// Keeps the flies going and tells every client what changed.
class MirrorServer : public vx::Object {
 private:
  int m_steps;                     // Steps to run once a client came; 0 runs for ever.
  int m_first_step;                // Step of the first client, or -1.
  std::vector<int> m_synced;       // Connections that hold the world.
  std::vector<int> m_joining;      // Connections that get the whole world next.
  std::set<int> m_announced;       // Ids of the objects the clients know.
  std::deque<Fly *> m_flies;       // Oldest first.

  void queue(int kind, const std::string &payload, int sock_index, int step) {
    std::string framed = vx::NetworkMessage(kind, payload.data(), static_cast<int>(payload.size()))
                             .encode();
    vx::NetworkManager::getInstance().queueMessage(framed.data(), static_cast<int>(framed.size()),
                                                   sock_index, step);
  }

  void queueToSynced(int kind, const std::string &payload, int step) {
    for (int sock_index : m_synced)
      queue(kind, payload, sock_index, step);
  }

  static std::string record(vx::Object *p_o, unsigned int attr) {
    std::ostringstream out;
    p_o->serialize(out, attr);
    return stamp(p_o->getId()) + out.str();
  }

  std::map<int, vx::Object *> world() const {
    std::map<int, vx::Object *> objects;
    vx::ObjectList all = vx::WorldManager::getInstance().getAllObjects(true);
    for (int i = 0; i < all.getCount(); i++)
      if (all[i] != this)
        objects[all[i]->getId()] = all[i];
    return objects;
  }

  // Sends this step's news: new objects, changes and deletions to the
  // clients that hold the world, then the whole world to those joining.
  void publish(int step) {
    std::map<int, vx::Object *> objects = world();
    for (const auto &entry : objects) {
      vx::Object *p_o = entry.second;
      if (m_announced.insert(entry.first).second)
        queueToSynced(vx::MESSAGE_CREATE, record(p_o, MIRRORED), step);
      else if ((p_o->getModified() & MIRRORED) != 0)
        queueToSynced(vx::MESSAGE_SYNC, record(p_o, p_o->getModified() & MIRRORED), step);
    }
    for (auto it = m_announced.begin(); it != m_announced.end();) {
      if (objects.count(*it) != 0) {
        ++it;
        continue;
      }
      queueToSynced(vx::MESSAGE_DELETE, stamp(*it), step);
      it = m_announced.erase(it);
    }
    for (int sock_index : m_joining) {
      for (const auto &entry : objects)
        queue(vx::MESSAGE_CREATE, record(entry.second, MIRRORED), sock_index, step);
      m_synced.push_back(sock_index);
    }
    m_joining.clear();
  }

  void finish(int step) {
    printWorld("server", world());
    queueToSynced(vx::MESSAGE_GAME_OVER, stamp(-1), step);
    vx::GameManager::getInstance().setGameOver();
  }

  static void forget(std::vector<int> &indices, int closed) {
    std::vector<int> kept;
    for (int index : indices)
      if (index != closed)
        kept.push_back(index > closed ? index - 1 : index);
    indices.swap(kept);
  }

 public:
  explicit MirrorServer(int steps) : m_steps(steps), m_first_step(-1) {
    setType("MirrorServer");
    setSolidness(vx::SPECTRAL);
    registerInterest(vx::STEP_EVENT);
    registerInterest(vx::NETWORK_EVENT);
    for (int i = 0; i < FLY_COUNT; i++)
      m_flies.push_back(new Fly);
  }

  int eventHandler(const vx::Event *p_e) override {
    if (p_e->getType() == vx::NETWORK_EVENT) {
      const auto *p_n = static_cast<const vx::EventNetwork *>(p_e);
      if (p_n->getLabel() == vx::NETWORK_CONNECTED) {
        m_joining.push_back(p_n->getSocketIndex());
        if (m_first_step < 0)
          m_first_step = vx::GameManager::getInstance().getStepCount();
      } else if (p_n->getLabel() == vx::NETWORK_CLOSED) {
        forget(m_synced, p_n->getSocketIndex());
        forget(m_joining, p_n->getSocketIndex());
      }
      return 1;
    }
    if (p_e->getType() != vx::STEP_EVENT)
      return 0;
    int step = static_cast<const vx::EventStep *>(p_e)->getStepCount();
    // Clients say only that they are there (see the keep-alive below):
    // reading drops it, so nothing piles up in the sockets.
    vx::NetworkManager::getInstance().receiveMessages();
    if (step % REPLACE_EVERY == REPLACE_EVERY - 1) {
      vx::WorldManager::getInstance().markForDelete(m_flies.front());
      m_flies.pop_front();
      m_flies.push_back(new Fly);
    }
    publish(step);
    if (m_steps > 0 && m_first_step >= 0 && step - m_first_step >= m_steps) {
      finish(step);
    } else if (m_steps > 0 && m_first_step < 0 && step >= WAIT_FOR_CLIENT) {
      std::printf("server: no client came\n");
      vx::GameManager::getInstance().setGameOver();
    }
    return 1;
  }
};

// Shows what the server sends.
class MirrorClient : public vx::Object {
 private:
  std::map<int, vx::Object *> m_copies; // By the server's ids.
  double m_lag_sum;                     // Milliseconds from writing to showing.
  double m_lag_max;
  int m_lag_count;
  int m_created;                        // Copies made and deleted so far.
  int m_deleted;

  void apply(vx::Object *p_o, const std::string &body) {
    std::istringstream in(body);
    if (p_o->deserialize(in) != 0)
      vx::LogManager::getInstance().writeLog("mirror: Error! A record did not apply.");
  }

  void printLag() const {
    double frame = vx::GameManager::getInstance().getFrameTime();
    if (m_lag_count == 0 || frame <= 0)
      return;
    std::printf("client lag %.2f steps on average, %.2f at most, over %d messages\n",
                m_lag_sum / m_lag_count / frame, m_lag_max / frame, m_lag_count);
    std::fflush(stdout);
  }

  void onMessage(const vx::EventNetwork *p_n) {
    std::string payload(static_cast<const char *>(p_n->getMessage()),
                        static_cast<size_t>(p_n->getBytes()));
    std::istringstream in(payload);
    std::int32_t id = 0;
    std::uint64_t written = 0;
    if (!vx::readInt32(in, id) || !vx::readUint64(in, written))
      return;
    double lag = static_cast<double>(nowMicroseconds() - written) / 1000.0;
    m_lag_sum += lag;
    m_lag_max = lag > m_lag_max ? lag : m_lag_max;
    m_lag_count++;
    std::string body = payload.substr(12);
    auto it = m_copies.find(id);
    std::string type = p_n->getType();
    if (type == vx::NETWORK_CREATE_EVENT || type == vx::NETWORK_SYNC_EVENT) {
      if (it == m_copies.end() && type == vx::NETWORK_SYNC_EVENT)
        return; // Never announced: nothing to change.
      if (it == m_copies.end())
        m_created++;
      vx::Object *p_o = it != m_copies.end() ? it->second : new vx::Object;
      m_copies[id] = p_o;
      apply(p_o, body);
    } else if (type == vx::NETWORK_DELETE_EVENT && it != m_copies.end()) {
      vx::WorldManager::getInstance().markForDelete(it->second);
      m_copies.erase(it);
      m_deleted++;
    } else if (type == vx::NETWORK_GAME_OVER_EVENT) {
      printWorld("client", m_copies);
      std::printf("client made %d copies and deleted %d\n", m_created, m_deleted);
      printLag();
      vx::GameManager::getInstance().setGameOver();
    }
  }

 public:
  MirrorClient() : m_lag_sum(0), m_lag_max(0), m_lag_count(0), m_created(0), m_deleted(0) {
    setType("MirrorClient");
    setSolidness(vx::SPECTRAL);
    for (const std::string &type :
         {vx::STEP_EVENT, vx::NETWORK_EVENT, vx::NETWORK_CREATE_EVENT, vx::NETWORK_SYNC_EVENT,
          vx::NETWORK_DELETE_EVENT, vx::NETWORK_GAME_OVER_EVENT})
      registerInterest(type);
  }

  int eventHandler(const vx::Event *p_e) override {
    if (p_e->getType() == vx::STEP_EVENT) {
      vx::NetworkManager::getInstance().receiveMessages();
      return 1;
    }
    const auto *p_n = static_cast<const vx::EventNetwork *>(p_e);
    if (p_e->getType() == vx::NETWORK_EVENT) {
      if (p_n->getLabel() == vx::NETWORK_CLOSED && !vx::GameManager::getInstance().getGameOver()) {
        std::printf("client: the server went away\n");
        vx::GameManager::getInstance().setGameOver();
      }
      return 1;
    }
    onMessage(p_n);
    return 1;
  }
};

// Puts the window at a horizontal pixel offset, so two sit side by side.
void placeWindow(int x) {
  sf::RenderWindow *p_window = vx::DisplayManager::getInstance().getWindow();
  if (p_window != nullptr)
    p_window->setPosition(sf::Vector2i(x, 0));
}

int usage() {
  std::fprintf(stderr, "usage: mirror server [port] [steps]\n"
                       "       mirror client [host] [port]\n");
  return 2;
}

} // namespace

int main(int argc, char *argv[]) {
  if (argc < 2)
    return usage();
  std::string role = argv[1];
  if (role != "server" && role != "client")
    return usage();

  vx::GameManager &game_manager = vx::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    std::fprintf(stderr, "mirror: the engine did not start (see the log)\n");
    game_manager.shutDown();
    return 1;
  }
  vx::LogManager::getInstance().setFlush(true);
  vx::NetworkManager &network_manager = vx::NetworkManager::getInstance();
  int result = 0;
  if (!network_manager.isStarted() || loadSprites() != 0) {
    std::fprintf(stderr, "mirror: networking is off or the sprites are missing\n");
    result = 1;
  } else if (role == "server") {
    if (network_manager.setServer(argc > 2 ? argv[2] : vx::DEFAULT_PORT) != 0) {
      result = 1;
    } else {
      // A connection that sends nothing within the silent-connection timeout
      // (network_silent_timeout, 5 s) is dropped, so idle connections cannot
      // take every place: mirror clients send a keep-alive as they connect.
      std::printf("server port %d\n", network_manager.getPort());
      std::fflush(stdout);
      placeWindow(0);
      new MirrorServer(argc > 3 ? vx::toInt(argv[3]) : 0);
      game_manager.run();
    }
  } else {
    if (network_manager.connect(argc > 2 ? argv[2] : "127.0.0.1",
                                argc > 3 ? argv[3] : vx::DEFAULT_PORT) < 0) {
      result = 1;
    } else {
      placeWindow(vx::DisplayManager::getInstance().getHorizontalPixels() + 16);
      // The client only listens; this one message keeps the server from
      // taking it for an idle connection.
      const std::string keep_alive = "keep-alive";
      network_manager.sendMessage(vx::MESSAGE_CUSTOM, keep_alive.data(),
                                  static_cast<int>(keep_alive.size()), 0);
      new MirrorClient;
      game_manager.run();
    }
  }
  game_manager.shutDown();
  return result;
}
