// The fixtures, for the tests that include them by this name.
#pragma once

#include "Host.h"
