// Inside the export library: what the seven steps share.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "export/reglas.h"
#include "storage/storage.h"

namespace exportacion {

// Opens one of the staged tables for a step and closes it when the step ends, however it ends.
class AbiertaDurante {
 public:
  explicit AbiertaDurante(storage::Table& tabla) : tabla_(tabla) { tabla_.Open(); }
  ~AbiertaDurante() {
    try {
      tabla_.Close();
    } catch (const std::exception&) {
    }
  }
  AbiertaDurante(const AbiertaDurante&) = delete;
  AbiertaDurante& operator=(const AbiertaDurante&) = delete;

 private:
  storage::Table& tabla_;
};

// The interchange tables are named without extension (run/rutas.h): `tabla` is "ASIGVALT" for
// C:\HTEMP\ASIGVALT.DBF.

// Deletes the interchange table's .DBF and its .MDX where they exist, once the engine has let go of the
// .DBF; a failed deletion is not reported.
void BorrarTablaIntercambio(storage::Engine& engine, std::string_view tabla);

// Points a closed table object at an interchange table, a dBase table.
void DirigirAIntercambio(storage::Table& tabla, std::string_view nombre);

// A table object on an interchange table, with its field and index definitions, ready to be created.
struct Campo {
  const char* nombre;
  storage::DataType tipo;
  int tamano;
};
void DefinirTablaIntercambio(storage::Table& tabla, std::string_view nombre, const std::vector<Campo>& campos,
                             const std::vector<std::string>& indices = {});

}  // namespace exportacion
