#include "app/qt/interfaz_qt.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <memory>

#include "app/qt/control_revision.h"
#include "ventana/diseno_principal.h"

namespace app {
namespace {

// Keeps the box wide enough for the window system to show its whole caption. Qt sizes a box for its text
// and leaves its caption 50 pixels of room, so a window manager cuts it ("Export… datos"). The caption is
// measured in the title bar's font, or the box's own where that is wider, in bold as many window managers
// draw it, beside room for four squares of the title bar's height: the window's icon, its close button, a
// minimise button that some window managers add to any window, and the gaps between them. Qt fixes the
// box's size from its layout's minimum width, so the room is a spacer there.
void AnchoParaElTitulo(QMessageBox& cuadro) {
  int texto = 0;
  for (QFont fuente : {QApplication::font("QMdiSubWindowTitleBar"), cuadro.font()}) {
    fuente.setBold(true);
    texto = std::max(texto, QFontMetrics(fuente).horizontalAdvance(cuadro.windowTitle()));
  }
  const int barra = cuadro.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &cuadro);
  auto* rejilla = qobject_cast<QGridLayout*>(cuadro.layout());
  if (rejilla == nullptr) return;
  const QMargins margenes = rejilla->contentsMargins();
  const int ancho = texto + 4 * barra - margenes.left() - margenes.right();
  rejilla->addItem(new QSpacerItem(ancho, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), rejilla->rowCount(), 0, 1,
                   rejilla->columnCount());
}

// A modal box with the text as it is and one button "Aceptar"; returns when the user has closed it.
void CuadroModal(QWidget* padre, QMessageBox::Icon icono, const std::string& texto) {
  QMessageBox cuadro(icono, QString::fromUtf8(ventana::kTituloAplicacion), QString::fromStdString(texto), QMessageBox::NoButton,
                     padre);
  cuadro.setTextFormat(Qt::PlainText);
  cuadro.setDefaultButton(cuadro.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole));
  AnchoParaElTitulo(cuadro);
  cuadro.exec();
}

}  // namespace

bool PreguntarSiNo(QWidget* padre, const std::string& texto) {
  QMessageBox cuadro(QMessageBox::Question, QString::fromUtf8(ventana::kTituloAplicacion), QString::fromStdString(texto),
                     QMessageBox::NoButton, padre);
  cuadro.setTextFormat(Qt::PlainText);
  QPushButton* si = cuadro.addButton(QStringLiteral("Sí"), QMessageBox::YesRole);
  QPushButton* no = cuadro.addButton(QStringLiteral("No"), QMessageBox::NoRole);
  cuadro.setDefaultButton(si);
  cuadro.setEscapeButton(no);
  AnchoParaElTitulo(cuadro);
  cuadro.exec();
  return cuadro.clickedButton() == si;
}

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

void InterfazQt::Revisar(run::Revision& revision) {
  TControlRevision dialogo(revision, ventana_, [this](const std::string& texto) { MostrarError(texto); });
  CursorEspera(false);
  dialogo.exec();
}

void InterfazQt::CerrarVentanaPrincipal() { ventana_->close(); }

}  // namespace app
