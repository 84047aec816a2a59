#include "app/qt/marco_revision.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>

#include "app/qt/diseno_qt.h"
#include "app/qt/modelo_tabla.h"
#include "app/qt/navegador.h"
#include "app/qt/panel_degradado.h"
#include "app/qt/rejilla_datos.h"

namespace app {
namespace {

constexpr Qt::WindowFlags kMarcoFijo = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                       Qt::MSWindowsFixedSizeDialogHint;

}  // namespace

MarcoRevision::MarcoRevision(QDialog& ventana, ventana::DialogoRevision& dialogo, ModeloTabla& modelo,
                             MostrarError mostrarError)
    : ventana_(ventana), dialogo_(dialogo), modelo_(modelo), mostrarError_(std::move(mostrarError)) {
  const ventana::DisenoRevision& diseno = dialogo_.Diseno();
  ventana_.setObjectName(TextoQt(diseno.nombre));
  ventana_.setWindowFlags(kMarcoFijo);
  ventana_.setWindowTitle(TextoQt(diseno.titulo));
  ventana_.setFixedSize(diseno.ventana.ancho, diseno.ventana.alto);
  ventana_.move(diseno.ventana.izquierda, diseno.ventana.arriba);
  ventana_.setFont(FuenteQt(diseno.letra));
  Colorear(ventana_, QPalette::Window, ColorQt(diseno.fondo));
  dialogo_.PonerEditor(&modelo_.Editor());
  CrearControles(diseno);

  connect(&modelo_, &ModeloTabla::fallo, this, &MarcoRevision::Fallo);
  ventana_.installEventFilter(this);
  seguimientoDelFoco_ = connect(qApp, &QApplication::focusChanged, this,
                                [this](QWidget* /*antes*/, QWidget* ahora) { FocoCambiado(ahora); });
}

// The grid goes first, while the table is still open: a cell being edited then hands its text to a
// record that the closing table drops.
MarcoRevision::~MarcoRevision() {
  disconnect(seguimientoDelFoco_);
  dialogo_.PonerEditor(nullptr);
  delete rejilla_.data();
}

void MarcoRevision::CrearControles(const ventana::DisenoRevision& diseno) {
  const ventana::Panel& fondo = diseno.panel;
  auto* panel = Colocar(new PanelDegradado(ColorQt(fondo.inicio), ColorQt(fondo.medio), ColorQt(fondo.fin), &ventana_),
                        fondo.nombre, fondo.caja);
  for (const ventana::Etiqueta& etiqueta : diseno.etiquetas) CrearEtiqueta(panel, etiqueta);

  const ventana::Control& navegador = diseno.navegador;
  Colocar(new Navegador(modelo_, TextoQt(navegador.nombre), panel), navegador.nombre, navegador.caja);
  rejilla_ = Colocar(new RejillaDatos(modelo_, ColorQt(diseno.celdas), ColorQt(diseno.celdasAlternas),
                                      ColorQt(diseno.titulos), panel),
                     diseno.rejilla.nombre, diseno.rejilla.caja);

  const ventana::Control& boton = diseno.salir;
  auto* salir = Colocar(new QPushButton(panel->style()->standardIcon(QStyle::SP_DialogCloseButton),
                                        TextoQt(boton.texto), panel),
                        boton.nombre, boton.caja);
  salir->setFont(FuenteQt(boton.letra));
  connect(salir, &QPushButton::clicked, this, &MarcoRevision::SalirClick);

  QWidget::setTabOrder(rejilla_, salir);
  rejilla_->setFocus();
}

// ---------------------------------------------------------------------------------------------------------
// The grid's focus

// Only moves between the controls of the dialog count: another window taking the focus (a message box,
// another program) leaves the grid where it was.
void MarcoRevision::FocoCambiado(QWidget* ahora) {
  if (ahora == nullptr || rejilla_ == nullptr || !(ahora == &ventana_ || ventana_.isAncestorOf(ahora))) return;
  bool enLaRejilla = ahora == rejilla_ || rejilla_->isAncestorOf(ahora);
  if (!dialogo_.FocoMovido(enLaRejilla)) rejilla_->setFocus();
}

// The message waits until the event that caused it is over (an editor closing, a click half done).
void MarcoRevision::Fallo(const QString& mensaje) {
  if (!dialogo_.AnotarFallo(mensaje.toStdString())) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        std::optional<std::string> fallo = dialogo_.FalloPorMostrar();
        if (fallo && mostrarError_) mostrarError_(*fallo);
      },
      Qt::QueuedConnection);
}

void MarcoRevision::SalirClick() {
  if (dialogo_.PuedeCerrar()) ventana_.close();
}

// Escape does not close the dialog: only "Salir" and the close box do.
bool MarcoRevision::eventFilter(QObject* objeto, QEvent* event) {
  if (objeto == &ventana_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    return true;
  }
  return QObject::eventFilter(objeto, event);
}

}  // namespace app
