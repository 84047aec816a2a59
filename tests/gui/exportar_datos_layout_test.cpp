// The main window's look: its frame, which panel each control sits on, that every label's text fits its box
// and no two controls cover each other, texts, fonts, colours (the labels' as drawn), the gradient panels
// and the tab order. One window, opened once over a small ESCOLAN folder, serves every case.
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <memory>

#include "app/qt/exportar_datos.h"
#include "ventana/version.h"
#include "tests/gui/ventana_de_prueba.h"
#include "tests/support/interfaz_guionada.h"

using gui_testing::Buscar;

class ExportarDatosLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();

  void theWindowIsAFixedDialogAtItsPlace();
  void controlsSitOnTheirPanels_data();
  void controlsSitOnTheirPanels();
  void labelsFitTheirText_data();
  void labelsFitTheirText();
  void controlsNeitherOverlapNorLeaveTheirPanel_data();
  void controlsNeitherOverlapNorLeaveTheirPanel();
  void texts_data();
  void texts();
  void fontsAndColours_data();
  void fontsAndColours();
  void panelsPaintTheirThreeColourGradient_data();
  void panelsPaintTheirThreeColourGradient();
  void labelsLetThePanelShowThrough_data();
  void labelsLetThePanelShowThrough();
  void theChoiceControls();
  void tabOrderGoesThroughThePanelsInTurn();

 private:
  std::unique_ptr<testing_support::TemporaryDrive> drive_;
  testing_support::InterfazGuionada interfaz_;
  std::unique_ptr<app::TExportarDatos> ventana_;
};

void ExportarDatosLayoutTest::initTestCase() {
  drive_ = std::make_unique<testing_support::TemporaryDrive>();
  gui_testing::EscribirCentro(*drive_, "ESCOLAN", {46010});
  ventana_ = std::make_unique<app::TExportarDatos>(&interfaz_);
  ventana_->show();
  QVERIFY(QTest::qWaitForWindowExposed(ventana_.get()));
  QCOMPARE(gui_testing::Lista(interfaz_.sucesos), QStringList());
}

void ExportarDatosLayoutTest::cleanupTestCase() {
  ventana_.reset();
  drive_.reset();
}

void ExportarDatosLayoutTest::theWindowIsAFixedDialogAtItsPlace() {
  QCOMPARE(ventana_->windowTitle(), QStringLiteral("Exportar e importar datos "));
  QCOMPARE(ventana_->size(), QSize(587, 431));
  QCOMPARE(ventana_->minimumSize(), QSize(587, 431));
  QCOMPARE(ventana_->maximumSize(), QSize(587, 431));
  QCOMPARE(ventana_->pos(), QPoint(110, 57));
  Qt::WindowFlags banderas = ventana_->windowFlags();
  QVERIFY(banderas.testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(!banderas.testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(!banderas.testFlag(Qt::WindowMaximizeButtonHint));
}

void ExportarDatosLayoutTest::controlsSitOnTheirPanels_data() {
  QTest::addColumn<QString>("panel");
  QTest::newRow("Draw3D1") << "ExportarDatos";
  QTest::newRow("Draw3D2") << "ExportarDatos";
  QTest::newRow("Draw3D3") << "ExportarDatos";
  QTest::newRow("Label1") << "Draw3D1";
  QTest::newRow("EdNuevoDir") << "Draw3D1";
  QTest::newRow("ListaDirectorios") << "Draw3D1";
  QTest::newRow("ListaUnidades") << "Draw3D1";
  QTest::newRow("Label2") << "Draw3D1";
  QTest::newRow("CBCentro") << "Draw3D1";
  QTest::newRow("BClose") << "Draw3D1";
  QTest::newRow("Label8") << "Draw3D2";
  QTest::newRow("Label3") << "Draw3D2";
  QTest::newRow("Label9") << "Draw3D2";
  QTest::newRow("ComboBoxValCast") << "Draw3D2";
  QTest::newRow("BExportar") << "Draw3D2";
  QTest::newRow("Label4") << "Draw3D3";
  QTest::newRow("Label5") << "Draw3D3";
  QTest::newRow("BImportar") << "Draw3D3";
  QTest::newRow("Label6") << "Draw3D3";
  QTest::newRow("Label7") << "Draw3D3";
}

void ExportarDatosLayoutTest::controlsSitOnTheirPanels() {
  QFETCH(QString, panel);
  auto* control = Buscar<QWidget>(*ventana_, QTest::currentDataTag());
  QCOMPARE(control->parentWidget()->objectName(), panel);
  QVERIFY(control->isVisible());
}

// Every label of the window, whatever its name: its text must show whole in its box, at the label's own font
// as this system renders it (Arial is Liberation Sans here, the same widths), wrapped at word boundaries
// where the label wraps. A word wider than the box does not wrap and so does not fit either.
void ExportarDatosLayoutTest::labelsFitTheirText_data() {
  QTest::addColumn<QLabel*>("etiqueta");
  for (QLabel* etiqueta : ventana_->findChildren<QLabel*>()) {
    if (etiqueta->isVisible()) QTest::newRow(qPrintable(etiqueta->objectName())) << etiqueta;
  }
}

void ExportarDatosLayoutTest::labelsFitTheirText() {
  QFETCH(QLabel*, etiqueta);
  const QFont fuente = etiqueta->font();
  // Measured with the chosen family's own metrics, not a stand-in's, and no smaller than on a desktop at
  // 100 % (96 dots per inch), for which the boxes were drawn.
  QCOMPARE(QFontInfo(fuente).family(), fuente.family());
  QVERIFY2(etiqueta->logicalDpiY() >= 96, qPrintable(QString::number(etiqueta->logicalDpiY())));
  QCOMPARE(etiqueta->textFormat(), Qt::PlainText);  // so it is drawn as the metrics below lay it out
  QCOMPARE(etiqueta->frameWidth(), 0);

  const int margen = etiqueta->margin();
  const QRect caja = etiqueta->contentsRect().adjusted(margen, margen, -margen, -margen);
  const int banderas = int(etiqueta->alignment()) | (etiqueta->wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine);
  const QRect texto = etiqueta->fontMetrics().boundingRect(caja, banderas, etiqueta->text());
  QVERIFY2(texto.width() <= caja.width() && texto.height() <= caja.height(),
           qPrintable(QStringLiteral("the text takes %1 x %2 in a box of %3 x %4")
                          .arg(texto.width())
                          .arg(texto.height())
                          .arg(caja.width())
                          .arg(caja.height())));
}

// On the window, its panels; on each panel, its controls. Siblings must not cover one another, and a
// control must lie inside the part of its panel that the window shows.
void ExportarDatosLayoutTest::controlsNeitherOverlapNorLeaveTheirPanel_data() {
  QTest::addColumn<QWidget*>("padre");
  QTest::addColumn<bool>("esPanel");
  QTest::newRow("ExportarDatos") << static_cast<QWidget*>(ventana_.get()) << false;
  for (QWidget* panel : ventana_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (!panel->isWindow() && panel->isVisible()) QTest::newRow(qPrintable(panel->objectName())) << panel << true;
  }
}

void ExportarDatosLayoutTest::controlsNeitherOverlapNorLeaveTheirPanel() {
  QFETCH(QWidget*, padre);
  QFETCH(bool, esPanel);
  QList<QWidget*> hijos;
  for (QWidget* hijo : padre->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (!hijo->isWindow() && hijo->isVisible()) hijos << hijo;
  }
  QVERIFY(hijos.size() >= 2);
  for (qsizetype i = 0; i < hijos.size(); ++i) {
    for (qsizetype j = i + 1; j < hijos.size(); ++j) {
      QVERIFY2(!hijos[i]->geometry().intersects(hijos[j]->geometry()),
               qPrintable(hijos[i]->objectName() + QStringLiteral(" and ") + hijos[j]->objectName()));
    }
  }
  if (!esPanel) return;
  const QRect visible = padre->rect() & QRect(padre->mapFrom(ventana_.get(), QPoint(0, 0)), ventana_->size());
  for (QWidget* hijo : hijos) QVERIFY2(visible.contains(hijo->geometry()), qPrintable(hijo->objectName()));
}

void ExportarDatosLayoutTest::texts_data() {
  QTest::addColumn<QString>("texto");
  QTest::newRow("Label1") << "Carpeta en la que se encuentran los datos de ESCOLAN";
  QTest::newRow("Label2") << "Código del centro";
  QTest::newRow("Label8") << "UTILIDAD TRANSFERENCIA DE DATOS                ESCOLAN<->HORVANE";
  QTest::newRow("Label3") << "Exportar datos desde ESCOLAN hacia Horvane (Generador de horarios y organizador de grupos)";
  QTest::newRow("Label9") << "Recoger Textos Asignaturas en:";
  QTest::newRow("Label4") << "Importar datos desde Horvane (hacia ESCOLAN)";
  QTest::newRow("Label5")
      << "ATENCIÓN. Debería efectuar una copia de seguridad de los datos de ESCOLAN, antes de lanzar este proceso.";
  QTest::newRow("Label6") << "ATENCIÓN. Es necesario reorganizar los archivos de ESCOLAN después de efectuar este proceso.";
  QTest::newRow("Label7") << QString::fromUtf8(ventana::kNombreProducto) + " V-2.5";
  QTest::newRow("BClose") << "&Salir";
  QTest::newRow("BExportar") << "Aceptar";
  QTest::newRow("BImportar") << "Aceptar";
}

void ExportarDatosLayoutTest::texts() {
  QFETCH(QString, texto);
  QWidget* control = Buscar<QWidget>(*ventana_, QTest::currentDataTag());
  if (auto* etiqueta = qobject_cast<QLabel*>(control)) {
    QCOMPARE(etiqueta->text(), texto);
    QCOMPARE(etiqueta->textFormat(), Qt::PlainText);  // "<->" is text, not markup
  } else {
    QCOMPARE(qobject_cast<QPushButton*>(control)->text(), texto);
  }
}

namespace {

// Whether two colours differ by at most `tolerancia` in each channel (the gradient's steps round).
bool Parecido(const QColor& a, const QColor& b, int tolerancia = 3) {
  return std::abs(a.red() - b.red()) <= tolerancia && std::abs(a.green() - b.green()) <= tolerancia &&
         std::abs(a.blue() - b.blue()) <= tolerancia;
}

// The colour a label's text is drawn in, as its panel renders it: of the pixels in the label's box, the
// one that differs most from the panel's gradient on its row (the panel's left edge, where no control
// stands), which is a pixel the text covers whole.
QColor Tinta(const QLabel& etiqueta) {
  const QImage imagen = etiqueta.parentWidget()->grab().toImage();
  const QRect caja = etiqueta.geometry();
  QColor tinta;
  int mayor = -1;
  for (int y = caja.top(); y <= caja.bottom(); ++y) {
    const QColor fondo = imagen.pixelColor(2, y);
    for (int x = caja.left(); x <= caja.right(); ++x) {
      const QColor pixel = imagen.pixelColor(x, y);
      const int diferencia = std::abs(pixel.red() - fondo.red()) + std::abs(pixel.green() - fondo.green()) +
                             std::abs(pixel.blue() - fondo.blue());
      if (diferencia > mayor) {
        mayor = diferencia;
        tinta = pixel;
      }
    }
  }
  return tinta;
}

}  // namespace

// Each label is checked as drawn, too: its palette alone does not say which of its colours the style uses.
void ExportarDatosLayoutTest::fontsAndColours_data() {
  const QStringList arial = {"Arial", "Liberation Sans"};
  const QStringList sansSerif = {"MS Sans Serif", "Liberation Sans"};
  const QColor azul(Qt::blue), rojo(Qt::red), negro(Qt::black);
  QTest::addColumn<QStringList>("familias");
  QTest::addColumn<int>("puntos");
  QTest::addColumn<bool>("negrita");
  QTest::addColumn<int>("rol");
  QTest::addColumn<QColor>("color");
  const int texto = QPalette::WindowText;
  QTest::newRow("Label1") << arial << 8 << false << texto << azul;
  QTest::newRow("Label2") << arial << 8 << false << texto << azul;
  QTest::newRow("Label7") << arial << 8 << false << texto << azul;
  QTest::newRow("Label8") << arial << 10 << true << texto << azul;
  QTest::newRow("Label3") << arial << 12 << true << texto << negro;
  QTest::newRow("Label4") << arial << 12 << true << texto << negro;
  QTest::newRow("Label5") << arial << 12 << true << texto << rojo;
  QTest::newRow("Label6") << arial << 12 << true << texto << rojo;
  QTest::newRow("Label9") << sansSerif << 8 << true << texto << rojo;
  QTest::newRow("EdNuevoDir") << arial << 8 << true << int(QPalette::Text) << negro;
  QTest::newRow("ListaDirectorios") << arial << 8 << true << int(QPalette::Text) << negro;
  QTest::newRow("ListaUnidades") << arial << 8 << true << int(QPalette::ButtonText) << negro;
  QTest::newRow("ComboBoxValCast") << sansSerif << 8 << true << int(QPalette::Text) << negro;
  // The window's own font, which the centre list and the buttons keep.
  QTest::newRow("CBCentro") << sansSerif << 8 << false << int(QPalette::NoRole) << QColor();
  QTest::newRow("BExportar") << sansSerif << 8 << false << int(QPalette::NoRole) << QColor();
}

void ExportarDatosLayoutTest::fontsAndColours() {
  QFETCH(QStringList, familias);
  QFETCH(int, puntos);
  QFETCH(bool, negrita);
  QFETCH(int, rol);
  QFETCH(QColor, color);
  QWidget* control = Buscar<QWidget>(*ventana_, QTest::currentDataTag());
  QFont fuente = control->font();
  QVERIFY2(familias.contains(fuente.family()), qPrintable(fuente.family()));
  QCOMPARE(QFontInfo(fuente).family(), fuente.family());  // an installed family, not a stand-in
  QCOMPARE(fuente.pointSize(), puntos);
  QCOMPARE(fuente.bold(), negrita);
  if (rol != QPalette::NoRole) QCOMPARE(control->palette().color(static_cast<QPalette::ColorRole>(rol)), color);
  if (auto* etiqueta = qobject_cast<QLabel*>(control)) {
    const QColor tinta = Tinta(*etiqueta);
    QVERIFY2(Parecido(tinta, color, 24), qPrintable(tinta.name() + QStringLiteral(" drawn for ") + color.name()));
  }
}

void ExportarDatosLayoutTest::panelsPaintTheirThreeColourGradient_data() {
  QTest::addColumn<QColor>("inicio");
  QTest::addColumn<QColor>("medio");
  QTest::addColumn<QColor>("fin");
  QTest::newRow("Draw3D1") << QColor(0xC2, 0xCD, 0xFE) << QColor(0xCF, 0xF2, 0xFE) << QColor(0xCC, 0xD8, 0xE6);
  QTest::newRow("Draw3D2") << QColor(0xF9, 0xD3, 0x7D) << QColor(0xFF, 0xFF, 0xFF) << QColor(0xFF, 0xEE, 0xDD);
  QTest::newRow("Draw3D3") << QColor(0xF9, 0xD3, 0x7D) << QColor(0xFF, 0xFF, 0xFF) << QColor(0xFF, 0xEE, 0xDD);
}

void ExportarDatosLayoutTest::panelsPaintTheirThreeColourGradient() {
  QFETCH(QColor, inicio);
  QFETCH(QColor, medio);
  QFETCH(QColor, fin);
  auto* panel = Buscar<QWidget>(*ventana_, QTest::currentDataTag());
  QImage imagen = panel->grab().toImage();
  const int x = 2;  // left of every control
  const int alto = imagen.height();
  QVERIFY2(Parecido(imagen.pixelColor(x, 0), inicio), qPrintable(imagen.pixelColor(x, 0).name()));
  QVERIFY2(Parecido(imagen.pixelColor(x, alto / 2), medio), qPrintable(imagen.pixelColor(x, alto / 2).name()));
  QVERIFY2(Parecido(imagen.pixelColor(x, alto - 1), fin), qPrintable(imagen.pixelColor(x, alto - 1).name()));
  // Strictly vertical: a row has one colour.
  QCOMPARE(imagen.pixelColor(imagen.width() - 1, alto / 3), imagen.pixelColor(x, alto / 3));
}

void ExportarDatosLayoutTest::labelsLetThePanelShowThrough_data() {
  QTest::addColumn<QString>("panel");
  // Labels whose bottom-right corner holds no text.
  QTest::newRow("Label4") << "Draw3D3";
  QTest::newRow("Label6") << "Draw3D3";
}

void ExportarDatosLayoutTest::labelsLetThePanelShowThrough() {
  QFETCH(QString, panel);
  auto* etiqueta = Buscar<QLabel>(*ventana_, QTest::currentDataTag());
  QImage imagen = Buscar<QWidget>(*ventana_, qPrintable(panel))->grab().toImage();
  QPoint esquina = etiqueta->geometry().bottomRight();
  QCOMPARE(imagen.pixelColor(esquina), imagen.pixelColor(2, esquina.y()));
}

void ExportarDatosLayoutTest::theChoiceControls() {
  auto* idioma = Buscar<QComboBox>(*ventana_, "ComboBoxValCast");
  QVERIFY(idioma->isEditable());
  QCOMPARE(idioma->count(), 2);
  QCOMPARE(idioma->itemText(0), QStringLiteral("VALENCIÁ"));
  QCOMPARE(idioma->itemText(1), QStringLiteral("CASTELLANO"));
  QCOMPARE(idioma->currentText(), QStringLiteral("VALENCIÁ"));

  QVERIFY(!Buscar<QComboBox>(*ventana_, "CBCentro")->isEditable());
  QVERIFY(Buscar<QLineEdit>(*ventana_, "EdNuevoDir")->isReadOnly());
  QCOMPARE(Buscar<QListWidget>(*ventana_, "ListaDirectorios")->sizeHintForRow(0), 16);

  for (const char* nombre : {"BClose", "BExportar", "BImportar"}) {
    QVERIFY2(!Buscar<QPushButton>(*ventana_, nombre)->icon().isNull(), nombre);
  }
}

void ExportarDatosLayoutTest::tabOrderGoesThroughThePanelsInTurn() {
  const QStringList orden = {"EdNuevoDir", "ListaDirectorios", "ListaUnidades", "CBCentro",
                             "BClose",     "BExportar",        "ComboBoxValCast", "BImportar"};
  QStringList recorrido;
  QWidget* inicio = Buscar<QWidget>(*ventana_, "EdNuevoDir");
  QWidget* control = inicio;
  do {
    if (orden.contains(control->objectName()) && control->focusPolicy() & Qt::TabFocus) recorrido << control->objectName();
    control = control->nextInFocusChain();
  } while (control != inicio);
  QCOMPARE(recorrido, orden);
}

QTEST_MAIN(ExportarDatosLayoutTest)
#include "exportar_datos_layout_test.moc"
