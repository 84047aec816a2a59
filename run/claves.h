// The small text files the runs keep for themselves (the export's record, the copy back's journal): UTF-8
// lines of "key=value", read back in order.
#pragma once

#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace run {

// The "key=value" lines of a text, in order; a line without "=" is passed over.
inline std::vector<std::pair<std::string, std::string>> LeerClaves(std::string_view texto) {
  std::vector<std::pair<std::string, std::string>> claves;
  std::istringstream lineas{std::string(texto)};
  for (std::string linea; std::getline(lineas, linea);) {
    std::size_t igual = linea.find('=');
    if (igual != std::string::npos) claves.emplace_back(linea.substr(0, igual), linea.substr(igual + 1));
  }
  return claves;
}

}  // namespace run
