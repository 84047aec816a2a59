// The command line's arguments and console on POSIX: already UTF-8.
#include "platform/platform.h"

namespace platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) { return {argv, argv + argc}; }

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

}  // namespace platform
