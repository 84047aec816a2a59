// A review the import asks the user for before it goes on: one table to look through and correct in a grid,
// and the grid's columns. The import builds it, opening the table, and hands it to the front end through the
// interface to the user: the window shows it as a dialog, the command line applies its options to it. The
// table closes, dropping a record still being edited, when the review goes.
#pragma once

#include <string>
#include <vector>

#include "storage/storage.h"

namespace run {

// A column of the grid: the field it shows, its width in characters, its title (UTF-8) and whether it can
// be edited.
struct ColumnaDatos {
  std::string campo;
  int ancho = 10;
  std::string titulo;
  bool editable = true;
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
