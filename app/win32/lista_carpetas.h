// The directory tree list of the Win32 window: an owner-drawn list box with the entries of
// ventana::EntradasDeCarpeta, each indented by its level behind an open or closed folder icon, in rows of the
// design's height. The window tells it when to open an entry; it keeps the paths behind the entries.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ventana/entradas_carpetas.h"
#include "app/win32/comun.h"

namespace app::win32 {

// The shell's folder and drive icons, in the small and the large size (the larger for high dpi).
class IconosDelSistema {
 public:
  IconosDelSistema();
  HICON CarpetaAbierta(int lado) const { return Elegir(carpetaAbierta_, lado); }
  HICON CarpetaCerrada(int lado) const { return Elegir(carpetaCerrada_, lado); }
  HICON Unidad(int lado) const { return Elegir(unidad_, lado); }

 private:
  struct Par {
    Icono pequeno;
    Icono grande;
  };
  static HICON Elegir(const Par& par, int lado);
  Par carpetaAbierta_;
  Par carpetaCerrada_;
  Par unidad_;
};

// Draws an owner-drawn list entry: its background (the selection's colours when selected), `icono` of side
// `ladoIcono` at `sangria` pixels from the left, the text after it, and the focus frame.
void DibujarEntrada(const DRAWITEMSTRUCT& item, HICON icono, int ladoIcono, int sangria, std::wstring_view texto,
                    COLORREF tinta);

class ListaCarpetas {
 public:
  // Creates the list box as a child of `padre`, with the control id `id`.
  void Crear(HWND padre, int id);
  HWND Handle() const { return lista_; }

  // Lists `carpeta` (a full Windows path) and its subfolders, with its own entry selected and in view.
  void MostrarCarpeta(const std::string& carpeta);

  // The path of the selected entry, and of the entry under a point of the list's client area.
  std::optional<std::string> RutaSeleccionada() const;
  std::optional<std::string> RutaEnPunto(POINT punto) const;
  const std::vector<ventana::EntradaCarpeta>& Entradas() const { return entradas_; }

  // The rows' height at the window's dpi, asked while the list is created and set again when it changes.
  static UINT AltoDeFila(UINT dpi);
  void CambiarDpi(UINT dpi);
  void Dibujar(const DRAWITEMSTRUCT& item, UINT dpi, COLORREF tinta) const;

 private:
  std::optional<std::string> RutaDe(LRESULT indice) const;

  HWND lista_ = nullptr;
  std::vector<ventana::EntradaCarpeta> entradas_;
  IconosDelSistema iconos_;
};

}  // namespace app::win32
