// The data source of a review dialog: a Qt table model over the dialog's table object, shared by its grid
// and its record navigator. Rows are the table's visible records in walk order; the current row is the
// table's current record, and edits go into its pending record, posted by the table layer's rules.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

#include "storage/storage.h"

namespace app {

// A column of the grid: the field it shows, its width in characters, its title and whether it can be edited.
struct ColumnaRejilla {
  std::string campo;
  int ancho = 10;
  QString titulo;
  bool editable = true;
};

class ModeloTabla : public QAbstractTableModel {
  Q_OBJECT

 public:
  // `tabla` is open, on its first record, with no pending record; it must outlive the model. The other rows
  // are read through a browse-only table object of the model's own on the same file of `engine`, so that
  // painting them never moves `tabla` (which would settle its pending record).
  ModeloTabla(storage::Engine& engine, storage::Table& tabla, std::vector<ColumnaRejilla> columnas,
              QObject* parent = nullptr);
  ~ModeloTabla() override;
  ModeloTabla(const ModeloTabla&) = delete;
  ModeloTabla& operator=(const ModeloTabla&) = delete;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Writes the text into a field of the current record (other rows refuse it), putting the record into
  // edit mode first; a text equal to the field's is not written. A value that the table layer refuses is
  // reported through `fallo`.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  const std::vector<ColumnaRejilla>& Columnas() const { return columnas_; }
  // The characters a cell of the column holds: the size of a text field, 0 for no limit.
  int Caracteres(int columna) const;
  // Whether the column's field holds integers.
  bool Entera(int columna) const;

  int FilaActual() const { return filaActual_; }
  // The records of the table, without a new record that is being appended.
  int Registros() const { return static_cast<int>(registros_.size()); }
  bool Editando() const { return tabla_.Editing(); }

  // The operations of the grid and the navigator. Each reports a failure through `fallo` and leaves the
  // table as the failure left it.
  void IrAFila(int fila);           // settles a pending record, then moves
  void Desplazar(int filas);        // moves by so many rows, stopping at the first and the last
  void Editar();                    // the current record into edit mode (a new record on an empty table)
  void Publicar();                  // posts the pending record, if there is one
  void Cancelar();                  // drops the pending record: its changes are undone
  void Releer();                    // settles a pending record and reads the records again

 signals:
  void filaActualCambiada(int fila);
  void estadoCambiado();
  // Before the pending record is settled: a cell being edited hands its text to the model now.
  void recogerEdicion();
  // Before the pending record is dropped: a cell being edited forgets its text.
  void descartarEdicion();
  void fallo(const QString& mensaje);

 private:
  template <class Accion>
  bool Proteger(Accion&& accion);
  void LeerRegistros();
  void AvisarFila(int fila);
  bool Anadiendo() const { return tabla_.Editing() && tabla_.RecNo() == 0; }
  const storage::Table& TablaDeFila(int fila) const;
  const storage::FieldInfo* Campo(int columna) const;

  storage::Table& tabla_;
  mutable storage::Table lector_;
  std::vector<ColumnaRejilla> columnas_;
  std::vector<std::uint32_t> registros_;  // record numbers, in walk order
  int filaActual_ = 0;
};

}  // namespace app
