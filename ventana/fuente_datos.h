// The data source of a review dialog's grid and record navigator, without widgets: the rows of a table
// object in walk order, the current row (the table's current record), browse or edit mode, the cells'
// texts, the navigator's actions and which of them apply. A window (the Qt or the Win32 dialogs) draws the
// rows and turns clicks and keys into these operations; the source tells it what changed through an
// observer.
//
// Edits go into the table's pending record and follow the table layer's rules: moving to another row
// posts a changed record and drops an unchanged one. A text that its column's rule or the table refuses for
// its field (a negative DNI, a DNI that is not an integer) is kept as that cell's refused text: the cell
// shows it, the record stays in edit mode, and no operation that would store the record (post, move,
// refresh) goes on until the text is corrected, dropped or cancelled; each attempt reports the refusal's
// message again.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run/revision.h"
#include "storage/storage.h"

namespace ventana {

using run::ColumnaDatos;

// The navigator's ten buttons, from left to right. There is no insert and no delete.
enum class AccionNavegador { kPrimero, kPaginaAnterior, kAnterior, kSiguiente, kPaginaSiguiente, kUltimo,
                             kEditar, kPublicar, kCancelar, kReleer };

struct BotonNavegador {
  AccionNavegador accion;
  const char* sufijo;  // the button is named after its navigator followed by this
  const char* pista;   // its hint
};

// A button held down repeats its action first after this delay and then at this interval.
inline constexpr int kPrimeraRepeticionMs = 500;
inline constexpr int kRepeticionMs = 100;

inline constexpr std::array<BotonNavegador, 10> kBotonesNavegador = {{
    {AccionNavegador::kPrimero, "First", "Move to first record"},
    {AccionNavegador::kPaginaAnterior, "PriorPage", "Move backward 10 records"},
    {AccionNavegador::kAnterior, "Prior", "Move to prior record"},
    {AccionNavegador::kSiguiente, "Next", "Move to next record"},
    {AccionNavegador::kPaginaSiguiente, "NextPage", "Move forward 10 records"},
    {AccionNavegador::kUltimo, "Last", "Move to last record"},
    {AccionNavegador::kEditar, "Edit", "Edit current record"},
    {AccionNavegador::kPublicar, "Post", "Post changes of current record"},
    {AccionNavegador::kCancelar, "Cancel", "Cancel changes made to current record"},
    {AccionNavegador::kReleer, "Refresh", "Refresh the contents of the dataset"},
}};

class FuenteDatos {
 public:
  static constexpr int kPagina = 10;  // rows moved by the navigator's page buttons

  // What the window over the source is told. The source calls it after the change, except FilasACambiar.
  class Observador {
   public:
    virtual ~Observador() = default;
    virtual void FilasACambiar() {}             // rows are about to be added, removed or read again
    virtual void FilasCambiadas() {}            // they were
    virtual void FilaCambiada(int /*fila*/) {}  // the texts of a row's cells changed
    virtual void CursorCambiado(int /*fila*/) {}
    virtual void EstadoCambiado() {}            // edit mode, the refused text, the buttons that apply
    virtual void Fallo(const std::string& /*mensaje*/) {}  // a column rule's or the table layer's message
  };

  // `tabla` is open, on its first record, with no pending record; it must outlive the source. The other
  // rows are read through a browse-only table object of the source's own on the same file of `engine`, so
  // that reading them never moves `tabla` (which would settle its pending record).
  FuenteDatos(storage::Engine& engine, storage::Table& tabla, std::vector<ColumnaDatos> columnas);
  ~FuenteDatos();
  FuenteDatos(const FuenteDatos&) = delete;
  FuenteDatos& operator=(const FuenteDatos&) = delete;

  void PonerObservador(Observador* observador) { observador_ = observador; }

  // ---- What the grid shows
  const std::vector<ColumnaDatos>& Columnas() const { return columnas_; }
  int NumeroDeColumnas() const { return static_cast<int>(columnas_.size()); }
  // Rows: the records, and a new record while one is being appended (only on a table without records).
  int Filas() const { return Registros() + (Anadiendo() ? 1 : 0); }
  int Registros() const { return static_cast<int>(registros_.size()); }
  // A cell's text: the refused text where there is one, the pending record's field on the current row,
  // the stored field elsewhere; empty for a record that cannot be read.
  std::string Texto(int fila, int columna) const;
  // The characters a cell of the column holds: the size of a text field, 0 for no limit.
  int Caracteres(int columna) const;
  // Whether the column's field holds integers.
  bool Entera(int columna) const;
  // The first column that can be edited, or 0 when none can.
  int PrimeraColumnaEditable() const;

  // ---- The grid's editing rules, the same in every window

  // A cell of the grid.
  struct Celda {
    int fila = 0;
    int columna = 0;
    bool operator==(const Celda&) const = default;
  };
  // Where Tab and Enter (`paso` 1) or Shift+Tab (`paso` -1) go from `desde`: through the cells row by row,
  // stopping at the first and the last, so that the grid never runs past its last record. Nothing there.
  std::optional<Celda> CeldaSiguiente(Celda desde, int paso) const;
  // Whether a cell of the column takes a typed character, and a pasted text: a cell of an integer field only
  // the characters of an integer (digits and a sign; the table judges the whole text when it is stored);
  // control characters are keys, not text, and pass.
  bool CaracterAdmitido(int columna, char32_t caracter) const;
  bool TextoAdmitido(int columna, std::string_view texto) const;
  // Escape in a cell being edited: the editor closes without handing its text over, and a text that the table
  // refused is dropped (the cell shows its field again; the record is still being edited).
  void Escapar();

  int FilaActual() const { return filaActual_; }
  bool Editando() const { return tabla_.Editing(); }
  bool Anadiendo() const { return tabla_.Editing() && tabla_.RecNo() == 0; }
  // The column of the current row whose text the table refused, while there is one.
  std::optional<int> ColumnaRechazada() const;

  // ---- Operations. Each reports a failure through the observer and returns false, leaving the table as
  // the failure left it; an operation that would store the record is refused while a text is refused.

  // Writes a cell's text into the current record's field, putting the record into edit mode first, once the
  // column's rule lets it through. A text equal to the field's is not written (and drops a refused text of
  // that cell). A refused text is kept.
  bool EscribirCelda(int columna, const std::string& texto);
  // Forgets the refused text: the cell shows its field again; the record stays in edit mode.
  void DescartarRechazo();

  bool IrAFila(int fila);     // settles the pending record, then moves
  bool Desplazar(int filas);  // moves by so many rows, stopping at the first and the last
  bool Editar();              // the current record into edit mode (a new record on an empty table)
  bool Publicar();            // posts the pending record, if there is one
  void Cancelar();            // drops the pending record and a refused text: the changes are undone
  bool Releer();              // settles the pending record and reads the records again

  // The navigator: whether a button's action applies to the table's position and state, and the action.
  bool Aplicable(AccionNavegador accion) const;
  bool Ejecutar(AccionNavegador accion);

 private:
  struct Rechazo {
    int columna;
    std::string texto;
  };

  template <class Accion>
  bool Proteger(Accion&& accion);
  bool GuardarRechazo();
  void LeerRegistros();
  const storage::Table& TablaDeFila(int fila) const;
  const storage::FieldInfo* Campo(int columna) const;
  void AvisarFila(int fila);
  void AvisarCursor();
  void AvisarEstado();

  storage::Table& tabla_;
  mutable storage::Table lector_;
  std::vector<ColumnaDatos> columnas_;
  std::vector<std::uint32_t> registros_;  // record numbers, in walk order
  int filaActual_ = 0;
  std::optional<Rechazo> rechazo_;        // on the current row
  Observador* observador_ = nullptr;
};

// The cell editor that a window opens over the current row, as RejillaConEditor sees it.
class EditorDeCelda {
 public:
  virtual ~EditorDeCelda() = default;
  // An open editor writes its text into the current record (FuenteDatos::EscribirCelda) and stays open.
  virtual void Entregar() = 0;
  // An open editor closes without writing its text.
  virtual void Cerrar() = 0;
};

// The source's operations for a grid that edits a cell in an editor of its own: before an operation that
// would store the record, the open editor hands its text over, and a text that the table refuses stops the
// operation there; once the record was stored, dropped, left or read again, an editor still open belongs to
// nothing pending, and closes.
class RejillaConEditor {
 public:
  RejillaConEditor(FuenteDatos& fuente, EditorDeCelda& editor) : fuente_(fuente), editor_(editor) {}

  // The open editor hands its text over; false when the table refused it (the cell keeps it, refused).
  bool Entregar();
  bool IrAFila(int fila);
  // The grid's cursor to another cell of row `fila`: of the current row once the open editor has handed its
  // text over, of another row once the data source has moved there; a refused text keeps it where it is.
  bool IrACelda(int fila);
  bool Publicar();
  void Cancelar();  // the editor closes without handing its text: its changes go with the record's
  // The navigator's button, when its action applies.
  bool Ejecutar(AccionNavegador accion);

 private:
  FuenteDatos& fuente_;
  EditorDeCelda& editor_;
};

}  // namespace ventana
