// Copying ESCOLAN's files between the source folder and the staging folder: the plain block copy and the
// replace-copy built on it.
#pragma once

#include <string>
#include <string_view>

namespace run {

// Copies `source` to `target` byte for byte in blocks of 2048 bytes. A target whose file-name part is empty
// (empty, or ending in "\" or ":") gets the source's file name. A missing source is no error: nothing
// happens. The source is only read; a write that cannot write everything (disk full) raises
// FileError(kDiskFull). On failure the target may hold part of the copy.
void CopiarArchivo(std::string target, std::string_view source);

// Replaces `target` with a copy of `source`. A missing source deletes the target (stale copies disappear).
// Otherwise the copy is made beside the target and moved over it: when the copy fails the target keeps
// its old contents.
void CopiarReemplazando(std::string_view target, std::string_view source);

}  // namespace run
