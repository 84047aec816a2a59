// Inside the platform library, Windows side: where a Windows path of the program lies on the host (the same
// path, or a mapped drive's folder), text in the wide form the system takes, Windows errors, handles, the
// system's calls on whole entries, and the open file behind a File.
#pragma once

#include <windows.h>

#include <compare>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/backend.h"
#include "platform/platform.h"
#include "platform/wide_text.h"

namespace platform::host {

using platform::Narrow;
using platform::Wide;

// A Windows path located on the host: its host path in the long form ("\\?\C:\HTEMP\SOLUC.DBF", so that
// neither its length nor its characters are limited) and what is there.
struct Location {
  std::wstring path;
  DWORD attributes = INVALID_FILE_ATTRIBUTES;  // of the entry, when it exists
  bool parentExists = false;                   // the folder that should hold it exists

  bool Exists() const { return attributes != INVALID_FILE_ATTRIBUTES; }
  bool IsFolder() const { return Exists() && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  bool IsReadOnly() const { return Exists() && !IsFolder() && (attributes & FILE_ATTRIBUTE_READONLY) != 0; }
};

// Throws FileError(kInvalidDrive) for a letter that is neither mapped nor a drive of the system, and
// FileError(kNotReady) for a mapped drive whose folder is missing or a drive without its medium.
Location Locate(const WindowsPath& path);
Location Locate(std::string_view windowsPath);

// The long form of a full host path: "\\?\C:\x", "\\?\UNC\server\share\x".
std::wstring LongForm(std::wstring_view fullPath);
// A host path made full ("C:\x\y" from "y"), with "/" read as "\"; the long form's prefix dropped.
std::wstring FullHostPath(std::wstring_view hostPath);

// The Windows code the program raises for a system error code (most pass through as they are).
int CodeOfWindowsError(DWORD error);
[[noreturn]] void ThrowWindowsError(DWORD error);
[[noreturn]] void ThrowLastError();

// A kernel handle, closed by its destructor.
struct HandleCloser {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;
// INVALID_HANDLE_VALUE becomes an empty UniqueHandle.
UniqueHandle OwnHandle(HANDLE handle);

// A folder listing of FindFirstFileExW, closed by its destructor.
struct FindCloser {
  void operator()(HANDLE handle) const { ::FindClose(handle); }
};
using FolderListing = std::unique_ptr<void, FindCloser>;
// The first entry matching `pattern` ("\\?\C:\HTEMP\*") into `entry`; an empty listing when there is none.
FolderListing FindFirstEntry(const std::wstring& pattern, WIN32_FIND_DATAW& entry);

// Whether an existing file is held open by someone (an opening that refuses every sharing fails).
bool HeldOpen(const std::wstring& hostPath);
// Whether an existing file is held open by a File of this process.
bool HeldByThisProcess(const std::wstring& hostPath);

// Creates the folder at `hostPath`, whose parent exists; whether it worked is for the caller to look at.
void CreateFolderAt(const std::wstring& hostPath);
// Deletes the file at `hostPath`; whether it is gone.
bool DeleteFileAt(const std::wstring& hostPath);
// The names of the folder's entries of that kind, in the order the host lists them; none when the folder
// cannot be read.
std::vector<std::string> ListFolder(const std::wstring& hostPath, backend::EntryKind kind);

// A file as the system knows it, whatever path reached it.
struct FileId {
  DWORD volume = 0;
  DWORD indexHigh = 0;
  DWORD indexLow = 0;
  auto operator<=>(const FileId&) const = default;
};

// Keeps the system from asking the user to insert a medium while a drive is looked at.
class QuietDriveErrors {
 public:
  QuietDriveErrors();
  ~QuietDriveErrors();
  QuietDriveErrors(const QuietDriveErrors&) = delete;
  QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

 private:
  DWORD previous_ = 0;
};

}  // namespace platform::host

namespace platform {

// The handle, the program's own file position (positioned reads and writes leave it alone, as on every
// host), and the view of the file's start, once asked for. While it has its handle, the file is counted among
// the program's open files.
struct NativeFile {
  explicit NativeFile(HANDLE opened);
  NativeFile(const NativeFile&) = delete;
  NativeFile& operator=(const NativeFile&) = delete;
  ~NativeFile();

  void EndView();
  // The handle, no longer counted among the program's open files.
  HANDLE ReleaseHandle();

  HANDLE handle = nullptr;
  std::optional<host::FileId> id;
  std::uint64_t position = 0;
  void* view = nullptr;
  std::size_t viewLength = 0;
};

}  // namespace platform
