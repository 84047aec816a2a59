// A drive C: of the tests' own: a fresh folder of the host's temporary folder mapped as C: for the life of the
// object (on POSIX with "/" as Z:; on Windows the other drives stay the real ones), with C:\ as the current
// folder. The previous drive map and current folder come back afterwards.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace testing_support {

class TemporaryDrive {
 public:
  TemporaryDrive();
  ~TemporaryDrive();
  TemporaryDrive(const TemporaryDrive&) = delete;
  TemporaryDrive& operator=(const TemporaryDrive&) = delete;

  // The host folder behind C:.
  const std::string& Root() const { return root_; }
  // The host path of a path relative to C:\ written with "/" ("HTEMP/VALENCIA/grupos.dbf"), with the host's
  // separators.
  std::string Host(std::string_view relative) const;

  // Host-side helpers for setting up and checking files by their host spelling.
  void WriteHostFile(std::string_view relative, std::string_view contents) const;
  std::string ReadHostFile(std::string_view relative) const;
  void MakeHostFolder(std::string_view relative) const;
  // The names in a host folder, sorted (to see that no temporary file was left behind).
  std::vector<std::string> HostEntries(std::string_view relative) const;

 private:
  struct Previous;  // what the process had before: drives and current folder, as the backend keeps them
  std::unique_ptr<Previous> previous_;
  std::string root_;
};

// The Windows code of the FileError that `action` raises; 0 when it raises none.
int FileErrorCodeOf(const std::function<void()>& action);
// The code and message of the FileError that `action` raises; {0, ""} when it raises none.
std::pair<int, std::string> FileErrorOf(const std::function<void()>& action);

// `size` bytes of a fixed pseudo-random pattern, different for each seed.
std::string PatternBytes(std::size_t size, unsigned seed = 1);

}  // namespace testing_support
