#include "export/pasos.h"

#include <map>
#include <set>

#include "platform/platform.h"
#include "run/rutas.h"
#include "storage/code_page.h"
#include "storage/conversions.h"
#include "util/ascii.h"

namespace exportacion {

void BorrarTablaIntercambio(storage::Engine& engine, std::string_view tabla) {
  engine.Release(run::RutaIntercambio(tabla));
  platform::RemoveFile(run::RutaIntercambio(tabla));
  platform::RemoveFile(run::EnCarpeta(run::kCarpetaIntercambio, run::ArchivoMdx(tabla)));
}

void DirigirAIntercambio(storage::Table& tabla, std::string_view nombre) {
  tabla.SetDatabaseName(std::string(run::kCarpetaIntercambio));
  tabla.SetTableName(run::ArchivoDbf(nombre));
  tabla.SetDbfExtensionImplied(true);
}

void DefinirTablaIntercambio(storage::Table& tabla, std::string_view nombre, const std::vector<Campo>& campos,
                             const std::vector<std::string>& indices) {
  DirigirAIntercambio(tabla, nombre);
  tabla.ClearFieldDefs();
  for (const Campo& campo : campos) tabla.AddFieldDef(campo.nombre, campo.tipo, campo.tamano);
  tabla.ClearIndexDefs();
  for (const std::string& indice : indices) tabla.AddIndexDef(indice, indice);
}

Idioma LeerIdioma(std::string_view textoDeLaCaja) {
  return textoDeLaCaja == kTextoCastellano ? Idioma::kCastellano : Idioma::kValenciano;
}

const char* CampoNombreAsignatura(Idioma idioma) {
  return idioma == Idioma::kCastellano ? "Cliteasig" : "Vliteasig";
}

std::string Caracteres(std::string_view texto, std::size_t desde, std::size_t cuantos) {
  std::string_view antes = storage::FirstCharacters(texto, desde - 1);
  std::string_view resto = texto.substr(antes.size());
  return std::string(storage::FirstCharacters(resto, cuantos));
}

std::string UltimoCaracter(std::string_view texto) {
  std::size_t cuantos = storage::CharacterCount(texto);
  return cuantos == 0 ? std::string() : Caracteres(texto, cuantos, 1);
}

CodigoGrupo CortarCodigoGrupo(std::string_view codgrup) {
  return CodigoGrupo{Caracteres(codgrup, 2, 3), Caracteres(codgrup, 1, 1), UltimoCaracter(codgrup)};
}

std::string AbreviaturaGrupo(const CodigoGrupo& grupo) {
  return Caracteres(grupo.nivel, 1, 1) + Caracteres(grupo.nivel, 3, 1) + grupo.curso + grupo.letra;
}

std::string ComoSeLee(std::string_view texto, std::size_t tamano) {
  const storage::CodePage& pagina = storage::CodePage::ForLanguageDriver(storage::kLanguageDriverOfNewTables);
  std::string guardado = pagina.Encode(texto).substr(0, tamano);
  return pagina.Decode(util::TrimTrailingBlanksAndNuls(guardado));
}

std::string_view SinBlancosNiControles(std::string_view texto) {
  return util::TrimIf(texto, [](char c) { return static_cast<unsigned char>(c) <= 32; });
}

double HorasSemanales(std::string_view horsemte, char separadorDecimal) {
  std::string dos = Caracteres(horsemte, 1, 2);
  if (SinBlancosNiControles(dos).empty()) return 1.0;
  auto horas = storage::ParseFloat(dos, separadorDecimal);
  if (!horas) throw storage::DatabaseError("'" + dos + "' no es un valor punto flotante válido");
  return *horas > 0 ? *horas : 1.0;
}

std::string CampoAsignatura(int n) { return "ASIG" + std::to_string(n); }

// Every record against every other: each later record with the same abbreviation gets the counter added
// (2, 3, ...), starting again at 2 for every outer record, and the change is seen at once by the later
// comparisons. So the first of a set keeps its abbreviation and the others take 2, 3 and so on in order.
//
// The inner walk visits only the records that hold the outer record's abbreviation: the positions of each
// abbreviation, kept as the changes are made, are those an inner walk from the first record would find
// equal, in the order it would find them (a record changes only when the inner walk passes it, so no record
// comes to hold the abbreviation sought during one walk, and none stops holding it before its turn).
std::vector<std::string> AbreviaturasDistintas(std::vector<std::string> abreviaturas) {
  std::map<std::string, std::set<std::size_t>> posicionesPorAbreviatura;
  for (std::size_t i = 0; i < abreviaturas.size(); ++i) posicionesPorAbreviatura[abreviaturas[i]].insert(i);
  for (std::size_t exterior = 0; exterior < abreviaturas.size(); ++exterior) {
    // The inner walk never changes the outer record, so its abbreviation holds for the whole inner walk.
    std::string abreviatura = abreviaturas[exterior];
    auto iguales = posicionesPorAbreviatura.find(abreviatura);
    if (iguales == posicionesPorAbreviatura.end()) continue;
    // An abbreviation that fills the field keeps no digit added to it: its records would be written back
    // as they are.
    if (ComoSeLee(abreviatura + "2", kTamanoAbreviatura) == abreviatura) continue;
    std::vector<std::size_t> recorrido(iguales->second.begin(), iguales->second.end());
    int contador = 2;
    for (std::size_t interior : recorrido) {
      if (interior == exterior) continue;
      std::string nueva = ComoSeLee(abreviaturas[interior] + std::to_string(contador), kTamanoAbreviatura);
      ++contador;
      posicionesPorAbreviatura[abreviatura].erase(interior);
      posicionesPorAbreviatura[nueva].insert(interior);
      abreviaturas[interior] = std::move(nueva);
    }
  }
  return abreviaturas;
}

}  // namespace exportacion
