// The random part of the temporary files' names, the same on every host.
#include <cstdio>
#include <random>

#include "platform/backend.h"

namespace platform::backend {

std::string RandomSuffix() {
  static std::random_device device;
  char text[9];
  std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(device()));
  return text;
}

}  // namespace platform::backend
