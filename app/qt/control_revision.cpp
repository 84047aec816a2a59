#include "app/qt/control_revision.h"

#include <utility>

namespace app {

TControlRevision::TControlRevision(run::Revision& revision, QWidget* owner, MostrarError mostrarError)
    : QDialog(owner),
      dialogo_(revision),
      wwDataSource1_(dialogo_.Fuente()),
      marco_(*this, dialogo_, wwDataSource1_, std::move(mostrarError)) {}

TControlRevision::~TControlRevision() = default;

}  // namespace app
