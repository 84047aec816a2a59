#include "tests/support/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace testing_support {

int RunInChild(const std::function<int()>& body) {
  pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    int result = 255;
    try {
      result = body();
    } catch (...) {
    }
    ::_exit(result);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child) throw std::runtime_error("waitpid failed");
  if (WIFSIGNALED(status)) return 256 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

}  // namespace testing_support
