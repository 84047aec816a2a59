#include "app/qt/lista_carpetas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>

#include "ventana/diseno_principal.h"
#include "ventana/entradas_carpetas.h"

namespace app {
namespace {

namespace diseno = ventana::diseno;

// Draws each entry shifted right by its level, in rows of the list's fixed height.
class DelegadoCarpeta : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* pintor, const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override {
    QStyleOptionViewItem desplazada(opcion);
    const int sangria = indice.data(ListaCarpetas::kRolNivel).toInt() * diseno::kSangriaCarpeta;
    desplazada.rect.setLeft(opcion.rect.left() + sangria);
    QStyledItemDelegate::paint(pintor, desplazada, indice);
  }

  QSize sizeHint(const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override {
    QSize tamano = QStyledItemDelegate::sizeHint(opcion, indice);
    return {tamano.width() + indice.data(ListaCarpetas::kRolNivel).toInt() * diseno::kSangriaCarpeta,
            diseno::kAltoEntradaCarpeta};
  }
};

}  // namespace

ListaCarpetas::ListaCarpetas(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new DelegadoCarpeta(this));
  setUniformItemSizes(true);
  setIconSize(QSize(diseno::kLadoIconoCarpeta, diseno::kLadoIconoCarpeta));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void ListaCarpetas::MostrarCarpeta(const std::string& carpeta) {
  const ventana::EntradasCarpeta lista = ventana::EntradasDeCarpeta(carpeta);
  clear();
  QListWidgetItem* actual = nullptr;
  for (std::size_t i = 0; i < lista.entradas.size(); ++i) {
    const ventana::EntradaCarpeta& entrada = lista.entradas[i];
    QListWidgetItem* item = Agregar(QString::fromStdString(entrada.texto), entrada.ruta, entrada.nivel, entrada.abierta);
    if (i == lista.actual) actual = item;
  }
  setCurrentItem(actual);
  scrollToItem(actual);
}

QListWidgetItem* ListaCarpetas::Agregar(const QString& texto, const std::string& ruta, int nivel, bool abierta) {
  auto* entrada = new QListWidgetItem(style()->standardIcon(abierta ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon),
                                      texto, this);
  entrada->setData(kRolRuta, QString::fromStdString(ruta));
  entrada->setData(kRolNivel, nivel);
  return entrada;
}

void ListaCarpetas::mouseDoubleClickEvent(QMouseEvent* event) {
  QListWidget::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) Abrir(itemAt(event->position().toPoint()));
}

void ListaCarpetas::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    Abrir(currentItem());
    event->accept();
    return;
  }
  QListWidget::keyPressEvent(event);
}

void ListaCarpetas::Abrir(const QListWidgetItem* entrada) {
  if (entrada == nullptr || !alAbrir) return;
  // The list is refilled while the move runs: keep the path, not the entry.
  std::string ruta = entrada->data(kRolRuta).toString().toStdString();
  alAbrir(ruta);
}

}  // namespace app
