// Files and folders as whole entries, the same on every host: whether they are there, creating folders,
// deleting files, listing a folder in its order. The backend locates them and makes the host's calls.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/host.h"

namespace platform {

namespace host {

Location Locate(std::string_view windowsPath) { return Locate(FullPath(windowsPath)); }

std::optional<Location> TryLocate(std::string_view path) {
  try {
    return Locate(path);
  } catch (const FileError&) {
    return std::nullopt;
  }
}

Location LocateExisting(std::string_view path) {
  Location location = Locate(path);
  if (!location.Exists()) throw FileError(location.parentExists ? kFileNotFound : kPathNotFound);
  return location;
}

Location LocateFileToWrite(std::string_view path) {
  Location location = Locate(path);
  if (!location.parentExists) throw FileError(kPathNotFound);
  if (location.IsFolder()) throw FileError(kAccessDenied);
  return location;
}

Location LocateFolder(const WindowsPath& path) {
  Location location = Locate(path);
  if (!location.IsFolder()) throw FileError(kPathNotFound);
  return location;
}

}  // namespace host

bool FolderExists(std::string_view path) {
  auto location = host::TryLocate(path);
  return location && location->IsFolder();
}

bool FileExists(std::string_view path) {
  auto location = host::TryLocate(path);
  return location && location->Exists() && !location->IsFolder();
}

bool CreateFolders(std::string_view path) {
  WindowsPath folder;
  try {
    folder = FullPath(path);
  } catch (const FileError&) {
    return false;
  }
  auto location = host::TryLocate(folder.Text());
  if (!location) return false;
  if (location->IsFolder()) return true;
  if (location->Exists() || folder.IsRoot()) return false;
  if (!location->parentExists && !CreateFolders(folder.Parent().Text())) return false;
  location = host::TryLocate(folder.Text());
  if (!location) return false;
  try {
    backend::BeforeFileOperation(FileOperation::kCreateFolder, folder.Text());
  } catch (const FileError&) {
    return false;
  }
  host::CreateFolderAt(location->path);
  return FolderExists(folder.Text());
}

bool RemoveFile(std::string_view path) {
  auto location = host::TryLocate(path);
  if (!location || !location->Exists() || location->IsFolder()) return false;
  if (host::HeldOpen(location->path)) return false;
  try {
    backend::BeforeFileOperation(FileOperation::kDelete, path);
  } catch (const FileError&) {
    return false;
  }
  return host::DeleteFileAt(location->path);
}

namespace {

// The names of the entries of a folder of the kind asked for, sorted without regard to case (names that differ
// only in case by their bytes); none when the folder is not there or cannot be read.
std::vector<std::string> EntriesOf(std::string_view path, backend::EntryKind kind) {
  auto location = host::TryLocate(path);
  if (!location || !location->IsFolder()) return {};
  std::vector<std::string> names = host::ListFolder(location->path, kind);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    auto foldedA = FoldedName(a);
    auto foldedB = FoldedName(b);
    return foldedA != foldedB ? foldedA < foldedB : a < b;
  });
  return names;
}

}  // namespace

std::vector<std::string> Subfolders(std::string_view path) { return EntriesOf(path, backend::EntryKind::kFolder); }

std::vector<std::string> FilesIn(std::string_view path) { return EntriesOf(path, backend::EntryKind::kFile); }

}  // namespace platform
