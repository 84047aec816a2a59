// Open files: opening with Windows sharing rules (emulated with advisory whole-file locks), reading,
// writing, the shared view of a file's start, closing.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <utility>

#include "platform/backend.h"
#include "platform/host.h"

namespace platform {

NativeFile::~NativeFile() {
  EndView();
  if (handle >= 0) ::close(handle);
}

void NativeFile::EndView() {
  if (view != nullptr) ::munmap(view, viewLength);
  view = nullptr;
  viewLength = 0;
}

namespace {

// The descriptor of a file, -1 for a closed one (whose every use then fails as the host fails it).
int HandleOf(const std::unique_ptr<NativeFile>& native) { return native ? native->handle : -1; }

bool IsDiskFull(int err) { return err == ENOSPC || err == EDQUOT || err == EFBIG; }

// Takes the lock that stands for the Windows sharing mode, or closes the handle and throws.
void LockForSharing(int handle, Share share) {
  int operation = (share == Share::kExclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  if (::flock(handle, operation) == 0) return;
  int err = errno;
  ::close(handle);
  host::ThrowErrno(err);
}

int OpenHandle(const std::string& hostPath, int flags, bool parentExists) {
  int handle = ::open(hostPath.c_str(), flags | O_CLOEXEC, 0666);
  if (handle < 0) host::ThrowErrno(errno, parentExists);
  return handle;
}

}  // namespace

File File::OpenExisting(std::string_view path, Access access, Share share) {
  backend::BeforeFileOperation(FileOperation::kOpen, path);
  host::Location location = host::LocateExisting(path);
  if (location.isFolder) throw FileError(kAccessDenied);
  int flags = access == Access::kRead ? O_RDONLY : O_RDWR;
  int handle = OpenHandle(location.path, flags, true);
  LockForSharing(handle, share);
  return File(std::make_unique<NativeFile>(handle));
}

File File::Create(std::string_view path, Share share) {
  backend::BeforeFileOperation(FileOperation::kCreate, path);
  host::Location location = host::LocateFileToWrite(path);
  int handle = OpenHandle(location.path, O_RDWR | O_CREAT, true);
  LockForSharing(handle, share);
  File file(std::make_unique<NativeFile>(handle));
  // Devices take no truncation, and an empty file needs none: ext4 writes out at its closing a file that was
  // truncated to nothing, as if it replaced another one.
  struct stat info {};
  if (::fstat(handle, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) file.Truncate(0);
  return file;
}

std::string File::CreateUnique(std::string_view folder, std::string_view prefix) {
  WindowsPath folderPath = FullPath(folder);
  backend::BeforeFileOperation(FileOperation::kCreate, folderPath.Text());
  host::Location location = host::LocateFolder(folderPath);
  for (int attempt = 0;; ++attempt) {
    std::string name = std::string(prefix) + backend::RandomSuffix() + ".tmp";
    std::string hostPath = location.path + "/" + name;
    int handle = ::open(hostPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (handle >= 0) {
      ::close(handle);
      return folderPath.Child(name).Text();
    }
    if (errno != EEXIST || attempt == 100) host::ThrowErrno(errno);
  }
}

std::span<std::byte> File::MapStart(std::size_t length) {
  if (native_ == nullptr || native_->view == nullptr || native_->viewLength < length) {
    if (Size() < length) throw FileError(kInvalidParameter);
    native_->EndView();
    void* view = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, native_->handle, 0);
    if (view == MAP_FAILED) host::ThrowErrno(errno);
    native_->view = view;
    native_->viewLength = length;
  }
  return {static_cast<std::byte*>(native_->view), length};
}

std::size_t File::Read(std::span<std::byte> buffer) {
  backend::BeforeFileOperation(FileOperation::kRead, {});
  int handle = HandleOf(native_);
  for (;;) {
    ssize_t count = ::read(handle, buffer.data(), buffer.size());
    if (count >= 0) return static_cast<std::size_t>(count);
    if (errno != EINTR) host::ThrowErrno(errno);
  }
}

std::size_t File::Write(std::span<const std::byte> data) {
  backend::BeforeFileOperation(FileOperation::kWrite, {});
  int handle = HandleOf(native_);
  std::size_t written = 0;
  while (written < data.size()) {
    ssize_t count = ::write(handle, data.data() + written, data.size() - written);
    if (count > 0) {
      written += static_cast<std::size_t>(count);
    } else if (count < 0 && errno == EINTR) {
      continue;
    } else if (count == 0 || IsDiskFull(errno)) {
      break;
    } else {
      host::ThrowErrno(errno);
    }
  }
  return written;
}

std::size_t File::ReadAt(std::uint64_t offset, std::span<std::byte> buffer) const {
  backend::BeforeFileOperation(FileOperation::kRead, {});
  int handle = HandleOf(native_);
  std::size_t done = 0;
  while (done < buffer.size()) {
    ssize_t count = ::pread(handle, buffer.data() + done, buffer.size() - done, static_cast<off_t>(offset + done));
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      host::ThrowErrno(errno);
    }
    done += static_cast<std::size_t>(count);
  }
  return done;
}

void File::WriteAt(std::uint64_t offset, std::span<const std::byte> data) {
  backend::BeforeFileOperation(FileOperation::kWrite, {});
  int handle = HandleOf(native_);
  std::size_t done = 0;
  while (done < data.size()) {
    ssize_t count = ::pwrite(handle, data.data() + done, data.size() - done, static_cast<off_t>(offset + done));
    if (count > 0) {
      done += static_cast<std::size_t>(count);
    } else if (count < 0 && errno == EINTR) {
      continue;
    } else {
      host::ThrowErrno(count == 0 ? ENOSPC : errno);
    }
  }
}

std::uint64_t File::Size() const {
  struct stat info {};
  if (::fstat(HandleOf(native_), &info) != 0) host::ThrowErrno(errno);
  return static_cast<std::uint64_t>(info.st_size);
}

File::Stamp File::CurrentStamp() const {
  struct stat info {};
  if (::fstat(HandleOf(native_), &info) != 0) host::ThrowErrno(errno);
  return {static_cast<std::uint64_t>(info.st_size),
          static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

bool File::IsStillAt(std::string_view path) const {
  struct stat open {};
  if (!native_ || ::fstat(HandleOf(native_), &open) != 0) return false;
  try {
    host::Location location = host::Locate(path);
    struct stat named {};
    return location.exists && ::stat(location.path.c_str(), &named) == 0 && named.st_dev == open.st_dev &&
           named.st_ino == open.st_ino;
  } catch (const FileError&) {
    return false;
  }
}

void File::Truncate(std::uint64_t size) {
  backend::BeforeFileOperation(FileOperation::kTruncate, {});
  if (native_) native_->EndView();  // as on Windows, which truncates no file while a view of it lasts
  if (::ftruncate(HandleOf(native_), static_cast<off_t>(size)) != 0) host::ThrowErrno(errno);
}

void File::Flush() {
  backend::BeforeFileOperation(FileOperation::kFlush, {});
  int handle = HandleOf(native_);
  while (::fsync(handle) != 0) {
    if (errno != EINTR) host::ThrowErrno(errno);
  }
}

namespace {

// What copy_file_range refuses where a plain copy goes through: other file systems, devices, old kernels.
bool CopyNeedsThePlainWay(int err) {
  return err == EXDEV || err == EINVAL || err == ENOSYS || err == EOPNOTSUPP || err == EBADF;
}

}  // namespace

void CopyRest(File& from, File& to) {
  constexpr std::size_t kLargestStep = std::size_t{1} << 30;
  for (bool first = true;; first = false) {
    backend::BeforeFileOperation(FileOperation::kRead, {});
    backend::BeforeFileOperation(FileOperation::kWrite, {});
    ssize_t count = ::copy_file_range(HandleOf(from.native_), nullptr, HandleOf(to.native_), nullptr, kLargestStep, 0);
    if (count > 0) continue;
    if (count == 0) return;
    int err = errno;
    if (err == EINTR) continue;
    if (first && CopyNeedsThePlainWay(err)) return backend::CopyThroughTheProgram(from, to);
    if (IsDiskFull(err)) throw FileError(kDiskFull);
    host::ThrowErrno(err);
  }
}

void File::Close() {
  if (!native_) return;
  std::unique_ptr<NativeFile> native = std::move(native_);
  native->EndView();
  int handle = std::exchange(native->handle, -1);
  if (::close(handle) != 0 && errno != EINTR) host::ThrowErrno(errno);
}

}  // namespace platform
