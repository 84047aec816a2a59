// The window menu in the Qt window: the problems and backups dialogs drawn over their models and what their
// buttons do, the question with Sí and No, the context menu of the main window's panels and the orders'
// shortcuts from every control; each case on a temporary drive C: of its own.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/qt/dialogos_qt.h"
#include "app/qt/diseno_qt.h"
#include "app/qt/exportar_datos.h"
#include "diagnostico/diagnostico.h"
#include "muestra/muestra_escolan.h"
#include "tests/gui/revision_de_prueba.h"
#include "tests/support/interfaz_guionada.h"

using gui_testing::Buscar;
using gui_testing::Lista;

namespace {

// The rows of a list as the user reads them, cells joined by " | ".
QStringList Filas(const QTreeWidget& lista) {
  QStringList filas;
  for (int fila = 0; fila < lista.topLevelItemCount(); ++fila) {
    QStringList celdas;
    for (int columna = 0; columna < lista.columnCount(); ++columna) celdas << lista.topLevelItem(fila)->text(columna);
    filas << celdas.join(QStringLiteral(" | "));
  }
  return filas;
}

QStringList Titulos(const QTreeWidget& lista) {
  QStringList titulos;
  for (int columna = 0; columna < lista.columnCount(); ++columna) titulos << lista.headerItem()->text(columna);
  return titulos;
}

QList<int> Anchos(const QTreeWidget& lista) {
  QList<int> anchos;
  for (int columna = 0; columna < lista.columnCount(); ++columna) anchos << lista.columnWidth(columna);
  return anchos;
}

QString Resumen(const QWidget& dialogo) { return Buscar<QLabel>(dialogo, "Resumen")->text(); }

// Problems as the review of a folder reports them: one in a field, one of a record, one of a whole file.
std::vector<diagnostico::Problema> TresProblemas() {
  return {
      {"asignat.dbf", 4, "Horsemte", "'3:' no es un valor punto flotante válido", "3:30"},
      {"profesor.dbf", 7, "", "El registro está dañado", ""},
      {"alumnos.fpt", 0, "", "No se encuentra el archivo", ""},
  };
}

// The window's dialogs as orders that the shortcut test can see: each shown is noted with its summary.
class DialogosAnotados : public ventana::Dialogos {
 public:
  explicit DialogosAnotados(std::vector<std::string>& sucesos) : sucesos_(sucesos) {}
  void MostrarProblemas(ventana::DialogoProblemas& dialogo) override { sucesos_.push_back("problemas: " + dialogo.Resumen()); }
  void MostrarCopias(ventana::DialogoCopias& dialogo) override { sucesos_.push_back("copias: " + dialogo.Resumen()); }
  bool Preguntar(const std::string& texto) override {
    sucesos_.push_back("pregunta: " + texto);
    return false;
  }

 private:
  std::vector<std::string>& sucesos_;
};

}  // namespace

class DialogosTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void theProblemsDialogShowsItsModel();
  void copiarPutsTheListOnTheClipboard();
  void guardarWritesTheFileTheUserChose_data();
  void guardarWritesTheFileTheUserChose();
  void theListDialogsClose_data();
  void theListDialogsClose();
  void theBackupsDialogShowsTheFoldersBackups();
  void theBackupsButtonsFollowTheSelectedRow_data();
  void theBackupsButtonsFollowTheSelectedRow();
  void withoutBackupsNothingCanBeDone();
  void restoringAsksOverTheDialogThenReadsTheListAgain_data();
  void restoringAsksOverTheDialogThenReadsTheListAgain();
  void theQuestionAnswersSiOrNo_data();
  void theQuestionAnswersSiOrNo();
  void aRightClickShowsTheWindowMenu_data();
  void aRightClickShowsTheWindowMenu();
  void aMenuItemRunsItsOrder();
  void eachShortcutRunsItsOrderFromAnyControl_data();
  void eachShortcutRunsItsOrderFromAnyControl();

 private:
  void Abrir();
  // C:\ESCOLAN with a centre and a pair of timetables of 3 lessons each, and in C:\HTEMP\COPIAS three backups
  // of it (the middle one without horprof) and one of another school.
  void EscribirCopias();
  void Copia(const std::string& sello, const std::string& origen, int horgrup, int horprof);
  void Horario(const std::string& ruta, int clases);
  std::string HostDeCopia(const std::string& sello, const std::string& archivo) const {
    return "HTEMP/COPIAS/" + sello + "/" + archivo;
  }

  std::unique_ptr<testing_support::TemporaryDrive> drive_;
  std::unique_ptr<storage::Engine> engine_;
  std::unique_ptr<testing_support::InterfazGuionada> interfaz_;
  std::unique_ptr<app::TExportarDatos> ventana_;
};

void DialogosTest::initTestCase() {
  // A page is "opened" by a program that does nothing, so that no browser starts.
  qputenv("ESCOLAN_HORVANE_OPENER", "/bin/true");
}

void DialogosTest::init() {
  drive_ = std::make_unique<testing_support::TemporaryDrive>();
  engine_ = std::make_unique<storage::Engine>(',');
  interfaz_ = std::make_unique<testing_support::InterfazGuionada>();
}

void DialogosTest::cleanup() {
  ventana_.reset();
  interfaz_.reset();
  engine_.reset();
  drive_.reset();
}

void DialogosTest::Abrir() {
  ventana_ = std::make_unique<app::TExportarDatos>(interfaz_.get());
  ventana_->show();
  QVERIFY(QTest::qWaitForWindowExposed(ventana_.get()));
}

void DialogosTest::Horario(const std::string& ruta, int clases) {
  testing_support::Filas filas;
  for (int i = 1; i <= clases; ++i) filas.push_back({std::to_string(i)});
  testing_support::CrearTabla(*engine_, ruta, {{"DIA", storage::DataType::ftInteger}}, filas);
}

void DialogosTest::Copia(const std::string& sello, const std::string& origen, int horgrup, int horprof) {
  drive_->MakeHostFolder("HTEMP/COPIAS/" + sello);
  if (horgrup > 0) Horario("C:\\HTEMP\\COPIAS\\" + sello + "\\horgrup.dbf", horgrup);
  if (horprof > 0) Horario("C:\\HTEMP\\COPIAS\\" + sello + "\\horprof.dbf", horprof);
  drive_->WriteHostFile("HTEMP/COPIAS/" + sello + "/ORIGEN.TXT", origen + "\r\n");
}

void DialogosTest::EscribirCopias() {
  gui_testing::EscribirCentro(*drive_, "ESCOLAN", {46010});
  Horario("C:\\ESCOLAN\\horgrup.dbf", 3);
  Horario("C:\\ESCOLAN\\horprof.dbf", 3);
  Copia("20261201-101010", "C:\\ESCOLAN", 5, 6);
  Copia("20261205-090000", "C:\\ESCOLAN", 4, 0);
  Copia("20261208-060000", "c:\\escolan", 7, 8);
  Copia("20261203-080000", "C:\\OTRA", 2, 2);
  engine_->ReleaseAll();
}

// ---------------------------------------------------------------------------------------------------------
// "Problemas en los datos de ESCOLAN"

void DialogosTest::theProblemsDialogShowsItsModel() {
  ventana::DialogoProblemas modelo(*interfaz_, "C:\\ESCOLAN", TresProblemas());
  app::TDialogoProblemas dialogo(modelo, *interfaz_, nullptr);
  dialogo.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialogo));

  QCOMPARE(dialogo.windowTitle(), QStringLiteral("Problemas en los datos de ESCOLAN"));
  QCOMPARE(dialogo.size(), QSize(780, 440));
  QCOMPARE(dialogo.minimumSize(), dialogo.maximumSize());
  QCOMPARE(Resumen(dialogo), QStringLiteral("C:\\ESCOLAN: 3 problemas encontrados."));
  const QTreeWidget& lista = dialogo.Lista();
  QCOMPARE(lista.geometry(), QRect(8, 32, 764, 364));
  QCOMPARE(Titulos(lista), QStringList({"Tabla", "Registro", "Campo", "Valor", "Qué ocurre"}));
  QCOMPARE(Anchos(lista), QList<int>({90, 62, 90, 110, 405}));
  QCOMPARE(Filas(lista), QStringList({
                             "asignat.dbf | 4 | Horsemte | 3:30 | '3:' no es un valor punto flotante válido",
                             "profesor.dbf | 7 |  |  | El registro está dañado",
                             "alumnos.fpt |  |  |  | No se encuentra el archivo",
                         }));
  QCOMPARE(lista.selectionBehavior(), QAbstractItemView::SelectRows);
  QCOMPARE(lista.editTriggers(), QAbstractItemView::NoEditTriggers);
  for (const ventana::Control& def : ventana::kDisenoProblemas.botones) {
    auto* boton = Buscar<QPushButton>(dialogo, std::string(def.nombre).c_str());
    QCOMPARE(boton->text(), app::TextoQt(def.texto));
    QCOMPARE(boton->geometry(), app::RectanguloQt(def.caja));
  }
}

// The clipboard of this system gets its own line ends.
void DialogosTest::copiarPutsTheListOnTheClipboard() {
  QGuiApplication::clipboard()->setText(QStringLiteral("lo que había"));
  ventana::DialogoProblemas modelo(*interfaz_, "C:\\ESCOLAN", {TresProblemas().front()});
  app::TDialogoProblemas dialogo(modelo, *interfaz_, nullptr);
  dialogo.show();
  QTest::mouseClick(Buscar<QPushButton>(dialogo, "BCopiar"), Qt::LeftButton);
  QCOMPARE(QGuiApplication::clipboard()->text(),
           QStringLiteral("Problemas en los datos de ESCOLAN\nC:\\ESCOLAN: 1 problema encontrado.\n\n"
                          "asignat.dbf, registro 4, campo Horsemte ('3:30'): '3:' no es un valor punto flotante válido\n"));
  QVERIFY(dialogo.isVisible());
}

void DialogosTest::guardarWritesTheFileTheUserChose_data() {
  QTest::addColumn<QString>("elegido");  // relative to C:\; empty: the file dialog cancelled
  QTest::newRow("the name proposed") << "USUARIO/problemas.txt";
  QTest::newRow("another folder and name") << "ESCOLAN/Revisión de hoy.txt";
  QTest::newRow("cancelled") << "";
}

// The file dialog proposes problemas.txt in the home folder; the file chosen there is written through the
// program's drives, as Notepad reads it; nothing is written when the user cancels.
void DialogosTest::guardarWritesTheFileTheUserChose() {
  QFETCH(QString, elegido);
  drive_->MakeHostFolder("USUARIO");
  drive_->MakeHostFolder("ESCOLAN");
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", QByteArray::fromStdString(drive_->Host("USUARIO")));
  ventana::DialogoProblemas modelo(*interfaz_, "C:\\ESCOLAN", {TresProblemas().front()});
  app::TDialogoProblemas dialogo(modelo, *interfaz_, nullptr);
  dialogo.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialogo));

  QStringList propuesta;
  QStringList filtros;
  bool conducido = gui_testing::ConducirModal<QFileDialog>(
      &dialogo, [&] { QTest::mouseClick(Buscar<QPushButton>(dialogo, "BGuardar"), Qt::LeftButton); },
      [&](QFileDialog& archivo) {
        propuesta = archivo.selectedFiles();
        filtros = archivo.nameFilters();
        if (elegido.isEmpty()) {
          archivo.reject();
          return;
        }
        archivo.selectFile(QString::fromStdString(drive_->Host(elegido.toStdString())));
        static_cast<QDialog&>(archivo).accept();  // the Save button
      });
  qputenv("HOME", home);
  QVERIFY(conducido);
  QCOMPARE(propuesta, QStringList({QDir(QString::fromStdString(drive_->Host("USUARIO"))).filePath("problemas.txt")}));
  QCOMPARE(filtros, QStringList({"Texto (*.txt)"}));
  QCOMPARE(Lista(interfaz_->sucesos), QStringList());
  if (elegido.isEmpty()) {
    QCOMPARE(Lista(drive_->HostEntries("USUARIO")), QStringList());
    return;
  }
  QCOMPARE(drive_->ReadHostFile(elegido.toStdString()),
           std::string("\xEF\xBB\xBFProblemas en los datos de ESCOLAN\r\nC:\\ESCOLAN: 1 problema encontrado.\r\n\r\n"
                       "asignat.dbf, registro 4, campo Horsemte ('3:30'): '3:' no es un valor punto flotante válido\r\n"));
}

void DialogosTest::theListDialogsClose_data() {
  QTest::addColumn<bool>("copias");
  QTest::addColumn<bool>("escape");
  QTest::newRow("problems, Cerrar") << false << false;
  QTest::newRow("problems, Escape") << false << true;
  QTest::newRow("backups, Cerrar") << true << false;
  QTest::newRow("backups, Escape") << true << true;
}

// Through the window's order, as the user opens them: modal over the main window, closed by Cerrar or Escape.
void DialogosTest::theListDialogsClose() {
  QFETCH(bool, copias);
  QFETCH(bool, escape);
  EscribirCopias();
  Abrir();
  const auto orden = copias ? ventana::OrdenMenu::kCopiasHorarios : ventana::OrdenMenu::kRevisarDatos;
  bool cerrado = false;
  bool conducido = gui_testing::ConducirModal<app::TDialogoLista>(
      ventana_.get(), [&] { ventana_->Ventana().EjecutarOrden(orden); },
      [&](app::TDialogoLista& dialogo) {
        if (escape) {
          // The list has the focus as the dialog opens, and lets Escape through.
          if (!QTest::qWaitFor([&] { return QApplication::focusWidget() == &dialogo.Lista(); })) return;
          QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        } else {
          QTest::mouseClick(Buscar<QPushButton>(dialogo, "BCerrar"), Qt::LeftButton);
        }
        cerrado = !dialogo.isVisible();
      });
  QVERIFY(conducido);
  QVERIFY(cerrado);
}

// ---------------------------------------------------------------------------------------------------------
// "Copias de los horarios"

void DialogosTest::theBackupsDialogShowsTheFoldersBackups() {
  EscribirCopias();
  Abrir();
  app::DialogosQt dialogos(ventana_.get(), *interfaz_);
  ventana::DialogoCopias modelo(ventana_->Ventana().Sesion(), dialogos, ventana_->Ventana().Centro());
  app::TDialogoCopias dialogo(modelo, ventana_.get());
  dialogo.show();
  QCOMPARE(dialogo.windowTitle(), QStringLiteral("Copias de los horarios"));
  QCOMPARE(dialogo.size(), QSize(720, 360));
  QCOMPARE(Resumen(dialogo),
           QStringLiteral("Copias de los horarios de C:\\ESCOLAN en C:\\HTEMP\\COPIAS, la más reciente primero: 3."));
  QCOMPARE(Titulos(dialogo.Lista()), QStringList({"Fecha", "Hora", "horgrup", "horprof", "Carpeta"}));
  QCOMPARE(Anchos(dialogo.Lista()), QList<int>({80, 64, 84, 84, 388}));
  QCOMPARE(Filas(dialogo.Lista()), QStringList({
                                       "08/12/2026 | 06:00:00 | 7 clases | 8 clases | c:\\escolan",
                                       "05/12/2026 | 09:00:00 | 4 clases | falta | C:\\ESCOLAN",
                                       "01/12/2026 | 10:10:10 | 5 clases | 6 clases | C:\\ESCOLAN",
                                   }));
  QStringList botones;
  for (int i = 0; i < 3; ++i) botones << dialogo.Boton(static_cast<std::size_t>(i)).text();
  QCOMPARE(botones, QStringList({"Ver horarios", "Restaurar", "Cerrar"}));
}

void DialogosTest::theBackupsButtonsFollowTheSelectedRow_data() {
  QTest::addColumn<int>("clicada");  // -1: none clicked
  QTest::addColumn<bool>("quitar");  // Ctrl+click on it again, which leaves no row selected
  QTest::addColumn<int>("seleccionada");
  QTest::addColumn<bool>("habilitados");
  QTest::newRow("as it opens: the newest") << -1 << false << 0 << true;
  QTest::newRow("a backup missing a file") << 1 << false << 1 << false;
  QTest::newRow("an older complete one") << 2 << false << 2 << true;
  QTest::newRow("none selected") << 0 << true << -1 << false;
}

// Ver horarios and Restaurar work on the model's selected row, and only where the backup is complete.
void DialogosTest::theBackupsButtonsFollowTheSelectedRow() {
  QFETCH(int, clicada);
  QFETCH(bool, quitar);
  QFETCH(int, seleccionada);
  QFETCH(bool, habilitados);
  EscribirCopias();
  Abrir();
  app::DialogosQt dialogos(ventana_.get(), *interfaz_);
  ventana::DialogoCopias modelo(ventana_->Ventana().Sesion(), dialogos, ventana_->Ventana().Centro());
  app::TDialogoCopias dialogo(modelo, ventana_.get());
  dialogo.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialogo));
  QTreeWidget& lista = dialogo.Lista();
  if (clicada >= 0) {
    const QPoint punto = lista.visualItemRect(lista.topLevelItem(clicada)).center();
    QTest::mouseClick(lista.viewport(), Qt::LeftButton, {}, punto);
    if (quitar) QTest::mouseClick(lista.viewport(), Qt::LeftButton, Qt::ControlModifier, punto);
  }
  QCOMPARE(modelo.Seleccionada(), seleccionada);
  QCOMPARE(lista.selectedItems().size(), seleccionada < 0 ? 0 : 1);
  if (seleccionada >= 0) QCOMPARE(lista.selectedItems().front(), lista.topLevelItem(seleccionada));
  QCOMPARE(Buscar<QPushButton>(dialogo, "BVerHorarios")->isEnabled(), habilitados);
  QCOMPARE(Buscar<QPushButton>(dialogo, "BRestaurar")->isEnabled(), habilitados);
  QVERIFY(Buscar<QPushButton>(dialogo, "BCerrar")->isEnabled());
}

void DialogosTest::withoutBackupsNothingCanBeDone() {
  gui_testing::EscribirCentro(*drive_, "ESCOLAN", {46010});
  Abrir();
  app::DialogosQt dialogos(ventana_.get(), *interfaz_);
  ventana::DialogoCopias modelo(ventana_->Ventana().Sesion(), dialogos, ventana_->Ventana().Centro());
  app::TDialogoCopias dialogo(modelo, ventana_.get());
  dialogo.show();
  QCOMPARE(Resumen(dialogo), QStringLiteral("No hay ninguna copia de los horarios de C:\\ESCOLAN en C:\\HTEMP\\COPIAS."));
  QCOMPARE(dialogo.Lista().topLevelItemCount(), 0);
  QCOMPARE(modelo.Seleccionada(), -1);
  QVERIFY(!Buscar<QPushButton>(dialogo, "BVerHorarios")->isEnabled());
  QVERIFY(!Buscar<QPushButton>(dialogo, "BRestaurar")->isEnabled());
}

void DialogosTest::restoringAsksOverTheDialogThenReadsTheListAgain_data() {
  QTest::addColumn<bool>("si");
  QTest::newRow("answered Sí") << true;
  QTest::newRow("answered No") << false;
}

// The oldest backup restored from the dialog opened by the window's order: the question over the dialog;
// after Sí the folder's pair is the backup's, byte for byte, and the list shows the backup of the pair it
// replaced at the top; after No nothing changes.
void DialogosTest::restoringAsksOverTheDialogThenReadsTheListAgain() {
  QFETCH(bool, si);
  EscribirCopias();
  const std::string horgrupAntes = drive_->ReadHostFile("ESCOLAN/horgrup.dbf");
  const std::string horprofAntes = drive_->ReadHostFile("ESCOLAN/horprof.dbf");
  Abrir();
  QStringList preguntas;
  QStringList filas;
  bool preguntadoSobreElDialogo = false;
  bool conducido = gui_testing::ConducirModal<app::TDialogoCopias>(
      ventana_.get(), [&] { ventana_->Ventana().EjecutarOrden(ventana::OrdenMenu::kCopiasHorarios); },
      [&](app::TDialogoCopias& dialogo) {
        QTreeWidget& lista = dialogo.Lista();
        QTest::mouseClick(lista.viewport(), Qt::LeftButton, {}, lista.visualItemRect(lista.topLevelItem(2)).center());
        preguntadoSobreElDialogo = gui_testing::ConducirModal<QMessageBox>(
            &dialogo, [&] { QTest::mouseClick(Buscar<QPushButton>(dialogo, "BRestaurar"), Qt::LeftButton); },
            [&](QMessageBox& cuadro) {
              preguntas << cuadro.text();
              for (QAbstractButton* boton : cuadro.buttons()) {
                if (boton->text() == (si ? QStringLiteral("Sí") : QStringLiteral("No"))) boton->click();
              }
            });
        filas = Filas(lista);
        dialogo.reject();
      });
  QVERIFY(conducido);
  QVERIFY(preguntadoSobreElDialogo);
  QCOMPARE(preguntas, QStringList({"¿Desea restaurar los horarios de la copia del 01/12/2026 a las 10:10:10 en "
                                   "C:\\ESCOLAN? Los horarios que hay ahora se guardarán antes en una copia nueva."}));
  if (!si) {
    QCOMPARE(filas.size(), 3);
    QCOMPARE(drive_->ReadHostFile("ESCOLAN/horgrup.dbf"), horgrupAntes);
    QCOMPARE(drive_->ReadHostFile("ESCOLAN/horprof.dbf"), horprofAntes);
    QCOMPARE(Lista(interfaz_->sucesos).filter(QStringLiteral("mensaje")), QStringList());
    return;
  }
  QCOMPARE(drive_->ReadHostFile("ESCOLAN/horgrup.dbf"), drive_->ReadHostFile(HostDeCopia("20261201-101010", "horgrup.dbf")));
  QCOMPARE(drive_->ReadHostFile("ESCOLAN/horprof.dbf"), drive_->ReadHostFile(HostDeCopia("20261201-101010", "horprof.dbf")));
  QCOMPARE(filas.size(), 4);
  QVERIFY2(filas.front().contains(QStringLiteral("| 3 clases | 3 clases | C:\\ESCOLAN")), qPrintable(filas.front()));
  QCOMPARE(filas.mid(1), QStringList({
                             "08/12/2026 | 06:00:00 | 7 clases | 8 clases | c:\\escolan",
                             "05/12/2026 | 09:00:00 | 4 clases | falta | C:\\ESCOLAN",
                             "01/12/2026 | 10:10:10 | 5 clases | 6 clases | C:\\ESCOLAN",
                         }));
  QStringList mensajes = Lista(interfaz_->sucesos).filter(QStringLiteral("mensaje"));
  QCOMPARE(mensajes.size(), 1);
  QVERIFY2(mensajes.front().startsWith(QStringLiteral("mensaje: Se han restaurado los horarios de la copia 20261201-101010")),
           qPrintable(mensajes.front()));
}

// ---------------------------------------------------------------------------------------------------------
// The question

void DialogosTest::theQuestionAnswersSiOrNo_data() {
  QTest::addColumn<QString>("respuesta");  // the button clicked, or "Escape"
  QTest::addColumn<bool>("si");
  QTest::newRow("Sí") << "Sí" << true;
  QTest::newRow("No") << "No" << false;
  QTest::newRow("Escape") << "Escape" << false;
}

void DialogosTest::theQuestionAnswersSiOrNo() {
  QFETCH(QString, respuesta);
  QFETCH(bool, si);
  QWidget ventana;
  ventana.show();
  QVERIFY(QTest::qWaitForWindowExposed(&ventana));
  app::DialogosQt dialogos(&ventana, *interfaz_);
  bool contestado = false;
  QString titulo;
  QString texto;
  QStringList botones;
  bool conducido = gui_testing::ConducirModal<QMessageBox>(
      &ventana, [&] { contestado = dialogos.Preguntar("¿Desea ver los horarios ahora?"); },
      [&](QMessageBox& cuadro) {
        titulo = cuadro.windowTitle();
        texto = cuadro.text();
        for (QAbstractButton* boton : cuadro.buttons()) botones << boton->text();
        if (respuesta == QLatin1String("Escape")) {
          QTest::keyClick(&cuadro, Qt::Key_Escape);
          return;
        }
        for (QAbstractButton* boton : cuadro.buttons()) {
          if (boton->text() == respuesta) QTest::mouseClick(boton, Qt::LeftButton);
        }
      });
  QVERIFY(conducido);
  QCOMPARE(titulo, QString::fromUtf8(ventana::kTituloAplicacion));
  QCOMPARE(texto, QStringLiteral("¿Desea ver los horarios ahora?"));
  QCOMPARE(botones, QStringList({"Sí", "No"}));
  QCOMPARE(contestado, si);
}

// ---------------------------------------------------------------------------------------------------------
// The window menu

void DialogosTest::aRightClickShowsTheWindowMenu_data() {
  QTest::addColumn<QString>("donde");  // the control right-clicked
  for (const ventana::Panel& panel : ventana::diseno::kPaneles) {
    QTest::newRow(std::string(panel.nombre).c_str()) << app::TextoQt(panel.nombre);
  }
  QTest::newRow("a label") << app::TextoQt(ventana::diseno::kEtiquetas.front().nombre);
  QTest::newRow("the directory list") << "ListaDirectorios";
}

// The five orders in order, each with its shortcut shown beside it.
void DialogosTest::aRightClickShowsTheWindowMenu() {
  QFETCH(QString, donde);
  gui_testing::EscribirCentro(*drive_, "ESCOLAN", {46010});
  Abrir();
  auto* control = Buscar<QWidget>(*ventana_, donde.toStdString().c_str());
  const QPoint punto(4, 4);
  QContextMenuEvent clic(QContextMenuEvent::Mouse, punto, control->mapToGlobal(punto));
  QApplication::sendEvent(control, &clic);
  QMenu& menu = ventana_->MenuVentana();
  QTRY_VERIFY(menu.isVisible());
  QStringList items;
  for (QAction* accion : menu.actions()) {
    items << accion->text() + " [" + accion->shortcut().toString(QKeySequence::PortableText) + "]" +
                 (accion->isShortcutVisibleInContextMenu() ? "" : " (shortcut hidden)");
  }
  QCOMPARE(items, QStringList({"Revisar los datos de ESCOLAN… [Ctrl+R]", "Ver los horarios… [Ctrl+H]",
                               "Copias de los horarios… [Ctrl+K]", "Ayuda: manual de uso… [F1]",
                               "Acerca de… [Ctrl+I]"}));
  menu.close();
  QCOMPARE(Lista(interfaz_->sucesos), QStringList());
}

void DialogosTest::aMenuItemRunsItsOrder() {
  gui_testing::EscribirCentro(*drive_, "ESCOLAN", {46010});
  Abrir();
  QMenu& menu = ventana_->MenuVentana();
  menu.popup(ventana_->mapToGlobal(QPoint(20, 20)));
  QVERIFY(QTest::qWaitForWindowExposed(&menu));
  QAction* acercaDe = menu.actions().back();
  QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(acercaDe).center());
  QTRY_VERIFY(!menu.isVisible());
  QCOMPARE(Lista(interfaz_->sucesos), QStringList({QString::fromStdString("mensaje: " + ventana::TextoAcercaDe())}));
}

void DialogosTest::eachShortcutRunsItsOrderFromAnyControl_data() {
  QTest::addColumn<QString>("foco");
  for (const ventana::Control* control : ventana::diseno::kOrdenTabulacion) {
    QTest::newRow(std::string(control->nombre).c_str()) << app::TextoQt(control->nombre);
  }
}

// Ctrl and each letter, and F1, the focus in each control, the language box's edit line included: the order
// runs (the window's dialogs noted here, the page of the folder's timetables written and handed to the opener,
// the manual of the build tree handed to the opener with nothing shown).
void DialogosTest::eachShortcutRunsItsOrderFromAnyControl() {
  QFETCH(QString, foco);
  muestra::EscribirMuestraEscolan("C:\\ESCOLAN", muestra::TamanoMuestra::kPequena);
  Abrir();
  std::vector<std::string> sucesos;
  DialogosAnotados dialogos(sucesos);
  ventana_->Ventana().PonerDialogos(&dialogos);
  auto* control = Buscar<QWidget>(*ventana_, foco.toStdString().c_str());
  control->setFocus();
  QTRY_VERIFY(control->hasFocus() || control->isAncestorOf(QApplication::focusWidget()));
  const std::string pagina = "HTEMP/HORARIOS/horarios.html";

  QStringList vistos;
  for (const ventana::ElementoMenu& elemento : ventana::kMenuVentana) {
    sucesos.clear();
    interfaz_->sucesos.clear();
    if (elemento.letraControl == 0) {
      QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(Qt::Key_F1 + elemento.teclaFuncion - 1));
    } else {
      QTest::keyClick(QApplication::focusWidget(), static_cast<char>(elemento.letraControl - 'A' + 'a'), Qt::ControlModifier);
    }
    for (const std::string& suceso : interfaz_->sucesos) {
      if (suceso.rfind("cursor: ", 0) != 0) sucesos.push_back(suceso);
    }
    QString visto = QString::fromStdString(ventana::TextoAtajo(elemento)) + ": " + Lista(sucesos).join(QStringLiteral("; "));
    if (elemento.orden == ventana::OrdenMenu::kVerHorarios) {
      visto += platform::FileExists("C:\\HTEMP\\HORARIOS\\horarios.html") ? "page written" : "no page";
    }
    if (elemento.orden == ventana::OrdenMenu::kManual && sucesos.empty()) visto += "opened";
    vistos << visto;
  }
  // The start of what each order showed: the problems' count and the text of "Acerca de…" are the window
  // library's.
  const QStringList esperado = {
      QStringLiteral("Ctrl+R: problemas: C:\\ESCOLAN: "),
      QStringLiteral("Ctrl+H: page written"),
      QStringLiteral("Ctrl+K: copias: No hay ninguna copia de los horarios de C:\\ESCOLAN"),
      QStringLiteral("F1: opened"),
      QString::fromStdString("Ctrl+I: mensaje: " + ventana::TextoAcercaDe()),
  };
  for (qsizetype i = 0; i < vistos.size() && i < esperado.size(); ++i) vistos[i] = vistos[i].left(esperado[i].size());
  QCOMPARE(vistos, esperado);
  QVERIFY(drive_->ReadHostFile(pagina).find("<html") != std::string::npos);
}

QTEST_MAIN(DialogosTest)
#include "dialogos_test.moc"
