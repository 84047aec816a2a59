// Inside the platform library, POSIX side: where a Windows path lies on the host, host errors as Windows
// error codes, the host's calls on whole entries, and the open file behind a File.
#pragma once

#include <dirent.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/platform.h"

namespace platform::host {

// A Windows path located on the host. Names are matched without regard to case; an existing entry keeps
// its own spelling, a missing one takes the spelling of the Windows path.
struct Location {
  std::string path;           // host path
  bool exists = false;        // something exists at `path`
  bool isFolder = false;      // ... and it is a folder
  bool parentExists = false;  // the folder that should hold it exists

  // As every backend's Location answers (for the sources the backends share).
  bool Exists() const { return exists; }
  bool IsFolder() const { return isFolder; }
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

// Creates the folder at `hostPath`, whose parent exists; whether it worked is for the caller to look at.
void CreateFolderAt(const std::string& hostPath);
// Deletes the file at `hostPath`; whether it is gone.
bool DeleteFileAt(const std::string& hostPath);
// The names of the folder's entries of that kind, in the order the host lists them; none when the folder
// cannot be read.
std::vector<std::string> ListFolder(const std::string& hostPath, backend::EntryKind kind);

}  // namespace platform::host

namespace platform {

// The descriptor (its lock stands for the sharing mode) and the view of the file's start, once asked for.
struct NativeFile {
  explicit NativeFile(int descriptor) : handle(descriptor) {}
  NativeFile(const NativeFile&) = delete;
  NativeFile& operator=(const NativeFile&) = delete;
  ~NativeFile();

  void EndView();

  int handle = -1;
  void* view = nullptr;
  std::size_t viewLength = 0;
};

}  // namespace platform
