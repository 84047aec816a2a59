// What every part of the Win32 window uses: windows' texts in the program's UTF-8, sizes designed at 96 dpi
// scaled to the monitor, the designs' colours and fonts, gradients, message boxes and the hourglass.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/wide_text.h"
#include "ventana/diseno.h"
#include "ventana/diseno_principal.h"

namespace app::win32 {

namespace diseno = ventana::diseno;

using platform::Narrow;
using platform::Wide;

// A window's text, and setting it from UTF-8.
std::string TextoDe(HWND ventana);
void PonerTexto(HWND ventana, std::string_view utf8);

// A length designed at 96 dpi, for a window on a monitor of `dpi` dots per inch (GetDpiForWindow).
int Escalar(int pixeles96, UINT dpi);
RECT Escalar(const RECT& caja96, UINT dpi);
RECT Escalar(const ventana::Caja& caja96, UINT dpi);
UINT DpiDe(HWND ventana);

// A colour of a design; a system colour as the system reports it.
COLORREF ColorDe(const ventana::Color& color);

// A font of a design at `dpi`, destroyed with the object. A bitmap face of the design ("MS Sans Serif", which
// has no sizes above 96 dpi) gives its scalable counterpart above 96 dpi. With `alto`, the font's character
// height in pixels instead of the design's points at `dpi`.
class Fuente {
 public:
  Fuente() = default;
  Fuente(const ventana::Letra& letra, UINT dpi, int alto = 0);
  ~Fuente();
  Fuente(Fuente&& otra) noexcept;
  Fuente& operator=(Fuente&& otra) noexcept;
  Fuente(const Fuente&) = delete;
  Fuente& operator=(const Fuente&) = delete;
  HFONT Handle() const { return handle_; }

 private:
  HFONT handle_ = nullptr;
};

// The face a design's font is drawn in at `dpi`.
std::wstring CaraADpi(std::string_view cara, UINT dpi);

// A text drawn by the window in a box (`forma`: DrawText's flags, with or without DT_WORDBREAK), in the font of
// its design at `dpi`, made a pixel smaller at a time until it fits its box at `dpi` on no more lines than at
// 96 dpi: a font's width does not grow exactly with the dpi, and a wrapped text would take another line.
Fuente FuenteQueCabe(HDC dc, const ventana::Letra& letra, std::wstring_view texto, const ventana::Caja& caja96,
                     UINT forma, UINT dpi);

// A GDI object (brush, bitmap) or an icon, destroyed with the object.
template <class Handle, class Destruir>
class Propio {
 public:
  Propio() = default;
  explicit Propio(Handle handle) : handle_(handle) {}
  ~Propio() { Soltar(); }
  Propio(Propio&& otro) noexcept : handle_(std::exchange(otro.handle_, nullptr)) {}
  Propio& operator=(Propio&& otro) noexcept {
    if (this != &otro) {
      Soltar();
      handle_ = std::exchange(otro.handle_, nullptr);
    }
    return *this;
  }
  Propio(const Propio&) = delete;
  Propio& operator=(const Propio&) = delete;
  Handle Get() const { return handle_; }

 private:
  void Soltar() {
    if (handle_ != nullptr) Destruir{}(handle_);
    handle_ = nullptr;
  }
  Handle handle_ = nullptr;
};

struct BorrarObjetoGdi {
  void operator()(HGDIOBJ objeto) const { DeleteObject(objeto); }
};
struct DestruirIcono {
  void operator()(HICON icono) const { DestroyIcon(icono); }
};
using Pincel = Propio<HBRUSH, BorrarObjetoGdi>;
using MapaDeBits = Propio<HBITMAP, BorrarObjetoGdi>;
using Icono = Propio<HICON, DestruirIcono>;

// Selects an object into a device context while it lives, then puts back what was there.
class Seleccion {
 public:
  Seleccion(HDC dc, HGDIOBJ objeto) : dc_(dc), anterior_(SelectObject(dc, objeto)) {}
  ~Seleccion() { SelectObject(dc_, anterior_); }
  Seleccion(const Seleccion&) = delete;
  Seleccion& operator=(const Seleccion&) = delete;

 private:
  HDC dc_;
  HGDIOBJ anterior_;
};

// Painting into a bitmap of the area's size that goes onto `destino` in one piece when the object ends:
// no flicker between the parts painted one over another.
class LienzoDoble {
 public:
  LienzoDoble(HDC destino, const RECT& area);
  ~LienzoDoble();
  LienzoDoble(const LienzoDoble&) = delete;
  LienzoDoble& operator=(const LienzoDoble&) = delete;
  HDC Dc() const { return memoria_; }

 private:
  HDC destino_;
  RECT area_;
  HDC memoria_;
  MapaDeBits mapa_;
  HGDIOBJ anterior_;
  POINT origen_{};
};

// Fills `caja` with a gradient from `desde` to `hasta`, top to bottom or left to right (GradientFill).
void PintarDegradado(HDC dc, const RECT& caja, COLORREF desde, COLORREF hasta, bool vertical);
// A vertical gradient through three colours: `inicio` at the top, `medio` halfway, `fin` at the bottom.
void PintarDegradado(HDC dc, const RECT& caja, COLORREF inicio, COLORREF medio, COLORREF fin);

// The program's icon (recursos.h) at the size of two system metrics (SM_CXICON and SM_CYICON, or the small
// ones), shared and never destroyed; null in a module without it.
HICON IconoPrograma(int metricaAncho, int metricaAlto);

// Registers a window class of this program once (later calls find it registered): the arrow cursor, the
// program's icon, and the background brush and class styles given.
void RegistrarClase(const wchar_t* nombre, WNDPROC procedimiento, HBRUSH fondo = nullptr, UINT estilos = 0);

// A modal message box captioned with the application's title whose one button reads "Aceptar" whatever
// the language of Windows; `error` shows the stop icon, otherwise no icon.
// Shows `dialogo` modally over `propietario` until `cerrado` becomes true: the owner disabled meanwhile and
// enabled again before the dialog hides, so that it is the window that becomes active then; `enfocar` puts the
// focus in the dialog once it shows. A WM_QUIT met on the way is left for the program's own loop.
void MostrarModal(HWND dialogo, HWND propietario, const bool& cerrado, const std::function<void()>& enfocar);

void MostrarMensaje(HWND propietario, const std::string& texto, bool error);
// A modal question box captioned with the application's title, with the question icon and the buttons "Sí"
// and "No" whatever the language of Windows; Escape answers No. Whether the user answered Sí.
bool Preguntar(HWND propietario, const std::string& texto);

// The hourglass for the whole application while an object lives (SetCursor + capture of WM_SETCURSOR).
class CursorEspera {
 public:
  CursorEspera();
  ~CursorEspera();
  CursorEspera(const CursorEspera&) = delete;
  CursorEspera& operator=(const CursorEspera&) = delete;
};

// For a window's WM_SETCURSOR: while a CursorEspera lives, sets the hourglass and returns true (the window
// then returns TRUE); otherwise returns false and the window lets the message go on.
bool PonerCursorEspera();

}  // namespace app::win32
