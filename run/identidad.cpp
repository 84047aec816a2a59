#include "run/identidad.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "run/mensajes.h"
#include "run/revision.h"
#include "storage/conversions.h"

namespace run {
namespace {

// Whether `texto` writes a whole number in decimal digits, with or without a sign, however large.
bool EnCifras(std::string_view texto) {
  if (!texto.empty() && (texto.front() == '+' || texto.front() == '-')) texto.remove_prefix(1);
  return !texto.empty() && std::all_of(texto.begin(), texto.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

// The number as the table would store it; a number too large for the table is no identity number either.
void ExigirDniAdmitido(const TextoPorGuardar& texto) {
  std::optional<std::int32_t> dni = storage::ParseInteger(texto.texto);
  const bool admitido = dni ? DniAdmitido(*dni) : !EnCifras(texto.texto);
  if (admitido) return;
  throw std::invalid_argument(ConValores(kMensajeDniNoAdmitido, {texto.texto, texto.campo}));
}

}  // namespace run
