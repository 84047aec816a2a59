#include "app/qt/lista_carpetas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>

#include "platform/platform.h"

namespace app {
namespace {

// Draws each entry shifted right by its level, in rows of the list's fixed height.
class DelegadoCarpeta : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* pintor, const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override {
    QStyleOptionViewItem desplazada(opcion);
    desplazada.rect.setLeft(opcion.rect.left() + indice.data(ListaCarpetas::kRolNivel).toInt() * ListaCarpetas::kSangria);
    QStyledItemDelegate::paint(pintor, desplazada, indice);
  }

  QSize sizeHint(const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override {
    QSize tamano = QStyledItemDelegate::sizeHint(opcion, indice);
    return {tamano.width() + indice.data(ListaCarpetas::kRolNivel).toInt() * ListaCarpetas::kSangria,
            ListaCarpetas::kAltoEntrada};
  }
};

}  // namespace

ListaCarpetas::ListaCarpetas(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new DelegadoCarpeta(this));
  setUniformItemSizes(true);
  setIconSize(QSize(14, 14));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void ListaCarpetas::MostrarCarpeta(const std::string& carpeta) {
  platform::WindowsPath ruta = platform::FullPath(carpeta);
  clear();
  platform::WindowsPath nivel{ruta.drive, {}};
  QListWidgetItem* actual = Agregar(QString::fromStdString(nivel.Text()), nivel.Text(), 0, true);
  for (const std::string& nombre : ruta.names) {
    nivel = nivel.Child(nombre);
    actual = Agregar(QString::fromStdString(nombre), nivel.Text(), static_cast<int>(nivel.names.size()), true);
  }
  int nivelSubcarpetas = static_cast<int>(ruta.names.size()) + 1;
  for (const std::string& nombre : platform::Subfolders(ruta.Text())) {
    Agregar(QString::fromStdString(nombre), ruta.Child(nombre).Text(), nivelSubcarpetas, false);
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
