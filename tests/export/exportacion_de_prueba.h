// What the export tests share: a staged school in a drive C: of its own. The staged ESCOLAN tables are
// written into C:\HTEMP\VALENCIA (and, for the steps that read what earlier steps wrote, ASIGVALT and PROFT
// into C:\HTEMP by hand), a step or the whole run goes, and the interchange tables are read back.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "export/exportacion.h"
#include "run/tablas_preparadas.h"
#include "storage/storage.h"
#include "tests/support/tablas_de_prueba.h"
#include "tests/support/temporary_drive.h"

namespace exportacion_de_prueba {

using exportacion::ContextoExportacion;
using exportacion::Idioma;
using storage::DataType;
using storage::Table;

using testing_support::Campos;
using testing_support::Fila;
using testing_support::Filas;
using Paso = void (*)(ContextoExportacion&);

inline constexpr const char* kSinError = "(sin error)";

// ESCOLAN's tables as the steps read them, staged in C:\HTEMP\VALENCIA.
extern const Campos kAsignat;                // CODASIG, VLITEASIG, CLITEASIG, HORSEMTE, LITRESV
extern const Campos kProfesor;               // FBAJA, APENOMPROF, DEPARTA, DNI
extern const Campos kProfesorConDniDeTexto;  // the same with DNI a text field, so that it may hold anything
extern const Campos kAulas;                  // CODAULA, LITAULA
extern const Campos kAlumnos;                // APENOM, CODIGO, CODGRUP, REPITE
extern const Campos kAsigalum;               // CODIGO, CODASIG
extern const Campos kGrupos;                 // TURNO, CODGRUP
extern const Campos kHorgrup;                // CODGRUP, CODASIG, DNI

// The school's drive, the engine with the user's decimal separator and the staged tables' objects on it.
class ExportacionTest : public ::testing::Test {
 protected:
  ExportacionTest();

  // A new engine (and new staged tables' objects) with the user's decimal separator `separador`.
  void SeparadorDecimal(char separador);

  void Ejecutar(Paso paso, Idioma idioma = Idioma::kValenciano);
  // The message with which the step ends, or kSinError.
  std::string ErrorAlEjecutar(Paso paso, Idioma idioma = Idioma::kValenciano);

  // Tables written from rows of text, as testing_support::CrearTabla writes them.
  // A staged ESCOLAN table, C:\HTEMP\VALENCIA\<nombre>.dbf.
  void Preparar(const std::string& nombre, const Campos& campos, const Filas& filas);
  // A table of our own in place of an interchange table, C:\HTEMP\<nombre>.DBF.
  void PrepararIntercambio(const std::string& nombre, const Campos& campos, const Filas& filas,
                           const std::vector<std::string>& indices = {});

  // The short-code dictionary the subject export leaves, written by hand for the steps that read it:
  // records of CODVALEN, COD, NHORAS, NIVEL and CURSO.
  void PrepararAsigvalt(const Filas& filas);
  // The teachers the teacher export leaves, written by hand: records of ABREV and DNI.
  void PrepararProft(const Filas& filas);

  // An interchange table read back, C:\HTEMP\<nombre>.DBF: the given fields as text (booleans as T or F),
  // or every field, in stored order or in the order of `indice`.
  Filas LeerIntercambio(const std::string& nombre, const std::vector<std::string>& campos = {},
                        const std::string& indice = "");
  // One floating-point field of every record of an interchange table.
  std::vector<double> LeerNumeros(const std::string& nombre, const std::string& campo);

  testing_support::TemporaryDrive unidad_;
  std::unique_ptr<storage::Engine> engine_;
  std::unique_ptr<run::TablasPreparadas> tablas_;
};

}  // namespace exportacion_de_prueba
