#include "app/qt/marco_revision.h"

#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
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
const QPoint kPosicion(24, 25);

// The Windows desktop colour of the standard scheme, which Qt does not report.
const QColor kColorEscritorio(0x3A, 0x6E, 0xA5);
const QColor kColorMedio(240, 251, 255);
const QColor kAguamarina(0x00, 0xFF, 0xFF);
const QColor kCeldas(240, 251, 255);
const QColor kCeldasAlternas(207, 217, 254);
const QColor kTitulos(254, 228, 169);
// The Windows hot-track colour, which Qt does not report either.
const QColor kColorResalte(0x00, 0x66, 0xCC);
const QColor kRojo(0xFF, 0x00, 0x00);
const QColor kFondoEncabezado(240, 202, 166);
const QColor kAzulMarino(0x00, 0x00, 0x80);

void Colorear(QWidget& control, QPalette::ColorRole rol, const QColor& color) {
  QPalette paleta = control.palette();
  paleta.setColor(rol, color);
  control.setPalette(paleta);
}

template <class Control>
Control* Colocar(Control* control, const char* nombre, const QRect& caja) {
  control->setObjectName(QString::fromLatin1(nombre));
  control->setGeometry(caja);
  return control;
}

void CrearEtiqueta(QWidget* panel, const EtiquetaRevision& def) {
  auto* etiqueta = Colocar(new QLabel(def.texto, panel), def.nombre, def.caja);
  etiqueta->setTextFormat(Qt::PlainText);
  etiqueta->setAlignment(def.alineacion);
  etiqueta->setWordWrap(def.ajustada);
  etiqueta->setFont(def.fuente);
  Colorear(*etiqueta, QPalette::WindowText, def.color);
  if (def.fondo.isValid()) {
    etiqueta->setAutoFillBackground(true);
    Colorear(*etiqueta, QPalette::Window, def.fondo);
  }
}

}  // namespace

QFont MarcoRevision::Fuente(int puntos, bool negrita, bool subrayada) {
  const QString familia = QStringLiteral("MS Sans Serif");
  bool presente = QFontDatabase::families().contains(familia, Qt::CaseInsensitive);
  QFont fuente(presente ? familia : QStringLiteral("Liberation Sans"), puntos);
  fuente.setBold(negrita);
  fuente.setUnderline(subrayada);
  return fuente;
}

EtiquetaRevision MarcoRevision::Titulo(const QRect& caja, const char* texto) {
  return {"Label1", caja, QString::fromUtf8(texto), Fuente(10, true), kColorResalte, true};
}

EtiquetaRevision MarcoRevision::Encabezado(const QRect& caja, const char* texto) {
  return {"Label3", caja, QString::fromUtf8(texto), Fuente(8, true, true), kRojo, false,
          Qt::AlignHCenter | Qt::AlignTop, kFondoEncabezado};
}

EtiquetaRevision MarcoRevision::Explicacion(const QRect& caja, const char* texto) {
  return {"Label2", caja, QString::fromUtf8(texto), Fuente(8, true), kAzulMarino, true};
}

MarcoRevision::MarcoRevision(QDialog& dialogo, ModeloTabla& modelo, const DisenoRevision& diseno,
                             std::function<void()> alEntrar, std::function<void()> alSalir, MostrarError mostrarError)
    : dialogo_(dialogo),
      modelo_(modelo),
      alEntrar_(std::move(alEntrar)),
      alSalir_(std::move(alSalir)),
      mostrarError_(std::move(mostrarError)) {
  dialogo_.setWindowFlags(kMarcoFijo);
  dialogo_.setWindowTitle(diseno.titulo);
  dialogo_.setFixedSize(diseno.cliente);
  dialogo_.move(kPosicion);
  dialogo_.setFont(Fuente(8));
  Colorear(dialogo_, QPalette::Window, kColorEscritorio);
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
  delete rejilla_.data();
}

void MarcoRevision::CrearControles(const DisenoRevision& diseno) {
  auto* panel = Colocar(new PanelDegradado(kColorEscritorio, kColorMedio, kAguamarina, &dialogo_), "Draw3D1", diseno.panel);
  for (const EtiquetaRevision& etiqueta : diseno.etiquetas) CrearEtiqueta(panel, etiqueta);

  Colocar(new Navegador(modelo_, QStringLiteral("wwDBNavigator1"), panel), "wwDBNavigator1", diseno.navegador);
  rejilla_ = Colocar(new RejillaDatos(modelo_, kCeldas, kCeldasAlternas, kTitulos, panel), diseno.nombreRejilla,
                     diseno.rejilla);

  auto* salir = Colocar(new QPushButton(panel->style()->standardIcon(QStyle::SP_DialogCloseButton),
                                        QStringLiteral("Salir"), panel),
                        "BitBtn1", diseno.salir);
  salir->setFont(Fuente(8, true));
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
  if (enLaRejilla == enLaRejilla_) return;
  if (enLaRejilla) {
    enLaRejilla_ = true;
    alEntrar_();
    return;
  }
  if (!falloSinMostrar_) alSalir_();
  if (falloSinMostrar_ || modelo_.Rechazado()) {  // a refused cell or record: the grid keeps the focus
    rejilla_->setFocus();
    return;
  }
  enLaRejilla_ = false;
}

// The message waits until the event that caused it is over (an editor closing, a click half done). One
// event shows one message: the same refusal met again within it (the cell handing its text over, then the
// move it was for) is not shown twice.
void MarcoRevision::Fallo(const QString& mensaje) {
  if (falloSinMostrar_) return;
  falloSinMostrar_ = true;
  QMetaObject::invokeMethod(
      this,
      [this, mensaje] {
        falloSinMostrar_ = false;
        if (mostrarError_) mostrarError_(mensaje.toStdString());
      },
      Qt::QueuedConnection);
}

// "Salir" closes the dialog unless the grid kept the focus because its record was refused, or a cell still
// holds a text that the table refused: that text stays, to be corrected.
void MarcoRevision::SalirClick() {
  if ((enLaRejilla_ && falloSinMostrar_) || modelo_.Rechazado()) return;
  dialogo_.close();
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
