// The window menu on Windows, run under Wine on a virtual display (or on Windows): its items in the main
// window's system menu and their shortcuts, the problems dialog and the backups dialog as the user meets them
// (the list, the buttons, what each does, Escape, the owner disabled meanwhile), and the question box. The
// dialogs are modal: a thread timer looks at each window as it shows and acts on it, as a user would.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/win32/comun.h"
#include "app/win32/dialogos_win32.h"
#include "app/win32/exportar_datos.h"
#include "tests/support/interfaz_guionada.h"
#include "tests/support/tablas_de_prueba.h"
#include "tests/support/temporary_drive.h"
#include "tests/support/wine_display.h"
#include "ventana/copias.h"
#include "ventana/dialogos.h"
#include "ventana/menu_ventana.h"
#include "ventana/problemas.h"

namespace {

namespace fs = std::filesystem;
using app::win32::TExportarDatos;
using app::win32::TextoDe;
using platform::Narrow;
using platform::Wide;

std::string Clase(HWND ventana) {
  wchar_t clase[64] = {};
  GetClassNameW(ventana, clase, 64);
  return Narrow(clase);
}

std::vector<HWND> Hijas(HWND ventana) {
  std::vector<HWND> hijas;
  for (HWND hija = GetWindow(ventana, GW_CHILD); hija != nullptr; hija = GetWindow(hija, GW_HWNDNEXT)) {
    hijas.push_back(hija);
  }
  return hijas;
}

HWND HijaDeClase(HWND ventana, const std::string& clase) {
  for (HWND hija : Hijas(ventana)) {
    if (Clase(hija) == clase) return hija;
  }
  return nullptr;
}

// A message box, not a file dialog (which is of the same class): nothing in it takes text.
bool EsCuadroDeMensaje(HWND ventana) {
  if (Clase(ventana) != "#32770") return false;
  bool escribible = false;
  EnumChildWindows(
      ventana,
      [](HWND hija, LPARAM dato) -> BOOL {
        if (Clase(hija) == "Edit") *reinterpret_cast<bool*>(dato) = true;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&escribible));
  return !escribible;
}

HWND Boton(HWND ventana, const std::string& texto) {
  for (HWND hija : Hijas(ventana)) {
    if (Clase(hija) == "Button" && TextoDe(hija) == texto) return hija;
  }
  return nullptr;
}

// A click as the button reports it to its window.
void Pulsar(HWND ventana, HWND boton) {
  ASSERT_NE(boton, nullptr);
  SendMessageW(ventana, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(boton), BN_CLICKED), reinterpret_cast<LPARAM>(boton));
}

// A click on a dialog's button by its id (a message box's IDOK, IDYES or IDNO).
void PulsarId(HWND ventana, int id) {
  SendMessageW(ventana, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(ventana, id)));
}

// A list dialog as the user sees it.
struct Lista {
  std::string titulo;
  SIZE cliente{};
  std::string resumen;
  std::vector<std::pair<std::string, int>> columnas;  // title and width
  std::vector<std::vector<std::string>> filas;
  int seleccionada = -1;
  std::vector<std::pair<std::string, bool>> botones;  // text and whether enabled
  bool reportaje = false;                             // LVS_REPORT, one row selectable, whole rows
};

Lista Leer(HWND dialogo) {
  Lista lista;
  lista.titulo = TextoDe(dialogo);
  RECT cliente{};
  GetClientRect(dialogo, &cliente);
  lista.cliente = {cliente.right, cliente.bottom};
  lista.resumen = TextoDe(HijaDeClase(dialogo, "Static"));
  HWND vista = HijaDeClase(dialogo, "SysListView32");
  if (vista != nullptr) {
    const LONG estilo = GetWindowLongW(vista, GWL_STYLE);
    const auto extendido = static_cast<DWORD>(SendMessageW(vista, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    lista.reportaje = (estilo & LVS_TYPEMASK) == LVS_REPORT && (estilo & LVS_SINGLESEL) != 0 &&
                      (extendido & LVS_EX_FULLROWSELECT) != 0;
    for (int c = 0;; ++c) {
      wchar_t texto[128] = {};
      LVCOLUMNW columna{};
      columna.mask = LVCF_TEXT | LVCF_WIDTH;
      columna.pszText = texto;
      columna.cchTextMax = 128;
      if (!SendMessageW(vista, LVM_GETCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&columna))) break;
      lista.columnas.emplace_back(Narrow(texto), columna.cx);
    }
    const auto filas = static_cast<int>(SendMessageW(vista, LVM_GETITEMCOUNT, 0, 0));
    for (int f = 0; f < filas; ++f) {
      std::vector<std::string> fila;
      for (std::size_t c = 0; c < lista.columnas.size(); ++c) {
        wchar_t texto[512] = {};
        LVITEMW item{};
        item.iSubItem = static_cast<int>(c);
        item.pszText = texto;
        item.cchTextMax = 512;
        SendMessageW(vista, LVM_GETITEMTEXTW, static_cast<WPARAM>(f), reinterpret_cast<LPARAM>(&item));
        fila.push_back(Narrow(texto));
      }
      lista.filas.push_back(fila);
    }
    lista.seleccionada = static_cast<int>(SendMessageW(vista, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }
  for (HWND hija : Hijas(dialogo)) {
    if (Clase(hija) == "Button") lista.botones.emplace_back(TextoDe(hija), IsWindowEnabled(hija) != FALSE);
  }
  return lista;
}

// Selects a row of the dialog's list (none with -1) as a click would, with the list's notifications.
void Seleccionar(HWND dialogo, int fila) {
  HWND vista = HijaDeClase(dialogo, "SysListView32");
  LVITEMW estado{};
  estado.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  estado.state = fila >= 0 ? LVIS_SELECTED | LVIS_FOCUSED : 0;
  SendMessageW(vista, LVM_SETITEMSTATE, static_cast<WPARAM>(fila), reinterpret_cast<LPARAM>(&estado));
}

// Acts on each window that opens on this thread while it lives, once, when it is shown: a list dialog of the
// window menu through `alVerLista` (by default "Cerrar"), a message box through `alVerCuadro` (by default its
// first button: "Aceptar", "Sí"). What each message box said is kept.
class Contestador {
 public:
  struct Cuadro {
    std::string titulo;
    std::vector<std::string> textos;  // its children's, the buttons' included
    bool icono = false;
  };
  static inline std::function<void(HWND)> alVerLista;
  static inline std::function<void(HWND)> alVerCuadro;
  static inline std::vector<Cuadro> cuadros;
  static inline std::vector<std::string> listas;  // the list dialogs' titles, in order

  Contestador() {
    alVerLista = [](HWND dialogo) { Pulsar(dialogo, Boton(dialogo, "Cerrar")); };
    alVerCuadro = [](HWND cuadro) {
      const int boton = GetDlgItem(cuadro, IDOK) != nullptr ? IDOK : IDYES;
      PulsarId(cuadro, boton);
    };
    cuadros.clear();
    listas.clear();
    vistas_.clear();
    reloj_ = SetTimer(nullptr, 0, 20, &Contestador::Tic);
  }
  ~Contestador() { KillTimer(nullptr, reloj_); }
  Contestador(const Contestador&) = delete;
  Contestador& operator=(const Contestador&) = delete;

 private:
  static void CALLBACK Tic(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), &Ver, 0); }

  static BOOL CALLBACK Ver(HWND ventana, LPARAM) {
    if (!IsWindowVisible(ventana) || !vistas_.insert(ventana).second) return TRUE;
    const std::string clase = Clase(ventana);
    if (EsCuadroDeMensaje(ventana)) {
      Cuadro cuadro{TextoDe(ventana), {}, false};
      for (HWND hija : Hijas(ventana)) {
        if (Clase(hija) == "Static" && (GetWindowLongW(hija, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
          cuadro.icono = cuadro.icono || SendMessageW(hija, STM_GETICON, 0, 0) != 0;
        } else if (IsWindowVisible(hija) && !TextoDe(hija).empty()) {
          cuadro.textos.push_back(TextoDe(hija));
        }
      }
      cuadros.push_back(cuadro);
      alVerCuadro(ventana);
      return FALSE;
    }
    if (clase == "EscolanHorvane.DialogoLista") {
      listas.push_back(TextoDe(ventana));
      alVerLista(ventana);
      return FALSE;
    }
    vistas_.erase(ventana);  // another window: it may be a dialog's later
    return TRUE;
  }

  static inline std::set<HWND> vistas_;
  UINT_PTR reloj_ = 0;
};

class MenuDialogosWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing_support::NoDisplayUnderWine()) GTEST_SKIP() << "Wine has no X display here: no window can be created";
    drive_ = std::make_unique<testing_support::TemporaryDrive>();
    testing_support::EscribirCentro(*drive_, "ESCOLAN", {46010});
    ventana_ = std::make_unique<TExportarDatos>(&interfaz_);
    ventana_->Ventana().Sesion().PonerPasosExportacion({});
    ventana_->Mostrar();
    Bombear();
    interfaz_.sucesos.clear();
  }

  void TearDown() override {
    ventana_.reset();
    Bombear();
    drive_.reset();
  }

  void Bombear() {
    MSG mensaje{};
    while (PeekMessageW(&mensaje, nullptr, 0, 0, PM_REMOVE)) {
      if (ventana_ && ventana_->PreTraducirMensaje(mensaje)) continue;
      TranslateMessage(&mensaje);
      DispatchMessageW(&mensaje);
    }
  }

  HWND Principal() const { return ventana_->Handle(); }

  // The window menu's items of the system menu: their ids and texts, after the system's own items.
  struct Elemento {
    UINT id;
    std::string texto;
  };
  std::vector<Elemento> ElementosDelMenu() const {
    HMENU menu = GetSystemMenu(Principal(), FALSE);
    std::vector<Elemento> elementos;
    const int cuantos = GetMenuItemCount(menu);
    for (int i = 0; i < cuantos; ++i) {
      wchar_t texto[256] = {};
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
      info.dwTypeData = texto;
      info.cch = 256;
      GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
      elementos.push_back({(info.fType & MFT_SEPARATOR) != 0 ? 0u : info.wID,
                           (info.fType & MFT_SEPARATOR) != 0 ? "-" : Narrow(texto)});
    }
    return elementos;
  }

  UINT IdDe(ventana::OrdenMenu orden) const {
    for (std::size_t i = 0; i < ventana::kMenuVentana.size(); ++i) {
      if (ventana::kMenuVentana[i].orden != orden) continue;
      const std::vector<Elemento> elementos = ElementosDelMenu();
      return elementos[elementos.size() - ventana::kMenuVentana.size() + i].id;
    }
    return 0;
  }

  // A backup of the school's timetables under C:\HTEMP\COPIAS: each with so many lessons (0: missing).
  void Copia(const std::string& sello, int horgrup, int horprof) {
    storage::Engine& engine = ventana_->Ventana().Sesion().Engine();
    drive_->MakeHostFolder("HTEMP/COPIAS/" + sello);
    for (const auto& [archivo, clases] : {std::pair{"horgrup.dbf", horgrup}, std::pair{"horprof.dbf", horprof}}) {
      if (clases == 0) continue;
      testing_support::Filas filas;
      for (int i = 1; i <= clases; ++i) filas.push_back({std::to_string(i)});
      testing_support::CrearTabla(engine, "C:\\HTEMP\\COPIAS\\" + sello + "\\" + archivo,
                                  {{"DIA", storage::DataType::ftInteger}}, filas);
    }
    engine.ReleaseAll();
    drive_->WriteHostFile("HTEMP/COPIAS/" + sello + "/ORIGEN.TXT", "C:\\ESCOLAN\r\n");
  }

  std::unique_ptr<testing_support::TemporaryDrive> drive_;
  testing_support::InterfazGuionada interfaz_;
  std::unique_ptr<TExportarDatos> ventana_;
};

// ---------------------------------------------------------------------------------------------------------
// The system menu and the shortcuts

TEST_F(MenuDialogosWin32Test, TheSystemMenuEndsWithTheFiveItemsAndTheirShortcuts) {
  const std::vector<Elemento> elementos = ElementosDelMenu();
  ASSERT_GT(elementos.size(), 6u);
  std::vector<std::string> textos;
  for (std::size_t i = elementos.size() - 6; i < elementos.size(); ++i) textos.push_back(elementos[i].texto);
  EXPECT_EQ(textos, (std::vector<std::string>{"-", "Revisar los datos de ESCOLAN…\tCtrl+R",
                                              "Ver los horarios…\tCtrl+H", "Copias de los horarios…\tCtrl+K",
                                              "Ayuda: manual de uso…\tF1", "Acerca de…\tCtrl+I"}));
  // The system's own items are still there before them.
  bool cerrar = false;
  for (const Elemento& elemento : elementos) cerrar = cerrar || elemento.id == SC_CLOSE;
  EXPECT_TRUE(cerrar);
  // Windows keeps the low four bits of a WM_SYSCOMMAND for itself, and the ids from 0xF000 for its items.
  std::set<UINT> ids;
  for (std::size_t i = elementos.size() - 5; i < elementos.size(); ++i) {
    EXPECT_LT(elementos[i].id, 0xF000u) << elementos[i].texto;
    EXPECT_EQ(elementos[i].id % 16, 0u) << elementos[i].texto;
    EXPECT_NE(elementos[i].id, 0u) << elementos[i].texto;
    ids.insert(elementos[i].id);
  }
  EXPECT_EQ(ids.size(), 5u);
}

// Each item's WM_SYSCOMMAND (with the low bits Windows may set), and its Ctrl+letter or F1 while the focus is in
// the window, run its order: the two list dialogs open, "Acerca de…" says what the program is; the timetables'
// page of a folder without timetables is an error, and so is the manual, which the test program's folder lacks
// (the message names where it was looked for). Ctrl with another letter, Ctrl+Alt, or Ctrl+F1 runs nothing.
TEST_F(MenuDialogosWin32Test, EachItemAndItsShortcutRunItsOrder) {
  struct Caso {
    ventana::OrdenMenu orden;
    std::vector<std::string> listas;  // the list dialogs shown
    std::string suceso;               // the beginning of the first thing shown through the interface
  };
  const std::vector<Caso> casos = {
      {ventana::OrdenMenu::kRevisarDatos, {"Problemas en los datos de ESCOLAN"}, ""},
      {ventana::OrdenMenu::kVerHorarios, {}, "error: "},
      {ventana::OrdenMenu::kCopiasHorarios, {"Copias de los horarios"}, ""},
      {ventana::OrdenMenu::kManual, {}, "error: No se encuentra el manual de uso: falta " + sesion::RutaManual() + "."},
      {ventana::OrdenMenu::kAcercaDe, {}, "mensaje: " + ventana::TextoAcercaDe()},
  };
  auto comprobar = [this](const Caso& caso) {
    EXPECT_EQ(Contestador::listas, caso.listas);
    std::vector<std::string> mostrados;
    for (const std::string& suceso : interfaz_.sucesos) {
      if (suceso.rfind("cursor: ", 0) != 0) mostrados.push_back(suceso);
    }
    if (caso.suceso.empty()) {
      EXPECT_EQ(mostrados, std::vector<std::string>{});
    } else {
      ASSERT_FALSE(mostrados.empty());
      EXPECT_EQ(mostrados.front().substr(0, caso.suceso.size()), caso.suceso);
    }
    EXPECT_TRUE(IsWindowEnabled(Principal()));
  };
  for (const Caso& caso : casos) {
    const ventana::ElementoMenu* elemento = nullptr;
    for (const ventana::ElementoMenu& e : ventana::kMenuVentana) {
      if (e.orden == caso.orden) elemento = &e;
    }
    ASSERT_NE(elemento, nullptr);
    {
      SCOPED_TRACE(std::string("menu: ") + elemento->texto);
      interfaz_.sucesos.clear();
      Contestador contestador;
      SendMessageW(Principal(), WM_SYSCOMMAND, IdDe(caso.orden) | 0x2, 0);
      comprobar(caso);
    }
    {
      SCOPED_TRACE(ventana::TextoAtajo(*elemento));
      interfaz_.sucesos.clear();
      Contestador contestador;
      BYTE teclado[256] = {};
      GetKeyboardState(teclado);
      teclado[VK_CONTROL] = elemento->letraControl != 0 ? 0x80 : 0;
      SetKeyboardState(teclado);
      SetFocus(ventana_->Control(ventana::diseno::kComboBoxValCast));
      const WPARAM tecla = elemento->letraControl != 0 ? static_cast<WPARAM>(elemento->letraControl)
                                                       : static_cast<WPARAM>(VK_F1 + elemento->teclaFuncion - 1);
      PostMessageW(GetFocus(), WM_KEYDOWN, tecla, 1);
      Bombear();
      teclado[VK_CONTROL] = 0;
      SetKeyboardState(teclado);
      comprobar(caso);
      // The letter went no further: the language box's text is as it was.
      EXPECT_EQ(TextoDe(ventana_->Control(ventana::diseno::kComboBoxValCast)), ventana::kIdiomaInicial);
    }
  }

  struct Otra {
    WPARAM tecla;
    bool alt;
  };
  for (Otra otra : {Otra{'X', false}, Otra{'K', true}, Otra{VK_F1, false}}) {
    SCOPED_TRACE(std::to_string(otra.tecla) + (otra.alt ? " with Alt" : ""));
    interfaz_.sucesos.clear();
    Contestador contestador;
    BYTE teclado[256] = {};
    GetKeyboardState(teclado);
    teclado[VK_CONTROL] = 0x80;
    teclado[VK_MENU] = otra.alt ? 0x80 : 0;
    SetKeyboardState(teclado);
    SetFocus(ventana_->Control(ventana::diseno::kEdNuevoDir));
    PostMessageW(GetFocus(), WM_KEYDOWN, otra.tecla, 1);
    Bombear();
    teclado[VK_CONTROL] = 0;
    teclado[VK_MENU] = 0;
    SetKeyboardState(teclado);
    EXPECT_EQ(Contestador::listas, std::vector<std::string>{});
    EXPECT_EQ(interfaz_.sucesos, std::vector<std::string>{});
  }
}

// ---------------------------------------------------------------------------------------------------------
// The problems dialog

std::vector<diagnostico::Problema> DosProblemas() {
  return {{"asignat.dbf", 12, "Horsemte", "La duración no es válida", "3:30"},
          {"alumnos.fpt", 0, "", "El archivo está dañado", ""}};
}

TEST_F(MenuDialogosWin32Test, TheProblemsDialogListsTheRowsInTheDesignedColumns) {
  ventana::DialogoProblemas problemas(interfaz_, "C:\\ESCOLAN", DosProblemas());
  app::win32::DialogosWin32 dialogos(Principal());
  Contestador contestador;
  Lista vista;
  bool propietarioActivo = true;
  Contestador::alVerLista = [&](HWND dialogo) {
    vista = Leer(dialogo);
    propietarioActivo = IsWindowEnabled(Principal()) != FALSE;
    EXPECT_EQ(GetWindow(dialogo, GW_OWNER), Principal());
    Pulsar(dialogo, Boton(dialogo, "Cerrar"));
  };
  dialogos.MostrarProblemas(problemas);

  EXPECT_EQ(Contestador::listas, std::vector<std::string>{"Problemas en los datos de ESCOLAN"});
  EXPECT_FALSE(propietarioActivo);
  EXPECT_TRUE(IsWindowEnabled(Principal()));
  EXPECT_EQ(vista.cliente.cx, 780);  // at 96 dpi
  EXPECT_EQ(vista.cliente.cy, 440);
  EXPECT_EQ(vista.resumen, problemas.Resumen());
  EXPECT_TRUE(vista.reportaje);
  EXPECT_EQ(vista.columnas, (std::vector<std::pair<std::string, int>>{
                                {"Tabla", 90}, {"Registro", 62}, {"Campo", 90}, {"Valor", 110}, {"Qué ocurre", 405}}));
  EXPECT_EQ(vista.filas, (std::vector<std::vector<std::string>>{
                             {"asignat.dbf", "12", "Horsemte", "3:30", "La duración no es válida"},
                             {"alumnos.fpt", "", "", "", "El archivo está dañado"}}));
  EXPECT_EQ(vista.botones, (std::vector<std::pair<std::string, bool>>{
                               {"Copiar", true}, {"Guardar…", true}, {"Cerrar", true}}));
}

// A control's box in its parent's client area.
RECT CajaEnPadre(HWND control) {
  RECT caja{};
  GetWindowRect(control, &caja);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&caja), 2);
  return caja;
}

// The summary, the list with its columns and the buttons at their designed boxes in the design's font, at 96
// dpi and, once the dialog has moved to a monitor at 150 %, at 144 dpi.
TEST_F(MenuDialogosWin32Test, TheDialogsControlsSitAtTheirBoxesAtEachDpi) {
  for (UINT dpi : {96u, 144u}) {
    SCOPED_TRACE("dpi " + std::to_string(dpi));
    ventana::DialogoProblemas problemas(interfaz_, "C:\\ESCOLAN", DosProblemas());
    app::win32::DialogosWin32 dialogos(Principal());
    Contestador contestador;
    std::vector<std::string> cajas;
    std::vector<std::string> esperadas;
    std::vector<int> anchos;
    LONG altoDeLetra = 0;
    Contestador::alVerLista = [&](HWND dialogo) {
      if (dpi != USER_DEFAULT_SCREEN_DPI) {
        RECT ahora{};
        GetWindowRect(dialogo, &ahora);
        RECT sugerido{ahora.left, ahora.top, ahora.left + app::win32::Escalar(800, dpi),
                      ahora.top + app::win32::Escalar(480, dpi)};
        SendMessageW(dialogo, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&sugerido));
      }
      auto texto = [](const RECT& caja) {
        return std::to_string(caja.left) + "," + std::to_string(caja.top) + " " +
               std::to_string(caja.right - caja.left) + "x" + std::to_string(caja.bottom - caja.top);
      };
      const ventana::DisenoLista<5, 3>& diseno = ventana::kDisenoProblemas;
      std::vector<std::pair<HWND, ventana::Caja>> controles = {
          {HijaDeClase(dialogo, "Static"), diseno.resumen}, {HijaDeClase(dialogo, "SysListView32"), diseno.lista}};
      for (const ventana::Control& boton : diseno.botones) {
        controles.emplace_back(Boton(dialogo, std::string(boton.texto)), boton.caja);
      }
      for (const auto& [control, caja] : controles) {
        cajas.push_back(texto(CajaEnPadre(control)));
        esperadas.push_back(texto(app::win32::Escalar(caja, dpi)));
      }
      HWND vista = HijaDeClase(dialogo, "SysListView32");
      for (int c = 0; c < 5; ++c) {
        anchos.push_back(static_cast<int>(SendMessageW(vista, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0)));
      }
      LOGFONTW letra{};
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(vista, WM_GETFONT, 0, 0)), sizeof letra, &letra);
      altoDeLetra = letra.lfHeight;
      Pulsar(dialogo, Boton(dialogo, "Cerrar"));
    };
    dialogos.MostrarProblemas(problemas);

    EXPECT_EQ(cajas, esperadas);
    std::vector<int> disenados;
    for (const ventana::Columna& columna : ventana::kDisenoProblemas.columnas) {
      disenados.push_back(app::win32::Escalar(columna.ancho, dpi));
    }
    EXPECT_EQ(anchos, disenados);
    EXPECT_EQ(altoDeLetra, -MulDiv(ventana::kLetraDialogos.puntos, static_cast<int>(dpi), 72));
  }
}

// "Copiar" puts the whole text on the clipboard as Unicode text, the dialog staying open; Escape closes it.
TEST_F(MenuDialogosWin32Test, CopiarPutsTheTextOnTheClipboardAndEscapeCloses) {
  ventana::DialogoProblemas problemas(interfaz_, "C:\\ESCOLAN", DosProblemas());
  app::win32::DialogosWin32 dialogos(Principal());
  Contestador contestador;
  bool abiertoTrasCopiar = false;
  Contestador::alVerLista = [&](HWND dialogo) {
    Pulsar(dialogo, Boton(dialogo, "Copiar"));
    abiertoTrasCopiar = IsWindowVisible(dialogo) != FALSE;
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
  };
  dialogos.MostrarProblemas(problemas);
  EXPECT_TRUE(abiertoTrasCopiar);
  EXPECT_EQ(Contestador::cuadros.size(), 0u);

  ASSERT_TRUE(OpenClipboard(nullptr));
  std::wstring copiado;
  if (HANDLE datos = GetClipboardData(CF_UNICODETEXT); datos != nullptr) {
    copiado = static_cast<const wchar_t*>(GlobalLock(datos));
    GlobalUnlock(datos);
  }
  CloseClipboard();
  EXPECT_EQ(Narrow(copiado), problemas.Texto());
  EXPECT_NE(problemas.Texto().find("Horsemte ('3:30')"), std::string::npos);
}

// The file dialog that "Guardar…" opens: the name it proposes and its filter, then the name typed and Save;
// a dialog that stays (it refused the name) is cancelled.
struct DialogoDeArchivo {
  static inline std::wstring escribir;
  static inline std::string propuesto;
  static inline std::string tipo;
  static inline std::set<HWND> vistos;

  static void CALLBACK Tic(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND ventana, LPARAM) -> BOOL {
          if (!IsWindowVisible(ventana) || Clase(ventana) != "#32770" || EsCuadroDeMensaje(ventana)) return TRUE;
          HWND nombre = GetDlgItem(ventana, cmb13);
          if (nombre == nullptr) nombre = GetDlgItem(ventana, edt1);
          if (nombre == nullptr) return TRUE;
          const bool primeraVez = vistos.insert(ventana).second;
          if (primeraVez) {
            propuesto = TextoDe(nombre);
            tipo = TextoDe(GetDlgItem(ventana, cmb1));
            SetWindowTextW(nombre, escribir.c_str());
          }
          const int boton = primeraVez ? IDOK : IDCANCEL;
          PulsarId(ventana, boton);
          return FALSE;
        },
        0);
  }
};

// "Guardar…" proposes problemas.txt among text files, and writes where the user says; the process's current
// folder, which is the directory list's, is not moved by the file dialog.
TEST_F(MenuDialogosWin32Test, GuardarWritesTheFileTheUserNames) {
  // The program's drive C: is the temporary drive; Windows' file dialog sees the system's own, where the folder
  // must exist too for the dialog to accept the name.
  const std::wstring carpetaDelSistema = L"C:\\EscolanHorvanePruebaGuardar";
  CreateDirectoryW(carpetaDelSistema.c_str(), nullptr);
  struct Borrar {
    const std::wstring& carpeta;
    ~Borrar() { RemoveDirectoryW(carpeta.c_str()); }
  } borrar{carpetaDelSistema};
  drive_->MakeHostFolder("EscolanHorvanePruebaGuardar");
  ventana::DialogoProblemas problemas(interfaz_, "C:\\ESCOLAN", DosProblemas());
  app::win32::DialogosWin32 dialogos(Principal());
  const std::string antes = ventana_->Ventana().Directorio();
  DialogoDeArchivo::escribir = carpetaDelSistema + L"\\lista.txt";
  DialogoDeArchivo::vistos.clear();
  Contestador contestador;
  Contestador::alVerLista = [&](HWND dialogo) {
    Pulsar(dialogo, Boton(dialogo, "Guardar…"));
    Pulsar(dialogo, Boton(dialogo, "Cerrar"));
  };
  UINT_PTR reloj = SetTimer(nullptr, 0, 50, &DialogoDeArchivo::Tic);
  dialogos.MostrarProblemas(problemas);
  KillTimer(nullptr, reloj);

  EXPECT_EQ(DialogoDeArchivo::propuesto, "problemas.txt");
  EXPECT_EQ(DialogoDeArchivo::tipo, "Texto (*.txt)");
  EXPECT_EQ(interfaz_.sucesos, std::vector<std::string>{});
  for (const Contestador::Cuadro& cuadro : Contestador::cuadros) {
    ADD_FAILURE() << "a message box: " << ::testing::PrintToString(cuadro.textos);
  }
  EXPECT_EQ(ventana_->Ventana().Directorio(), antes);
  ASSERT_EQ(drive_->HostEntries("EscolanHorvanePruebaGuardar"), std::vector<std::string>{"lista.txt"});
  EXPECT_EQ(drive_->ReadHostFile("EscolanHorvanePruebaGuardar/lista.txt"), "\xEF\xBB\xBF" + problemas.Texto());
}

// ---------------------------------------------------------------------------------------------------------
// The backups dialog

// The backups of the window's folder, newest first and the first selected; "Ver horarios" and "Restaurar"
// only for a selected backup that has both timetables.
TEST_F(MenuDialogosWin32Test, TheBackupsButtonsAnswerToTheSelectedRow) {
  Copia("20261201-101010", 3, 4);
  Copia("20261205-090000", 6, 0);
  ASSERT_NE(ventana_->Ventana().DialogosPuestos(), nullptr);
  ventana::DialogoCopias copias(ventana_->Ventana().Sesion(), *ventana_->Ventana().DialogosPuestos(),
                               ventana_->Ventana().Centro());
  struct Paso {
    int fila;  // selected by the user; -2: as the dialog opens
    int seleccionada;
    bool habilitados;
  };
  const std::vector<Paso> pasos = {{-2, 0, false}, {1, 1, true}, {-1, -1, false}, {0, 0, false}};
  std::vector<Lista> vistas;
  std::vector<int> seleccionadas;
  Contestador contestador;
  Contestador::alVerLista = [&](HWND dialogo) {
    for (const Paso& paso : pasos) {
      if (paso.fila != -2) Seleccionar(dialogo, paso.fila);
      vistas.push_back(Leer(dialogo));
      seleccionadas.push_back(copias.Seleccionada());
    }
    Pulsar(dialogo, Boton(dialogo, "Cerrar"));
  };
  ventana_->Ventana().DialogosPuestos()->MostrarCopias(copias);

  ASSERT_EQ(vistas.size(), pasos.size());
  const Lista& primera = vistas.front();
  EXPECT_EQ(primera.titulo, "Copias de los horarios");
  EXPECT_EQ(primera.cliente.cx, 720);
  EXPECT_EQ(primera.cliente.cy, 360);
  EXPECT_TRUE(primera.reportaje);
  EXPECT_EQ(primera.resumen, copias.Resumen());
  std::vector<std::pair<std::string, int>> columnas;
  for (const ventana::Columna& columna : ventana::kDisenoCopias.columnas) {
    columnas.emplace_back(std::string(columna.titulo), columna.ancho);
  }
  EXPECT_EQ(primera.columnas, columnas);
  std::vector<std::vector<std::string>> filas;
  for (std::size_t f = 0; f < copias.Copias().size(); ++f) {
    filas.emplace_back();
    for (std::size_t c = 0; c < 5; ++c) filas.back().push_back(copias.Celda(f, c));
  }
  EXPECT_EQ(primera.filas, filas);
  ASSERT_EQ(filas.size(), 2u);
  EXPECT_EQ(filas[0][0], "05/12/2026");  // newest first: the one missing horprof
  EXPECT_EQ(filas[1][4], "C:\\ESCOLAN");

  for (std::size_t i = 0; i < pasos.size(); ++i) {
    SCOPED_TRACE("step " + std::to_string(i));
    // The first step: the newest backup, selected as the dialog opens, lacks horprof.
    const bool habilitados = i == 1;
    EXPECT_EQ(vistas[i].seleccionada, pasos[i].seleccionada);
    EXPECT_EQ(seleccionadas[i], pasos[i].seleccionada);
    EXPECT_EQ(vistas[i].botones, (std::vector<std::pair<std::string, bool>>{
                                     {"Ver horarios", habilitados}, {"Restaurar", habilitados}, {"Cerrar", true}}));
  }
}

// "Restaurar" asks first: "No" changes nothing; "Sí" puts the backup back, says so, and the list shows the new
// backup of the replaced pair at the top, selected.
TEST_F(MenuDialogosWin32Test, RestaurarAsksThenRestoresAndReadsTheListAgain) {
  Copia("20261201-101010", 3, 4);
  drive_->WriteHostFile("ESCOLAN/horgrup.dbf", "horgrup de ahora");
  drive_->WriteHostFile("ESCOLAN/horprof.dbf", "horprof de ahora");
  for (bool si : {false, true}) {
    SCOPED_TRACE(si ? "Sí" : "No");
    interfaz_.sucesos.clear();
    Contestador contestador;
    std::vector<Lista> vistas;
    Contestador::alVerCuadro = [si](HWND cuadro) {
      if (GetDlgItem(cuadro, IDYES) == nullptr) {  // the message that follows a restore
        PulsarId(cuadro, IDOK);
        return;
      }
      const int boton = si ? IDYES : IDNO;
      PulsarId(cuadro, boton);
    };
    Contestador::alVerLista = [&](HWND dialogo) {
      vistas.push_back(Leer(dialogo));
      Pulsar(dialogo, Boton(dialogo, "Restaurar"));
      vistas.push_back(Leer(dialogo));
      Pulsar(dialogo, Boton(dialogo, "Cerrar"));
    };
    SendMessageW(Principal(), WM_SYSCOMMAND, IdDe(ventana::OrdenMenu::kCopiasHorarios), 0);

    ASSERT_EQ(vistas.size(), 2u);
    ASSERT_FALSE(Contestador::cuadros.empty());
    const Contestador::Cuadro& pregunta = Contestador::cuadros.front();
    EXPECT_EQ(pregunta.titulo, "Exportar e importar datos ");
    const std::string inicio =
        "¿Desea restaurar los horarios de la copia del 01/12/2026 a las 10:10:10 en C:\\ESCOLAN?";
    EXPECT_TRUE(std::any_of(pregunta.textos.begin(), pregunta.textos.end(),
                            [&](const std::string& texto) { return texto.rfind(inicio, 0) == 0; }))
        << ::testing::PrintToString(pregunta.textos);
    if (!si) {
      EXPECT_EQ(drive_->ReadHostFile("ESCOLAN/horgrup.dbf"), "horgrup de ahora");
      EXPECT_EQ(drive_->ReadHostFile("ESCOLAN/horprof.dbf"), "horprof de ahora");
      EXPECT_EQ(vistas[1].filas, vistas[0].filas);
      EXPECT_EQ(interfaz_.sucesos, std::vector<std::string>{});
      continue;
    }
    for (const char* archivo : {"horgrup.dbf", "horprof.dbf"}) {
      EXPECT_EQ(drive_->ReadHostFile(std::string("ESCOLAN/") + archivo),
                drive_->ReadHostFile(std::string("HTEMP/COPIAS/20261201-101010/") + archivo));
    }
    ASSERT_EQ(vistas[1].filas.size(), 2u);
    EXPECT_EQ(vistas[1].filas[1], vistas[0].filas[0]);
    EXPECT_EQ(vistas[1].seleccionada, 0);
    EXPECT_EQ(vistas[1].filas[0][2], "falta");  // the replaced "horgrup" was no table
    ASSERT_FALSE(interfaz_.sucesos.empty());
    const std::string hecho = "mensaje: Se han restaurado los horarios de la copia 20261201-101010";
    EXPECT_EQ(interfaz_.sucesos.back().rfind(hecho, 0), 0u)
        << interfaz_.sucesos.back();
  }
}

// ---------------------------------------------------------------------------------------------------------
// The question

// A Yes/No box with the question icon over the open dialog's owner, captioned with the application's title, its
// buttons named "Sí" and "No"; only "Sí" answers yes, Escape answers no and closes the box.
TEST_F(MenuDialogosWin32Test, TheQuestionIsAYesNoBoxAndOnlySiIsYes) {
  struct Caso {
    const char* nombre;
    std::function<void(HWND)> responder;
    bool respuesta;
  };
  auto pulsar = [](int boton) {
    return [boton](HWND cuadro) {
      PulsarId(cuadro, boton);
    };
  };
  const std::vector<Caso> casos = {
      {"Sí", pulsar(IDYES), true},
      {"No", pulsar(IDNO), false},
      {"Escape", [](HWND) { PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); }, false},
  };
  app::win32::DialogosWin32 dialogos(Principal());
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    Contestador contestador;
    std::vector<int> botones;
    bool propietarioActivo = true;
    Contestador::alVerCuadro = [&](HWND cuadro) {
      for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
        if (HWND boton = GetDlgItem(cuadro, id); boton != nullptr && IsWindowVisible(boton)) botones.push_back(id);
      }
      propietarioActivo = IsWindowEnabled(Principal()) != FALSE;
      caso.responder(cuadro);
    };
    EXPECT_EQ(dialogos.Preguntar("¿Desea ver los horarios ahora?"), caso.respuesta);
    ASSERT_EQ(Contestador::cuadros.size(), 1u);
    const Contestador::Cuadro& cuadro = Contestador::cuadros.front();
    EXPECT_EQ(cuadro.titulo, "Exportar e importar datos ");
    std::vector<std::string> textos = cuadro.textos;
    std::sort(textos.begin(), textos.end());
    EXPECT_EQ(textos, (std::vector<std::string>{"&No", "&Sí", "¿Desea ver los horarios ahora?"}));
    EXPECT_TRUE(cuadro.icono);
    EXPECT_EQ(botones, (std::vector<int>{IDYES, IDNO}));
    EXPECT_FALSE(propietarioActivo);
    EXPECT_TRUE(IsWindowEnabled(Principal()));
  }
}

}  // namespace
