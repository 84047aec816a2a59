// The teacher identity review dialog over a PROFT of 30 teachers, the third without identity number: what
// reaches C:\HTEMP\PROFT.DBF as the grid is edited and the dialog left, the refused DNI, the navigator, and
// the window's modal showing of it (its look is control_revision_test.cpp's). Each case on a temporary drive
// C: of its own.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
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

constexpr const char* kProft = "C:\\HTEMP\\PROFT.DBF";
constexpr int kProfesores = 30;
constexpr int kSinDni = 2;  // the row of the teacher without identity number

QString Abreviatura(int fila) { return QStringLiteral("P%1").arg(fila + 1, 2, 10, QLatin1Char('0')); }
QString Dni(int fila) { return fila == kSinDni ? QStringLiteral("0") : QString::number(20000001 + fila); }

void EscribirProft() {
  storage::Engine engine('.');
  storage::Table proft(engine);
  proft.SetTableName(kProft);
  proft.AddFieldDef("ABREV", storage::DataType::ftString, 4);
  proft.AddFieldDef("NOMBRE", storage::DataType::ftString, 40);
  proft.AddFieldDef("DEPART", storage::DataType::ftString, 40);
  proft.AddFieldDef("DNI", storage::DataType::ftInteger);
  proft.CreateTable();
  proft.Open();
  for (int fila = 0; fila < kProfesores; ++fila) {
    proft.Append();
    proft.SetAsString("ABREV", Abreviatura(fila).toStdString());
    proft.SetAsString("NOMBRE", "PROFESOR " + std::to_string(fila + 1));
    proft.SetAsString("DEPART", fila % 2 ? "CIENCIAS" : "LETRAS");
    proft.SetAsInteger("DNI", Dni(fila).toInt());
  }
  proft.Post();
  proft.Close();
}

QString DniGuardado(int fila) {
  return QString::fromStdString(gui_testing::Campo(kProft, "DNI").at(static_cast<std::size_t>(fila)));
}

// What the user does before leaving the dialog, one step at a time.
enum class Paso { kBajar, kTeclear, kEnter, kNavegador, kVaciar, kClicar, kSalir, kCaja };
using Pasos = std::vector<std::pair<Paso, QString>>;

}  // namespace

Q_DECLARE_METATYPE(Pasos)

class ControlProfesoresTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void theGridShowsEveryTeacherAndEditsTheFirst();
  void whatReachesTheFile_data();
  void whatReachesTheFile();
  void cancelUndoesTheChange_data();
  void cancelUndoesTheChange();
  void aRefusedDniStaysInItsCell_data();
  void aRefusedDniStaysInItsCell();
  void theDniCellTakesOnlyTheCharactersOfAnInteger();
  void keysThatNeitherAddNorDeleteNorClose_data();
  void keysThatNeitherAddNorDeleteNorClose();
  void enterMovesToTheNextColumn();
  void theNavigatorMovesAndEnablesItsButtons_data();
  void theNavigatorMovesAndEnablesItsButtons();
  void theNavigatorsButtons();
  void aMissingProftIsTheTableLayersError();
  void theWindowShowsItModallyAndReleasesIt_data();
  void theWindowShowsItModallyAndReleasesIt();
  void theWindowShowsARefusalInTheErrorBox();

 private:
  void Abrir();
  void Dar(const Pasos& pasos);
  void Clicar(int fila, int columna) {
    QTest::mouseClick(Rejilla()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      Rejilla()->visualRect(Rejilla()->model()->index(fila, columna)).center());
  }
  QTableView* Rejilla() const { return Buscar<QTableView>(*dialogo_, "ProftDBGrid"); }
  bool FocoEnLaRejilla() const {
    QWidget* foco = QApplication::focusWidget();
    return foco == Rejilla() || Rejilla()->isAncestorOf(foco);
  }

  std::unique_ptr<testing_support::TemporaryDrive> drive_;
  std::unique_ptr<storage::Engine> engine_;
  std::vector<std::string> errores_;
  std::unique_ptr<app::TControlRevision> dialogo_;
};

void ControlProfesoresTest::init() {
  drive_ = std::make_unique<testing_support::TemporaryDrive>();
  drive_->MakeHostFolder("HTEMP");
  EscribirProft();
  engine_ = std::make_unique<storage::Engine>('.');
  errores_.clear();
}

void ControlProfesoresTest::cleanup() {
  dialogo_.reset();
  engine_.reset();
  drive_.reset();
}

void ControlProfesoresTest::Abrir() {
  dialogo_ = gui_testing::AbrirDialogo(run::TipoRevision::kProfesores, *engine_, errores_);
  QVERIFY(FocoEnLaRejilla());
}

void ControlProfesoresTest::Dar(const Pasos& pasos) {
  for (const auto& [paso, texto] : pasos) {
    switch (paso) {
      case Paso::kBajar: Pulsar(Qt::Key_Down); break;
      case Paso::kTeclear: Teclear(texto); break;
      case Paso::kEnter: Pulsar(Qt::Key_Return); break;
      case Paso::kNavegador: gui_testing::PulsarBotonNavegador(*dialogo_, texto); break;
      case Paso::kVaciar:  // F2 opens the cell with its text selected
        Pulsar(Qt::Key_F2);
        Pulsar(Qt::Key_Backspace);
        break;
      case Paso::kClicar: Clicar(texto.toInt(), 0); break;  // the DNI cell of that row
      case Paso::kSalir: gui_testing::PulsarSalir(*dialogo_); break;
      case Paso::kCaja: gui_testing::CerrarConLaCaja(*dialogo_); break;
    }
  }
  QVERIFY(!dialogo_->isVisible());
  dialogo_.reset();  // released: the table closes
}

// ---------------------------------------------------------------------------------------------------------

void ControlProfesoresTest::theGridShowsEveryTeacherAndEditsTheFirst() {
  Abrir();
  QStringList abreviaturas;
  QStringList dnis;
  for (int fila = 0; fila < kProfesores; ++fila) {
    abreviaturas << Abreviatura(fila);
    dnis << Dni(fila);
  }
  QCOMPARE(gui_testing::Mostrado(*Rejilla(), 0), dnis);
  QCOMPARE(gui_testing::Mostrado(*Rejilla(), 1), abreviaturas);
  QCOMPARE(Rejilla()->model()->index(29, 2).data().toString(), QStringLiteral("PROFESOR 30"));
  QCOMPARE(Rejilla()->model()->index(1, 3).data().toString(), QStringLiteral("CIENCIAS"));
  QCOMPARE(Rejilla()->currentIndex().row(), 0);
  // Entering the grid put the first record into edit mode.
  QCOMPARE(gui_testing::Habilitados(*dialogo_), QStringList({"Next", "NextPage", "Last", "Post", "Cancel", "Refresh"}));
  QCOMPARE(errores_, std::vector<std::string>());
}

void ControlProfesoresTest::whatReachesTheFile_data() {
  QTest::addColumn<Pasos>("pasos");
  QTest::addColumn<int>("fila");
  QTest::addColumn<QString>("dni");  // that teacher's DNI in the file afterwards
  const Pasos tercero = {{Paso::kBajar, {}}, {Paso::kBajar, {}}, {Paso::kTeclear, "12345678"}};
  auto con = [&](Pasos mas) {
    Pasos pasos = tercero;
    pasos.insert(pasos.end(), mas.begin(), mas.end());
    return pasos;
  };
  // "Salir" takes the focus from the grid, whose exit posts the record, the cell still open or not.
  QTest::newRow("Salir") << con({{Paso::kSalir, {}}}) << kSinDni << "12345678";
  QTest::newRow("Enter, Salir") << con({{Paso::kEnter, {}}, {Paso::kSalir, {}}}) << kSinDni << "12345678";
  // The close box leaves the grid alone: the record still being edited is dropped with the table.
  QTest::newRow("close box") << con({{Paso::kCaja, {}}}) << kSinDni << "0";
  QTest::newRow("Enter, close box") << con({{Paso::kEnter, {}}, {Paso::kCaja, {}}}) << kSinDni << "0";
  // Moving to another record stores a changed one; so do the navigator's post and refresh.
  QTest::newRow("down, close box") << con({{Paso::kBajar, {}}, {Paso::kCaja, {}}}) << kSinDni << "12345678";
  for (const char* boton : {"Next", "Prior", "Post", "Refresh"}) {
    QTest::addRow("navigator's %s, close box", boton) << con({{Paso::kNavegador, boton}, {Paso::kCaja, {}}}) << kSinDni
                                                      << "12345678";
  }
  QTest::newRow("down, Salir") << con({{Paso::kBajar, {}}, {Paso::kSalir, {}}}) << kSinDni << "12345678";
  // Typing straight after a click on a cell, the current one or another, is what the cell holds: a click
  // never opens an editor of its own later over what was typed.
  QTest::newRow("click on the current cell, type") << Pasos{{Paso::kBajar, {}},   {Paso::kBajar, {}},
                                                            {Paso::kClicar, "2"}, {Paso::kTeclear, "87654321"},
                                                            {Paso::kSalir, {}}}
                                                   << kSinDni << "87654321";
  QTest::newRow("click on another cell, type")
      << Pasos{{Paso::kClicar, "2"}, {Paso::kTeclear, "87654321"}, {Paso::kSalir, {}}} << kSinDni << "87654321";
  // An emptied DNI is stored empty (it reads 0).
  QTest::newRow("emptied") << Pasos{{Paso::kVaciar, {}}, {Paso::kSalir, {}}} << 0 << "";
}

void ControlProfesoresTest::whatReachesTheFile() {
  QFETCH(Pasos, pasos);
  QFETCH(int, fila);
  QFETCH(QString, dni);
  Abrir();
  Dar(pasos);
  QCOMPARE(DniGuardado(fila), dni);
  QCOMPARE(gui_testing::Campo(kProft, "ABREV").size(), std::size_t{kProfesores});
  QCOMPARE(errores_, std::vector<std::string>());
}

void ControlProfesoresTest::cancelUndoesTheChange_data() {
  QTest::addColumn<QString>("tecleado");
  QTest::addColumn<bool>("intro");  // the cell handed to the record before the cancel, or still open
  QTest::newRow("entered") << "12345678" << true;
  QTest::newRow("cell still open") << "12345678" << false;
  QTest::newRow("refused text") << "12-3" << true;  // the text the table refused goes too
}

void ControlProfesoresTest::cancelUndoesTheChange() {
  QFETCH(QString, tecleado);
  QFETCH(bool, intro);
  Abrir();
  Pulsar(Qt::Key_Down);
  Pulsar(Qt::Key_Down);
  Teclear(tecleado);
  if (intro) Pulsar(Qt::Key_Return);
  QTest::qWait(0);  // a refusal's message is shown
  gui_testing::PulsarBotonNavegador(*dialogo_, QStringLiteral("Cancel"));

  QCOMPARE(Rejilla()->model()->index(kSinDni, 0).data().toString(), QStringLiteral("0"));
  QCOMPARE(Rejilla()->indexWidget(Rejilla()->currentIndex()), nullptr);  // no cell being edited
  QCOMPARE(Rejilla()->currentIndex().row(), kSinDni);
  QVERIFY(FocoEnLaRejilla());
  QCOMPARE(gui_testing::Habilitados(*dialogo_),
           QStringList({"First", "PriorPage", "Prior", "Next", "NextPage", "Last", "Edit", "Refresh"}));
  Dar({{Paso::kSalir, {}}});
  QCOMPARE(DniGuardado(kSinDni), QStringLiteral("0"));
}

void ControlProfesoresTest::aRefusedDniStaysInItsCell_data() {
  QTest::addColumn<QString>("tecleado");
  QTest::addColumn<QString>("mensaje");
  QTest::addColumn<QString>("disparo");  // what tries to store the cell
  QTest::addColumn<bool>("escape");      // the text then dropped with Escape, or erased in the cell
  // Not an integer, refused by the table; a negative number, by the teacher-identity rule.
  const std::vector<std::pair<const char*, const char*>> rechazos = {
      {"12-3", "'12-3' no es un valor entero válido para el campo 'DNI'"},
      {"-5", "'-5' no es un D.N.I. válido para el campo 'DNI': escriba un número entero de 1 a 999999999, o déjelo "
             "vacío si el profesor no tiene."}};
  for (const auto& [tecleado, mensaje] : rechazos) {
    for (const char* disparo : {"Enter", "Salir", "down", "navigator's Post", "navigator's Next",
                                "navigator's Refresh", "click on another teacher"}) {
      QTest::addRow("'%s', %s, erased", tecleado, disparo) << tecleado << mensaje << disparo << false;
      QTest::addRow("'%s', %s, Escape", tecleado, disparo) << tecleado << mensaje << disparo << true;
    }
  }
}

// The refusal's message, once; the record stays in edit mode and the dialog open, the cursor on the cell,
// whose editor still holds the text as typed. Once the text is corrected, or dropped with Escape and typed
// again, the number is taken.
void ControlProfesoresTest::aRefusedDniStaysInItsCell() {
  QFETCH(QString, tecleado);
  QFETCH(QString, mensaje);
  QFETCH(QString, disparo);
  QFETCH(bool, escape);
  Abrir();
  Pulsar(Qt::Key_Down);
  Pulsar(Qt::Key_Down);
  Pulsar(Qt::Key_F2);
  Teclear(tecleado);
  if (disparo == "Enter") Pulsar(Qt::Key_Return);
  if (disparo == "Salir") gui_testing::PulsarSalir(*dialogo_);
  if (disparo == "down") Pulsar(Qt::Key_Down);
  if (disparo.startsWith("navigator's ")) gui_testing::PulsarBotonNavegador(*dialogo_, disparo.section(' ', 1));
  if (disparo == "click on another teacher") Clicar(5, 0);
  QTRY_COMPARE(errores_, std::vector<std::string>({mensaje.toStdString()}));
  QVERIFY(dialogo_->isVisible());
  QCOMPARE(Rejilla()->currentIndex(), Rejilla()->model()->index(kSinDni, 0));
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  QVERIFY(editor != nullptr);
  QCOMPARE(editor, Rejilla()->indexWidget(Rejilla()->currentIndex()));
  QCOMPARE(editor->text(), tecleado);
  QCOMPARE(Rejilla()->model()->index(kSinDni, 0).data().toString(), tecleado);
  QVERIFY(gui_testing::Habilitados(*dialogo_).contains(QStringLiteral("Post")));

  if (escape) {
    Pulsar(Qt::Key_Escape);  // the cell shows the stored number again; the record is still being edited
    QCOMPARE(Rejilla()->indexWidget(Rejilla()->currentIndex()), nullptr);
    QCOMPARE(Rejilla()->model()->index(kSinDni, 0).data().toString(), QStringLiteral("0"));
    QVERIFY(gui_testing::Habilitados(*dialogo_).contains(QStringLiteral("Post")));
  } else {
    for (qsizetype i = 0; i < tecleado.size(); ++i) Pulsar(Qt::Key_Backspace);
  }
  Teclear(QStringLiteral("123"));
  Dar({{Paso::kSalir, {}}});
  QCOMPARE(DniGuardado(kSinDni), QStringLiteral("123"));
  QCOMPARE(DniGuardado(kSinDni + 1), Dni(kSinDni + 1));
  QCOMPARE(errores_.size(), std::size_t{1});
}

void ControlProfesoresTest::theDniCellTakesOnlyTheCharactersOfAnInteger() {
  Abrir();
  Teclear(QStringLiteral("a1b.2 c"));
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  QVERIFY(editor != nullptr);
  QCOMPARE(editor->text(), QStringLiteral("12"));
  Dar({{Paso::kSalir, {}}});
  QCOMPARE(DniGuardado(0), QStringLiteral("12"));
}

void ControlProfesoresTest::keysThatNeitherAddNorDeleteNorClose_data() {
  QTest::addColumn<QList<int>>("teclas");
  QTest::addColumn<int>("modificadores");
  QTest::newRow("Insert") << QList<int>{Qt::Key_Insert} << int(Qt::NoModifier);
  QTest::newRow("down past the last") << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_PageDown} << int(Qt::NoModifier);
  QTest::newRow("Enter past the last cell") << QList<int>{Qt::Key_Return, Qt::Key_Return, Qt::Key_Return, Qt::Key_Return,
                                                         Qt::Key_Return}
                                            << int(Qt::NoModifier);
  QTest::newRow("Tab past the last cell") << QList<int>{Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab}
                                          << int(Qt::NoModifier);
  QTest::newRow("Delete") << QList<int>{Qt::Key_Delete} << int(Qt::NoModifier);
  QTest::newRow("Ctrl+Delete") << QList<int>{Qt::Key_Delete} << int(Qt::ControlModifier);
  QTest::newRow("Ctrl+Insert") << QList<int>{Qt::Key_Insert} << int(Qt::ControlModifier);
  // Only "Salir" and the close box close the dialog.
  QTest::newRow("Escape") << QList<int>{Qt::Key_Escape, Qt::Key_Escape} << int(Qt::NoModifier);
}

void ControlProfesoresTest::keysThatNeitherAddNorDeleteNorClose() {
  QFETCH(QList<int>, teclas);
  QFETCH(int, modificadores);
  Abrir();
  gui_testing::PulsarBotonNavegador(*dialogo_, QStringLiteral("Last"));
  for (int tecla : teclas) Pulsar(static_cast<Qt::Key>(tecla), Qt::KeyboardModifiers::fromInt(modificadores));
  QCOMPARE(Rejilla()->model()->rowCount(), kProfesores);
  QCOMPARE(Rejilla()->currentIndex().row(), kProfesores - 1);
  QVERIFY(dialogo_->isVisible());
  Dar({{Paso::kSalir, {}}});
  QCOMPARE(gui_testing::Campo(kProft, "ABREV").size(), std::size_t{kProfesores});
  QCOMPARE(gui_testing::Campo(kProft, "DNI").back(), Dni(kProfesores - 1).toStdString());
}

// Enter goes on as Tab does, from the last column to the first of the next row, in a cell being edited
// too (which it hands to the record first).
void ControlProfesoresTest::enterMovesToTheNextColumn() {
  Abrir();
  QTableView* rejilla = Rejilla();
  Pulsar(Qt::Key_Return);
  QCOMPARE(rejilla->currentIndex(), rejilla->model()->index(0, 1));
  Pulsar(Qt::Key_Return);
  Pulsar(Qt::Key_Return);
  Pulsar(Qt::Key_Return);
  QCOMPARE(rejilla->currentIndex(), rejilla->model()->index(1, 0));
  Teclear(QStringLiteral("77"));
  Pulsar(Qt::Key_Return);
  QCOMPARE(rejilla->currentIndex(), rejilla->model()->index(1, 1));
  QCOMPARE(rejilla->model()->index(1, 0).data().toString(), QStringLiteral("77"));
  QVERIFY(dialogo_->isVisible());
}

void ControlProfesoresTest::theNavigatorMovesAndEnablesItsButtons_data() {
  QTest::addColumn<QStringList>("botones");
  QTest::addColumn<int>("fila");
  QTest::addColumn<QStringList>("habilitados");
  const QStringList enMedio = {"First", "PriorPage", "Prior", "Next", "NextPage", "Last", "Edit", "Refresh"};
  QTest::newRow("next") << QStringList{"Next"} << 1 << enMedio;
  QTest::newRow("10 forward") << QStringList{"NextPage"} << 10 << enMedio;
  QTest::newRow("10 forward past the end") << QStringList{"Last", "Prior", "NextPage"} << 29
                                           << QStringList{"First", "PriorPage", "Prior", "Edit", "Refresh"};
  QTest::newRow("10 back") << QStringList{"Last", "PriorPage"} << 19 << enMedio;
  QTest::newRow("10 back past the start") << QStringList{"Next", "Next", "PriorPage"} << 0
                                          << QStringList{"Next", "NextPage", "Last", "Edit", "Refresh"};
  QTest::newRow("first") << QStringList{"NextPage", "First"} << 0 << QStringList{"Next", "NextPage", "Last", "Edit", "Refresh"};
  QTest::newRow("edit") << QStringList{"Next", "Edit"} << 1
                        << QStringList{"First", "PriorPage", "Prior", "Next", "NextPage", "Last", "Post", "Cancel", "Refresh"};
  QTest::newRow("post") << QStringList{"Post"} << 0 << QStringList{"Next", "NextPage", "Last", "Edit", "Refresh"};
  QTest::newRow("refresh") << QStringList{"Next", "Next", "Refresh"} << 2 << enMedio;
}

void ControlProfesoresTest::theNavigatorMovesAndEnablesItsButtons() {
  QFETCH(QStringList, botones);
  QFETCH(int, fila);
  QFETCH(QStringList, habilitados);
  Abrir();
  for (const QString& boton : botones) gui_testing::PulsarBotonNavegador(*dialogo_, boton);
  QCOMPARE(Rejilla()->currentIndex().row(), fila);
  QCOMPARE(gui_testing::Habilitados(*dialogo_), habilitados);
  QVERIFY(FocoEnLaRejilla());  // the navigator never takes the focus
}

void ControlProfesoresTest::theNavigatorsButtons() {
  Abrir();
  QStringList nombres;
  QStringList pistas;
  for (auto* boton : Buscar<QWidget>(*dialogo_, "wwDBNavigator1")->findChildren<QToolButton*>()) {
    nombres << boton->objectName();
    pistas << boton->toolTip();
    QVERIFY(boton->autoRepeat());
    QCOMPARE(boton->autoRepeatDelay(), 500);
    QCOMPARE(boton->autoRepeatInterval(), 100);
    QCOMPARE(boton->focusPolicy(), Qt::NoFocus);
  }
  QCOMPARE(nombres, QStringList({"wwDBNavigator1First", "wwDBNavigator1PriorPage", "wwDBNavigator1Prior",
                                 "wwDBNavigator1Next", "wwDBNavigator1NextPage", "wwDBNavigator1Last",
                                 "wwDBNavigator1Edit", "wwDBNavigator1Post", "wwDBNavigator1Cancel",
                                 "wwDBNavigator1Refresh"}));
  QCOMPARE(pistas, QStringList({"Move to first record", "Move backward 10 records", "Move to prior record",
                                "Move to next record", "Move forward 10 records", "Move to last record",
                                "Edit current record", "Post changes of current record",
                                "Cancel changes made to current record", "Refresh the contents of the dataset"}));
}

void ControlProfesoresTest::aMissingProftIsTheTableLayersError() {
  platform::RemoveFile(kProft);
  try {
    gui_testing::AbrirDialogo(run::TipoRevision::kProfesores, *engine_, errores_);
    QFAIL("the dialog opened without PROFT");
  } catch (const storage::DatabaseError& error) {
    QVERIFY2(std::string(error.what()).starts_with("La tabla no existe"), error.what());
  }
}

void ControlProfesoresTest::theWindowShowsItModallyAndReleasesIt_data() {
  QTest::addColumn<bool>("salir");  // left by "Salir", or by the close box
  QTest::addColumn<QString>("dni");
  QTest::newRow("Salir") << true << "87654321";
  QTest::newRow("close box") << false << "0";
}

// The import shows the dialog through the window's interface: modal, owned by the main window, released
// when it closes.
void ControlProfesoresTest::theWindowShowsItModallyAndReleasesIt() {
  QFETCH(bool, salir);
  QFETCH(QString, dni);
  QWidget ventana;
  ventana.show();
  QVERIFY(QTest::qWaitForWindowActive(&ventana));
  app::InterfazQt interfaz(&ventana);
  bool conducido = gui_testing::ConducirModal<app::TControlRevision>(
      &ventana, [&] { interfaz.Revisar(*importacion::RevisionProfesores(*engine_)); },
      [salir](app::TControlRevision& dialogo) {
        Pulsar(Qt::Key_Down);
        Pulsar(Qt::Key_Down);
        Teclear(QStringLiteral("87654321"));
        salir ? gui_testing::PulsarSalir(dialogo) : gui_testing::CerrarConLaCaja(dialogo);
      });
  QVERIFY(conducido);
  QVERIFY(ventana.findChildren<QDialog*>().isEmpty());
  QCOMPARE(DniGuardado(kSinDni), dni);
}

// In the program the table layer's message is the application's error box; the hourglass that the import
// leaves on is off while the user works in the dialog. The text refused stays in its cell behind the box;
// Escape drops it, and "Salir" then leaves.
void ControlProfesoresTest::theWindowShowsARefusalInTheErrorBox() {
  QWidget ventana;
  ventana.show();
  QVERIFY(QTest::qWaitForWindowActive(&ventana));
  app::InterfazQt interfaz(&ventana);
  interfaz.CursorEspera(true);
  bool relojDeArena = true;
  QStringList cuadros;
  QString textoTrasElCuadro;
  bool conducido = gui_testing::ConducirModal<app::TControlRevision>(
      &ventana, [&] { interfaz.Revisar(*importacion::RevisionProfesores(*engine_)); },
      [&](app::TControlRevision& dialogo) {
        relojDeArena = QApplication::overrideCursor() != nullptr;
        QTimer contestador;
        QObject::connect(&contestador, &QTimer::timeout, [&] {
          if (auto* cuadro = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            cuadros << (cuadro->icon() == QMessageBox::Critical ? "stop: " : "other: ") + cuadro->text();
            cuadro->buttons().front()->click();
          }
        });
        contestador.start(5);
        Pulsar(Qt::Key_Down);
        Pulsar(Qt::Key_Down);
        Teclear(QStringLiteral("12-3"));
        Pulsar(Qt::Key_Return);
        if (!QTest::qWaitFor([&] { return !cuadros.isEmpty() && QApplication::activeModalWidget() == &dialogo; })) return;
        // The box took the focus; with the dialog active again (as a window manager makes it), the cell is
        // still open with the text as typed.
        dialogo.activateWindow();
        if (!QTest::qWaitForWindowActive(&dialogo)) return;
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        textoTrasElCuadro = editor != nullptr ? editor->text() : QStringLiteral("(no cell being edited)");
        Pulsar(Qt::Key_Escape);
        gui_testing::PulsarSalir(dialogo);
      });
  QVERIFY(conducido);
  QVERIFY(!relojDeArena);
  QCOMPARE(cuadros, QStringList({"stop: '12-3' no es un valor entero válido para el campo 'DNI'"}));
  QCOMPARE(textoTrasElCuadro, QStringLiteral("12-3"));
  QCOMPARE(DniGuardado(kSinDni), QStringLiteral("0"));
}

QTEST_MAIN(ControlProfesoresTest)
#include "control_profesores_test.moc"
