// The export's last step: each distinct subject, teacher and group of ESCOLAN's group timetable becomes
// one ASIGT record, with the subject's short code and weekly hours and the teacher's abbreviation.
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "export/exportacion.h"
#include "export/pasos.h"
#include "run/primer_registro.h"
#include "run/rutas.h"

namespace exportacion {
namespace {

using storage::DataType;

struct Asignatura {
  std::string cod;
  double horas = 1.0;
  int repeticiones = 1;
};

// A group code of horgrup cut into its parts, with the abbreviation ASIGT gives the group.
struct Grupo {
  CodigoGrupo codigo;
  std::string abreviatura;
};

std::string Codvalen(storage::Table& asigvalt) { return asigvalt.AsString("CODVALEN"); }
std::int32_t Dni(storage::Table& proft) { return proft.AsInteger("DNI"); }

// What ASIGVALT and PROFT give for each subject code and identity number, looked up once per value: neither
// table changes during the step, and horgrup names the same few over and over.
class Busquedas {
 public:
  Busquedas(storage::Table& asigvalt, storage::Table& proft)
      : asigvalt_(asigvalt), proft_(proft), asignaturas_(asigvalt, Codvalen), profesores_(proft, Dni) {}

  // The subject whose CODVALEN is `codigo`, or the defaults when none is.
  const Asignatura& AsignaturaDe(const std::string& codigo) {
    auto [encontrada, nueva] = asignaturasVistas_.try_emplace(codigo);
    if (nueva && asignaturas_.Buscar(codigo)) {
      encontrada->second = {asigvalt_.AsString("COD"), asigvalt_.AsFloat("NHORAS"), asigvalt_.AsInteger("NHORAS")};
    }
    return encontrada->second;
  }

  // The group a horgrup code names, cut once per code: horgrup names the same groups over and over.
  const Grupo& GrupoDe(const std::string& codgrup) {
    auto [encontrado, nuevo] = gruposVistos_.try_emplace(codgrup);
    if (nuevo) {
      encontrado->second.codigo = CortarCodigoGrupo(codgrup);
      encontrado->second.abreviatura = AbreviaturaGrupo(encontrado->second.codigo);
    }
    return encontrado->second;
  }

  // The abbreviation of the teacher with this identity number, or empty when none has it.
  const std::string& ProfesorDe(std::int32_t dni) {
    auto [encontrado, nuevo] = profesoresVistos_.try_emplace(dni);
    if (nuevo && profesores_.Buscar(dni)) encontrado->second = proft_.AsString("ABREV");
    return encontrado->second;
  }

 private:
  storage::Table& asigvalt_;
  storage::Table& proft_;
  run::PrimerRegistro<std::string> asignaturas_;
  run::PrimerRegistro<std::int32_t> profesores_;
  std::unordered_map<std::string, Asignatura> asignaturasVistas_;
  std::unordered_map<std::int32_t, std::string> profesoresVistos_;
  std::unordered_map<std::string, Grupo> gruposVistos_;
};

// The subject, teacher and group of a record as one key: each part after its length (the bytes of a number,
// as this process keeps it), so that no two different triples make the same key.
void ClaveDeRegistro(std::string& clave, std::string_view asignatura, std::string_view profesor, std::string_view grupo) {
  clave.clear();
  for (std::string_view parte : {asignatura, profesor, grupo}) {
    std::size_t longitud = parte.size();
    clave.append(reinterpret_cast<const char*>(&longitud), sizeof longitud);
    clave += parte;
  }
}

}  // namespace

void ExportarCargaLectiva(ContextoExportacion& contexto) {
  BorrarTablaIntercambio(contexto.engine, run::kAsigt);
  storage::Table asigt(contexto.engine);
  DefinirTablaIntercambio(asigt, run::kAsigt,
                          {{"CASIG", DataType::ftString, 4}, {"CPROF", DataType::ftString, 4},
                           {"CGRUP", DataType::ftString, 4}, {"CAULA", DataType::ftString, 4},
                           {"TURNO", DataType::ftString, 1}, {"NIVEL", DataType::ftString, 5},
                           {"CURSO", DataType::ftString, 3}, {"GRUPO", DataType::ftString, 2},
                           {"HORAS", DataType::ftFloat, 0}, {"SESIONES", DataType::ftString, 20}});
  asigt.CreateTable();
  asigt.Open();
  storage::Table asigvalt(contexto.engine);
  DirigirAIntercambio(asigvalt, run::kAsigvalt);
  asigvalt.Open();
  storage::Table proft(contexto.engine);
  DirigirAIntercambio(proft, run::kProft);
  proft.Open();
  Busquedas busquedas(asigvalt, proft);

  // The subject, teacher and group of each record written, as the duplicate test reads them back.
  std::unordered_set<std::string> escritos;
  std::string clave;
  storage::Table& horgrup = contexto.tablas.horgrup;
  AbiertaDurante abierta(horgrup);
  for (horgrup.First(); !horgrup.Eof(); horgrup.Next()) {
    const Grupo& grupo = busquedas.GrupoDe(horgrup.AsString("Codgrup"));
    const Asignatura& asignatura =
        busquedas.AsignaturaDe(std::string(SinBlancosNiControles(horgrup.AsString("Codasig"))));
    const std::string& profesor = busquedas.ProfesorDe(horgrup.AsInteger("Dni"));
    ClaveDeRegistro(clave, asignatura.cod, profesor, grupo.abreviatura);
    if (escritos.contains(clave)) continue;

    asigt.Append();
    asigt.SetAsString("CASIG", asignatura.cod);
    asigt.SetAsString("CPROF", profesor);
    asigt.SetAsString("CAULA", "");
    asigt.SetAsString("CGRUP", grupo.abreviatura);
    asigt.SetAsString("TURNO", "");
    asigt.SetAsString("NIVEL", grupo.codigo.nivel);
    asigt.SetAsString("CURSO", grupo.codigo.curso);
    asigt.SetAsString("GRUPO", grupo.codigo.letra);
    asigt.SetAsFloat("HORAS", asignatura.horas);
    asigt.SetAsString("SESIONES", std::string(static_cast<std::size_t>(std::max(asignatura.repeticiones, 0)), '1'));
    asigt.Post();
    ClaveDeRegistro(clave, ComoSeLee(asignatura.cod, 4), ComoSeLee(profesor, 4), ComoSeLee(grupo.abreviatura, 4));
    escritos.insert(clave);
  }
  asigt.Close();
  asigvalt.Close();
  proft.Close();
}

}  // namespace exportacion
