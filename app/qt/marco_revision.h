// What the import's review dialog draws in Qt: the fixed frame on the gradient panel, the labels, the record
// navigator, the grid and the button "Salir", built from the dialog's design (ventana/revision.h); the focus
// entering and leaving the grid, "Salir" and the table layer's messages passed to the dialog's model, and
// those messages shown through the application's error handler.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <string>

#include "ventana/revision.h"

class QDialog;

namespace app {

class ModeloTabla;
class RejillaDatos;

// Shows a message of the table layer the way the application shows an error (a modal box with a stop icon).
using MostrarError = std::function<void(const std::string& mensaje)>;

class MarcoRevision : public QObject {
 public:
  // Builds the controls of `ventana` from the design of `dialogo`, whose data source `modelo` shows.
  MarcoRevision(QDialog& ventana, ventana::DialogoRevision& dialogo, ModeloTabla& modelo, MostrarError mostrarError);
  ~MarcoRevision() override;
  MarcoRevision(const MarcoRevision&) = delete;
  MarcoRevision& operator=(const MarcoRevision&) = delete;

 protected:
  bool eventFilter(QObject* objeto, QEvent* event) override;

 private:
  void CrearControles(const ventana::DisenoRevision& diseno);
  void FocoCambiado(QWidget* ahora);
  void Fallo(const QString& mensaje);
  void SalirClick();

  QDialog& ventana_;
  ventana::DialogoRevision& dialogo_;
  ModeloTabla& modelo_;
  MostrarError mostrarError_;
  QPointer<RejillaDatos> rejilla_;
  QMetaObject::Connection seguimientoDelFoco_;
};

}  // namespace app
