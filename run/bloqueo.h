// One run at a time. A run (an export, an import, the staging at start-up or after a folder change, the
// recovery of an interrupted copy back) works on the shared staging and interchange folders, so it holds
// an exclusive lock on a file of the staging folder for its whole length; a second run, in this process or
// another, is refused at once and changes nothing.
#pragma once

#include "platform/platform.h"

namespace run {

inline constexpr const char* kMensajeOtraEjecucion =
    "Ya hay otra exportación, importación o copia de datos en curso sobre C:\\HTEMP. Espere a que termine y "
    "vuelva a intentarlo.";

class BloqueoEjecucion {
 public:
  // Takes the lock (creating the staging folder and the lock file when missing). Throws std::runtime_error
  // with kMensajeOtraEjecucion when another run holds it, and the file layer's error when the lock file
  // cannot be made.
  BloqueoEjecucion();
  BloqueoEjecucion(const BloqueoEjecucion&) = delete;
  BloqueoEjecucion& operator=(const BloqueoEjecucion&) = delete;

 private:
  platform::File archivo_;
};

}  // namespace run
