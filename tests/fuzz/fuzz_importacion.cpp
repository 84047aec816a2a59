// A whole import on a solution from outside: the input as C:\HTEMP\SOLUC.DBF, imported into the small sample
// school (exported once, every teacher with an identity number, the class-period template already made by a
// first import) by the import button, with a user who accepts both reviews as they are.
//
// What the program promises on a damaged solution: the import ends, or it stops with the program's own error
// (the table layer's or the file layer's, as the run layer reports them) whose message names the solution (or
// is the table layer's word-for-word message about one of its fields or values); and
// an import that does not end complete leaves the school's folder byte for byte as it was, with no file of its
// own left there.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "muestra/muestra_escolan.h"
#include "tests/fuzz/fuzz_comun.h"
#include "tests/support/interfaz_guionada.h"
#include "tests/support/tablas_de_prueba.h"
#include "sesion/sesion.h"

namespace {

using importacion::FinImportacion;

struct Inicio {
  fuzz::Instantanea unidad;
  fuzz::Instantanea escolan;
};

// Fails with what the user saw.
[[noreturn]] void FalloConSucesos(const std::string& que, const testing_support::InterfazGuionada& interfaz) {
  std::string texto = que;
  for (const std::string& suceso : interfaz.sucesos) texto += "\n  [" + suceso + "]";
  fuzz::Fallo(texto);
}

// The drive after the export and a first complete import; taken once.
const Inicio& ElInicio() {
  static const Inicio inicio = [] {
    fuzz::Unidad& unidad = fuzz::LaUnidad();
    muestra::EscribirMuestraEscolan("C:\\ESCOLAN", muestra::TamanoMuestra::kPequena);
    storage::Engine engine(',');
    testing_support::InterfazGuionada interfaz;
    sesion::Sesion sesion(engine, interfaz);
    sesion.PrepararCarpeta("C:\\ESCOLAN");
    if (!run::EjecutarManejador(interfaz, [&] { sesion.Exportar(exportacion::Idioma::kValenciano); })) {
      FalloConSucesos("the sample school does not export", interfaz);
    }
    testing_support::DarDniATodos(engine);
    testing_support::EscribirSolucionDesdeAsigt(engine, 6);
    std::vector<std::string> centros;
    sesion.LeerCentros(centros);
    std::optional<FinImportacion> fin;
    run::EjecutarManejador(interfaz, [&] { fin = sesion.Importar(centros.front()); });
    if (fin != FinImportacion::kCompleta) FalloConSucesos("the first import does not end", interfaz);
    engine.ReleaseAll();
    return Inicio{fuzz::Instantanea(unidad.Host("")), fuzz::Instantanea(unidad.Host("ESCOLAN"))};
  }();
  return inicio;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Inicio& inicio = ElInicio();
  fuzz::Unidad& unidad = fuzz::LaUnidad();
  inicio.unidad.Reponer();
  unidad.Escribir("HTEMP/SOLUC.DBF", data, size);

  std::optional<FinImportacion> fin;
  std::string error;
  testing_support::InterfazGuionada interfaz;
  {
    storage::Engine engine(',');
    sesion::Sesion sesion(engine, interfaz);
    try {
      std::vector<std::string> centros;
      sesion.LeerCentros(centros);
      fin = sesion.Importar(centros.empty() ? std::string() : centros.front());
    } catch (const storage::DatabaseError& e) {
      error = e.what();
    } catch (const platform::FileError& e) {
      error = e.what();
    } catch (const std::exception& e) {
      FalloConSucesos(std::string("an error that is not the program's own: ") + typeid(e).name() + ": " + e.what(),
                      interfaz);
    }
  }
  if (!fin) {
    if (!fuzz::NombraElArchivo(error, "soluc")) FalloConSucesos("an error that does not name the solution: " + error, interfaz);
  }
  if (fin != FinImportacion::kCompleta) {
    std::string diferencia;
    if (!inicio.escolan.Igual(&diferencia)) {
      FalloConSucesos("an import that did not end changed the school's folder: " + diferencia +
                          (error.empty() ? std::string() : " (error: " + error + ")"),
                      interfaz);
    }
  }
  return 0;
}
