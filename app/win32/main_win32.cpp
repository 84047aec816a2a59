// escolan-horvane.exe: the Windows program. Its one window lives as long as the process; closing it ends the
// program. The manifest (escolan-horvane.manifest) asks for the common controls 6 and per-monitor DPI
// awareness, so that the window is laid out for each monitor's dpi rather than stretched by Windows.
#include <windows.h>

#include <commctrl.h>

#include "app/win32/exportar_datos.h"

int WINAPI wWinMain(HINSTANCE /*instancia*/, HINSTANCE /*anterior*/, PWSTR /*lineaDeOrdenes*/, int comoMostrar) {
  INITCOMMONCONTROLSEX controles{};
  controles.dwSize = sizeof controles;
  controles.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controles);

  app::win32::TExportarDatos ventana;
  ventana.Mostrar(comoMostrar);
  return app::win32::BucleDeMensajes(ventana);
}
