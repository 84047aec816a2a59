// Inside the platform library, POSIX side: where a Windows path lies on the host, and host errors as
// Windows error codes.
#pragma once

#include <dirent.h>

#include <memory>
#include <string>

#include "platform/platform.h"

namespace platform::host {

// A Windows path located on the host. Names are matched without regard to case; an existing entry keeps
// its own spelling, a missing one takes the spelling of the Windows path.
struct Location {
  std::string path;           // host path
  bool exists = false;        // something exists at `path`
  bool isFolder = false;      // ... and it is a folder
  bool parentExists = false;  // the folder that should hold it exists
};

// Throws FileError(kInvalidDrive) for an unmapped drive and FileError(kNotReady) for a drive whose host
// folder is missing.
Location Locate(const WindowsPath& path);
Location Locate(std::string_view windowsPath);

// The Windows code for a host errno; `parentExists` tells a missing file (2) from a missing folder (3).
int CodeOfErrno(int err, bool parentExists = true);
[[noreturn]] void ThrowErrno(int err, bool parentExists = true);

// An open host folder listing, closed by its destructor.
struct FolderListingCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};
using FolderListing = std::unique_ptr<DIR, FolderListingCloser>;

// Whether an existing file is held open by some File of the program (its lock cannot be taken).
bool HeldOpen(const std::string& hostPath);

}  // namespace platform::host
