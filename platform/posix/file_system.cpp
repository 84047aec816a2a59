// Files and folders as whole entries, the host's side: whether a file is held open, creating a folder,
// deleting a file and listing a folder on the host, the read-only permission, moving.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>

#include "platform/backend.h"
#include "platform/host.h"

namespace platform {
namespace host {

bool HeldOpen(const std::string& hostPath) {
  int handle = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (handle < 0) return false;
  bool held = ::flock(handle, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(handle);
  return held;
}

void CreateFolderAt(const std::string& hostPath) { ::mkdir(hostPath.c_str(), 0777); }

bool DeleteFileAt(const std::string& hostPath) { return ::unlink(hostPath.c_str()) == 0; }

std::vector<std::string> ListFolder(const std::string& hostPath, backend::EntryKind kind) {
  std::vector<std::string> names;
  FolderListing dir(::opendir(hostPath.c_str()));
  if (!dir) return names;
  while (dirent* entry = ::readdir(dir.get())) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    std::string full = (hostPath == "/" ? "" : hostPath) + "/" + name;
    if (::stat(full.c_str(), &info) != 0) continue;
    if (kind == backend::EntryKind::kFolder ? S_ISDIR(info.st_mode) : S_ISREG(info.st_mode)) names.push_back(name);
  }
  return names;
}

}  // namespace host

namespace {

// The read-only attribute as the host keeps it: a file no one may write.
bool ReadOnlyMode(mode_t mode) { return S_ISREG(mode) && (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

}  // namespace

bool IsReadOnly(std::string_view path) {
  auto location = host::TryLocate(path);
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
  host::Location source = host::LocateExisting(from);
  host::Location target = host::LocateFileToWrite(to);
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
