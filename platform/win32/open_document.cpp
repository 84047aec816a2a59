// Opening a document with the program Windows associates with it: the shell's "open".
#include <windows.h>
#include <shellapi.h>

#include "platform/platform.h"
#include "platform/win32/host.h"

namespace platform {

bool OpenWithDefaultProgram(std::string_view windowsPath) {
  host::Location location = host::Locate(windowsPath);
  if (!location.Exists()) return false;
  // The shell takes the ordinary form of the path, not the long one.
  std::wstring path = host::FullHostPath(location.path);
  HINSTANCE result = ::ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace platform
