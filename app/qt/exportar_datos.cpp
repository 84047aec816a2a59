#include "app/qt/exportar_datos.h"

#include <QApplication>
#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>

#include "app/qt/dialogos_qt.h"
#include "app/qt/diseno_qt.h"
#include "app/qt/icono.h"
#include "app/qt/interfaz_qt.h"
#include "app/qt/lista_carpetas.h"
#include "app/qt/panel_degradado.h"

namespace app {
namespace {

namespace diseno = ventana::diseno;

constexpr Qt::WindowFlags kBordeFijo = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                       Qt::MSWindowsFixedSizeDialogHint;

// A control of the design on its panel, in its font, its text in its colour (`rolTinta`) where it has one.
template <class Control>
Control* ColocarControl(Control* control, const ventana::Control& def, QPalette::ColorRole rolTinta) {
  Colocar(control, def.nombre, def.caja);
  if (def.letra != diseno::kLetraVentana) control->setFont(FuenteQt(def.letra));  // else the window's, inherited
  if (def.tinta) Colorear(*control, rolTinta, ColorQt(*def.tinta));
  if (def.fondo) Colorear(*control, QPalette::Base, ColorQt(*def.fondo));
  return control;
}

// The panel's labels.
void CrearEtiquetas(QWidget* panel, diseno::IndicePanel indice) {
  for (const ventana::Etiqueta& def : diseno::kEtiquetas) {
    if (def.panel == indice) CrearEtiqueta(panel, def);
  }
}

bool EsEnter(const QKeyEvent& tecla) {
  return (tecla.key() == Qt::Key_Return || tecla.key() == Qt::Key_Enter) &&
         (tecla.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

QStyle::StandardPixmap Icono(ventana::Glifo glifo) {
  return glifo == ventana::Glifo::kCerrar ? QStyle::SP_DialogCloseButton : QStyle::SP_DialogOkButton;
}

QPushButton* Boton(QWidget* panel, const ventana::Control& def) {
  auto* boton = ColocarControl(
      new QPushButton(panel->style()->standardIcon(Icono(def.glifo)), TextoQt(def.texto), panel), def,
      QPalette::ButtonText);
  boton->setFocusPolicy(Qt::StrongFocus);
  return boton;
}

PanelDegradado* Panel(QWidget* padre, diseno::IndicePanel indice) {
  const ventana::Panel& def = diseno::kPaneles[indice];
  return Colocar(new PanelDegradado(ColorQt(def.inicio), ColorQt(def.medio), ColorQt(def.fin), padre), def.nombre,
                 def.caja);
}

}  // namespace

TExportarDatos::TExportarDatos(run::InterfazUsuario* interfaz, QWidget* parent)
    : QWidget(parent, kBordeFijo),
      interfazPropia_(interfaz ? nullptr : std::make_unique<InterfazQt>(this)),
      ventana_(interfaz ? *interfaz : *interfazPropia_),
      dialogos_(std::make_unique<DialogosQt>(this, ventana_.Interfaz())) {
  ventana_.PonerDialogos(dialogos_.get());
  setObjectName(TextoQt(diseno::kNombreVentana));
  setWindowTitle(QString::fromUtf8(ventana::kTituloAplicacion));  // the window carries the application's title
  setWindowIcon(IconoPrograma());  // and the program's icon, which its dialogs take from it
  setFixedSize(diseno::kAnchoVentana, diseno::kAltoVentana);
  move(diseno::kIzquierdaVentana, diseno::kArribaVentana);
  setFont(FuenteQt(diseno::kLetraVentana));
  setBackgroundRole(QPalette::Button);

  CrearPanelOrigen(Panel(this, diseno::kPanelOrigen));
  CrearPanelExportacion(Panel(this, diseno::kPanelExportacion));
  CrearPanelImportacion(Panel(this, diseno::kPanelImportacion));
  OrdenarTabulacion();
  LlenarUnidades();
  CrearMenuVentana();
  bExportar_->setDefault(true);  // until the focus is somewhere in the window
  seguimientoDelFoco_ = connect(qApp, &QApplication::focusChanged, this,
                                [this](QWidget* /*antes*/, QWidget* ahora) { FocoCambiado(ahora); });

  ventana_.AlCambiarCarpeta([this] { MostrarDirectorio(); });
  ventana_.Crear();
  MostrarDirectorio();
  MostrarCentros();
}

// The controls go after this body, and the focus moves as they go: no more default buttons to follow.
TExportarDatos::~TExportarDatos() { disconnect(seguimientoDelFoco_); }

// ---------------------------------------------------------------------------------------------------------
// The controls

void TExportarDatos::CrearPanelOrigen(QWidget* panel) {
  CrearEtiquetas(panel, diseno::kPanelOrigen);

  edNuevoDir_ = ColocarControl(new QLineEdit(panel), diseno::kEdNuevoDir, QPalette::Text);
  edNuevoDir_->setReadOnly(true);  // only shows the folder

  listaDirectorios_ = ColocarControl(new ListaCarpetas(panel), diseno::kListaDirectorios, QPalette::Text);
  listaDirectorios_->alAbrir = [this](const std::string& carpeta) { ventana_.AbrirCarpeta(carpeta); };

  listaUnidades_ = ColocarControl(new QComboBox(panel), diseno::kListaUnidades, QPalette::ButtonText);
  connect(listaUnidades_, &QComboBox::activated, this, [this](int indice) {
    ventana_.ElegirUnidad(indice);
    MostrarUnidad();  // back on the list's drive when the move failed
  });

  cbCentro_ = ColocarControl(new QComboBox(panel), diseno::kCBCentro, QPalette::Text);
  cbCentro_->setEditable(false);

  bClose_ = Boton(panel, diseno::kBClose);
  connect(bClose_, &QPushButton::clicked, this, &QWidget::close);
}

void TExportarDatos::CrearPanelExportacion(QWidget* panel) {
  CrearEtiquetas(panel, diseno::kPanelExportacion);

  comboBoxValCast_ = ColocarControl(new QComboBox(panel), diseno::kComboBoxValCast, QPalette::Text);
  comboBoxValCast_->setEditable(true);
  comboBoxValCast_->setInsertPolicy(QComboBox::NoInsert);  // typed text is the choice, not a new item
  for (const char* idioma : ventana::kIdiomas) comboBoxValCast_->addItem(QString::fromUtf8(idioma));
  comboBoxValCast_->setCurrentText(QString::fromUtf8(ventana::kIdiomaInicial));
  comboBoxValCast_->installEventFilter(this);

  bExportar_ = Boton(panel, diseno::kBExportar);
  connect(bExportar_, &QPushButton::clicked, this, &TExportarDatos::BExportarClick);
}

void TExportarDatos::CrearPanelImportacion(QWidget* panel) {
  CrearEtiquetas(panel, diseno::kPanelImportacion);

  bImportar_ = Boton(panel, diseno::kBImportar);
  connect(bImportar_, &QPushButton::clicked, this, &TExportarDatos::BImportarClick);
}

// The panels in order, and inside each its controls in the order the user tabs through them.
void TExportarDatos::OrdenarTabulacion() {
  QWidget* anterior = nullptr;
  for (const ventana::Control* def : diseno::kOrdenTabulacion) {
    auto* control = findChild<QWidget*>(TextoQt(def->nombre));
    if (anterior) setTabOrder(anterior, control);
    anterior = control;
  }
}

void TExportarDatos::LlenarUnidades() {
  QIcon icono = style()->standardIcon(QStyle::SP_DriveHDIcon);
  for (char letra : ventana_.Unidades()) {
    listaUnidades_->addItem(icono, QString::fromStdString(ventana::VentanaPrincipal::NombreDeUnidad(letra)));
  }
}

// ---------------------------------------------------------------------------------------------------------
// The window menu

// Each order is an action of the window, so that its shortcut works wherever the focus is in it, and an item
// of the context menu, which shows the shortcut beside it.
void TExportarDatos::CrearMenuVentana() {
  menuVentana_ = new QMenu(this);
  menuVentana_->setObjectName(QStringLiteral("MenuVentana"));
  for (const ventana::ElementoMenu& elemento : ventana::kMenuVentana) {
    auto* accion = new QAction(QString::fromUtf8(elemento.texto), this);
    accion->setShortcut(QKeySequence(QString::fromStdString(ventana::TextoAtajo(elemento)), QKeySequence::PortableText));
    accion->setShortcutContext(Qt::WindowShortcut);
    accion->setShortcutVisibleInContextMenu(true);
    connect(accion, &QAction::triggered, this, [this, orden = elemento.orden] { ventana_.EjecutarOrden(orden); });
    addAction(accion);
    menuVentana_->addAction(accion);
  }
}

// A right click on a panel or on a control that has no menu of its own.
void TExportarDatos::contextMenuEvent(QContextMenuEvent* event) {
  menuVentana_->popup(event->globalPos());
  event->accept();
}

// ---------------------------------------------------------------------------------------------------------
// The default buttons

// The design's control that is `foco` or holds it (the edit line inside the language box).
const ventana::Control* TExportarDatos::DisenoDe(const QWidget* foco) const {
  for (; foco != nullptr && foco != this; foco = foco->parentWidget()) {
    for (const ventana::Control* def : diseno::kOrdenTabulacion) {
      if (foco->objectName() == TextoQt(def->nombre)) return def;
    }
  }
  return nullptr;
}

// Enter that the control with the focus does not take clicks the default button (ventana::BotonPorDefecto),
// and only that button is drawn as the default.
QPushButton* TExportarDatos::BotonPorDefecto(const QWidget* foco) const {
  return findChild<QPushButton*>(TextoQt(ventana::BotonPorDefecto(DisenoDe(foco)).nombre));
}

// Only moves inside this window count: a message box or another window taking the focus, or the focus
// leaving the program, changes nothing.
void TExportarDatos::FocoCambiado(QWidget* ahora) {
  if (ahora == nullptr || !(ahora == this || isAncestorOf(ahora))) return;
  QPushButton* porDefecto = BotonPorDefecto(ahora);
  for (QPushButton* boton : {bClose_, bExportar_, bImportar_}) boton->setDefault(boton == porDefecto);
}

void TExportarDatos::PulsarBotonPorDefecto() {
  QPushButton* boton = BotonPorDefecto(QApplication::focusWidget());
  if (boton->isVisible() && boton->isEnabled()) boton->click();
}

// Enter reaches the window when the control with the focus does not take it (every control but the
// directory list, which opens its entry).
void TExportarDatos::keyPressEvent(QKeyEvent* event) {
  if (!EsEnter(*event)) {
    QWidget::keyPressEvent(event);
    return;
  }
  PulsarBotonPorDefecto();
  event->accept();
}

// The language box would keep Enter to accept its inline completion (all of its text is selected once
// the user tabs into it), which is already its text: Enter goes to the default button first.
bool TExportarDatos::eventFilter(QObject* objeto, QEvent* event) {
  if (objeto == comboBoxValCast_ && event->type() == QEvent::KeyPress && EsEnter(*static_cast<QKeyEvent*>(event))) {
    PulsarBotonPorDefecto();
    return true;
  }
  return QWidget::eventFilter(objeto, event);
}

// ---------------------------------------------------------------------------------------------------------
// The buttons' handlers

void TExportarDatos::BExportarClick() { ventana_.PulsarExportar(comboBoxValCast_->currentText().toStdString()); }

void TExportarDatos::BImportarClick() { ventana_.PulsarImportar(); }

// ---------------------------------------------------------------------------------------------------------
// What the window shows

void TExportarDatos::MostrarDirectorio() {
  edNuevoDir_->setText(QString::fromStdString(ventana_.CarpetaMostrada()));
  listaDirectorios_->MostrarCarpeta(ventana_.Directorio());
  MostrarUnidad();
}

// The drive list follows the directory list's drive.
void TExportarDatos::MostrarUnidad() { listaUnidades_->setCurrentIndex(ventana_.UnidadActual()); }

// Filled once, at creation: later folder changes keep the codes read then.
void TExportarDatos::MostrarCentros() {
  for (const std::string& centro : ventana_.Centros()) cbCentro_->addItem(QString::fromStdString(centro));
  cbCentro_->setCurrentIndex(ventana_.CentroSeleccionado());
  connect(cbCentro_, &QComboBox::currentIndexChanged, this, [this](int indice) { ventana_.SeleccionarCentro(indice); });
}

}  // namespace app
