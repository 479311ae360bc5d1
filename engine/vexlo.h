// Includes every public header of the Vexlo engine.
#ifndef VX_VEXLO_H
#define VX_VEXLO_H

#include "Clock.h"
#include "Color.h"
#include "Config.h"
#include "Event.h"
#include "EventStep.h"
#include "GameManager.h"
#include "LogManager.h"
#include "Manager.h"
#include "Object.h"
#include "ObjectList.h"
#include "ObjectListIterator.h"
#include "utility.h"

#endif // VX_VEXLO_H
