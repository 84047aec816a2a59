#include "app/qt/control_plantilla.h"

#include "run/tablas_ventana.h"

namespace app {
namespace {

storage::Table& AbrirPlantilla(storage::Table& tabla) {
  run::DirigirAPlantilla(tabla);
  tabla.Open();
  return tabla;
}

// The period number is shown, never edited: the template keeps its periods 1 to 20. The grid's cursor
// starts on the first cell that can be edited, period 1's start time.
std::vector<ColumnaRejilla> ColumnasPlantilla() {
  return {{"HORA", 7, "HORA", false}, {"HORAINI", 20, "HORA INICIO CLASE"}, {"HORAFIN", 19, "HORA FINAL CLASE"}};
}

// The panel reaches below the client area, as it was drawn.
DisenoRevision DisenoPlantilla() {
  return {QStringLiteral("Control de Plantilla Horaria"),
          {726, 463},
          {0, 2, 726, 497},
          {MarcoRevision::Titulo({9, 12, 151, 64}, "COMPROBACIÓN DE LA PLANTILLA HORARIA DEL CENTRO"),
           MarcoRevision::Encabezado({505, 57, 210, 13}, "PLANTILLA HORARIA DEL CENTRO"),
           MarcoRevision::Explicacion(
               {504, 91, 209, 130},
               "Se ha recogido la siguiente Plantilla Horaria desde ESCOLAN. Compruébela y modifique, en caso "
               "necesario, las Horas de Inicio y Final de Clase, en la presente rejilla. Deben ser iguales que la "
               "Plantilla Horaria que estén utilizando en ESCOLAN. Una vez adaptada la Rejilla Horaria, Pulse "
               "sobre el Botón Salir.")},
          {180, 29, 275, 24},
          "PlantiHorDBGrid",
          {156, 56, 330, 385},
          {576, 312, 75, 25}};
}

}  // namespace

TControlPlantilla::TControlPlantilla(storage::Engine& engine, QWidget* owner, MostrarError mostrarError)
    : QDialog(owner),
      wwTablePlantilla_(engine, "wwTablePlantilla"),
      wwDataSource1_(engine, AbrirPlantilla(wwTablePlantilla_), ColumnasPlantilla()),
      marco_(*this, wwDataSource1_, DisenoPlantilla(), [this] { PlantiHorDBGridEnter(); },
             [this] { PlantiHorDBGridExit(); }, std::move(mostrarError)) {
  setObjectName(QStringLiteral("ControlPlantilla"));
}

TControlPlantilla::~TControlPlantilla() = default;

void TControlPlantilla::PlantiHorDBGridEnter() {
  if (!wwTablePlantilla_.Editing()) wwDataSource1_.Editar();
}

void TControlPlantilla::PlantiHorDBGridExit() {
  if (wwTablePlantilla_.Editing()) wwDataSource1_.Publicar();
}

}  // namespace app
