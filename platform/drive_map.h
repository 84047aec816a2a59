// The drive letters the program sees, and the host folders behind them. Each backend keeps the map:
//   - on POSIX (Linux), every letter is a host folder, like a Wine prefix: C: is the folder named by
//     ESCOLAN_HORVANE_DRIVE_C, else $XDG_DATA_HOME/escolan-horvane/drive_c
//     (~/.local/share/escolan-horvane/drive_c when XDG_DATA_HOME is unset), created on first use; any letter X
//     may be mapped by ESCOLAN_HORVANE_DRIVE_X; Z: is the host's root "/" unless mapped otherwise. A drive is
//     ready when its host folder exists.
//   - on Windows, the drives are the real ones, and a letter is mapped onto a host folder only when
//     ESCOLAN_HORVANE_DRIVE_X names one ("Z:\tmp\e2e\drive_c") or a test maps it: a mapped letter stands for
//     that folder (ready when it exists), an unmapped one is the real drive of that letter. With no variable
//     set the program maps nothing.
// The front ends use this header to show a host path the user typed as a Windows path, and the tests to map
// drives of their own (so that two runs never share one C:\HTEMP).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace platform {

// Drive letter -> host folder (a POSIX path, or a full Windows path on Windows).
class DriveMap {
 public:
  // Every ESCOLAN_HORVANE_DRIVE_X that is set; on POSIX also C: and Z: as described at the top of this file
  // (creating C:'s folder when it comes from the default location and is missing).
  static DriveMap FromEnvironment();

  void Map(char letter, std::string hostFolder);
  std::optional<std::string> HostFolder(char letter) const;
  // The mapped letters, in order (on Windows, the real drives are not listed here: see MappedDrives).
  std::vector<char> Letters() const;

 private:
  std::map<char, std::string> roots_;
};

// Replaces the process's drive map (the first use of the file system builds it from the environment). The
// current folder moves to the root of C: when its drive is no longer there.
void SetDriveMap(DriveMap map);
const DriveMap& Drives();

// The Windows path of a host path (a path typed on the command line, a test's folder): on the mapped drive
// whose folder holds it most closely, so that with Z: as "/" every POSIX host path has one; on Windows, a
// path on no mapped drive is its own full path. FileError(kPathNotFound) when no drive holds it.
std::string WindowsPathOfHost(std::string_view hostPath);

}  // namespace platform
