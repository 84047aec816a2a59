// Runs a piece of a test in a child process, for what must not touch the test process itself: a lower
// resource limit, another user, an ignored signal. POSIX only (fork).
#pragma once

#include <functional>

namespace testing_support {

// Runs `body` in a forked child and returns its result (0-255); an exception in the child gives 255,
// a child killed by a signal gives 256 + the signal number.
int RunInChild(const std::function<int()>& body);

// The uid of the unprivileged user "nobody".
inline constexpr unsigned kNobody = 65534;

}  // namespace testing_support
