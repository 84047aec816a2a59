// The import's review dialog in Win32: a modal dialog with a fixed frame, drawn from the design of its model
// (ventana/revision.h) at the monitor's resolution (and again when it changes): the gradient panel with the
// labels on it, the record navigator, the grid and the button "Salir". The focus entering and leaving the
// grid, "Salir" and the table layer's messages go to the dialog's model; the messages are shown through the
// application's error handler once the event that caused them is over.
//
// The grid is the first control in the tab order and has the focus when the dialog opens; "Salir" is the
// default button while it has the focus. Escape does not close the dialog: only "Salir" and the close box do.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/win32/comun.h"
#include "ventana/revision.h"

namespace app::win32 {

class Navegador;
class Rejilla;

// Shows a message of the table layer the way the application shows an error (a modal box with a stop icon).
using MostrarError = std::function<void(const std::string& mensaje)>;

class MarcoRevision : private ventana::FuenteDatos::Observador {
 public:
  // The dialog's window, hidden, owned by `propietario` (none for a window of its own).
  MarcoRevision(HWND propietario, ventana::DialogoRevision& dialogo, MostrarError mostrarError);
  ~MarcoRevision() override;
  MarcoRevision(const MarcoRevision&) = delete;
  MarcoRevision& operator=(const MarcoRevision&) = delete;

  // Shows the dialog modally over its owner and returns when it has closed.
  void Mostrar();

  HWND Ventana() const { return hwnd_; }

 private:
  struct DestruirVentana {
    void operator()(HWND ventana) const;
  };
  class ImagenSalir;

  static LRESULT CALLBACK Procedimiento(HWND ventana, UINT mensaje, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ProcSalir(HWND ventana, UINT mensaje, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR datos);
  LRESULT Atender(HWND ventana, UINT mensaje, WPARAM wParam, LPARAM lParam);

  void CrearControles();
  void Colocar();
  RECT EnElCliente(const ventana::Caja& enElPanel) const;
  void Pintar(HDC dc) const;
  void PintarEtiquetas(HDC dc) const;

  void FocoCambiado(HWND ahora);
  void Activado(bool activo);
  void RestaurarFoco();
  void SalirClick();
  void MostrarFallo();

  // ventana::FuenteDatos::Observador
  void FilasCambiadas() override;
  void FilaCambiada(int fila) override;
  void CursorCambiado(int fila) override;
  void EstadoCambiado() override;
  void Fallo(const std::string& mensaje) override;

  HWND propietario_;
  ventana::DialogoRevision& dialogo_;
  const ventana::DisenoRevision& diseno_;
  MostrarError mostrarError_;
  UINT dpi_ = 96;
  HWND hwnd_ = nullptr;                              // the dialog's window while it exists
  std::unique_ptr<HWND__, DestruirVentana> ventana_;  // which the object destroys
  std::vector<Fuente> letrasEtiquetas_;
  Fuente letra_;         // the dialog's and the grid's cells'
  Fuente letraTitulos_;  // the grid's titles
  Fuente letraSalir_;
  std::unique_ptr<ImagenSalir> imagenSalir_;
  std::unique_ptr<Rejilla> rejilla_;
  std::unique_ptr<Navegador> navegador_;
  HWND salir_ = nullptr;
  HWND focoGuardado_ = nullptr;  // where the focus was as the dialog stopped being active
  bool cerrado_ = false;
  bool cerrando_ = false;
};

}  // namespace app::win32
