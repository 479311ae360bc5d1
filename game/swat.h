// Includes every header of the fly-swatting game.
#ifndef SWAT_SWAT_H
#define SWAT_SWAT_H

#include "AutoPlayer.h"
#include "BestStreak.h"
#include "Coin.h"
#include "Dust.h"
#include "Fly.h"
#include "GameAssets.h"
#include "GameData.h"
#include "GameOver.h"
#include "GameStart.h"
#include "GameUtil.h"
#include "GiantFly.h"
#include "GreedyFly.h"
#include "Impossiflys.h"
#include "LargeFly.h"
#include "LoveFly.h"
#include "Minigame.h"
#include "MinigameInstructions.h"
#include "MinigameTable.h"
#include "ScoreLine.h"
#include "Splat.h"
#include "Streak.h"
#include "SwatReach.h"
#include "Swatter.h"
#include "TimeLeft.h"
#include "TransitionScreen.h"
#include "Usage.h"
#include "Vexlo.h"

#endif // SWAT_SWAT_H
