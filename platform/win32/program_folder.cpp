// Where the running program is: the module file of the process.
#include <windows.h>

#include <string>

#include "platform/drive_map.h"
#include "platform/platform.h"
#include "platform/win32/host.h"

namespace platform {

std::string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) host::ThrowLastError();
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // cut short: a longer buffer
  }
  path.resize(path.rfind(L'\\') + 1);
  if (path.size() > 3) path.pop_back();  // the folder without its last backslash; a drive's root keeps it
  return WindowsPathOfHost(Narrow(path));
}

std::string InstalledFilesFolder() { return ProgramFolder(); }

}  // namespace platform
