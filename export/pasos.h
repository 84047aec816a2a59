// Inside the export library: what the seven steps share.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "storage/storage.h"

namespace exportacion {

// Opens one of the main window's tables for a step and closes it when the step ends, however it ends.
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

// Characters `desde` (1-based) to `desde + cuantos - 1` of a text, counted in characters; shorter or empty
// where the text ends before.
std::string Caracteres(std::string_view texto, std::size_t desde, std::size_t cuantos);
std::string UltimoCaracter(std::string_view texto);

// ESCOLAN's group code cut apart: level (characters 2 to 4), course (character 1), group letter (the last).
struct CodigoGrupo {
  std::string nivel;
  std::string curso;
  std::string letra;
};
CodigoGrupo CortarCodigoGrupo(std::string_view codgrup);
// The group abbreviation: level characters 1 and 3, course, group letter.
std::string AbreviaturaGrupo(const CodigoGrupo& grupo);

// A text as it reads back from a text field of `tamano` characters of the tables the export creates: in
// their code page, cut to the field, without trailing blanks. Duplicate tests compare what was read back
// from a table with texts computed afresh, so they compare against this form.
std::string ComoSeLee(std::string_view texto, std::size_t tamano);

// A text without the blanks and control characters (every character up to code 32) at either end.
std::string_view SinBlancosNiControles(std::string_view texto);

}  // namespace exportacion
