// A line of text at the bottom of the start and game-over screens: the best
// streak so far, or the streak of the run that just ended.
#ifndef SWAT_SCORE_LINE_H
#define SWAT_SCORE_LINE_H

#include <string>

#include "ViewObject.h"

class ScoreLine : public vx::ViewObject {
 public:
  // The text alone (no value), centred on the bottom row.
  ScoreLine(const std::string &text, vx::Color color);
};

// "Best streak: 7".
std::string bestStreakText(int best);

// "Streak 5 - a new best!" or "Streak 5 (best 7)".
std::string runStreakText(int streak, int best, bool new_best);

#endif // SWAT_SCORE_LINE_H
