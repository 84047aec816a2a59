// The import's copy back: the staged horgrup.dbf and horprof.dbf replace the school's pair as one change.
//
// Before anything is replaced, both current files are backed up into a dated folder of their own under
// C:\HTEMP\COPIAS (which keeps them: they are small), with ORIGEN.TXT naming the school's folder, and a
// journal (DIARIO.TXT) there says how far the copy back went. The new files are copied beside their targets
// and put on disk, the journal marks the point after which the change goes through, both are moved over
// their targets, and the journal is cleared last. A failure before that point undoes everything; a failure
// while moving puts back from the backup what was already replaced. A crash or a kill leaves the journal,
// and the next run first finishes or undoes the change, so that the school's folder holds both old or both
// new files, never one of each.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace importacion {

// Copies the staged timetables back into `carpetaOrigen`. A staged file that is missing is an error
// ("No se encuentra el archivo"), and so is a read-only target ("Acceso al archivo denegado"): nothing is
// changed then. Other failures are the file layer's, after the school's pair has been left as it was.
// Returns the backup folder.
std::string DevolverHorarios(std::string_view carpetaOrigen);

// Finishes or undoes a copy back that was interrupted, as its journal says, and removes the temporary files
// it left. Returns the message that tells the user which of the two it did (nothing when there was none to
// recover). Throws the file layer's error when it cannot; the journal then stays for the next run, except
// when finishing failed after a file of the pair was replaced: that copy back is undone first.
std::optional<std::string> RecuperarDevolucionInterrumpida();

inline constexpr const char* kMensajeDevolucionCompletada =
    "Una importación anterior se interrumpió mientras copiaba los horarios en %s. Se ha completado: la "
    "carpeta tiene los horarios nuevos (horgrup.dbf y horprof.dbf).";
inline constexpr const char* kMensajeDevolucionDeshecha =
    "Una importación anterior se interrumpió mientras copiaba los horarios en %s. Se ha deshecho: la "
    "carpeta conserva los horarios que tenía (horgrup.dbf y horprof.dbf).";

}  // namespace importacion
