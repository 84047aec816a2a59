// The timetables' printable page: the pairing of the two timetables, the period times, the clashes, the
// escaping of names, and the reading of a folder (with an unreadable timetable).
#include "horarios/horarios.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "storage/storage.h"
#include "tests/support/tablas_de_prueba.h"
#include "tests/support/temporary_drive.h"

namespace {

using horarios::Choque;
using horarios::Clase;
using horarios::Periodo;
using horarios::Periodos;
using horarios::RegistroHorgrup;
using horarios::RegistroHorprof;
using horarios::TipoChoque;
using storage::DataType;
using testing_support::Campos;

// ---------------------------------------------------------------------------------------------------------
// Pairing

TEST(EmparejarClases, EachGroupLessonTakesTheRoomOfItsTeachersRecordOfTheSameHourInOrder) {
  // Teacher 7 teaches two groups at day 1 period 2 (two records each); teacher 8's records are in another
  // order in horprof than in horgrup, as a folder edited by ESCOLAN may keep them.
  std::vector<RegistroHorgrup> horgrup = {
      {7, 1, 2, "1ESOA", "1ESOMAT", "09:00", "09:55"},
      {8, 3, 1, "1ESOB", "1ESOLEN", "", ""},
      {7, 1, 2, "1ESOB", "1ESOMAT", "09:00", "09:55"},
      {8, 2, 1, "1ESOA", "1ESOLEN", "", ""},
  };
  std::vector<RegistroHorprof> horprof = {
      {8, 2, 1, "A2", "08:00", "08:55"},
      {7, 1, 2, "A1", "", ""},
      {8, 3, 1, "A3", "08:00", "08:55"},
      {7, 1, 2, "A9", "", ""},
      {9, 5, 5, "LAB", "12:00", "12:55"},  // no group lesson of its own
  };
  std::vector<Clase> esperadas = {
      {7, 1, 2, "1ESOA", "1ESOMAT", "A1", "09:00", "09:55"},
      {8, 3, 1, "1ESOB", "1ESOLEN", "A3", "08:00", "08:55"},
      {7, 1, 2, "1ESOB", "1ESOMAT", "A9", "09:00", "09:55"},
      {8, 2, 1, "1ESOA", "1ESOLEN", "A2", "08:00", "08:55"},
      {9, 5, 5, "", "", "LAB", "12:00", "12:55"},
  };
  EXPECT_EQ(horarios::EmparejarClases(horgrup, horprof), esperadas);
}

TEST(EmparejarClases, AGroupLessonWithoutATeacherRecordHasNoRoom) {
  std::vector<Clase> clases = horarios::EmparejarClases({{7, 1, 1, "1ESOA", "1ESOMAT", "", ""}, {7, 1, 1, "1ESOB", "1ESOMAT", "", ""}},
                                                        {{7, 1, 1, "A1", "", ""}, {7, 1, 2, "A2", "", ""}});
  ASSERT_EQ(clases.size(), 3u);
  EXPECT_EQ(clases[0].aula, "A1");
  EXPECT_EQ(clases[1].aula, "");
  EXPECT_EQ(clases[2], (Clase{7, 1, 2, "", "", "A2", "", ""}));
}

// The pairing as its rule says it, slowly: each group lesson takes the first horprof record of its teacher,
// day and period not taken yet.
std::vector<Clase> EmparejarPorLaRegla(const std::vector<RegistroHorgrup>& horgrup,
                                       const std::vector<RegistroHorprof>& horprof) {
  std::vector<Clase> clases;
  std::vector<bool> tomado(horprof.size(), false);
  for (const RegistroHorgrup& g : horgrup) {
    Clase clase{g.dni, g.dia, g.hora, g.grupo, g.asignatura, "", g.desde, g.hasta};
    for (std::size_t i = 0; i < horprof.size(); ++i) {
      const RegistroHorprof& p = horprof[i];
      if (tomado[i] || p.dni != g.dni || p.dia != g.dia || p.hora != g.hora) continue;
      tomado[i] = true;
      clase.aula = p.aula;
      if (clase.desde.empty()) clase.desde = p.desde;
      if (clase.hasta.empty()) clase.hasta = p.hasta;
      break;
    }
    clases.push_back(clase);
  }
  for (std::size_t i = 0; i < horprof.size(); ++i) {
    if (!tomado[i]) clases.push_back({horprof[i].dni, horprof[i].dia, horprof[i].hora, "", "", horprof[i].aula,
                                      horprof[i].desde, horprof[i].hasta});
  }
  return clases;
}

// Tables that go record by record at the same hours for a while (as the import writes them) and then apart,
// the hours of the start coming again later: every record pairs as the rule says, whatever the mix.
TEST(EmparejarClases, TablesInStepAndThenApartPairAsTheRuleSays) {
  std::mt19937 azar(20261211);
  for (int vuelta = 0; vuelta < 300; ++vuelta) {
    auto hueco = [&] { return std::uniform_int_distribution<int>(0, 3)(azar); };
    std::vector<RegistroHorgrup> horgrup;
    std::vector<RegistroHorprof> horprof;
    int juntos = std::uniform_int_distribution<int>(0, 6)(azar);
    for (int n = 0; n < juntos; ++n) {
      int h = hueco();
      horgrup.push_back({7 + h % 2, 1, h, "G" + std::to_string(n), "S", "", "1"});
      horprof.push_back({7 + h % 2, 1, h, "A" + std::to_string(n), "0", "2"});
    }
    for (int n = std::uniform_int_distribution<int>(0, 6)(azar); n > 0; --n) {
      int h = hueco();
      horgrup.push_back({7 + h % 2, 1, h, "g" + std::to_string(n), "s", "", ""});
    }
    for (int n = std::uniform_int_distribution<int>(0, 6)(azar); n > 0; --n) {
      int h = hueco();
      horprof.push_back({7 + h % 2, 1, h, "a" + std::to_string(n), "", "3"});
    }
    ASSERT_EQ(horarios::EmparejarClases(horgrup, horprof), EmparejarPorLaRegla(horgrup, horprof)) << vuelta;
  }
}

// ---------------------------------------------------------------------------------------------------------
// Period times

TEST(HorasDePeriodos, EachEndComesFromTheLessonsThenLhortipoThenTheTemplate) {
  std::vector<Clase> clases = {
      {1, 1, 1, "G", "S", "", "", ""},            // period 1: no time in the lessons
      {1, 1, 2, "G", "S", "", "09:00", ""},       // period 2: a start only...
      {1, 2, 2, "G", "S", "", "09:05", "09:55"},  // ...then an end from a later lesson; its start is not taken
  };
  Periodos lhortipo = {{1, {"08:00", ""}}, {2, {"07:00", "07:55"}}, {3, {"", "11:00"}}};
  Periodos plantilla = {{1, {"06:00", "08:55"}}, {3, {"10:00", "10:30"}}, {4, {"11:00", "11:55"}}};
  Periodos esperados = {
      {1, {"08:00", "08:55"}}, {2, {"09:00", "09:55"}}, {3, {"10:00", "11:00"}}, {4, {"11:00", "11:55"}}};
  EXPECT_EQ(horarios::HorasDePeriodos(clases, lhortipo, plantilla), esperados);
}

// ---------------------------------------------------------------------------------------------------------
// Clashes

struct CasoChoque {
  const char* nombre;
  std::vector<Clase> clases;
  std::vector<std::pair<TipoChoque, std::string>> choques;
};

class BuscarChoques : public ::testing::TestWithParam<CasoChoque> {};

TEST_P(BuscarChoques, FindsEveryOneInTwoPlacesAtOnceAndNothingElse) {
  std::vector<std::pair<TipoChoque, std::string>> encontrados;
  for (const Choque& choque : horarios::BuscarChoques(GetParam().clases)) encontrados.emplace_back(choque.tipo, choque.quien);
  EXPECT_EQ(encontrados, GetParam().choques);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, BuscarChoques,
    ::testing::Values(
        CasoChoque{"NoneWhenEveryoneIsInOnePlace",
                   {{1, 1, 1, "1A", "M", "A1", "", ""}, {2, 1, 1, "1B", "L", "A2", "", ""}, {1, 1, 2, "1B", "M", "A1", "", ""}},
                   {}},
        CasoChoque{"GroupsTaughtTogetherByOneTeacherInOneRoomAreNone",
                   {{1, 1, 1, "1A", "M", "A1", "", ""}, {1, 1, 1, "1B", "M", "A1", "", ""}},
                   {}},
        CasoChoque{"ATeacherInTwoRoomsIsOneAndSoAreTheGroupAndNotTheRooms",
                   {{1, 3, 4, "1A", "M", "A1", "", ""}, {1, 3, 4, "1A", "M", "A2", "", ""}},
                   {{TipoChoque::kProfesor, "1"}, {TipoChoque::kGrupo, "1A"}}},
        CasoChoque{"ATeacherWithTwoSubjectsAtOnceIsOneEvenWithoutRooms",
                   {{1, 3, 4, "1A", "M", "", "", ""}, {1, 3, 4, "1B", "L", "", "", ""}},
                   {{TipoChoque::kProfesor, "1"}}},
        CasoChoque{"ARoomWithTwoTeachersIsOne",
                   {{1, 2, 2, "1A", "M", "A1", "", ""}, {2, 2, 2, "1B", "L", "A1", "", ""}},
                   {{TipoChoque::kAula, "A1"}}},
        CasoChoque{"AGroupWithTwoTeachersIsOne",
                   {{1, 2, 2, "1A", "M", "A1", "", ""}, {2, 2, 2, "1A", "L", "A2", "", ""}},
                   {{TipoChoque::kGrupo, "1A"}}},
        CasoChoque{"AnUnknownTeacherAnEmptyGroupAndAnEmptyRoomClashWithNothing",
                   {{0, 1, 1, "", "", "", "", ""}, {0, 1, 1, "", "", "A1", "", ""}, {0, 1, 1, "1A", "M", "", "", ""}},
                   {}},
        CasoChoque{"TheSameHourOfAnotherDayIsNone",
                   {{1, 1, 1, "1A", "M", "A1", "", ""}, {1, 2, 1, "1A", "M", "A2", "", ""}},
                   {}}),
    [](const ::testing::TestParamInfo<CasoChoque>& caso) { return std::string(caso.param.nombre); });

// A room the school does not have (a code cut to the one letter of a narrow Ocupa) is no room: teachers in
// "A" at once clash with nothing, while a room it has still does.
TEST(BuscarChoquesConAulas, ARoomTheSchoolDoesNotHaveCountsForNothing) {
  std::map<std::string, std::string> aulas = {{"A101", "Aula 101"}, {"A102", "Aula 102"}};
  std::vector<Clase> clases = {{1, 1, 1, "1A", "M", "A", "", ""},    {2, 1, 1, "1B", "L", "A", "", ""},
                               {1, 1, 2, "1A", "M", "A101", "", ""}, {1, 1, 2, "1A", "M", "A", "", ""},
                               {3, 1, 3, "1C", "M", "A102", "", ""}, {4, 1, 3, "2C", "L", "A102", "", ""}};
  std::vector<std::pair<TipoChoque, std::string>> encontrados;
  for (const Choque& choque : horarios::BuscarChoques(clases, aulas)) encontrados.emplace_back(choque.tipo, choque.quien);
  EXPECT_EQ(encontrados, (std::vector<std::pair<TipoChoque, std::string>>{
                             {TipoChoque::kProfesor, "1"}, {TipoChoque::kGrupo, "1A"}, {TipoChoque::kAula, "A102"}}));
}

// ---------------------------------------------------------------------------------------------------------
// The page

TEST(EscaparHtml, WritesTheFiveSpecialCharactersAsEntitiesAndLeavesTheRest) {
  EXPECT_EQ(horarios::EscaparHtml("<b>Pérez & \"Hijos\" d'Alba</b>"),
            "&lt;b&gt;Pérez &amp; &quot;Hijos&quot; d&#39;Alba&lt;/b&gt;");
  EXPECT_EQ(horarios::EscaparHtml(""), "");
}

TEST(PaginaHtml, NamesFromTheTablesAreEscapedWherePeopleAndAttributesSeeThem) {
  horarios::HorarioCentro horario;
  horario.centro = "46001";
  horario.nombreCentro = "IES <Sol> & 'Luna'";
  horario.clases = {{7, 1, 1, "1E\"A", "X<Y", "A&1", "08:00", "08:55"}};
  horario.periodos = {{1, {"08:00", "08:55"}}};
  horario.asignaturas = {{"X<Y", "Física & <Química>"}};
  horario.profesores = {{7, "O'BRIEN, \"ANA\""}};
  horario.aulas = {{"A&1", "Aula <1>"}};
  std::string pagina = horarios::PaginaHtml(horario);
  for (const char* escapado : {"IES &lt;Sol&gt; &amp; &#39;Luna&#39;", "Física &amp; &lt;Química&gt;",
                               "O&#39;BRIEN, &quot;ANA&quot;", "Aula &lt;1&gt;", "data-grupo=\"1E&quot;A\"",
                               "data-aula=\"A&amp;1\"", "data-asig=\"X&lt;Y\""}) {
    EXPECT_NE(pagina.find(escapado), std::string::npos) << escapado;
  }
  for (const char* crudo : {"<Sol>", "<Química>", "O'BRIEN", "<1>", "1E\"A", "X<Y"}) {
    EXPECT_EQ(pagina.find(crudo), std::string::npos) << crudo;
  }
  EXPECT_EQ(pagina.find("<script"), std::string::npos);
  EXPECT_NE(pagina.find("@page { size: A4 landscape"), std::string::npos);
}

// The index's links, in order, of those whose target starts with `prefijo` ("#grupo-", "#profesor-").
std::vector<std::string> Enlaces(const std::string& pagina, const std::string& prefijo) {
  std::vector<std::string> textos;
  std::string inicio = "<li><a href=\"" + prefijo;
  for (std::size_t en = pagina.find(inicio); en != std::string::npos; en = pagina.find(inicio, en + 1)) {
    std::size_t desde = pagina.find("\">", en) + 2;
    textos.push_back(pagina.substr(desde, pagina.find("</a>", desde) - desde));
  }
  return textos;
}

// Groups by code, the lessons without one last; teachers by name, one name by identity number, those with no
// name by theirs ("D.N.I. n" sorts among the names), the lessons without a teacher last.
TEST(PaginaHtml, GroupsAndTeachersComeInTheIndexInTheirOrder) {
  horarios::HorarioCentro horario;
  for (auto [dni, grupo] : std::vector<std::pair<std::int32_t, std::string>>{
           {30, "2B"}, {0, "10A"}, {12, ""}, {30, "1A"}, {11, "2B"}, {40, "1A"}, {12, "2B"}, {9, "1A"}, {30, "10A"}}) {
    horario.clases.push_back({dni, 1, 1, grupo, "MAT", "", "", ""});
  }
  horario.profesores = {{30, "PÉREZ"}, {11, "ABAD"}, {12, "PÉREZ"}, {9, ""}};
  std::string pagina = horarios::PaginaHtml(horario);
  EXPECT_EQ(Enlaces(pagina, "#grupo-"), (std::vector<std::string>{"10A", "1A", "2B", "Sin grupo"}));
  EXPECT_EQ(Enlaces(pagina, "#profesor-"), (std::vector<std::string>{"ABAD", "D.N.I. 40", "D.N.I. 9", "PÉREZ", "PÉREZ",
                                                                     "Sin profesor (D.N.I. 0)"}));
  EXPECT_NE(pagina.find("<a href=\"#profesor-4\">PÉREZ</a></td><td>2<"), std::string::npos);  // 12 before 30
  EXPECT_NE(pagina.find("<a href=\"#profesor-5\">PÉREZ</a></td><td>3<"), std::string::npos);
}

// A lesson in clashes of several kinds is marked with each kind, in the order of the summary, in both grids.
TEST(PaginaHtml, ALessonIsMarkedWithEveryKindOfClashItIsIn) {
  horarios::HorarioCentro horario;
  horario.clases = {{7, 1, 1, "G1", "M", "A1", "", ""},   // teacher 7 and group G1 in two rooms, room A1 with two
                    {7, 1, 1, "G1", "M", "A2", "", ""},   // teachers
                    {8, 1, 1, "G2", "M", "A1", "", ""},
                    {8, 2, 1, "G2", "M", "A1", "", ""}};  // no clash
  std::string pagina = horarios::PaginaHtml(horario);
  auto veces = [&](const std::string& texto) {
    std::size_t cuantas = 0;
    for (std::size_t en = pagina.find(texto); en != std::string::npos; en = pagina.find(texto, en + 1)) ++cuantas;
    return cuantas;
  };
  EXPECT_EQ(veces("⚠ Choque: Profesor, Grupo, Aula</span>"), 2U);
  EXPECT_EQ(veces("⚠ Choque: Profesor, Grupo</span>"), 2U);
  EXPECT_EQ(veces("⚠ Choque: Aula</span>"), 2U);
  EXPECT_EQ(veces("<div class=\"clase\" "), 2U);
}

// Written to its file in parts, the page is the same bytes: whatever the size of the parts, and in one part
// when they are larger than the page.
TEST(PaginaHtmlPorPartes, ThePartsPutTogetherAreTheWholePage) {
  horarios::HorarioCentro horario;
  horario.centro = "46001";
  horario.clases = {{7, 1, 1, "1ESOA", "MAT", "A1", "08:00", "08:55"},
                    {8, 1, 1, "1ESOA", "LEN", "A1", "08:00", "08:55"},
                    {8, 2, 3, "", "", "", "", ""},
                    {0, 6, 2, "1ESOB", "MAT", "A2", "", ""}};
  horario.profesores = {{7, "ANA"}, {8, "LUIS"}};
  std::string entera = horarios::PaginaHtml(horario);
  for (std::size_t tamano : {std::size_t{1}, std::size_t{1000}, entera.size() * 2}) {
    std::string juntas;
    std::size_t partes = 0;
    horarios::PaginaHtmlPorPartes(horario, tamano, [&](std::string_view parte) {
      EXPECT_FALSE(parte.empty());
      juntas += parte;
      ++partes;
    });
    EXPECT_EQ(juntas, entera) << tamano;
    if (tamano > entera.size()) {
      EXPECT_EQ(partes, 1U);
    }
    if (tamano == 1) {
      EXPECT_GT(partes, 4U);
    }
  }
}

// ---------------------------------------------------------------------------------------------------------
// Reading a folder

class LeerHorario : public ::testing::Test {
 protected:
  void Tabla(const std::string& ruta, const Campos& campos, const testing_support::Filas& filas) {
    testing_support::CrearTabla(engine_, ruta, campos, filas);
  }

  testing_support::TemporaryDrive unidad_;
  storage::Engine engine_{'.'};
};

const Campos kHorgrup = {{"DIASEM", DataType::ftSmallint},     {"NUMHORA", DataType::ftSmallint},
                         {"HORDIADES", DataType::ftString, 5}, {"HORDIAHAS", DataType::ftString, 5},
                         {"CODCEN", DataType::ftFloat},        {"DNI", DataType::ftInteger},
                         {"CODGRUP", DataType::ftString, 5},   {"CODASIG", DataType::ftString, 8}};
const Campos kHorprof = {{"DIASEM", DataType::ftSmallint}, {"NUMHORA", DataType::ftSmallint},
                         {"HORAD", DataType::ftString, 5}, {"HORAH", DataType::ftString, 5},
                         {"OCUPA", DataType::ftString, 5}, {"CODCEN", DataType::ftFloat},
                         {"DNI", DataType::ftInteger}};

TEST_F(LeerHorario, TakesTheCentresLessonsWithTheirNamesAndLeavesTheFolderAsItWas) {
  unidad_.MakeHostFolder("ESCOLAN");
  Tabla("C:\\ESCOLAN\\horgrup.dbf", kHorgrup,
        {{"1", "1", "", "", "46001", "7", "1ESOA", "1ESOMAT"}, {"2", "1", "", "", "46002", "8", "1ESOB", "1ESOLEN"}});
  Tabla("C:\\ESCOLAN\\horprof.dbf", kHorprof, {{"1", "1", "", "", "A1", "46001", "7"}, {"2", "1", "", "", "A2", "46002", "8"}});
  Tabla("C:\\ESCOLAN\\lhortipo.dbf",
        {{"CODCEN", DataType::ftFloat}, {"NUMHORA", DataType::ftSmallint}, {"DESDE", DataType::ftString, 8}, {"HASTA", DataType::ftString, 8}},
        {{"46001", "1", "08:00:00", "08:55"}, {"46002", "1", "09:00", "09:55"}});
  Tabla("C:\\ESCOLAN\\profesor.dbf", {{"APENOMPROF", DataType::ftString, 40}, {"DNI", DataType::ftInteger}},
        {{"GARCÍA PÉREZ, ANA", "7"}});
  Tabla("C:\\ESCOLAN\\asignat.dbf", {{"CODASIG", DataType::ftString, 8}, {"VLITEASIG", DataType::ftString, 30}, {"CLITEASIG", DataType::ftString, 30}},
        {{"1ESOMAT", "Matemàtiques", "Matemáticas"}});
  Tabla("C:\\ESCOLAN\\centro.dbf", {{"CODCEN", DataType::ftFloat}, {"LITCEN", DataType::ftString, 45}},
        {{"46001", "IES Uno"}, {"46002", "IES Dos"}});
  std::string antes = unidad_.ReadHostFile("ESCOLAN/horgrup.dbf");

  storage::Engine engine;
  EXPECT_EQ(horarios::CentrosDeCarpeta(engine, "C:\\ESCOLAN"), (std::vector<std::string>{"46001", "46002"}));
  horarios::HorarioCentro horario = horarios::LeerHorario(engine, "C:\\ESCOLAN", "46001");
  EXPECT_EQ(horario.clases, (std::vector<Clase>{{7, 1, 1, "1ESOA", "1ESOMAT", "A1", "", ""}}));
  EXPECT_EQ(horario.periodos, (Periodos{{1, {"08:00", "08:55"}}}));
  EXPECT_EQ(horario.nombreCentro, "IES Uno");
  EXPECT_EQ(horario.profesores.at(7), "GARCÍA PÉREZ, ANA");
  EXPECT_EQ(horario.asignaturas.at("1ESOMAT"), "Matemáticas");
  EXPECT_EQ(unidad_.ReadHostFile("ESCOLAN/horgrup.dbf"), antes);
  EXPECT_FALSE(platform::FileExists("C:\\HTEMP\\VALENCIA\\horgrup.dbf"));  // nothing staged
}

// ESCOLAN's own horprof may keep the room in CODAULA and a letter in a one-character Ocupa: the room is
// CODAULA's where it has one, and the page warns that an import would cut rooms to that one letter.
TEST_F(LeerHorario, TheRoomIsCodaulasWhereItHasOneAndANarrowOcupaIsWarnedOf) {
  unidad_.MakeHostFolder("ESCOLAN");
  Tabla("C:\\ESCOLAN\\horgrup.dbf", kHorgrup,
        {{"1", "1", "", "", "46001", "7", "1ESOA", "1ESOMAT"}, {"1", "2", "", "", "46001", "7", "1ESOA", "1ESOMAT"}});
  Tabla("C:\\ESCOLAN\\horprof.dbf",
        {{"DIASEM", DataType::ftSmallint}, {"NUMHORA", DataType::ftSmallint}, {"OCUPA", DataType::ftString, 1},
         {"CODAULA", DataType::ftString, 6}, {"CODCEN", DataType::ftFloat}, {"DNI", DataType::ftInteger}},
        {{"1", "1", "L", "A101", "46001", "7"}, {"1", "2", "A", "", "46001", "7"}});
  Tabla("C:\\ESCOLAN\\aulas.dbf", {{"CODAULA", DataType::ftString, 6}, {"LITAULA", DataType::ftString, 30}},
        {{"A101", "Aula 101"}});
  storage::Engine engine;
  horarios::HorarioCentro horario = horarios::LeerHorario(engine, "C:\\ESCOLAN", "46001");
  ASSERT_EQ(horario.clases.size(), 2U);
  EXPECT_EQ(horario.clases[0].aula, "A101");
  EXPECT_EQ(horario.clases[1].aula, "A");
  EXPECT_EQ(horario.avisos,
            (std::vector<std::string>{
                "1 clase tiene un aula que no está en aulas.dbf («A»); no cuenta para los choques de aulas.",
                "El campo OCUPA de horprof.dbf tiene 1 carácter y hay aulas de 4: la importación guarda en él el aula "
                "cortada."}));
  EXPECT_NE(horarios::PaginaHtml(horario).find("<p class=\"aviso\">El campo OCUPA"), std::string::npos);
}

// A folder's timetables may mix centres record by record, and leave Codcen blank: each record is the
// centre's only when its own Codcen reads as the centre's code, whether the field is a number or text.
TEST_F(LeerHorario, EachRecordIsTheCentresWhenItsOwnCodcenIs) {
  unidad_.MakeHostFolder("ESCOLAN");
  const std::vector<std::string> codigos = {"46001", "46002", "46002", "46001", "", "46001", "460010", "46001"};
  testing_support::Filas horgrup, horprof;
  std::vector<Clase> esperadas;
  for (std::size_t n = 0; n < codigos.size(); ++n) {
    std::string dni = std::to_string(n + 1);
    horgrup.push_back({"1", "1", "", "", codigos[n], dni, "G", "MAT"});
    horprof.push_back({"1", "1", "", "", "A1", codigos[n], dni});
    if (codigos[n] == "46001") esperadas.push_back({static_cast<std::int32_t>(n + 1), 1, 1, "G", "MAT", "A1", "", ""});
  }
  Tabla("C:\\ESCOLAN\\horgrup.dbf", kHorgrup, horgrup);
  Campos horprofTexto = kHorprof;
  horprofTexto[5] = {"CODCEN", DataType::ftString, 6};  // ESCOLAN's own tables keep a number there
  Tabla("C:\\ESCOLAN\\horprof.dbf", horprofTexto, horprof);
  storage::Engine engine;
  EXPECT_EQ(horarios::LeerHorario(engine, "C:\\ESCOLAN", "46001").clases, esperadas);
  EXPECT_EQ(horarios::LeerHorario(engine, "C:\\ESCOLAN", "46002").clases.size(), 2U);
  EXPECT_EQ(horarios::LeerHorario(engine, "C:\\ESCOLAN", "").clases.size(), codigos.size());
}

// The page goes to its file part by part: a write that fails leaves no part of a page behind, and the
// failure is the caller's to tell.
TEST_F(LeerHorario, APageThatCannotBeWrittenWholeLeavesNoFile) {
  unidad_.MakeHostFolder("ESCOLAN");
  Tabla("C:\\ESCOLAN\\horgrup.dbf", kHorgrup, {{"1", "1", "", "", "46001", "7", "1ESOA", "1ESOMAT"}});
  Tabla("C:\\ESCOLAN\\horprof.dbf", kHorprof, {{"1", "1", "", "", "A1", "46001", "7"}});
  int escrituras = 0;
  platform::SetFileOperationHook([&](platform::FileOperation operacion, std::string_view) {
    if (operacion == platform::FileOperation::kWrite && ++escrituras == 1) throw platform::FileError(platform::kDiskFull);
  });
  storage::Engine engine;
  EXPECT_THROW(horarios::EscribirPaginaHorarios(engine, "C:\\ESCOLAN", "46001", "C:\\horarios.html"),
               platform::FileError);
  platform::SetFileOperationHook(nullptr);
  EXPECT_EQ(escrituras, 1);
  EXPECT_FALSE(platform::FileExists("C:\\horarios.html"));
}

TEST_F(LeerHorario, AFolderWithoutItsGroupTimetableIsTheTableLayersError) {
  unidad_.MakeHostFolder("ESCOLAN");
  Tabla("C:\\ESCOLAN\\horprof.dbf", kHorprof, {});
  storage::Engine engine;
  try {
    horarios::LeerHorario(engine, "C:\\ESCOLAN", "46001");
    FAIL() << "no error";
  } catch (const storage::DatabaseError& error) {
    EXPECT_STREQ(error.what(), "La tabla no existe: C:\\ESCOLAN\\horgrup.dbf");
  }
}

}  // namespace
