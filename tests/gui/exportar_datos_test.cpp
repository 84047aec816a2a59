// The main window's wiring: start-up, the centre list, the directory and drive lists, the buttons and the
// Enter key, the message boxes and hourglass of the export run, and the captions that reach the window
// system; each case on a temporary drive C: of its own.
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <functional>
#include <map>
#include <memory>

#include "app/qt/control_revision.h"
#include "app/qt/exportar_datos.h"
#include "app/qt/interfaz_qt.h"
#include "import/importacion.h"
#include "platform/drive_map.h"
#include "tests/gui/ventana_de_prueba.h"
#include "tests/support/interfaz_guionada.h"

using gui_testing::Lista;

namespace {

bool EsperaActiva() { return QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor; }

// Answers the modal message boxes that open while it lives, noting what each one showed.
class ContestadorDeCuadros {
 public:
  struct Cuadro {
    QMessageBox::Icon icono;
    QString titulo;
    QString texto;
    QStringList botones;
    bool cursorEspera;  // the hourglass was on while the box showed
    int ancho;
    int anchoTitulo;    // the caption's text, bold, in the title bar's font or the box's, the wider
    int altoBarra;      // a title bar's height in the box's style
  };

  ContestadorDeCuadros() {
    QObject::connect(&reloj_, &QTimer::timeout, [this] { Contestar(); });
    reloj_.start(5);
  }

  std::vector<Cuadro> cuadros;

 private:
  void Contestar() {
    auto* cuadro = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (cuadro == nullptr) return;
    QStringList botones;
    for (QAbstractButton* boton : cuadro->buttons()) botones << boton->text();
    int anchoTitulo = 0;
    for (QFont fuente : {QApplication::font("QMdiSubWindowTitleBar"), cuadro->font()}) {
      fuente.setBold(true);
      anchoTitulo = std::max(anchoTitulo, QFontMetrics(fuente).horizontalAdvance(cuadro->windowTitle()));
    }
    cuadros.push_back({cuadro->icon(), cuadro->windowTitle(), cuadro->text(), botones, EsperaActiva(), cuadro->width(),
                       anchoTitulo, cuadro->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, cuadro)});
    cuadro->buttons().front()->click();
  }

  QTimer reloj_;
};

}  // namespace

class ExportarDatosTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void startUpEndsInEscolan_data();
  void startUpEndsInEscolan();
  void theCentreListHoldsEveryStoredCode_data();
  void theCentreListHoldsEveryStoredCode();
  void choosingACentreIsTheWindowsCentre();
  void aFailingStartUpStillOpensTheWindow_data();
  void aFailingStartUpStillOpensTheWindow();
  void openingAnEntryMovesThereAndStagesAgain_data();
  void openingAnEntryMovesThereAndStagesAgain();
  void gesturesThatChangeNothing_data();
  void gesturesThatChangeNothing();
  void choosingADrive_data();
  void choosingADrive();
  void theExportRunsBoxesAndHourglass_data();
  void theExportRunsBoxesAndHourglass();
  void theImportWithoutASolutionSaysSo();
  void salirClosesTheWindow();
  void enterClicksTheDefaultButtonOfTheFocusedPanel_data();
  void enterClicksTheDefaultButtonOfTheFocusedPanel();
  void theWindowSystemGetsTheCaptionsAsDesigned_data();
  void theWindowSystemGetsTheCaptionsAsDesigned();

 private:
  void Abrir(run::InterfazUsuario* interfaz);
  void Abrir() { Abrir(interfaz_.get()); }
  // ESCOLAN with two centres and a subfolder OTRO (with a centre of its own and a subfolder SUB).
  void EscribirEscolan();
  QStringList Entradas() const;
  QListWidgetItem* Entrada(const QString& texto) const;
  // The staged centro, or "(none)".
  std::string CentroPreparado() const;
  std::string CentroDe(const std::string& carpeta) const { return drive_->ReadHostFile(carpeta + "/centro.dbf"); }
  template <class Control>
  Control* Buscar(const char* nombre) const {
    return gui_testing::Buscar<Control>(*ventana_, nombre);
  }

  std::unique_ptr<testing_support::TemporaryDrive> drive_;
  std::unique_ptr<testing_support::InterfazGuionada> interfaz_;
  std::unique_ptr<app::TExportarDatos> ventana_;
};

void ExportarDatosTest::init() {
  drive_ = std::make_unique<testing_support::TemporaryDrive>();
  interfaz_ = std::make_unique<testing_support::InterfazGuionada>();
}

void ExportarDatosTest::cleanup() {
  ventana_.reset();
  interfaz_.reset();
  drive_.reset();
}

void ExportarDatosTest::Abrir(run::InterfazUsuario* interfaz) {
  ventana_ = std::make_unique<app::TExportarDatos>(interfaz);
  ventana_->show();
  QVERIFY(QTest::qWaitForWindowExposed(ventana_.get()));
}

void ExportarDatosTest::EscribirEscolan() {
  gui_testing::EscribirCentro(*drive_, "ESCOLAN", {46010, 3001});
  gui_testing::EscribirCentro(*drive_, "ESCOLAN/OTRO", {777});
  drive_->MakeHostFolder("ESCOLAN/OTRO/SUB");
}

QStringList ExportarDatosTest::Entradas() const {
  QStringList textos;
  auto* lista = Buscar<QListWidget>("ListaDirectorios");
  for (int i = 0; i < lista->count(); ++i) textos << lista->item(i)->text();
  return textos;
}

QListWidgetItem* ExportarDatosTest::Entrada(const QString& texto) const {
  QList<QListWidgetItem*> encontradas = Buscar<QListWidget>("ListaDirectorios")->findItems(texto, Qt::MatchExactly);
  if (encontradas.size() != 1) throw std::runtime_error("no single entry " + texto.toStdString());
  return encontradas.front();
}

std::string ExportarDatosTest::CentroPreparado() const {
  return platform::FileExists("C:\\HTEMP\\VALENCIA\\centro.dbf") ? drive_->ReadHostFile("HTEMP/VALENCIA/centro.dbf")
                                                                 : "(none)";
}

// ---------------------------------------------------------------------------------------------------------
// Start-up

void ExportarDatosTest::startUpEndsInEscolan_data() {
  QTest::addColumn<QString>("escolan");  // the host spelling of ESCOLAN's folder
  QTest::addColumn<QString>("inicio");   // the process's current folder at start
  QTest::addColumn<QString>("carpeta");  // what the edit box shows afterwards
  // From elsewhere the list moves to C:\ESCOLAN (a change event), and shows that spelling.
  QTest::newRow("started elsewhere") << "ESCOLAN" << "C:\\INICIO" << "C:\\ESCOLAN";
  // Already there: no change, so the folder keeps the spelling it was entered with.
  QTest::newRow("started in escolan") << "escolan" << "c:\\escolan" << "C:\\escolan";
}

void ExportarDatosTest::startUpEndsInEscolan() {
  QFETCH(QString, escolan);
  QFETCH(QString, inicio);
  QFETCH(QString, carpeta);
  std::string carpetaHost = escolan.toStdString();
  gui_testing::EscribirCentro(*drive_, carpetaHost, {46010, 3001});
  drive_->MakeHostFolder(carpetaHost + "/OTRO");
  gui_testing::EscribirCentro(*drive_, "INICIO", {999});
  platform::SetCurrentFolder(inicio.toStdString());

  Abrir();
  QCOMPARE(Lista(interfaz_->sucesos), QStringList());
  QCOMPARE(Buscar<QLineEdit>("EdNuevoDir")->text(), carpeta);
  QCOMPARE(Entradas(), QStringList({"C:\\", escolan, "OTRO"}));
  QCOMPARE(Buscar<QListWidget>("ListaDirectorios")->currentItem()->text(), escolan);
  QCOMPARE(Buscar<QComboBox>("ListaUnidades")->currentText(), QStringLiteral("c:"));
  QCOMPARE(CentroPreparado(), CentroDe(carpetaHost));
  QCOMPARE(Buscar<QComboBox>("CBCentro")->currentText(), QStringLiteral("46010"));
}

void ExportarDatosTest::theCentreListHoldsEveryStoredCode_data() {
  QTest::addColumn<std::vector<double>>("codigos");
  QTest::addColumn<QStringList>("lista");
  QTest::addColumn<int>("elegido");
  QTest::newRow("duplicate codes") << std::vector<double>{46010, 46010, 3001} << QStringList{"46010", "46010", "3001"} << 0;
  QTest::newRow("no records") << std::vector<double>{} << QStringList{} << -1;
}

void ExportarDatosTest::theCentreListHoldsEveryStoredCode() {
  QFETCH(std::vector<double>, codigos);
  QFETCH(QStringList, lista);
  QFETCH(int, elegido);
  gui_testing::EscribirCentro(*drive_, "ESCOLAN", codigos);
  Abrir();
  auto* centros = Buscar<QComboBox>("CBCentro");
  QStringList items;
  for (int i = 0; i < centros->count(); ++i) items << centros->itemText(i);
  QCOMPARE(items, lista);
  QCOMPARE(centros->currentIndex(), elegido);
  QCOMPARE(centros->currentText(), lista.value(0));
  QCOMPARE(Lista(interfaz_->sucesos), QStringList());
}

void ExportarDatosTest::choosingACentreIsTheWindowsCentre() {
  gui_testing::EscribirCentro(*drive_, "ESCOLAN", {46010, 46010, 3001});
  Abrir();
  auto* centros = Buscar<QComboBox>("CBCentro");
  QTest::keyClick(centros, Qt::Key_Down);
  QTest::keyClick(centros, Qt::Key_Down);
  QCOMPARE(centros->currentText(), QStringLiteral("3001"));
  QCOMPARE(ventana_->Ventana().CentroSeleccionado(), 2);
  QCOMPARE(QString::fromStdString(ventana_->Ventana().Centro()), QStringLiteral("3001"));
}

void ExportarDatosTest::aFailingStartUpStillOpensTheWindow_data() {
  QTest::addColumn<bool>("conEscolan");
  QTest::addColumn<QString>("error");
  QTest::addColumn<QString>("carpeta");
  QTest::addColumn<QStringList>("entradas");
  // The list stays on the start folder and nothing is shown in the edit box.
  QTest::newRow("no C:\\ESCOLAN") << false << "error: Nombre de archivo inválido" << "" << QStringList{"C:\\", "INICIO"};
  // ESCOLAN without a centro: the folder is shown, the centre list stays empty.
  QTest::newRow("no centro") << true << "error: La tabla no existe: C:\\htemp\\valencia\\centro.DBF" << "C:\\ESCOLAN"
                             << QStringList{"C:\\", "ESCOLAN"};
}

void ExportarDatosTest::aFailingStartUpStillOpensTheWindow() {
  QFETCH(bool, conEscolan);
  QFETCH(QString, error);
  QFETCH(QString, carpeta);
  QFETCH(QStringList, entradas);
  gui_testing::EscribirCentro(*drive_, "INICIO", {999});
  if (conEscolan) drive_->MakeHostFolder("ESCOLAN");
  platform::SetCurrentFolder("C:\\INICIO");
  Abrir();
  QVERIFY(ventana_->isVisible());
  QCOMPARE(Lista(interfaz_->sucesos), QStringList{error});
  QCOMPARE(Buscar<QLineEdit>("EdNuevoDir")->text(), carpeta);
  QCOMPARE(Entradas(), entradas);
  QCOMPARE(Buscar<QComboBox>("CBCentro")->count(), 0);
  QCOMPARE(Buscar<QComboBox>("CBCentro")->currentText(), QString());
}

// ---------------------------------------------------------------------------------------------------------
// The directory list

namespace {

void Gesto(QListWidget* lista, QListWidgetItem* entrada, const QString& gesto) {
  QPoint centro = lista->visualItemRect(entrada).center();
  if (gesto == "double-click") {
    QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, centro);
  } else if (gesto == "click") {
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, centro);
  } else {
    lista->setCurrentItem(entrada);
    QTest::keyClick(lista, gesto == "Enter" ? Qt::Key_Enter : Qt::Key_Return);
  }
}

}  // namespace

void ExportarDatosTest::openingAnEntryMovesThereAndStagesAgain_data() {
  QTest::addColumn<QString>("gesto");
  QTest::addColumn<QString>("entrada");
  QTest::addColumn<QString>("carpeta");
  QTest::addColumn<QString>("carpetaHost");  // empty: the folder has no centro
  QTest::addColumn<QStringList>("entradas");
  const QStringList enOtro = {"C:\\", "ESCOLAN", "OTRO", "SUB"};
  QTest::newRow("double-click on a subfolder") << "double-click" << "OTRO" << "C:\\ESCOLAN\\OTRO" << "ESCOLAN/OTRO" << enOtro;
  QTest::newRow("Return on a subfolder") << "Return" << "OTRO" << "C:\\ESCOLAN\\OTRO" << "ESCOLAN/OTRO" << enOtro;
  QTest::newRow("Enter on a subfolder") << "Enter" << "OTRO" << "C:\\ESCOLAN\\OTRO" << "ESCOLAN/OTRO" << enOtro;
  QTest::newRow("double-click on the root") << "double-click" << "C:\\" << "C:\\" << ""
                                            << QStringList{"C:\\", "ESCOLAN", "HTEMP"};
}

void ExportarDatosTest::openingAnEntryMovesThereAndStagesAgain() {
  QFETCH(QString, gesto);
  QFETCH(QString, entrada);
  QFETCH(QString, carpeta);
  QFETCH(QString, carpetaHost);
  QFETCH(QStringList, entradas);
  EscribirEscolan();
  Abrir();
  auto* lista = Buscar<QListWidget>("ListaDirectorios");
  Gesto(lista, Entrada(entrada), gesto);

  QCOMPARE(Lista(interfaz_->sucesos), QStringList());
  QCOMPARE(Buscar<QLineEdit>("EdNuevoDir")->text(), carpeta);
  QCOMPARE(QString::fromStdString(ventana_->Ventana().Directorio()), carpeta);
  QCOMPARE(Entradas(), entradas);
  QCOMPARE(lista->currentItem()->text(), entrada);
  QCOMPARE(CentroPreparado(), carpetaHost.isEmpty() ? "(none)" : CentroDe(carpetaHost.toStdString()));
  // The centre list keeps what start-up read.
  QCOMPARE(Buscar<QComboBox>("CBCentro")->count(), 2);
  QCOMPARE(Buscar<QComboBox>("CBCentro")->itemText(1), QStringLiteral("3001"));
}

void ExportarDatosTest::gesturesThatChangeNothing_data() {
  QTest::addColumn<QString>("gesto");
  QTest::addColumn<QString>("entrada");
  QTest::addColumn<QString>("seleccionada");
  QTest::newRow("a single click selects only") << "click" << "OTRO" << "OTRO";
  QTest::newRow("opening the current folder again") << "double-click" << "ESCOLAN" << "ESCOLAN";
  QTest::newRow("typing into the folder box") << "typing" << "" << "ESCOLAN";
}

void ExportarDatosTest::gesturesThatChangeNothing() {
  QFETCH(QString, gesto);
  QFETCH(QString, entrada);
  QFETCH(QString, seleccionada);
  EscribirEscolan();
  Abrir();
  std::string preparado = CentroPreparado();
  gui_testing::EscribirCentro(*drive_, "ESCOLAN", {555});  // a new staging would bring this one
  auto* lista = Buscar<QListWidget>("ListaDirectorios");
  if (gesto == "typing") {
    auto* carpeta = Buscar<QLineEdit>("EdNuevoDir");
    QTest::keyClicks(carpeta, "C:\\ESCOLAN\\OTRO");  // Enter there is the default button's (below)
  } else {
    Gesto(lista, Entrada(entrada), gesto);
  }

  QCOMPARE(Buscar<QLineEdit>("EdNuevoDir")->text(), QStringLiteral("C:\\ESCOLAN"));
  QCOMPARE(QString::fromStdString(ventana_->Ventana().Directorio()), QStringLiteral("C:\\ESCOLAN"));
  QCOMPARE(Entradas(), QStringList({"C:\\", "ESCOLAN", "OTRO"}));
  QCOMPARE(lista->currentItem()->text(), seleccionada);
  QVERIFY(CentroPreparado() == preparado);
  QCOMPARE(Lista(interfaz_->sucesos), QStringList());
}

// ---------------------------------------------------------------------------------------------------------
// The drive list

void ExportarDatosTest::choosingADrive_data() {
  QTest::addColumn<char>("tecla");
  QTest::addColumn<QStringList>("sucesos");
  QTest::addColumn<QString>("unidad");
  QTest::addColumn<QString>("carpeta");
  QTest::addColumn<QString>("centroDe");  // the host folder the staged centro comes from
  // D: is mapped to a host folder that is not there: the error, and everything stays on C:.
  QTest::newRow("a drive that is not ready") << 'd' << QStringList{"error: Error de E/S 21"} << "c:" << "C:\\ESCOLAN"
                                             << "ESCOLAN";
  QTest::newRow("a ready drive") << 'e' << QStringList{} << "e:" << "E:\\" << "unidad_e";
}

void ExportarDatosTest::choosingADrive() {
  QFETCH(char, tecla);
  QFETCH(QStringList, sucesos);
  QFETCH(QString, unidad);
  QFETCH(QString, carpeta);
  QFETCH(QString, centroDe);
  EscribirEscolan();
  gui_testing::EscribirCentro(*drive_, "unidad_e", {888});
  platform::DriveMap unidades = platform::Drives();
  unidades.Map('D', drive_->Host("no_esta"));
  unidades.Map('E', drive_->Host("unidad_e"));
  platform::SetDriveMap(unidades);
  Abrir();
  auto* lista = Buscar<QComboBox>("ListaUnidades");
  QCOMPARE(lista->currentText(), QStringLiteral("c:"));

  QTest::keyClick(lista, tecla);  // the user picks the drive by its letter

  QCOMPARE(Lista(interfaz_->sucesos), sucesos);
  QCOMPARE(lista->currentText(), unidad);
  QCOMPARE(Buscar<QLineEdit>("EdNuevoDir")->text(), carpeta);
  QCOMPARE(Entradas().front(), carpeta.left(3));
  QCOMPARE(CentroPreparado(), CentroDe(centroDe.toStdString()));
}

// ---------------------------------------------------------------------------------------------------------
// The buttons

void ExportarDatosTest::theExportRunsBoxesAndHourglass_data() {
  QTest::addColumn<QString>("fallido");  // the step that fails, if any
  QTest::addColumn<QStringList>("hechos");
  QTest::addColumn<QString>("ultimoCuadro");
  QTest::addColumn<int>("iconoUltimo");
  QTest::newRow("complete") << "" << QStringList{"Uno", "Dos", "Tres"} << "    Proceso finalizado    "
                            << int(QMessageBox::NoIcon);
  QTest::newRow("second step fails") << "Dos" << QStringList{"Uno"} << "falla Dos" << int(QMessageBox::Critical);
}

void ExportarDatosTest::theExportRunsBoxesAndHourglass() {
  QFETCH(QString, fallido);
  QFETCH(QStringList, hechos);
  QFETCH(QString, ultimoCuadro);
  QFETCH(int, iconoUltimo);
  EscribirEscolan();
  Abrir(nullptr);  // the window's own boxes and cursor
  QStringList hechosEnLaRun;
  std::vector<std::string> idiomas;
  bool esperaEnCadaPaso = true;
  std::vector<exportacion::PasoExportacion> pasos;
  for (const char* nombre : {"Uno", "Dos", "Tres"}) {
    pasos.push_back({nombre, [&, nombre](exportacion::ContextoExportacion& contexto) {
                       idiomas.push_back(exportacion::CampoNombreAsignatura(contexto.idioma));
                       esperaEnCadaPaso = esperaEnCadaPaso && EsperaActiva();
                       if (fallido == nombre) throw storage::DatabaseError("falla " + std::string(nombre));
                       hechosEnLaRun << nombre;
                     }});
  }
  ventana_->Ventana().Sesion().PonerPasosExportacion(std::move(pasos));
  QLineEdit* idioma = Buscar<QComboBox>("ComboBoxValCast")->lineEdit();
  idioma->selectAll();
  QTest::keyClicks(idioma, "CASTELLANO");

  ContestadorDeCuadros contestador;
  QTest::mouseClick(Buscar<QPushButton>("BExportar"), Qt::LeftButton);

  QCOMPARE(hechosEnLaRun, hechos);
  QVERIFY(esperaEnCadaPaso);
  QCOMPARE(Lista(idiomas), QStringList(hechos.size() + (fallido.isEmpty() ? 0 : 1), "Cliteasig"));
  QVERIFY(QApplication::overrideCursor() == nullptr);
  QCOMPARE(contestador.cuadros.size(), std::size_t{2});
  QCOMPARE(contestador.cuadros[0].texto, QString::fromUtf8(exportacion::kMensajeInicioExportacion));
  QCOMPARE(contestador.cuadros[0].icono, QMessageBox::NoIcon);
  QCOMPARE(contestador.cuadros[1].texto, ultimoCuadro);
  QCOMPARE(int(contestador.cuadros[1].icono), iconoUltimo);
  for (const auto& cuadro : contestador.cuadros) {
    QCOMPARE(cuadro.titulo, QStringLiteral("Exportar e importar datos "));
    QCOMPARE(cuadro.botones, QStringList{"Aceptar"});
    QVERIFY(!cuadro.cursorEspera);
    // Wide enough for the whole caption beside a window icon and a close button in the title bar.
    QVERIFY2(cuadro.ancho >= cuadro.anchoTitulo + 2 * cuadro.altoBarra,
             qPrintable(QStringLiteral("a box %1 wide for a caption of %2").arg(cuadro.ancho).arg(cuadro.anchoTitulo)));
  }
  QVERIFY(ventana_->isVisible());
}

void ExportarDatosTest::theImportWithoutASolutionSaysSo() {
  EscribirEscolan();
  Abrir();
  QTest::mouseClick(Buscar<QPushButton>("BImportar"), Qt::LeftButton);
  QCOMPARE(Lista(interfaz_->sucesos),
           (QStringList{QStringLiteral("mensaje: ") + importacion::kMensajeInicioImportacion, "cursor: espera",
                        "cursor: normal", QStringLiteral("mensaje: ") + importacion::kMensajeSinSolucion}));
}

void ExportarDatosTest::salirClosesTheWindow() {
  EscribirEscolan();
  Abrir();
  QTest::mouseClick(Buscar<QPushButton>("BClose"), Qt::LeftButton);
  QVERIFY(!ventana_->isVisible());
}

// ---------------------------------------------------------------------------------------------------------
// The Enter key and the default buttons

void ExportarDatosTest::enterClicksTheDefaultButtonOfTheFocusedPanel_data() {
  QTest::addColumn<QString>("teclear");     // typed into the control before Enter
  QTest::addColumn<int>("tecla");
  QTest::addColumn<QString>("porDefecto");  // the one button drawn as the default while the control has the focus
  QTest::addColumn<QString>("primero");     // what Enter shows first; empty when it closes the window
  QTest::addColumn<QString>("idioma");      // the language an export took
  const QString exportacion = QStringLiteral("mensaje: ") + exportacion::kMensajeInicioExportacion;
  const QString importacion = QStringLiteral("mensaje: ") + importacion::kMensajeInicioImportacion;
  // Each row is named after the control that has the focus, reached by Tab from the folder box. The first
  // panel has no default button of its own: the window's first, BExportar, answers there.
  const QString valenciano = QStringLiteral("VALENCIÁ");
  QTest::newRow("EdNuevoDir") << "" << int(Qt::Key_Return) << "BExportar" << exportacion << valenciano;
  QTest::newRow("ListaUnidades") << "" << int(Qt::Key_Return) << "BExportar" << exportacion << valenciano;
  QTest::newRow("CBCentro") << "" << int(Qt::Key_Enter) << "BExportar" << exportacion << valenciano;
  // A button with the focus answers Enter itself.
  QTest::newRow("BClose") << "" << int(Qt::Key_Return) << "BClose" << "" << valenciano;
  QTest::newRow("BExportar") << "" << int(Qt::Key_Return) << "BExportar" << exportacion << valenciano;
  // Tabbed into, the language box has its text selected; typed into, it completes the text inline.
  QTest::newRow("ComboBoxValCast") << "" << int(Qt::Key_Return) << "BExportar" << exportacion << valenciano;
  QTest::newRow("ComboBoxValCast typed into") << "CAS" << int(Qt::Key_Enter) << "BExportar" << exportacion << "CASTELLANO";
  QTest::newRow("BImportar") << "" << int(Qt::Key_Enter) << "BImportar" << importacion << valenciano;
}

void ExportarDatosTest::enterClicksTheDefaultButtonOfTheFocusedPanel() {
  QFETCH(QString, teclear);
  QFETCH(int, tecla);
  QFETCH(QString, porDefecto);
  QFETCH(QString, primero);
  QFETCH(QString, idioma);
  EscribirEscolan();
  Abrir();
  ventana_->Ventana().Sesion().PonerPasosExportacion({});
  ventana_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(ventana_.get()));
  auto* control = Buscar<QWidget>(qPrintable(QString::fromLatin1(QTest::currentDataTag()).section(' ', 0, 0)));
  auto enElControl = [control] { return control == QApplication::focusWidget() || control->isAncestorOf(QApplication::focusWidget()); };
  Buscar<QWidget>("EdNuevoDir")->setFocus(Qt::OtherFocusReason);
  for (int tabs = 0; tabs < 10 && !enElControl(); ++tabs) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QVERIFY(enElControl());
  QStringList porDefectoAhora;
  for (const char* boton : {"BClose", "BExportar", "BImportar"}) {
    if (Buscar<QPushButton>(boton)->isDefault()) porDefectoAhora << boton;
  }
  QCOMPARE(porDefectoAhora, QStringList{porDefecto});

  QTest::keyClicks(QApplication::focusWidget(), teclear);
  QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(tecla));

  QCOMPARE(Lista(interfaz_->sucesos).value(0), primero);
  QCOMPARE(ventana_->isVisible(), !primero.isEmpty());
  QCOMPARE(QString::fromStdString(ventana_->Ventana().TextoIdioma()), idioma);
}

// ---------------------------------------------------------------------------------------------------------
// Captions

namespace {

// The title of a shown window as Qt holds it and as the window system got it. On X11 that is the window's
// _NET_WM_NAME and WM_NAME, which the window manager shows, read with xprop: Qt writes there the title
// with the application's display name appended, when one is set.
// A window's title, and the sizes of its icon, as the widget, its window and (on X11) the window system have them.
QStringList Titulos(QWidget& ventana) {
  // Sizes in order of width, whatever order they were added or sent in.
  const auto enOrden = [](QStringList tamanos) {
    std::sort(tamanos.begin(), tamanos.end(),
              [](const QString& a, const QString& b) { return a.section('x', 0, 0).toInt() < b.section('x', 0, 0).toInt(); });
    return tamanos.join(' ');
  };
  QStringList tamanos;
  for (const QSize& tamano : ventana.windowHandle()->icon().availableSizes()) {
    tamanos << QString::number(tamano.width()) + "x" + QString::number(tamano.height());
  }
  QStringList titulos = {"widget: " + ventana.windowTitle(), "window: " + ventana.windowHandle()->title(),
                         "icon: " + enOrden(tamanos)};
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return titulos;
  QProcess xprop;
  xprop.start(QStringLiteral("xprop"), {"-id", QString::number(ventana.winId()), "_NET_WM_NAME", "WM_NAME"});
  if (!xprop.waitForFinished(10000)) return titulos << "xprop did not answer";
  static const QRegularExpression propiedad(QStringLiteral(R"re(^(\w+)\([A-Z0-9_]+\) = "(.*)"$)re"));
  for (const QString& linea : QString::fromUtf8(xprop.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
    QRegularExpressionMatch valor = propiedad.match(linea);
    titulos << (valor.hasMatch() ? valor.captured(1) + ": " + valor.captured(2) : linea);
  }
  // The icon the window manager draws: xprop names each picture of _NET_WM_ICON by its size (all of them read,
  // 256 px included).
  xprop.start(QStringLiteral("xprop"), {"-len", "2000000", "-id", QString::number(ventana.winId()), "_NET_WM_ICON"});
  if (!xprop.waitForFinished(10000)) return titulos << "xprop did not answer";
  static const QRegularExpression imagen(QStringLiteral(R"re(Icon \((\d+) x (\d+)\):)re"));
  QStringList enviados;
  for (const QRegularExpressionMatch& m : imagen.globalMatch(QString::fromUtf8(xprop.readAllStandardOutput()))) {
    enviados << m.captured(1) + "x" + m.captured(2);
  }
  return titulos << "_NET_WM_ICON: " + enOrden(enviados);
}

}  // namespace

void ExportarDatosTest::theWindowSystemGetsTheCaptionsAsDesigned_data() {
  QTest::addColumn<QString>("titulo");
  // The message boxes' caption is the application's title, the main window's.
  QTest::newRow("main window") << "Exportar e importar datos ";
  QTest::newRow("message box") << "Exportar e importar datos ";
  QTest::newRow("teacher review") << "Control de Profesores";
  QTest::newRow("template review") << "Control de Plantilla Horaria";
}

// Each window as the program shows it: the review dialogs and the boxes modal, owned by the main window, all
// with the program's icon in every size it is drawn in.
void ExportarDatosTest::theWindowSystemGetsTheCaptionsAsDesigned() {
  QFETCH(QString, titulo);
  const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
  if (x11 && QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty()) QSKIP("xprop is not installed");
  EscribirEscolan();
  Abrir();
  storage::Engine engine('.');
  testing_support::EscribirProft(engine, {{"GA", "0"}});
  testing_support::CrearTabla(engine, "C:\\HTEMP\\Valencia\\PLANTILLA.DBF",
                              {{"HORA", storage::DataType::ftInteger},
                               {"HORAINI", storage::DataType::ftString, 5},
                               {"HORAFIN", storage::DataType::ftString, 5}},
                              {{"1", "08:00", "08:55"}});
  app::InterfazQt interfaz(ventana_.get());
  const std::map<QString, std::function<void()>> mostrar = {
      {"main window", [] {}},
      {"message box", [&] { interfaz.MostrarMensaje("Un mensaje"); }},
      {"teacher review", [&] { interfaz.Revisar(*importacion::RevisionProfesores(engine)); }},
      {"template review", [&] { interfaz.Revisar(*importacion::RevisionPlantilla(engine)); }}};

  QStringList titulos;
  QTimer lector;
  lector.setSingleShot(true);
  QObject::connect(&lector, &QTimer::timeout, [&] {
    QWidget* ventana = QApplication::activeModalWidget();
    if (ventana == nullptr) ventana = ventana_.get();
    titulos = QTest::qWaitForWindowExposed(ventana) ? Titulos(*ventana) : QStringList{"not shown"};
    if (auto* cuadro = qobject_cast<QMessageBox*>(ventana)) {
      cuadro->buttons().front()->click();
    } else if (ventana != ventana_.get()) {
      ventana->close();
    }
  });
  lector.start(0);
  mostrar.at(QTest::currentDataTag())();
  QVERIFY(QTest::qWaitFor([&] { return !titulos.isEmpty(); }));

  const QString icono = "16x16 24x24 32x32 48x48 64x64 128x128 256x256";
  QStringList esperados = {"widget: " + titulo, "window: " + titulo, "icon: " + icono};
  if (x11) esperados << "_NET_WM_NAME: " + titulo << "WM_NAME: " + titulo << "_NET_WM_ICON: " + icono;
  QCOMPARE(titulos, esperados);
  QVERIFY(QApplication::activeModalWidget() == nullptr);
}

QTEST_MAIN(ExportarDatosTest)
#include "exportar_datos_test.moc"
