// The data-aware grid of the review dialogs: a table view over a ModeloTabla that follows the table's
// current record, edits cells in place, and neither inserts nor deletes records.
//
// Typing starts editing a cell (as do F2 and a double click); a click never opens an editor later on its
// own, so the keys typed after a click are all the cell's. A text that the table refuses stays in its
// cell's editor, and the cursor stays on that cell, until the text is corrected, dropped with Escape or
// the record cancelled.
#pragma once

#include <QTableView>

namespace app {

class ModeloTabla;

class RejillaDatos : public QTableView {
  Q_OBJECT

 public:
  // Columns as the model describes them (width in characters of the grid's font, titles on up to two
  // lines); cells in `celdas`, every other row in `alternas`, titles bold on `titulos`. The cursor starts
  // on the current record's first editable cell.
  RejillaDatos(ModeloTabla& modelo, const QColor& celdas, const QColor& alternas, const QColor& titulos,
               QWidget* parent);

  // Whether the cursor may go to `destino`: a cell being edited hands its text over first; a text the
  // table refuses keeps the cursor on its cell; another row is reached only once the data source has
  // moved there (storing or dropping the pending record).
  bool PuedeIrA(const QModelIndex& destino);

 protected:
  // Tab and Enter go through the cells row by row and stop at the last one: the grid never runs past
  // its last record.
  QModelIndex moveCursor(CursorAction accion, Qt::KeyboardModifiers modificadores) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Typing in a cell that cannot be edited does nothing: it does not look for a row either.
  void keyboardSearch(const QString& /*search*/) override {}
  // The selected cell is always the current one.
  void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;

 protected slots:
  // An editor whose text the table refused is not closed (it takes the focus back), except by Escape,
  // which drops the refused text.
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  QWidget* EditorAbierto() const;
  void AjustarColumnas();
  void SeguirFila(int fila);
  void RecogerEdicion();
  void CerrarEdicion();

  ModeloTabla& modelo_;
  bool moviendo_ = false;  // the grid is moving the data source itself
};

}  // namespace app
