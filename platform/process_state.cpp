// The process's drive map, its current folder and the current folder of each drive: the program's only
// process-wide state, kept the same way on every host. What a drive is and where the program was started
// are the backend's to say.
#include <map>
#include <string>
#include <utility>

#include "platform/backend.h"
#include "platform/drive_map.h"
#include "platform/host.h"

namespace platform {
namespace {

struct ProcessState {
  DriveMap drives;
  std::string current;
  std::map<char, std::string> currentOfDrive;
};

ProcessState& State() {
  static ProcessState state = [] {
    ProcessState initial{DriveMap::FromEnvironment(), {}, {}};
    initial.current = backend::StartingFolder(initial.drives);
    if (initial.current.empty()) initial.current = "C:\\";
    return initial;
  }();
  return state;
}

}  // namespace

void SetDriveMap(DriveMap map) {
  ProcessState& state = State();
  state.drives = std::move(map);
  state.currentOfDrive.clear();
  backend::DriveMapReplaced();
  if (!backend::DriveExists(state.drives, state.current[0])) state.current = "C:\\";
}

const DriveMap& Drives() { return State().drives; }

std::string CurrentFolder() { return State().current; }

std::string CurrentFolderOfDrive(char letter) {
  ProcessState& state = State();
  if (!state.current.empty() && state.current[0] == letter) return state.current;
  auto found = state.currentOfDrive.find(letter);
  if (found != state.currentOfDrive.end()) return found->second;
  return WindowsPath{letter, {}}.Text();
}

void SetCurrentFolder(std::string_view path) {
  WindowsPath folder = FullPath(path);
  host::LocateFolder(folder);
  ProcessState& state = State();
  state.current = folder.Text();
  state.currentOfDrive[folder.drive] = state.current;
}

std::string WindowsPathOfHost(std::string_view hostPath) {
  std::string text = backend::WindowsTextOfHost(Drives(), hostPath);
  if (text.empty()) throw FileError(kPathNotFound);
  return text;
}

}  // namespace platform
