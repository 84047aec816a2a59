// A table's header, field list and records from outside: the bytes as a .DBF on drive C:, opened, every record
// walked and every field read each way the table object reads one; then a record written back through the
// same layout and the table read again. Only the table layer's errors may come out.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/fuzz_comun.h"

namespace {

const char* const kRuta = "C:\\DATOS\\TABLA.DBF";

// Each field of the first visible record given again the text it reads as, and the record posted: the writer
// runs over the damaged layout too.
void EscribirPrimero(storage::Engine& engine) {
  fuzz::SoloErroresDeTabla([&] {
    storage::Table tabla(engine);
    tabla.SetTableName(kRuta);
    tabla.Open();
    tabla.First();
    if (tabla.Eof()) return;
    tabla.Edit();
    for (const storage::FieldInfo& campo : tabla.Fields()) {
      fuzz::SoloErroresDeTabla([&] { tabla.SetAsString(campo.name, tabla.DisplayText(campo.name)); });
    }
    tabla.Post();
    tabla.Append();
    for (const storage::FieldInfo& campo : tabla.Fields()) {
      fuzz::SoloErroresDeTabla([&] { tabla.SetAsInteger(campo.name, 7); });
    }
    tabla.Post();
    tabla.Close();
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Unidad& unidad = fuzz::LaUnidad();
  unidad.Escribir("DATOS/TABLA.DBF", data, size);
  storage::Engine engine('.');
  fuzz::SoloErroresDeTabla([&] { engine.CountRecords(kRuta); });
  fuzz::LeerTabla(engine, kRuta);
  EscribirPrimero(engine);
  engine.ReleaseAll();
  fuzz::LeerTabla(engine, kRuta);
  return 0;
}
