// The host's colours are 0xAARRGGBB values; the runtime's are Color structs.
#pragma once

#include "tavlet/winapi/winrt/abi/Foundation.Generics.h"

#include <cstdint>

namespace tavlet::winapi::winrt {

inline uint32_t ToArgb(const abi::Windows::UI::Color& color) noexcept {
    return uint32_t(color.A) << 24 | uint32_t(color.R) << 16 | uint32_t(color.G) << 8 | uint32_t(color.B);
}

inline abi::Windows::UI::Color FromArgb(uint32_t argb) noexcept {
    return {static_cast<BYTE>(argb >> 24), static_cast<BYTE>(argb >> 16), static_cast<BYTE>(argb >> 8),
            static_cast<BYTE>(argb)};
}

}  // namespace tavlet::winapi::winrt
