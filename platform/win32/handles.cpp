// Handles of the system owned by the program, and quiet looks at drives.
#include "platform/win32/host.h"

namespace platform::host {

UniqueHandle OwnHandle(HANDLE handle) {
  return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

QuietDriveErrors::QuietDriveErrors() {
  ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_);
}

QuietDriveErrors::~QuietDriveErrors() { ::SetThreadErrorMode(previous_, nullptr); }

FolderListing FindFirstEntry(const std::wstring& pattern, WIN32_FIND_DATAW& entry) {
  QuietDriveErrors quiet;
  HANDLE handle = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH);
  return FolderListing(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

}  // namespace platform::host
