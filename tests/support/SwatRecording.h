// Records of swat games for the tests: the bot plays a game in this process,
// started the way the program starts it, and the program itself replays it.
#ifndef SWAT_RECORDING_H
#define SWAT_RECORDING_H

#include <sys/wait.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "Splash.h"
#include "SwatBot.h"

namespace vxtest {

// Records a game of `steps` steps played by the bot (clicking as a player)
// with the seed, headless, to `path`: the splash screen, then the start
// screen and the pause object, as the program does. A frame time of 0 does
// not sleep. With `idle_every`, the bot leaves every n-th minigame alone.
// `each_step`, when given, runs after the bot's turn in every step.
inline void recordBotGame(const std::string &path, int seed, int steps, int frame_time = 0,
                          int idle_every = 0, const std::function<void()> &each_step = {}) {
  TempDir dir;
  AudioOutput audio = AudioOutput::silent();
  writeFile(dir.file("config.txt"), "headless:true,networking:false,frame_time:" +
                                        std::to_string(frame_time) +
                                        ",random_seed:" + std::to_string(seed) + ",");
  ScopedEnv config("VEXLO_CONFIG", dir.file("config.txt"));
  ScopedEnv log("VEXLO_LOG", dir.file("record.log"));
  ScopedEnv record("VEXLO_RECORD", path);
  vx::GameManager &game_manager = vx::GameManager::getInstance();
  if (game_manager.startUp() == 0) {
    vx::splash();
    loadResources();
    new GameStart;
    new vx::Pause(vx::Keyboard::F10);
    SwatBot::Plan plan;
    plan.as_player = true;
    plan.plays = 1000;
    plan.max_steps = steps;
    plan.turn_every = 9;
    plan.idle_every = idle_every; // Fewer searches for a spot: a sanitizer build stays quick.
    if (each_step)
      plan.observe = [&each_step](SwatBot &) { return each_step(), false; };
    SwatBot *p_bot = new SwatBot(plan);
    game_manager.run();
    delete p_bot;
  }
  game_manager.shutDown();
}

struct ReplayOutcome {
  int exit_code;   // -1 when the program did not exit normally.
  std::string out; // Standard output.
  std::string err; // Standard error.
  std::string log; // The log file.
};

// Runs the program from the run directory with the configuration text and
// the arguments (e.g. "--replay FILE --fast"). Headless unless `window`.
inline ReplayOutcome runSwat(const std::string &config_text, const std::string &arguments,
                             bool window = false) {
  TempDir dir;
  writeFile(dir.file("config.txt"),
            config_text + (window ? "" : ",headless:true") + ",networking:false,");
  writeFile(dir.file("al.conf"), "[general]\ndrivers = null\n");
  const std::string command = std::string("cd '") + VEXLO_RUN_DIR + "' && env" +
                              " ALSOFT_CONF='" + dir.file("al.conf") + "'" +
                              " VEXLO_CONFIG='" + dir.file("config.txt") + "'" +
                              " VEXLO_LOG='" + dir.file("vexlo.log") + "' '" + VEXLO_SWAT_PATH +
                              "' " + arguments + " >'" + dir.file("out.txt") + "' 2>'" +
                              dir.file("err.txt") + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(dir.file("out.txt")),
          readFile(dir.file("err.txt")), readFile(dir.file("vexlo.log"))};
}

} // namespace vxtest

#endif // SWAT_RECORDING_H
