#include "app/win32/marco_revision.h"

#include <commctrl.h>

#include <stdexcept>
#include <utility>

#include "app/win32/comun.h"
#include "app/win32/navegador.h"
#include "app/win32/rejilla.h"

namespace app::win32 {
namespace {

constexpr wchar_t kClase[] = L"EscolanRevision";
constexpr int kIdRejilla = 100;
constexpr int kIdSalir = 101;
constexpr UINT kMostrarFallo = WM_APP + 1;
constexpr UINT_PTR kSubclase = 1;

// A fixed dialog frame: a caption with a close box, neither minimise nor maximise, not resizable.
constexpr DWORD kEstilo = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kEstiloExtendido = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// The glyph of "Salir" is 16 pixels square at 96 dpi, drawn over this colour, which stays transparent.
constexpr int kLadoGlifo = 16;
const COLORREF kTransparente = RGB(255, 0, 255);

void Rellenar(HDC dc, const RECT& caja, COLORREF color) {
  SetDCBrushColor(dc, color);
  FillRect(dc, &caja, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A memory device context while the object lives.
class DcMemoria {
 public:
  explicit DcMemoria(HDC modelo) : dc_(CreateCompatibleDC(modelo)) {}
  ~DcMemoria() { DeleteDC(dc_); }
  DcMemoria(const DcMemoria&) = delete;
  DcMemoria& operator=(const DcMemoria&) = delete;
  HDC Dc() const { return dc_; }

 private:
  HDC dc_;
};

// A device context of the screen while the object lives.
class DcPantalla {
 public:
  DcPantalla() : dc_(GetDC(nullptr)) {}
  ~DcPantalla() { ReleaseDC(nullptr, dc_); }
  DcPantalla(const DcPantalla&) = delete;
  DcPantalla& operator=(const DcPantalla&) = delete;
  HDC Dc() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace

// ---------------------------------------------------------------------------------------------------------
// The glyph of "Salir"

// The platform's close glyph on "Salir": a dark red cross, in an image list of the button's.
class MarcoRevision::ImagenSalir {
 public:
  explicit ImagenSalir(UINT dpi) {
    int lado = Escalar(kLadoGlifo, dpi);
    lista_ = ImageList_Create(lado, lado, ILC_COLOR32 | ILC_MASK, 1, 0);
    DcPantalla pantalla;
    MapaDeBits mapa(CreateCompatibleBitmap(pantalla.Dc(), lado, lado));
    {
      DcMemoria memoria(pantalla.Dc());
      Seleccion dibujando(memoria.Dc(), mapa.Get());
      Rellenar(memoria.Dc(), {0, 0, lado, lado}, kTransparente);
      DibujarCruz(memoria.Dc(), lado);
    }
    ImageList_AddMasked(lista_, mapa.Get(), kTransparente);  // which copies it
  }
  ~ImagenSalir() {
    if (lista_ != nullptr) ImageList_Destroy(lista_);
  }
  ImagenSalir(const ImagenSalir&) = delete;
  ImagenSalir& operator=(const ImagenSalir&) = delete;

  void PonerEn(HWND boton) const {
    BUTTON_IMAGELIST imagen{};
    imagen.himl = lista_;
    imagen.margin = {2, 0, 0, 0};
    imagen.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
    SendMessageW(boton, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&imagen));
  }

 private:
  static void DibujarCruz(HDC dc, int lado) {
    Seleccion pincel(dc, GetStockObject(DC_BRUSH));
    Seleccion lapiz(dc, GetStockObject(DC_PEN));
    SetDCBrushColor(dc, RGB(0xB0, 0x10, 0x10));
    SetDCPenColor(dc, RGB(0xB0, 0x10, 0x10));
    const int m = lado / 5;          // margin
    const int g = (lado + 8) / 12;   // half the stroke's thickness
    const int a = lado - 1 - m;
    POINT bajada[] = {{m, m + g}, {m + g, m}, {a, a - g}, {a - g, a}};
    POINT subida[] = {{m, a - g}, {m + g, a}, {a, m + g}, {a - g, m}};
    Polygon(dc, bajada, 4);
    Polygon(dc, subida, 4);
  }

  HIMAGELIST lista_ = nullptr;
};

void MarcoRevision::DestruirVentana::operator()(HWND ventana) const {
  if (ventana != nullptr && IsWindow(ventana)) DestroyWindow(ventana);
}

// ---------------------------------------------------------------------------------------------------------
// Creation

MarcoRevision::MarcoRevision(HWND propietario, ventana::DialogoRevision& dialogo, MostrarError mostrarError)
    : propietario_(propietario),
      dialogo_(dialogo),
      diseno_(dialogo.Diseno()),
      mostrarError_(std::move(mostrarError)),
      dpi_(propietario != nullptr ? DpiDe(propietario) : GetDpiForSystem()) {
  INITCOMMONCONTROLSEX controles{};
  controles.dwSize = sizeof controles;
  controles.dwICC = ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controles);
  RegistrarClase(kClase, &MarcoRevision::Procedimiento);

  const ventana::Caja& cliente = diseno_.ventana;
  RECT marco{0, 0, Escalar(cliente.ancho, dpi_), Escalar(cliente.alto, dpi_)};
  AdjustWindowRectExForDpi(&marco, kEstilo, FALSE, kEstiloExtendido, dpi_);
  std::wstring titulo = Wide(diseno_.titulo);
  HWND ventana = CreateWindowExW(kEstiloExtendido, kClase, titulo.c_str(), kEstilo, Escalar(cliente.izquierda, dpi_),
                                 Escalar(cliente.arriba, dpi_), marco.right - marco.left, marco.bottom - marco.top,
                                 propietario, nullptr, GetModuleHandleW(nullptr), this);
  if (ventana == nullptr) throw std::runtime_error("No se pudo crear la ventana " + std::string(diseno_.titulo));
  // On another monitor than its owner's, the dialog takes that monitor's resolution.
  if (UINT dpi = GetDpiForWindow(ventana); dpi != 0 && dpi != dpi_) {
    dpi_ = dpi;
    marco = {0, 0, Escalar(cliente.ancho, dpi_), Escalar(cliente.alto, dpi_)};
    AdjustWindowRectExForDpi(&marco, kEstilo, FALSE, kEstiloExtendido, dpi_);
    SetWindowPos(ventana, nullptr, 0, 0, marco.right - marco.left, marco.bottom - marco.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CrearControles();
  dialogo_.Fuente().PonerObservador(this);
  dialogo_.PonerEditor(&rejilla_->Editor());
}

// The window goes first, with the grid's cell editor, while the table is still open: the record being
// edited is dropped when the dialog's table closes after it.
MarcoRevision::~MarcoRevision() {
  cerrando_ = true;
  dialogo_.Fuente().PonerObservador(nullptr);
  dialogo_.PonerEditor(nullptr);
  if (salir_ != nullptr && IsWindow(salir_)) RemoveWindowSubclass(salir_, &MarcoRevision::ProcSalir, kSubclase);
  ventana_.reset();
}

// The grid first and "Salir" second in the tab order; the navigator takes no focus.
void MarcoRevision::CrearControles() {
  HWND ventana = hwnd_;
  std::wstring nombre = Wide(diseno_.rejilla.nombre);
  rejilla_ = std::make_unique<Rejilla>(
      ventana, kIdRejilla, nombre.c_str(), dialogo_.Fuente(),
      Rejilla::Colores{ColorDe(diseno_.celdas), ColorDe(diseno_.celdasAlternas), ColorDe(diseno_.titulos)},
      [this](HWND ahora) { FocoCambiado(ahora); });

  std::wstring texto = Wide(diseno_.salir.texto);
  salir_ = CreateWindowExW(0, L"BUTTON", texto.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
                           ventana, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdSalir)), GetModuleHandleW(nullptr),
                           nullptr);
  SetWindowSubclass(salir_, &MarcoRevision::ProcSalir, kSubclase, reinterpret_cast<DWORD_PTR>(this));

  nombre = Wide(diseno_.navegador.nombre);
  navegador_ = std::make_unique<Navegador>(ventana, nombre.c_str(), EnElCliente(diseno_.navegador.caja), dpi_,
                                           dialogo_.Fuente(),
                                           [this](ventana::AccionNavegador accion) { rejilla_->Ejecutar(accion); });
  Colocar();
}

// ---------------------------------------------------------------------------------------------------------
// Size and look

namespace {

// How a label's text is drawn in its box: at the top, wrapped or on one line, left or centred.
UINT FormatoDeEtiqueta(const ventana::Etiqueta& etiqueta) {
  return DT_NOPREFIX | DT_TOP | (etiqueta.ajustada ? DT_WORDBREAK : DT_SINGLELINE) |
         (etiqueta.alineacion == ventana::Alineacion::kCentrada ? DT_CENTER : DT_LEFT);
}

}  // namespace

RECT MarcoRevision::EnElCliente(const ventana::Caja& enElPanel) const {
  const ventana::Caja& panel = diseno_.panel.caja;
  return Escalar(ventana::Caja{panel.izquierda + enElPanel.izquierda, panel.arriba + enElPanel.arriba, enElPanel.ancho,
                               enElPanel.alto},
                 dpi_);
}

// The fonts at the window's resolution, and every control where the design puts it.
void MarcoRevision::Colocar() {
  letra_ = Fuente(diseno_.letra, dpi_);
  ventana::Letra titulos = diseno_.letra;
  titulos.negrita = true;
  letraTitulos_ = Fuente(titulos, dpi_);
  letraSalir_ = Fuente(diseno_.salir.letra, dpi_);
  letrasEtiquetas_.clear();
  HDC dc = GetDC(hwnd_);
  for (const ventana::Etiqueta& etiqueta : diseno_.etiquetas) {
    letrasEtiquetas_.push_back(FuenteQueCabe(dc, etiqueta.letra, Wide(etiqueta.texto), etiqueta.caja,
                                             FormatoDeEtiqueta(etiqueta), dpi_));
  }
  ReleaseDC(hwnd_, dc);

  rejilla_->Colocar(EnElCliente(diseno_.rejilla.caja), letra_.Handle(), letraTitulos_.Handle());
  navegador_->Colocar(EnElCliente(diseno_.navegador.caja), dpi_);
  RECT salir = EnElCliente(diseno_.salir.caja);
  SetWindowPos(salir_, nullptr, salir.left, salir.top, salir.right - salir.left, salir.bottom - salir.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(salir_, WM_SETFONT, reinterpret_cast<WPARAM>(letraSalir_.Handle()), TRUE);
  imagenSalir_ = std::make_unique<ImagenSalir>(dpi_);
  imagenSalir_->PonerEn(salir_);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

// The window's colour, the panel's gradient (top, middle, bottom) and the labels.
void MarcoRevision::Pintar(HDC dc) const {
  RECT cliente{};
  GetClientRect(hwnd_, &cliente);
  Rellenar(dc, cliente, ColorDe(diseno_.fondo));
  const ventana::Panel& panel = diseno_.panel;
  PintarDegradado(dc, Escalar(panel.caja, dpi_), ColorDe(panel.inicio), ColorDe(panel.medio), ColorDe(panel.fin));
  PintarEtiquetas(dc);
}

void MarcoRevision::PintarEtiquetas(HDC dc) const {
  SetBkMode(dc, TRANSPARENT);
  for (std::size_t i = 0; i < diseno_.etiquetas.size(); ++i) {
    const ventana::Etiqueta& etiqueta = diseno_.etiquetas[i];
    RECT caja = EnElCliente(etiqueta.caja);
    if (etiqueta.fondo) Rellenar(dc, caja, ColorDe(*etiqueta.fondo));
    Seleccion letra(dc, letrasEtiquetas_[i].Handle());
    SetTextColor(dc, ColorDe(etiqueta.color));
    // A wrapped text that still needs another line in this font shows it below the box rather than losing it.
    const UINT formato = FormatoDeEtiqueta(etiqueta) | (etiqueta.ajustada ? DT_NOCLIP : 0);
    std::wstring texto = Wide(etiqueta.texto);
    DrawTextW(dc, texto.c_str(), static_cast<int>(texto.size()), &caja, formato);
  }
}

// ---------------------------------------------------------------------------------------------------------
// The modal loop

void MarcoRevision::Mostrar() {
  MostrarModal(hwnd_, propietario_, cerrado_, [this] {
    if (!rejilla_->Contiene(GetFocus())) RestaurarFoco();
  });
}

// ---------------------------------------------------------------------------------------------------------
// The focus

// Only moves between the dialog's controls reach here: another window taking the focus (a message box,
// another program) leaves the grid as it was.
void MarcoRevision::FocoCambiado(HWND ahora) {
  if (cerrando_ || ahora == nullptr) return;
  bool enLaRejilla = rejilla_->Contiene(ahora);
  if (!dialogo_.FocoMovido(enLaRejilla)) {  // a refused cell or record: the grid keeps the focus
    rejilla_->TomarFoco();
    return;
  }
  if (!enLaRejilla) rejilla_->CerrarEditor();
  // "Salir" is the default button while it has the focus.
  SendMessageW(salir_, BM_SETSTYLE, ahora == salir_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

// The focus goes back where it was when the dialog is active again; the grid has it at first.
void MarcoRevision::Activado(bool activo) {
  if (cerrando_) return;
  HWND ventana = hwnd_;
  if (!activo) {
    HWND foco = GetFocus();
    if (foco != nullptr && IsChild(ventana, foco)) focoGuardado_ = foco;
    return;
  }
  RestaurarFoco();
}

void MarcoRevision::RestaurarFoco() {
  HWND foco = focoGuardado_;
  if (foco == nullptr || !IsWindow(foco) || !IsWindowVisible(foco)) foco = rejilla_->Ventana();
  if (rejilla_->Contiene(foco)) {
    rejilla_->TomarFoco();
  } else {
    SetFocus(foco);
  }
}

// "Salir" closes the dialog unless the grid kept the focus because its record was refused, or a cell still
// holds a text that the table refused: that text stays, to be corrected.
void MarcoRevision::SalirClick() {
  if (dialogo_.PuedeCerrar()) cerrado_ = true;
}

// ---------------------------------------------------------------------------------------------------------
// The data source's news

void MarcoRevision::FilasCambiadas() {
  rejilla_->FilasCambiadas();
  navegador_->Actualizar();
}

void MarcoRevision::FilaCambiada(int fila) { rejilla_->FilaCambiada(fila); }

void MarcoRevision::CursorCambiado(int fila) {
  rejilla_->CursorCambiado(fila);
  navegador_->Actualizar();
}

void MarcoRevision::EstadoCambiado() { navegador_->Actualizar(); }

// The message waits until the event that caused it is over (a cell closing, a click half done).
void MarcoRevision::Fallo(const std::string& mensaje) {
  if (dialogo_.AnotarFallo(mensaje)) PostMessageW(hwnd_, kMostrarFallo, 0, 0);
}

// While the message is shown nothing else of the dialog answers; then the focus is where it was.
void MarcoRevision::MostrarFallo() {
  std::optional<std::string> fallo = dialogo_.FalloPorMostrar();
  if (!fallo || !mostrarError_) return;
  HWND ventana = hwnd_;
  HWND foco = GetFocus();
  if (foco != nullptr && IsChild(ventana, foco)) focoGuardado_ = foco;
  SendMessageW(navegador_->Ventana(), WM_CANCELMODE, 0, 0);
  EnableWindow(ventana, FALSE);
  mostrarError_(*fallo);
  EnableWindow(ventana, TRUE);
  SetForegroundWindow(ventana);
  SetActiveWindow(ventana);
  if (GetActiveWindow() == ventana) RestaurarFoco();
}

// ---------------------------------------------------------------------------------------------------------
// The window's procedures

LRESULT CALLBACK MarcoRevision::Procedimiento(HWND ventana, UINT mensaje, WPARAM wParam, LPARAM lParam) {
  if (mensaje == WM_NCCREATE) {
    auto* creacion = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* marco = static_cast<MarcoRevision*>(creacion->lpCreateParams);
    marco->hwnd_ = ventana;
    marco->ventana_.reset(ventana);
    SetWindowLongPtrW(ventana, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(marco));
  }
  auto* marco = reinterpret_cast<MarcoRevision*>(GetWindowLongPtrW(ventana, GWLP_USERDATA));
  if (marco == nullptr) return DefWindowProcW(ventana, mensaje, wParam, lParam);
  if (mensaje == WM_NCDESTROY) {
    SetWindowLongPtrW(ventana, GWLP_USERDATA, 0);
    marco->hwnd_ = nullptr;
    (void)marco->ventana_.release();
    return DefWindowProcW(ventana, mensaje, wParam, lParam);
  }
  return marco->Atender(ventana, mensaje, wParam, lParam);
}

LRESULT CALLBACK MarcoRevision::ProcSalir(HWND ventana, UINT mensaje, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                          DWORD_PTR datos) {
  if (mensaje == WM_NCDESTROY) RemoveWindowSubclass(ventana, &MarcoRevision::ProcSalir, kSubclase);
  LRESULT resultado = DefSubclassProc(ventana, mensaje, wParam, lParam);
  if (mensaje == WM_SETFOCUS) reinterpret_cast<MarcoRevision*>(datos)->FocoCambiado(ventana);
  return resultado;
}

LRESULT MarcoRevision::Atender(HWND ventana, UINT mensaje, WPARAM wParam, LPARAM lParam) {
  switch (mensaje) {
    case WM_ERASEBKGND: return 1;  // every pixel is painted
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(ventana, &ps);
      RECT cliente{};
      GetClientRect(ventana, &cliente);
      {
        LienzoDoble lienzo(dc, cliente);
        Pintar(lienzo.Dc());
      }
      EndPaint(ventana, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: Pintar(reinterpret_cast<HDC>(wParam)); return 0;  // under a themed control
    case WM_MEASUREITEM:  // the list asks as it is created, before the grid is there
      if (wParam == kIdRejilla && rejilla_ != nullptr) {
        rejilla_->Medir(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
      }
      break;
    case WM_DRAWITEM:
      if (wParam == kIdRejilla && rejilla_ != nullptr) {
        rejilla_->Dibujar(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      }
      break;
    case WM_NOTIFY: {
      auto& aviso = *reinterpret_cast<NMHDR*>(lParam);
      if (rejilla_ != nullptr && aviso.hwndFrom == rejilla_->Ventana()) return rejilla_->Notificacion(aviso);
      break;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kIdSalir && HIWORD(wParam) == BN_CLICKED) SalirClick();
      return 0;  // Enter and Escape elsewhere (IDOK, IDCANCEL) close nothing
    case DM_GETDEFID: return GetFocus() == salir_ ? MAKELRESULT(kIdSalir, DC_HASDEFID) : 0;
    case WM_ACTIVATE: Activado(LOWORD(wParam) != WA_INACTIVE); return 0;
    case WM_CLOSE: cerrado_ = true; return 0;  // the close box: the grid is not left
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      const RECT& sugerido = *reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(ventana, nullptr, sugerido.left, sugerido.top, sugerido.right - sugerido.left,
                   sugerido.bottom - sugerido.top, SWP_NOZORDER | SWP_NOACTIVATE);
      // The client area exactly the design's at the new dpi, whatever frame the suggestion counted on.
      RECT exterior{};
      RECT cliente{};
      GetWindowRect(ventana, &exterior);
      GetClientRect(ventana, &cliente);
      SetWindowPos(ventana, nullptr, 0, 0,
                   Escalar(diseno_.ventana.ancho, dpi_) + (exterior.right - exterior.left) - cliente.right,
                   Escalar(diseno_.ventana.alto, dpi_) + (exterior.bottom - exterior.top) - cliente.bottom,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      Colocar();
      return 0;
    }
    case kMostrarFallo: MostrarFallo(); return 0;
    default: break;
  }
  return DefWindowProcW(ventana, mensaje, wParam, lParam);
}

}  // namespace app::win32
