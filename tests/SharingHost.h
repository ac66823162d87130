// Kept for HandleTest until it takes host::TempFile itself.
#pragma once

#include "Host.h"

namespace sharing_test {
using AssetFile = host::TempFile;
}
