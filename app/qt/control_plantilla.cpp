#include "app/qt/control_plantilla.h"

namespace app {

TControlPlantilla::TControlPlantilla(storage::Engine& engine, QWidget* owner, MostrarError mostrarError)
    : QDialog(owner),
      control_(engine),
      wwDataSource1_(control_.Fuente()),
      marco_(*this, control_, wwDataSource1_, std::move(mostrarError)) {}

TControlPlantilla::~TControlPlantilla() = default;

}  // namespace app
