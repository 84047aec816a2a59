// The teacher identity review dialog of the import in Qt: every record of C:\HTEMP\PROFT.DBF in a grid,
// where the user gives the missing identity numbers (DNI) before the timetable is transferred. The dialog's
// table, handlers and design are run::ControlProfesores's; this draws them.
#pragma once

#include <QDialog>

#include "app/qt/marco_revision.h"
#include "app/qt/modelo_tabla.h"
#include "run/revision.h"
#include "storage/storage.h"

namespace app {

class TControlProfesores : public QDialog {
  Q_OBJECT

 public:
  // Opens PROFT through the dialog's own table object on `engine` (a failure to open it is the table
  // layer's error, thrown from here), positioned on the first record. `owner` is the main window; the
  // table layer's messages go to `mostrarError`. Releasing the dialog closes the table, dropping a
  // record still being edited.
  TControlProfesores(storage::Engine& engine, QWidget* owner, MostrarError mostrarError);
  ~TControlProfesores() override;
  TControlProfesores(const TControlProfesores&) = delete;
  TControlProfesores& operator=(const TControlProfesores&) = delete;

  // The grid's handlers: on entering it the current record goes into edit mode, on leaving it a record
  // being edited or appended is posted.
  void ProftDBGridEnter() { control_.ProftDBGridEnter(); }
  void ProftDBGridExit() { control_.ProftDBGridExit(); }

 private:
  run::ControlProfesores control_;
  ModeloTabla wwDataSource1_;
  MarcoRevision marco_;
};

}  // namespace app
