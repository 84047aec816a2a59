// Small tables for tests, written from compact rows of text through the table layer.
#pragma once

#include <string>
#include <vector>

#include "storage/storage.h"

namespace testing_support {

using Fila = std::vector<std::string>;
using Filas = std::vector<Fila>;

struct Campo {
  std::string nombre;
  storage::DataType tipo;
  int tamano = 0;
};
using Campos = std::vector<Campo>;

// Creates the table at `ruta` with these fields (and an index per name in `indices`, on the field of that
// name) and appends the rows: each value is written as text in field order, floating-point ones as numbers
// written with a point; an empty value leaves the field empty. Throws on a row of the wrong length.
void CrearTabla(storage::Engine& engine, const std::string& ruta, const Campos& campos, const Filas& filas,
                const std::vector<std::string>& indices = {});

class TemporaryDrive;

// ESCOLAN's centro in a host folder of the drive (created when missing): a floating-point CODCEN with
// these centre codes, in this stored order, and a LITCEN.
void EscribirCentro(const TemporaryDrive& drive, const std::string& carpeta, const std::vector<double>& codigos);

}  // namespace testing_support
