// The record navigator of the review dialogs in Win32: ten buttons in a row (first, 10 back, prior, next,
// 10 forward, last, edit, post, cancel, refresh) drawn in one child window, their hints as tooltips. A button
// is enabled only when its action applies (ventana::FuenteDatos::Aplicable); a button held down repeats its action
// first after 500 ms and then every 100 ms, and acts once more when let go over it. The navigator never takes
// the focus: the grid keeps it while the buttons are used. There is no insert and no delete button.
#pragma once

#include <windows.h>

#include <array>
#include <functional>

#include "ventana/fuente_datos.h"

namespace app::win32 {

class Navegador {
 public:
  using Accion = std::function<void(ventana::AccionNavegador)>;

  // A child of `padre` named `nombre` (its window text), in `caja` (client pixels); `accion` runs a
  // button's action. `fuente` says which buttons apply and must outlive the navigator.
  Navegador(HWND padre, const wchar_t* nombre, const RECT& caja, UINT dpi, const ventana::FuenteDatos& fuente,
            Accion accion);
  ~Navegador();
  Navegador(const Navegador&) = delete;
  Navegador& operator=(const Navegador&) = delete;

  HWND Ventana() const { return ventana_; }
  // Enables each button as its action applies now.
  void Actualizar();
  // The navigator moved or the monitor's resolution changed.
  void Colocar(const RECT& caja, UINT dpi);
  // The box of button `boton` (0 to 9) in the navigator's client area.
  RECT CajaBoton(int boton) const;
  bool Habilitado(int boton) const { return habilitados_[static_cast<std::size_t>(boton)]; }

 private:
  static LRESULT CALLBACK Procedimiento(HWND ventana, UINT mensaje, WPARAM wParam, LPARAM lParam);
  LRESULT Atender(UINT mensaje, WPARAM wParam, LPARAM lParam);
  void CrearPistas();
  void Pintar(HDC dc) const;
  int BotonEn(POINT punto) const;
  void Pulsar(int boton);
  void Mover(POINT punto);
  void Soltar(POINT punto);
  void Repetir();
  void Terminar();
  void Ejecutar(int boton);

  HWND ventana_ = nullptr;
  HWND pistas_ = nullptr;
  UINT dpi_;
  const ventana::FuenteDatos& fuente_;
  Accion accion_;
  std::array<bool, ventana::kBotonesNavegador.size()> habilitados_{};
  int pulsado_ = -1;     // the button held down
  bool dentro_ = false;  // the mouse still over it
};

}  // namespace app::win32
