// Whole-file writing on top of File: the same on every host.
#include "platform/platform.h"

namespace platform {

void WriteWholeFile(std::string_view path, std::span<const std::byte> bytes) {
  File file = File::Create(path, Share::kExclusive);
  file.WriteAt(0, bytes);
  file.Close();
}

}  // namespace platform
