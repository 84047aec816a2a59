#include "app/qt/control_revision.h"

#include <utility>

namespace app {

TControlRevision::TControlRevision(std::unique_ptr<ventana::DialogoRevision> modelo, QWidget* owner,
                                   MostrarError mostrarError)
    : QDialog(owner),
      modelo_(std::move(modelo)),
      wwDataSource1_(modelo_->Fuente()),
      marco_(*this, *modelo_, wwDataSource1_, std::move(mostrarError)) {}

TControlRevision::~TControlRevision() = default;

TControlProfesores::TControlProfesores(run::Revision& revision, QWidget* owner, MostrarError mostrarError)
    : TControlRevision(std::make_unique<ventana::ControlProfesores>(revision), owner, std::move(mostrarError)) {}

TControlPlantilla::TControlPlantilla(run::Revision& revision, QWidget* owner, MostrarError mostrarError)
    : TControlRevision(std::make_unique<ventana::ControlPlantilla>(revision), owner, std::move(mostrarError)) {}

std::unique_ptr<TControlRevision> DialogoDe(run::Revision& revision, QWidget* owner, MostrarError mostrarError) {
  if (revision.Tipo() == run::TipoRevision::kProfesores) {
    return std::make_unique<TControlProfesores>(revision, owner, std::move(mostrarError));
  }
  return std::make_unique<TControlPlantilla>(revision, owner, std::move(mostrarError));
}

}  // namespace app
