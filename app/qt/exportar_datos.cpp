#include "app/qt/exportar_datos.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "app/qt/interfaz_qt.h"
#include "app/qt/lista_carpetas.h"
#include "app/qt/panel_degradado.h"
#include "app/version.h"
#include "platform/platform.h"

namespace app {
namespace {

constexpr Qt::WindowFlags kBordeFijo = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                       Qt::MSWindowsFixedSizeDialogHint;

const QColor kAzul(0x00, 0x00, 0xFF);
const QColor kRojo(0xFF, 0x00, 0x00);
const QColor kNegro(0x00, 0x00, 0x00);
const QColor kBlanco(0xFF, 0xFF, 0xFF);

// A family of the Windows desktop, or the metric-compatible sans of this system where it is missing.
QFont Fuente(const QString& familiaWindows, int puntos, bool negrita) {
  bool presente = QFontDatabase::families().contains(familiaWindows, Qt::CaseInsensitive);
  QFont fuente(presente ? familiaWindows : QStringLiteral("Liberation Sans"), puntos);
  fuente.setBold(negrita);
  return fuente;
}
QFont Arial(int puntos, bool negrita = false) { return Fuente(QStringLiteral("Arial"), puntos, negrita); }
QFont MsSansSerif(int puntos, bool negrita = false) { return Fuente(QStringLiteral("MS Sans Serif"), puntos, negrita); }

void Colorear(QWidget* control, QPalette::ColorRole rol, const QColor& color) {
  QPalette paleta = control->palette();
  paleta.setColor(rol, color);
  control->setPalette(paleta);
}

template <class Control>
Control* Colocar(Control* control, const char* nombre, const QRect& caja) {
  control->setObjectName(QString::fromLatin1(nombre));
  control->setGeometry(caja);
  return control;
}

// A transparent label at a fixed place; `ajustada` wraps it at word boundaries inside its box.
struct DefEtiqueta {
  const char* nombre;
  QRect caja;
  QString texto;
  QFont fuente;
  QColor color;
  bool ajustada = false;
};

void CrearEtiquetas(QWidget* panel, const std::vector<DefEtiqueta>& etiquetas) {
  for (const DefEtiqueta& def : etiquetas) {
    auto* etiqueta = Colocar(new QLabel(def.texto, panel), def.nombre, def.caja);
    etiqueta->setTextFormat(Qt::PlainText);
    etiqueta->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    etiqueta->setWordWrap(def.ajustada);
    etiqueta->setFont(def.fuente);
    // The window's background role is the button face, from which a label takes ButtonText (black) for its
    // text unless it is told to draw in WindowText.
    etiqueta->setForegroundRole(QPalette::WindowText);
    Colorear(etiqueta, QPalette::WindowText, def.color);
  }
}

bool EsEnter(const QKeyEvent& tecla) {
  return (tecla.key() == Qt::Key_Return || tecla.key() == Qt::Key_Enter) &&
         (tecla.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

QPushButton* Boton(QWidget* panel, const char* nombre, const QRect& caja, const QString& texto, QStyle::StandardPixmap icono) {
  auto* boton = Colocar(new QPushButton(panel->style()->standardIcon(icono), texto, panel), nombre, caja);
  boton->setFocusPolicy(Qt::StrongFocus);
  return boton;
}

}  // namespace

TExportarDatos::TExportarDatos(run::InterfazUsuario* interfaz, QWidget* parent)
    : QWidget(parent, kBordeFijo),
      interfazPropia_(interfaz ? nullptr : std::make_unique<InterfazQt>(this)),
      interfaz_(interfaz ? *interfaz : *interfazPropia_),
      ventana_(engine_, interfaz_) {
  setObjectName(QStringLiteral("ExportarDatos"));
  setWindowTitle(QString::fromUtf8(kTituloAplicacion));  // the window carries the application's title
  setFixedSize(587, 431);
  move(110, 57);
  setFont(MsSansSerif(8));
  setBackgroundRole(QPalette::Button);

  const QColor azulado[] = {QColor(0xC2, 0xCD, 0xFE), QColor(0xCF, 0xF2, 0xFE), QColor(0xCC, 0xD8, 0xE6)};
  const QColor dorado[] = {QColor(0xF9, 0xD3, 0x7D), QColor(0xFF, 0xFF, 0xFF), QColor(0xFF, 0xEE, 0xDD)};
  CrearPanelOrigen(Colocar(new PanelDegradado(azulado[0], azulado[1], azulado[2], this), "Draw3D1", {0, 0, 273, 431}));
  CrearPanelExportacion(Colocar(new PanelDegradado(dorado[0], dorado[1], dorado[2], this), "Draw3D2", {273, 0, 315, 162}));
  draw3D3_ = Colocar(new PanelDegradado(dorado[0], dorado[1], dorado[2], this), "Draw3D3", {273, 162, 315, 272});
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
  // Label1's text is wider than its box in Arial 8 pt: it takes a second line above the edit box instead.
  CrearEtiquetas(panel, {{"Label1", {15, 10, 238, 28}, "Carpeta en la que se encuentran los datos de ESCOLAN", Arial(8), kAzul, true},
                         {"Label2", {15, 274, 90, 14}, "Código del centro", Arial(8), kAzul}});

  edNuevoDir_ = Colocar(new QLineEdit(panel), "EdNuevoDir", {15, 39, 220, 22});
  edNuevoDir_->setReadOnly(true);  // only shows the folder
  edNuevoDir_->setFont(Arial(8, true));
  Colorear(edNuevoDir_, QPalette::Text, kNegro);

  listaDirectorios_ = Colocar(new ListaCarpetas(panel), "ListaDirectorios", {14, 72, 220, 157});
  listaDirectorios_->setFont(Arial(8, true));
  Colorear(listaDirectorios_, QPalette::Text, kNegro);
  listaDirectorios_->alAbrir = [this](const std::string& carpeta) { AbrirCarpeta(carpeta); };

  listaUnidades_ = Colocar(new QComboBox(panel), "ListaUnidades", {12, 236, 222, 20});
  listaUnidades_->setFont(Arial(8, true));
  Colorear(listaUnidades_, QPalette::ButtonText, kNegro);
  connect(listaUnidades_, &QComboBox::activated, this, [this](int indice) { ElegirUnidad(indice); });

  cbCentro_ = Colocar(new QComboBox(panel), "CBCentro", {16, 296, 145, 21});
  cbCentro_->setEditable(false);

  bClose_ = Boton(panel, "BClose", {72, 344, 89, 25}, QStringLiteral("&Salir"), QStyle::SP_DialogCloseButton);
  connect(bClose_, &QPushButton::clicked, this, &QWidget::close);
}

void TExportarDatos::CrearPanelExportacion(QWidget* panel) {
  CrearEtiquetas(
      panel,
      {{"Label8", {23, 3, 257, 34}, "UTILIDAD TRANSFERENCIA DE DATOS                ESCOLAN<->HORVANE", Arial(10, true), kAzul, true},
       {"Label3", {24, 40, 265, 57}, "Exportar datos desde ESCOLAN hacia Horvane (Generador de horarios y organizador de grupos)",
        Arial(12, true), kNegro, true},
       {"Label9", {6, 103, 183, 13}, "Recoger Textos Asignaturas en:", MsSansSerif(8, true), kRojo}});

  comboBoxValCast_ = Colocar(new QComboBox(panel), "ComboBoxValCast", {200, 101, 110, 21});
  comboBoxValCast_->setEditable(true);
  comboBoxValCast_->setInsertPolicy(QComboBox::NoInsert);  // typed text is the choice, not a new item
  for (const char* idioma : exportacion::kIdiomas) comboBoxValCast_->addItem(QString::fromUtf8(idioma));
  comboBoxValCast_->setCurrentText(QString::fromUtf8(kIdiomaInicial));
  comboBoxValCast_->setFont(MsSansSerif(8, true));
  Colorear(comboBoxValCast_, QPalette::Text, kNegro);
  Colorear(comboBoxValCast_, QPalette::Base, kBlanco);
  comboBoxValCast_->installEventFilter(this);

  bExportar_ = Boton(panel, "BExportar", {111, 130, 89, 25}, QStringLiteral("Aceptar"), QStyle::SP_DialogOkButton);
  connect(bExportar_, &QPushButton::clicked, this, [this] { BExportarClick(); });
}

// The two warnings take four and three lines of Arial 12 pt bold: Label5 is taller than its first design
// (down to the button) and Label6 a little wider, so that neither is cut.
void TExportarDatos::CrearPanelImportacion(QWidget* panel) {
  QString credito = QString::fromUtf8(kNombreProducto) + QLatin1Char(' ') + QString::fromUtf8(kVersion);
  CrearEtiquetas(
      panel,
      {{"Label4", {8, 16, 265, 49}, "Importar datos desde Horvane (hacia ESCOLAN)", Arial(12, true), kNegro, true},
       {"Label5", {8, 68, 281, 76},
        "ATENCIÓN. Debería efectuar una copia de seguridad de los datos de ESCOLAN, antes de lanzar este proceso.",
        Arial(12, true), kRojo, true},
       {"Label6", {8, 187, 289, 65},
        "ATENCIÓN. Es necesario reorganizar los archivos de ESCOLAN después de efectuar este proceso.", Arial(12, true),
        kRojo, true},
       {"Label7", {8, 252, 281, 14}, credito, Arial(8), kAzul}});

  bImportar_ = Boton(panel, "BImportar", {108, 145, 89, 25}, QStringLiteral("Aceptar"), QStyle::SP_DialogOkButton);
  connect(bImportar_, &QPushButton::clicked, this, [this] { BImportarClick(); });
}

// The panels in order, and inside each its controls in the order the user tabs through them.
void TExportarDatos::OrdenarTabulacion() {
  const char* orden[] = {"EdNuevoDir", "ListaDirectorios", "ListaUnidades", "CBCentro",
                         "BClose",     "BExportar",        "ComboBoxValCast", "BImportar"};
  QWidget* anterior = nullptr;
  for (const char* nombre : orden) {
    auto* control = findChild<QWidget*>(QString::fromLatin1(nombre));
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
