// The export run through the button: the seven steps in order between the two messages and the hourglass.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/export/exportacion_de_prueba.h"
#include "tests/support/interfaz_guionada.h"

namespace exportacion_de_prueba {
namespace {

const std::vector<std::string> kTablasIntercambio = {"ASIGVALT", "ASIGNOMT", "PROFT",   "AULAT", "ALUMNOST",
                                                     "ASIGCURT", "GRUPOST",  "CURSOST", "ASIGT"};

class ExportacionCompletaTest : public ExportacionTest {
 protected:
  // A small school: three subjects, three teachers (one on leave), two rooms, two students, two groups and
  // their timetable.
  void PrepararEscuela() {
    Preparar("asignat", kAsignat,
             {{"2BACFIS", "Física", "Física", "04:00", "FIS"},
              {"1ESOMAT", "Matemàtiques", "Matemáticas", "04:00", "MAT"},
              {"1ESOLEN", "Llengua", "Lengua", "03:00", "LEN"}});
    PrepararProfesores("11111111");
    Preparar("aulas", kAulas, {{"A12", "Aula 12"}, {"LAB", "Laboratorio"}});
    Preparar("alumnos", kAlumnos,
             {{"PÉREZ GIL, ANA", "1234", "1ESOA", "1"}, {"ROCA MAS, JOAN", "1235", "1ESOB", "0"}});
    Preparar("asigalum", kAsigalum, {{"1234", "1ESOMAT"}, {"1235", "1ESOLEN"}, {"1234", "1ESOLEN"}});
    Preparar("grupos", kGrupos, {{"M", "1ESOA"}, {"M", "1ESOB"}});
    Preparar("horgrup", kHorgrup,
             {{"1ESOA", "1ESOMAT", "11111111"},
              {"1ESOA", "1ESOLEN", "22222222"},
              {"1ESOB", "1ESOMAT", "11111111"},
              {"1ESOA", "1ESOMAT", "11111111"}});
  }

  // profesor with the first teacher's identity number as given (a text field, so it may be anything).
  void PrepararProfesores(const std::string& primerDni) {
    Preparar("profesor", kProfesorConDniDeTexto,
             {{"", "GARCIA PEREZ, ANA", "MATEMÁTICAS", "11111111"},
              {"", "GALLEGO RUIZ, LUIS", "LENGUA", "22222222"},
              {"", "GAMEZ SOLER, PEDRO", "FÍSICA", primerDni},
              {"01/09/2020", "LOPEZ DIAZ, EVA", "LENGUA", "33333333"},
              {"", "SOLER PONS, MARTA", "FÍSICA", "44444444"}});
  }

  // Every interchange table left from an earlier run: one record with the mark ANTERIOR.
  void PrepararTablasAnteriores() {
    for (const std::string& tabla : kTablasIntercambio) {
      PrepararIntercambio(tabla, {{"MARCA", DataType::ftString, 10}}, {{"ANTERIOR"}});
    }
  }

  bool EsAnterior(const std::string& tabla) {
    return LeerIntercambio(tabla, {"MARCA"}) == Filas{{"ANTERIOR"}};
  }

  // The run as the application runs the button's handler: whether it ended without an error.
  bool Exportar(testing_support::InterfazGuionada& interfaz) {
    ContextoExportacion contexto{*engine_, *tablas_, Idioma::kCastellano};
    return run::EjecutarManejador(interfaz, [&] { exportacion::Exportar(contexto, interfaz); });
  }

  // Every field and record of the nine tables.
  std::map<std::string, Filas> Instantanea() {
    std::map<std::string, Filas> tablas;
    for (const std::string& tabla : kTablasIntercambio) {
      Table t(*engine_);
      t.SetTableName("C:\\HTEMP\\" + tabla + ".DBF");
      t.Open();
      Fila campos;
      for (const storage::FieldInfo& info : t.Fields()) {
        campos.push_back(info.name + " " + info.type + std::to_string(info.size) + "." + std::to_string(info.decimals));
      }
      t.Close();
      tablas[tabla] = LeerIntercambio(tabla);
      tablas[tabla].insert(tablas[tabla].begin(), campos);
    }
    return tablas;
  }

  static bool Existe(const std::string& ruta) { return platform::FileExists(ruta); }

  static std::vector<std::string> Columna(const Filas& filas, std::size_t i) {
    std::vector<std::string> columna;
    for (const Fila& fila : filas) columna.push_back(fila[i]);
    return columna;
  }
};

TEST_F(ExportacionCompletaTest, ARunShowsItsMessagesAroundTheSevenStepsInOrder) {
  PrepararEscuela();
  testing_support::InterfazGuionada interfaz;

  EXPECT_TRUE(Exportar(interfaz));

  EXPECT_EQ(interfaz.sucesos,
            (std::vector<std::string>{std::string("mensaje: ") + exportacion::kMensajeInicioExportacion,
                                      "cursor: espera", "paso: ExportarAsignaturas", "paso: ExportarProfesores",
                                      "paso: ExportarAulas", "paso: ExportarAlumnos", "paso: ExportarHorasCurso",
                                      "paso: ExportarGrupos", "paso: ExportarCargaLectiva", "cursor: normal",
                                      "mensaje:     Proceso finalizado    "}));
  EXPECT_EQ(std::string(exportacion::kMensajeInicioExportacion),
            "La duración de este Proceso será más larga, en función de la cantidad de datos que tengamos en nuestra "
            "ESCOLAN.");
  EXPECT_FALSE(interfaz.cursorEspera);
}

TEST_F(ExportacionCompletaTest, NothingChangesBeforeTheOpeningMessageIsClosed) {
  class InterfazQueMira : public testing_support::InterfazGuionada {
   public:
    std::function<void()> alMostrarMensaje;
    void MostrarMensaje(const std::string& texto) override {
      if (alMostrarMensaje) alMostrarMensaje();
      alMostrarMensaje = nullptr;
      InterfazGuionada::MostrarMensaje(texto);
    }
  };
  PrepararEscuela();
  PrepararTablasAnteriores();
  InterfazQueMira interfaz;
  std::vector<std::string> anterioresAlMensaje;
  interfaz.alMostrarMensaje = [&] {
    for (const std::string& tabla : kTablasIntercambio) {
      if (EsAnterior(tabla)) anterioresAlMensaje.push_back(tabla);
    }
  };

  EXPECT_TRUE(Exportar(interfaz));

  EXPECT_EQ(anterioresAlMensaje, kTablasIntercambio);
}

TEST_F(ExportacionCompletaTest, ACompleteRunWritesTheNineTablesThatFitTogether) {
  PrepararEscuela();
  // Index files left beside tables that have none are removed with them.
  for (const std::string& tabla : kTablasIntercambio) unidad_.WriteHostFile("HTEMP/" + tabla + ".MDX", "restos");
  testing_support::InterfazGuionada interfaz;

  ASSERT_TRUE(Exportar(interfaz));

  EXPECT_EQ(LeerIntercambio("ASIGVALT", {"COD", "NOMBRE", "CODVALEN", "NHORAS"}),
            (Filas{{"FIS", "Física", "2BACFIS", "4"}, {"MAT", "Matemáticas", "1ESOMAT", "4"}, {"LEN", "Lengua", "1ESOLEN", "3"}}));
  EXPECT_EQ(LeerIntercambio("ASIGNOMT", {"COD", "NOMBRE"}), (Filas{{"FIS", "Física"}, {"LEN", "Lengua"}, {"MAT", "Matemáticas"}}));
  EXPECT_EQ(LeerIntercambio("PROFT", {"ABREV", "DNI"}),
            (Filas{{"GA", "11111111"}, {"GA2", "22222222"}, {"GA3", "11111111"}, {"SO", "44444444"}}));
  EXPECT_EQ(LeerIntercambio("AULAT", {"ABREV"}), (Filas{{"A12"}, {"LAB"}}));
  EXPECT_EQ(LeerIntercambio("ALUMNOST", {"EXPED", "GRUPO", "REPITE", "ASIG1", "ASIG2", "ASIG3"}),
            (Filas{{"1234", "A", "T", "MAT", "LEN", ""}, {"1235", "B", "F", "LEN", "", ""}}));
  EXPECT_EQ(LeerIntercambio("ASIGCURT", {"ASIG", "HORAS"}), (Filas{{"LEN", "3"}, {"MAT", "4"}, {"FIS", "4"}}));
  EXPECT_EQ(LeerIntercambio("GRUPOST", {"ABREV"}), (Filas{{"EO1A"}, {"EO1B"}}));
  EXPECT_EQ(LeerIntercambio("CURSOST", {"ABREV"}), (Filas{{"ME1"}}));
  // The first DNI 11111111 in PROFT is GARCIA's.
  EXPECT_EQ(LeerIntercambio("ASIGT", {"CASIG", "CPROF", "CGRUP", "SESIONES"}),
            (Filas{{"MAT", "GA", "EO1A", "1111"}, {"LEN", "GA2", "EO1A", "111"}, {"MAT", "GA", "EO1B", "1111"}}));

  // Only ASIGVALT has an index, on COD and on CODVALEN.
  for (const std::string& tabla : kTablasIntercambio) {
    SCOPED_TRACE(tabla);
    EXPECT_EQ(Existe("C:\\HTEMP\\" + tabla + ".MDX"), tabla == "ASIGVALT");
  }
  EXPECT_EQ(Columna(LeerIntercambio("ASIGVALT", {"COD"}, "COD"), 0), (std::vector<std::string>{"FIS", "LEN", "MAT"}));
  EXPECT_EQ(Columna(LeerIntercambio("ASIGVALT", {"CODVALEN"}, "CODVALEN"), 0),
            (std::vector<std::string>{"1ESOLEN", "1ESOMAT", "2BACFIS"}));
}

TEST_F(ExportacionCompletaTest, TheTablesHaveTheGeneratorsLayout) {
  struct Definicion {
    std::string nombre;
    DataType tipo;
    int tamano;  // characters of text fields; not checked for the others
  };
  const DataType C = DataType::ftString, F = DataType::ftFloat, I = DataType::ftInteger, L = DataType::ftBoolean;
  std::vector<Definicion> alumnost = {{"EXPED", C, 20}, {"NOMBRE", C, 50}, {"TURNO", C, 1}, {"NIVEL", C, 5},
                                      {"CURSO", C, 3},  {"GRUPO", C, 2},   {"OPCION", C, 1}, {"REPITE", L, 0}};
  for (int n = 1; n <= 50; ++n) {
    alumnost.push_back({"ASIG" + std::to_string(n), C, 4});
    alumnost.push_back({"DIV" + std::to_string(n), C, 1});
  }
  const std::map<std::string, std::vector<Definicion>> disenos = {
      {"ASIGVALT",
       {{"COD", C, 4}, {"CODLARGO", C, 8}, {"NOMBRE", C, 40}, {"CODVALEN", C, 10}, {"NHORAS", F, 0}, {"NIVEL", C, 5},
        {"CURSO", C, 3}}},
      {"ASIGNOMT", {{"COD", C, 4}, {"CODLARGO", C, 8}, {"NOMBRE", C, 40}}},
      {"PROFT", {{"ABREV", C, 4}, {"NOMBRE", C, 40}, {"DEPART", C, 40}, {"DNI", I, 0}}},
      {"AULAT", {{"ABREV", C, 4}, {"NOMBRE", C, 40}, {"EDIFICIO", C, 1}, {"MAXALUM", I, 0}}},
      {"ALUMNOST", alumnost},
      {"ASIGCURT", {{"NIVEL", C, 5}, {"CURSO", C, 3}, {"ASIG", C, 4}, {"HORAS", F, 0}}},
      {"GRUPOST", {{"ABREV", C, 4}, {"TURNO", C, 1}, {"NIVEL", C, 5}, {"CURSO", C, 3}, {"GRUPO", C, 2}}},
      {"CURSOST", {{"ABREV", C, 3}, {"TURNO", C, 1}, {"NIVEL", C, 5}, {"CURSO", C, 3}}},
      {"ASIGT",
       {{"CASIG", C, 4}, {"CPROF", C, 4}, {"CGRUP", C, 4}, {"CAULA", C, 4}, {"TURNO", C, 1}, {"NIVEL", C, 5},
        {"CURSO", C, 3}, {"GRUPO", C, 2}, {"HORAS", F, 0}, {"SESIONES", C, 20}}},
  };
  PrepararEscuela();
  testing_support::InterfazGuionada interfaz;
  ASSERT_TRUE(Exportar(interfaz));

  for (const auto& [tabla, diseno] : disenos) {
    SCOPED_TRACE(tabla);
    Table t(*engine_);
    t.SetTableName("C:\\HTEMP\\" + tabla + ".DBF");
    t.Open();
    const std::vector<storage::FieldInfo>& campos = t.Fields();
    ASSERT_EQ(campos.size(), diseno.size());
    for (std::size_t i = 0; i < diseno.size(); ++i) {
      SCOPED_TRACE(diseno[i].nombre);
      EXPECT_EQ(campos[i].name, diseno[i].nombre);
      EXPECT_EQ(campos[i].dataType, diseno[i].tipo);
      if (diseno[i].tipo == C) {
        EXPECT_EQ(campos[i].size, diseno[i].tamano);
      }
    }
  }
}

TEST_F(ExportacionCompletaTest, TwoRunsOverTheSameDataGiveTheSameTables) {
  PrepararEscuela();
  testing_support::InterfazGuionada interfaz;
  ASSERT_TRUE(Exportar(interfaz));
  std::map<std::string, Filas> primera = Instantanea();

  ASSERT_TRUE(Exportar(interfaz));

  EXPECT_EQ(Instantanea(), primera);
}

TEST_F(ExportacionCompletaTest, AFailingTeacherStepEndsTheRunLeavingTheLaterTablesAsTheyWere) {
  PrepararEscuela();
  PrepararProfesores("X1");
  PrepararTablasAnteriores();
  testing_support::InterfazGuionada interfaz;

  EXPECT_FALSE(Exportar(interfaz));

  EXPECT_EQ(interfaz.sucesos,
            (std::vector<std::string>{std::string("mensaje: ") + exportacion::kMensajeInicioExportacion,
                                      "cursor: espera", "paso: ExportarAsignaturas", "paso: ExportarProfesores",
                                      "cursor: normal", "error: 'X1' no es un valor entero válido"}));
  EXPECT_FALSE(interfaz.cursorEspera);
  EXPECT_EQ(LeerIntercambio("ASIGVALT", {"COD"}), (Filas{{"FIS"}, {"MAT"}, {"LEN"}}));
  EXPECT_EQ(LeerIntercambio("ASIGNOMT", {"COD"}), (Filas{{"FIS"}, {"LEN"}, {"MAT"}}));
  EXPECT_EQ(LeerIntercambio("PROFT", {"ABREV", "NOMBRE"}),
            (Filas{{"GA", "GARCIA PEREZ, ANA"}, {"GA", "GALLEGO RUIZ, LUIS"}}));
  for (const char* tabla : {"AULAT", "ALUMNOST", "ASIGCURT", "GRUPOST", "CURSOST", "ASIGT"}) {
    EXPECT_TRUE(EsAnterior(tabla)) << tabla;
  }
}

TEST_F(ExportacionCompletaTest, ARunAfterAFailedOneWithTheDataCorrectedCompletes) {
  PrepararEscuela();
  PrepararProfesores("X1");
  testing_support::InterfazGuionada interfaz;
  ASSERT_FALSE(Exportar(interfaz));

  PrepararProfesores("55555555");
  EXPECT_TRUE(Exportar(interfaz)) << interfaz.sucesos.back();

  EXPECT_EQ(LeerIntercambio("PROFT", {"ABREV", "DNI"}),
            (Filas{{"GA", "11111111"}, {"GA2", "22222222"}, {"GA3", "55555555"}, {"SO", "44444444"}}));
  EXPECT_EQ(interfaz.sucesos.back(), "mensaje:     Proceso finalizado    ");
}

TEST_F(ExportacionCompletaTest, WithoutStagedSubjectsTheRunEndsWithTheSubjectTablesNewAndEmpty) {
  PrepararEscuela();
  ASSERT_TRUE(platform::RemoveFile("C:\\HTEMP\\VALENCIA\\asignat.dbf"));
  PrepararTablasAnteriores();
  testing_support::InterfazGuionada interfaz;

  EXPECT_FALSE(Exportar(interfaz));

  ASSERT_EQ(interfaz.sucesos.size(), 5u);
  EXPECT_EQ(interfaz.sucesos[3], "cursor: normal");
  EXPECT_EQ(interfaz.sucesos[4].rfind("error: ", 0), 0u);
  EXPECT_EQ(LeerIntercambio("ASIGVALT", {"COD"}), Filas{});
  EXPECT_EQ(LeerIntercambio("ASIGNOMT", {"COD"}), Filas{});
  for (const char* tabla : {"PROFT", "AULAT", "ALUMNOST", "ASIGCURT", "GRUPOST", "CURSOST", "ASIGT"}) {
    EXPECT_TRUE(EsAnterior(tabla)) << tabla;
  }
}

}  // namespace
}  // namespace exportacion_de_prueba
