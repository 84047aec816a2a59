#include "app/win32/comun.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "app/win32/recursos.h"
#include "ventana/diseno_principal.h"

namespace app::win32 {

// ---------------------------------------------------------------------------------------------------------
// Text

std::string TextoDe(HWND ventana) {
  std::wstring texto(static_cast<std::size_t>(GetWindowTextLengthW(ventana)) + 1, L'\0');
  texto.resize(static_cast<std::size_t>(GetWindowTextW(ventana, texto.data(), static_cast<int>(texto.size()))));
  return Narrow(texto);
}

void PonerTexto(HWND ventana, std::string_view utf8) { SetWindowTextW(ventana, Wide(utf8).c_str()); }

// ---------------------------------------------------------------------------------------------------------
// Sizes and colours

int Escalar(int pixeles96, UINT dpi) { return MulDiv(pixeles96, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI); }

// Each edge on its own, so that boxes that touch at 96 dpi still touch.
RECT Escalar(const RECT& caja96, UINT dpi) {
  return {Escalar(caja96.left, dpi), Escalar(caja96.top, dpi), Escalar(caja96.right, dpi), Escalar(caja96.bottom, dpi)};
}

RECT Escalar(const ventana::Caja& caja96, UINT dpi) {
  return Escalar(RECT{caja96.izquierda, caja96.arriba, caja96.Derecha(), caja96.Abajo()}, dpi);
}

UINT DpiDe(HWND ventana) {
  const UINT dpi = ventana != nullptr ? GetDpiForWindow(ventana) : 0;
  return dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

COLORREF ColorDe(const ventana::Color& color) {
  switch (color.sistema) {
    case ventana::Color::Sistema::kEscritorio: return GetSysColor(COLOR_BACKGROUND);
    case ventana::Color::Sistema::kResalte: return GetSysColor(COLOR_HOTLIGHT);
    case ventana::Color::Sistema::kNinguno: break;
  }
  return RGB(color.rgb.rojo, color.rgb.verde, color.rgb.azul);
}

// ---------------------------------------------------------------------------------------------------------
// Fonts

std::wstring CaraADpi(std::string_view cara, UINT dpi) {
  if (dpi > USER_DEFAULT_SCREEN_DPI && cara == "MS Sans Serif") return L"Microsoft Sans Serif";
  return Wide(cara);
}

Fuente::Fuente(const ventana::Letra& diseno, UINT dpi, int alto) {
  LOGFONTW letra{};
  letra.lfHeight = alto > 0 ? -alto : -MulDiv(diseno.puntos, static_cast<int>(dpi), 72);
  letra.lfWeight = diseno.negrita ? FW_BOLD : FW_NORMAL;
  letra.lfUnderline = diseno.subrayada ? TRUE : FALSE;
  letra.lfCharSet = DEFAULT_CHARSET;
  letra.lfOutPrecision = OUT_DEFAULT_PRECIS;
  letra.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  letra.lfQuality = DEFAULT_QUALITY;
  letra.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  const std::wstring cara = CaraADpi(diseno.cara, dpi);
  const std::size_t largo = std::min(cara.size(), static_cast<std::size_t>(LF_FACESIZE - 1));
  std::wmemcpy(letra.lfFaceName, cara.data(), largo);
  handle_ = CreateFontIndirectW(&letra);
}

namespace {

// The box a text takes in the font selected into `dc`, wrapped at `ancho` with DT_WORDBREAK; and its lines.
struct Medida {
  int ancho = 0;
  int alto = 0;
  int lineas = 0;
};

Medida Medir(HDC dc, HFONT fuente, std::wstring_view texto, int ancho, UINT forma) {
  HGDIOBJ anterior = SelectObject(dc, fuente);
  RECT caja{0, 0, ancho, 0};
  DrawTextW(dc, texto.data(), static_cast<int>(texto.size()), &caja, forma | DT_CALCRECT);
  TEXTMETRICW medidas{};
  GetTextMetricsW(dc, &medidas);
  SelectObject(dc, anterior);
  const int linea = std::max<int>(1, medidas.tmHeight);
  return {caja.right - caja.left, caja.bottom - caja.top, (caja.bottom - caja.top + linea - 1) / linea};
}

}  // namespace

Fuente FuenteQueCabe(HDC dc, const ventana::Letra& letra, std::wstring_view texto, const ventana::Caja& caja96,
                     UINT forma, UINT dpi) {
  Fuente fuente(letra, dpi);
  if (dpi == USER_DEFAULT_SCREEN_DPI) return fuente;
  const int lineas96 = Medir(dc, Fuente(letra, USER_DEFAULT_SCREEN_DPI).Handle(), texto, caja96.ancho, forma).lineas;
  const int ancho = Escalar(caja96.ancho, dpi);
  const int alto = Escalar(caja96.alto, dpi);
  const int altoDiseno = MulDiv(letra.puntos, static_cast<int>(dpi), 72);
  // Never below the 96-dpi size: a text that fits nowhere keeps a readable font.
  for (int pixeles = altoDiseno; pixeles > MulDiv(letra.puntos, USER_DEFAULT_SCREEN_DPI, 72); --pixeles) {
    Fuente prueba(letra, dpi, pixeles);
    const Medida medida = Medir(dc, prueba.Handle(), texto, ancho, forma);
    if (medida.lineas <= lineas96 && medida.ancho <= ancho && medida.alto <= alto) return prueba;
  }
  return fuente;
}

Fuente::~Fuente() {
  if (handle_ != nullptr) DeleteObject(handle_);
}

Fuente::Fuente(Fuente&& otra) noexcept : handle_(std::exchange(otra.handle_, nullptr)) {}

Fuente& Fuente::operator=(Fuente&& otra) noexcept {
  if (this != &otra) {
    if (handle_ != nullptr) DeleteObject(handle_);
    handle_ = std::exchange(otra.handle_, nullptr);
  }
  return *this;
}

// ---------------------------------------------------------------------------------------------------------
// Painting

LienzoDoble::LienzoDoble(HDC destino, const RECT& area)
    : destino_(destino),
      area_(area),
      memoria_(CreateCompatibleDC(destino)),
      mapa_(CreateCompatibleBitmap(destino, std::max<LONG>(1, area.right - area.left),
                                   std::max<LONG>(1, area.bottom - area.top))),
      anterior_(SelectObject(memoria_, mapa_.Get())) {
  // The bitmap's origin is the area's top left: painting goes on in the destination's coordinates.
  SetWindowOrgEx(memoria_, area.left, area.top, &origen_);
}

LienzoDoble::~LienzoDoble() {
  BitBlt(destino_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, memoria_, area_.left,
         area_.top, SRCCOPY);
  SetWindowOrgEx(memoria_, origen_.x, origen_.y, nullptr);
  SelectObject(memoria_, anterior_);
  DeleteDC(memoria_);
}

namespace {

TRIVERTEX Vertice(LONG x, LONG y, COLORREF color) {
  TRIVERTEX vertice{};
  vertice.x = x;
  vertice.y = y;
  vertice.Red = static_cast<COLOR16>(GetRValue(color) << 8);
  vertice.Green = static_cast<COLOR16>(GetGValue(color) << 8);
  vertice.Blue = static_cast<COLOR16>(GetBValue(color) << 8);
  vertice.Alpha = 0;
  return vertice;
}

}  // namespace

void PintarDegradado(HDC dc, const RECT& caja, COLORREF desde, COLORREF hasta, bool vertical) {
  if (caja.right <= caja.left || caja.bottom <= caja.top) return;
  TRIVERTEX vertices[2] = {Vertice(caja.left, caja.top, desde), Vertice(caja.right, caja.bottom, hasta)};
  GRADIENT_RECT rectangulo{0, 1};
  GradientFill(dc, vertices, 2, &rectangulo, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

void PintarDegradado(HDC dc, const RECT& caja, COLORREF inicio, COLORREF medio, COLORREF fin) {
  const LONG mitad = caja.top + (caja.bottom - caja.top) / 2;
  PintarDegradado(dc, RECT{caja.left, caja.top, caja.right, mitad}, inicio, medio, true);
  PintarDegradado(dc, RECT{caja.left, mitad, caja.right, caja.bottom}, medio, fin, true);
}

// ---------------------------------------------------------------------------------------------------------
// Message boxes

namespace {

// Renames the one button of each message box this thread opens while it lives.
class RenombrarBotonDelCuadro {
 public:
  RenombrarBotonDelCuadro()
      : gancho_(SetWindowsHookExW(WH_CBT, &RenombrarBotonDelCuadro::AlActivar, nullptr, GetCurrentThreadId())) {}
  ~RenombrarBotonDelCuadro() {
    if (gancho_ != nullptr) UnhookWindowsHookEx(gancho_);
  }
  RenombrarBotonDelCuadro(const RenombrarBotonDelCuadro&) = delete;
  RenombrarBotonDelCuadro& operator=(const RenombrarBotonDelCuadro&) = delete;

 private:
  static bool EsCuadroDeMensaje(HWND ventana) {
    wchar_t clase[16] = {};
    GetClassNameW(ventana, clase, 16);
    return std::wcscmp(clase, L"#32770") == 0 && GetDlgItem(ventana, IDOK) != nullptr;
  }

  // The box is built and about to show: its OK button is there.
  static LRESULT CALLBACK AlActivar(int codigo, WPARAM wParam, LPARAM lParam) {
    if (codigo == HCBT_ACTIVATE) {
      auto cuadro = reinterpret_cast<HWND>(wParam);
      if (EsCuadroDeMensaje(cuadro)) SetDlgItemTextW(cuadro, IDOK, L"Aceptar");
    }
    return CallNextHookEx(nullptr, codigo, wParam, lParam);
  }

  HHOOK gancho_;
};

// Names the two buttons of each question box this thread opens while it lives "Sí" and "No", and makes Escape
// (IDCANCEL, which a box without a cancel button ignores) press "No".
class PrepararPregunta {
 public:
  PrepararPregunta()
      : gancho_(SetWindowsHookExW(WH_CBT, &PrepararPregunta::AlActivar, nullptr, GetCurrentThreadId())) {}
  ~PrepararPregunta() {
    if (gancho_ != nullptr) UnhookWindowsHookEx(gancho_);
  }
  PrepararPregunta(const PrepararPregunta&) = delete;
  PrepararPregunta& operator=(const PrepararPregunta&) = delete;

 private:
  static constexpr UINT_PTR kSubclase = 1;

  static LRESULT CALLBACK AlActivar(int codigo, WPARAM wParam, LPARAM lParam) {
    if (codigo == HCBT_ACTIVATE) {
      auto cuadro = reinterpret_cast<HWND>(wParam);
      wchar_t clase[16] = {};
      GetClassNameW(cuadro, clase, 16);
      const bool pregunta = std::wcscmp(clase, L"#32770") == 0 && GetDlgItem(cuadro, IDYES) != nullptr &&
                            GetDlgItem(cuadro, IDNO) != nullptr;
      if (pregunta) {
        SetDlgItemTextW(cuadro, IDYES, L"&S\u00ED");
        SetDlgItemTextW(cuadro, IDNO, L"&No");
        SetWindowSubclass(cuadro, &PrepararPregunta::EscapeEsNo, kSubclase, 0);
      }
    }
    return CallNextHookEx(nullptr, codigo, wParam, lParam);
  }

  static LRESULT CALLBACK EscapeEsNo(HWND cuadro, UINT mensaje, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                     DWORD_PTR /*datos*/) {
    if (mensaje == WM_NCDESTROY) RemoveWindowSubclass(cuadro, &PrepararPregunta::EscapeEsNo, kSubclase);
    if (mensaje == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
      HWND no = GetDlgItem(cuadro, IDNO);
      return DefSubclassProc(cuadro, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), reinterpret_cast<LPARAM>(no));
    }
    return DefSubclassProc(cuadro, mensaje, wParam, lParam);
  }

  HHOOK gancho_;
};

}  // namespace

HICON IconoPrograma(int metricaAncho, int metricaAlto) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAMA), IMAGE_ICON,
                                       GetSystemMetrics(metricaAncho), GetSystemMetrics(metricaAlto), LR_SHARED));
}

void RegistrarClase(const wchar_t* nombre, WNDPROC procedimiento, HBRUSH fondo, UINT estilos) {
  HINSTANCE instancia = GetModuleHandleW(nullptr);
  WNDCLASSEXW clase{};
  clase.cbSize = sizeof clase;
  if (GetClassInfoExW(instancia, nombre, &clase)) return;
  clase.cbSize = sizeof clase;
  clase.style = estilos;
  clase.lpfnWndProc = procedimiento;
  clase.hInstance = instancia;
  clase.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  // The program's icon on the title bar and the taskbar button of each of its top-level windows (a child
  // window's class icon is never shown); none in a module without it, such as a test's.
  clase.hIcon = IconoPrograma(SM_CXICON, SM_CYICON);
  clase.hIconSm = IconoPrograma(SM_CXSMICON, SM_CYSMICON);
  clase.hbrBackground = fondo;
  clase.lpszClassName = nombre;
  RegisterClassExW(&clase);
}

void MostrarMensaje(HWND propietario, const std::string& texto, bool error) {
  RenombrarBotonDelCuadro renombrar;
  UINT estilo = MB_OK | (error ? MB_ICONHAND : 0u) | (propietario != nullptr ? MB_APPLMODAL : MB_TASKMODAL);
  MessageBoxW(propietario, Wide(texto).c_str(), Wide(ventana::kTituloAplicacion).c_str(), estilo);
}

bool Preguntar(HWND propietario, const std::string& texto) {
  PrepararPregunta preparar;
  UINT estilo = MB_YESNO | MB_ICONQUESTION | (propietario != nullptr ? MB_APPLMODAL : MB_TASKMODAL);
  return MessageBoxW(propietario, Wide(texto).c_str(), Wide(ventana::kTituloAplicacion).c_str(), estilo) == IDYES;
}

// ---------------------------------------------------------------------------------------------------------
// The hourglass

namespace {

int esperas = 0;  // the CursorEspera objects alive: the window runs on one thread

// Lets the window under the mouse set its own cursor again, as if the mouse had moved.
void RestaurarCursor() {
  POINT punto{};
  GetCursorPos(&punto);
  HWND ventana = WindowFromPoint(punto);
  if (ventana == nullptr || GetWindowThreadProcessId(ventana, nullptr) != GetCurrentThreadId()) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    return;
  }
  const LRESULT zona = SendMessageW(ventana, WM_NCHITTEST, 0, MAKELPARAM(punto.x, punto.y));
  SendMessageW(ventana, WM_SETCURSOR, reinterpret_cast<WPARAM>(ventana),
               MAKELPARAM(static_cast<WORD>(zona), WM_MOUSEMOVE));
}

}  // namespace

CursorEspera::CursorEspera() {
  if (esperas++ == 0) SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

CursorEspera::~CursorEspera() {
  if (--esperas == 0) RestaurarCursor();
}

bool PonerCursorEspera() {
  if (esperas == 0) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

void MostrarModal(HWND dialogo, HWND propietario, const bool& cerrado, const std::function<void()>& enfocar) {
  const bool desactivado = propietario != nullptr && IsWindowEnabled(propietario);
  if (desactivado) EnableWindow(propietario, FALSE);
  ShowWindow(dialogo, SW_SHOW);
  SetForegroundWindow(dialogo);
  enfocar();
  UpdateWindow(dialogo);
  MSG mensaje{};
  while (!cerrado) {
    const BOOL leido = GetMessageW(&mensaje, nullptr, 0, 0);
    if (leido == 0) {
      PostQuitMessage(static_cast<int>(mensaje.wParam));
      break;
    }
    if (leido < 0) break;
    if (!IsDialogMessageW(dialogo, &mensaje)) {
      TranslateMessage(&mensaje);
      DispatchMessageW(&mensaje);
    }
  }
  if (desactivado) EnableWindow(propietario, TRUE);
  ShowWindow(dialogo, SW_HIDE);
}

}  // namespace app::win32
