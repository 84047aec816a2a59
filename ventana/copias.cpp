#include "ventana/copias.h"

#include "run/mensajes.h"
#include "run/rutas.h"

#include <utility>
#include "ventana/dialogos.h"

namespace ventana {

DialogoCopias::DialogoCopias(sesion::Sesion& sesion, Dialogos& dialogos, std::string centro)
    : sesion_(sesion), dialogos_(dialogos), centro_(std::move(centro)), carpeta_(sesion.Carpeta()) {
  Leer();
}

void DialogoCopias::Leer() {
  copias_.clear();
  run::EjecutarManejador(sesion_.Interfaz(), [this] { copias_ = sesion_.CopiasDeHorarios(); });
  seleccionada_ = copias_.empty() ? -1 : 0;
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

const importacion::CopiaHorarios* DialogoCopias::CopiaSeleccionada() const {
  if (seleccionada_ < 0 || static_cast<std::size_t>(seleccionada_) >= copias_.size()) return nullptr;
  return &copias_[static_cast<std::size_t>(seleccionada_)];
}

void DialogoCopias::VerHorarios() {
  const importacion::CopiaHorarios* copia = CopiaSeleccionada();
  if (copia == nullptr) return;
  run::EjecutarManejador(sesion_.Interfaz(), [&] { sesion_.AbrirPagina(sesion_.EscribirPaginaCopia(*copia, centro_)); });
}

bool DialogoCopias::Restaurar() {
  const importacion::CopiaHorarios* copia = CopiaSeleccionada();
  if (copia == nullptr) return false;
  const std::string sello = copia->sello;
  if (!dialogos_.Preguntar(run::ConValores(
          kPreguntaRestaurar, {importacion::TextoFecha(copia->fecha), importacion::TextoHora(copia->fecha), carpeta_}))) {
    return false;
  }
  const bool restaurada = run::EjecutarManejador(sesion_.Interfaz(), [&] { sesion_.RestaurarCopia(sello); });
  Leer();
  return restaurada;
}

}  // namespace ventana
