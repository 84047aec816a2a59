// What every part of the Win32 window uses: text between the program's UTF-8 and Windows' UTF-16, sizes
// designed at 96 dpi scaled to the monitor, fonts, gradients, message boxes and the hourglass.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace app::win32 {

// UTF-8 <-> UTF-16.
std::wstring Ancho(std::string_view utf8);
std::string Utf8(std::wstring_view ancho);

// A length designed at 96 dpi, for a window on a monitor of `dpi` dots per inch (GetDpiForWindow).
int Escalar(int pixeles96, UINT dpi);
RECT Escalar(const RECT& caja96, UINT dpi);
UINT DpiDe(HWND ventana);

// A font by face name and size in points at `dpi`, destroyed with the object.
class Fuente {
 public:
  Fuente() = default;
  Fuente(std::wstring_view cara, int puntos, bool negrita, UINT dpi, bool cursiva = false);
  ~Fuente();
  Fuente(Fuente&& otra) noexcept;
  Fuente& operator=(Fuente&& otra) noexcept;
  Fuente(const Fuente&) = delete;
  Fuente& operator=(const Fuente&) = delete;
  HFONT Handle() const { return handle_; }

 private:
  HFONT handle_ = nullptr;
};

// Fills `caja` with a gradient from `desde` to `hasta`, top to bottom or left to right (GradientFill).
void PintarDegradado(HDC dc, const RECT& caja, COLORREF desde, COLORREF hasta, bool vertical);

// A modal message box captioned with the application's title whose one button reads "Aceptar" whatever
// the language of Windows; `error` shows the stop icon, otherwise no icon.
void MostrarMensaje(HWND propietario, const std::string& texto, bool error);

// The hourglass for the whole application while an object lives (SetCursor + capture of WM_SETCURSOR).
class CursorEspera {
 public:
  CursorEspera();
  ~CursorEspera();
  CursorEspera(const CursorEspera&) = delete;
  CursorEspera& operator=(const CursorEspera&) = delete;
};

}  // namespace app::win32
