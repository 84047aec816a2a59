// The two review dialogs under real input: Qt's X11 platform on an Xvfb display that this program starts
// itself, the mouse and the keys sent by xdotool through the X server as a user's hand sends them, with
// the real timing of clicks, double-click interval and typing. What was typed is what the cell holds,
// whatever cell was clicked, whether an editor was open, and however soon the typing follows the click; a
// refused DNI stays in its cell, the cursor on it and the record in edit mode, however the user tries to
// store it. Skipped (exit code 77) only when Xvfb is not installed.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <string>

#include "app/qt/control_revision.h"
#include "app/qt/interfaz_qt.h"
#include "import/importacion.h"
#include "tests/gui/entrada_real.h"
#include "tests/gui/revision_de_prueba.h"

using gui_testing::Buscar;
using gui_testing::Centro;
using gui_testing::Mano;

namespace {

QPoint Celda(const QTableView& rejilla, int fila, int columna) {
  return rejilla.viewport()->mapToGlobal(rejilla.visualRect(rejilla.model()->index(fila, columna)).center());
}

// ---------------------------------------------------------------------------------------------------------
// The tables

constexpr const char* kProft = "C:\\HTEMP\\PROFT.DBF";
constexpr const char* kPlantilla = "C:\\HTEMP\\Valencia\\PLANTILLA.DBF";
constexpr int kFila = 2;  // the row whose cell the user types into

void EscribirTablas(storage::Engine& engine) {
  testing_support::Filas profesores;
  for (int fila = 0; fila < 12; ++fila) {
    profesores.push_back({"P" + std::to_string(fila + 10), fila == kFila ? "0" : std::to_string(20000001 + fila)});
  }
  testing_support::EscribirProft(engine, profesores);
  testing_support::Filas periodos;
  for (int periodo = 1; periodo <= 20; ++periodo) {
    std::string hora = (periodo + 7 < 10 ? "0" : "") + std::to_string(periodo + 7);
    periodos.push_back({std::to_string(periodo), hora + ":00", hora + ":55"});
  }
  testing_support::CrearTabla(engine, kPlantilla,
                              {{"HORA", storage::DataType::ftInteger},
                               {"HORAINI", storage::DataType::ftString, 5},
                               {"HORAFIN", storage::DataType::ftString, 5}},
                              periodos, {"HORA"});
}

std::vector<std::string> Guardado(const char* tabla, const char* campo) { return gui_testing::Campo(tabla, campo); }

// The two dialogs as the cases see them: the grid, the column typed into, what is typed, where it lands.
struct Dialogo {
  const char* nombre;
  run::TipoRevision tipo;
  const char* rejilla;
  int columna;
  const char* tabla;
  const char* campo;
};
const Dialogo kProfesores = {"teachers", run::TipoRevision::kProfesores, "ProftDBGrid", 0, kProft, "DNI"};
const Dialogo kPlantillaHoraria = {"template", run::TipoRevision::kPlantillaHoraria, "PlantiHorDBGrid", 1, kPlantilla,
                                   "HORAINI"};

QString NombreDeCaso(bool actual, bool editor, bool pausa) {
  return QString::fromLatin1(actual ? "click on the current cell" : "click on another row's cell") +
         (editor ? ", an editor open" : ", no editor") + (pausa ? ", typing after a pause" : ", typing at once");
}

}  // namespace

class EntradaRealTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void whatIsTypedIsWhatTheCellHolds_data();
  void whatIsTypedIsWhatTheCellHolds();
  void aRefusedDniStaysInItsCell_data();
  void aRefusedDniStaysInItsCell();
  void theErrorBoxLeavesTheRefusedTextToCorrect();

 private:
  // The dialog shown and active, its grid holding the focus on the first row.
  QDialog& Abrir(const Dialogo& dialogo);
  // Adds to `mano`: the cell of row `kFila` made current by the keys (`actual`), or the cursor left on the
  // first row; an editor opened (`editor`: emptied when on the cell to type into, left as it is on the
  // first row); a click on the cell of row `kFila`, a pause longer than the double-click interval or none
  // (`pausa`), and the typing of `texto`.
  void PrepararYTeclear(const Dialogo& dialogo, bool actual, bool editor, bool pausa, const QString& texto,
                        Mano& mano);
  QTableView& Rejilla(const Dialogo& dialogo) const { return *Buscar<QTableView>(*dialogo_, dialogo.rejilla); }

  int pausaMs_ = 0;
  std::unique_ptr<testing_support::TemporaryDrive> drive_;
  std::unique_ptr<storage::Engine> engine_;
  std::vector<std::string> errores_;
  std::unique_ptr<QDialog> dialogo_;
};

void EntradaRealTest::initTestCase() {
  QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"), qPrintable(QGuiApplication::platformName()));
  QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(),
           "xdotool is missing: scripts/packages.sh lists it among the test packages, ./test.sh installs it");
  // Longer than the double-click interval, within which a click may still become a double click.
  pausaMs_ = QApplication::doubleClickInterval() + 300;
}

void EntradaRealTest::init() {
  drive_ = std::make_unique<testing_support::TemporaryDrive>();
  drive_->MakeHostFolder("HTEMP/Valencia");
  engine_ = std::make_unique<storage::Engine>('.');
  EscribirTablas(*engine_);
  errores_.clear();
}

void EntradaRealTest::cleanup() {
  dialogo_.reset();
  engine_.reset();
  drive_.reset();
}

QDialog& EntradaRealTest::Abrir(const Dialogo& dialogo) {
  dialogo_ = gui_testing::AbrirDialogo(dialogo.tipo, *engine_, errores_);
  if (!QTest::qWaitForWindowExposed(dialogo_.get())) QTest::qFail("the dialog was not shown", __FILE__, __LINE__);
  return *dialogo_;
}

void EntradaRealTest::PrepararYTeclear(const Dialogo& dialogo, bool actual, bool editor, bool pausa,
                                       const QString& texto, Mano& mano) {
  if (actual) mano.Teclas(QStringLiteral("Down Down"));
  if (editor) mano.Teclas(actual ? QStringLiteral("F2 BackSpace") : QStringLiteral("F2"));
  mano.Clicar(Celda(Rejilla(dialogo), kFila, dialogo.columna));
  if (pausa) mano.Esperar(pausaMs_);
  mano.Escribir(texto);
}

// ---------------------------------------------------------------------------------------------------------

void EntradaRealTest::whatIsTypedIsWhatTheCellHolds_data() {
  QTest::addColumn<bool>("plantilla");
  QTest::addColumn<bool>("actual");
  QTest::addColumn<bool>("editor");
  QTest::addColumn<bool>("pausa");
  for (bool plantilla : {false, true}) {
    for (bool actual : {true, false}) {
      for (bool editor : {false, true}) {
        for (bool pausa : {false, true}) {
          QString nombre =
              QString::fromLatin1(plantilla ? "template, " : "teachers, ") + NombreDeCaso(actual, editor, pausa);
          QTest::newRow(qPrintable(nombre)) << plantilla << actual << editor << pausa;
        }
      }
    }
  }
}

// The cell holds what was typed; "Salir" stores it, and nothing else changes.
void EntradaRealTest::whatIsTypedIsWhatTheCellHolds() {
  QFETCH(bool, plantilla);
  QFETCH(bool, actual);
  QFETCH(bool, editor);
  QFETCH(bool, pausa);
  const Dialogo& dialogo = plantilla ? kPlantillaHoraria : kProfesores;
  const QString texto = plantilla ? QStringLiteral("07:45") : QStringLiteral("87654321");
  std::vector<std::string> esperado = Guardado(dialogo.tabla, dialogo.campo);
  esperado[kFila] = texto.toStdString();

  QDialog& ventana = Abrir(dialogo);
  Mano mano;
  PrepararYTeclear(dialogo, actual, editor, pausa, texto, mano);
  mano.Clicar(Centro(*Buscar<QPushButton>(ventana, "BitBtn1")));
  QVERIFY(mano.Hacer());
  QTRY_VERIFY(!ventana.isVisible());
  dialogo_.reset();

  QCOMPARE(gui_testing::Lista(Guardado(dialogo.tabla, dialogo.campo)), gui_testing::Lista(esperado));
  QCOMPARE(errores_, std::vector<std::string>());
}

void EntradaRealTest::aRefusedDniStaysInItsCell_data() {
  QTest::addColumn<QString>("valor");
  QTest::addColumn<QString>("disparo");
  QTest::addColumn<bool>("actual");
  QTest::addColumn<bool>("editor");
  QTest::addColumn<bool>("pausa");
  for (const char* valor : {"12-34", "-", "1-"}) {
    for (const char* disparo : {"Post", "Down", "Salir"}) {
      for (bool actual : {true, false}) {
        for (bool editor : {false, true}) {
          for (bool pausa : {false, true}) {
            QString nombre = QStringLiteral("'%1', %2, ").arg(valor, disparo) + NombreDeCaso(actual, editor, pausa);
            QTest::newRow(qPrintable(nombre)) << valor << disparo << actual << editor << pausa;
          }
        }
      }
    }
  }
}

// The navigator's Post, Down and "Salir" each try to store the cell: the table layer's message, once; the
// dialog open, the record in edit mode, the cursor on the cell, whose editor holds the text as typed and
// has the focus. The file does not change.
void EntradaRealTest::aRefusedDniStaysInItsCell() {
  QFETCH(QString, valor);
  QFETCH(QString, disparo);
  QFETCH(bool, actual);
  QFETCH(bool, editor);
  QFETCH(bool, pausa);
  const std::vector<std::string> antes = Guardado(kProft, "DNI");
  QDialog& ventana = Abrir(kProfesores);
  QTableView& rejilla = Rejilla(kProfesores);
  Mano mano;
  PrepararYTeclear(kProfesores, actual, editor, pausa, valor, mano);
  if (disparo == "Post") mano.Clicar(Centro(*Buscar<QWidget>(ventana, "wwDBNavigator1Post")));
  if (disparo == "Down") mano.Teclas(QStringLiteral("Down"));
  if (disparo == "Salir") mano.Clicar(Centro(*Buscar<QPushButton>(ventana, "BitBtn1")));
  QVERIFY(mano.Hacer());

  const std::vector<std::string> mensaje = {"'" + valor.toStdString() +
                                            "' no es un valor entero válido para el campo 'DNI'"};
  QTRY_COMPARE(errores_, mensaje);
  QTest::qWait(100);
  QCOMPARE(errores_, mensaje);
  QVERIFY(ventana.isVisible());
  QCOMPARE(rejilla.currentIndex(), rejilla.model()->index(kFila, 0));
  QCOMPARE(rejilla.model()->index(kFila, 0).data().toString(), valor);
  auto* celda = qobject_cast<QLineEdit*>(rejilla.indexWidget(rejilla.currentIndex()));
  QVERIFY(celda != nullptr);
  QCOMPARE(celda->text(), valor);
  QCOMPARE(QApplication::focusWidget(), celda);
  QVERIFY(gui_testing::Habilitados(ventana).contains(QStringLiteral("Post")));

  gui_testing::CerrarConLaCaja(*dialogo_);
  dialogo_.reset();
  QCOMPARE(gui_testing::Lista(Guardado(kProft, "DNI")), gui_testing::Lista(antes));
  QCOMPARE(errores_, mensaje);
}

// In the program the message is the application's error box, modal over the dialog; the user answers it
// with the mouse. Then (the dialog active again, as a window manager makes it) the text refused is still
// in its cell, to be corrected; "Salir" then stores the number.
void EntradaRealTest::theErrorBoxLeavesTheRefusedTextToCorrect() {
  QWidget ventana;
  ventana.setGeometry(700, 500, 200, 100);
  ventana.show();
  ventana.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&ventana));
  app::InterfazQt interfaz(&ventana);
  QStringList cuadros;
  QString textoTrasElCuadro;
  bool cerrado = false;  // by "Salir"
  // The box runs a modal loop of its own: it is answered from within it.
  QTimer contestador;
  QObject::connect(&contestador, &QTimer::timeout, [&] {
    auto* cuadro = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (cuadro == nullptr || !cuadro->isVisible()) return;
    contestador.stop();
    cuadros << cuadro->text();
    Mano().Clicar(Centro(*cuadro->buttons().front())).Hacer();
  });
  bool conducido = gui_testing::ConducirModal<app::TControlRevision>(
      &ventana, [&] { interfaz.Revisar(*importacion::RevisionProfesores(*engine_)); },
      [&](app::TControlRevision& dialogo) {
        if (!QTest::qWaitForWindowExposed(&dialogo)) return;
        auto& rejilla = *Buscar<QTableView>(dialogo, "ProftDBGrid");
        auto& salir = *Buscar<QPushButton>(dialogo, "BitBtn1");
        contestador.start(20);
        Mano mano;
        mano.Clicar(Celda(rejilla, kFila, 0)).Escribir(QStringLiteral("12-34")).Clicar(Centro(salir));
        if (!mano.Hacer()) return;
        auto contestado = [&] { return !cuadros.isEmpty() && QApplication::activeModalWidget() == &dialogo; };
        if (!QTest::qWaitFor(contestado)) return;
        dialogo.activateWindow();
        if (!QTest::qWaitForWindowActive(&dialogo)) return;
        auto* celda = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        textoTrasElCuadro = celda != nullptr ? celda->text() : QStringLiteral("(no cell being edited)");
        mano.Teclas(QStringLiteral("BackSpace BackSpace BackSpace BackSpace BackSpace"))
            .Escribir(QStringLiteral("4321"))
            .Clicar(Centro(salir));
        if (mano.Hacer() && QTest::qWaitFor([&] { return !dialogo.isVisible(); })) cerrado = true;
      });
  QVERIFY(conducido);
  QVERIFY(cerrado);
  QCOMPARE(cuadros, QStringList({"'12-34' no es un valor entero válido para el campo 'DNI'"}));
  QCOMPARE(textoTrasElCuadro, QStringLiteral("12-34"));
  QCOMPARE(gui_testing::Campo(kProft, "DNI").at(kFila), std::string("4321"));
}

int main(int argc, char** argv) {
  return gui_testing::EnPantallaPropia<EntradaRealTest>(argc, argv, "the review dialogs' real-input test");
}

#include "entrada_real_test.moc"
