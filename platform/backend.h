// Inside the platform library: what every backend calls, whatever the host.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace platform::backend {

// Runs the test's file-operation hook, if one is set, before an operation.
void BeforeFileOperation(FileOperation operation, std::string_view path);

// Eight random hexadecimal digits, for the names of temporary files.
std::string RandomSuffix();

}  // namespace platform::backend
