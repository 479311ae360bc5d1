// The command line: what `swat --help` prints (the keys, the flags and the
// files the game reads and writes) and the flags that change how it runs.
#ifndef SWAT_USAGE_H
#define SWAT_USAGE_H

#include <string>

// Whether the command line asks for help (--help or -h anywhere on it).
bool helpRequested(int argc, char **argv);

// The help text, with the paths as they are for this environment.
std::string usageText();

// Applies the command line's flags (--terminal, --record FILE, --replay FILE,
// --fast, --host, --join, --give-up, --bot) before the engine starts. 0, or
// the exit code for a command line it cannot use, after a line on standard
// error.
int applyOptions(int argc, char **argv);

// Whether the command line asked for the computer player (--bot).
bool botRequested(int argc, char **argv);

#endif // SWAT_USAGE_H
