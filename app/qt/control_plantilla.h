// The class-period template review dialog of the import in Qt: the 20 periods of
// C:\HTEMP\Valencia\PLANTILLA.DBF in a grid, where the user checks and corrects their start and end times.
// The dialog's table, handlers and design are run::ControlPlantilla's; this draws them.
#pragma once

#include <QDialog>

#include "app/qt/marco_revision.h"
#include "app/qt/modelo_tabla.h"
#include "run/revision.h"
#include "storage/storage.h"

namespace app {

class TControlPlantilla : public QDialog {
  Q_OBJECT

 public:
  // Opens PLANTILLA through the dialog's own table object on `engine` (a failure to open it is the table
  // layer's error, thrown from here), positioned on period 1. `owner` is the main window; the table
  // layer's messages go to `mostrarError`. Releasing the dialog closes the table, dropping a record still
  // being edited.
  TControlPlantilla(storage::Engine& engine, QWidget* owner, MostrarError mostrarError);
  ~TControlPlantilla() override;
  TControlPlantilla(const TControlPlantilla&) = delete;
  TControlPlantilla& operator=(const TControlPlantilla&) = delete;

  // The grid's handlers: on entering it the current record goes into edit mode, on leaving it a record
  // being edited or appended is posted.
  void PlantiHorDBGridEnter() { control_.PlantiHorDBGridEnter(); }
  void PlantiHorDBGridExit() { control_.PlantiHorDBGridExit(); }

 private:
  run::ControlPlantilla control_;
  ModeloTabla wwDataSource1_;
  MarcoRevision marco_;
};

}  // namespace app
