// What the last export took its tables from: the source folder and its centre codes, and whether the export
// ended. The import compares it with the folder it is about to write into, so that a solution made from
// another school's tables never replaces this school's timetables. Kept in the staging folder, where the
// generator never looks.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace run {

struct RegistroExportacion {
  std::string origen;                // the source folder, as a full Windows path
  std::vector<std::string> centros;  // the centre codes of its centro table, in stored order
  bool completa = false;             // the export wrote all its tables
};

void EscribirRegistroExportacion(const RegistroExportacion& registro);
// Nothing when no export has left a record; the file layer's error when the record is there but cannot be
// read (the import must not go on as if there were none).
std::optional<RegistroExportacion> LeerRegistroExportacion();

}  // namespace run
