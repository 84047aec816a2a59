#include "app/win32/exportar_datos.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <exception>
#include <span>
#include <stdexcept>

#include "app/win32/interfaz_win32.h"
#include "platform/platform.h"

namespace app::win32 {
namespace {

constexpr wchar_t kClase[] = L"EscolanHorvane.ExportarDatos";
// A fixed border, a close box and no minimise or maximise box; the controls are not painted over.
constexpr DWORD kEstilo = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kEstiloExtendido = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
// A combo box is given this much room below it for its drop-down list, at 96 dpi.
constexpr int kAltoDesplegable = 160;

// The controls' ids follow the tab order; none is IDOK or IDCANCEL, which Enter and Escape would send.
int IdDe(const ventana::Control& def) {
  const auto posicion = std::find(diseno::kOrdenTabulacion.begin(), diseno::kOrdenTabulacion.end(), &def);
  return 100 + static_cast<int>(posicion - diseno::kOrdenTabulacion.begin());
}

// The window menu's items in the system menu: ids below the system's own (0xF000 and up), multiples of 16
// since Windows uses the low four bits of a WM_SYSCOMMAND's id itself.
constexpr UINT kIdPrimeraOrden = 0x1000;
constexpr UINT kPasoOrden = 0x10;

UINT IdDeOrden(std::size_t indice) { return kIdPrimeraOrden + kPasoOrden * static_cast<UINT>(indice); }

const ventana::ElementoMenu* ElementoDeId(WPARAM comando) {
  const WPARAM id = comando & 0xFFF0;
  for (std::size_t i = 0; i < ventana::kMenuVentana.size(); ++i) {
    if (id == IdDeOrden(i)) return &ventana::kMenuVentana[i];
  }
  return nullptr;
}

TExportarDatos* VentanaDe(HWND ventana) {
  return reinterpret_cast<TExportarDatos*>(GetWindowLongPtrW(ventana, GWLP_USERDATA));
}

// ---------------------------------------------------------------------------------------------------------
// The buttons' glyphs: drawn here, smooth at any size, since Windows has no standard "OK" or "close" glyph
// for a button.

struct Trazo {
  double x0, y0, x1, y1;  // in a square of side 1
};

// How much of the pixel at (x, y) a stroke of `grosor` along `trazo` covers, from 0 to 1 (about).
double Cobertura(const Trazo& trazo, double grosor, double x, double y, double pixel) {
  const double dx = trazo.x1 - trazo.x0;
  const double dy = trazo.y1 - trazo.y0;
  const double t = std::clamp(((x - trazo.x0) * dx + (y - trazo.y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  const double distancia = std::hypot(x - (trazo.x0 + t * dx), y - (trazo.y0 + t * dy));
  return std::clamp((grosor / 2 + pixel / 2 - distancia) / pixel, 0.0, 1.0);
}

Icono CrearGlifo(ventana::Glifo glifo, int lado) {
  static constexpr Trazo kAceptar[] = {{0.16, 0.52, 0.40, 0.76}, {0.40, 0.76, 0.86, 0.26}};
  static constexpr Trazo kCerrar[] = {{0.24, 0.24, 0.76, 0.76}, {0.76, 0.24, 0.24, 0.76}};
  const bool aceptar = glifo == ventana::Glifo::kAceptar;
  const COLORREF color = aceptar ? RGB(0x00, 0x8C, 0x00) : RGB(0xC8, 0x1E, 0x1E);
  const double grosor = aceptar ? 0.17 : 0.15;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = lado;
  info.bmiHeader.biHeight = -lado;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  MapaDeBits colores(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (colores.Get() == nullptr) return Icono();
  auto* pixeles = static_cast<std::uint32_t*>(bits);
  const double pixel = 1.0 / lado;
  for (int y = 0; y < lado; ++y) {
    for (int x = 0; x < lado; ++x) {
      double alfa = 0;
      for (const Trazo& trazo : aceptar ? std::span<const Trazo>(kAceptar) : std::span<const Trazo>(kCerrar)) {
        alfa = std::max(alfa, Cobertura(trazo, grosor, (x + 0.5) * pixel, (y + 0.5) * pixel, pixel));
      }
      const auto a = static_cast<std::uint32_t>(std::lround(alfa * 255));
      // Premultiplied BGRA.
      const auto r = static_cast<std::uint32_t>(GetRValue(color) * a / 255);
      const auto g = static_cast<std::uint32_t>(GetGValue(color) * a / 255);
      const auto b = static_cast<std::uint32_t>(GetBValue(color) * a / 255);
      pixeles[y * lado + x] = (a << 24) | (r << 16) | (g << 8) | b;
    }
  }
  // With a colour bitmap that has an alpha channel the mask is not looked at, but it must be there.
  std::vector<std::uint8_t> ceros(static_cast<std::size_t>((lado + 15) / 16 * 2 * lado), 0);
  MapaDeBits mascara(CreateBitmap(lado, lado, 1, 1, ceros.data()));
  ICONINFO icono{};
  icono.fIcon = TRUE;
  icono.hbmMask = mascara.Get();
  icono.hbmColor = colores.Get();
  return Icono(CreateIconIndirect(&icono));
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------
// Creation

TExportarDatos::TExportarDatos(run::InterfazUsuario* interfaz)
    : interfazPropia_(interfaz ? nullptr : std::make_unique<InterfazWin32>()),
      principal_(interfaz ? *interfaz : *interfazPropia_),
      blanco_(CreateSolidBrush(ColorDe(diseno::kBlanco))) {
  CrearVentana();
  if (interfazPropia_) interfazPropia_->AsignarVentana(ventana_);
  dialogos_.AsignarPropietario(ventana_);
  principal_.PonerDialogos(&dialogos_);
  CrearMenuVentana();
  CrearControles();
  Maquetar();
  principal_.AlCambiarCarpeta([this] { MostrarDirectorio(); });
  principal_.Crear();
  MostrarDirectorio();
  MostrarCentros();
}

TExportarDatos::~TExportarDatos() {
  alCerrar = nullptr;  // the program is going anyway
  if (ventana_ != nullptr) DestroyWindow(ventana_);
}

void TExportarDatos::CrearVentana() {
  RegistrarClase(kClase, &TExportarDatos::ProcedimientoVentana, GetSysColorBrush(COLOR_BTNFACE));
  const UINT dpiSistema = GetDpiForSystem();
  ventana_ = CreateWindowExW(kEstiloExtendido, kClase, Wide(ventana::kTituloAplicacion).c_str(), kEstilo,
                             Escalar(diseno::kIzquierdaVentana, dpiSistema), Escalar(diseno::kArribaVentana, dpiSistema),
                             Escalar(diseno::kAnchoVentana, dpiSistema), Escalar(diseno::kAltoVentana, dpiSistema),
                             nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (ventana_ == nullptr) throw std::runtime_error("No se puede crear la ventana");
  dpi_ = DpiDe(ventana_);  // the monitor's it opened on
}

// The window menu's items, each with its shortcut after a tab, after a separator at the end of the system menu.
void TExportarDatos::CrearMenuVentana() {
  HMENU menu = GetSystemMenu(ventana_, FALSE);
  if (menu == nullptr) return;
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  for (std::size_t i = 0; i < ventana::kMenuVentana.size(); ++i) {
    const ventana::ElementoMenu& elemento = ventana::kMenuVentana[i];
    const std::wstring texto = Wide(std::string(elemento.texto) + "\t" + ventana::TextoAtajo(elemento));
    AppendMenuW(menu, MF_STRING, IdDeOrden(i), texto.c_str());
  }
}

// A WM_SYSCOMMAND of a window menu's item runs its order; whether it was one.
bool TExportarDatos::OrdenDelMenu(WPARAM comando) {
  const ventana::ElementoMenu* elemento = ElementoDeId(comando);
  if (elemento == nullptr) return false;
  principal_.EjecutarOrden(elemento->orden);
  return true;
}

HWND TExportarDatos::CrearControl(const ventana::Control& def, const wchar_t* clase, DWORD estilo, DWORD estiloExtendido) {
  HWND control = CreateWindowExW(estiloExtendido, clase, Wide(def.texto).c_str(),
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | estilo, 0, 0, 0, 0, ventana_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdDe(def))), GetModuleHandleW(nullptr),
                                 nullptr);
  controles_.push_back({&def, control});
  return control;
}

// In tab order: the window's tab order is the order its controls were created in.
void TExportarDatos::CrearControles() {
  edNuevoDir_ = CrearControl(diseno::kEdNuevoDir, WC_EDITW, ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE);
  listaDirectorios_.Crear(ventana_, IdDe(diseno::kListaDirectorios));
  controles_.push_back({&diseno::kListaDirectorios, listaDirectorios_.Handle()});
  listaUnidades_ = CrearControl(diseno::kListaUnidades, WC_COMBOBOXW,
                                CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL);
  cbCentro_ = CrearControl(diseno::kCBCentro, WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL);
  bClose_ = CrearControl(diseno::kBClose, WC_BUTTONW, BS_PUSHBUTTON | BS_NOTIFY);
  bExportar_ = CrearControl(diseno::kBExportar, WC_BUTTONW, BS_DEFPUSHBUTTON | BS_NOTIFY);  // until the focus is here
  comboBoxValCast_ = CrearControl(diseno::kComboBoxValCast, WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL);
  bImportar_ = CrearControl(diseno::kBImportar, WC_BUTTONW, BS_PUSHBUTTON | BS_NOTIFY);
  LlenarUnidades();
  LlenarIdiomas();
}

void TExportarDatos::LlenarIdiomas() {
  for (const char* idioma : ventana::kIdiomas) {
    SendMessageW(comboBoxValCast_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(idioma).c_str()));
  }
  PonerTexto(comboBoxValCast_, ventana::kIdiomaInicial);
}

void TExportarDatos::LlenarUnidades() {
  for (char letra : principal_.Unidades()) {
    SendMessageW(listaUnidades_, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(Wide(ventana::VentanaPrincipal::NombreDeUnidad(letra)).c_str()));
  }
}

void TExportarDatos::CrearGlifos() {
  const int lado = Escalar(16, dpi_);
  Icono cerrar = CrearGlifo(ventana::Glifo::kCerrar, lado);
  Icono aceptar = CrearGlifo(ventana::Glifo::kAceptar, lado);
  SendMessageW(bClose_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(cerrar.Get()));
  SendMessageW(bExportar_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(aceptar.Get()));
  SendMessageW(bImportar_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(aceptar.Get()));
  glifoCerrar_ = std::move(cerrar);  // the buttons' old glyphs go only now, no longer shown
  glifoAceptar_ = std::move(aceptar);
}

void TExportarDatos::Mostrar(int comoMostrar) {
  ShowWindow(ventana_, comoMostrar);
  UpdateWindow(ventana_);
}

HWND TExportarDatos::Control(const ventana::Control& control) const {
  for (const ControlCreado& creado : controles_) {
    if (creado.def == &control) return creado.hwnd;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// Layout at the window's dpi

namespace {

// How a label's text is drawn: at the top left of its box, wrapped at word boundaries or on one line.
UINT FormaDeEtiqueta(const ventana::Etiqueta& etiqueta) {
  return DT_LEFT | DT_TOP | DT_NOPREFIX | (etiqueta.ajustada ? DT_WORDBREAK : DT_SINGLELINE);
}

}  // namespace

// The window's size for a client area of the design's, then every control at its place, in its font.
void TExportarDatos::Maquetar() {
  // The frame as the system draws it now (on a dpi change, already at the new dpi).
  RECT exterior{};
  RECT cliente{};
  GetWindowRect(ventana_, &exterior);
  GetClientRect(ventana_, &cliente);
  const int marcoAncho = (exterior.right - exterior.left) - cliente.right;
  const int marcoAlto = (exterior.bottom - exterior.top) - cliente.bottom;
  SetWindowPos(ventana_, nullptr, 0, 0, Escalar(diseno::kAnchoVentana, dpi_) + marcoAncho,
               Escalar(diseno::kAltoVentana, dpi_) + marcoAlto, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  for (const ControlCreado& creado : controles_) {
    const ventana::Control& def = *creado.def;
    const RECT caja = Escalar(diseno::EnVentana(def.panel, def.caja), dpi_);
    const bool combo = creado.hwnd == listaUnidades_ || creado.hwnd == cbCentro_ || creado.hwnd == comboBoxValCast_;
    const int alto = (caja.bottom - caja.top) + (combo ? Escalar(kAltoDesplegable, dpi_) : 0);
    SendMessageW(creado.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FuenteDe(def.letra)), FALSE);
    MoveWindow(creado.hwnd, caja.left, caja.top, caja.right - caja.left, alto, FALSE);
    if (combo) AjustarAltoDelCombo(creado.hwnd, caja.bottom - caja.top);
  }
  fuentesEtiquetas_.clear();
  HDC dc = GetDC(ventana_);
  for (const ventana::Etiqueta& etiqueta : diseno::kEtiquetas) {
    fuentesEtiquetas_.push_back(FuenteQueCabe(dc, etiqueta.letra, Wide(etiqueta.texto), etiqueta.caja,
                                              FormaDeEtiqueta(etiqueta), dpi_));
  }
  ReleaseDC(ventana_, dc);
  listaDirectorios_.CambiarDpi(dpi_);
  SendMessageW(listaUnidades_, CB_SETITEMHEIGHT, 0, ListaCarpetas::AltoDeFila(dpi_));
  CrearGlifos();
  InvalidateRect(ventana_, nullptr, TRUE);
}

// A closed combo box is as tall as its selection field makes it: the field grows or shrinks by what the
// box lacks or has over `objetivo` (the design's box at this dpi), measured again after each change (Wine's combo box takes the
// field's height with two pixels more than it reports).
void TExportarDatos::AjustarAltoDelCombo(HWND combo, LONG objetivo) {
  LRESULT campo = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  for (int intento = 0; intento < 3 && campo != CB_ERR; ++intento) {
    RECT caja{};
    GetWindowRect(combo, &caja);
    const LRESULT diferencia = objetivo - (caja.bottom - caja.top);
    if (diferencia == 0 || campo + diferencia <= 0) return;
    campo += diferencia;
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), campo);
  }
}

HFONT TExportarDatos::FuenteDe(const ventana::Letra& letra) {
  for (const FuenteCreada& creada : fuentes_) {
    if (creada.letra == letra) return creada.fuente.Handle();
  }
  fuentes_.push_back({letra, Fuente(letra, dpi_)});
  return fuentes_.back().fuente.Handle();
}

// The window moved to a monitor of another dpi (or that monitor's scale changed): everything again at the
// new dpi, the window where Windows suggests.
void TExportarDatos::CambiarDpi(UINT dpi, const RECT* sugerido) {
  dpi_ = dpi;
  std::vector<FuenteCreada> anteriores = std::move(fuentes_);  // the controls hold them until Maquetar
  fuentes_.clear();
  if (sugerido != nullptr) {
    SetWindowPos(ventana_, nullptr, sugerido->left, sugerido->top, sugerido->right - sugerido->left,
                 sugerido->bottom - sugerido->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Maquetar();
}

// ---------------------------------------------------------------------------------------------------------
// Painting: the panels' gradients and the labels on them

void TExportarDatos::Pintar(HDC dc, const RECT& zona) {
  for (const ventana::Panel& panel : diseno::kPaneles) {
    PintarDegradado(dc, Escalar(panel.caja, dpi_), ColorDe(panel.inicio), ColorDe(panel.medio), ColorDe(panel.fin));
  }
  SetBkMode(dc, TRANSPARENT);
  for (std::size_t i = 0; i < diseno::kEtiquetas.size(); ++i) {
    const ventana::Etiqueta& etiqueta = diseno::kEtiquetas[i];
    RECT caja = Escalar(diseno::EnVentana(etiqueta.panel, etiqueta.caja), dpi_);
    RECT comun{};
    if (!IntersectRect(&comun, &caja, &zona)) continue;
    Seleccion fuente(dc, i < fuentesEtiquetas_.size() ? fuentesEtiquetas_[i].Handle() : FuenteDe(etiqueta.letra));
    SetTextColor(dc, ColorDe(etiqueta.color));
    const std::wstring texto = Wide(etiqueta.texto);
    DrawTextW(dc, texto.c_str(), static_cast<int>(texto.size()), &caja, FormaDeEtiqueta(etiqueta));
  }
}

// Black on white: the folder box (read-only, which Windows would draw grey) and the language box.
LRESULT TExportarDatos::ColorearControl(UINT mensaje, HDC dc, HWND control) {
  const ventana::Control* def = DisenoDe(control);
  if (def == nullptr || (def != &diseno::kEdNuevoDir && !def->fondo)) {
    return DefWindowProcW(ventana_, mensaje, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  }
  if (def->tinta) SetTextColor(dc, ColorDe(*def->tinta));
  SetBkColor(dc, ColorDe(diseno::kBlanco));
  return reinterpret_cast<LRESULT>(blanco_.Get());
}

void TExportarDatos::Medir(MEASUREITEMSTRUCT& medida) {
  const bool campoDelCombo = medida.CtlID == static_cast<UINT>(IdDe(diseno::kListaUnidades)) &&
                             medida.itemID == static_cast<UINT>(-1);
  medida.itemHeight = campoDelCombo ? static_cast<UINT>(Escalar(diseno::kListaUnidades.caja.alto - 6, dpi_))
                                    : ListaCarpetas::AltoDeFila(dpi_);
}

void TExportarDatos::DibujarElemento(const DRAWITEMSTRUCT& item) {
  const COLORREF negro = ColorDe(diseno::kNegro);
  if (item.hwndItem == listaDirectorios_.Handle()) {
    listaDirectorios_.Dibujar(item, dpi_, negro);
  } else if (item.hwndItem == listaUnidades_) {
    const int lado = Escalar(diseno::kLadoIconoCarpeta, dpi_);
    std::wstring texto;
    if (item.itemID < principal_.Unidades().size()) {
      texto = Wide(ventana::VentanaPrincipal::NombreDeUnidad(principal_.Unidades()[item.itemID]));
    }
    DibujarEntrada(item, texto.empty() ? nullptr : iconos_.Unidad(lado), lado, 0, texto, negro);
  }
}

// ---------------------------------------------------------------------------------------------------------
// The default buttons

// The control of the design that is `control` or holds it (the edit box inside a combo box).
const ventana::Control* TExportarDatos::DisenoDe(HWND control) const {
  for (const ControlCreado& creado : controles_) {
    if (control != nullptr && (creado.hwnd == control || IsChild(creado.hwnd, control))) return creado.def;
  }
  return nullptr;
}

// Enter that the control with the focus does not take clicks the default button (ventana::BotonPorDefecto),
// and only that button is drawn as the default.
HWND TExportarDatos::BotonPorDefecto(HWND foco) const { return Control(ventana::BotonPorDefecto(DisenoDe(foco))); }

HWND TExportarDatos::BotonPorDefecto() const { return BotonPorDefecto(GetFocus()); }

// Only moves inside this window count: a message box or another window taking the focus changes nothing.
void TExportarDatos::MarcarBotonPorDefecto() {
  HWND foco = GetFocus();
  if (DisenoDe(foco) == nullptr) return;
  HWND porDefecto = BotonPorDefecto(foco);
  for (HWND boton : {bClose_, bExportar_, bImportar_}) {
    const WPARAM estilo = BS_NOTIFY | (boton == porDefecto ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    if ((static_cast<WPARAM>(GetWindowLongW(boton, GWL_STYLE)) & BS_TYPEMASK) != (estilo & BS_TYPEMASK)) {
      SendMessageW(boton, BM_SETSTYLE, estilo, TRUE);
    }
  }
}

void TExportarDatos::PulsarBotonPorDefecto() {
  HWND boton = BotonPorDefecto();
  if (!IsWindowVisible(boton) || !IsWindowEnabled(boton)) return;
  SendMessageW(ventana_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(boton), BN_CLICKED), reinterpret_cast<LPARAM>(boton));
}

bool TExportarDatos::PreTraducirMensaje(MSG& mensaje) {
  if (ventana_ == nullptr || (mensaje.hwnd != ventana_ && !IsChild(ventana_, mensaje.hwnd))) return false;
  if (mensaje.message == WM_KEYDOWN && IsWindowEnabled(ventana_)) {
    // The window menu's shortcuts, Ctrl and a letter without Alt or a function key alone, wherever the focus
    // is in the window: the key goes no further (an edit box would take Ctrl+H and Ctrl+I as characters).
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0 && (GetKeyState(VK_MENU) & 0x8000) == 0;
    const ventana::ElementoMenu* elemento = nullptr;
    if (control && mensaje.wParam >= 'A' && mensaje.wParam <= 'Z') {
      elemento = ventana::ElementoDeAtajo(static_cast<char>(mensaje.wParam));
    } else if (mensaje.wParam >= VK_F1 && mensaje.wParam <= VK_F12 && (GetKeyState(VK_CONTROL) & 0x8000) == 0 &&
               (GetKeyState(VK_SHIFT) & 0x8000) == 0) {
      // A function key alone (F1: the manual); with Alt it is a WM_SYSKEYDOWN, never seen here.
      elemento = ventana::ElementoDeTeclaFuncion(static_cast<int>(mensaje.wParam - VK_F1) + 1);
    }
    if (elemento != nullptr) {
      const auto indice = static_cast<std::size_t>(elemento - ventana::kMenuVentana.data());
      SendMessageW(ventana_, WM_SYSCOMMAND, IdDeOrden(indice), 0);
      return true;
    }
  }
  if (mensaje.message == WM_KEYDOWN) {
    borrandoIdioma_ = mensaje.wParam == VK_BACK || mensaje.wParam == VK_DELETE;
    const ventana::Control* def = DisenoDe(GetFocus());
    HWND control = def != nullptr ? Control(*def) : nullptr;
    const bool desplegado = control != nullptr && SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0) != 0;
    const bool conControlOAlt = (GetKeyState(VK_CONTROL) & 0x8000) != 0 || (GetKeyState(VK_MENU) & 0x8000) != 0;
    if (mensaje.wParam == VK_RETURN && !conControlOAlt && (GetKeyState(VK_SHIFT) & 0x8000) == 0 && !desplegado) {
      if (control == listaDirectorios_.Handle()) {
        // The directory list takes Enter itself: it opens the selected entry.
        if (std::optional<std::string> ruta = listaDirectorios_.RutaSeleccionada()) principal_.AbrirCarpeta(*ruta);
      } else {
        PulsarBotonPorDefecto();
      }
      return true;
    }
    if (mensaje.wParam == VK_TAB && !conControlOAlt) {
      Tabular(control, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
      return true;
    }
  }
  // The rest of the dialog keys (the buttons' access keys, arrows): Windows' dialog manager, which has its own
  // idea of the default button: this window's is put back after it.
  const bool tecla = mensaje.message >= WM_KEYFIRST && mensaje.message <= WM_KEYLAST;
  const bool atendido = IsDialogMessageW(ventana_, &mensaje) != FALSE;
  if (tecla && ventana_ != nullptr) MarcarBotonPorDefecto();
  return atendido;
}

// Tab and Shift+Tab: the next or the previous control in tab order takes the focus, with all of its text
// selected when it is an edit box.
void TExportarDatos::Tabular(HWND desde, bool atras) {
  HWND siguiente = GetNextDlgTabItem(ventana_, desde, atras ? TRUE : FALSE);
  if (siguiente == nullptr) return;
  SetFocus(siguiente);
  if (siguiente == edNuevoDir_) SendMessageW(edNuevoDir_, EM_SETSEL, 0, -1);
  if (siguiente == comboBoxValCast_) SendMessageW(comboBoxValCast_, CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF));
}

// Typing into the language box completes the text with the first language that begins with it, the
// completed part selected (typing on replaces it); deleting does not complete.
void TExportarDatos::CompletarIdioma() {
  if (borrandoIdioma_) return;
  const std::wstring escrito = Wide(TextoDe(comboBoxValCast_));
  if (escrito.empty()) return;
  const LRESULT indice = SendMessageW(comboBoxValCast_, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(escrito.c_str()));
  if (indice == CB_ERR) return;
  std::wstring completo(static_cast<std::size_t>(SendMessageW(comboBoxValCast_, CB_GETLBTEXTLEN, indice, 0)), L'\0');
  SendMessageW(comboBoxValCast_, CB_GETLBTEXT, indice, reinterpret_cast<LPARAM>(completo.data()));
  if (completo.size() <= escrito.size()) return;
  borrandoIdioma_ = true;  // setting the text raises this notification again
  SetWindowTextW(comboBoxValCast_, completo.c_str());
  borrandoIdioma_ = false;
  SendMessageW(comboBoxValCast_, CB_SETEDITSEL, 0, MAKELPARAM(escrito.size(), 0xFFFF));
}

// ---------------------------------------------------------------------------------------------------------
// The window procedure

LRESULT CALLBACK TExportarDatos::ProcedimientoVentana(HWND ventana, UINT mensaje, WPARAM wParam, LPARAM lParam) {
  if (mensaje == WM_NCCREATE) {
    auto* creada = static_cast<TExportarDatos*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    creada->ventana_ = ventana;
    SetWindowLongPtrW(ventana, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creada));
  }
  TExportarDatos* propia = VentanaDe(ventana);
  if (propia == nullptr) return DefWindowProcW(ventana, mensaje, wParam, lParam);
  try {
    return propia->Procesar(mensaje, wParam, lParam);
  } catch (const std::exception& error) {
    // Nothing may leave a window procedure: what a handler did not catch goes to the default error handler.
    propia->principal_.Interfaz().MostrarError(error.what());
    return 0;
  }
}

LRESULT TExportarDatos::Procesar(UINT mensaje, WPARAM wParam, LPARAM lParam) {
  switch (mensaje) {
    case WM_COMMAND:
      Comando(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT pintura{};
      HDC dc = BeginPaint(ventana_, &pintura);
      {
        LienzoDoble lienzo(dc, pintura.rcPaint);
        Pintar(lienzo.Dc(), pintura.rcPaint);
      }
      EndPaint(ventana_, &pintura);
      return 0;
    }
    case WM_PRINTCLIENT: {  // a themed control paints its parent's background behind its corners
      RECT cliente{};
      GetClientRect(ventana_, &cliente);
      Pintar(reinterpret_cast<HDC>(wParam), cliente);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the panels cover the whole window
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return ColorearControl(mensaje, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_MEASUREITEM:
      Medir(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_DRAWITEM:
      DibujarElemento(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_SETCURSOR:
      if (PonerCursorEspera()) return TRUE;
      break;
    case WM_ACTIVATE:
      // The focus goes back to the control that had it, the first one the first time.
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (DisenoDe(GetFocus()) != nullptr) focoGuardado_ = GetFocus();
      } else if (HIWORD(wParam) == 0) {  // not minimised
        SetFocus(focoGuardado_ != nullptr && IsWindow(focoGuardado_) ? focoGuardado_ : edNuevoDir_);
        return 0;
      }
      break;
    case WM_SETFOCUS:
      SetFocus(focoGuardado_ != nullptr && IsWindow(focoGuardado_) ? focoGuardado_ : edNuevoDir_);
      return 0;
    case DM_GETDEFID:  // for Windows' dialog manager, which IsDialogMessage runs
      return MAKELRESULT(GetDlgCtrlID(BotonPorDefecto()), DC_HASDEFID);
    case WM_DPICHANGED:
      CambiarDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SYSCOMMAND:
      if (OrdenDelMenu(wParam)) return 0;
      break;
    case WM_NCDESTROY: {
      SetWindowLongPtrW(ventana_, GWLP_USERDATA, 0);
      ventana_ = nullptr;
      if (interfazPropia_) interfazPropia_->AsignarVentana(nullptr);
      std::function<void()> cerrar = alCerrar;
      if (cerrar) cerrar();
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(ventana_, mensaje, wParam, lParam);
}

// Whether a control's notification says that it has just taken the focus (each kind of control has its own).
bool TExportarDatos::TomaElFoco(HWND control, int notificacion) const {
  if (control == edNuevoDir_) return notificacion == EN_SETFOCUS;
  if (control == listaDirectorios_.Handle()) return notificacion == LBN_SETFOCUS;
  if (control == listaUnidades_ || control == cbCentro_ || control == comboBoxValCast_) return notificacion == CBN_SETFOCUS;
  return notificacion == BN_SETFOCUS;
}

void TExportarDatos::Comando(int id, int notificacion, HWND control) {
  if (control == nullptr || DisenoDe(control) == nullptr) return;  // menus, accelerators, IDOK and IDCANCEL
  if (TomaElFoco(control, notificacion)) {
    MarcarBotonPorDefecto();
  } else if (control == listaDirectorios_.Handle()) {
    if (notificacion == LBN_DBLCLK) AbrirEntradaBajoElRaton();
  } else if (control == listaUnidades_) {
    const bool desplegada = SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0) != 0;
    if (notificacion == CBN_SELENDOK || (notificacion == CBN_SELCHANGE && !desplegada)) ElegirUnidad();
    if (notificacion == CBN_SELENDCANCEL) MostrarUnidad();
  } else if (control == cbCentro_) {
    if (notificacion == CBN_SELCHANGE) {
      principal_.SeleccionarCentro(static_cast<int>(SendMessageW(cbCentro_, CB_GETCURSEL, 0, 0)));
    }
  } else if (control == comboBoxValCast_) {
    if (notificacion == CBN_EDITUPDATE) CompletarIdioma();
  } else if (notificacion == BN_CLICKED) {
    if (id == IdDe(diseno::kBClose)) SendMessageW(ventana_, WM_CLOSE, 0, 0);
    if (id == IdDe(diseno::kBExportar)) principal_.PulsarExportar(TextoDe(comboBoxValCast_));
    if (id == IdDe(diseno::kBImportar)) principal_.PulsarImportar();
  }
}

// A double-click opens the entry under the mouse; one below the last entry opens nothing.
void TExportarDatos::AbrirEntradaBajoElRaton() {
  const DWORD posicion = GetMessagePos();
  POINT punto{static_cast<short>(LOWORD(posicion)), static_cast<short>(HIWORD(posicion))};
  ScreenToClient(listaDirectorios_.Handle(), &punto);
  if (std::optional<std::string> ruta = listaDirectorios_.RutaEnPunto(punto)) principal_.AbrirCarpeta(*ruta);
}

// ---------------------------------------------------------------------------------------------------------
// What the window shows

void TExportarDatos::MostrarDirectorio() {
  PonerTexto(edNuevoDir_, principal_.CarpetaMostrada());
  listaDirectorios_.MostrarCarpeta(principal_.Directorio());
  MostrarUnidad();
}

// The drive list follows the directory list's drive.
void TExportarDatos::MostrarUnidad() {
  SendMessageW(listaUnidades_, CB_SETCURSEL, static_cast<WPARAM>(principal_.UnidadActual()), 0);
}

// Filled once, at creation: later folder changes keep the codes read then.
void TExportarDatos::MostrarCentros() {
  for (const std::string& centro : principal_.Centros()) {
    SendMessageW(cbCentro_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(centro).c_str()));
  }
  SendMessageW(cbCentro_, CB_SETCURSEL, static_cast<WPARAM>(principal_.CentroSeleccionado()), 0);
}

// ---------------------------------------------------------------------------------------------------------
// The user's actions

// A drive picked in the drive list; the list shows the directory list's drive again when the move failed.
void TExportarDatos::ElegirUnidad() {
  principal_.ElegirUnidad(static_cast<int>(SendMessageW(listaUnidades_, CB_GETCURSEL, 0, 0)));
  MostrarUnidad();
}

// ---------------------------------------------------------------------------------------------------------
// The program's loop

int BucleDeMensajes(TExportarDatos& ventana) {
  if (ventana.Handle() == nullptr) return 0;
  ventana.alCerrar = [] { PostQuitMessage(0); };
  MSG mensaje{};
  while (GetMessageW(&mensaje, nullptr, 0, 0) > 0) {
    if (ventana.PreTraducirMensaje(mensaje)) continue;
    TranslateMessage(&mensaje);
    DispatchMessageW(&mensaje);
  }
  return static_cast<int>(mensaje.wParam);
}

}  // namespace app::win32
