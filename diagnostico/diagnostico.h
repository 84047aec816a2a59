// The examination of an ESCOLAN folder before an export: reads the folder's tables where they are, shared and
// without writing anything, and finds every record at which an export or an import of that folder would stop,
// or would write something the user would not expect, judged by the export's own rules (export/reglas.h) and
// the import's teacher-identity rule (run/identidad.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "export/reglas.h"
#include "storage/storage.h"

namespace diagnostico {

// One problem: where it is and what the runs would do there, in Spanish.
struct Problema {
  std::string archivo;        // "asignat.dbf", "alumnos.fpt"
  std::uint32_t registro = 0;  // the record number; 0 for the file as a whole
  std::string campo;          // the field, as the runs name it; empty for the file or record as a whole
  std::string mensaje;
  std::string valor;          // what the field holds, as the user would see it; empty without a field
};

// Every problem of the ESCOLAN folder `carpeta` (a Windows path), file by file in the order the export reads
// them, then record by record. `idioma` is the export's language of subject names (it decides which name field
// of asignat is read). No file is created or changed, in the folder or anywhere else.
std::vector<Problema> ProblemasDeCarpeta(storage::Engine& engine, std::string_view carpeta, exportacion::Idioma idioma);

// "asignat.dbf, registro 12, campo Horsemte: ..." (without the record or field where the problem has none).
std::string Linea(const Problema& problema);

// The closing line: how many problems were found.
std::string Resumen(std::size_t problemas);

}  // namespace diagnostico
