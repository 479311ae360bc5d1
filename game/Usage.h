// What `swat --help` prints: the keys, the flags and the files the game reads
// and writes.
#ifndef SWAT_USAGE_H
#define SWAT_USAGE_H

#include <string>

// Whether the command line asks for help (--help or -h anywhere on it).
bool helpRequested(int argc, char **argv);

// The help text, with the paths as they are for this environment.
std::string usageText();

#endif // SWAT_USAGE_H
