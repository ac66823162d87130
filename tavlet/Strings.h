// Text at the boundary: UTF-16 from hosts, UTF-8 to and from callbacks and paths.
#pragma once

#include <string>

namespace tavlet {

// A host's NUL-terminated UTF-16 text; null gives an empty string.
std::wstring ToWideString(const wchar_t* text);

// UTF-16 <-> UTF-8 over the whole input, embedded NULs included. An empty input
// or a failed conversion gives an empty result.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

}  // namespace tavlet
