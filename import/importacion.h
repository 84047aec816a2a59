// The import run: the generator's solution (C:\HTEMP\SOLUC.DBF) rewrites ESCOLAN's teacher and group
// timetables, after the user has made sure that every teacher has an identity number and that the centre's
// class-period times are right. ESCOLAN's own files change only at the very end, by a copy back.
#pragma once

#include <array>
#include <string>

#include "run/interfaz_usuario.h"
#include "run/tablas_ventana.h"

namespace importacion {

inline constexpr const char* kMensajeInicioImportacion =
    "La duración de este Proceso será más larga, en función de la cantidad de datos que tengamos en nuestro "
    "Horario.";
inline constexpr const char* kMensajeSinSolucion = "No se encuentra archivo SOLUC.DBF en C:\\HTEMP";
inline constexpr const char* kMensajeFinImportacion = "    Proceso finalizado     ";
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

// What the import works with: the engine, the main window's table objects, the way to the user, the source
// folder (the directory list's folder) and the centre code (the centre list's text).
struct ContextoImportacion {
  storage::Engine& engine;
  run::TablasVentana& tablas;
  run::InterfazUsuario& interfaz;
  std::string carpetaOrigen;
  std::string centro;
};

enum class FinImportacion {
  kCompleta,     // the closing message was shown
  kSinSolucion,  // no SOLUC.DBF: nothing done
  kSinDni,       // a teacher still lacks an identity number: the main window was closed
};

// The whole run. Errors of the table layer or of a file copy pass to the caller (the default error
// handler) with the default cursor back; the source folder is then unchanged unless the copy back itself
// failed.
FinImportacion BImportarClick(ContextoImportacion& contexto);

// The class-period template: the periods of the centre from lhortipo, written to
// C:\HTEMP\Valencia\PLANTILLA.DBF, reviewed by the user, and read back.
TablaPeriodos PrepararPlantilla(ContextoImportacion& contexto);

// The transfer: the staged horprof and horgrup emptied and filled with one record each per lesson of
// SOLUC, through the open teacher (PROFT) and subject (ASIGVALT by CODVALEN) lookup tables.
void TransferirHorario(ContextoImportacion& contexto, const TablaPeriodos& periodos, storage::Table& proft,
                       storage::Table& asigvalt);

}  // namespace importacion
