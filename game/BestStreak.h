// The best streak of all runs, kept in a file between runs of the program:
// "swat-best.txt" in $VEXLO_DATA_DIR when that is set, else in
// $XDG_DATA_HOME/vexlo, else in ~/.local/share/vexlo ("swat-best-two.txt"
// there for a game of two players). The file holds the number and a newline.
#ifndef SWAT_BEST_STREAK_H
#define SWAT_BEST_STREAK_H

#include <functional>
#include <string>

// The file's full path; "" when neither VEXLO_DATA_DIR, XDG_DATA_HOME nor HOME
// is set.
std::string bestStreakPath();

// The best streak in the file. A missing, unreadable or corrupt file (anything
// but a whole number from 0 to 2147483647) counts as 0, with a log line.
int loadBestStreak();

// Writes the best streak: to a new file beside the old one, flushed to the
// disk, then renamed over it, so a crash or a full disk never leaves the old
// best half-written. Makes the folder when it is missing. 0, or -1 with a log
// line (the old file is then as it was). `before_rename` is called between
// writing and renaming (the tests interrupt the write there).
int saveBestStreak(int best, const std::function<void()> &before_rename = {});

// Records the streak of a run that ended: when it beats the best in the file,
// it is written as the new best. Whether it did; `best` is the best after.
bool recordStreak(int streak, int &best);

#endif // SWAT_BEST_STREAK_H
