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

// The records of the table at `ruta`, in stored order or in the order of `indice`: the given fields as text
// (logical ones as T or F), or every field when none is given.
Filas LeerTabla(storage::Engine& engine, const std::string& ruta, Fila campos = {}, const std::string& indice = "");

// What an earlier export leaves in C:\HTEMP, for the runs that read it.
// C:\HTEMP\ASIGVALT.DBF, the short-code dictionary, from whole records of COD, CODLARGO, NOMBRE, CODVALEN,
// NHORAS, NIVEL and CURSO, with its indexes on COD and CODVALEN.
void EscribirAsigvalt(storage::Engine& engine, const Filas& filas);
// C:\HTEMP\PROFT.DBF, the teachers, from records of ABREV and DNI: each named "Profesor <ABREV>", of the
// department "Departamento".
void EscribirProft(storage::Engine& engine, const Filas& filas);
// An identity number for every teacher of an exported C:\HTEMP\PROFT.DBF without one (70000001, 70000002...),
// as the user gives them in the review: the import then goes through.
void DarDniATodos(storage::Engine& engine);

// C:\HTEMP\SOLUC.DBF as the generator leaves it, made from the exported teaching load C:\HTEMP\ASIGT.DBF:
// `clases` lessons, one per ASIGT record in stored order (walking it again when it has fewer), on days 1 to
// 5 and periods 1 to 7 in turn, all in room A12. Returns how many it wrote.
int EscribirSolucionDesdeAsigt(storage::Engine& engine, int clases);

class TemporaryDrive;

// ESCOLAN's centro in a host folder of the drive (created when missing): a floating-point CODCEN with
// these centre codes, in this stored order, and a LITCEN.
void EscribirCentro(const TemporaryDrive& drive, const std::string& carpeta, const std::vector<double>& codigos);

// The ten files the staging copies, in its order.
extern const std::vector<std::string> kArchivosEscolan;
// Every one of them in a host folder of the drive, each with bytes of its own, and a centro with the centres
// 46010, 46010 and 3001.
void EscribirArchivosEscolan(const TemporaryDrive& drive, const std::string& carpeta);

}  // namespace testing_support
