// What an open file does the same on every host: it owns its host file, moves, and closes it at its end;
// and a copy that goes through the program, where the host copies nothing itself.
#include <cstddef>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "platform/backend.h"
#include "platform/host.h"

namespace platform {

File::File() noexcept = default;
File::File(std::unique_ptr<NativeFile> native) : native_(std::move(native)) {}
File::File(File&& other) noexcept = default;
File& File::operator=(File&& other) noexcept = default;  // the file this one had is closed
File::~File() = default;

namespace backend {

void CopyThroughTheProgram(File& from, File& to) {
  constexpr std::size_t kBlock = 64 * 1024;
  std::vector<std::byte> buffer(kBlock);
  for (;;) {
    std::size_t read = from.Read(buffer);
    if (read == 0) return;
    if (to.Write(std::span(buffer).first(read)) < read) throw FileError(kDiskFull);
  }
}

}  // namespace backend
}  // namespace platform
