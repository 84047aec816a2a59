// A message with its values put in: %1, %2... in order, each looked for after the values already
// put in, which may hold a "%" of their own (a folder's name, a file layer's message).
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace run {

inline std::string ConValores(std::string texto, std::initializer_list<std::string_view> valores) {
  std::size_t desde = 0;
  int numero = 1;
  for (std::string_view valor : valores) {
    const std::string marca = "%" + std::to_string(numero++);
    const std::size_t donde = texto.find(marca, desde);
    if (donde == std::string::npos) continue;  // a text without that mark keeps it as it is
    texto.replace(donde, marca.size(), valor);
    desde = donde + valor.size();
  }
  return texto;
}

}  // namespace run
