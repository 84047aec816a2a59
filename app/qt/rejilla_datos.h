// The data-aware grid of the review dialogs: a table view over a ModeloTabla that follows the table's
// current record, edits cells in place, and neither inserts nor deletes records.
#pragma once

#include <QTableView>

namespace app {

class ModeloTabla;

class RejillaDatos : public QTableView {
  Q_OBJECT

 public:
  // Columns as the model describes them (width in characters of the grid's font, titles on up to two
  // lines); cells in `celdas`, every other row in `alternas`, titles bold on `titulos`.
  RejillaDatos(ModeloTabla& modelo, const QColor& celdas, const QColor& alternas, const QColor& titulos,
               QWidget* parent);

  // The pixels of a column `caracteres` characters wide.
  int AnchoDeColumna(int caracteres) const;

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  // Tab and Enter go through the cells row by row and stop at the last one: the grid never runs past
  // its last record.
  QModelIndex moveCursor(CursorAction accion, Qt::KeyboardModifiers modificadores) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Typing in a cell that cannot be edited does nothing: it does not look for a row either.
  void keyboardSearch(const QString& /*search*/) override {}

 private:
  void AjustarColumnas();
  void SeguirFila(int fila);
  void RecogerEdicion();
  void DescartarEdicion();

  ModeloTabla& modelo_;
};

}  // namespace app
