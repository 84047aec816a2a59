// The program's fixed folders and file names. None of them can be configured: only the source folder,
// picked in the main window, changes from run to run.
#pragma once

#include <string>
#include <string_view>

namespace run {

// ESCOLAN's own folder, where the directory list starts.
inline constexpr std::string_view kCarpetaEscolan = "C:\\ESCOLAN";
// The interchange folder: the export's tables for the generator, and the generator's solution.
inline constexpr std::string_view kCarpetaIntercambio = "C:\\HTEMP";
// The staging folder: the program's working copies of ESCOLAN's tables and the class-period template.
inline constexpr std::string_view kCarpetaTrabajo = "C:\\HTEMP\\VALENCIA";

// The interchange tables, named without extension: each is <name>.DBF (with <name>.MDX where it has
// indexes) in the interchange folder.
inline constexpr std::string_view kAsigvalt = "ASIGVALT";  // ESCOLAN's subject codes -> short codes
inline constexpr std::string_view kAsignomt = "ASIGNOMT";  // a name per short code
inline constexpr std::string_view kProft = "PROFT";        // teachers, abbreviations, identity numbers
inline constexpr std::string_view kAulat = "AULAT";
inline constexpr std::string_view kAlumnost = "ALUMNOST";
inline constexpr std::string_view kAsigcurt = "ASIGCURT";
inline constexpr std::string_view kGrupost = "GRUPOST";
inline constexpr std::string_view kCursost = "CURSOST";
inline constexpr std::string_view kAsigt = "ASIGT";
// The generator's solution, beside the interchange tables.
inline constexpr std::string_view kSoluc = "SOLUC";
// The class-period template, in the staging folder.
inline constexpr std::string_view kPlantilla = "PLANTILLA";

// ESCOLAN's two timetables, which the import stages and copies back.
inline constexpr std::string_view kHorgrup = "horgrup.dbf";
inline constexpr std::string_view kHorprof = "horprof.dbf";

// The file `archivo` ("horgrup.dbf", "PROFT.DBF") in `carpeta`.
inline std::string EnCarpeta(std::string_view carpeta, std::string_view archivo) {
  std::string ruta(carpeta);
  ruta += '\\';
  ruta += archivo;
  return ruta;
}

// "<name>.DBF" and "<name>.MDX" of a table named without extension.
inline std::string ArchivoDbf(std::string_view tabla) { return std::string(tabla) + ".DBF"; }
inline std::string ArchivoMdx(std::string_view tabla) { return std::string(tabla) + ".MDX"; }

// Full paths: an interchange table ("C:\HTEMP\ASIGVALT.DBF") and the class-period template.
inline std::string RutaIntercambio(std::string_view tabla) { return EnCarpeta(kCarpetaIntercambio, ArchivoDbf(tabla)); }
inline std::string RutaPlantilla() { return EnCarpeta(kCarpetaTrabajo, ArchivoDbf(kPlantilla)); }

}  // namespace run
