// The look of the import's review dialog in each of its two designs, "Control de Profesores" over PROFT and
// "Control de Plantilla Horaria" over the class-period template: the fixed frame, where each control stands
// and what it says, the grid's column titles, which columns can be edited, and their widths. Each case on a
// temporary drive C: of its own.
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/qt/control_revision.h"
#include "tests/gui/revision_de_prueba.h"

using gui_testing::Buscar;

namespace {

// A control of the design: its name, its box in the dialog's client area, its text (none for a control
// without one).
using Controles = std::vector<std::tuple<const char*, QRect, QString>>;
// The widths of a design's columns, checked against each other and their titles.
using ComprobarAnchos = void (*)(const QTableView& rejilla);

// A title's width in the titles' font.
int AnchoDeTitulo(const QTableView& rejilla, const QString& titulo) {
  return QFontMetrics(rejilla.horizontalHeader()->font()).horizontalAdvance(titulo);
}

}  // namespace

Q_DECLARE_METATYPE(run::TipoRevision)
Q_DECLARE_METATYPE(Controles)
Q_DECLARE_METATYPE(ComprobarAnchos)

class ControlRevisionTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void theLook_data();
  void theLook();

 private:
  std::unique_ptr<testing_support::TemporaryDrive> drive_;
  std::unique_ptr<storage::Engine> engine_;
  std::vector<std::string> errores_;
  std::unique_ptr<app::TControlRevision> dialogo_;
};

// Both reviews' tables, as an export and the template step leave them.
void ControlRevisionTest::init() {
  drive_ = std::make_unique<testing_support::TemporaryDrive>();
  drive_->MakeHostFolder("HTEMP/Valencia");
  engine_ = std::make_unique<storage::Engine>('.');
  testing_support::EscribirProft(*engine_, {{"P01", "20000001"}, {"P02", "0"}});
  testing_support::CrearTabla(*engine_, "C:\\HTEMP\\Valencia\\PLANTILLA.DBF",
                              {{"HORA", storage::DataType::ftInteger},
                               {"HORAINI", storage::DataType::ftString, 5},
                               {"HORAFIN", storage::DataType::ftString, 5}},
                              {{"1", "08:00", "08:55"}, {"2", "09:00", "09:55"}}, {"HORA"});
  errores_.clear();
}

void ControlRevisionTest::cleanup() {
  dialogo_.reset();
  engine_.reset();
  drive_.reset();
}

void ControlRevisionTest::theLook_data() {
  QTest::addColumn<run::TipoRevision>("tipo");
  QTest::addColumn<QString>("titulo");
  QTest::addColumn<QSize>("tamano");  // the client area
  QTest::addColumn<Controles>("controles");
  QTest::addColumn<QStringList>("titulos");  // the grid's columns
  QTest::addColumn<QList<bool>>("editables");
  QTest::addColumn<ComprobarAnchos>("anchos");

  QTest::newRow("Control de Profesores")
      << run::TipoRevision::kProfesores << "Control de Profesores" << QSize(726, 499)
      << Controles{{"Draw3D1", {0, 1, 726, 496}, {}},
                   {"Label1", {9, 20, 202, 32}, "CONTROL DEL D.N.I DE LOS PROFESORES"},
                   {"wwDBNavigator1", {236, 29, 275, 24}, {}},
                   {"ProftDBGrid", {9, 56, 504, 433}, {}},
                   {"Label3", {521, 66, 190, 13}, "INCIDENCIAS EN EL TRASPASO"},
                   {"Label2", {517, 91, 201, 104},
                    "Se ha detectado que existe algún Profesor sin D.N.I. Para poder realizar correctamente la "
                    "integración del Horario en ESCOLAN, deberán asignarlo en esta rejilla. Los Profesores deberán "
                    "estar creados previamente en ESCOLAN, con los mismos D.N.I's."},
                   {"BitBtn1", {584, 216, 75, 25}, "Salir"}}
      << QStringList({"DNI", "ABREV", "NOMBRE", "DEPARTAMENTO"}) << QList<bool>({true, true, true, true})
      << ComprobarAnchos([](const QTableView& rejilla) {
           // Widths of 10, 4, 40 and 40 characters, none narrower than its title.
           QCOMPARE(rejilla.columnWidth(2), rejilla.columnWidth(3));
           QVERIFY(rejilla.columnWidth(0) > rejilla.columnWidth(1));
           QVERIFY(rejilla.columnWidth(2) > 3 * rejilla.columnWidth(0));
           QVERIFY(rejilla.columnWidth(1) > AnchoDeTitulo(rejilla, QStringLiteral("ABREV")));
         });

  // The panel reaches below the client area, as it was drawn.
  QTest::newRow("Control de Plantilla Horaria")
      << run::TipoRevision::kPlantillaHoraria << "Control de Plantilla Horaria" << QSize(726, 463)
      << Controles{{"Draw3D1", {0, 2, 726, 497}, {}},
                   {"Label1", {9, 12, 151, 64}, "COMPROBACIÓN DE LA PLANTILLA HORARIA DEL CENTRO"},
                   {"wwDBNavigator1", {180, 29, 275, 24}, {}},
                   {"PlantiHorDBGrid", {156, 56, 330, 385}, {}},
                   {"Label3", {505, 57, 210, 13}, "PLANTILLA HORARIA DEL CENTRO"},
                   {"Label2", {504, 91, 209, 130},
                    "Se ha recogido la siguiente Plantilla Horaria desde ESCOLAN. Compruébela y modifique, en caso "
                    "necesario, las Horas de Inicio y Final de Clase, en la presente rejilla. Deben ser iguales que "
                    "la Plantilla Horaria que estén utilizando en ESCOLAN. Una vez adaptada la Rejilla Horaria, "
                    "Pulse sobre el Botón Salir."},
                   {"BitBtn1", {576, 312, 75, 25}, "Salir"}}
      << QStringList({"HORA", "HORA INICIO CLASE", "HORA FINAL CLASE"}) << QList<bool>({false, true, true})
      << ComprobarAnchos([](const QTableView& rejilla) {
           // Widths of 7, 20 and 19 characters, none narrower than its title's widest word.
           QVERIFY(rejilla.columnWidth(1) > rejilla.columnWidth(2));
           QVERIFY(rejilla.columnWidth(2) > rejilla.columnWidth(0));
           QVERIFY(rejilla.columnWidth(0) > AnchoDeTitulo(rejilla, QStringLiteral("HORA")));
           QVERIFY(rejilla.columnWidth(1) > AnchoDeTitulo(rejilla, QStringLiteral("INICIO")));
         });
}

void ControlRevisionTest::theLook() {
  QFETCH(run::TipoRevision, tipo);
  QFETCH(QString, titulo);
  QFETCH(QSize, tamano);
  QFETCH(Controles, controles);
  QFETCH(QStringList, titulos);
  QFETCH(QList<bool>, editables);
  QFETCH(ComprobarAnchos, anchos);
  dialogo_ = gui_testing::AbrirDialogo(tipo, *engine_, errores_);

  QCOMPARE(dialogo_->windowTitle(), titulo);
  QCOMPARE(dialogo_->size(), tamano);
  QCOMPARE(dialogo_->minimumSize(), dialogo_->maximumSize());
  QCOMPARE(dialogo_->pos(), QPoint(24, 25));
  QVERIFY(dialogo_->windowFlags().testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(!dialogo_->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(!dialogo_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

  for (const auto& [nombre, caja, texto] : controles) {
    auto* control = Buscar<QWidget>(*dialogo_, nombre);
    QCOMPARE(control->geometry(), caja);
    if (auto* etiqueta = qobject_cast<QLabel*>(control)) QCOMPARE(etiqueta->text(), texto);
    if (auto* boton = qobject_cast<QPushButton*>(control)) QCOMPARE(boton->text(), texto);
  }

  const auto* grid = dialogo_->findChild<QTableView*>();
  QVERIFY(grid != nullptr);
  const QTableView& rejilla = *grid;
  QAbstractItemModel& modelo = *rejilla.model();
  QStringList titulosMostrados;
  QList<bool> editablesMostrados;
  for (int columna = 0; columna < modelo.columnCount(); ++columna) {
    titulosMostrados << modelo.headerData(columna, Qt::Horizontal).toString();
    editablesMostrados << modelo.flags(modelo.index(0, columna)).testFlag(Qt::ItemIsEditable);
  }
  QCOMPARE(titulosMostrados, titulos);
  QCOMPARE(editablesMostrados, editables);
  anchos(rejilla);
  QCOMPARE(errores_, std::vector<std::string>());
}

QTEST_MAIN(ControlRevisionTest)
#include "control_revision_test.moc"
