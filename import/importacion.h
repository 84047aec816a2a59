// The import run: the generator's solution (C:\HTEMP\SOLUC.DBF) rewrites ESCOLAN's teacher and group
// timetables, after the user has made sure that every teacher has an identity number and that the centre's
// class-period times are right. ESCOLAN's own files change only at the very end, by a copy back.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "run/interfaz_usuario.h"
#include "run/revision.h"
#include "run/tablas_preparadas.h"

namespace importacion {

inline constexpr const char* kMensajeInicioImportacion =
    "La duración de este Proceso será más larga, en función de la cantidad de datos que tengamos en nuestro "
    "Horario.";
inline constexpr const char* kMensajeSinSolucion = "No se encuentra archivo SOLUC.DBF en C:\\HTEMP";
inline constexpr const char* kMensajeFinImportacion = "    Proceso finalizado     ";
// The refusals of a solution that must not reach the school's timetables; nothing is changed then.
inline constexpr const char* kMensajeSolucionSinClases =
    "La solución C:\\HTEMP\\SOLUC.DBF no tiene ninguna clase con día: no se ha cambiado ningún horario.";
inline constexpr const char* kMensajeExportacionIncompleta =
    "La última exportación hacia Horvane no terminó, así que la solución no corresponde a sus datos. Vuelva a "
    "exportar y a generar el horario. No se ha cambiado ningún horario.";
// %1 is the folder the generator's data was exported from, %2 the folder being imported into.
inline constexpr const char* kMensajeOtraCarpeta =
    "Los datos de Horvane se exportaron desde %1, no desde %2: la solución es de otro centro. Importe en la "
    "carpeta de la que se exportaron, o exporte desde esta y vuelva a generar el horario. No se ha cambiado "
    "ningún horario.";
// After a complete copy back, when the printable page of the timetables (%1) could not be written: the
// timetables are imported all the same. %2 is the file layer's or the table layer's message.
inline constexpr const char* kMensajeSinPaginaHorarios =
    "Los horarios se han importado, pero no se ha podido escribir la página para imprimirlos (%1): %2";
// Three lines joined by a line feed and a carriage return, in this order.
inline constexpr const char* kMensajeSinDni =
    "¡Atención! Sigue habiendo algún Profesor sin D.N.I.\n\r"
    "Este proceso se dentendrá y deberá volver a ejecutar\n\r"
    "la Importación, para poder corregir la incidencia";

// The start and end times of class periods 1 to 20; empty where none is known.
struct TablaPeriodos {
  static constexpr int kPeriodos = 20;
  std::array<std::string, kPeriodos> desde;
  std::array<std::string, kPeriodos> hasta;
  static bool Existe(int periodo) { return periodo >= 1 && periodo <= kPeriodos; }
};

// What the import works with: the engine, the staged tables, the way to the user, the source folder (the
// directory list's folder) and the centre code (the centre list's text).
struct ContextoImportacion {
  storage::Engine& engine;
  run::TablasPreparadas& tablas;
  run::InterfazUsuario& interfaz;
  std::string carpetaOrigen;
  std::string centro;
  // Set by a complete import: the backup of the pair it replaced (C:\HTEMP\COPIAS\<date and time>), and the
  // printable page of the new timetables beside it (empty when the page could not be written).
  std::string copiaHorarios = {};
  std::string paginaHorarios = {};
};

enum class FinImportacion {
  kCompleta,     // the closing message was shown
  kSinSolucion,  // no SOLUC.DBF: nothing done
  kRechazada,    // a solution without lessons, or made from another folder's tables: nothing done
  kSinDni,       // a teacher still lacks an identity number: the main window was closed
};

// The whole run. Errors of the table layer or of a file copy pass to the caller (the default error
// handler) with the default cursor back; the source folder is then unchanged unless the copy back itself
// failed.
FinImportacion Importar(ContextoImportacion& contexto);

// The two reviews the import shows the user, each with its table opened on its first record: every teacher of
// C:\HTEMP\PROFT.DBF, where the missing identity numbers are given; the 20 periods of the class-period
// template (C:\HTEMP\Valencia\PLANTILLA.DBF), whose start and end times are checked and corrected. The
// table closes, dropping a record still being edited, when the review goes.
std::unique_ptr<run::Revision> RevisionProfesores(storage::Engine& engine);
std::unique_ptr<run::Revision> RevisionPlantilla(storage::Engine& engine);

// The class-period template: the periods of the centre from lhortipo, written to
// C:\HTEMP\Valencia\PLANTILLA.DBF, reviewed by the user, and read back.
TablaPeriodos PrepararPlantilla(ContextoImportacion& contexto);

// Lessons written as the solution gives them although something in them is unknown or out of range.
struct Incidencias {
  int profesorDesconocido = 0;   // PROF is no abbreviation of PROFT: written with identity number 0
  int asignaturaDesconocida = 0; // NIVEL, CURSO and ASIG name no subject of ASIGVALT: no group or subject
  int diaFueraDeRango = 0;       // DIA outside 1 to 5
  int horaFueraDeRango = 0;      // HORA outside 1 to 20: no times
  bool Ninguna() const { return profesorDesconocido + asignaturaDesconocida + diaFueraDeRango + horaFueraDeRango == 0; }
};

// The closing message: the specified text, followed by the counts of lessons with incidences that are not 0.
std::string MensajeFinal(const Incidencias& incidencias);

// The transfer: the staged horprof and horgrup emptied and filled with one record each per lesson of
// SOLUC, through the open teacher (PROFT) and subject (ASIGVALT by CODVALEN) lookup tables.
Incidencias TransferirHorario(ContextoImportacion& contexto, const TablaPeriodos& periodos, storage::Table& proft,
                              storage::Table& asigvalt);

}  // namespace importacion
