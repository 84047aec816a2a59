// What the seven steps share: the language of subject names, cutting codes and names by characters, trimming,
// and the form in which a text reads back from an interchange table, against which the steps find what they
// already wrote.
#include "export/pasos.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/export/exportacion_de_prueba.h"

namespace exportacion_de_prueba {
namespace {

// The text of the language box is read once into a language, and the language names the field of asignat
// that the subject names come from: only the box's own spelling of Castilian chooses it.
TEST(PasosTest, OnlyTheExactTextCastellanoChoosesTheCastilianNameField) {
  using exportacion::Idioma;
  struct Caso {
    std::string texto;
    Idioma idioma;
    std::string campo;
  };
  const std::vector<Caso> casos = {
      {"CASTELLANO", Idioma::kCastellano, "Cliteasig"},  {"VALENCIÁ", Idioma::kValenciano, "Vliteasig"},
      {"castellano", Idioma::kValenciano, "Vliteasig"},  {"Castellano", Idioma::kValenciano, "Vliteasig"},
      {" CASTELLANO", Idioma::kValenciano, "Vliteasig"}, {"CASTELLANO ", Idioma::kValenciano, "Vliteasig"},
      {"CASTELLANOS", Idioma::kValenciano, "Vliteasig"}, {"CASTELLAN", Idioma::kValenciano, "Vliteasig"},
      {"", Idioma::kValenciano, "Vliteasig"},            {"INGLÉS", Idioma::kValenciano, "Vliteasig"},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE("texto '" + caso.texto + "'");
    Idioma idioma = exportacion::LeerIdioma(caso.texto);
    EXPECT_EQ(idioma, caso.idioma);
    EXPECT_EQ(exportacion::CampoNombreAsignatura(idioma), caso.campo);
  }
}

// Codes and names are cut by characters, not bytes: an accented letter is one character of two bytes.
TEST(PasosTest, CodesAreCutByCharacters) {
  struct Caso {
    std::string codigo;
    std::string nivel;
    std::string curso;
    std::string letra;
    std::string abreviatura;
  };
  const std::vector<Caso> casos = {
      {"1ESOA", "ESO", "1", "A", "EO1A"},
      {"1ÉSÓA", "ÉSÓ", "1", "A", "ÉÓ1A"},
      {"ÑBACÇ", "BAC", "Ñ", "Ç", "BCÑÇ"},
      {"1Ú", "Ú", "1", "Ú", "Ú1Ú"},
      {"Ñ", "", "Ñ", "Ñ", "ÑÑ"},
      {"", "", "", "", ""},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE("código '" + caso.codigo + "'");
    exportacion::CodigoGrupo grupo = exportacion::CortarCodigoGrupo(caso.codigo);
    EXPECT_EQ(grupo.nivel, caso.nivel);
    EXPECT_EQ(grupo.curso, caso.curso);
    EXPECT_EQ(grupo.letra, caso.letra);
    EXPECT_EQ(exportacion::AbreviaturaGrupo(grupo), caso.abreviatura);
  }
  EXPECT_EQ(exportacion::Caracteres("ÑUÑEZ", 1, 2), "ÑU");
  EXPECT_EQ(exportacion::Caracteres("ÑUÑEZ", 3, 9), "ÑEZ");
  EXPECT_EQ(exportacion::Caracteres("ÑU", 3, 1), "");
}

// The teacher abbreviations as the export's comparison of every record with every other leaves them.
TEST(PasosTest, AbbreviationsAreMadeDistinctInStoredOrder) {
  using V = std::vector<std::string>;
  struct Caso {
    V antes;
    V despues;
  };
  const std::vector<Caso> casos = {
      {{"GA", "GA", "LO", "GA"}, {"GA", "GA2", "LO", "GA3"}},
      {{"Ga", "GA"}, {"Ga", "GA"}},
      {{"", ""}, {"", "2"}},
      // A natural abbreviation equal to a suffixed one: the later round separates them again.
      {{"GA", "GA", "GA2"}, {"GA", "GA2", "GA22"}},
      // Four characters take no digit: they stay repeated.
      {{"ABCD", "ABCD"}, {"ABCD", "ABCD"}},
  };
  for (const Caso& caso : casos) {
    EXPECT_EQ(exportacion::AbreviaturasDistintas(caso.antes), caso.despues);
  }
  // The hundredth of a set gets its suffix cut to two digits, the tenth's abbreviation, and keeps it.
  V cien = exportacion::AbreviaturasDistintas(V(100, "GA"));
  EXPECT_EQ(cien[9], "GA10");
  EXPECT_EQ(cien[99], "GA10");
  EXPECT_EQ(cien[98], "GA99");
}

TEST(PasosTest, TrimmingTakesBlanksAndControlsFromTheEndsOnly) {
  struct Caso {
    std::string texto;
    std::string recortado;
  };
  const std::vector<Caso> casos = {
      {"  1ESOMAT  ", "1ESOMAT"}, {"\t\r\n1ESOMAT\x01", "1ESOMAT"}, {"1ESO MAT", "1ESO MAT"},
      {"   ", ""},                {"", ""},
      // The bytes of a letter outside ASCII are above code 127, not controls.
      {"Ñ", "Ñ"},                 {" ÀÑ ", "ÀÑ"},                  {"€", "€"},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE("'" + caso.texto + "'");
    EXPECT_EQ(exportacion::SinBlancosNiControles(caso.texto), caso.recortado);
  }
}

// The steps find a record they already wrote by comparing what they are about to write, in the form
// ComoSeLee gives it, with what earlier records read back: the two must agree for every text.
using ComoSeLeeTest = ExportacionTest;

TEST_F(ComoSeLeeTest, ATextReadsBackFromAnInterchangeTableAsComoSeLeeSays) {
  struct Caso {
    std::string texto;
    int tamano;
  };
  const std::vector<Caso> casos = {
      {"MAT", 4},        {"MAT ", 4},    {"  MA", 4},      {"MATEMÁTICAS", 4}, {"AB CD", 3},     {"ÉSÓ", 5},
      {"Ñ", 1},          {"ÑU ÑE", 3},   {"€uro", 4},      {"Ωmega", 5},       {"漢字", 4},      {"", 4},
      {"    ", 4},       {"A\tB", 4},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE("'" + caso.texto + "' in " + std::to_string(caso.tamano) + " characters");
    exportacion::BorrarTablaIntercambio(*engine_, "PRUEBA");
    Table tabla(*engine_);
    exportacion::DefinirTablaIntercambio(tabla, "PRUEBA", {{"TEXTO", DataType::ftString, caso.tamano}});
    tabla.CreateTable();
    tabla.Open();
    tabla.Append();
    tabla.SetAsString("TEXTO", caso.texto);
    tabla.Post();
    tabla.Close();

    EXPECT_EQ(LeerIntercambio("PRUEBA", {"TEXTO"}),
              (Filas{{exportacion::ComoSeLee(caso.texto, static_cast<std::size_t>(caso.tamano))}}));
  }
}

}  // namespace
}  // namespace exportacion_de_prueba
