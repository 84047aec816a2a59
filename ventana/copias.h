// "Copias de los horarios" without widgets: the backups of the session's source folder in C:\HTEMP\COPIAS,
// newest first, one row each (date, time, the lessons of each timetable, the folder ORIGEN.TXT names), and
// what its two buttons do for the selected row: "Ver horarios" writes that backup's page and opens it,
// "Restaurar" asks, then puts the backup back as one run of the session.
#pragma once

#include <string>
#include <vector>

#include "import/copias.h"
#include "sesion/sesion.h"

namespace ventana {

class Dialogos;

// %1 the backup's date, %2 its time, %3 the school's folder.
inline constexpr const char* kPreguntaRestaurar =
    "¿Desea restaurar los horarios de la copia del %1 a las %2 en %3? Los horarios que hay ahora se guardarán "
    "antes en una copia nueva.";

class DialogoCopias {
 public:
  // Reads the list of the session's folder; `dialogos` asks the confirmation. A backup's page shows the
  // centre `centro`.
  DialogoCopias(sesion::Sesion& sesion, Dialogos& dialogos, std::string centro);

  // The line above the list: whose backups they are and where, or that there is none.
  std::string Resumen() const;
  const std::vector<importacion::CopiaHorarios>& Copias() const { return copias_; }
  // The text of a cell, in the columns of kDisenoCopias.
  std::string Celda(std::size_t fila, std::size_t columna) const;
  // Whether a row's backup can be shown and restored: it has both timetables.
  bool Completa(std::size_t fila) const;
  // Whether "Ver horarios" and "Restaurar" can be pressed: a row is selected and its backup is complete.
  bool SeleccionadaCompleta() const { return seleccionada_ >= 0 && Completa(static_cast<std::size_t>(seleccionada_)); }

  // The selected row, or -1: the first row after each reading, none without rows.
  int Seleccionada() const { return seleccionada_; }
  void Seleccionar(int fila) { seleccionada_ = fila; }

  // "Ver horarios": the page of the selected backup's timetables (the names of subjects, teachers and rooms
  // from the school's folder) written under C:\HTEMP\HORARIOS and opened. An error goes to the interface.
  void VerHorarios();
  // "Restaurar": after the user confirms, the selected backup back into the folder (the session's
  // RestaurarCopia; a refusal or a failure goes to the interface), and the list read again. Whether it was
  // restored.
  bool Restaurar();
  // Reads the list again.
  void Leer();

 private:
  const importacion::CopiaHorarios* CopiaSeleccionada() const;

  sesion::Sesion& sesion_;
  Dialogos& dialogos_;
  std::string centro_;
  std::string carpeta_;
  int seleccionada_ = -1;
  std::vector<importacion::CopiaHorarios> copias_;
};

}  // namespace ventana
