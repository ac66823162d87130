// Control API of the simulated Windows Runtime. Tests call it directly; the
// library under test reaches the same DLL only through RoGetActivationFactory.
// One header per family, under control/.
#pragma once

#include "control/Availability.h"
#include "control/Dial.h"
#include "control/Platform.h"
#include "control/Runtime.h"
#include "control/Sharing.h"
#include "control/Storage.h"
#include "control/Threads.h"
#include "control/Tiles.h"
#include "control/Windows.h"
