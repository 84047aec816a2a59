// Whole-file reading and writing on top of File: the same on every host.
#include "platform/platform.h"

namespace platform {

void WriteWholeFile(std::string_view path, std::span<const std::byte> bytes, bool flush) {
  File file = File::Create(path, Share::kExclusive);
  file.WriteAt(0, bytes);
  if (flush) file.Flush();
  file.Close();
}

std::string ReadWholeFile(std::string_view path) {
  File file = File::OpenExisting(path, Access::kRead, Share::kDenyNone);
  std::string contents(file.Size(), '\0');
  contents.resize(file.ReadAt(0, std::as_writable_bytes(std::span(contents))));
  file.Close();
  return contents;
}

}  // namespace platform
