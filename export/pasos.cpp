#include "export/pasos.h"

#include "platform/platform.h"
#include "run/rutas.h"
#include "storage/code_page.h"
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
  tabla.SetTableType(storage::TableType::ttDBase);
}

void DefinirTablaIntercambio(storage::Table& tabla, std::string_view nombre, const std::vector<Campo>& campos,
                             const std::vector<std::string>& indices) {
  DirigirAIntercambio(tabla, nombre);
  tabla.ClearFieldDefs();
  for (const Campo& campo : campos) tabla.AddFieldDef(campo.nombre, campo.tipo, campo.tamano);
  tabla.ClearIndexDefs();
  for (const std::string& indice : indices) tabla.AddIndexDef(indice, indice);
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

}  // namespace exportacion
