#include "app/qt/marco_revision.h"

#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QStyle>

#include "app/qt/modelo_tabla.h"
#include "app/qt/navegador.h"
#include "app/qt/panel_degradado.h"
#include "app/qt/rejilla_datos.h"

namespace app {
namespace {

constexpr Qt::WindowFlags kMarcoFijo = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                       Qt::MSWindowsFixedSizeDialogHint;

// Qt reports neither the desktop's colour nor the hot-track colour: the design's colours of Windows'
// standard scheme stand for them.
QColor Color(const run::Color& color) { return {color.rgb.rojo, color.rgb.verde, color.rgb.azul}; }

QRect Caja(const run::Caja& caja) { return {caja.x, caja.y, caja.ancho, caja.alto}; }

void Colorear(QWidget& control, QPalette::ColorRole rol, const QColor& color) {
  QPalette paleta = control.palette();
  paleta.setColor(rol, color);
  control.setPalette(paleta);
}

template <class Control>
Control* Colocar(Control* control, const std::string& nombre, const run::Caja& caja) {
  control->setObjectName(QString::fromStdString(nombre));
  control->setGeometry(Caja(caja));
  return control;
}

void CrearEtiqueta(QWidget* panel, const run::EtiquetaDiseno& def) {
  auto* etiqueta = Colocar(new QLabel(QString::fromStdString(def.texto), panel), def.nombre, def.caja);
  etiqueta->setTextFormat(Qt::PlainText);
  etiqueta->setAlignment(def.alineacion == run::Alineacion::kCentrada ? Qt::AlignHCenter | Qt::AlignTop
                                                                      : Qt::AlignLeft | Qt::AlignTop);
  etiqueta->setWordWrap(def.ajustada);
  etiqueta->setFont(MarcoRevision::Fuente(def.letra));
  Colorear(*etiqueta, QPalette::WindowText, Color(def.color));
  if (def.fondo) {
    etiqueta->setAutoFillBackground(true);
    Colorear(*etiqueta, QPalette::Window, Color(*def.fondo));
  }
}

}  // namespace

QFont MarcoRevision::Fuente(const run::Letra& letra) {
  const QString familia = QString::fromStdString(letra.cara);
  bool presente = QFontDatabase::families().contains(familia, Qt::CaseInsensitive);
  QFont fuente(presente ? familia : QStringLiteral("Liberation Sans"), letra.puntos);
  fuente.setBold(letra.negrita);
  fuente.setUnderline(letra.subrayada);
  return fuente;
}

MarcoRevision::MarcoRevision(QDialog& dialogo, run::Revision& revision, ModeloTabla& modelo, MostrarError mostrarError)
    : dialogo_(dialogo), revision_(revision), modelo_(modelo), mostrarError_(std::move(mostrarError)) {
  const run::DisenoRevision& diseno = revision_.Diseno();
  dialogo_.setObjectName(QString::fromStdString(diseno.nombre));
  dialogo_.setWindowFlags(kMarcoFijo);
  dialogo_.setWindowTitle(QString::fromStdString(diseno.titulo));
  dialogo_.setFixedSize(diseno.anchoCliente, diseno.altoCliente);
  dialogo_.move(diseno.x, diseno.y);
  dialogo_.setFont(Fuente(diseno.letra));
  Colorear(dialogo_, QPalette::Window, Color(diseno.fondo));
  revision_.PonerEditor(&modelo_.Editor());
  CrearControles(diseno);

  connect(&modelo_, &ModeloTabla::fallo, this, &MarcoRevision::Fallo);
  dialogo_.installEventFilter(this);
  seguimientoDelFoco_ = connect(qApp, &QApplication::focusChanged, this,
                                [this](QWidget* /*antes*/, QWidget* ahora) { FocoCambiado(ahora); });
}

// The grid goes first, while the table is still open: a cell being edited then hands its text to a
// record that the closing table drops.
MarcoRevision::~MarcoRevision() {
  disconnect(seguimientoDelFoco_);
  revision_.PonerEditor(nullptr);
  delete rejilla_.data();
}

void MarcoRevision::CrearControles(const run::DisenoRevision& diseno) {
  auto* panel = Colocar(new PanelDegradado(Color(diseno.panelArriba), Color(diseno.panelMedio),
                                           Color(diseno.panelAbajo), &dialogo_),
                        diseno.nombrePanel, diseno.panel);
  for (const run::EtiquetaDiseno& etiqueta : diseno.etiquetas) CrearEtiqueta(panel, etiqueta);

  const QString navegador = QString::fromStdString(diseno.nombreNavegador);
  Colocar(new Navegador(modelo_, navegador, panel), diseno.nombreNavegador, diseno.navegador);
  rejilla_ = Colocar(new RejillaDatos(modelo_, Color(diseno.celdas), Color(diseno.celdasAlternas),
                                      Color(diseno.titulos), panel),
                     diseno.nombreRejilla, diseno.rejilla);

  auto* salir = Colocar(new QPushButton(panel->style()->standardIcon(QStyle::SP_DialogCloseButton),
                                        QString::fromStdString(diseno.textoSalir), panel),
                        diseno.nombreSalir, diseno.salir);
  salir->setFont(Fuente(diseno.letraSalir));
  connect(salir, &QPushButton::clicked, this, &MarcoRevision::SalirClick);

  QWidget::setTabOrder(rejilla_, salir);
  rejilla_->setFocus();
}

// ---------------------------------------------------------------------------------------------------------
// The grid's focus

// Only moves between the controls of the dialog count: another window taking the focus (a message box,
// another program) leaves the grid where it was.
void MarcoRevision::FocoCambiado(QWidget* ahora) {
  if (ahora == nullptr || rejilla_ == nullptr || !(ahora == &dialogo_ || dialogo_.isAncestorOf(ahora))) return;
  bool enLaRejilla = ahora == rejilla_ || rejilla_->isAncestorOf(ahora);
  if (!revision_.FocoMovido(enLaRejilla)) rejilla_->setFocus();
}

// The message waits until the event that caused it is over (an editor closing, a click half done).
void MarcoRevision::Fallo(const QString& mensaje) {
  if (!revision_.AnotarFallo(mensaje.toStdString())) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        std::optional<std::string> fallo = revision_.FalloPorMostrar();
        if (fallo && mostrarError_) mostrarError_(*fallo);
      },
      Qt::QueuedConnection);
}

void MarcoRevision::SalirClick() {
  if (revision_.SalirClick()) dialogo_.close();
}

// Escape does not close the dialog: only "Salir" and the close box do.
bool MarcoRevision::eventFilter(QObject* objeto, QEvent* event) {
  if (objeto == &dialogo_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    return true;
  }
  return QObject::eventFilter(objeto, event);
}

}  // namespace app
