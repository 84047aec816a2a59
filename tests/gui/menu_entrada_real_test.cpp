// The window menu and its dialogs under real input, in the program's own window with its own message boxes:
// Qt's X11 platform on an Xvfb display that this program starts itself, the mouse and the keys sent by
// xdotool. An export that stops on the data shows the stop and then every problem of the folder; a backup is
// restored from the context menu's "Copias de los horarios…"; the orders' shortcuts reach the window from a
// control that edits text. Skipped (exit code 77) only when Xvfb is not installed.
//
// With ESCOLAN_CAPTURAS naming a folder, the problems dialog and the backups dialog are saved there as
// qt-problemas.png and qt-copias.png, as they show (docs/ holds them).
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/qt/dialogos_qt.h"
#include "app/qt/exportar_datos.h"
#include "muestra/muestra_escolan.h"
#include "tests/gui/entrada_real.h"
#include "tests/gui/ventana_de_prueba.h"

using gui_testing::Buscar;
using gui_testing::Centro;
using gui_testing::Mano;

namespace {

// What the program shows, answered in turn: each step waits, tried from a timer inside whatever modal loop
// the program is in, until what it waits for has shown, then does its part. A part may open the next window
// modally (a click on a menu item, on a button), so the next step is tried meanwhile.
class Guion {
 public:
  Guion& Luego(std::string nombre, std::function<bool()> espera, std::function<void()> accion) {
    pasos_.push_back({std::move(nombre), std::move(espera), std::move(accion)});
    return *this;
  }

  // Runs `empezar`, then waits for every step; returns the steps not done when the time was up, each modal
  // window left then closed so that the program comes back.
  QStringList Hacer(const std::function<void()>& empezar, int ms = 30000) {
    QTimer reloj;
    QObject::connect(&reloj, &QTimer::timeout, [this] {
      if (agotado_) {
        // One modal window closed at each tick: its loop ends once the code under it returns.
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        return;
      }
      if (esperando_ || hechos_ >= pasos_.size()) return;
      // While a part is being done, the window it works on may still show: the next step waits for the part
      // to end, or for another window that the part opened.
      QWidget* modal = QApplication::activeModalWidget();
      if (terminados_ < hechos_ && (modal == nullptr || modal == modalDelPaso_)) return;
      esperando_ = true;
      const std::size_t paso = hechos_;
      const bool listo = pasos_[paso].espera();
      esperando_ = false;
      if (!listo) return;
      ++hechos_;
      modalDelPaso_ = QApplication::activeModalWidget();
      // Not under this timer's own signal, which Qt does not send again until it returns.
      QTimer::singleShot(0, [this, paso] {
        pasos_[paso].accion();
        ++terminados_;
      });
    });
    QTimer vigilante;
    vigilante.setSingleShot(true);
    QObject::connect(&vigilante, &QTimer::timeout, [this] { agotado_ = true; });
    reloj.start(20);
    vigilante.start(ms);
    empezar();
    const bool hecho = QTest::qWaitFor([this] { return terminados_ >= pasos_.size() || agotado_; }, ms + 1000);
    QStringList faltan;
    for (std::size_t i = hechos_; i < pasos_.size(); ++i) faltan << QString::fromStdString(pasos_[i].nombre);
    if (!hecho) faltan << QStringLiteral("(time up)");
    // What the program still shows closes.
    agotado_ = true;
    if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() == nullptr; }, 5000)) {
      faltan << QStringLiteral("(a window left open)");
    }
    return faltan;
  }

 private:
  struct Paso {
    std::string nombre;
    std::function<bool()> espera;
    std::function<void()> accion;
  };
  std::vector<Paso> pasos_;
  std::size_t hechos_ = 0;     // the steps whose window has shown
  std::size_t terminados_ = 0;  // the steps whose part is done
  QWidget* modalDelPaso_ = nullptr;  // the modal window when the last part began
  bool esperando_ = false;
  bool agotado_ = false;
};

// The modal window of the kind that is shown, made active (no window manager does it on this display).
template <class Ventana>
Ventana* Activa() {
  auto* ventana = qobject_cast<Ventana*>(QApplication::activeModalWidget());
  if (ventana == nullptr || !ventana->isVisible()) return nullptr;
  ventana->activateWindow();
  return QTest::qWaitForWindowActive(ventana) ? ventana : nullptr;
}

// A step: a message box shows; its text is noted and its button `boton` clicked.
void Contestar(Guion& guion, const std::string& nombre, QStringList& textos, const QString& boton) {
  auto cuadro = std::make_shared<QMessageBox*>(nullptr);
  guion.Luego(
      nombre, [cuadro] { return (*cuadro = Activa<QMessageBox>()) != nullptr; },
      [cuadro, &textos, boton] {
        textos << (*cuadro)->text();
        for (QAbstractButton* elegido : (*cuadro)->buttons()) {
          if (elegido->text() == boton) {
            Mano().Clicar(Centro(*elegido)).Hacer();
            return;
          }
        }
        textos << "(no button " + boton + ")";
        (*cuadro)->close();
      });
}

QStringList Filas(const QTreeWidget& lista) {
  QStringList filas;
  for (int fila = 0; fila < lista.topLevelItemCount(); ++fila) {
    QStringList celdas;
    for (int columna = 0; columna < lista.columnCount(); ++columna) celdas << lista.topLevelItem(fila)->text(columna);
    filas << celdas.join(QStringLiteral(" | "));
  }
  return filas;
}

QPoint CentroDeFila(const QTreeWidget& lista, int fila) {
  return lista.viewport()->mapToGlobal(lista.visualItemRect(lista.topLevelItem(fila)).center());
}

// The dialog as the display shows it, into ESCOLAN_CAPTURAS when that is set.
void Capturar(QWidget& dialogo, const char* archivo) {
  const QByteArray carpeta = qgetenv("ESCOLAN_CAPTURAS");
  if (carpeta.isEmpty()) return;
  QTest::qWait(300);  // every part drawn
  QPixmap imagen = dialogo.screen()->grabWindow(dialogo.winId());
  if (!imagen.save(QDir(QString::fromLocal8Bit(carpeta)).filePath(QString::fromLatin1(archivo)))) {
    qWarning("could not save %s", archivo);
  }
}

// A timetable of `clases` lessons.
void Horario(storage::Engine& engine, const std::string& ruta, int clases) {
  testing_support::Filas filas;
  for (int i = 1; i <= clases; ++i) filas.push_back({std::to_string(i)});
  testing_support::CrearTabla(engine, ruta, {{"DIA", storage::DataType::ftInteger}}, filas);
}

}  // namespace

class MenuEntradaRealTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void anExportStoppedByTheDataShowsTheProblemsAfterTheStop();
  void aBackupRestoredFromTheContextMenu();
  void theShortcutsReachTheWindowFromEveryKindOfControl_data();
  void theShortcutsReachTheWindowFromEveryKindOfControl();

 private:
  // The program's window with its own message boxes and dialogs, shown and active.
  void Abrir();
  // C:\ESCOLAN with a centre and a pair of timetables of 3 lessons, and two backups of it.
  void EscribirCopias();

  std::unique_ptr<testing_support::TemporaryDrive> drive_;
  std::unique_ptr<app::TExportarDatos> ventana_;
};

void MenuEntradaRealTest::initTestCase() {
  QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"), qPrintable(QGuiApplication::platformName()));
  QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(),
           "xdotool is missing: scripts/packages.sh lists it among the test packages, ./test.sh installs it");
  qputenv("ESCOLAN_HORVANE_OPENER", "/bin/true");  // no browser starts
}

void MenuEntradaRealTest::init() { drive_ = std::make_unique<testing_support::TemporaryDrive>(); }

void MenuEntradaRealTest::cleanup() {
  ventana_.reset();
  drive_.reset();
}

void MenuEntradaRealTest::Abrir() {
  ventana_ = std::make_unique<app::TExportarDatos>();
  ventana_->show();
  ventana_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(ventana_.get()));
}

void MenuEntradaRealTest::EscribirCopias() {
  gui_testing::EscribirCentro(*drive_, "ESCOLAN", {46010});
  storage::Engine engine(',');
  Horario(engine, "C:\\ESCOLAN\\horgrup.dbf", 3);
  Horario(engine, "C:\\ESCOLAN\\horprof.dbf", 3);
  for (const auto& [sello, clases] : {std::pair{"20261201-101010", 5}, std::pair{"20261208-060000", 7}}) {
    const std::string carpeta = std::string("C:\\HTEMP\\COPIAS\\") + sello;
    drive_->MakeHostFolder(std::string("HTEMP/COPIAS/") + sello);
    Horario(engine, carpeta + "\\horgrup.dbf", clases);
    Horario(engine, carpeta + "\\horprof.dbf", clases + 1);
    drive_->WriteHostFile(std::string("HTEMP/COPIAS/") + sello + "/ORIGEN.TXT", "C:\\ESCOLAN\r\n");
  }
  engine.ReleaseAll();
}

// ---------------------------------------------------------------------------------------------------------

// A subject's weekly hours written "3:30": the export stops there with the table layer's message, then the
// problems dialog lists that field with the value it holds, among the folder's other problems; Escape
// closes it.
void MenuEntradaRealTest::anExportStoppedByTheDataShowsTheProblemsAfterTheStop() {
  muestra::EscribirMuestraEscolan("C:\\ESCOLAN", muestra::TamanoMuestra::kPequena);
  {
    storage::Engine engine(',');
    storage::Table asignat(engine);
    asignat.SetTableName("C:\\ESCOLAN\\asignat.dbf");
    asignat.Open();
    asignat.GoToRecord(4);
    asignat.Edit();
    asignat.SetAsString("Horsemte", "3:30");
    asignat.Post();
    asignat.Close();
    engine.ReleaseAll();
  }
  Abrir();

  QStringList cuadros;
  QString resumen;
  QStringList filas;
  bool problemasTrasElCuadro = false;
  bool cerrado = false;
  Guion guion;
  Contestar(guion, "the export's notice", cuadros, QStringLiteral("Aceptar"));
  Contestar(guion, "the stop message", cuadros, QStringLiteral("Aceptar"));
  app::TDialogoProblemas* dialogo = nullptr;
  guion.Luego(
      "the problems dialog", [&] { return (dialogo = Activa<app::TDialogoProblemas>()) != nullptr; },
      [&] {
        problemasTrasElCuadro = cuadros.size() == 2;
        resumen = Buscar<QWidget>(*dialogo, "Resumen")->property("text").toString();
        filas = Filas(dialogo->Lista());
        Capturar(*dialogo, "qt-problemas.png");
        Mano().Teclas(QStringLiteral("Escape")).Hacer();
        cerrado = QTest::qWaitFor([&] { return !dialogo->isVisible(); });
      });
  QStringList faltan = guion.Hacer([&] { Mano().Clicar(Centro(*Buscar<QPushButton>(*ventana_, "BExportar"))).Hacer(); });

  QCOMPARE(faltan.join(QStringLiteral(", ")), QString());
  QCOMPARE(cuadros.size(), 2);
  QCOMPARE(cuadros.back(), QStringLiteral("'3:' no es un valor punto flotante válido"));
  QVERIFY(problemasTrasElCuadro);
  QVERIFY(cerrado);
  QVERIFY2(resumen.startsWith(QStringLiteral("C:\\ESCOLAN: ")), qPrintable(resumen));
  // The row of the field, with what stopped the export.
  QCOMPARE(filas.filter(QStringLiteral("asignat.dbf | 4 | Horsemte | 3:30 | ")).size(), 1);
  QVERIFY2(filas.filter(QStringLiteral("asignat.dbf | 4 | Horsemte | 3:30 | ")).front().contains(cuadros.back()),
           qPrintable(filas.join(QLatin1Char('\n'))));
}

// Right click on a panel, "Copias de los horarios…", the older backup clicked, Restaurar, Sí: the program
// says where it kept the pair it replaced, the list shows that new backup too, and the folder's horgrup.dbf
// and horprof.dbf are the backup's, byte for byte.
void MenuEntradaRealTest::aBackupRestoredFromTheContextMenu() {
  EscribirCopias();
  Abrir();
  const std::string copia = "HTEMP/COPIAS/20261201-101010/";

  QStringList cuadros;
  QStringList antes;
  QStringList despues;
  Guion guion;
  app::TDialogoCopias* copias = nullptr;
  QMenu& menu = ventana_->MenuVentana();
  guion.Luego(
      "the window menu", [&] { return menu.isVisible(); },
      [&] { Mano().Clicar(menu.mapToGlobal(menu.actionGeometry(menu.actions().at(2)).center())).Hacer(); });
  guion.Luego(
      "the backups dialog", [&] { return (copias = Activa<app::TDialogoCopias>()) != nullptr; },
      [&] {
        antes = Filas(copias->Lista());
        Mano().Clicar(CentroDeFila(copias->Lista(), 1)).Clicar(Centro(*Buscar<QPushButton>(*copias, "BRestaurar"))).Hacer();
      });
  Contestar(guion, "the question", cuadros, QStringLiteral("Sí"));
  Contestar(guion, "the restore's message", cuadros, QStringLiteral("Aceptar"));
  guion.Luego(
      "the backups read again",
      [&] { return QApplication::activeModalWidget() == copias && copias->Lista().topLevelItemCount() == 3; },
      [&] {
        despues = Filas(copias->Lista());
        Capturar(*copias, "qt-copias.png");
        Mano().Clicar(Centro(*Buscar<QPushButton>(*copias, "BCerrar"))).Hacer();
      });
  QWidget& panel = *Buscar<QWidget>(*ventana_, "Draw3D2");
  QStringList faltan = guion.Hacer([&] { Mano().ClicarDerecho(panel.mapToGlobal(QPoint(20, 40))).Hacer(); });

  QCOMPARE(faltan.join(QStringLiteral(", ")), QString());
  QCOMPARE(antes, QStringList({"08/12/2026 | 06:00:00 | 7 clases | 8 clases | C:\\ESCOLAN",
                               "01/12/2026 | 10:10:10 | 5 clases | 6 clases | C:\\ESCOLAN"}));
  QCOMPARE(cuadros.size(), 2);
  QCOMPARE(cuadros.front(), QStringLiteral("¿Desea restaurar los horarios de la copia del 01/12/2026 a las 10:10:10 en "
                                           "C:\\ESCOLAN? Los horarios que hay ahora se guardarán antes en una copia nueva."));
  QVERIFY2(cuadros.back().startsWith(QStringLiteral("Se han restaurado los horarios de la copia 20261201-101010 en C:\\ESCOLAN.")),
           qPrintable(cuadros.back()));
  QCOMPARE(despues.mid(1), antes);
  QVERIFY2(despues.front().endsWith(QStringLiteral("| 3 clases | 3 clases | C:\\ESCOLAN")), qPrintable(despues.front()));
  QVERIFY(drive_->ReadHostFile("ESCOLAN/horgrup.dbf") == drive_->ReadHostFile(copia + "horgrup.dbf"));
  QVERIFY(drive_->ReadHostFile("ESCOLAN/horprof.dbf") == drive_->ReadHostFile(copia + "horprof.dbf"));
}

void MenuEntradaRealTest::theShortcutsReachTheWindowFromEveryKindOfControl_data() {
  QTest::addColumn<QString>("control");
  QTest::newRow("the language box, which edits text") << "ComboBoxValCast";
  QTest::newRow("the folder line, read-only text") << "EdNuevoDir";
  QTest::newRow("the directory list") << "ListaDirectorios";
  QTest::newRow("a button") << "BImportar";
}

// Ctrl+K with the focus in the control opens the backups dialog; the control's text does not change.
void MenuEntradaRealTest::theShortcutsReachTheWindowFromEveryKindOfControl() {
  QFETCH(QString, control);
  EscribirCopias();
  Abrir();
  auto* foco = Buscar<QWidget>(*ventana_, control.toStdString().c_str());
  foco->setFocus();
  QTRY_VERIFY(foco->hasFocus());
  // In the language box the cursor at the start of its text, where the edit line's Ctrl+K would delete it all.
  if (qobject_cast<QComboBox*>(foco) != nullptr) QVERIFY(Mano().Teclas(QStringLiteral("Home")).Hacer());
  const QString texto = foco->property(qobject_cast<QComboBox*>(foco) ? "currentText" : "text").toString();

  bool abierto = false;
  Guion guion;
  app::TDialogoCopias* copias = nullptr;
  guion.Luego(
      "the backups dialog", [&] { return (copias = Activa<app::TDialogoCopias>()) != nullptr; },
      [&] {
        abierto = copias->Lista().topLevelItemCount() == 2;
        Mano().Teclas(QStringLiteral("Escape")).Hacer();
      });
  QStringList faltan = guion.Hacer([&] { Mano().Teclas(QStringLiteral("ctrl+k")).Hacer(); }, 10000);
  QCOMPARE(faltan.join(QStringLiteral(", ")), QString());
  QVERIFY(abierto);
  QCOMPARE(foco->property(qobject_cast<QComboBox*>(foco) ? "currentText" : "text").toString(), texto);
}

int main(int argc, char** argv) {
  return gui_testing::EnPantallaPropia<MenuEntradaRealTest>(argc, argv, "the window menu's real-input test");
}

#include "menu_entrada_real_test.moc"
