#include "app/win32/rejilla.h"

#include <algorithm>
#include <cwchar>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "app/win32/comun.h"
#include "ventana/revision.h"

namespace app::win32 {
namespace {

constexpr UINT_PTR kSubclase = 1;
constexpr int kIdEditor = 1;
const COLORREF kLineas = RGB(160, 160, 160);  // the lines between cells and titles
constexpr int kMargenTexto = 3;               // from a cell's left edge to its text

bool Pulsada(int tecla) { return (GetKeyState(tecla) & 0x8000) != 0; }

void Rellenar(HDC dc, const RECT& caja, COLORREF color) {
  SetDCBrushColor(dc, color);
  FillRect(dc, &caja, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// The right and bottom edges of a cell or title.
void Bordes(HDC dc, const RECT& caja) {
  Rellenar(dc, {caja.right - 1, caja.top, caja.right, caja.bottom}, kLineas);
  Rellenar(dc, {caja.left, caja.bottom - 1, caja.right, caja.bottom}, kLineas);
}

int AnchoDeTexto(HDC dc, std::wstring_view texto) {
  SIZE tamano{};
  GetTextExtentPoint32W(dc, texto.data(), static_cast<int>(texto.size()), &tamano);
  return tamano.cx;
}

// A device context of a window's client area while the object lives.
class DcVentana {
 public:
  explicit DcVentana(HWND ventana) : ventana_(ventana), dc_(GetDC(ventana)) {}
  ~DcVentana() { ReleaseDC(ventana_, dc_); }
  DcVentana(const DcVentana&) = delete;
  DcVentana& operator=(const DcVentana&) = delete;
  HDC Dc() const { return dc_; }

 private:
  HWND ventana_;
  HDC dc_;
};

}  // namespace

Rejilla::Rejilla(HWND padre, int id, const wchar_t* nombre, ventana::FuenteDatos& fuente, Colores colores,
                 std::function<void(HWND)> alRecibirFoco)
    : fuente_(fuente), colores_(colores), alRecibirFoco_(std::move(alRecibirFoco)) {
  HINSTANCE instancia = GetModuleHandleW(nullptr);
  lista_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nombre,
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | LVS_REPORT | LVS_OWNERDATA |
                               LVS_OWNERDRAWFIXED | LVS_SINGLESEL | LVS_NOSORTHEADER,
                           0, 0, 0, 0, padre, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instancia, nullptr);
  if (lista_ == nullptr) throw std::runtime_error("No se pudo crear la rejilla " + Narrow(nombre));
  SendMessageW(lista_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_DOUBLEBUFFER, LVS_EX_DOUBLEBUFFER);
  SendMessageW(lista_, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(colores_.celdas));
  for (int columna = 0; columna < Columnas(); ++columna) {
    std::wstring titulo = Wide(fuente_.Columnas()[static_cast<std::size_t>(columna)].titulo);
    LVCOLUMNW def{};
    def.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    def.fmt = LVCFMT_LEFT;
    def.cx = 60;  // until Colocar measures the fonts
    def.pszText = titulo.data();
    def.iSubItem = columna;
    SendMessageW(lista_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(columna), reinterpret_cast<LPARAM>(&def));
  }
  SendMessageW(lista_, LVM_SETITEMCOUNT, static_cast<WPARAM>(fuente_.Filas()), LVSICF_NOSCROLL);
  titulos_ = reinterpret_cast<HWND>(SendMessageW(lista_, LVM_GETHEADER, 0, 0));
  editor_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_LEFT | ES_AUTOHSCROLL, 0, 0, 0, 0, lista_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdEditor)), instancia, nullptr);
  auto datos = reinterpret_cast<DWORD_PTR>(this);
  SetWindowSubclass(lista_, &Rejilla::ProcLista, kSubclase, datos);
  if (titulos_ != nullptr) SetWindowSubclass(titulos_, &Rejilla::ProcTitulos, kSubclase, datos);
  if (editor_ != nullptr) SetWindowSubclass(editor_, &Rejilla::ProcEditor, kSubclase, datos);
  columnaActual_ = fuente_.PrimeraColumnaEditable();
}

// The subclasses go before the windows, which may have gone with the dialog already.
Rejilla::~Rejilla() {
  if (editor_ != nullptr && IsWindow(editor_)) RemoveWindowSubclass(editor_, &Rejilla::ProcEditor, kSubclase);
  if (titulos_ != nullptr && IsWindow(titulos_)) RemoveWindowSubclass(titulos_, &Rejilla::ProcTitulos, kSubclase);
  if (lista_ != nullptr && IsWindow(lista_)) {
    RemoveWindowSubclass(lista_, &Rejilla::ProcLista, kSubclase);
    DestroyWindow(lista_);
  }
}

// ---------------------------------------------------------------------------------------------------------
// Size and fonts

// Rows are as high as the font and a little more, titles two lines of theirs; columns are as wide as the
// design says in the cells' characters, never narrower than a word of their titles. The list asks its
// parent for the rows' height (WM_MEASUREITEM) and its titles for their band (HDM_LAYOUT) as it is moved.
void Rejilla::Colocar(const RECT& caja, HFONT letra, HFONT letraTitulos) {
  letra_ = letra;
  letraTitulos_ = letraTitulos;
  DcVentana ventana(lista_);
  HDC dc = ventana.Dc();
  TEXTMETRICW medidas{};
  int anchoCero = 0;
  {
    Seleccion celdas(dc, letra_);
    GetTextMetricsW(dc, &medidas);
    altoFila_ = medidas.tmHeight + ventana::kMargenFila;
    anchoCero = AnchoDeTexto(dc, L"0");
  }
  Seleccion titulos(dc, letraTitulos_);
  GetTextMetricsW(dc, &medidas);
  altoTitulos_ = 2 * (medidas.tmHeight + medidas.tmExternalLeading) + ventana::kMargenTitulos;
  for (int columna = 0; columna < Columnas(); ++columna) {
    int ancho = ventana::AnchoDeColumna(fuente_.Columnas()[static_cast<std::size_t>(columna)], anchoCero,
                                    [dc](std::string_view palabra) { return AnchoDeTexto(dc, Wide(palabra)); });
    SendMessageW(lista_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(columna), MAKELPARAM(ancho, 0));
  }

  SendMessageW(titulos_, WM_SETFONT, reinterpret_cast<WPARAM>(letraTitulos_), FALSE);
  SendMessageW(lista_, WM_SETFONT, reinterpret_cast<WPARAM>(letra_), FALSE);
  SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(letra_), FALSE);
  SendMessageW(editor_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(kMargenTexto, 1));
  SetWindowPos(lista_, nullptr, caja.left, caja.top, caja.right - caja.left, caja.bottom - caja.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  // Moved or not, the list measures its rows and lays its titles out again.
  WINDOWPOS posicion{};
  posicion.hwnd = lista_;
  posicion.x = caja.left;
  posicion.y = caja.top;
  posicion.cx = caja.right - caja.left;
  posicion.cy = caja.bottom - caja.top;
  posicion.flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE;
  SendMessageW(lista_, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&posicion));
  InvalidateRect(lista_, nullptr, TRUE);
  ColocarEditor();
}

int Rejilla::AnchoColumna(int columna) const {
  return static_cast<int>(SendMessageW(lista_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(columna), 0));
}

RECT Rejilla::CajaCelda(int fila, int columna) const {
  RECT caja{};
  caja.left = LVIR_BOUNDS;
  SendMessageW(lista_, LVM_GETITEMRECT, static_cast<WPARAM>(fila), reinterpret_cast<LPARAM>(&caja));
  for (int antes = 0; antes < columna; ++antes) caja.left += AnchoColumna(antes);
  caja.right = caja.left + AnchoColumna(columna);
  return caja;
}

// ---------------------------------------------------------------------------------------------------------
// Drawing

void Rejilla::Medir(MEASUREITEMSTRUCT& medida) const { medida.itemHeight = static_cast<UINT>(altoFila_); }

// A row: each cell on its row's colour, the current one in the selection's colours (greyed while the grid
// does not have the focus), its text on one line cut with an ellipsis.
void Rejilla::Dibujar(const DRAWITEMSTRUCT& dibujo) const {
  const int fila = static_cast<int>(dibujo.itemID);
  HDC dc = dibujo.hDC;
  Seleccion letra(dc, letra_);
  SetBkMode(dc, TRANSPARENT);
  const bool foco = ConFoco();
  // Cells where the titles and the editor have them: the row's box as the list gives it, which the box it
  // hands over for drawing does not always match.
  RECT caja = dibujo.rcItem;
  caja.left = CajaCelda(fila, 0).left;
  for (int columna = 0; columna < Columnas(); ++columna) {
    caja.right = caja.left + AnchoColumna(columna);
    bool actual = fila == fuente_.FilaActual() && columna == columnaActual_;
    COLORREF fondo = fila % 2 == 0 ? colores_.celdas : colores_.alternas;
    COLORREF tinta = GetSysColor(COLOR_WINDOWTEXT);
    if (actual) {
      fondo = GetSysColor(foco ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
      tinta = GetSysColor(foco ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    }
    Rellenar(dc, caja, fondo);
    Bordes(dc, caja);
    std::wstring texto = Wide(fuente_.Texto(fila, columna));
    RECT dentro{caja.left + kMargenTexto, caja.top, caja.right - 2, caja.bottom - 1};
    SetTextColor(dc, tinta);
    DrawTextW(dc, texto.c_str(), static_cast<int>(texto.size()), &dentro,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    caja.left = caja.right;
  }
}

void Rejilla::RedibujarFila(int fila) const {
  if (fila >= 0 && fila < fuente_.Filas()) SendMessageW(lista_, LVM_REDRAWITEMS, static_cast<WPARAM>(fila), fila);
}

// A title: bold, left-aligned, on up to two lines, centred in the band's height.
void Rejilla::PintarTitulo(HDC dc, const RECT& caja, int columna) const {
  Rellenar(dc, caja, colores_.titulos);
  Bordes(dc, caja);
  if (columna < 0 || columna >= Columnas()) return;
  std::wstring titulo = Wide(fuente_.Columnas()[static_cast<std::size_t>(columna)].titulo);
  Seleccion letra(dc, letraTitulos_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  constexpr UINT kFormato = DT_WORDBREAK | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS;
  RECT texto{caja.left + kMargenTexto, caja.top, caja.right - 2, caja.bottom - 1};
  RECT medido = texto;
  DrawTextW(dc, titulo.c_str(), static_cast<int>(titulo.size()), &medido, kFormato | DT_CALCRECT);
  int sobra = (texto.bottom - texto.top) - (medido.bottom - medido.top);
  if (sobra > 0) texto.top += sobra / 2;
  DrawTextW(dc, titulo.c_str(), static_cast<int>(titulo.size()), &texto, kFormato);
}

// The band right of the last title, in the titles' colour.
void Rejilla::PintarTrasLosTitulos(HDC dc) const {
  RECT banda{};
  GetClientRect(titulos_, &banda);
  int ultima = static_cast<int>(SendMessageW(titulos_, HDM_GETITEMCOUNT, 0, 0)) - 1;
  RECT caja{};
  if (ultima >= 0 &&
      SendMessageW(titulos_, HDM_GETITEMRECT, static_cast<WPARAM>(ultima), reinterpret_cast<LPARAM>(&caja)) != 0) {
    banda.left = caja.right;
  }
  if (banda.left >= banda.right) return;
  Rellenar(dc, banda, colores_.titulos);
  Rellenar(dc, {banda.left, banda.bottom - 1, banda.right, banda.bottom}, kLineas);
}

// ---------------------------------------------------------------------------------------------------------
// The data source's news

void Rejilla::FilasCambiadas() {
  SendMessageW(lista_, LVM_SETITEMCOUNT, static_cast<WPARAM>(fuente_.Filas()), LVSICF_NOSCROLL);
  InvalidateRect(lista_, nullptr, TRUE);
}

void Rejilla::FilaCambiada(int fila) { RedibujarFila(fila); }

// The grid follows the data source's current record, in the same column; a cell still open belongs to the
// record left.
void Rejilla::CursorCambiado(int /*fila*/) {
  if (Editando()) CerrarEditor();
  InvalidateRect(lista_, nullptr, FALSE);
  AsegurarVisible();
}

LRESULT Rejilla::Notificacion(NMHDR& aviso) {
  if (aviso.code != LVN_GETDISPINFOW) return 0;
  // The cells' texts for whoever asks the list (accessibility tools): the grid draws them itself.
  LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(aviso).item;
  if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
    std::wstring texto = Wide(fuente_.Texto(item.iItem, item.iSubItem));
    std::size_t cabe = std::min(texto.size(), static_cast<std::size_t>(item.cchTextMax - 1));
    std::wmemcpy(item.pszText, texto.data(), cabe);
    item.pszText[cabe] = L'\0';
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------------------
// Moving

bool Rejilla::Editable(int columna) const {
  return columna >= 0 && columna < Columnas() && fuente_.Columnas()[static_cast<std::size_t>(columna)].editable;
}

// The cursor goes where ventana::RejillaConEditor::IrACelda lets it; the cell being edited closes once it has
// handed its text over.
bool Rejilla::IrACelda(int fila, int columna) {
  if (fila < 0 || fila >= fuente_.Filas() || columna < 0 || columna >= Columnas()) return false;
  const bool otraFila = fila != fuente_.FilaActual();
  if (otraFila || columna != columnaActual_) {
    if (!ventana::RejillaConEditor(fuente_, *this).IrACelda(fila)) {
      TomarFoco();
      return false;
    }
    if (!otraFila) CerrarEditor();
  }
  columnaActual_ = columna;
  RedibujarFila(fila);
  AsegurarVisible();
  return true;
}

// Tab and Enter go through the cells row by row and stop at the last one: the grid never runs past its
// last record. From a cell being edited they go on editing the next one.
void Rejilla::Avanzar(int paso, bool seguirEditando) {
  if (Editando()) {
    if (!ventana::RejillaConEditor(fuente_, *this).Entregar()) {
      TomarFoco();
      return;
    }
    CerrarEditor();
  }
  std::optional<ventana::FuenteDatos::Celda> siguiente =
      fuente_.CeldaSiguiente({fuente_.FilaActual(), columnaActual_}, paso);
  if (!siguiente) return;
  if (IrACelda(siguiente->fila, siguiente->columna) && seguirEditando && Editable(columnaActual_)) AbrirEditor();
}

void Rejilla::MoverFilas(int filas) {
  if (fuente_.Registros() == 0) return;
  int destino = std::clamp(fuente_.FilaActual() + filas, 0, fuente_.Registros() - 1);
  if (destino != fuente_.FilaActual()) IrACelda(destino, columnaActual_);
}

bool Rejilla::Ejecutar(ventana::AccionNavegador accion) {
  bool hecho = ventana::RejillaConEditor(fuente_, *this).Ejecutar(accion);
  if (fuente_.ColumnaRechazada()) TomarFoco();
  AsegurarVisible();
  return hecho;
}

// The current cell in sight: its row, then its column.
void Rejilla::AsegurarVisible() {
  if (fuente_.Filas() == 0) return;
  SendMessageW(lista_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(fuente_.FilaActual()), FALSE);
  RECT cliente{};
  GetClientRect(lista_, &cliente);
  RECT celda = CajaCelda(fuente_.FilaActual(), columnaActual_);
  int desplazar = 0;
  if (celda.right > cliente.right) desplazar = std::min(celda.right - cliente.right, celda.left);
  if (celda.left < 0) desplazar = celda.left;
  if (desplazar != 0) SendMessageW(lista_, LVM_SCROLL, static_cast<WPARAM>(desplazar), 0);
  ColocarEditor();
}

// ---------------------------------------------------------------------------------------------------------
// The cell editor

// Over the current cell, its text selected; a field of text takes no more characters than it holds.
void Rejilla::AbrirEditor() {
  if (!Editable(columnaActual_) || fuente_.Filas() == 0) return;
  AsegurarVisible();
  columnaEditor_ = columnaActual_;
  poniendoTexto_ = true;
  PonerTexto(editor_, fuente_.Texto(fuente_.FilaActual(), columnaEditor_));
  poniendoTexto_ = false;
  int caracteres = fuente_.Caracteres(columnaEditor_);
  SendMessageW(editor_, EM_SETLIMITTEXT, static_cast<WPARAM>(caracteres > 0 ? caracteres : 0), 0);
  ColocarEditor();
  ShowWindow(editor_, SW_SHOW);
  SetFocus(editor_);
  SendMessageW(editor_, EM_SETSEL, 0, -1);
}

void Rejilla::ColocarEditor() {
  if (!Editando()) return;
  RECT celda = CajaCelda(fuente_.FilaActual(), columnaEditor_);
  SetWindowPos(editor_, HWND_TOP, celda.left, celda.top, celda.right - celda.left - 1, celda.bottom - celda.top - 1,
               SWP_NOACTIVATE);
}

void Rejilla::CerrarEditor() {
  if (!Editando()) return;
  columnaEditor_ = -1;
  if (GetFocus() == editor_) SetFocus(lista_);
  ShowWindow(editor_, SW_HIDE);
  RedibujarFila(fuente_.FilaActual());
}

void Rejilla::TomarFoco() { SetFocus(Editando() ? editor_ : lista_); }

void Rejilla::Entregar() {
  if (!Editando()) return;
  fuente_.EscribirCelda(columnaEditor_, TextoDe(editor_));
}

// Typing in the cell puts the record into edit mode.
void Rejilla::TextoCambiado() {
  if (!poniendoTexto_ && Editando()) fuente_.Editar();
}

void Rejilla::Escape() {
  fuente_.Escapar();
  CerrarEditor();
}

// What the clipboard holds, as text to paste into the cell being edited, when the data source admits it.
bool Rejilla::PegadoAdmitido() const {
  if (!OpenClipboard(editor_)) return true;
  bool admitido = true;
  if (HANDLE datos = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* texto = static_cast<const wchar_t*>(GlobalLock(datos))) {
      admitido = fuente_.TextoAdmitido(columnaEditor_, Narrow(texto));
      GlobalUnlock(datos);
    }
  }
  CloseClipboard();
  return admitido;
}

// ---------------------------------------------------------------------------------------------------------
// Keys and the mouse

// Ctrl+Tab: the dialog's next control (Ctrl+Shift+Tab: the previous one).
void Rejilla::SaltarControl(bool atras) {
  HWND dialogo = GetParent(lista_);
  HWND siguiente = GetNextDlgTabItem(dialogo, lista_, atras ? TRUE : FALSE);
  if (siguiente != nullptr && siguiente != lista_) SetFocus(siguiente);
}

// The keys of the grid without a cell being edited; true for those it takes.
bool Rejilla::TeclaDeLaLista(WPARAM tecla) {
  const bool control = Pulsada(VK_CONTROL);
  const int pagina = std::max(1, static_cast<int>(SendMessageW(lista_, LVM_GETCOUNTPERPAGE, 0, 0)));
  switch (tecla) {
    case VK_UP: MoverFilas(-1); return true;
    case VK_DOWN: MoverFilas(1); return true;
    case VK_PRIOR: MoverFilas(-pagina); return true;
    case VK_NEXT: MoverFilas(pagina); return true;
    case VK_LEFT: IrACelda(fuente_.FilaActual(), columnaActual_ - 1); return true;
    case VK_RIGHT: IrACelda(fuente_.FilaActual(), columnaActual_ + 1); return true;
    case VK_HOME:
      control ? MoverFilas(-fuente_.Filas()) : void(IrACelda(fuente_.FilaActual(), 0));
      return true;
    case VK_END:
      control ? MoverFilas(fuente_.Filas()) : void(IrACelda(fuente_.FilaActual(), Columnas() - 1));
      return true;
    case VK_TAB:
      control ? SaltarControl(Pulsada(VK_SHIFT)) : Avanzar(Pulsada(VK_SHIFT) ? -1 : 1, false);
      return true;
    case VK_RETURN: Avanzar(1, false); return true;
    case VK_F2: AbrirEditor(); return true;
    case VK_INSERT:  // no record is added or deleted from the grid
    case VK_DELETE:
    case VK_ESCAPE: return true;
    default: return false;
  }
}

// The keys of the cell being edited that are the grid's; true for those it takes.
bool Rejilla::TeclaDelEditor(WPARAM tecla) {
  switch (tecla) {
    case VK_TAB:
      if (Pulsada(VK_CONTROL)) {
        SaltarControl(Pulsada(VK_SHIFT));
      } else {
        Avanzar(Pulsada(VK_SHIFT) ? -1 : 1, true);
      }
      return true;
    case VK_RETURN: Avanzar(1, true); return true;
    case VK_ESCAPE: Escape(); return true;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: return TeclaDeLaLista(tecla);
    default: return false;
  }
}

// Typing in a cell that can be edited opens it with what is typed.
void Rejilla::Caracter(wchar_t caracter, LPARAM lParam) {
  if (caracter < L' ' || caracter == 0x7F || !Editable(columnaActual_)) return;
  AbrirEditor();
  if (Editando()) SendMessageW(editor_, WM_CHAR, caracter, lParam);
}

// A click makes its cell current; a double click on a cell opens it.
void Rejilla::Clic(POINT punto, bool doble) {
  if (!ConFoco()) SetFocus(lista_);
  LVHITTESTINFO donde{};
  donde.pt = punto;
  if (SendMessageW(lista_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&donde)) < 0 || donde.iItem < 0) return;
  if (IrACelda(donde.iItem, donde.iSubItem) && doble) AbrirEditor();
}

// ---------------------------------------------------------------------------------------------------------
// The windows' procedures

LRESULT CALLBACK Rejilla::ProcLista(HWND /*ventana*/, UINT mensaje, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                    DWORD_PTR datos) {
  return reinterpret_cast<Rejilla*>(datos)->AtenderLista(mensaje, wParam, lParam);
}

LRESULT CALLBACK Rejilla::ProcTitulos(HWND /*ventana*/, UINT mensaje, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                      DWORD_PTR datos) {
  return reinterpret_cast<Rejilla*>(datos)->AtenderTitulos(mensaje, wParam, lParam);
}

LRESULT CALLBACK Rejilla::ProcEditor(HWND /*ventana*/, UINT mensaje, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                     DWORD_PTR datos) {
  return reinterpret_cast<Rejilla*>(datos)->AtenderEditor(mensaje, wParam, lParam);
}

LRESULT Rejilla::AtenderLista(UINT mensaje, WPARAM wParam, LPARAM lParam) {
  switch (mensaje) {
    case WM_NCDESTROY: RemoveWindowSubclass(lista_, &Rejilla::ProcLista, kSubclase); break;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB;
    case WM_KEYDOWN:
      if (TeclaDeLaLista(wParam)) return 0;
      break;
    case WM_CHAR: Caracter(static_cast<wchar_t>(wParam), lParam); return 0;
    // The list's own clicks would select rows and wait for a drag: the grid has a current cell instead.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      Clic({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}, mensaje == WM_LBUTTONDBLCLK);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      if (!ConFoco()) SetFocus(lista_);
      return 0;
    case WM_SETFOCUS: {
      LRESULT resultado = DefSubclassProc(lista_, mensaje, wParam, lParam);
      RedibujarFila(fuente_.FilaActual());
      if (alRecibirFoco_) alRecibirFoco_(lista_);
      return resultado;
    }
    case WM_KILLFOCUS: {
      LRESULT resultado = DefSubclassProc(lista_, mensaje, wParam, lParam);
      RedibujarFila(fuente_.FilaActual());
      return resultado;
    }
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == editor_ && HIWORD(wParam) == EN_CHANGE) TextoCambiado();
      return 0;
    case WM_NOTIFY: {
      const auto& aviso = *reinterpret_cast<const NMHDR*>(lParam);
      if (aviso.hwndFrom == titulos_ && aviso.code == NM_CUSTOMDRAW) {
        auto& dibujo = *reinterpret_cast<NMCUSTOMDRAW*>(lParam);
        switch (dibujo.dwDrawStage) {
          case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
          case CDDS_ITEMPREPAINT:
            PintarTitulo(dibujo.hdc, dibujo.rc, static_cast<int>(dibujo.dwItemSpec));
            return CDRF_SKIPDEFAULT;
          case CDDS_POSTPAINT: PintarTrasLosTitulos(dibujo.hdc); return CDRF_DODEFAULT;
          default: return CDRF_DODEFAULT;
        }
      }
      LRESULT resultado = DefSubclassProc(lista_, mensaje, wParam, lParam);
      if (aviso.hwndFrom == titulos_) ColocarEditor();  // a column's width changed
      return resultado;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: {
      LRESULT resultado = DefSubclassProc(lista_, mensaje, wParam, lParam);
      ColocarEditor();
      return resultado;
    }
    default: break;
  }
  return DefSubclassProc(lista_, mensaje, wParam, lParam);
}

// The titles' band is two lines of their font high.
LRESULT Rejilla::AtenderTitulos(UINT mensaje, WPARAM wParam, LPARAM lParam) {
  if (mensaje == WM_NCDESTROY) RemoveWindowSubclass(titulos_, &Rejilla::ProcTitulos, kSubclase);
  LRESULT resultado = DefSubclassProc(titulos_, mensaje, wParam, lParam);
  if (mensaje == HDM_LAYOUT && resultado != 0) {
    auto& disposicion = *reinterpret_cast<HDLAYOUT*>(lParam);
    disposicion.pwpos->cy = altoTitulos_;
    disposicion.prc->top = disposicion.pwpos->y + altoTitulos_;
  }
  return resultado;
}

LRESULT Rejilla::AtenderEditor(UINT mensaje, WPARAM wParam, LPARAM lParam) {
  switch (mensaje) {
    case WM_NCDESTROY: RemoveWindowSubclass(editor_, &Rejilla::ProcEditor, kSubclase); break;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DefSubclassProc(editor_, mensaje, wParam, lParam);
    case WM_KEYDOWN:
      if (TeclaDelEditor(wParam)) return 0;
      break;
    case WM_CHAR: {
      auto caracter = static_cast<wchar_t>(wParam);
      if (caracter == L'\r' || caracter == L'\t' || caracter == 0x1B) return 0;  // Enter, Tab and Escape were keys
      if (!fuente_.CaracterAdmitido(columnaEditor_, caracter)) return 0;
      break;
    }
    case WM_PASTE:
      if (!PegadoAdmitido()) return 0;
      break;
    case WM_SETFOCUS: {
      LRESULT resultado = DefSubclassProc(editor_, mensaje, wParam, lParam);
      if (alRecibirFoco_) alRecibirFoco_(editor_);
      return resultado;
    }
    default: break;
  }
  return DefSubclassProc(editor_, mensaje, wParam, lParam);
}

}  // namespace app::win32
