// The messages of file errors, as the user reads them.
#include "platform/platform.h"

namespace platform {

std::string FileErrorMessage(int code) {
  switch (code) {
    case kFileNotFound: return "No se encuentra el archivo";
    case kPathNotFound: return "Nombre de archivo inválido";
    case kTooManyOpenFiles: return "Demasiados archivos abiertos";
    case kAccessDenied: return "Acceso al archivo denegado";
    default: return "Error de E/S " + std::to_string(code);
  }
}

FileError::FileError(int code) : std::runtime_error(FileErrorMessage(code)), code_(code) {}

FileError::FileError(int code, std::string path)
    : std::runtime_error(FileErrorMessage(code)), code_(code), path_(std::move(path)) {}

}  // namespace platform
