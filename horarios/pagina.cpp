// The printable page: an index, a week grid per group and per teacher, and a summary with the lessons
// counted and the clashes listed. Each grid cell carries its day and period (data-dia, data-hora) and each
// lesson its group, teacher and room codes, so that a reader of the page can find them again.
#include <algorithm>
#include <array>
#include <charconv>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <unordered_map>

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

// The characters that HTML text and attributes need written as entities.
constexpr std::array<bool, 256> kEspeciales = [] {
  std::array<bool, 256> especiales{};
  for (unsigned char c : {'&', '<', '>', '"', '\''}) especiales[c] = true;
  return especiales;
}();

// Appends `texto` escaped: most texts have nothing to escape and go in whole.
void EscaparEn(std::string& html, std::string_view texto) {
  std::size_t desde = 0;
  for (std::size_t i = 0; i < texto.size(); ++i) {
    if (!kEspeciales[static_cast<unsigned char>(texto[i])]) [[likely]] continue;
    std::string_view entidad;
    switch (texto[i]) {
      case '&': entidad = "&amp;"; break;
      case '<': entidad = "&lt;"; break;
      case '>': entidad = "&gt;"; break;
      case '"': entidad = "&quot;"; break;
      default: entidad = "&#39;"; break;
    }
    html.append(texto.data() + desde, i - desde);
    html.append(entidad);
    desde = i + 1;
  }
  html.append(texto.data() + desde, texto.size() - desde);
}

// Appends to the page without building pieces apart: a page of thousands of lessons is megabytes.
void Crudo(std::string& html, std::initializer_list<std::string_view> partes) {
  for (std::string_view parte : partes) html.append(parte);
}
void Numero(std::string& html, long numero) {
  char cifras[24];
  auto [fin, error] = std::to_chars(std::begin(cifras), std::end(cifras), numero);
  html.append(cifras, fin);
}

std::string NombreProfesor(const HorarioCentro& h, std::int32_t dni) {
  if (dni == 0) return "Sin profesor (D.N.I. 0)";
  auto encontrado = h.profesores.find(dni);
  if (encontrado == h.profesores.end() || encontrado->second.empty()) return "D.N.I. " + std::to_string(dni);
  return encontrado->second;
}

std::string_view NombreGrupo(std::string_view grupo) { return grupo.empty() ? "Sin grupo" : grupo; }

template <typename Mapa>
const std::string& NombreOCodigo(const Mapa& nombres, const std::string& codigo) {
  auto encontrado = nombres.find(codigo);
  return encontrado == nombres.end() || encontrado->second.empty() ? codigo : encontrado->second;
}

// Names of codes (subjects, rooms) as the page writes them, escaped, each made once.
class NombresEscapados {
 public:
  explicit NombresEscapados(const std::map<std::string, std::string>& nombres) : nombres_(nombres) {}
  // The name of `codigo` (kept alive by the caller), escaped.
  const std::string& De(const std::string& codigo) {
    auto [hecho, nuevo] = hechos_.try_emplace(codigo);
    if (nuevo) hecho->second = EscaparHtml(NombreOCodigo(nombres_, codigo));
    return hecho->second;
  }

 private:
  const std::map<std::string, std::string>& nombres_;
  std::unordered_map<std::string_view, std::string> hechos_;
};

// What the page knows of the lessons: who has which, which take part in a clash, and the names they show,
// each worked out once.
struct Vista {
  const HorarioCentro& horario;
  std::vector<Choque> choques{};
  // Per lesson, the mark of its clashes as a place in `marcas` plus one (0: none); the marks are few.
  std::vector<std::uint32_t> marcaDeClase{};
  std::vector<std::string> marcas{};
  std::vector<int> dias{};
  std::vector<int> horas{};
  std::vector<std::string_view> grupos{};  // sorted, the lessons without a group last
  std::vector<std::int32_t> profesores{};  // sorted by name, then number; the lessons without a teacher last
  std::vector<std::string> profesoresEscapados{};  // NombreProfesor of each, escaped
  std::vector<std::string> gruposEscapados{};  // NombreGrupo of each, escaped
  std::unordered_map<std::int32_t, std::size_t> posProfesor{};
  // Per lesson: its group's and teacher's places in the lists, its subject's and room's names escaped (for
  // none, empty), and its cell in a grid (row by row, a column per day).
  std::vector<std::size_t> grupoDeClase{};
  std::vector<std::size_t> profesorDeClase{};
  std::vector<std::string_view> asignaturaDeClase{};
  std::vector<std::string_view> aulaDeClase{};
  std::vector<std::size_t> celdaDeClase{};
};

// The different values among `valores` and the lessons' `campo`, in order. Lessons of one day or period
// mostly come together: a value like the last one taken is not taken again.
std::vector<int> Distintos(std::vector<int> valores, const std::vector<Clase>& clases, int Clase::*campo) {
  for (const Clase& clase : clases) {
    if (valores.empty() || valores.back() != clase.*campo) valores.push_back(clase.*campo);
  }
  std::sort(valores.begin(), valores.end());
  valores.erase(std::unique(valores.begin(), valores.end()), valores.end());
  return valores;
}

std::size_t PosicionEn(const std::vector<int>& ordenados, int valor) {
  return static_cast<std::size_t>(std::lower_bound(ordenados.begin(), ordenados.end(), valor) - ordenados.begin());
}

// Numbers each different key of the lessons as it first comes (`numeroDeClase`, per lesson) and gives the
// keys in that order. Lessons of one key mostly come together: a key like the last lesson's needs no look-up.
template <typename Clave, typename DeClase>
std::vector<Clave> Numerar(const std::vector<Clase>& clases, DeClase clave, std::vector<std::size_t>& numeroDeClase) {
  std::unordered_map<Clave, std::size_t> numeros;
  std::vector<Clave> claves;
  numeroDeClase.clear();
  numeroDeClase.reserve(clases.size());
  for (const Clase& clase : clases) {
    Clave esta = clave(clase);
    if (!numeroDeClase.empty() && claves[numeroDeClase.back()] == esta) {
      numeroDeClase.push_back(numeroDeClase.back());
      continue;
    }
    auto [numero, nuevo] = numeros.try_emplace(esta, claves.size());
    if (nuevo) claves.push_back(esta);
    numeroDeClase.push_back(numero->second);
  }
  return claves;
}

// Puts `numeroDeClase` in terms of the keys' places in `orden` (the keys' numbers in the order wanted).
void Renumerar(std::vector<std::size_t>& numeroDeClase, const std::vector<std::size_t>& orden) {
  std::vector<std::size_t> puesto(orden.size());
  for (std::size_t n = 0; n < orden.size(); ++n) puesto[orden[n]] = n;
  for (std::size_t& numero : numeroDeClase) numero = puesto[numero];
}

const char* NombreTipo(TipoChoque tipo);

// Each lesson's mark: the kinds of its clashes, in the order of the clashes ("⚠ Choque: Profesor, Aula"). A
// lesson is in at most one clash of each kind (one who of each kind, at one day and period), so the kinds of
// its clashes, one after another, make a small number, the same for the same mark.
void MarcarChoques(Vista& vista) {
  std::vector<std::uint32_t> tipos(vista.horario.clases.size(), 0);  // per lesson, a digit per clash in base 4
  for (const Choque& choque : vista.choques) {
    for (std::size_t clase : choque.clases) tipos[clase] = tipos[clase] * 4 + static_cast<std::uint32_t>(choque.tipo) + 1;
  }
  std::unordered_map<std::uint32_t, std::uint32_t> marcaDeTipos;
  vista.marcaDeClase.assign(tipos.size(), 0);
  for (std::size_t i = 0; i < tipos.size(); ++i) {
    if (tipos[i] == 0) continue;
    auto [marca, nueva] = marcaDeTipos.try_emplace(tipos[i], static_cast<std::uint32_t>(vista.marcas.size() + 1));
    if (nueva) {
      std::vector<TipoChoque> deLaMarca;
      for (std::uint32_t resto = tipos[i]; resto != 0; resto /= 4) deLaMarca.insert(deLaMarca.begin(), TipoChoque(resto % 4 - 1));
      std::string& texto = vista.marcas.emplace_back("<span class=\"marca\">⚠ Choque: ");
      for (std::size_t n = 0; n < deLaMarca.size(); ++n) Crudo(texto, {n ? ", " : "", NombreTipo(deLaMarca[n])});
      texto += "</span>";
    }
    vista.marcaDeClase[i] = marca->second;
  }
}

Vista Preparar(const HorarioCentro& horario, NombresEscapados& asignaturas, NombresEscapados& aulas) {
  const std::vector<Clase>& clases = horario.clases;
  Vista vista{horario, BuscarChoques(clases, horario.aulas)};
  MarcarChoques(vista);
  vista.dias = Distintos({1, 2, 3, 4, 5}, clases, &Clase::dia);
  std::vector<int> horasConTiempo;
  for (const auto& [hora, periodo] : horario.periodos) {
    if (!periodo.desde.empty() || !periodo.hasta.empty()) horasConTiempo.push_back(hora);
  }
  vista.horas = Distintos(std::move(horasConTiempo), clases, &Clase::hora);

  // Groups in the order of their codes, the lessons without a group last.
  std::vector<std::string_view> grupos =
      Numerar<std::string_view>(clases, [](const Clase& c) { return std::string_view(c.grupo); }, vista.grupoDeClase);
  std::vector<std::size_t> orden(grupos.size());
  for (std::size_t n = 0; n < orden.size(); ++n) orden[n] = n;
  std::sort(orden.begin(), orden.end(), [&](std::size_t a, std::size_t b) { return grupos[a] < grupos[b]; });
  if (!orden.empty() && grupos[orden.front()].empty()) std::rotate(orden.begin(), orden.begin() + 1, orden.end());
  Renumerar(vista.grupoDeClase, orden);
  for (std::size_t numero : orden) {
    vista.grupos.push_back(grupos[numero]);
    vista.gruposEscapados.push_back(EscaparHtml(NombreGrupo(grupos[numero])));
  }

  // Teachers by name, then number; the lessons without a teacher last.
  std::vector<std::int32_t> dnis =
      Numerar<std::int32_t>(clases, [](const Clase& c) { return c.dni; }, vista.profesorDeClase);
  std::vector<std::string> nombres;
  nombres.reserve(dnis.size());
  for (std::int32_t dni : dnis) nombres.push_back(NombreProfesor(horario, dni));
  orden.resize(dnis.size());
  for (std::size_t n = 0; n < orden.size(); ++n) orden[n] = n;
  std::sort(orden.begin(), orden.end(), [&](std::size_t a, std::size_t b) {
    if ((dnis[a] == 0) != (dnis[b] == 0)) return dnis[b] == 0;
    if (int antes = nombres[a].compare(nombres[b]); antes != 0) return antes < 0;
    return dnis[a] < dnis[b];
  });
  Renumerar(vista.profesorDeClase, orden);
  for (std::size_t n = 0; n < orden.size(); ++n) {
    vista.profesores.push_back(dnis[orden[n]]);
    vista.posProfesor.emplace(dnis[orden[n]], n);
    vista.profesoresEscapados.push_back(EscaparHtml(nombres[orden[n]]));
  }

  vista.asignaturaDeClase.reserve(clases.size());
  vista.aulaDeClase.reserve(clases.size());
  vista.celdaDeClase.reserve(clases.size());
  for (const Clase& clase : clases) {
    vista.asignaturaDeClase.push_back(clase.asignatura.empty() ? std::string_view() : asignaturas.De(clase.asignatura));
    vista.aulaDeClase.push_back(clase.aula.empty() ? std::string_view() : aulas.De(clase.aula));
    vista.celdaDeClase.push_back(PosicionEn(vista.horas, clase.hora) * vista.dias.size() +
                                 PosicionEn(vista.dias, clase.dia));
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

std::string HoraDePeriodo(const Vista& vista, int hora) {
  auto periodo = vista.horario.periodos.find(hora);
  if (periodo == vista.horario.periodos.end() || (periodo->second.desde.empty() && periodo->second.hasta.empty())) return {};
  return periodo->second.desde + "–" + periodo->second.hasta;
}

// A grid is a group's (its lessons show their teacher) or a teacher's (they show their group).
enum class DeQuien { kGrupo, kProfesor };

// What every grid has the same: the head of the table, each row's start and each cell's opening.
struct Cuadricula {
  std::string cabecera;
  std::vector<std::string> filas;   // per period
  std::vector<std::string> celdas;  // per period and day
};

Cuadricula PrepararCuadricula(const Vista& vista) {
  Cuadricula cuadricula;
  std::string& cabecera = cuadricula.cabecera;
  cabecera += "</h2>\n<table class=\"semana\"><thead><tr><th class=\"hora\">Hora</th>";
  for (int dia : vista.dias) {
    cabecera += "<th data-dia=\"";
    Numero(cabecera, dia);
    cabecera += "\">";
    EscaparEn(cabecera, NombreDia(dia));
    cabecera += "</th>";
  }
  cabecera += "</tr></thead>\n<tbody>\n";
  for (int hora : vista.horas) {
    std::string& fila = cuadricula.filas.emplace_back();
    fila += "<tr data-hora=\"";
    Numero(fila, hora);
    fila += "\"><th class=\"hora\"><b>";
    Numero(fila, hora);
    fila += ".ª</b>";
    EscaparEn(fila, HoraDePeriodo(vista, hora));
    fila += "</th>";
    for (int dia : vista.dias) {
      std::string& celda = cuadricula.celdas.emplace_back("<td data-dia=\"");
      Numero(celda, dia);
      celda += "\" data-hora=\"";
      Numero(celda, hora);
      celda += "\">";
    }
  }
  return cuadricula;
}

void AnadirClase(std::string& html, const Vista& vista, std::size_t i, DeQuien de) {
  const Clase& clase = vista.horario.clases[i];
  std::uint32_t marca = vista.marcaDeClase[i];
  bool choca = marca != 0;
  html += choca ? std::string_view("<div class=\"clase choque\" data-grupo=\"")
                : std::string_view("<div class=\"clase\" data-grupo=\"");
  EscaparEn(html, clase.grupo);
  html += "\" data-dni=\"";
  Numero(html, clase.dni);
  html += "\" data-aula=\"";
  EscaparEn(html, clase.aula);
  html += "\" data-asig=\"";
  EscaparEn(html, clase.asignatura);
  html += "\"><span class=\"asig\">";
  html += clase.asignatura.empty() ? std::string_view("Sin asignatura") : vista.asignaturaDeClase[i];
  html += "</span><span class=\"con\">";
  html += de == DeQuien::kGrupo ? vista.profesoresEscapados[vista.profesorDeClase[i]]
                                : vista.gruposEscapados[vista.grupoDeClase[i]];
  html += "</span>";
  if (!clase.aula.empty()) Crudo(html, {"<span class=\"aula\">", vista.aulaDeClase[i], "</span>"});
  if (choca) html += vista.marcas[marca - 1];
  html += "</div>";
}

// Writes one grid. `inicios` and `porCelda` are room for the grid's lessons by cell, used grid after grid.
void AnadirRejilla(std::string& html, const Vista& vista, const Cuadricula& cuadricula, std::string_view id,
                   std::string_view titulo, std::string_view subtitulo, DeQuien de,
                   const std::vector<std::size_t>& clases, std::vector<std::size_t>& inicios,
                   std::vector<std::size_t>& porCelda) {
  Crudo(html, {"<section class=\"hoja horario\" id=\"", id, "\">\n<h2>", titulo});
  if (!subtitulo.empty()) Crudo(html, {" <small>", subtitulo, "</small>"});
  html += cuadricula.cabecera;
  // The grid's lessons by cell, each cell's in the order of the list.
  std::size_t celdas = cuadricula.celdas.size();
  inicios.assign(celdas + 1, 0);
  for (std::size_t i : clases) ++inicios[vista.celdaDeClase[i] + 1];
  for (std::size_t c = 0; c < celdas; ++c) inicios[c + 1] += inicios[c];
  porCelda.resize(clases.size());
  for (std::size_t i : clases) porCelda[inicios[vista.celdaDeClase[i]]++] = i;  // inicios[c] is now c's end
  std::size_t c = 0, desde = 0;
  for (std::size_t fila = 0; fila < cuadricula.filas.size(); ++fila) {
    html += cuadricula.filas[fila];
    for (std::size_t dia = 0; dia < vista.dias.size(); ++dia, ++c) {
      html += cuadricula.celdas[c];
      for (; desde < inicios[c]; ++desde) AnadirClase(html, vista, porCelda[desde], de);
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
  for (const std::string& aviso : h.avisos) Crudo(html, {"<p class=\"aviso\">", EscaparHtml(aviso), "</p>\n"});
}

void AnadirIndice(std::string& html, const Vista& vista) {
  const HorarioCentro& h = vista.horario;
  Crudo(html, {"<section class=\"hoja indice\" id=\"indice\">\n<h1>", EscaparHtml(Titulo(h)), "</h1>\n"});
  Crudo(html, {"<p>", Cuantas(h.clases.size(), "clase", "clases"), ", ", Cuantas(vista.choques.size(), "choque", "choques"),
               ". <a href=\"#resumen\">Resumen y choques</a></p>\n"});
  AnadirAvisos(html, h);
  html += "<h2>Grupos</h2>\n<ul>";
  for (std::size_t n = 0; n < vista.grupos.size(); ++n) {
    Crudo(html, {"<li><a href=\"#", IdGrupo(n), "\">", vista.gruposEscapados[n], "</a></li>"});
  }
  html += "</ul>\n<h2>Profesores</h2>\n<ul>";
  for (std::size_t n = 0; n < vista.profesores.size(); ++n) {
    Crudo(html, {"<li><a href=\"#", IdProfesor(n), "\">", vista.profesoresEscapados[n], "</a></li>"});
  }
  html += "</ul>\n</section>\n";
}

// The page as it is built, handed over in parts of about `tamano` bytes.
struct Partes {
  Partes(std::size_t tamanoParte, const std::function<void(std::string_view)>& alHacerse)
      : tamano(tamanoParte), parte(alHacerse) {}
  // Hands over what is built when it is a part's worth.
  void Quizas() {
    if (html.size() >= tamano) Ultima();
  }
  // Hands over what is built, if anything.
  void Ultima() {
    if (html.empty()) return;
    parte(html);
    html.clear();
  }

  std::string html;
  std::size_t tamano;
  const std::function<void(std::string_view)>& parte;
};

// Who is in two places, as the summary names them: the teacher's name, the group's code, the room's name.
void AnadirQuienChoca(std::string& html, const Vista& vista, const Choque& choque, NombresEscapados& aulas) {
  switch (choque.tipo) {
    case TipoChoque::kProfesor: html += vista.profesoresEscapados[vista.posProfesor.at(std::stoi(choque.quien))]; break;
    case TipoChoque::kAula: html += aulas.De(choque.quien); break;
    case TipoChoque::kGrupo: EscaparEn(html, choque.quien); break;
  }
}

void AnadirResumen(Partes& partes, const Vista& vista, const std::vector<std::vector<std::size_t>>& deGrupo,
                   const std::vector<std::vector<std::size_t>>& deProfesor, NombresEscapados& aulas) {
  const HorarioCentro& h = vista.horario;
  std::string& html = partes.html;
  html += "<section class=\"hoja resumen\" id=\"resumen\">\n<h2>Resumen</h2>\n";
  html += "<h3>Choques (";
  Numero(html, static_cast<long>(vista.choques.size()));
  html += ")</h3>\n";
  AnadirAvisos(html, h);
  if (vista.choques.empty()) {
    html += "<p>Ningún profesor, grupo ni aula está en dos sitios a la vez.</p>\n";
  } else {
    html += "<table class=\"resumen choques\"><thead><tr><th>Tipo</th><th>Quién</th><th>Día</th><th>Hora</th>"
            "<th>Clases</th></tr></thead><tbody>\n";
    for (const Choque& choque : vista.choques) {
      Crudo(html, {"<tr class=\"choque\"><td>", NombreTipo(choque.tipo), "</td><td>"});
      AnadirQuienChoca(html, vista, choque, aulas);
      html += "</td><td>";
      EscaparEn(html, NombreDia(choque.dia));
      html += "</td><td>";
      Numero(html, choque.hora);
      html += ".ª</td><td>";
      // The lessons, each "group subject, teacher[, room]"; written piece by piece, escaped, as the
      // separators have nothing to escape.
      for (std::size_t n = 0; n < choque.clases.size(); ++n) {
        std::size_t i = choque.clases[n];
        if (n > 0) html += "; ";
        Crudo(html, {vista.gruposEscapados[vista.grupoDeClase[i]], " ", vista.asignaturaDeClase[i], ", ",
                     vista.profesoresEscapados[vista.profesorDeClase[i]]});
        if (!vista.aulaDeClase[i].empty()) Crudo(html, {", ", vista.aulaDeClase[i]});  // a room shows its code when it has no name
      }
      html += "</td></tr>\n";
      partes.Quizas();
    }
    html += "</tbody></table>\n";
  }
  html += "<div class=\"columnas\">\n<table class=\"resumen por-grupo\"><thead><tr><th>Grupo</th><th>Clases</th></tr>"
          "</thead><tbody>\n";
  for (std::size_t n = 0; n < vista.grupos.size(); ++n) {
    Crudo(html, {"<tr><td><a href=\"#", IdGrupo(n), "\">", vista.gruposEscapados[n], "</a></td><td>"});
    Numero(html, static_cast<long>(deGrupo[n].size()));
    html += "</td></tr>\n";
  }
  html += "</tbody></table>\n<table class=\"resumen por-profesor\"><thead><tr><th>Profesor</th><th>Clases</th></tr>"
          "</thead><tbody>\n";
  for (std::size_t n = 0; n < vista.profesores.size(); ++n) {
    Crudo(html, {"<tr><td><a href=\"#", IdProfesor(n), "\">", vista.profesoresEscapados[n], "</a></td><td>"});
    Numero(html, static_cast<long>(deProfesor[n].size()));
    html += "</td></tr>\n";
  }
  html += "</tbody></table>\n</div>\n</section>\n";
}

}  // namespace

std::string EscaparHtml(std::string_view texto) {
  std::string escapado;
  escapado.reserve(texto.size());
  EscaparEn(escapado, texto);
  return escapado;
}

void PaginaHtmlPorPartes(const HorarioCentro& horario, std::size_t tamano,
                         const std::function<void(std::string_view)>& parte) {
  NombresEscapados asignaturas(horario.asignaturas);
  NombresEscapados aulas(horario.aulas);
  Vista vista = Preparar(horario, asignaturas, aulas);
  // The lessons of each group and each teacher, in the order of the lists.
  std::vector<std::vector<std::size_t>> deGrupo(vista.grupos.size());
  std::vector<std::vector<std::size_t>> deProfesor(vista.profesores.size());
  for (std::size_t i = 0; i < horario.clases.size(); ++i) {
    deGrupo[vista.grupoDeClase[i]].push_back(i);
    deProfesor[vista.profesorDeClase[i]].push_back(i);
  }

  Partes partes(tamano, parte);
  std::string& html = partes.html;
  // About this much per lesson (shown twice), per cell and per lesson of a clash in the summary: one
  // allocation for the whole page when it goes in one part, else one for a part and the piece that ends it.
  std::size_t enChoques = 0;
  for (const Choque& choque : vista.choques) enChoques += choque.clases.size();
  html.reserve(std::min(horario.clases.size() * 800 + enChoques * 160 +
                            (vista.grupos.size() + vista.profesores.size()) * vista.dias.size() * vista.horas.size() * 48 +
                            16384,
                        tamano + 65536));
  Crudo(html, {"<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n<title>", EscaparHtml(Titulo(horario)),
               "</title>\n<style>", kEstilos, "</style>\n</head>\n<body>\n"});
  AnadirIndice(html, vista);
  partes.Quizas();
  Cuadricula cuadricula = PrepararCuadricula(vista);
  std::vector<std::size_t> inicios, porCelda;
  std::string titulo, subtitulo;
  for (std::size_t n = 0; n < vista.grupos.size(); ++n) {
    std::string grupo(vista.grupos[n]);
    const std::string& turno = NombreOCodigo(horario.turnos, grupo);
    titulo = "Grupo " + vista.gruposEscapados[n];
    subtitulo = turno == grupo ? std::string() : "turno " + EscaparHtml(turno);
    AnadirRejilla(html, vista, cuadricula, IdGrupo(n), titulo, subtitulo, DeQuien::kGrupo, deGrupo[n], inicios,
                  porCelda);
    partes.Quizas();
  }
  for (std::size_t n = 0; n < vista.profesores.size(); ++n) {
    std::int32_t dni = vista.profesores[n];
    subtitulo = dni == 0 ? std::string() : "D.N.I. " + std::to_string(dni);
    AnadirRejilla(html, vista, cuadricula, IdProfesor(n), vista.profesoresEscapados[n], subtitulo, DeQuien::kProfesor,
                  deProfesor[n], inicios, porCelda);
    partes.Quizas();
  }
  AnadirResumen(partes, vista, deGrupo, deProfesor, aulas);
  html += "</body>\n</html>\n";
  partes.Ultima();
}

std::string PaginaHtml(const HorarioCentro& horario) {
  std::string pagina;
  PaginaHtmlPorPartes(horario, std::numeric_limits<std::size_t>::max(), [&pagina](std::string_view parte) {
    if (pagina.empty()) pagina.reserve(parte.size());
    pagina.append(parte);
  });
  return pagina;
}

}  // namespace horarios
