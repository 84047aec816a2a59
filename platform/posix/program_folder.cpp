// Where the running program is: /proc/self/exe, shown through the drive map.
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/drive_map.h"
#include "platform/platform.h"
#include "platform/posix/host.h"

namespace platform {

std::string ProgramFolder() {
  std::string path(4096, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
  if (length < 0) host::ThrowErrno(errno);
  if (static_cast<std::size_t>(length) >= path.size()) throw FileError(kFilenameTooLong);
  path.resize(static_cast<std::size_t>(length));
  const std::size_t slash = path.rfind('/');
  return WindowsPathOfHost(slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash));
}

std::string InstalledFilesFolder() {
  return FullPath(ProgramFolder() + "\\..\\share\\escolan-horvane").Text();
}

}  // namespace platform
