// The two review dialogs of the import in Qt, each drawing its model of the window library
// (ventana/revision.h) over the review the import hands the window: the teachers of C:\HTEMP\PROFT.DBF, where
// the user gives the missing identity numbers (DNI), and the 20 periods of the class-period template, whose
// start and end times the user checks and corrects.
#pragma once

#include <QDialog>

#include <memory>

#include "app/qt/marco_revision.h"
#include "app/qt/modelo_tabla.h"
#include "run/revision.h"
#include "ventana/revision.h"

namespace app {

// What both dialogs are: a dialog owned by `owner` (the main window) drawing `modelo`, whose table layer's
// messages go to `mostrarError`. The review's table stays open as long as the review the model is on.
class TControlRevision : public QDialog {
  Q_OBJECT

 public:
  ~TControlRevision() override;
  TControlRevision(const TControlRevision&) = delete;
  TControlRevision& operator=(const TControlRevision&) = delete;

 protected:
  TControlRevision(std::unique_ptr<ventana::DialogoRevision> modelo, QWidget* owner, MostrarError mostrarError);
  ventana::DialogoRevision& Modelo() { return *modelo_; }

 private:
  std::unique_ptr<ventana::DialogoRevision> modelo_;
  ModeloTabla wwDataSource1_;
  MarcoRevision marco_;
};

class TControlProfesores : public TControlRevision {
  Q_OBJECT

 public:
  TControlProfesores(run::Revision& revision, QWidget* owner, MostrarError mostrarError);

  // The grid's handlers: on entering it the current record goes into edit mode, on leaving it a record
  // being edited or appended is posted.
  void ProftDBGridEnter() { static_cast<ventana::ControlProfesores&>(Modelo()).ProftDBGridEnter(); }
  void ProftDBGridExit() { static_cast<ventana::ControlProfesores&>(Modelo()).ProftDBGridExit(); }
};

class TControlPlantilla : public TControlRevision {
  Q_OBJECT

 public:
  TControlPlantilla(run::Revision& revision, QWidget* owner, MostrarError mostrarError);

  void PlantiHorDBGridEnter() { static_cast<ventana::ControlPlantilla&>(Modelo()).PlantiHorDBGridEnter(); }
  void PlantiHorDBGridExit() { static_cast<ventana::ControlPlantilla&>(Modelo()).PlantiHorDBGridExit(); }
};

// The dialog of the review's kind.
std::unique_ptr<TControlRevision> DialogoDe(run::Revision& revision, QWidget* owner, MostrarError mostrarError);

}  // namespace app
