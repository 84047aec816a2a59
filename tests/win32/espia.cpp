// espia.exe: what a tester reads off the screen, for a test that drives the window program from outside with
// real input (xdotool under Wine). It looks at the windows of the desktop it runs on, as a spy tool would, and
// prints screen coordinates in pixels; exit status 1 when the window or control is not there.
//   espia ventana TITULO              the window's box and its client area's: "x y ancho alto cx cy cancho calto"
//   espia control TITULO TEXTO [N]    the centre of the Nth (from 1) control of the window with that text: "x y"
//   espia celda TITULO FILA COLUMNA   the centre of a cell (from 0) of the window's grid: "x y"
//   espia mensaje TITULO              the text of the message box with that title
//   espia aceptar TITULO              the centre of that message box's button: "x y"
//   espia boton TITULO TEXTO          the centre of the message box's button with that text: "x y"
//   espia filas TITULO                the number of rows of the window's list
//   espia menu                        the box of the open popup menu: "x y ancho alto"
//   espia activa TITULO               "1" when that window is the active one of the desktop
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& texto) {
  if (texto.empty()) return {};
  int bytes = WideCharToMultiByte(CP_UTF8, 0, texto.data(), static_cast<int>(texto.size()), nullptr, 0, nullptr, nullptr);
  std::string salida(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, texto.data(), static_cast<int>(texto.size()), salida.data(), bytes, nullptr, nullptr);
  return salida;
}

std::wstring Texto(HWND ventana) {
  wchar_t texto[512] = {};
  GetWindowTextW(ventana, texto, 512);
  return texto;
}

bool EsCuadroDeMensaje(HWND ventana) {
  wchar_t clase[64] = {};
  GetClassNameW(ventana, clase, 64);
  return std::wstring(clase) == L"#32770";
}

// The visible top-level window with that title: a message box only when one is asked for.
HWND Ventana(const std::wstring& titulo, bool cuadroDeMensaje) {
  struct Busqueda {
    const std::wstring* titulo;
    bool cuadro;
    HWND hallada;
  } busqueda{&titulo, cuadroDeMensaje, nullptr};
  EnumWindows(
      [](HWND ventana, LPARAM dato) -> BOOL {
        auto* b = reinterpret_cast<Busqueda*>(dato);
        if (!IsWindowVisible(ventana) || Texto(ventana) != *b->titulo || EsCuadroDeMensaje(ventana) != b->cuadro) {
          return TRUE;
        }
        b->hallada = ventana;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&busqueda));
  return busqueda.hallada;
}

std::vector<HWND> Hijas(HWND ventana) {
  std::vector<HWND> hijas;
  for (HWND hija = GetWindow(ventana, GW_CHILD); hija != nullptr; hija = GetWindow(hija, GW_HWNDNEXT)) {
    hijas.push_back(hija);
  }
  return hijas;
}

HWND HijaDeClase(HWND ventana, const wchar_t* clase) { return FindWindowExW(ventana, nullptr, clase, nullptr); }

int Ventana(const std::wstring& titulo) {
  HWND ventana = Ventana(titulo, false);
  if (ventana == nullptr) return 1;
  RECT caja{};
  RECT cliente{};
  GetWindowRect(ventana, &caja);
  GetClientRect(ventana, &cliente);
  POINT origen{0, 0};
  ClientToScreen(ventana, &origen);
  std::printf("%ld %ld %ld %ld %ld %ld %ld %ld\n", caja.left, caja.top, caja.right - caja.left, caja.bottom - caja.top,
              origen.x, origen.y, cliente.right, cliente.bottom);
  return 0;
}

int Control(HWND ventana, const std::wstring& texto, int enesimo) {
  if (ventana == nullptr) return 1;
  for (HWND hija : Hijas(ventana)) {
    if (Texto(hija) != texto || --enesimo > 0) continue;
    RECT caja{};
    GetWindowRect(hija, &caja);
    std::printf("%ld %ld\n", (caja.left + caja.right) / 2, (caja.top + caja.bottom) / 2);
    return 0;
  }
  return 1;
}

// From outside the program only messages without pointers answer: the column widths, and the height that
// a number of rows takes.
int Celda(const std::wstring& titulo, int fila, int columna) {
  HWND ventana = Ventana(titulo, false);
  HWND rejilla = ventana != nullptr ? HijaDeClase(ventana, WC_LISTVIEWW) : nullptr;
  if (rejilla == nullptr) return 1;
  HWND cabecera = HijaDeClase(rejilla, WC_HEADERW);
  RECT cajaCabecera{};
  if (cabecera != nullptr && IsWindowVisible(cabecera)) GetWindowRect(cabecera, &cajaCabecera);
  const int altoCabecera = cajaCabecera.bottom - cajaCabecera.top;
  auto altoDe = [rejilla](int filas) {
    return HIWORD(SendMessageW(rejilla, LVM_APPROXIMATEVIEWRECT, static_cast<WPARAM>(filas), MAKELPARAM(-1, -1)));
  };
  const int altoFila = altoDe(2) - altoDe(1);
  const int primera = static_cast<int>(SendMessageW(rejilla, LVM_GETTOPINDEX, 0, 0));
  int izquierda = 0;
  for (int antes = 0; antes < columna; ++antes) {
    izquierda += static_cast<int>(SendMessageW(rejilla, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(antes), 0));
  }
  const int ancho = static_cast<int>(SendMessageW(rejilla, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(columna), 0));
  POINT centro{izquierda + ancho / 2, altoCabecera + (fila - primera) * altoFila + altoFila / 2};
  ClientToScreen(rejilla, &centro);
  std::printf("%ld %ld\n", centro.x, centro.y);
  return 0;
}

int Filas(const std::wstring& titulo) {
  HWND ventana = Ventana(titulo, false);
  HWND lista = ventana != nullptr ? HijaDeClase(ventana, WC_LISTVIEWW) : nullptr;
  if (lista == nullptr) return 1;
  std::printf("%ld\n", static_cast<long>(SendMessageW(lista, LVM_GETITEMCOUNT, 0, 0)));
  return 0;
}

// The popup menu that is open (the system menu's, say): a window of the menus' class.
int Menu() {
  HWND menu = nullptr;
  EnumWindows(
      [](HWND ventana, LPARAM dato) -> BOOL {
        wchar_t clase[64] = {};
        GetClassNameW(ventana, clase, 64);
        if (!IsWindowVisible(ventana) || std::wstring(clase) != L"#32768") return TRUE;
        *reinterpret_cast<HWND*>(dato) = ventana;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&menu));
  if (menu == nullptr) return 1;
  RECT caja{};
  GetWindowRect(menu, &caja);
  std::printf("%ld %ld %ld %ld\n", caja.left, caja.top, caja.right - caja.left, caja.bottom - caja.top);
  return 0;
}

int Mensaje(const std::wstring& titulo) {
  HWND cuadro = Ventana(titulo, true);
  if (cuadro == nullptr) return 1;
  for (HWND hija : Hijas(cuadro)) {
    wchar_t clase[64] = {};
    GetClassNameW(hija, clase, 64);
    if (std::wstring(clase) != L"Static" || Texto(hija).empty()) continue;
    std::printf("%s\n", Utf8(Texto(hija)).c_str());
    return 0;
  }
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> a(argv + 1, argv + argc);
  if (a.size() == 2 && a[0] == L"ventana") return Ventana(a[1]);
  if ((a.size() == 3 || a.size() == 4) && a[0] == L"control") {
    return Control(Ventana(a[1], false), a[2], a.size() == 4 ? std::stoi(a[3]) : 1);
  }
  if (a.size() == 2 && a[0] == L"aceptar") return Control(Ventana(a[1], true), L"Aceptar", 1);
  if (a.size() == 3 && a[0] == L"boton") return Control(Ventana(a[1], true), a[2], 1);
  if (a.size() == 2 && a[0] == L"filas") return Filas(a[1]);
  if (a.size() == 1 && a[0] == L"menu") return Menu();
  if (a.size() == 2 && a[0] == L"activa") {
    HWND ventana = Ventana(a[1], false);
    if (ventana == nullptr || GetForegroundWindow() != ventana) return 1;
    std::puts("1");
    return 0;
  }
  if (a.size() == 4 && a[0] == L"celda") return Celda(a[1], std::stoi(a[2]), std::stoi(a[3]));
  if (a.size() == 2 && a[0] == L"mensaje") return Mensaje(a[1]);
  std::fputs("espia ventana|control|celda|mensaje|aceptar|boton|filas|activa TITULO ..., espia menu\n", stderr);
  return 2;
}
