// Where the game's data lies. Run from a build's run directory, the working
// directory holds it (sprites/, sounds/, vx-font.ttf); installed, it lies in
// share/games/swat beside the program's games/ folder (/usr/share/games/swat
// for /usr/games/swat), and the player may start the game from any folder.
#ifndef SWAT_GAME_DATA_H
#define SWAT_GAME_DATA_H

#include <string>

// The folder the game's data is read from, ending with '/'; "" for the working
// directory, which is used whenever it holds the game's sprites.
std::string gameDataDir();

// A data file's name as the game opens it: `file` (relative, as in assets.def)
// inside gameDataDir().
std::string gameDataFile(const std::string &file);

// The log file of a game on installed data: vexlo.log in the best streak's
// folder; "" when the working directory holds the data (the log is then
// vexlo.log there) or there is no such folder (HOME unset).
std::string installedLogFile();

// Prepares the engine to run on installed data: the font comes from the data
// folder unless the configuration names one, and the log goes to the folder of
// the best streak unless VEXLO_LOG names a file (the working directory may be
// anywhere, even where nothing can be written). Does nothing when the working
// directory holds the data. Call before GameManager::startUp().
void useGameData();

#endif // SWAT_GAME_DATA_H
