#include "app/qt/modelo_tabla.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace app {

ModeloTabla::ModeloTabla(storage::Engine& engine, storage::Table& tabla, std::vector<ColumnaRejilla> columnas,
                         QObject* parent)
    : QAbstractTableModel(parent), tabla_(tabla), lector_(engine), columnas_(std::move(columnas)) {
  lector_.SetTableName(tabla_.DataFilePath());
  lector_.SetIndexName(tabla_.IndexName());
  lector_.Open();
  LeerRegistros();
}

ModeloTabla::~ModeloTabla() = default;

// The rows: the table's walk from its first record; the table ends on its first record.
void ModeloTabla::LeerRegistros() {
  registros_.clear();
  for (tabla_.First(); !tabla_.Eof(); tabla_.Next()) registros_.push_back(tabla_.RecNo());
  tabla_.First();
  filaActual_ = 0;
}

template <class Accion>
bool ModeloTabla::Proteger(Accion&& accion) {
  try {
    accion();
    return true;
  } catch (const std::exception& error) {
    emit fallo(QString::fromStdString(error.what()));
    return false;
  }
}

// ---------------------------------------------------------------------------------------------------------
// What the grid shows

int ModeloTabla::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return Registros() + (Anadiendo() ? 1 : 0);
}

int ModeloTabla::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columnas_.size());
}

// The current row is the table's current record, its pending record while there is one; any other row
// is read through the model's own table object.
const storage::Table& ModeloTabla::TablaDeFila(int fila) const {
  if (fila == filaActual_) return tabla_;
  lector_.GoToRecord(registros_[static_cast<std::size_t>(fila)]);
  return lector_;
}

QVariant ModeloTabla::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  try {
    const std::string& campo = columnas_[static_cast<std::size_t>(index.column())].campo;
    return QString::fromStdString(TablaDeFila(index.row()).AsString(campo));
  } catch (const std::exception&) {
    return {};  // a record that cannot be read shows empty
  }
}

QVariant ModeloTabla::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= columnCount()) return {};
  return columnas_[static_cast<std::size_t>(section)].titulo;
}

Qt::ItemFlags ModeloTabla::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags banderas = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (columnas_[static_cast<std::size_t>(index.column())].editable) banderas |= Qt::ItemIsEditable;
  return banderas;
}

const storage::FieldInfo* ModeloTabla::Campo(int columna) const {
  if (!tabla_.Active()) return nullptr;
  QString campo = QString::fromStdString(columnas_[static_cast<std::size_t>(columna)].campo);
  for (const storage::FieldInfo& info : tabla_.Fields()) {
    if (QString::fromStdString(info.name).compare(campo, Qt::CaseInsensitive) == 0) return &info;
  }
  return nullptr;
}

int ModeloTabla::Caracteres(int columna) const {
  const storage::FieldInfo* info = Campo(columna);
  return info && info->type == 'C' ? info->size : 0;
}

bool ModeloTabla::Entera(int columna) const {
  const storage::FieldInfo* info = Campo(columna);
  return info && (info->dataType == storage::DataType::ftInteger || info->dataType == storage::DataType::ftSmallint);
}

// ---------------------------------------------------------------------------------------------------------
// Editing

bool ModeloTabla::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
  if (index.row() != filaActual_) return false;  // only the current record is edited
  const std::string& campo = columnas_[static_cast<std::size_t>(index.column())].campo;
  std::string texto = value.toString().toStdString();
  bool escrito = Proteger([&] {
    if (tabla_.AsString(campo) == texto) return;
    Editar();
    tabla_.SetAsString(campo, texto);
  });
  emit dataChanged(this->index(filaActual_, 0), this->index(filaActual_, columnCount() - 1));
  return escrito;
}

void ModeloTabla::Editar() {
  if (tabla_.Editing()) return;
  if (registros_.empty()) {  // edit mode on an empty table starts a new record: one row more
    beginInsertRows({}, 0, 0);
    bool editado = Proteger([&] { tabla_.Edit(); });
    filaActual_ = 0;
    endInsertRows();
    if (editado) AvisarFila(0);
  } else {
    Proteger([&] { tabla_.Edit(); });
  }
  emit estadoCambiado();
}

void ModeloTabla::Publicar() {
  emit recogerEdicion();
  if (!tabla_.Editing()) return;
  bool anadido = Anadiendo();
  if (Proteger([&] { tabla_.Post(); }) && anadido) registros_.push_back(tabla_.RecNo());
  emit dataChanged(index(filaActual_, 0), index(filaActual_, columnCount() - 1));
  emit estadoCambiado();
}

// Drops the pending record; a dropped new record leaves the grid on its first row.
void ModeloTabla::Cancelar() {
  emit descartarEdicion();
  if (!tabla_.Editing()) return;
  bool anadido = Anadiendo();
  int fila = filaActual_;
  if (anadido) beginRemoveRows({}, fila, fila);
  Proteger([&] {
    tabla_.Cancel();
    if (anadido) tabla_.First();
  });
  if (anadido) {
    endRemoveRows();
    filaActual_ = 0;
  }
  if (rowCount() > 0) emit dataChanged(index(filaActual_, 0), index(filaActual_, columnCount() - 1));
  emit estadoCambiado();
  AvisarFila(filaActual_);
}

// ---------------------------------------------------------------------------------------------------------
// Moving

void ModeloTabla::IrAFila(int fila) {
  if (fila < 0 || fila >= Registros() || fila == filaActual_) return;
  emit recogerEdicion();
  int anterior = filaActual_;
  if (Proteger([&] { tabla_.GoToRecord(registros_[static_cast<std::size_t>(fila)]); })) filaActual_ = fila;
  emit dataChanged(index(anterior, 0), index(anterior, columnCount() - 1));
  emit estadoCambiado();
  AvisarFila(filaActual_);
}

void ModeloTabla::Desplazar(int filas) {
  if (Registros() == 0) return;
  IrAFila(std::clamp(filaActual_ + filas, 0, Registros() - 1));
}

void ModeloTabla::Releer() {
  emit recogerEdicion();
  beginResetModel();
  Proteger([&] {
    std::uint32_t registro = Anadiendo() ? 0 : tabla_.RecNo();
    LeerRegistros();  // its walk settles the pending record
    auto donde = std::find(registros_.begin(), registros_.end(), registro);
    if (donde == registros_.end()) return;
    tabla_.GoToRecord(*donde);
    filaActual_ = static_cast<int>(donde - registros_.begin());
  });
  endResetModel();
  emit estadoCambiado();
  AvisarFila(filaActual_);
}

void ModeloTabla::AvisarFila(int fila) {
  if (fila < rowCount()) emit filaActualCambiada(fila);
}

}  // namespace app
