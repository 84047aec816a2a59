// Windows only: text between the program's UTF-8 and the wide form (UTF-16) that the system's calls take.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Wide() throws FileError(kInvalidName) for text that is not UTF-8; Narrow() gives an empty text for a wide
// one the system cannot convert.
std::wstring Wide(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace platform
