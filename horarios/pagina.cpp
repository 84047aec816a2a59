// The printable page: an index, a week grid per group and per teacher, and a summary with the lessons
// counted and the clashes listed. Each grid cell carries its day and period (data-dia, data-hora) and each
// lesson its group, teacher and room codes, so that a reader of the page can find them again.
#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <iterator>
#include <set>

#include "horarios/horarios.h"

namespace horarios {
namespace {

constexpr const char* kEstilos = R"(
@page { size: A4 landscape; margin: 10mm; }
body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 10pt; color: #111; margin: 0; }
h1 { font-size: 16pt; margin: 0 0 4mm; }
h2 { font-size: 13pt; margin: 0 0 3mm; }
.hoja { break-before: page; page-break-before: always; break-inside: avoid; page-break-inside: avoid; }
.hoja:first-of-type { break-before: auto; page-break-before: auto; }
.indice ul { columns: 4; list-style: none; padding: 0; margin: 0 0 4mm; }
.indice a { color: #124; text-decoration: none; }
table.semana { width: 100%; border-collapse: collapse; table-layout: fixed; }
table.semana th, table.semana td { border: 1px solid #777; padding: 1mm; vertical-align: top; }
table.semana thead th { background: #dde4ee; }
table.semana th.hora { width: 16mm; background: #eef1f5; font-weight: normal; }
table.semana th.hora b { display: block; }
table.semana td { height: 13mm; }
.clase { border-left: 3px solid #4a6fa5; padding-left: 1mm; margin-bottom: 1mm; }
.clase .asig { font-weight: bold; display: block; }
.clase .con, .clase .aula { display: block; font-size: 8.5pt; }
.clase.choque { border-left-color: #c00; background: #fde8e8; }
.marca { color: #c00; font-weight: bold; font-size: 8.5pt; display: block; }
.aviso { border: 1px solid #c90; background: #fff6dd; padding: 1mm 2mm; }
table.resumen { border-collapse: collapse; margin-bottom: 4mm; }
table.resumen th, table.resumen td { border: 1px solid #999; padding: 0.5mm 2mm; text-align: left; }
.columnas { display: flex; gap: 8mm; align-items: flex-start; }
@media screen {
  body { margin: 8mm; }
  .hoja { border-top: 2px dashed #bbb; padding-top: 6mm; margin-top: 6mm; }
  .hoja:first-of-type { border-top: none; padding-top: 0; margin-top: 0; }
}
)";

constexpr const char* kDias[] = {"", "Lunes", "Martes", "Miércoles", "Jueves", "Viernes", "Sábado", "Domingo"};

std::string NombreDia(int dia) {
  return dia >= 1 && dia <= 7 ? kDias[dia] : "Día " + std::to_string(dia);
}

// What the page knows of the lessons: who has which, and which take part in a clash.
struct Vista {
  const HorarioCentro& horario;
  std::vector<Choque> choques;
  std::vector<std::vector<std::size_t>> choquesDeClase;  // per lesson, its clashes
  std::vector<int> dias;
  std::vector<int> horas;
  std::vector<std::string> grupos;       // sorted
  std::vector<std::int32_t> profesores;  // sorted by name, then number
  std::map<std::int32_t, std::string> nombresProfesores;  // NombreProfesor of each
};

std::string NombreProfesor(const HorarioCentro& h, std::int32_t dni) {
  if (dni == 0) return "Sin profesor (D.N.I. 0)";
  auto encontrado = h.profesores.find(dni);
  if (encontrado == h.profesores.end() || encontrado->second.empty()) return "D.N.I. " + std::to_string(dni);
  return encontrado->second;
}

std::string NombreGrupo(const std::string& grupo) { return grupo.empty() ? "Sin grupo" : grupo; }

template <typename Mapa>
const std::string& NombreOCodigo(const Mapa& nombres, const std::string& codigo) {
  auto encontrado = nombres.find(codigo);
  return encontrado == nombres.end() || encontrado->second.empty() ? codigo : encontrado->second;
}

Vista Preparar(const HorarioCentro& horario) {
  Vista vista{horario, BuscarChoques(horario.clases, horario.aulas), {}, {1, 2, 3, 4, 5}, {}, {}, {}, {}};
  vista.choquesDeClase.resize(horario.clases.size());
  for (std::size_t c = 0; c < vista.choques.size(); ++c) {
    for (std::size_t clase : vista.choques[c].clases) vista.choquesDeClase[clase].push_back(c);
  }
  std::set<int> dias(vista.dias.begin(), vista.dias.end());
  std::set<int> horas;
  std::set<std::string> grupos;
  std::set<std::int32_t> profesores;
  for (const Clase& clase : horario.clases) {
    dias.insert(clase.dia);
    horas.insert(clase.hora);
    grupos.insert(clase.grupo);
    profesores.insert(clase.dni);
  }
  for (const auto& [hora, periodo] : horario.periodos) {
    if (!periodo.desde.empty() || !periodo.hasta.empty()) horas.insert(hora);
  }
  vista.dias.assign(dias.begin(), dias.end());
  vista.horas.assign(horas.begin(), horas.end());
  vista.grupos.assign(grupos.begin(), grupos.end());
  vista.profesores.assign(profesores.begin(), profesores.end());
  for (std::int32_t dni : vista.profesores) vista.nombresProfesores.emplace(dni, NombreProfesor(horario, dni));
  // Teachers by name; the lessons without a group or without a teacher last.
  std::stable_sort(vista.profesores.begin(), vista.profesores.end(), [&](std::int32_t a, std::int32_t b) {
    return std::pair(a == 0, NombreProfesor(horario, a)) < std::pair(b == 0, NombreProfesor(horario, b));
  });
  if (!vista.grupos.empty() && vista.grupos.front().empty()) {
    std::rotate(vista.grupos.begin(), vista.grupos.begin() + 1, vista.grupos.end());
  }
  return vista;
}

const char* NombreTipo(TipoChoque tipo) {
  switch (tipo) {
    case TipoChoque::kProfesor: return "Profesor";
    case TipoChoque::kGrupo: return "Grupo";
    case TipoChoque::kAula: return "Aula";
  }
  return "";
}

std::string QuienChoca(const Vista& vista, const Choque& choque) {
  if (choque.tipo == TipoChoque::kProfesor) return NombreProfesor(vista.horario, std::stoi(choque.quien));
  if (choque.tipo == TipoChoque::kAula) return NombreOCodigo(vista.horario.aulas, choque.quien);
  return choque.quien;
}

std::string HoraDePeriodo(const Vista& vista, int hora) {
  auto periodo = vista.horario.periodos.find(hora);
  if (periodo == vista.horario.periodos.end() || (periodo->second.desde.empty() && periodo->second.hasta.empty())) return {};
  return periodo->second.desde + "–" + periodo->second.hasta;
}

// A grid is a group's (its lessons show their teacher) or a teacher's (they show their group).
enum class DeQuien { kGrupo, kProfesor };

// Appends to the page without building pieces apart: a page of thousands of lessons is megabytes.
void Crudo(std::string& html, std::initializer_list<std::string_view> partes) {
  for (std::string_view parte : partes) html.append(parte);
}
void EscaparEn(std::string& html, std::string_view texto);
void Numero(std::string& html, long numero) {
  char cifras[24];
  auto [fin, error] = std::to_chars(std::begin(cifras), std::end(cifras), numero);
  html.append(cifras, fin);
}

void AnadirClase(std::string& html, const Vista& vista, std::size_t i, DeQuien de) {
  const Clase& clase = vista.horario.clases[i];
  const HorarioCentro& h = vista.horario;
  bool choca = !vista.choquesDeClase[i].empty();
  Crudo(html, {choca ? "<div class=\"clase choque\" data-grupo=\"" : "<div class=\"clase\" data-grupo=\""});
  EscaparEn(html, clase.grupo);
  html += "\" data-dni=\"";
  Numero(html, clase.dni);
  html += "\" data-aula=\"";
  EscaparEn(html, clase.aula);
  html += "\" data-asig=\"";
  EscaparEn(html, clase.asignatura);
  html += "\"><span class=\"asig\">";
  EscaparEn(html, clase.asignatura.empty() ? "Sin asignatura" : NombreOCodigo(h.asignaturas, clase.asignatura));
  html += "</span><span class=\"con\">";
  if (de == DeQuien::kGrupo) {
    EscaparEn(html, vista.nombresProfesores.at(clase.dni));
  } else {
    EscaparEn(html, clase.grupo.empty() ? "Sin grupo" : clase.grupo);
  }
  html += "</span>";
  if (!clase.aula.empty()) {
    html += "<span class=\"aula\">";
    EscaparEn(html, NombreOCodigo(h.aulas, clase.aula));
    html += "</span>";
  }
  if (choca) {
    html += "<span class=\"marca\">⚠ Choque: ";
    for (std::size_t n = 0; n < vista.choquesDeClase[i].size(); ++n) {
      Crudo(html, {n ? ", " : "", NombreTipo(vista.choques[vista.choquesDeClase[i][n]].tipo)});
    }
    html += "</span>";
  }
  html += "</div>";
}

void AnadirRejilla(std::string& html, const Vista& vista, const std::string& id, const std::string& titulo,
                   const std::string& subtitulo, DeQuien de, const std::vector<std::size_t>& clases) {
  Crudo(html, {"<section class=\"hoja horario\" id=\"", id, "\">\n<h2>"});
  EscaparEn(html, titulo);
  if (!subtitulo.empty()) {
    html += " <small>";
    EscaparEn(html, subtitulo);
    html += "</small>";
  }
  html += "</h2>\n<table class=\"semana\"><thead><tr><th class=\"hora\">Hora</th>";
  for (int dia : vista.dias) {
    html += "<th data-dia=\"";
    Numero(html, dia);
    html += "\">";
    EscaparEn(html, NombreDia(dia));
    html += "</th>";
  }
  html += "</tr></thead>\n<tbody>\n";
  // The grid's lessons by day and period, each cell's in the order of the list.
  std::map<std::pair<int, int>, std::vector<std::size_t>> porCelda;
  for (std::size_t i : clases) porCelda[{vista.horario.clases[i].dia, vista.horario.clases[i].hora}].push_back(i);
  for (int hora : vista.horas) {
    html += "<tr data-hora=\"";
    Numero(html, hora);
    html += "\"><th class=\"hora\"><b>";
    Numero(html, hora);
    html += ".ª</b>";
    EscaparEn(html, HoraDePeriodo(vista, hora));
    html += "</th>";
    for (int dia : vista.dias) {
      html += "<td data-dia=\"";
      Numero(html, dia);
      html += "\" data-hora=\"";
      Numero(html, hora);
      html += "\">";
      auto celda = porCelda.find({dia, hora});
      if (celda != porCelda.end()) {
        for (std::size_t i : celda->second) AnadirClase(html, vista, i, de);
      }
      html += "</td>";
    }
    html += "</tr>\n";
  }
  html += "</tbody></table>\n</section>\n";
}

std::string IdGrupo(std::size_t n) { return "grupo-" + std::to_string(n + 1); }
std::string IdProfesor(std::size_t n) { return "profesor-" + std::to_string(n + 1); }

std::string Titulo(const HorarioCentro& h) {
  std::string titulo = "Horarios";
  if (!h.nombreCentro.empty()) titulo += " — " + h.nombreCentro;
  if (!h.centro.empty()) titulo += " (" + h.centro + ")";
  return titulo;
}

// "1 clase", "2 clases".
std::string Cuantas(std::size_t cuantas, const char* una, const char* varias) {
  return std::to_string(cuantas) + " " + (cuantas == 1 ? una : varias);
}

// What the reader should know before trusting the rooms, in the index and in the summary.
void AnadirAvisos(std::string& html, const HorarioCentro& h) {
  for (const std::string& aviso : h.avisos) html += "<p class=\"aviso\">" + EscaparHtml(aviso) + "</p>\n";
}

void AnadirIndice(std::string& html, const Vista& vista) {
  const HorarioCentro& h = vista.horario;
  html += "<section class=\"hoja indice\" id=\"indice\">\n<h1>" + EscaparHtml(Titulo(h)) + "</h1>\n";
  html += "<p>" + Cuantas(h.clases.size(), "clase", "clases") + ", " +
          Cuantas(vista.choques.size(), "choque", "choques") + ". <a href=\"#resumen\">Resumen y choques</a></p>\n";
  AnadirAvisos(html, h);
  html += "<h2>Grupos</h2>\n<ul>";
  for (std::size_t n = 0; n < vista.grupos.size(); ++n) {
    html += "<li><a href=\"#" + IdGrupo(n) + "\">" + EscaparHtml(NombreGrupo(vista.grupos[n])) + "</a></li>";
  }
  html += "</ul>\n<h2>Profesores</h2>\n<ul>";
  for (std::size_t n = 0; n < vista.profesores.size(); ++n) {
    html += "<li><a href=\"#" + IdProfesor(n) + "\">" + EscaparHtml(NombreProfesor(h, vista.profesores[n])) +
            "</a></li>";
  }
  html += "</ul>\n</section>\n";
}

void AnadirResumen(std::string& html, const Vista& vista, const std::vector<std::vector<std::size_t>>& deGrupo,
                   const std::vector<std::vector<std::size_t>>& deProfesor) {
  const HorarioCentro& h = vista.horario;
  html += "<section class=\"hoja resumen\" id=\"resumen\">\n<h2>Resumen</h2>\n";
  html += "<h3>Choques (" + std::to_string(vista.choques.size()) + ")</h3>\n";
  AnadirAvisos(html, h);
  if (vista.choques.empty()) {
    html += "<p>Ningún profesor, grupo ni aula está en dos sitios a la vez.</p>\n";
  } else {
    html += "<table class=\"resumen choques\"><thead><tr><th>Tipo</th><th>Quién</th><th>Día</th><th>Hora</th>"
            "<th>Clases</th></tr></thead><tbody>\n";
    for (const Choque& choque : vista.choques) {
      html += "<tr class=\"choque\"><td>" + std::string(NombreTipo(choque.tipo)) + "</td><td>" +
              EscaparHtml(QuienChoca(vista, choque)) + "</td><td>" + EscaparHtml(NombreDia(choque.dia)) +
              "</td><td>" + std::to_string(choque.hora) + ".ª</td><td>";
      std::string lista;
      for (std::size_t i : choque.clases) {
        const Clase& c = h.clases[i];
        lista += (lista.empty() ? "" : "; ") + NombreGrupo(c.grupo) + " " +
                 (c.asignatura.empty() ? "" : NombreOCodigo(h.asignaturas, c.asignatura)) + ", " +
                 NombreProfesor(h, c.dni) + (c.aula.empty() ? "" : ", " + NombreOCodigo(h.aulas, c.aula));
      }
      html += EscaparHtml(lista) + "</td></tr>\n";
    }
    html += "</tbody></table>\n";
  }
  html += "<div class=\"columnas\">\n<table class=\"resumen por-grupo\"><thead><tr><th>Grupo</th><th>Clases</th></tr>"
          "</thead><tbody>\n";
  for (std::size_t n = 0; n < vista.grupos.size(); ++n) {
    html += "<tr><td><a href=\"#" + IdGrupo(n) + "\">" + EscaparHtml(NombreGrupo(vista.grupos[n])) + "</a></td><td>" +
            std::to_string(deGrupo[n].size()) + "</td></tr>\n";
  }
  html += "</tbody></table>\n<table class=\"resumen por-profesor\"><thead><tr><th>Profesor</th><th>Clases</th></tr>"
          "</thead><tbody>\n";
  for (std::size_t n = 0; n < vista.profesores.size(); ++n) {
    html += "<tr><td><a href=\"#" + IdProfesor(n) + "\">" + EscaparHtml(NombreProfesor(h, vista.profesores[n])) +
            "</a></td><td>" + std::to_string(deProfesor[n].size()) + "</td></tr>\n";
  }
  html += "</tbody></table>\n</div>\n</section>\n";
}

void EscaparEn(std::string& html, std::string_view texto) {
  std::size_t desde = 0;
  for (std::size_t i = 0; i < texto.size(); ++i) {
    std::string_view entidad;
    switch (texto[i]) {
      case '&': entidad = "&amp;"; break;
      case '<': entidad = "&lt;"; break;
      case '>': entidad = "&gt;"; break;
      case '"': entidad = "&quot;"; break;
      case '\'': entidad = "&#39;"; break;
      default: continue;
    }
    html.append(texto.substr(desde, i - desde));
    html.append(entidad);
    desde = i + 1;
  }
  html.append(texto.substr(desde));
}

}  // namespace

std::string EscaparHtml(std::string_view texto) {
  std::string escapado;
  escapado.reserve(texto.size());
  EscaparEn(escapado, texto);
  return escapado;
}

std::string PaginaHtml(const HorarioCentro& horario) {
  Vista vista = Preparar(horario);
  // The lessons of each group and each teacher, in the order of the lists.
  std::map<std::string, std::size_t> posGrupo;
  for (std::size_t n = 0; n < vista.grupos.size(); ++n) posGrupo[vista.grupos[n]] = n;
  std::map<std::int32_t, std::size_t> posProfesor;
  for (std::size_t n = 0; n < vista.profesores.size(); ++n) posProfesor[vista.profesores[n]] = n;
  std::vector<std::vector<std::size_t>> deGrupo(vista.grupos.size());
  std::vector<std::vector<std::size_t>> deProfesor(vista.profesores.size());
  for (std::size_t i = 0; i < horario.clases.size(); ++i) {
    deGrupo[posGrupo[horario.clases[i].grupo]].push_back(i);
    deProfesor[posProfesor[horario.clases[i].dni]].push_back(i);
  }

  std::string html;
  // About this much per lesson (shown twice), per cell and per lesson of a clash in the summary: one
  // allocation for the whole page, which is megabytes for thousands of lessons.
  std::size_t enChoques = 0;
  for (const Choque& choque : vista.choques) enChoques += choque.clases.size();
  html.reserve(horario.clases.size() * 800 + enChoques * 160 +
               (vista.grupos.size() + vista.profesores.size()) * vista.dias.size() * vista.horas.size() * 48 + 16384);
  html += "<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
                     EscaparHtml(Titulo(horario)) + "</title>\n<style>" + kEstilos + "</style>\n</head>\n<body>\n";
  AnadirIndice(html, vista);
  for (std::size_t n = 0; n < vista.grupos.size(); ++n) {
    std::string turno = NombreOCodigo(horario.turnos, vista.grupos[n]);
    AnadirRejilla(html, vista, IdGrupo(n), "Grupo " + NombreGrupo(vista.grupos[n]),
                  turno == vista.grupos[n] ? std::string() : "turno " + turno, DeQuien::kGrupo, deGrupo[n]);
  }
  for (std::size_t n = 0; n < vista.profesores.size(); ++n) {
    std::int32_t dni = vista.profesores[n];
    AnadirRejilla(html, vista, IdProfesor(n), NombreProfesor(horario, dni),
                  dni == 0 ? std::string() : "D.N.I. " + std::to_string(dni), DeQuien::kProfesor, deProfesor[n]);
  }
  AnadirResumen(html, vista, deGrupo, deProfesor);
  html += "</body>\n</html>\n";
  return html;
}

}  // namespace horarios
