// Placeholder: being written.
#include "app/muestra_escolan.h"

namespace app {

void EscribirMuestraEscolan(const std::string&, TamanoMuestra) {}

}  // namespace app
