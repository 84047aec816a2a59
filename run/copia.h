// Copying ESCOLAN's files between the source folder and the staging folder: the plain block copy and the
// replace-copy built on it.
#pragma once

#include <string>
#include <string_view>

namespace run {

// Copies `source` to `target` byte for byte, in large blocks or inside the host. A target whose file-name
// part is empty (empty, or ending in "\" or ":") gets the source's file name. A missing source is no error: nothing
// happens. The source is only read; a write that cannot write everything (disk full) raises
// FileError(kDiskFull). On failure the target may hold part of the copy.
void CopiarArchivo(std::string target, std::string_view source);

// Whether a copy is put on disk before the call returns, or may still sit in the host's memory.
enum class Durabilidad { kEnMemoria, kEnDisco };

// Copies `source`, which must exist (FileError(kFileNotFound) otherwise), to `target` byte for byte, creating
// or truncating it.
void CopiarArchivoExistente(std::string_view target, std::string_view source,
                            Durabilidad durabilidad = Durabilidad::kEnMemoria);

// Replaces `target` with a copy of `source`. A missing source deletes the target (stale copies disappear).
// Otherwise the copy is made beside the target and moved over it: when the copy fails (the source vanishing
// meanwhile included) the target keeps its old contents. The copies are working copies: the new target may
// reach the disk a moment after this returns (every program sees it at once all the same).
void CopiarReemplazando(std::string_view target, std::string_view source);

// Removes the temporary files that replace-copies left in `carpeta` when a crash or a kill stopped them.
void BorrarTemporalesAbandonados(std::string_view carpeta);

}  // namespace run
