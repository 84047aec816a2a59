#include "app/qt/control_profesores.h"

#include "run/tablas_ventana.h"

namespace app {
namespace {

storage::Table& AbrirProft(storage::Table& tabla) {
  run::DirigirAProfesores(tabla);
  tabla.Open();
  return tabla;
}

std::vector<ColumnaRejilla> ColumnasProft() {
  return {{"DNI", 10, "DNI"}, {"ABREV", 4, "ABREV"}, {"NOMBRE", 40, "NOMBRE"}, {"DEPART", 40, "DEPARTAMENTO"}};
}

DisenoRevision DisenoProfesores() {
  return {QStringLiteral("Control de Profesores"),
          {726, 499},
          {0, 1, 726, 496},
          {MarcoRevision::Titulo({9, 20, 202, 32}, "CONTROL DEL D.N.I DE LOS PROFESORES"),
           MarcoRevision::Encabezado({521, 66, 190, 13}, "INCIDENCIAS EN EL TRASPASO"),
           MarcoRevision::Explicacion(
               {517, 91, 201, 104},
               "Se ha detectado que existe algún Profesor sin D.N.I. Para poder realizar correctamente la "
               "integración del Horario en ESCOLAN, deberán asignarlo en esta rejilla. Los Profesores deberán "
               "estar creados previamente en ESCOLAN, con los mismos D.N.I's.")},
          {236, 29, 275, 24},
          "ProftDBGrid",
          {9, 56, 504, 433},
          {584, 216, 75, 25}};
}

}  // namespace

TControlProfesores::TControlProfesores(storage::Engine& engine, QWidget* owner, MostrarError mostrarError)
    : QDialog(owner),
      wwTableProft_(engine, "wwTableProft"),
      wwDataSource1_(engine, AbrirProft(wwTableProft_), ColumnasProft()),
      marco_(*this, wwDataSource1_, DisenoProfesores(), [this] { ProftDBGridEnter(); }, [this] { ProftDBGridExit(); },
             std::move(mostrarError)) {
  setObjectName(QStringLiteral("ControlProfesores"));
}

TControlProfesores::~TControlProfesores() = default;

void TControlProfesores::ProftDBGridEnter() {
  if (!wwTableProft_.Editing()) wwDataSource1_.Editar();
}

void TControlProfesores::ProftDBGridExit() {
  if (wwTableProft_.Editing()) wwDataSource1_.Publicar();
}

}  // namespace app
