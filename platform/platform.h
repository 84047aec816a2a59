// The Windows file system as the rest of the program sees it, whatever the host system.
//
// Everything above this library speaks Windows paths ("C:\HTEMP\ASIGVALT.DBF") and calls nothing of the
// host system; this header names nothing of it either. Each host has a backend of its own behind it:
// platform/posix/ (Linux, where drive letters are host folders, like a Wine prefix) and platform/win32/
// (Windows, where they are the real drives unless a letter is mapped onto a folder); platform/drive_map.h says
// how each one maps them. Both keep the same promises:
//   - the drives are the mapped letters (MappedDrives); a drive is ready when its root folder is there;
//   - file and folder names are matched without regard to letter case (ASCII and accented Latin letters),
//     and an existing entry keeps its own spelling;
//   - a file opened with Share::kExclusive shuts out every other opening, from this process or another;
//   - failures raise FileError with the Windows error code and the message the user sees.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "util/date.h"

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
  kLockViolation = 33,
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
  // The same error, naming the file it happened to (a Windows path); the message stays the code's.
  FileError(int code, std::string path);
  int code() const { return code_; }
  const std::string& path() const { return path_; }

 private:
  int code_;
  std::string path_;
};

// Runs `operation` on the file `path`: a FileError it raises that names no file is raised again naming `path`.
template <typename Operation>
decltype(auto) OnFile(std::string_view path, Operation&& operation) {
  try {
    return operation();
  } catch (const FileError& error) {
    if (!error.path().empty()) throw;
    throw FileError(error.code(), std::string(path));
  }
}

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

// The drive letters, in order: the mapped ones and, on Windows, the real ones; a drive is ready when its root
// folder is there (a drive without its medium is not).
std::vector<char> MappedDrives();
bool DriveReady(char letter);

// The process's current folder, initially the folder the program was started in, as a Windows path (the
// POSIX backend shows a host folder outside every other drive on Z:). Changing it checks that the folder
// exists: an unmapped drive raises FileError(kInvalidDrive), a drive that is not ready kNotReady, a missing
// folder kPathNotFound.
std::string CurrentFolder();
void SetCurrentFolder(std::string_view path);
// The current folder that drive `letter` keeps (its root until the process has been there).
std::string CurrentFolderOfDrive(char letter);

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
// The names of the files of a folder, sorted as Subfolders sorts; empty when it cannot be read.
std::vector<std::string> FilesIn(std::string_view path);
// How a file replaces another one:
//   - kAtomicOnDisk: the target is the old file or the new one at every moment, and the change is on disk
//     when the move returns;
//   - kWorkingCopy: for copies that can be made again: the target may be missing for a moment in between, and
//     the change may reach the disk later (every program sees it at once all the same). Cheaper where the host
//     writes a file out as soon as it is renamed over another (ext4 does).
enum class Replacement { kAtomicOnDisk, kWorkingCopy };
// Moves a file over another one, replacing it. The target keeps its existing spelling and its owner, group and
// permissions (its attributes, on Windows). FileError on failure: kSharingViolation when the target is held
// open by the program, kAccessDenied when it is read-only.
void MoveReplacing(std::string_view from, std::string_view to, Replacement how = Replacement::kAtomicOnDisk);
// Whether a file is read-only (on POSIX: no one has write permission). False for a missing file or a folder.
bool IsReadOnly(std::string_view path);

enum class Access { kRead, kReadWrite };
// kDenyNone lets others open the file too; kExclusive refuses every other opening while this one lasts.
enum class Share { kDenyNone, kExclusive };

// What the host knows of an open file (its handle, the view of its start); each backend defines it.
struct NativeFile;

// An open file. Closed by its destructor; moves, does not copy.
class File {
 public:
  static File OpenExisting(std::string_view path, Access access, Share share);
  // Creates the file, or truncates it when it exists (it is only truncated once the sharing check passed).
  static File Create(std::string_view path, Share share);
  // Creates a new empty file with a name of its own in `folder`, starting with `prefix`; returns its path.
  static std::string CreateUnique(std::string_view folder, std::string_view prefix);

  File() noexcept;  // a closed file
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
  // is in the file at once, as after a write, without a call to the system. The file must have been opened
  // for writing. The view lasts until the file is truncated or closed: Truncate ends it first (Windows
  // truncates no file while a view of it lasts), so a view is asked for again after a truncation. For the
  // same reason a file is not truncated while another File of it holds a view (Windows refuses that).
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
  // Whether `path` still names this open file: another program may have put another file in its place, or
  // taken it away, since it was opened. False also when the path cannot be looked at.
  bool IsStillAt(std::string_view path) const;
  void Truncate(std::uint64_t size);  // ends the view of MapStart first
  // Puts on disk everything written to the file so far (what the host still holds in memory).
  void Flush();
  void Close();  // throws when the host reports a failure; the file is closed in any case
  bool IsOpen() const { return native_ != nullptr; }

 private:
  explicit File(std::unique_ptr<NativeFile> native);
  friend void CopyRest(File& from, File& to);
  std::unique_ptr<NativeFile> native_;  // none when closed
};

// Copies what is left of `from`, from its position on, to `to` at its position, both positions moving on: in
// large blocks, or inside the host without passing through the program where the host can. FileError(kDiskFull)
// when the target takes fewer bytes than it is given (a full disk); the target then holds part of the copy.
void CopyRest(File& from, File& to);

// Creates `path` (or truncates it), opened exclusively, and writes `bytes` as the whole file, put on disk
// before it returns when `flush` says so. FileError on failure; the file may then hold part of the bytes.
void WriteWholeFile(std::string_view path, std::span<const std::byte> bytes, bool flush = false);
// The whole contents of a file, read shared. FileError on failure.
std::string ReadWholeFile(std::string_view path);

// ---------------------------------------------------------------------------------------------------------
// Memory for large blocks

// A block of memory for megabytes of records, in the host's large pages where it has them: the host then
// readies a large page in one step where it would take hundreds of small ones. Its size is what was asked for,
// rounded up to whole large pages. Growing keeps its bytes, without copying them
// where the host can move its pages. Throws std::bad_alloc when the host has no memory to give.
class LargeBlock {
 public:
  LargeBlock() = default;
  explicit LargeBlock(std::size_t size);
  ~LargeBlock();
  LargeBlock(LargeBlock&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
  LargeBlock& operator=(LargeBlock&& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    return *this;
  }

  std::byte* data() const { return data_; }
  std::size_t size() const { return size_; }
  // Makes the block at least `size` bytes large.
  void Grow(std::size_t size);

 private:
  std::byte* data_ = nullptr;
  std::size_t size_ = 0;
};

// Asks the host to put the program's heap of ordinary allocations in its large pages too, where it has them:
// a short run that allocates a few megabytes of small objects then waits far less for the host to ready its
// memory. For a program's start, before it allocates much; where the host has no large pages, or the heap is
// not one this library knows how to advise, nothing changes.
void PreferLargePagesForTheHeap();

// ---------------------------------------------------------------------------------------------------------
// Fault injection, for tests

// The file operations that can fail, as a test sees them.
enum class FileOperation { kOpen, kCreate, kRead, kWrite, kFlush, kTruncate, kRename, kDelete, kCreateFolder };

// Called before every file operation of the process with its kind and Windows path (empty where the file is
// known only by its handle). A hook may throw FileError to make the operation fail as the host would, or end
// the process; with none (the default) nothing happens. For tests: the program never sets one.
using FileOperationHook = std::function<void(FileOperation operation, std::string_view path)>;
void SetFileOperationHook(FileOperationHook hook);

// ---------------------------------------------------------------------------------------------------------
// Regional settings and the calendar

// Today's date on the user's clock.
util::Date Today();
// The date and time of day on the user's clock.
struct LocalTime {
  util::Date date;
  int hour = 0;
  int minute = 0;
  int second = 0;
};
LocalTime Now();

// Opens the document at `windowsPath` (a page, a text file) with the program the system associates with it,
// as a double click on it would: the shell's "open" on Windows; on POSIX xdg-open, or the program named by
// ESCOLAN_HORVANE_OPENER, started apart from this process. Whether it was handed over: false when the file is
// missing or nothing could be started.
bool OpenWithDefaultProgram(std::string_view windowsPath);

// The folder of the running program's executable, as a Windows path: on Windows the folder GetModuleFileNameW
// names; on POSIX the folder of /proc/self/exe, shown through the drive map (WindowsPathOfHost: with Z: as "/",
// "/usr/bin" is "Z:\usr\bin"). FileError when the host cannot say.
std::string ProgramFolder();
// The folder of the read-only files installed with the program (its manual), as a Windows path: on Windows the
// program's own folder; on POSIX "../share/escolan-horvane" from it, as an installation under a prefix lays
// them out ("/usr/bin" -> "/usr/share/escolan-horvane"). The build tree copies them to the same places.
std::string InstalledFilesFolder();

// Whether the program's standard error goes to a terminal (rather than a file or a pipe).
bool StandardErrorIsTerminal();

// The program's command-line arguments in UTF-8, the program's name first. On Windows they are read as the
// system gives them, in UTF-16, so that any name ("Peña", "Educació") arrives whatever the ANSI code page;
// on POSIX they are argv as it is.
std::vector<std::string> ProgramArguments(int argc, char** argv);
// While it lives, the console the program writes to shows its UTF-8 text as it is (on Windows the console's
// output code page is UTF-8, and the previous one comes back afterwards); text sent to a file or a pipe is
// UTF-8 in any case.
class Utf8Console {
 public:
  Utf8Console();
  ~Utf8Console();
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

 private:
  [[maybe_unused]] unsigned previousCodePage_ = 0;  // 0: nothing to put back (Windows only)
};

// The decimal separator of the user's numeric settings, and of a named locale ("" = the user's).
char UserDecimalSeparator();
char DecimalSeparatorOfLocale(const char* localeName);

}  // namespace platform
