#include "Usage.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "BestStreak.h"
#include "GameData.h"
#include "GameUtil.h"
#include "Recorder.h"

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
         "  --fast           run as fast as the machine can (with --replay)\n"
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
    } else if (std::strcmp(argv[i], "--terminal") == 0) {
      // The same as VEXLO_DISPLAY=terminal.
      setenv("VEXLO_DISPLAY", "terminal", 1);
    } else if (std::strcmp(argv[i], "--fast") == 0) {
      recorder.setFast();
    } else {
      std::fprintf(stderr, "swat: unknown option '%s' (swat --help lists them)\n", argv[i]);
      return 2;
    }
  }
  return 0;
}
