#include "app/qt/exportar_datos.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "app/diseno_ventana.h"
#include "app/qt/interfaz_qt.h"
#include "app/qt/lista_carpetas.h"
#include "app/qt/panel_degradado.h"
#include "platform/platform.h"

namespace app {
namespace {

constexpr Qt::WindowFlags kBordeFijo = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                       Qt::MSWindowsFixedSizeDialogHint;

QColor Color(const diseno::Rgb& rgb) { return {rgb.rojo, rgb.verde, rgb.azul}; }

QRect Rectangulo(const diseno::Caja& caja) { return {caja.izquierda, caja.arriba, caja.ancho, caja.alto}; }

QString Texto(std::string_view texto) { return QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size())); }

// A family of the Windows desktop, or the metric-compatible sans of this system where it is missing.
QFont Fuente(const diseno::TipoLetra& letra) {
  const QString familiaWindows = Texto(letra.cara);
  bool presente = QFontDatabase::families().contains(familiaWindows, Qt::CaseInsensitive);
  QFont fuente(presente ? familiaWindows : QStringLiteral("Liberation Sans"), letra.puntos);
  fuente.setBold(letra.negrita);
  return fuente;
}

void Colorear(QWidget* control, QPalette::ColorRole rol, const QColor& color) {
  QPalette paleta = control->palette();
  paleta.setColor(rol, color);
  control->setPalette(paleta);
}

template <class Control>
Control* Colocar(Control* control, std::string_view nombre, const diseno::Caja& caja) {
  control->setObjectName(Texto(nombre));
  control->setGeometry(Rectangulo(caja));
  return control;
}

// A control of the design on its panel, in its font, its text in its colour (`rolTinta`) where it has one.
template <class Control>
Control* Colocar(Control* control, const diseno::Control& def, QPalette::ColorRole rolTinta) {
  Colocar(control, def.nombre, def.caja);
  if (def.letra != diseno::kLetraVentana) control->setFont(Fuente(def.letra));  // else the window's, inherited
  if (def.tinta) Colorear(control, rolTinta, Color(*def.tinta));
  if (def.fondo) Colorear(control, QPalette::Base, Color(*def.fondo));
  return control;
}

// The panel's labels: transparent, at fixed places; a wrapped one wraps at word boundaries inside its box.
void CrearEtiquetas(QWidget* panel, diseno::IndicePanel indice) {
  for (const diseno::Etiqueta& def : diseno::kEtiquetas) {
    if (def.panel != indice) continue;
    auto* etiqueta = Colocar(new QLabel(Texto(def.texto), panel), def.nombre, def.caja);
    etiqueta->setTextFormat(Qt::PlainText);
    etiqueta->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    etiqueta->setWordWrap(def.ajustada);
    etiqueta->setFont(Fuente(def.letra));
    // The window's background role is the button face, from which a label takes ButtonText (black) for its
    // text unless it is told to draw in WindowText.
    etiqueta->setForegroundRole(QPalette::WindowText);
    Colorear(etiqueta, QPalette::WindowText, Color(def.color));
  }
}

bool EsEnter(const QKeyEvent& tecla) {
  return (tecla.key() == Qt::Key_Return || tecla.key() == Qt::Key_Enter) &&
         (tecla.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

QStyle::StandardPixmap Icono(diseno::Glifo glifo) {
  return glifo == diseno::Glifo::kCerrar ? QStyle::SP_DialogCloseButton : QStyle::SP_DialogOkButton;
}

QPushButton* Boton(QWidget* panel, const diseno::Control& def) {
  auto* boton = Colocar(new QPushButton(panel->style()->standardIcon(Icono(def.glifo)), Texto(def.texto), panel), def,
                        QPalette::ButtonText);
  boton->setFocusPolicy(Qt::StrongFocus);
  return boton;
}

PanelDegradado* Panel(QWidget* ventana, diseno::IndicePanel indice) {
  const diseno::Panel& def = diseno::kPaneles[indice];
  return Colocar(new PanelDegradado(Color(def.inicio), Color(def.medio), Color(def.fin), ventana), def.nombre, def.caja);
}

}  // namespace

TExportarDatos::TExportarDatos(run::InterfazUsuario* interfaz, QWidget* parent)
    : QWidget(parent, kBordeFijo),
      interfazPropia_(interfaz ? nullptr : std::make_unique<InterfazQt>(this)),
      interfaz_(interfaz ? *interfaz : *interfazPropia_),
      ventana_(engine_, interfaz_) {
  setObjectName(Texto(diseno::kNombreVentana));
  setWindowTitle(QString::fromUtf8(kTituloAplicacion));  // the window carries the application's title
  setFixedSize(diseno::kAnchoVentana, diseno::kAltoVentana);
  move(diseno::kIzquierdaVentana, diseno::kArribaVentana);
  setFont(Fuente(diseno::kLetraVentana));
  setBackgroundRole(QPalette::Button);

  CrearPanelOrigen(Panel(this, diseno::kPanelOrigen));
  CrearPanelExportacion(Panel(this, diseno::kPanelExportacion));
  draw3D3_ = Panel(this, diseno::kPanelImportacion);
  CrearPanelImportacion(draw3D3_);
  OrdenarTabulacion();
  LlenarUnidades();
  bExportar_->setDefault(true);  // until the focus is somewhere in the window
  seguimientoDelFoco_ = connect(qApp, &QApplication::focusChanged, this,
                                [this](QWidget* /*antes*/, QWidget* ahora) { FocoCambiado(ahora); });

  ventana_.alCambiarDirectorio = [this] { MostrarDirectorio(); };
  FormCreate();
}

// The controls go after this body, and the focus moves as they go: no more default buttons to follow.
TExportarDatos::~TExportarDatos() { disconnect(seguimientoDelFoco_); }

// ---------------------------------------------------------------------------------------------------------
// The controls

void TExportarDatos::CrearPanelOrigen(QWidget* panel) {
  CrearEtiquetas(panel, diseno::kPanelOrigen);

  edNuevoDir_ = Colocar(new QLineEdit(panel), diseno::kEdNuevoDir, QPalette::Text);
  edNuevoDir_->setReadOnly(true);  // only shows the folder

  listaDirectorios_ = Colocar(new ListaCarpetas(panel), diseno::kListaDirectorios, QPalette::Text);
  listaDirectorios_->alAbrir = [this](const std::string& carpeta) { AbrirCarpeta(carpeta); };

  listaUnidades_ = Colocar(new QComboBox(panel), diseno::kListaUnidades, QPalette::ButtonText);
  connect(listaUnidades_, &QComboBox::activated, this, [this](int indice) { ElegirUnidad(indice); });

  cbCentro_ = Colocar(new QComboBox(panel), diseno::kCBCentro, QPalette::Text);
  cbCentro_->setEditable(false);

  bClose_ = Boton(panel, diseno::kBClose);
  connect(bClose_, &QPushButton::clicked, this, &QWidget::close);
}

void TExportarDatos::CrearPanelExportacion(QWidget* panel) {
  CrearEtiquetas(panel, diseno::kPanelExportacion);

  comboBoxValCast_ = Colocar(new QComboBox(panel), diseno::kComboBoxValCast, QPalette::Text);
  comboBoxValCast_->setEditable(true);
  comboBoxValCast_->setInsertPolicy(QComboBox::NoInsert);  // typed text is the choice, not a new item
  for (const char* idioma : exportacion::kIdiomas) comboBoxValCast_->addItem(QString::fromUtf8(idioma));
  comboBoxValCast_->setCurrentText(QString::fromUtf8(kIdiomaInicial));
  comboBoxValCast_->installEventFilter(this);

  bExportar_ = Boton(panel, diseno::kBExportar);
  connect(bExportar_, &QPushButton::clicked, this, [this] { BExportarClick(); });
}

void TExportarDatos::CrearPanelImportacion(QWidget* panel) {
  CrearEtiquetas(panel, diseno::kPanelImportacion);

  bImportar_ = Boton(panel, diseno::kBImportar);
  connect(bImportar_, &QPushButton::clicked, this, [this] { BImportarClick(); });
}

// The panels in order, and inside each its controls in the order the user tabs through them.
void TExportarDatos::OrdenarTabulacion() {
  QWidget* anterior = nullptr;
  for (const diseno::Control* def : diseno::kOrdenTabulacion) {
    auto* control = findChild<QWidget*>(Texto(def->nombre));
    if (anterior) setTabOrder(anterior, control);
    anterior = control;
  }
}

// The drive list: every mapped drive, written the Windows way ("c:").
void TExportarDatos::LlenarUnidades() {
  QIcon icono = style()->standardIcon(QStyle::SP_DriveHDIcon);
  for (char letra : platform::MappedDrives()) {
    QChar unidad = QChar::fromLatin1(letra);
    listaUnidades_->addItem(icono, unidad.toLower() + QLatin1Char(':'), unidad);
  }
}

// ---------------------------------------------------------------------------------------------------------
// The default buttons

// BExportar and BImportar are each the default button of their panel, as in a Windows dialog: Enter that
// the control with the focus does not take clicks the default button of the focused control's panel, and
// only that button is drawn as the default. The first panel has none: there, as with no focus, Enter
// clicks the window's first default button in tab order, BExportar. A button with the focus answers Enter
// itself, and is then the one drawn as the default.
QPushButton* TExportarDatos::BotonPorDefecto(const QWidget* foco) const {
  for (QPushButton* boton : {bClose_, bExportar_, bImportar_}) {
    if (foco == boton) return boton;
  }
  if (foco != nullptr && draw3D3_->isAncestorOf(foco)) return bImportar_;
  return bExportar_;  // Draw3D2's, and the window's first
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
// What the window shows

void TExportarDatos::FormCreate() {
  run::EjecutarManejador(interfaz_, [this] { ventana_.FormCreate(); });
  MostrarDirectorio();
  MostrarCentros();
}

void TExportarDatos::MostrarDirectorio() {
  edNuevoDir_->setText(QString::fromStdString(ventana_.EdNuevoDir()));
  listaDirectorios_->MostrarCarpeta(ventana_.Directorio());
  MostrarUnidad();
}

// The drive list follows the directory list's drive.
void TExportarDatos::MostrarUnidad() {
  listaUnidades_->setCurrentIndex(listaUnidades_->findData(QChar::fromLatin1(ventana_.Directorio().front())));
}

// Filled once, at creation: later folder changes keep the codes read then.
void TExportarDatos::MostrarCentros() {
  for (const std::string& centro : ventana_.Centros()) cbCentro_->addItem(QString::fromStdString(centro));
  cbCentro_->setCurrentIndex(ventana_.CentroSeleccionado());
  connect(cbCentro_, &QComboBox::currentIndexChanged, this, [this](int indice) { ventana_.SeleccionarCentro(indice); });
}

// ---------------------------------------------------------------------------------------------------------
// The user's actions

void TExportarDatos::AbrirCarpeta(const std::string& carpeta) {
  run::EjecutarManejador(interfaz_, [&] { ventana_.CambiarDirectorio(carpeta); });
}

void TExportarDatos::ElegirUnidad(int indice) {
  char letra = listaUnidades_->itemData(indice).toChar().toLatin1();
  run::EjecutarManejador(interfaz_, [&] {
    if (!platform::DriveReady(letra)) throw platform::FileError(platform::kNotReady);
    ventana_.CambiarDirectorio(platform::CurrentFolderOfDrive(letra));
  });
  MostrarUnidad();  // back on the list's drive when the move failed
}

void TExportarDatos::BExportarClick() {
  ventana_.idioma = comboBoxValCast_->currentText().toStdString();
  run::EjecutarManejador(interfaz_, [this] { ventana_.BExportarClick(pasosExportacion); });
}

void TExportarDatos::BImportarClick() {
  run::EjecutarManejador(interfaz_, [this] { ventana_.BImportarClick(); });
}

}  // namespace app
