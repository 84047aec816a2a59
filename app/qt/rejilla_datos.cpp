#include "app/qt/rejilla_datos.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>
#include <QStyledItemDelegate>

#include <algorithm>
#include <optional>

#include "app/qt/modelo_tabla.h"
#include "ventana/revision.h"

namespace app {
namespace {

bool EsIntro(const QKeyEvent& tecla) { return tecla.key() == Qt::Key_Return || tecla.key() == Qt::Key_Enter; }

// What a cell's editor takes: a text that the data source admits for its column (an integer field only the
// characters of an integer).
class ValidadorCelda : public QValidator {
 public:
  ValidadorCelda(const ventana::FuenteDatos& fuente, int columna, QObject* parent)
      : QValidator(parent), fuente_(fuente), columna_(columna) {}
  State validate(QString& texto, int& /*posicion*/) const override {
    return fuente_.TextoAdmitido(columna_, texto.toStdString()) ? Acceptable : Invalid;
  }

 private:
  const ventana::FuenteDatos& fuente_;
  int columna_;
};

// The cells' editor: a line at most as long as the field, taking what the data source admits. Typing puts
// the record into edit mode; Enter acts as Tab.
class DelegadoCelda : public QStyledItemDelegate {
 public:
  DelegadoCelda(ModeloTabla& modelo, QObject* parent) : QStyledItemDelegate(parent), modelo_(&modelo) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/, const QModelIndex& index) const override {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    if (int caracteres = modelo_->Fuente().Caracteres(index.column()); caracteres > 0) editor->setMaxLength(caracteres);
    editor->setValidator(new ValidadorCelda(modelo_->Fuente(), index.column(), editor));
    connect(editor, &QLineEdit::textEdited, modelo_, [modelo = modelo_] { modelo->Editar(); });
    return editor;
  }

 protected:
  bool eventFilter(QObject* editor, QEvent* event) override {
    // Another window taking the focus (a message box, another program) leaves the cell open as it is; it
    // has the focus again when the dialog is active again.
    if (event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() == Qt::ActiveWindowFocusReason) {
      return false;
    }
    if (event->type() == QEvent::KeyPress && EsIntro(*static_cast<QKeyEvent*>(event))) {
      QKeyEvent tabulador(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
      return QStyledItemDelegate::eventFilter(editor, &tabulador);
    }
    return QStyledItemDelegate::eventFilter(editor, event);
  }

 private:
  ModeloTabla* modelo_;
};

// The grid's cursor: it goes to another cell only when the grid lets it (PuedeIrA).
class SeleccionRejilla : public QItemSelectionModel {
 public:
  SeleccionRejilla(QAbstractItemModel* modelo, RejillaDatos* rejilla)
      : QItemSelectionModel(modelo, rejilla), rejilla_(rejilla) {}

  void setCurrentIndex(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) override {
    if (rejilla_->PuedeIrA(index)) QItemSelectionModel::setCurrentIndex(index, command);
  }

 private:
  RejillaDatos* rejilla_;
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
  QItemSelectionModel* propia = selectionModel();
  setSelectionModel(new SeleccionRejilla(&modelo_, this));
  delete propia;
  setItemDelegate(new DelegadoCelda(modelo_, this));
  // No SelectedClicked: its editor opens a double-click interval after the click and would replace what
  // was typed meanwhile.
  setEditTriggers(AnyKeyPressed | EditKeyPressed | DoubleClicked);
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
  verticalHeader()->setMinimumSectionSize(fontMetrics().height() + ventana::kMargenFila);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + ventana::kMargenFila);
  QHeaderView& cabecera = *horizontalHeader();
  QFont negrita = font();
  negrita.setBold(true);
  cabecera.setFont(negrita);
  cabecera.setDefaultAlignment(Qt::Alignment::fromInt(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap));
  cabecera.setStyleSheet(QStringLiteral("QHeaderView::section { background-color: %1; padding-left: 2px; "
                                        "border: none; border-right: 1px solid gray; border-bottom: 1px solid gray; }")
                             .arg(titulos.name()));
  cabecera.setFixedHeight(2 * QFontMetrics(negrita).lineSpacing() + ventana::kMargenTitulos);
  cabecera.setSectionsClickable(false);
  cabecera.setSectionsMovable(false);
  AjustarColumnas();

  connect(&modelo_, &ModeloTabla::filaActualCambiada, this, &RejillaDatos::SeguirFila);
  connect(&modelo_, &ModeloTabla::recogerEdicion, this, &RejillaDatos::RecogerEdicion);
  connect(&modelo_, &ModeloTabla::cerrarEdicion, this, &RejillaDatos::CerrarEdicion);
  connect(&modelo_, &QAbstractItemModel::modelReset, this, &RejillaDatos::AjustarColumnas);
  SeguirFila(modelo_.FilaActual());
}

// Columns as wide as their characters, never narrower than the widest word of their titles.
void RejillaDatos::AjustarColumnas() {
  QFontMetrics titulos(horizontalHeader()->font());
  const int cero = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  for (int columna = 0; columna < modelo_.columnCount(); ++columna) {
    setColumnWidth(columna, ventana::AnchoDeColumna(modelo_.Columnas()[static_cast<std::size_t>(columna)], cero,
                                                [&titulos](std::string_view palabra) {
                                                  return titulos.horizontalAdvance(QString::fromUtf8(
                                                      palabra.data(), static_cast<qsizetype>(palabra.size())));
                                                }));
  }
}

// ---------------------------------------------------------------------------------------------------------
// The current record

bool RejillaDatos::PuedeIrA(const QModelIndex& destino) {
  QModelIndex actual = currentIndex();
  if (moviendo_ || !destino.isValid() || !actual.isValid() || destino == actual) return true;
  if (actual.row() != modelo_.FilaActual()) return true;  // the data source moved first: the grid follows
  moviendo_ = true;
  bool movido = modelo_.IrACelda(destino.row());
  moviendo_ = false;
  return movido;
}

// The grid follows the data source's current record, in the same column (the first editable one when
// there is no current cell yet).
void RejillaDatos::SeguirFila(int fila) {
  if (moviendo_) return;
  QModelIndex actual = currentIndex();
  if (actual.isValid() && actual.row() == fila) return;
  int columna = actual.isValid() ? actual.column() : modelo_.Fuente().PrimeraColumnaEditable();
  setCurrentIndex(modelo_.index(fila, columna));
  scrollTo(currentIndex());
}

void RejillaDatos::setSelection(const QRect& /*rect*/, QItemSelectionModel::SelectionFlags command) {
  if (command == QItemSelectionModel::NoUpdate) return;
  selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
}

QWidget* RejillaDatos::EditorAbierto() const {
  return state() == EditingState ? indexWidget(currentIndex()) : nullptr;
}

// The cell being edited hands its text to the record; it stays open.
void RejillaDatos::RecogerEdicion() {
  if (QWidget* editor = EditorAbierto()) commitData(editor);
}

void RejillaDatos::CerrarEdicion() {
  if (QWidget* editor = EditorAbierto()) closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void RejillaDatos::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  std::optional<int> rechazada = modelo_.Fuente().ColumnaRechazada();
  if (hint == QAbstractItemDelegate::RevertModelCache) {  // Escape
    modelo_.Fuente().Escapar();
  } else if (rechazada && editor == indexWidget(modelo_.index(modelo_.FilaActual(), *rechazada))) {
    if (!editor->hasFocus()) editor->setFocus();
    return;
  }
  QTableView::closeEditor(editor, hint);
}

// ---------------------------------------------------------------------------------------------------------
// Keys

QModelIndex RejillaDatos::moveCursor(CursorAction accion, Qt::KeyboardModifiers modificadores) {
  QModelIndex actual = currentIndex();
  if ((accion != MoveNext && accion != MovePrevious) || !actual.isValid()) {
    return QTableView::moveCursor(accion, modificadores);
  }
  std::optional<ventana::FuenteDatos::Celda> siguiente =
      modelo_.Fuente().CeldaSiguiente({actual.row(), actual.column()}, accion == MoveNext ? 1 : -1);
  if (!siguiente) return {};
  return modelo_.index(siguiente->fila, siguiente->columna);
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
