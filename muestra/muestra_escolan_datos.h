// The invented school behind the sample ESCOLAN folder: its centre, subjects, teachers, rooms, groups,
// students with their enrolments, the group and teacher timetables and the class periods, as ESCOLAN would
// hold them. Nothing here knows about files; muestra_escolan.cpp lays these records out as ESCOLAN's tables.
//
// The school is made from fixed lists and a fixed seed, so the same size always gives the same school. It
// carries on purpose what real ESCOLAN folders carry and the export and import must cope with: short subject
// codes shared by several subjects, weekly hours written in several ways (or not at all), teachers on leave
// and teachers whose names begin alike, students without a group, enrolments in subjects that the catalogue
// no longer has, timetable rows of a subject that is not there, a few deleted records in most tables and, in
// the small school, teachers without an identity number.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "muestra/muestra_escolan.h"
#include "storage/dbf_format.h"

namespace muestra {

using Fecha = storage::dbf::Date;
// A teacher's identity number; empty when the field is blank (0 also stands for a missing number).
using Dni = std::optional<std::uint32_t>;

// The school's code in ESCOLAN, and that of the school it shares its timetable table `lhortipo` with.
inline constexpr std::uint32_t kCodigoCentro = 46010001;
inline constexpr std::uint32_t kCodigoOtroCentro = 46010013;
// The date of the last change that every table's header records, and the school year.
inline constexpr Fecha kFechaTablas{2025, 9, 12};
inline constexpr int kCursoAcademico = 2025;

struct Centro {
  std::uint32_t codigo = 0;
  std::string nombre, domicilio, localidad, telefono, fax, cif;
  std::uint32_t codigoLocalidad = 0, codigoPostal = 0;
  double solar = 0, construido = 0;
  bool borrado = false;
};

struct Asignatura {
  std::string codigo;  // course, level and subject: "1ESOMAT"
  std::string litres, litresv;  // short codes in Castilian and Valencian; Horvane names subjects by litresv
  std::string castellano, valenciano;
  std::string horas;  // weekly hours as ESCOLAN writes them: "04:00", "3", "02", or empty
  bool optativa = false;
  char rama = ' ';  // 'C' sciences, 'L' humanities, ' ' neither
  bool borrado = false;
};

struct Profesor {
  Dni dni;
  std::string letra;  // of the identity number
  std::string apenom;  // "APELLIDO APELLIDO, NOMBRE"
  std::string departamento;
  std::string cuerpo;  // "590" secondary teachers, "591" vocational training technicians
  Fecha alta, baja;  // baja empty for a teacher at work
  std::string telefono, domicilio;
  int horasLectivas = 0;
  bool borrado = false;
};

struct Aula {
  std::string codigo, nombre;
  int capacidad = 0, planta = 0;
  bool borrado = false;
};

struct Grupo {
  std::string codigo;  // course, level, letter: "1ESOA"; "2BA" for the evening Bachillerato
  char turno = 'M';
  std::string nombre, curso, aula;
  Dni tutor;
  int alumnos = 0;
  bool borrado = false;
};

struct Alumno {
  std::string codigo;  // the student's file number
  std::string nia;  // the regional student number
  std::string apenom, codgrup, curso, turno;
  std::optional<int> repite;  // empty field when not known
  Fecha nacimiento, matricula, baja;
  std::string sexo, dni, localidadNacimiento, domicilio, localidad, telefono;
  std::uint32_t codigoPostal = 0;
  std::string padre, dniPadre, madre, dniMadre;
  bool religion = false, transporte = false, comedor = false;
  double tasa = 0;  // vocational training students pay a fee
  std::string observaciones, comentario;  // memos, empty for none
  bool borrado = false;
};

struct Matricula {
  std::string alumno, asignatura;
  int convocatoria = 1;
  bool pendiente = false;  // a subject of an earlier course still to pass
  bool borrado = false;
};

// A row of the group timetable `horgrup`: one group, one subject, one teacher, one period of one day.
struct Clase {
  std::string codgrup, codasig, aula;
  Dni dni;
  int dia = 0, hora = 0;
  std::string desde, hasta;
  bool borrado = false;
};

// A row of the teacher timetable `horprof`: what a teacher does in one period of one day.
struct Ocupacion {
  Dni dni;
  int dia = 0, hora = 0;
  std::string desde, hasta;
  char ocupa = 'L';  // 'L' a class, 'G' on duty, 'R' a meeting
  std::string codgrup, codasig, aula;
  bool borrado = false;
};

// A class period of a school's day (`lhortipo`).
struct Periodo {
  std::uint32_t centro = 0;
  std::string horario;  // the timetable type, "01"
  int numero = 0;
  std::string desde, hasta;
  bool lectivo = true;
  bool borrado = false;
};

struct Escuela {
  std::vector<Centro> centros;
  std::vector<Asignatura> asignaturas;
  std::vector<Profesor> profesores;
  std::vector<Aula> aulas;
  std::vector<Grupo> grupos;
  std::vector<Alumno> alumnos;
  std::vector<Matricula> matriculas;
  std::vector<Clase> clases;
  std::vector<Ocupacion> ocupaciones;
  std::vector<Periodo> periodos;
};

Escuela InventarEscuela(TamanoMuestra tamano);

}  // namespace muestra
