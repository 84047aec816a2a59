#include "ventana/problemas.h"

#include "platform/platform.h"
#include "ventana/dialogos.h"

namespace ventana {

FilaProblema FilaDe(const diagnostico::Problema& problema) {
  return {problema.archivo, problema.registro == 0 ? std::string() : std::to_string(problema.registro),
          problema.campo, problema.valor, problema.mensaje};
}

DialogoProblemas::DialogoProblemas(run::InterfazUsuario& interfaz, std::string carpeta,
                                   const std::vector<diagnostico::Problema>& problemas)
    : interfaz_(interfaz), carpeta_(std::move(carpeta)) {
  filas_.reserve(problemas.size());
  lineas_.reserve(problemas.size());
  for (const diagnostico::Problema& problema : problemas) {
    filas_.push_back(FilaDe(problema));
    // The review's own line, with the value the field holds after the field.
    diagnostico::Problema conValor = problema;
    if (!problema.campo.empty()) conValor.campo += " ('" + problema.valor + "')";
    lineas_.push_back(diagnostico::Linea(conValor));
  }
}

bool DialogoProblemas::Explica(const std::string& parada) const {
  if (parada.empty()) return false;
  for (const FilaProblema& fila : filas_) {
    if (fila.queOcurre.rfind(parada + ": ", 0) == 0) return true;
  }
  return false;
}

std::string DialogoProblemas::Resumen() const { return carpeta_ + ": " + diagnostico::Resumen(filas_.size()); }

std::string DialogoProblemas::Texto(std::string_view finDeLinea) const {
  std::string texto = std::string(kDisenoProblemas.titulo);
  texto += finDeLinea;
  texto += Resumen();
  texto += finDeLinea;
  for (const std::string& linea : lineas_) {
    texto += finDeLinea;
    texto += linea;
  }
  if (!lineas_.empty()) texto += finDeLinea;
  return texto;
}

bool DialogoProblemas::Guardar(const std::string& ruta) {
  return run::EjecutarManejador(interfaz_, [&] {
    std::string contenido = "\xEF\xBB\xBF" + Texto();
    platform::WriteWholeFile(ruta, std::as_bytes(std::span(contenido)), true);
  });
}

}  // namespace ventana
