// The record is a small UTF-8 text file of "key=value" lines.
#include "run/registro_exportacion.h"

#include <sstream>

#include "platform/platform.h"
#include "run/claves.h"
#include "run/rutas.h"

namespace run {
namespace {

std::string RutaRegistro() { return EnCarpeta(kCarpetaTrabajo, kRegistroExportacion); }

}  // namespace

void EscribirRegistroExportacion(const RegistroExportacion& registro) {
  std::string texto = "origen=" + registro.origen + "\n";
  texto += "centros=";
  for (std::size_t i = 0; i < registro.centros.size(); ++i) texto += (i ? "," : "") + registro.centros[i];
  texto += std::string("\ncompleta=") + (registro.completa ? "si" : "no") + "\n";
  platform::WriteWholeFile(RutaRegistro(), std::as_bytes(std::span(texto)), true);
}

std::optional<RegistroExportacion> LeerRegistroExportacion() {
  if (!platform::FileExists(RutaRegistro())) return std::nullopt;
  std::string texto = platform::ReadWholeFile(RutaRegistro());
  RegistroExportacion registro;
  for (const auto& [clave, valor] : LeerClaves(texto)) {
    if (clave == "origen") registro.origen = valor;
    if (clave == "completa") registro.completa = valor == "si";
    if (clave == "centros") {
      std::istringstream codigos(valor);
      for (std::string codigo; std::getline(codigos, codigo, ',');) registro.centros.push_back(codigo);
    }
  }
  return registro;
}

}  // namespace run
