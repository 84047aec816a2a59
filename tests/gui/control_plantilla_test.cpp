// The class-period template review dialog over a PLANTILLA of 20 periods: the times that reach
// C:\HTEMP\Valencia\PLANTILLA.DBF as the grid is edited and the dialog left, the read-only period column,
// the five-character time cells, and the window's modal showing of it (its look is control_revision_test.cpp's).
// Each case on a temporary drive C: of its own.
#include <QApplication>
#include <QLineEdit>
#include <QtTest>

#include <memory>

#include "app/qt/control_revision.h"
#include "app/qt/interfaz_qt.h"
#include "import/importacion.h"
#include "tests/gui/revision_de_prueba.h"

using gui_testing::Buscar;
using gui_testing::Pulsar;
using gui_testing::Teclear;

namespace {

constexpr const char* kPlantilla = "C:\\HTEMP\\Valencia\\PLANTILLA.DBF";
constexpr int kPeriodos = 20;
constexpr int kHora = 0;
constexpr int kInicio = 1;

QString Desde(int periodo) { return QStringLiteral("%1:00").arg(7 + periodo, 2, 10, QLatin1Char('0')); }
QString Hasta(int periodo) { return QStringLiteral("%1:55").arg(7 + periodo, 2, 10, QLatin1Char('0')); }

// The template as the import writes it: periods 1 to 20, each from hh:00 to hh:55 from 08:00 on.
void EscribirPlantilla() {
  storage::Engine engine('.');
  storage::Table plantilla(engine);
  plantilla.SetTableName(kPlantilla);
  plantilla.AddFieldDef("HORA", storage::DataType::ftInteger);
  plantilla.AddFieldDef("HORAINI", storage::DataType::ftString, 5);
  plantilla.AddFieldDef("HORAFIN", storage::DataType::ftString, 5);
  plantilla.AddIndexDef("HORA", "HORA");
  plantilla.CreateTable();
  plantilla.Open();
  for (int periodo = 1; periodo <= kPeriodos; ++periodo) {
    plantilla.Append();
    plantilla.SetAsInteger("HORA", periodo);
    plantilla.SetAsString("HORAINI", Desde(periodo).toStdString());
    plantilla.SetAsString("HORAFIN", Hasta(periodo).toStdString());
  }
  plantilla.Post();
  plantilla.Close();
}

QStringList Guardado(const char* campo) {
  QStringList valores;
  for (const std::string& valor : gui_testing::Campo(kPlantilla, campo)) valores << QString::fromStdString(valor);
  return valores;
}

QStringList Columna(QString (*valor)(int)) {
  QStringList valores;
  for (int periodo = 1; periodo <= kPeriodos; ++periodo) valores << valor(periodo);
  return valores;
}

QString Numero(int periodo) { return QString::number(periodo); }

}  // namespace

class ControlPlantillaTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void theGridShowsTheTwentyPeriods();
  void timesThatReachTheTemplate_data();
  void timesThatReachTheTemplate();
  void theHoraColumnCannotBeEdited();
  void aMissingTemplateIsTheTableLayersError();
  void theWindowShowsItModallyAndReleasesIt();

 private:
  void Abrir();
  void IrA(int fila, int columna) {
    Rejilla()->setCurrentIndex(Rejilla()->model()->index(fila, columna));
  }
  QTableView* Rejilla() const { return Buscar<QTableView>(*dialogo_, "PlantiHorDBGrid"); }

  std::unique_ptr<testing_support::TemporaryDrive> drive_;
  std::unique_ptr<storage::Engine> engine_;
  std::vector<std::string> errores_;
  std::unique_ptr<app::TControlRevision> dialogo_;
};

void ControlPlantillaTest::init() {
  drive_ = std::make_unique<testing_support::TemporaryDrive>();
  drive_->MakeHostFolder("HTEMP/Valencia");
  EscribirPlantilla();
  engine_ = std::make_unique<storage::Engine>('.');
  errores_.clear();
}

void ControlPlantillaTest::cleanup() {
  dialogo_.reset();
  engine_.reset();
  drive_.reset();
}

void ControlPlantillaTest::Abrir() { dialogo_ = gui_testing::AbrirDialogo(run::TipoRevision::kPlantillaHoraria, *engine_, errores_); }

// ---------------------------------------------------------------------------------------------------------

void ControlPlantillaTest::theGridShowsTheTwentyPeriods() {
  Abrir();
  QCOMPARE(gui_testing::Mostrado(*Rejilla(), 0), Columna(Numero));
  QCOMPARE(gui_testing::Mostrado(*Rejilla(), 1), Columna(Desde));
  QCOMPARE(gui_testing::Mostrado(*Rejilla(), 2), Columna(Hasta));
  // The cursor starts on the first cell that can be edited: period 1's start time.
  QCOMPARE(Rejilla()->currentIndex(), Rejilla()->model()->index(0, kInicio));
  QCOMPARE(gui_testing::Habilitados(*dialogo_), QStringList({"Next", "NextPage", "Last", "Post", "Cancel", "Refresh"}));
}

void ControlPlantillaTest::timesThatReachTheTemplate_data() {
  QTest::addColumn<QString>("tecleado");  // typed into period 3's start time
  QTest::addColumn<bool>("salir");        // left by "Salir", or by the close box
  QTest::addColumn<QString>("inicio");    // period 3's start time in the file afterwards
  QTest::newRow("changed") << "10:05" << true << "10:05";
  QTest::newRow("a sixth character") << "10:055" << true << "10:05";
  QTest::newRow("cleared") << "" << true << "";
  QTest::newRow("close box") << "10:05" << false << "10:00";
}

void ControlPlantillaTest::timesThatReachTheTemplate() {
  QFETCH(QString, tecleado);
  QFETCH(bool, salir);
  QFETCH(QString, inicio);
  Abrir();
  Pulsar(Qt::Key_Down);
  Pulsar(Qt::Key_Down);
  Pulsar(Qt::Key_F2);  // the cell opens with its text selected
  Pulsar(Qt::Key_Backspace);
  Teclear(tecleado);
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  QVERIFY(editor != nullptr);
  QCOMPARE(editor->text(), tecleado.left(5));  // the field holds five characters
  if (salir) {
    gui_testing::PulsarSalir(*dialogo_);
  } else {
    gui_testing::CerrarConLaCaja(*dialogo_);
  }
  QVERIFY(!dialogo_->isVisible());
  dialogo_.reset();

  QStringList esperado = Columna(Desde);
  esperado[2] = inicio;
  QCOMPARE(Guardado("HORAINI"), esperado);
  QCOMPARE(Guardado("HORAFIN"), Columna(Hasta));
  QCOMPARE(Guardado("HORA"), Columna(Numero));
  QCOMPARE(errores_, std::vector<std::string>());
}

// Neither typing, F2 nor a double click opens a period number; the grid keeps its 20 rows.
void ControlPlantillaTest::theHoraColumnCannotBeEdited() {
  Abrir();
  IrA(2, kHora);
  Teclear(QStringLiteral("7"));  // not a search for the period 7 either
  Pulsar(Qt::Key_F2);
  QCOMPARE(QApplication::focusWidget(), Rejilla());
  QCOMPARE(Rejilla()->currentIndex(), Rejilla()->model()->index(2, kHora));
  QTest::mouseDClick(Rejilla()->viewport(), Qt::LeftButton, Qt::NoModifier,
                     Rejilla()->visualRect(Rejilla()->model()->index(2, kHora)).center());
  QCOMPARE(QApplication::focusWidget(), Rejilla());
  QVERIFY(!Rejilla()->model()->setData(Rejilla()->model()->index(0, kHora), 99));
  QCOMPARE(Rejilla()->model()->rowCount(), kPeriodos);

  // The times of the same row are still editable.
  IrA(2, kInicio);
  Teclear(QStringLiteral("9"));
  QVERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr);
  gui_testing::PulsarSalir(*dialogo_);
  dialogo_.reset();
  QCOMPARE(Guardado("HORA"), Columna(Numero));
  QCOMPARE(Guardado("HORAINI")[2], QStringLiteral("9"));
}

void ControlPlantillaTest::aMissingTemplateIsTheTableLayersError() {
  platform::RemoveFile(kPlantilla);
  try {
    gui_testing::AbrirDialogo(run::TipoRevision::kPlantillaHoraria, *engine_, errores_);
    QFAIL("the dialog opened without PLANTILLA");
  } catch (const storage::DatabaseError& error) {
    QVERIFY2(std::string(error.what()).starts_with("La tabla no existe"), error.what());
  }
}

void ControlPlantillaTest::theWindowShowsItModallyAndReleasesIt() {
  QWidget ventana;
  ventana.show();
  QVERIFY(QTest::qWaitForWindowActive(&ventana));
  app::InterfazQt interfaz(&ventana);
  bool conducido = gui_testing::ConducirModal<app::TControlRevision>(
      &ventana, [&] { interfaz.Revisar(*importacion::RevisionPlantilla(*engine_)); },
      [](app::TControlRevision& dialogo) {
        Teclear(QStringLiteral("07:45"));  // the cursor starts on the start time
        Pulsar(Qt::Key_Return);  // to the end time, in edit
        Teclear(QStringLiteral("08:40"));
        gui_testing::PulsarSalir(dialogo);
      });
  QVERIFY(conducido);
  QVERIFY(ventana.findChildren<QDialog*>().isEmpty());
  QCOMPARE(Guardado("HORAINI").front(), QStringLiteral("07:45"));
  QCOMPARE(Guardado("HORAFIN").front(), QStringLiteral("08:40"));
}

QTEST_MAIN(ControlPlantillaTest)
#include "control_plantilla_test.moc"
