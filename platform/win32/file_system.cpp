// Files and folders as whole entries, the host's side: creating a folder, deleting a file and listing a
// folder on the host, the read-only attribute, moving.
#include <chrono>
#include <optional>
#include <thread>

#include "platform/backend.h"
#include "platform/host.h"

namespace platform {

namespace host {

void CreateFolderAt(const std::wstring& hostPath) { ::CreateDirectoryW(hostPath.c_str(), nullptr); }

bool DeleteFileAt(const std::wstring& hostPath) { return ::DeleteFileW(hostPath.c_str()) != 0; }

std::vector<std::string> ListFolder(const std::wstring& hostPath, backend::EntryKind kind) {
  std::vector<std::string> names;
  std::wstring pattern = hostPath;
  if (pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW entry{};
  FolderListing listing = FindFirstEntry(pattern, entry);
  if (!listing) return names;
  do {
    std::wstring_view name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    bool isFile = !isFolder && (entry.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) == 0;
    if (kind == backend::EntryKind::kFolder ? isFolder : isFile) names.push_back(Narrow(name));
  } while (::FindNextFileW(listing.get(), &entry));
  return names;
}

}  // namespace host

bool IsReadOnly(std::string_view path) {
  auto location = host::TryLocate(path);
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
  host::Location source = host::LocateExisting(from);
  host::Location target = host::LocateFileToWrite(to);
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
