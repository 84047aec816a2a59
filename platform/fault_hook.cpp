// The hook through which tests make file operations fail: the same on every host.
#include <utility>

#include "platform/backend.h"

namespace platform {
namespace {

FileOperationHook& Hook() {
  static FileOperationHook hook;
  return hook;
}

}  // namespace

void SetFileOperationHook(FileOperationHook hook) { Hook() = std::move(hook); }

namespace backend {

void BeforeFileOperation(FileOperation operation, std::string_view path) {
  if (Hook()) Hook()(operation, path);
}

}  // namespace backend
}  // namespace platform
