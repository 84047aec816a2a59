// What the window's tests share: finding a control by its name, and writing a small centro table.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "storage/storage.h"
#include "tests/support/tablas_de_prueba.h"
#include "tests/support/temporary_drive.h"

namespace gui_testing {

template <class Control>
Control* Buscar(const QWidget& ventana, const char* nombre) {
  auto* control = ventana.findChild<Control*>(QString::fromLatin1(nombre));
  if (control == nullptr) throw std::runtime_error(std::string("the window has no control ") + nombre);
  return control;
}

// Strings of the program as a list that QCOMPARE prints.
inline QStringList Lista(const std::vector<std::string>& textos) {
  QStringList lista;
  for (const std::string& texto : textos) lista << QString::fromStdString(texto);
  return lista;
}

using testing_support::EscribirCentro;

}  // namespace gui_testing
