// The drives (the system's own, and letters mapped onto folders), what the current folder starts as, and where
// a Windows path of the program lies on the host.
#include <array>
#include <optional>

#include "platform/backend.h"
#include "platform/drive_map.h"
#include "platform/win32/host.h"
#include "util/ascii.h"

namespace platform {
namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";

std::wstring EnvironmentValue(const std::wstring& name) {
  DWORD needed = ::GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::wstring value(needed, L'\0');
  DWORD length = ::GetEnvironmentVariableW(name.c_str(), value.data(), needed);
  value.resize(length < needed ? length : 0);
  return value;
}

std::wstring HostWorkingFolder() {
  DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return {};
  std::wstring folder(needed, L'\0');
  DWORD length = ::GetCurrentDirectoryW(needed, folder.data());
  folder.resize(length < needed ? length : 0);
  return folder;
}

bool IsRealDrive(char letter) {
  if (letter < 'A' || letter > 'Z') return false;
  return (::GetLogicalDrives() & (1u << (letter - 'A'))) != 0;
}

bool IsFolderAt(const std::wstring& fullPath) {
  host::QuietDriveErrors quiet;
  DWORD attributes = ::GetFileAttributesW(host::LongForm(fullPath).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsDriveRoot(std::wstring_view path) { return path.size() == 3 && path[1] == L':' && path[2] == L'\\'; }

// The part of `path` under the folder `root` (both full host paths), names compared as the file system
// compares them; nothing when `root` does not hold it.
std::optional<std::wstring> RemainderUnder(std::wstring_view root, std::wstring_view path) {
  if (path.size() < root.size()) return std::nullopt;
  int length = static_cast<int>(root.size());
  if (::CompareStringOrdinal(path.data(), length, root.data(), length, TRUE) != CSTR_EQUAL) return std::nullopt;
  std::wstring_view rest = path.substr(root.size());
  if (rest.empty()) return std::wstring();
  if (!root.empty() && root.back() == L'\\') return std::wstring(rest);
  if (rest.front() == L'\\') return std::wstring(rest.substr(1));
  return std::nullopt;
}

WindowsPath PathUnderDrive(char letter, std::wstring_view rest) {
  WindowsPath path{letter, {}};
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find(L'\\', start);
    if (end == std::wstring_view::npos) end = rest.size();
    if (end > start) path.names.push_back(host::Narrow(rest.substr(start, end - start)));
    start = end + 1;
  }
  return path;
}

// The Windows text of a host path under the given drive map, or empty when no drive holds it: the mapped
// drive whose folder holds it most closely, else the path itself when its drive is a real one left unmapped.
std::string WindowsTextOfWideHostPath(const DriveMap& drives, std::wstring_view hostPath) {
  std::wstring full = host::FullHostPath(hostPath);
  if (full.empty()) return {};
  char bestDrive = 0;
  std::size_t bestLength = 0;
  std::wstring bestRest;
  for (char letter : drives.Letters()) {
    std::wstring root = host::Wide(*drives.HostFolder(letter));
    auto rest = RemainderUnder(root, full);
    if (rest && (bestDrive == 0 || root.size() > bestLength)) {
      bestDrive = letter;
      bestLength = root.size();
      bestRest = *rest;
    }
  }
  if (bestDrive != 0) return PathUnderDrive(bestDrive, bestRest).Text();
  bool onADrive = full.size() >= 3 && full[1] == L':' && full[2] == L'\\' && full[0] < 0x80;
  if (!onADrive) return {};
  char letter = util::ToUpperAscii(static_cast<char>(full[0]));
  if (drives.HostFolder(letter)) return {};  // that drive stands for another folder now
  return PathUnderDrive(letter, std::wstring_view(full).substr(3)).Text();
}

}  // namespace

DriveMap DriveMap::FromEnvironment() {
  DriveMap map;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    std::wstring folder = EnvironmentValue(L"ESCOLAN_HORVANE_DRIVE_" + std::wstring(1, static_cast<wchar_t>(letter)));
    if (!folder.empty()) map.Map(letter, host::Narrow(folder));
  }
  return map;
}

void DriveMap::Map(char letter, std::string hostFolder) {
  letter = util::ToUpperAscii(letter);
  roots_[letter] = host::Narrow(host::FullHostPath(host::Wide(hostFolder)));
}

std::vector<char> MappedDrives() {
  const DriveMap& drives = Drives();
  std::vector<char> letters;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if (backend::DriveExists(drives, letter)) letters.push_back(letter);
  }
  return letters;
}

bool DriveReady(char letter) {
  letter = util::ToUpperAscii(letter);
  if (auto root = Drives().HostFolder(letter)) return IsFolderAt(host::Wide(*root));
  if (!IsRealDrive(letter)) return false;
  return IsFolderAt(std::wstring{static_cast<wchar_t>(letter), L':', L'\\'});
}

namespace backend {

std::string StartingFolder(const DriveMap& drives) {
  try {
    return WindowsTextOfWideHostPath(drives, HostWorkingFolder());
  } catch (const FileError&) {
    return {};
  }
}

std::string WindowsTextOfHost(const DriveMap& drives, std::string_view hostPath) {
  return WindowsTextOfWideHostPath(drives, host::Wide(hostPath));
}

bool DriveExists(const DriveMap& drives, char letter) { return drives.HostFolder(letter) || IsRealDrive(letter); }

void DriveMapReplaced() {}  // nothing is kept of where entries lie

}  // namespace backend

namespace host {
namespace {

// The longest file or folder name the file systems of Windows take, in UTF-16 units.
constexpr std::size_t kLongestName = 255;

}  // namespace

std::wstring LongForm(std::wstring_view fullPath) {
  if (fullPath.starts_with(kLongPrefix)) return std::wstring(fullPath);
  if (fullPath.starts_with(L"\\\\")) return std::wstring(kLongUncPrefix) + std::wstring(fullPath.substr(2));
  return std::wstring(kLongPrefix) + std::wstring(fullPath);
}

std::wstring FullHostPath(std::wstring_view hostPath) {
  std::wstring path(hostPath);
  if (path.starts_with(kLongUncPrefix)) {
    path = L"\\\\" + path.substr(kLongUncPrefix.size());
  } else if (path.starts_with(kLongPrefix)) {
    path = path.substr(kLongPrefix.size());
  }
  if (path.empty()) return {};
  DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return {};
  std::wstring full(needed, L'\0');
  DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return {};
  full.resize(length);
  while (full.size() > 1 && full.back() == L'\\' && !IsDriveRoot(full)) full.pop_back();
  return full;
}

namespace {

// What the system says of an entry: its attributes, or why it has none.
struct Entry {
  DWORD attributes = INVALID_FILE_ATTRIBUTES;
  DWORD error = ERROR_SUCCESS;
};

Entry LookAt(const std::wstring& longPath) {
  QuietDriveErrors quiet;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (::GetFileAttributesExW(longPath.c_str(), GetFileExInfoStandard, &data)) return {data.dwFileAttributes, 0};
  return {INVALID_FILE_ATTRIBUTES, ::GetLastError()};
}

// A missing entry's error that is the path's own fault rather than a missing name.
bool IsPathFault(DWORD error) {
  return error == ERROR_NOT_READY || error == ERROR_INVALID_NAME || error == ERROR_FILENAME_EXCED_RANGE ||
         error == ERROR_BAD_PATHNAME;
}

}  // namespace

Location Locate(const WindowsPath& path) {
  std::wstring root;
  if (auto mapped = Drives().HostFolder(path.drive)) {
    root = Wide(*mapped);
    if (!IsFolderAt(root)) throw FileError(kNotReady);
  } else {
    if (!IsRealDrive(path.drive)) throw FileError(kInvalidDrive);
    root = {static_cast<wchar_t>(path.drive), L':', L'\\'};
  }
  std::wstring full = root;
  std::wstring parent;
  for (const std::string& name : path.names) {
    std::wstring wideName = Wide(name);
    if (wideName.size() > kLongestName) throw FileError(kFilenameTooLong);
    parent = full;
    if (full.back() != L'\\') full += L'\\';
    full += wideName;
  }
  Location location;
  location.path = LongForm(full);
  Entry entry = LookAt(location.path);
  if (entry.attributes != INVALID_FILE_ATTRIBUTES) {
    location.attributes = entry.attributes;
    location.parentExists = true;
    return location;
  }
  if (path.IsRoot()) throw FileError(kNotReady);  // a drive without its medium
  if (IsPathFault(entry.error)) ThrowWindowsError(entry.error);
  Entry folder = LookAt(LongForm(parent));
  location.parentExists =
      folder.attributes != INVALID_FILE_ATTRIBUTES && (folder.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return location;
}

}  // namespace host
}  // namespace platform
