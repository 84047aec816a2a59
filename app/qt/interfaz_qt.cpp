#include "app/qt/interfaz_qt.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

#include "app/qt/control_plantilla.h"
#include "app/qt/control_profesores.h"

namespace app {
namespace {

// A modal box with the text as it is and one button "Aceptar"; returns when the user has closed it.
void CuadroModal(QWidget* padre, QMessageBox::Icon icono, const std::string& texto) {
  QMessageBox cuadro(icono, QGuiApplication::applicationDisplayName(), QString::fromStdString(texto),
                     QMessageBox::NoButton, padre);
  cuadro.setTextFormat(Qt::PlainText);
  cuadro.setDefaultButton(cuadro.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole));
  cuadro.exec();
}

}  // namespace

InterfazQt::~InterfazQt() { CursorEspera(false); }

void InterfazQt::MostrarMensaje(const std::string& texto) { CuadroModal(ventana_, QMessageBox::NoIcon, texto); }

void InterfazQt::MostrarError(const std::string& texto) { CuadroModal(ventana_, QMessageBox::Critical, texto); }

void InterfazQt::CursorEspera(bool activo) {
  if (activo == cursorEspera_) return;
  cursorEspera_ = activo;
  if (activo) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

template <class Dialogo>
void InterfazQt::Revisar(storage::Engine& engine) {
  Dialogo dialogo(engine, ventana_, [this](const std::string& texto) { MostrarError(texto); });
  CursorEspera(false);
  dialogo.exec();
}

void InterfazQt::RevisarProfesores(storage::Engine& engine) { Revisar<TControlProfesores>(engine); }

void InterfazQt::RevisarPlantilla(storage::Engine& engine) { Revisar<TControlPlantilla>(engine); }

void InterfazQt::CerrarVentanaPrincipal() { ventana_->close(); }

}  // namespace app
