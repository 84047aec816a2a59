// Host errors as Windows error codes.
#include <cerrno>

#include "platform/posix/host.h"

namespace platform::host {

int CodeOfErrno(int err, bool parentExists) {
  switch (err) {
    case ENOENT: return parentExists ? kFileNotFound : kPathNotFound;
    case ENOTDIR: return kPathNotFound;
    case EMFILE:
    case ENFILE: return kTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return kAccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return kDiskFull;
    case EWOULDBLOCK:
    case EBUSY:
    case ETXTBSY: return kSharingViolation;
    case EEXIST: return kFileExists;
    case EINVAL: return kInvalidParameter;
    case ENAMETOOLONG: return kFilenameTooLong;
    case ENOTEMPTY: return kDirNotEmpty;
    case EXDEV: return kNotSameDevice;
    case EIO: return kIoDevice;
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM: return kNotReady;
    default: return kGeneralFailure;
  }
}

void ThrowErrno(int err, bool parentExists) { throw FileError(CodeOfErrno(err, parentExists)); }

}  // namespace platform::host
