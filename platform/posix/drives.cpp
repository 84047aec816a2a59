// The drive map, what the current folder starts as, and how Windows paths are found on the host.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unordered_map>
#include <utility>

#include "platform/backend.h"
#include "platform/drive_map.h"
#include "platform/posix/host.h"
#include "util/ascii.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string DefaultDriveC() {
  std::string data = EnvironmentValue("XDG_DATA_HOME");
  if (data.empty()) {
    std::string home = EnvironmentValue("HOME");
    data = (home.empty() ? std::string("/tmp") : home) + "/.local/share";
  }
  return data + "/escolan-horvane/drive_c";
}

std::string AbsoluteHostPath(const std::string& path) {
  std::error_code ignored;
  fs::path absolute = fs::absolute(path, ignored);
  std::string text = absolute.lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

std::string HostWorkingFolder() {
  std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);
  return cwd ? std::string(cwd.get()) : std::string("/");
}

// Where existing entries were found, by their folded Windows path: a table reopened thousands of times is then
// found with one look at the host instead of a listing of every folder on its path. Forgotten with the drive
// map they were found under.
std::unordered_map<std::u32string, std::string>& FoundEntries() {
  static std::unordered_map<std::u32string, std::string> found;
  return found;
}

bool IsFolder(const std::string& hostPath) {
  struct stat info {};
  return ::stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string InFolder(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

// Whether an entry whose own kind the host gave is a folder: a link is what it points at.
bool IsFolderEntry(const std::string& hostPath, mode_t kind) { return S_ISLNK(kind) ? IsFolder(hostPath) : S_ISDIR(kind); }

// The entry of `folder` named `name` without regard to case: the exact spelling when it exists, else the
// first match in sorted order; empty when there is none. `isFolder` tells whether the entry found is a
// folder, from the look that found it where that look tells.
std::string FindEntry(const std::string& folder, const std::string& name, bool& isFolder) {
  struct stat info {};
  std::string exact = InFolder(folder, name);
  if (::lstat(exact.c_str(), &info) == 0) {
    isFolder = IsFolderEntry(exact, info.st_mode);
    return name;
  }
  host::FolderListing dir(::opendir(folder.c_str()));
  if (!dir) return {};
  std::u32string wanted = FoldedName(name);
  std::string found;
  while (dirent* entry = ::readdir(dir.get())) {
    std::string candidate = entry->d_name;
    if (FoldedName(candidate) == wanted && (found.empty() || candidate < found)) found = candidate;
  }
  if (!found.empty()) isFolder = IsFolder(InFolder(folder, found));
  return found;
}

}  // namespace

DriveMap DriveMap::FromEnvironment() {
  DriveMap map;
  map.Map('Z', "/");
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    std::string variable = std::string("ESCOLAN_HORVANE_DRIVE_") + letter;
    std::string folder = EnvironmentValue(variable.c_str());
    if (!folder.empty()) map.Map(letter, folder);
  }
  if (!map.HostFolder('C')) {
    std::string folder = DefaultDriveC();
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    map.Map('C', folder);
  }
  return map;
}

void DriveMap::Map(char letter, std::string hostFolder) {
  letter = util::ToUpperAscii(letter);
  roots_[letter] = AbsoluteHostPath(hostFolder);
}

std::vector<char> MappedDrives() { return Drives().Letters(); }

bool DriveReady(char letter) {
  auto root = Drives().HostFolder(letter);
  return root && IsFolder(*root);
}

namespace backend {

std::string WindowsTextOfHost(const DriveMap& drives, std::string_view hostPath) {
  std::string host = AbsoluteHostPath(std::string(hostPath));
  char bestDrive = 0;
  std::size_t bestLength = 0;
  for (char letter : drives.Letters()) {
    std::string root = AbsoluteHostPath(*drives.HostFolder(letter));
    bool inside = root == "/" || host == root || host.starts_with(root + "/");
    if (inside && (bestDrive == 0 || root.size() > bestLength)) {
      bestDrive = letter;
      bestLength = root == "/" ? 0 : root.size();
    }
  }
  if (bestDrive == 0) return {};
  WindowsPath path{bestDrive, {}};
  for (const auto& name : fs::path(host.substr(bestLength)).relative_path()) path.names.push_back(name.string());
  return path.Text();
}

std::string StartingFolder(const DriveMap& drives) { return WindowsTextOfHost(drives, HostWorkingFolder()); }

bool DriveExists(const DriveMap& drives, char letter) { return drives.HostFolder(letter).has_value(); }

void DriveMapReplaced() { FoundEntries().clear(); }

}  // namespace backend

namespace host {

// An entry found before that is still there.
std::optional<Location> FoundBefore(const std::u32string& key) {
  auto& found = FoundEntries();
  auto entry = found.find(key);
  if (entry == found.end()) return std::nullopt;
  struct stat info {};
  if (::stat(entry->second.c_str(), &info) != 0) {
    found.erase(entry);
    return std::nullopt;
  }
  return Location{entry->second, true, S_ISDIR(info.st_mode), true};
}

// Where a walk down to `path` starts: the deepest folder on its way that was found before and is still a
// folder, or else the drive's root; with the number of the path's names that it covers.
std::pair<Location, std::size_t> StartOfWalk(const WindowsPath& path) {
  auto& found = FoundEntries();
  for (std::size_t covered = path.names.size(); covered-- > 1;) {
    WindowsPath folder{path.drive, {path.names.begin(), path.names.begin() + static_cast<std::ptrdiff_t>(covered)}};
    auto entry = found.find(FoldedName(folder.Text()));
    if (entry == found.end()) continue;
    if (IsFolder(entry->second)) return {Location{entry->second, true, true, true}, covered};
    found.erase(entry);
  }
  auto root = Drives().HostFolder(path.drive);
  if (!root) throw FileError(kInvalidDrive);
  if (!IsFolder(*root)) throw FileError(kNotReady);
  return {Location{*root, true, true, true}, 0};
}

Location Locate(const WindowsPath& path) {
  std::u32string key = FoldedName(path.Text());
  if (auto before = FoundBefore(key)) return *before;
  auto [location, covered] = StartOfWalk(path);
  for (std::size_t i = covered; i < path.names.size(); ++i) {
    const std::string& name = path.names[i];
    std::string folder = location.path;
    bool isFolder = false;
    std::string entry = location.exists && location.isFolder ? FindEntry(folder, name, isFolder) : std::string();
    location.parentExists = location.exists && location.isFolder;
    location.path = InFolder(folder, entry.empty() ? name : entry);
    location.exists = !entry.empty();
    location.isFolder = location.exists && isFolder;
  }
  if (location.exists && !path.IsRoot()) FoundEntries()[key] = location.path;
  return location;
}

}  // namespace host
}  // namespace platform
