// The two review dialogs of the Win32 window, shown modally and driven as a user drives them: keys typed
// through SendInput, clicks on the grid's cells, the navigator's buttons and "Salir", the close box. What
// reaches C:\HTEMP\PROFT.DBF and C:\HTEMP\Valencia\PLANTILLA.DBF, the refused DNI, the keys that neither add
// nor delete, the layout at 96 dpi. Each case on a temporary drive C: of its own. Under Wine without an X
// display no window can be created: the cases are skipped there.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/win32/control_revision.h"
#include "import/importacion.h"
#include "ventana/revision.h"
#include "platform/platform.h"
#include "tests/support/wine_display.h"
#include "tests/support/tablas_de_prueba.h"
#include "tests/support/temporary_drive.h"

namespace {

using testing_support::Fila;
using testing_support::Filas;
using testing_support::NoDisplayUnderWine;

constexpr const char* kProft = "C:\\HTEMP\\PROFT.DBF";
constexpr const char* kPlantilla = "C:\\HTEMP\\VALENCIA\\PLANTILLA.DBF";
constexpr const wchar_t* kProfesores = L"Control de Profesores";
constexpr const wchar_t* kPlantillaHoraria = L"Control de Plantilla Horaria";
constexpr int kSinDni = 2;  // the row of the teacher without identity number
const std::string kRechazo = "'12-3' no es un valor entero válido para el campo 'DNI'";

// ---------------------------------------------------------------------------------------------------------
// The user's hand

HWND Dialogo() {
  HWND profesores = FindWindowW(nullptr, kProfesores);
  return profesores != nullptr ? profesores : FindWindowW(nullptr, kPlantillaHoraria);
}
HWND Rejilla() { return FindWindowExW(Dialogo(), nullptr, WC_LISTVIEWW, nullptr); }
HWND Editor() { return FindWindowExW(Rejilla(), nullptr, L"EDIT", nullptr); }
HWND Salir() { return FindWindowExW(Dialogo(), nullptr, L"BUTTON", L"Salir"); }
HWND Navegador() { return FindWindowExW(Dialogo(), nullptr, nullptr, L"wwDBNavigator1"); }

std::wstring Texto(HWND ventana) {
  wchar_t texto[256] = {};
  GetWindowTextW(ventana, texto, 256);
  return texto;
}

void Entrada(std::vector<INPUT> entradas) {
  SendInput(static_cast<UINT>(entradas.size()), entradas.data(), sizeof(INPUT));
}

INPUT Tecla(WORD tecla, bool soltar) {
  INPUT entrada{};
  entrada.type = INPUT_KEYBOARD;
  entrada.ki.wVk = tecla;
  entrada.ki.dwFlags = soltar ? KEYEVENTF_KEYUP : 0;
  return entrada;
}

// Keys pressed one after another, each with the modifiers held.
void Pulsar(std::vector<WORD> teclas, std::vector<WORD> modificadores = {}) {
  std::vector<INPUT> entradas;
  for (WORD m : modificadores) entradas.push_back(Tecla(m, false));
  for (WORD t : teclas) {
    entradas.push_back(Tecla(t, false));
    entradas.push_back(Tecla(t, true));
  }
  for (WORD m : modificadores) entradas.push_back(Tecla(m, true));
  Entrada(entradas);
}

void Escribir(const std::wstring& texto) {
  std::vector<INPUT> entradas;
  for (wchar_t caracter : texto) {
    for (bool soltar : {false, true}) {
      INPUT entrada{};
      entrada.type = INPUT_KEYBOARD;
      entrada.ki.wScan = caracter;
      entrada.ki.dwFlags = KEYEVENTF_UNICODE | (soltar ? KEYEVENTF_KEYUP : 0);
      entradas.push_back(entrada);
    }
  }
  Entrada(entradas);
}

// A click at a point of a control's client area, as the mouse gives it.
void Clicar(HWND control, POINT punto, bool doble = false) {
  LPARAM donde = MAKELPARAM(punto.x, punto.y);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, donde);
  PostMessageW(control, WM_LBUTTONUP, 0, donde);
  if (!doble) return;
  PostMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, donde);
  PostMessageW(control, WM_LBUTTONUP, 0, donde);
}

POINT Centro(const RECT& caja) { return {(caja.left + caja.right) / 2, (caja.top + caja.bottom) / 2}; }

POINT Celda(int fila, int columna) {
  HWND rejilla = Rejilla();
  RECT caja{};
  caja.left = LVIR_BOUNDS;
  SendMessageW(rejilla, LVM_GETITEMRECT, static_cast<WPARAM>(fila), reinterpret_cast<LPARAM>(&caja));
  for (int antes = 0; antes < columna; ++antes) {
    caja.left += static_cast<LONG>(SendMessageW(rejilla, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(antes), 0));
  }
  caja.right = caja.left;
  caja.right += static_cast<LONG>(SendMessageW(rejilla, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(columna), 0));
  return Centro(caja);
}

void ClicarCelda(int fila, int columna, bool doble = false) { Clicar(Rejilla(), Celda(fila, columna), doble); }

void ClicarSalir() {
  RECT caja{};
  GetClientRect(Salir(), &caja);
  Clicar(Salir(), Centro(caja));
}

// The navigator's buttons share its width: First, PriorPage, Prior, Next, NextPage, Last, Edit, Post,
// Cancel, Refresh.
enum Boton { kFirst, kPriorPage, kPrior, kNext, kNextPage, kLast, kEdit, kPost, kCancel, kRefresh };
void ClicarNavegador(Boton boton) {
  RECT caja{};
  GetClientRect(Navegador(), &caja);
  int ancho = caja.right / 10;
  Clicar(Navegador(), {boton * ancho + ancho / 2, caja.bottom / 2});
}

void CerrarConLaCaja() { PostMessageW(Dialogo(), WM_SYSCOMMAND, SC_CLOSE, 0); }

// Runs `mostrar`, which shows a dialog modally, while the steps run one by one, each once the dialog has
// handled all that came before it (a thread's timer fires only when its queue is empty). True when every
// step ran and the dialog closed; a dialog left open is closed after a while, so that a failing case does
// not hang.
class Conductor {
 public:
  using Paso = std::function<void()>;

  static bool Conducir(const std::function<void()>& mostrar, std::vector<Paso> pasos) {
    Conductor conductor(std::move(pasos));
    activo_ = &conductor;
    UINT_PTR temporizador = SetTimer(nullptr, 0, 20, &Conductor::Tic);
    mostrar();
    KillTimer(nullptr, temporizador);
    activo_ = nullptr;
    return conductor.siguiente_ == conductor.pasos_.size() && !conductor.cerradoPorTardar_;
  }

 private:
  explicit Conductor(std::vector<Paso> pasos) : pasos_(std::move(pasos)) {}

  static void CALLBACK Tic(HWND, UINT, UINT_PTR, DWORD) {
    if (activo_ != nullptr) activo_->Siguiente();
  }

  // A step that lets messages through itself (waiting while a button is held) is not interrupted by the
  // next one.
  void Siguiente() {
    HWND dialogo = Dialogo();
    if (ocupado_ || dialogo == nullptr || !IsWindowVisible(dialogo)) return;
    if (siguiente_ < pasos_.size()) {
      ocupado_ = true;
      pasos_[siguiente_++]();
      ocupado_ = false;
      return;
    }
    if (++espera_ == 250) {
      cerradoPorTardar_ = true;
      CerrarConLaCaja();
    }
  }

  static inline Conductor* activo_ = nullptr;
  std::vector<Paso> pasos_;
  std::size_t siguiente_ = 0;
  int espera_ = 0;
  bool ocupado_ = false;
  bool cerradoPorTardar_ = false;
};

// ---------------------------------------------------------------------------------------------------------
// The fixture

// 30 teachers P01 to P30 with DNI 1001..., the third without; the template's 20 periods, hh:00 to hh:55
// from 08:00.
class RevisionWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    if (NoDisplayUnderWine()) GTEST_SKIP() << "Wine has no X display here: no window can be created";
    drive_.MakeHostFolder("HTEMP/VALENCIA");
    Filas profesores;
    for (int fila = 0; fila < 30; ++fila) {
      profesores.push_back({"P" + std::string(fila < 9 ? "0" : "") + std::to_string(fila + 1),
                            fila == kSinDni ? "0" : std::to_string(1001 + fila)});
    }
    testing_support::EscribirProft(engine_, profesores);
    Filas periodos;
    for (int periodo = 1; periodo <= 20; ++periodo) {
      std::string hora = (periodo + 7 < 10 ? "0" : "") + std::to_string(periodo + 7);
      periodos.push_back({std::to_string(periodo), hora + ":00", hora + ":55"});
    }
    testing_support::CrearTabla(engine_, kPlantilla,
                                {{"HORA", storage::DataType::ftInteger},
                                 {"HORAINI", storage::DataType::ftString, 5},
                                 {"HORAFIN", storage::DataType::ftString, 5}},
                                periodos, {"HORA"});
  }

  bool Profesores(std::vector<Conductor::Paso> pasos) {
    return Conductor::Conducir([this] { app::win32::MostrarRevision(nullptr, *importacion::RevisionProfesores(engine_), Anotar()); },
                               std::move(pasos));
  }
  bool Plantilla(std::vector<Conductor::Paso> pasos) {
    return Conductor::Conducir([this] { app::win32::MostrarRevision(nullptr, *importacion::RevisionPlantilla(engine_), Anotar()); },
                               std::move(pasos));
  }
  std::function<void(const std::string&)> Anotar() {
    return [this](const std::string& mensaje) { errores_.push_back(mensaje); };
  }

  static Fila Campo(const char* tabla, const char* campo) {
    storage::Engine otro('.');
    Fila valores;
    for (const Fila& fila : testing_support::LeerTabla(otro, tabla, {campo})) valores.push_back(fila[0]);
    return valores;
  }
  static std::string Dni(int fila) { return Campo(kProft, "DNI").at(static_cast<std::size_t>(fila)); }

  testing_support::TemporaryDrive drive_;
  storage::Engine engine_{'.'};
  std::vector<std::string> errores_;
};

// ---------------------------------------------------------------------------------------------------------
// The teacher review

struct Caso {
  const char* nombre;
  std::vector<Conductor::Paso> pasos;  // after the third teacher's DNI was typed (down, down, 12345678)
  std::string dni;                     // that teacher's DNI in the file afterwards
};

TEST_F(RevisionWin32Test, WhatReachesTheFile) {
  const std::vector<Caso> casos = {
      // "Salir" takes the focus from the grid, whose exit posts the record, the cell still open or not.
      {"Salir", {ClicarSalir}, "12345678"},
      {"Enter, Salir", {[] { Pulsar({VK_RETURN}); }, ClicarSalir}, "12345678"},
      // The close box leaves the grid alone: the record still being edited is dropped with the table.
      {"close box", {CerrarConLaCaja}, "0"},
      {"Enter, close box", {[] { Pulsar({VK_RETURN}); }, CerrarConLaCaja}, "0"},
      // Moving to another record stores a changed one; so do the navigator's post and refresh.
      {"down, close box", {[] { Pulsar({VK_DOWN}); }, CerrarConLaCaja}, "12345678"},
      {"a click on another row, close box", {[] { ClicarCelda(7, 1); }, CerrarConLaCaja}, "12345678"},
      {"navigator's Next, close box", {[] { ClicarNavegador(kNext); }, CerrarConLaCaja}, "12345678"},
      {"navigator's Post, close box", {[] { ClicarNavegador(kPost); }, CerrarConLaCaja}, "12345678"},
      {"navigator's Refresh, close box", {[] { ClicarNavegador(kRefresh); }, CerrarConLaCaja}, "12345678"},
      {"navigator's Cancel, Salir", {[] { ClicarNavegador(kCancel); }, ClicarSalir}, "0"},
      // Ctrl+Tab leaves the grid for "Salir", the default button then.
      {"Ctrl+Tab, Enter", {[] { Pulsar({VK_TAB}, {VK_CONTROL}); }, [] { Pulsar({VK_RETURN}); }}, "12345678"},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    std::vector<Conductor::Paso> pasos = {[] { Pulsar({VK_DOWN, VK_DOWN}); }, [] { Escribir(L"12345678"); }};
    pasos.insert(pasos.end(), caso.pasos.begin(), caso.pasos.end());
    ASSERT_TRUE(Profesores(pasos));
    EXPECT_EQ(Dni(kSinDni), caso.dni);
    EXPECT_EQ(Campo(kProft, "ABREV").size(), 30U);
    SetUp();  // the tables as they were
  }
  EXPECT_EQ(errores_, std::vector<std::string>());
}

// What is typed straight after a click, or in a cell opened by F2 or a double click, is what the cell
// holds; an emptied DNI is stored empty.
TEST_F(RevisionWin32Test, ClicksAndEditingKeysOpenTheCell) {
  ASSERT_TRUE(Profesores({[] { ClicarCelda(kSinDni, 0); }, [] { Escribir(L"87654321"); },
                          [] { ClicarCelda(5, 0, true); }, [] { Escribir(L"55"); },
                          [] { ClicarCelda(0, 1); }, [] { Pulsar({VK_F2}); }, [] { Escribir(L"XY"); },
                          [] { ClicarCelda(1, 0); }, [] { Pulsar({VK_F2, VK_BACK}); }, ClicarSalir}));
  Fila dnis = Campo(kProft, "DNI");
  EXPECT_EQ(dnis[kSinDni], "87654321");
  EXPECT_EQ(dnis[5], "55");
  EXPECT_EQ(dnis[1], "");
  EXPECT_EQ(Campo(kProft, "ABREV")[0], "XY");
  EXPECT_EQ(errores_, std::vector<std::string>());
}

// Enter goes on as Tab does, from the last column to the first of the next row; in a cell being edited
// too, which it hands to the record first and then goes on editing the next one.
TEST_F(RevisionWin32Test, EnterMovesToTheNextColumn) {
  ASSERT_TRUE(Profesores({[] { Pulsar({VK_RETURN, VK_RETURN, VK_RETURN, VK_RETURN}); }, [] { Escribir(L"77"); },
                          [] { Pulsar({VK_RETURN}); }, [] { Escribir(L"NUEV"); }, ClicarSalir}));
  EXPECT_EQ(Dni(1), "77");
  EXPECT_EQ(Campo(kProft, "ABREV")[1], "NUEV");
}

// The DNI cell takes only the characters of an integer.
TEST_F(RevisionWin32Test, TheDniCellTakesOnlyTheCharactersOfAnInteger) {
  ASSERT_TRUE(Profesores({[] { Escribir(L"a1b.2 c"); }, ClicarSalir}));
  EXPECT_EQ(Dni(0), "12");
}

// The refusal's message, once, for a text that is no integer (the table's) and for a negative number (the
// teacher-identity rule's); the dialog stays open, the cell's editor holding the text as typed and the focus.
// Corrected, or dropped with Escape and typed again, the number is taken.
TEST_F(RevisionWin32Test, ARefusedDniStaysInItsCell) {
  struct Rechazo {
    std::string tecleado;
    std::string mensaje;
  };
  const std::vector<Rechazo> rechazos = {
      {"12-3", kRechazo},
      {"-5", "'-5' no es un D.N.I. válido para el campo 'DNI': escriba un número entero de 1 a 999999999, o déjelo "
             "vacío si el profesor no tiene."}};
  struct Disparo {
    const char* nombre;
    Conductor::Paso paso;
  };
  const std::vector<Disparo> disparos = {
      {"Enter", [] { Pulsar({VK_RETURN}); }},
      {"Salir", ClicarSalir},
      {"down", [] { Pulsar({VK_DOWN}); }},
      {"navigator's Post", [] { ClicarNavegador(kPost); }},
      {"navigator's Next", [] { ClicarNavegador(kNext); }},
      {"a click on another teacher", [] { ClicarCelda(7, 0); }},
  };
  for (const Rechazo& rechazo : rechazos) {
    const std::wstring tecleado(rechazo.tecleado.begin(), rechazo.tecleado.end());
    for (const Disparo& disparo : disparos) {
      for (bool escape : {false, true}) {
        SCOPED_TRACE(rechazo.tecleado + ", " + disparo.nombre + (escape ? ", Escape" : ", erased"));
        errores_.clear();
        bool abierto = false;
        std::wstring enLaCelda;
        bool focoEnLaCelda = false;
        ASSERT_TRUE(Profesores({[] { Pulsar({VK_DOWN, VK_DOWN}); }, [&] { Escribir(tecleado); }, disparo.paso,
                                [&] {
                                  abierto = IsWindowVisible(Dialogo()) != FALSE;
                                  enLaCelda = IsWindowVisible(Editor()) ? Texto(Editor()) : L"(no cell being edited)";
                                  focoEnLaCelda = GetFocus() == Editor();
                                },
                                [escape] {
                                  escape ? Pulsar({VK_ESCAPE}) : Pulsar({VK_BACK, VK_BACK, VK_BACK, VK_BACK});
                                },
                                [] { Escribir(L"123"); }, ClicarSalir}));
        EXPECT_TRUE(abierto);
        EXPECT_EQ(enLaCelda, tecleado);
        EXPECT_TRUE(focoEnLaCelda);
        EXPECT_EQ(errores_, std::vector<std::string>({rechazo.mensaje}));
        EXPECT_EQ(Dni(kSinDni), "123");
        EXPECT_EQ(Dni(kSinDni + 1), "1004");
        SetUp();
      }
    }
  }
}

// Neither Insert, Delete, moving past the last record nor Escape adds, deletes or closes anything.
TEST_F(RevisionWin32Test, KeysThatNeitherAddNorDeleteNorClose) {
  bool abierto = false;
  int filas = 0;
  ASSERT_TRUE(Profesores({[] { ClicarNavegador(kLast); },
                          [] { Pulsar({VK_INSERT, VK_DELETE, VK_DOWN, VK_NEXT, VK_ESCAPE, VK_ESCAPE}); },
                          [] { Pulsar({VK_DELETE}, {VK_CONTROL}); },
                          [&] {
                            abierto = IsWindowVisible(Dialogo()) != FALSE;
                            filas = static_cast<int>(SendMessageW(Rejilla(), LVM_GETITEMCOUNT, 0, 0));
                          },
                          [] { Escribir(L"9"); }, ClicarSalir}));
  EXPECT_TRUE(abierto);
  EXPECT_EQ(filas, 30);
  EXPECT_EQ(Campo(kProft, "DNI").size(), 30U);
  EXPECT_EQ(Campo(kProft, "DNI").back(), "9");  // the cursor stayed on the last teacher
}

// A navigator's button held down repeats its action after 500 ms, every 100 ms, and acts once more when
// let go: about 1.2 s on Next goes down nine records.
TEST_F(RevisionWin32Test, AHeldNavigatorButtonRepeats) {
  RECT caja{};
  DWORD inicio = 0;
  ASSERT_TRUE(Profesores({[&] {
                            GetClientRect(Navegador(), &caja);
                            int ancho = caja.right / 10;
                            POINT boton{kNext * ancho + ancho / 2, caja.bottom / 2};
                            // The mouse stays over the button while it is held: moved away, the button
                            // would stop repeating.
                            POINT enPantalla = boton;
                            ClientToScreen(Navegador(), &enPantalla);
                            SetCursorPos(enPantalla.x, enPantalla.y);
                            PostMessageW(Navegador(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(boton.x, boton.y));
                            inicio = GetTickCount();
                          },
                          [&] {
                            // The navigator's timer runs until 1.25 s have passed since the press.
                            MSG mensaje{};
                            while (GetTickCount() - inicio < 1250) {
                              if (PeekMessageW(&mensaje, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&mensaje);
                              Sleep(5);
                            }
                            int ancho = caja.right / 10;
                            PostMessageW(Navegador(), WM_LBUTTONUP, 0,
                                         MAKELPARAM(kNext * ancho + ancho / 2, caja.bottom / 2));
                          },
                          [] { Escribir(L"9"); }, ClicarSalir}));
  // Held 1.25 s: repeats at 0.5 s and every 0.1 s after, and the release acts once more: nine rows down at
  // the most. A busy machine fires fewer timer ticks; more than one row shows that it repeated at all.
  const Fila dnis = Campo(kProft, "DNI");
  const auto nueve = std::find(dnis.begin(), dnis.end(), "9");
  ASSERT_NE(nueve, dnis.end()) << ::testing::PrintToString(dnis);
  EXPECT_GE(nueve - dnis.begin(), 3) << ::testing::PrintToString(dnis);
  EXPECT_LE(nueve - dnis.begin(), 9) << ::testing::PrintToString(dnis);
}

// At 96 dpi every control stands where the design puts it, the panel's controls counted from its corner.
TEST_F(RevisionWin32Test, TheLayoutAt96Dpi) {
  struct Control {
    const char* nombre;
    HWND (*buscar)();
    std::array<LONG, 4> esperada;  // left, top, right, bottom in the client area
    std::array<LONG, 4> medida;
  };
  // The panel stands at 0, 1.
  std::vector<Control> controles = {{"grid", Rejilla, {9, 57, 9 + 504, 57 + 433}, {}},
                                    {"navigator", Navegador, {236, 30, 236 + 275, 30 + 24}, {}},
                                    {"Salir", Salir, {584, 217, 584 + 75, 217 + 25}, {}}};
  std::wstring titulo;
  RECT cliente{};
  UINT dpi = 0;
  auto medir = [&] {
    dpi = GetDpiForWindow(Dialogo());
    titulo = Texto(Dialogo());
    GetClientRect(Dialogo(), &cliente);
    for (Control& control : controles) {
      RECT caja{};
      GetWindowRect(control.buscar(), &caja);
      MapWindowPoints(nullptr, Dialogo(), reinterpret_cast<POINT*>(&caja), 2);
      control.medida = {caja.left, caja.top, caja.right, caja.bottom};
    }
  };
  ASSERT_TRUE(Profesores({medir, ClicarSalir}));
  if (dpi != 96) GTEST_SKIP() << "the display is at " << dpi << " dpi";
  EXPECT_EQ(titulo, kProfesores);
  EXPECT_EQ(cliente.right, 726);
  EXPECT_EQ(cliente.bottom, 499);
  for (const Control& control : controles) EXPECT_EQ(control.medida, control.esperada) << control.nombre;
}

// At 120, 144 and 192 dpi (the dialog told its monitor's dpi changed) the client area, the grid, the navigator and
// "Salir" grow with it inside the panel, the fonts are scalable and grown, and the grid's rows and titles hold
// their font.
class RevisionEnCadaDpi : public RevisionWin32Test, public ::testing::WithParamInterface<UINT> {};

TEST_P(RevisionEnCadaDpi, TheLayoutGrowsWithTheDpi) {
  const UINT dpi = GetParam();
  auto escalar = [&](LONG pixeles) { return MulDiv(pixeles, static_cast<int>(dpi), 96); };
  RECT cliente{};
  std::vector<std::pair<std::string, RECT>> cajas;
  LONG altoFila = 0;
  LONG altoTitulos = 0;
  TEXTMETRICW letraRejilla{};
  TEXTMETRICW letraSalir{};
  auto medir = [&] {
    // The frame Windows suggests: the window's, grown with its client area.
    RECT ahora{};
    GetWindowRect(Dialogo(), &ahora);
    RECT sugerido{0, 0, escalar(726), escalar(499)};
    AdjustWindowRectExForDpi(&sugerido, static_cast<DWORD>(GetWindowLongW(Dialogo(), GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongW(Dialogo(), GWL_EXSTYLE)), dpi);
    OffsetRect(&sugerido, ahora.left - sugerido.left, ahora.top - sugerido.top);
    SendMessageW(Dialogo(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&sugerido));
    GetClientRect(Dialogo(), &cliente);
    for (auto [nombre, control] : {std::pair{"grid", Rejilla()}, std::pair{"navigator", Navegador()},
                                   std::pair{"Salir", Salir()}}) {
      RECT caja{};
      GetWindowRect(control, &caja);
      MapWindowPoints(nullptr, Dialogo(), reinterpret_cast<POINT*>(&caja), 2);
      cajas.emplace_back(nombre, caja);
    }
    RECT fila{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(Rejilla(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&fila));
    altoFila = fila.bottom - fila.top;
    RECT titulos{};
    GetWindowRect(reinterpret_cast<HWND>(SendMessageW(Rejilla(), LVM_GETHEADER, 0, 0)), &titulos);
    altoTitulos = titulos.bottom - titulos.top;
    HDC dc = GetDC(Rejilla());
    auto medidas = [&](HWND control, TEXTMETRICW& m) {
      HGDIOBJ anterior = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
      GetTextMetricsW(dc, &m);
      SelectObject(dc, anterior);
    };
    medidas(Rejilla(), letraRejilla);
    medidas(Salir(), letraSalir);
    ReleaseDC(Rejilla(), dc);
  };
  ASSERT_TRUE(Profesores({medir, ClicarSalir}));
  EXPECT_EQ(cliente.right, escalar(726));
  EXPECT_EQ(cliente.bottom, escalar(499));
  const ventana::Caja& disenoPanel = ventana::DisenoDe(run::TipoRevision::kProfesores).panel.caja;
  const RECT panel{escalar(disenoPanel.izquierda), escalar(disenoPanel.arriba), escalar(disenoPanel.Derecha()),
                   escalar(disenoPanel.Abajo())};
  for (const auto& [nombre, caja] : cajas) {
    RECT dentro{};
    IntersectRect(&dentro, &caja, &panel);
    EXPECT_TRUE(EqualRect(&dentro, &caja)) << nombre;
  }
  EXPECT_EQ(cajas[0].second.right - cajas[0].second.left, escalar(504));
  for (const TEXTMETRICW* letra : {&letraRejilla, &letraSalir}) {
    EXPECT_NE(letra->tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE), 0);
    EXPECT_GE(letra->tmHeight, MulDiv(8, static_cast<int>(dpi), 72));  // 8 pt at this dpi, whole
  }
  EXPECT_GE(altoFila, letraRejilla.tmHeight);
  EXPECT_GE(altoTitulos, 2 * letraRejilla.tmHeight);
}

INSTANTIATE_TEST_SUITE_P(Dpi, RevisionEnCadaDpi, ::testing::Values(120u, 144u, 192u));

TEST_F(RevisionWin32Test, AMissingTableIsTheTableLayersErrorAndNoWindowShows) {
  platform::RemoveFile(kProft);
  try {
    app::win32::MostrarRevision(nullptr, *importacion::RevisionProfesores(engine_), Anotar());
    FAIL() << "the dialog opened without PROFT";
  } catch (const storage::DatabaseError& error) {
    EXPECT_TRUE(std::string(error.what()).starts_with("La tabla no existe")) << error.what();
  }
  EXPECT_EQ(Dialogo(), nullptr);
}

// ---------------------------------------------------------------------------------------------------------
// The template review

struct CasoPlantilla {
  const char* nombre;
  std::vector<Conductor::Paso> pasos;
  Fila inicio;  // the first three periods' start times in the file afterwards
  Fila final;
};

TEST_F(RevisionWin32Test, TheTemplatesTimes) {
  const std::vector<CasoPlantilla> casos = {
      // The cursor starts on period 1's start time; Enter goes on editing its end time.
      {"typed, Enter, typed, Salir",
       {[] { Escribir(L"07:45"); }, [] { Pulsar({VK_RETURN}); }, [] { Escribir(L"08:40"); }, ClicarSalir},
       {"07:45", "09:00", "10:00"}, {"08:40", "09:55", "10:55"}},
      {"a sixth character", {[] { Pulsar({VK_DOWN, VK_DOWN}); }, [] { Escribir(L"10:055"); }, ClicarSalir},
       {"08:00", "09:00", "10:05"}, {"08:55", "09:55", "10:55"}},
      {"cleared", {[] { Pulsar({VK_DOWN, VK_DOWN, VK_F2, VK_BACK}); }, ClicarSalir},
       {"08:00", "09:00", ""}, {"08:55", "09:55", "10:55"}},
      {"close box", {[] { Pulsar({VK_DOWN, VK_DOWN}); }, [] { Escribir(L"10:05"); }, CerrarConLaCaja},
       {"08:00", "09:00", "10:00"}, {"08:55", "09:55", "10:55"}},
      // Neither typing, F2 nor a double click opens a period number.
      {"the period column",
       {[] { Pulsar({VK_LEFT}); }, [] { Escribir(L"7"); }, [] { Pulsar({VK_F2}); }, [] { ClicarCelda(1, 0, true); },
        [] { Escribir(L"9"); }, ClicarSalir},
       {"08:00", "09:00", "10:00"}, {"08:55", "09:55", "10:55"}},
  };
  for (const CasoPlantilla& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    ASSERT_TRUE(Plantilla(caso.pasos));
    Fila inicio = Campo(kPlantilla, "HORAINI");
    Fila final = Campo(kPlantilla, "HORAFIN");
    EXPECT_EQ(Fila(inicio.begin(), inicio.begin() + 3), caso.inicio);
    EXPECT_EQ(Fila(final.begin(), final.begin() + 3), caso.final);
    Fila horas = Campo(kPlantilla, "HORA");
    ASSERT_EQ(horas.size(), 20U);
    EXPECT_EQ(horas[1], "2");
    SetUp();
  }
  EXPECT_EQ(errores_, std::vector<std::string>());
}

}  // namespace
