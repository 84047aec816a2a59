// The export's rules on single values, without tables: how its steps read the language of subject names, cut
// codes, read hours, make teacher abbreviations distinct and where their tables run out of room. The steps
// apply them; whoever needs to know beforehand what the steps will make of a school's data (the review before
// an export) applies the same ones.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace exportacion {

// The languages of subject names: ESCOLAN keeps a Valencian (Vliteasig) and a Castilian (Cliteasig) name for
// each subject.
enum class Idioma { kValenciano, kCastellano };

// The languages as the window's language box lists them; the box starts on Valencian.
inline constexpr const char* kTextoValenciano = "VALENCIÁ";
inline constexpr const char* kTextoCastellano = "CASTELLANO";
inline constexpr std::array<const char*, 2> kIdiomas{kTextoValenciano, kTextoCastellano};

// The language that a text of the box chooses: Castilian for kTextoCastellano exactly (letter case and blanks
// included), Valencian for any other text, typed or empty.
Idioma LeerIdioma(std::string_view textoDeLaCaja);
// The field of asignat that holds a subject's name in that language: Cliteasig or Vliteasig.
const char* CampoNombreAsignatura(Idioma idioma);

// Characters `desde` (1-based) to `desde + cuantos - 1` of a text, counted in characters; shorter or empty
// where the text ends before.
std::string Caracteres(std::string_view texto, std::size_t desde, std::size_t cuantos);
std::string UltimoCaracter(std::string_view texto);

// ESCOLAN's group code cut apart: level (characters 2 to 4), course (character 1), group letter (the last).
struct CodigoGrupo {
  std::string nivel;
  std::string curso;
  std::string letra;
  // Whether the steps that skip a group (the student and the group export) take this one: a level and a
  // course, so a code of two characters at least.
  bool Completo() const { return !nivel.empty() && !curso.empty(); }
};
CodigoGrupo CortarCodigoGrupo(std::string_view codgrup);
// The group abbreviation: level characters 1 and 3, course, group letter.
std::string AbreviaturaGrupo(const CodigoGrupo& grupo);

// A text as it reads back from a text field of `tamano` characters of the tables the export creates: in
// their code page, cut to the field, without trailing blanks. Duplicate tests compare what was read back
// from a table with texts computed afresh, so they compare against this form.
std::string ComoSeLee(std::string_view texto, std::size_t tamano);

// A text without the blanks and control characters (every character up to code 32) at either end.
std::string_view SinBlancosNiControles(std::string_view texto);

// The weekly hours of a subject from its hours text (asignat's Horsemte): its first two characters as a
// number, with `separadorDecimal` as decimal separator; blank gives 1, and so does a number that is not above
// 0. Two characters that are no number throw storage::DatabaseError with the conversion's message.
double HorasSemanales(std::string_view horsemte, char separadorDecimal);

// Sizes of the interchange fields that the later lookups compare: ASIGVALT's CODVALEN (ESCOLAN's subject
// code), PROFT's ABREV (the teacher abbreviation), ALUMNOST's EXPED (the student code).
inline constexpr std::size_t kTamanoCodvalen = 10;
inline constexpr std::size_t kTamanoAbreviatura = 4;
inline constexpr std::size_t kTamanoExpediente = 20;

// ALUMNOST has room for this many subjects per student, in the fields ASIG1, DIV1 ... ASIG50, DIV50.
inline constexpr int kAsignaturasPorAlumno = 50;
// The field of a student's n-th subject ("ASIG7"): the 51st names a field that ALUMNOST does not have.
std::string CampoAsignatura(int n);

// The teacher abbreviations (as PROFT reads them back, in its stored order) made distinct as the teacher
// export makes them: each later holder of an abbreviation gets 2, 3, ... added, cut to the field's four
// characters. An abbreviation that cannot take a digit, and one whose cut suffix repeats another, stays
// repeated.
std::vector<std::string> AbreviaturasDistintas(std::vector<std::string> abreviaturas);

}  // namespace exportacion
