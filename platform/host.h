// Inside the platform library: the header of the backend this build has (platform/CMakeLists.txt picks one),
// for the sources that every backend shares. Each backend's host.h gives them the same names, with the
// host's own types behind them:
//   - Location: a Windows path located on the host, with its host `path`, `parentExists`, Exists() and
//     IsFolder(); Locate(const WindowsPath&), which throws FileError for a drive that cannot be used;
//   - HeldOpen(hostPath), CreateFolderAt(hostPath), DeleteFileAt(hostPath) and ListFolder(hostPath, kind);
//   - NativeFile, the host's open file behind a File.
#pragma once

#include <optional>
#include <string_view>

#if defined(_WIN32)
#include "platform/win32/host.h"
#else
#include "platform/posix/host.h"
#endif

namespace platform::host {

// Locates a path, or gives nothing when the path or its drive cannot be used.
std::optional<Location> TryLocate(std::string_view path);

// Where an entry that must be there lies: FileError(kFileNotFound) when it is missing, kPathNotFound when the
// folder that should hold it is missing too.
Location LocateExisting(std::string_view path);
// Where a file is to be written: FileError(kPathNotFound) when the folder that should hold it is missing,
// kAccessDenied when a folder stands there.
Location LocateFileToWrite(std::string_view path);
// Where a folder that must be there lies: FileError(kPathNotFound) when there is no folder.
Location LocateFolder(const WindowsPath& path);

}  // namespace platform::host
