#include "tests/support/tablas_de_prueba.h"

#include <stdexcept>

#include "platform/platform.h"
#include "platform/drive_map.h"
#include "run/rutas.h"
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

Filas LeerTabla(storage::Engine& engine, const std::string& ruta, Fila campos, const std::string& indice) {
  storage::Table tabla(engine);
  tabla.SetTableName(ruta);
  if (!indice.empty()) tabla.SetIndexName(indice);
  tabla.Open();
  if (campos.empty()) {
    for (const storage::FieldInfo& info : tabla.Fields()) campos.push_back(info.name);
  }
  std::vector<bool> logicos;
  for (const std::string& campo : campos) {
    bool logico = false;
    for (const storage::FieldInfo& info : tabla.Fields()) {
      if (platform::SameName(info.name, campo)) logico = info.dataType == storage::DataType::ftBoolean;
    }
    logicos.push_back(logico);
  }
  Filas filas;
  for (tabla.First(); !tabla.Eof(); tabla.Next()) {
    Fila fila;
    for (std::size_t i = 0; i < campos.size(); ++i) {
      if (!logicos[i]) {
        fila.push_back(tabla.AsString(campos[i]));
      } else if (tabla.IsNull(campos[i])) {
        fila.push_back("");
      } else {
        fila.push_back(tabla.AsBoolean(campos[i]) ? "T" : "F");
      }
    }
    filas.push_back(fila);
  }
  tabla.Close();
  return filas;
}

void EscribirAsigvalt(storage::Engine& engine, const Filas& filas) {
  using storage::DataType;
  CrearTabla(engine, "C:\\HTEMP\\ASIGVALT.DBF",
             {{"COD", DataType::ftString, 4},
              {"CODLARGO", DataType::ftString, 8},
              {"NOMBRE", DataType::ftString, 40},
              {"CODVALEN", DataType::ftString, 10},
              {"NHORAS", DataType::ftFloat},
              {"NIVEL", DataType::ftString, 5},
              {"CURSO", DataType::ftString, 3}},
             filas, {"COD", "CODVALEN"});
}

int EscribirSolucionDesdeAsigt(storage::Engine& engine, int clases) {
  storage::Table asigt(engine);
  asigt.SetTableName("C:\\HTEMP\\ASIGT.DBF");
  asigt.Open();
  storage::Table soluc(engine);
  soluc.SetTableName("C:\\HTEMP\\SOLUC.DBF");
  soluc.AddFieldDef("DIA", storage::DataType::ftInteger);
  soluc.AddFieldDef("HORA", storage::DataType::ftInteger);
  for (const char* campo : {"AULA", "PROF", "NIVEL", "CURSO", "ASIG", "GRUPO"}) {
    soluc.AddFieldDef(campo, storage::DataType::ftString, 5);
  }
  soluc.CreateTable();
  soluc.Open();
  int clase = 0;
  while (clase < clases) {
    int antes = clase;
    for (asigt.First(); !asigt.Eof() && clase < clases; asigt.Next(), ++clase) {
      soluc.Append();
      soluc.SetAsInteger("DIA", 1 + clase % 5);
      soluc.SetAsInteger("HORA", 1 + clase / 5 % 7);
      soluc.SetAsString("AULA", "A12");
      soluc.SetAsString("PROF", asigt.AsString("CPROF"));
      for (const char* campo : {"NIVEL", "CURSO", "GRUPO"}) soluc.SetAsString(campo, asigt.AsString(campo));
      soluc.SetAsString("ASIG", asigt.AsString("CASIG"));
      soluc.Post();
    }
    if (clase == antes) break;  // an empty teaching load
  }
  soluc.Close();
  asigt.Close();
  return clase;
}

void EscribirProft(storage::Engine& engine, const Filas& filas) {
  using storage::DataType;
  Filas completas;
  for (const Fila& f : filas) completas.push_back({f[0], "Profesor " + f[0], "Departamento", f[1]});
  CrearTabla(engine, "C:\\HTEMP\\PROFT.DBF",
             {{"ABREV", DataType::ftString, 4},
              {"NOMBRE", DataType::ftString, 40},
              {"DEPART", DataType::ftString, 40},
              {"DNI", DataType::ftInteger}},
             completas);
}

void EscribirCentro(const TemporaryDrive& drive, const std::string& carpeta, const std::vector<double>& codigos) {
  drive.MakeHostFolder(carpeta);
  storage::Engine engine('.');
  Filas filas;
  for (double codigo : codigos) filas.push_back({std::to_string(codigo), ""});
  CrearTabla(engine, platform::WindowsPathOfHost(drive.Host(carpeta + "/centro.dbf")),
             {{"CODCEN", storage::DataType::ftFloat}, {"LITCEN", storage::DataType::ftString, 45}}, filas);
}

const std::vector<std::string> kArchivosEscolan = {"grupos.dbf",  "profesor.dbf", "horgrup.dbf", "asigalum.dbf",
                                                   "asignat.dbf", "aulas.dbf",    "alumnos.dbf", "alumnos.fpt",
                                                   "centro.dbf",  "lhortipo.dbf"};

void EscribirArchivosEscolan(const TemporaryDrive& drive, const std::string& carpeta) {
  for (std::size_t i = 0; i < kArchivosEscolan.size(); ++i) {
    if (kArchivosEscolan[i] == "centro.dbf") continue;
    drive.WriteHostFile(carpeta + "/" + kArchivosEscolan[i], PatternBytes(100 + i * 1000, static_cast<unsigned>(i)));
  }
  EscribirCentro(drive, carpeta, {46010, 46010, 3001});
}

void DarDniATodos(storage::Engine& engine) {
  storage::Table proft(engine);
  proft.SetTableName(run::RutaIntercambio(run::kProft));
  proft.Open();
  std::int32_t siguiente = 70000001;
  for (proft.First(); !proft.Eof(); proft.Next()) {
    if (proft.AsInteger("DNI") != 0) continue;
    proft.Edit();
    proft.SetAsInteger("DNI", siguiente++);
    proft.Post();
  }
  proft.Close();
}

}  // namespace testing_support
