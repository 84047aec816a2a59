// The program's main window on Windows: the window library's main window (ventana::VentanaPrincipal) drawn
// with Win32 controls laid out by its design (ventana/diseno_principal.h), with the directory and drive lists,
// the centre list, the language box and the export and import buttons, at the dpi of the monitor it is on;
// the controls' notifications go to it. The window menu's orders (ventana/menu_ventana.h) are items of the
// window's system menu, after a separator, and answer their Ctrl+letter shortcuts; its dialogs are
// DialogosWin32's.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ventana/diseno_principal.h"
#include "ventana/ventana_principal.h"
#include "app/win32/comun.h"
#include "app/win32/dialogos_win32.h"
#include "app/win32/lista_carpetas.h"

namespace app::win32 {

class InterfazWin32;

class TExportarDatos {
 public:
  // Creates the window, hidden, builds its controls and runs the window's creation (FormCreate): an error
  // there is shown through `interfaz` and the window is still usable. `interfaz` is how the runs reach the
  // user; with none the window uses message boxes and the hourglass of its own.
  explicit TExportarDatos(run::InterfazUsuario* interfaz = nullptr);
  ~TExportarDatos();
  TExportarDatos(const TExportarDatos&) = delete;
  TExportarDatos& operator=(const TExportarDatos&) = delete;

  void Mostrar(int comoMostrar = SW_SHOWNORMAL);
  // The window, until it is destroyed (closed); then null.
  HWND Handle() const { return ventana_; }
  // A control of the design; null for a label (labels are painted on their panel).
  HWND Control(const ventana::Control& control) const;
  // The font the window draws the label of the design's position `etiqueta` in, at its dpi.
  HFONT FuenteDeEtiqueta(std::size_t etiqueta) const { return fuentesEtiquetas_.at(etiqueta).Handle(); }

  // For the message loop, before a message is translated and dispatched: the keys the window answers
  // itself (Enter clicks the default button of the focused panel or opens the directory list's entry; Tab
  // moves through the controls; Alt+S; the window menu's Ctrl+letter shortcuts). True when the message was
  // handled.
  bool PreTraducirMensaje(MSG& mensaje);
  // The button Enter clicks now, the one drawn as the default.
  HWND BotonPorDefecto() const;

  // Called once the window has been destroyed (the program's loop ends there).
  std::function<void()> alCerrar;

  ventana::VentanaPrincipal& Ventana() { return principal_; }
  const ventana::VentanaPrincipal& Ventana() const { return principal_; }

 private:
  static LRESULT CALLBACK ProcedimientoVentana(HWND ventana, UINT mensaje, WPARAM wParam, LPARAM lParam);
  LRESULT Procesar(UINT mensaje, WPARAM wParam, LPARAM lParam);

  void CrearVentana();
  void CrearMenuVentana();
  bool OrdenDelMenu(WPARAM comando);
  void CrearControles();
  HWND CrearControl(const ventana::Control& def, const wchar_t* clase, DWORD estilo, DWORD estiloExtendido = 0);
  void LlenarIdiomas();
  void LlenarUnidades();
  void CrearGlifos();

  void Maquetar();
  void CambiarDpi(UINT dpi, const RECT* sugerido);
  HFONT FuenteDe(const ventana::Letra& letra);
  static void AjustarAltoDelCombo(HWND combo, LONG objetivo);

  void Pintar(HDC dc, const RECT& zona);
  LRESULT ColorearControl(UINT mensaje, HDC dc, HWND control);
  void DibujarElemento(const DRAWITEMSTRUCT& item);
  void Medir(MEASUREITEMSTRUCT& medida);
  void Comando(int id, int notificacion, HWND control);
  bool TomaElFoco(HWND control, int notificacion) const;
  void AbrirEntradaBajoElRaton();

  const ventana::Control* DisenoDe(HWND control) const;
  HWND BotonPorDefecto(HWND foco) const;
  void MarcarBotonPorDefecto();
  void PulsarBotonPorDefecto();
  void CompletarIdioma();
  void Tabular(HWND desde, bool atras);

  void MostrarDirectorio();
  void MostrarUnidad();
  void MostrarCentros();
  void ElegirUnidad();

  std::unique_ptr<InterfazWin32> interfazPropia_;
  ventana::VentanaPrincipal principal_;
  DialogosWin32 dialogos_;

  HWND ventana_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  struct ControlCreado {
    const ventana::Control* def;
    HWND hwnd;
  };
  std::vector<ControlCreado> controles_;
  ListaCarpetas listaDirectorios_;
  HWND edNuevoDir_ = nullptr;
  HWND listaUnidades_ = nullptr;
  HWND cbCentro_ = nullptr;
  HWND comboBoxValCast_ = nullptr;
  HWND bClose_ = nullptr;
  HWND bExportar_ = nullptr;
  HWND bImportar_ = nullptr;

  struct FuenteCreada {
    ventana::Letra letra;
    Fuente fuente;
  };
  std::vector<FuenteCreada> fuentes_;
  // Each label's font at the window's dpi, fitted to its box (FuenteQueCabe), in the design's order.
  std::vector<Fuente> fuentesEtiquetas_;
  Pincel blanco_;
  Icono glifoCerrar_;
  Icono glifoAceptar_;
  IconosDelSistema iconos_;
  HWND focoGuardado_ = nullptr;  // the control that had the focus when the window was last deactivated
  bool borrandoIdioma_ = false;  // the last key in the language box deleted: no completion then
};

// Runs the program's message loop until the window is closed; the window's keys go through it first.
int BucleDeMensajes(TExportarDatos& ventana);

}  // namespace app::win32
