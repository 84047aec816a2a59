#include "ventana/fuente_datos.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "platform/platform.h"

namespace ventana {

FuenteDatos::FuenteDatos(storage::Engine& engine, storage::Table& tabla, std::vector<ColumnaDatos> columnas)
    : tabla_(tabla), lector_(engine), columnas_(std::move(columnas)) {
  lector_.SetTableName(tabla_.DataFilePath());
  lector_.SetIndexName(tabla_.IndexName());
  lector_.Open();
  LeerRegistros();
}

FuenteDatos::~FuenteDatos() = default;

template <class Accion>
bool FuenteDatos::Proteger(Accion&& accion) {
  try {
    accion();
    return true;
  } catch (const std::exception& error) {
    if (observador_ != nullptr) observador_->Fallo(error.what());
    return false;
  }
}

// The rows: the table's walk from its first record, after the pending record is settled; the table ends
// on its first record. A failure leaves the rows as they were.
void FuenteDatos::LeerRegistros() {
  if (tabla_.Modified()) {
    tabla_.Post();
  } else if (tabla_.Editing()) {
    tabla_.Cancel();
  }
  std::vector<std::uint32_t> registros;
  for (tabla_.First(); !tabla_.Eof(); tabla_.Next()) registros.push_back(tabla_.RecNo());
  tabla_.First();
  registros_ = std::move(registros);
  filaActual_ = 0;
}

void FuenteDatos::AvisarFila(int fila) {
  if (observador_ != nullptr && fila >= 0 && fila < Filas()) observador_->FilaCambiada(fila);
}

void FuenteDatos::AvisarCursor() {
  if (observador_ != nullptr && filaActual_ < Filas()) observador_->CursorCambiado(filaActual_);
}

void FuenteDatos::AvisarEstado() {
  if (observador_ != nullptr) observador_->EstadoCambiado();
}

// ---------------------------------------------------------------------------------------------------------
// What the grid shows

// The current row is the table's current record, its pending record while there is one; any other row
// is read through the source's own table object.
const storage::Table& FuenteDatos::TablaDeFila(int fila) const {
  if (fila == filaActual_) return tabla_;
  lector_.GoToRecord(registros_[static_cast<std::size_t>(fila)]);
  return lector_;
}

std::string FuenteDatos::Texto(int fila, int columna) const {
  if (fila < 0 || fila >= Filas() || columna < 0 || columna >= NumeroDeColumnas()) return {};
  if (rechazo_ && fila == filaActual_ && columna == rechazo_->columna) return rechazo_->texto;
  try {
    return TablaDeFila(fila).AsString(columnas_[static_cast<std::size_t>(columna)].campo);
  } catch (const std::exception&) {
    return {};
  }
}

const storage::FieldInfo* FuenteDatos::Campo(int columna) const {
  if (!tabla_.Active() || columna < 0 || columna >= NumeroDeColumnas()) return nullptr;
  const std::string& campo = columnas_[static_cast<std::size_t>(columna)].campo;
  for (const storage::FieldInfo& info : tabla_.Fields()) {
    if (platform::SameName(info.name, campo)) return &info;
  }
  return nullptr;
}

int FuenteDatos::Caracteres(int columna) const {
  const storage::FieldInfo* info = Campo(columna);
  return info != nullptr && info->type == 'C' ? info->size : 0;
}

bool FuenteDatos::Entera(int columna) const {
  const storage::FieldInfo* info = Campo(columna);
  return info != nullptr &&
         (info->dataType == storage::DataType::ftInteger || info->dataType == storage::DataType::ftSmallint);
}

int FuenteDatos::PrimeraColumnaEditable() const {
  auto editable = std::find_if(columnas_.begin(), columnas_.end(), [](const ColumnaDatos& c) { return c.editable; });
  return editable == columnas_.end() ? 0 : static_cast<int>(editable - columnas_.begin());
}

std::optional<FuenteDatos::Celda> FuenteDatos::CeldaSiguiente(Celda desde, int paso) const {
  const int columnas = NumeroDeColumnas();
  if (columnas == 0) return std::nullopt;
  const int celda = desde.fila * columnas + desde.columna + paso;
  if (celda < 0 || celda >= Filas() * columnas) return std::nullopt;
  return Celda{celda / columnas, celda % columnas};
}

bool FuenteDatos::CaracterAdmitido(int columna, char32_t caracter) const {
  if (caracter < U' ' || !Entera(columna)) return true;
  return (caracter >= U'0' && caracter <= U'9') || caracter == U'-' || caracter == U'+';
}

// Byte by byte: every byte of a character beyond ASCII is refused by an integer field as the character is.
bool FuenteDatos::TextoAdmitido(int columna, std::string_view texto) const {
  return std::all_of(texto.begin(), texto.end(),
                     [&](char byte) { return CaracterAdmitido(columna, static_cast<unsigned char>(byte)); });
}

void FuenteDatos::Escapar() { DescartarRechazo(); }

std::optional<int> FuenteDatos::ColumnaRechazada() const {
  if (!rechazo_) return std::nullopt;
  return rechazo_->columna;
}

// ---------------------------------------------------------------------------------------------------------
// Editing

bool FuenteDatos::EscribirCelda(int columna, const std::string& texto) {
  if (columna < 0 || columna >= NumeroDeColumnas() || !columnas_[static_cast<std::size_t>(columna)].editable) {
    return false;
  }
  const std::string& campo = columnas_[static_cast<std::size_t>(columna)].campo;
  bool rechazadaAqui = rechazo_ && rechazo_->columna == columna;
  bool igual = false;
  if (!Proteger([&] { igual = tabla_.AsString(campo) == texto; })) return false;
  if (igual) {
    if (rechazadaAqui) DescartarRechazo();
    return true;
  }
  if (!Editar()) return false;
  try {
    if (const run::ReglaDeTexto& regla = columnas_[static_cast<std::size_t>(columna)].regla) {
      regla({campo, texto, tabla_.RecNo()});
    }
    tabla_.SetAsString(campo, texto);
  } catch (const std::exception& error) {
    rechazo_ = Rechazo{columna, texto};
    AvisarFila(filaActual_);
    AvisarEstado();
    if (observador_ != nullptr) observador_->Fallo(error.what());
    return false;
  }
  if (rechazadaAqui) rechazo_.reset();
  AvisarFila(filaActual_);
  AvisarEstado();
  return true;
}

void FuenteDatos::DescartarRechazo() {
  if (!rechazo_) return;
  rechazo_.reset();
  AvisarFila(filaActual_);
  AvisarEstado();
}

// The refused text is tried again: the record may be stored only once its cell holds a valid value.
bool FuenteDatos::GuardarRechazo() {
  if (!rechazo_) return true;
  Rechazo rechazo = *rechazo_;
  return EscribirCelda(rechazo.columna, rechazo.texto);
}

bool FuenteDatos::Editar() {
  if (tabla_.Editing()) return true;
  bool editado = false;
  if (registros_.empty()) {  // edit mode on an empty table starts a new record: one row more
    if (observador_ != nullptr) observador_->FilasACambiar();
    editado = Proteger([&] { tabla_.Edit(); });
    filaActual_ = 0;
    if (observador_ != nullptr) observador_->FilasCambiadas();
    AvisarCursor();
  } else {
    editado = Proteger([&] { tabla_.Edit(); });
  }
  AvisarEstado();
  return editado;
}

bool FuenteDatos::Publicar() {
  if (!tabla_.Editing()) return true;
  if (!GuardarRechazo()) return false;
  bool anadido = Anadiendo();
  bool publicado = Proteger([&] { tabla_.Post(); });
  if (publicado && anadido) registros_.push_back(tabla_.RecNo());  // the new row is now a record
  AvisarFila(filaActual_);
  AvisarEstado();
  return publicado;
}

// Drops the pending record; a dropped new record leaves the table without rows, on its first record.
void FuenteDatos::Cancelar() {
  bool habiaRechazo = rechazo_.has_value();
  rechazo_.reset();
  if (!tabla_.Editing()) {
    if (habiaRechazo) AvisarFila(filaActual_);
    AvisarEstado();
    return;
  }
  if (Anadiendo()) {
    if (observador_ != nullptr) observador_->FilasACambiar();
    Proteger([&] {
      tabla_.Cancel();
      tabla_.First();
    });
    filaActual_ = 0;
    if (observador_ != nullptr) observador_->FilasCambiadas();
  } else {
    Proteger([&] { tabla_.Cancel(); });
    AvisarFila(filaActual_);
  }
  AvisarEstado();
  AvisarCursor();
}

// ---------------------------------------------------------------------------------------------------------
// Moving

bool FuenteDatos::IrAFila(int fila) {
  if (fila < 0 || fila >= Registros()) return false;
  if (fila == filaActual_) return true;
  if (!GuardarRechazo()) return false;
  int anterior = filaActual_;
  bool movido = Proteger([&] { tabla_.GoToRecord(registros_[static_cast<std::size_t>(fila)]); });
  if (movido) filaActual_ = fila;
  AvisarFila(anterior);  // stored, or dropped
  AvisarCursor();
  AvisarEstado();
  return movido;
}

bool FuenteDatos::Desplazar(int filas) {
  if (Registros() == 0) return true;
  return IrAFila(std::clamp(filaActual_ + filas, 0, Registros() - 1));
}

// The current record stays current when it is still there; otherwise the first one is.
bool FuenteDatos::Releer() {
  if (!GuardarRechazo()) return false;
  if (observador_ != nullptr) observador_->FilasACambiar();
  bool leido = Proteger([&] {
    std::uint32_t registro = Anadiendo() ? 0 : tabla_.RecNo();
    LeerRegistros();
    auto donde = std::find(registros_.begin(), registros_.end(), registro);
    if (donde == registros_.end()) return;
    tabla_.GoToRecord(*donde);
    filaActual_ = static_cast<int>(donde - registros_.begin());
  });
  if (observador_ != nullptr) observador_->FilasCambiadas();
  AvisarCursor();
  AvisarEstado();
  return leido;
}

// ---------------------------------------------------------------------------------------------------------
// The navigator

bool FuenteDatos::Aplicable(AccionNavegador accion) const {
  switch (accion) {
    case AccionNavegador::kPrimero:
    case AccionNavegador::kPaginaAnterior:
    case AccionNavegador::kAnterior: return Registros() > 0 && filaActual_ > 0;
    case AccionNavegador::kSiguiente:
    case AccionNavegador::kPaginaSiguiente:
    case AccionNavegador::kUltimo: return filaActual_ < Registros() - 1;
    case AccionNavegador::kEditar: return !Editando();
    case AccionNavegador::kPublicar:
    case AccionNavegador::kCancelar: return Editando();
    case AccionNavegador::kReleer: return true;
  }
  return false;
}

bool FuenteDatos::Ejecutar(AccionNavegador accion) {
  if (!Aplicable(accion)) return false;
  switch (accion) {
    case AccionNavegador::kPrimero: return IrAFila(0);
    case AccionNavegador::kPaginaAnterior: return Desplazar(-kPagina);
    case AccionNavegador::kAnterior: return Desplazar(-1);
    case AccionNavegador::kSiguiente: return Desplazar(1);
    case AccionNavegador::kPaginaSiguiente: return Desplazar(kPagina);
    case AccionNavegador::kUltimo: return IrAFila(Registros() - 1);
    case AccionNavegador::kEditar: return Editar();
    case AccionNavegador::kPublicar: return Publicar();
    case AccionNavegador::kCancelar: Cancelar(); return true;
    case AccionNavegador::kReleer: return Releer();
  }
  return false;
}

// ---------------------------------------------------------------------------------------------------------
// A grid with a cell editor

bool RejillaConEditor::Entregar() {
  editor_.Entregar();
  return !fuente_.ColumnaRechazada();
}

bool RejillaConEditor::IrAFila(int fila) {
  if (fila == fuente_.FilaActual()) return true;
  if (!Entregar() || !fuente_.IrAFila(fila)) return false;
  editor_.Cerrar();
  return true;
}

bool RejillaConEditor::IrACelda(int fila) { return fila == fuente_.FilaActual() ? Entregar() : IrAFila(fila); }

bool RejillaConEditor::Publicar() {
  if (!fuente_.Editando()) return true;
  if (!Entregar() || !fuente_.Publicar()) return false;
  editor_.Cerrar();
  return true;
}

void RejillaConEditor::Cancelar() {
  fuente_.Cancelar();
  editor_.Cerrar();
}

bool RejillaConEditor::Ejecutar(AccionNavegador accion) {
  if (!fuente_.Aplicable(accion)) return false;
  switch (accion) {
    case AccionNavegador::kEditar: return fuente_.Editar();
    case AccionNavegador::kPublicar: return Publicar();
    case AccionNavegador::kCancelar: Cancelar(); return true;
    default: break;
  }
  if (!Entregar() || !fuente_.Ejecutar(accion)) return false;
  editor_.Cerrar();  // moved or read again: an editor still open belongs to the record left
  return true;
}

}  // namespace ventana
