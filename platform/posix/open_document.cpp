// Opening a document with the desktop's default program: xdg-open, or the program that
// ESCOLAN_HORVANE_OPENER names (a test's stand-in for a browser), started apart from this process.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "platform/posix/host.h"

namespace platform {
namespace {

// In the grandchild: output discarded, the program started; on failure its errno goes up the pipe.
[[noreturn]] void StartOpener(char* const argv[], int reportFd) {
  int devNull = ::open("/dev/null", O_RDWR);
  if (devNull >= 0) {
    ::dup2(devNull, STDIN_FILENO);
    ::dup2(devNull, STDOUT_FILENO);
    ::dup2(devNull, STDERR_FILENO);
  }
  ::execvp(argv[0], argv);
  int error = errno;
  [[maybe_unused]] ssize_t written = ::write(reportFd, &error, sizeof error);
  ::_exit(127);
}

}  // namespace

bool OpenWithDefaultProgram(std::string_view windowsPath) {
  host::Location location = host::Locate(windowsPath);
  if (!location.exists) return false;
  const char* opener = std::getenv("ESCOLAN_HORVANE_OPENER");
  std::string program = opener != nullptr && *opener != '\0' ? opener : "xdg-open";
  char* argv[] = {program.data(), location.path.data(), nullptr};

  // A browser may outlive the program and xdg-open may wait for it: the opener runs as a grandchild in a
  // session of its own, and this process waits only for the child in between. The pipe, closed by a
  // successful exec, tells whether the opener started.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return false;
  pid_t child = ::fork();
  if (child == 0) {
    ::close(report[0]);
    ::setsid();
    if (::fork() == 0) StartOpener(argv, report[1]);
    ::_exit(0);
  }
  ::close(report[1]);
  if (child < 0) {
    ::close(report[0]);
    return false;
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got = 0;
  do {
    got = ::read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  ::close(report[0]);
  return got == 0;
}

}  // namespace platform
