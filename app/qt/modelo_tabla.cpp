#include "app/qt/modelo_tabla.h"

#include <utility>

namespace app {

ModeloTabla::ModeloTabla(ventana::FuenteDatos& fuente, QObject* parent) : QAbstractTableModel(parent), fuente_(fuente) {
  fuente_.PonerObservador(this);
}

ModeloTabla::~ModeloTabla() { fuente_.PonerObservador(nullptr); }

// ---------------------------------------------------------------------------------------------------------
// What the grid shows

int ModeloTabla::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : fuente_.Filas(); }

int ModeloTabla::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : fuente_.NumeroDeColumnas();
}

QVariant ModeloTabla::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return QString::fromStdString(fuente_.Texto(index.row(), index.column()));
}

QVariant ModeloTabla::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= columnCount()) return {};
  return QString::fromStdString(Columnas()[static_cast<std::size_t>(section)].titulo);
}

Qt::ItemFlags ModeloTabla::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags banderas = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (Columnas()[static_cast<std::size_t>(index.column())].editable) banderas |= Qt::ItemIsEditable;
  return banderas;
}

void ModeloTabla::FilaCambiada(int fila) { emit dataChanged(index(fila, 0), index(fila, columnCount() - 1)); }

// ---------------------------------------------------------------------------------------------------------
// Editing and moving

bool ModeloTabla::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
  if (index.row() != fuente_.FilaActual()) return false;  // only the current record is edited
  return fuente_.EscribirCelda(index.column(), value.toString().toStdString());
}

}  // namespace app
