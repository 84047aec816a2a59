// The import's timetable transfer: every lesson of the generator's solution becomes one record of the
// staged horprof and one of the staged horgrup, with ESCOLAN's identity numbers and subject codes.
#include <functional>
#include <optional>
#include <tuple>
#include <unordered_map>

#include "import/importacion.h"
#include "run/primer_registro.h"
#include "run/revision.h"
#include "storage/code_page.h"

namespace importacion {
namespace {

using ClaveAsignatura = std::tuple<std::string, std::string, std::string>;  // NIVEL, CURSO, COD

std::string Abreviatura(storage::Table& proft) { return proft.AsString("ABREV"); }

ClaveAsignatura Asignatura(storage::Table& asigvalt) {
  return {asigvalt.AsString("NIVEL"), asigvalt.AsString("CURSO"), asigvalt.AsString("COD")};
}

struct HashClave {
  std::size_t operator()(const ClaveAsignatura& clave) const {
    std::hash<std::string> hash;
    return (hash(std::get<0>(clave)) * 31 + hash(std::get<1>(clave))) * 31 + hash(std::get<2>(clave));
  }
};

// What PROFT and ASIGVALT give for each teacher abbreviation and each subject of the solution, looked up once
// per value: neither table changes during the transfer, and the lessons name the same ones over and over.
class Busquedas {
 public:
  Busquedas(storage::Table& proft, storage::Table& asigvalt)
      : proft_(proft), asigvalt_(asigvalt), profesores_(proft, Abreviatura), asignaturas_(asigvalt, Asignatura) {}

  // The identity number of the first teacher with this abbreviation, or nothing when PROFT has none.
  std::optional<std::int32_t> DniDe(const std::string& abreviatura) {
    auto [encontrado, nuevo] = dnis_.try_emplace(abreviatura);
    if (nuevo && profesores_.Buscar(abreviatura)) encontrado->second = proft_.AsInteger(run::kCampoDni);
    return encontrado->second;
  }

  // The CODVALEN of the first subject with this level, course and short code, or nothing when there is none.
  const std::optional<std::string>& CodvalenDe(const ClaveAsignatura& clave) {
    auto [encontrado, nuevo] = codvalens_.try_emplace(clave);
    if (nuevo && asignaturas_.Buscar(clave)) encontrado->second = asigvalt_.AsString("CODVALEN");
    return encontrado->second;
  }

 private:
  storage::Table& proft_;
  storage::Table& asigvalt_;
  run::PrimerRegistro<std::string> profesores_;
  run::PrimerRegistro<ClaveAsignatura> asignaturas_;
  std::unordered_map<std::string, std::optional<std::int32_t>> dnis_;
  std::unordered_map<ClaveAsignatura, std::optional<std::string>, HashClave> codvalens_;
};

void EscribirHoras(storage::Table& tabla, const TablaPeriodos& periodos, int hora, const char* campoDesde,
                   const char* campoHasta) {
  if (!TablaPeriodos::Existe(hora)) return;
  tabla.SetAsString(campoDesde, periodos.desde[hora - 1]);
  tabla.SetAsString(campoHasta, periodos.hasta[hora - 1]);
}

}  // namespace

std::string MensajeFinal(const Incidencias& incidencias) {
  std::string mensaje = kMensajeFinImportacion;
  if (incidencias.Ninguna()) return mensaje;
  mensaje += "\n\nClases escritas tal como vienen en la solución, con incidencias:";
  auto linea = [&](int cuantas, const char* que) {
    if (cuantas != 0) mensaje += "\n  " + std::to_string(cuantas) + " " + que;
  };
  linea(incidencias.profesorDesconocido, "con un profesor que PROFT no tiene (D.N.I. 0)");
  linea(incidencias.asignaturaDesconocida, "con una asignatura que ASIGVALT no tiene (sin grupo ni asignatura)");
  linea(incidencias.diaFueraDeRango, "con un día fuera de 1 a 5");
  linea(incidencias.horaFueraDeRango, "con una hora fuera de 1 a 20 (sin horas de inicio ni final)");
  return mensaje;
}

Incidencias TransferirHorario(ContextoImportacion& contexto, const TablaPeriodos& periodos, storage::Table& proft,
                              storage::Table& asigvalt) {
  Incidencias incidencias;
  run::TablasPreparadas& tablas = contexto.tablas;
  storage::Table& horprof = tablas.horprof;
  storage::Table& horgrup = tablas.horgrup;
  storage::Table& soluc = tablas.soluc;
  // Both timetables are closed here: the import's staging closed them before copying their files, and no
  // step opens them in between. The close of horprof is kept as the step has always begun; it changes
  // nothing, since emptying works the same on an open or a closed table (an open one stays open, on no
  // record). Every record goes, whichever centre it belongs to.
  horprof.Close();
  horprof.EmptyTable();
  horgrup.EmptyTable();
  horprof.Open();
  horgrup.Open();
  soluc.Open();

  Busquedas busquedas(proft, asigvalt);
  for (soluc.First(); !soluc.Eof(); soluc.Next()) {
    int dia = soluc.AsInteger("DIA");
    if (dia == 0) continue;
    if (dia < 1 || dia > 5) ++incidencias.diaFueraDeRango;

    horprof.Append();
    horprof.SetAsInteger("Diasem", dia);
    int hora = soluc.AsInteger("HORA");
    if (!TablaPeriodos::Existe(hora)) ++incidencias.horaFueraDeRango;
    horprof.SetAsInteger("Numhora", hora);
    EscribirHoras(horprof, periodos, hora, "Horad", "Horah");
    horprof.SetAsString("Ocupa", soluc.AsString("AULA"));
    horprof.SetAsString("Codcen", contexto.centro);
    std::optional<std::int32_t> dniConocido = busquedas.DniDe(soluc.AsString("PROF"));
    if (!dniConocido) ++incidencias.profesorDesconocido;
    std::int32_t dni = dniConocido.value_or(0);
    horprof.SetAsInteger("dni", dni);
    horprof.Post();

    horgrup.Append();
    horgrup.SetAsInteger("Diasem", dia);
    horgrup.SetAsInteger("Numhora", hora);
    EscribirHoras(horgrup, periodos, hora, "Hordiades", "Hordiahas");
    horgrup.SetAsString("Codcen", contexto.centro);
    horgrup.SetAsInteger("dni", dni);
    // A lesson whose subject ASIGVALT does not hold keeps its group and subject codes empty.
    const std::optional<std::string>& codvalen =
        busquedas.CodvalenDe({soluc.AsString("NIVEL"), soluc.AsString("CURSO"), soluc.AsString("ASIG")});
    if (codvalen) {
      horgrup.SetAsString("codgrup", std::string(storage::FirstCharacters(*codvalen, 4)) + soluc.AsString("GRUPO"));
      horgrup.SetAsString("codasig", *codvalen);
    } else {
      ++incidencias.asignaturaDesconocida;
    }
    horgrup.Post();
  }
  horprof.Close();
  soluc.Close();
  horgrup.Close();
  return incidencias;
}

}  // namespace importacion
