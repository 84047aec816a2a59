// Writes the fuzz targets' seeds that only the program itself can write, into FOLDER/<target>/: the small
// sample school's tables and memo file, the export's nine tables with their indexes, its record, the class-period
// template, a solution, journals of a copy back in each of its states, and filter expressions.
//
// Usage: fuzz_semillas FOLDER
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "muestra/muestra_escolan.h"
#include "tests/fuzz/fuzz_comun.h"
#include "tests/support/interfaz_guionada.h"
#include "tests/support/tablas_de_prueba.h"
#include "sesion/sesion.h"

namespace {

namespace fs = std::filesystem;

fs::path salida;

void Semilla(const std::string& target, const std::string& nombre, const std::string& bytes) {
  fs::create_directories(salida / target);
  std::FILE* archivo = std::fopen((salida / target / nombre).string().c_str(), "wb");
  if (archivo == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), archivo) != bytes.size()) {
    fuzz::Fallo("cannot write the seed " + nombre);
  }
  std::fclose(archivo);
}

std::string Extension(const fs::path& ruta) {
  std::string e = ruta.extension().string();
  for (char& c : e) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return e;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_semillas FOLDER\n");
    return 2;
  }
  salida = argv[1];
  fuzz::Unidad& unidad = fuzz::LaUnidad();
  muestra::EscribirMuestraEscolan("C:\\ESCOLAN", muestra::TamanoMuestra::kPequena);
  // The school's own timetables, before the import below replaces them.
  const std::string horgrup = unidad.Leer("ESCOLAN/horgrup.dbf");
  const std::string horprof = unidad.Leer("ESCOLAN/horprof.dbf");
  Semilla("horarios", "horgrup", std::string(1, '\0') + horgrup);
  Semilla("horarios", "horprof", std::string(1, '\x81') + horprof);
  {
    storage::Engine engine(',');
    testing_support::InterfazGuionada interfaz;
    sesion::Sesion sesion(engine, interfaz);
    sesion.PrepararCarpeta("C:\\ESCOLAN");
    if (!run::EjecutarManejador(interfaz, [&] { sesion.Exportar(exportacion::Idioma::kValenciano); })) {
      fuzz::Fallo("the export failed");
    }
    testing_support::DarDniATodos(engine);
    testing_support::EscribirSolucionDesdeAsigt(engine, 6);
    std::vector<std::string> centros;
    sesion.LeerCentros(centros);
    if (!run::EjecutarManejador(interfaz, [&] { sesion.Importar(centros.front()); })) fuzz::Fallo("the import failed");
  }

  // Every table, memo file and index the runs left, by kind.
  for (const auto& entrada : fs::recursive_directory_iterator(unidad.Host(""))) {
    if (!entrada.is_regular_file()) continue;
    const fs::path& ruta = entrada.path();
    std::string nombre = fs::relative(ruta, unidad.Host("")).generic_string();
    for (char& c : nombre) c = c == '/' ? '_' : c;
    const std::string bytes = fuzz::Unidad::LeerHost(ruta);
    const std::string extension = Extension(ruta);
    if (extension == ".DBF") Semilla("tabla", nombre, bytes);
    if (extension == ".MDX") Semilla("mdx", nombre, bytes);
    if (extension == ".FPT") Semilla("memo", nombre, std::string("\x00\x08\x0a\x0c\x10\x14\x18\x20\x28", 9) + bytes);
    if (extension == ".TXT") Semilla("claves", nombre, bytes);
    if (fuzz::Contiene(nombre, "HTEMP_SOLUC.DBF")) Semilla("importacion", "SOLUC.DBF", bytes);
  }
  std::string ambos = std::string(1, '\x02');
  ambos += static_cast<char>(horgrup.size() & 0xFF);
  ambos += static_cast<char>(horgrup.size() >> 8 & 0xFF);
  Semilla("horarios", "ambos", ambos + horgrup + horprof);

  // The copy back's journal in each state, as it writes it; the export's record.
  for (const char* estado : {"PREPARADA", "CONFIRMADA", "DESHACIENDO"}) {
    Semilla("claves", std::string("diario-") + estado,
            std::string("estado=") + estado + "\norigen=C:\\ESCOLAN\narchivo=horgrup.dbf;1\narchivo=horprof.dbf;1\n");
  }
  Semilla("claves", "registro", "origen=C:\\ESCOLAN\ncentros=46010001,46010002\ncompleta=si\n");

  // Filters: the order byte, then the expression.
  const char* const filtros[] = {"\x00" "COD= 'A1'", "\x01" "COD= 'B''2'", "\x00" "HORA= '3'", "\x01" "DNI='2000'",
                                 "\x00" "REPITE= 'T'", "\x00" "FECHA= '20240201'", "\x01" "NHORAS= '1.5'",
                                 "\x00" "COD= ''"};
  int n = 0;
  for (const char* filtro : filtros) {
    std::string texto = std::string(1, filtro[0]) + (filtro + 1);
    Semilla("filtro", "filtro-" + std::to_string(n++), texto);
  }
  return 0;
}
