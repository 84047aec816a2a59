#include "app/qt/control_profesores.h"

namespace app {

TControlProfesores::TControlProfesores(storage::Engine& engine, QWidget* owner, MostrarError mostrarError)
    : QDialog(owner),
      control_(engine),
      wwDataSource1_(control_.Fuente()),
      marco_(*this, control_, wwDataSource1_, std::move(mostrarError)) {}

TControlProfesores::~TControlProfesores() = default;

}  // namespace app
