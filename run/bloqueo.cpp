#include "run/bloqueo.h"

#include <stdexcept>

#include "run/rutas.h"

namespace run {
namespace {

platform::File TomarBloqueo() {
  if (!platform::FolderExists(kCarpetaTrabajo)) platform::CreateFolders(kCarpetaTrabajo);
  try {
    return platform::File::Create(EnCarpeta(kCarpetaTrabajo, kBloqueoEjecucion), platform::Share::kExclusive);
  } catch (const platform::FileError& error) {
    if (error.code() == platform::kSharingViolation) throw std::runtime_error(kMensajeOtraEjecucion);
    throw;
  }
}

}  // namespace

BloqueoEjecucion::BloqueoEjecucion() : archivo_(TomarBloqueo()) {}

}  // namespace run
