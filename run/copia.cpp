// Copying whole files: the plain block copy and the replace-copy built on it.
#include "run/copia.h"


#include "platform/platform.h"
#include "run/rutas.h"

namespace run {

using platform::Access;
using platform::File;
using platform::FileError;
using platform::FileNamePart;
using platform::Share;

namespace {

// The folder part of a path: everything before its file-name part ("." for a bare name).
std::string FolderOf(std::string_view path) {
  std::string_view name = FileNamePart(path);
  std::string_view folder = path.substr(0, path.size() - name.size());
  return folder.empty() ? std::string(".") : std::string(folder);
}

// A target without a file-name part ("C:\HTEMP\", "A:") takes the source's file name.
std::string CompletedTarget(std::string target, std::string_view source) {
  if (FileNamePart(target).empty()) target += FileNamePart(source);
  return target;
}

}  // namespace

void CopiarArchivoExistente(std::string_view target, std::string_view source, Durabilidad durabilidad) {
  File input = platform::OnFile(source, [&] { return File::OpenExisting(source, Access::kRead, Share::kDenyNone); });
  File output = platform::OnFile(target, [&] { return File::Create(target, Share::kDenyNone); });
  platform::CopyRest(input, output);
  if (durabilidad == Durabilidad::kEnDisco) output.Flush();
  output.Close();
  input.Close();
}

void CopiarArchivo(std::string target, std::string_view source) {
  target = CompletedTarget(std::move(target), source);
  if (!platform::FileExists(source)) return;
  CopiarArchivoExistente(target, source);
}

void CopiarReemplazando(std::string_view targetPath, std::string_view source) {
  std::string target = CompletedTarget(std::string(targetPath), source);
  if (!platform::FileExists(source)) {
    platform::RemoveFile(target);
    return;
  }
  std::string temporary = File::CreateUnique(FolderOf(target), kPrefijoTemporal);
  try {
    // A source that vanishes now is an error: an empty copy must never replace the target.
    CopiarArchivoExistente(temporary, source);
    platform::OnFile(target, [&] { platform::MoveReplacing(temporary, target, platform::Replacement::kWorkingCopy); });
  } catch (...) {
    platform::RemoveFile(temporary);
    throw;
  }
}

void BorrarTemporalesAbandonados(std::string_view carpeta) {
  for (const std::string& nombre : platform::FilesIn(carpeta)) {
    if (nombre.size() >= kPrefijoTemporal.size() && platform::SameName(nombre.substr(0, kPrefijoTemporal.size()), kPrefijoTemporal)) {
      platform::RemoveFile(EnCarpeta(carpeta, nombre));
    }
  }
}

}  // namespace run
