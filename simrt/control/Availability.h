// Control of Windows.Foundation.Metadata.ApiInformation.
#pragma once

#include "Export.h"

#include <string>

namespace sim {

// ---- Windows.Foundation.Metadata.ApiInformation ---------------------------
SIMRT_API void SetTypePresent(const std::wstring& typeName, bool present);
SIMRT_API void SetMethodPresent(const std::wstring& typeName, const std::wstring& methodName, bool present);
SIMRT_API void SetEventPresent(const std::wstring& typeName, const std::wstring& eventName, bool present);

}  // namespace sim
