// The command line's arguments and console on Windows: the arguments as UTF-16 from the system, the
// console's output code page set to UTF-8 while the program runs.
#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "platform/win32/host.h"

namespace platform {
namespace {

struct ArgumentsFree {
  void operator()(LPWSTR* arguments) const { ::LocalFree(arguments); }
};

}  // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  std::unique_ptr<LPWSTR, ArgumentsFree> wide(::CommandLineToArgvW(::GetCommandLineW(), &count));
  if (!wide) return {argv, argv + argc};
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(host::Narrow(wide.get()[i]));
  return arguments;
}

Utf8Console::Utf8Console() {
  UINT current = ::GetConsoleOutputCP();  // 0 without a console
  if (current != 0 && current != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8) != 0) previousCodePage_ = current;
}

Utf8Console::~Utf8Console() {
  if (previousCodePage_ != 0) ::SetConsoleOutputCP(previousCodePage_);
}

}  // namespace platform
