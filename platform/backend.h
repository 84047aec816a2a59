// Inside the platform library: what the sources every backend shares and the backends ask of each other,
// whatever the host.
#pragma once

#include <string>
#include <string_view>

#include "platform/drive_map.h"
#include "platform/platform.h"

namespace platform::backend {

// ---------------------------------------------------------------------------------------------------------
// What the shared sources give every backend

// Runs the test's file-operation hook, if one is set, before an operation.
void BeforeFileOperation(FileOperation operation, std::string_view path);

// Eight random hexadecimal digits, for the names of temporary files.
std::string RandomSuffix();

// Copies what is left of `from` to `to` through the program, in blocks, both positions moving on.
// FileError(kDiskFull) when the target takes fewer bytes than it is given.
void CopyThroughTheProgram(File& from, File& to);

// ---------------------------------------------------------------------------------------------------------
// What each backend gives the shared sources: these in its drives.cpp; those with the host's own types in its
// host.h (see platform/host.h)

// The entries a folder listing asks the host for (ListFolder): its subfolders, or its files.
enum class EntryKind { kFolder, kFile };

// The Windows path of the folder the program was started in, under `drives`; empty when no drive holds it.
std::string StartingFolder(const DriveMap& drives);
// The Windows text of a host path under `drives`; empty when no drive holds it.
std::string WindowsTextOfHost(const DriveMap& drives, std::string_view hostPath);
// Whether drive `letter` is there under `drives` (on Windows, a real drive left unmapped is).
bool DriveExists(const DriveMap& drives, char letter);
// Told when the drive map is replaced: the backend forgets what it found on the drives of the old one.
void DriveMapReplaced();

}  // namespace platform::backend
