// Lessons from the two timetables, the period times, and the clashes.
#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "horarios/horarios.h"

namespace horarios {
namespace {

// A teacher, day and period.
struct Hueco {
  std::int32_t dni;
  int dia;
  int hora;
  bool operator==(const Hueco&) const = default;
};

struct DispersionHueco {
  std::size_t operator()(const Hueco& h) const {
    std::uint64_t x = static_cast<std::uint32_t>(h.dni);
    x = x * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint32_t>(h.dia);
    x = x * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint32_t>(h.hora);
    x ^= x >> 29;
    return static_cast<std::size_t>(x * 0xBF58476D1CE4E5B9ull);
  }
};

constexpr std::size_t kNinguno = static_cast<std::size_t>(-1);

Clase ClaseDeHorgrup(const RegistroHorgrup& g) {
  return Clase{g.dni, g.dia, g.hora, g.grupo, g.asignatura, {}, g.desde, g.hasta};
}

Clase ClaseDeHorprof(const RegistroHorprof& p) { return Clase{p.dni, p.dia, p.hora, {}, {}, p.aula, p.desde, p.hasta}; }

}  // namespace

std::vector<Clase> EmparejarClases(const std::vector<RegistroHorgrup>& horgrup,
                                   const std::vector<RegistroHorprof>& horprof) {
  std::vector<Clase> clases;
  clases.reserve(std::max(horgrup.size(), horprof.size()));
  auto emparejar = [&clases](const RegistroHorgrup& g, const RegistroHorprof& p) {
    Clase& clase = clases.emplace_back(ClaseDeHorgrup(g));
    clase.aula = p.aula;
    if (clase.desde.empty()) clase.desde = p.desde;
    if (clase.hasta.empty()) clase.hasta = p.hasta;
  };
  // As the import writes them, the two tables go record by record at the same teacher, day and period: then
  // the n-th record of an hour in one is at the place of the n-th of that hour in the other, and as far as
  // that holds each record pairs with the one at its place, which takes every record of those hours there.
  std::size_t iguales = 0;
  while (iguales < horgrup.size() && iguales < horprof.size() &&
         Hueco{horgrup[iguales].dni, horgrup[iguales].dia, horgrup[iguales].hora} ==
             Hueco{horprof[iguales].dni, horprof[iguales].dia, horprof[iguales].hora}) {
    emparejar(horgrup[iguales], horprof[iguales]);
    ++iguales;
  }

  // The rest by hour: the horprof records of each teacher, day and period, in stored order, as the first
  // one's position by the hour and after each the position of the next of its hour. Taking one moves the
  // hour on to the next.
  std::unordered_map<Hueco, std::size_t, DispersionHueco> primero;
  primero.reserve(horprof.size() - iguales);
  std::vector<std::size_t> siguiente(horprof.size(), kNinguno);
  for (std::size_t i = horprof.size(); i-- > iguales;) {
    auto [hueco, nuevo] = primero.try_emplace(Hueco{horprof[i].dni, horprof[i].dia, horprof[i].hora}, i);
    if (!nuevo) {
      siguiente[i] = hueco->second;
      hueco->second = i;
    }
  }
  std::vector<bool> emparejado(horprof.size(), false);
  for (std::size_t n = iguales; n < horgrup.size(); ++n) {
    const RegistroHorgrup& g = horgrup[n];
    auto hueco = primero.find(Hueco{g.dni, g.dia, g.hora});
    if (hueco == primero.end() || hueco->second == kNinguno) {
      clases.push_back(ClaseDeHorgrup(g));
      continue;
    }
    emparejar(g, horprof[hueco->second]);
    emparejado[hueco->second] = true;
    hueco->second = siguiente[hueco->second];
  }
  for (std::size_t i = iguales; i < horprof.size(); ++i) {
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

// A place as the text of up to three pieces put together: two places are one when those texts are.
using Lugar = std::array<std::string_view, 3>;

std::size_t Largo(const Lugar& lugar) { return lugar[0].size() + lugar[1].size() + lugar[2].size(); }

bool MismoLugar(const Lugar& a, const Lugar& b) {
  if (Largo(a) != Largo(b)) return false;
  std::size_t pa = 0, pb = 0, da = 0, db = 0;  // the piece of each, and how far into it
  for (;;) {
    while (pa < a.size() && da == a[pa].size()) ++pa, da = 0;
    while (pb < b.size() && db == b[pb].size()) ++pb, db = 0;
    if (pa == a.size() || pb == b.size()) return pa == a.size() && pb == b.size();
    std::size_t n = std::min(a[pa].size() - da, b[pb].size() - db);
    if (std::memcmp(a[pa].data() + da, b[pb].data() + db, n) != 0) return false;
    da += n;
    db += n;
  }
}

// One lesson of one who at its day and period, the who by its place in the order of their texts.
struct Ocupacion {
  std::uint32_t quien;
  int dia;
  int hora;
  std::size_t clase;
};

// Adds the clashes of one kind: each who, day and period whose lessons are in more than one place. `quien`
// gives a lesson's who (empty for none), day and period, `lugar` its place; the clashes follow the order of
// who (as text), day and period.
template <typename Quien, typename DeLugar>
void ChoquesDe(std::size_t clases, TipoChoque tipo, Quien quien, DeLugar lugar, std::vector<Choque>& choques) {
  // Each who is numbered as it comes, then renumbered in the order of the texts: the lessons then sort by
  // numbers alone.
  std::unordered_map<std::string_view, std::uint32_t> numeros;
  std::vector<std::string_view> quienes;
  std::vector<Ocupacion> ocupaciones;
  ocupaciones.reserve(clases);
  for (std::size_t i = 0; i < clases; ++i) {
    auto [q, dia, hora] = quien(i);
    if (q.empty()) continue;
    // A who's lessons mostly come one after another: the same who as the last lesson's needs no look-up.
    if (ocupaciones.empty() || quienes[ocupaciones.back().quien] != q) {
      auto [numero, nuevo] = numeros.try_emplace(q, static_cast<std::uint32_t>(quienes.size()));
      if (nuevo) quienes.push_back(q);
      ocupaciones.push_back(Ocupacion{numero->second, dia, hora, i});
    } else {
      ocupaciones.push_back(Ocupacion{ocupaciones.back().quien, dia, hora, i});
    }
  }
  std::vector<std::uint32_t> porTexto(quienes.size());
  for (std::uint32_t n = 0; n < porTexto.size(); ++n) porTexto[n] = n;
  std::sort(porTexto.begin(), porTexto.end(), [&](std::uint32_t a, std::uint32_t b) { return quienes[a] < quienes[b]; });
  std::vector<std::uint32_t> puesto(quienes.size());
  for (std::uint32_t n = 0; n < porTexto.size(); ++n) puesto[porTexto[n]] = n;
  // By who, each who's lessons kept in their order (a count of each who's, then each put at its place), then
  // each who's few lessons by day and period.
  std::vector<std::size_t> desdeQuien(quienes.size() + 1, 0);
  for (Ocupacion& ocupacion : ocupaciones) {
    ocupacion.quien = puesto[ocupacion.quien];
    ++desdeQuien[ocupacion.quien + 1];
  }
  for (std::size_t n = 0; n < quienes.size(); ++n) desdeQuien[n + 1] += desdeQuien[n];
  std::vector<Ocupacion> porQuien(ocupaciones.size());
  std::vector<std::size_t> siguiente(desdeQuien.begin(), desdeQuien.end() - 1);
  for (const Ocupacion& ocupacion : ocupaciones) porQuien[siguiente[ocupacion.quien]++] = ocupacion;
  ocupaciones.swap(porQuien);
  for (std::size_t n = 0; n < quienes.size(); ++n) {
    std::sort(ocupaciones.begin() + static_cast<std::ptrdiff_t>(desdeQuien[n]),
              ocupaciones.begin() + static_cast<std::ptrdiff_t>(desdeQuien[n + 1]),
              [](const Ocupacion& a, const Ocupacion& b) {
                return std::tie(a.dia, a.hora, a.clase) < std::tie(b.dia, b.hora, b.clase);
              });
  }

  for (std::size_t desde = 0; desde < ocupaciones.size();) {
    const Ocupacion& primera = ocupaciones[desde];
    std::size_t hasta = desde + 1;
    while (hasta < ocupaciones.size() && ocupaciones[hasta].quien == primera.quien &&
           ocupaciones[hasta].dia == primera.dia && ocupaciones[hasta].hora == primera.hora) {
      ++hasta;
    }
    Lugar suyo = lugar(primera.clase);
    bool varios = false;
    for (std::size_t n = desde + 1; n < hasta && !varios; ++n) varios = !MismoLugar(lugar(ocupaciones[n].clase), suyo);
    if (varios) {
      Choque& choque = choques.emplace_back(
          Choque{tipo, std::string(quienes[porTexto[primera.quien]]), primera.dia, primera.hora, {}});
      choque.clases.reserve(hasta - desde);
      for (std::size_t n = desde; n < hasta; ++n) choque.clases.push_back(ocupaciones[n].clase);
    }
    desde = hasta;
  }
}

}  // namespace

std::vector<Choque> BuscarChoques(const std::vector<Clase>& clases, const std::map<std::string, std::string>& aulas) {
  std::vector<Choque> choques;
  // Each lesson's teacher as text and the room that counts: none for a room the school does not have.
  std::vector<std::string> dnis(clases.size());
  std::vector<std::string_view> aulasQueCuentan(clases.size());
  for (std::size_t i = 0; i < clases.size(); ++i) {
    dnis[i] = std::to_string(clases[i].dni);
    if (aulas.empty() || aulas.contains(clases[i].aula)) aulasQueCuentan[i] = clases[i].aula;
  }
  constexpr std::string_view kSeparador = "\x1f";  // keeps the two parts of a place apart
  // A teacher's place is the room and the subject: several groups taught one subject together in one room
  // are one class.
  ChoquesDe(
      clases.size(), TipoChoque::kProfesor,
      [&](std::size_t i) {
        return std::tuple(clases[i].dni != 0 ? std::string_view(dnis[i]) : std::string_view(), clases[i].dia,
                          clases[i].hora);
      },
      [&](std::size_t i) { return Lugar{aulasQueCuentan[i], kSeparador, clases[i].asignatura}; }, choques);
  // A group's place is its teacher and room.
  ChoquesDe(
      clases.size(), TipoChoque::kGrupo,
      [&](std::size_t i) { return std::tuple(std::string_view(clases[i].grupo), clases[i].dia, clases[i].hora); },
      [&](std::size_t i) { return Lugar{dnis[i], kSeparador, aulasQueCuentan[i]}; }, choques);
  ChoquesDe(
      clases.size(), TipoChoque::kAula,
      [&](std::size_t i) { return std::tuple(aulasQueCuentan[i], clases[i].dia, clases[i].hora); },
      [&](std::size_t i) { return Lugar{dnis[i], {}, {}}; }, choques);
  return choques;
}

}  // namespace horarios
