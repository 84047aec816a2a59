// Open files: opening with the system's sharing modes, reading, writing, the shared view of a file's start,
// closing; and which files the program holds open.
#include <algorithm>
#include <cstdio>
#include <limits>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <tuple>
#include <utility>

#include "platform/backend.h"
#include "platform/host.h"

namespace platform {
namespace {

using host::FileId;

std::optional<FileId> IdOf(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle, &info)) return std::nullopt;
  return FileId{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// The files the program's Files hold open (a file may be open more than once).
class OpenFiles {
 public:
  void Add(const FileId& id) {
    std::lock_guard lock(mutex_);
    ids_.insert(id);
  }
  void Remove(const FileId& id) {
    std::lock_guard lock(mutex_);
    auto found = ids_.find(id);
    if (found != ids_.end()) ids_.erase(found);
  }
  bool Holds(const FileId& id) const {
    std::lock_guard lock(mutex_);
    return ids_.contains(id);
  }

 private:
  mutable std::mutex mutex_;
  std::multiset<FileId> ids_;
};

OpenFiles& TheOpenFiles() {
  static OpenFiles files;
  return files;
}

}  // namespace

NativeFile::NativeFile(HANDLE opened) : handle(opened), id(IdOf(opened)) {
  if (id) TheOpenFiles().Add(*id);
}

NativeFile::~NativeFile() {
  EndView();
  if (handle != nullptr) ::CloseHandle(ReleaseHandle());
}

void NativeFile::EndView() {
  if (view != nullptr) ::UnmapViewOfFile(view);
  view = nullptr;
  viewLength = 0;
}

HANDLE NativeFile::ReleaseHandle() {
  if (id) TheOpenFiles().Remove(*id);
  id.reset();
  return std::exchange(handle, nullptr);
}

namespace {

// The handle of a file, none for a closed one (whose every use then fails as the system fails it).
HANDLE HandleOf(const std::unique_ptr<NativeFile>& native) { return native ? native->handle : nullptr; }

bool IsDiskFull(DWORD error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

constexpr DWORD kLargestTransfer = 1u << 30;

DWORD ChunkOf(std::size_t remaining) {
  return static_cast<DWORD>(std::min<std::size_t>(remaining, kLargestTransfer));
}

OVERLAPPED At(std::uint64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return at;
}

// Reads from `offset` until the buffer is full or the file ends.
std::size_t ReadFrom(HANDLE handle, std::uint64_t offset, std::span<std::byte> buffer) {
  std::size_t done = 0;
  while (done < buffer.size()) {
    OVERLAPPED at = At(offset + done);
    DWORD count = 0;
    if (!::ReadFile(handle, buffer.data() + done, ChunkOf(buffer.size() - done), &count, &at)) {
      DWORD error = ::GetLastError();
      if (error == ERROR_HANDLE_EOF) break;
      host::ThrowWindowsError(error);
    }
    if (count == 0) break;
    done += count;
  }
  return done;
}

// Writes at `offset`; a full disk ends the writing early when `stopWhenFull` says so, else it throws.
std::size_t WriteTo(HANDLE handle, std::uint64_t offset, std::span<const std::byte> data, bool stopWhenFull) {
  std::size_t done = 0;
  while (done < data.size()) {
    OVERLAPPED at = At(offset + done);
    DWORD count = 0;
    if (!::WriteFile(handle, data.data() + done, ChunkOf(data.size() - done), &count, &at)) {
      DWORD error = ::GetLastError();
      if (stopWhenFull && IsDiskFull(error)) break;
      host::ThrowWindowsError(error);
    }
    if (count == 0) {
      if (stopWhenFull) break;
      throw FileError(kDiskFull);
    }
    done += count;
  }
  return done;
}

DWORD ShareModeOf(Share share) { return share == Share::kExclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE; }

DWORD AccessOf(Access access) { return access == Access::kRead ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE; }

HANDLE OpenHandle(const std::wstring& hostPath, DWORD access, Share share, DWORD disposition) {
  HANDLE handle = ::CreateFileW(hostPath.c_str(), access, ShareModeOf(share), nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) host::ThrowLastError();
  return handle;
}

// Nanoseconds since 1970 of a Windows file time (100-nanosecond steps since 1601).
std::int64_t NanosecondsOf(const FILETIME& time) {
  constexpr std::int64_t kStepsFrom1601To1970 = 116'444'736'000'000'000;
  std::int64_t steps =
      static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
  return (steps - kStepsFrom1601To1970) * 100;
}

}  // namespace

namespace host {

bool HeldOpen(const std::wstring& hostPath) {
  UniqueHandle handle = OwnHandle(
      ::CreateFileW(hostPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return !handle && ::GetLastError() == ERROR_SHARING_VIOLATION;
}

bool HeldByThisProcess(const std::wstring& hostPath) {
  // Asking for the attributes alone is refused by no sharing mode.
  UniqueHandle handle = OwnHandle(::CreateFileW(hostPath.c_str(), FILE_READ_ATTRIBUTES,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return false;
  std::optional<FileId> id = IdOf(handle.get());
  return id && TheOpenFiles().Holds(*id);
}

}  // namespace host

File File::OpenExisting(std::string_view path, Access access, Share share) {
  backend::BeforeFileOperation(FileOperation::kOpen, path);
  host::Location location = host::LocateExisting(path);
  if (location.IsFolder()) throw FileError(kAccessDenied);
  return File(std::make_unique<NativeFile>(OpenHandle(location.path, AccessOf(access), share, OPEN_EXISTING)));
}

File File::Create(std::string_view path, Share share) {
  backend::BeforeFileOperation(FileOperation::kCreate, path);
  host::Location location = host::LocateFileToWrite(path);
  // Opened as it is, then emptied: an opening that the sharing modes refuse must leave the file untouched.
  File file(std::make_unique<NativeFile>(OpenHandle(location.path, AccessOf(Access::kReadWrite), share, OPEN_ALWAYS)));
  // Devices take no truncation, and an empty file needs none.
  if (::GetFileType(file.native_->handle) == FILE_TYPE_DISK && file.Size() > 0) file.Truncate(0);
  return file;
}

std::string File::CreateUnique(std::string_view folder, std::string_view prefix) {
  WindowsPath folderPath = FullPath(folder);
  backend::BeforeFileOperation(FileOperation::kCreate, folderPath.Text());
  host::Location location = host::LocateFolder(folderPath);
  std::wstring folderText = location.path;
  if (folderText.back() != L'\\') folderText += L'\\';
  for (int attempt = 0;; ++attempt) {
    std::string name = std::string(prefix) + backend::RandomSuffix() + ".tmp";
    host::UniqueHandle handle = host::OwnHandle(::CreateFileW((folderText + host::Wide(name)).c_str(),
                                                              GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (handle) return folderPath.Child(name).Text();
    DWORD error = ::GetLastError();
    if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt == 100) {
      host::ThrowWindowsError(error);
    }
  }
}

std::span<std::byte> File::MapStart(std::size_t length) {
  if (native_ == nullptr || native_->view == nullptr || native_->viewLength < length) {
    if (Size() < length || length == 0) throw FileError(kInvalidParameter);
    native_->EndView();
    host::UniqueHandle mapping(::CreateFileMappingW(native_->handle, nullptr, PAGE_READWRITE, 0, 0, nullptr));
    if (!mapping) host::ThrowLastError();
    void* view = ::MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, length);
    if (view == nullptr) host::ThrowLastError();
    native_->view = view;  // the view keeps the mapping alive until it ends
    native_->viewLength = length;
  }
  return {static_cast<std::byte*>(native_->view), length};
}

std::size_t File::Read(std::span<std::byte> buffer) {
  backend::BeforeFileOperation(FileOperation::kRead, {});
  std::size_t count = ReadFrom(HandleOf(native_), native_ ? native_->position : 0, buffer);
  if (native_) native_->position += count;
  return count;
}

std::size_t File::Write(std::span<const std::byte> data) {
  backend::BeforeFileOperation(FileOperation::kWrite, {});
  std::size_t count = WriteTo(HandleOf(native_), native_ ? native_->position : 0, data, true);
  if (native_) native_->position += count;
  return count;
}

std::size_t File::ReadAt(std::uint64_t offset, std::span<std::byte> buffer) const {
  backend::BeforeFileOperation(FileOperation::kRead, {});
  return ReadFrom(HandleOf(native_), offset, buffer);
}

void File::WriteAt(std::uint64_t offset, std::span<const std::byte> data) {
  backend::BeforeFileOperation(FileOperation::kWrite, {});
  WriteTo(HandleOf(native_), offset, data, false);
}

std::uint64_t File::Size() const {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(HandleOf(native_), &size)) host::ThrowLastError();
  return static_cast<std::uint64_t>(size.QuadPart);
}

File::Stamp File::CurrentStamp() const {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(HandleOf(native_), &info)) host::ThrowLastError();
  std::uint64_t size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  return {size, NanosecondsOf(info.ftLastWriteTime)};
}

bool File::IsStillAt(std::string_view path) const {
  if (!native_ || !native_->id) return false;
  try {
    host::Location location = host::Locate(path);
    if (!location.Exists() || location.IsFolder()) return false;
    // Opened for no access at all, which no sharing mode refuses.
    HANDLE named = ::CreateFileW(location.path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (named == INVALID_HANDLE_VALUE) return false;
    std::optional<FileId> id = IdOf(named);
    ::CloseHandle(named);
    return id == native_->id;
  } catch (const FileError&) {
    return false;
  }
}

void File::Truncate(std::uint64_t size) {
  backend::BeforeFileOperation(FileOperation::kTruncate, {});
  if (native_) native_->EndView();  // the system truncates no file while a view of it lasts
  HANDLE handle = HandleOf(native_);
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(size);
  if (!::SetFilePointerEx(handle, end, nullptr, FILE_BEGIN) || !::SetEndOfFile(handle)) host::ThrowLastError();
}

void File::Flush() {
  backend::BeforeFileOperation(FileOperation::kFlush, {});
  if (native_ && native_->view != nullptr && !::FlushViewOfFile(native_->view, 0)) host::ThrowLastError();
  if (!::FlushFileBuffers(HandleOf(native_))) host::ThrowLastError();
}

// The system copies nothing between two open files at their positions: the copy goes through the program.
void CopyRest(File& from, File& to) { backend::CopyThroughTheProgram(from, to); }

void File::Close() {
  if (!native_) return;
  std::unique_ptr<NativeFile> native = std::move(native_);
  native->EndView();
  if (!::CloseHandle(native->ReleaseHandle())) host::ThrowLastError();
}

}  // namespace platform
