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
// The backups of the timetables that each import replaced in a school's folder, one dated folder each.
inline constexpr std::string_view kCarpetaCopias = "C:\\HTEMP\\COPIAS";

// In the staging folder: the lock file that a run holds while it lasts, and what the last export took its
// tables from (the generator never sees either).
inline constexpr std::string_view kBloqueoEjecucion = "EJECUCION.LCK";
inline constexpr std::string_view kRegistroExportacion = "EXPORTACION.TXT";
// The start of the name of the temporary files that the copies leave beside their targets while they work.
inline constexpr std::string_view kPrefijoTemporal = "~copia-";
// The printable page of the timetables: written by each import beside its backup, and by the command line's
// `horarios` in the current folder unless told otherwise.
inline constexpr std::string_view kPaginaHorarios = "horarios.html";
// The pages the window writes when asked to show timetables: a folder's current ones (kPaginaHorarios) and a
// backup's ("copia-<backup's name>.html"). Never in ESCOLAN's folder.
inline constexpr std::string_view kCarpetaPaginas = "C:\\HTEMP\\HORARIOS";
inline constexpr std::string_view kPrefijoPaginaCopia = "copia-";

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

// ESCOLAN's tables, named without extension: each is <name>.dbf in ESCOLAN's folder and in the staging
// folder. The import stages and copies back the two timetables, horgrup and horprof.
inline constexpr std::string_view kAsignat = "asignat";
inline constexpr std::string_view kCentro = "centro";
inline constexpr std::string_view kProfesor = "profesor";
inline constexpr std::string_view kAsigalum = "asigalum";
inline constexpr std::string_view kAulas = "aulas";
inline constexpr std::string_view kGrupos = "grupos";
inline constexpr std::string_view kAlumnos = "alumnos";
inline constexpr std::string_view kHorgrup = "horgrup";
inline constexpr std::string_view kHorprof = "horprof";
inline constexpr std::string_view kLhortipo = "lhortipo";
// alumnos' memo file, beside it.
inline constexpr std::string_view kMemoAlumnos = "alumnos.fpt";

// The file `archivo` ("horgrup.dbf", "PROFT.DBF") in `carpeta`.
inline std::string EnCarpeta(std::string_view carpeta, std::string_view archivo) {
  std::string ruta(carpeta);
  ruta += '\\';
  ruta += archivo;
  return ruta;
}

// "<name>.DBF" and "<name>.MDX" of an interchange table, "<name>.dbf" of an ESCOLAN table, each named
// without extension.
inline std::string ArchivoDbf(std::string_view tabla) { return std::string(tabla) + ".DBF"; }
inline std::string ArchivoMdx(std::string_view tabla) { return std::string(tabla) + ".MDX"; }
inline std::string ArchivoEscolan(std::string_view tabla) { return std::string(tabla) + ".dbf"; }

// Full paths: an interchange table ("C:\HTEMP\ASIGVALT.DBF") and the class-period template.
inline std::string RutaIntercambio(std::string_view tabla) { return EnCarpeta(kCarpetaIntercambio, ArchivoDbf(tabla)); }
inline std::string RutaPlantilla() { return EnCarpeta(kCarpetaTrabajo, ArchivoDbf(kPlantilla)); }

}  // namespace run
