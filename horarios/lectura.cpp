// Reading a centre's timetables and the names and times that go with them. Every table is opened shared and
// only read: the folder may be ESCOLAN's own, in use.
#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <set>
#include <span>
#include <variant>

#include "horarios/horarios.h"
#include "platform/platform.h"
#include "run/rutas.h"
#include "storage/code_page.h"
#include "storage/storage.h"
#include "util/ascii.h"

namespace horarios {
namespace {

using run::ArchivoEscolan;
using run::EnCarpeta;

// Walks the table at `ruta`, shared, in stored order: `preparar` looks at the open table once and gives
// what reads each record.
template <typename Preparar>
void RecorrerPreparado(storage::Engine& engine, const std::string& ruta, Preparar preparar) {
  storage::Table tabla(engine);
  tabla.SetTableName(ruta);
  tabla.SetExclusive(false);
  tabla.Open();
  auto registro = preparar(static_cast<const storage::Table&>(tabla));
  for (tabla.First(); !tabla.Eof(); tabla.Next()) registro(tabla);
}

// The same with nothing to look at first.
void Recorrer(storage::Engine& engine, const std::string& ruta, const std::function<void(storage::Table&)>& registro) {
  RecorrerPreparado(engine, ruta, [&](const storage::Table&) { return std::ref(registro); });
}

// The same for a table that may be missing: then nothing is read.
void RecorrerSiExiste(storage::Engine& engine, const std::string& ruta,
                      const std::function<void(storage::Table&)>& registro) {
  if (platform::FileExists(ruta)) Recorrer(engine, ruta, registro);
}

std::string Texto(const storage::Table& tabla, std::string_view campo) {
  return tabla.HasField(campo) ? tabla.AsString(campo) : std::string();
}

// The position of a field of the open table; none when it has no field of that name.
std::optional<std::size_t> Posicion(const storage::Table& tabla, std::string_view campo) {
  const std::vector<storage::FieldInfo>& fields = tabla.Fields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (util::EqualsIgnoreAsciiCase(fields[i].name, campo)) return i;
  }
  return std::nullopt;
}

// Whether the records of one walk of a timetable are of the centre: their Codcen read as text is the
// centre's code (every record is, for no centre). A numeric Codcen has the same text for the same number,
// so its text is made only when the number changes from the last record's: the records of a folder are
// mostly of one centre.
class DelCentro {
 public:
  DelCentro(const storage::Table& tabla, const std::string& centro) : centro_(centro) {
    if (centro.empty()) return;
    auto posicion = Posicion(tabla, "Codcen");
    if (!posicion) return;
    switch (tabla.Fields()[*posicion].dataType) {
      case storage::DataType::ftSmallint:
      case storage::DataType::ftInteger:
      case storage::DataType::ftFloat: numerico_ = posicion; break;
      default: break;
    }
  }

  bool operator()(const storage::Table& tabla) {
    if (centro_.empty()) return true;
    if (!numerico_) return tabla.AsString("Codcen") == centro_;
    storage::dbf::Value valor = tabla.Value(*numerico_);
    const double* numero = std::get_if<double>(&valor);
    if (!numero) return tabla.AsString("Codcen") == centro_;
    std::uint64_t bits;
    std::memcpy(&bits, numero, sizeof bits);
    if (!ultimo_ || *ultimo_ != bits) {
      esDelCentro_ = tabla.AsString("Codcen") == centro_;
      ultimo_ = bits;
    }
    return esDelCentro_;
  }

 private:
  const std::string& centro_;
  std::optional<std::size_t> numerico_;  // the numeric Codcen's position
  std::optional<std::uint64_t> ultimo_;  // the last number's bits, and whether its text is the centre's
  bool esDelCentro_ = false;
};

// Period times by period number, each end the last non-empty one of the records, as the import's template
// takes them.
void TomarPeriodo(Periodos& periodos, int hora, std::string desde, std::string hasta) {
  Periodo& periodo = periodos[hora];
  if (!desde.empty()) periodo.desde = desde.substr(0, 5);
  if (!hasta.empty()) periodo.hasta = hasta.substr(0, 5);
}

// The width of a text field of the open table; 0 when it has none of that name.
int Ancho(const storage::Table& tabla, std::string_view campo) {
  auto posicion = Posicion(tabla, campo);
  return posicion ? tabla.Fields()[*posicion].size : 0;
}

// The room of a horprof record (`conCodaula`: the table has CODAULA). ESCOLAN's own timetables may name it
// in CODAULA and keep a one-letter kind of occupation in Ocupa; the import writes the room into Ocupa and
// leaves every other field empty.
std::string Aula(const storage::Table& horprof, bool conCodaula) {
  std::string aula = conCodaula ? horprof.AsString("CODAULA") : std::string();
  return aula.empty() ? horprof.AsString("Ocupa") : aula;
}

// What the page says of rooms it cannot vouch for: lessons in rooms the school does not have, and an Ocupa
// field too narrow for the school's room codes (the import cuts a room to the field's width).
std::vector<std::string> AvisosDeAulas(const HorarioCentro& horario, int anchoOcupa) {
  std::vector<std::string> avisos;
  if (horario.aulas.empty()) return avisos;
  std::size_t desconocidas = 0;
  std::set<std::string> ejemplos;
  for (const Clase& clase : horario.clases) {
    if (clase.aula.empty() || horario.aulas.contains(clase.aula)) continue;
    ++desconocidas;
    if (ejemplos.size() < 5) ejemplos.insert(clase.aula);
  }
  if (desconocidas > 0) {
    std::string lista;
    for (const std::string& aula : ejemplos) lista += (lista.empty() ? "" : ", ") + ("«" + aula + "»");
    avisos.push_back(std::to_string(desconocidas) + (desconocidas == 1 ? " clase tiene" : " clases tienen") +
                     " un aula que no está en aulas.dbf (" + lista +
                     (ejemplos.size() < desconocidas ? "..." : "") + "); no cuenta para los choques de aulas.");
  }
  std::size_t masLarga = 0;
  for (const auto& [codigo, nombre] : horario.aulas) masLarga = std::max(masLarga, storage::CharacterCount(codigo));
  if (anchoOcupa > 0 && static_cast<std::size_t>(anchoOcupa) < masLarga) {
    avisos.push_back("El campo OCUPA de horprof.dbf tiene " + std::to_string(anchoOcupa) +
                     (anchoOcupa == 1 ? " carácter" : " caracteres") + " y hay aulas de " + std::to_string(masLarga) +
                     ": la importación guarda en él el aula cortada.");
  }
  return avisos;
}

}  // namespace

std::vector<std::string> CentrosDeCarpeta(storage::Engine& engine, std::string_view carpeta) {
  std::vector<std::string> centros;
  Recorrer(engine, EnCarpeta(carpeta, ArchivoEscolan(run::kCentro)),
           [&](storage::Table& centro) { centros.push_back(centro.AsString("Codcen")); });
  return centros;
}

HorarioCentro LeerHorario(storage::Engine& engine, std::string_view carpeta, const std::string& centro,
                          std::string_view carpetaClases) {
  HorarioCentro horario;
  horario.centro = centro;
  auto ruta = [&](std::string_view tabla) { return EnCarpeta(carpeta, ArchivoEscolan(tabla)); };
  auto rutaClases = [&](std::string_view tabla) {
    return EnCarpeta(carpetaClases.empty() ? carpeta : carpetaClases, ArchivoEscolan(tabla));
  };

  // The optional fields are looked for once per walk, not once per record.
  std::vector<RegistroHorgrup> horgrup;
  RecorrerPreparado(engine, rutaClases(run::kHorgrup), [&](const storage::Table& tabla) {
    bool conDesde = tabla.HasField("Hordiades"), conHasta = tabla.HasField("Hordiahas");
    horgrup.reserve(tabla.RecordCount());
    return [&, conDesde, conHasta, delCentro = DelCentro(tabla, centro)](storage::Table& t) mutable {
      if (!delCentro(t)) return;
      horgrup.push_back(RegistroHorgrup{t.AsInteger("dni"), t.AsInteger("Diasem"), t.AsInteger("Numhora"),
                                        t.AsString("codgrup"), t.AsString("codasig"),
                                        conDesde ? t.AsString("Hordiades") : std::string(),
                                        conHasta ? t.AsString("Hordiahas") : std::string()});
    };
  });
  std::vector<RegistroHorprof> horprof;
  int anchoOcupa = 0;
  RecorrerPreparado(engine, rutaClases(run::kHorprof), [&](const storage::Table& tabla) {
    bool conCodaula = tabla.HasField("CODAULA"), conDesde = tabla.HasField("Horad"), conHasta = tabla.HasField("Horah");
    int ancho = Ancho(tabla, "Ocupa");
    horprof.reserve(tabla.RecordCount());
    return [&, conCodaula, conDesde, conHasta, ancho, delCentro = DelCentro(tabla, centro)](storage::Table& t) mutable {
      anchoOcupa = ancho;  // only when the table has records
      if (!delCentro(t)) return;
      horprof.push_back(RegistroHorprof{t.AsInteger("dni"), t.AsInteger("Diasem"), t.AsInteger("Numhora"),
                                        Aula(t, conCodaula), conDesde ? t.AsString("Horad") : std::string(),
                                        conHasta ? t.AsString("Horah") : std::string()});
    };
  });
  horario.clases = EmparejarClases(horgrup, horprof);

  Periodos lhortipo;
  RecorrerSiExiste(engine, ruta(run::kLhortipo), [&](storage::Table& t) {
    if (t.AsString("CODCEN") == centro) TomarPeriodo(lhortipo, t.AsInteger("Numhora"), t.AsString("Desde"), t.AsString("Hasta"));
  });
  Periodos plantilla;
  RecorrerSiExiste(engine, run::RutaPlantilla(), [&](storage::Table& t) {
    TomarPeriodo(plantilla, t.AsInteger("HORA"), t.AsString("HORAINI"), t.AsString("HORAFIN"));
  });
  horario.periodos = HorasDePeriodos(horario.clases, lhortipo, plantilla);

  RecorrerSiExiste(engine, ruta(run::kCentro), [&](storage::Table& t) {
    if (horario.nombreCentro.empty() && t.AsString("Codcen") == centro) horario.nombreCentro = Texto(t, "LITCEN");
  });
  RecorrerSiExiste(engine, ruta(run::kAsignat), [&](storage::Table& t) {
    std::string nombre = Texto(t, "Cliteasig");
    horario.asignaturas.emplace(t.AsString("Codasig"), nombre.empty() ? Texto(t, "Vliteasig") : nombre);
  });
  RecorrerSiExiste(engine, ruta(run::kProfesor),
                   [&](storage::Table& t) { horario.profesores.emplace(t.AsInteger("Dni"), t.AsString("Apenomprof")); });
  RecorrerSiExiste(engine, ruta(run::kAulas),
                   [&](storage::Table& t) { horario.aulas.emplace(t.AsString("Codaula"), Texto(t, "Litaula")); });
  RecorrerSiExiste(engine, ruta(run::kGrupos),
                   [&](storage::Table& t) { horario.turnos.emplace(t.AsString("Codgrup"), Texto(t, "Turno")); });
  horario.avisos = AvisosDeAulas(horario, anchoOcupa);
  return horario;
}

// What the page's file is written in: small enough to stay in the processor's cache.
constexpr std::size_t kTamanoParte = 256 * 1024;

void EscribirPaginaHorarios(storage::Engine& engine, std::string_view carpeta, const std::string& centro,
                            std::string_view ruta, std::string_view carpetaClases) {
  HorarioCentro horario = LeerHorario(engine, carpeta, centro, carpetaClases);
  // Written as it is built, part after part: the page is megabytes for thousands of lessons.
  platform::File archivo = platform::File::Create(ruta, platform::Share::kExclusive);
  // A page that could not be written whole does not stay behind as if it were one.
  try {
    std::uint64_t escritos = 0;
    PaginaHtmlPorPartes(horario, kTamanoParte, [&](std::string_view parte) {
      archivo.WriteAt(escritos, std::as_bytes(std::span(parte)));
      escritos += parte.size();
    });
    archivo.Close();
  } catch (...) {
    archivo = platform::File();
    platform::RemoveFile(ruta);
    throw;
  }
}

}  // namespace horarios
