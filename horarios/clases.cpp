// Lessons from the two timetables, the period times, and the clashes.
#include <algorithm>
#include <set>
#include <tuple>

#include "horarios/horarios.h"

namespace horarios {
namespace {

using Hueco = std::tuple<std::int32_t, int, int>;  // teacher, day, period

Clase ClaseDeHorgrup(const RegistroHorgrup& g) {
  return Clase{g.dni, g.dia, g.hora, g.grupo, g.asignatura, {}, g.desde, g.hasta};
}

Clase ClaseDeHorprof(const RegistroHorprof& p) { return Clase{p.dni, p.dia, p.hora, {}, {}, p.aula, p.desde, p.hasta}; }

// The first non-empty of two texts.
const std::string& ElPrimero(const std::string& a, const std::string& b) { return a.empty() ? b : a; }

}  // namespace

std::vector<Clase> EmparejarClases(const std::vector<RegistroHorgrup>& horgrup,
                                   const std::vector<RegistroHorprof>& horprof) {
  // The horprof records of each teacher, day and period, in stored order, and how many are taken.
  std::map<Hueco, std::vector<std::size_t>> porHueco;
  for (std::size_t i = 0; i < horprof.size(); ++i) porHueco[{horprof[i].dni, horprof[i].dia, horprof[i].hora}].push_back(i);
  std::map<Hueco, std::size_t> tomados;
  std::vector<bool> emparejado(horprof.size(), false);

  std::vector<Clase> clases;
  clases.reserve(std::max(horgrup.size(), horprof.size()));
  for (const RegistroHorgrup& g : horgrup) {
    Clase clase = ClaseDeHorgrup(g);
    Hueco hueco{g.dni, g.dia, g.hora};
    auto candidatos = porHueco.find(hueco);
    std::size_t& siguiente = tomados[hueco];
    if (candidatos != porHueco.end() && siguiente < candidatos->second.size()) {
      const RegistroHorprof& p = horprof[candidatos->second[siguiente]];
      emparejado[candidatos->second[siguiente]] = true;
      ++siguiente;
      clase.aula = p.aula;
      clase.desde = ElPrimero(clase.desde, p.desde);
      clase.hasta = ElPrimero(clase.hasta, p.hasta);
    }
    clases.push_back(std::move(clase));
  }
  for (std::size_t i = 0; i < horprof.size(); ++i) {
    if (!emparejado[i]) clases.push_back(ClaseDeHorprof(horprof[i]));
  }
  return clases;
}

Periodos HorasDePeriodos(const std::vector<Clase>& clases, const Periodos& lhortipo, const Periodos& plantilla) {
  Periodos deClases;
  for (const Clase& clase : clases) {
    Periodo& periodo = deClases[clase.hora];
    if (periodo.desde.empty()) periodo.desde = clase.desde;
    if (periodo.hasta.empty()) periodo.hasta = clase.hasta;
  }
  Periodos horas;
  const Periodos& deLasClases = deClases;
  for (const Periodos* fuente : {&deLasClases, &lhortipo, &plantilla}) {
    for (const auto& [hora, periodo] : *fuente) {
      Periodo& settled = horas[hora];
      if (settled.desde.empty()) settled.desde = periodo.desde;
      if (settled.hasta.empty()) settled.hasta = periodo.hasta;
    }
  }
  return horas;
}

namespace {

// The lessons of one who at one day and period, and the places they are in.
struct Ocupacion {
  std::vector<std::size_t> clases;
  std::set<std::string> lugares;
};

// Adds the clashes of one kind: each who, day and period whose lessons are in more than one place.
template <typename Quien, typename Lugar>
void ChoquesDe(const std::vector<Clase>& clases, TipoChoque tipo, Quien quien, Lugar lugar,
               std::vector<Choque>& choques) {
  std::map<std::tuple<std::string, int, int>, Ocupacion> ocupaciones;
  for (std::size_t i = 0; i < clases.size(); ++i) {
    std::optional<std::string> q = quien(clases[i]);
    if (!q) continue;
    Ocupacion& ocupacion = ocupaciones[{*q, clases[i].dia, clases[i].hora}];
    ocupacion.clases.push_back(i);
    ocupacion.lugares.insert(lugar(clases[i]));
  }
  for (auto& [clave, ocupacion] : ocupaciones) {
    if (ocupacion.lugares.size() < 2) continue;
    choques.push_back(Choque{tipo, std::get<0>(clave), std::get<1>(clave), std::get<2>(clave), ocupacion.clases});
  }
}

}  // namespace

std::vector<Choque> BuscarChoques(const std::vector<Clase>& clases, const std::map<std::string, std::string>& aulas) {
  std::vector<Choque> choques;
  // The room that counts: none for a room the school does not have.
  auto aula = [&aulas](const Clase& c) { return aulas.empty() || aulas.contains(c.aula) ? c.aula : std::string(); };
  // A teacher's place is the room and the subject: several groups taught one subject together in one room
  // are one class.
  auto enAula = [&](const Clase& c) { return aula(c) + '\x1f' + c.asignatura; };
  auto conProfesor = [](const Clase& c) { return std::to_string(c.dni); };
  // A group's place is its teacher and room: a unit separator keeps the two apart.
  auto conProfesorEnAula = [&](const Clase& c) { return std::to_string(c.dni) + '\x1f' + aula(c); };
  ChoquesDe(clases, TipoChoque::kProfesor,
            [](const Clase& c) { return c.dni != 0 ? std::optional(std::to_string(c.dni)) : std::nullopt; }, enAula,
            choques);
  ChoquesDe(clases, TipoChoque::kGrupo,
            [](const Clase& c) { return c.grupo.empty() ? std::nullopt : std::optional(c.grupo); }, conProfesorEnAula,
            choques);
  ChoquesDe(clases, TipoChoque::kAula,
            [&](const Clase& c) { return aula(c).empty() ? std::nullopt : std::optional(c.aula); }, conProfesor,
            choques);
  return choques;
}

}  // namespace horarios
