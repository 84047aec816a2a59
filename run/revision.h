// A review the import asks the user for before it goes on: one table to look through and correct in a grid,
// and the grid's columns. The import builds it, opening the table, and hands it to the front end through the
// interface to the user: the window shows it as a dialog, the command line applies its options to it. The
// table closes, dropping a record still being edited, when the review goes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/storage.h"

namespace run {

// The fields of the reviews' tables that the grid's columns show and the answers given without a dialog
// name: the teacher's abbreviation and identity number in PROFT; the period and its start and end times
// in the class-period template.
inline constexpr const char* kCampoAbreviatura = "ABREV";
inline constexpr const char* kCampoDni = "DNI";
inline constexpr const char* kCampoHora = "HORA";
inline constexpr const char* kCampoHoraInicio = "HORAINI";
inline constexpr const char* kCampoHoraFinal = "HORAFIN";

// A text about to be stored in a cell: the column's field, the text, and the record that would take it (its
// number in the table, 0 for a record being appended), so that a rule may also weigh the text against the
// table's other records.
struct TextoPorGuardar {
  std::string_view campo;
  std::string_view texto;
  std::uint32_t registro = 0;
};

// A rule that a column's texts keep before a cell stores one: it throws, with the message the user is shown,
// for a text it refuses, which the grid then keeps in its cell as refused. The table layer still judges
// whatever the rule lets through by the field's type.
using ReglaDeTexto = std::function<void(const TextoPorGuardar& texto)>;

// A column of the grid: the field it shows, its width in characters, its title (UTF-8), whether it can be
// edited, and the rule its texts keep (none: the table layer's checks alone).
struct ColumnaDatos {
  std::string campo;
  int ancho = 10;
  std::string titulo;
  bool editable = true;
  ReglaDeTexto regla = {};
};

enum class TipoRevision {
  kProfesores,  // the teachers' identity numbers (C:\HTEMP\PROFT.DBF)
  kPlantillaHoraria,  // the class-period template (PLANTILLA.DBF in the staging folder)
};

class Revision {
 public:
  // Opens the table object `nombreTabla` on `engine`, pointed at its file by `dirigir`, positioned on its
  // first record; a failure to open it is the table layer's error, thrown from here.
  Revision(storage::Engine& engine, TipoRevision tipo, std::string nombreTabla, void (*dirigir)(storage::Table&),
           std::vector<ColumnaDatos> columnas);
  Revision(const Revision&) = delete;
  Revision& operator=(const Revision&) = delete;

  TipoRevision Tipo() const { return tipo_; }
  storage::Engine& Engine() { return engine_; }
  storage::Table& Tabla() { return tabla_; }
  const std::vector<ColumnaDatos>& Columnas() const { return columnas_; }

 private:
  storage::Engine& engine_;
  TipoRevision tipo_;
  storage::Table tabla_;
  std::vector<ColumnaDatos> columnas_;
};

}  // namespace run
