// The import's review dialog in Qt, drawing its model of the window library (ventana/revision.h) over the
// review the import hands the window, in the design of the review's kind: "Control de Profesores" over the
// teachers of C:\HTEMP\PROFT.DBF, where the user gives the missing identity numbers (DNI), and "Control de
// Plantilla Horaria" over the 20 periods of the class-period template, whose start and end times the user
// checks and corrects.
#pragma once

#include <QDialog>

#include "app/qt/marco_revision.h"
#include "app/qt/modelo_tabla.h"
#include "run/revision.h"
#include "ventana/revision.h"

namespace app {

class TControlRevision : public QDialog {
  Q_OBJECT

 public:
  // The dialog of `revision`, owned by `owner` (the main window); the table layer's messages, and the
  // refusals of the columns' rules, go to `mostrarError`. The review's table stays open as long as the
  // review, which must outlive the dialog.
  TControlRevision(run::Revision& revision, QWidget* owner, MostrarError mostrarError);
  ~TControlRevision() override;
  TControlRevision(const TControlRevision&) = delete;
  TControlRevision& operator=(const TControlRevision&) = delete;

 private:
  ventana::DialogoRevision dialogo_;
  ModeloTabla wwDataSource1_;
  MarcoRevision marco_;
};

}  // namespace app
