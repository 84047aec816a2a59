// The filter expression ("FIELD= 'constant'") from outside, on a sound table of every field type the
// engine writes: the table opened with it, walked in stored order and in the order of a tag, the filter
// changed on the open table. A filter that does not parse, or names no field, is the table layer's error.
//
// The input: a byte choosing the order (even: stored order, odd: the COD tag), then the expression.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/fuzz_comun.h"

namespace {

const char* const kRuta = "C:\\DATOS\\FILTRO.DBF";

void CrearTabla() {
  static const bool creada = [] {
    fuzz::LaUnidad();
    storage::Engine engine('.');
    storage::Table tabla(engine);
    tabla.SetTableName(kRuta);
    tabla.AddFieldDef("COD", storage::DataType::ftString, 6);
    tabla.AddFieldDef("HORA", storage::DataType::ftSmallint);
    tabla.AddFieldDef("DNI", storage::DataType::ftInteger);
    tabla.AddFieldDef("NHORAS", storage::DataType::ftFloat);
    tabla.AddFieldDef("REPITE", storage::DataType::ftBoolean);
    tabla.AddFieldDef("FECHA", storage::DataType::ftDate);
    tabla.AddIndexDef("COD", "COD");
    platform::CreateFolders("C:\\DATOS");
    tabla.CreateTable();
    tabla.Open();
    const char* const codigos[] = {"A1", "B'2", "", "a1", "A1 ", "Ñ"};
    for (int i = 0; i < 30; ++i) {
      tabla.Append();
      tabla.SetAsString("COD", codigos[i % 6]);
      tabla.SetAsInteger("HORA", i % 7);
      tabla.SetAsInteger("DNI", i * 1000);
      tabla.SetAsFloat("NHORAS", i / 4.0);
      tabla.SetAsBoolean("REPITE", i % 2 == 0);
      tabla.SetAsString("FECHA", "0" + std::to_string(1 + i % 9) + "/02/2024");
      tabla.Post();
    }
    tabla.Close();
    return true;
  }();
  (void)creada;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  CrearTabla();
  const std::string indice = data[0] % 2 == 0 ? "" : "COD";
  const std::string expresion(reinterpret_cast<const char*>(data + 1), size - 1);
  storage::Engine engine('.');
  fuzz::SoloErroresDeTabla([&] {
    storage::Table tabla(engine);
    tabla.SetTableName(kRuta);
    tabla.SetIndexName(indice);
    tabla.SetFilter(expresion);
    tabla.SetFiltered(true);
    tabla.Open();
    for (tabla.First(); !tabla.Eof(); tabla.Next()) fuzz::LeerCampos(tabla, false);
  });
  fuzz::SoloErroresDeTabla([&] {
    storage::Table tabla(engine);
    tabla.SetTableName(kRuta);
    tabla.SetIndexName(indice);
    tabla.Open();
    tabla.Next();
    tabla.SetFiltered(true);
    tabla.SetFilter(expresion);
    for (; !tabla.Eof(); tabla.Next()) tabla.RecNo();
    tabla.SetFiltered(false);
    tabla.FindKey(expresion);
  });
  return 0;
}
