#include "ventana/copias.h"

#include "run/mensajes.h"
#include "run/rutas.h"
#include "ventana/dialogos.h"
#include "ventana/ventana_principal.h"

namespace ventana {

DialogoCopias::DialogoCopias(VentanaPrincipal& ventana, Dialogos& dialogos)
    : ventana_(ventana), dialogos_(dialogos), carpeta_(ventana.Directorio()) {
  Leer();
}

void DialogoCopias::Leer() {
  copias_.clear();
  run::EjecutarManejador(ventana_.Interfaz(), [this] { copias_ = ventana_.CopiasDeHorarios(); });
  seleccionada = copias_.empty() ? -1 : 0;
}

std::string DialogoCopias::Resumen() const {
  if (copias_.empty()) {
    return "No hay ninguna copia de los horarios de " + carpeta_ + " en " + std::string(run::kCarpetaCopias) + ".";
  }
  return "Copias de los horarios de " + carpeta_ + " en " + std::string(run::kCarpetaCopias) +
         ", la más reciente primero: " + std::to_string(copias_.size()) + ".";
}

std::string DialogoCopias::Celda(std::size_t fila, std::size_t columna) const {
  const importacion::CopiaHorarios& copia = copias_.at(fila);
  switch (columna) {
    case 0: return importacion::TextoFecha(copia.fecha);
    case 1: return importacion::TextoHora(copia.fecha);
    case 2: return importacion::TextoClases(copia.clasesHorgrup);
    case 3: return importacion::TextoClases(copia.clasesHorprof);
    case 4: return copia.origen;
    default: return {};
  }
}

bool DialogoCopias::Completa(std::size_t fila) const { return fila < copias_.size() && copias_[fila].Completa(); }

const importacion::CopiaHorarios* DialogoCopias::Seleccionada() const {
  if (seleccionada < 0 || static_cast<std::size_t>(seleccionada) >= copias_.size()) return nullptr;
  return &copias_[static_cast<std::size_t>(seleccionada)];
}

void DialogoCopias::VerHorarios() {
  const importacion::CopiaHorarios* copia = Seleccionada();
  if (copia == nullptr) return;
  run::EjecutarManejador(ventana_.Interfaz(), [&] { ventana_.AbrirPagina(ventana_.EscribirPaginaCopia(*copia)); });
}

bool DialogoCopias::Restaurar() {
  const importacion::CopiaHorarios* copia = Seleccionada();
  if (copia == nullptr) return false;
  const std::string sello = copia->sello;
  if (!dialogos_.Preguntar(run::ConValores(
          kPreguntaRestaurar, {importacion::TextoFecha(copia->fecha), importacion::TextoHora(copia->fecha), carpeta_}))) {
    return false;
  }
  const bool restaurada = ventana_.RestaurarCopia(sello);
  Leer();
  return restaurada;
}

}  // namespace ventana
