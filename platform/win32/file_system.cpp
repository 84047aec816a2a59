// Files and folders as whole entries: existence, creation, deletion, listing, moving.
#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

#include "platform/backend.h"
#include "platform/win32/host.h"

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

bool FolderExists(std::string_view path) {
  auto location = TryLocate(path);
  return location && location->IsFolder();
}

bool FileExists(std::string_view path) {
  auto location = TryLocate(path);
  return location && location->Exists() && !location->IsFolder();
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
  if (location->IsFolder()) return true;
  if (location->Exists() || folder.IsRoot()) return false;
  if (!location->parentExists && !CreateFolders(folder.Parent().Text())) return false;
  location = TryLocate(folder.Text());
  if (!location) return false;
  try {
    backend::BeforeFileOperation(FileOperation::kCreateFolder, folder.Text());
  } catch (const FileError&) {
    return false;
  }
  ::CreateDirectoryW(location->path.c_str(), nullptr);
  return FolderExists(folder.Text());
}

bool RemoveFile(std::string_view path) {
  auto location = TryLocate(path);
  if (!location || !location->Exists() || location->IsFolder()) return false;
  if (host::HeldOpen(location->path)) return false;
  try {
    backend::BeforeFileOperation(FileOperation::kDelete, path);
  } catch (const FileError&) {
    return false;
  }
  return ::DeleteFileW(location->path.c_str()) != 0;
}

namespace {

// The names of the entries of a folder whose attributes `wanted` accepts, sorted without regard to case.
template <typename Wanted>
std::vector<std::string> EntriesOf(std::string_view path, Wanted wanted) {
  std::vector<std::string> names;
  auto location = TryLocate(path);
  if (!location || !location->IsFolder()) return names;
  std::wstring pattern = location->path;
  if (pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW entry{};
  host::FolderListing listing = host::FindFirstEntry(pattern, entry);
  if (!listing) return names;
  do {
    std::wstring_view name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    if (wanted(entry.dwFileAttributes)) names.push_back(host::Narrow(name));
  } while (::FindNextFileW(listing.get(), &entry));
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    auto foldedA = FoldedName(a);
    auto foldedB = FoldedName(b);
    return foldedA != foldedB ? foldedA < foldedB : a < b;
  });
  return names;
}

bool IsFolderAttribute(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

}  // namespace

std::vector<std::string> Subfolders(std::string_view path) { return EntriesOf(path, IsFolderAttribute); }

std::vector<std::string> FilesIn(std::string_view path) {
  return EntriesOf(path, [](DWORD attributes) { return !IsFolderAttribute(attributes) && (attributes & FILE_ATTRIBUTE_DEVICE) == 0; });
}

bool IsReadOnly(std::string_view path) {
  auto location = TryLocate(path);
  return location && location->IsReadOnly();
}

namespace {

// How long a replacement waits for another program to close the file it replaces.
constexpr auto kReplaceRetryTime = std::chrono::milliseconds(1000);
constexpr auto kReplaceRetryStep = std::chrono::milliseconds(20);

// The host path of an existing entry with its last name spelled as the folder spells it.
std::wstring WithExistingSpelling(const std::wstring& hostPath) {
  WIN32_FIND_DATAW entry{};
  if (!host::FindFirstEntry(hostPath, entry)) return hostPath;
  std::size_t cut = hostPath.find_last_of(L'\\');
  return hostPath.substr(0, cut + 1) + entry.cFileName;
}

// The attributes a file can be given, of those it has.
DWORD SettableAttributes(DWORD attributes) {
  constexpr DWORD kSettable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                              FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY;
  DWORD settable = attributes & kSettable;
  return settable == 0 ? FILE_ATTRIBUTE_NORMAL : settable;
}

bool IsRefusalWhileOpen(DWORD error) { return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION; }

// Renames `from` over `to`, retrying for a moment while another program still has either open. Returns the
// system's error of the last attempt (ERROR_SUCCESS once it is done).
DWORD ReplaceWithRetry(const std::wstring& from, const std::wstring& to, Replacement how) {
  DWORD flags = MOVEFILE_REPLACE_EXISTING | (how == Replacement::kAtomicOnDisk ? MOVEFILE_WRITE_THROUGH : 0);
  auto deadline = std::chrono::steady_clock::now() + kReplaceRetryTime;
  for (;;) {
    if (::MoveFileExW(from.c_str(), to.c_str(), flags)) {
      return ERROR_SUCCESS;
    }
    DWORD error = ::GetLastError();
    if (!IsRefusalWhileOpen(error) || std::chrono::steady_clock::now() >= deadline) return error;
    std::this_thread::sleep_for(kReplaceRetryStep);
  }
}

}  // namespace

void MoveReplacing(std::string_view from, std::string_view to, Replacement how) {
  host::Location source = host::Locate(from);
  if (!source.Exists()) throw FileError(source.parentExists ? kFileNotFound : kPathNotFound);
  host::Location target = host::Locate(to);
  if (!target.parentExists) throw FileError(kPathNotFound);
  if (target.IsFolder()) throw FileError(kAccessDenied);
  std::wstring targetPath = target.path;
  if (target.Exists()) {
    if (host::HeldByThisProcess(target.path)) throw FileError(kSharingViolation);
    if (target.IsReadOnly()) throw FileError(kAccessDenied);
    targetPath = WithExistingSpelling(target.path);
  }
  backend::BeforeFileOperation(FileOperation::kRename, to);
  if (target.Exists() && !::SetFileAttributesW(source.path.c_str(), SettableAttributes(target.attributes))) {
    host::ThrowLastError();
  }
  DWORD error = ReplaceWithRetry(source.path, targetPath, how);
  if (error == ERROR_SUCCESS) return;
  if (IsRefusalWhileOpen(error) && (host::HeldOpen(targetPath) || host::HeldOpen(source.path))) {
    throw FileError(kSharingViolation);
  }
  host::ThrowWindowsError(error);
}

}  // namespace platform
