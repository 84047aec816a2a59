// The Windows tests' second process: file_probe (built beside the test program), started with drive C:
// mapped through its environment as the program's users map it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace testing_support {

class ProbeProcess {
 public:
  // Starts file_probe with `arguments`, C: mapped onto the host folder `driveC` (no drive mapped when it is
  // empty), in the host folder `folder` (this process's own when empty).
  ProbeProcess(const std::vector<std::string>& arguments, const std::string& driveC, const std::string& folder = "");
  ~ProbeProcess();  // waits for the probe to end
  ProbeProcess(const ProbeProcess&) = delete;
  ProbeProcess& operator=(const ProbeProcess&) = delete;

  // The next line of its standard output, without the line end; empty once it has ended.
  std::string ReadLine();
  // Its exit status, once it has ended.
  int Wait();

 private:
  struct HandleCloser {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
  };
  std::unique_ptr<void, HandleCloser> process_;
  std::unique_ptr<void, HandleCloser> output_;
};

// Runs file_probe to its end and gives its exit status.
int RunProbe(const std::vector<std::string>& arguments, const std::string& driveC);

}  // namespace testing_support
