// The "key=value" files the program writes and reads back, from outside: the input as the journal of an
// interrupted copy back (C:\HTEMP\COPIAS\<backup>\DIARIO.TXT), recovered as the next start does, and as the
// export's record (C:\HTEMP\VALENCIA\EXPORTACION.TXT), read as the import does.
//
// Whatever the journal says, the recovery ends or fails with the program's own error, and it changes no file
// but the school's pair of timetables (and the copies and temporary files of its own): a journal that names
// other files or folders must not reach them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "import/devolucion.h"
#include "run/registro_exportacion.h"
#include "tests/fuzz/fuzz_comun.h"

namespace {

const char* const kCopia = "HTEMP/COPIAS/20260101-101010";

// The drive as a copy back interrupted after its backup leaves it, with files beside the school's pair that
// no copy back may touch; taken once.
const fuzz::Instantanea& Inicio() {
  static const fuzz::Instantanea inicio = [] {
    fuzz::Unidad& unidad = fuzz::LaUnidad();
    for (const char* carpeta : {"ESCOLAN/", "OTRA/"}) {
      std::string c = carpeta;
      unidad.Escribir(c + "horgrup.dbf", "horgrup viejo de " + c);
      unidad.Escribir(c + "horprof.dbf", "horprof viejo de " + c);
      unidad.Escribir(c + "alumnos.dbf", "alumnos de " + c);
    }
    unidad.Escribir(std::string(kCopia) + "/horgrup.dbf", "horgrup viejo de ESCOLAN/");
    unidad.Escribir(std::string(kCopia) + "/horprof.dbf", "horprof viejo de ESCOLAN/");
    unidad.Escribir(std::string(kCopia) + "/ORIGEN.TXT", "C:\\ESCOLAN\n");
    unidad.Escribir("ESCOLAN/~copia-horgrup-20260101-101010.tmp", "horgrup nuevo");
    unidad.Escribir("ESCOLAN/~copia-horprof-20260101-101010.tmp", "horprof nuevo");
    unidad.Escribir("HTEMP/VALENCIA/horgrup.dbf", "horgrup nuevo");
    unidad.Escribir("HTEMP/VALENCIA/horprof.dbf", "horprof nuevo");
    unidad.Escribir("HTEMP/SOLUC.DBF", "solucion");
    return fuzz::Instantanea(unidad.Host(""));
  }();
  return inicio;
}

bool EsDelPar(const std::string& relativa) {
  std::string nombre = relativa.substr(relativa.find_last_of('/') + 1);
  return fuzz::Contiene(nombre, "horgrup.dbf") || fuzz::Contiene(nombre, "horprof.dbf") ||
         nombre.rfind("~copia-", 0) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Instantanea& inicio = Inicio();
  fuzz::Unidad& unidad = fuzz::LaUnidad();
  inicio.Reponer();
  unidad.Escribir(std::string(kCopia) + "/DIARIO.TXT", data, size);
  unidad.Escribir("HTEMP/VALENCIA/EXPORTACION.TXT", data, size);
  fuzz::Archivos antes = fuzz::LeerArbol(inicio.Carpeta());

  try {
    run::LeerRegistroExportacion();
  } catch (const platform::FileError&) {
  } catch (const std::exception& error) {
    fuzz::ErrorAjeno(error);
  }

  try {
    importacion::RecuperarDevolucionInterrumpida();
  } catch (const platform::FileError& error) {
    if (std::string_view(error.what()).empty()) fuzz::Fallo("a file error without a message");
  } catch (const std::runtime_error& error) {
    if (!fuzz::Contiene(error.what(), "DIARIO.TXT")) {
      fuzz::Fallo(std::string("an error that does not name the journal: ") + error.what());
    }
  } catch (const std::exception& error) {
    fuzz::ErrorAjeno(error);
  }

  fuzz::Archivos despues = fuzz::LeerArbol(inicio.Carpeta());
  for (const auto& [relativa, bytes] : antes) {
    auto hay = despues.find(relativa);
    bool cambiado = hay == despues.end() || hay->second != bytes;
    if (cambiado && !EsDelPar(relativa) && relativa.rfind("HTEMP/COPIAS/", 0) != 0) {
      fuzz::Fallo("the recovery changed or removed " + relativa);
    }
  }
  for (const auto& [relativa, bytes] : despues) {
    if (!antes.count(relativa) && !EsDelPar(relativa) && relativa.rfind("HTEMP/COPIAS/", 0) != 0) {
      fuzz::Fallo("the recovery made " + relativa);
    }
  }
  return 0;
}
