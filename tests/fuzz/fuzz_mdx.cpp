// The production index (.MDX) from outside: the input as the .MDX of a sound dBase IV table with a text and a
// numeric indexed field. Its tags and each tag's keys read by the codec; the table opened in the order of each
// tag it lists, walked, searched, and given a new record (the index then written anew on closing).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "storage/mdx_format.h"
#include "tests/fuzz/fuzz_comun.h"

namespace {

const char* const kRuta = "C:\\DATOS\\INDICE.DBF";

// The table's data file, made once by the engine itself.
const std::string& Datos() {
  static const std::string datos = [] {
    fuzz::LaUnidad();
    storage::Engine engine('.');
    storage::Table tabla(engine);
    tabla.SetTableName(kRuta);
    tabla.AddFieldDef("COD", storage::DataType::ftString, 6);
    tabla.AddFieldDef("HORA", storage::DataType::ftInteger);
    tabla.AddIndexDef("COD", "COD");
    tabla.AddIndexDef("HORA", "HORA");
    platform::CreateFolders("C:\\DATOS");
    tabla.CreateTable();
    tabla.Open();
    for (int i = 0; i < 40; ++i) {
      tabla.Append();
      tabla.SetAsString("COD", "A" + std::to_string(i % 13));
      tabla.SetAsInteger("HORA", (i * 7) % 20);
      tabla.Post();
    }
    tabla.Close();
    return fuzz::LaUnidad().Leer("DATOS/INDICE.DBF");
  }();
  return datos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::byte> archivo(reinterpret_cast<const std::byte*>(data), size);
  std::vector<storage::mdx::TagInfo> etiquetas;
  try {
    etiquetas = storage::mdx::ReadMdxTags(archivo);
  } catch (const storage::mdx::MdxFormatError&) {
  }
  for (const storage::mdx::TagInfo& etiqueta : etiquetas) {
    try {
      storage::mdx::ReadMdxKeys(archivo, etiqueta);
    } catch (const storage::mdx::MdxFormatError&) {
    }
  }

  fuzz::Unidad& unidad = fuzz::LaUnidad();
  unidad.Escribir("DATOS/INDICE.DBF", Datos());
  unidad.Escribir("DATOS/INDICE.MDX", data, size);
  storage::Engine engine('.');
  std::vector<std::string> nombres = {"", "COD", "HORA"};
  for (const storage::mdx::TagInfo& etiqueta : etiquetas) nombres.push_back(etiqueta.name);
  for (const std::string& nombre : nombres) {
    fuzz::LeerTabla(engine, kRuta, nombre);
    fuzz::SoloErroresDeTabla([&] {
      storage::Table tabla(engine);
      tabla.SetTableName(kRuta);
      tabla.SetIndexName(nombre);
      tabla.Open();
      tabla.FindKey("A3");
      tabla.FindKey("7");
    });
  }
  fuzz::SoloErroresDeTabla([&] {
    storage::Table tabla(engine);
    tabla.SetTableName(kRuta);
    tabla.SetIndexName("COD");
    tabla.Open();
    tabla.Append();
    tabla.SetAsString("COD", "B1");
    tabla.SetAsInteger("HORA", 3);
    tabla.Post();
    tabla.Close();
  });
  return 0;
}
