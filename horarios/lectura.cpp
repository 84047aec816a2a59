// Reading a centre's timetables and the names and times that go with them. Every table is opened shared and
// only read: the folder may be ESCOLAN's own, in use.
#include <algorithm>
#include <functional>
#include <set>
#include <span>

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

// Walks the table at `ruta`, shared, in stored order.
void Recorrer(storage::Engine& engine, const std::string& ruta, const std::function<void(storage::Table&)>& registro) {
  storage::Table tabla(engine);
  tabla.SetTableName(ruta);
  tabla.SetExclusive(false);
  tabla.Open();
  for (tabla.First(); !tabla.Eof(); tabla.Next()) registro(tabla);
}

// The same for a table that may be missing: then nothing is read.
void RecorrerSiExiste(storage::Engine& engine, const std::string& ruta,
                      const std::function<void(storage::Table&)>& registro) {
  if (platform::FileExists(ruta)) Recorrer(engine, ruta, registro);
}

std::string Texto(const storage::Table& tabla, std::string_view campo) {
  return tabla.HasField(campo) ? tabla.AsString(campo) : std::string();
}

// Whether a timetable record is of the centre (every record is, for no centre).
bool DelCentro(const storage::Table& tabla, const std::string& centro) {
  return centro.empty() || tabla.AsString("Codcen") == centro;
}

// Period times by period number, each end the last non-empty one of the records, as the import's template
// takes them.
void TomarPeriodo(Periodos& periodos, int hora, std::string desde, std::string hasta) {
  Periodo& periodo = periodos[hora];
  if (!desde.empty()) periodo.desde = desde.substr(0, 5);
  if (!hasta.empty()) periodo.hasta = hasta.substr(0, 5);
}

// The width of a text field of the open table; 0 when it has none of that name.
int Ancho(const storage::Table& tabla, std::string_view campo) {
  for (const storage::FieldInfo& field : tabla.Fields()) {
    if (util::EqualsIgnoreAsciiCase(field.name, campo)) return field.size;
  }
  return 0;
}

// The room of a horprof record. ESCOLAN's own timetables may name it in CODAULA and keep a one-letter kind
// of occupation in Ocupa; the import writes the room into Ocupa and leaves every other field empty.
std::string Aula(const storage::Table& horprof) {
  std::string aula = Texto(horprof, "CODAULA");
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

HorarioCentro LeerHorario(storage::Engine& engine, std::string_view carpeta, const std::string& centro) {
  HorarioCentro horario;
  horario.centro = centro;
  auto ruta = [&](std::string_view tabla) { return EnCarpeta(carpeta, ArchivoEscolan(tabla)); };

  std::vector<RegistroHorgrup> horgrup;
  Recorrer(engine, ruta(run::kHorgrup), [&](storage::Table& t) {
    if (!DelCentro(t, centro)) return;
    horgrup.push_back(RegistroHorgrup{t.AsInteger("dni"), t.AsInteger("Diasem"), t.AsInteger("Numhora"),
                                      t.AsString("codgrup"), t.AsString("codasig"), Texto(t, "Hordiades"),
                                      Texto(t, "Hordiahas")});
  });
  std::vector<RegistroHorprof> horprof;
  int anchoOcupa = 0;
  Recorrer(engine, ruta(run::kHorprof), [&](storage::Table& t) {
    anchoOcupa = Ancho(t, "Ocupa");
    if (!DelCentro(t, centro)) return;
    horprof.push_back(RegistroHorprof{t.AsInteger("dni"), t.AsInteger("Diasem"), t.AsInteger("Numhora"), Aula(t),
                                      Texto(t, "Horad"), Texto(t, "Horah")});
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

void EscribirPaginaHorarios(storage::Engine& engine, std::string_view carpeta, const std::string& centro,
                            std::string_view ruta) {
  std::string pagina = PaginaHtml(LeerHorario(engine, carpeta, centro));
  platform::WriteWholeFile(ruta, std::as_bytes(std::span(pagina)));
}

}  // namespace horarios
