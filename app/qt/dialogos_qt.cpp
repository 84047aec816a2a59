#include "app/qt/dialogos_qt.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "app/qt/diseno_qt.h"
#include "app/qt/interfaz_qt.h"
#include "platform/drive_map.h"

namespace app {

// ---------------------------------------------------------------------------------------------------------
// The list dialogs' shape

TDialogoLista::TDialogoLista(const ventana::DisenoLista<5, 3>& diseno, QWidget* parent) : QDialog(parent) {
  setWindowTitle(TextoQt(diseno.titulo));
  setFixedSize(diseno.ancho, diseno.alto);
  setFont(FuenteQt(diseno.letra));

  resumen_ = Colocar(new QLabel(this), "Resumen", diseno.resumen);
  resumen_->setTextFormat(Qt::PlainText);
  resumen_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  lista_ = Colocar(new QTreeWidget(this), "Lista", diseno.lista);
  lista_->setRootIsDecorated(false);
  lista_->setItemsExpandable(false);
  lista_->setUniformRowHeights(true);
  lista_->setSelectionBehavior(QAbstractItemView::SelectRows);
  lista_->setSelectionMode(QAbstractItemView::SingleSelection);
  lista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lista_->setAllColumnsShowFocus(true);
  lista_->header()->setSectionsMovable(false);
  lista_->header()->setStretchLastSection(false);
  QStringList titulos;
  for (const ventana::Columna& columna : diseno.columnas) titulos << TextoQt(columna.titulo);
  lista_->setHeaderLabels(titulos);
  for (std::size_t i = 0; i < diseno.columnas.size(); ++i) {
    lista_->setColumnWidth(static_cast<int>(i), diseno.columnas[i].ancho);
  }

  for (std::size_t i = 0; i < diseno.botones.size(); ++i) {
    const ventana::Control& def = diseno.botones[i];
    botones_[i] = Colocar(new QPushButton(TextoQt(def.texto), this), def.nombre, def.caja);
    botones_[i]->setFont(FuenteQt(def.letra));
  }
  connect(botones_.back(), &QPushButton::clicked, this, &QDialog::reject);
  lista_->setFocus();  // the first control, as the dialog opens
}

void TDialogoLista::Mostrar(const std::string& resumen, const std::vector<std::array<std::string, 5>>& filas) {
  resumen_->setText(QString::fromStdString(resumen));
  lista_->clear();
  QList<QTreeWidgetItem*> elementos;
  for (const std::array<std::string, 5>& celdas : filas) {
    QStringList textos;
    for (const std::string& celda : celdas) textos << QString::fromStdString(celda);
    elementos << new QTreeWidgetItem(textos);
  }
  lista_->addTopLevelItems(elementos);
}

// ---------------------------------------------------------------------------------------------------------
// "Problemas en los datos de ESCOLAN"

TDialogoProblemas::TDialogoProblemas(ventana::DialogoProblemas& dialogo, run::InterfazUsuario& interfaz,
                                     QWidget* parent)
    : TDialogoLista(ventana::kDisenoProblemas, parent), dialogo_(dialogo), interfaz_(interfaz) {
  std::vector<std::array<std::string, 5>> filas;
  for (const ventana::FilaProblema& fila : dialogo_.Filas()) {
    std::array<std::string, 5> celdas;
    const auto origen = fila.Celdas();
    for (std::size_t i = 0; i < celdas.size(); ++i) celdas[i] = *origen[i];
    filas.push_back(std::move(celdas));
  }
  Mostrar(dialogo_.Resumen(), filas);
  connect(&Boton(0), &QPushButton::clicked, this, &TDialogoProblemas::Copiar);
  connect(&Boton(1), &QPushButton::clicked, this, &TDialogoProblemas::Guardar);
}

// The clipboard of this system takes its own line ends.
void TDialogoProblemas::Copiar() { QGuiApplication::clipboard()->setText(QString::fromStdString(dialogo_.Texto("\n"))); }

void TDialogoProblemas::Guardar() {
  const QString propuesta = QDir::home().filePath(QString::fromUtf8(ventana::kArchivoProblemas));
  const QString elegido = QFileDialog::getSaveFileName(this, QStringLiteral("Guardar los problemas"), propuesta,
                                                       QStringLiteral("Texto (*.txt)"));
  if (elegido.isEmpty()) return;
  // The program writes through its drives: the file chosen on this system is a path on one of them.
  std::string ruta;
  if (!run::EjecutarManejador(interfaz_, [&] { ruta = platform::WindowsPathOfHost(elegido.toStdString()); })) return;
  dialogo_.Guardar(ruta);
}

// ---------------------------------------------------------------------------------------------------------
// "Copias de los horarios"

TDialogoCopias::TDialogoCopias(ventana::DialogoCopias& dialogo, QWidget* parent)
    : TDialogoLista(ventana::kDisenoCopias, parent), dialogo_(dialogo) {
  connect(&Lista(), &QTreeWidget::itemSelectionChanged, this, &TDialogoCopias::Seleccionar);
  connect(&Boton(0), &QPushButton::clicked, this, [this] { dialogo_.VerHorarios(); });
  connect(&Boton(1), &QPushButton::clicked, this, &TDialogoCopias::Restaurar);
  Llenar();
}

// The rows as the model has them, its selected row selected.
void TDialogoCopias::Llenar() {
  std::vector<std::array<std::string, 5>> filas;
  for (std::size_t fila = 0; fila < dialogo_.Copias().size(); ++fila) {
    std::array<std::string, 5> celdas;
    for (std::size_t columna = 0; columna < celdas.size(); ++columna) celdas[columna] = dialogo_.Celda(fila, columna);
    filas.push_back(std::move(celdas));
  }
  const int seleccionada = dialogo_.Seleccionada();
  {
    const QSignalBlocker bloqueo(Lista());
    Mostrar(dialogo_.Resumen(), filas);
    if (QTreeWidgetItem* elemento = Lista().topLevelItem(seleccionada)) Lista().setCurrentItem(elemento);
  }
  Seleccionar();
}

void TDialogoCopias::Seleccionar() {
  const QList<QTreeWidgetItem*> elegidos = Lista().selectedItems();
  dialogo_.Seleccionar(elegidos.isEmpty() ? -1 : Lista().indexOfTopLevelItem(elegidos.front()));
  const bool completa = dialogo_.SeleccionadaCompleta();
  Boton(0).setEnabled(completa);
  Boton(1).setEnabled(completa);
}

// The model reads the list again after the restore, whether it was done or not.
void TDialogoCopias::Restaurar() {
  dialogo_.Restaurar();
  Llenar();
}

// ---------------------------------------------------------------------------------------------------------

void DialogosQt::MostrarProblemas(ventana::DialogoProblemas& dialogo) {
  TDialogoProblemas ventana(dialogo, interfaz_, ventana_);
  ventana.exec();
}

void DialogosQt::MostrarCopias(ventana::DialogoCopias& dialogo) {
  TDialogoCopias ventana(dialogo, ventana_);
  ventana.exec();
}

bool DialogosQt::Preguntar(const std::string& texto) {
  QWidget* modal = QApplication::activeModalWidget();
  return PreguntarSiNo(modal != nullptr ? modal : ventana_, texto);
}

}  // namespace app
