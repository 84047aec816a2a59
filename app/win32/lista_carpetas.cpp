#include "app/win32/lista_carpetas.h"

#include <shellapi.h>

#include "ventana/diseno_principal.h"

namespace app::win32 {

// ---------------------------------------------------------------------------------------------------------
// Icons

namespace {

Icono IconoDelSistema(SHSTOCKICONID id, UINT tamano) {
  SHSTOCKICONINFO info{};
  info.cbSize = sizeof info;
  if (FAILED(SHGetStockIconInfo(id, SHGSI_ICON | tamano, &info))) return Icono();
  return Icono(info.hIcon);
}

}  // namespace

IconosDelSistema::IconosDelSistema()
    : carpetaAbierta_{IconoDelSistema(SIID_FOLDEROPEN, SHGSI_SMALLICON), IconoDelSistema(SIID_FOLDEROPEN, SHGSI_LARGEICON)},
      carpetaCerrada_{IconoDelSistema(SIID_FOLDER, SHGSI_SMALLICON), IconoDelSistema(SIID_FOLDER, SHGSI_LARGEICON)},
      unidad_{IconoDelSistema(SIID_DRIVEFIXED, SHGSI_SMALLICON), IconoDelSistema(SIID_DRIVEFIXED, SHGSI_LARGEICON)} {}

// The small icon up to a little past its own size, then the large one shrunk: each loses least that way.
HICON IconosDelSistema::Elegir(const Par& par, int lado) {
  const int pequeno = GetSystemMetrics(SM_CXSMICON);
  if (lado <= pequeno + pequeno / 4 || par.grande.Get() == nullptr) return par.pequeno.Get();
  return par.grande.Get();
}

void DibujarEntrada(const DRAWITEMSTRUCT& item, HICON icono, int ladoIcono, int sangria, std::wstring_view texto,
                    COLORREF tinta) {
  HDC dc = item.hDC;
  const RECT& caja = item.rcItem;
  const bool seleccionada = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &caja, GetSysColorBrush(seleccionada ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID != static_cast<UINT>(-1)) {
    const int alto = caja.bottom - caja.top;
    int x = caja.left + 2 + sangria;
    if (icono != nullptr) {
      DrawIconEx(dc, x, caja.top + (alto - ladoIcono) / 2, icono, ladoIcono, ladoIcono, 0, nullptr, DI_NORMAL);
    }
    x += ladoIcono + 3;
    RECT zonaTexto{x, caja.top, caja.right, caja.bottom};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, seleccionada ? GetSysColor(COLOR_HIGHLIGHTTEXT) : tinta);
    DrawTextW(dc, texto.data(), static_cast<int>(texto.size()), &zonaTexto,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) DrawFocusRect(dc, &caja);
}

// ---------------------------------------------------------------------------------------------------------
// The list

void ListaCarpetas::Crear(HWND padre, int id) {
  lista_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                               LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                           0, 0, 0, 0, padre, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

void ListaCarpetas::MostrarCarpeta(const std::string& carpeta) {
  ventana::EntradasCarpeta lista = ventana::EntradasDeCarpeta(carpeta);
  entradas_ = std::move(lista.entradas);
  SendMessageW(lista_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(lista_, LB_RESETCONTENT, 0, 0);
  for (const ventana::EntradaCarpeta& entrada : entradas_) {
    SendMessageW(lista_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entrada.texto).c_str()));
  }
  SendMessageW(lista_, LB_SETCURSEL, lista.actual, 0);
  SendMessageW(lista_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(lista_, nullptr, TRUE);
}

std::optional<std::string> ListaCarpetas::RutaDe(LRESULT indice) const {
  if (indice < 0 || static_cast<std::size_t>(indice) >= entradas_.size()) return std::nullopt;
  return entradas_[static_cast<std::size_t>(indice)].ruta;
}

std::optional<std::string> ListaCarpetas::RutaSeleccionada() const {
  return RutaDe(SendMessageW(lista_, LB_GETCURSEL, 0, 0));
}

// LB_ITEMFROMPOINT gives the nearest entry and says, in its high word, whether the point lies outside it.
std::optional<std::string> ListaCarpetas::RutaEnPunto(POINT punto) const {
  const LRESULT respuesta = SendMessageW(lista_, LB_ITEMFROMPOINT, 0, MAKELPARAM(punto.x, punto.y));
  if (HIWORD(respuesta) != 0) return std::nullopt;
  return RutaDe(LOWORD(respuesta));
}

UINT ListaCarpetas::AltoDeFila(UINT dpi) { return static_cast<UINT>(Escalar(diseno::kAltoEntradaCarpeta, dpi)); }

void ListaCarpetas::CambiarDpi(UINT dpi) { SendMessageW(lista_, LB_SETITEMHEIGHT, 0, AltoDeFila(dpi)); }

void ListaCarpetas::Dibujar(const DRAWITEMSTRUCT& item, UINT dpi, COLORREF tinta) const {
  const int lado = Escalar(diseno::kLadoIconoCarpeta, dpi);
  if (item.itemID >= entradas_.size()) {
    DibujarEntrada(item, nullptr, lado, 0, {}, tinta);
    return;
  }
  const ventana::EntradaCarpeta& entrada = entradas_[item.itemID];
  HICON icono = entrada.abierta ? iconos_.CarpetaAbierta(lado) : iconos_.CarpetaCerrada(lado);
  DibujarEntrada(item, icono, lado, Escalar(entrada.nivel * diseno::kSangriaCarpeta, dpi), Wide(entrada.texto), tinta);
}

}  // namespace app::win32
