// The drive letters of the POSIX backend: each letter stands for a host folder, like a Wine prefix.
//   - C: is the folder named by ESCOLAN_HORVANE_DRIVE_C, else $XDG_DATA_HOME/escolan-horvane/drive_c
//     (~/.local/share/escolan-horvane/drive_c when XDG_DATA_HOME is unset), created on first use;
//   - any letter X may be mapped by ESCOLAN_HORVANE_DRIVE_X;
//   - Z: is the host's root "/" unless mapped otherwise.
// A drive is ready when its host folder exists. The front ends use this header to show a host path the
// user typed as a Windows path, and the tests to map drives of their own.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace platform {

// Drive letter -> host folder.
class DriveMap {
 public:
  // C: and Z: as described at the top of this file, and every ESCOLAN_HORVANE_DRIVE_X that is set.
  // Creates C:'s folder when it comes from the default location and is missing.
  static DriveMap FromEnvironment();

  void Map(char letter, std::string hostFolder);
  std::optional<std::string> HostFolder(char letter) const;
  std::vector<char> Letters() const;

 private:
  std::map<char, std::string> roots_;
};

// Replaces the process's drive map (the first use of the file system builds it from the environment). The
// current folder moves to the root of C: when its drive is no longer mapped.
void SetDriveMap(DriveMap map);
const DriveMap& Drives();

// The Windows path of a host path (a path typed on the command line, a test's folder): on the mapped drive
// whose folder holds it most closely, so that with Z: as "/" every host path has one. FileError(kPathNotFound)
// when no drive holds it.
std::string WindowsPathOfHost(std::string_view hostPath);

}  // namespace platform
