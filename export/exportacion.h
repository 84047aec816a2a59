// The export run: the seven steps that turn the staged ESCOLAN tables into the generator's nine
// interchange tables in C:\HTEMP, framed by the run's messages and the hourglass.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "export/reglas.h"
#include "run/interfaz_usuario.h"
#include "run/tablas_preparadas.h"

namespace exportacion {

// What the steps work with: the engine, the staged tables, the language chosen for subject names (LeerIdioma
// of the text of the window's language box), and the source folder the staged tables came from (the run
// records it for the import; empty, nothing is recorded).
struct ContextoExportacion {
  storage::Engine& engine;
  run::TablasPreparadas& tablas;
  Idioma idioma;
  std::string carpetaOrigen = {};
};

struct PasoExportacion {
  const char* nombre;
  std::function<void(ContextoExportacion&)> ejecutar;
};

inline constexpr const char* kMensajeInicioExportacion =
    "La duración de este Proceso será más larga, en función de la cantidad de datos que tengamos en nuestra "
    "ESCOLAN.";
inline constexpr const char* kMensajeFinExportacion = "    Proceso finalizado    ";

// The seven steps, each writing its interchange tables in C:\HTEMP from the staged ESCOLAN tables.
void ExportarAsignaturas(ContextoExportacion& contexto);   // ASIGVALT, ASIGNOMT
void ExportarProfesores(ContextoExportacion& contexto);    // PROFT
void ExportarAulas(ContextoExportacion& contexto);         // AULAT
void ExportarAlumnos(ContextoExportacion& contexto);       // ALUMNOST (reads ASIGVALT)
void ExportarHorasCurso(ContextoExportacion& contexto);    // ASIGCURT (reads ASIGVALT)
void ExportarGrupos(ContextoExportacion& contexto);        // GRUPOST, CURSOST
void ExportarCargaLectiva(ContextoExportacion& contexto);  // ASIGT (reads ASIGVALT, PROFT)

// The seven steps, in the order the run takes them (later steps read what earlier ones wrote).
std::vector<PasoExportacion> PasosExportacion();

// The run: the opening message, the hourglass, the steps in order, the default cursor, the closing message.
// Beside the steps it records, in the staging folder, the source folder and its centres: as unfinished
// before the first step, as finished after the last.
// An error ends the run where it occurs: the cursor comes back and the error passes on to the caller (the
// default error handler), without the closing message.
void Exportar(ContextoExportacion& contexto, run::InterfazUsuario& interfaz,
              const std::vector<PasoExportacion>& pasos = PasosExportacion());

}  // namespace exportacion
