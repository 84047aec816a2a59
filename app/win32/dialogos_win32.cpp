#include "app/win32/dialogos_win32.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <cwchar>
#include <exception>
#include <functional>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

#include "app/win32/comun.h"
#include "ventana/copias.h"
#include "ventana/problemas.h"

namespace app::win32 {
namespace {

// Both dialogs are drawn from a design of the same shape.
using Diseno = std::remove_cvref_t<decltype(ventana::kDisenoProblemas)>;
static_assert(std::is_same_v<Diseno, std::remove_cvref_t<decltype(ventana::kDisenoCopias)>>);
constexpr std::size_t kColumnas = std::tuple_size_v<decltype(Diseno::columnas)>;
constexpr std::size_t kBotones = std::tuple_size_v<decltype(Diseno::botones)>;
using Fila = std::array<std::string, kColumnas>;

constexpr wchar_t kClase[] = L"EscolanHorvane.DialogoLista";
// None is IDOK or IDCANCEL, which Enter and Escape send.
constexpr int kIdResumen = 100;
constexpr int kIdLista = 101;
constexpr int kIdPrimerBoton = 200;

// A fixed dialog frame: a caption with a close box, neither minimise nor maximise, not resizable.
constexpr DWORD kEstilo = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kEstiloExtendido = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// A list dialog of the window menu: the summary line, the list and the buttons of its design, shown modally.
// The last button and Escape close it; the others go to `alPulsar`, a change of the list's selection to
// `alSeleccionar`.
class DialogoLista {
 public:
  std::function<void(std::size_t boton)> alPulsar;
  std::function<void(int fila)> alSeleccionar;  // -1: no row

  DialogoLista(HWND propietario, const Diseno& diseno);
  ~DialogoLista() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  }
  DialogoLista(const DialogoLista&) = delete;
  DialogoLista& operator=(const DialogoLista&) = delete;

  HWND Ventana() const { return hwnd_; }
  void PonerResumen(const std::string& texto) { PonerTexto(resumen_, texto); }
  // The rows, the row `seleccionada` selected (none with -1), without a selection change for `alSeleccionar`.
  void PonerFilas(const std::vector<Fila>& filas, int seleccionada);
  void Habilitar(std::size_t boton, bool habilitado) { EnableWindow(botones_[boton], habilitado ? TRUE : FALSE); }
  // Shows it modally over its owner and returns when it has closed.
  void Mostrar();
  // Back to the dialog after a message box over it.
  void Reactivar();

 private:
  static LRESULT CALLBACK Procedimiento(HWND ventana, UINT mensaje, WPARAM wParam, LPARAM lParam);
  LRESULT Atender(UINT mensaje, WPARAM wParam, LPARAM lParam);
  void Colocar();
  void SeleccionCambiada();

  HWND propietario_;
  const Diseno& diseno_;
  UINT dpi_;
  HWND hwnd_ = nullptr;
  HWND resumen_ = nullptr;
  HWND lista_ = nullptr;
  std::array<HWND, kBotones> botones_{};
  Fuente letra_;
  bool cerrado_ = false;
  bool llenando_ = false;
};

DialogoLista::DialogoLista(HWND propietario, const Diseno& diseno)
    : propietario_(propietario),
      diseno_(diseno),
      dpi_(propietario != nullptr ? DpiDe(propietario) : GetDpiForSystem()) {
  INITCOMMONCONTROLSEX controles{};
  controles.dwSize = sizeof controles;
  controles.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controles);
  RegistrarClase(kClase, &DialogoLista::Procedimiento, GetSysColorBrush(COLOR_BTNFACE));

  // Centred over its owner, its client area the design's at the owner's dpi.
  RECT marco{0, 0, Escalar(diseno_.ancho, dpi_), Escalar(diseno_.alto, dpi_)};
  AdjustWindowRectExForDpi(&marco, kEstilo, FALSE, kEstiloExtendido, dpi_);
  const int ancho = marco.right - marco.left;
  const int alto = marco.bottom - marco.top;
  RECT sobre{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (propietario != nullptr) GetWindowRect(propietario, &sobre);
  const int x = std::max(0, static_cast<int>(sobre.left + sobre.right - ancho) / 2);
  const int y = std::max(0, static_cast<int>(sobre.top + sobre.bottom - alto) / 2);
  const std::wstring titulo = Wide(diseno_.titulo);
  CreateWindowExW(kEstiloExtendido, kClase, titulo.c_str(), kEstilo, x, y, ancho, alto, propietario, nullptr,
                  GetModuleHandleW(nullptr), this);
  if (hwnd_ == nullptr) throw std::runtime_error("No se pudo crear la ventana " + std::string(diseno_.titulo));
  // On another monitor than its owner's, the dialog takes that monitor's resolution.
  if (UINT dpi = GetDpiForWindow(hwnd_); dpi != 0 && dpi != dpi_) {
    dpi_ = dpi;
    marco = {0, 0, Escalar(diseno_.ancho, dpi_), Escalar(diseno_.alto, dpi_)};
    AdjustWindowRectExForDpi(&marco, kEstilo, FALSE, kEstiloExtendido, dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, marco.right - marco.left, marco.bottom - marco.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // In tab order: the list, then the buttons.
  HINSTANCE instancia = GetModuleHandleW(nullptr);
  resumen_ = CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, 0, 0,
                             0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdResumen)), instancia,
                             nullptr);
  lista_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 0,
                           0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdLista)), instancia, nullptr);
  SendMessageW(lista_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (std::size_t c = 0; c < kColumnas; ++c) {
    std::wstring texto = Wide(diseno_.columnas[c].titulo);
    LVCOLUMNW columna{};
    columna.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
    columna.fmt = LVCFMT_LEFT;
    columna.pszText = texto.data();
    columna.cx = Escalar(diseno_.columnas[c].ancho, dpi_);
    columna.iSubItem = static_cast<int>(c);
    SendMessageW(lista_, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&columna));
  }
  for (std::size_t b = 0; b < kBotones; ++b) {
    const std::wstring texto = Wide(diseno_.botones[b].texto);
    botones_[b] = CreateWindowExW(0, WC_BUTTONW, texto.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                                  0, 0, 0, hwnd_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdPrimerBoton + static_cast<int>(b))),
                                  instancia, nullptr);
  }
  Colocar();
}

// The font at the window's resolution, and every control where the design puts it.
void DialogoLista::Colocar() {
  letra_ = Fuente(diseno_.letra, dpi_);
  auto poner = [this](HWND control, const ventana::Caja& caja96) {
    const RECT caja = Escalar(caja96, dpi_);
    SetWindowPos(control, nullptr, caja.left, caja.top, caja.right - caja.left, caja.bottom - caja.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(letra_.Handle()), TRUE);
  };
  poner(resumen_, diseno_.resumen);
  poner(lista_, diseno_.lista);
  for (std::size_t b = 0; b < kBotones; ++b) poner(botones_[b], diseno_.botones[b].caja);
  for (std::size_t c = 0; c < kColumnas; ++c) {
    SendMessageW(lista_, LVM_SETCOLUMNWIDTH, c, Escalar(diseno_.columnas[c].ancho, dpi_));
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void DialogoLista::PonerFilas(const std::vector<Fila>& filas, int seleccionada) {
  llenando_ = true;
  SendMessageW(lista_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(lista_, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t f = 0; f < filas.size(); ++f) {
    for (std::size_t c = 0; c < kColumnas; ++c) {
      std::wstring texto = Wide(filas[f][c]);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(f);
      item.iSubItem = static_cast<int>(c);
      item.pszText = texto.data();
      if (c == 0) {
        SendMessageW(lista_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      } else {
        SendMessageW(lista_, LVM_SETITEMTEXTW, f, reinterpret_cast<LPARAM>(&item));
      }
    }
  }
  if (seleccionada >= 0 && static_cast<std::size_t>(seleccionada) < filas.size()) {
    LVITEMW estado{};
    estado.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    estado.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(lista_, LVM_SETITEMSTATE, static_cast<WPARAM>(seleccionada), reinterpret_cast<LPARAM>(&estado));
    SendMessageW(lista_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(seleccionada), FALSE);
  }
  SendMessageW(lista_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(lista_, nullptr, TRUE);
  llenando_ = false;
}

void DialogoLista::SeleccionCambiada() {
  if (llenando_ || !alSeleccionar) return;
  alSeleccionar(static_cast<int>(SendMessageW(lista_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
}

void DialogoLista::Mostrar() {
  MostrarModal(hwnd_, propietario_, cerrado_, [this] { SetFocus(lista_); });
}

void DialogoLista::Reactivar() {
  if (cerrado_ || hwnd_ == nullptr) return;
  SetForegroundWindow(hwnd_);
  SetActiveWindow(hwnd_);
  HWND foco = GetFocus();
  if (foco == nullptr || !IsChild(hwnd_, foco) || !IsWindowEnabled(foco)) SetFocus(lista_);
}

LRESULT CALLBACK DialogoLista::Procedimiento(HWND ventana, UINT mensaje, WPARAM wParam, LPARAM lParam) {
  if (mensaje == WM_NCCREATE) {
    auto* dialogo = static_cast<DialogoLista*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    dialogo->hwnd_ = ventana;
    SetWindowLongPtrW(ventana, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(dialogo));
  }
  auto* dialogo = reinterpret_cast<DialogoLista*>(GetWindowLongPtrW(ventana, GWLP_USERDATA));
  if (dialogo == nullptr) return DefWindowProcW(ventana, mensaje, wParam, lParam);
  if (mensaje == WM_NCDESTROY) {
    SetWindowLongPtrW(ventana, GWLP_USERDATA, 0);
    dialogo->hwnd_ = nullptr;
    dialogo->cerrado_ = true;
    return DefWindowProcW(ventana, mensaje, wParam, lParam);
  }
  try {
    return dialogo->Atender(mensaje, wParam, lParam);
  } catch (const std::exception& error) {
    // Nothing may leave a window procedure: the models report their own errors, and anything else shows here.
    MostrarMensaje(ventana, error.what(), true);
    return 0;
  }
}

LRESULT DialogoLista::Atender(UINT mensaje, WPARAM wParam, LPARAM lParam) {
  switch (mensaje) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDCANCEL) {  // Escape
        cerrado_ = true;
      } else if (id >= kIdPrimerBoton && id < kIdPrimerBoton + static_cast<int>(kBotones) &&
                 HIWORD(wParam) == BN_CLICKED) {
        const auto boton = static_cast<std::size_t>(id - kIdPrimerBoton);
        if (boton + 1 == kBotones) {
          cerrado_ = true;
        } else if (alPulsar) {
          alPulsar(boton);
        }
      }
      return 0;
    }
    case WM_NOTIFY: {
      const auto& aviso = *reinterpret_cast<const NMHDR*>(lParam);
      if (aviso.hwndFrom == lista_ && aviso.code == LVN_ITEMCHANGED) {
        const auto& cambio = *reinterpret_cast<const NMLISTVIEW*>(lParam);
        if ((cambio.uChanged & LVIF_STATE) != 0 && ((cambio.uOldState ^ cambio.uNewState) & LVIS_SELECTED) != 0) {
          SeleccionCambiada();
        }
      }
      return 0;
    }
    case WM_CLOSE:
      cerrado_ = true;
      return 0;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      const RECT& sugerido = *reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, sugerido.left, sugerido.top, sugerido.right - sugerido.left,
                   sugerido.bottom - sugerido.top, SWP_NOZORDER | SWP_NOACTIVATE);
      Colocar();
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, mensaje, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------------------
// What the problems dialog's buttons need from Windows

// The text on the clipboard as Unicode text; whether it is there.
bool PonerEnPortapapeles(HWND ventana, const std::wstring& texto) {
  if (!OpenClipboard(ventana)) return false;
  bool puesto = false;
  if (EmptyClipboard()) {
    const SIZE_T bytes = (texto.size() + 1) * sizeof(wchar_t);
    HGLOBAL memoria = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memoria != nullptr) {
      if (void* destino = GlobalLock(memoria); destino != nullptr) {
        std::memcpy(destino, texto.c_str(), bytes);
        GlobalUnlock(memoria);
        puesto = SetClipboardData(CF_UNICODETEXT, memoria) != nullptr;  // the clipboard owns it then
      }
      if (!puesto) GlobalFree(memoria);
    }
  }
  CloseClipboard();
  return puesto;
}

// The file that "Guardar…" writes, asked with Windows' own dialog; empty when the user cancelled. The process's
// current folder is the directory list's: the dialog must not change it.
std::wstring PedirArchivo(HWND propietario) {
  static constexpr wchar_t kFiltro[] = L"Texto (*.txt)\0*.txt\0";
  std::wstring ruta = Wide(ventana::kArchivoProblemas);
  ruta.resize(32768, L'\0');
  OPENFILENAMEW archivo{};
  archivo.lStructSize = sizeof archivo;
  archivo.hwndOwner = propietario;
  archivo.lpstrFilter = kFiltro;
  archivo.nFilterIndex = 1;
  archivo.lpstrFile = ruta.data();
  archivo.nMaxFile = static_cast<DWORD>(ruta.size());
  archivo.lpstrDefExt = L"txt";
  archivo.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&archivo)) return {};
  ruta.resize(std::wcslen(ruta.c_str()));
  return ruta;
}

constexpr const char* kMensajeSinPortapapeles = "No se ha podido poner la lista en el portapapeles.";

// Marks the dialog that is open while it lives.
class Abierto {
 public:
  Abierto(HWND& abierto, HWND ventana) : abierto_(abierto), anterior_(std::exchange(abierto, ventana)) {}
  ~Abierto() { abierto_ = anterior_; }
  Abierto(const Abierto&) = delete;
  Abierto& operator=(const Abierto&) = delete;

 private:
  HWND& abierto_;
  HWND anterior_;
};

}  // namespace

// ---------------------------------------------------------------------------------------------------------
// The dialogs

void DialogosWin32::MostrarProblemas(ventana::DialogoProblemas& dialogo) {
  DialogoLista lista(propietario_, ventana::kDisenoProblemas);
  lista.PonerResumen(dialogo.Resumen());
  std::vector<Fila> filas;
  filas.reserve(dialogo.Filas().size());
  for (const ventana::FilaProblema& problema : dialogo.Filas()) {
    Fila fila;
    const auto celdas = problema.Celdas();
    for (std::size_t c = 0; c < kColumnas; ++c) fila[c] = *celdas[c];
    filas.push_back(std::move(fila));
  }
  lista.PonerFilas(filas, -1);
  lista.alPulsar = [&](std::size_t boton) {
    HWND ventana = lista.Ventana();
    if (boton == 0) {  // Copiar
      if (!PonerEnPortapapeles(ventana, Wide(dialogo.Texto()))) MostrarMensaje(ventana, kMensajeSinPortapapeles, true);
    } else if (boton == 1) {  // Guardar…
      const std::wstring ruta = PedirArchivo(ventana);
      if (!ruta.empty()) dialogo.Guardar(Narrow(ruta));
    }
    lista.Reactivar();
  };
  Abierto abierto(abierto_, lista.Ventana());
  lista.Mostrar();
}

void DialogosWin32::MostrarCopias(ventana::DialogoCopias& dialogo) {
  DialogoLista lista(propietario_, ventana::kDisenoCopias);
  // "Ver horarios" and "Restaurar" only for a selected backup that has both timetables.
  auto habilitar = [&] {
    const bool completa = dialogo.SeleccionadaCompleta();
    lista.Habilitar(0, completa);
    lista.Habilitar(1, completa);
  };
  auto llenar = [&] {
    lista.PonerResumen(dialogo.Resumen());
    std::vector<Fila> filas(dialogo.Copias().size());
    for (std::size_t f = 0; f < filas.size(); ++f) {
      for (std::size_t c = 0; c < kColumnas; ++c) filas[f][c] = dialogo.Celda(f, c);
    }
    lista.PonerFilas(filas, dialogo.Seleccionada());
    habilitar();
  };
  llenar();
  lista.alSeleccionar = [&](int fila) {
    dialogo.Seleccionar(fila);
    habilitar();
  };
  lista.alPulsar = [&](std::size_t boton) {
    if (boton == 0) {  // Ver horarios
      dialogo.VerHorarios();
    } else if (boton == 1) {  // Restaurar
      dialogo.Restaurar();
      llenar();
    }
    lista.Reactivar();
  };
  Abierto abierto(abierto_, lista.Ventana());
  lista.Mostrar();
}

bool DialogosWin32::Preguntar(const std::string& texto) {
  return win32::Preguntar(abierto_ != nullptr ? abierto_ : propietario_, texto);
}

}  // namespace app::win32
