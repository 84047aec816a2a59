#include "app/qt/rejilla_datos.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>

#include <algorithm>

#include "app/qt/modelo_tabla.h"

namespace app {
namespace {

bool EsIntro(const QKeyEvent& tecla) { return tecla.key() == Qt::Key_Return || tecla.key() == Qt::Key_Enter; }

// The cells' editor: a line at most as long as the field; an integer field takes only the characters of
// an integer (the table layer judges the whole text when it is stored). Typing puts the record into edit
// mode; Enter acts as Tab.
class DelegadoCelda : public QStyledItemDelegate {
 public:
  DelegadoCelda(ModeloTabla& modelo, QObject* parent) : QStyledItemDelegate(parent), modelo_(&modelo) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/, const QModelIndex& index) const override {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    if (int caracteres = modelo_->Caracteres(index.column()); caracteres > 0) editor->setMaxLength(caracteres);
    if (modelo_->Entera(index.column())) {
      editor->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-+0-9]*")), editor));
    }
    connect(editor, &QLineEdit::textEdited, modelo_, &ModeloTabla::Editar);
    return editor;
  }

 protected:
  bool eventFilter(QObject* editor, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && EsIntro(*static_cast<QKeyEvent*>(event))) {
      QKeyEvent tabulador(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
      return QStyledItemDelegate::eventFilter(editor, &tabulador);
    }
    return QStyledItemDelegate::eventFilter(editor, event);
  }

 private:
  ModeloTabla* modelo_;
};

void Colorear(QWidget& control, QPalette::ColorRole rol, const QColor& color) {
  QPalette paleta = control.palette();
  paleta.setColor(rol, color);
  control.setPalette(paleta);
}

}  // namespace

RejillaDatos::RejillaDatos(ModeloTabla& modelo, const QColor& celdas, const QColor& alternas, const QColor& titulos,
                           QWidget* parent)
    : QTableView(parent), modelo_(modelo) {
  setModel(&modelo_);
  setItemDelegate(new DelegadoCelda(modelo_, this));
  setEditTriggers(AnyKeyPressed | EditKeyPressed | DoubleClicked | SelectedClicked);
  setSelectionMode(SingleSelection);
  setSelectionBehavior(SelectItems);
  setTabKeyNavigation(true);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setAlternatingRowColors(true);
  Colorear(*this, QPalette::Base, celdas);
  Colorear(*this, QPalette::AlternateBase, alternas);

  verticalHeader()->hide();
  verticalHeader()->setMinimumSectionSize(fontMetrics().height() + 3);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 3);
  QHeaderView& cabecera = *horizontalHeader();
  QFont negrita = font();
  negrita.setBold(true);
  cabecera.setFont(negrita);
  cabecera.setDefaultAlignment(Qt::Alignment::fromInt(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap));
  cabecera.setStyleSheet(QStringLiteral("QHeaderView::section { background-color: %1; padding-left: 2px; "
                                        "border: none; border-right: 1px solid gray; border-bottom: 1px solid gray; }")
                             .arg(titulos.name()));
  cabecera.setFixedHeight(2 * QFontMetrics(negrita).lineSpacing() + 6);
  cabecera.setSectionsClickable(false);
  cabecera.setSectionsMovable(false);
  AjustarColumnas();

  connect(&modelo_, &ModeloTabla::filaActualCambiada, this, &RejillaDatos::SeguirFila);
  connect(&modelo_, &ModeloTabla::recogerEdicion, this, &RejillaDatos::RecogerEdicion);
  connect(&modelo_, &ModeloTabla::descartarEdicion, this, &RejillaDatos::DescartarEdicion);
  connect(&modelo_, &QAbstractItemModel::modelReset, this, &RejillaDatos::AjustarColumnas);
  SeguirFila(modelo_.FilaActual());
}

int RejillaDatos::AnchoDeColumna(int caracteres) const {
  return caracteres * fontMetrics().horizontalAdvance(QLatin1Char('0')) + 4;
}

// A column is as wide as its characters, and never narrower than the longest word of its title, which
// may take two lines.
void RejillaDatos::AjustarColumnas() {
  QFontMetrics titulos(horizontalHeader()->font());
  for (int columna = 0; columna < modelo_.columnCount(); ++columna) {
    const ColumnaRejilla& def = modelo_.Columnas()[static_cast<std::size_t>(columna)];
    int palabra = 0;
    for (const QString& texto : def.titulo.split(QLatin1Char(' '))) palabra = std::max(palabra, titulos.horizontalAdvance(texto));
    setColumnWidth(columna, std::max(AnchoDeColumna(def.ancho), palabra + 8));
  }
}

// ---------------------------------------------------------------------------------------------------------
// The current record

// The base class hands a cell being edited to the record it belongs to; then the table moves, which
// settles that record.
void RejillaDatos::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (current.isValid()) modelo_.IrAFila(current.row());
}

void RejillaDatos::SeguirFila(int fila) {
  QModelIndex actual = currentIndex();
  if (actual.isValid() && actual.row() == fila) return;
  setCurrentIndex(modelo_.index(fila, actual.isValid() ? actual.column() : 0));
  scrollTo(currentIndex());
}

void RejillaDatos::RecogerEdicion() {
  QWidget* editor = state() == EditingState ? indexWidget(currentIndex()) : nullptr;
  if (editor == nullptr) return;
  commitData(editor);
  closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void RejillaDatos::DescartarEdicion() {
  QWidget* editor = state() == EditingState ? indexWidget(currentIndex()) : nullptr;
  if (editor != nullptr) closeEditor(editor, QAbstractItemDelegate::NoHint);
}

// ---------------------------------------------------------------------------------------------------------
// Keys

QModelIndex RejillaDatos::moveCursor(CursorAction accion, Qt::KeyboardModifiers modificadores) {
  QModelIndex actual = currentIndex();
  if ((accion != MoveNext && accion != MovePrevious) || !actual.isValid()) {
    return QTableView::moveCursor(accion, modificadores);
  }
  int columnas = modelo_.columnCount();
  int celda = actual.row() * columnas + actual.column() + (accion == MoveNext ? 1 : -1);
  if (celda < 0 || celda >= modelo_.rowCount() * columnas) return {};
  return modelo_.index(celda / columnas, celda % columnas);
}

void RejillaDatos::keyPressEvent(QKeyEvent* event) {
  bool atras = event->key() == Qt::Key_Backtab || (event->key() == Qt::Key_Tab && event->modifiers() & Qt::ShiftModifier);
  if (EsIntro(*event) || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
    QModelIndex destino = moveCursor(atras ? MovePrevious : MoveNext, Qt::NoModifier);
    if (destino.isValid()) setCurrentIndex(destino);
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

}  // namespace app
