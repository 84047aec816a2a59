// The data-aware grid of the review dialogs in Win32: a report-style ListView over ventana::FuenteDatos (a
// virtual list, owner-drawn: cells and every other row in the design's colours, the current cell marked,
// titles bold on two lines over their own colour) that follows the table's current record, edits a cell in
// an EDIT control placed over it, and neither inserts nor deletes records.
//
// Typing in a cell starts editing it with what was typed; F2 and a double click start editing it with its
// text selected. Enter and Tab go on to the next cell (Shift+Tab back), row by row, stopping at the last
// one; in a cell being edited they hand its text over first and go on editing the next cell. The arrow keys,
// Page Up/Down and a click on another cell hand it over and move; Escape closes the cell without it (and
// drops a text that the table refused); Ctrl+Tab leaves the grid for the dialog's next control. A text that
// the table refuses stays in its editor, which keeps the cursor and the focus, until it is corrected,
// dropped with Escape or the record cancelled.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

#include "ventana/fuente_datos.h"

namespace app::win32 {

class Rejilla : private ventana::EditorDeCelda {
 public:
  struct Colores {
    COLORREF celdas;
    COLORREF alternas;  // every other row
    COLORREF titulos;
  };

  // A child of `padre` with control id `id`, named `nombre` (its window text), over `fuente`, which must
  // outlive it. `alRecibirFoco` is told whenever the grid or its cell editor receives the focus.
  Rejilla(HWND padre, int id, const wchar_t* nombre, ventana::FuenteDatos& fuente, Colores colores,
          std::function<void(HWND)> alRecibirFoco);
  ~Rejilla() override;
  Rejilla(const Rejilla&) = delete;
  Rejilla& operator=(const Rejilla&) = delete;

  HWND Ventana() const { return lista_; }
  HWND VentanaEditor() const { return editor_; }
  // Whether `ventana` is the grid or its cell editor.
  bool Contiene(HWND ventana) const { return ventana != nullptr && (ventana == lista_ || ventana == editor_); }
  // The editor as the data source's operations and the dialog's handlers see it.
  ventana::EditorDeCelda& Editor() { return *this; }

  // Places the grid in `caja` (the parent's client pixels), its cells in `letra` and its titles in
  // `letraTitulos` (both owned by the caller, living as long as the grid), columns and rows sized for them.
  void Colocar(const RECT& caja, HFONT letra, HFONT letraTitulos);

  // What the grid's parent receives about it, passed on.
  LRESULT Notificacion(NMHDR& aviso);
  void Medir(MEASUREITEMSTRUCT& medida) const;
  void Dibujar(const DRAWITEMSTRUCT& dibujo) const;

  // The data source's news, passed on.
  void FilasCambiadas();
  void FilaCambiada(int fila);
  void CursorCambiado(int fila);

  // A button of the navigator: the cell being edited hands its text over first.
  bool Ejecutar(ventana::AccionNavegador accion);
  // The focus back into the grid: to the cell being edited, when one is.
  void TomarFoco();
  // Closes the cell being edited without handing its text over (the focus has left the grid).
  void CerrarEditor();

  int ColumnaActual() const { return columnaActual_; }
  bool Editando() const { return columnaEditor_ >= 0; }
  // A cell's box in the grid's client area (rows scrolled out of sight included).
  RECT CajaCelda(int fila, int columna) const;

 private:
  // ventana::EditorDeCelda
  void Entregar() override;
  void Cerrar() override { CerrarEditor(); }

  static LRESULT CALLBACK ProcLista(HWND ventana, UINT mensaje, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR datos);
  static LRESULT CALLBACK ProcTitulos(HWND ventana, UINT mensaje, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR datos);
  static LRESULT CALLBACK ProcEditor(HWND ventana, UINT mensaje, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR datos);
  LRESULT AtenderLista(UINT mensaje, WPARAM wParam, LPARAM lParam);
  LRESULT AtenderTitulos(UINT mensaje, WPARAM wParam, LPARAM lParam);
  LRESULT AtenderEditor(UINT mensaje, WPARAM wParam, LPARAM lParam);

  // Keys and the mouse.
  bool TeclaDeLaLista(WPARAM tecla);
  bool TeclaDelEditor(WPARAM tecla);
  void Caracter(wchar_t caracter, LPARAM lParam);
  bool PegadoAdmitido() const;
  void Clic(POINT punto, bool doble);
  void SaltarControl(bool atras);

  // Moving and editing.
  bool IrACelda(int fila, int columna);
  void Avanzar(int paso, bool seguirEditando);
  void MoverFilas(int filas);
  // Escape in a cell being edited (ventana::FuenteDatos::Escapar).
  void Escape();
  bool Editable(int columna) const;
  void AbrirEditor();
  void ColocarEditor();
  void TextoCambiado();
  void AsegurarVisible();
  int Columnas() const { return fuente_.NumeroDeColumnas(); }
  int AnchoColumna(int columna) const;
  bool ConFoco() const { return Contiene(GetFocus()); }
  void RedibujarFila(int fila) const;
  void PintarTitulo(HDC dc, const RECT& caja, int columna) const;
  void PintarTrasLosTitulos(HDC dc) const;

  ventana::FuenteDatos& fuente_;
  Colores colores_;
  std::function<void(HWND)> alRecibirFoco_;
  HWND lista_ = nullptr;
  HWND titulos_ = nullptr;
  HWND editor_ = nullptr;
  HFONT letra_ = nullptr;
  HFONT letraTitulos_ = nullptr;
  int altoFila_ = 16;
  int altoTitulos_ = 32;
  int columnaActual_ = 0;
  int columnaEditor_ = -1;  // the column of the cell being edited, -1 when none is
  bool poniendoTexto_ = false;
};

}  // namespace app::win32
