// The Win32 main window, run under Wine on a virtual display (or on Windows): its frame and client area,
// every control at its place in its font at 96 and at 144 dpi, the labels whole in their boxes and the panels'
// gradients as painted, the tab order, the default buttons and Enter, the directory and drive lists, the
// language box's completion, the message boxes and hourglass that the runs use, and the program's icon on the
// window and in the resources. Each case opens the window over a temporary drive C: holding C:\ESCOLAN with a
// centro table and one subfolder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/win32/comun.h"
#include "app/win32/exportar_datos.h"
#include "app/win32/recursos.h"
#include "export/exportacion.h"
#include "import/importacion.h"
#include "tests/support/interfaz_guionada.h"
#include "tests/support/wine_display.h"
#include "tests/support/tablas_de_prueba.h"
#include "tests/support/temporary_drive.h"
#include "ventana/diseno_principal.h"

namespace {

namespace diseno = ventana::diseno;
using app::win32::Escalar;
using app::win32::TExportarDatos;
using platform::Narrow;
using platform::Wide;

// A control's box in its parent's client area.
RECT CajaEnPadre(HWND control) {
  RECT caja{};
  GetWindowRect(control, &caja);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&caja), 2);
  return caja;
}

std::string Texto(const RECT& caja) {
  return std::to_string(caja.left) + "," + std::to_string(caja.top) + " " + std::to_string(caja.right - caja.left) +
         "x" + std::to_string(caja.bottom - caja.top);
}

LOGFONTW FuenteDe(HWND control) {
  LOGFONTW letra{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof letra, &letra);
  return letra;
}

// The face the font system gives for a font (Wine gives "Arial" for the Liberation Sans behind it).
std::string CaraObtenida(HFONT fuente) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ anterior = SelectObject(dc, fuente);
  wchar_t cara[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, cara);
  SelectObject(dc, anterior);
  ReleaseDC(nullptr, dc);
  return Narrow(cara);
}

// Whether a font grew with the dpi: scalable above 96 dpi, and at least `decimos` tenths as high as its face at
// the design's size at 96 dpi, scaled. Why not, when it did not.
std::string Escala(HFONT fuente, const ventana::Letra& letra, UINT dpi, int decimos) {
  if (dpi == USER_DEFAULT_SCREEN_DPI) return {};
  HDC dc = GetDC(nullptr);
  auto alto = [&](HFONT f, BYTE* familia) {
    HGDIOBJ anterior = SelectObject(dc, f);
    TEXTMETRICW m{};
    GetTextMetricsW(dc, &m);
    SelectObject(dc, anterior);
    if (familia != nullptr) *familia = m.tmPitchAndFamily;
    return static_cast<int>(m.tmHeight);
  };
  BYTE familia = 0;
  const int aqui = alto(fuente, &familia);
  LOGFONTW a96{};
  GetObjectW(fuente, sizeof a96, &a96);
  a96.lfHeight = -MulDiv(letra.puntos, USER_DEFAULT_SCREEN_DPI, 72);
  HFONT misma = CreateFontIndirectW(&a96);
  const int base = alto(misma, nullptr);
  DeleteObject(misma);
  ReleaseDC(nullptr, dc);
  const bool escalable = (familia & (TMPF_VECTOR | TMPF_TRUETYPE)) != 0;
  if (escalable && aqui * 10 >= MulDiv(base, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI) * decimos) return {};
  return CaraObtenida(fuente) + (escalable ? "" : " (not scalable)") + ", " + std::to_string(aqui) +
         " px high against " + std::to_string(base) + " px at 96 dpi";
}

bool EsPorDefecto(HWND boton) { return (GetWindowLongW(boton, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON; }

// What the window paints itself (the panels and the labels, not its controls) at its own size, as 0xRRGGBB.
class Imagen {
 public:
  explicit Imagen(HWND ventana) {
    RECT cliente{};
    GetClientRect(ventana, &cliente);
    ancho_ = cliente.right;
    alto_ = cliente.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = ancho_;
    info.bmiHeader.biHeight = -alto_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP mapa = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ anterior = SelectObject(dc, mapa);
    SendMessageW(ventana, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    const auto* pixeles = static_cast<const std::uint32_t*>(bits);
    pixeles_.assign(pixeles, pixeles + static_cast<std::size_t>(ancho_) * static_cast<std::size_t>(alto_));
    SelectObject(dc, anterior);
    DeleteObject(mapa);
    DeleteDC(dc);
  }
  std::uint32_t Pixel(int x, int y) const { return pixeles_[static_cast<std::size_t>(y * ancho_ + x)] & 0xFFFFFF; }

 private:
  int ancho_ = 0;
  int alto_ = 0;
  std::vector<std::uint32_t> pixeles_;
};

std::uint32_t Rgb(const ventana::Color& color) {
  return static_cast<std::uint32_t>(color.rgb.rojo << 16 | color.rgb.verde << 8 | color.rgb.azul);
}

int Diferencia(std::uint32_t a, std::uint32_t b) {
  int suma = 0;
  for (int desplazamiento : {0, 8, 16}) {
    suma += std::abs(static_cast<int>((a >> desplazamiento) & 0xFF) - static_cast<int>((b >> desplazamiento) & 0xFF));
  }
  return suma;
}

std::string Hex(std::uint32_t color) {
  char texto[8];
  std::snprintf(texto, sizeof texto, "%06X", color);
  return texto;
}

class ExportarDatosWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing_support::NoDisplayUnderWine()) GTEST_SKIP() << "Wine has no X display here: no window can be created";
    drive_ = std::make_unique<testing_support::TemporaryDrive>();
    testing_support::EscribirCentro(*drive_, "ESCOLAN", {46010, 3001});
    drive_->MakeHostFolder("ESCOLAN/OTRO");
  }

  void TearDown() override {
    ventana_.reset();
    Bombear();
    drive_.reset();
  }

  // The window as the program opens it, shown; the export runs no step.
  void Abrir(run::InterfazUsuario* interfaz) {
    ventana_ = std::make_unique<TExportarDatos>(interfaz);
    ventana_->Ventana().Sesion().PonerPasosExportacion({});
    ventana_->Mostrar();
    Bombear();
  }
  void Abrir() { Abrir(&interfaz_); }

  // The thread's waiting messages, through the window's keys first as the program's loop takes them.
  void Bombear() {
    MSG mensaje{};
    while (PeekMessageW(&mensaje, nullptr, 0, 0, PM_REMOVE)) {
      if (ventana_ && ventana_->PreTraducirMensaje(mensaje)) continue;
      TranslateMessage(&mensaje);
      DispatchMessageW(&mensaje);
    }
  }

  // A key pressed on the control with the focus, as the program's loop hands it on.
  void Tecla(WPARAM tecla) {
    PostMessageW(GetFocus(), WM_KEYDOWN, tecla, 1);
    Bombear();
  }

  HWND Control(const ventana::Control& def) const { return ventana_->Control(def); }

  // The control of the design that has the focus (the language box when its edit field has it).
  const ventana::Control* ConElFoco() const {
    HWND foco = GetFocus();
    for (const ventana::Control* def : diseno::kOrdenTabulacion) {
      HWND control = Control(*def);
      if (foco == control || IsChild(control, foco)) return def;
    }
    return nullptr;
  }

  std::unique_ptr<testing_support::TemporaryDrive> drive_;
  testing_support::InterfazGuionada interfaz_;
  std::unique_ptr<TExportarDatos> ventana_;
};

// ---------------------------------------------------------------------------------------------------------
// The frame and the layout

TEST_F(ExportarDatosWin32Test, TheWindowIsAFixedDialogWithTheDesignsClientArea) {
  Abrir();
  HWND ventana = ventana_->Handle();
  ASSERT_NE(ventana, nullptr);
  EXPECT_EQ(interfaz_.sucesos, std::vector<std::string>{});
  EXPECT_EQ(app::win32::TextoDe(ventana), "Exportar e importar datos ");
  RECT cliente{};
  GetClientRect(ventana, &cliente);
  EXPECT_EQ(Texto(cliente), "0,0 587x431");
  const LONG estilo = GetWindowLongW(ventana, GWL_STYLE);
  EXPECT_TRUE(estilo & WS_SYSMENU);
  EXPECT_FALSE(estilo & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
}

// Every control at its box, in its font; the combo boxes as tall as designed while closed. At 144 dpi (a
// monitor at 150 %) everything is half as large again, the fonts re-created for it.
class EnCadaDpi : public ExportarDatosWin32Test, public ::testing::WithParamInterface<UINT> {};

TEST_P(EnCadaDpi, ControlsSitAtTheirBoxesInTheirFonts) {
  const UINT dpi = GetParam();
  Abrir();
  HWND ventana = ventana_->Handle();
  if (dpi != USER_DEFAULT_SCREEN_DPI) {
    RECT ahora{};
    GetWindowRect(ventana, &ahora);
    RECT sugerido{ahora.left, ahora.top, ahora.left + Escalar(600, dpi), ahora.top + Escalar(460, dpi)};
    SendMessageW(ventana, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&sugerido));
    Bombear();
  }
  RECT cliente{};
  GetClientRect(ventana, &cliente);
  EXPECT_EQ(cliente.right, Escalar(587, dpi));
  EXPECT_EQ(cliente.bottom, Escalar(431, dpi));

  for (const ventana::Control* def : diseno::kOrdenTabulacion) {
    SCOPED_TRACE(std::string(def->nombre));
    HWND control = Control(*def);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(Texto(CajaEnPadre(control)), Texto(Escalar(diseno::EnVentana(def->panel, def->caja), dpi)));
    const LOGFONTW letra = FuenteDe(control);
    EXPECT_EQ(letra.lfFaceName, app::win32::CaraADpi(def->letra.cara, dpi));
    EXPECT_EQ(letra.lfHeight, -MulDiv(def->letra.puntos, static_cast<int>(dpi), 72));
    EXPECT_EQ(letra.lfWeight, def->letra.negrita ? FW_BOLD : FW_NORMAL);
    const HFONT fuente = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (dpi == USER_DEFAULT_SCREEN_DPI) {
      EXPECT_EQ(CaraObtenida(fuente), def->letra.cara);
    }
    EXPECT_EQ(Escala(fuente, def->letra, dpi, 9), "");
    // Inside its panel, and clear of every other control of the panel.
    const RECT caja = CajaEnPadre(control);
    const RECT panel = Escalar(diseno::kPaneles[def->panel].caja, dpi);
    RECT dentro{};
    IntersectRect(&dentro, &caja, &panel);
    EXPECT_TRUE(EqualRect(&dentro, &caja)) << Texto(caja) << " panel " << Texto(panel);
    for (const ventana::Control* otro : diseno::kOrdenTabulacion) {
      if (otro == def || otro->panel != def->panel) continue;
      const RECT suya = CajaEnPadre(Control(*otro));
      RECT comun{};
      EXPECT_FALSE(IntersectRect(&comun, &caja, &suya)) << otro->nombre;
    }
  }
  EXPECT_EQ(SendMessageW(Control(diseno::kListaDirectorios), LB_GETITEMHEIGHT, 0, 0), Escalar(16, dpi));

  // Each label's text, in the font the window draws it in, whole in its box and on no more lines than at 96 dpi,
  // in a font that grew with the dpi.
  HDC dc = GetDC(ventana);
  for (std::size_t i = 0; i < diseno::kEtiquetas.size(); ++i) {
    const ventana::Etiqueta& etiqueta = diseno::kEtiquetas[i];
    SCOPED_TRACE(std::string(etiqueta.nombre));
    const UINT forma = DT_CALCRECT | DT_LEFT | DT_TOP | DT_NOPREFIX | (etiqueta.ajustada ? DT_WORDBREAK : DT_SINGLELINE);
    const std::wstring texto = Wide(etiqueta.texto);
    auto lineas = [&](HFONT fuente, int ancho, RECT& medida) {
      HGDIOBJ anterior = SelectObject(dc, fuente);
      medida = RECT{0, 0, ancho, 0};
      DrawTextW(dc, texto.c_str(), static_cast<int>(texto.size()), &medida, forma);
      TEXTMETRICW medidas{};
      GetTextMetricsW(dc, &medidas);
      SelectObject(dc, anterior);
      return static_cast<int>((medida.bottom + medidas.tmHeight - 1) / medidas.tmHeight);
    };
    app::win32::Fuente de96(etiqueta.letra, USER_DEFAULT_SCREEN_DPI);
    RECT medida96{};
    const int lineas96 = lineas(de96.Handle(), etiqueta.caja.ancho, medida96);
    RECT medida{};
    const HFONT fuente = ventana_->FuenteDeEtiqueta(i);
    EXPECT_LE(lineas(fuente, Escalar(etiqueta.caja.ancho, dpi), medida), lineas96);
    EXPECT_LE(medida.right, Escalar(etiqueta.caja.ancho, dpi)) << Texto(medida);
    EXPECT_LE(medida.bottom, Escalar(etiqueta.caja.alto, dpi)) << Texto(medida);
    // A label's font may be a little smaller than scaled, to keep its text on its lines.
    EXPECT_EQ(Escala(fuente, etiqueta.letra, dpi, 8), "");
  }
  ReleaseDC(ventana, dc);
}

// 96 dpi, and the scalings of many school laptops: 125 %, 150 % and 200 %.
INSTANTIATE_TEST_SUITE_P(Dpi, EnCadaDpi, ::testing::Values(96u, 120u, 144u, 192u));

// Each label's text, in the label's font as this system renders it, wrapped where the label wraps, must show
// whole in its box: a face that is wider than designed would cut a line or push one below the box.
TEST_F(ExportarDatosWin32Test, LabelsFitTheirText) {
  Abrir();
  HDC dc = GetDC(ventana_->Handle());
  for (const ventana::Etiqueta& etiqueta : diseno::kEtiquetas) {
    SCOPED_TRACE(std::string(etiqueta.nombre));
    app::win32::Fuente fuente(etiqueta.letra, USER_DEFAULT_SCREEN_DPI);
    EXPECT_EQ(CaraObtenida(fuente.Handle()), etiqueta.letra.cara);
    HGDIOBJ anterior = SelectObject(dc, fuente.Handle());
    const std::wstring texto = Wide(etiqueta.texto);
    RECT medida{0, 0, etiqueta.caja.ancho, etiqueta.caja.alto};
    const UINT forma = DT_CALCRECT | DT_LEFT | DT_TOP | DT_NOPREFIX | (etiqueta.ajustada ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(dc, texto.c_str(), static_cast<int>(texto.size()), &medida, forma);
    SelectObject(dc, anterior);
    EXPECT_LE(medida.right, etiqueta.caja.ancho) << Texto(medida);
    EXPECT_LE(medida.bottom, etiqueta.caja.alto) << Texto(medida);
  }
  ReleaseDC(ventana_->Handle(), dc);
}

// The two parts of the title label go on a line each, as the blanks between them are meant to do.
TEST_F(ExportarDatosWin32Test, TheTitleLabelBreaksBetweenItsTwoParts) {
  Abrir();
  const ventana::Etiqueta& titulo = diseno::kEtiquetas[2];
  ASSERT_EQ(titulo.nombre, "Label8");
  HDC dc = GetDC(ventana_->Handle());
  app::win32::Fuente fuente(titulo.letra, USER_DEFAULT_SCREEN_DPI);
  HGDIOBJ anterior = SelectObject(dc, fuente.Handle());
  TEXTMETRICW medidas{};
  GetTextMetricsW(dc, &medidas);
  RECT medida{0, 0, titulo.caja.ancho, 0};
  const std::wstring texto = Wide(titulo.texto);
  DrawTextW(dc, texto.c_str(), static_cast<int>(texto.size()), &medida, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SIZE primeraParte{};
  GetTextExtentPoint32W(dc, L"UTILIDAD TRANSFERENCIA DE DATOS", 31, &primeraParte);
  SelectObject(dc, anterior);
  ReleaseDC(ventana_->Handle(), dc);
  EXPECT_LE(primeraParte.cx, titulo.caja.ancho);
  EXPECT_EQ(medida.bottom, 2 * medidas.tmHeight);
}

// Of each panel, the left edge (where no label stands) shows its three colours at the top, halfway and at the
// bottom; inside each label's box the pixel that differs most from its row's panel colour is the label's ink.
TEST_F(ExportarDatosWin32Test, PanelsAndLabelsArePaintedInTheirColours) {
  Abrir();
  const Imagen imagen(ventana_->Handle());
  for (const ventana::Panel& panel : diseno::kPaneles) {
    SCOPED_TRACE(std::string(panel.nombre));
    const int x = panel.caja.izquierda + 2;
    const int abajo = std::min(panel.caja.Abajo(), diseno::kAltoVentana) - 1;
    EXPECT_LE(Diferencia(imagen.Pixel(x, panel.caja.arriba), Rgb(panel.inicio)), 9) << Hex(imagen.Pixel(x, panel.caja.arriba));
    const int mitad = panel.caja.arriba + panel.caja.alto / 2;
    EXPECT_LE(Diferencia(imagen.Pixel(x, mitad), Rgb(panel.medio)), 9) << Hex(imagen.Pixel(x, mitad));
    if (abajo == panel.caja.Abajo() - 1) {
      EXPECT_LE(Diferencia(imagen.Pixel(x, abajo), Rgb(panel.fin)), 9) << Hex(imagen.Pixel(x, abajo));
    }
    EXPECT_EQ(imagen.Pixel(x, mitad), imagen.Pixel(std::min(panel.caja.Derecha(), diseno::kAnchoVentana) - 1, mitad));
  }
  for (const ventana::Etiqueta& etiqueta : diseno::kEtiquetas) {
    SCOPED_TRACE(std::string(etiqueta.nombre));
    const ventana::Caja caja = diseno::EnVentana(etiqueta.panel, etiqueta.caja);
    const int bordePanel = diseno::kPaneles[etiqueta.panel].caja.izquierda + 2;
    std::uint32_t tinta = 0;
    int mayor = -1;
    for (int y = caja.arriba; y < std::min(caja.Abajo(), diseno::kAltoVentana); ++y) {
      for (int x = caja.izquierda; x < std::min(caja.Derecha(), diseno::kAnchoVentana); ++x) {
        const int diferencia = Diferencia(imagen.Pixel(x, y), imagen.Pixel(bordePanel, y));
        if (diferencia > mayor) {
          mayor = diferencia;
          tinta = imagen.Pixel(x, y);
        }
      }
    }
    EXPECT_LE(Diferencia(tinta, Rgb(etiqueta.color)), 72) << Hex(tinta);
  }
}

TEST_F(ExportarDatosWin32Test, TheChoiceControls) {
  Abrir();
  HWND idioma = Control(diseno::kComboBoxValCast);
  EXPECT_EQ(GetWindowLongW(idioma, GWL_STYLE) & 3, CBS_DROPDOWN);  // editable
  ASSERT_EQ(SendMessageW(idioma, CB_GETCOUNT, 0, 0), 2);
  wchar_t elemento[32];
  SendMessageW(idioma, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(elemento));
  EXPECT_EQ(Narrow(elemento), "VALENCIÁ");
  SendMessageW(idioma, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(elemento));
  EXPECT_EQ(Narrow(elemento), "CASTELLANO");
  EXPECT_EQ(app::win32::TextoDe(idioma), "VALENCIÁ");

  HWND centros = Control(diseno::kCBCentro);
  EXPECT_EQ(GetWindowLongW(centros, GWL_STYLE) & (3 | CBS_SORT), CBS_DROPDOWNLIST);  // not editable, not sorted
  ASSERT_EQ(SendMessageW(centros, CB_GETCOUNT, 0, 0), 2);
  SendMessageW(centros, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(elemento));
  EXPECT_EQ(Narrow(elemento), "3001");
  EXPECT_EQ(SendMessageW(centros, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(ventana_->Ventana().Centro(), "46010");

  EXPECT_TRUE(GetWindowLongW(Control(diseno::kEdNuevoDir), GWL_STYLE) & ES_READONLY);
  for (const ventana::Control* boton : {&diseno::kBClose, &diseno::kBExportar, &diseno::kBImportar}) {
    SCOPED_TRACE(std::string(boton->nombre));
    EXPECT_EQ(app::win32::TextoDe(Control(*boton)), boton->texto);
    EXPECT_NE(SendMessageW(Control(*boton), BM_GETIMAGE, IMAGE_ICON, 0), 0);
  }
}

// ---------------------------------------------------------------------------------------------------------
// The folder, the drive and the centre

TEST_F(ExportarDatosWin32Test, StartUpShowsEscolanItsSubfoldersAndItsDrive) {
  Abrir();
  EXPECT_EQ(app::win32::TextoDe(Control(diseno::kEdNuevoDir)), "C:\\ESCOLAN");
  HWND lista = Control(diseno::kListaDirectorios);
  std::vector<std::string> entradas;
  for (LRESULT i = 0; i < SendMessageW(lista, LB_GETCOUNT, 0, 0); ++i) {
    wchar_t texto[MAX_PATH] = {};
    SendMessageW(lista, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(texto));
    entradas.push_back(Narrow(texto));
  }
  EXPECT_EQ(entradas, (std::vector<std::string>{"C:\\", "ESCOLAN", "OTRO"}));
  EXPECT_EQ(SendMessageW(lista, LB_GETCURSEL, 0, 0), 1);
  HWND unidades = Control(diseno::kListaUnidades);
  wchar_t unidad[8] = {};
  SendMessageW(unidades, CB_GETLBTEXT, static_cast<WPARAM>(SendMessageW(unidades, CB_GETCURSEL, 0, 0)),
               reinterpret_cast<LPARAM>(unidad));
  EXPECT_EQ(Narrow(unidad), "c:");
}

TEST_F(ExportarDatosWin32Test, AStartUpWithoutEscolanShowsTheErrorAndOpensTheWindow) {
  std::filesystem::remove_all(drive_->Host("ESCOLAN"));
  Abrir();
  EXPECT_EQ(interfaz_.sucesos, std::vector<std::string>{"error: Nombre de archivo inválido"});
  ASSERT_NE(ventana_->Handle(), nullptr);
  EXPECT_EQ(app::win32::TextoDe(Control(diseno::kEdNuevoDir)), "");
  EXPECT_EQ(SendMessageW(Control(diseno::kCBCentro), CB_GETCOUNT, 0, 0), 0);
}

// Enter on an entry and a double-click on it move there and stage again; a double-click below the entries
// opens nothing.
TEST_F(ExportarDatosWin32Test, OpeningAnEntryMovesThere) {
  Abrir();
  HWND lista = Control(diseno::kListaDirectorios);
  SetFocus(lista);
  SendMessageW(lista, LB_SETCURSEL, 2, 0);
  Tecla(VK_RETURN);
  EXPECT_EQ(app::win32::TextoDe(Control(diseno::kEdNuevoDir)), "C:\\ESCOLAN\\OTRO");

  // Now C:\, ESCOLAN, OTRO: a double-click on ESCOLAN, then one below the last entry.
  RECT fila{};
  SendMessageW(lista, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&fila));
  for (POINT punto : {POINT{fila.left + 20, (fila.top + fila.bottom) / 2}, POINT{fila.left + 20, Escalar(150, 96)}}) {
    POINT enPantalla = punto;
    ClientToScreen(lista, &enPantalla);
    SetCursorPos(enPantalla.x, enPantalla.y);
    PostMessageW(lista, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(punto.x, punto.y));
    PostMessageW(lista, WM_LBUTTONUP, 0, MAKELPARAM(punto.x, punto.y));
    PostMessageW(lista, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(punto.x, punto.y));
    PostMessageW(lista, WM_LBUTTONUP, 0, MAKELPARAM(punto.x, punto.y));
    Bombear();
  }
  EXPECT_EQ(app::win32::TextoDe(Control(diseno::kEdNuevoDir)), "C:\\ESCOLAN");
  EXPECT_EQ(interfaz_.sucesos, std::vector<std::string>{});
  // The centre list keeps what it read at start.
  EXPECT_EQ(SendMessageW(Control(diseno::kCBCentro), CB_GETCOUNT, 0, 0), 2);
}

TEST_F(ExportarDatosWin32Test, ChoosingACentreIsTheWindowsCentre) {
  Abrir();
  HWND centros = Control(diseno::kCBCentro);
  SetFocus(centros);
  Tecla(VK_DOWN);
  EXPECT_EQ(ventana_->Ventana().Centro(), "3001");
}

// ---------------------------------------------------------------------------------------------------------
// Tab, Enter and the default buttons

TEST_F(ExportarDatosWin32Test, TabGoesThroughThePanelsInTurn) {
  Abrir();
  SetFocus(Control(diseno::kEdNuevoDir));
  std::vector<std::string> recorrido;
  for (std::size_t i = 0; i < diseno::kOrdenTabulacion.size() + 1; ++i) {
    const ventana::Control* def = ConElFoco();
    recorrido.push_back(def != nullptr ? std::string(def->nombre) : "?");
    Tecla(VK_TAB);
  }
  std::vector<std::string> esperado;
  for (const ventana::Control* def : diseno::kOrdenTabulacion) esperado.emplace_back(def->nombre);
  esperado.push_back(esperado.front());  // and round again
  EXPECT_EQ(recorrido, esperado);
}

struct CasoEnter {
  const ventana::Control* control;  // reached by Tab from the folder box
  std::string teclear;             // typed into it before Enter
  const ventana::Control* porDefecto;
  std::string primero;             // what Enter shows first; empty when it closes the window
  std::string idioma;              // the language an export took
};

void PrintTo(const CasoEnter& caso, std::ostream* salida) {
  *salida << caso.control->nombre << " \"" << caso.teclear << "\"";
}

class EnterEn : public ExportarDatosWin32Test, public ::testing::WithParamInterface<CasoEnter> {};

// The first panel has no default button of its own: the window's first, BExportar, answers there. A button
// with the focus answers Enter itself. The language box, typed into, completes its text first.
TEST_P(EnterEn, EnterClicksTheDefaultButtonOfTheFocusedPanel) {
  const CasoEnter& caso = GetParam();
  Abrir();
  SetFocus(Control(diseno::kEdNuevoDir));
  for (int tabs = 0; tabs < 10 && ConElFoco() != caso.control; ++tabs) Tecla(VK_TAB);
  ASSERT_EQ(ConElFoco(), caso.control);
  std::vector<std::string> porDefecto;
  for (const ventana::Control* boton : {&diseno::kBClose, &diseno::kBExportar, &diseno::kBImportar}) {
    if (EsPorDefecto(Control(*boton))) porDefecto.emplace_back(boton->nombre);
  }
  EXPECT_EQ(porDefecto, std::vector<std::string>{std::string(caso.porDefecto->nombre)});

  for (char letra : caso.teclear) {
    PostMessageW(GetFocus(), WM_CHAR, static_cast<WPARAM>(letra), 1);
    Bombear();
  }
  Tecla(VK_RETURN);
  EXPECT_EQ(interfaz_.sucesos.empty() ? "" : interfaz_.sucesos.front(), caso.primero);
  EXPECT_EQ(ventana_->Handle() != nullptr, !caso.primero.empty());
  EXPECT_EQ(ventana_->Ventana().TextoIdioma(), caso.idioma);
}

const std::string kExportacion = std::string("mensaje: ") + exportacion::kMensajeInicioExportacion;
const std::string kImportacion = std::string("mensaje: ") + importacion::kMensajeInicioImportacion;

INSTANTIATE_TEST_SUITE_P(
    Controles, EnterEn,
    ::testing::Values(CasoEnter{&diseno::kEdNuevoDir, "", &diseno::kBExportar, kExportacion, "VALENCIÁ"},
                      CasoEnter{&diseno::kListaUnidades, "", &diseno::kBExportar, kExportacion, "VALENCIÁ"},
                      CasoEnter{&diseno::kCBCentro, "", &diseno::kBExportar, kExportacion, "VALENCIÁ"},
                      CasoEnter{&diseno::kBClose, "", &diseno::kBClose, "", "VALENCIÁ"},
                      CasoEnter{&diseno::kBExportar, "", &diseno::kBExportar, kExportacion, "VALENCIÁ"},
                      CasoEnter{&diseno::kComboBoxValCast, "", &diseno::kBExportar, kExportacion, "VALENCIÁ"},
                      CasoEnter{&diseno::kComboBoxValCast, "CAS", &diseno::kBExportar, kExportacion, "CASTELLANO"},
                      CasoEnter{&diseno::kComboBoxValCast, "FR", &diseno::kBExportar, kExportacion, "FR"},
                      CasoEnter{&diseno::kBImportar, "", &diseno::kBImportar, kImportacion, "VALENCIÁ"}),
    [](const ::testing::TestParamInfo<CasoEnter>& caso) {
      return std::string(caso.param.control->nombre) + (caso.param.teclear.empty() ? "" : "_" + caso.param.teclear);
    });

// Deleting in the language box does not complete again what the user is taking away.
TEST_F(ExportarDatosWin32Test, DeletingInTheLanguageBoxDoesNotComplete) {
  Abrir();
  HWND idioma = Control(diseno::kComboBoxValCast);
  SetFocus(idioma);
  app::win32::PonerTexto(idioma, "CASTE");
  SendMessageW(idioma, CB_SETEDITSEL, 0, MAKELPARAM(5, 5));
  Tecla(VK_BACK);
  EXPECT_EQ(app::win32::TextoDe(idioma), "CAST");
}

// ---------------------------------------------------------------------------------------------------------
// Message boxes and the hourglass

// Answers the message boxes that open on this thread while it lives, noting what each one showed.
class ContestadorDeCuadros {
 public:
  struct Cuadro {
    std::string titulo;
    std::vector<std::string> textos;  // of its children in order, the button's included
    bool icono = false;
  };

  ContestadorDeCuadros() { reloj_ = SetTimer(nullptr, 0, 20, &ContestadorDeCuadros::Contestar); }
  ~ContestadorDeCuadros() { KillTimer(nullptr, reloj_); }
  ContestadorDeCuadros(const ContestadorDeCuadros&) = delete;
  ContestadorDeCuadros& operator=(const ContestadorDeCuadros&) = delete;

  static std::vector<Cuadro>& Cuadros() {
    static std::vector<Cuadro> cuadros;
    return cuadros;
  }

 private:
  static void CALLBACK Contestar(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &ContestadorDeCuadros::Ver, 0);
  }

  static BOOL CALLBACK Ver(HWND ventana, LPARAM) {
    wchar_t clase[16] = {};
    GetClassNameW(ventana, clase, 16);
    if (std::wstring(clase) != L"#32770" || !IsWindowVisible(ventana)) return TRUE;
    Cuadro cuadro{app::win32::TextoDe(ventana), {}, false};
    EnumChildWindows(ventana, &ContestadorDeCuadros::Hijo, reinterpret_cast<LPARAM>(&cuadro));
    Cuadros().push_back(cuadro);
    SendMessageW(ventana, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(ventana, IDOK)));
    return FALSE;
  }

  static BOOL CALLBACK Hijo(HWND hijo, LPARAM datos) {
    auto& cuadro = *reinterpret_cast<Cuadro*>(datos);
    if (!IsWindowVisible(hijo)) return TRUE;
    wchar_t clase[16] = {};
    GetClassNameW(hijo, clase, 16);
    if (std::wstring(clase) == L"Static" && (GetWindowLongW(hijo, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      cuadro.icono = cuadro.icono || SendMessageW(hijo, STM_GETICON, 0, 0) != 0;
    } else {
      const std::string texto = app::win32::TextoDe(hijo);
      if (!texto.empty()) cuadro.textos.push_back(texto);
    }
    return TRUE;
  }

  UINT_PTR reloj_ = 0;
};

TEST_F(ExportarDatosWin32Test, MessageBoxesHaveTheTitleTheTextAndOneAceptar) {
  struct Caso {
    bool error;
    bool icono;
  };
  for (Caso caso : {Caso{false, false}, Caso{true, true}}) {
    SCOPED_TRACE(caso.error ? "error" : "mensaje");
    ContestadorDeCuadros::Cuadros().clear();
    ContestadorDeCuadros contestador;
    app::win32::MostrarMensaje(nullptr, "ATENCIÓN. Línea uno\nlínea dos", caso.error);
    ASSERT_EQ(ContestadorDeCuadros::Cuadros().size(), 1u);
    const auto& cuadro = ContestadorDeCuadros::Cuadros().front();
    EXPECT_EQ(cuadro.titulo, "Exportar e importar datos ");
    std::vector<std::string> textos = cuadro.textos;
    std::sort(textos.begin(), textos.end());
    EXPECT_EQ(textos, (std::vector<std::string>{"ATENCIÓN. Línea uno\nlínea dos", "Aceptar"}));
    EXPECT_EQ(cuadro.icono, caso.icono);
  }
}

// The window's own interface: the import without a solution says so, last, in a box over the window.
TEST_F(ExportarDatosWin32Test, TheWindowsOwnInterfaceShowsTheRunsMessages) {
  Abrir(nullptr);
  ContestadorDeCuadros::Cuadros().clear();
  ContestadorDeCuadros contestador;
  HWND importar = Control(diseno::kBImportar);
  SendMessageW(ventana_->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(importar), BN_CLICKED),
               reinterpret_cast<LPARAM>(importar));
  ASSERT_FALSE(ContestadorDeCuadros::Cuadros().empty());
  const std::vector<std::string>& textos = ContestadorDeCuadros::Cuadros().back().textos;
  EXPECT_NE(std::find(textos.begin(), textos.end(), importacion::kMensajeSinSolucion), textos.end());
}

TEST_F(ExportarDatosWin32Test, TheHourglassShowsOverTheWindowWhileARunWorks) {
  Abrir();
  HWND ventana = ventana_->Handle();
  auto cursorSobreLaVentana = [ventana] {
    SendMessageW(ventana, WM_SETCURSOR, reinterpret_cast<WPARAM>(ventana), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  const HCURSOR espera = LoadCursorW(nullptr, IDC_WAIT);
  {
    app::win32::CursorEspera hourglass;
    EXPECT_EQ(GetCursor(), espera);
    EXPECT_EQ(cursorSobreLaVentana(), espera);
  }
  EXPECT_NE(cursorSobreLaVentana(), espera);
}

// ---------------------------------------------------------------------------------------------------------
// The icon

// The title bar and the taskbar button show the class's icons: the program's, large and small.
TEST_F(ExportarDatosWin32Test, TheWindowCarriesTheProgramsIcon) {
  Abrir();
  HWND ventana = ventana_->Handle();
  HICON grande = app::win32::IconoPrograma(SM_CXICON, SM_CYICON);
  HICON pequeno = app::win32::IconoPrograma(SM_CXSMICON, SM_CYSMICON);
  ASSERT_NE(grande, nullptr);
  ASSERT_NE(pequeno, nullptr);
  EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(ventana, GCLP_HICON)), grande);
  EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(ventana, GCLP_HICONSM)), pequeno);
}

// The dialogs' classes (the review dialogs, the window menu's lists) are registered the same way.
TEST(IconoWin32, EveryClassOfTheProgramHasItsIcon) {
  app::win32::RegistrarClase(L"EscolanHorvane.PruebaIcono", &DefWindowProcW);
  WNDCLASSEXW clase{};
  clase.cbSize = sizeof clase;
  ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"EscolanHorvane.PruebaIcono", &clase));
  EXPECT_EQ(clase.hIcon, app::win32::IconoPrograma(SM_CXICON, SM_CYICON));
  EXPECT_EQ(clase.hIconSm, app::win32::IconoPrograma(SM_CXSMICON, SM_CYSMICON));
  EXPECT_NE(clase.hIconSm, nullptr);
}

// This test carries the program's resources: one icon group with a 32-bit picture of every size from 16 to
// 256 px, each of which Windows loads at its own size.
TEST(IconoWin32, TheResourcesHoldTheIconInEverySize) {
  HMODULE modulo = GetModuleHandleW(nullptr);
  HRSRC recurso = FindResourceW(modulo, MAKEINTRESOURCEW(IDI_PROGRAMA), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_NE(recurso, nullptr);
  const auto* grupo = static_cast<const BYTE*>(LockResource(LoadResource(modulo, recurso)));
  ASSERT_NE(grupo, nullptr);
  // The group: three words (reserved, type 1, count), then 14 bytes a picture: width and height (0 for
  // 256), colours, reserved, planes, bits per pixel, size, id.
  WORD cuantos = 0;
  std::memcpy(&cuantos, grupo + 4, sizeof cuantos);
  ASSERT_EQ(SizeofResource(modulo, recurso), 6u + 14u * cuantos);
  std::vector<std::string> imagenes;
  for (WORD i = 0; i < cuantos; ++i) {
    const BYTE* entrada = grupo + 6 + 14 * i;
    WORD bits = 0;
    std::memcpy(&bits, entrada + 6, sizeof bits);
    const int ancho = entrada[0] == 0 ? 256 : entrada[0];
    const int alto = entrada[1] == 0 ? 256 : entrada[1];
    imagenes.push_back(std::to_string(ancho) + "x" + std::to_string(alto) + "x" + std::to_string(bits));
  }
  std::sort(imagenes.begin(), imagenes.end(), [](const std::string& a, const std::string& b) {
    return std::stoi(a) < std::stoi(b);
  });
  EXPECT_EQ(imagenes, (std::vector<std::string>{"16x16x32", "24x24x32", "32x32x32", "48x48x32", "64x64x32",
                                                 "128x128x32", "256x256x32"}));
  for (int lado : {16, 24, 32, 48, 64, 128, 256}) {
    auto* icono = static_cast<HICON>(LoadImageW(modulo, MAKEINTRESOURCEW(IDI_PROGRAMA), IMAGE_ICON, lado, lado, 0));
    ASSERT_NE(icono, nullptr) << lado;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icono, &info));
    BITMAP mapa{};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof mapa, &mapa);
    EXPECT_EQ(mapa.bmWidth, lado);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icono);
  }
}

TEST(TextoWin32, Utf8AndUtf16RoundTrip) {
  const std::string texto = "ATENCIÓN. Código del centro: VALENCIÁ \xF0\x9F\x93\x81";  // and a folder emoji
  const std::wstring ancho = Wide(texto);
  EXPECT_EQ(ancho.size(), 40u);  // the emoji is two UTF-16 units
  EXPECT_EQ(Narrow(ancho), texto);
  EXPECT_EQ(Wide(""), L"");
}

}  // namespace
