// The main window's design, the one place both windows (Qt on Linux, Win32 on Windows) read it from: its
// title, size and place, the three gradient panels, and for every control its panel, its box, its text, its
// font and colours, and the tab order; each box relative to its panel.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "ventana/diseno.h"
#include "ventana/version.h"

namespace ventana {

// The application's title: the caption of its message boxes, and its main window's title.
inline constexpr const char* kTituloAplicacion = "Exportar e importar datos ";

namespace diseno {

inline constexpr Color kAzul{{0x00, 0x00, 0xFF}};
inline constexpr Color kRojo{{0xFF, 0x00, 0x00}};
inline constexpr Color kNegro{{0x00, 0x00, 0x00}};
inline constexpr Color kBlanco{{0xFF, 0xFF, 0xFF}};

inline constexpr Letra kArial8{"Arial", 8, false};
inline constexpr Letra kArial8Negrita{"Arial", 8, true};
inline constexpr Letra kArial10Negrita{"Arial", 10, true};
inline constexpr Letra kArial12Negrita{"Arial", 12, true};
inline constexpr Letra kSansSerif8{"MS Sans Serif", 8, false};
inline constexpr Letra kSansSerif8Negrita{"MS Sans Serif", 8, true};

// ---------------------------------------------------------------------------------------------------------
// The window

inline constexpr std::string_view kNombreVentana = "ExportarDatos";
inline constexpr int kAnchoVentana = 587;  // the client area: a fixed border, no resizing
inline constexpr int kAltoVentana = 431;
inline constexpr int kIzquierdaVentana = 110;  // where it first shows on the screen
inline constexpr int kArribaVentana = 57;
// The window's own font, which the controls without one of their own take.
inline constexpr Letra kLetraVentana = kSansSerif8;

// ---------------------------------------------------------------------------------------------------------
// The panels: a vertical gradient from `inicio` at the top through `medio` halfway to `fin` at the bottom.
// Their tab order is theirs here, and every other control sits on one of them.

enum IndicePanel : int { kPanelOrigen = 0, kPanelExportacion = 1, kPanelImportacion = 2 };

inline constexpr Color kAzuladoInicio{{0xC2, 0xCD, 0xFE}};
inline constexpr Color kAzuladoMedio{{0xCF, 0xF2, 0xFE}};
inline constexpr Color kAzuladoFin{{0xCC, 0xD8, 0xE6}};
inline constexpr Color kDoradoInicio{{0xF9, 0xD3, 0x7D}};
inline constexpr Color kDoradoMedio{{0xFF, 0xFF, 0xFF}};
inline constexpr Color kDoradoFin{{0xFF, 0xEE, 0xDD}};

// The last two reach a little past the window's right and bottom edges; what shows is what lies inside it.
inline constexpr std::array<Panel, 3> kPaneles{{
    {"Draw3D1", {0, 0, 273, 431}, kAzuladoInicio, kAzuladoMedio, kAzuladoFin},
    {"Draw3D2", {273, 0, 315, 162}, kDoradoInicio, kDoradoMedio, kDoradoFin},
    {"Draw3D3", {273, 162, 315, 272}, kDoradoInicio, kDoradoMedio, kDoradoFin},
}};

// ---------------------------------------------------------------------------------------------------------
// The labels, transparent over their panels.

namespace detalle {

constexpr std::size_t kLargoCredito = std::string_view(kNombreProducto).size() + 1 + std::string_view(kVersion).size();

constexpr std::array<char, kLargoCredito> Credito() {
  std::array<char, kLargoCredito> texto{};
  std::size_t i = 0;
  for (char c : std::string_view(kNombreProducto)) texto[i++] = c;
  texto[i++] = ' ';
  for (char c : std::string_view(kVersion)) texto[i++] = c;
  return texto;
}

inline constexpr std::array<char, kLargoCredito> kCredito = Credito();

}  // namespace detalle

// The credit line: the product's name and its version.
inline constexpr std::string_view kCredito(detalle::kCredito.data(), detalle::kCredito.size());

// Label1's text is wider than its box in Arial 8 pt: it takes a second line above the edit box. The two
// warnings take four and three lines of Arial 12 pt bold: Label5 reaches down to the import button and
// Label6 is a little wider, so that neither is cut.
inline constexpr std::array<Etiqueta, 9> kEtiquetas{{
    {"Label1", kPanelOrigen, {15, 10, 238, 28},
     "Carpeta en la que se encuentran los datos de ESCOLAN", kArial8, kAzul, true},
    {"Label2", kPanelOrigen, {15, 274, 90, 14},
     "Código del centro", kArial8, kAzul, false},
    {"Label8", kPanelExportacion, {23, 3, 257, 34},
     "UTILIDAD TRANSFERENCIA DE DATOS                ESCOLAN<->HORVANE", kArial10Negrita, kAzul, true},
    {"Label3", kPanelExportacion, {24, 40, 265, 57},
     "Exportar datos desde ESCOLAN hacia Horvane (Generador de horarios y organizador de grupos)", kArial12Negrita,
     kNegro, true},
    {"Label9", kPanelExportacion, {6, 103, 183, 13},
     "Recoger Textos Asignaturas en:", kSansSerif8Negrita, kRojo, false},
    {"Label4", kPanelImportacion, {8, 16, 265, 49},
     "Importar datos desde Horvane (hacia ESCOLAN)", kArial12Negrita, kNegro, true},
    {"Label5", kPanelImportacion, {8, 68, 281, 76},
     "ATENCIÓN. Debería efectuar una copia de seguridad de los datos de ESCOLAN, antes de lanzar este proceso.",
     kArial12Negrita, kRojo, true},
    {"Label6", kPanelImportacion, {8, 187, 289, 65},
     "ATENCIÓN. Es necesario reorganizar los archivos de ESCOLAN después de efectuar este proceso.",
     kArial12Negrita, kRojo, true},
    {"Label7", kPanelImportacion, {8, 252, 281, 14},
     kCredito, kArial8, kAzul, false},
}};

// ---------------------------------------------------------------------------------------------------------
// The controls the user works with

// Shows the source folder; only a display (typing into it does nothing).
inline constexpr Control kEdNuevoDir{
    "EdNuevoDir", kPanelOrigen, {15, 39, 220, 22}, {}, kArial8Negrita, kNegro, {}, Glifo::kNinguno};
// The directory tree list: the folders of the current path, then the subfolders of its last folder.
inline constexpr Control kListaDirectorios{
    "ListaDirectorios", kPanelOrigen, {14, 72, 220, 157}, {}, kArial8Negrita, kNegro, {}, Glifo::kNinguno};
// The drive list, following the directory list's drive.
inline constexpr Control kListaUnidades{
    "ListaUnidades", kPanelOrigen, {12, 236, 222, 20}, {}, kArial8Negrita, kNegro, {}, Glifo::kNinguno};
// The centre codes: a drop-down list, not editable, not sorted.
inline constexpr Control kCBCentro{
    "CBCentro", kPanelOrigen, {16, 296, 145, 21}, {}, kLetraVentana, {}, {}, Glifo::kNinguno};
inline constexpr Control kBClose{
    "BClose", kPanelOrigen, {72, 344, 89, 25}, "&Salir", kLetraVentana, {}, {}, Glifo::kCerrar};
// The language of subject names: an editable drop-down box listing exportacion::kIdiomas.
inline constexpr Control kComboBoxValCast{"ComboBoxValCast", kPanelExportacion, {200, 101, 110, 21}, {},
                                          kSansSerif8Negrita, kNegro, kBlanco, Glifo::kNinguno};
inline constexpr Control kBExportar{
    "BExportar", kPanelExportacion, {111, 130, 89, 25}, "Aceptar", kLetraVentana, {}, {}, Glifo::kAceptar};
inline constexpr Control kBImportar{
    "BImportar", kPanelImportacion, {108, 145, 89, 25}, "Aceptar", kLetraVentana, {}, {}, Glifo::kAceptar};

// The panels in turn, and inside each its controls in the order the user tabs through them.
inline constexpr std::array<const Control*, 8> kOrdenTabulacion{&kEdNuevoDir, &kListaDirectorios, &kListaUnidades,
                                                                &kCBCentro,   &kBClose,           &kBExportar,
                                                                &kComboBoxValCast, &kBImportar};

// The directory tree list's rows: their height, the step each level is indented by, the folder icon's side.
inline constexpr int kAltoEntradaCarpeta = 16;
inline constexpr int kSangriaCarpeta = 8;
inline constexpr int kLadoIconoCarpeta = 14;

// A control's box in the window rather than in its panel.
constexpr Caja EnVentana(int panel, const Caja& caja) {
  const Caja& origen = kPaneles[static_cast<std::size_t>(panel)].caja;
  return {origen.izquierda + caja.izquierda, origen.arriba + caja.arriba, caja.ancho, caja.alto};
}

}  // namespace diseno
}  // namespace ventana
