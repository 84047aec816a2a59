#include "tests/support/tablas_de_prueba.h"

#include <stdexcept>

#include "platform/platform.h"
#include "tests/support/temporary_drive.h"

namespace testing_support {

void CrearTabla(storage::Engine& engine, const std::string& ruta, const Campos& campos, const Filas& filas,
                const std::vector<std::string>& indices) {
  storage::Table tabla(engine);
  tabla.SetTableName(ruta);
  for (const Campo& campo : campos) tabla.AddFieldDef(campo.nombre, campo.tipo, campo.tamano);
  for (const std::string& indice : indices) tabla.AddIndexDef(indice, indice);
  tabla.CreateTable();
  tabla.Open();
  for (const Fila& fila : filas) {
    if (fila.size() != campos.size()) throw std::invalid_argument("a row of " + ruta + " has the wrong length");
    tabla.Append();
    for (std::size_t i = 0; i < campos.size(); ++i) {
      if (fila[i].empty()) continue;
      if (campos[i].tipo == storage::DataType::ftFloat) {
        tabla.SetAsFloat(campos[i].nombre, std::stod(fila[i]));
      } else {
        tabla.SetAsString(campos[i].nombre, fila[i]);
      }
    }
    tabla.Post();
  }
}

void EscribirCentro(const TemporaryDrive& drive, const std::string& carpeta, const std::vector<double>& codigos) {
  drive.MakeHostFolder(carpeta);
  storage::Engine engine('.');
  Filas filas;
  for (double codigo : codigos) filas.push_back({std::to_string(codigo), ""});
  CrearTabla(engine, platform::WindowsPathOfHost(drive.Host(carpeta + "/centro.dbf")),
             {{"CODCEN", storage::DataType::ftFloat}, {"LITCEN", storage::DataType::ftString, 45}}, filas);
}

}  // namespace testing_support
