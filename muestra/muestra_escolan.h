// An invented but realistic ESCOLAN folder, so that a new user can try the export and the import at once.
#pragma once

#include <string>

namespace muestra {

enum class TamanoMuestra { kPequena, kGrande };

// Writes ESCOLAN's eleven files (its ten tables and alumnos' memo file alumnos.fpt) into the folder
// `carpeta` (a Windows path), creating it when missing and replacing the files that are there. The same size
// always gives the same bytes.
//
// kPequena is a small school: six groups of ESO, Bachillerato (one of them in the evening, with the old
// group code 2BA) and basic vocational training, about fifty students, forty subjects and sixteen teachers
// (two on leave). kGrande is a large secondary school with twenty vocational cycles besides: about 500
// subjects, 250 teachers, 2,800 students with 27,000 enrolments and 4,700 group timetable rows.
//
// Both carry what real ESCOLAN folders carry (see muestra_escolan_datos.h): short subject codes shared by
// several subjects, weekly hours written as "04:00", "3", "02", "12" or not at all, teachers on leave and
// teachers whose names begin with the same two letters, students without a two-character group code,
// enrolments and timetable rows in subjects that the catalogue lacks, a second school's class periods in
// lhortipo; in the small one two teachers at work have no identity number (0 and blank), which the import
// stops on.
//
// The files look like the ones ESCOLAN leaves: asignat and centro are dBase IV tables whose production index
// is missing (as in the staged copies), alumnos is a FoxPro 2.x table with its memo file alumnos.fpt, the
// rest are plain dBase tables; some are in code page 850, the others in 1252; a few records of every table
// are deleted. Index files of asignat, centro and alumnos left in the folder by an earlier ESCOLAN are
// deleted, since they would describe other records.
//
// Throws std::runtime_error, whose text names the folder or file, when the folder cannot be made or a file
// cannot be written; platform::FileError for a path that is not a valid Windows path.
void EscribirMuestraEscolan(const std::string& carpeta, TamanoMuestra tamano);

}  // namespace muestra
