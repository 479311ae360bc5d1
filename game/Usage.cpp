#include "Usage.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "BestStreak.h"
#include "GameData.h"
#include "GameUtil.h"
#include "LockstepMatch.h"
#include "NetworkManager.h"
#include "Recorder.h"

namespace {

// Splits "HOST:PORT" (or "[V6]:PORT") at its last colon; no colon, or a
// bare IPv6 address, leaves the port empty.
void splitAddress(const std::string &text, std::string &host, std::string &port) {
  const size_t colon = text.rfind(':');
  const bool bracketed = !text.empty() && text[0] == '[';
  if (colon == std::string::npos || (!bracketed && text.find(':') != colon) ||
      (bracketed && colon < text.find(']'))) {
    host = text;
    port.clear();
  } else {
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
  }
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
    host = host.substr(1, host.size() - 2);
}

bool isFlag(const char *text) { return text[0] == '-' && text[1] == '-'; }

} // namespace

bool botRequested(int argc, char **argv) {
  for (int i = 1; i < argc; i++)
    if (std::strcmp(argv[i], "--bot") == 0)
      return true;
  return false;
}

bool helpRequested(int argc, char **argv) {
  for (int i = 1; i < argc; i++)
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
      return true;
  return false;
}

std::string usageText() {
  const std::string best = bestStreakPath();
  const std::string data = gameDataDir();
  const std::string log = installedLogFile();
  return "Usage: swat [--terminal] [--record FILE | --replay FILE] [--fast] [--help]\n"
         "       swat --host [[ADDRESS:]PORT] [--terminal] [--give-up SECONDS]\n"
         "       swat --join HOST[:PORT] CODE [--terminal] [--give-up SECONDS]\n"
         "\n"
         "Swat: swat the flies of a run of short minigames before their time runs out.\n"
         "\n"
         "Keys:\n"
         "  P           start a run (start screen)\n"
         "  Q           quit (start screen)\n"
         "  F10         pause; any other key resumes\n"
         "  mouse       move the swatter; a click of any button swats\n"
         "  any key     skip the splash\n"
         "\n"
         "Flags:\n"
         "  --terminal       play in this terminal instead of a window\n"
         "  --record FILE    write the run's input to FILE\n"
         "  --replay FILE    play the input recorded in FILE again\n"
         "  --fast           run as fast as the machine can (with --replay; without\n"
         "                   DISPLAY it needs no window)\n"
         "  --host [PORT]    wait for a friend to join (port " + vx::DEFAULT_PORT +
         " unless given);\n"
         "                   prints the port and the join code to give them\n"
         "  --join HOST[:PORT] CODE  play with a friend who is hosting\n"
         "  --give-up SECONDS  how long to wait for a silent friend (10)\n"
         "  --bot            let the computer play for you\n"
         "  --help, -h       print this and exit\n"
         "\n"
         "Files, relative to the working directory unless a path is given:\n"
         "  read     " + (data.empty() ? "sprites/, sounds/, vx-font.ttf" : data + ": sprites/, sounds/, vx-font.ttf") + "\n"
         "  read     " + envOr("VEXLO_CONFIG", "vx-config.txt") +
         " (when present; VEXLO_CONFIG names another)\n"
         "  written  " + envOr("VEXLO_LOG", log.empty() ? "vexlo.log" : log) + " (VEXLO_LOG names another)\n"
         "  both     " + (best.empty() ? std::string("(no data folder: HOME is unset)") : best) +
         " (best streak; VEXLO_DATA_DIR, else XDG_DATA_HOME/vexlo, else ~/.local/share/vexlo)\n";
}

int applyOptions(int argc, char **argv) {
  vx::Recorder &recorder = vx::Recorder::getInstance();
  vx::LockstepMatch &match = vx::LockstepMatch::getInstance();
  match.setGameName("swat");
  bool fast = false, replay = false;
  for (int i = 1; i < argc; i++) {
    const bool record = std::strcmp(argv[i], "--record") == 0;
    if (record || std::strcmp(argv[i], "--replay") == 0) {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "swat: %s needs a file name\n", argv[i]);
        return 2;
      }
      if (record)
        recorder.setRecordFile(argv[++i]);
      else
        recorder.setReplayFile(argv[++i]);
      replay |= !record;
    } else if (std::strcmp(argv[i], "--terminal") == 0) {
      // The same as VEXLO_DISPLAY=terminal.
      setenv("VEXLO_DISPLAY", "terminal", 1);
    } else if (std::strcmp(argv[i], "--fast") == 0) {
      recorder.setFast();
      fast = true;
    } else if (std::strcmp(argv[i], "--bot") == 0) {
      // Read by botRequested.
    } else if (std::strcmp(argv[i], "--host") == 0) {
      std::string host, port;
      if (i + 1 < argc && !isFlag(argv[i + 1])) {
        const std::string address = argv[++i];
        if (address.find(':') == std::string::npos)
          port = address;
        else
          splitAddress(address, host, port);
      }
      match.setHost(host, port);
    } else if (std::strcmp(argv[i], "--join") == 0) {
      if (i + 2 >= argc || isFlag(argv[i + 1]) || isFlag(argv[i + 2])) {
        std::fprintf(stderr, "swat: --join needs the host and the join code\n");
        return 2;
      }
      std::string host, port;
      splitAddress(argv[i + 1], host, port);
      match.setJoin(host, port, argv[i + 2]);
      i += 2;
    } else if (std::strcmp(argv[i], "--give-up") == 0) {
      const int seconds = i + 1 < argc ? std::atoi(argv[i + 1]) : 0;
      if (seconds <= 0) {
        std::fprintf(stderr, "swat: --give-up needs a number of seconds\n");
        return 2;
      }
      match.setGiveUpTime(seconds * 1000);
      i++;
    } else {
      std::fprintf(stderr, "swat: unknown option '%s' (swat --help lists them)\n", argv[i]);
      return 2;
    }
  }
  // A fast replay shows nothing anyone could follow: without a display named
  // it runs without one rather than failing for the want of one.
  if (fast && replay && envOr("DISPLAY").empty() && envOr("VEXLO_DISPLAY").empty())
    setenv("VEXLO_DISPLAY", "none", 1);
  return 0;
}
