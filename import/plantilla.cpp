// The import's class-period template: the centre's period times, confirmed by the user.
#include "import/importacion.h"

#include <utility>
#include <vector>

#include "platform/platform.h"
#include "run/rutas.h"

namespace importacion {
namespace {

// The centre's periods from lhortipo: for each period the last non-empty time of its records.
void LeerPeriodosDelCentro(storage::Table& lhortipo, const std::string& centro, TablaPeriodos& periodos) {
  lhortipo.Open();
  for (lhortipo.First(); !lhortipo.Eof(); lhortipo.Next()) {
    if (lhortipo.AsString("CODCEN") != centro) continue;
    int periodo = lhortipo.AsInteger("Numhora");
    if (!TablaPeriodos::Existe(periodo)) continue;
    std::string desde = lhortipo.AsString("Desde");
    if (!desde.empty()) periodos.desde[periodo - 1] = desde;
    std::string hasta = lhortipo.AsString("Hasta");
    if (!hasta.empty()) periodos.hasta[periodo - 1] = hasta;
  }
}

void EscribirPlantilla(storage::Engine& engine, const TablaPeriodos& periodos) {
  engine.Release(run::RutaPlantilla());
  platform::RemoveFile(run::RutaPlantilla());
  platform::RemoveFile(run::EnCarpeta(run::kCarpetaTrabajo, run::ArchivoMdx(run::kPlantilla)));
  storage::Table plantilla(engine);
  plantilla.SetDatabaseName(std::string(run::kCarpetaTrabajo));
  plantilla.SetTableName(run::ArchivoDbf(run::kPlantilla));
  plantilla.SetDbfExtensionImplied(true);
  plantilla.ClearFieldDefs();
  plantilla.AddFieldDef(run::kCampoHora, storage::DataType::ftInteger);
  plantilla.AddFieldDef(run::kCampoHoraInicio, storage::DataType::ftString, 5);
  plantilla.AddFieldDef(run::kCampoHoraFinal, storage::DataType::ftString, 5);
  plantilla.ClearIndexDefs();
  plantilla.AddIndexDef("HORA", run::kCampoHora);
  plantilla.CreateTable();
  plantilla.Open();
  // Appending posts the pending record first (the table layer's rule), so each period's record is posted
  // by the next one's Append and only the last needs the Post after the loop.
  for (int periodo = 1; periodo <= TablaPeriodos::kPeriodos; ++periodo) {
    plantilla.Append();
    plantilla.SetAsInteger(run::kCampoHora, periodo);
    plantilla.SetAsString(run::kCampoHoraInicio, periodos.desde[periodo - 1]);
    plantilla.SetAsString(run::kCampoHoraFinal, periodos.hasta[periodo - 1]);
  }
  plantilla.Post();
  plantilla.Close();
}

TablaPeriodos LeerPlantilla(storage::Engine& engine) {
  TablaPeriodos periodos;
  storage::Table plantilla(engine);
  plantilla.SetTableName(run::RutaPlantilla());
  plantilla.Open();
  plantilla.SetIndexName("HORA");
  for (plantilla.First(); !plantilla.Eof(); plantilla.Next()) {
    int periodo = plantilla.AsInteger(run::kCampoHora);
    if (!TablaPeriodos::Existe(periodo)) continue;
    periodos.desde[periodo - 1] = plantilla.AsString(run::kCampoHoraInicio);
    periodos.hasta[periodo - 1] = plantilla.AsString(run::kCampoHoraFinal);
  }
  return periodos;
}

}  // namespace

// The period number is shown, never edited: the template keeps its periods 1 to 20.
std::unique_ptr<run::Revision> RevisionPlantilla(storage::Engine& engine) {
  std::vector<run::ColumnaDatos> columnas = {
      {run::kCampoHora, 7, "HORA", false},
      {run::kCampoHoraInicio, 20, "HORA INICIO CLASE"},
      {run::kCampoHoraFinal, 19, "HORA FINAL CLASE"}};
  return std::make_unique<run::Revision>(engine, run::TipoRevision::kPlantillaHoraria, "wwTablePlantilla",
                                         run::DirigirAPlantilla, std::move(columnas));
}

TablaPeriodos PrepararPlantilla(ContextoImportacion& contexto) {
  TablaPeriodos periodos;
  LeerPeriodosDelCentro(contexto.tablas.lhortipo, contexto.centro, periodos);
  EscribirPlantilla(contexto.engine, periodos);
  // While the user reviews, no file stays held for the run: others find them as they were.
  contexto.engine.ReleaseAll();
  contexto.interfaz.Revisar(*RevisionPlantilla(contexto.engine));
  contexto.interfaz.CursorEspera(true);
  return LeerPlantilla(contexto.engine);
}

}  // namespace importacion
