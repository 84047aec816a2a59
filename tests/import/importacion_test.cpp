// The import run on a small school in a drive C: of its own: ESCOLAN's timetables in C:\ESCOLAN, the
// centre's class periods already staged in C:\HTEMP\VALENCIA, the teachers and subjects of an earlier
// export and the generator's solution in C:\HTEMP, and a scripted user who answers the two review dialogs.
// The run goes through the application's default error handler, as the import button does.
#include "import/importacion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "sesion/sesion.h"
#include "ventana/ventana_principal.h"
#include "export/exportacion.h"
#include "import/devolucion.h"
#include "platform/platform.h"
#include "run/registro_exportacion.h"
#include "run/tablas_preparadas.h"
#include "storage/storage.h"
#include "tests/support/interfaz_guionada.h"
#include "tests/support/tablas_de_prueba.h"
#include "tests/support/temporary_drive.h"

namespace {

using importacion::FinImportacion;
using storage::DataType;
using storage::Table;
using testing_support::InterfazGuionada;
using testing_support::PatternBytes;

using testing_support::Campo;
using testing_support::Fila;
using testing_support::Filas;
using Sucesos = std::vector<std::string>;

using testing_support::Campos;

// What the user sees, word for word.
const std::string kInicio =
    "mensaje: La duración de este Proceso será más larga, en función de la cantidad de datos que tengamos en "
    "nuestro Horario.";
const std::string kFin = "mensaje:     Proceso finalizado     ";
const std::string kSinSoluc = "mensaje: No se encuentra archivo SOLUC.DBF en C:\\HTEMP";
const std::string kSinDni =
    "mensaje: ¡Atención! Sigue habiendo algún Profesor sin D.N.I.\n\r"
    "Este proceso se dentendrá y deberá volver a ejecutar\n\r"
    "la Importación, para poder corregir la incidencia";
const std::string kEspera = "cursor: espera";
const std::string kNormal = "cursor: normal";
const std::string kProfesores = "profesores";
const std::string kPlantilla = "plantilla";
const std::string kCerrar = "cerrar";

// ESCOLAN's timetables as a school keeps them, each with a field of its own that the import never writes.
const Campos kHorgrup = {
    {"DIASEM", DataType::ftSmallint},     {"NUMHORA", DataType::ftSmallint},  {"HORDIADES", DataType::ftString, 5},
    {"HORDIAHAS", DataType::ftString, 5}, {"CODCEN", DataType::ftFloat},      {"DNI", DataType::ftInteger},
    {"CODGRUP", DataType::ftString, 5},   {"CODASIG", DataType::ftString, 8}, {"OBSERVA", DataType::ftString, 20}};
const Campos kHorprof = {{"DIASEM", DataType::ftSmallint}, {"NUMHORA", DataType::ftSmallint},
                         {"HORAD", DataType::ftString, 5}, {"HORAH", DataType::ftString, 5},
                         {"OCUPA", DataType::ftString, 5}, {"CODCEN", DataType::ftFloat},
                         {"DNI", DataType::ftInteger},     {"OBSERVA", DataType::ftString, 20}};
// ESCOLAN's class periods, with the centre code as a number (as in centro) or as text.
const Campos kLhortipo = {{"CODCEN", DataType::ftFloat},
                          {"NUMHORA", DataType::ftSmallint},
                          {"DESDE", DataType::ftString, 8},
                          {"HASTA", DataType::ftString, 8}};
const Campos kLhortipoDeTexto = {{"CODCEN", DataType::ftString, 6},
                                 {"NUMHORA", DataType::ftSmallint},
                                 {"DESDE", DataType::ftString, 8},
                                 {"HASTA", DataType::ftString, 8}};
// The generator's solution, with a field the import does not read.
const Campos kSoluc = {
    {"DIA", DataType::ftInteger},    {"HORA", DataType::ftInteger},    {"AULA", DataType::ftString, 5},
    {"PROF", DataType::ftString, 4}, {"NIVEL", DataType::ftString, 5}, {"CURSO", DataType::ftString, 3},
    {"ASIG", DataType::ftString, 4}, {"GRUPO", DataType::ftString, 2}, {"SESION", DataType::ftInteger}};

// The fields of the timetables that the transfer writes, in the order of the expected rows below.
const Fila kEscritosHorprof = {"Diasem", "Numhora", "Horad", "Horah", "Ocupa", "Codcen", "dni"};
const Fila kEscritosHorgrup = {"Diasem", "Numhora", "Hordiades", "Hordiahas", "Codcen", "dni", "codgrup", "codasig"};

// A layout without one of its fields, or with `nuevo` in its place.
Campos Cambiar(Campos campos, const std::string& nombre, std::optional<Campo> nuevo = std::nullopt) {
  auto campo = std::find_if(campos.begin(), campos.end(), [&](const Campo& c) { return c.nombre == nombre; });
  if (nuevo) {
    *campo = *nuevo;
  } else {
    campos.erase(campo);
  }
  return campos;
}

// The files of a host folder, by name.
std::set<std::string> Archivos(const std::string& carpeta) {
  std::set<std::string> nombres;
  for (const auto& entrada : std::filesystem::directory_iterator(carpeta))
    nombres.insert(entrada.path().filename().string());
  return nombres;
}

class ImportacionTest : public ::testing::Test {
 protected:
  ImportacionTest() { EscribirColegio(); }

  // The school the cases start from: centre 46001 with its first three periods (and another centre's),
  // ESCOLAN's timetables holding lessons of both centres, two teachers with their numbers, one subject,
  // and a solution with one lesson.
  void EscribirColegio() {
    unidad_.MakeHostFolder("HTEMP/VALENCIA");
    unidad_.MakeHostFolder("ESCOLAN");
    EscribirHorgrup({{"1", "1", "08:00", "08:55", "46001", "5", "1ESOA", "1ESOLEN", "antigua"},
                     {"2", "2", "09:00", "09:55", "46002", "6", "2BACA", "2BACFIS", "de otro centro"}});
    EscribirHorprof({{"1", "1", "08:00", "08:55", "B2", "46001", "5", "antigua"},
                     {"2", "2", "09:00", "09:55", "C3", "46002", "6", "de otro centro"}});
    EscribirLhortipo({{"46001", "1", "08:00", "08:55"},
                      {"46001", "2", "08:55", "09:50"},
                      {"46002", "3", "11:00", "11:55"},
                      {"46001", "3", "10:00", "10:55"}});
    EscribirProft({{"GA2", "12345678"}, {"LO", "22222222"}});
    EscribirAsigvalt({{"1ESOMAT", "ESO", "1", "MAT"}});
    EscribirSoluc({{"2", "3", "A12", "GA2", "ESO", "1", "MAT", "B", "7"}});
  }

  // Back to the school above for the next case of a table of cases.
  void Reiniciar() {
    CerrarTablas();
    interfaz_ = InterfazGuionada();
    contexto_.centro = "46001";
    EscribirColegio();
  }

  // The staged tables that a run may leave open.
  void CerrarTablas() {
    tablas_.horgrup.Close();
    tablas_.horprof.Close();
    tablas_.soluc.Close();
    tablas_.lhortipo.Close();
  }

  // A table at `ruta` with the given fields and records, each record's values written as text in the order
  // of the fields (floating-point ones as numbers); an empty value leaves the field empty.
  void CrearTabla(const std::string& ruta, const Campos& campos, const Filas& filas,
                  const std::vector<std::string>& indices = {}) {
    testing_support::CrearTabla(engine_, ruta, campos, filas, indices);
  }

  // ESCOLAN's tables in the source folder C:\<carpeta>.
  void EscribirHorgrup(const Filas& filas, const Campos& campos = kHorgrup, const std::string& carpeta = "ESCOLAN") {
    CrearTabla("C:\\" + carpeta + "\\horgrup.dbf", campos, filas);
  }
  void EscribirHorprof(const Filas& filas, const Campos& campos = kHorprof, const std::string& carpeta = "ESCOLAN") {
    CrearTabla("C:\\" + carpeta + "\\horprof.dbf", campos, filas);
  }
  // The staged lhortipo: records of CODCEN, Numhora, Desde, Hasta.
  void EscribirLhortipo(const Filas& filas, const Campos& campos = kLhortipo) {
    CrearTabla("C:\\HTEMP\\VALENCIA\\lhortipo.dbf", campos, filas);
  }
  // What the teacher export leaves: records of ABREV and DNI.
  void EscribirProft(const Filas& filas) { testing_support::EscribirProft(engine_, filas); }
  // What the subject export leaves: records of CODVALEN, NIVEL, CURSO and COD.
  void EscribirAsigvalt(const Filas& filas) {
    Filas completas;
    for (const Fila& f : filas) completas.push_back({f[3], f[3], "Asignatura " + f[0], f[0], "3", f[1], f[2]});
    testing_support::EscribirAsigvalt(engine_, completas);
  }
  // The solution: records of DIA, HORA, AULA, PROF, NIVEL, CURSO, ASIG, GRUPO and SESION.
  void EscribirSoluc(const Filas& filas, const Campos& campos = kSoluc) {
    CrearTabla("C:\\HTEMP\\SOLUC.DBF", campos, filas);
  }

  // The records of the table at `ruta`, the given fields as text, in stored order or in that of `indice`.
  Filas Leer(const std::string& ruta, const Fila& campos, const std::string& indice = "") {
    return testing_support::LeerTabla(engine_, ruta, campos, indice);
  }
  Filas HorprofDeEscolan(const Fila& campos = kEscritosHorprof) { return Leer("C:\\ESCOLAN\\horprof.dbf", campos); }
  Filas HorgrupDeEscolan(const Fila& campos = kEscritosHorgrup) { return Leer("C:\\ESCOLAN\\horgrup.dbf", campos); }
  Filas Plantilla() { return Leer("C:\\HTEMP\\VALENCIA\\PLANTILLA.DBF", {"HORA", "HORAINI", "HORAFIN"}); }

  // A file's bytes by its host spelling, or a mark when it is not there.
  std::string Bytes(const std::string& relativa) {
    return std::filesystem::exists(unidad_.Host(relativa)) ? unidad_.ReadHostFile(relativa) : "(no existe)";
  }
  // ESCOLAN's two timetables as they stand in the source folder, byte for byte.
  std::pair<std::string, std::string> Escolan() { return {Bytes("ESCOLAN/horgrup.dbf"), Bytes("ESCOLAN/horprof.dbf")}; }

  // The import button, with the application's default error handler around it: how the run ended, or
  // nothing when an error ended it (its message is then the last thing shown).
  std::optional<FinImportacion> Importar() {
    std::optional<FinImportacion> fin;
    run::EjecutarManejador(interfaz_, [&] { fin = importacion::Importar(contexto_); });
    return fin;
  }

  // What the user does in a review dialog, through a table object of the dialog's own: gives `campo` of the
  // record whose `clave` reads `valor` the text `nuevo` (empty clears it). Opened exclusively: nothing of the
  // run may hold the table while its dialog is up.
  static void Corregir(storage::Engine& engine, const std::string& ruta, const std::string& clave,
                       const std::string& valor, const std::string& campo, const std::string& nuevo) {
    Table tabla(engine);
    tabla.SetTableName(ruta);  // shared, as the review that holds it open meanwhile
    tabla.Open();
    for (tabla.First(); !tabla.Eof(); tabla.Next()) {
      if (tabla.AsString(clave) != valor) continue;
      tabla.Edit();
      tabla.SetAsString(campo, nuevo);
      tabla.Post();
      break;
    }
    tabla.Close();
  }
  static void CorregirDni(storage::Engine& engine, const std::string& abrev, const std::string& dni) {
    Corregir(engine, "C:\\HTEMP\\PROFT.DBF", "ABREV", abrev, "DNI", dni);
  }
  static void CorregirPeriodo(storage::Engine& engine, int periodo, const std::string& campo, const std::string& hora) {
    Corregir(engine, "C:\\HTEMP\\Valencia\\PLANTILLA.DBF", "HORA", std::to_string(periodo), campo, hora);
  }

  testing_support::TemporaryDrive unidad_;
  storage::Engine engine_{','};
  run::TablasPreparadas tablas_{engine_};
  InterfazGuionada interfaz_;
  importacion::ContextoImportacion contexto_{engine_, tablas_, interfaz_, "C:\\ESCOLAN", "46001"};
};

// ---------------------------------------------------------------------------------------------------------
// The run and the teacher-identity check

TEST_F(ImportacionTest, WithoutASolutionTheRunStopsBeforeTouchingAnything) {
  ASSERT_TRUE(platform::RemoveFile("C:\\HTEMP\\SOLUC.DBF"));
  std::filesystem::remove_all(unidad_.Host("HTEMP/VALENCIA"));
  auto antes = Escolan();

  EXPECT_EQ(Importar(), FinImportacion::kSinSolucion);

  EXPECT_EQ(interfaz_.sucesos, (Sucesos{kInicio, kEspera, kNormal, kSinSoluc}));
  EXPECT_FALSE(interfaz_.cursorEspera);
  EXPECT_EQ(Escolan(), antes);
  EXPECT_TRUE(platform::FolderExists("C:\\HTEMP\\VALENCIA"));              // made before the solution is looked for
  EXPECT_FALSE(platform::FileExists("C:\\HTEMP\\VALENCIA\\horgrup.dbf"));  // nothing staged
  EXPECT_FALSE(platform::FileExists("C:\\HTEMP\\VALENCIA\\horprof.dbf"));
}

TEST_F(ImportacionTest, TeachersWithNumbersGoStraightToTheTemplate) {
  EXPECT_EQ(Importar(), FinImportacion::kCompleta);
  EXPECT_EQ(interfaz_.sucesos, (Sucesos{kInicio, kEspera, kPlantilla, kEspera, kNormal, kFin}));
  EXPECT_FALSE(interfaz_.cursorEspera);
}

TEST_F(ImportacionTest, ANumberGivenInTheDialogLetsTheRunGoOnAndReachesTheTimetables) {
  EscribirProft({{"LO", "22222222"}, {"GA2", "0"}});
  interfaz_.alRevisarProfesores = [](storage::Engine& engine) { CorregirDni(engine, "GA2", "12345678"); };

  EXPECT_EQ(Importar(), FinImportacion::kCompleta);

  EXPECT_EQ(interfaz_.sucesos, (Sucesos{kInicio, kEspera, kProfesores, kEspera, kPlantilla, kEspera, kNormal, kFin}));
  EXPECT_EQ(HorprofDeEscolan({"dni"}), (Filas{{"12345678"}}));
  EXPECT_EQ(HorgrupDeEscolan({"dni"}), (Filas{{"12345678"}}));
}

TEST_F(ImportacionTest, ATeacherStillWithoutNumberClosesTheProgramAndLeavesEscolanAlone) {
  struct Caso {
    const char* que;
    Filas proft;
    std::function<void(storage::Engine&)> enElDialogo;
  };
  const std::vector<Caso> casos = {
      {"the dialog closed without a change", {{"LO", "22222222"}, {"GA2", "0"}}, nullptr},
      {"an empty number is no number",
       {{"GA2", ""}, {"LO", "22222222"}},
       [](storage::Engine& engine) { CorregirDni(engine, "GA2", "0"); }},
      {"the number cleared in the dialog",
       {{"GA2", "0"}, {"LO", "22222222"}},
       [](storage::Engine& engine) { CorregirDni(engine, "GA2", ""); }},
      {"one of two given",
       {{"GA2", "0"}, {"LO", "0"}},
       [](storage::Engine& engine) { CorregirDni(engine, "GA2", "12345678"); }},
  };
  const std::string plantillaAnterior = "the template of an earlier run";
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.que);
    Reiniciar();
    EscribirProft(caso.proft);
    unidad_.WriteHostFile("HTEMP/VALENCIA/PLANTILLA.DBF", plantillaAnterior);
    interfaz_.alRevisarProfesores = caso.enElDialogo;
    auto antes = Escolan();

    EXPECT_EQ(Importar(), FinImportacion::kSinDni);

    // The dialog once, then the message and the window closed; no template, no transfer, no copy back.
    EXPECT_EQ(interfaz_.sucesos, (Sucesos{kInicio, kEspera, kProfesores, kEspera, kNormal, kSinDni, kCerrar}));
    EXPECT_FALSE(interfaz_.cursorEspera);
    EXPECT_EQ(Escolan(), antes);
    EXPECT_EQ(Bytes("HTEMP/VALENCIA/PLANTILLA.DBF"), plantillaAnterior);
    EXPECT_EQ(Bytes("HTEMP/VALENCIA/horgrup.dbf"), antes.first);  // the staging was done
    EXPECT_EQ(Bytes("HTEMP/VALENCIA/horprof.dbf"), antes.second);
  }
}

TEST_F(ImportacionTest, AnEmptyProftPassesTheCheckAndLeavesEveryTeacherUnknown) {
  EscribirProft({});
  EXPECT_EQ(Importar(), FinImportacion::kCompleta);
  // The closing message counts the lesson whose teacher PROFT does not know.
  EXPECT_EQ(interfaz_.sucesos, (Sucesos{kInicio, kEspera, kPlantilla, kEspera, kNormal,
                                        kFin + "\n\nClases escritas tal como vienen en la solución, con incidencias:"
                                               "\n  1 con un profesor que PROFT no tiene (D.N.I. 0)"}));
  EXPECT_EQ(HorprofDeEscolan({"dni"}), (Filas{{"0"}}));
  EXPECT_EQ(HorgrupDeEscolan({"dni"}), (Filas{{"0"}}));
}

// ---------------------------------------------------------------------------------------------------------
// The class-period template

// The template's 20 records for the given periods' times, the others empty.
Filas PlantillaCon(const std::map<int, std::pair<std::string, std::string>>& horas) {
  Filas filas;
  for (int periodo = 1; periodo <= 20; ++periodo) {
    auto hora = horas.find(periodo);
    filas.push_back({std::to_string(periodo), hora == horas.end() ? "" : hora->second.first,
                     hora == horas.end() ? "" : hora->second.second});
  }
  return filas;
}

TEST_F(ImportacionTest, TheTemplateHoldsTheCentresPeriodsOneToTwenty) {
  EscribirLhortipo({
      {"46002", "1", "09:00", "09:55"},        // another centre
      {"46001", "3", "10:00", "10:55"},        // listed before periods 1 and 2
      {"46001", "1", "08:00:00", "08:55:00"},  // cut to five characters
      {"46001", "2", "08:55", "09:50"},
      {"46001", "4", "10:00", "10:55"},
      {"46001", "4", "", "11:00"},  // an empty start keeps the earlier one, the end is replaced
      {"46001", "5", "11:00", "12:00"},
      {"46001", "5", "11:05", ""},  // the later start wins, the empty end keeps the earlier one
      {"46001", "20", "15:00", "15:55"},
      {"46001", "0", "07:00", "07:55"},  // out of range, wherever they stand
      {"46001", "21", "16:00", "16:55"},
      {"46001", "-1", "06:00", "06:55"},
  });
  CrearTabla("C:\\HTEMP\\VALENCIA\\PLANTILLA.DBF", {{"HORA", DataType::ftInteger}}, Filas(25, Fila{"7"}));

  importacion::TablaPeriodos periodos = importacion::PrepararPlantilla(contexto_);

  const Filas esperada = PlantillaCon({{1, {"08:00", "08:55"}},
                                       {2, {"08:55", "09:50"}},
                                       {3, {"10:00", "10:55"}},
                                       {4, {"10:00", "11:00"}},
                                       {5, {"11:05", "12:00"}},
                                       {20, {"15:00", "15:55"}}});
  EXPECT_EQ(Plantilla(), esperada);
  EXPECT_EQ(Leer("C:\\HTEMP\\VALENCIA\\PLANTILLA.DBF", {"HORA", "HORAINI", "HORAFIN"}, "HORA"), esperada);
  for (int periodo = 1; periodo <= 20; ++periodo) {
    SCOPED_TRACE(periodo);
    EXPECT_EQ(periodos.desde[periodo - 1], esperada[periodo - 1][1]);
    EXPECT_EQ(periodos.hasta[periodo - 1], esperada[periodo - 1][2]);
  }
  EXPECT_EQ(interfaz_.sucesos, (Sucesos{kPlantilla, kEspera}));
}

TEST_F(ImportacionTest, OnlyRecordsWhoseCentreReadsAsTheSameTextGiveTimes) {
  const Filas deTexto = {{"46001", "1", "08:00", "08:55"},  {"4600", "2", "08:00", "08:55"},
                         {"460011", "3", "08:00", "08:55"}, {"046001", "4", "08:00", "08:55"},
                         {"a1", "5", "08:00", "08:55"},     {"A1", "6", "08:00", "08:55"},
                         {"", "7", "08:00", "08:55"}};
  const Filas numericas = {{"46001", "1", "08:00", "08:55"},
                           {"46001.5", "2", "08:00", "08:55"},
                           {"4600", "3", "08:00", "08:55"},
                           {"460011", "4", "08:00", "08:55"}};
  struct Caso {
    std::string centro;
    bool codigoNumerico;
    std::set<int> periodos;
  };
  const std::vector<Caso> casos = {
      {"46001", false, {1}}, {"4600", false, {2}}, {"A1", false, {6}},   {"a1", false, {5}},
      {"", false, {7}},      {"99999", false, {}}, {"46001", true, {1}},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE("centre '" + caso.centro + (caso.codigoNumerico ? "', numeric CODCEN" : "', text CODCEN"));
    tablas_.lhortipo.Close();
    if (caso.codigoNumerico) {
      EscribirLhortipo(numericas, kLhortipo);
    } else {
      EscribirLhortipo(deTexto, kLhortipoDeTexto);
    }
    contexto_.centro = caso.centro;

    importacion::TablaPeriodos periodos = importacion::PrepararPlantilla(contexto_);

    std::set<int> conHoras;
    for (int periodo = 1; periodo <= 20; ++periodo) {
      if (!periodos.desde[periodo - 1].empty() || !periodos.hasta[periodo - 1].empty()) conHoras.insert(periodo);
    }
    EXPECT_EQ(conHoras, caso.periodos);
    EXPECT_EQ(Plantilla().size(), 20u);
  }
}

TEST_F(ImportacionTest, TimesEditedInTheDialogAreTheOnesTransferred) {
  EscribirSoluc({{"1", "3", "A1", "GA2", "ESO", "1", "MAT", "A", ""},
                 {"2", "1", "A1", "GA2", "ESO", "1", "MAT", "A", ""},
                 {"3", "2", "A1", "GA2", "ESO", "1", "MAT", "A", ""}});
  int registros = -1;
  interfaz_.alRevisarPlantilla = [&](storage::Engine& engine) {
    registros = static_cast<int>(Plantilla().size());
    CorregirPeriodo(engine, 3, "HORAINI", "10:05");
    CorregirPeriodo(engine, 1, "HORAFIN", "");
    CorregirPeriodo(engine, 2, "HORAINI", "9:00");
  };

  EXPECT_EQ(Importar(), FinImportacion::kCompleta);

  EXPECT_EQ(registros, 20);
  EXPECT_EQ(HorprofDeEscolan({"Numhora", "Horad", "Horah"}),
            (Filas{{"3", "10:05", "10:55"}, {"1", "08:00", ""}, {"2", "9:00", "09:50"}}));
  EXPECT_EQ(HorgrupDeEscolan({"Numhora", "Hordiades", "Hordiahas"}),
            (Filas{{"3", "10:05", "10:55"}, {"1", "08:00", ""}, {"2", "9:00", "09:50"}}));
}

// ---------------------------------------------------------------------------------------------------------
// The transfer

TEST_F(ImportacionTest, ALessonBecomesOneRecordOfEachTimetableAndNothingOfBeforeStays) {
  EXPECT_EQ(Importar(), FinImportacion::kCompleta);

  // Every field: those the import does not write are empty, whatever the old records held.
  EXPECT_EQ(HorprofDeEscolan({"Diasem", "Numhora", "Horad", "Horah", "Ocupa", "Codcen", "dni", "OBSERVA"}),
            (Filas{{"2", "3", "10:00", "10:55", "A12", "46001", "12345678", ""}}));
  EXPECT_EQ(HorgrupDeEscolan(
                {"Diasem", "Numhora", "Hordiades", "Hordiahas", "Codcen", "dni", "codgrup", "codasig", "OBSERVA"}),
            (Filas{{"2", "3", "10:00", "10:55", "46001", "12345678", "1ESOB", "1ESOMAT", ""}}));
}

TEST_F(ImportacionTest, EachLessonIsTranslatedBackToEscolansCodes) {
  EscribirLhortipo({{"46001", "1", "08:00", "08:55"},
                    {"46001", "2", "08:55", "09:50"},
                    {"46001", "3", "10:00", "10:55"},
                    {"46001", "20", "14:00", "14:55"}});
  // Two teachers share GA2: the first in stored order counts.
  EscribirProft({{"GA2", "12345678"}, {"GA", "87654321"}, {"LO", "22222222"}, {"GA2", "99999999"}});
  // Three subjects share ESO, 1, MAT: the first in CODVALEN order counts (not the first or last stored).
  EscribirAsigvalt({{"1ESOMATB", "ESO", "1", "MAT"},
                    {"1ESOMATA", "ESO", "1", "MAT"},
                    {"2ESOMAT", "ESO", "2", "MAT"},
                    {"1BACMAT", "BAC", "1", "MAT"},
                    {"1ESOLEN", "ESO", "1", "LEN"},
                    {"1BA", "BA", "1", "X"},
                    {"1ESOMATC", "ESO", "1", "MAT"}});
  struct Leccion {
    const char* que;
    Fila soluc;    // DIA, HORA, AULA, PROF, NIVEL, CURSO, ASIG, GRUPO, SESION
    Fila horprof;  // as kEscritosHorprof; empty: the lesson gives no record
    Fila horgrup;  // as kEscritosHorgrup
  };
  const std::vector<Leccion> lecciones = {
      {"first teacher and first subject of several",
       {"2", "3", "A12", "GA2", "ESO", "1", "MAT", "B", "1"},
       {"2", "3", "10:00", "10:55", "A12", "46001", "12345678"},
       {"2", "3", "10:00", "10:55", "46001", "12345678", "1ESOB", "1ESOMATA"}},
      {"day 0 is not transferred", {"0", "1", "A1", "GA", "ESO", "1", "LEN", "A", "2"}, {}, {}},
      {"an empty day reads 0", {"", "2", "A1", "GA", "ESO", "1", "LEN", "A", "3"}, {}, {}},
      {"an abbreviation is not a prefix of another",
       {"1", "1", "A3", "GA", "ESO", "1", "LEN", "C", "4"},
       {"1", "1", "08:00", "08:55", "A3", "46001", "87654321"},
       {"1", "1", "08:00", "08:55", "46001", "87654321", "1ESOC", "1ESOLEN"}},
      {"the subject's course counts",
       {"1", "2", "A4", "LO", "ESO", "2", "MAT", "A", ""},
       {"1", "2", "08:55", "09:50", "A4", "46001", "22222222"},
       {"1", "2", "08:55", "09:50", "46001", "22222222", "2ESOA", "2ESOMAT"}},
      {"an unknown subject right after a known one keeps its codes empty",
       {"3", "2", "B1", "LO", "ESO", "3", "MAT", "A", ""},
       {"3", "2", "08:55", "09:50", "B1", "46001", "22222222"},
       {"3", "2", "08:55", "09:50", "46001", "22222222", "", ""}},
      {"the subject's level counts",
       {"1", "20", "A5", "LO", "BAC", "1", "MAT", "D", ""},
       {"1", "20", "14:00", "14:55", "A5", "46001", "22222222"},
       {"1", "20", "14:00", "14:55", "46001", "22222222", "1BACD", "1BACMAT"}},
      {"letter case counts in the level",
       {"4", "1", "A6", "LO", "eso", "1", "MAT", "A", ""},
       {"4", "1", "08:00", "08:55", "A6", "46001", "22222222"},
       {"4", "1", "08:00", "08:55", "46001", "22222222", "", ""}},
      {"a subject code shorter than four characters is taken whole",
       {"4", "2", "A7", "LO", "BA", "1", "X", "C", ""},
       {"4", "2", "08:55", "09:50", "A7", "46001", "22222222"},
       {"4", "2", "08:55", "09:50", "46001", "22222222", "1BAC", "1BA"}},
      {"an unknown teacher gets number 0",
       {"5", "1", "A8", "XX", "ESO", "1", "LEN", "A", ""},
       {"5", "1", "08:00", "08:55", "A8", "46001", "0"},
       {"5", "1", "08:00", "08:55", "46001", "0", "1ESOA", "1ESOLEN"}},
      {"letter case counts in the abbreviation",
       {"5", "2", "A9", "ga2", "ESO", "1", "LEN", "A", ""},
       {"5", "2", "08:55", "09:50", "A9", "46001", "0"},
       {"5", "2", "08:55", "09:50", "46001", "0", "1ESOA", "1ESOLEN"}},
      {"period 0 has no times",
       {"1", "0", "A1", "GA", "ESO", "1", "LEN", "A", ""},
       {"1", "0", "", "", "A1", "46001", "87654321"},
       {"1", "0", "", "", "46001", "87654321", "1ESOA", "1ESOLEN"}},
      {"period 21 has no times",
       {"1", "21", "A1", "GA", "ESO", "1", "LEN", "A", ""},
       {"1", "21", "", "", "A1", "46001", "87654321"},
       {"1", "21", "", "", "46001", "87654321", "1ESOA", "1ESOLEN"}},
      {"a period without times in the template",
       {"1", "5", "", "GA", "ESO", "1", "LEN", "A", ""},
       {"1", "5", "", "", "", "46001", "87654321"},
       {"1", "5", "", "", "46001", "87654321", "1ESOA", "1ESOLEN"}},
  };
  Filas soluc, horprof, horgrup;
  for (const Leccion& leccion : lecciones) {
    soluc.push_back(leccion.soluc);
    if (leccion.horprof.empty()) continue;
    horprof.push_back(leccion.horprof);
    horgrup.push_back(leccion.horgrup);
  }
  EscribirSoluc(soluc);

  ASSERT_EQ(Importar(), FinImportacion::kCompleta);

  // One record of each timetable per lesson with a day, in the solution's order.
  Filas horprofLeido = HorprofDeEscolan(), horgrupLeido = HorgrupDeEscolan();
  ASSERT_EQ(horprofLeido.size(), horprof.size());
  ASSERT_EQ(horgrupLeido.size(), horgrup.size());
  std::size_t i = 0;
  for (const Leccion& leccion : lecciones) {
    if (leccion.horprof.empty()) continue;
    SCOPED_TRACE(leccion.que);
    EXPECT_EQ(horprofLeido[i], leccion.horprof);
    EXPECT_EQ(horgrupLeido[i], leccion.horgrup);
    ++i;
  }
}

TEST_F(ImportacionTest, ASolutionWithoutLessonsIsRefusedAndEscolanKeepsItsTimetables) {
  for (const Filas& soluc : {Filas{}, Filas{{"0", "1", "A1", "GA2", "ESO", "1", "MAT", "A", ""}}}) {
    SCOPED_TRACE(soluc.size());
    Reiniciar();
    EscribirSoluc(soluc);
    auto antes = Escolan();
    EXPECT_EQ(Importar(), FinImportacion::kRechazada);
    EXPECT_EQ(interfaz_.sucesos,
              (Sucesos{kInicio, kEspera, kNormal, std::string("mensaje: ") + importacion::kMensajeSolucionSinClases}));
    EXPECT_EQ(Escolan(), antes);
  }
}

// ---------------------------------------------------------------------------------------------------------
// The copy back, repeated runs and errors

TEST_F(ImportacionTest, AfterARunEscolanHoldsTheStagedTimetablesAndNothingElseChanged) {
  unidad_.WriteHostFile("ESCOLAN/horgrup.mdx", PatternBytes(3000, 1));
  unidad_.WriteHostFile("ESCOLAN/horprof.mdx", PatternBytes(3000, 2));

  ASSERT_EQ(Importar(), FinImportacion::kCompleta);

  EXPECT_EQ(Bytes("ESCOLAN/horgrup.dbf"), Bytes("HTEMP/VALENCIA/horgrup.dbf"));
  EXPECT_EQ(Bytes("ESCOLAN/horprof.dbf"), Bytes("HTEMP/VALENCIA/horprof.dbf"));
  EXPECT_EQ(Bytes("ESCOLAN/horgrup.mdx"), PatternBytes(3000, 1));
  EXPECT_EQ(Bytes("ESCOLAN/horprof.mdx"), PatternBytes(3000, 2));
  EXPECT_EQ(Archivos(unidad_.Host("ESCOLAN")),
            (std::set<std::string>{"horgrup.dbf", "horgrup.mdx", "horprof.dbf", "horprof.mdx"}));
  EXPECT_FALSE(platform::FileExists("C:\\HTEMP\\VALENCIA\\horgrup.mdx"));
  // The run lets go of every table it used: the generator and ESCOLAN may take them again.
  EXPECT_FALSE(tablas_.soluc.Active());
  EXPECT_FALSE(tablas_.horgrup.Active());
  EXPECT_FALSE(tablas_.horprof.Active());
  for (const char* ruta : {"C:\\HTEMP\\PROFT.DBF", "C:\\HTEMP\\ASIGVALT.DBF", "C:\\HTEMP\\SOLUC.DBF"}) {
    SCOPED_TRACE(ruta);
    Table tabla(engine_);
    tabla.SetTableName(ruta);
    tabla.SetExclusive(true);
    EXPECT_NO_THROW(tabla.Open());
  }
}

TEST_F(ImportacionTest, ASecondRunWithTheSameSolutionGivesTheSameRecords) {
  EscribirSoluc({{"2", "3", "A12", "GA2", "ESO", "1", "MAT", "B", ""},
                 {"0", "1", "A1", "GA2", "ESO", "1", "MAT", "A", ""},
                 {"4", "1", "A2", "LO", "ESO", "1", "MAT", "C", ""}});
  const Fila todosHorprof = {"Diasem", "Numhora", "Horad", "Horah", "Ocupa", "Codcen", "dni", "OBSERVA"};
  const Fila todosHorgrup = {"Diasem", "Numhora", "Hordiades", "Hordiahas", "Codcen",
                             "dni",    "codgrup", "codasig",   "OBSERVA"};

  ASSERT_EQ(Importar(), FinImportacion::kCompleta);
  Filas horprof = HorprofDeEscolan(todosHorprof), horgrup = HorgrupDeEscolan(todosHorgrup);
  ASSERT_EQ(Importar(), FinImportacion::kCompleta);

  EXPECT_EQ(horprof.size(), 2u);
  EXPECT_EQ(HorprofDeEscolan(todosHorprof), horprof);
  EXPECT_EQ(HorgrupDeEscolan(todosHorgrup), horgrup);
}

TEST_F(ImportacionTest, AnErrorEndsTheRunWithTheCursorBackAndEscolanUntouched) {
  struct Fallo {
    const char* que;
    std::function<void()> preparar;
    bool trasLaPlantilla;                              // whether the template dialog came before the error
    int horprofPreparado = -1, horgrupPreparado = -1;  // records left in the staged tables; -1: not looked at
    std::string mensaje = {};  // the table layer's own message, where it is its own and not the engine's
  };
  const Fila leccion = {"2", "3", "A12", "GA2", "ESO", "1", "MAT", "B", ""};
  platform::File generador;  // the generator holding its solution open
  const std::vector<Fallo> fallos = {
      {"no PROFT: no export was run", [] { ASSERT_TRUE(platform::RemoveFile("C:\\HTEMP\\PROFT.DBF")); }, false},
      {"no ASIGVALT", [] { ASSERT_TRUE(platform::RemoveFile("C:\\HTEMP\\ASIGVALT.DBF")); }, false},
      {"no lhortipo staged", [] { ASSERT_TRUE(platform::RemoveFile("C:\\HTEMP\\VALENCIA\\lhortipo.dbf")); }, false},
      {"ESCOLAN without horprof.dbf", [] { ASSERT_TRUE(platform::RemoveFile("C:\\ESCOLAN\\horprof.dbf")); }, true},
      // The solution is looked at before anything is staged.
      {"the solution held by the generator",
       [&] {
         generador =
             platform::File::OpenExisting("C:\\HTEMP\\SOLUC.DBF", platform::Access::kRead, platform::Share::kDenyNone);
       },
       false},
      {"a solution without AULA",
       [&] {
         EscribirSoluc({{"2", "3", "GA2", "ESO", "1", "MAT", "B", ""}}, Cambiar(kSoluc, "AULA"));
       },
       true, 0, 0, "wwTableSoluc: No se encuentra el campo 'AULA'"},
      {"a horprof without Ocupa", [&] { EscribirHorprof({}, Cambiar(kHorprof, "OCUPA")); }, true, 0, 0,
       "wwTableHorProf: No se encuentra el campo 'Ocupa'"},
      {"a horgrup without codasig", [&] { EscribirHorgrup({}, Cambiar(kHorgrup, "CODASIG")); }, true, 1, 0,
       "wwTableHorGrup: No se encuentra el campo 'codasig'"},
      {"a day that is no number in the second lesson",
       [&] {
         Fila mala = leccion;
         mala[0] = "X";
         EscribirSoluc({leccion, mala}, Cambiar(kSoluc, "DIA", Campo{"DIA", DataType::ftString, 2}));
       },
       true, 1, 1, "'X' no es un valor entero válido"},
  };
  for (const Fallo& fallo : fallos) {
    SCOPED_TRACE(fallo.que);
    Reiniciar();
    fallo.preparar();
    auto antes = Escolan();

    EXPECT_EQ(Importar(), std::nullopt);
    generador = platform::File();

    const Sucesos& sucesos = interfaz_.sucesos;
    ASSERT_GE(sucesos.size(), 4u);
    EXPECT_EQ(sucesos.front(), kInicio);
    EXPECT_EQ(sucesos[sucesos.size() - 2], kNormal);
    EXPECT_EQ(sucesos.back().rfind("error: ", 0), 0u) << sucesos.back();
    if (!fallo.mensaje.empty()) {
      EXPECT_EQ(sucesos.back(), "error: " + fallo.mensaje);
    }
    EXPECT_FALSE(interfaz_.cursorEspera);
    EXPECT_EQ(std::count(sucesos.begin(), sucesos.end(), kProfesores), 0);
    EXPECT_EQ(std::count(sucesos.begin(), sucesos.end(), kPlantilla), fallo.trasLaPlantilla ? 1 : 0);
    EXPECT_EQ(std::count(sucesos.begin(), sucesos.end(), kFin), 0);
    EXPECT_EQ(Escolan(), antes);
    CerrarTablas();
    if (fallo.horprofPreparado >= 0) {
      EXPECT_EQ(static_cast<int>(Leer("C:\\HTEMP\\VALENCIA\\horprof.dbf", {"Diasem"}).size()), fallo.horprofPreparado);
    }
    if (fallo.horgrupPreparado >= 0) {
      EXPECT_EQ(static_cast<int>(Leer("C:\\HTEMP\\VALENCIA\\horgrup.dbf", {"Diasem"}).size()), fallo.horgrupPreparado);
    }
  }
}

TEST_F(ImportacionTest, AfterAFailedRunTheNextOneStartsAfresh) {
  EscribirHorgrup({}, Cambiar(kHorgrup, "CODASIG"));
  ASSERT_EQ(Importar(), std::nullopt);
  EscribirHorgrup({});
  interfaz_.sucesos.clear();

  EXPECT_EQ(Importar(), FinImportacion::kCompleta);

  EXPECT_EQ(interfaz_.sucesos, (Sucesos{kInicio, kEspera, kPlantilla, kEspera, kNormal, kFin}));
  EXPECT_EQ(HorgrupDeEscolan({"Diasem", "codasig"}), (Filas{{"2", "1ESOMAT"}}));
  EXPECT_EQ(HorprofDeEscolan({"Diasem", "Ocupa"}), (Filas{{"2", "A12"}}));
}

// A file of ESCOLAN's held open by another program (ESCOLAN itself, which keeps its tables open) cannot be
// replaced. Held from the start, the import stops before the reviews, naming the file; held from the reviews
// on, the copy back refuses it: the other one is not replaced either (or is put back). Either way the message
// names the file and what to do, and no temporary file stays in the folder.
TEST_F(ImportacionTest, AFileOfEscolanHeldOpenLeavesBothTimetablesAsTheyWere) {
  for (const bool desdeElInicio : {true, false}) {
    for (const std::string retenido : {"horgrup.dbf", "horprof.dbf"}) {
      SCOPED_TRACE(retenido + (desdeElInicio ? " from the start" : " from the reviews on"));
      Reiniciar();
      auto antes = Escolan();
      const std::string ruta = "C:\\ESCOLAN\\" + retenido;
      auto retener = [&] { return platform::File::OpenExisting(ruta, platform::Access::kRead, platform::Share::kDenyNone); };
      std::optional<platform::File> abierto;
      if (desdeElInicio) abierto = retener();
      interfaz_.alRevisarPlantilla = [&](storage::Engine&) {
        if (!abierto) abierto = retener();
      };
      EXPECT_EQ(Importar(), std::nullopt);
      abierto.reset();
      interfaz_.alRevisarPlantilla = nullptr;
      ASSERT_GE(interfaz_.sucesos.size(), 2u);
      EXPECT_EQ(std::count(interfaz_.sucesos.begin(), interfaz_.sucesos.end(), kPlantilla), desdeElInicio ? 0 : 1);
      EXPECT_EQ(interfaz_.sucesos[interfaz_.sucesos.size() - 2], kNormal);
      EXPECT_EQ(interfaz_.sucesos.back(), "error: Error de E/S 32\n" + ruta +
                                              " está abierto en otro programa. Cierre ESCOLAN y vuelva a intentarlo.");
      EXPECT_EQ(Escolan(), antes);
      EXPECT_EQ(Archivos(unidad_.Host("ESCOLAN")), (std::set<std::string>{"horgrup.dbf", "horprof.dbf"}));
    }
  }
}

// ---------------------------------------------------------------------------------------------------------
// From the main window, after an export

TEST_F(ImportacionTest, TheWindowImportsIntoItsFolderForTheSelectedCentre) {
  unidad_.MakeHostFolder("OTRO");
  CrearTabla("C:\\OTRO\\centro.dbf", {{"CODCEN", DataType::ftFloat}, {"LITCEN", DataType::ftString, 45}},
             {{"46001", "Uno"}, {"46002", "Dos"}});
  CrearTabla("C:\\OTRO\\lhortipo.dbf", kLhortipo, {{"46001", "3", "10:00", "10:55"}, {"46002", "3", "11:00", "11:55"}});
  EscribirHorgrup({}, kHorgrup, "OTRO");
  EscribirHorprof({}, kHorprof, "OTRO");
  auto escolan = Escolan();
  ventana::VentanaPrincipal ventana(engine_, interfaz_);
  platform::SetCurrentFolder("C:\\OTRO");
  ventana.CarpetaCambiada();
  ventana.LeerCentros();
  ventana.SeleccionarCentro(1);

  std::optional<FinImportacion> fin;
  run::EjecutarManejador(interfaz_, [&] { fin = ventana.Importar(); });

  EXPECT_EQ(fin, FinImportacion::kCompleta);
  EXPECT_EQ(Leer("C:\\OTRO\\horprof.dbf", kEscritosHorprof),
            (Filas{{"2", "3", "11:00", "11:55", "A12", "46002", "12345678"}}));
  EXPECT_EQ(Leer("C:\\OTRO\\horgrup.dbf", kEscritosHorgrup),
            (Filas{{"2", "3", "11:00", "11:55", "46002", "12345678", "1ESOB", "1ESOMAT"}}));
  EXPECT_EQ(Escolan(), escolan);
}

TEST_F(ImportacionTest, TheExportsTablesLeadTheSolutionBackToEscolansTeachersAndSubjects) {
  CrearTabla("C:\\HTEMP\\VALENCIA\\profesor.dbf",
             {{"FBAJA", DataType::ftDate},
              {"APENOMPROF", DataType::ftString, 40},
              {"DEPARTA", DataType::ftString, 30},
              {"DNI", DataType::ftInteger}},
             {{"", "GARCIA PEREZ, ANA", "MATEMATICAS", "11111111"},
              {"", "GALLEGO RUIZ, LUIS", "MATEMATICAS", "33333333"},
              {"", "LOPEZ SANZ, EVA", "LENGUA", "44444444"}});
  CrearTabla("C:\\HTEMP\\VALENCIA\\asignat.dbf",
             {{"CODASIG", DataType::ftString, 8},
              {"VLITEASIG", DataType::ftString, 30},
              {"CLITEASIG", DataType::ftString, 30},
              {"HORSEMTE", DataType::ftString, 5},
              {"LITRESV", DataType::ftString, 3}},
             {{"1ESOMAT", "Matemàtiques", "Matemáticas", "04", "MAT"},
              {"2ESOMAT", "Matemàtiques", "Matemáticas", "04", "MAT"},
              {"1ESOLEN", "Llengua", "Lengua", "03", "LEN"}});
  exportacion::ContextoExportacion contextoExportacion{engine_, tablas_,
                                                       exportacion::LeerIdioma(ventana::kIdiomaInicial)};
  exportacion::ExportarAsignaturas(contextoExportacion);
  exportacion::ExportarProfesores(contextoExportacion);
  EscribirSoluc({{"1", "1", "A1", "GA2", "ESO", "2", "MAT", "B", ""},
                 {"1", "2", "A2", "GA", "ESO", "1", "MAT", "A", ""},
                 {"1", "3", "A3", "LO", "ESO", "1", "LEN", "A", ""}});

  ASSERT_EQ(Importar(), FinImportacion::kCompleta);

  EXPECT_EQ(
      HorgrupDeEscolan({"dni", "codgrup", "codasig"}),
      (Filas{{"33333333", "2ESOB", "2ESOMAT"}, {"11111111", "1ESOA", "1ESOMAT"}, {"44444444", "1ESOA", "1ESOLEN"}}));
  EXPECT_EQ(HorprofDeEscolan({"dni"}), (Filas{{"33333333"}, {"11111111"}, {"44444444"}}));
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------
// What the import refuses, and what it tells

TEST_F(ImportacionTest, ASolutionFromAnotherFoldersExportIsRefusedAndNothingChanges) {
  struct Caso {
    const char* que;
    std::optional<run::RegistroExportacion> registro;  // what the last export recorded; nothing: no record
    std::optional<std::string> mensaje;                 // the refusal; nothing: the run goes on
  };
  const Caso casos[] = {
      {"exported from another folder", run::RegistroExportacion{"C:\\OTRO", {"46001"}, true},
       "Los datos de Horvane se exportaron desde C:\\OTRO, no desde C:\\ESCOLAN: la solución es de otro centro. "
       "Importe en la carpeta de la que se exportaron, o exporte desde esta y vuelva a generar el horario. No se "
       "ha cambiado ningún horario."},
      {"an export that did not end", run::RegistroExportacion{"C:\\ESCOLAN", {"46001"}, false},
       importacion::kMensajeExportacionIncompleta},
      {"the same folder spelled otherwise", run::RegistroExportacion{"c:\\escolan\\", {"46001"}, true}, std::nullopt},
      {"no record: an export older than the record", std::nullopt, std::nullopt},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.que);
    Reiniciar();
    platform::RemoveFile("C:\\HTEMP\\VALENCIA\\EXPORTACION.TXT");
    if (caso.registro) run::EscribirRegistroExportacion(*caso.registro);
    auto antes = Escolan();

    std::optional<FinImportacion> fin = Importar();

    if (caso.mensaje) {
      EXPECT_EQ(fin, FinImportacion::kRechazada);
      EXPECT_EQ(interfaz_.sucesos, (Sucesos{kInicio, kEspera, kNormal, "mensaje: " + *caso.mensaje}));
      EXPECT_EQ(Escolan(), antes);
      EXPECT_FALSE(platform::FileExists("C:\\HTEMP\\VALENCIA\\horgrup.dbf"));  // nothing staged
    } else {
      EXPECT_EQ(fin, FinImportacion::kCompleta);
    }
  }
}

TEST_F(ImportacionTest, OddLessonsAreWrittenAndCountedInTheClosingMessage) {
  const std::string kCabecera = "\n\nClases escritas tal como vienen en la solución, con incidencias:";
  struct Caso {
    const char* que;
    Filas soluc;
    std::string cola;  // what follows the specified closing text
  };
  const Fila buena = {"2", "3", "A12", "GA2", "ESO", "1", "MAT", "B", ""};
  const Caso casos[] = {
      {"every lesson known", {buena}, ""},
      {"a teacher PROFT does not hold", {buena, {"2", "3", "A12", "ZZ", "ESO", "1", "MAT", "B", ""}},
       kCabecera + "\n  1 con un profesor que PROFT no tiene (D.N.I. 0)"},
      {"a subject ASIGVALT does not hold", {{"2", "3", "A12", "GA2", "ESO", "1", "XYZ", "B", ""}},
       kCabecera + "\n  1 con una asignatura que ASIGVALT no tiene (sin grupo ni asignatura)"},
      {"days 6 and -1, period 21",
       {{"6", "3", "A12", "GA2", "ESO", "1", "MAT", "B", ""},
        {"-1", "21", "A12", "GA2", "ESO", "1", "MAT", "B", ""},
        buena},
       kCabecera + "\n  2 con un día fuera de 1 a 5\n  1 con una hora fuera de 1 a 20 (sin horas de inicio ni final)"},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.que);
    Reiniciar();
    EscribirSoluc(caso.soluc);
    EXPECT_EQ(Importar(), FinImportacion::kCompleta);
    EXPECT_EQ(interfaz_.sucesos.back(), kFin + caso.cola);
    // Written all the same, as the solution gives them.
    EXPECT_EQ(HorprofDeEscolan({"Diasem"}).size(), caso.soluc.size());
  }
}

// ---------------------------------------------------------------------------------------------------------
// The copy back: the pair together, backed up, with the school's protections

TEST_F(ImportacionTest, TheReplacedPairIsBackedUpWithTheFolderItCameFrom) {
  auto antes = Escolan();
  ASSERT_EQ(Importar(), FinImportacion::kCompleta);

  std::vector<std::string> copias = platform::Subfolders("C:\\HTEMP\\COPIAS");
  ASSERT_EQ(copias.size(), 1u);
  std::string copia = "HTEMP/COPIAS/" + copias[0];
  EXPECT_EQ(Bytes(copia + "/horgrup.dbf"), antes.first);
  EXPECT_EQ(Bytes(copia + "/horprof.dbf"), antes.second);
  EXPECT_EQ(Bytes(copia + "/ORIGEN.TXT"), "C:\\ESCOLAN\n");
  EXPECT_EQ(Bytes(copia + "/DIARIO.TXT"), "(no existe)");  // cleared once the pair was replaced
  EXPECT_EQ(Archivos(unidad_.Host("ESCOLAN")), (std::set<std::string>{"horgrup.dbf", "horprof.dbf"}));

  // A second import keeps the first one's backup and makes its own.
  ASSERT_EQ(Importar(), FinImportacion::kCompleta);
  EXPECT_EQ(platform::Subfolders("C:\\HTEMP\\COPIAS").size(), 2u);
}

TEST_F(ImportacionTest, ThePrintablePageOfTheNewTimetablesIsWrittenBesideTheBackup) {
  ASSERT_EQ(Importar(), FinImportacion::kCompleta);
  std::vector<std::string> copias = platform::Subfolders("C:\\HTEMP\\COPIAS");
  ASSERT_EQ(copias.size(), 1u);
  EXPECT_EQ(interfaz_.paginaHorarios, "C:\\HTEMP\\COPIAS\\" + copias[0] + "\\horarios.html");
  std::string pagina = Bytes("HTEMP/COPIAS/" + copias[0] + "/horarios.html");
  // The lesson the solution gave (group 1ESOB, room A12, period 3 at the template's times), not the old one.
  for (const char* visto : {"Grupo 1ESOB", "data-aula=\"A12\"", "data-dni=\"12345678\"", "10:00–10:55", "Martes"}) {
    EXPECT_NE(pagina.find(visto), std::string::npos) << visto;
  }
  EXPECT_EQ(pagina.find("1ESOA"), std::string::npos);
  EXPECT_EQ(interfaz_.sucesos.back(), kFin);
}

TEST_F(ImportacionTest, APageThatCannotBeWrittenIsToldAndTheImportStillEndsComplete) {
  platform::SetFileOperationHook([](platform::FileOperation operacion, std::string_view ruta) {
    if (operacion == platform::FileOperation::kCreate && ruta.ends_with("horarios.html")) {
      throw platform::FileError(platform::kDiskFull);
    }
  });
  std::optional<FinImportacion> fin = Importar();
  platform::SetFileOperationHook(nullptr);
  ASSERT_EQ(fin, FinImportacion::kCompleta);
  EXPECT_EQ(HorgrupDeEscolan(), (Filas{{"2", "3", "10:00", "10:55", "46001", "12345678", "1ESOB", "1ESOMAT"}}));
  std::vector<std::string> copias = platform::Subfolders("C:\\HTEMP\\COPIAS");
  ASSERT_EQ(copias.size(), 1u);
  std::string ruta = "C:\\HTEMP\\COPIAS\\" + copias[0] + "\\horarios.html";
  ASSERT_GE(interfaz_.sucesos.size(), 3u);
  EXPECT_EQ(interfaz_.sucesos[interfaz_.sucesos.size() - 3],
            "mensaje: Los horarios se han importado, pero no se ha podido escribir la página para imprimirlos (" +
                ruta + "): Error de E/S 112");
  EXPECT_EQ(interfaz_.sucesos.back(), kFin);
  EXPECT_EQ(interfaz_.paginaHorarios, "");
}

TEST_F(ImportacionTest, AReadOnlyTimetableIsRefusedAndTheOtherKeepsItsOwnerAndPermissions) {
  namespace fs = std::filesystem;
  for (const std::string soloLectura : {"horgrup.dbf", "horprof.dbf"}) {
    SCOPED_TRACE(soloLectura);
    Reiniciar();
    fs::permissions(unidad_.Host("ESCOLAN/" + soloLectura), fs::perms::owner_read | fs::perms::group_read);
    auto antes = Escolan();

    EXPECT_EQ(Importar(), std::nullopt);
    EXPECT_EQ(interfaz_.sucesos.back(), "error: Acceso al archivo denegado");
    EXPECT_EQ(Escolan(), antes);
    EXPECT_EQ(Archivos(unidad_.Host("ESCOLAN")), (std::set<std::string>{"horgrup.dbf", "horprof.dbf"}));
    fs::permissions(unidad_.Host("ESCOLAN/" + soloLectura), fs::perms::owner_write, fs::perm_options::add);
  }

#ifndef _WIN32  // Windows files have no owner and group permissions: the platform's tests check their attributes
  // A file the school's users share keeps what lets them share it.
  Reiniciar();
  const fs::perms compartido = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                               fs::perms::group_write;
  fs::permissions(unidad_.Host("ESCOLAN/horgrup.dbf"), compartido);
  ASSERT_EQ(Importar(), FinImportacion::kCompleta);
  EXPECT_EQ(fs::status(unidad_.Host("ESCOLAN/horgrup.dbf")).permissions(), compartido);
#endif
}

TEST_F(ImportacionTest, AStagedTimetableThatVanishedBeforeTheCopyBackIsAnErrorAndNothingChanges) {
  // The staged copies as a run leaves them just before it copies them back.
  for (const char* archivo : {"horgrup.dbf", "horprof.dbf"}) {
    unidad_.WriteHostFile(std::string("HTEMP/VALENCIA/") + archivo, "nuevo " + std::string(archivo));
  }
  for (const std::string desaparecido : {"horgrup.dbf", "horprof.dbf"}) {
    SCOPED_TRACE(desaparecido);
    auto antes = Escolan();
    std::string guardado = unidad_.ReadHostFile("HTEMP/VALENCIA/" + desaparecido);
    ASSERT_TRUE(platform::RemoveFile("C:\\HTEMP\\VALENCIA\\" + desaparecido));

    EXPECT_EQ(testing_support::FileErrorOf([] { importacion::DevolverHorarios("C:\\ESCOLAN"); }),
              std::make_pair(2, std::string("No se encuentra el archivo")));
    EXPECT_EQ(Escolan(), antes);
    EXPECT_EQ(Archivos(unidad_.Host("ESCOLAN")), (std::set<std::string>{"horgrup.dbf", "horprof.dbf"}));
    unidad_.WriteHostFile("HTEMP/VALENCIA/" + desaparecido, guardado);
  }
}

TEST_F(ImportacionTest, TheRecoveryAtStartRemovesWhatInterruptedCopiesLeftInTheStagingFolder) {
  unidad_.WriteHostFile("HTEMP/VALENCIA/~copia-1234abcd.tmp", "a half copy");
  unidad_.WriteHostFile("HTEMP/VALENCIA/~COPIA-ffff0000.tmp", "another");
  sesion::Sesion sesion(engine_, interfaz_);
  run::EjecutarManejador(interfaz_, [&] { sesion.RecuperarCopiaInterrumpida(); });
  EXPECT_EQ(interfaz_.sucesos, Sucesos{});  // nothing to tell: no copy back was interrupted
  std::set<std::string> quedan = Archivos(unidad_.Host("HTEMP/VALENCIA"));
  EXPECT_EQ(quedan.count("~copia-1234abcd.tmp") + quedan.count("~COPIA-ffff0000.tmp"), 0u);
  EXPECT_EQ(quedan.count("lhortipo.dbf"), 1u);
}

// A journal that does not read as the program writes it moves nothing: not a file outside the two
// timetables, nor into a folder named by anything but a full path.
TEST_F(ImportacionTest, ADamagedJournalIsRefusedAndMovesNothing) {
  const std::string copia = "HTEMP/COPIAS/20260101-080000";
  unidad_.MakeHostFolder(copia);
  unidad_.WriteHostFile(copia + "/otro.dbf", "what the backup holds");
  unidad_.WriteHostFile(copia + "/horgrup.dbf", "the backup's horgrup");
  unidad_.WriteHostFile("ESCOLAN/otro.dbf", "the school's own file");
  unidad_.WriteHostFile("ESCOLAN/~horgrup-20260101-080000.tmp", "a new horgrup");
  const std::string danado = "El diario de la copia de los horarios está dañado: C:\\HTEMP\\COPIAS\\20260101-080000\\DIARIO.TXT";
  struct Case {
    const char* what;
    const char* diario;
  } cases[] = {
      {"a file that is no timetable", "estado=DESHACIENDO\norigen=C:\\ESCOLAN\narchivo=otro.dbf;1\n"},
      {"a name that leaves the folder", "estado=DESHACIENDO\norigen=C:\\ESCOLAN\narchivo=..\\..\\ESCOLAN\\otro.dbf;1\n"},
      {"a folder without its drive", "estado=CONFIRMADA\norigen=ESCOLAN\narchivo=horgrup.dbf;1\n"},
      {"no file at all", "estado=CONFIRMADA\norigen=C:\\ESCOLAN\n"},
      {"no state", "origen=C:\\ESCOLAN\narchivo=horgrup.dbf;1\n"},
      {"bytes of something else", "\x89PNG\r\n\x1a\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    unidad_.WriteHostFile(copia + "/DIARIO.TXT", c.diario);
    auto antes = Escolan();
    std::string otro = unidad_.ReadHostFile("ESCOLAN/otro.dbf");
    interfaz_.sucesos.clear();
    sesion::Sesion sesion(engine_, interfaz_);
    EXPECT_FALSE(run::EjecutarManejador(interfaz_, [&] { sesion.RecuperarCopiaInterrumpida(); }));
    EXPECT_EQ(interfaz_.sucesos, Sucesos{"error: " + danado});
    EXPECT_EQ(Escolan(), antes);
    EXPECT_EQ(unidad_.ReadHostFile("ESCOLAN/otro.dbf"), otro);
    EXPECT_EQ(unidad_.ReadHostFile("ESCOLAN/~horgrup-20260101-080000.tmp"), "a new horgrup");
    EXPECT_EQ(unidad_.ReadHostFile(copia + "/DIARIO.TXT"), c.diario);  // kept for whoever looks into it
  }
}

TEST_F(ImportacionTest, TheExportRecordsItsFolderAndCentresForTheImport) {
  unidad_.MakeHostFolder("OTRO");
  CrearTabla("C:\\OTRO\\centro.dbf", {{"CODCEN", DataType::ftFloat}, {"LITCEN", DataType::ftString, 45}},
             {{"46001", "Uno"}, {"46002", "Dos"}});
  sesion::Sesion sesion(engine_, interfaz_);
  sesion.PrepararCarpeta("C:\\OTRO");
  // An export that stops at its first step (OTRO has no asignat) is recorded as unfinished...
  EXPECT_FALSE(run::EjecutarManejador(interfaz_, [&] { sesion.Exportar(exportacion::Idioma::kValenciano); }));
  std::optional<run::RegistroExportacion> registro = run::LeerRegistroExportacion();
  ASSERT_TRUE(registro);
  EXPECT_EQ(registro->origen, "C:\\OTRO");
  EXPECT_EQ(registro->centros, (std::vector<std::string>{"46001", "46002"}));
  EXPECT_FALSE(registro->completa);
  // ... and one that ends, as finished: its solution then goes nowhere but into OTRO.
  EXPECT_TRUE(run::EjecutarManejador(interfaz_, [&] { sesion.Exportar(exportacion::Idioma::kValenciano, {}); }));
  registro = run::LeerRegistroExportacion();
  ASSERT_TRUE(registro);
  EXPECT_TRUE(registro->completa);
  interfaz_.sucesos.clear();
  EXPECT_EQ(Importar(), FinImportacion::kRechazada);
}
