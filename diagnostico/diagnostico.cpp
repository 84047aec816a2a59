#include "diagnostico/diagnostico.h"

#include <map>
#include <memory>
#include <set>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "export/exportacion.h"
#include "export/reglas.h"
#include "platform/platform.h"
#include "run/identidad.h"
#include "run/rutas.h"

namespace diagnostico {
namespace {

using exportacion::ComoSeLee;
using exportacion::CortarCodigoGrupo;

// What each kind of problem does to the runs, after its message.
constexpr const char* kDetieneExportacion = "la exportación se detendrá aquí";
constexpr const char* kDetieneImportacion = "la importación se detendrá aquí";

// The fields each run reads of each of ESCOLAN's tables: a table that lacks one stops that run when it
// reads it.
struct Necesidad {
  std::vector<std::string> campos;
  const char* efecto;
};

// The examination of a folder: the problems found so far, and how to read its tables.
class Examen {
 public:
  Examen(storage::Engine& engine, std::string_view carpeta) : engine_(engine), carpeta_(carpeta) {}

  void Anotar(std::string_view archivo, std::uint32_t registro, std::string campo, std::string mensaje,
              std::string valor = {}) {
    problemas_.push_back({std::string(archivo), registro, std::move(campo), std::move(mensaje), std::move(valor)});
  }
  // A problem of the field `campo` of the table's current record, with what the field holds.
  void AnotarCampo(const storage::Table& tabla, std::string_view archivo, const std::string& campo,
                   std::string mensaje) {
    Anotar(archivo, tabla.RecNo(), campo, std::move(mensaje), tabla.DisplayText(campo));
  }

  // The table `nombre` of the folder, open on its first record, shared and only read; nothing, after
  // noting why, when it cannot be opened or lacks one of the fields the runs read of it.
  std::unique_ptr<storage::Table> Abrir(std::string_view nombre, const std::vector<Necesidad>& necesidades) {
    std::string archivo = run::ArchivoEscolan(nombre);
    auto tabla = std::make_unique<storage::Table>(engine_);
    tabla->SetDatabaseName(carpeta_);
    tabla->SetTableName(std::string(nombre));
    tabla->SetDbfExtensionImplied(true);
    const char* efecto = necesidades.empty() ? kDetieneExportacion : necesidades.front().efecto;
    try {
      tabla->Open();
    } catch (const std::exception& error) {
      Anotar(archivo, 0, "", std::string(error.what()) + ": " + efecto);
      return nullptr;
    }
    bool completa = true;
    for (const Necesidad& necesidad : necesidades) {
      for (const std::string& campo : necesidad.campos) {
        if (tabla->HasField(campo)) continue;
        Anotar(archivo, 0, campo, "No se encuentra el campo '" + campo + "': " + necesidad.efecto);
        completa = false;
      }
    }
    if (!completa) return nullptr;
    tabla->First();
    return tabla;
  }

  // Runs a read of the current record as a step does; its failure becomes a problem of that record and field.
  template <typename Lectura>
  bool Leer(storage::Table& tabla, std::string_view archivo, const std::string& campo, const char* efecto,
            Lectura lectura) {
    try {
      lectura();
      return true;
    } catch (const storage::DatabaseError& error) {
      AnotarCampo(tabla, archivo, campo, std::string(error.what()) + ": " + efecto);
      return false;
    }
  }

  std::vector<Problema> Problemas() && { return std::move(problemas_); }
  storage::Engine& Engine() { return engine_; }
  const std::string& Carpeta() const { return carpeta_; }

 private:
  storage::Engine& engine_;
  std::string carpeta_;
  std::vector<Problema> problemas_;
};

std::string DelRegistro(std::uint32_t numero) { return "del registro " + std::to_string(numero); }

// What the other steps need of asignat: ASIGVALT's subject codes as its CODVALEN index holds them.
struct Asignaturas {
  bool leidas = false;
  std::unordered_set<std::string> codvalens;
};

// asignat: the hours every subject's Horsemte gives, and the keys the later lookups find first.
Asignaturas ExaminarAsignaturas(Examen& examen, exportacion::Idioma idioma) {
  Asignaturas asignaturas;
  std::string nombre = exportacion::CampoNombreAsignatura(idioma);
  auto asignat = examen.Abrir(run::kAsignat, {{{"Litresv", nombre, "Codasig", "Horsemte"}, kDetieneExportacion}});
  if (!asignat) return asignaturas;
  std::string archivo = run::ArchivoEscolan(run::kAsignat);
  std::map<std::string, std::uint32_t> porCodigo;
  std::map<std::tuple<std::string, std::string, std::string>, std::uint32_t> porCodigoCorto;
  char separador = examen.Engine().DecimalSeparator();
  for (; !asignat->Eof(); asignat->Next()) {
    std::uint32_t registro = asignat->RecNo();
    std::string horsemte = asignat->AsString("Horsemte");
    examen.Leer(*asignat, archivo, "Horsemte", kDetieneExportacion,
                [&] { exportacion::HorasSemanales(horsemte, separador); });
    std::string codasig = asignat->AsString("Codasig");
    std::string codvalen = ComoSeLee(codasig, exportacion::kTamanoCodvalen);
    asignaturas.codvalens.insert(codvalen);
    auto [primero, nuevo] = porCodigo.try_emplace(codvalen, registro);
    if (!nuevo) {
      examen.AnotarCampo(*asignat, archivo, "Codasig",
                      "el código de asignatura " + codvalen + " ya es el " + DelRegistro(primero->second) +
                          ": los alumnos y la carga lectiva toman solo la primera");
    }
    // The import finds a lesson's subject by level, course and short code, as ASIGVALT reads them back.
    std::tuple<std::string, std::string, std::string> clave{ComoSeLee(exportacion::Caracteres(codasig, 2, 3), 5),
                                                            ComoSeLee(exportacion::Caracteres(codasig, 1, 1), 3),
                                                            ComoSeLee(asignat->AsString("Litresv"), 4)};
    auto [anterior, nueva] = porCodigoCorto.try_emplace(clave, registro);
    if (!nueva) {
      examen.AnotarCampo(*asignat, archivo, "Litresv",
                      "la abreviatura " + std::get<2>(clave) + " de " + std::get<1>(clave) + std::get<0>(clave) +
                          " ya es la " + DelRegistro(anterior->second) +
                          ": la importación devuelve las clases de las dos a la primera");
    }
  }
  asignaturas.leidas = true;
  return asignaturas;
}

// profesor: the teachers the export takes (no leave date), their identity numbers and abbreviations.
void ExaminarProfesores(Examen& examen) {
  auto profesor = examen.Abrir(run::kProfesor, {{{"FBaja", "Apenomprof", "Departa", "Dni"}, kDetieneExportacion}});
  if (!profesor) return;
  std::string archivo = run::ArchivoEscolan(run::kProfesor);
  std::vector<std::string> abreviaturas;
  std::vector<std::uint32_t> registros;
  std::vector<std::string> nombres;
  std::map<std::int32_t, std::uint32_t> porDni;
  for (; !profesor->Eof(); profesor->Next()) {
    std::uint32_t registro = profesor->RecNo();
    bool deBaja = false;
    if (!examen.Leer(*profesor, archivo, "FBaja", kDetieneExportacion,
                     [&] { deBaja = !profesor->AsDate("FBaja").IsEmpty(); })) {
      continue;
    }
    if (deBaja) continue;
    std::string nombre = profesor->AsString("Apenomprof");
    std::int32_t dni = 0;
    if (!examen.Leer(*profesor, archivo, "Dni", kDetieneExportacion, [&] { dni = profesor->AsInteger("Dni"); })) {
      continue;
    }
    if (!run::TieneDni(dni)) {
      examen.AnotarCampo(*profesor, archivo, "Dni",
                      "el profesor " + nombre + " no tiene D.N.I.: la importación se detendrá si no se le da uno");
    } else if (auto [primero, nuevo] = porDni.try_emplace(dni, registro); !nuevo) {
      examen.AnotarCampo(*profesor, archivo, "Dni",
                      "el D.N.I. " + std::to_string(dni) + " ya es el " + DelRegistro(primero->second) +
                          ": la carga lectiva da las clases de los dos a la abreviatura del primero");
    }
    abreviaturas.push_back(ComoSeLee(exportacion::Caracteres(nombre, 1, 2), exportacion::kTamanoAbreviatura));
    registros.push_back(registro);
    nombres.push_back(profesor->DisplayText("Apenomprof"));
  }
  // The abbreviations as the export leaves them; one that stays repeated sends the import's lessons of both
  // teachers to the first.
  std::vector<std::string> distintas = exportacion::AbreviaturasDistintas(abreviaturas);
  std::map<std::string, std::uint32_t> porAbreviatura;
  for (std::size_t i = 0; i < distintas.size(); ++i) {
    auto [primero, nuevo] = porAbreviatura.try_emplace(distintas[i], registros[i]);
    if (nuevo) continue;
    examen.Anotar(archivo, registros[i], "Apenomprof",
                  "la abreviatura " + distintas[i] + " que le da la exportación ya es la " +
                      DelRegistro(primero->second) + ": la importación da las clases de los dos al primero",
                  nombres[i]);
  }
}

void ExaminarAulas(Examen& examen) {
  examen.Abrir(run::kAulas, {{{"Codaula", "Litaula"}, kDetieneExportacion}});
}

// asigalum: how many of each student's enrolments ASIGVALT knows, by the student code the filter selects them by.
std::unordered_map<std::string, int> AsignaturasPorAlumno(Examen& examen, const Asignaturas& asignaturas) {
  std::unordered_map<std::string, int> cuantas;
  auto asigalum = examen.Abrir(run::kAsigalum, {{{"Codigo", "Codasig"}, kDetieneExportacion}});
  if (!asigalum || !asignaturas.leidas) return cuantas;
  for (; !asigalum->Eof(); asigalum->Next()) {
    if (!asignaturas.codvalens.contains(ComoSeLee(asigalum->AsString("Codasig"), exportacion::kTamanoCodvalen))) continue;
    ++cuantas[asigalum->AsString("Codigo")];
  }
  return cuantas;
}

// alumnos.fpt: ESCOLAN's notes on the students, which the runs never read but the staging carries along.
// The memo fields of alumnos when its memo file is there to check them against; none, after noting it, when
// the file is missing.
std::vector<std::string> CamposDeMemo(Examen& examen, const storage::Table& alumnos) {
  if (!platform::FileExists(run::EnCarpeta(examen.Carpeta(), run::kMemoAlumnos))) {
    examen.Anotar(run::kMemoAlumnos, 0, "",
                  "falta el archivo de memos de alumnos.dbf: las notas de los alumnos no se podrán leer");
    return {};
  }
  std::vector<std::string> campos;
  for (const storage::FieldInfo& campo : alumnos.Fields()) {
    if (campo.dataType == storage::DataType::ftMemo) campos.push_back(campo.name);
  }
  return campos;
}

void ExaminarMemos(Examen& examen, const storage::Table& alumnos, const std::vector<std::string>& campos) {
  for (const std::string& campo : campos) {
    if (alumnos.IsNull(campo) || alumnos.MemoText(campo)) continue;
    examen.AnotarCampo(alumnos, run::kMemoAlumnos, campo,
                    "la nota del registro de alumnos.dbf no está en alumnos.fpt o está dañada");
  }
}

// alumnos: the students the export takes, their subjects, codes and repeater flag.
void ExaminarAlumnos(Examen& examen, const Asignaturas& asignaturas) {
  std::unordered_map<std::string, int> cuantas = AsignaturasPorAlumno(examen, asignaturas);
  auto alumnos = examen.Abrir(run::kAlumnos, {{{"Codgrup", "Codigo", "Apenom", "Repite"}, kDetieneExportacion}});
  if (!alumnos) return;
  std::string archivo = run::ArchivoEscolan(run::kAlumnos);
  std::map<std::string, std::uint32_t> porCodigo;
  std::vector<std::string> memos = CamposDeMemo(examen, *alumnos);
  for (; !alumnos->Eof(); alumnos->Next()) {
    std::uint32_t registro = alumnos->RecNo();
    ExaminarMemos(examen, *alumnos, memos);
    std::string codgrup = alumnos->AsString("Codgrup");
    if (!CortarCodigoGrupo(codgrup).Completo()) {
      examen.AnotarCampo(*alumnos, archivo, "Codgrup",
                         "el código de grupo '" + codgrup + "' tiene menos de dos caracteres: la exportación deja fuera a este alumno");
      continue;
    }
    examen.Leer(*alumnos, archivo, "Repite", kDetieneExportacion, [&] { alumnos->AsInteger("Repite"); });
    std::string codigo = ComoSeLee(alumnos->AsString("Codigo"), exportacion::kTamanoExpediente);
    auto [primero, nuevo] = porCodigo.try_emplace(codigo, registro);
    if (!nuevo) {
      examen.AnotarCampo(*alumnos, archivo, "Codigo",
                      "el código de alumno " + codigo + " ya es el " + DelRegistro(primero->second) +
                          ": la exportación da a cada uno las asignaturas de los dos");
    }
    auto matriculas = cuantas.find(codigo);
    if (matriculas != cuantas.end() && matriculas->second > exportacion::kAsignaturasPorAlumno) {
      examen.AnotarCampo(*alumnos, archivo, "Codigo",
                      "el alumno " + codigo + " tiene " + std::to_string(matriculas->second) +
                          " asignaturas en asigalum y ALUMNOST solo tiene sitio para " +
                          std::to_string(exportacion::kAsignaturasPorAlumno) + ": No se encuentra el campo '" +
                          exportacion::CampoAsignatura(exportacion::kAsignaturasPorAlumno + 1) + "': " +
                          kDetieneExportacion);
    }
  }
}

void ExaminarGrupos(Examen& examen) {
  auto grupos = examen.Abrir(run::kGrupos, {{{"Turno", "Codgrup"}, kDetieneExportacion}});
  if (!grupos) return;
  std::string archivo = run::ArchivoEscolan(run::kGrupos);
  for (; !grupos->Eof(); grupos->Next()) {
    std::string codgrup = grupos->AsString("Codgrup");
    if (CortarCodigoGrupo(codgrup).Completo()) continue;
    examen.AnotarCampo(*grupos, archivo, "Codgrup",
                    "el código de grupo '" + codgrup + "' tiene menos de dos caracteres: la exportación deja fuera este grupo");
  }
}

// horgrup: read by the export's teaching load, emptied and refilled by the import.
void ExaminarHorarioGrupos(Examen& examen) {
  auto horgrup = examen.Abrir(
      run::kHorgrup, {{{"Codgrup", "Codasig", "Dni"}, kDetieneExportacion},
                      {{"Diasem", "Numhora", "Hordiades", "Hordiahas", "Codcen"}, kDetieneImportacion}});
  if (!horgrup) return;
  std::string archivo = run::ArchivoEscolan(run::kHorgrup);
  for (; !horgrup->Eof(); horgrup->Next()) {
    std::string codgrup = horgrup->AsString("Codgrup");
    if (!CortarCodigoGrupo(codgrup).Completo()) {
      examen.AnotarCampo(*horgrup, archivo, "Codgrup",
                      "el código de grupo '" + codgrup +
                          "' tiene menos de dos caracteres: la carga lectiva escribe esta clase sin nivel o sin curso");
    }
    examen.Leer(*horgrup, archivo, "Dni", kDetieneExportacion, [&] { horgrup->AsInteger("Dni"); });
  }
}

void ExaminarHorarioProfesores(Examen& examen) {
  examen.Abrir(run::kHorprof,
               {{{"Diasem", "Numhora", "Horad", "Horah", "Ocupa", "Codcen", "Dni"}, kDetieneImportacion}});
}

// centro and lhortipo: every centre's class periods, which the import takes for the centre chosen.
void ExaminarCentros(Examen& examen) {
  std::vector<std::pair<std::string, std::uint32_t>> centros;
  if (auto centro = examen.Abrir(run::kCentro, {{{"Codcen"}, kDetieneImportacion}})) {
    for (; !centro->Eof(); centro->Next()) centros.emplace_back(centro->AsString("Codcen"), centro->RecNo());
  }
  auto lhortipo = examen.Abrir(run::kLhortipo, {{{"CODCEN", "Numhora", "Desde", "Hasta"}, kDetieneImportacion}});
  if (!lhortipo) return;
  std::string archivo = run::ArchivoEscolan(run::kLhortipo);
  std::set<std::string> conHoras;
  std::set<std::string> deCentros;
  for (const auto& [codigo, registro] : centros) deCentros.insert(codigo);
  for (; !lhortipo->Eof(); lhortipo->Next()) {
    std::string codcen = lhortipo->AsString("CODCEN");
    conHoras.insert(codcen);
    if (!deCentros.contains(codcen)) continue;
    examen.Leer(*lhortipo, archivo, "Numhora", kDetieneImportacion, [&] { lhortipo->AsInteger("Numhora"); });
  }
  for (const auto& [codigo, registro] : centros) {
    if (conHoras.contains(codigo)) continue;
    examen.Anotar(run::ArchivoEscolan(run::kCentro), registro, "Codcen",
                  "el centro " + codigo +
                      " no tiene ninguna hora en lhortipo con ese mismo código: la importación le propondrá una plantilla de horas vacía",
                  codigo);
  }
}

// C:\HTEMP: the export replaces its nine tables there, which it cannot do while another program (the
// generator) has one open.
void ExaminarIntercambio(Examen& examen) {
  for (std::string_view tabla : {run::kAsigvalt, run::kAsignomt, run::kProft, run::kAulat, run::kAlumnost,
                                 run::kAsigcurt, run::kGrupost, run::kCursost, run::kAsigt}) {
    std::string ruta = run::RutaIntercambio(tabla);
    if (!platform::FileExists(ruta)) continue;
    try {
      examen.Engine().RequireNotInUse(ruta);
    } catch (const storage::DatabaseError& error) {
      examen.Anotar(run::ArchivoDbf(tabla), 0, "", std::string(error.what()) + ": " + kDetieneExportacion);
    }
  }
}

}  // namespace

std::vector<Problema> ProblemasDeCarpeta(storage::Engine& engine, std::string_view carpeta,
                                         exportacion::Idioma idioma) {
  Examen examen(engine, carpeta);
  Asignaturas asignaturas = ExaminarAsignaturas(examen, idioma);
  ExaminarProfesores(examen);
  ExaminarAulas(examen);
  ExaminarAlumnos(examen, asignaturas);
  ExaminarGrupos(examen);
  ExaminarHorarioGrupos(examen);
  ExaminarHorarioProfesores(examen);
  ExaminarCentros(examen);
  ExaminarIntercambio(examen);
  return std::move(examen).Problemas();
}

std::string Linea(const Problema& problema) {
  std::string linea = problema.archivo;
  if (problema.registro != 0) linea += ", registro " + std::to_string(problema.registro);
  if (!problema.campo.empty()) linea += ", campo " + problema.campo;
  return linea + ": " + problema.mensaje;
}

std::string Resumen(std::size_t problemas) {
  if (problemas == 0) return "Ningún problema: la carpeta se puede exportar.";
  return std::to_string(problemas) + (problemas == 1 ? " problema encontrado." : " problemas encontrados.");
}

}  // namespace diagnostico
