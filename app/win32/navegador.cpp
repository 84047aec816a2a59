#include "app/win32/navegador.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <utility>
#include <vector>

#include "app/win32/comun.h"

namespace app::win32 {
namespace {

constexpr wchar_t kClase[] = L"EscolanNavegador";
constexpr UINT_PTR kTemporizador = 1;
constexpr int kBotones = static_cast<int>(ventana::kBotonesNavegador.size());

// A glyph is drawn in a box of 12 by 10 pixels at 96 dpi, centred on its button.
constexpr double kAnchoGlifo = 12;
constexpr double kAltoGlifo = 10;

// Where and how big a glyph is drawn, in the button's device pixels.
struct Trazo {
  HDC dc;
  double escala;
  double x;
  double y;

  POINT Punto(double px, double py) const {
    return {static_cast<LONG>(std::lround(x + px * escala)), static_cast<LONG>(std::lround(y + py * escala))};
  }
  void Poligono(std::initializer_list<std::pair<double, double>> puntos) const {
    std::vector<POINT> vertices;
    for (const auto& [px, py] : puntos) vertices.push_back(Punto(px, py));
    ::Polygon(dc, vertices.data(), static_cast<int>(vertices.size()));
  }
  // A straight stroke `grosor` pixels thick (at 96 dpi) from one point to another.
  void Linea(double x0, double y0, double x1, double y1, double grosor) const {
    double largo = std::hypot(x1 - x0, y1 - y0);
    double nx = -(y1 - y0) / largo * grosor / 2;
    double ny = (x1 - x0) / largo * grosor / 2;
    Poligono({{x0 + nx, y0 + ny}, {x1 + nx, y1 + ny}, {x1 - nx, y1 - ny}, {x0 - nx, y0 - ny}});
  }
};

// The buttons' glyphs, in the order of ventana::kBotonesNavegador: bars and triangles to move, a triangle up
// to edit, a tick to post, a cross to cancel, a round arrow to refresh.
void DibujarGlifo(const Trazo& t, ventana::AccionNavegador accion) {
  using A = ventana::AccionNavegador;
  switch (accion) {
    case A::kPrimero:
      t.Poligono({{1, 0}, {3, 0}, {3, 10}, {1, 10}});
      t.Poligono({{10, 0}, {10, 10}, {4, 5}});
      break;
    case A::kPaginaAnterior:
      t.Poligono({{6, 0}, {6, 10}, {1, 5}});
      t.Poligono({{11, 0}, {11, 10}, {6, 5}});
      break;
    case A::kAnterior: t.Poligono({{8, 0}, {8, 10}, {3, 5}}); break;
    case A::kSiguiente: t.Poligono({{4, 0}, {4, 10}, {9, 5}}); break;
    case A::kPaginaSiguiente:
      t.Poligono({{1, 0}, {1, 10}, {6, 5}});
      t.Poligono({{6, 0}, {6, 10}, {11, 5}});
      break;
    case A::kUltimo:
      t.Poligono({{2, 0}, {2, 10}, {8, 5}});
      t.Poligono({{9, 0}, {11, 0}, {11, 10}, {9, 10}});
      break;
    case A::kEditar: t.Poligono({{1, 8}, {11, 8}, {6, 2}}); break;
    case A::kPublicar:
      t.Linea(1, 5, 4.5, 8.5, 2);
      t.Linea(4, 9, 11, 1, 2);
      break;
    case A::kCancelar:
      t.Linea(2, 1, 10, 9, 2);
      t.Linea(10, 1, 2, 9, 2);
      break;
    case A::kReleer: {
      constexpr double kPi = std::numbers::pi;
      const double cx = 6;
      const double cy = 5;
      const double radio = 4;
      double antes = -0.3 * kPi;
      for (double angulo = antes + kPi / 8; angulo <= 1.35 * kPi; angulo += kPi / 8) {
        t.Linea(cx + radio * std::cos(antes), cy + radio * std::sin(antes), cx + radio * std::cos(angulo),
                cy + radio * std::sin(angulo), 1.6);
        antes = angulo;
      }
      // The arrow's head at the start of the arc, pointing up.
      double px = cx + radio * std::cos(-0.3 * kPi);
      double py = cy + radio * std::sin(-0.3 * kPi);
      t.Poligono({{px - 2.5, py - 1}, {px + 2, py - 2.5}, {px + 1.5, py + 2.5}});
      break;
    }
  }
}

// The button's glyph in `color`, `desplazamiento` device pixels down and right of its place.
// The device context has the DC brush and pen selected.
void PintarGlifo(HDC dc, const RECT& caja, double escala, ventana::AccionNavegador accion, COLORREF color,
                 int desplazamiento) {
  SetDCBrushColor(dc, color);
  SetDCPenColor(dc, color);
  double x = (caja.left + caja.right - kAnchoGlifo * escala) / 2 + desplazamiento;
  double y = (caja.top + caja.bottom - kAltoGlifo * escala) / 2 + desplazamiento;
  DibujarGlifo({dc, escala, std::floor(x), std::floor(y)}, accion);
}

// The theme of push buttons while it lives (none under the classic look).
class TemaBoton {
 public:
  explicit TemaBoton(HWND ventana) : tema_(OpenThemeData(ventana, L"BUTTON")) {}
  ~TemaBoton() {
    if (tema_ != nullptr) CloseThemeData(tema_);
  }
  TemaBoton(const TemaBoton&) = delete;
  TemaBoton& operator=(const TemaBoton&) = delete;
  HTHEME Handle() const { return tema_; }

 private:
  HTHEME tema_;
};

}  // namespace

Navegador::Navegador(HWND padre, const wchar_t* nombre, const RECT& caja, UINT dpi, const ventana::FuenteDatos& fuente,
                     Accion accion)
    : dpi_(dpi), fuente_(fuente), accion_(std::move(accion)) {
  RegistrarClase(kClase, &Navegador::Procedimiento, nullptr, CS_HREDRAW | CS_VREDRAW);
  ventana_ = CreateWindowExW(0, kClase, nombre, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, caja.left, caja.top,
                             caja.right - caja.left, caja.bottom - caja.top, padre, nullptr, GetModuleHandleW(nullptr),
                             this);
  if (ventana_ == nullptr) return;
  CrearPistas();
  Actualizar();
}

// The tooltips go with their owner, the navigator; both may have gone with the dialog already.
Navegador::~Navegador() {
  if (ventana_ == nullptr || !IsWindow(ventana_)) return;
  SetWindowLongPtrW(ventana_, GWLP_USERDATA, 0);
  DestroyWindow(ventana_);
}

// The buttons share the width, the spare pixels going one each to the first ones.
RECT Navegador::CajaBoton(int boton) const {
  RECT cliente{};
  GetClientRect(ventana_, &cliente);
  int ancho = cliente.right / kBotones;
  int sobra = cliente.right % kBotones;
  int x = boton * ancho + std::min(boton, sobra);
  return {x, 0, x + ancho + (boton < sobra ? 1 : 0), cliente.bottom};
}

int Navegador::BotonEn(POINT punto) const {
  for (int boton = 0; boton < kBotones; ++boton) {
    RECT caja = CajaBoton(boton);
    if (PtInRect(&caja, punto)) return boton;
  }
  return -1;
}

// One tool per button, its hint as the tooltip's text.
void Navegador::CrearPistas() {
  pistas_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, ventana_, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (pistas_ == nullptr) return;
  for (int boton = 0; boton < kBotones; ++boton) {
    std::wstring pista = Wide(ventana::kBotonesNavegador[static_cast<std::size_t>(boton)].pista);
    TTTOOLINFOW herramienta{};
    herramienta.cbSize = sizeof herramienta;
    herramienta.uFlags = TTF_SUBCLASS;
    herramienta.hwnd = ventana_;
    herramienta.uId = static_cast<UINT_PTR>(boton);
    herramienta.rect = CajaBoton(boton);
    herramienta.lpszText = pista.data();
    SendMessageW(pistas_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&herramienta));
  }
}

void Navegador::Colocar(const RECT& caja, UINT dpi) {
  dpi_ = dpi;
  SetWindowPos(ventana_, nullptr, caja.left, caja.top, caja.right - caja.left, caja.bottom - caja.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  for (int boton = 0; boton < kBotones; ++boton) {
    TTTOOLINFOW herramienta{};
    herramienta.cbSize = sizeof herramienta;
    herramienta.hwnd = ventana_;
    herramienta.uId = static_cast<UINT_PTR>(boton);
    herramienta.rect = CajaBoton(boton);
    SendMessageW(pistas_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&herramienta));
  }
  InvalidateRect(ventana_, nullptr, FALSE);
}

void Navegador::Actualizar() {
  for (std::size_t i = 0; i < habilitados_.size(); ++i) {
    bool habilitado = fuente_.Aplicable(ventana::kBotonesNavegador[i].accion);
    if (habilitado == habilitados_[i]) continue;
    habilitados_[i] = habilitado;
    if (ventana_ != nullptr) {
      RECT caja = CajaBoton(static_cast<int>(i));
      InvalidateRect(ventana_, &caja, FALSE);
    }
  }
}

// ---------------------------------------------------------------------------------------------------------
// Drawing

void Navegador::Pintar(HDC dc) const {
  TemaBoton tema(ventana_);
  Seleccion pincel(dc, GetStockObject(DC_BRUSH));
  Seleccion lapiz(dc, GetStockObject(DC_PEN));
  const double escala = dpi_ / 96.0;
  for (int boton = 0; boton < kBotones; ++boton) {
    RECT caja = CajaBoton(boton);
    bool habilitado = Habilitado(boton);
    bool hundido = habilitado && boton == pulsado_ && dentro_;
    if (tema.Handle() != nullptr) {
      int estado = !habilitado ? PBS_DISABLED : hundido ? PBS_PRESSED : PBS_NORMAL;
      DrawThemeBackground(tema.Handle(), dc, BP_PUSHBUTTON, estado, &caja, nullptr);
    } else {
      DrawFrameControl(dc, &caja, DFC_BUTTON, DFCS_BUTTONPUSH | (hundido ? DFCS_PUSHED : 0));
    }
    ventana::AccionNavegador accion = ventana::kBotonesNavegador[static_cast<std::size_t>(boton)].accion;
    if (habilitado) {
      PintarGlifo(dc, caja, escala, accion, GetSysColor(COLOR_BTNTEXT), hundido ? 1 : 0);
    } else {  // embossed, as disabled glyphs are drawn
      PintarGlifo(dc, caja, escala, accion, GetSysColor(COLOR_3DHILIGHT), 1);
      PintarGlifo(dc, caja, escala, accion, GetSysColor(COLOR_GRAYTEXT), 0);
    }
  }
}

// ---------------------------------------------------------------------------------------------------------
// The mouse

void Navegador::Ejecutar(int boton) {
  if (boton >= 0 && Habilitado(boton)) accion_(ventana::kBotonesNavegador[static_cast<std::size_t>(boton)].accion);
}

void Navegador::Pulsar(int boton) {
  if (boton < 0 || !Habilitado(boton)) return;
  pulsado_ = boton;
  dentro_ = true;
  SetCapture(ventana_);
  SetTimer(ventana_, kTemporizador, ventana::kPrimeraRepeticionMs, nullptr);
  InvalidateRect(ventana_, nullptr, FALSE);
}

void Navegador::Mover(POINT punto) {
  if (pulsado_ < 0) return;
  bool dentro = BotonEn(punto) == pulsado_;
  if (dentro == dentro_) return;
  dentro_ = dentro;
  InvalidateRect(ventana_, nullptr, FALSE);
}

// While the button is held down over it, its action repeats.
void Navegador::Repetir() {
  if (pulsado_ < 0) return;
  SetTimer(ventana_, kTemporizador, ventana::kRepeticionMs, nullptr);
  if (dentro_) Ejecutar(pulsado_);
}

// Let go over the button it was pressed on, the button acts (once more, when it repeated).
void Navegador::Soltar(POINT punto) {
  int boton = pulsado_;
  bool dentro = boton >= 0 && BotonEn(punto) == boton;
  Terminar();
  if (dentro) Ejecutar(boton);
}

void Navegador::Terminar() {
  if (pulsado_ < 0) return;
  pulsado_ = -1;
  dentro_ = false;
  KillTimer(ventana_, kTemporizador);
  if (GetCapture() == ventana_) ReleaseCapture();
  InvalidateRect(ventana_, nullptr, FALSE);
}

// ---------------------------------------------------------------------------------------------------------
// The window

// The object comes with the window's creation and stays in its user data until it goes.
LRESULT CALLBACK Navegador::Procedimiento(HWND ventana, UINT mensaje, WPARAM wParam, LPARAM lParam) {
  if (mensaje == WM_NCCREATE) {
    auto* creacion = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(ventana, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creacion->lpCreateParams));
    static_cast<Navegador*>(creacion->lpCreateParams)->ventana_ = ventana;
  }
  auto* navegador = reinterpret_cast<Navegador*>(GetWindowLongPtrW(ventana, GWLP_USERDATA));
  if (navegador == nullptr) return DefWindowProcW(ventana, mensaje, wParam, lParam);
  return navegador->Atender(mensaje, wParam, lParam);
}

LRESULT Navegador::Atender(UINT mensaje, WPARAM wParam, LPARAM lParam) {
  POINT punto{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (mensaje) {
    case WM_ERASEBKGND: return 1;  // every pixel is a button's
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(ventana_, &ps);
      Pintar(dc);
      EndPaint(ventana_, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN: Pulsar(BotonEn(punto)); return 0;
    case WM_MOUSEMOVE: Mover(punto); return 0;
    case WM_LBUTTONUP: Soltar(punto); return 0;
    case WM_TIMER:
      if (wParam == kTemporizador) Repetir();
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != ventana_) Terminar();
      return 0;
    case WM_CANCELMODE: Terminar(); return 0;
    case WM_THEMECHANGED:
    case WM_SIZE: InvalidateRect(ventana_, nullptr, FALSE); return 0;
    default: return DefWindowProcW(ventana_, mensaje, wParam, lParam);
  }
}

}  // namespace app::win32
