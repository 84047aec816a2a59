// Memo files from outside: a dBase III or IV .DBT or a FoxPro .FPT whose bytes are the input's, beside a sound
// table whose memo field points into it. Every memo is read through the table object, and the codec is asked
// for the blocks around the file directly, as each of the three kinds.
//
// The input: a byte choosing the kind (its value modulo 3: FoxPro, dBase III, dBase IV), eight bytes that are
// the block numbers of the table's eight records, then the memo file.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "storage/memo_format.h"
#include "tests/fuzz/fuzz_comun.h"

namespace {

using storage::memo::Kind;

constexpr std::size_t kPrefijo = 9;
constexpr int kRegistros = 8;

// A table of a NOMBRE text field and a TEXTO memo field, of the version byte that goes with `kind`, whose
// records point at `bloques`.
std::string Tabla(Kind kind, const std::uint8_t* bloques) {
  const std::uint8_t version = kind == Kind::kFoxPro ? 0xF5 : kind == Kind::kDBase3 ? 0x83 : 0x8B;
  const std::size_t cabecera = 32 + 2 * 32 + 1;
  const std::size_t registro = 1 + 10 + 10;
  std::string bytes(cabecera, '\0');
  bytes[0] = static_cast<char>(version);
  bytes[1] = 124;  // 2024-01-01
  bytes[2] = 1;
  bytes[3] = 1;
  bytes[4] = kRegistros;
  bytes[8] = static_cast<char>(cabecera & 0xFF);
  bytes[9] = static_cast<char>(cabecera >> 8);
  bytes[10] = static_cast<char>(registro);
  bytes[29] = 0x57;
  auto campo = [&](std::size_t at, const char* nombre, char tipo, std::uint32_t desplazamiento) {
    for (std::size_t i = 0; nombre[i] != '\0'; ++i) bytes[at + i] = nombre[i];
    bytes[at + 11] = tipo;
    for (int i = 0; i < 4; ++i) bytes[at + 12 + i] = static_cast<char>(desplazamiento >> (8 * i) & 0xFF);
    bytes[at + 16] = 10;
  };
  campo(32, "NOMBRE", 'C', 1);
  campo(64, "TEXTO", 'M', 11);
  bytes[96] = '\x0D';
  for (int r = 0; r < kRegistros; ++r) {
    std::string numero = bloques[r] == 0 ? std::string(10, ' ') : std::to_string(bloques[r]);
    numero.insert(0, 10 - numero.size(), ' ');
    bytes += ' ';
    bytes += "ALUMNO " + std::to_string(r) + "  ";
    bytes += numero;
  }
  bytes += '\x1A';
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kPrefijo) return 0;
  const Kind kind = data[0] % 3 == 0 ? Kind::kFoxPro : data[0] % 3 == 1 ? Kind::kDBase3 : Kind::kDBase4;
  std::span<const std::byte> memo(reinterpret_cast<const std::byte*>(data + kPrefijo), size - kPrefijo);

  // The codec alone, every kind, the blocks the file could hold and those just past it.
  for (Kind cual : {Kind::kFoxPro, Kind::kDBase3, Kind::kDBase4}) {
    for (std::uint32_t bloque = 0; bloque < 40; ++bloque) storage::memo::MemoAt(memo, bloque, cual);
    for (std::uint32_t bloque : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x00800000u, 0x01000000u}) {
      storage::memo::MemoAt(memo, bloque, cual);
    }
  }

  // Through the table object.
  fuzz::Unidad& unidad = fuzz::LaUnidad();
  const std::string extension = storage::memo::Extension(kind);
  unidad.Escribir("DATOS/MEMOS.DBF", Tabla(kind, data + 1));
  unidad.Escribir("DATOS/MEMOS" + extension, std::string_view(reinterpret_cast<const char*>(memo.data()), memo.size()));
  storage::Engine engine('.');
  fuzz::LeerTabla(engine, "C:\\DATOS\\MEMOS.DBF");
  return 0;
}
