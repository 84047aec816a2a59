// A fixture for what works on a school's folder: a temporary drive C:, an engine, a scripted user, and ways to
// write a folder of ESCOLAN files and to ask what the staging left.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "storage/storage.h"
#include "tests/support/interfaz_guionada.h"
#include "tests/support/tablas_de_prueba.h"
#include "tests/support/temporary_drive.h"

namespace testing_support {

class ConEscolan : public ::testing::Test {
 protected:
  void EscribirCentro(const std::string& carpeta, const std::vector<double>& codigos) {
    testing_support::EscribirCentro(drive_, carpeta, codigos);
  }
  void EscribirEscolan(const std::string& carpeta) { EscribirArchivosEscolan(drive_, carpeta); }
  // Whether the staging folder holds the file `nombre`.
  static bool Preparado(const std::string& nombre) { return platform::FileExists("C:\\HTEMP\\VALENCIA\\" + nombre); }

  TemporaryDrive drive_;
  storage::Engine engine_{','};
  InterfazGuionada interfaz_;
};

}  // namespace testing_support
