// tavlet::require: every pointer argument and handle is tested with it. A
// failure is E_INVALIDARG from a handle-guarded export, E_FAIL from a plain one.
#pragma once

#include "Exception.h"

namespace tavlet {

class RequireException : public Exception {
public:
    RequireException() : Exception("require failed") {}
};

inline void require(bool condition) {
    if (!condition) throw RequireException();
}

}  // namespace tavlet
