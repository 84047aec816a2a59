// Inside the platform library: the form in which names are compared without regard to case.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The name's characters with the case of ASCII and accented Latin letters folded; two names are the same
// Windows name when their folded forms are equal, and folded forms give a case-blind sort order.
std::u32string FoldedName(std::string_view name);

}  // namespace platform
