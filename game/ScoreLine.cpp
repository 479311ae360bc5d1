#include "ScoreLine.h"

ScoreLine::ScoreLine(const std::string &text, vx::Color color) {
  setType("ScoreLine");
  setLocation(vx::BOTTOM_CENTER);
  setDrawValue(false);
  setColor(color);
  setViewString(text);
}

std::string bestStreakText(int best) { return "Best streak: " + std::to_string(best); }

std::string runStreakText(int streak, int best, bool new_best) {
  const std::string text = "Streak " + std::to_string(streak);
  return new_best ? text + " - a new best!" : text + " (best " + std::to_string(best) + ")";
}
