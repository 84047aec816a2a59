#include "tests/export/exportacion_de_prueba.h"

#include <exception>
#include <functional>

namespace exportacion_de_prueba {
namespace {

// The message of the error that `accion` raises, or kSinError.
std::string ErrorDe(const std::function<void()>& accion) {
  try {
    accion();
  } catch (const std::exception& error) {
    return error.what();
  }
  return kSinError;
}

}  // namespace

const Campos kAsignat = {{"CODASIG", DataType::ftString, 8},
                         {"VLITEASIG", DataType::ftString, 30},
                         {"CLITEASIG", DataType::ftString, 30},
                         {"HORSEMTE", DataType::ftString, 5},
                         {"LITRESV", DataType::ftString, 3}};
const Campos kProfesor = {{"FBAJA", DataType::ftDate},
                          {"APENOMPROF", DataType::ftString, 60},
                          {"DEPARTA", DataType::ftString, 50},
                          {"DNI", DataType::ftInteger}};
const Campos kProfesorConDniDeTexto = {{"FBAJA", DataType::ftDate},
                                       {"APENOMPROF", DataType::ftString, 60},
                                       {"DEPARTA", DataType::ftString, 50},
                                       {"DNI", DataType::ftString, 10}};
const Campos kAulas = {{"CODAULA", DataType::ftString, 8}, {"LITAULA", DataType::ftString, 60}};
const Campos kAlumnos = {{"APENOM", DataType::ftString, 45},
                         {"CODIGO", DataType::ftString, 10},
                         {"CODGRUP", DataType::ftString, 5},
                         {"REPITE", DataType::ftSmallint}};
const Campos kAsigalum = {{"CODIGO", DataType::ftString, 10}, {"CODASIG", DataType::ftString, 10}};
const Campos kGrupos = {{"TURNO", DataType::ftString, 1}, {"CODGRUP", DataType::ftString, 5}};
const Campos kHorgrup = {
    {"CODGRUP", DataType::ftString, 5}, {"CODASIG", DataType::ftString, 14}, {"DNI", DataType::ftInteger}};

ExportacionTest::ExportacionTest() {
  unidad_.MakeHostFolder("HTEMP/VALENCIA");
  SeparadorDecimal(',');
}

void ExportacionTest::SeparadorDecimal(char separador) {
  tablas_.reset();
  engine_ = std::make_unique<storage::Engine>(separador);
  tablas_ = std::make_unique<run::TablasPreparadas>(*engine_);
}

void ExportacionTest::Ejecutar(Paso paso, Idioma idioma) {
  ContextoExportacion contexto{*engine_, *tablas_, idioma};
  paso(contexto);
}

std::string ExportacionTest::ErrorAlEjecutar(Paso paso, Idioma idioma) {
  return ErrorDe([&] { Ejecutar(paso, idioma); });
}

void ExportacionTest::Preparar(const std::string& nombre, const Campos& campos, const Filas& filas) {
  testing_support::CrearTabla(*engine_, "C:\\HTEMP\\VALENCIA\\" + nombre + ".dbf", campos, filas);
}

void ExportacionTest::PrepararIntercambio(const std::string& nombre, const Campos& campos, const Filas& filas,
                                          const std::vector<std::string>& indices) {
  testing_support::CrearTabla(*engine_, "C:\\HTEMP\\" + nombre + ".DBF", campos, filas, indices);
}

void ExportacionTest::PrepararAsigvalt(const Filas& filas) {
  Filas completas;
  for (const Fila& f : filas) completas.push_back({f[1], f[1], "Nombre de " + f[0], f[0], f[2], f[3], f[4]});
  testing_support::EscribirAsigvalt(*engine_, completas);
}

void ExportacionTest::PrepararProft(const Filas& filas) { testing_support::EscribirProft(*engine_, filas); }

Filas ExportacionTest::LeerIntercambio(const std::string& nombre, const std::vector<std::string>& campos,
                                       const std::string& indice) {
  return testing_support::LeerTabla(*engine_, "C:\\HTEMP\\" + nombre + ".DBF", campos, indice);
}

std::vector<double> ExportacionTest::LeerNumeros(const std::string& nombre, const std::string& campo) {
  Table tabla(*engine_);
  tabla.SetTableName("C:\\HTEMP\\" + nombre + ".DBF");
  tabla.Open();
  std::vector<double> valores;
  for (tabla.First(); !tabla.Eof(); tabla.Next()) valores.push_back(tabla.AsFloat(campo));
  tabla.Close();
  return valores;
}

}  // namespace exportacion_de_prueba
