// Files and folders as whole entries: existence, creation, deletion, listing, moving.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>

#include "platform/backend.h"
#include "platform/posix/host.h"

namespace platform {
namespace {

// Locates a path, or gives nothing when the path or its drive cannot be used.
std::optional<host::Location> TryLocate(std::string_view path) {
  try {
    return host::Locate(path);
  } catch (const FileError&) {
    return std::nullopt;
  }
}

}  // namespace

namespace host {

bool HeldOpen(const std::string& hostPath) {
  int handle = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (handle < 0) return false;
  bool held = ::flock(handle, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(handle);
  return held;
}

}  // namespace host

bool FolderExists(std::string_view path) {
  auto location = TryLocate(path);
  return location && location->isFolder;
}

bool FileExists(std::string_view path) {
  auto location = TryLocate(path);
  return location && location->exists && !location->isFolder;
}

bool CreateFolders(std::string_view path) {
  WindowsPath folder;
  try {
    folder = FullPath(path);
  } catch (const FileError&) {
    return false;
  }
  auto location = TryLocate(folder.Text());
  if (!location) return false;
  if (location->isFolder) return true;
  if (location->exists || folder.IsRoot()) return false;
  if (!location->parentExists && !CreateFolders(folder.Parent().Text())) return false;
  location = TryLocate(folder.Text());
  if (!location) return false;
  try {
    backend::BeforeFileOperation(FileOperation::kCreateFolder, folder.Text());
  } catch (const FileError&) {
    return false;
  }
  ::mkdir(location->path.c_str(), 0777);
  return FolderExists(folder.Text());
}

bool RemoveFile(std::string_view path) {
  auto location = TryLocate(path);
  if (!location || !location->exists || location->isFolder) return false;
  if (host::HeldOpen(location->path)) return false;
  try {
    backend::BeforeFileOperation(FileOperation::kDelete, path);
  } catch (const FileError&) {
    return false;
  }
  return ::unlink(location->path.c_str()) == 0;
}

namespace {

// The names of the entries of a folder whose kind `wanted` accepts, sorted without regard to case.
template <typename Wanted>
std::vector<std::string> EntriesOf(std::string_view path, Wanted wanted) {
  std::vector<std::string> names;
  auto location = TryLocate(path);
  if (!location || !location->isFolder) return names;
  host::FolderListing dir(::opendir(location->path.c_str()));
  if (!dir) return names;
  while (dirent* entry = ::readdir(dir.get())) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    std::string full = (location->path == "/" ? "" : location->path) + "/" + name;
    if (::stat(full.c_str(), &info) == 0 && wanted(info.st_mode)) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    auto foldedA = FoldedName(a);
    auto foldedB = FoldedName(b);
    return foldedA != foldedB ? foldedA < foldedB : a < b;
  });
  return names;
}

}  // namespace

std::vector<std::string> Subfolders(std::string_view path) {
  return EntriesOf(path, [](mode_t mode) { return S_ISDIR(mode); });
}

std::vector<std::string> FilesIn(std::string_view path) {
  return EntriesOf(path, [](mode_t mode) { return S_ISREG(mode); });
}

namespace {

// The read-only attribute as the host keeps it: a file no one may write.
bool ReadOnlyMode(mode_t mode) { return S_ISREG(mode) && (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

}  // namespace

bool IsReadOnly(std::string_view path) {
  auto location = TryLocate(path);
  struct stat info {};
  if (!location || !location->exists || ::stat(location->path.c_str(), &info) != 0) return false;
  return ReadOnlyMode(info.st_mode);
}

namespace {

// Gives the file at `hostPath` the owner, group and permissions of `like`. The owner stays the mover's where
// the host does not let it give files away (a user who is not root): the rest is kept all the same.
void TakeOwnerAndPermissions(const std::string& hostPath, const struct stat& like) {
  if (::chown(hostPath.c_str(), like.st_uid, like.st_gid) != 0 && errno == EPERM) {
    (void)::chown(hostPath.c_str(), static_cast<uid_t>(-1), like.st_gid);
  }
  if (::chmod(hostPath.c_str(), like.st_mode & 07777) != 0) host::ThrowErrno(errno);
}

// Puts a folder's entries (a rename in it) on disk.
void FlushFolder(const std::string& hostPath) {
  int handle = ::open(hostPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle < 0) return;
  ::fsync(handle);
  ::close(handle);
}

std::string HostFolderOf(const std::string& hostPath) {
  std::size_t slash = hostPath.find_last_of('/');
  return slash == 0 ? "/" : hostPath.substr(0, slash);
}

}  // namespace

void MoveReplacing(std::string_view from, std::string_view to, Replacement how) {
  host::Location source = host::Locate(from);
  if (!source.exists) throw FileError(source.parentExists ? kFileNotFound : kPathNotFound);
  host::Location target = host::Locate(to);
  if (!target.parentExists) throw FileError(kPathNotFound);
  if (target.isFolder) throw FileError(kAccessDenied);
  if (target.exists && host::HeldOpen(target.path)) throw FileError(kSharingViolation);
  struct stat targetInfo {};
  bool keep = target.exists && ::stat(target.path.c_str(), &targetInfo) == 0;
  if (keep && ReadOnlyMode(targetInfo.st_mode)) throw FileError(kAccessDenied);  // as Windows refuses to replace one
  backend::BeforeFileOperation(FileOperation::kRename, to);
  if (keep) TakeOwnerAndPermissions(source.path, targetInfo);
  if (how == Replacement::kWorkingCopy && keep && ::unlink(target.path.c_str()) != 0) host::ThrowErrno(errno);
  if (::rename(source.path.c_str(), target.path.c_str()) != 0) host::ThrowErrno(errno);
  if (how == Replacement::kAtomicOnDisk) FlushFolder(HostFolderOf(target.path));
}

}  // namespace platform
