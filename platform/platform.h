// The Windows file system as the rest of the program sees it.
//
// Everything above this library speaks Windows paths ("C:\HTEMP\ASIGVALT.DBF") and calls nothing of the
// host system. On Linux the drive letters are mapped to host folders, like a Wine prefix:
//   - C: is the folder named by ESCOLAN_HORVANE_DRIVE_C, else $XDG_DATA_HOME/escolan-horvane/drive_c
//     (~/.local/share/escolan-horvane/drive_c when XDG_DATA_HOME is unset), created on first use;
//   - any letter X may be mapped by ESCOLAN_HORVANE_DRIVE_X;
//   - Z: is the host's root "/" unless mapped otherwise.
// File and folder names are matched without regard to letter case (ASCII and accented Latin letters), as on
// Windows. Failures raise FileError with the Windows error code and the message the user sees.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// ---------------------------------------------------------------------------------------------------------
// Errors

// Windows error codes that the program raises. The host's errors are mapped onto them:
//   missing file 2, missing folder 3, too many open files 4, access denied or read-only 5,
//   unknown drive or no such drive 15, drive not ready 21, file held by another user 32, file exists 80,
//   bad parameter 87, disk full or file too large 112, invalid name 123, name too long 206,
//   folder not empty 145, cross-device move 17, device I/O error 1117, any other host error 31.
enum ErrorCode : int {
  kFileNotFound = 2,
  kPathNotFound = 3,
  kTooManyOpenFiles = 4,
  kAccessDenied = 5,
  kInvalidDrive = 15,
  kNotSameDevice = 17,
  kNotReady = 21,
  kGeneralFailure = 31,
  kSharingViolation = 32,
  kFileExists = 80,
  kInvalidParameter = 87,
  kDiskFull = 112,
  kInvalidName = 123,
  kDirNotEmpty = 145,
  kFilenameTooLong = 206,
  kIoDevice = 1117,
};

// The message shown for a file error: 2 "No se encuentra el archivo", 3 "Nombre de archivo inválido",
// 4 "Demasiados archivos abiertos", 5 "Acceso al archivo denegado", any other "Error de E/S <code>".
std::string FileErrorMessage(int code);

// A failed file operation. what() is the user's message.
class FileError : public std::runtime_error {
 public:
  explicit FileError(int code);
  int code() const { return code_; }

 private:
  int code_;
};

// ---------------------------------------------------------------------------------------------------------
// Windows paths

// An absolute Windows path: a drive letter (upper case) and its folder and file names, with "." and ".."
// already resolved. The names keep the spelling they were given.
struct WindowsPath {
  char drive = 'C';
  std::vector<std::string> names;

  bool IsRoot() const { return names.empty(); }
  std::string Text() const;  // "C:\HTEMP\VALENCIA"; a root is "C:\"
  WindowsPath Parent() const;
  WindowsPath Child(std::string_view name) const;
  bool operator==(const WindowsPath&) const = default;
};

// Parses a path the Windows way: "C:\dir\file", "\dir" (root of the current drive), "dir\file" (relative to
// the current folder), "C:dir" (relative to drive C's current folder); "\" or "/" separate names; "." and
// ".." are resolved; a trailing separator and trailing dots and blanks of a name are dropped.
// Throws FileError(kPathNotFound) for an empty path or a network path and FileError(kInvalidName) for a
// name holding < > " | ? * or a control character.
WindowsPath FullPath(std::string_view path);

// The file-name part of a path: the text after its last "\", "/" or ":" (empty when it ends with one).
std::string_view FileNamePart(std::string_view path);

// Whether two file or folder names are the same name on Windows (letter case does not count).
bool SameName(std::string_view a, std::string_view b);
// The name's characters with the case of ASCII and accented Latin letters folded: equal for the same
// Windows name, and a case-blind sort order.
std::u32string FoldedName(std::string_view name);

// ---------------------------------------------------------------------------------------------------------
// Drives and the current folder (the only process-wide state of the program)

// Drive letter -> host folder.
class DriveMap {
 public:
  // C: and Z: as described at the top of this file, and every ESCOLAN_HORVANE_DRIVE_X that is set.
  // Creates C:'s folder when it comes from the default location and is missing.
  static DriveMap FromEnvironment();

  void Map(char letter, std::string hostFolder);
  std::optional<std::string> HostFolder(char letter) const;
  std::vector<char> Letters() const;

 private:
  std::map<char, std::string> roots_;
};

// Replaces the process's drive map (the first use of the file system builds it from the environment). The
// current folder moves to the root of C: when its drive is no longer mapped.
void SetDriveMap(DriveMap map);
const DriveMap& Drives();

// The mapped drive letters, in order; a drive is ready when its host folder exists.
std::vector<char> MappedDrives();
bool DriveReady(char letter);

// The process's current folder, initially the host's working folder as a Windows path (a host folder outside
// every mapped drive is shown on Z:). Changing it checks that the folder exists: an unmapped drive raises
// FileError(kInvalidDrive), a drive that is not ready kNotReady, a missing folder kPathNotFound.
std::string CurrentFolder();
void SetCurrentFolder(std::string_view path);
// The current folder that drive `letter` keeps (its root until the process has been there).
std::string CurrentFolderOfDrive(char letter);

// The Windows path of a host path (for the program's start folder and for tests).
std::string WindowsPathOfHost(std::string_view hostPath);

// ---------------------------------------------------------------------------------------------------------
// Files and folders

bool FolderExists(std::string_view path);
bool FileExists(std::string_view path);  // a folder is not a file
// Creates the folder and every missing parent; returns whether the folder exists afterwards.
bool CreateFolders(std::string_view path);
// Deletes a file; returns false when it is missing, is a folder, is held open by the program or cannot be
// deleted.
bool RemoveFile(std::string_view path);
// The names of the subfolders of a folder, sorted without regard to case; empty when it cannot be read.
std::vector<std::string> Subfolders(std::string_view path);
// Moves a file over another one, replacing it (the target's existing spelling is kept). FileError on failure,
// kSharingViolation when the target is held open by the program.
void MoveReplacing(std::string_view from, std::string_view to);

enum class Access { kRead, kReadWrite };
// kDenyNone lets others open the file too; kExclusive refuses every other opening while this one lasts.
enum class Share { kDenyNone, kExclusive };

// An open file. Closed by its destructor; moves, does not copy.
class File {
 public:
  static File OpenExisting(std::string_view path, Access access, Share share);
  // Creates the file, or truncates it when it exists (it is only truncated once the sharing check passed).
  static File Create(std::string_view path, Share share);
  // Creates a new empty file with a name of its own in `folder`, starting with `prefix`; returns its path.
  static std::string CreateUnique(std::string_view folder, std::string_view prefix);

  File() = default;  // a closed file
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File();

  // Sequential reading and writing from the file position. Read returns the bytes read, 0 at the end.
  // Write returns the bytes written, fewer than given only when the disk is full; other failures throw.
  std::size_t Read(std::span<std::byte> buffer);
  std::size_t Write(std::span<const std::byte> data);

  // Positioned reading and writing. ReadAt returns the bytes read; WriteAt writes everything or throws
  // (a full disk is FileError(kDiskFull)).
  std::size_t ReadAt(std::uint64_t offset, std::span<std::byte> buffer) const;
  void WriteAt(std::uint64_t offset, std::span<const std::byte> data);

  // The first `length` bytes of the file (which must hold them), shared with the file: what is stored there
  // is in the file at once, as after a write, without a call to the system. The view lasts while the file is
  // open; the file must have been opened for writing.
  std::span<std::byte> MapStart(std::size_t length);

  std::uint64_t Size() const;
  // The size and the time of the last write (nanoseconds of the host clock), in one look: together they
  // tell a changed file from an unchanged one.
  struct Stamp {
    std::uint64_t size = 0;
    std::int64_t lastWriteTime = 0;
    bool operator==(const Stamp&) const = default;
  };
  Stamp CurrentStamp() const;
  void Truncate(std::uint64_t size);
  void Close();  // throws when the host reports a failure; the file is closed in any case
  bool IsOpen() const { return handle_ >= 0; }

 private:
  explicit File(int handle) : handle_(handle) {}
  void Unmap();
  int handle_ = -1;
  void* mapped_ = nullptr;
  std::size_t mappedLength_ = 0;
};

// ---------------------------------------------------------------------------------------------------------
// Regional settings and the calendar

struct CalendarDate {
  int year = 0;
  int month = 0;
  int day = 0;
};
// Today's date on the user's clock.
CalendarDate Today();

// Whether the program's standard error goes to a terminal (rather than a file or a pipe).
bool StandardErrorIsTerminal();

// The decimal separator of the user's numeric settings, and of a named locale ("" = the user's).
char UserDecimalSeparator();
char DecimalSeparatorOfLocale(const char* localeName);

}  // namespace platform
