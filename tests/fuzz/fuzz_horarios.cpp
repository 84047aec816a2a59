// The timetables' page on a school's timetables from outside: the input as C:\ESCOLAN\horgrup.dbf, as
// horprof.dbf, or split between both, in the small sample school; the page written into C:\HTEMP\HORARIOS as
// the window menu's order does.
//
// What the program promises: the page is written, or the run stops with the program's own error whose message
// names the damaged timetable (or is the table layer's word-for-word message about one of its fields or values);
// the school's folder is never changed (the tables are only read).
//
// The input: a byte choosing the file (its value modulo 3: horgrup, horprof, both) and the centre (its top
// bit: every record of the folder rather than the first centre's); for both, two bytes (little-endian) whose
// value modulo the rest's size is where horprof starts; then the bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "horarios/horarios.h"
#include "muestra/muestra_escolan.h"
#include "tests/fuzz/fuzz_comun.h"

namespace {

struct Inicio {
  fuzz::Instantanea escolan;
  std::string centro;
};

const Inicio& ElInicio() {
  static const Inicio inicio = [] {
    fuzz::Unidad& unidad = fuzz::LaUnidad();
    muestra::EscribirMuestraEscolan("C:\\ESCOLAN", muestra::TamanoMuestra::kPequena);
    platform::CreateFolders("C:\\HTEMP\\HORARIOS");  // as the window menu's order makes it first
    storage::Engine engine(',');
    std::vector<std::string> centros = horarios::CentrosDeCarpeta(engine, "C:\\ESCOLAN");
    if (centros.empty()) fuzz::Fallo("the sample school has no centre");
    return Inicio{fuzz::Instantanea(unidad.Host("ESCOLAN")), centros.front()};
  }();
  return inicio;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const Inicio& inicio = ElInicio();
  fuzz::Unidad& unidad = fuzz::LaUnidad();
  const int cual = (data[0] & 0x7F) % 3;
  const std::string centro = (data[0] & 0x80) != 0 ? std::string() : inicio.centro;
  std::string_view resto(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (cual == 0) {
    unidad.Escribir("ESCOLAN/horgrup.dbf", resto);
  } else if (cual == 1) {
    unidad.Escribir("ESCOLAN/horprof.dbf", resto);
  } else {
    if (resto.size() < 2) return 0;
    std::size_t corte = static_cast<std::uint8_t>(resto[0]) | std::size_t{static_cast<std::uint8_t>(resto[1])} << 8;
    resto.remove_prefix(2);
    corte = resto.empty() ? 0 : corte % resto.size();
    unidad.Escribir("ESCOLAN/horgrup.dbf", resto.substr(0, corte));
    unidad.Escribir("ESCOLAN/horprof.dbf", resto.substr(corte));
  }
  const fuzz::Archivos antes = fuzz::LeerArbol(inicio.escolan.Carpeta());

  bool fallida = false;
  std::string error;
  try {
    storage::Engine engine(',');
    horarios::EscribirPaginaHorarios(engine, "C:\\ESCOLAN", centro, "C:\\HTEMP\\HORARIOS\\horarios.html");
  } catch (const storage::DatabaseError& e) {
    fallida = true;
    error = e.what();
  } catch (const platform::FileError& e) {
    fallida = true;
    error = e.what();
  } catch (const std::exception& e) {
    fuzz::ErrorAjeno(e);
  }
  if (fallida) {
    if (!fuzz::NombraElArchivo(error, "horgrup") && !fuzz::NombraElArchivo(error, "horprof")) {
      fuzz::Fallo("an error that does not name the damaged timetable: " + error);
    }
  }
  if (fuzz::LeerArbol(inicio.escolan.Carpeta()) != antes) fuzz::Fallo("the page changed the school's folder");
  inicio.escolan.Reponer();
  return 0;
}
