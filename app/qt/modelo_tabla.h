// The data source of a review dialog as a Qt table model: a thin adapter over ventana::FuenteDatos, shared by
// the dialog's grid and its record navigator. Rows, the current row, edit mode, the cells' texts (a
// refused text included) and the navigator's actions are the source's; the model turns its news into Qt's
// signals and lets a cell being edited hand its text over before an operation that would store the record.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <string>
#include <vector>

#include "ventana/fuente_datos.h"

namespace app {

using ColumnaRejilla = ventana::ColumnaDatos;

class ModeloTabla : public QAbstractTableModel, private ventana::FuenteDatos::Observador, private ventana::EditorDeCelda {
  Q_OBJECT

 public:
  // The model observes `fuente`, which must outlive it.
  explicit ModeloTabla(ventana::FuenteDatos& fuente, QObject* parent = nullptr);
  ~ModeloTabla() override;
  ModeloTabla(const ModeloTabla&) = delete;
  ModeloTabla& operator=(const ModeloTabla&) = delete;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Writes the text into a field of the current record (other rows refuse it), putting the record into
  // edit mode first. A value that the table layer refuses is reported through `fallo` and stays in the
  // cell as its refused text.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  ventana::FuenteDatos& Fuente() { return fuente_; }
  const ventana::FuenteDatos& Fuente() const { return fuente_; }
  const std::vector<ColumnaRejilla>& Columnas() const { return fuente_.Columnas(); }
  int FilaActual() const { return fuente_.FilaActual(); }
  // The cell editor as the data source's operations and the dialog's handlers see it.
  ventana::EditorDeCelda& Editor() { return *this; }

  // The operations of the grid, the navigator and the dialog's handlers. Those that would store the
  // record first let a cell being edited hand its text over; a refused text stops them. False when
  // refused or failed (the failure reported through `fallo`).
  bool IrAFila(int fila) { return Rejilla().IrAFila(fila); }
  bool IrACelda(int fila) { return Rejilla().IrACelda(fila); }
  bool Editar() { return fuente_.Editar(); }
  bool Publicar() { return Rejilla().Publicar(); }
  void Cancelar() { Rejilla().Cancelar(); }
  bool Ejecutar(ventana::AccionNavegador accion) { return Rejilla().Ejecutar(accion); }

 signals:
  void filaActualCambiada(int fila);
  void estadoCambiado();
  // Before the pending record would be stored: a cell being edited hands its text to the model now.
  void recogerEdicion();
  // The pending record was stored or dropped: a cell still being edited closes without handing its text.
  void cerrarEdicion();
  void fallo(const QString& mensaje);

 private:
  ventana::RejillaConEditor Rejilla() { return {fuente_, *this}; }
  // The source's news.
  void FilasACambiar() override { beginResetModel(); }
  void FilasCambiadas() override { endResetModel(); }
  void FilaCambiada(int fila) override;
  void CursorCambiado(int fila) override { emit filaActualCambiada(fila); }
  void EstadoCambiado() override { emit estadoCambiado(); }
  void Fallo(const std::string& mensaje) override { emit fallo(QString::fromStdString(mensaje)); }
  // The grid's editor.
  void Entregar() override { emit recogerEdicion(); }
  void Cerrar() override { emit cerrarEdicion(); }

  ventana::FuenteDatos& fuente_;
};

}  // namespace app
