// An invented but realistic ESCOLAN folder, so that a new user can try the export and the import at once.
#pragma once

#include <string>

namespace app {

enum class TamanoMuestra { kPequena, kGrande };

// Writes ESCOLAN's ten files (the nine tables, alumnos' memo file) into the folder `carpeta` (a Windows
// path), creating it when missing and replacing the files that are there. The same size always gives the
// same files. kGrande is a large secondary school: about 500 subjects, 250 teachers, 2,800 students with
// 27,000 enrolments and 4,700 group timetable rows.
void EscribirMuestraEscolan(const std::string& carpeta, TamanoMuestra tamano);

}  // namespace app
