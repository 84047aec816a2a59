#include "run/identidad.h"

#include <optional>
#include <stdexcept>
#include <string>

#include "run/mensajes.h"
#include "run/revision.h"
#include "storage/conversions.h"

namespace run {

void ExigirDniAdmitido(const TextoPorGuardar& texto) {
  std::optional<std::int32_t> dni = storage::ParseInteger(texto.texto);
  if (!dni || DniAdmitido(*dni)) return;
  throw std::invalid_argument(ConValores(kMensajeDniNoAdmitido, {texto.texto, texto.campo, std::to_string(kDniMayor)}));
}

}  // namespace run
