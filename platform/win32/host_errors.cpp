// Windows errors as the codes the program raises: the system's own codes, but for the few that the program
// names otherwise (a full disk is always 112, a locked range is a file in use, a write-protected medium is a
// denied access).
#include "platform/win32/host.h"

namespace platform::host {

int CodeOfWindowsError(DWORD error) {
  switch (error) {
    case ERROR_SUCCESS: return kGeneralFailure;  // a failure the system gave no reason for
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE: return kDiskFull;
    case ERROR_LOCK_VIOLATION: return kSharingViolation;
    case ERROR_WRITE_PROTECT: return kAccessDenied;
    case ERROR_ALREADY_EXISTS: return kFileExists;
    case ERROR_DIRECTORY: return kPathNotFound;
    default: return static_cast<int>(error);
  }
}

void ThrowWindowsError(DWORD error) { throw FileError(CodeOfWindowsError(error)); }

void ThrowLastError() { ThrowWindowsError(::GetLastError()); }

}  // namespace platform::host
